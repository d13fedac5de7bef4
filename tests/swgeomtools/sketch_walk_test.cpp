// The sketch constraint walk by sketch mode, and the edge search of a feature, against the
// simulated session.
#include "libs/geomcore/swgeomtools/sketch_walk.h"
#include "tests/swgeomtools/sketch_test_support.h"

namespace {

class SketchWalkTest : public SketchToolsTest {
protected:
    // A sketch of one line open on the Front Plane: two points, four free degrees.
    swsim::SketchPtr openLineSketch() {
        const swsim::SketchPtr open = openSketchOn("Front Plane");
        modelDocCreateLine(doc, 0, 0, 0, 4, 0, 0);
        f.kit().reset();
        return open;
    }
    // A closed triangle: three points, three segments.
    swsim::SketchPtr openTriangleSketch() {
        const swsim::SketchPtr open = openSketchOn("Front Plane");
        modelDocCreateLine(doc, 0, 0, 0, 4, 0, 0);
        modelDocCreateLine(doc, 4, 0, 0, 4, 3, 0);
        modelDocCreateLine(doc, 4, 3, 0, 0, 0, 0);
        f.kit().reset();
        return open;
    }
    std::size_t calls(const char* key) const { return f.kit().journal().count(key); }
};

TEST_F(SketchWalkTest, UnknownModesOnlyPrepare) {
    openLineSketch();
    for (int mode : {3, -1}) {
        f.kit().reset();
        walkSketchSegments("Sketch1", doc, mode);
        EXPECT_EQ(f.kit().journal().order(),
                  (std::vector<std::string>{"IModelDoc2::BeforeSketchWalk",
                                            "IModelDoc2::GetEditedSketch"}));
    }
}

TEST_F(SketchWalkTest, NoOpenSketchEndsTheWalk) {
    walkSketchSegments("Sketch1", doc, 2);
    EXPECT_EQ(calls("ISketch::GetStatus"), 0u);
}

TEST_F(SketchWalkTest, ModeZeroChecksAnUnderConstrainedSketch) {
    openLineSketch();
    walkSketchSegments("Sketch1", doc, 0);
    EXPECT_EQ(calls("ISketch::CheckStatus"), 1u);
    EXPECT_EQ(calls("ISketch::ConstrainAll"), 0u);
    f.kit().reset();
    f.kit().plan().scriptValue("ISketch::GetStatus", _variant_t(3L));
    walkSketchSegments("Sketch1", doc, 0);
    EXPECT_EQ(calls("ISketch::CheckStatus"), 0u);
}

TEST_F(SketchWalkTest, ModeTwoFixesPointsUntilFullyConstrained) {
    const swsim::SketchPtr open = openLineSketch();
    walkSketchSegments("Sketch1", doc, 2);
    // Two points fix the line; the segment list is not even asked for.
    EXPECT_EQ(open->constraints(17).size(), 2u);
    EXPECT_EQ(calls("ISketch::GetSegments"), 0u);
    EXPECT_EQ(open->status(), 3);
    ASSERT_EQ(calls("IConstraintManager::AddConstraint"), 2u);
    for (const journalEntryS& add : f.kit().journal().calls("IConstraintManager::AddConstraint"))
        EXPECT_EQ(add.args, (std::vector<std::string>{"[object]", "17"}));
}

TEST_F(SketchWalkTest, ModeTwoStopsAtFullyConstrainedAndSkipsSegments) {
    const swsim::SketchPtr open = openTriangleSketch();
    // Start 2; point 1: before 2, after 2; point 2: before 2, after 3; point 3: before 3.
    f.kit().plan().scriptSequence("ISketch::GetStatus",
                                  {_variant_t(2L), _variant_t(2L), _variant_t(2L), _variant_t(2L),
                                   _variant_t(3L), _variant_t(3L), _variant_t(3L)});
    walkSketchSegments("Sketch1", doc, 2);
    EXPECT_EQ(calls("IConstraintManager::AddConstraint"), 2u);
    EXPECT_EQ(calls("ISketch::GetSegments"), 0u);
}

TEST_F(SketchWalkTest, ModeTwoTakesBackAnOverConstrainingFix) {
    const swsim::SketchPtr open = openLineSketch();
    // Start 2; point 1: before 2, after 4 (taken back); point 2: before 2, after 2; then
    // the segments: before 2, after 3.
    f.kit().plan().scriptSequence("ISketch::GetStatus",
                                  {_variant_t(2L), _variant_t(2L), _variant_t(4L), _variant_t(2L),
                                   _variant_t(2L), _variant_t(2L), _variant_t(2L), _variant_t(3L)});
    walkSketchSegments("Sketch1", doc, 2);
    EXPECT_EQ(calls("IConstraintManager::AddConstraint"), 3u);
    EXPECT_EQ(calls("IConstraintManager::RemoveConstraint"), 1u);
    // Point 2 and the segment stay fixed.
    EXPECT_EQ(open->constraints(17).size(), 2u);
}

TEST_F(SketchWalkTest, ModeOneConstrainsAndTakesBackWhenOverConstrained) {
    const swsim::SketchPtr open = openTriangleSketch();
    f.kit().plan().scriptSequence("ISketch::GetStatus", {_variant_t(2L), _variant_t(4L)});
    walkSketchSegments("Sketch1", doc, 1);
    EXPECT_EQ(f.kit().journal().calls("ISketch::ConstrainAll").at(0).args,
              (std::vector<std::string>{"1", "1", "-1", "1", "-1"}));
    const auto lists = f.kit().journal().calls("IConstraintManager::GetConstraints");
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].args, std::vector<std::string>{"2"});
    // Every constraint the constraining call added is taken back.
    EXPECT_GE(calls("IConstraintManager::RemoveConstraint"), 2u);
    EXPECT_TRUE(open->constraints(2).empty());
}

