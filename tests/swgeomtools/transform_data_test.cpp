// Transform data and the SAFEARRAY helpers: conversions both ways, the bounds they check, and
// the lock and ownership rules of the array helpers.
#include "libs/geomcore/swapi/array_reading.h"
#include "libs/geomcore/swgeomtools/safearray_tools.h"
#include "libs/geomcore/swgeomtools/transform_data.h"
#include "platform/sldworks/api/sldworks_api.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

// A dispatch object that counts its references.
class countedC : public comObjectT<countedC, IDispatch> {};

std::vector<double> sixteen() {
    return {0, 1, 0, -1, 0, 0, 0, 0, 1, 10, 20, 30, 2, 0, 0, 0};
}

TEST(TransformDataTest, IdentityToArrayData) {
    std::array<double, 16> data;
    data.fill(7.0);
    transformToArrayData(matrixC4x4<double>::identity(), data);
    EXPECT_EQ(data, (std::array<double, 16>{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}));
}

TEST(TransformDataTest, ArrayDataTakesRowsAndDropsFourthColumn) {
    matrixC4x4<double> m = matrixC4x4<double>::identity();
    for (int i = 0; i < 16; ++i)
        m[i] = i + 1;
    std::array<double, 16> data{};
    transformToArrayData(m, data);
    EXPECT_EQ(data, (std::array<double, 16>{1, 2, 3, 5, 6, 7, 9, 10, 11, 13, 14, 15, 1, 0, 0, 0}));
}

TEST(TransformDataTest, MatrixFromVariantIgnoresScale) {
    matrixC4x4<double> m;
    matrixFromVariant(m, makeDoubleArray(sixteen()));
    matrixC4x4<double> expected = matrixC4x4<double>::identity();
    expected.setRow(0, {0, 1, 0});
    expected.setRow(1, {-1, 0, 0});
    expected.setRow(2, {0, 0, 1});
    expected.setRow(3, {10, 20, 30});
    EXPECT_EQ(m, expected);
}

TEST(TransformDataTest, MatrixFromVariantRoundTripsThroughArrayData) {
    matrixC4x4<double> m = matrixC4x4<double>::translation({10, 20, 30});
    matrixC4x4<double> back;
    matrixFromVariant(back, transformToVariant(m));
    EXPECT_EQ(back, m);
}

TEST(TransformDataTest, MatrixFromVariantRefusesBadInput) {
    matrixC4x4<double> m = matrixC4x4<double>::translation({1, 2, 3});
    const matrixC4x4<double> before = m;
    const std::vector<double> all = sixteen();
    const std::vector<double> eleven(all.begin(), all.begin() + 11);
    try {
        matrixFromVariant(m, makeDoubleArray(eleven));
        FAIL();
    } catch (const _com_error& e) {
        EXPECT_EQ(e.Error(), E_INVALIDARG);
    }
    try {
        matrixFromVariant(m, _variant_t(3.0));
        FAIL();
    } catch (const _com_error& e) {
        EXPECT_EQ(e.Error(), E_FAIL);
    }
    try {
        matrixFromVariant(m, makeLongArray({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}));
        FAIL();
    } catch (const _com_error& e) {
        EXPECT_EQ(e.Error(), E_INVALIDARG);
    }
    EXPECT_EQ(m, before);
}

TEST(TransformDataTest, MatrixFromVariantCountsFromTheLowerBound) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_R8, 5, 12);
    for (LONG i = 0; i < 12; ++i) {
        double v = i == 9 ? 4.0 : (i % 4 == 0 ? 1.0 : 0.0);
        const LONG at = 5 + i;
        ASSERT_EQ(SafeArrayPutElement(array, &at, &v), S_OK);
    }
    _variant_t holder = variantFromSafeArray(array);
    SafeArrayDestroy(array);
    matrixC4x4<double> m;
    matrixFromVariant(m, holder);
    EXPECT_EQ(m.row(3).x, 4.0);
    EXPECT_EQ(m.at(0, 0), 1.0);
    // The caller's array is not left locked by the reader.
    EXPECT_EQ(holder.parray->cLocks, 0u);
}

TEST(TransformDataTest, VariantToBool) {
    _variant_t yes(true);
    EXPECT_TRUE(variantToBool(yes));
    VARIANT odd;
    VariantInit(&odd);
    odd.vt = VT_BOOL;
    odd.boolVal = 1; // non-zero but not VARIANT_TRUE
    EXPECT_TRUE(variantToBool(odd));
    EXPECT_FALSE(variantToBool(_variant_t(0L)));
    EXPECT_TRUE(variantToBool(_variant_t(2.5)));
    EXPECT_TRUE(variantToBool(_variant_t("true")));
    EXPECT_THROW(variantToBool(_variant_t("maybe")), _com_error);
}

