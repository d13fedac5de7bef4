// Object identity, interface pairs, entity names and geometric queries of the session.
#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

std::vector<IFace2Ptr> walkFaces(IBody* body) {
    std::vector<IFace2Ptr> faces;
    IFace2Ptr face(bodyGetFirstFace(body));
    while (face) {
        faces.push_back(face);
        face = faceGetNextFace(face);
    }
    return faces;
}

IBodyPtr firstSolid(IModelDoc2* doc) {
    const auto bodies = readObjectArray(partDocGetBodies(IPartDocPtr(doc), 0));
    return bodies.empty() ? IBodyPtr() : IBodyPtr(bodies.front());
}

// The planar face whose outward normal is `normal`.
IFace2Ptr faceWithNormal(IBody* body, double nx, double ny, double nz) {
    for (const auto& face : walkFaces(body)) {
        const _variant_t normal = faceGetNormal(face);
        if (!variantHoldsArray(normal))
            continue;
        const auto n = readDoubleArray(normal, 3);
        if (std::fabs(n[0] - nx) < 1e-9 && std::fabs(n[1] - ny) < 1e-9 &&
            std::fabs(n[2] - nz) < 1e-9)
            return face;
    }
    return IFace2Ptr();
}

// COM identity: both pointers give the same IUnknown.
bool sameObject(IUnknown* a, IUnknown* b) {
    void* ua = nullptr;
    void* ub = nullptr;
    if (a == nullptr || b == nullptr || FAILED(a->QueryInterface(IID_IUnknown, &ua)) ||
        FAILED(b->QueryInterface(IID_IUnknown, &ub)))
        return false;
    static_cast<IUnknown*>(ua)->Release();
    static_cast<IUnknown*>(ub)->Release();
    return ua == ub;
}

class SessionIdentity : public ::testing::Test {
protected:
    void SetUp() override { part.block(10, 20, 5); }
    partFixtureC part;
};

TEST_F(SessionIdentity, FacesAndFeaturesGiveTheSamePointersOnEveryWalk) {
    IBodyPtr body = firstSolid(part.doc());
    ASSERT_TRUE(body);
    EXPECT_EQ(bodyGetFaceCount(body), 6);
    const auto first = walkFaces(body);
    const auto second = walkFaces(firstSolid(part.doc()));
    ASSERT_EQ(first.size(), 6u);
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(first[i], second[i]) << i;

    // The extrusion's faces are the body's faces, as the same objects.
    IFeaturePtr boss(partDocFeatureByName(IPartDocPtr(part.doc()), "Boss-Extrude1"));
    ASSERT_TRUE(boss);
    const auto featureFaces = readObjectArray(featureGetFaces(boss));
    EXPECT_EQ(featureFaces.size(), 6u);
    for (const auto& face : featureFaces)
        EXPECT_NE(std::find(first.begin(), first.end(), IFace2Ptr(face)), first.end());

    IFeaturePtr again(docExtGetNewestFeature(modelDocGetExtension(part.doc())));
    EXPECT_EQ(again, boss);
}

TEST_F(SessionIdentity, OneObjectAnswersBothInterfacesOfAPair) {
    IBodyPtr body = firstSolid(part.doc());
    IBodyObjectPtr older(body);
    ASSERT_TRUE(older);
    EXPECT_TRUE(sameObject(older, body));
    EXPECT_EQ(IFace2Ptr(bodyObjectGetFirstFace(older)), IFace2Ptr(bodyGetFirstFace(body)));

    IFace2Ptr face(bodyGetFirstFace(body));
    IFaceObjectPtr faceObject(face);
    IEntityPtr entity(face);
    ASSERT_TRUE(faceObject);
    ASSERT_TRUE(entity);
    EXPECT_TRUE(sameObject(entity, face));
    EXPECT_TRUE(sameObject(faceObject, face));
    // A face is not an edge, and not a feature.
    EXPECT_FALSE(IEdgePtr(face));
    EXPECT_FALSE(IFeaturePtr(face));

    IEdgePtr edge(readObjectArray(bodyGetEdges(body)).front());
    ASSERT_TRUE(edge);
    EXPECT_TRUE(IEntityPtr(edge));
}

