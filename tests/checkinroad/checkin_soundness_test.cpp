// Check-ins that cannot give a complete record: each fails with a reason that names what was
// lost and leaves no preview behind, or gives its record with a warning naming what is missing.
#include "libs/geomcore/swapi/swapi.h"
#include "natlinksolidworks/ps_plugin.h"
#include "platform/host/services/checkin_postprocess.h"
#include "platform/host/services/log.h"
#include "platform/host/services/messages.h"
#include "platform/sldworks/model/assembly_document.h"
#include "platform/sldworks/model/file_io.h"
#include "platform/sldworks/model/part_document.h"
#include "platform/sldworks/session/session.h"
#include "tests/checkinroad/checkin_road_fixture.h"
#include "tools/natlinkhost/check_in_samples.h"

#include <stdexcept>

namespace {

class CheckinSoundness : public checkinRoadTest {
protected:
    // Checks `document` in through the conversion entry on `app`; answers the result and
    // RESTEXT (empty when there is none) and whether a record came out.
    struct answerS {
        int result = -1;
        std::string resText;
        bool hasRecord = false;
    };
    static answerS checkIn(const ISldWorksPtr& app, const std::string& document) {
        const metaObjectC tree = parsed("(CONVERTOPTIONS (INNAME \"" + document +
                                        "\") (INPUTFORMAT \"NATSOLIDWORKSPART2014\"))");
        PSWPlugin plugin(app);
        answerS answer;
        answer.result = plugin.convertMetaTree(tree.getTreePtr());
        answer.resText = text(tree, "RESTEXT");
        answer.hasRecord = tree.hasChild("OUTPUTDATA");
        return answer;
    }

    std::size_t filesInTmp() const {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(path("tmp")))
            ++count;
        return count;
    }
};

TEST_F(CheckinSoundness, AnAssemblyThatContainsItselfIsRefusedNamingTheComponent) {
    // Outer.sldasm holds Inner.sldasm, which holds Outer.sldasm again.
    const std::string outer = path("Outer.sldasm");
    const std::string inner = path("Inner.sldasm");
    const auto innerModel = swsim::AssemblyDocument::create();
    innerModel->addComponent(outer);
    innerModel->save(inner);
    const auto outerModel = swsim::AssemblyDocument::create();
    outerModel->addComponent(inner);
    outerModel->save(outer);

    const runS result = run({"checkin", outer});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "natlinkhost: Native check-in of " + outer + " gave no record: " + inner +
                              ": the component " + outer +
                              " is already being read higher up (an assembly that contains "
                              "itself: " +
                              outer + " -> " + inner + " -> " + outer + ")\n");
    EXPECT_EQ(filesInTmp(), 0u);

    // The same when the assembly is its own component.
    const std::string self = path("Self.sldasm");
    const auto selfModel = swsim::AssemblyDocument::create();
    selfModel->addComponent(self);
    selfModel->save(self);
    const runS selfResult = run({"checkin", self});
    EXPECT_EQ(selfResult.code, 1);
    EXPECT_EQ(selfResult.err, "natlinkhost: Native check-in of " + self +
                                  " gave no record: " + self + ": the component " + self +
                                  " is already being read higher up (an assembly that contains "
                                  "itself: " +
                                  self + " -> " + self + ")\n");
    EXPECT_EQ(filesInTmp(), 0u);
}

TEST_F(CheckinSoundness, ATextThatIsNotUtf8IsRefusedByEveryRoadAndNeverWritten) {
    const std::string part = natlinkhost::writeSamplePart(path("samples"));
    // The configuration "Long" renamed to bytes that are no UTF-8, the file sealed again.
    const std::string text = readFile(part);
    const std::size_t lineEnd = text.find('\n');
    const std::string header = text.substr(0, text.rfind(' ', lineEnd));
    std::string body = text.substr(lineEnd + 1);
    const std::size_t at = body.find("\"Long\"");
    ASSERT_NE(at, std::string::npos);
    body.replace(at, 6, "\"L\xFFng\"");
    const std::string damaged =
        writeFile("damaged.sldprt", swsim::detail::sealedFile(header, body));

    const runS inspected = run({"inspect", damaged});
    EXPECT_EQ(inspected.code, 1);
    EXPECT_NE(inspected.err.find("the text \"L\\xFFng\" is not UTF-8"), std::string::npos)
        << inspected.err;
    const runS checkedIn = run({"checkin", damaged});
    EXPECT_EQ(checkedIn.code, 1);
    EXPECT_EQ(checkedIn.out, "");

    // Nor is such a text saved: the document it would replace stays as it was.
    const auto model = swsim::PartDocument::open(part);
    model->addConfiguration("L\xFFng");
    EXPECT_THROW(model->save(part), swsim::ModelError);
    EXPECT_EQ(readFile(part), text);
}

