// What the face and edge searches of the builders rely on: exact closest points on planes and
// cylinders, no normal for curved faces, surface kinds, and edges found through a feature's
// faces.
#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class SessionSearch : public ::testing::Test {
protected:
    void SetUp() override {
        part.block(10, 20, 5);
        cut = part.extrude(part.circleSketch("Front Plane", 5, 10, 2), 5, true, true);
    }

    std::vector<IFace2Ptr> allFaces() {
        std::vector<IFace2Ptr> faces;
        for (const auto& body : readObjectArray(partDocGetBodies(IPartDocPtr(part.doc()), 0)))
            for (IFace2Ptr face(bodyGetFirstFace(IBodyPtr(body))); face;
                 face = faceGetNextFace(face))
                faces.push_back(face);
        return faces;
    }

    partFixtureC part;
    std::string cut;
};

TEST_F(SessionSearch, CylinderWallAnswersExactClosestPointsAndNoNormal) {
    IFace2Ptr wall;
    for (const auto& face : allFaces())
        if (surfaceIsCylinder(ISurfacePtr(faceGetSurface(face))) == VARIANT_TRUE)
            wall = face;
    ASSERT_TRUE(wall);
    ISurfacePtr surface(faceGetSurface(wall));
    EXPECT_EQ(surfaceIsPlane(surface), VARIANT_FALSE);
    EXPECT_FALSE(variantHoldsArray(faceGetNormal(wall)));
    EXPECT_FALSE(variantHoldsArray(surfaceGetPlaneData(surface)));

    const double onWall[3] = {5 + 2 * std::cos(0.3), 10 + 2 * std::sin(0.3), 2.5};
    const auto closest =
        readDoubleArray(faceGetClosestPoint(wall, onWall[0], onWall[1], onWall[2]), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(closest[i], onWall[i], 1e-8);
}

TEST_F(SessionSearch, EdgeOfAFeatureFoundThroughItsFaces) {
    IFeaturePtr feature(partDocFeatureByName(IPartDocPtr(part.doc()), cut.c_str()));
    ASSERT_TRUE(feature);
    const double point[3] = {5, 12, 5}; // on the hole's rim at the front face
    int found = 0;
    int circles = 0;
    for (const auto& face : readObjectArray(featureGetFaces(feature)))
        for (const auto& object : readObjectArray(faceGetEdgeList(IFaceObjectPtr(face)))) {
            IEdgePtr edge(object);
            const auto q =
                readDoubleArray(edgeGetClosestPoint(edge, point[0], point[1], point[2]), 3);
            const double d = std::hypot(q[0] - point[0], q[1] - point[1], q[2] - point[2]);
            if (d < 1e-6) {
                ++found;
                circles += curveIsCircle(ICurvePtr(edgeGetCurve(edge))) == VARIANT_TRUE;
            }
        }
    // Only the rim circle passes through the point: the wall's seam lies at another angle.
    EXPECT_EQ(found, 1);
    EXPECT_EQ(circles, 1);
}

TEST_F(SessionSearch, PlanarFacesHaveOutwardNormalsAndPlaneData) {
    int planar = 0;
    for (const auto& face : allFaces()) {
        ISurfacePtr surface(faceGetSurface(face));
        if (surfaceIsPlane(surface) != VARIANT_TRUE)
            continue;
        ++planar;
        const auto n = readDoubleArray(faceGetNormal(face), 3);
        const auto data = readDoubleArray(surfaceGetPlaneData(surface), 6);
        // The plane's root point lies in the face's plane.
        const auto q = readDoubleArray(faceGetClosestPoint(face, data[3], data[4], data[5]), 3);
        EXPECT_NEAR((data[3] - q[0]) * n[0] + (data[4] - q[1]) * n[1] + (data[5] - q[2]) * n[2],
                    0.0, 1e-9);
        EXPECT_NEAR(std::hypot(n[0], n[1], n[2]), 1.0, 1e-12);
        // Outward: the normal points away from the block's centre (5, 10, 2.5), by the full
        // half-extent of the block along that axis.
        const double away = (q[0] - 5) * n[0] + (q[1] - 10) * n[1] + (q[2] - 2.5) * n[2];
        EXPECT_TRUE(std::fabs(away - 5) < 1e-9 || std::fabs(away - 10) < 1e-9 ||
                    std::fabs(away - 2.5) < 1e-9)
            << "normal " << n[0] << " " << n[1] << " " << n[2] << " at " << q[0] << " " << q[1]
            << " " << q[2];
    }
    EXPECT_EQ(planar, 6);
}

TEST_F(SessionSearch, FaceCountAndBodyKinds) {
    IPartDocPtr doc(part.doc());
    EXPECT_EQ(readObjectArray(partDocGetBodies(doc, 1)).size(), 0u);
    EXPECT_EQ(readObjectArray(partDocListBodies(doc, 0, VARIANT_FALSE)).size(), 1u);
    EXPECT_EQ(readObjectArray(partDocGetBodies(doc, -1)).size(), 1u);
    EXPECT_EQ(bodyGetFaceCount(IBodyPtr(readObjectArray(partDocGetBodies(doc, 0)).front())), 7);
}

TEST_F(SessionSearch, BodiesHaveNoSeamEdges) {
    // The hole's wall closes on itself, but as in SolidWorks no seam edge is answered: every
    // edge of the body lies between two faces, and the wall has its two rims only.
    int between = 0;
    for (const auto& body : readObjectArray(partDocGetBodies(IPartDocPtr(part.doc()), 0)))
        for (const auto& object : readObjectArray(bodyGetEdges(IBodyPtr(body)))) {
            IEdgePtr edge(object);
            _variant_t faces;
            EXPECT_EQ(edge->GetTwoFaces(faces.GetAddress()), S_OK);
            const auto found = readObjectArray(faces);
            ASSERT_EQ(found.size(), 2u);
            EXPECT_NE(found[0], found[1]);
            ++between;
        }
    EXPECT_EQ(between, 14); // the block's 12 edges and the hole's two rims
    for (const auto& face : allFaces()) {
        if (surfaceIsCylinder(ISurfacePtr(faceGetSurface(face))) != VARIANT_TRUE)
            continue;
        for (const auto& object : readObjectArray(faceGetEdges(face)))
            EXPECT_EQ(curveIsCircle(ICurvePtr(edgeGetCurve(IEdgePtr(object)))), VARIANT_TRUE);
    }
}

} // namespace
