// The solid features end to end: natlinkhost converts the bracket and handle examples into
// parts whose STEP copies have the volumes computed by hand (the bracket's faces carry their
// surface-type names), and converts a part with bad nodes into the good rest with each bad
// node's message.
#include "platform/sldworks/model/part_document.h"
#include "tests/natlinkhost/natlinkhost_fixture.h"
#include "tests/solids/step_volume.h"

#include <cmath>

namespace {

constexpr double pi = 3.141592653589793;

using SolidConversion = natlinkHostTest;

TEST_F(SolidConversion, BracketHasTheVolumeComputedByHand) {
    const runS converted = run({"convert", sourceFile("examples/bracket.meta"), "-o", path("out")});
    ASSERT_EQ(converted.code, 0) << converted.err;
    EXPECT_EQ(converted.err, "");

    const std::string step = path("bracket.step");
    ASSERT_EQ(run({"export", path("out/Bracket.sldprt"), step}).code, 0);
    // Plate, slot, boss, four drillings and the foreign cube, as the example's comment adds
    // them up.
    const double byHand = 60000 - 2000 + pi * 64 * 20 - pi * 9 * 10 - pi * (25 * 3 + 9 * 5) -
                          pi * (9 * 5 + 9 * 3 / 3.0) - pi * (25 * 2 + 9 * 8) + 1000;
    EXPECT_NEAR(stepVolume(step), byHand, byHand * 1e-6);

    const runS inspected = run({"inspect", path("out/Bracket.sldprt")});
    ASSERT_EQ(inspected.code, 0) << inspected.err;
    for (const char* line : {"Extrusion \"", "Cut \"", "Revolution \"", "HoleWzd \"",
                             "CosmeticThread \"", "BaseBody \"", "face \"PLANAR_0\"",
                             "face \"CYL_6\"", "face \"CONE_0\"", "face \"PLANAR_19\""})
        EXPECT_NE(inspected.out.find(line), std::string::npos) << line << inspected.out;
    // The drilling D4 is made by its history (two cuts), not as a hole.
    std::size_t holes = 0;
    for (std::size_t at = inspected.out.find("HoleWzd"); at != std::string::npos;
         at = inspected.out.find("HoleWzd", at + 1))
        ++holes;
    EXPECT_EQ(holes, 3u);
    EXPECT_EQ(inspected.out.find("UNKNOWN_"), std::string::npos);
}

TEST_F(SolidConversion, BadNodesFailWithTheirMessagesAndTheRestIsBuilt) {
    const runS converted =
        run({"convert", sourceFile("examples/solids_with_faults.meta"), "-o", path("out")});
    EXPECT_EQ(converted.code, 1);
    for (const char* message : {
             "SKETCH \"RibSketch\": Loop 1 of sketch \"RibSketch\" is open: a gap of 5 at (0, 5)",
             "BASE \"Rib\": Sketch \"RibSketch\" for feature \"Rib\" not found",
             "BASE \"Loft\": Error while creating base feature \"Loft\"",
             "DRILLING \"D1\": Error while creating drilling \"D1\"",
             "SKETCH \"TwinSketch\": Loops 1 and 2 of sketch \"TwinSketch\" cross or touch at "
             "(-12.5, -6.614378278)",
             "BASE \"Twin\": Sketch \"TwinSketch\" for feature \"Twin\" not found",
             "DRILLING \"D3\": Error while creating drilling \"D3\": SINKANGLE nan is not a "
             "finite number",
             "FOEFEAT \"Outside\": Invalid file name \"../outside.step\" of foreign feature "
             "\"Outside\"",
         })
        EXPECT_NE(converted.err.find(message), std::string::npos) << message << converted.err;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::temp_directory_path().parent_path() /
                                         "outside.step"));

    const std::string step = path("faults.step");
    ASSERT_EQ(run({"export", path("out/PlateWithFaults.sldprt"), step}).code, 0);
    const double byHand = 60000 - pi * 9 * 10;
    EXPECT_NEAR(stepVolume(step), byHand, byHand * 1e-6);
}

TEST_F(SolidConversion, HandleLoftedBetweenThreeSketchesHasTheVolumeComputedByHand) {
    const runS converted = run({"convert", sourceFile("examples/handle.meta"), "-o", path("out")});
    ASSERT_EQ(converted.code, 0) << converted.err;
    const std::string step = path("handle.step");
    ASSERT_EQ(run({"export", path("out/Handle.sldprt"), step}).code, 0);
    // The plate and two frustums of square pyramids (20 to 10 and back, 30 high each).
    const double byHand = 40 * 40 * 5 + 2 * 30 / 3.0 * (400 + 100 + 200);
    EXPECT_NEAR(stepVolume(step), byHand, byHand * 1e-6);

    const runS inspected = run({"inspect", path("out/Handle.sldprt")});
    ASSERT_EQ(inspected.code, 0) << inspected.err;
    for (const char* line :
         {"3DProfileFeature \"3DSketch1\"", "Loft \"Loft1\"",
          "Line2 (-5, -5, 35) -> (-10, -10, 65)", "body 1 faces: other 8 plane 7"})
        EXPECT_NE(inspected.out.find(line), std::string::npos) << line << inspected.out;
}