TEST_F(SketchWalkTest, ModeOneKeepsConstraintsWhenFullyConstrained) {
    const swsim::SketchPtr open = openTriangleSketch();
    f.kit().plan().scriptSequence("ISketch::GetStatus", {_variant_t(2L), _variant_t(3L)});
    walkSketchSegments("Sketch1", doc, 1);
    EXPECT_EQ(calls("IConstraintManager::RemoveConstraint"), 0u);
    EXPECT_FALSE(open->constraints(2).empty());
}

TEST_F(SketchWalkTest, FailingCallsLeaveTheWalk) {
    openLineSketch();
    f.kit().plan().failWith("IConstraintManager::AddConstraint", E_FAIL, 2);
    EXPECT_THROW(walkSketchSegments("Sketch1", doc, 2), _com_error);
    EXPECT_EQ(f.model().activeSketch()->constraints(17).size(), 1u);
}

class FeatureEdgeTest : public SketchToolsTest {
protected:
    void SetUp() override {
        SketchToolsTest::SetUp();
        const std::string name = f.block(4, 3, 2);
        feature = IFeaturePtr(partDocFeatureByName(IPartDocPtr(doc), name.c_str()));
        ASSERT_TRUE(feature);
        f.kit().reset();
    }
    IFeaturePtr feature;
};

TEST_F(FeatureEdgeTest, FindsTheEdgeWithinTolerance) {
    const double on[3] = {4, 0, 1};
    IEntityPtr entity = getFeatureEdgeFromPoint(feature, on);
    ASSERT_TRUE(entity);
    IEdgePtr edge(entity);
    ASSERT_TRUE(edge);
    const std::vector<double> c = readDoubleArray(edgeGetClosestPoint(edge, 4, 0, 1), 3);
    EXPECT_NEAR(c[0], 4, 1e-12);
    EXPECT_NEAR(c[1], 0, 1e-12);
    const double near[3] = {4 + 5e-7, 0, 1};
    EXPECT_TRUE(getFeatureEdgeFromPoint(feature, near));
    const double off[3] = {4 + 1e-6, 0, 1};
    EXPECT_FALSE(getFeatureEdgeFromPoint(feature, off));
}

TEST_F(FeatureEdgeTest, FailuresWhileSearching) {
    const double on[3] = {4, 0, 1};
    // One edge that cannot be examined is skipped.
    f.kit().plan().failWith("IEdge::GetClosestPoint", E_FAIL, 1);
    EXPECT_TRUE(getFeatureEdgeFromPoint(feature, on));
    // An edge list that cannot be read ends the search.
    f.kit().reset();
    f.kit().plan().failWith("IFace2::GetEdges", E_FAIL, 1);
    EXPECT_FALSE(getFeatureEdgeFromPoint(feature, on));
    // A face list that is no object array: nothing.
    f.kit().reset();
    f.kit().plan().malformArray("IFeature::GetFaces", malformedArrayE::wrongElementType);
    EXPECT_FALSE(getFeatureEdgeFromPoint(feature, on));
    // A failing face list reaches the caller.
    f.kit().reset();
    f.kit().plan().failWith("IFeature::GetFaces", E_FAIL);
    EXPECT_THROW(getFeatureEdgeFromPoint(feature, on), _com_error);
}

} // namespace
