#include "platform/sldworks/session/out_values.h"

namespace sessionOut {

HRESULT script(const _variant_t& value, BSTR* out) {
    _variant_t text;
    const HRESULT hr = VariantChangeType(&text, &value, 0, VT_BSTR);
    if (FAILED(hr))
        return hr;
    *out = text.bstrVal;
    text.bstrVal = nullptr;
    text.vt = VT_EMPTY;
    return S_OK;
}

HRESULT script(const _variant_t& value, VARIANT* out) {
    return VariantCopy(out, &value);
}

HRESULT script(const _variant_t& value, VARIANT_BOOL* out) {
    _variant_t flag;
    const HRESULT hr = VariantChangeType(&flag, &value, 0, VT_BOOL);
    if (SUCCEEDED(hr))
        *out = flag.boolVal;
    return hr;
}

HRESULT script(const _variant_t& value, long* out) {
    _variant_t number;
    const HRESULT hr = VariantChangeType(&number, &value, 0, VT_I4);
    if (SUCCEEDED(hr))
        *out = number.lVal;
    return hr;
}

HRESULT script(const _variant_t& value, double* out) {
    _variant_t number;
    const HRESULT hr = VariantChangeType(&number, &value, 0, VT_R8);
    if (SUCCEEDED(hr))
        *out = number.dblVal;
    return hr;
}

HRESULT scriptObject(const _variant_t& value, REFIID iid, void** out) {
    IUnknown* object = nullptr;
    if (value.vt == VT_DISPATCH)
        object = value.pdispVal;
    else if (value.vt == VT_UNKNOWN)
        object = value.punkVal;
    else if (value.vt != VT_EMPTY && value.vt != VT_NULL)
        return DISP_E_TYPEMISMATCH;
    if (object == nullptr)
        return S_OK;
    return object->QueryInterface(iid, out);
}

namespace {
HRESULT copyElements(SAFEARRAY* from, VARTYPE toType, LONG toLower, ULONG count, SAFEARRAY** made) {
    VARTYPE fromType = VT_EMPTY;
    SafeArrayGetVartype(from, &fromType);
    LONG fromLower = 0;
    SafeArrayGetLBound(from, 1, &fromLower);
    SAFEARRAY* to = nullptr;
    if (toType == VT_DISPATCH || toType == VT_UNKNOWN) {
        IID iid{};
        SafeArrayGetIID(from, &iid);
        SAFEARRAYBOUND bound{count, toLower};
        to = SafeArrayCreateEx(toType, 1, &bound, &iid);
    } else {
        to = SafeArrayCreateVector(toType, toLower, count);
    }
    if (to == nullptr)
        return E_OUTOFMEMORY;
    for (ULONG i = 0; i < count; ++i) {
        const LONG source = fromLower + static_cast<LONG>(i);
        const LONG target = toLower + static_cast<LONG>(i);
        VARIANT element;
        VariantInit(&element);
        if (fromType == VT_VARIANT) {
            SafeArrayGetElement(from, &source, &element);
        } else {
            element.vt = fromType == VT_INT ? VT_I4 : fromType;
            SafeArrayGetElement(from, &source, &element.lVal);
        }
        HRESULT hr = S_OK;
        if (toType == VT_VARIANT) {
            hr = SafeArrayPutElement(to, &target, &element);
        } else if (toType == fromType) {
            const bool byValue = toType == VT_BSTR || toType == VT_DISPATCH || toType == VT_UNKNOWN;
            hr = SafeArrayPutElement(to, &target, byValue ? element.byref : &element.lVal);
        } else {
            // A changed element type keeps the numbers where they convert, 0 elsewhere.
            VARIANT converted;
            VariantInit(&converted);
            if (FAILED(VariantChangeType(&converted, &element, 0, toType))) {
                converted.vt = toType;
                converted.dblVal = 0.0;
                if (toType == VT_I4)
                    converted.lVal = 0;
            }
            hr = SafeArrayPutElement(to, &target, &converted.lVal);
            VariantClear(&converted);
        }
        VariantClear(&element);
        if (FAILED(hr)) {
            SafeArrayDestroy(to);
            return hr;
        }
    }
    *made = to;
    return S_OK;
}
} // namespace

HRESULT malform(malformedArrayE how, VARIANT* out) {
    if (how == malformedArrayE::noArray)
        return VariantClear(out);
    if ((out->vt & VT_ARRAY) == 0 || out->parray == nullptr)
        return S_OK;
    SAFEARRAY* array = out->parray;
    VARTYPE type = VT_EMPTY;
    SafeArrayGetVartype(array, &type);
    LONG lower = 0;
    LONG upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    ULONG count = static_cast<ULONG>(upper - lower + 1);
    VARTYPE newType = type;
    LONG newLower = lower;
    switch (how) {
    case malformedArrayE::tooShort:
        if (count > 0)
            --count;
        break;
    case malformedArrayE::wrongElementType:
        newType = type == VT_R8 ? VT_I4 : VT_R8;
        break;
    case malformedArrayE::lowerBoundNotZero:
        newLower = 1;
        break;
    case malformedArrayE::noArray:
        break;
    }
    SAFEARRAY* made = nullptr;
    const HRESULT hr = copyElements(array, newType, newLower, count, &made);
    if (FAILED(hr))
        return hr;
    VariantClear(out);
    out->vt = static_cast<VARTYPE>(VT_ARRAY | newType);
    out->parray = made;
    return S_OK;
}

} // namespace sessionOut
