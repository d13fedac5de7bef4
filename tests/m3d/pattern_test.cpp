// Feature patterns: coplanarity of the pattern sketch and the expansion into named copies.

#include "metamodel/core/valueviews.h"
#include "metamodel/m3d/document.h"
#include "metamodel/m3d/pattern.h"
#include "metamodel/m3d/viewhelpers.h"
#include "tests/m3d/m3d_fixture.h"

#include <cstdio>

namespace {

using V3 = vectorC3d<double>;

class M3dPattern : public M3dTest {
protected:
    // A cut H1 from sketch S1 on z = 5, patterned by PAT whose sketch is turned by 90
    // degrees about z (its X axis is the model's Y axis).
    static std::string partText(const char* patternMat, const char* extraItems = "") {
        return std::string(R"((PART (NAME "P") (ITEMS
            (SKETCH (NAME "S1") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 5 1) (SKETCHON (PLANE "XY"))
                (LOOP (CIRCLE (POINT 10 0) (RAD 2))))
            (CUT (NAME "H1") (TYP "EXTRUDE") (USED "S1") (PARAM 5 0 1)))") +
               extraItems + R"(
            (FEATPATTERN (NAME "PAT") (FPBASEFEAT (NAME "H1") (POINT3D 10 0 5))
                (FPSKETCH (MAT )" +
               patternMat + R"() (SKETCHON (PLANE "XY"))
                    (FPSKETCHPOINTS (POINT 0 -10) (POINT 10 -10) (POINT 0 -20.5))))
            (BASE (NAME "After")))))";
    }
    static constexpr const char* turned = "0 1 0 0  -1 0 0 0  0 0 1 0  0 0 5 1";

    static m3dFeatPatternC patternOf(const m3dPartC& part) {
        return m3dFeatPatternC(findFeatureByName(part.getItems(), "PAT").getTreePtr());
    }
    static std::vector<std::string> itemNames(const m3dPartC& part) {
        std::vector<std::string> names;
        const m3dFeatCollectionC items = part.getItems();
        for (int i = 0; i < items.count(); ++i)
            names.push_back(getName(metaObjectC(items.getAt(i))).toUtf8());
        return names;
    }
};

TEST_F(M3dPattern, SketchCoplanarWithBaseSketch) {
    metaObjectC tree = parse(partText(turned));
    EXPECT_TRUE(patternOf(m3dPartC(tree.getTreePtr())).isSketchCoplanar());

    // Parallel but 1e-6 above the base sketch's plane.
    metaObjectC above = parse(partText("1 0 0 0 0 1 0 0 0 0 1 0 3 4 5.000001 1"));
    EXPECT_FALSE(patternOf(m3dPartC(above.getTreePtr())).isSketchCoplanar());
    // Opposite normal through the same plane: still parallel and coplanar.
    metaObjectC flipped = parse(partText("1 0 0 0 0 -1 0 0 0 0 -1 0 7 7 5 1"));
    EXPECT_TRUE(patternOf(m3dPartC(flipped.getTreePtr())).isSketchCoplanar());
    // Through the base origin but tilted.
    metaObjectC tilted = parse(partText("1 0 0 0 0 0 1 0 0 -1 0 0 0 0 5 1"));
    EXPECT_FALSE(patternOf(m3dPartC(tilted.getTreePtr())).isSketchCoplanar());
}

TEST_F(M3dPattern, SketchCoplanarFalseWithoutBaseSketch) {
    metaObjectC tree = parse(partText(turned));
    m3dPartC part(tree.getTreePtr());
    metaObjStrC(part.findFeature("H1").findChild("USED")).set("missing");
    EXPECT_FALSE(patternOf(part).isSketchCoplanar());

    // A sketch as the base feature is its own sketch; a malformed pattern MAT is refused.
    const char* items = R"((ITEMS (SKETCH (NAME "S") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))
        (FEATPATTERN (FPBASEFEAT (NAME "S")) (FPSKETCH (MAT %s)))))";
    char text[400];
    std::snprintf(text, sizeof text, items, "1 0 0 0 0 1 0 0 0 0 1 0 9 9 0 1");
    metaObjectC good = parse(text);
    EXPECT_TRUE(m3dFeatPatternC(good.getChildAt(1)).isSketchCoplanar());
    std::snprintf(text, sizeof text, items, "1 0 0 0 0 1 0 0 0 0 1 0 9 9");
    metaObjectC bad = parse(text);
    EXPECT_FALSE(m3dFeatPatternC(bad.getChildAt(1)).isSketchCoplanar());
}

