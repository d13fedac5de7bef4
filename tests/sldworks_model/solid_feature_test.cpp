#include "platform/sldworks/model/part_impl.h"
#include "tests/sldworks_model/fixtures.h"

#include <BRepPrimAPI_MakeBox.hxx>

#include <numbers>

namespace swsim {
namespace {

using test::addRectangle;
using test::makeBlock;
using test::volume;
constexpr double pi = std::numbers::pi;

void expectRel(double actual, double expected, double rel = 1e-6) {
    EXPECT_NEAR(actual, expected, std::abs(expected) * rel);
}

int countKind(const BodyPtr& body, SurfaceKind kind) {
    int n = 0;
    for (const auto& f : body->faces())
        n += f->surface().kind == kind;
    return n;
}

FacePtr topFace(PartDocument& doc) {
    return doc.findFaceAt({1, 1, 5}, {0, 0, 1}, 1e-6);
}

TEST(SwsimExtrusion, BlockHasVolumeAndSixPlanarFaces) {
    auto doc = PartDocument::create();
    auto block = makeBlock(*doc);
    ASSERT_TRUE(block) << doc->lastError();
    ASSERT_EQ(doc->bodies(BodyKind::Solid).size(), 1u);
    EXPECT_TRUE(doc->bodies(BodyKind::Sheet).empty());
    const auto body = doc->bodies(BodyKind::Solid)[0];
    expectRel(volume(*doc), 1000.0, 1e-9);
    EXPECT_EQ(body->faces().size(), 6u);
    EXPECT_EQ(countKind(body, SurfaceKind::Plane), 6);
    EXPECT_EQ(body->edges().size(), 12u);
    EXPECT_EQ(body->name(), "Boss-Extrude1");
    const Box box = doc->box();
    EXPECT_NEAR(box.min.z, 0.0, 1e-9);
    EXPECT_NEAR(box.max.z, 5.0, 1e-9);
    EXPECT_EQ(doc->facesOfFeature(*block).size(), 6u);
    EXPECT_EQ(block->sketch(), doc->findFeature("Sketch1"));
}

TEST(SwsimExtrusion, DirectionsBothSidesAndSeparateBodies) {
    auto doc = PartDocument::create();
    // On the Top Plane a boss goes along +Y.
    auto s = doc->openSketch(doc->topPlane());
    addRectangle(*s, 0, 0, 2, 2);
    ExtrudeSpec request;
    request.depth1 = 3;
    ASSERT_TRUE(doc->addExtrusion(s, request)) << doc->lastError();
    EXPECT_NEAR(doc->box().min.y, 0.0, 1e-9);
    EXPECT_NEAR(doc->box().max.y, 3.0, 1e-9);

    // Both sides, kept as a separate body: symmetric about the Front Plane.
    auto s2 = doc->openSketch(doc->frontPlane());
    addRectangle(*s2, 10, 10, 12, 12);
    ExtrudeSpec both;
    both.bothSides = true;
    both.depth1 = 2;
    both.depth2 = 2;
    both.merge = false;
    auto f = doc->addExtrusion(s2, both);
    ASSERT_TRUE(f) << doc->lastError();
    ASSERT_EQ(doc->bodies(BodyKind::Solid).size(), 2u);
    const Box b = doc->bodies(BodyKind::Solid)[1]->box();
    EXPECT_NEAR(b.min.z, -2.0, 1e-9);
    EXPECT_NEAR(b.max.z, 2.0, 1e-9);
    expectRel(volume(*doc), 12.0 + 16.0, 1e-9);

    // Reversed boss goes along -normal.
    auto s3 = doc->openSketch(doc->frontPlane());
    addRectangle(*s3, 30, 0, 31, 1);
    ExtrudeSpec rev;
    rev.reverse = true;
    rev.depth1 = 4;
    rev.merge = false;
    ASSERT_TRUE(doc->addExtrusion(s3, rev));
    EXPECT_NEAR(doc->bodies(BodyKind::Solid)[2]->box().min.z, -4.0, 1e-9);
}

TEST(SwsimExtrusion, InnerLoopsAreHoles) {
    auto doc = PartDocument::create();
    auto s = doc->openSketch(doc->frontPlane());
    addRectangle(*s, 0, 0, 10, 10);
    s->addCircle({5, 5, 0}, 2);
    ExtrudeSpec request;
    request.depth1 = 1;
    ASSERT_TRUE(doc->addExtrusion(s, request)) << doc->lastError();
    expectRel(volume(*doc), 100.0 - 4 * pi);
    EXPECT_EQ(countKind(doc->bodies()[0], SurfaceKind::Cylinder), 1);
}

// Volume of a frustum between parallel areas a1 and a2 of similar shape, height h.
double frustum(double a1, double a2, double h) {
    return h / 3 * (a1 + a2 + std::sqrt(a1 * a2));
}

TEST(SwsimExtrusion, DraftTapersEachSide) {
    const double a = 5 * pi / 180;
    const double shrink = 2 * 5 * std::tan(a);
    auto doc = PartDocument::create();
    auto s = doc->openSketch(doc->frontPlane());
    addRectangle(*s, 0, 0, 10, 10);
    ExtrudeSpec in;
    in.depth1 = 5;
    in.draftAngle = a;
    in.draftInward = true;
    ASSERT_TRUE(doc->addExtrusion(s, in)) << doc->lastError();
    expectRel(volume(*doc), frustum(100, std::pow(10 - shrink, 2), 5));
    EXPECT_NEAR(doc->box().max.z, 5.0, 1e-7);

    // Outward, both sides, on its own body: symmetric about the plane, the walls planar and
    // meeting at sharp edges.
    auto s2 = doc->openSketch(doc->frontPlane());
    addRectangle(*s2, 20, 0, 30, 10);
    ExtrudeSpec out = in;
    out.draftInward = false;
    out.bothSides = true;
    out.depth2 = 5;
    out.merge = false;
    ASSERT_TRUE(doc->addExtrusion(s2, out)) << doc->lastError();
    const auto body = doc->bodies()[1];
    expectRel(body->massProperties().volume, 2 * frustum(100, std::pow(10 + shrink, 2), 5));
    EXPECT_EQ(countKind(body, SurfaceKind::Plane), 10);
    EXPECT_EQ(body->faces().size(), 10u);
    EXPECT_NEAR(body->box().min.z, -5.0, 1e-7);
    EXPECT_NEAR(body->box().max.x, 30 + shrink / 2, 1e-7);

    // A drafted cut from the top face goes down into the first block.
    auto top = doc->findFaceAt({5, 5, 5}, {0, 0, 1}, 1e-6);
    ASSERT_TRUE(top);
    auto s3 = doc->openSketch(top);
    addRectangle(*s3, 4, 4, 6, 6);
    ExtrudeSpec cut;
    cut.cut = true;
    cut.depth1 = 2;
    cut.draftAngle = a;
    cut.draftInward = true;
    const double before = volume(*doc);
    ASSERT_TRUE(doc->addExtrusion(s3, cut)) << doc->lastError();
    expectRel(before - volume(*doc), frustum(4, std::pow(2 - 2 * 2 * std::tan(a), 2), 2));
    EXPECT_FALSE(doc->addExtrusion(s3, [&] {
        ExtrudeSpec bad = cut;
        bad.draftAngle = pi / 2;
        return bad;
    }()));
}

// Volume of a cone frustum of radii r1 and r2, height h.
double coneFrustum(double r1, double r2, double h) {
    return pi * h / 3 * (r1 * r1 + r2 * r2 + r1 * r2);
}

TEST(SwsimExtrusion, DraftTapersInnerLoopsAndCirclesIntoOneCone) {
    const double t = 5 * std::tan(5 * pi / 180);
    auto doc = PartDocument::create();
    // Inward: the outer square shrinks, the hole grows.
    auto s = doc->openSketch(doc->frontPlane());
    addRectangle(*s, 0, 0, 10, 10);
    s->addCircle({5, 5, 0}, 2);
    ExtrudeSpec request;
    request.depth1 = 5;
    request.draftAngle = 5 * pi / 180;
    request.draftInward = true;
    ASSERT_TRUE(doc->addExtrusion(s, request)) << doc->lastError();
    const auto plate = doc->bodies()[0];
    expectRel(plate->massProperties().volume,
              frustum(100, std::pow(10 - 2 * t, 2), 5) - coneFrustum(2, 2 + t, 5));
    EXPECT_EQ(countKind(plate, SurfaceKind::Plane), 6);
    EXPECT_EQ(countKind(plate, SurfaceKind::Cone), 1);
    EXPECT_EQ(plate->faces().size(), 7u);

    // Outward, a circle gives one cone that widens away from the sketch.
    auto c = doc->openSketch(doc->frontPlane());
    c->addCircle({30, 0, 0}, 3);
    request.draftInward = false;
    request.merge = false;
    ASSERT_TRUE(doc->addExtrusion(c, request)) << doc->lastError();
    const auto boss = doc->bodies()[1];
    expectRel(boss->massProperties().volume, coneFrustum(3, 3 + t, 5));
    EXPECT_EQ(countKind(boss, SurfaceKind::Cone), 1);
    EXPECT_EQ(boss->faces().size(), 3u);
}

TEST(SwsimExtrusion, DraftThatClosesBeforeTheDepthIsRefused) {
    auto doc = PartDocument::create();
    auto s = doc->openSketch(doc->frontPlane());
    addRectangle(*s, 0, 0, 20, 20);
    ExtrudeSpec request;
    request.depth1 = 10;
    request.draftAngle = 60 * pi / 180; // the walls meet 5.77 above the sketch
    request.draftInward = true;
    EXPECT_FALSE(doc->addExtrusion(s, request));
    EXPECT_NE(doc->lastError().find("closes"), std::string::npos) << doc->lastError();
    EXPECT_TRUE(doc->bodies().empty());

    // Outward, the hole of a plate closes: refused as well.
    auto p = doc->openSketch(doc->frontPlane());
    addRectangle(*p, 0, 0, 10, 10);
    p->addCircle({5, 5, 0}, 2);
    request.depth1 = 5;
    request.draftAngle = 30 * pi / 180; // the hole's radius would reach 2 - 2.89
    request.draftInward = false;
    EXPECT_FALSE(doc->addExtrusion(p, request));
    EXPECT_TRUE(doc->bodies().empty());
    // Just short of closing it is built.
    request.draftAngle = 20 * pi / 180;
    ASSERT_TRUE(doc->addExtrusion(p, request)) << doc->lastError();
    const double t = 5 * std::tan(request.draftAngle);
    expectRel(volume(*doc), frustum(100, std::pow(10 + 2 * t, 2), 5) - coneFrustum(2, 2 - t, 5));
}

TEST(SwsimCut, FromAFaceSketchAlongMinusNormal) {
    auto doc = PartDocument::create();
    ASSERT_TRUE(makeBlock(*doc));
    auto top = topFace(*doc);
    ASSERT_TRUE(top);
    auto s = doc->openSketch(top);
    ASSERT_TRUE(s) << doc->lastError();
    // The face sketch's X is the model X; its origin the projected model origin.
    addRectangle(*s, 1, 1, 3, 3);
    ExtrudeSpec cut;
    cut.cut = true;
    cut.depth1 = 3;
    auto f = doc->addExtrusion(s, cut);
    ASSERT_TRUE(f) << doc->lastError();
    EXPECT_EQ(f->name(), "Cut-Extrude1");
    EXPECT_EQ(f->typeName(), "Cut");
    expectRel(volume(*doc), 1000.0 - 12.0, 1e-9);
    EXPECT_EQ(doc->facesOfFeature(*f).size(), 5u); // four walls and the floor
}

// A body's box is kept once asked for; the cut that takes the block's far end makes new
// bodies, whose box is the shorter block's.
TEST(SwsimCut, BoxFollowsTheCutBodies) {
    auto doc = PartDocument::create();
    ASSERT_TRUE(makeBlock(*doc));
    EXPECT_NEAR(doc->bodies(BodyKind::Solid)[0]->box().max.y, 20.0, 1e-7);
    auto s = doc->openSketch(topFace(*doc));
    ASSERT_TRUE(s) << doc->lastError();
    addRectangle(*s, -1, 15, 11, 21);
    ExtrudeSpec cut;
    cut.cut = true;
    cut.depth1 = 6;
    ASSERT_TRUE(doc->addExtrusion(s, cut)) << doc->lastError();
    EXPECT_NEAR(doc->bodies(BodyKind::Solid)[0]->box().max.y, 15.0, 1e-7);
    EXPECT_NEAR(doc->box().max.y, 15.0, 1e-7);
    expectRel(volume(*doc), 750.0, 1e-9);
}

TEST(SwsimRevolution, RectangleAboutItsCentreLine) {
    auto doc = PartDocument::create();
    auto s = doc->openSketch(doc->frontPlane());
    addRectangle(*s, 1, 0, 3, 4);
    s->addCentreLine({0, 0, 0}, {0, 1, 0});
    RevolveSpec request;
    request.angle1 = 2 * pi;
    auto ring = doc->addRevolution(s, request);
    ASSERT_TRUE(ring) << doc->lastError();
    EXPECT_EQ(ring->name(), "Revolve1");
    EXPECT_EQ(ring->typeName(), "Revolution");
    expectRel(volume(*doc), pi * (9 - 1) * 4);

    // A half turn of a cylinder's section, as a separate body, both ways round.
    auto s2 = doc->openSketch(doc->frontPlane());
    addRectangle(*s2, 10, 0, 12, 4);
    s2->addCentreLine({10, 0, 0}, {10, 1, 0});
    RevolveSpec half;
    half.angle1 = pi;
    half.type = RevolveType::MidPlane;
    half.merge = false;
    ASSERT_TRUE(doc->addRevolution(s2, half)) << doc->lastError();
    expectRel(volume(*doc), pi * 8 * 4 + pi * 4 * 4 / 2);
    const Box b = doc->bodies()[1]->box();
    EXPECT_NEAR(b.min.z, -2.0, 1e-7); // mid-plane: a quarter turn each way
    EXPECT_NEAR(b.max.z, 2.0, 1e-7);
}

TEST(SwsimRevolution, SenseReverseAndTwoDirections) {
    // A right-handed quarter turn about +Y takes +X towards -Z.
    auto box = [](const RevolveSpec& request) {
        auto doc = PartDocument::create();
        auto s = doc->openSketch(doc->frontPlane());
        addRectangle(*s, 1, 0, 3, 4);
        s->addCentreLine({0, 0, 0}, {0, 1, 0});
        EXPECT_TRUE(doc->addRevolution(s, request)) << doc->lastError();
        return std::make_pair(doc->box(), volume(*doc));
    };
    RevolveSpec quarter;
    quarter.angle1 = pi / 2;
    auto [b1, v1] = box(quarter);
    EXPECT_NEAR(b1.min.z, -3.0, 1e-7);
    EXPECT_NEAR(b1.max.z, 0.0, 1e-7);
    expectRel(v1, pi * 8 * 4 / 4);

    quarter.reverse = true;
    auto [b2, v2] = box(quarter);
    EXPECT_NEAR(b2.min.z, 0.0, 1e-7);
    EXPECT_NEAR(b2.max.z, 3.0, 1e-7);

    RevolveSpec two;
    two.type = RevolveType::TwoDirections;
    two.angle1 = pi / 2;
    two.angle2 = pi / 4;
    auto [b3, v3] = box(two);
    expectRel(v3, pi * 8 * 4 * 3 / 8);
    EXPECT_NEAR(b3.min.z, -3.0, 1e-7);
    EXPECT_NEAR(b3.max.z, 3 * std::sqrt(0.5), 1e-7);

    // Two full turns are one.
    RevolveSpec twice;
    twice.type = RevolveType::TwoDirections;
    twice.angle1 = 2 * pi;
    twice.angle2 = 2 * pi;
    expectRel(box(twice).second, pi * 8 * 4);
}

TEST(SwsimRevolution, CutAGroove) {
    auto doc = PartDocument::create();
    auto s = doc->openSketch(doc->frontPlane());
    addRectangle(*s, 0, 0, 3, 10);
    s->addCentreLine({0, 0, 0}, {0, 1, 0});
    RevolveSpec full;
    full.angle1 = 2 * pi;
    ASSERT_TRUE(doc->addRevolution(s, full));
    auto g = doc->openSketch(doc->frontPlane());
    addRectangle(*g, 2, 4, 4, 6);
    g->addCentreLine({0, 0, 0}, {0, 1, 0});
    RevolveSpec cut = full;
    cut.cut = true;
    auto groove = doc->addRevolution(g, cut);
    ASSERT_TRUE(groove) << doc->lastError();
    EXPECT_EQ(groove->name(), "Cut-Revolve1");
    EXPECT_EQ(groove->typeName(), "RevCut");
    expectRel(volume(*doc), pi * 9 * 10 - pi * (9 - 4) * 2);
}

TEST(SwsimRevolution, CutAndMissingCentreLine) {
    auto doc = PartDocument::create();
    ASSERT_TRUE(makeBlock(*doc));
    auto s = doc->openSketch(doc->frontPlane());
    addRectangle(*s, 4, 9, 6, 11);
    const double before = volume(*doc);
    RevolveSpec request;
    request.cut = true;
    request.angle1 = 2 * pi;
    EXPECT_FALSE(doc->addRevolution(s, request));
    EXPECT_NE(doc->lastError().find("centre line"), std::string::npos);
    EXPECT_DOUBLE_EQ(volume(*doc), before);
}

TEST(SwsimHole, ThroughHoleAndShapedHoles) {
    auto doc = PartDocument::create();
    ASSERT_TRUE(makeBlock(*doc));
    HoleSpec hole;
    hole.point = {5, 10, 5};
    hole.direction = {0, 0, -1};
    hole.sections = {{4, 4, 5}};
    auto h = doc->addHole(hole);
    ASSERT_TRUE(h) << doc->lastError();
    EXPECT_EQ(h->name(), "Hole1");
    EXPECT_EQ(h->typeName(), "HoleWzd");
    expectRel(volume(*doc), 1000.0 - pi * 4 * 5);
    const auto faces = h->faces();
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_EQ(faces[0]->surface().kind, SurfaceKind::Cylinder);
    EXPECT_NEAR(faces[0]->surface().radius, 2.0, 1e-12);

    // Blind hole with a 90 degree tip: cylinder 2 deep and a cone of height r.
    HoleSpec tip;
    tip.point = {2, 2, 5};
    tip.sections = {{2, 2, 2}};
    tip.tipAngle = pi / 2;
    const double v0 = volume(*doc);
    ASSERT_TRUE(doc->addHole(tip)) << doc->lastError();
    expectRel(v0 - volume(*doc), pi * 1 * 2 + pi * 1 * 1 / 3);

    // Counterbore as two sections, countersink of 90 degrees at the start.
    HoleSpec cb;
    cb.point = {5, 16, 5};
    cb.sections = {{3, 3, 1}, {1, 1, 4}};
    const double v1 = volume(*doc);
    ASSERT_TRUE(doc->addHole(cb));
    expectRel(v1 - volume(*doc), pi * 2.25 * 1 + pi * 0.25 * 4);

    HoleSpec cs;
    cs.point = {5, 4, 5};
    cs.sections = {{2, 2, 5}};
    cs.countersinkDiameter = 4;
    cs.countersinkAngle = pi / 2;
    const double v2 = volume(*doc);
    ASSERT_TRUE(doc->addHole(cs));
    // Frustum r 2 -> 1 over depth 1 plus the cylinder below it.
    expectRel(v2 - volume(*doc), pi * 1 * (4 + 2 + 1) / 3 + pi * 1 * 4);
}

TEST(SwsimFailedFeatures, LeaveTheDocumentAsItWas) {
    auto doc = PartDocument::create();
    ASSERT_TRUE(makeBlock(*doc));
    const size_t features = doc->features().size();
    const double v = volume(*doc);
    const auto revision = doc->geometryRevision();

    auto open = doc->openSketch(doc->frontPlane());
    open->addLine({0, 0, 0}, {1, 0, 0});
    open->addLine({1, 0, 0}, {1, 1, 0});
    const size_t withSketch = features + 1;
    ExtrudeSpec request;
    request.depth1 = 1;
    EXPECT_FALSE(doc->addExtrusion(open, request));
    EXPECT_NE(doc->lastError().find("open"), std::string::npos);

    auto square = doc->openSketch(doc->frontPlane());
    addRectangle(*square, 0, 0, 1, 1);
    ExtrudeSpec zero;
    EXPECT_FALSE(doc->addExtrusion(square, zero));
    // A cut that misses the part.
    auto far = doc->openSketch(doc->frontPlane());
    addRectangle(*far, 50, 50, 51, 51);
    ExtrudeSpec cut;
    cut.cut = true;
    cut.reverse = true;
    cut.depth1 = 1;
    EXPECT_FALSE(doc->addExtrusion(far, cut));
    // A cut sketched on the part's face that goes away from it only touches it.
    auto touching = doc->openSketch(doc->frontPlane());
    addRectangle(*touching, 2, 2, 4, 4);
    cut.reverse = false;
    EXPECT_FALSE(doc->addExtrusion(touching, cut));
    EXPECT_NE(doc->lastError().find("does not meet"), std::string::npos);
    HoleSpec bad;
    bad.point = {5, 10, 5};
    EXPECT_FALSE(doc->addHole(bad));
    bad.sections = {{-1, 2, 3}};
    EXPECT_FALSE(doc->addHole(bad));
    EXPECT_FALSE(doc->addExtrusion(nullptr, request));
    EXPECT_FALSE(doc->addImportedBody("/nonexistent/file.brep"));

    EXPECT_EQ(doc->features().size(), withSketch + 3);
    EXPECT_DOUBLE_EQ(volume(*doc), v);
    EXPECT_EQ(doc->geometryRevision(), revision);
    // The failed attempts used no automatic names.
    auto next = doc->openSketch(doc->frontPlane());
    addRectangle(*next, 0, 0, 1, 1);
    request.merge = false;
    EXPECT_EQ(doc->addExtrusion(next, request)->name(), "Boss-Extrude2");
}

TEST(SwsimRebuild, SuppressionReplaysAndFaceIdentityHolds) {
    auto doc = PartDocument::create();
    ASSERT_TRUE(makeBlock(*doc));
    HoleSpec hole;
    hole.point = {5, 10, 5};
    hole.sections = {{4, 4, 5}};
    auto h = doc->addHole(hole);
    ASSERT_TRUE(h);
    const double withHole = volume(*doc);
    auto top = topFace(*doc);
    ASSERT_TRUE(top);
    ASSERT_TRUE(doc->setEntityName(top, "TOP"));

    EXPECT_TRUE(h->setSuppressed(true));
    expectRel(volume(*doc), 1000.0, 1e-9);
    EXPECT_TRUE(h->setSuppressed(false));
    expectRel(volume(*doc), withHole, 1e-9);
    EXPECT_EQ(doc->findEntityByName("TOP"), top);
    EXPECT_EQ(top->body(), doc->bodies()[0]);

    auto faces = doc->bodies()[0]->faces();
    doc->rebuild();
    EXPECT_EQ(doc->bodies()[0]->faces(), faces);
    expectRel(volume(*doc), withHole, 1e-9);
}

// Two holes repeated together by one pattern, as the build repeats the cuts of a drilling's
// history (the conversion tests take such a pattern through a file): both are copied, and the
// pattern goes with either.
TEST(SwsimPattern, TwoSeedsAreRepeatedTogetherAndThePatternGoesWithEither) {
    auto doc = PartDocument::create();
    ASSERT_TRUE(makeBlock(*doc));
    std::vector<SolidFeaturePtr> holes;
    for (const double x : {3.0, 7.0}) {
        HoleSpec hole;
        hole.point = {x, 3, 5};
        hole.sections = {{2, 2, 5}};
        holes.push_back(doc->addHole(hole));
        ASSERT_TRUE(holes.back()) << doc->lastError();
    }
    PatternLayout row;
    row.dir1 = {0, 1, 0};
    row.count1 = 3;
    row.spacing1 = 6;
    const auto pattern = doc->addPattern(holes, row, nullptr);
    ASSERT_TRUE(pattern) << doc->lastError();
    EXPECT_NEAR(volume(*doc), 1000 - 6 * pi * 5, 1e-6);

    EXPECT_EQ(doc->deleteFeatures({holes[1]}), 2);
    EXPECT_NEAR(volume(*doc), 1000 - pi * 5, 1e-6);

    // One pattern either adds or removes.
    auto boss = doc->openSketch(doc->frontPlane());
    addRectangle(*boss, 20, 0, 22, 2);
    doc->closeSketch();
    ExtrudeSpec up;
    up.depth1 = 5;
    const auto pad = doc->addExtrusion(boss, up);
    ASSERT_TRUE(pad) << doc->lastError();
    EXPECT_FALSE(doc->addPattern({holes[0], pad}, row, nullptr));
    EXPECT_EQ(doc->lastError(), "pattern: the seed features do not all add or all remove material");
}

// Tools that overlap go into later rounds; those that only touch, or overlap only tools of
// another round, share one.
TEST(SwsimBoolean, OverlappingToolsAreCutOneRoundAfterAnother) {
    auto box = [](double x0, double y0, double x1, double y1) {
        return BRepPrimAPI_MakeBox(gp_Pnt(x0, y0, 0), gp_Pnt(x1, y1, 1)).Shape();
    };
    const TopoDS_Shape a = box(0, 0, 1, 1);
    const TopoDS_Shape b = box(0.5, 0, 1.5, 1); // overlaps a
    const TopoDS_Shape c = box(1.2, 0, 2.2, 1); // overlaps b only
    const TopoDS_Shape d = box(-1, 0, 0, 1);    // touches a
    const TopoDS_Shape e = box(0.9, 0.9, 2, 2); // overlaps a, b and c
    const TopoDS_Shape f = box(5, 5, 6, 6);     // apart from all
    const auto rounds = detail::apartRounds({a, b, c, d, e, f});
    ASSERT_EQ(rounds.size(), 3u);
    auto same = [](const std::vector<TopoDS_Shape>& round, std::vector<TopoDS_Shape> want) {
        if (round.size() != want.size())
            return false;
        for (std::size_t i = 0; i < want.size(); ++i)
            if (!round[i].IsSame(want[i]))
                return false;
        return true;
    };
    EXPECT_TRUE(same(rounds[0], {a, c, d, f}));
    EXPECT_TRUE(same(rounds[1], {b}));
    EXPECT_TRUE(same(rounds[2], {e}));
    EXPECT_EQ(detail::apartRounds({a, d, f}).size(), 1u);
}

} // namespace
} // namespace swsim
