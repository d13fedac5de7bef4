// Matrix helpers, vectorAngle2d and the blocked point arrays.

#include "metamodel/m3d/geom3d.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using V2 = vectorC2d<double>;
using V3 = vectorC3d<double>;
using M = matrixC4x4<double>;

void expectNear(const M& a, const M& b, double tol = 1e-12) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(a[i], b[i], tol) << "element " << i;
}

TEST(M3dGeom, FrameFromOriginXYHasCrossProductRowAndOrigin) {
    const M f = frameFromOriginXY({1, 2, 3}, {0, 1, 0}, {0, 0, 1});
    EXPECT_EQ(f.row(0), (V3{0, 1, 0}));
    EXPECT_EQ(f.row(1), (V3{0, 0, 1}));
    EXPECT_EQ(f.row(2), (V3{1, 0, 0})) << "a x b";
    EXPECT_EQ(f.row(3), (V3{1, 2, 3}));
    EXPECT_EQ(f[15], 1.0);
    for (int i : {3, 7, 11})
        EXPECT_EQ(f[i], 0.0);
}

TEST(M3dGeom, InvertRigidTransformTimesMatrixIsIdentity) {
    const double c = std::cos(0.7);
    const double s = std::sin(0.7);
    // A rotation about an inclined axis, then a translation.
    const M rz = frameFromOriginXY({0, 0, 0}, {c, s, 0}, {-s, c, 0});
    const M rx = frameFromOriginXY({0, 0, 0}, {1, 0, 0}, {0, c, s});
    M m = rz * rx;
    m.setRow(3, {5, -7, 11});
    const M inv = invertRigidTransform(m);
    expectNear(inv * m, M::identity());
    expectNear(m * inv, M::identity());
    // A point through m and back.
    const V3 p{1.5, -2, 4};
    const V3 back = transformPoint(transformPoint(p, m), inv);
    EXPECT_NEAR(back.x, p.x, 1e-12);
    EXPECT_NEAR(back.y, p.y, 1e-12);
    EXPECT_NEAR(back.z, p.z, 1e-12);
}

TEST(M3dGeom, ProductIsInOrderOfApplication) {
    const M t = M::translation({10, 0, 0});
    const M r = frameFromOriginXY({0, 0, 0}, {0, 1, 0}, {-1, 0, 0}); // 90 degrees about z
    // Translate first, then rotate: (0,0,0) -> (10,0,0) -> (0,10,0).
    const V3 p = transformPoint({0, 0, 0}, t * r);
    EXPECT_NEAR(p.x, 0, 1e-12);
    EXPECT_NEAR(p.y, 10, 1e-12);
    EXPECT_EQ(transformDirection({1, 0, 0}, t), (V3{1, 0, 0})) << "directions ignore row 3";
}

TEST(M3dGeom, VectorAngle2dIsCounterClockwiseInDegrees) {
    EXPECT_NEAR(vectorAngle2d({1, 0}, {0, 1}), 90.0, 1e-9);
    EXPECT_NEAR(vectorAngle2d({1, 0}, {0, -1}), 270.0, 1e-9);
    EXPECT_NEAR(vectorAngle2d({1, 0}, {-1, 0}), 180.0, 1e-9);
    EXPECT_NEAR(vectorAngle2d({2, 2}, {0, 5}), 45.0, 1e-9) << "lengths do not matter";
    EXPECT_NEAR(vectorAngle2d({0, 1}, {1, 0}), 270.0, 1e-9);
    EXPECT_EQ(vectorAngle2d({1, 0}, {1, 0}), 0.0);
}

TEST(M3dGeom, VectorAngle2dNearFullTurnAndTinyComponents) {
    // 359.99995 degrees: at or above 359.9999, so reduced by 359.9999.
    const double a = -0.00005 * M_PI / 180.0;
    const double r = vectorAngle2d({1, 0}, {std::cos(a), std::sin(a)});
    EXPECT_NEAR(r, 0.00005, 1e-6);
    EXPECT_LT(r, 1.0);
    // 359.9 stays.
    const double b = -0.1 * M_PI / 180.0;
    EXPECT_NEAR(vectorAngle2d({1, 0}, {std::cos(b), std::sin(b)}), 359.9, 1e-6);
    // A component below 1e-8 after normalising counts as 0: no angle of 360 - tiny.
    EXPECT_EQ(vectorAngle2d({1, 0}, {1, -1e-10}), 0.0);
}

TEST(M3dGeom, VectorAngle2dOfZeroOrNonFiniteVectorIsZero) {
    EXPECT_EQ(vectorAngle2d({0, 0}, {0, 1}), 0.0);
    EXPECT_EQ(vectorAngle2d({0, 1}, {0, 0}), 0.0);
    EXPECT_EQ(vectorAngle2d({NAN, 1}, {0, 1}), 0.0);
    EXPECT_EQ(vectorAngle2d({INFINITY, 0}, {0, 1}), 0.0);
}

TEST(M3dGeom, Point3dBlockArrayGrowsByZeroBlocks) {
    point3dBlockArrayS arr;
    point3dBlockS& b0 = growPoint3dBlockArray(arr);
    b0.v[7] = {1, 2, 3};
    point3dBlockS& b1 = growPoint3dBlockArray(arr);
    EXPECT_EQ(arr.blockCount(), 2);
    EXPECT_EQ(arr.blocks[0]->v[7], (V3{1, 2, 3})) << "growing keeps earlier blocks";
    for (const V3& v : b1.v)
        EXPECT_EQ(v, (V3{}));
    b1.v[0] = {4, 4, 4};
    EXPECT_EQ(initPoint3dBlock(b1).v[0], (V3{}));
}

} // namespace
