#include "libs/geomcore/swgeomtools/transform_data.h"

#include "libs/geomcore/swgeomtools/safearray_tools.h"

namespace {

// A locked copy of a double array, unlocked and destroyed however the reader ends.
class lockedCopyC {
public:
    explicit lockedCopyC(const VARIANT& value) : array_(copyDoubleSafeArray(value)) {
        const HRESULT hr = SafeArrayLock(array_);
        if (FAILED(hr)) {
            SafeArrayDestroy(array_);
            _com_issue_error(hr);
        }
    }
    lockedCopyC(const lockedCopyC&) = delete;
    lockedCopyC& operator=(const lockedCopyC&) = delete;
    ~lockedCopyC() {
        SafeArrayUnlock(array_);
        SafeArrayDestroy(array_);
    }

    // The element `offset` places after the lower bound.
    double at(LONG offset) const {
        LONG lower = 0;
        if (FAILED(SafeArrayGetLBound(array_, 1, &lower)))
            _com_issue_error(E_INVALIDARG);
        const LONG index = lower + offset;
        double value = 0.0;
        if (FAILED(SafeArrayGetElement(array_, &index, &value)))
            _com_issue_error(E_INVALIDARG);
        return value;
    }

private:
    SAFEARRAY* array_;
};

} // namespace

void transformToArrayData(const matrixC4x4<double>& matrix, std::array<double, 16>& data) {
    data.fill(0.0);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
            data[static_cast<std::size_t>(row * 3 + col)] = matrix.at(row, col);
    data[12] = 1.0;
}

void matrixFromVariant(matrixC4x4<double>& matrix, const VARIANT& value) {
    const lockedCopyC copy(value);
    matrixC4x4<double> result = matrixC4x4<double>::identity();
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
            result.at(row, col) = copy.at(row * 3 + col);
    matrix = result;
}

_variant_t transformToVariant(const matrixC4x4<double>& transform) {
    std::array<double, 16> data{};
    transformToArrayData(transform, data);
    SAFEARRAY* array = nullptr;
    for (double element : data) {
        const HRESULT hr = safeArrayAddDouble(array, element);
        if (FAILED(hr)) {
            SafeArrayDestroy(array);
            _com_issue_error(hr);
        }
    }
    _variant_t result;
    try {
        result = variantFromSafeArray(array);
    } catch (...) {
        SafeArrayDestroy(array);
        throw;
    }
    SafeArrayDestroy(array);
    return result;
}

bool variantToBool(const VARIANT& value) {
    if (value.vt == VT_BOOL)
        return value.boolVal != 0;
    VARIANT converted;
    VariantInit(&converted);
    const HRESULT hr = VariantChangeType(&converted, &value, 0, VT_BOOL);
    if (FAILED(hr))
        _com_issue_error(hr);
    const bool result = converted.boolVal == VARIANT_TRUE;
    VariantClear(&converted);
    return result;
}