TEST_F(SessionIdentity, PlanesAndSketchesAnswerTheirOwnInterfaceAndIFeature) {
    IFeaturePtr front(partDocFeatureByName(IPartDocPtr(part.doc()), "Front Plane"));
    IRefPlanePtr plane(featureGetSpecificObject(front));
    ASSERT_TRUE(plane);
    EXPECT_EQ(IFeaturePtr(plane), front);
    EXPECT_FALSE(ISketchPtr(front));

    IFeaturePtr sketchFeature(partDocFeatureByName(IPartDocPtr(part.doc()), "Sketch1"));
    ISketchPtr sketch;
    sketchPtrFromVariant(sketch, featureGetSpecificFeature(sketchFeature));
    ASSERT_TRUE(sketch);
    EXPECT_EQ(IFeaturePtr(sketch), sketchFeature);
    EXPECT_FALSE(IRefPlanePtr(sketchFeature));
}

TEST_F(SessionIdentity, EntityNamesAreSetOnceAndUnique) {
    IPartDocPtr partDoc(part.doc());
    const auto faces = walkFaces(firstSolid(part.doc()));
    EXPECT_EQ(partDocSetEntityName(partDoc, faces[0], "PLANAR_1"), VARIANT_TRUE);
    EXPECT_EQ(partDocGetEntityName(partDoc, faces[0]), _bstr_t("PLANAR_1"));
    // A named entity keeps its name; a name in use is refused for another entity.
    EXPECT_EQ(partDocSetEntityName(partDoc, faces[0], "PLANAR_2"), VARIANT_FALSE);
    EXPECT_EQ(partDocSetEntityName(partDoc, faces[1], "PLANAR_1"), VARIANT_FALSE);
    EXPECT_EQ(partDocGetEntityName(partDoc, faces[1]), _bstr_t(""));
    EXPECT_EQ(partDocSetEntityName(partDoc, faces[1], "PLANAR_2"), VARIANT_TRUE);
    EXPECT_EQ(partDocGetEntityName(partDoc, faces[0]), _bstr_t("PLANAR_1"));
}

TEST_F(SessionIdentity, FaceFoundByPointAndNormal) {
    // The block's front face lies at z = 5 with normal +Z.
    const _variant_t at = makeDoubleArray({3, 4, 5, 0, 0, 1, 1e-6});
    EXPECT_EQ(modelDocSelectAtPointAndNormal(part.doc(), at, 2), VARIANT_TRUE);
    ISelectionManagerPtr selection = modelDocGetSelectionManager(part.doc());
    IFace2Ptr face(selMgrGetSelectedObject(selection, 1));
    ASSERT_TRUE(face);
    EXPECT_EQ(face, faceWithNormal(firstSolid(part.doc()), 0, 0, 1));
    // The opposite normal finds nothing there.
    EXPECT_EQ(
        modelDocSelectAtPointAndNormal(part.doc(), makeDoubleArray({3, 4, 5, 0, 0, -1, 1e-6}), 2),
        VARIANT_FALSE);

    ISurfacePtr surface(faceGetSurface(face));
    EXPECT_EQ(surfaceIsPlane(surface), VARIANT_TRUE);
    EXPECT_EQ(surfaceIsCylinder(surface), VARIANT_FALSE);
    const auto planeData = readDoubleArray(surfaceGetPlaneData(surface), 6);
    EXPECT_NEAR(planeData[5], 5.0, 1e-12); // a point of the plane at z = 5
    EXPECT_TRUE(variantHoldsArray(surfaceQueryPoint(surface, 3, 4, 5)));
    EXPECT_FALSE(variantHoldsArray(surfaceQueryPoint(surface, 30, 4, 5))); // off the face
    const auto closest = readDoubleArray(faceGetClosestPoint(face, 3, 4, 9), 3);
    EXPECT_NEAR(closest[2], 5.0, 1e-12);
}