TEST_F(M3dPattern, RollbackInsertsNamedTranslatedCopiesAfterThePattern) {
    metaObjectC tree = parse(partText(turned));
    m3dPartC part(tree.getTreePtr());
    ASSERT_EQ(patternOf(part).rollback(), 1);
    EXPECT_EQ(itemNames(part), (std::vector<std::string>{"S1", "H1", "PAT", "S1_1", "H1_1", "S1_2",
                                                         "H1_2", "After"}))
        << "the base point makes no copy; the pattern stays";
    // (10, -10) is 10 along the pattern sketch's X axis, the model's Y axis.
    EXPECT_EQ(getMatrix(part.findFeature("S1_1")).row(3), (V3{0, 10, 5}));
    EXPECT_EQ(getMatrix(part.findFeature("S1_2")).row(3), (V3{10.5, 0, 5}));
    EXPECT_EQ(m3dFeatBodyC(part.findFeature("H1_2").getTreePtr()).getUsed(), "S1_2");
    EXPECT_EQ(m3dFeatBodyC(part.findFeature("H1_1").getTreePtr()).getParamVector().getValue(), 5.0);
    // The originals are untouched.
    EXPECT_EQ(getMatrix(part.findFeature("S1")).row(3), (V3{0, 0, 5}));
    EXPECT_EQ(m3dFeatBodyC(part.findFeature("H1").getTreePtr()).getUsed(), "S1");
}

TEST_F(M3dPattern, RollbackPutsSketchesOnFacesFirstAndCopiesARepeatedPointOnce) {
    // H1's sketch on a face: every copy of it comes before the first copy of H1, so that each
    // finds its face on the part as the pattern found it. The point (10, -10) is listed three
    // times (once 1e-7 off): one copy.
    std::string text = partText(turned);
    const std::string onPlane = "(SKETCHON (PLANE \"XY\"))\n                (LOOP";
    ASSERT_NE(text.find(onPlane), std::string::npos);
    text.replace(text.find(onPlane), onPlane.size(),
                 "(SKETCHON (FACE (POINT3D 10 0 5) (VEC3D 0 0 1))) (LOOP");
    const std::string listed = "(POINT 10 -10)";
    text.replace(text.find(listed), listed.size(),
                 "(POINT 10 -10) (POINT 10 -10) (POINT 10.0000001 -10)");
    metaObjectC tree = parse(text);
    m3dPartC part(tree.getTreePtr());
    ASSERT_EQ(expandFeaturePattern(patternOf(part)), 2);
    EXPECT_EQ(itemNames(part), (std::vector<std::string>{"S1", "H1", "PAT", "S1_1", "S1_2", "H1_1",
                                                         "H1_2", "After"}));
    EXPECT_EQ(m3dFeatBodyC(part.findFeature("H1_2").getTreePtr()).getUsed(), "S1_2");
    // The face point moves with its sketch.
    V3 facePoint;
    ASSERT_TRUE(
        m3dSketchC(part.findFeature("S1_2").getTreePtr()).getSketchOn().getFacePoint(facePoint));
    EXPECT_EQ(facePoint, (V3{20.5, 0, 5}));
}

TEST_F(M3dPattern, RollbackAvoidsNamesInUse) {
    metaObjectC tree = parse(partText(turned, R"((BASE (NAME "H1_1")))"));
    m3dPartC part(tree.getTreePtr());
    ASSERT_EQ(expandFeaturePattern(patternOf(part)), 2);
    EXPECT_TRUE(part.findFeature("H1_2").isValid());
    EXPECT_TRUE(part.findFeature("H1_3").isValid());
    EXPECT_EQ(m3dFeatBodyC(part.findFeature("H1_3").getTreePtr()).getUsed(), "S1_3");
    EXPECT_FALSE(part.findFeature("S1_1").isValid());
}

