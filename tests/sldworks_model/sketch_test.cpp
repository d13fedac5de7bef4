#include "tests/sldworks_model/fixtures.h"

namespace swsim {
namespace {

// A model point as a row vector times the transform data: rotation rows 0-2, translation 9-11.
Vec3 applyData(const std::array<double, 16>& d, Vec3 p) {
    return {p.x * d[0] + p.y * d[3] + p.z * d[6] + d[9],
            p.x * d[1] + p.y * d[4] + p.z * d[7] + d[10],
            p.x * d[2] + p.y * d[5] + p.z * d[8] + d[11]};
}

TEST(SwsimSketchTransform, TopPlaneSketchXIsModelXAndYIsMinusZ) {
    auto doc = PartDocument::create();
    auto sketch = doc->openSketch(doc->topPlane());
    ASSERT_TRUE(sketch);
    const auto toSketch = sketch->modelToSketchData();
    EXPECT_EQ(toSketch[12], 1.0);
    EXPECT_EQ(applyData(toSketch, {3, 0, -4}), (Vec3{3, 4, 0}));
    EXPECT_EQ(applyData(toSketch, {0, 7, 0}), (Vec3{0, 0, 7}));
    const auto toModel = sketch->sketchToModelData();
    EXPECT_EQ(applyData(toModel, {3, 4, 0}), (Vec3{3, 0, -4}));
    auto p = sketch->addPoint({3, 4, 0});
    EXPECT_EQ(p->modelPosition(), (Vec3{3, 0, -4}));
}

TEST(SwsimSketchTransform, OffsetPlaneCarriesItsOrigin) {
    auto doc = PartDocument::create();
    auto plane = doc->addOffsetPlane(doc->rightPlane(), 2, false);
    auto sketch = doc->openSketch(plane);
    ASSERT_TRUE(sketch);
    EXPECT_EQ(applyData(sketch->modelToSketchData(), {2, 5, -1}), (Vec3{1, 5, 0}));
    EXPECT_EQ(applyData(sketch->sketchToModelData(), {1, 5, 0}), (Vec3{2, 5, -1}));
}

TEST(SwsimSketchEntities, NamesSharedEndsAndDegenerateInput) {
    auto doc = PartDocument::create();
    auto sketch = doc->openSketch(doc->frontPlane());
    test::addRectangle(*sketch, 0, 0, 4, 3);
    EXPECT_EQ(sketch->points().size(), 4u); // the ends meet
    auto arc = sketch->addArc({10, 0, 0}, {14, 0, 0}, {12, 2, 0});
    ASSERT_TRUE(arc);
    EXPECT_EQ(arc->name(), "Arc1");
    EXPECT_NEAR(arc->radius(), 2.0, 1e-12);
    EXPECT_NEAR(arc->centre()->position().x, 12.0, 1e-12);
    auto circle = sketch->addCircle({20, 0, 0}, 1);
    ASSERT_TRUE(circle);
    EXPECT_EQ(circle->name(), "Arc2");
    auto centreLine = sketch->addCentreLine({0, -1, 0}, {0, 5, 0});
    ASSERT_TRUE(centreLine);
    EXPECT_EQ(centreLine->name(), "Line5");
    EXPECT_TRUE(centreLine->centreLine());
    EXPECT_EQ(sketch->firstCentreLine(), centreLine);
    EXPECT_EQ(sketch->findEntity("Line2"), sketch->segments()[1]);
    EXPECT_EQ(sketch->findEntity("Point1"), sketch->points()[0]);
    EXPECT_EQ(sketch->findEntity("Line9"), nullptr);

    const size_t segments = sketch->segments().size();
    EXPECT_FALSE(sketch->addLine({1, 1, 0}, {1, 1, 0}));
    EXPECT_FALSE(sketch->addArc({0, 0, 0}, {2, 0, 0}, {1, 0, 0}));
    EXPECT_FALSE(sketch->addCircle({0, 0, 0}, 0));
    EXPECT_FALSE(sketch->addCircle({0, 0, 0}, std::nan("")));
    EXPECT_EQ(sketch->segments().size(), segments);
}

TEST(SwsimSketchEntities, ThreeDSketchTakesModelCoordinates) {
    auto doc = PartDocument::create();
    auto path = doc->open3DSketch();
    ASSERT_TRUE(path);
    EXPECT_TRUE(path->is3D());
    EXPECT_EQ(path->addLine({0, 0, 0}, {0, 0, 10})->name(), "Line1");
    auto second = path->addLine({0, 0, 10}, {5, 5, 10});
    ASSERT_TRUE(second);
    EXPECT_EQ(second->start()->modelPosition(), (Vec3{0, 0, 10}));
    EXPECT_EQ(path->points().size(), 3u);
    EXPECT_EQ(path->freeDegrees(), 9);
    EXPECT_FALSE(path->addCircle({0, 0, 0}, 1));
    EXPECT_EQ(path->profileProblem(), "a 3D sketch gives no profile");
    EXPECT_TRUE(doc->closeSketch());
    EXPECT_FALSE(doc->closeSketch());
    ExtrudeSpec request;
    request.depth1 = 1;
    EXPECT_FALSE(doc->addExtrusion(path, request));
}

TEST(SwsimSketchConstraints, DegreesOfFreedomAndStatus) {
    auto doc = PartDocument::create();
    auto sketch = doc->openSketch(doc->frontPlane());
    test::addRectangle(*sketch, 0, 0, 4, 3);
    EXPECT_EQ(sketch->freeDegrees(), 8);
    EXPECT_EQ(sketch->status(), kSketchUnderConstrained);

    for (const auto& p : sketch->points()) {
        EXPECT_EQ(sketch->status(), kSketchUnderConstrained);
        ASSERT_TRUE(sketch->addConstraint(kConstraintFix, {p}));
    }
    EXPECT_EQ(sketch->status(), kSketchFullyConstrained);

    // A constraint that removes nothing over-constrains; removing it repairs the sketch.
    auto extra = sketch->addConstraint(kConstraintFix, {sketch->segments()[0]});
    ASSERT_TRUE(extra);
    EXPECT_EQ(sketch->status(), kSketchOverConstrained);
    EXPECT_TRUE(sketch->removeConstraint(extra));
    EXPECT_FALSE(sketch->removeConstraint(extra));
    EXPECT_EQ(sketch->status(), kSketchFullyConstrained);

    // Entities of another sketch are refused.
    doc->closeSketch();
    auto other = doc->openSketch(doc->topPlane());
    auto p = other->addPoint({1, 1, 0});
    EXPECT_FALSE(sketch->addConstraint(kConstraintFix, {p}));
    EXPECT_FALSE(sketch->addConstraint(kConstraintFix, {}));
}

TEST(SwsimSketchConstraints, ConstrainAllAndScriptedStatuses) {
    auto doc = PartDocument::create();
    auto sketch = doc->openSketch(doc->frontPlane());
    sketch->addCircle({0, 0, 0}, 2);
    sketch->addArc({10, 0, 0}, {14, 0, 0}, {12, 2, 0});
    EXPECT_EQ(sketch->freeDegrees(), 2 + 1 + 4 + 1);
    EXPECT_EQ(sketch->constrainAll(), 2);
    EXPECT_EQ(sketch->constraints(kConstraintAuto).size(), 2u);
    EXPECT_EQ(sketch->constraints(kConstraintFix).size(), 0u);
    EXPECT_EQ(sketch->status(), kSketchFullyConstrained);

    sketch->setScriptedStatuses({2, 4});
    EXPECT_EQ(sketch->status(), 2);
    EXPECT_EQ(sketch->status(), 4);
    EXPECT_EQ(sketch->status(), kSketchFullyConstrained);
}

TEST(SwsimSketchProfile, ProblemsAreNamed) {
    auto doc = PartDocument::create();
    auto sketch = doc->openSketch(doc->frontPlane());
    EXPECT_EQ(sketch->profileProblem(), "the sketch has no closed contour");
    sketch->addLine({0, 0, 0}, {4, 0, 0});
    sketch->addLine({4, 0, 0}, {4, 3, 0});
    EXPECT_NE(sketch->profileProblem().find("open"), std::string::npos);
    sketch->addLine({4, 3, 0}, {0, 0, 0});
    EXPECT_EQ(sketch->profileProblem(), "");
    // A centre line is no profile geometry.
    sketch->addCentreLine({-1, -1, 0}, {-1, 5, 0});
    EXPECT_EQ(sketch->profileProblem(), "");
    // A loop that misses its start by more than the tolerance stays open.
    auto open = doc->open3DSketch();
    EXPECT_FALSE(open);
    doc->closeSketch();
    auto s2 = doc->openSketch(doc->topPlane());
    s2->addLine({0, 0, 0}, {4, 0, 0});
    s2->addLine({4, 0, 0}, {4, 3, 0});
    s2->addLine({4, 3, 0}, {0, 1e-4, 0});
    EXPECT_NE(s2->profileProblem().find("open"), std::string::npos);
}

TEST(SwsimSketchProfile, LoopsThatCrossOrTouchGiveNoProfile) {
    auto doc = PartDocument::create();
    auto crossing = doc->openSketch(doc->frontPlane());
    crossing->addCircle({0, 0, 0}, 10);
    crossing->addCircle({15, 0, 0}, 10);
    EXPECT_EQ(
        crossing->profileProblem().rfind("the loops of Arc1 and Arc2 cross or touch at (7.5", 0),
        0u)
        << crossing->profileProblem();
    ExtrudeSpec spec;
    spec.depth1 = 5;
    EXPECT_FALSE(doc->addExtrusion(crossing, spec)) << "no overlapping bodies of one feature";
    doc->closeSketch();
    // A rectangle standing on another's edge shares a piece of it.
    auto standing = doc->openSketch(doc->topPlane());
    test::addRectangle(*standing, 0, 0, 40, 20);
    test::addRectangle(*standing, 15, 20, 25, 30);
    EXPECT_NE(standing->profileProblem().find("the loops of Line1 and Line5 cross or touch"),
              std::string::npos)
        << standing->profileProblem();
    doc->closeSketch();
    // A hole well inside is no contact.
    auto holed = doc->openSketch(doc->rightPlane());
    test::addRectangle(*holed, 0, 0, 40, 20);
    holed->addCircle({10, 10, 0}, 5);
    EXPECT_EQ(holed->profileProblem(), "");
}

TEST(SwsimSketchEntities, WhatTheSketchOccupiesLiesInTheModelSpace) {
    auto doc = PartDocument::create();
    // On a plane 1 from the bound: sketch coordinates within it can still reach beyond.
    auto plane = doc->addPlaneThroughPoints({499999, 0, 0}, {500000, 0, 0}, {499999, 1, 0});
    ASSERT_TRUE(plane) << doc->lastError();
    auto sketch = doc->openSketch(plane);
    ASSERT_TRUE(sketch);
    EXPECT_TRUE(sketch->addLine({-10, 0, 0}, {1, 0, 0}));
    EXPECT_FALSE(sketch->addLine({0, 0, 0}, {2, 0, 0}));
    EXPECT_FALSE(sketch->addPoint({1.5, 0, 0}));
    // A circle is its extent, not its centre; an arc bulges beyond its points.
    EXPECT_TRUE(sketch->addCircle({-3, 0, 0}, 4));
    EXPECT_FALSE(sketch->addCircle({-3, 0, 0}, 4.5));
    EXPECT_TRUE(sketch->addArc({-1, -1, 0}, {-1, 1, 0}, {0, 0, 0}));
    EXPECT_FALSE(sketch->addArc({-1, -1, 0}, {-1, 1, 0}, {0.9, 0.9, 0})) << "it reaches 1.4";
    // A nearly straight arc's centre may lie far beyond: it is no part of the model. Within
    // a double's resolution of the tolerance, that is.
    auto flat = sketch->addArc({-30, 10, 0}, {-10, 10, 0}, {-20, 10.00001, 0});
    ASSERT_TRUE(flat);
    EXPECT_NEAR(flat->radius(), 5e6, 1);
    EXPECT_FALSE(sketch->addArc({-30, 10, 0}, {-10, 10, 0}, {-20, 10.000001, 0}));
    // A plane's helper points give its directions only; its origin must lie inside.
    EXPECT_TRUE(doc->addPlaneThroughPoints({5e5, 0, 0}, {5e5 + 1, 0, 0}, {5e5, 1, 0}));
    EXPECT_FALSE(doc->addPlaneThroughPoints({5e5 + 1, 0, 0}, {5e5, 0, 0}, {5e5, 1, 0}));
    EXPECT_FALSE(doc->addPlaneThroughPoints({0, 0, 0}, {1e300, 0, 0}, {0, 1, 0}));
}

} // namespace
} // namespace swsim
