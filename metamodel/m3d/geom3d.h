#pragma once
// 3D value types and the matrix helpers of the 3D model.
//
// A 4 x 4 matrix of the meta model is 16 values row by row: rows 0 to 2 are the X, Y and
// Z axes, row 3 the origin (elements 12 to 14), element 15 is 1. Points are row vectors
// multiplied from the left: p' = p . M, so a chain of placements is the product in the
// order in which they apply.

#include "metamodel/m2d/vector2d.h"

#include <array>
#include <memory>
#include <vector>

template <class T> struct vectorC3d {
    T x{};
    T y{};
    T z{};

    friend constexpr bool operator==(const vectorC3d&, const vectorC3d&) = default;
    constexpr vectorC3d operator+(const vectorC3d& o) const { return {x + o.x, y + o.y, z + o.z}; }
    constexpr vectorC3d operator-(const vectorC3d& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr vectorC3d operator*(T f) const { return {x * f, y * f, z * f}; }
    constexpr T dot(const vectorC3d& o) const { return x * o.x + y * o.y + z * o.z; }
    constexpr vectorC3d cross(const vectorC3d& o) const {
        return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
    }
};

template <class T> struct matrixC4x4 {
    std::array<T, 16> m{};

    constexpr T& operator[](int i) { return m[static_cast<std::size_t>(i)]; }
    constexpr const T& operator[](int i) const { return m[static_cast<std::size_t>(i)]; }
    constexpr T& at(int row, int col) { return m[static_cast<std::size_t>(row * 4 + col)]; }
    constexpr const T& at(int row, int col) const {
        return m[static_cast<std::size_t>(row * 4 + col)];
    }
    T* data() { return m.data(); }
    const T* data() const { return m.data(); }

    // The first three elements of a row: an axis (rows 0 to 2) or the origin (row 3).
    constexpr vectorC3d<T> row(int r) const { return {at(r, 0), at(r, 1), at(r, 2)}; }
    constexpr void setRow(int r, const vectorC3d<T>& v) {
        at(r, 0) = v.x;
        at(r, 1) = v.y;
        at(r, 2) = v.z;
    }

    static constexpr matrixC4x4 identity() {
        matrixC4x4 r;
        r.m[0] = r.m[5] = r.m[10] = r.m[15] = T(1);
        return r;
    }
    // The translation by t (rows 0 to 2 the unit axes).
    static constexpr matrixC4x4 translation(const vectorC3d<T>& t) {
        matrixC4x4 r = identity();
        r.setRow(3, t);
        return r;
    }

    friend constexpr bool operator==(const matrixC4x4&, const matrixC4x4&) = default;
};

// a . b: apply a first, then b (row-vector convention).
matrixC4x4<double> operator*(const matrixC4x4<double>& a, const matrixC4x4<double>& b);

// The point p (w = 1) through m.
vectorC3d<double> transformPoint(const vectorC3d<double>& p, const matrixC4x4<double>& m);
// The direction v (w = 0) through m: only the rows 0 to 2 act.
vectorC3d<double> transformDirection(const vectorC3d<double>& v, const matrixC4x4<double>& m);

// The frame with rows a, b, a x b and the origin; element 15 = 1, all others 0.
matrixC4x4<double> frameFromOriginXY(const vectorC3d<double>& origin, const vectorC3d<double>& a,
                                     const vectorC3d<double>& b);

// The inverse of a rigid transform: the rotation part transposed, the translation replaced
// by minus the translation rotated by the transposed rotation. Exact only for orthonormal
// axis rows; nothing is checked.
matrixC4x4<double> invertRigidTransform(const matrixC4x4<double>& m);

// The counter-clockwise angle in degrees from a to b, in [0, 360): both normalised,
// components below 1e-8 in magnitude set to 0, acos of the dot product clamped to [-1, 1],
// 360 minus it when a.x*b.y - a.y*b.x is negative; a result of 359.9999 or more is reduced
// by 359.9999 (so that angles a hair short of a full turn count as 0). A zero (or not
// finite) vector has no direction: the angle is 0.
double vectorAngle2d(const vectorC2d<double>& a, const vectorC2d<double>& b);

// Blocked 3D point arrays: sequences that grow by blocks of eight zero vectors, for the
// sweep builder and the parametric operations.
struct point3dBlockS {
    std::array<vectorC3d<double>, 8> v;
};

struct point3dBlockArrayS {
    std::vector<std::unique_ptr<point3dBlockS>> blocks;
    int blockCount() const { return static_cast<int>(blocks.size()); }
    int capacity() const { return static_cast<int>(blocks.capacity()); }
};

// Fills a block with eight zero vectors and answers it.
point3dBlockS& initPoint3dBlock(point3dBlockS& block);
// Adds one new zero block at the end; the block count grows by one. Answers the new block.
point3dBlockS& growPoint3dBlockArray(point3dBlockArrayS& array);
