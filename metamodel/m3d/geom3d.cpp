#include "metamodel/m3d/geom3d.h"

#include <algorithm>
#include <cmath>

matrixC4x4<double> operator*(const matrixC4x4<double>& a, const matrixC4x4<double>& b) {
    matrixC4x4<double> r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double s = 0.0;
            for (int k = 0; k < 4; ++k)
                s += a.at(i, k) * b.at(k, j);
            r.at(i, j) = s;
        }
    return r;
}

vectorC3d<double> transformPoint(const vectorC3d<double>& p, const matrixC4x4<double>& m) {
    return m.row(0) * p.x + m.row(1) * p.y + m.row(2) * p.z + m.row(3);
}

vectorC3d<double> transformDirection(const vectorC3d<double>& v, const matrixC4x4<double>& m) {
    return m.row(0) * v.x + m.row(1) * v.y + m.row(2) * v.z;
}

matrixC4x4<double> frameFromOriginXY(const vectorC3d<double>& origin, const vectorC3d<double>& a,
                                     const vectorC3d<double>& b) {
    matrixC4x4<double> r;
    r.setRow(0, a);
    r.setRow(1, b);
    r.setRow(2, a.cross(b));
    r.setRow(3, origin);
    r[15] = 1.0;
    return r;
}

matrixC4x4<double> invertRigidTransform(const matrixC4x4<double>& m) {
    matrixC4x4<double> r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.at(i, j) = m.at(j, i);
    const vectorC3d<double> t = m.row(3);
    // The new origin: -t expressed in the axes, i.e. -(t . column j of the transposed).
    for (int j = 0; j < 3; ++j)
        r.at(3, j) = -(t.x * r.at(0, j) + t.y * r.at(1, j) + t.z * r.at(2, j));
    r[15] = 1.0;
    return r;
}

namespace {

// Normalised with tiny components cleared; false for a vector without a direction.
bool unitCleaned(vectorC2d<double>& v) {
    const double len = std::hypot(v.x, v.y);
    if (!std::isfinite(len) || len == 0.0)
        return false;
    v.x /= len;
    v.y /= len;
    if (std::fabs(v.x) < 1e-8)
        v.x = 0.0;
    if (std::fabs(v.y) < 1e-8)
        v.y = 0.0;
    return true;
}

} // namespace

double vectorAngle2d(const vectorC2d<double>& a, const vectorC2d<double>& b) {
    vectorC2d<double> u = a;
    vectorC2d<double> v = b;
    if (!unitCleaned(u) || !unitCleaned(v))
        return 0.0;
    const double dot = std::clamp(u.x * v.x + u.y * v.y, -1.0, 1.0);
    double angle = std::acos(dot) * 180.0 / M_PI;
    if (u.x * v.y - u.y * v.x < 0.0)
        angle = 360.0 - angle;
    if (angle >= 359.9999)
        angle -= 359.9999;
    return angle;
}

point3dBlockS& initPoint3dBlock(point3dBlockS& block) {
    block.v.fill(vectorC3d<double>{});
    return block;
}

point3dBlockS& growPoint3dBlockArray(point3dBlockArrayS& array) {
    auto block = std::make_unique<point3dBlockS>();
    initPoint3dBlock(*block);
    array.blocks.push_back(std::move(block));
    return *array.blocks.back();
}
