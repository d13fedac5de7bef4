// The FEATPATTERN handler through the build's reader on a 100 x 60 x 10 block: what a failed
// pattern leaves behind (nothing of its own, no open sketch, no records), the rollback and its
// refusal, the skip lists (distinct instances, the SAFEARRAY retry) and one node not leaking
// into the next.
#include "libs/geomcore/buildsw3d/plane_selection.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swtools/error.h"
#include "metamodel/m3d/viewhelpers.h"
#include "platform/sldworks/session/session.h"
#include "tests/solids/solids_fixture.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr double pi = 3.141592653589793;

class PatternHandler : public partHandlersTest {
protected:
    void SetUp() override {
        partHandlersTest::SetUp();
        block(100, 60, 10);
        // The template's planes, adopted as the part builder does, and XY among them.
        for (_bstr_t name; findRefPlane(*part_, mzComStringC(), name, 1);)
            name = _bstr_t();
        run("(PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 1))");
    }

    // A hole of radius r through the block at (x, y), sketched on its top face.
    void hole(const std::string& name, double x, double y, double r) {
        const std::string at = std::to_string(x) + " " + std::to_string(y);
        run("(SKETCH (NAME \"" + name +
            "S\") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 10 1)"
            " (SKETCHON (FACE (POINT3D " +
            at +
            " 10) (VEC3D 0 0 1)))"
            " (LOOP (CIRCLE (POINT " +
            at + ") (RAD " + std::to_string(r) + "))))");
        run("(CUT (NAME \"" + name + "\") (TYP \"EXTRUDE\") (USED \"" + name +
            "S\") (PARAM 10 1 0))");
    }

    // A FEATPATTERN of `base` (at x, y on the top face) with the instance points given as
    // "(POINT ..) ..." on the placement `on` ("(PLANE \"XY\")" or a FACE), plus `extra`.
    static std::string pattern(const std::string& name, const std::string& base, double x, double y,
                               const std::string& points, const std::string& on = "(PLANE \"XY\")",
                               const std::string& extra = "") {
        return "(FEATPATTERN (NAME \"" + name + "\") (FPBASEFEAT (NAME \"" + base +
               "\") (POINT3D " + std::to_string(x) + " " + std::to_string(y) +
               " 10)) (FPSKETCH (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 10 1) (SKETCHON " + on +
               ") (FPSKETCHPOINTS " + points + ")" + extra + "))";
    }

    // Whether the part's ITEMS hold a node of that NAME (the rollback's copies).
    bool hasItem(const std::string& name) {
        return findFeatureByName(m3dFeatCollectionC(partNode_.findChild("ITEMS")),
                                 mzComStringC(name.c_str()))
            .isValid();
    }
};

TEST_F(PatternHandler, GridWithARepeatedPointSkipsItsGap) {
    hole("H", 20, 15, 4);
    // (80, 15) listed twice: five distinct instances of six, the gap at (50, 15).
    EXPECT_EQ(run(pattern("Grid", "H", 20, 15,
                          "(POINT 80 15) (POINT 80 15) (POINT 20 45) (POINT 50 45) (POINT 80 45)")),
              1);
    EXPECT_EQ(countFeatures("LPattern"), 1);
    EXPECT_NEAR(volume(), 60000 - 5 * pi * 16 * 10, 1e-6);
    EXPECT_EQ(kit().journal().count("ILinearPatternData::SetSkippedArray"), 0u);
}

TEST_F(PatternHandler, SkipListNotTakenIsRetriedAsASafeArray) {
    hole("H", 20, 15, 4);
    kit().plan().scriptValue("ILinearPatternData::GetSkippedCount", _variant_t(0L), 1);
    EXPECT_EQ(run(pattern("Grid", "H", 20, 15,
                          "(POINT 80 15) (POINT 20 45) (POINT 50 45) (POINT 80 45)")),
              1);
    EXPECT_EQ(kit().journal().count("ILinearPatternData::SetSkippedArray"), 1u);
    EXPECT_EQ(countFeatures("LPattern"), 1);
    EXPECT_NEAR(volume(), 60000 - 5 * pi * 16 * 10, 1e-6);
    EXPECT_FALSE(hasItem("H_1"));
}