TEST_F(CheckinSoundness, AConfigurationThatCannotBeReadFailsTheCheckInNamingIt) {
    const std::string part = natlinkhost::writeSamplePart(path("samples"));
    const ISldWorksPtr app = createSimulatedSldWorks();
    // The sample shows "Default"; the first configuration shown is the further one.
    sessionTestKit(app).plan().failWith("IModelDoc2::ShowConfiguration", E_FAIL, 1);
    const answerS answer = checkIn(app, part);
    EXPECT_EQ(answer.result, 1);
    EXPECT_FALSE(answer.hasRecord);
    EXPECT_EQ(answer.resText, "Native check-in of " + part + " gave no record: " + part +
                                  ": reading the configuration \"Long\" failed: SolidWorks "
                                  "call failed: 0x80004005 E_FAIL");
    // The previews of the record that was given up are gone, and so is the document.
    EXPECT_EQ(filesInTmp(), 0u);
    sessionTestKit(app).plan().clear();
    EXPECT_EQ(openDocuments(app), 0u);
}

TEST_F(CheckinSoundness, APostProcessingThatFailsIsNoSuccess) {
    const std::string part = natlinkhost::writeSamplePart(path("samples"));
    hostsvc::setNativeCheckinPrinter([](const hostsvc::NativeCheckinResult&) {
        throw std::runtime_error("the catalogue is read-only");
    });
    const answerS answer = checkIn(createSimulatedSldWorks(), part);
    EXPECT_EQ(answer.result, 1);
    EXPECT_FALSE(answer.hasRecord);
    EXPECT_EQ(answer.resText, "Native check-in of " + part +
                                  " gave no record: the host's post-processing failed: the "
                                  "catalogue is read-only");
    EXPECT_EQ(filesInTmp(), 0u);
}

TEST_F(CheckinSoundness, MembersMissingOrDamagedAreNamedWithTheirReasonAndTheRecordIsNoSuccess) {
    // The record's members, by CADIDENT.
    const auto membersOf = [](const std::string& printed) {
        const metaObjectC record = parsed(printed);
        const metaObjectC document(record.findChild("DOCUMENT"));
        std::vector<std::string> members;
        for (const metaObjectC& member :
             children(metaObjectC(document.findChild("MEMBERS")), "DOCUMENT"))
            members.push_back(text(member, "CADIDENT"));
        return members;
    };
    const std::string assembly = natlinkhost::writeSampleAssembly(path("samples"));
    std::filesystem::remove(path("samples/Plate.sldprt"));
    const runS result = run({"checkin", assembly});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "natlinkhost: Native check-in of " + assembly +
                              " gave an incomplete record: component file missing: " +
                              path("samples/Plate.sldprt") + "\n");
    EXPECT_EQ(membersOf(result.out),
              (std::vector<std::string>{path("samples/Pin.sldprt"), path("samples/Pin.sldprt")}));

    // A member that cannot be read is named with its reader's reason (once for its two
    // components), and no document is left open by asking for it.
    const std::string other = natlinkhost::writeSampleAssembly(path("other"));
    const std::string pin = readFile(path("other/Pin.sldprt"));
    writeFile("other/Pin.sldprt", pin.substr(0, pin.size() - 2) + "?\n");
    const ISldWorksPtr app = createSimulatedSldWorks();
    const answerS answer = checkIn(app, other);
    EXPECT_EQ(answer.result, 1);
    EXPECT_TRUE(answer.hasRecord);
    EXPECT_EQ(answer.resText,
              "Native check-in of " + other + " gave an incomplete record: component not loaded: " +
                  path("other/Pin.sldprt") + ": the file is damaged (its checksum does not match)");
    EXPECT_EQ(openDocuments(app), 0u);
    const runS damaged = run({"checkin", other});
    EXPECT_EQ(damaged.code, 1);
    EXPECT_EQ(membersOf(damaged.out), (std::vector<std::string>{path("other/Plate.sldprt")}));
}

