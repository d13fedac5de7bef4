// Small value types of the simulated SolidWorks model: points, vectors, frames, boxes,
// colours, kinds of surfaces and curves, and the model's error class. No OpenCASCADE here,
// so that users of the model need not include it.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace swsim {

// Raised for bad input that cannot be answered by a result code (files, malformed data).
class ModelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Vec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    friend Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
    friend Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
    friend Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
    friend Vec3 operator*(double s, Vec3 a) { return a * s; }
    friend Vec3 operator-(Vec3 a) { return {-a.x, -a.y, -a.z}; }
    friend bool operator==(const Vec3&, const Vec3&) = default;
};

inline double dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double norm(Vec3 a) {
    return std::sqrt(dot(a, a));
}
inline double distance(Vec3 a, Vec3 b) {
    return norm(a - b);
}
// The unit vector of `a`; the zero vector stays zero.
inline Vec3 normalized(Vec3 a) {
    const double n = norm(a);
    return n > 0.0 ? a * (1.0 / n) : a;
}

// The model space: every coordinate and length the model takes (sketch entities, planes,
// feature depths and diameters, pattern steps, pick points) lies within +-kModelSpace of the
// origin, in the unit the model stores lengths in (millimetres as the build gives them):
// 500 m either way, as SolidWorks bounds its own. OpenCASCADE works to a fixed tolerance of
// 1e-7, which a double can no longer resolve far beyond 1e8; beyond the bound its algorithms
// crash or spin rather than fail, and near 1e6 a small feature on a huge one comes out of a
// replay with other faces than it was built with.
inline constexpr double kModelSpace = 5e5;

// Whether a coordinate or length lies in the model space: false for NaN and infinities.
inline bool inModelSpace(double v) {
    return std::abs(v) <= kModelSpace;
}
inline bool inModelSpace(Vec3 v) {
    return inModelSpace(v.x) && inModelSpace(v.y) && inModelSpace(v.z);
}

// The reach of construction values the model does not occupy: the centre of an arc that is
// nearly straight may lie far outside the model space while the arc lies well inside. Up to
// here a double still resolves a point on the arc to 2e-9, a fiftieth of OpenCASCADE's
// tolerance; a flatter arc is refused as collinear.
inline constexpr double kConstructionReach = 1e7;

inline bool inConstructionReach(double v) {
    return std::abs(v) <= kConstructionReach;
}
inline bool inConstructionReach(Vec3 v) {
    return inConstructionReach(v.x) && inConstructionReach(v.y) && inConstructionReach(v.z);
}

// A point in the coordinates of a 2D sketch.
struct Point2 {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const Point2&, const Point2&) = default;
};

// An orthonormal right-handed frame in model space: a plane's or a sketch's placement.
// A point (x, y, z) of the frame is origin + x * xDir + y * yDir + z * zDir in the model.
struct Frame {
    Vec3 origin{};
    Vec3 xDir{1, 0, 0};
    Vec3 yDir{0, 1, 0};
    Vec3 zDir{0, 0, 1};

    Vec3 toModel(Vec3 local) const {
        return origin + xDir * local.x + yDir * local.y + zDir * local.z;
    }
    Vec3 toLocal(Vec3 model) const {
        const Vec3 d = model - origin;
        return {dot(d, xDir), dot(d, yDir), dot(d, zDir)};
    }
    // SolidWorks transform data (16 doubles) of the model-to-frame transform: elements 0-8
    // the rotation row by row, whose columns are the frame's X, Y and Z axes (a model point
    // p as a row vector times it gives the frame coordinates), 9-11 the translation, 12 the
    // scale 1, 13-15 zero.
    std::array<double, 16> modelToLocalData() const;
    // The inverse: frame-to-model; rows 0-2 are the axes, 9-11 (the translation) the origin.
    std::array<double, 16> localToModelData() const;
    // Axes of unit length at right angles, right-handed (within 1e-9), and an origin in the
    // model space: a placement that moves without scaling or mirroring, and stays where the
    // session can compute (an origin of 1e308 is finite, yet no ray cast reaches it).
    bool isRigid() const;
};

struct Box {
    Vec3 min{};
    Vec3 max{};
    bool empty = true;
};

struct Rgb {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct MassProperties {
    double volume = 0.0;
    double area = 0.0;
    Vec3 centreOfMass{};
};

// Kinds of bodies as the SolidWorks calls number them.
enum class BodyKind : int { Solid = 0, Sheet = 1 };

enum class SurfaceKind {
    Plane,
    Cylinder,
    Cone,
    Sphere,
    Torus,
    Revolved, // surface of revolution
    Swept,    // surface of linear extrusion
    Offset,
    Blend, // BSpline or Bezier
    Other,
};

// Geometry of a face's underlying surface. Which fields are meaningful depends on the kind:
// Plane: point, axis (the surface's normal, NOT corrected for the face's orientation);
// Cylinder: point on the axis, axis, radius; Cone: apex-side reference point on the axis
// (the location of the cone's reference circle), axis (the cone widens along it), radius (of
// the reference circle), semiAngle (radians, > 0); Sphere: point (centre), radius; Torus: point
// (centre), axis, radius (major), minorRadius; Revolved: point and axis of revolution; Swept: axis
// (the extrusion direction); other kinds: nothing.
struct SurfaceInfo {
    SurfaceKind kind = SurfaceKind::Other;
    Vec3 point{};
    Vec3 axis{};
    double radius = 0.0;
    double minorRadius = 0.0;
    double semiAngle = 0.0;
};

enum class CurveKind { Line, Circle, Ellipse, BSpline, Other };

struct CurveInfo {
    CurveKind kind = CurveKind::Other;
    Vec3 start{}; // the edge's first and last points (equal for a closed edge)
    Vec3 end{};
    Vec3 centre{}; // circle: centre, axis (unit), radius
    Vec3 axis{};
    double radius = 0.0;
    Vec3 direction{}; // line: unit direction from start to end
    double length = 0.0;
    bool closed = false;
};

} // namespace swsim
