// Face and edge searches against real faces of the simulated session: a block
// [0, 4] x [0, 3] x [0, 2] and, where curved faces matter, a cylinder beside it.
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swgeomtools/face_search.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

namespace {

class FaceSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        f.block(4, 3, 2);
        doc = f.docPtr();
        f.kit().reset();
    }
    // A cylinder of radius 1 around (10, 0) along +Z, height 2.
    void addCylinder() {
        f.extrude(f.circleSketch("Front Plane", 10, 0, 1), 2);
        f.kit().reset();
    }
    static vectorC3d<double> normalOf(IFace2* face) {
        const std::vector<double> n = readDoubleArray(faceGetNormal(face), 3);
        return {n[0], n[1], n[2]};
    }
    static bool isCylinder(IFace2* face) {
        ISurfacePtr surface(faceGetSurface(face));
        return surfaceIsCylinder(surface) != VARIANT_FALSE;
    }
    // Some face of the part, to see that searches do not hand it back.
    IFace2Ptr anyFace() {
        IPartDocPtr part(doc);
        const std::vector<IDispatchPtr> bodies = readObjectArray(partDocGetBodies(part, 0));
        return IFace2Ptr(bodyGetFirstFace(IBodyPtr(bodies.at(0))));
    }

    partFixtureC f;
    IModelDoc2Ptr doc;
};

TEST_F(FaceSearchTest, PlanarFaceByPointAndNormal) {
    IFace2Ptr face;
    ASSERT_EQ(getPlanarFaceFromPointAndNormal(doc, {1, 1, 2}, {0, 0, 1}, face), 1);
    ASSERT_TRUE(face);
    EXPECT_EQ(normalOf(face), (vectorC3d<double>{0, 0, 1}));
    // The side face x = 4.
    ASSERT_EQ(getPlanarFaceFromPointAndNormal(doc, {4, 1, 1}, {1, 0, 0}, face), 1);
    EXPECT_EQ(normalOf(face), (vectorC3d<double>{1, 0, 0}));
}

TEST_F(FaceSearchTest, PlanarSearchRejectsWrongNormalOffsetPlaneAndOutsidePoints) {
    IFace2Ptr face = anyFace();
    ASSERT_TRUE(face);
    // Opposite normal: not found, and the caller's face is not left in place.
    EXPECT_EQ(getPlanarFaceFromPointAndNormal(doc, {1, 1, 2}, {0, 0, -1}, face), 0);
    EXPECT_FALSE(face);
    EXPECT_EQ(getPlanarFaceFromPointAndNormal(doc, {1, 1, 2 + 1e-6}, {0, 0, 1}, face), 0);
    EXPECT_EQ(getPlanarFaceFromPointAndNormal(doc, {1, 1, 2 + 0.5e-6}, {0, 0, 1}, face), 1);
    // In the plane of the top face but beside the block.
    EXPECT_EQ(getPlanarFaceFromPointAndNormal(doc, {7, 1, 2}, {0, 0, 1}, face), 0);
}

TEST_F(FaceSearchTest, PlanarSearchStopsAtABodyOfTooManyFaces) {
    IFace2Ptr face = anyFace();
    f.kit().reset();
    f.kit().plan().scriptValue("IBody::GetFaceCount", _variant_t(51L));
    EXPECT_EQ(getPlanarFaceFromPointAndNormal(doc, {1, 1, 2}, {0, 0, 1}, face), 0);
    EXPECT_FALSE(face);
    EXPECT_EQ(f.kit().journal().count("IBody::GetFirstFace"), 0u);
    f.kit().reset();
    f.kit().plan().scriptValue("IBody::GetFaceCount", _variant_t(50L));
    EXPECT_EQ(getPlanarFaceFromPointAndNormal(doc, {1, 1, 2}, {0, 0, 1}, face), 1);
}

TEST_F(FaceSearchTest, PlanarSearchErrors) {
    IFace2Ptr face;
    f.kit().plan().malformArray("ISurface::GetPlaneData", malformedArrayE::tooShort);
    try {
        getPlanarFaceFromPointAndNormal(doc, {1, 1, 2}, {0, 0, 1}, face);
        FAIL();
    } catch (const _com_error& e) {
        EXPECT_EQ(e.Error(), E_INVALIDARG);
    }
    f.kit().reset();
    f.kit().plan().refuseInterface("IPartDoc");
    try {
        getPlanarFaceFromPointAndNormal(doc, {1, 1, 2}, {0, 0, 1}, face);
        FAIL();
    } catch (const _com_error& e) {
        EXPECT_EQ(e.Error(), E_POINTER);
    }
}

TEST_F(FaceSearchTest, FaceFromPointRaySelection) {
    const double point[3] = {1, 1, 2};
    const double down[3] = {0, 0, -1};
    IFace2Ptr face = anyFace();
    f.kit().reset();
    ASSERT_EQ(getFaceFromPoint(point, down, doc, faceKindPlane, 0, face), 1);
    EXPECT_EQ(normalOf(face), (vectorC3d<double>{0, 0, 1}));
    const auto ray = f.kit().journal().calls("IModelDoc2::SelectByRay");
    ASSERT_EQ(ray.size(), 1u);
    EXPECT_EQ(ray[0].args, (std::vector<std::string>{"1", "1", "2", "0", "0", "-1", "1e-06", "2"}));
    EXPECT_EQ(f.kit().journal().count("ISelectionManager::CreateSelectionData"), 1u);
    // The ray hit needs no walk.
    EXPECT_EQ(f.kit().journal().count("IPartDoc::GetBodies"), 0u);
}

