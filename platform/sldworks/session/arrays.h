// Building the session's answers (strings, double and object arrays) and reading array
// arguments. Allocation failures come back as E_OUTOFMEMORY, bad arguments as E_INVALIDARG.
#pragma once

#include "platform/sldworks/api/sldworks_api.h"
#include "platform/sldworks/model/types.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

HRESULT putBstr(const std::string& utf8, BSTR* out);
HRESULT putDoubles(const double* values, std::size_t count, VARIANT* out);
HRESULT putDoubles(const std::vector<double>& values, VARIANT* out);
HRESULT putPoint(const swsim::Vec3& point, VARIANT* out);
// A closest point, or three NaNs when there is none (a point beyond the model space, a
// distance that could not be computed): no point compares equal to it.
HRESULT putClosestPoint(const std::optional<swsim::Vec3>& point, VARIANT* out);
// A VT_ARRAY|VT_DISPATCH array of the objects, lower bound 0.
HRESULT putObjects(const std::vector<IDispatchPtr>& objects, VARIANT* out);
// A VT_ARRAY|VT_BSTR array of the texts, lower bound 0.
HRESULT putStrings(const std::vector<std::string>& texts, VARIANT* out);
// A VT_ARRAY|VT_I2 or VT_ARRAY|VT_I4 array, lower bound 0.
HRESULT putShorts(const std::vector<short>& values, VARIANT* out);
HRESULT putLongs(const std::vector<long>& values, VARIANT* out);
// A new reference to `object` as the answer (null stays null).
HRESULT putObject(const IDispatchPtr& object, IDispatch** out);

// The first `count` doubles of a double array (VT_R8; lower bound any); E_INVALIDARG for
// another type or fewer elements.
HRESULT readDoubles(const VARIANT& value, std::size_t count, std::vector<double>& out);
// The elements of an integer array (VT_I4, VT_I2 or VT_INT; lower bound any); E_INVALIDARG
// otherwise.
HRESULT readLongs(const VARIANT& value, std::vector<long>& out);
// The elements of a string array (VT_BSTR; lower bound any); E_INVALIDARG for another type.
HRESULT readStrings(const VARIANT& value, std::vector<std::string>& out);
// The elements of an object array (VT_DISPATCH or VT_UNKNOWN); E_INVALIDARG otherwise.
HRESULT readObjects(const VARIANT& value, std::vector<IUnknownPtr>& out);

std::string utf8Of(const char16_t* text);
inline VARIANT_BOOL variantBool(bool value) {
    return value ? VARIANT_TRUE : VARIANT_FALSE;
}
