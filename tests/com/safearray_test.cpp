#include "tests/com/test_objects.h"

#include <gtest/gtest.h>

namespace {
class PlatformComSafeArrayTest : public ::testing::Test {
protected:
    void TearDown() override { comTestHooks::reset(); }
};

TEST_F(PlatformComSafeArrayTest, LowerBoundsOtherThanZero) {
    const SAFEARRAYBOUND bound{4, -2};
    SAFEARRAY* psa = SafeArrayCreate(VT_R8, 1, &bound);
    ASSERT_NE(psa, nullptr);
    EXPECT_EQ(SafeArrayGetDim(psa), 1u);
    EXPECT_EQ(SafeArrayGetElemsize(psa), sizeof(double));
    LONG lower = 0;
    LONG upper = 0;
    EXPECT_EQ(SafeArrayGetLBound(psa, 1, &lower), S_OK);
    EXPECT_EQ(SafeArrayGetUBound(psa, 1, &upper), S_OK);
    EXPECT_EQ(lower, -2);
    EXPECT_EQ(upper, 1);
    EXPECT_EQ(SafeArrayGetLBound(psa, 2, &lower), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayGetUBound(psa, 0, &upper), DISP_E_BADINDEX);

    for (LONG i = -2; i <= 1; ++i) {
        double value = i * 10.0;
        EXPECT_EQ(SafeArrayPutElement(psa, &i, &value), S_OK);
    }
    double* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(psa, reinterpret_cast<void**>(&data)), S_OK);
    EXPECT_DOUBLE_EQ(data[0], -20.0); // element -2 is the first
    EXPECT_DOUBLE_EQ(data[3], 10.0);
    EXPECT_EQ(SafeArrayUnaccessData(psa), S_OK);

    for (LONG outside : {-3, 2}) {
        double value = 0;
        EXPECT_EQ(SafeArrayGetElement(psa, &outside, &value), DISP_E_BADINDEX);
        EXPECT_EQ(SafeArrayPutElement(psa, &outside, &value), DISP_E_BADINDEX);
    }
    VARTYPE vt = VT_EMPTY;
    EXPECT_EQ(SafeArrayGetVartype(psa, &vt), S_OK);
    EXPECT_EQ(vt, VT_R8);
    IID iid{};
    EXPECT_EQ(SafeArrayGetIID(psa, &iid), E_INVALIDARG);
    EXPECT_EQ(SafeArrayDestroy(psa), S_OK);
}

TEST_F(PlatformComSafeArrayTest, CreationRefusesWhatItCannotHold) {
    const SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    EXPECT_EQ(SafeArrayCreate(VT_R8, 2, bounds), nullptr);
    EXPECT_EQ(SafeArrayCreate(VT_NULL, 1, bounds), nullptr);
    EXPECT_EQ(SafeArrayCreate(VT_R8, 1, nullptr), nullptr);
    EXPECT_EQ(SafeArrayCreateVector(VT_I4, 0x7FFFFFFF, 2), nullptr); // upper bound overflows

    SAFEARRAY* empty = SafeArrayCreateVector(VT_BSTR, 1, 0);
    ASSERT_NE(empty, nullptr);
    LONG upper = 99;
    EXPECT_EQ(SafeArrayGetUBound(empty, 1, &upper), S_OK);
    EXPECT_EQ(upper, 0); // one below the lower bound: no elements
    EXPECT_EQ(SafeArrayDestroy(empty), S_OK);

    comTestHooks::failSafeArrayAllocations(1);
    EXPECT_EQ(SafeArrayCreateVector(VT_R8, 0, 3), nullptr);
    SAFEARRAY* next = SafeArrayCreateVector(VT_R8, 0, 3);
    EXPECT_NE(next, nullptr);
    SAFEARRAY* copy = nullptr;
    comTestHooks::failSafeArrayAllocations(1);
    EXPECT_EQ(SafeArrayCopy(next, &copy), E_OUTOFMEMORY);
    EXPECT_EQ(copy, nullptr);
    SafeArrayDestroy(next);
}

