// Assembly members end to end: which member is the same part placed again, what is saved when
// no member is placed, and which members choose the level shown. natlinkhost converts each model;
// the saved assembly is reopened and measured.
#include "tests/buildasm3d/assembly_test_helpers.h"

#include <filesystem>

namespace {

using AssemblyPlacements = natlinkHostTest;

// A plate 90 x 65 x 8 with a hole of radius 3 through it at (10, 10), repeated at three points
// of a sketch on a plane 5 below the plate: the session refuses the pattern, and the rollback
// writes copies of the hole into the part's ITEMS.
std::string drilledPlate(const std::string& placement) {
    return "(PART (NAME \"Drilled\") (MAT " + placement +
           ") (ITEMS (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))"
           " (PLANE (NAME \"Below\") (TYP \"ABS_PLANE\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 -5 1))"
           " (SKETCH (NAME \"S\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1) (SKETCHON (PLANE \"XY\"))"
           "  (LOOP (LINE (POINT 0 0) (POINT 90 0)) (LINE (POINT 90 0) (POINT 90 65))"
           "   (LINE (POINT 90 65) (POINT 0 65)) (LINE (POINT 0 65) (POINT 0 0))))"
           " (BASE (NAME \"Plate\") (TYP \"EXTRUDE\") (USED \"S\") (PARAM 8 0 0))"
           " (DRILLING (NAME \"Hole\") (STARTPOINT 10 10 8) (DIRECTION 0 0 -1) (DIAMETER 6)"
           "  (DEPTH 8))"
           " (FEATPATTERN (NAME \"Holes\") (FPBASEFEAT (NAME \"Hole\") (POINT3D 10 10 8))"
           "  (FPSKETCH (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 -5 1) (SKETCHON (PLANE \"Below\"))"
           "   (FPSKETCHPOINTS (POINT 35 12) (POINT 62 41) (POINT 78 23))))))";
}

TEST_F(AssemblyPlacements, APartPlacedTwiceIsComparedAsTheModelGivesIt) {
    const std::string model =
        writeFile("twice.meta", "(ASSEMBLY (NAME \"Twice\") (ITEMS " +
                                    drilledPlate("1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1") +
                                    drilledPlate("1 0 0 0 0 1 0 0 0 0 1 0 100 0 0 1") + "))");
    const runS converted = run({"convert", model, "-o", path("out")});
    ASSERT_EQ(converted.code, 0) << converted.err;
    // The pattern was rolled back: four holes, no pattern feature.
    const std::string part = run({"inspect", path("out/Drilled.sldprt")}).out;
    EXPECT_NE(part.find("HoleWzd \"Hole4\""), std::string::npos) << part;
    EXPECT_EQ(part.find("Pattern"), std::string::npos) << part;

    const openedAssemblyS opened = openAssembly(path("out/Twice.sldasm"));
    ASSERT_TRUE(opened.doc);
    const auto& components = sessionAssemblyOf(opened.doc)->components();
    ASSERT_EQ(components.size(), 2u);
    EXPECT_EQ(components[0]->path(), components[1]->path());
    EXPECT_EQ(std::filesystem::path(components[1]->path()).filename(), "Drilled.sldprt");
    // Each plate loses four holes of radius 3 through its 8.
    EXPECT_NEAR(massPropGetVolume(docExtCreateMassProperty(modelDocGetExtension(opened.doc))),
                2 * (90 * 65 * 8 - 4 * 9 * pi * 8), 1e-6);
    const std::vector<double> box = assemblyBox(opened.doc);
    const double expected[6] = {0, 0, 0, 190, 65, 8};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(box[i], expected[i], 1e-6) << i;
}

TEST_F(AssemblyPlacements, AnAssemblyWhoseMembersAreAllRefusedIsNotSaved) {
    const std::string model = writeFile(
        "refused.meta", "(ASSEMBLY (NAME \"Refused\") (ITEMS " +
                            block("Big", "(MAT 2 0 0 0 0 2 0 0 0 0 2 0 0 0 0 1)") +
                            block("Mirrored", "(MAT 1 0 0 0 0 1 0 0 0 0 -1 0 0 0 0 1)") + "))");
    const runS converted = run({"convert", model, "-o", path("out")});
    EXPECT_EQ(converted.code, 1);
    EXPECT_TRUE(holdsText(converted.err, "No member part of the assembly \"Refused\" could be "
                                         "placed; Items not built: PART \"Big\": Could not place "
                                         "the part"));
    EXPECT_FALSE(std::filesystem::exists(path("out/Refused.sldasm")));
    // The parts were built and stay saved.
    EXPECT_NEAR(configurationsOf(path("out/Big.sldprt"), 1).volumes.at("Default"), 3500, 1e-6);
    EXPECT_TRUE(std::filesystem::exists(path("out/Mirrored.sldprt")));
}

TEST_F(AssemblyPlacements, APartPlacedAgainShowingAnotherLevelIsRefusedSayingSo) {
    const auto levelled = [](const char* selected, const char* placement) {
        return block("LP", std::string("(MAT ") + placement + ") (PARTLOD (SELLODNAME \"" +
                               selected +
                               "\") (PARTLODENTS (PARTLODENT (NAME \"A\")) (PARTLODENT (NAME "
                               "\"B\") (PARTLODEXCFEATLST \"Pocket\"))))");
    };
    // The third member is the first placed again: it shares its file.
    const std::string model =
        writeFile("levels.meta", "(ASSEMBLY (NAME \"Asm\") " + options({{"CreateLOD", "1"}}) +
                                     " (ITEMS " + levelled("A", "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1") +
                                     levelled("B", "1 0 0 0 0 1 0 0 0 0 1 0 30 0 0 1") +
                                     levelled("A", "1 0 0 0 0 1 0 0 0 0 1 0 60 0 0 1") + "))");
    const runS converted = run({"convert", model, "-o", path("out")});
    EXPECT_EQ(converted.code, 1);
    EXPECT_TRUE(holdsText(converted.err, "Items not built: PART \"LP\": The part is already placed "
                                         "in the assembly showing another level: \"LP.sldprt\" "
                                         "shows the level \"A\", this member selects the level "
                                         "\"B\"\n"));
    const openedAssemblyS opened = openAssembly(path("out/Asm.sldasm"));
    ASSERT_TRUE(opened.doc);
    const auto& components = sessionAssemblyOf(opened.doc)->components();
    ASSERT_EQ(components.size(), 2u);
    EXPECT_NEAR(components[1]->placement.origin.x, 60, 1e-12);
}

TEST_F(AssemblyPlacements, AMemberThatIsNotPlacedChoosesNoLevel) {
    // "Lost" is built but not placed; its selected level would leave out its pocket.
    const std::string model = writeFile(
        "lost.meta",
        "(ASSEMBLY (NAME \"Asm\") " + options({{"CreateLOD", "1"}}) + " (ITEMS " +
            block("Base", "(PARTLOD (SELLODNAME \"Full\") (PARTLODENTS (PARTLODENT (NAME "
                          "\"Full\")) (PARTLODENT (NAME \"Simple\") (PARTLODEXCFEATLST "
                          "\"Pocket\"))))") +
            block("Lost", "(MAT 2 0 0 0 0 2 0 0 0 0 2 0 0 0 0 1) (PARTLOD (SELLODNAME \"Lite\") "
                          "(PARTLODENTS (PARTLODENT (NAME \"Lite\") (PARTLODEXCFEATLST "
                          "\"Pocket\"))))") +
            "))");
    const runS converted = run({"convert", model, "-o", path("out")});
    EXPECT_EQ(converted.code, 1);
    EXPECT_TRUE(holdsText(converted.err, "PART \"Lost\": Could not place the part"));
    const configurationsS saved = configurationsOf(path("out/Asm.sldasm"), 2);
    EXPECT_EQ(saved.shown, "Default");
    EXPECT_EQ(saved.volumes.count("Lite"), 0u);
    EXPECT_NEAR(saved.volumes.at("Simple"), 4000, 1e-6);
    EXPECT_NEAR(saved.volumes.at("Full"), 3500, 1e-6);
}

} // namespace
