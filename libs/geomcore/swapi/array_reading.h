// Reading the array answers of SolidWorks calls, with the checks the callers rely on, and
// building the array arguments they pass.
//
// Double arrays: an answer without an array raises E_FAIL; an array whose elements are not
// doubles (VT_R8), or that is shorter than what is read, raises E_INVALIDARG. Indexes count
// from the array's lower bound.
// Object arrays: VT_ARRAY|VT_DISPATCH, or VT_ARRAY|VT_UNKNOWN whose array carries both
// FADF_HAVEIID and FADF_DISPATCH; anything else raises E_INVALIDARG, except an empty VARIANT
// (no objects), which reads as an empty list.
#pragma once

#include "platform/sldworks/api/sldworks_api.h"

#include <cstddef>
#include <vector>

// True when the VARIANT holds an array (of any element type).
bool variantHoldsArray(const VARIANT& value);

// The elements of a double array; at least `minCount` of them must be there.
std::vector<double> readDoubleArray(const VARIANT& value, std::size_t minCount = 0);
// One element, `index` counted from the lower bound.
double doubleArrayAt(const VARIANT& value, long index);

// True when the VARIANT is an object array as described above.
bool isObjectArray(const VARIANT& value);
std::vector<IDispatchPtr> readObjectArray(const VARIANT& value);

// The strings of a VT_BSTR array (E_INVALIDARG for anything else).
std::vector<_bstr_t> readBstrArray(const VARIANT& value);
// The integers of a VT_I4 or VT_I2 array (E_INVALIDARG for anything else).
std::vector<long> readLongArray(const VARIANT& value);

// New arrays, lower bound 0; a failed allocation raises E_OUTOFMEMORY.
_variant_t makeDoubleArray(const std::vector<double>& values);
_variant_t makeLongArray(const std::vector<long>& values);
_variant_t makeDispatchArray(const std::vector<IDispatch*>& objects);
_variant_t makeBstrArray(const std::vector<_bstr_t>& texts);