TEST_F(PlatformComSafeArrayTest, LockCountGuardsDestroyAndRedim) {
    SAFEARRAY* psa = SafeArrayCreateVector(VT_I4, 1, 3);
    ASSERT_NE(psa, nullptr);
    EXPECT_EQ(SafeArrayUnlock(psa), E_UNEXPECTED);
    EXPECT_EQ(SafeArrayLock(psa), S_OK);
    void* data = nullptr;
    EXPECT_EQ(SafeArrayAccessData(psa, &data), S_OK);
    EXPECT_EQ(data, psa->pvData);
    EXPECT_EQ(psa->cLocks, 2u);

    const SAFEARRAYBOUND bigger{5, 1};
    EXPECT_EQ(SafeArrayRedim(psa, &bigger), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(SafeArrayDestroy(psa), DISP_E_ARRAYISLOCKED);
    LONG index = 2;
    int32_t value = 8; // element access is allowed while locked
    EXPECT_EQ(SafeArrayPutElement(psa, &index, &value), S_OK);

    EXPECT_EQ(SafeArrayUnaccessData(psa), S_OK);
    EXPECT_EQ(SafeArrayRedim(psa, &bigger), DISP_E_ARRAYISLOCKED); // still one lock
    EXPECT_EQ(SafeArrayUnlock(psa), S_OK);
    EXPECT_EQ(psa->cLocks, 0u);

    ASSERT_EQ(SafeArrayRedim(psa, &bigger), S_OK);
    index = 5;
    value = -1;
    ASSERT_EQ(SafeArrayGetElement(psa, &index, &value), S_OK);
    EXPECT_EQ(value, 0); // new elements start zeroed
    index = 2;
    ASSERT_EQ(SafeArrayGetElement(psa, &index, &value), S_OK);
    EXPECT_EQ(value, 8); // kept

    psa->fFeatures |= FADF_FIXEDSIZE;
    EXPECT_EQ(SafeArrayRedim(psa, &bigger), E_INVALIDARG);
    EXPECT_EQ(SafeArrayDestroy(psa), S_OK);
    EXPECT_EQ(SafeArrayDestroy(nullptr), S_OK);
}

TEST_F(PlatformComSafeArrayTest, StringElementsAreCopiedInAndOut) {
    SAFEARRAY* psa = SafeArrayCreateVector(VT_BSTR, 0, 2);
    ASSERT_NE(psa, nullptr);
    EXPECT_EQ(psa->fFeatures & FADF_BSTR, FADF_BSTR);
    BSTR mine = SysAllocString(u"Plane1");
    const LONG first = 0;
    ASSERT_EQ(SafeArrayPutElement(psa, &first, mine), S_OK); // the BSTR itself, not its address
    SysFreeString(mine);                                     // the array holds its own copy
    _bstr_t replacement("Plane2");
    ASSERT_EQ(SafeArrayPutElement(psa, &first, replacement.GetBSTR()), S_OK); // frees "Plane1"
    BSTR out = nullptr;
    ASSERT_EQ(SafeArrayGetElement(psa, &first, &out), S_OK);
    EXPECT_NE(out, static_cast<BSTR*>(psa->pvData)[0]);
    EXPECT_TRUE(_bstr_t(out, false) == "Plane2");
    const LONG second = 1;
    ASSERT_EQ(SafeArrayGetElement(psa, &second, &out), S_OK);
    EXPECT_EQ(out, nullptr); // never set

    comTestHooks::failBstrAllocations(1);
    EXPECT_EQ(SafeArrayGetElement(psa, &first, &out), E_OUTOFMEMORY);
    const SAFEARRAYBOUND shorter{1, 0};
    EXPECT_EQ(SafeArrayRedim(psa, &shorter), S_OK);
    EXPECT_EQ(SafeArrayDestroy(psa), S_OK);
}

TEST_F(PlatformComSafeArrayTest, InterfaceElementsAreReferenceCounted) {
    int destroyed = 0;
    testObjectC* a = new testObjectC(&destroyed);
    testObjectC* b = new testObjectC(&destroyed);
    const IID shapeIid = uuidOf<ITestShape>();
    const SAFEARRAYBOUND bound{3, 0};
    SAFEARRAY* psa = SafeArrayCreateEx(VT_DISPATCH, 1, &bound, &shapeIid);
    ASSERT_NE(psa, nullptr);
    IID iid{};
    EXPECT_EQ(SafeArrayGetIID(psa, &iid), S_OK);
    EXPECT_EQ(iid, shapeIid);

    LONG index = 0;
    ASSERT_EQ(SafeArrayPutElement(psa, &index, static_cast<IDispatch*>(a)), S_OK);
    index = 1;
    ASSERT_EQ(SafeArrayPutElement(psa, &index, static_cast<IDispatch*>(a)), S_OK);
    EXPECT_EQ(a->refs(), 3u);
    ASSERT_EQ(SafeArrayPutElement(psa, &index, static_cast<IDispatch*>(b)), S_OK);
    EXPECT_EQ(a->refs(), 2u); // the replaced element was released
    EXPECT_EQ(b->refs(), 2u);

    IDispatch* got = nullptr;
    ASSERT_EQ(SafeArrayGetElement(psa, &index, &got), S_OK);
    EXPECT_EQ(got, static_cast<IDispatch*>(b));
    EXPECT_EQ(b->refs(), 3u); // the caller's own reference
    got->Release();

    SAFEARRAY* copy = nullptr;
    ASSERT_EQ(SafeArrayCopy(psa, &copy), S_OK);
    EXPECT_EQ(a->refs(), 3u);
    const SAFEARRAYBOUND one{1, 0};
    ASSERT_EQ(SafeArrayRedim(copy, &one), S_OK); // drops the copy's reference to b
    EXPECT_EQ(b->refs(), 2u);
    EXPECT_EQ(SafeArrayDestroy(copy), S_OK);
    EXPECT_EQ(SafeArrayDestroy(psa), S_OK);
    EXPECT_EQ(destroyed, 0);
    a->Release();
    b->Release();
    EXPECT_EQ(destroyed, 2);

    SAFEARRAY* plain = SafeArrayCreateVector(VT_UNKNOWN, 0, 1);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(SafeArrayGetIID(plain, &iid), S_OK);
    EXPECT_EQ(iid, IID_IUnknown);
    SafeArrayDestroy(plain);
}

TEST_F(PlatformComSafeArrayTest, VariantElementsAreDeepCopied) {
    int destroyed = 0;
    SAFEARRAY* psa = SafeArrayCreateVector(VT_VARIANT, 1, 2);
    ASSERT_NE(psa, nullptr);
    {
        _variant_t text("FACE");
        _variant_t object(static_cast<IDispatch*>(new testObjectC(&destroyed)), false);
        LONG index = 1;
        ASSERT_EQ(SafeArrayPutElement(psa, &index, &text), S_OK);
        index = 2;
        ASSERT_EQ(SafeArrayPutElement(psa, &index, &object), S_OK);

        VARIANT out;
        index = 1;
        ASSERT_EQ(SafeArrayGetElement(psa, &index, &out), S_OK);
        EXPECT_NE(out.bstrVal, text.bstrVal);
        EXPECT_TRUE(_bstr_t(out.bstrVal, true) == "FACE");
        VariantClear(&out);
    }
    EXPECT_EQ(destroyed, 0); // the array still holds the object

    SAFEARRAY* copy = nullptr;
    ASSERT_EQ(SafeArrayCopy(psa, &copy), S_OK);
    EXPECT_EQ(SafeArrayDestroy(psa), S_OK);
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(SafeArrayDestroy(copy), S_OK);
    EXPECT_EQ(destroyed, 1);

    SAFEARRAY* inner = SafeArrayCreateVector(VT_R8, 0, 2);
    _variant_t nested;
    nested.vt = VT_ARRAY | VT_R8;
    nested.parray = inner;
    SAFEARRAY* outer = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    const LONG zero = 0;
    ASSERT_EQ(SafeArrayPutElement(outer, &zero, &nested), S_OK);
    EXPECT_NE(static_cast<VARIANT*>(outer->pvData)[0].parray, inner);
    EXPECT_EQ(SafeArrayDestroy(outer), S_OK);
}
} // namespace
