// Pattern geometry detection on FEATPATTERN nodes: circles and grids recognised with their
// parameters and instance indices (incomplete ones included), everything else refused.
#include "tests/buildroad/buildroad_fixture.h"

#include "libs/geomcore/buildsw3d/pattern_detection.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <sstream>
#include <utility>

namespace {

using PatternDetection = buildRoadTest;
using indexList = std::vector<std::int32_t>;
using point = std::pair<double, double>;

// A pattern whose base feature sits at (bx, by) in a pattern sketch on the XY plane (the sketch
// MAT given as text), with the listed instance points.
metaObjectC pattern(const point& base, const std::vector<point>& instances,
                    const char* mat = "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1", double baseZ = 0.0) {
    std::ostringstream text;
    text.precision(17);
    text << "(FEATPATTERN (NAME \"P\") (FPBASEFEAT (NAME \"H\") (POINT3D " << base.first << " "
         << base.second << " " << baseZ << ")) (FPSKETCH (MAT " << mat << ") (FPSKETCHPOINTS";
    for (const auto& [x, y] : instances)
        text << " (POINT " << x << " " << y << ")";
    text << ")))";
    metaObjectC view;
    EXPECT_TRUE(view.ctorFromText(mzComStringC(text.str().c_str()))) << text.str();
    return view;
}

// Points on a circle of radius 20 about (5, -3) at the given angles in degrees.
std::vector<point> onCircle(const std::vector<double>& degrees) {
    std::vector<point> out;
    for (const double d : degrees) {
        const double a = d * std::numbers::pi / 180.0;
        out.emplace_back(5.0 + 20.0 * std::cos(a), -3.0 + 20.0 * std::sin(a));
    }
    return out;
}

// A base point plus instances, all on the circle above; the first angle is the base.
metaObjectC circlePattern(const std::vector<double>& degrees) {
    std::vector<point> all = onCircle(degrees);
    const point base = all.front();
    all.erase(all.begin());
    return pattern(base, all);
}

indexList indicesOf(const featPatternGeomDetectionBaseC& detector) {
    indexList list{99};
    EXPECT_EQ(detector.instanceIndices(list), 1);
    return list;
}

TEST_F(PatternDetection, CirclesGiveStepSenseAndIndices) {
    {
        const metaObjectC node = circlePattern({0, 90, 180});
        featPatternGeomCircleC circle(m3dFeatPatternC(node.getTreePtr()), 1);
        ASSERT_EQ(circle.detect(), 1);
        EXPECT_NEAR(circle.angleStep, 90.0, 1e-9);
        EXPECT_EQ(circle.sense, 1); // 90 divides 360: both senses tie, counter-clockwise wins
        EXPECT_NEAR(circle.centre.x, 5.0, 1e-9);
        EXPECT_NEAR(circle.centre.y, -3.0, 1e-9);
        EXPECT_NEAR(circle.radius, 20.0, 1e-9);
        EXPECT_EQ(indicesOf(circle), (indexList{0, 1, 2}));
        EXPECT_EQ(circle.isComplete(), 1);
        EXPECT_EQ(circle.instanceCount(), 3);
    }
    {
        const metaObjectC node = circlePattern({0, -50, -100});
        featPatternGeomCircleC circle(m3dFeatPatternC(node.getTreePtr()), 1);
        ASSERT_EQ(circle.detect(), 1);
        EXPECT_NEAR(circle.angleStep, 50.0, 1e-6); // clockwise 50 beats counter-clockwise 10
        EXPECT_EQ(circle.sense, 0);
        EXPECT_EQ(indicesOf(circle), (indexList{0, 1, 2}));
    }
    {
        const metaObjectC node = circlePattern({0, 30, 90});
        featPatternGeomCircleC circle(m3dFeatPatternC(node.getTreePtr()), 1);
        ASSERT_EQ(circle.detect(), 1);
        EXPECT_NEAR(circle.angleStep, 30.0, 1e-6);
        const indexList list = indicesOf(circle);
        EXPECT_EQ(list, (indexList{0, 1, 3}));
        EXPECT_EQ(circle.isComplete(list), 0);
        EXPECT_EQ(circle.instanceCount(), 4);
    }
}

// Eight positions at 45 degrees fit no grid: the linear detector, asked first, refuses and the
// circle takes them, with the missing sixth position skipped.
TEST_F(PatternDetection, EightOnACircleWithOneMissingIsCircularNotLinear) {
    const metaObjectC node = circlePattern({0, 45, 90, 135, 180, 270, 315});
    const m3dFeatPatternC view(node.getTreePtr());
    featPatternGeomLinearC linear(view, 1);
    EXPECT_EQ(linear.detect(), 0);
    featPatternGeomCircleC circle(view, 1);
    ASSERT_EQ(circle.detect(), 1);
    EXPECT_NEAR(circle.angleStep, 45.0, 1e-6);
    EXPECT_EQ(indicesOf(circle), (indexList{0, 1, 2, 3, 4, 6, 7}));
    EXPECT_EQ(circle.instanceCount(), 8);
    EXPECT_EQ(circle.isComplete(), 0);
}

TEST_F(PatternDetection, CircleRefusesTinyStepsTooFewPointsAndStrayPoints) {
    std::vector<double> fine;
    for (int i = 0; i < 60; ++i)
        fine.push_back(0.2 * i);
    const metaObjectC tiny = circlePattern(fine);
    EXPECT_EQ(featPatternGeomCircleC(m3dFeatPatternC(tiny.getTreePtr()), 1).detect(), 0);

    // The smallest step taken is the tolerance itself: 720 positions half a degree apart,
    // whose angles come out of sines and cosines a few ulps off.
    std::vector<double> half;
    for (int i = 0; i < 720; ++i)
        half.push_back(0.5 * i);
    const metaObjectC ring = circlePattern(half);
    featPatternGeomCircleC halfDegree(m3dFeatPatternC(ring.getTreePtr()), 1);
    ASSERT_EQ(halfDegree.detect(), 1);
    EXPECT_NEAR(halfDegree.angleStep, 0.5, 1e-9);
    EXPECT_EQ(halfDegree.instanceCount(), 720);

    const metaObjectC two = circlePattern({0, 90});
    EXPECT_EQ(featPatternGeomCircleC(m3dFeatPatternC(two.getTreePtr()), 1).detect(), 0);

    const metaObjectC stray = pattern({25, -3}, {{5, 17}, {-15, -3}, {5, -20}});
    featPatternGeomCircleC off(m3dFeatPatternC(stray.getTreePtr()), 1);
    EXPECT_EQ(off.detect(), 0);
    EXPECT_EQ(off.valid, 0);
    indexList list{7};
    EXPECT_EQ(off.instanceIndices(list), 0);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(off.instanceCount(), 0);
}

TEST_F(PatternDetection, OneRowFromTheBasePoint) {
    const metaObjectC node = pattern({0, 0}, {{30, 0}, {10, 0}, {20, 0}});
    featPatternGeomLinearC linear(m3dFeatPatternC(node.getTreePtr()), 1);
    ASSERT_EQ(linear.detect(), 1);
    EXPECT_NEAR(linear.dir1.x, 1.0, 1e-12);
    EXPECT_NEAR(linear.dir1.y, 0.0, 1e-12);
    EXPECT_NEAR(linear.dir2.x, 0.0, 1e-12); // square to the row
    EXPECT_NEAR(linear.dir2.y, 1.0, 1e-12);
    EXPECT_NEAR(linear.spacing1, 10.0, 1e-9);
    EXPECT_EQ(linear.spacing2, 0.0);
    EXPECT_EQ(linear.count1, 4);
    EXPECT_EQ(linear.count2, 1);
    EXPECT_EQ(indicesOf(linear), (indexList{0, 1, 2, 3}));
    EXPECT_EQ(linear.isComplete(), 1);
}

TEST_F(PatternDetection, GridsWithGaps) {
    // 3 x 2 at spacing 10 x 7 from the corner (0, 0); the second instance (10, 0) is missing.
    const metaObjectC gap = pattern({0, 0}, {{20, 0}, {0, 7}, {10, 7}, {20, 7}});
    featPatternGeomLinearC linear(m3dFeatPatternC(gap.getTreePtr()), 1);
    ASSERT_EQ(linear.detect(), 1);
    EXPECT_EQ(linear.count1, 3);
    EXPECT_EQ(linear.count2, 2);
    EXPECT_NEAR(linear.spacing1, 10.0, 1e-9);
    EXPECT_NEAR(linear.spacing2, 7.0, 1e-9);
    EXPECT_EQ(indicesOf(linear), (indexList{0, 2, 3, 4, 5}));
    EXPECT_EQ(linear.isComplete(), 0);

    // The last instance missing: the indices run without a hole.
    const metaObjectC last = pattern({0, 0}, {{10, 0}, {20, 0}, {0, 7}, {10, 7}});
    featPatternGeomLinearC shorter(m3dFeatPatternC(last.getTreePtr()), 1);
    ASSERT_EQ(shorter.detect(), 1);
    EXPECT_EQ(shorter.count1 * shorter.count2, 6);
    EXPECT_EQ(indicesOf(shorter), (indexList{0, 1, 2, 3, 4}));
    EXPECT_EQ(shorter.isComplete(), 1);

    // A skew grid going down and left from its corner: directions 180 and 270 degrees.
    const metaObjectC skew = pattern({0, 0}, {{-5, 0}, {0, -4}, {-5, -4}});
    featPatternGeomLinearC down(m3dFeatPatternC(skew.getTreePtr()), 1);
    ASSERT_EQ(down.detect(), 1);
    EXPECT_EQ(down.count1 * down.count2, 4);
    EXPECT_EQ(indicesOf(down), (indexList{0, 1, 2, 3}));
}

TEST_F(PatternDetection, LinearRefusals) {
    // The base point in the middle of its row.
    const metaObjectC middle = pattern({10, 0}, {{0, 0}, {20, 0}});
    EXPECT_EQ(featPatternGeomLinearC(m3dFeatPatternC(middle.getTreePtr()), 1).detect(), 0);
    // Two points 10 apart and one 0.001 further: a tiny step, a grid mostly empty.
    const metaObjectC tiny = pattern({0, 0}, {{10, 0}, {10.001, 0}});
    EXPECT_EQ(featPatternGeomLinearC(m3dFeatPatternC(tiny.getTreePtr()), 1).detect(), 0);
    // Without a base point there is nothing to measure from.
    const metaObjectC plain = pattern({0, 0}, {{10, 0}, {20, 0}});
    EXPECT_EQ(featPatternGeomLinearC(m3dFeatPatternC(plain.getTreePtr()), 0).detect(), 0);
}

TEST_F(PatternDetection, PointsThatAreNoNumbersMakeNoGrid) {
    const metaObjectC node = pattern({0, 0}, {{10, 0}, {20, 0}});
    featPatternGeomLinearC linear(m3dFeatPatternC(node.getTreePtr()), 1);
    linear.points.push_back({std::numeric_limits<double>::quiet_NaN(), 5.0});
    EXPECT_EQ(linear.detect(), 0);
    EXPECT_EQ(linear.valid, 0);
}

TEST_F(PatternDetection, BaseFeatureWithoutPositionIsRefusedByBoth) {
    // From the plane's origin these are a complete 2 x 2 grid and a ring of four.
    metaObjectC node;
    ASSERT_TRUE(node.ctorFromText("(FEATPATTERN (NAME \"P\") (FPBASEFEAT (NAME \"H\"))"
                                  " (FPSKETCH (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1)"
                                  " (FPSKETCHPOINTS (POINT 20 20) (POINT 40 0) (POINT 20 -20))))"));
    const m3dFeatPatternC view(node.getTreePtr());
    EXPECT_EQ(featPatternGeomLinearC(view, 1).detect(), 0);
    EXPECT_EQ(featPatternGeomCircleC(view, 1).detect(), 0);
}

TEST_F(PatternDetection, RingsOnASkewedGridAreCirclesASquareIsAGrid) {
    struct caseS {
        std::vector<double> degrees;
        patternReadingE reading;
        indexList circleIndices;
    } cases[] = {
        {{0, 120, 240}, patternReadingE::circular, {0, 1, 2}},
        // Six at 60 degrees with the third missing: six positions, the grid needs nine.
        {{0, 60, 180, 240, 300}, patternReadingE::circular, {0, 1, 3, 4, 5}},
        // Four at 90 degrees are a complete 2 x 2 grid as well: the tie keeps the grid.
        {{0, 90, 180, 270}, patternReadingE::linear, {0, 1, 2, 3}},
        // Three corners of a skewed 2 x 2 grid lie three quarter turns round a circle: no
        // whole ring, so the grid stays although the arc has fewer positions.
        {{0, 90, 180}, patternReadingE::linear, {0, 1, 2}},
    };
    for (const caseS& c : cases) {
        const metaObjectC node = circlePattern(c.degrees);
        const m3dFeatPatternC view(node.getTreePtr());
        featPatternGeomLinearC linear(view, 1);
        featPatternGeomCircleC circle(view, 1);
        EXPECT_EQ(choosePatternReading(linear, circle), c.reading) << c.degrees.size();
        EXPECT_EQ(linear.valid, 1);
        EXPECT_EQ(indicesOf(circle), c.circleIndices);
    }
}

TEST_F(PatternDetection, CircleWhoseCentreLiesBeyondTheModelSpaceIsRefused) {
    // Three points a degree apart on a circle of radius 6e5 about (6e5, 0) of the plane.
    std::vector<point> arc;
    for (const double d : {180.0, 179.0, 178.0}) {
        const double a = d * std::numbers::pi / 180.0;
        arc.emplace_back(6e5 + 6e5 * std::cos(a), 6e5 * std::sin(a));
    }
    const metaObjectC far = pattern(arc.front(), {arc[1], arc[2]});
    featPatternGeomCircleC beyond(m3dFeatPatternC(far.getTreePtr()), 1);
    EXPECT_EQ(beyond.detect(), 0);
    // The same plane placed 2e5 towards -X: the centre lies at 4e5 in the model.
    const metaObjectC moved = pattern({arc.front().first - 2e5, arc.front().second},
                                      {arc[1], arc[2]}, "1 0 0 0 0 1 0 0 0 0 1 0 -2e5 0 0 1");
    featPatternGeomCircleC within(m3dFeatPatternC(moved.getTreePtr()), 1);
    ASSERT_EQ(within.detect(), 1);
    EXPECT_NEAR(within.angleStep, 1.0, 1e-6);
    EXPECT_NEAR(within.centre.x, 6e5, 1e-3);
}

// The only listed instance is the base position itself: no instance besides the base point is
// left, and the detector refuses at once instead of reading directions from an empty list.
TEST_F(PatternDetection, BasePointAloneIsNoPattern) {
    const metaObjectC node = pattern({4, 2}, {{4, 2}, {4.0000001, 2}});
    featPatternGeomLinearC linear(m3dFeatPatternC(node.getTreePtr()), 1);
    EXPECT_EQ(linear.points.size(), 1u);
    EXPECT_EQ(linear.detect(), 0);
    EXPECT_EQ(linear.valid, 0);
    indexList list;
    EXPECT_EQ(linear.instanceIndices(list), 0);
}

// The base position comes from the model into the pattern sketch plane through the inverse
// of the sketch's MAT; a listed point equal to it is not listed twice.
TEST_F(PatternDetection, BasePositionIsReadInThePatternSketchPlane) {
    // Sketch plane: x along model +Y, y along model -X, origin (100, 50, 10).
    const metaObjectC node =
        pattern({90, 53}, {{3, 10}, {13, 10}}, "0 1 0 0  -1 0 0 0  0 0 1 0  100 50 10 1", 10.0);
    featPatternGeomLinearC linear(m3dFeatPatternC(node.getTreePtr()), 1);
    ASSERT_EQ(linear.points.size(), 2u);
    EXPECT_NEAR(linear.points[0].x, 3.0, 1e-12);
    EXPECT_NEAR(linear.points[0].y, 10.0, 1e-12);
    ASSERT_EQ(linear.detect(), 1);
    EXPECT_EQ(linear.count1, 2);

    // Without a base point, listed points at the sketch origin are dropped.
    const metaObjectC origin = pattern({0, 0}, {{0, 0}, {5, 5}});
    featPatternGeomLinearC plain(m3dFeatPatternC(origin.getTreePtr()), 0);
    EXPECT_EQ(plain.points.size(), 1u);
}

TEST_F(PatternDetection, RealGcdAndItsHelpers) {
    const double angles[] = {0.0, -1.0, 260.0, 310.0};
    EXPECT_NEAR(realGcd(angles, 4), 10.0, 1e-6);
    const double none[] = {0.0, 1e-9};
    EXPECT_EQ(realGcd(none, 2), 0.0);
    EXPECT_EQ(tolerantRemainder(30.0000001, 10.0), 0.0);
    EXPECT_NEAR(tolerantRemainder(7.5, 2.0), 1.5, 1e-6);

    // Values without a common step, and values that are no numbers, end in a bounded number
    // of steps with a step too small for either detector.
    const double irrational[] = {1.0, std::numbers::sqrt2};
    EXPECT_LT(realGcd(irrational, 2), 1e-4);
    const double odd[] = {1.0, std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN(), 1e300};
    EXPECT_TRUE(std::isfinite(realGcd(odd, 4)));

    double values[] = {5, 3, 9, 1, 8, 2, 7, 0, 6, 4, 19, 11, 15, 13, 17, 10, 18, 12, 16, 14, 3};
    shellSort(values, 21);
    for (int i = 1; i < 21; ++i)
        EXPECT_LE(values[i - 1], values[i]);
}

TEST_F(PatternDetection, ManyCloseInstancesOnACircleAreNoGrid) {
    // 360 instances one degree apart: their tiny common step along any direction would need
    // more grid positions than an integer holds; the grid is refused and the circle found.
    std::vector<point> instances;
    for (int k = 1; k < 360; ++k) {
        const double a = k * std::numbers::pi / 180.0;
        instances.emplace_back(200.0 * std::cos(a), 200.0 * std::sin(a));
    }
    const metaObjectC view = pattern({200.0, 0.0}, instances);
    const m3dFeatPatternC p(view.getTreePtr());
    featPatternGeomLinearC linear(p, 1);
    EXPECT_EQ(linear.detect(), 0);
    featPatternGeomCircleC circle(p, 1);
    ASSERT_EQ(circle.detect(), 1);
    EXPECT_NEAR(circle.angleStep, 1.0, 1e-9);
    EXPECT_EQ(circle.instanceCount(), 360);
}

} // namespace
