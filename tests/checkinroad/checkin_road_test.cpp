// natlinkhost checkin end to end: a part built by convert, the sample part with two
// configurations and the sample assembly are checked in through the plug-in's conversion
// entry and their printed records read back; documents that give no record are failures.
#include "platform/host/services/checkin_postprocess.h"
#include "tests/checkinroad/checkin_road_fixture.h"

#include "tools/natlinkhost/check_in_samples.h"
#include <fstream>
#include <iterator>

namespace {

using CheckinRoad = checkinRoadTest;

TEST_F(CheckinRoad, ConvertedExampleIsCheckedInUnderItsAbsolutePath) {
    ASSERT_EQ(run({"convert", sourceFile("examples/block.meta"), "-o", path("out")}).code, 0);
    // The host passes the document's normalised absolute path.
    const runS result = run({"checkin", path("out/../out/Block.sldprt")});
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out.find("(CHECKINOUT"), result.out.rfind("(CHECKINOUT"));

    // The record printed is the one the host's post-processing was given.
    const metaObjectC record = parsed(result.out);
    const std::optional<hostsvc::NativeCheckinResult> posted = hostsvc::lastNativeCheckin();
    ASSERT_TRUE(posted.has_value());
    EXPECT_EQ(posted->interfaceName, "natlinkon");
    const metaObjectC postedRecord = parsed(posted->recordText);
    EXPECT_TRUE(getIMetaTreeApi()->compare(record.getTreePtr(), postedRecord.getTreePtr()));
    EXPECT_EQ(record.getTag().toUtf8(), "CHECKINOUT");
    EXPECT_EQ(children(record, "HEADER").size(), 1u);
    const std::vector<metaObjectC> documents = children(record, "DOCUMENT");
    ASSERT_EQ(documents.size(), 1u);
    const metaObjectC& document = documents[0];
    EXPECT_EQ(text(document, "CADIDENT"), path("out/Block.sldprt"));
    EXPECT_EQ(text(document, "EXTENSION"), "sldprt");
    const metaObjectC unitBase(document.findChild("UNITBASE"));
    ASSERT_TRUE(unitBase.isValid());
    EXPECT_EQ(getIMetaTreeApi()->getDouble(unitBase.firstValueNode()), std::optional(1.0));
}

TEST_F(CheckinRoad, SamplePartGivesBothConfigurationsWithTheirProperties) {
    const std::string part = natlinkhost::writeSamplePart(path("samples"));
    const runS result = run({"checkin", part});
    ASSERT_EQ(result.code, 0) << result.err;
    const metaObjectC record = parsed(result.out);
    const metaObjectC document(record.findChild("DOCUMENT"));
    EXPECT_EQ(text(document, "CADIDENT"), part);

    // The first configuration is the current value set, the second the table's one line;
    // a configuration's own property wins over the document's.
    std::map<std::string, std::string> current =
        values(metaObjectC(document.findChild("CURVARSET")));
    EXPECT_EQ(current["IDNR"], "Default");
    EXPECT_EQ(current["Title"], "Configured block");
    EXPECT_EQ(current["Author"], "natlink");
    EXPECT_EQ(current["Finish"], "bright");
    EXPECT_EQ(current["D1@Boss-Extrude1"], "10");

    const std::vector<metaObjectC> lines =
        children(metaObjectC(document.findChild("VARSETTABLE")), "VARSET");
    ASSERT_EQ(lines.size(), 1u);
    std::map<std::string, std::string> line = values(lines[0]);
    EXPECT_EQ(line["IDNR"], "Long");
    EXPECT_EQ(line["Material"], "Steel");
    EXPECT_EQ(line["Finish"], "painted");
    EXPECT_EQ(line["Title"], "Configured block");
    EXPECT_EQ(line["D1@Boss-Extrude1"], "60");
}

TEST_F(CheckinRoad, SampleAssemblyGivesAMemberPerComponentInOrder) {
    const std::string assembly = natlinkhost::writeSampleAssembly(path("samples"));
    const runS result = run({"checkin", assembly});
    ASSERT_EQ(result.code, 0) << result.err;
    const metaObjectC record = parsed(result.out);
    const metaObjectC document(record.findChild("DOCUMENT"));
    EXPECT_EQ(text(document, "CADIDENT"), assembly);
    EXPECT_EQ(text(document, "EXTENSION"), "sldasm");

    // Plate once, then Pin twice (read once, its record copied for the second component).
    std::vector<std::string> members;
    for (const metaObjectC& member :
         children(metaObjectC(document.findChild("MEMBERS")), "DOCUMENT"))
        members.push_back(text(member, "CADIDENT"));
    EXPECT_EQ(members,
              (std::vector<std::string>{path("samples/Plate.sldprt"), path("samples/Pin.sldprt"),
                                        path("samples/Pin.sldprt")}));
}

TEST_F(CheckinRoad, DocumentsThatGiveNoRecordFailWithAReason) {
    // Not a document of the session, and a part under an assembly's extension.
    const std::string junk = writeFile("junk.sldprt", "not a document\n");
    std::filesystem::copy_file(natlinkhost::writeSamplePart(path("samples")), path("Part.sldasm"));
    for (const std::string& doc : {junk, path("Part.sldasm")}) {
        const runS result = run({"checkin", doc});
        EXPECT_EQ(result.code, 1) << doc;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.rfind("natlinkhost: Native check-in", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(doc), std::string::npos) << result.err;
    }
}

TEST_F(CheckinRoad, ADamagedPartIsRefusedByName) {
    const std::string part = natlinkhost::writeSamplePart(path("samples"));
    std::string text;
    {
        std::ifstream in(part, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Bytes changed inside the shape data.
    const size_t at = text.find("\n#");
    ASSERT_NE(at, std::string::npos);
    text.replace(text.find('\n', at + 1) + 40, 6, "?-1e99");
    std::ofstream(part, std::ios::binary | std::ios::trunc) << text;
    const runS result = run({"checkin", part});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "natlinkhost: Native check-in: failed to open document " + part +
                              ": SolidWorks cannot read it (a document of another kind, not a "
                              "SolidWorks document, or a damaged one)\n");
}

TEST_F(CheckinRoad, OnlyPartsAndAssembliesAreCheckedIn) {
    const std::string step = writeFile("block.step", "ISO-10303-21;\n");
    const runS result = run({"checkin", step});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err,
              "natlinkhost: " + step +
                  ": only a part (.sldprt) or an assembly (.sldasm) can be checked in\n");
    // The extension is read in any case.
    const std::string part = natlinkhost::writeSamplePart(path("samples"));
    std::filesystem::copy_file(part, path("UPPER.SLDPRT"));
    EXPECT_EQ(run({"checkin", path("UPPER.SLDPRT")}).code, 0);
}

} // namespace