TEST_F(M3dPattern, DrillingCopiesMoveTheirStartAndRenameTheirHistory) {
    metaObjectC tree = parse(R"((PART (ITEMS
        (DRILLING (NAME "D") (STARTPOINT 1 1 0) (DIRECTION 0 0 -1)
            (HISTORY (SKETCH (NAME "DS") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 1 1 0 1))
                     (CUT (NAME "DC") (USED "DS") (TYP "EXTRUDE"))))
        (FEATPATTERN (NAME "PAT") (FPBASEFEAT (NAME "D") (POINT3D 1 1 0))
            (FPSKETCH (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1) (FPSKETCHPOINTS (POINT 4 1)))))))");
    m3dPartC part(tree.getTreePtr());
    ASSERT_EQ(expandFeaturePattern(patternOf(part)), 1);
    m3dFeatDrillingC copy(part.findFeature("D_1").getTreePtr());
    V3 start;
    ASSERT_TRUE(copy.getStartPoint(start));
    EXPECT_EQ(start, (V3{4, 1, 0}));
    EXPECT_EQ(getMatrix(part.findFeature("DS_1")).row(3), (V3{4, 1, 0}));
    EXPECT_EQ(m3dFeatBodyC(part.findFeature("DC_1").getTreePtr()).getUsed(), "DS_1");
}

TEST_F(M3dPattern, RollbackRefusesWithoutBaseFeature) {
    metaObjectC tree = parse(partText(turned));
    m3dPartC part(tree.getTreePtr());
    const std::string before = print(tree.getTreePtr());
    metaObjectC base = patternOf(part).getBaseFeat();
    getIMetaTreeApi()->setString(getIMetaTreeApi()->firstChild(base.findChild("NAME")), "Nothing");
    const std::string renamed = print(tree.getTreePtr());
    EXPECT_EQ(patternOf(part).rollback(), 0);
    EXPECT_EQ(print(tree.getTreePtr()), renamed) << "nothing inserted";
    EXPECT_NE(before, renamed);
    EXPECT_EQ(m3dFeatPatternC().rollback(), 0);
}

TEST_F(M3dPattern, RollbackRefusesWhatTheBuilderRefuses) {
    auto refusedWith = [&](const std::string& from, const std::string& to) {
        std::string text = partText(turned);
        text.replace(text.find(from), from.size(), to);
        metaObjectC tree = parse(text);
        const std::string before = print(tree.getTreePtr());
        EXPECT_EQ(expandFeaturePattern(patternOf(m3dPartC(tree.getTreePtr()))), -1) << to;
        EXPECT_EQ(print(tree.getTreePtr()), before) << "nothing inserted for " << to;
    };
    // A point that is no position is not skipped (nor read as the origin).
    refusedWith("(POINT 10 -10)", "(POINT 10)");
    refusedWith("(POINT 10 -10)", "(POINT 1 2 3)");
    refusedWith("(POINT 10 -10)", "(POINT nan -10)");
    // A base position of NaN would leave every copy at the base.
    refusedWith("(POINT3D 10 0 5)", "(POINT3D nan 0 5)");
    // A copy of a pattern would be rolled back again: of itself, for ever.
    refusedWith("(FPBASEFEAT (NAME \"H1\")", "(FPBASEFEAT (NAME \"PAT\")");
}

TEST_F(M3dPattern, DocumentRewriteExpandsAndRemovesPatterns) {
    metaObjectC tree = parse(partText(turned));
    m3dDocumentC doc(tree.getTreePtr());
    EXPECT_EQ(doc.expandFeaturePatterns(), 1);
    m3dPartC part(tree.getTreePtr());
    EXPECT_EQ(itemNames(part),
              (std::vector<std::string>{"S1", "H1", "S1_1", "H1_1", "S1_2", "H1_2", "After"}));
}

} // namespace
