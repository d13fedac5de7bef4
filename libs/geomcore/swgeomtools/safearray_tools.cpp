#include "libs/geomcore/swgeomtools/safearray_tools.h"

namespace {

bool holdsArray(const VARIANT& value) {
    return (value.vt & VT_ARRAY) != 0 && value.parray != nullptr;
}

bool boundsOf(SAFEARRAY* array, LONG& lower, LONG& upper) {
    return SUCCEEDED(SafeArrayGetLBound(array, 1, &lower)) &&
           SUCCEEDED(SafeArrayGetUBound(array, 1, &upper));
}

} // namespace

HRESULT safeArrayResize(SAFEARRAY* array, ULONG count, LONG lowerBound) {
    if (array == nullptr)
        _com_issue_error(E_FAIL);
    if ((array->fFeatures & FADF_FIXEDSIZE) != 0)
        return E_FAIL;
    // The caller's lock is lifted only for the redim; an array the caller does not hold
    // locked is left as it is rather than ending up with a lock nobody owns.
    const HRESULT unlocked = SafeArrayUnlock(array);
    if (FAILED(unlocked))
        return unlocked;
    const SAFEARRAYBOUND bound{count, lowerBound};
    const HRESULT resized = SafeArrayRedim(array, &bound);
    const HRESULT locked = SafeArrayLock(array);
    if (FAILED(resized))
        return resized;
    return locked;
}

HRESULT safeArrayPutDispatch(SAFEARRAY* array, LONG index, IDispatch* object, bool addRef) {
    if (object == nullptr)
        return E_FAIL;
    if (array == nullptr)
        return E_INVALIDARG;
    VARTYPE type = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(array, &type)) || (type != VT_DISPATCH && type != VT_UNKNOWN))
        return E_INVALIDARG;
    LONG lower = 0;
    LONG upper = -1;
    if (!boundsOf(array, lower, upper) || index < lower || index > upper)
        return E_INVALIDARG;
    void* data = nullptr;
    const HRESULT accessed = SafeArrayAccessData(array, &data);
    if (FAILED(accessed))
        return accessed;
    IUnknown*& slot = static_cast<IUnknown**>(data)[index - lower];
    if (addRef)
        object->AddRef();
    IUnknown* old = slot;
    slot = object;
    if (old != nullptr)
        old->Release();
    SafeArrayUnaccessData(array);
    return S_OK;
}

HRESULT safeArrayAppendDispatch(SAFEARRAY*& array, IDispatch* object, bool addRef) {
    // A null pointer would leave a grown array with an empty last element.
    if (object == nullptr)
        return E_FAIL;
    if (array == nullptr) {
        SAFEARRAY* created = SafeArrayCreateVector(VT_DISPATCH, 0, 0);
        if (created == nullptr)
            return E_OUTOFMEMORY;
        const HRESULT locked = SafeArrayLock(created);
        if (FAILED(locked)) {
            SafeArrayDestroy(created);
            return locked;
        }
        array = created;
    }
    LONG lower = 0;
    LONG upper = -1;
    if (!boundsOf(array, lower, upper))
        return E_INVALIDARG;
    const ULONG count = upper >= lower ? static_cast<ULONG>(upper - lower) + 1 : 0;
    const HRESULT resized = safeArrayResize(array, count + 1, lower);
    if (FAILED(resized))
        return resized;
    return safeArrayPutDispatch(array, lower + static_cast<LONG>(count), object, addRef);
}

namespace {

// Appends one element to a vector of `type`, created (lower bound 0) when there is none.
template <class T> HRESULT safeArrayAppend(SAFEARRAY*& array, VARTYPE type, T value) {
    if (array == nullptr) {
        array = SafeArrayCreateVector(type, 0, 0);
        if (array == nullptr)
            return E_OUTOFMEMORY;
    }
    LONG lower = 0;
    LONG upper = -1;
    if (!boundsOf(array, lower, upper))
        return E_INVALIDARG;
    const ULONG count = upper >= lower ? static_cast<ULONG>(upper - lower) + 1 : 0;
    const SAFEARRAYBOUND bound{count + 1, lower};
    const HRESULT resized = SafeArrayRedim(array, &bound);
    if (FAILED(resized))
        return resized;
    const LONG at = lower + static_cast<LONG>(count);
    return SafeArrayPutElement(array, &at, &value);
}

} // namespace

HRESULT safeArrayAddDouble(SAFEARRAY*& array, double value) {
    return safeArrayAppend(array, VT_R8, value);
}

HRESULT safeArrayAppendInt(SAFEARRAY*& array, LONG value) {
    return safeArrayAppend(array, VT_I4, value);
}

SAFEARRAY* copyDoubleSafeArray(const VARIANT& value) {
    if (!holdsArray(value))
        _com_issue_error(E_FAIL);
    VARTYPE type = VT_EMPTY;
    if ((value.vt & VT_TYPEMASK) != VT_R8 || FAILED(SafeArrayGetVartype(value.parray, &type)) ||
        type != VT_R8)
        _com_issue_error(E_INVALIDARG);
    SAFEARRAY* copy = nullptr;
    const HRESULT hr = SafeArrayCopy(value.parray, &copy);
    if (FAILED(hr))
        _com_issue_error(hr);
    return copy;
}

_variant_t variantFromSafeArray(SAFEARRAY* array) {
    if (array == nullptr)
        return _variant_t();
    VARTYPE type = VT_EMPTY;
    HRESULT hr = SafeArrayGetVartype(array, &type);
    if (FAILED(hr))
        _com_issue_error(hr);
    SAFEARRAY* copy = nullptr;
    hr = SafeArrayCopy(array, &copy);
    if (FAILED(hr))
        _com_issue_error(hr);
    VARIANT holder;
    VariantInit(&holder);
    holder.vt = static_cast<VARTYPE>(VT_ARRAY | type);
    holder.parray = copy;
    return _variant_t(holder, false);
}
