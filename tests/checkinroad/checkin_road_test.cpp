// natlinkhost checkin end to end: a part built by convert, the sample part with two
// configurations and the sample assembly are checked in through the plug-in's conversion
// entry and their printed records read back; documents that give no record are failures.
#include "platform/host/services/checkin_postprocess.h"
#include "tests/checkinroad/checkin_road_fixture.h"

#include "tests/solids/step_volume.h"
#include "tools/natlinkhost/check_in_samples.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

// Minimum x, y, z, then maximum x, y, z of the triangles of a binary STL file.
std::array<double, 6> stlBox(const std::string& text) {
    std::array<double, 6> box{1e300, 1e300, 1e300, -1e300, -1e300, -1e300};
    std::uint32_t count = 0;
    if (text.size() < 84)
        return box;
    std::memcpy(&count, text.data() + 80, 4);
    for (std::size_t t = 0; t < count && 84 + 50 * (t + 1) <= text.size(); ++t)
        for (std::size_t v = 0; v < 3; ++v)
            for (std::size_t axis = 0; axis < 3; ++axis) {
                float value = 0;
                std::memcpy(&value, text.data() + 84 + 50 * t + 12 + 12 * v + 4 * axis, 4);
                box[axis] = std::min(box[axis], static_cast<double>(value));
                box[axis + 3] = std::max(box[axis + 3], static_cast<double>(value));
            }
    return box;
}

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
    // The reader's own reason, as inspect gives it.
    EXPECT_EQ(result.err, "natlinkhost: Native check-in: failed to open document " + part +
                              ": the file is damaged (its checksum does not match)\n");
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

// The mate-reference example's helper body and the surface copy of its far face are hidden:
// the STEP copy and the check-in's 3D preview hold the plate alone (60 x 40 x 20 less the
// bore of radius 5), not the helper's 45 mm disc at x = 40.
TEST_F(CheckinRoad, MateReferenceExampleCopiesAndPreviewsOnlyItsPlate) {
    ASSERT_EQ(run({"convert", sourceFile("examples/materefs.meta"), "-o", path("out")}).code, 0);
    const runS exported = run({"export", path("out/MatePlate.sldprt"), path("plate.step")});
    ASSERT_EQ(exported.code, 0) << exported.err;
    EXPECT_NEAR(stepVolume(path("plate.step")), 48000 - M_PI * 25 * 20, 1e-6);
    const std::array<double, 6> plate = {-30, -20, 0, 30, 20, 20};
    const std::array<double, 6> copied = stepBox(path("plate.step"));
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_NEAR(copied[i], plate[i], 1e-6) << i;

    const runS result = run({"checkin", path("out/MatePlate.sldprt")});
    ASSERT_EQ(result.code, 0) << result.err;
    const metaObjectC record = parsed(result.out);
    const metaObjectC document(record.findChild("DOCUMENT"));
    const std::string preview = text(document, "PREVIEW3D");
    ASSERT_EQ(preview.substr(preview.size() - 4), ".stl") << preview;
    const std::array<double, 6> shown = stlBox(readFile(preview));
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_NEAR(shown[i], plate[i], 1e-4) << i; // single-precision corners
}

} // namespace
