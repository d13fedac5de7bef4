#pragma once
// 4x4 frames of the parametric locations: 16 doubles row by row, rows 0 to 2 the images
// of the x, y and z axes, row 3 the origin, element 15 = 1. Points are row vectors
// multiplied from the left, so "A followed by B" is the product A * B.

#include <array>

using paramFrameT = std::array<double, 16>;

// Two values are equal when they differ by at most this much (NaN is never equal).
inline constexpr double paramEqualTolerance = 1e-8;
bool paramNearlyEqual(double a, double b) noexcept;

paramFrameT paramIdentityFrame() noexcept;
// The frame held by 16 doubles (matrix must point to 16 values).
paramFrameT paramFrameFrom(const double* matrix) noexcept;
// C = A * B.
paramFrameT paramMultiplyFrames(const paramFrameT& a, const paramFrameT& b) noexcept;
// The inverse of a rigid frame: the rotation transposed, the translation replaced by
// minus the rotated translation. Exact only for orthonormal rows.
paramFrameT paramInvertRigidFrame(const paramFrameT& f) noexcept;

// Rz(gamma) * Ry(beta) * Rx(alpha) (degrees), written element by element.
paramFrameT rotationFromAngles(double alpha, double beta, double gamma) noexcept;
// Rx(c) * Ry(b) * Rz(a) (degrees).
paramFrameT rotationFromThreeAngles(double a, double b, double c) noexcept;
// The angles (degrees) of a frame taken as Rx(c) * Ry(b) * Rz(a): yaw a, pitch b, roll c.
// At a pitch of +-90 degrees the yaw is 0 and folded into the roll.
double yawAngle(const paramFrameT& f) noexcept;
double pitchAngle(const paramFrameT& f) noexcept;
double rollAngle(const paramFrameT& f) noexcept;
