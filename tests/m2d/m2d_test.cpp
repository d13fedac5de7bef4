// 2D helpers: points and point lists, shapes, circle through three points, unit base.

#include "metamodel/core/metaobject.h"
#include "metamodel/m2d/docprefs.h"
#include "metamodel/m2d/point2d.h"
#include "metamodel/m2d/shapes2d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

class M2dTest : public ::testing::Test {
protected:
    void SetUp() override { live_ = getIMetaTreeApi()->liveNodeCount(); }
    void TearDown() override { EXPECT_EQ(getIMetaTreeApi()->liveNodeCount(), live_); }
    static metaObjectC parse(const char* text) {
        metaObjectC v;
        EXPECT_TRUE(v.ctorFromText(text)) << text;
        return v;
    }
    static std::string print(metaTreePtrT n) {
        return getIMetaTreeApi()->print(n, metaPrintStyle::compact);
    }

private:
    std::int64_t live_ = 0;
};

using V = vectorC2d<double>;

TEST_F(M2dTest, PointListCountsAndIndexesOnlyPoints) {
    metaObjectC tree = parse("(PV2ELS (POINT 1 2) (NOTE \"x\") (POINT 3.5 -4) (POINT 1 2 3))");
    metaObjListPoint2dContainerC list(tree.getTreePtr());
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.getPoint2dAt(1), (V{3.5, -4}));
    EXPECT_EQ(list.getPoint2dAt(2), (V{0, 0})) << "three numbers is no 2D point";
    EXPECT_FALSE(list.getPointAt(3).isValid());
    EXPECT_FALSE(getPoint2dAt(list, -1).isValid());
    EXPECT_EQ(getPoint2dAt(list, 1).getTreePtr(), list.getPointAt(1).getTreePtr());
    EXPECT_EQ(list.count(), 3) << "reading out of range creates nothing";
    std::vector<V> points{{9, 9}};
    EXPECT_EQ(collectPoint2dList(list, points), 2) << "the third point is malformed";
    EXPECT_EQ(points, (std::vector<V>{{1, 2}, {3.5, -4}, {0, 0}}));
    EXPECT_TRUE(list.setPointAt(0, {5, 6}));
    EXPECT_FALSE(list.setPointAt(5, {5, 6}));
    EXPECT_EQ(print(tree.getTreePtr()),
              "(PV2ELS (POINT 5.0 6.0) (NOTE \"x\") (POINT 3.5 -4) (POINT 1 2 3))");
}

TEST_F(M2dTest, AppendPointAddsAPointChild) {
    metaObjectC tree = parse("(FPSKETCHPOINTS)");
    mObjPoint2dC p = appendPoint2d(tree, 1.5, -2.0);
    ASSERT_TRUE(p.isValid());
    EXPECT_EQ(p.getParent(), tree.getTreePtr());
    appendPoint2d(tree, 0, 0);
    EXPECT_EQ(print(tree.getTreePtr()), "(FPSKETCHPOINTS (POINT 1.5 -2.0) (POINT 0.0 0.0))");
    metaObjectC none;
    EXPECT_FALSE(appendPoint2d(none, 1, 2).isValid());
}

TEST_F(M2dTest, FirstSecondAndSinglePointsOfShapes) {
    metaObjectC loop = parse("(LOOP (LINE (POINT 0 0) (POINT 10 0)) (ARC (POINT 1 0) "
                             "(POINT 0 1) (POINT -1 0)) (CIRCLE (RAD 2.0) (POINT 4 5)))");
    mBaseShapes2dC shapes(loop.getTreePtr());
    mBaseShape2dC line = shapes.getShapeAt(0);
    EXPECT_EQ(getFirstPoint2d(line), (V{0, 0}));
    EXPECT_EQ(getSecondPoint2d(line), (V{10, 0}));
    EXPECT_EQ(getSecondPoint2d(shapes.getShapeAt(1)), (V{0, 1}));
    EXPECT_EQ(getPoint2d(shapes.getShapeAt(2)), (V{4, 5}));
    EXPECT_TRUE(shapes.getShapeAt(2).hasKey("CIRCLE"));
    EXPECT_FALSE(shapes.getShapeAt(3).isValid());
    EXPECT_EQ(getSecondPoint2d(shapes.getShapeAt(2)), (V{0, 0})) << "missing point reads zero";
}