TEST_F(SessionIdentity, RaySelectionPicksTheFaceItHits) {
    EXPECT_EQ(modelDocSelectByRay(part.doc(), 2, 2, 20, 0, 0, -1, 1e-6, 2), VARIANT_TRUE);
    IFace2Ptr hit(selMgrGetSelectedObject(modelDocGetSelectionManager(part.doc()), 1));
    EXPECT_EQ(hit, faceWithNormal(firstSolid(part.doc()), 0, 0, 1));
    EXPECT_EQ(modelDocSelectByRay(part.doc(), 50, 50, 20, 0, 0, -1, 1e-6, 2), VARIANT_FALSE);
}

TEST_F(SessionIdentity, EdgeClosestPointIsClampedToTheEdge) {
    const auto edges = readObjectArray(bodyGetEdges(firstSolid(part.doc())));
    ASSERT_EQ(edges.size(), 12u);
    // Every edge of the 10 x 20 x 5 block is axis-parallel, so the point nearest to a far
    // point beyond all maxima is the edge's end at the maximum: always a corner of the block.
    int atFarCorner = 0;
    for (const auto& object : edges) {
        const auto p = readDoubleArray(edgeGetClosestPoint(IEdgePtr(object), 100, 100, 100), 3);
        const double size[3] = {10, 20, 5};
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(std::fabs(p[i]) < 1e-9 || std::fabs(p[i] - size[i]) < 1e-9)
                << "coordinate " << i << " = " << p[i];
        atFarCorner += std::fabs(p[0] - 10) < 1e-9 && std::fabs(p[1] - 20) < 1e-9 &&
                       std::fabs(p[2] - 5) < 1e-9;
    }
    // The three edges that meet at the far corner end there.
    EXPECT_EQ(atFarCorner, 3);
}

TEST_F(SessionIdentity, SelectionDataCarriesThePickPoint) {
    IFace2Ptr top = faceWithNormal(firstSolid(part.doc()), 0, 0, 1);
    ISelectionManagerPtr selection = modelDocGetSelectionManager(part.doc());
    ISelectionDataPtr data(selMgrCreateSelectionData(selection));
    selDataSetX(data, 2);
    selDataSetY(data, 3);
    selDataSetZ(data, 5);
    EXPECT_EQ(entitySelectWithData(IEntityPtr(top), VARIANT_FALSE, data), VARIANT_TRUE);
    ASSERT_EQ(part.model().selection().count(), 1);
    const auto pick = part.model().selection().entries().front().pickPoint;
    ASSERT_TRUE(pick.has_value());
    EXPECT_EQ(*pick, (swsim::Vec3{2, 3, 5}));
    // Without data the entity is selected without a pick point.
    EXPECT_EQ(entitySelectWithData(IEntityPtr(top), VARIANT_FALSE, nullptr), VARIANT_TRUE);
    EXPECT_FALSE(part.model().selection().entries().front().pickPoint.has_value());
}

TEST(SessionSketch, ConstraintsFixPointsUntilFullyConstrained) {
    partFixtureC part;
    modelDocSelectByName(part.doc(), "Front Plane", "PLANE", 0, 0, 0);
    ASSERT_EQ(modelDocInsertSketch(part.doc(), VARIANT_TRUE), S_OK);
    IDispatchPtr line = modelDocCreateLine(part.doc(), 0, 0, 0, 4, 0, 0);
    ASSERT_TRUE(ISketchSegmentPtr(line));
    ISketchPtr sketch(modelDocGetEditedSketch(part.doc()));
    EXPECT_EQ(sketchGetStatus(sketch), 2);
    IConstraintManagerPtr constraints = sketchGetConstraintManager(sketch);
    const auto points = readObjectArray(sketchGetPoints(sketch));
    ASSERT_EQ(points.size(), 2u);
    EXPECT_DOUBLE_EQ(sketchPointGetX(ISketchPointPtr(points[1])), 4.0);
    for (const auto& point : points) {
        IDispatchPtr added =
            constraintMgrAddConstraint(constraints, makeDispatchArray({point}), 17);
        EXPECT_TRUE(added);
    }
    EXPECT_EQ(sketchGetStatus(sketch), 3);
    const auto fixes = readObjectArray(constraintMgrGetConstraints(constraints, 17));
    ASSERT_EQ(fixes.size(), 2u);
    EXPECT_EQ(constraintMgrRemoveConstraint(constraints, fixes.back()), VARIANT_TRUE);
    EXPECT_EQ(sketchGetStatus(sketch), 2);
    // The same point through the sketch gives the same object.
    EXPECT_EQ(readObjectArray(sketchGetPoints(sketch)).front(), points.front());
}