TEST(SafeArrayToolsTest, AppendOnNullArrayCreatesOneLockedElement) {
    countedC* object = new countedC;
    SAFEARRAY* array = nullptr;
    ASSERT_EQ(safeArrayAppendDispatch(array, object, true), S_OK);
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array->rgsabound[0].cElements, 1u);
    EXPECT_EQ(array->cLocks, 1u);
    ASSERT_EQ(safeArrayAppendDispatch(array, object, true), S_OK);
    EXPECT_EQ(array->rgsabound[0].cElements, 2u);
    EXPECT_EQ(array->cLocks, 1u);
    // Two references held by the array, one by the test.
    EXPECT_EQ(object->AddRef(), 4u);
    object->Release();
    SafeArrayUnlock(array);
    SafeArrayDestroy(array);
    EXPECT_EQ(object->Release(), 0u);
}

TEST(SafeArrayToolsTest, AppendRefusesNullBeforeGrowing) {
    SAFEARRAY* array = nullptr;
    EXPECT_EQ(safeArrayAppendDispatch(array, nullptr, true), E_FAIL);
    EXPECT_EQ(array, nullptr);
    countedC* object = new countedC;
    ASSERT_EQ(safeArrayAppendDispatch(array, object, false), S_OK); // takes the reference
    EXPECT_EQ(safeArrayAppendDispatch(array, nullptr, true), E_FAIL);
    EXPECT_EQ(array->rgsabound[0].cElements, 1u);
    SafeArrayUnlock(array);
    SafeArrayDestroy(array);
}

TEST(SafeArrayToolsTest, ResizeKeepsTheCallersLock) {
    EXPECT_THROW(safeArrayResize(nullptr, 1, 0), _com_error);
    SAFEARRAY* array = SafeArrayCreateVector(VT_DISPATCH, 0, 1);
    ASSERT_EQ(SafeArrayLock(array), S_OK);
    EXPECT_EQ(safeArrayResize(array, 3, 0), S_OK);
    EXPECT_EQ(array->rgsabound[0].cElements, 3u);
    EXPECT_EQ(array->cLocks, 1u);
    // A second lock of someone else makes the redim fail; the caller's lock stays.
    ASSERT_EQ(SafeArrayLock(array), S_OK);
    EXPECT_EQ(safeArrayResize(array, 5, 0), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(array->cLocks, 2u);
    EXPECT_EQ(array->rgsabound[0].cElements, 3u);
    SafeArrayUnlock(array);
    // Fixed size: refused without touching the lock.
    array->fFeatures |= FADF_FIXEDSIZE;
    EXPECT_EQ(safeArrayResize(array, 5, 0), E_FAIL);
    EXPECT_EQ(array->cLocks, 1u);
    array->fFeatures &= static_cast<USHORT>(~FADF_FIXEDSIZE);
    SafeArrayUnlock(array);
    // An array nobody holds locked is not left with a lock.
    EXPECT_TRUE(FAILED(safeArrayResize(array, 5, 0)));
    EXPECT_EQ(array->cLocks, 0u);
    SafeArrayDestroy(array);
}

TEST(SafeArrayToolsTest, PutDispatchChecksAndReplaces) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_DISPATCH, 1, 2);
    countedC* first = new countedC;
    countedC* second = new countedC;
    EXPECT_EQ(safeArrayPutDispatch(array, 1, nullptr, true), E_FAIL);
    EXPECT_EQ(safeArrayPutDispatch(array, 0, first, true), E_INVALIDARG);
    EXPECT_EQ(safeArrayPutDispatch(array, 3, first, true), E_INVALIDARG);
    ASSERT_EQ(safeArrayPutDispatch(array, 2, first, true), S_OK);
    ASSERT_EQ(safeArrayPutDispatch(array, 2, second, true), S_OK);
    // The replaced pointer was released: only the test's reference is left.
    EXPECT_EQ(first->Release(), 0u);
    SAFEARRAY* doubles = SafeArrayCreateVector(VT_R8, 0, 1);
    EXPECT_EQ(safeArrayPutDispatch(doubles, 0, second, true), E_INVALIDARG);
    SafeArrayDestroy(doubles);
    SafeArrayDestroy(array);
    EXPECT_EQ(second->Release(), 0u);
}

TEST(SafeArrayToolsTest, TransformToVariantHoldsSixteenDoubles) {
    const _variant_t value = transformToVariant(matrixC4x4<double>::translation({1, 2, 3}));
    EXPECT_EQ(value.vt, VT_ARRAY | VT_R8);
    EXPECT_EQ(readDoubleArray(value),
              (std::vector<double>{1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 2, 3, 1, 0, 0, 0}));
}

} // namespace