TEST_F(CheckinSoundness, AnUnusableTmpGivesARecordWithoutPreviewsAndSaysWhy) {
    const std::string part = natlinkhost::writeSamplePart(path("samples"));
    ::setenv("TMP", path("no-such-folder").c_str(), 1);
    hostsvc::setLogCapture(true);
    const runS result = run({"checkin", part});
    ASSERT_EQ(result.code, 0) << result.err;
    const metaObjectC record = parsed(result.out);
    const metaObjectC document(record.findChild("DOCUMENT"));
    EXPECT_FALSE(document.hasChild("PREVIEW"));
    EXPECT_FALSE(document.hasChild("PREVIEW3D"));
    EXPECT_EQ(metaObjectC(document.findChild("BITMAPS")).countChildren(), 0);
    // Said once, as a local file error: shown to the user (on stderr by natlinkhost) and
    // logged; the record is whole without previews.
    EXPECT_EQ(result.err, "");
    const std::string said = "Checking in without previews: could not create a preview file " +
                             path("no-such-folder") +
                             "/previewXXXXXX.bmp: No such file or directory";
    std::vector<std::string> shown;
    for (const hostsvc::ShownMessage& message : hostsvc::shownMessages())
        shown.push_back(message.text);
    EXPECT_EQ(shown, std::vector<std::string>{"Creation warning in module 'natlinkon' -> "
                                              "WARNING: " +
                                              said});
    std::size_t logged = 0;
    for (const hostsvc::LogRecord& record : hostsvc::capturedLogRecords()) {
        if (record.text == said)
            ++logged;
        EXPECT_EQ(record.text.find("SolidWorks call failed"), std::string::npos) << record.text;
    }
    EXPECT_EQ(logged, 1u);
}

TEST_F(CheckinSoundness, WithoutTmpThePreviewsLiveUntilTheRecordIsPrinted) {
    const std::string part = natlinkhost::writeSamplePart(path("samples"));
    ::unsetenv("TMP");
    // The host's post-processing reads the record while the previews it names exist.
    std::vector<std::string> seen;
    hostsvc::setNativeCheckinPrinter([&](const hostsvc::NativeCheckinResult& result) {
        const metaObjectC record = parsed(result.recordText);
        const metaObjectC document(record.findChild("DOCUMENT"));
        for (const char* key : {"PREVIEW", "PREVIEW3D"}) {
            const std::string file = text(document, key);
            if (std::filesystem::is_regular_file(file) && std::filesystem::file_size(file) > 0)
                seen.push_back(std::filesystem::path(file).parent_path().parent_path().string());
        }
    });
    const runS result = run({"checkin", part});
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.err, "");
    // Both were made in a folder of the check-in's own under the temporary folder (the
    // test's), and nothing of them is left there, nor is TMP left set.
    const std::string temporary = std::filesystem::path(path("samples")).parent_path().string();
    EXPECT_EQ(seen, (std::vector<std::string>{temporary, temporary}));
    for (const auto& entry : std::filesystem::directory_iterator(temporary))
        EXPECT_EQ(entry.path().filename().string().rfind("natlinkhost-checkin-", 0),
                  std::string::npos)
            << entry.path();
    EXPECT_EQ(std::getenv("TMP"), nullptr);
}

TEST_F(CheckinSoundness, ADocumentOpenedForTheCheckInIsClosedWhenItsPathNameFails) {
    const std::string part = natlinkhost::writeSamplePart(path("samples"));
    const ISldWorksPtr app = createSimulatedSldWorks();
    sessionTestKit(app).plan().failWith("IModelDoc2::GetPathName", E_FAIL);
    const answerS answer = checkIn(app, part);
    EXPECT_EQ(answer.result, 1);
    EXPECT_EQ(answer.resText, "Native check-in of " + part +
                                  " gave no record: reading the document's path name failed: "
                                  "SolidWorks call failed: 0x80004005 E_FAIL");
    sessionTestKit(app).plan().clear();
    EXPECT_EQ(openDocuments(app), 0u);
}

} // namespace
