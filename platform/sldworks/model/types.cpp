#include "platform/sldworks/model/types.h"

#include "platform/sldworks/model/feature.h"

#include <cmath>

namespace swsim {

std::array<double, 16> Frame::modelToLocalData() const {
    // Row-vector convention: p_local = p_model * R + t; R's columns are the axes.
    std::array<double, 16> d{};
    const Vec3 axes[3] = {xDir, yDir, zDir};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const Vec3& a = axes[col];
            d[static_cast<size_t>(row * 3 + col)] = row == 0 ? a.x : (row == 1 ? a.y : a.z);
        }
    }
    d[9] = -dot(origin, xDir);
    d[10] = -dot(origin, yDir);
    d[11] = -dot(origin, zDir);
    d[12] = 1.0;
    return d;
}

bool Frame::isRigid() const {
    constexpr double tol = 1e-9;
    auto unit = [](Vec3 v) { return std::abs(dot(v, v) - 1.0) <= tol; };
    return unit(xDir) && unit(yDir) && unit(zDir) && std::abs(dot(xDir, yDir)) <= tol &&
           std::abs(dot(yDir, zDir)) <= tol && std::abs(dot(zDir, xDir)) <= tol &&
           dot(cross(xDir, yDir), zDir) > 0.0 && inModelSpace(origin);
}

std::array<double, 16> Frame::localToModelData() const {
    // p_model = p_local * R^T + origin: the rows of the rotation are the axes.
    std::array<double, 16> d{};
    const Vec3 axes[3] = {xDir, yDir, zDir};
    for (int row = 0; row < 3; ++row) {
        d[static_cast<size_t>(row * 3 + 0)] = axes[row].x;
        d[static_cast<size_t>(row * 3 + 1)] = axes[row].y;
        d[static_cast<size_t>(row * 3 + 2)] = axes[row].z;
    }
    d[9] = origin.x;
    d[10] = origin.y;
    d[11] = origin.z;
    d[12] = 1.0;
    return d;
}

std::vector<double> RefPlane::geometryArray() const {
    const Frame& f = frame_;
    return {f.origin.x, f.origin.y, f.origin.z, f.xDir.x, f.xDir.y, f.xDir.z,
            f.zDir.x,   f.zDir.y,   f.zDir.z,   f.yDir.x, f.yDir.y, f.yDir.z};
}

} // namespace swsim