// A colour annotation on the face through `point`.
std::string colourAt(const std::string& point, const std::string& rgb) {
    return "(ANNOTATIONFACE (POINT3D " + point +
           ") (VEC3D 0 0 1) (FACD \"(RCCLASSINSTANCE"
           " (CLASSNAME \\\"FACECOLOR\\\") (RCPROPERTY (NAME \\\"CLASSID\\\")"
           " (VALUE \\\"sys_faceattributecolor\\\")) (RCPROPERTY (NAME \\\"COLOR\\\") (VALUE \\\"" +
           rgb + "\\\")))\"))";
}

TEST_F(SolidConversion, PiecesOfASplitBlockReopenWithColoursAndNamesOnTheirFaces) {
    // A block 60 x 20 x 10 cut through by a slot across it at x 15..17, then by a slot at
    // z 4..6 sketched on the slot's wall at x = 17 and cut to the far end: three pieces. The
    // second sketch needs the first slot's faces, so the build cuts one slot at a time.
    const std::string model = writeFile(
        "split.meta",
        "(PART (NAME \"Split\") (ITEMS"
        " (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 1))"
        " (SKETCH (NAME \"S\") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 1) (SKETCHON (PLANE \"XY\"))"
        " (LOOP (LINE (POINT 0 0) (POINT 60 0)) (LINE (POINT 60 0) (POINT 60 20))"
        " (LINE (POINT 60 20) (POINT 0 20)) (LINE (POINT 0 20) (POINT 0 0))))"
        " (BASE (NAME \"Block\") (TYP \"EXTRUDE\") (USED \"S\") (PARAM 10 0 0))"
        " (SKETCH (NAME \"SA\") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 10 1)"
        " (SKETCHON (FACE (POINT3D 5 10 10) (VEC3D 0 0 1)))"
        " (LOOP (LINE (POINT 15 -1) (POINT 17 -1)) (LINE (POINT 17 -1) (POINT 17 21))"
        " (LINE (POINT 17 21) (POINT 15 21)) (LINE (POINT 15 21) (POINT 15 -1))))"
        " (CUT (NAME \"SlotA\") (TYP \"EXTRUDE\") (USED \"SA\") (PARAM 10 1 0))"
        " (SKETCH (NAME \"SB\") (MAT 0 0 1 0  0 1 0 0  -1 0 0 0  17 0 0 1)"
        " (SKETCHON (FACE (POINT3D 17 10 5) (VEC3D -1 0 0)))"
        " (LOOP (LINE (POINT 4 -1) (POINT 6 -1)) (LINE (POINT 6 -1) (POINT 6 21))"
        " (LINE (POINT 6 21) (POINT 4 21)) (LINE (POINT 4 21) (POINT 4 -1))))"
        " (CUT (NAME \"SlotB\") (TYP \"EXTRUDE\") (USED \"SB\") (PARAM 50 1 0)))"
        " (ANNOTATIONSETS (ANNOTATIONSETFACE " +
            colourAt("5 10 10", "255,0,0") + colourAt("40 10 10", "0,255,0") +
            colourAt("60 10 2", "0,0,255") + ")))");
    const runS converted = run({"convert", model, "-o", path("out")});
    ASSERT_EQ(converted.code, 0) << converted.err;

    // Names and colours are saved by body and face index (the faces' names by surface type
    // with them): the replay on opening must give the pieces and their faces in the order
    // the build had them.
    const auto part = swsim::PartDocument::open(path("out/Split.sldprt"));
    ASSERT_EQ(part->bodies().size(), 3u);
    EXPECT_NEAR(part->massProperties().volume, 12000 - 2 * 20 * 10 - 43 * 20 * 2, 1e-6);
    const std::pair<swsim::Vec3, swsim::Rgb> colours[] = {
        {{5, 10, 10}, {1, 0, 0}}, {{40, 10, 10}, {0, 1, 0}}, {{60, 10, 2}, {0, 0, 1}}};
    for (const auto& [point, rgb] : colours) {
        swsim::FacePtr found;
        for (const auto& body : part->bodies())
            for (const auto& face : body->faces())
                if (face->contains(point))
                    found = face;
        ASSERT_TRUE(found) << point.x;
        EXPECT_TRUE(found->colour() && *found->colour() == rgb) << point.x;
    }
}

} // namespace
