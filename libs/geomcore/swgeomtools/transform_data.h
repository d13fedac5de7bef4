// Transforms between the meta model and SolidWorks. A meta matrix is 16 doubles row by row:
// rows 0 to 2 the axes, row 3 the origin (row vectors multiplied from the left). SolidWorks
// transform data is 16 doubles: the rotation in 0 to 8 (row by row), the translation in 9 to
// 11, the scale in 12, 13 to 15 zero.
#pragma once

#include "metamodel/m3d/geom3d.h"
#include "platform/com/com.h"

#include <array>

// Rows 0 to 3 (first three elements each) into 0 to 11, 1.0 into 12, 0.0 into 13 to 15.
void transformToArrayData(const matrixC4x4<double>& matrix, std::array<double, 16>& data);

// The identity with rows 0 to 3 taken from elements 0 to 11 of the VARIANT's double array;
// the fourth column stays (0, 0, 0, 1) and the scale is not read. A VARIANT without an array
// raises E_FAIL, one that does not hold doubles or holds fewer than 12 raises E_INVALIDARG.
void matrixFromVariant(matrixC4x4<double>& matrix, const VARIANT& value);

// The 16 values of transformToArrayData as a VARIANT array of doubles (lower bound 0).
_variant_t transformToVariant(const matrixC4x4<double>& transform);

// A VT_BOOL is true when non-zero; another type is converted to VT_BOOL (a failed conversion
// raises its HRESULT) and is true when it gives VARIANT_TRUE.
bool variantToBool(const VARIANT& value);