TEST_F(M2dTest, CircleThroughThreePoints) {
    V centre{-1, -1};
    ASSERT_TRUE(circleThroughThreePoints({1, 0}, {0, 1}, {-1, 0}, centre));
    EXPECT_NEAR(centre.x, 0.0, 1e-12);
    EXPECT_NEAR(centre.y, 0.0, 1e-12);
    ASSERT_TRUE(circleThroughThreePoints({5, 3}, {3, 5}, {1, 3}, centre));
    EXPECT_NEAR(centre.x, 3.0, 1e-12);
    EXPECT_NEAR(centre.y, 3.0, 1e-12);
    // Collinear or coincident points: false, centre untouched.
    centre = {7, 8};
    EXPECT_FALSE(circleThroughThreePoints({0, 0}, {1, 1}, {2, 2}, centre));
    EXPECT_FALSE(circleThroughThreePoints({1, 1}, {1, 1}, {2, 5}, centre));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(circleThroughThreePoints({nan, 0}, {0, 1}, {-1, 0}, centre));
    EXPECT_EQ(centre, (V{7, 8}));
}

TEST_F(M2dTest, RepeatedPointsMergeIntoTheFirst) {
    using points = std::vector<vectorC2d<double>>;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Across a cell boundary (0.1 / 0.1 is 1, the cell of 0.1 - 1e-17 is 0), a chain in which
    // only neighbours are close (the second merges into the first, the third stays: it is
    // close only to a point that went), points off by more than the tolerance in one
    // coordinate, and points that are no numbers, which stay as they are.
    points p = {{0.1, 5}, {0.1 - 1e-17, 5}, {2, 2},   {2.08, 2}, {2.16, 2},
                {3, 3},   {3, 3.11},        {nan, 1}, {nan, 1},  {0.1, 5}};
    mergeRepeatedPoints2d(p, 0.1);
    ASSERT_EQ(p.size(), 7u);
    EXPECT_EQ(p[0].x, 0.1);
    EXPECT_EQ(p[1].x, 2.0);
    EXPECT_EQ(p[2].x, 2.16);
    EXPECT_EQ(p[4].y, 3.11);
    EXPECT_TRUE(std::isnan(p[5].x) && std::isnan(p[6].x));
    // Without a tolerance only equal points merge; huge coordinates need no integer cells.
    points exact = {{1, 1}, {1, 1}, {1, 1 + 1e-15}, {1e300, -1e300}, {1e300, -1e300}};
    mergeRepeatedPoints2d(exact, 0.0);
    EXPECT_EQ(exact.size(), 3u);
    points huge = {{1e300, 1}, {1e300, 1}, {-1e300, 1}};
    mergeRepeatedPoints2d(huge, 1e-6);
    EXPECT_EQ(huge.size(), 2u);
}

TEST_F(M2dTest, UnitBaseIsWrittenOnceAndReadWithoutCreating) {
    metaObjectC doc = parse("(DOCUMENT (CADIDENT \"x\"))");
    mDocumentPrefsC prefs(doc.getTreePtr());
    EXPECT_EQ(prefs.getUnitBase(), 0.0);
    EXPECT_FALSE(prefs.hasChild("UNITBASE"));
    EXPECT_TRUE(prefs.setUnitBase(25.4));
    EXPECT_TRUE(prefs.setUnitBase(1.0));
    EXPECT_EQ(prefs.getUnitBase(), 1.0);
    EXPECT_EQ(print(doc.getTreePtr()), "(DOCUMENT (CADIDENT \"x\") (UNITBASE 1.0))");
    EXPECT_FALSE(mDocumentPrefsC().setUnitBase(2.0));
}

} // namespace
