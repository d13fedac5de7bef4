// SAFEARRAY helpers of the build tools: growing an array the caller holds locked, appending
// interface pointers and doubles, copying a double array, and handing an array over as a
// VARIANT.
#pragma once

#include "platform/com/com.h"

// Resizes a one-dimensional array that the caller holds locked (one lock of the caller's is
// lifted for the resize and taken again). A null array raises E_FAIL; a fixed-size array
// answers E_FAIL. Otherwise the redim's failure, else the lock's result. The caller's lock
// is taken again whatever the redim answered, so the caller never finds its array unlocked.
HRESULT safeArrayResize(SAFEARRAY* array, ULONG count, LONG lowerBound);

// Stores `object` at `index` of a VT_DISPATCH (or VT_UNKNOWN) array: E_FAIL for a null
// pointer, E_INVALIDARG for an index outside the bounds or an array of another type. The
// element's old pointer is released; with `addRef` the new one is AddRef'ed, otherwise the
// array takes over the caller's reference. 0 on success.
HRESULT safeArrayPutDispatch(SAFEARRAY* array, LONG index, IDispatch* object, bool addRef);

// Appends `object` to an array held locked; with no array (null), first creates an empty
// VT_DISPATCH vector (lower bound 0) and locks it (E_OUTOFMEMORY or the lock's failure
// return without appending). A null `object` answers E_FAIL before anything is created or
// grown.
HRESULT safeArrayAppendDispatch(SAFEARRAY*& array, IDispatch* object, bool addRef);

// Appends one double to a VT_R8 array (not locked); with no array creates it (lower bound 0).
HRESULT safeArrayAddDouble(SAFEARRAY*& array, double value);
// Appends one 32-bit integer to a VT_I4 array the same way.
HRESULT safeArrayAppendInt(SAFEARRAY*& array, LONG value);

// A copy of the VARIANT's double array: E_FAIL when the VARIANT holds no array, E_INVALIDARG
// unless it holds doubles. The caller destroys the copy.
SAFEARRAY* copyDoubleSafeArray(const VARIANT& value);

// A VARIANT holding a copy of the array (VT_ARRAY | its element type); a null array gives
// an empty VARIANT. A failed copy raises its HRESULT.
_variant_t variantFromSafeArray(SAFEARRAY* array);
