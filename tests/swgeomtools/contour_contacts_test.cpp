// Where contours meet: the cases the end-to-end sketches do not reach, each with a near miss
// beside it (an arc whose circle would meet a line it stops short of, a circle inside
// another, a tangent the rounding of the quadratic misses).
#include "libs/geomcore/swgeomtools/contour_contacts.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double tolerance = 1e-6;

contourS rectangle(double x0, double y0, double x1, double y1) {
    return {contourLine({x0, y0}, {x1, y0}), contourLine({x1, y0}, {x1, y1}),
            contourLine({x1, y1}, {x0, y1}), contourLine({x0, y1}, {x0, y0})};
}

// A half disc bulging to the right from the chord (x, y - r) to (x, y + r).
contourS halfDisc(double x, double y, double r, double bulge) {
    return {contourArc({x, y - r}, {x + bulge, y}, {x, y + r}),
            contourLine({x, y + r}, {x, y - r})};
}

std::optional<contourContactS> contact(const std::vector<contourS>& contours) {
    return findContourContact(contours, tolerance);
}

TEST(ContourContacts, ArcsMeetOnlyWhereTheyRun) {
    // The arc's circle (radius 5 about (25, 10)) crosses the side x = 28 twice, but the arc
    // runs from (25, 5) through (30, 10) to (25, 15) on the right: it crosses too. Turned to
    // the left (through (20, 10)) it stays clear of x = 28 and of the outline.
    EXPECT_TRUE(contact({rectangle(0, 0, 28, 20), halfDisc(25, 10, 5, 5)}));
    EXPECT_FALSE(contact({rectangle(0, 0, 28, 20), halfDisc(25, 10, 5, -5)}));
    // Touching the side from inside at its outermost point, (30, 10).
    const auto touching = contact({rectangle(0, 0, 30, 20), halfDisc(25, 10, 5, 5)});
    ASSERT_TRUE(touching);
    EXPECT_NEAR(touching->at.x, 30, 1e-9);
    EXPECT_NEAR(touching->at.y, 10, 1e-9);
    EXPECT_FALSE(contact({rectangle(0, 0, 30.00001, 20), halfDisc(25, 10, 5, 5)}));
}

TEST(ContourContacts, CirclesInsideOrBesideOneAnother) {
    // Inside without touching, touching inside at (8, 0), and apart.
    EXPECT_FALSE(contact({{contourCircle({0, 0}, 10)}, {contourCircle({1, 0}, 3)}}));
    const auto inner = contact({{contourCircle({0, 0}, 10)}, {contourCircle({5, 0}, 5)}});
    ASSERT_TRUE(inner);
    EXPECT_NEAR(inner->at.x, 10, 1e-9);
    EXPECT_NEAR(inner->at.y, 0, 1e-6);
    EXPECT_FALSE(contact({{contourCircle({0, 0}, 2)}, {contourCircle({5, 0}, 2)}}));
    // A circle tangent to a slanted line: the discriminant may round below zero.
    const double s = std::sqrt(0.5);
    const auto tangent =
        contact({{contourLine({0, 2 * s * 3}, {2 * s * 3, 0})}, {contourCircle({0, 0}, 3)}});
    ASSERT_TRUE(tangent);
    EXPECT_NEAR(tangent->at.x, 3 * s, 1e-6);
    EXPECT_NEAR(tangent->at.y, 3 * s, 1e-6);
}

TEST(ContourContacts, TheFirstPairInOrderIsNamed) {
    // Contours 1 and 2 keep apart; 0 meets 2, and 1 meets 3: 0 and 2 come first.
    const auto found = contact({rectangle(0, 0, 10, 10), rectangle(20, 0, 30, 10),
                                rectangle(10, 2, 15, 4), rectangle(30, 2, 35, 4)});
    ASSERT_TRUE(found);
    EXPECT_EQ(found->first, 0u);
    EXPECT_EQ(found->second, 2u);
    // Three points on one line make a line, not an arc of a circle beyond reach.
    const contourCurveS flat = contourArc({0, 0}, {1, 0}, {2, 0});
    EXPECT_TRUE(flat.line);
}

} // namespace