TEST(SessionSketch, CentreLineIsNoProfile) {
    partFixtureC part;
    modelDocSelectByName(part.doc(), "Front Plane", "PLANE", 0, 0, 0);
    ASSERT_EQ(modelDocInsertSketch(part.doc(), VARIANT_TRUE), S_OK);
    ISketchSegmentPtr axis(modelDocCreateLine(part.doc(), 0, -5, 0, 0, 5, 0));
    segmentSetCenterlineFlag(axis, VARIANT_TRUE);
    const auto segment = std::dynamic_pointer_cast<swsim::SketchSegment>(
        part.model().activeSketch()->findEntity("Line1"));
    ASSERT_TRUE(segment);
    EXPECT_TRUE(segment->centreLine());
}

} // namespace

namespace {

// A model point through the sketch transform data as the sketch construction applies it:
// the row vector (x, y, z, 1) times the 4 x 4 matrix whose rows 0-2 are the rotation rows and
// row 3 the translation.
swsim::Vec3 toSketch(const std::vector<double>& t, swsim::Vec3 p) {
    return {p.x * t[0] + p.y * t[3] + p.z * t[6] + t[9],
            p.x * t[1] + p.y * t[4] + p.z * t[7] + t[10],
            p.x * t[2] + p.y * t[5] + p.z * t[8] + t[11]};
}

TEST(SessionSketch, TransformDataMapsModelPointsIntoTheSketch) {
    for (const char* plane : {"Front Plane", "Top Plane", "Right Plane"}) {
        partFixtureC part;
        modelDocSelectByName(part.doc(), plane, "PLANE", 0, 0, 0);
        ASSERT_EQ(modelDocInsertSketch(part.doc(), VARIANT_TRUE), S_OK) << plane;
        ISketchPtr sketch(modelDocGetActiveSketch(part.doc()));
        const auto t = readDoubleArray(sketchGetTransformData(sketch), 16);
        EXPECT_DOUBLE_EQ(t[12], 1.0);
        // Two model points of the plane (through the origin, so one coordinate is 0).
        const auto normal = part.model().activeSketch()->frame().zDir;
        const swsim::Vec3 a = swsim::cross(normal, {0.3, 0.5, 0.7});
        const swsim::Vec3 b = a * -2.0;
        const swsim::Vec3 sa = toSketch(t, a);
        const swsim::Vec3 sb = toSketch(t, b);
        EXPECT_NEAR(sa.z, 0.0, 1e-12) << plane;
        ASSERT_TRUE(modelDocCreateLine(part.doc(), sa.x, sa.y, 0, sb.x, sb.y, 0)) << plane;
        const auto& points = part.model().activeSketch()->points();
        ASSERT_EQ(points.size(), 2u);
        EXPECT_NEAR(swsim::distance(points[0]->modelPosition(), a), 0.0, 1e-12) << plane;
        EXPECT_NEAR(swsim::distance(points[1]->modelPosition(), b), 0.0, 1e-12) << plane;
    }
}

TEST(SessionSketch, ArcsAndCirclesRefuseDegenerateInput) {
    partFixtureC part;
    modelDocSelectByName(part.doc(), "Front Plane", "PLANE", 0, 0, 0);
    ASSERT_EQ(modelDocInsertSketch(part.doc(), VARIANT_TRUE), S_OK);
    EXPECT_EQ(modelDocSketchArc(part.doc(), 1, 0, 0, -1, 0, 0, 0, 1, 0), VARIANT_TRUE);
    EXPECT_EQ(modelDocSketchArc(part.doc(), 1, 0, 0, 3, 0, 0, 2, 0, 0), VARIANT_FALSE); // collinear
    EXPECT_TRUE(ISketchSegmentPtr(modelDocSketchCircle(part.doc(), 0, 0, 0, 2)));
    EXPECT_FALSE(modelDocSketchCircle(part.doc(), 0, 0, 0, 0));
    // Nothing is drawn without an open sketch.
    ASSERT_EQ(modelDocInsertSketch(part.doc(), VARIANT_TRUE), S_OK);
    EXPECT_FALSE(modelDocCreateLine(part.doc(), 0, 0, 0, 1, 1, 0));
    EXPECT_EQ(modelDocSketchArc(part.doc(), 1, 0, 0, -1, 0, 0, 0, 1, 0), VARIANT_FALSE);
}

TEST(SessionSketch, ConstrainAllThenRemoveItsConstraints) {
    partFixtureC part;
    modelDocSelectByName(part.doc(), "Front Plane", "PLANE", 0, 0, 0);
    ASSERT_EQ(modelDocInsertSketch(part.doc(), VARIANT_TRUE), S_OK);
    modelDocCreateLine(part.doc(), 0, 0, 0, 4, 0, 0);
    modelDocCreateLine(part.doc(), 4, 0, 0, 4, 3, 0);
    ISketchPtr sketch(modelDocGetEditedSketch(part.doc()));
    EXPECT_GT(sketchConstrainAll(sketch, 1, 1, -1, 1, -1), 0);
    EXPECT_EQ(sketchGetStatus(sketch), 3);
    IConstraintManagerPtr manager = sketchGetConstraintManager(sketch);
    const auto added = readObjectArray(constraintMgrGetConstraints(manager, 2));
    ASSERT_FALSE(added.empty());
    for (auto it = added.rbegin(); it != added.rend(); ++it)
        EXPECT_EQ(constraintMgrRemoveConstraint(manager, *it), VARIANT_TRUE);
    EXPECT_EQ(sketchGetStatus(sketch), 2);
    // A removed constraint cannot be removed again; null is no constraint.
    EXPECT_EQ(constraintMgrRemoveConstraint(manager, added.front()), VARIANT_FALSE);
    EXPECT_EQ(constraintMgrRemoveConstraint(manager, nullptr), VARIANT_FALSE);
}

TEST(SessionSketch, RedundantFixMakesTheSketchOverConstrained) {
    partFixtureC part;
    modelDocSelectByName(part.doc(), "Front Plane", "PLANE", 0, 0, 0);
    ASSERT_EQ(modelDocInsertSketch(part.doc(), VARIANT_TRUE), S_OK);
    modelDocCreatePoint(part.doc(), 1, 1, 0);
    ISketchPtr sketch(modelDocGetEditedSketch(part.doc()));
    IConstraintManagerPtr manager = sketchGetConstraintManager(sketch);
    const auto point = readObjectArray(sketchGetPoints(sketch)).front();
    ASSERT_TRUE(constraintMgrAddConstraint(manager, makeDispatchArray({point}), 17));
    EXPECT_EQ(sketchGetStatus(sketch), 3);
    IDispatchPtr again = constraintMgrAddConstraint(manager, makeDispatchArray({point}), 17);
    ASSERT_TRUE(again);
    EXPECT_EQ(sketchGetStatus(sketch), 4);
    EXPECT_EQ(constraintMgrRemoveConstraint(manager, again), VARIANT_TRUE);
    EXPECT_EQ(sketchGetStatus(sketch), 3);
    // Something that is not an entity of this sketch gives no constraint.
    IDispatchPtr plane(partDocFeatureByName(IPartDocPtr(part.doc()), "Top Plane"));
    EXPECT_FALSE(constraintMgrAddConstraint(manager, makeDispatchArray({plane}), 17));
    EXPECT_EQ(sketchGetStatus(sketch), 3);
}

} // namespace
