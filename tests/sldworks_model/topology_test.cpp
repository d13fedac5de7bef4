#include "tests/sldworks_model/fixtures.h"

#include <cmath>
#include <numbers>

namespace swsim {
namespace {

using test::makeBlock;

// A block with a through hole of diameter 4 at (5, 10).
PartDocumentPtr drilledBlock() {
    auto doc = PartDocument::create();
    EXPECT_TRUE(makeBlock(*doc));
    HoleSpec hole;
    hole.point = {5, 10, 5};
    hole.sections = {{4, 4, 5}};
    EXPECT_TRUE(doc->addHole(hole)) << doc->lastError();
    return doc;
}

void expectPoint(std::optional<Vec3> answer, Vec3 expected, double tol = 1e-8) {
    ASSERT_TRUE(answer);
    const Vec3 actual = *answer;
    EXPECT_NEAR(actual.x, expected.x, tol);
    EXPECT_NEAR(actual.y, expected.y, tol);
    EXPECT_NEAR(actual.z, expected.z, tol);
}

TEST(SwsimRaySelection, FromAboveSelectsTheTopFace) {
    auto doc = drilledBlock();
    ASSERT_TRUE(doc->selectByRay({2, 3, 50}, {0, 0, -1}, 1e-6, false, 0));
    auto face = objectAs<Face>(doc->selection().objectAt(0));
    ASSERT_TRUE(face);
    EXPECT_EQ(face->surface().kind, SurfaceKind::Plane);
    EXPECT_EQ(face->normal(), (Vec3{0, 0, 1}));
    expectPoint(*doc->selection().entries()[0].pickPoint, {2, 3, 5});
    // A start point on the face finds it (hits from -radius count).
    auto hit = doc->castRay({2, 3, 5}, {0, 0, -1}, 1e-6);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->face, face);
    // Down the hole the ray meets nothing; beside the part as well.
    EXPECT_FALSE(doc->castRay({5, 10, 50}, {0, 0, -1}, 1e-6));
    EXPECT_FALSE(doc->selectByRay({50, 50, 50}, {0, 0, -1}, 1e-6, false, 0));
    EXPECT_EQ(doc->selection().count(), 1);