TEST_F(PatternHandler, FailedCircularPatternIsTakenBackBeforeTheRollback) {
    hole("H", 70, 30, 3);
    // Eight positions 45 degrees apart about (50, 30), the one at 90 degrees missing; the
    // session does not take the skip list.
    kit().plan().scriptValue("ICircularPatternData::GetSkippedCount", _variant_t(0L));
    std::string points;
    char point[80];
    for (int k : {1, 3, 4, 5, 6, 7}) {
        std::snprintf(point, sizeof point, "(POINT %.17g %.17g) ", 50 + 20 * std::cos(k * pi / 4),
                      30 + 20 * std::sin(k * pi / 4));
        points += point;
    }
    EXPECT_EQ(run(pattern("Ring", "H", 70, 30, points)), 1);
    EXPECT_EQ(kit().journal().count("IModelDoc2::NoteSkipMismatch"), 1u);
    // The pattern, its axis and its sketch are gone, and so are their records.
    EXPECT_EQ(countFeatures("CirPattern"), 0);
    EXPECT_EQ(countFeatures("RefAxis"), 0);
    EXPECT_EQ(countFeatures("ProfileFeature"), 2);
    _bstr_t swName;
    ISketchPtr sketch;
    EXPECT_EQ(part_->findFeatureSwName("Ring", swName), 0);
    EXPECT_EQ(part_->findSketchRecord("Ring", swName, sketch), 0);
    EXPECT_NEAR(volume(), 60000 - pi * 9 * 10, 1e-6);
    // The copies wait in the tree for the item loop.
    EXPECT_TRUE(hasItem("H_1"));
    EXPECT_TRUE(hasItem("H_6"));
    EXPECT_EQ(shownTexts().size(), 1u);
}

TEST_F(PatternHandler, FailureBeforeTheSketchIsClosedLeavesNoSketchOpen) {
    hole("H", 70, 30, 3);
    // An instance point on the rotation centre: nothing can be made.
    EXPECT_EQ(run(pattern("Turn", "H", 70, 30, "(POINT 50 30) (POINT 30 30)", "(PLANE \"XY\")",
                          " (FPSKETCHROTCP 50 30)")),
              1);
    EXPECT_FALSE(modelDocGetEditedSketch(doc()));
    EXPECT_EQ(countFeatures("CirPattern"), 0);
    EXPECT_TRUE(hasItem("H_1"));
    // The next sketch is a sketch of its own.
    hole("K", 20, 20, 2);
    EXPECT_NEAR(volume(), 60000 - pi * 9 * 10 - pi * 4 * 10, 1e-6);
}

TEST_F(PatternHandler, PatternThatCannotBeRolledBackIsNotBuilt) {
    EXPECT_EQ(failureOf(pattern("Lost", "Ghost", 20, 15, "(POINT 50 15)")),
              "Feature pattern \"Lost\" of feature 'Ghost' could not be created or rolled back");
}

TEST_F(PatternHandler, BaseFeatureWithoutPositionIsNoGridFromThePlaneOrigin) {
    hole("H", 20, 15, 4);
    // Read from the plane's origin, these points would make a 3 x 1 row of holes at 20, 30, 40.
    EXPECT_EQ(failureOf("(FEATPATTERN (NAME \"Row\") (FPBASEFEAT (NAME \"H\"))"
                        " (FPSKETCH (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 10 1)"
                        " (SKETCHON (PLANE \"XY\")) (FPSKETCHPOINTS (POINT 10 0) (POINT 20 0))))"),
              "Feature pattern \"Row\" of feature 'H' could not be created or rolled back: the "
              "base feature has no POINT3D");
    EXPECT_EQ(countFeatures("LPattern"), 0);
    EXPECT_NEAR(volume(), 60000 - pi * 16 * 10, 1e-6);
}

