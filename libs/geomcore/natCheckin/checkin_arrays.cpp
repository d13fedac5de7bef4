#include "libs/geomcore/natCheckin/checkin_arrays.h"

#include "libs/geomcore/swapi/array_reading.h"

std::optional<short> firstShortOf(const VARIANT& value) {
    if (!variantHoldsArray(value) || SafeArrayGetDim(value.parray) != 1)
        _com_issue_error(E_INVALIDARG);
    VARTYPE type = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(value.parray, &type)) || type != VT_I2)
        _com_issue_error(E_INVALIDARG);
    LONG lower = 0;
    LONG upper = -1;
    if (FAILED(SafeArrayGetLBound(value.parray, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(value.parray, 1, &upper)))
        _com_issue_error(E_INVALIDARG);
    if (upper < lower)
        return std::nullopt;
    short first = 0;
    if (FAILED(SafeArrayGetElement(value.parray, &lower, &first)))
        _com_issue_error(E_INVALIDARG);
    return first;
}

std::vector<_bstr_t> configurationNamesOf(const VARIANT& value) {
    if (!variantHoldsArray(value))
        _com_issue_error(E_INVALIDARG);
    LONG lower = 0;
    LONG upper = -1;
    if (FAILED(SafeArrayGetLBound(value.parray, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(value.parray, 1, &upper)) || lower > 0 || upper < 0)
        _com_issue_error(E_INVALIDARG);
    return readBstrArray(value);
}
