// natlinkhost on the build road: convert builds and saves the example, inspect shows its
// planes by name and place, export writes a copy; failures give exit 1 with the reasons.
#include "tests/natlinkhost/natlinkhost_fixture.h"

#include "metamodel/core/registry.h"
#include "metamodel/m3d/register.h"

namespace {

using HostBuildRoad = natlinkHostTest;

TEST_F(HostBuildRoad, ConvertThenInspectShowsTheNamedPlanes) {
    const runS converted = run({"convert", sourceFile("examples/planes.meta"), "-o", path("out")});
    ASSERT_EQ(converted.code, 0) << converted.err;
    EXPECT_EQ(converted.err, "");

    const runS inspected = run({"inspect", path("out/Planes.sldprt")});
    ASSERT_EQ(inspected.code, 0) << inspected.err;
    for (const char* line :
         {"RefPlane \"Front Plane\" origin (0, 0, 0) normal (0, 0, 1)\n",
          "RefPlane \"Offset10\" origin (0, 0, 10) normal (0, 0, 1)\n",
          "RefPlane \"Tilted\" origin (0, 0, 20) normal (0, -0.7071067812, 0.7071067812)\n",
          "solid bodies: 0\n"})
        EXPECT_NE(inspected.out.find(line), std::string::npos) << line << inspected.out;
}

TEST_F(HostBuildRoad, FailedItemsGiveExitOneWithWarningsAndResultText) {
    const std::string model = writeFile(
        "bad.meta", "(PART (NAME \"Bad\") (ITEMS"
                    " (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))"
                    " (PLANE (NAME \"Lost\") (TYP \"OFF_TO_PLANE\") (PARAM 0 4 \"Nowhere\"))))");
    const runS result = run({"convert", model, "-o", path("out")});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find("natlinkhost: Items not built: PLANE \"Lost\": Could not find "
                              "reference plane for \"Lost\"\n"),
              std::string::npos)
        << result.err;
    EXPECT_TRUE(std::filesystem::exists(path("out/Bad.sldprt")));
}

TEST_F(HostBuildRoad, RefusalsSayWhatWasFoundAndLeaveNoFolders) {
    std::filesystem::create_directories(path("folder"));
    const std::string model =
        writeFile("odd.meta", "(PART (NAME \"Odd\") (PARTPREFS (UNITBASE \"25.4\")) (ITEMS))");
    for (const runS& result :
         {run({"convert", path("folder"), "-o", path("out")}),
          run({"convert", model, "--options", path("folder"), "-o", path("out")})}) {
        EXPECT_NE(result.code, 0);
        EXPECT_NE(result.err.find(path("folder") + ": is a directory"), std::string::npos)
            << result.err;
    }

    // A conversion that fails takes back the folders it made for its output.
    const runS failed = run({"convert", model, "-o", path("new/deeper")});
    EXPECT_EQ(failed.code, 1);
    EXPECT_NE(failed.err.find("Invalid UNITBASE \"25.4\" of part \"Odd\""), std::string::npos)
        << failed.err;
    EXPECT_FALSE(std::filesystem::exists(path("new")));
}

TEST_F(HostBuildRoad, InspectAndExportRefuseWhatTheyCannotRead) {
    runS result = run({"inspect", path("missing.sldprt")});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "natlinkhost: " + path("missing.sldprt") + ": no such document\n");

    result = run({"export", path("missing.sldprt"), path("copy.obj")});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.err,
              "natlinkhost: " + path("copy.obj") + ": the copy must be a .step or .stl file\n");

    const std::string notAPart = writeFile("junk.sldprt", "not a part\n");
    result = run({"inspect", notAPart});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err.rfind("natlinkhost: " + notAPart + ": ", 0), 0u) << result.err;
}

TEST_F(HostBuildRoad, ExportWritesAStepCopyOfABodyAndRefusesAPartWithoutOne) {
    ASSERT_EQ(run({"convert", sourceFile("examples/sketches.meta"), "-o", path("out")}).code, 0);
    const runS result = run({"export", path("out/Sketches.sldprt"), path("copy.step")});
    EXPECT_EQ(result.code, 0) << result.err;
    // A STEP file, not merely some file under that name.
    std::ifstream copy(path("copy.step"));
    ASSERT_TRUE(copy) << path("copy.step");
    std::string header;
    std::getline(copy, header);
    EXPECT_EQ(header.rfind("ISO-10303-21;", 0), 0u) << header;

    // A part without a body has nothing to copy: the user is told why, and no file is left.
    const std::string model =
        writeFile("planes_only.meta", "(PART (NAME \"Only\") (ITEMS"
                                      " (PLANE (NAME \"XY\") (TYP \"XY\")"
                                      " (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))))");
    ASSERT_EQ(run({"convert", model, "-o", path("out")}).code, 0);
    for (const char* format : {"STEP", "STL"}) {
        const std::string target =
            path(std::string("empty.") + (format[2] == 'E' ? "step" : "stl"));
        const runS refused = run({"export", path("out/Only.sldprt"), target});
        EXPECT_EQ(refused.code, 1);
        EXPECT_NE(refused.err.find(std::string("the part has no solid body to write as ") + format),
                  std::string::npos)
            << refused.err;
        EXPECT_FALSE(std::filesystem::exists(target));
    }
}

} // namespace