TEST_F(PatternHandler, RoundedRingThatFailsRollsBackIntoTurnedCopies) {
    // A 6 x 2 pad cut at (70, 30), square to the radius from (50, 30).
    run("(SKETCH (NAME \"PS\") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 10 1)"
        " (SKETCHON (FACE (POINT3D 70 30 10) (VEC3D 0 0 1)))"
        " (LOOP (LINE (POINT 67 29) (POINT 73 29)) (LINE (POINT 73 29) (POINT 73 31))"
        " (LINE (POINT 73 31) (POINT 67 31)) (LINE (POINT 67 31) (POINT 67 29))))");
    run("(CUT (NAME \"P\") (TYP \"EXTRUDE\") (USED \"PS\") (PARAM 10 1 0))");
    kit().plan().returnNull("IFeatureManager::CreateCircularPattern");
    // Radius 20 about (50, 30) at 60 degree steps, written to four decimals.
    EXPECT_EQ(run(pattern("Ring", "P", 70, 30,
                          "(POINT 60 47.3205) (POINT 40 47.3205) (POINT 30 30)"
                          " (POINT 40 12.6795) (POINT 60 12.6795)")),
              1);
    EXPECT_EQ(countFeatures("CirPattern"), 0);
    // The second copy's sketch is turned by 120 degrees (a moved copy keeps its X row).
    const m3dFeatGenC copy =
        findFeatureByName(m3dFeatCollectionC(partNode_.findChild("ITEMS")), "PS_2");
    ASSERT_TRUE(copy.isValid());
    const matrixC4x4<double> mat = getMatrix(copy);
    EXPECT_NEAR(mat[0], -0.5, 1e-4);
    EXPECT_NEAR(mat[1], std::sqrt(3.0) / 2, 1e-4);
}

TEST_F(PatternHandler, CopiesAreNeverTurnedAboutACentreBeyondTheModelSpace) {
    hole("H", 70, 30, 3);
    // No turn about (1e6, 30) puts the copies anywhere a double can tell.
    EXPECT_EQ(failureOf(pattern("Far", "H", 70, 30, "(POINT 50 30) (POINT 30 30)", "(PLANE \"XY\")",
                                " (FPSKETCHROTCP 1e6 30)")),
              "Feature pattern \"Far\" of feature 'H' could not be created or rolled back: its "
              "copies would turn about (1000000, 30), beyond the model space");
    EXPECT_FALSE(hasItem("H_1"));
    EXPECT_EQ(countFeatures("CirPattern"), 0);
    EXPECT_NEAR(volume(), 60000 - pi * 9 * 10, 1e-6);
}

TEST_F(PatternHandler, OnePatternsPlaneDoesNotCarryOverToTheNext) {
    hole("H", 20, 15, 4);
    EXPECT_EQ(run(pattern("Row1", "H", 20, 15, "(POINT 50 15) (POINT 80 15)")), 1);
    hole("K", 20, 45, 4);
    // A plane that is nowhere: this pattern cannot be sketched and is rolled back.
    EXPECT_EQ(
        run(pattern("Row2", "K", 20, 45, "(POINT 50 45) (POINT 80 45)", "(PLANE \"Elsewhere\")")),
        1);
    EXPECT_EQ(countFeatures("LPattern"), 1);
    EXPECT_TRUE(hasItem("K_1"));
    EXPECT_FALSE(hasItem("H_1"));
}

TEST_F(PatternHandler, CircleInAMirroredSketchFrameSkipsWhereItsPointsSay) {
    hole("H", 70, 30, 3);
    // The pattern sketch frame has its Y (and Z) against the plane's: its points are (x, -y)
    // of the model's. Eight positions 45 degrees apart about (50, 30), 135 degrees missing.
    std::string points;
    char point[80];
    for (int k : {1, 2, 4, 5, 6, 7}) {
        std::snprintf(point, sizeof point, "(POINT %.17g %.17g) ", 50 + 20 * std::cos(k * pi / 4),
                      -(30 + 20 * std::sin(k * pi / 4)));
        points += point;
    }
    const std::string text =
        "(FEATPATTERN (NAME \"Ring\") (FPBASEFEAT (NAME \"H\") (POINT3D 70 30 10))"
        " (FPSKETCH (MAT 1 0 0 0  0 -1 0 0  0 0 -1 0  0 0 10 1) (SKETCHON (PLANE \"XY\"))"
        " (FPSKETCHPOINTS " +
        points + ")))";
    EXPECT_EQ(run(text), 1);
    EXPECT_EQ(countFeatures("CirPattern"), 1);
    EXPECT_NEAR(volume(), 60000 - 7 * pi * 9 * 10, 1e-6);
    const swsim::PartDocumentPtr model = sessionPartOf(doc());
    for (int k = 0; k < 8; ++k) {
        // The wall point towards +X of each hole lies on a face only where the hole is.
        const swsim::Vec3 wall{50 + 20 * std::cos(k * pi / 4) + 3, 30 + 20 * std::sin(k * pi / 4),
                               5};
        EXPECT_EQ(model->findFaceAt(wall, {-1, 0, 0}, 1e-6) != nullptr, k != 3) << "hole " << k;
    }
}

} // namespace
