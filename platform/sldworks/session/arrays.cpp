#include "platform/sldworks/session/arrays.h"

#include <limits>
#include <string_view>

HRESULT putBstr(const std::string& utf8, BSTR* out) {
    *out = comBstrFromUtf8(utf8);
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT putDoubles(const double* values, std::size_t count, VARIANT* out) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_R8, 0, static_cast<ULONG>(count));
    if (array == nullptr)
        return E_OUTOFMEMORY;
    for (std::size_t i = 0; i < count; ++i) {
        const LONG index = static_cast<LONG>(i);
        double value = values[i];
        SafeArrayPutElement(array, &index, &value);
    }
    out->vt = static_cast<VARTYPE>(VT_ARRAY | VT_R8);
    out->parray = array;
    return S_OK;
}

HRESULT putDoubles(const std::vector<double>& values, VARIANT* out) {
    return putDoubles(values.data(), values.size(), out);
}

HRESULT putPoint(const swsim::Vec3& point, VARIANT* out) {
    const double values[3] = {point.x, point.y, point.z};
    return putDoubles(values, 3, out);
}

HRESULT putClosestPoint(const std::optional<swsim::Vec3>& point, VARIANT* out) {
    const double none = std::numeric_limits<double>::quiet_NaN();
    return putPoint(point.value_or(swsim::Vec3{none, none, none}), out);
}

HRESULT putObjects(const std::vector<IDispatchPtr>& objects, VARIANT* out) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_DISPATCH, 0, static_cast<ULONG>(objects.size()));
    if (array == nullptr)
        return E_OUTOFMEMORY;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const LONG index = static_cast<LONG>(i);
        SafeArrayPutElement(array, &index, objects[i].GetInterfacePtr());
    }
    out->vt = static_cast<VARTYPE>(VT_ARRAY | VT_DISPATCH);
    out->parray = array;
    return S_OK;
}

HRESULT putStrings(const std::vector<std::string>& texts, VARIANT* out) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(texts.size()));
    if (array == nullptr)
        return E_OUTOFMEMORY;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const LONG index = static_cast<LONG>(i);
        BSTR text = comBstrFromUtf8(texts[i]);
        const HRESULT hr =
            text != nullptr ? SafeArrayPutElement(array, &index, text) : E_OUTOFMEMORY;
        SysFreeString(text);
        if (FAILED(hr)) {
            SafeArrayDestroy(array);
            return hr;
        }
    }
    out->vt = static_cast<VARTYPE>(VT_ARRAY | VT_BSTR);
    out->parray = array;
    return S_OK;
}

namespace {
template <class T> HRESULT putNumbers(const std::vector<T>& values, VARTYPE type, VARIANT* out) {
    SAFEARRAY* array = SafeArrayCreateVector(type, 0, static_cast<ULONG>(values.size()));
    if (array == nullptr)
        return E_OUTOFMEMORY;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const LONG index = static_cast<LONG>(i);
        T value = values[i];
        SafeArrayPutElement(array, &index, &value);
    }
    out->vt = static_cast<VARTYPE>(VT_ARRAY | type);
    out->parray = array;
    return S_OK;
}
} // namespace

HRESULT putShorts(const std::vector<short>& values, VARIANT* out) {
    return putNumbers(values, VT_I2, out);
}

HRESULT putLongs(const std::vector<long>& values, VARIANT* out) {
    return putNumbers(std::vector<LONG>(values.begin(), values.end()), VT_I4, out);
}

HRESULT putObject(const IDispatchPtr& object, IDispatch** out) {
    *out = object.GetInterfacePtr();
    if (*out != nullptr)
        (*out)->AddRef();
    return S_OK;
}

namespace {

// The element type and bounds of the VARIANT's one-dimensional array; false when it holds
// none.
bool arrayShape(const VARIANT& value, VARTYPE& type, LONG& lower, LONG& upper) {
    return (value.vt & VT_ARRAY) != 0 && value.parray != nullptr &&
           SUCCEEDED(SafeArrayGetVartype(value.parray, &type)) &&
           SUCCEEDED(SafeArrayGetLBound(value.parray, 1, &lower)) &&
           SUCCEEDED(SafeArrayGetUBound(value.parray, 1, &upper));
}

} // namespace

HRESULT readDoubles(const VARIANT& value, std::size_t count, std::vector<double>& out) {
    VARTYPE type = VT_EMPTY;
    LONG lower = 0;
    LONG upper = -1;
    if (!arrayShape(value, type, lower, upper) || type != VT_R8)
        return E_INVALIDARG;
    if (upper < lower || static_cast<std::size_t>(upper - lower) + 1 < count)
        return E_INVALIDARG;
    out.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const LONG index = lower + static_cast<LONG>(i);
        double element = 0.0;
        if (FAILED(SafeArrayGetElement(value.parray, &index, &element)))
            return E_INVALIDARG;
        out.push_back(element);
    }
    return S_OK;
}

HRESULT readLongs(const VARIANT& value, std::vector<long>& out) {
    VARTYPE type = VT_EMPTY;
    LONG lower = 0;
    LONG upper = -1;
    if (!arrayShape(value, type, lower, upper) ||
        (type != VT_I4 && type != VT_I2 && type != VT_INT))
        return E_INVALIDARG;
    out.clear();
    for (LONG i = lower; i <= upper; ++i) {
        if (type == VT_I2) {
            short element = 0;
            if (FAILED(SafeArrayGetElement(value.parray, &i, &element)))
                return E_INVALIDARG;
            out.push_back(element);
        } else {
            LONG element = 0;
            if (FAILED(SafeArrayGetElement(value.parray, &i, &element)))
                return E_INVALIDARG;
            out.push_back(element);
        }
    }
    return S_OK;
}

HRESULT readStrings(const VARIANT& value, std::vector<std::string>& out) {
    VARTYPE type = VT_EMPTY;
    LONG lower = 0;
    LONG upper = -1;
    if (!arrayShape(value, type, lower, upper) || type != VT_BSTR)
        return E_INVALIDARG;
    out.clear();
    for (LONG index = lower; index <= upper; ++index) {
        BSTR element = nullptr;
        if (FAILED(SafeArrayGetElement(value.parray, &index, &element)))
            return E_INVALIDARG;
        out.push_back(utf8Of(element));
        SysFreeString(element);
    }
    return S_OK;
}

HRESULT readObjects(const VARIANT& value, std::vector<IUnknownPtr>& out) {
    VARTYPE type = VT_EMPTY;
    LONG lower = 0;
    LONG upper = -1;
    if (!arrayShape(value, type, lower, upper) || (type != VT_DISPATCH && type != VT_UNKNOWN))
        return E_INVALIDARG;
    out.clear();
    for (LONG i = lower; i <= upper; ++i) {
        IUnknown* element = nullptr;
        if (FAILED(SafeArrayGetElement(value.parray, &i, &element)))
            return E_INVALIDARG;
        out.emplace_back(element, false);
    }
    return S_OK;
}

std::string utf8Of(const char16_t* text) {
    return text != nullptr ? comUtf16ToUtf8(std::u16string_view(text)) : std::string();
}
