// Where an assembly member goes: its "MAT" read as a rigid transform for SolidWorks.
#pragma once

#include "metamodel/core/metaobject.h"
#include "metamodel/m3d/geom3d.h"

// Catalogue placements are written rounded, often to four decimals (30 degrees as 0.866 and
// 0.5): the axes of such a rotation are off unit length, and turned off their places, by up
// to about 1e-4 (two axes off a right angle by up to twice that). Within this bound a
// placement is taken as the rotation it rounds; beyond it, it is no rotation.
inline constexpr double placementTolerance = 1e-4;

// The member's placement as a rigid transform, its axes made exactly orthonormal (X kept in
// direction, Y made square to it, Z = X x Y); the identity without a "MAT". Throws errorC
// naming what keeps it from being one, with the value that is off.
matrixC4x4<double> memberPlacement(const metaObjectC& member);