TEST_F(FaceSearchTest, FaceFromPointRejectsNormalAlongDirection) {
    // On the edge between the top face (+Z) and the front face y = 0 (-Y).
    const double point[3] = {1, 0, 2};
    const double up[3] = {0, 0, 1};
    IFace2Ptr face;
    ASSERT_EQ(getFaceFromPoint(point, up, doc, 0, 0, face), 1);
    EXPECT_EQ(normalOf(face), (vectorC3d<double>{0, -1, 0}));
    const double outY[3] = {0, -1, 0};
    ASSERT_EQ(getFaceFromPoint(point, outY, doc, 0, 0, face), 1);
    EXPECT_EQ(normalOf(face), (vectorC3d<double>{0, 0, 1}));
    // In the middle of the top face, looking along its normal: nothing.
    const double middle[3] = {1, 1, 2};
    face = anyFace();
    EXPECT_EQ(getFaceFromPoint(middle, up, doc, 0, 0, face), 0);
    EXPECT_FALSE(face);
}

TEST_F(FaceSearchTest, FaceFromPointKindFilter) {
    addCylinder();
    // On the cylinder's side, half way up.
    const double point[3] = {11, 0, 1};
    const double inward[3] = {-1, 0, 0};
    IFace2Ptr face;
    EXPECT_EQ(getFaceFromPoint(point, inward, doc, faceKindPlane, 0, face), 0);
    EXPECT_FALSE(face);
    ASSERT_EQ(getFaceFromPoint(point, inward, doc, 0, 0, face), 1);
    EXPECT_TRUE(isCylinder(face));
    ASSERT_EQ(getFaceFromPoint(point, inward, doc, faceKindPlane | faceKindCylinder, 0, face), 1);
    EXPECT_TRUE(isCylinder(face));
    EXPECT_EQ(getFaceFromPoint(point, inward, doc, faceKindCone | faceKindOffset, 0, face), 0);
}

TEST_F(FaceSearchTest, FaceFromPointWalksWhenRayMisses) {
    const double point[3] = {1, 1, 2};
    const double down[3] = {0, 0, -1};
    f.kit().plan().returnNull("IModelDoc2::SelectByRay");
    IFace2Ptr face;
    ASSERT_EQ(getFaceFromPoint(point, down, doc, 0, 0, face), 1);
    EXPECT_EQ(normalOf(face), (vectorC3d<double>{0, 0, 1}));
    EXPECT_EQ(f.kit().journal().calls("IPartDoc::GetBodies").at(0).args,
              std::vector<std::string>{"0"});
    // Sheet bodies only: the block's faces are not searched.
    EXPECT_EQ(getFaceFromPoint(point, down, doc, 0, 1, face), 0);
}

TEST_F(FaceSearchTest, BodyEdgeFromPoint) {
    // The edge x = 4, y = 0 of the block, half way up.
    const double on[3] = {4, 0, 1};
    IEdgePtr edge = getBodyEntityFromPoint(doc, on);
    ASSERT_TRUE(edge);
    const std::vector<double> c = readDoubleArray(edgeGetClosestPoint(edge, 4, 0, 1), 3);
    EXPECT_NEAR(c[0], 4, 1e-12);
    EXPECT_NEAR(c[1], 0, 1e-12);
    const double near[3] = {4 + 0.5e-7, 0, 1};
    EXPECT_TRUE(getBodyEntityFromPoint(doc, near));
    const double off[3] = {4 + 2e-7, 0, 1};
    EXPECT_FALSE(getBodyEntityFromPoint(doc, off));
}

TEST_F(FaceSearchTest, BodyEdgeSkipsEdgesThatFail) {
    // The corner (4, 0, 2) lies on three edges. Find which examined edge is the first of them.
    const double corner[3] = {4, 0, 2};
    IEdgePtr first = getBodyEntityFromPoint(doc, corner);
    ASSERT_TRUE(first);
    const int n = static_cast<int>(f.kit().journal().count("IEdge::GetClosestPoint"));
    // That edge fails to answer, another one before it answers no array of doubles: the
    // search goes on to the next edge through the corner.
    // Both faults need an edge examined before the first one through the corner.
    ASSERT_GT(n, 1);
    f.kit().reset();
    f.kit().plan().failWith("IEdge::GetClosestPoint", E_FAIL, n);
    f.kit().plan().malformArray("IEdge::GetClosestPoint", malformedArrayE::wrongElementType, n - 1);
    IEdgePtr next = getBodyEntityFromPoint(doc, corner);
    ASSERT_TRUE(next);
    EXPECT_NE(next, first);
    EXPECT_GT(static_cast<int>(f.kit().journal().count("IEdge::GetClosestPoint")), n);
}

TEST_F(FaceSearchTest, BodyEdgeOnAnAssemblyAsksNothingElse) {
    const double on[3] = {4, 0, 1};
    f.kit().plan().scriptValue("IModelDoc2::GetType", _variant_t(2L));
    EXPECT_FALSE(getBodyEntityFromPoint(doc, on));
    EXPECT_EQ(f.kit().journal().entries().size(), 1u);
}

} // namespace
