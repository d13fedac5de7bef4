#include "platform/sldworks/model/profile.h"
#include "platform/sldworks/model/profile_check.h"
#include "tests/sldworks_model/fixtures.h"

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <ElSLib.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Ax3.hxx>
#include <gp_Circ.hxx>
#include <gp_Pln.hxx>

#include <random>
#include <sstream>

#include <cmath>
#include <numbers>

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

// The quick proof of a profile's validity: loops of lines (and circles) apart from one
// another pass; anything closer than its clearance is left to the full check.
TEST(SwsimSketchProfile, LoopsClearlyApartNeedNoFullCheck) {
    using detail::ProfileCurve;
    // A closed loop of lines through the points, its vertices numbered from `first`.
    auto loop = [](const std::vector<Vec3>& points, int first) {
        std::vector<ProfileCurve> curves;
        for (size_t i = 0; i < points.size(); ++i) {
            ProfileCurve c;
            c.start = points[i];
            c.end = points[(i + 1) % points.size()];
            c.startVertex = first + static_cast<int>(i);
            c.endVertex = first + static_cast<int>((i + 1) % points.size());
            curves.push_back(c);
        }
        return curves;
    };
    auto circle = [](Vec3 centre, double radius) {
        ProfileCurve c;
        c.kind = ProfileCurve::Kind::Circle;
        c.centre = centre;
        c.radius = radius;
        return c;
    };
    auto join = [](std::vector<ProfileCurve> a, const std::vector<ProfileCurve>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    std::vector<Vec3> polygon;
    for (int k = 0; k < 5000; ++k) {
        const double a = 2 * std::numbers::pi * k / 5000;
        polygon.push_back({50 * std::cos(a), 50 * std::sin(a), 0});
    }
    const auto square = loop({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, 0);
    EXPECT_TRUE(detail::clearlySeparate(loop(polygon, 0)));
    EXPECT_TRUE(detail::clearlySeparate(join(square, {circle({5, 5, 0}, 3)})));
    EXPECT_TRUE(detail::clearlySeparate(
        join(square, loop({{1, 1, 0}, {9, 1, 0}, {9, 9, 0}, {1, 9, 0}}, 10))));

    // Crossing, touching or nearly touching curves, sharp folds and short lines are not shown.
    EXPECT_FALSE(
        detail::clearlySeparate(loop({{0, 0, 0}, {10, 10, 0}, {10, 0, 0}, {0, 10, 0}}, 0)));
    EXPECT_FALSE(detail::clearlySeparate(join(square, {circle({5, 5, 0}, 5 - 1e-7)})));
    EXPECT_FALSE(detail::clearlySeparate(join(square, {circle({20, 5, 0}, 10.0000001)})));
    EXPECT_FALSE(detail::clearlySeparate({circle({0, 0, 0}, 2), circle({3, 0, 0}, 1.0000001)}));
    EXPECT_FALSE(detail::clearlySeparate(
        join(square, loop({{1e-7, 1, 0}, {9, 1, 0}, {9, 9, 0}, {1, 9, 0}}, 10))));
    EXPECT_FALSE(detail::clearlySeparate(loop({{0, 0, 0}, {10, 0, 0}, {0, 1e-5, 0}}, 0)));
    EXPECT_FALSE(detail::clearlySeparate(loop({{0, 0, 0}, {10, 0, 0}, {10, 4e-6, 0}}, 0)));
    const double nan = std::nan("");
    EXPECT_FALSE(detail::clearlySeparate(join(square, {circle({5, 5, 0}, nan)})));
}

// Whatever the quick proof leaves to it, the full check still refuses what is not a profile.
TEST(SwsimSketchProfile, CrossingLoopsAreRefused) {
    auto doc = PartDocument::create();
    auto bowTie = doc->openSketch(doc->frontPlane());
    bowTie->addLine({0, 0, 0}, {10, 10, 0});
    bowTie->addLine({10, 10, 0}, {10, 0, 0});
    bowTie->addLine({10, 0, 0}, {0, 10, 0});
    bowTie->addLine({0, 10, 0}, {0, 0, 0});
    EXPECT_EQ(bowTie->profileProblem(),
              "the profile is not a valid face (self-intersecting contour?)");
    doc->closeSketch();
    auto crossing = doc->openSketch(doc->frontPlane());
    test::addRectangle(*crossing, 0, 0, 10, 10);
    test::addRectangle(*crossing, 2, 2, 12, 8);
    EXPECT_NE(crossing->profileProblem(), "");
    doc->closeSketch();
    auto apart = doc->openSketch(doc->frontPlane());
    test::addRectangle(*apart, 0, 0, 10, 10);
    test::addRectangle(*apart, 2, 2, 8, 8);
    apart->addCircle({20, 5, 0}, 2);
    EXPECT_EQ(apart->profileProblem(), "");
}

// The healing of faces whose loops are apart, without its edge-order analysis, gives the
// healing's own shape byte for byte: polygons both ways round, star-shaped and with straight
// runs, alone or with a square and a circle cut out, round circles, on tilted planes.
TEST(SwsimSketchProfile, FacesOfLoopsApartHealAsTheFullHealingHealsThem) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    auto text = [](const TopoDS_Shape& shape) {
        std::ostringstream out;
        BRepTools::Write(shape, out);
        return out.str();
    };
    auto loop = [](const gp_Pln& plane, const std::vector<gp_Pnt2d>& corners) {
        std::vector<TopoDS_Vertex> vertices;
        for (const gp_Pnt2d& c : corners)
            vertices.push_back(BRepBuilderAPI_MakeVertex(ElSLib::Value(c.X(), c.Y(), plane)));
        BRep_Builder builder;
        TopoDS_Wire wire;
        builder.MakeWire(wire);
        for (size_t i = 0; i < vertices.size(); ++i)
            builder.Add(
                wire,
                BRepBuilderAPI_MakeEdge(vertices[i], vertices[(i + 1) % vertices.size()]).Edge());
        wire.Closed(true);
        return wire;
    };
    // A circle's wire, closed as the profile's wire maker leaves it.
    auto circle = [](const gp_Pln& plane, double x, double y, double radius) {
        BRep_Builder builder;
        TopoDS_Wire round;
        builder.MakeWire(round);
        builder.Add(round, BRepBuilderAPI_MakeEdge(
                               gp_Circ(gp_Ax2(ElSLib::Value(x, y, plane), plane.Axis().Direction(),
                                              plane.XAxis().Direction()),
                                       radius))
                               .Edge());
        round.Closed(true);
        return round;
    };
    for (int trial = 0; trial < 60; ++trial) {
        const gp_Pln plane(trial % 2 == 0
                               ? gp_Ax3(gp_Pnt(1, 2, 3), gp_Dir(0.3, -0.2, 1), gp_Dir(1, 0, -0.3))
                               : gp_Ax3(gp::XOY()));
        std::vector<gp_Pnt2d> corners;
        const int count = 3 + (trial * 37) % 90;
        const double sense = trial % 3 == 0 ? -1.0 : 1.0;
        for (int k = 0; k < count; ++k) {
            const double a = sense * 2 * std::numbers::pi * k / count;
            const double r = 50 * (1.0 - 0.5 * unit(random));
            corners.emplace_back(r * std::cos(a), r * std::sin(a));
            if (trial % 5 == 4) // a straight run: the next corner's direction continued
                corners.emplace_back(1.2 * r * std::cos(a), 1.2 * r * std::sin(a));
        }
        TopoDS_Face face = BRepBuilderAPI_MakeFace(plane, loop(plane, corners), true).Face();
        if (trial % 4 == 1) {
            BRepBuilderAPI_MakeFace withHoles(face);
            std::vector<gp_Pnt2d> square = {{-5, -5}, {-5, 5}, {5, 5}, {5, -5}};
            withHoles.Add(loop(plane, square));
            withHoles.Add(TopoDS::Wire(circle(plane, 14, 0, 3).Reversed()));
            face = withHoles.Face();
        } else if (trial % 7 == 3) {
            face = BRepBuilderAPI_MakeFace(plane, circle(plane, 1, 2, 4), true).Face();
        }
        ASSERT_EQ(text(detail::healedFaceOfApartLoops(face)), text(detail::healedFace(face)))
            << "trial " << trial;
    }
}

} // namespace
} // namespace swsim
