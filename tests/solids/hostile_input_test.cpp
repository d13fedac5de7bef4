// Models an attacker or a careless exporter might write, converted end to end by natlinkhost:
// numbers beyond the model space, NaN in patterns, patterns of themselves, malformed pattern
// points and sweeps through missing sketches. Each ends with exit 1 and a message naming what
// was wrong, never a crash or a hang, and whatever was saved opens again.
#include "tests/natlinkhost/natlinkhost_fixture.h"

#include <filesystem>

namespace {

const char* const xyPlane =
    "(PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 1))";
const char* const plate =
    "(SKETCH (NAME \"PlateSketch\") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 1)"
    " (SKETCHON (PLANE \"XY\")) (LOOP (LINE (POINT 0 0) (POINT 100 0))"
    " (LINE (POINT 100 0) (POINT 100 60)) (LINE (POINT 100 60) (POINT 0 60))"
    " (LINE (POINT 0 60) (POINT 0 0))))"
    " (BASE (NAME \"Plate\") (TYP \"EXTRUDE\") (USED \"PlateSketch\") (PARAM 10 0 0))";

// A hole of radius 3 at (x, y) cut through the plate from its top face.
std::string hole(const std::string& x, const std::string& y) {
    return "(SKETCH (NAME \"HoleSketch\") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 10 1)"
           " (SKETCHON (FACE (POINT3D 10 10 10) (VEC3D 0 0 1)))"
           " (LOOP (CIRCLE (POINT " +
           x + " " + y +
           ") (RAD 3))))"
           " (CUT (NAME \"Hole\") (TYP \"EXTRUDE\") (USED \"HoleSketch\") (PARAM 10 1 0))";
}

// The hole at (10, 10) repeated at the points by a pattern "Pat" of `base`.
std::string pattern(const std::string& points, const std::string& base = "Hole",
                    const std::string& basePoint = "10 10 10") {
    return hole("10", "10") + " (FEATPATTERN (NAME \"Pat\") (FPBASEFEAT (NAME \"" + base +
           "\") (POINT3D " + basePoint +
           ")) (FPSKETCH (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 10 1)"
           " (SKETCHON (FACE (POINT3D 50 30 10) (VEC3D 0 0 1))) (FPSKETCHPOINTS " +
           points + ")))";
}

// A block sketched with `mat` as its placement.
std::string placedDisc(const std::string& mat, const std::string& circle) {
    return "(SKETCH (NAME \"S\") (MAT " + mat + ") (SKETCHON (PLANE \"XY\")) (LOOP " + circle +
           ")) (BASE (NAME \"B\") (TYP \"EXTRUDE\") (USED \"S\") (PARAM 10 0 0))";
}
const char* const identity = "1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 1";

class HostileInput : public natlinkHostTest {
protected:
    // Converts a part of the items; the run must fail, and a part it saved must open again.
    runS refused(const std::string& name, const std::string& items) {
        const std::string model = writeFile(
            name + ".meta", "(PART (NAME \"" + name + "\") (ITEMS " + xyPlane + " " + items + "))");
        const runS result = run({"convert", model, "-o", path("out")});
        EXPECT_EQ(result.code, 1) << result.err;
        const std::string saved = path("out/" + name + ".sldprt");
        if (std::filesystem::exists(saved)) {
            const runS inspected = run({"inspect", saved});
            EXPECT_EQ(inspected.code, 0) << inspected.err;
        }
        return result;
    }
    static void expectSaid(const runS& result, const std::string& text) {
        EXPECT_NE(result.err.find(text), std::string::npos) << result.err;
    }
};

TEST_F(HostileInput, NumbersBeyondTheModelSpaceAreRefusedByName) {
    expectSaid(refused("Huge", placedDisc(identity, "(CIRCLE (POINT 0 0) (RAD 1e200))")),
               "Could not create sketchcircle at (0, 0) with radius 1e+200 in loop 1 of sketch "
               "\"S\"");
    expectSaid(refused("Far", placedDisc(identity, "(CIRCLE (POINT 1e200 0) (RAD 5))")),
               "Could not create sketchcircle at (1e+200, 0) with radius 5");
    expectSaid(refused("FarHole", std::string(plate) + hole("1e300", "10")),
               "Could not create sketchcircle at (1e+300, 10) with radius 3");
    expectSaid(refused("FarDrill", std::string(plate) +
                                       "(DRILLING (NAME \"D\") (STARTPOINT 1e300 15 10)"
                                       " (DIRECTION 0 0 -1) (DIAMETER 6) (DEPTH 10))"),
               "at its start point (1e+300, 15, 10)");
    // A placement far away puts the sketch's numbers beyond the model space too; the part is
    // saved without it and opens again.
    expectSaid(refused("FarMat", placedDisc("1 0 0 0  0 1 0 0  0 0 1 0  9.2e18 0 0 1",
                                            "(CIRCLE (POINT 0 0) (RAD 5))")),
               "Could not create sketchcircle at (9.2e+18, 0) with radius 5");
    EXPECT_TRUE(std::filesystem::exists(path("out/FarMat.sldprt")));
    // A sketch sheared to reach a kilometre: a part so far out would reopen with other faces
    // than it was saved with, its face names no longer fitting.
    std::string flange = readFile(sourceFile("examples/flange.meta"));
    const std::string slot = "(NAME \"SlotSketch\") (MAT 1 0 0 0  0 1 0 0";
    ASSERT_NE(flange.find(slot), std::string::npos);
    flange.replace(flange.find(slot), slot.size(), "(NAME \"SlotSketch\") (MAT 1 0 0 0  5e5 1 0 0");
    EXPECT_EQ(run({"convert", writeFile("sheared.meta", flange), "-o", path("out")}).code, 1);
    const runS reopened = run({"inspect", path("out/Flange.sldprt")});
    EXPECT_EQ(reopened.code, 0) << reopened.err;
    // A pattern instance that far: neither the pattern nor the rollback's copy is built.
    const runS farCopy =
        refused("FarCopy", std::string(plate) + pattern("(POINT 35 12) (POINT 1e300 41)"));
    expectSaid(farCopy, "Items not built: ");
    expectSaid(farCopy, "1e+300");
}

TEST_F(HostileInput, PatternsOfNaNOrOfThemselvesOrOfMalformedPointsFailTheirNode) {
    expectSaid(refused("NaNPoint", std::string(plate) + pattern("(POINT 35 12) (POINT nan 41)")),
               "FEATPATTERN \"Pat\": Feature pattern \"Pat\": (POINT nan 41) holds a number that "
               "is not finite");
    expectSaid(refused("NaNBase", std::string(plate) +
                                      pattern("(POINT 35 12) (POINT 62 41)", "Hole", "nan 10 10")),
               "(POINT3D nan 10 10) holds a number that is not finite");
    // One coordinate is no point: it is not taken for the origin.
    expectSaid(refused("OneNumber",
                       std::string(plate) + pattern("(POINT 35 12) (POINT 35) (POINT 88 23)")),
               "Feature pattern \"Pat\": point 2 of FPSKETCHPOINTS, (POINT 35), is not two "
               "numbers");
    // A pattern of itself would roll back into a pattern of itself for ever.
    expectSaid(refused("Itself", std::string(plate) + pattern("(POINT 35 12)", "Pat")),
               "Feature pattern \"Pat\" names itself as its base feature");
}

TEST_F(HostileInput, SweepThroughAMissingSketchNamesWhatItLeftOut) {
    std::string text = readFile(sourceFile("examples/handle.meta"));
    const std::string listed = "\"Foot\" \"Waist\"";
    text.replace(text.find(listed), listed.size(), "\"Foot\" \"Nowhere\" \"Waist\"");
    const runS result = run({"convert", writeFile("handle.meta", text), "-o", path("out")});
    EXPECT_EQ(result.code, 1);
    expectSaid(result, "Items built incompletely: SWEEP \"HandleBody\": profile sketch "
                       "\"Nowhere\" is not in the part and was left out");
    // The loft through the others is built and saved.
    const runS inspected = run({"inspect", path("out/Handle.sldprt")});
    EXPECT_NE(inspected.out.find("Loft \"Loft1\""), std::string::npos) << inspected.out;
}

} // namespace
