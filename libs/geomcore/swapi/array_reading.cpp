#include "libs/geomcore/swapi/array_reading.h"

#include "libs/geomcore/swapi/call_support.h"

#include <cstdint>

namespace {
struct boundsS {
    LONG lower = 0;
    LONG upper = -1;
    std::size_t count() const {
        return upper >= lower ? static_cast<std::size_t>(upper - lower) + 1 : 0;
    }
};

boundsS boundsOf(SAFEARRAY* array) {
    boundsS bounds;
    if (FAILED(SafeArrayGetLBound(array, 1, &bounds.lower)) ||
        FAILED(SafeArrayGetUBound(array, 1, &bounds.upper)))
        _com_issue_error(E_INVALIDARG);
    return bounds;
}

SAFEARRAY* doubleArrayOf(const VARIANT& value) {
    if (!variantHoldsArray(value))
        _com_issue_error(E_FAIL);
    VARTYPE type = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(value.parray, &type)) || type != VT_R8 ||
        (value.vt & VT_TYPEMASK) != VT_R8)
        _com_issue_error(E_INVALIDARG);
    return value.parray;
}
} // namespace

bool variantHoldsArray(const VARIANT& value) {
    return (value.vt & VT_ARRAY) != 0 && value.parray != nullptr;
}

std::vector<double> readDoubleArray(const VARIANT& value, std::size_t minCount) {
    SAFEARRAY* array = doubleArrayOf(value);
    const boundsS bounds = boundsOf(array);
    if (bounds.count() < minCount)
        _com_issue_error(E_INVALIDARG);
    std::vector<double> values;
    values.reserve(bounds.count());
    for (LONG i = bounds.lower; i <= bounds.upper; ++i) {
        double element = 0.0;
        if (FAILED(SafeArrayGetElement(array, &i, &element)))
            _com_issue_error(E_INVALIDARG);
        values.push_back(element);
    }
    return values;
}

double doubleArrayAt(const VARIANT& value, long index) {
    SAFEARRAY* array = doubleArrayOf(value);
    const boundsS bounds = boundsOf(array);
    if (index < 0 || static_cast<std::size_t>(index) >= bounds.count())
        _com_issue_error(E_INVALIDARG);
    const LONG at = bounds.lower + static_cast<LONG>(index);
    double element = 0.0;
    if (FAILED(SafeArrayGetElement(array, &at, &element)))
        _com_issue_error(E_INVALIDARG);
    return element;
}

bool isObjectArray(const VARIANT& value) {
    if (!variantHoldsArray(value))
        return false;
    VARTYPE type = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(value.parray, &type)))
        return false;
    if (type == VT_DISPATCH)
        return true;
    // An array of IUnknown that declares its elements to be dispatch objects counts too.
    const USHORT both = FADF_HAVEIID | FADF_DISPATCH;
    return type == VT_UNKNOWN && (value.parray->fFeatures & both) == both;
}

std::vector<IDispatchPtr> readObjectArray(const VARIANT& value) {
    if (value.vt == VT_EMPTY)
        return {};
    if (!isObjectArray(value))
        _com_issue_error(E_INVALIDARG);
    const boundsS bounds = boundsOf(value.parray);
    std::vector<IDispatchPtr> objects;
    objects.reserve(bounds.count());
    for (LONG i = bounds.lower; i <= bounds.upper; ++i) {
        IUnknown* element = nullptr;
        if (FAILED(SafeArrayGetElement(value.parray, &i, &element)))
            _com_issue_error(E_INVALIDARG);
        // The element may be the object's IUnknown: ask it for IDispatch, as a caller would.
        IDispatchPtr object;
        if (element != nullptr) {
            object = element;
            element->Release();
        }
        objects.push_back(object);
    }
    return objects;
}

std::vector<_bstr_t> readBstrArray(const VARIANT& value) {
    if (!variantHoldsArray(value))
        _com_issue_error(E_INVALIDARG);
    VARTYPE type = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(value.parray, &type)) || type != VT_BSTR)
        _com_issue_error(E_INVALIDARG);
    const boundsS bounds = boundsOf(value.parray);
    std::vector<_bstr_t> texts;
    for (LONG i = bounds.lower; i <= bounds.upper; ++i) {
        BSTR element = nullptr;
        if (FAILED(SafeArrayGetElement(value.parray, &i, &element)))
            _com_issue_error(E_INVALIDARG);
        texts.emplace_back(element, false);
    }
    return texts;
}

std::vector<long> readLongArray(const VARIANT& value) {
    if (!variantHoldsArray(value))
        _com_issue_error(E_INVALIDARG);
    VARTYPE type = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(value.parray, &type)) || (type != VT_I4 && type != VT_I2))
        _com_issue_error(E_INVALIDARG);
    const boundsS bounds = boundsOf(value.parray);
    std::vector<long> values;
    for (LONG i = bounds.lower; i <= bounds.upper; ++i) {
        LONG wide = 0;
        std::int16_t narrow = 0;
        void* element = type == VT_I4 ? static_cast<void*>(&wide) : static_cast<void*>(&narrow);
        if (FAILED(SafeArrayGetElement(value.parray, &i, element)))
            _com_issue_error(E_INVALIDARG);
        values.push_back(type == VT_I4 ? wide : narrow);
    }
    return values;
}

namespace {
_variant_t wrapArray(SAFEARRAY* array, VARTYPE type) {
    if (array == nullptr)
        _com_issue_error(E_OUTOFMEMORY);
    VARIANT holder;
    VariantInit(&holder);
    holder.vt = static_cast<VARTYPE>(VT_ARRAY | type);
    holder.parray = array;
    return _variant_t(holder, false);
}

void put(SAFEARRAY* array, LONG index, void* value) {
    const HRESULT hr = SafeArrayPutElement(array, &index, value);
    if (FAILED(hr)) {
        SafeArrayDestroy(array);
        _com_issue_error(hr);
    }
}
} // namespace

_variant_t makeDoubleArray(const std::vector<double>& values) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_R8, 0, static_cast<ULONG>(values.size()));
    if (array == nullptr)
        _com_issue_error(E_OUTOFMEMORY);
    for (std::size_t i = 0; i < values.size(); ++i) {
        double element = values[i];
        put(array, static_cast<LONG>(i), &element);
    }
    return wrapArray(array, VT_R8);
}

_variant_t makeLongArray(const std::vector<long>& values) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 0, static_cast<ULONG>(values.size()));
    if (array == nullptr)
        _com_issue_error(E_OUTOFMEMORY);
    for (std::size_t i = 0; i < values.size(); ++i) {
        LONG element = static_cast<LONG>(values[i]);
        put(array, static_cast<LONG>(i), &element);
    }
    return wrapArray(array, VT_I4);
}

_variant_t makeBstrArray(const std::vector<_bstr_t>& texts) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(texts.size()));
    if (array == nullptr)
        _com_issue_error(E_OUTOFMEMORY);
    for (std::size_t i = 0; i < texts.size(); ++i)
        put(array, static_cast<LONG>(i), swapiBstr(texts[i]));
    return wrapArray(array, VT_BSTR);
}

_variant_t makeDispatchArray(const std::vector<IDispatch*>& objects) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_DISPATCH, 0, static_cast<ULONG>(objects.size()));
    if (array == nullptr)
        _com_issue_error(E_OUTOFMEMORY);
    for (std::size_t i = 0; i < objects.size(); ++i)
        put(array, static_cast<LONG>(i), objects[i]);
    return wrapArray(array, VT_DISPATCH);
}
