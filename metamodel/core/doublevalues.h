#pragma once
// Numeric value lists shared by the 2D and 3D views: nodes such as (POINT 1.0 2.0) or
// (POINT3D 0 0 5) whose value children are numbers.

#include "platform/host/metatree/metatree_api.h"

#include <array>

// Writes n doubles into node's value children: in place when it has exactly n children,
// otherwise after clearing them and appending n new double nodes (a key node keeps its
// tag). False for a null node, a node that is no list, n < 0 or values null with n > 0.
bool setDoubleValues(metaTreePtrT node, const double* values, int n);

// The two (three) doubles of a node that holds exactly two (three) number children,
// with *ok = 1; otherwise the zero vector and *ok = 0.
std::array<double, 2> readVector2d(metaTreePtrT node, int* ok = nullptr);
std::array<double, 3> readVector3d(metaTreePtrT node, int* ok = nullptr);