    // Non-finite input finds nothing and breaks nothing.
    const double nan = std::nan("");
    EXPECT_FALSE(doc->castRay({nan, 3, 50}, {0, 0, -1}, 1e-6));
    EXPECT_FALSE(doc->castRay({2, 3, 50}, {0, nan, -1}, 1e-6));
    EXPECT_FALSE(doc->castRay({2, 3, 50}, {0, 0, 0}, 1e-6));
    EXPECT_FALSE(doc->findFaceAt({nan, 0, 0}, {0, 0, 1}, 1e-6));
    EXPECT_FALSE(doc->findEdgeAt({0, nan, 0}, 1e-6));
    EXPECT_FALSE(face->closestPoint({nan, 0, 0}));
    EXPECT_FALSE(face->edges()[0]->closestPoint({0, 0, nan}));
    // Far beyond the model space OpenCASCADE finds no nearest point: the point itself is no
    // answer, and it lies on no face (the top face is z = 5).
    EXPECT_FALSE(face->closestPoint({1e200, 3, 5}));
    EXPECT_FALSE(face->contains({1e200, 3, 5}));
    EXPECT_FALSE(face->closestPointOnSurface({1e200, 3, 5}));
}

TEST(SwsimRaySelection, SeesCutsNotYetAppliedAndKeepsTheFaceObject) {
    auto doc = PartDocument::create();
    ASSERT_TRUE(makeBlock(*doc));
    auto top = doc->castRay({2, 3, 9}, {0, 0, -1}, 1e-6);
    ASSERT_TRUE(top);
    HoleSpec hole;
    hole.point = {5, 10, 5};
    hole.sections = {{4, 4, 5}};
    ASSERT_TRUE(doc->addHole(hole));
    // Beside the hole the top face answers; down the hole there is nothing to hit.
    EXPECT_EQ(doc->castRay({2, 3, 9}, {0, 0, -1}, 1e-6)->face, top->face);
    EXPECT_FALSE(doc->castRay({5, 10, 9}, {0, 0, -1}, 1e-6));
    auto wall = doc->castRay({5, 10, 2}, {1, 0, 0}, 1e-6);
    ASSERT_TRUE(wall);
    EXPECT_EQ(wall->face->surface().kind, SurfaceKind::Cylinder);
    expectPoint(wall->point, {7, 10, 2});
    // The top face, drilled now, is still the same object, with the hole's rim among its edges.
    EXPECT_EQ(doc->castRay({2, 3, 9}, {0, 0, -1}, 1e-6)->face, top->face);
    EXPECT_EQ(top->face->body(), doc->bodies()[0]);
    EXPECT_EQ(top->face->edges().size(), 5u);
}

TEST(SwsimRaySelection, ManyDrillingsInAPlate) {
    auto doc = PartDocument::create();
    auto s = doc->openSketch(doc->frontPlane());
    test::addRectangle(*s, 0, 0, 100, 100);
    ExtrudeSpec request;
    request.depth1 = 5;
    ASSERT_TRUE(doc->addExtrusion(s, request));
    for (int i = 0; i < 100; ++i) {
        const Vec3 p{5.0 + 10 * (i % 10), 5.0 + 10 * (i / 10), 5};
        auto hit = doc->castRay(p, {0, 0, -1}, 1e-6);
        ASSERT_TRUE(hit) << i;
        expectPoint(hit->point, p);
        HoleSpec hole;
        hole.point = p;
        hole.sections = {{4, 4, 5}};
        ASSERT_TRUE(doc->addHole(hole)) << i;
    }
    EXPECT_NEAR(doc->massProperties().volume, 50000 - 100 * std::numbers::pi * 4 * 5, 1e-6);
    EXPECT_EQ(doc->bodies()[0]->faces().size(), 106u);
    EXPECT_EQ(doc->findFeature("Hole100")->typeName(), "HoleWzd");
}

TEST(SwsimClosestPoints, PlanarFaceAndCircularEdgeAgreeWithTheAnalyticValue) {
    auto doc = drilledBlock();
    auto top = doc->findFaceAt({1, 1, 5}, {0, 0, 1}, 1e-6);
    ASSERT_TRUE(top);
    expectPoint(top->closestPoint({3.3, 4.7, 9}), {3.3, 4.7, 5});
    // Outside the boundary the face's edge is nearest.
    expectPoint(top->closestPoint({15, 4, 9}), {10, 4, 5});
    // Over the hole the nearest point lies on the hole's rim.
    expectPoint(top->closestPoint({5.5, 10, 7}), {7, 10, 5}, 1e-7);
    expectPoint(top->closestPointOnSurface({5.5, 10, 7}), {5.5, 10, 5});
    EXPECT_TRUE(top->contains({0.1, 0.1, 5}));
    EXPECT_FALSE(top->contains({5, 10, 5}));

    // The outer wire's edges come first, then the hole's rim.
    const auto edges = top->edges();
    ASSERT_EQ(edges.size(), 5u);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(edges[i]->curve().kind, CurveKind::Line) << i;
    const EdgePtr rim = edges[4];
    ASSERT_EQ(rim->curve().kind, CurveKind::Circle);
    const CurveInfo c = rim->curve();
    expectPoint(c.centre, {5, 10, 5}, 1e-12);
    EXPECT_NEAR(c.radius, 2.0, 1e-12);
    expectPoint(rim->closestPoint({9, 10, 7}), {7, 10, 5});
    const double s = std::sqrt(0.5);
    expectPoint(rim->closestPoint({5 + 3, 10 + 3, 5}), {5 + 2 * s, 10 + 2 * s, 5});

    // The rim joins the top face and the hole's wall.
    const auto faces = rim->faces();
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_TRUE(faces[0] == top || faces[1] == top);
    const auto wall = faces[0] == top ? faces[1] : faces[0];
    const SurfaceInfo cyl = wall->surface();
    EXPECT_EQ(cyl.kind, SurfaceKind::Cylinder);
    EXPECT_NEAR(std::abs(cyl.axis.z), 1.0, 1e-12);
    // The wall's normal points into the hole (out of the material).
    const Vec3 n = wall->normalAt({7, 10, 2});
    EXPECT_NEAR(n.x, -1.0, 1e-9);
    expectPoint(wall->closestPoint({8, 10, 2.5}), {7, 10, 2.5});
    EXPECT_EQ(doc->findEdgeAt({7, 10, 5}, 1e-7), rim);
}

TEST(SwsimClosestPoints, ConeOfACountersink) {
    auto doc = PartDocument::create();
    ASSERT_TRUE(makeBlock(*doc));
    HoleSpec cs;
    cs.point = {5, 4, 5};
    cs.sections = {{2, 2, 5}};
    cs.countersinkDiameter = 4;
    cs.countersinkAngle = std::numbers::pi / 2;
    ASSERT_TRUE(doc->addHole(cs));
    // The cone runs from radius 2 at z 5 down to radius 1 at z 4.
    auto hit = doc->castRay({6.5, 4, 9}, {0, 0, -1}, 1e-6);
    ASSERT_TRUE(hit);
    expectPoint(hit->point, {6.5, 4, 4.5});
    const auto cone = hit->face;
    EXPECT_EQ(cone->surface().kind, SurfaceKind::Cone);
    EXPECT_NEAR(cone->surface().semiAngle, std::numbers::pi / 4, 1e-12);
    // Off the cone along its normal, back onto it.
    expectPoint(cone->closestPoint({6.3, 4, 4.7}), {6.5, 4, 4.5}, 1e-12);
    const Vec3 n = cone->normalAt({6.5, 4, 4.5});
    EXPECT_NEAR(n.x, -std::sqrt(0.5), 1e-9);
    EXPECT_NEAR(n.z, std::sqrt(0.5), 1e-9);
    // Beyond the rim: the unbounded cone goes on, the face stops at the rim.
    expectPoint(cone->closestPointOnSurface({8, 4, 5}), {7.5, 4, 5.5}, 1e-12);
    expectPoint(cone->closestPoint({8, 4, 5}), {7, 4, 5}, 1e-7);
}

TEST(SwsimFaceSearch, PointAndNormalAndPlanesFromFaces) {
    auto doc = drilledBlock();
    // The top face's normal is +Z; asking for -Z there finds nothing, the bottom finds -Z.
    EXPECT_TRUE(doc->findFaceAt({1, 1, 5}, {0, 0, 1}, 1e-6));
    EXPECT_FALSE(doc->findFaceAt({1, 1, 5}, {0, 0, -1}, 1e-6));
    EXPECT_FALSE(doc->findFaceAt({1, 1, 5.1}, {0, 0, 1}, 1e-6));
    auto bottom = doc->findFaceAt({1, 1, 0}, {0, 0, -1}, 1e-6);
    ASSERT_TRUE(bottom);
    EXPECT_EQ(bottom->normal(), (Vec3{0, 0, -1}));
    // With the zero normal any face through the point will do: here the side x = 0.
    auto side = doc->findFaceAt({0, 5, 2}, {0, 0, 0}, 1e-6);
    ASSERT_TRUE(side);
    EXPECT_EQ(side->normal(), (Vec3{-1, 0, 0}));

    EXPECT_TRUE(doc->selectFaceAt({1, 1, 0}, {0, 0, -1}, 1e-6, false, 2));
    EXPECT_EQ(doc->selection().objectAt(0), bottom);
    EXPECT_EQ(doc->selection().entries()[0].mark, 2);
    EXPECT_FALSE(doc->selectFaceAt({50, 1, 0}, {0, 0, -1}, 1e-6, false, 0));

    // A plane offset from the bottom face lies below the part; a sketch on the bottom face
    // looks down.
    auto below = doc->addOffsetPlane(bottom, 2, false);
    ASSERT_TRUE(below);
    EXPECT_EQ(below->frame().origin, (Vec3{0, 0, -2}));
    auto sketch = doc->openSketch(bottom);
    ASSERT_TRUE(sketch);
    EXPECT_EQ(sketch->frame().zDir, (Vec3{0, 0, -1}));
    EXPECT_EQ(cross(sketch->frame().xDir, sketch->frame().yDir), sketch->frame().zDir);
    EXPECT_FALSE(doc->openSketch(side)); // one sketch at a time
    doc->closeSketch();
    auto wall = doc->castRay({5, 10, 2}, {1, 0, 0}, 1e-6)->face;
    EXPECT_FALSE(doc->openSketch(wall)); // not planar
}

TEST(SwsimEntityNames, SetOnceUniqueAndFollowTheFace) {
    auto doc = drilledBlock();
    auto body = doc->bodies()[0];
    auto a = body->faces()[0];
    auto b = body->faces()[1];
    EXPECT_TRUE(doc->setEntityName(a, "PLANAR_0"));
    EXPECT_FALSE(doc->setEntityName(a, "OTHER")); // already named
    EXPECT_EQ(a->name(), "PLANAR_0");
    EXPECT_FALSE(doc->setEntityName(b, "PLANAR_0")); // name in use
    EXPECT_FALSE(doc->setEntityName(b, ""));
    EXPECT_TRUE(doc->setEntityName(body->edges()[0], "EDGE_A"));
    EXPECT_EQ(doc->findEntityByName("PLANAR_0"), a);
    EXPECT_EQ(doc->findEntityByName("EDGE_A"), body->edges()[0]);
    EXPECT_EQ(doc->findEntityByName("nothing"), nullptr);
    EXPECT_TRUE(doc->selectByName("PLANAR_0", "FACE", {0, 0, 0}, false, 0));
    EXPECT_TRUE(doc->setFaceColour(b, Rgb{1, 0, 0}));
    EXPECT_EQ(*b->colour(), (Rgb{1, 0, 0}));

    // A later feature elsewhere keeps the objects, names and colours.
    HoleSpec hole;
    hole.point = {2, 2, 5};
    hole.sections = {{1, 1, 5}};
    ASSERT_TRUE(doc->addHole(hole));
    EXPECT_EQ(doc->findEntityByName("PLANAR_0"), a);
    EXPECT_EQ(*b->colour(), (Rgb{1, 0, 0}));
    // Same face objects on every walk.
    EXPECT_EQ(doc->bodies()[0]->faces(), doc->bodies()[0]->faces());

    // An object of another document is refused.
    auto other = PartDocument::create();
    EXPECT_FALSE(other->setEntityName(b, "X"));
    EXPECT_FALSE(other->setFaceColour(b, Rgb{}));
}

TEST(SwsimCosmeticThread, OnCircularEdgesOnly) {
    auto doc = drilledBlock();
    auto rim = doc->findEdgeAt({7, 10, 5}, 1e-7);
    ASSERT_TRUE(rim);
    auto thread = doc->addCosmeticThread(rim, 4.0, 3.0, "M4");
    ASSERT_TRUE(thread);
    EXPECT_EQ(thread->typeName(), "CosmeticThread");
    EXPECT_EQ(thread->name(), "Cosmetic Thread1");
    EXPECT_EQ(thread->edge(), rim);
    auto straight = doc->findEdgeAt({0, 5, 0}, 1e-7);
    ASSERT_TRUE(straight);
    EXPECT_FALSE(doc->addCosmeticThread(straight, 4.0, 3.0, "M4"));
    EXPECT_FALSE(doc->addCosmeticThread(rim, 0.0, 3.0, "M4"));
}

TEST(SwsimSheetBodies, SurfaceCopyOfAFace) {
    auto doc = drilledBlock();
    auto top = doc->findFaceAt({1, 1, 5}, {0, 0, 1}, 1e-6);
    ASSERT_TRUE(top);
    const double v = doc->massProperties().volume;
    auto copy = doc->addSurfaceCopy(top);
    ASSERT_TRUE(copy) << doc->lastError();
    EXPECT_EQ(copy->name(), "Surface-Offset1");
    EXPECT_EQ(copy->typeName(), "RefSurface");
    const auto sheets = doc->bodies(BodyKind::Sheet);
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(doc->bodies().back(), sheets[0]);
    ASSERT_EQ(sheets[0]->faces().size(), 1u);
    EXPECT_NEAR(sheets[0]->faces()[0]->area(), 200 - 4 * std::numbers::pi, 1e-9);
    EXPECT_EQ(copy->faces(), sheets[0]->faces());
    EXPECT_DOUBLE_EQ(doc->massProperties().volume, v); // sheets hold no volume
    // The ray may be restricted to solid bodies.
    EXPECT_EQ(doc->castRay({1, 1, 9}, {0, 0, -1}, 1e-6, BodyKind::Sheet)->face,
              sheets[0]->faces()[0]);
    EXPECT_EQ(doc->castRay({1, 1, 9}, {0, 0, -1}, 1e-6, BodyKind::Solid)->face, top);
    EXPECT_FALSE(doc->addSurfaceCopy(nullptr));
}

TEST(SwsimMassProperties, CentreAndArea) {
    auto doc = PartDocument::create();
    ASSERT_TRUE(makeBlock(*doc));
    const MassProperties m = doc->massProperties();
    EXPECT_NEAR(m.area, 2 * (200 + 50 + 100), 1e-9);
    expectPoint(m.centreOfMass, {5, 10, 2.5}, 1e-9);
}

} // namespace
} // namespace swsim
