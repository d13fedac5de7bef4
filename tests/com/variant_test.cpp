#include "tests/com/test_objects.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
class PlatformComVariantTest : public ::testing::Test {
protected:
    void TearDown() override { comTestHooks::reset(); }
};

VARIANT bstrVariant(const char16_t* text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(text);
    return v;
}

// VT_BOOL result of converting `src`, or the failing HRESULT as a test failure.
VARIANT_BOOL asBool(const VARIANT& src) {
    VARIANT out;
    VariantInit(&out);
    const HRESULT hr = VariantChangeType(&out, &src, 0, VT_BOOL);
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(out.vt, VT_BOOL);
    return out.boolVal;
}

TEST_F(PlatformComVariantTest, ClearReleasesWhatTheVariantOwns) {
    int destroyed = 0;
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = new testObjectC(&destroyed); // the variant owns the creation reference
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_EQ(destroyed, 1);

    VARIANT text = bstrVariant(u"freed"); // a leak here would show under ASan
    EXPECT_EQ(VariantClear(&text), S_OK);

    VARIANT array;
    VariantInit(&array);
    array.vt = VT_ARRAY | VT_R8;
    array.parray = SafeArrayCreateVector(VT_R8, 0, 4);
    ASSERT_EQ(SafeArrayLock(array.parray), S_OK);
    EXPECT_EQ(VariantClear(&array), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(array.vt, VT_ARRAY | VT_R8); // left intact for the locker
    ASSERT_EQ(SafeArrayUnlock(array.parray), S_OK);
    EXPECT_EQ(VariantClear(&array), S_OK);

    VARIANT bad;
    VariantInit(&bad);
    bad.vt = 77;
    EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);
}

TEST_F(PlatformComVariantTest, CopyIsDeep) {
    VARIANT src = bstrVariant(u"Boss-Extrude1");
    VARIANT dst = bstrVariant(u"replaced"); // freed by the copy
    ASSERT_EQ(VariantCopy(&dst, &src), S_OK);
    EXPECT_NE(dst.bstrVal, src.bstrVal);
    EXPECT_TRUE(_bstr_t(dst.bstrVal, true) == _bstr_t(src.bstrVal, true));
    VariantClear(&src);
    EXPECT_TRUE(_bstr_t(dst.bstrVal, true) == "Boss-Extrude1"); // survives the source
    VariantClear(&dst);

    testObjectC* object = new testObjectC;
    _variant_t holder(static_cast<ITestShape*>(object)); // AddRef: 2
    object->Release();                                   // holder's reference only
    {
        _variant_t copy(holder);
        EXPECT_EQ(copy.vt, VT_DISPATCH);
        EXPECT_EQ(object->refs(), 2u);
    }
    EXPECT_EQ(object->refs(), 1u);

    _variant_t array;
    array.vt = VT_ARRAY | VT_I4;
    array.parray = SafeArrayCreateVector(VT_I4, 3, 2);
    const LONG index = 4;
    int32_t value = 42;
    ASSERT_EQ(SafeArrayPutElement(array.parray, &index, &value), S_OK);
    _variant_t arrayCopy(array);
    ASSERT_NE(arrayCopy.parray, array.parray);
    value = 0;
    ASSERT_EQ(SafeArrayGetElement(arrayCopy.parray, &index, &value), S_OK);
    EXPECT_EQ(value, 42);
    LONG lower = 0;
    EXPECT_EQ(SafeArrayGetLBound(arrayCopy.parray, 1, &lower), S_OK);
    EXPECT_EQ(lower, 3);

    comTestHooks::failBstrAllocations(1);
    VARIANT text = bstrVariant(u"x"); // this allocation fails: a null string
    EXPECT_EQ(text.bstrVal, nullptr);
    VariantClear(&text);
    VARIANT source = bstrVariant(u"y");
    VARIANT target;
    VariantInit(&target);
    target.vt = VT_I4;
    target.lVal = 7;
    comTestHooks::failBstrAllocations(1);
    EXPECT_EQ(VariantCopy(&target, &source), E_OUTOFMEMORY);
    EXPECT_EQ(target.vt, VT_I4); // untouched on failure
    VariantClear(&source);
}

TEST_F(PlatformComVariantTest, ChangeTypeToBool) {
    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(asBool(v), VARIANT_FALSE); // empty
    v.vt = VT_I4;
    v.lVal = 2;
    EXPECT_EQ(asBool(v), VARIANT_TRUE); // any non-zero number is true
    v.lVal = 0;
    EXPECT_EQ(asBool(v), VARIANT_FALSE);
    v.vt = VT_R8;
    v.dblVal = 0.25;
    EXPECT_EQ(asBool(v), VARIANT_TRUE);
    v.vt = VT_I2;
    v.iVal = -1;
    EXPECT_EQ(asBool(v), VARIANT_TRUE);

    for (const char16_t* text : {u"True", u"  TRUE ", u"1", u"-3.5"}) {
        VARIANT s = bstrVariant(text);
        EXPECT_EQ(asBool(s), VARIANT_TRUE);
        VariantClear(&s);
    }
    for (const char16_t* text : {u"false", u"0", u"0.0"}) {
        VARIANT s = bstrVariant(text);
        EXPECT_EQ(asBool(s), VARIANT_FALSE);
        VariantClear(&s);
    }

    VARIANT word = bstrVariant(u"yes");
    VARIANT out;
    VariantInit(&out);
    out.vt = VT_I4;
    out.lVal = 5;
    EXPECT_EQ(VariantChangeType(&out, &word, 0, VT_BOOL), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(out.vt, VT_I4); // destination untouched
    VariantClear(&word);

    VARIANT null;
    VariantInit(&null);
    null.vt = VT_NULL;
    EXPECT_EQ(VariantChangeType(&out, &null, 0, VT_BOOL), DISP_E_TYPEMISMATCH);
}

TEST_F(PlatformComVariantTest, ChangeTypeBetweenNumbersAndText) {
    _variant_t v(2.5);
    v.ChangeType(VT_I4);
    EXPECT_EQ(v.vt, VT_I4);
    EXPECT_EQ(v.lVal, 2); // half to even
    v = 3.5;
    v.ChangeType(VT_I4);
    EXPECT_EQ(v.lVal, 4);
    v = -1.5;
    v.ChangeType(VT_I2);
    EXPECT_EQ(v.iVal, -2);

    _variant_t big(40000.0);
    try {
        big.ChangeType(VT_I2);
        ADD_FAILURE() << "no overflow";
    } catch (const _com_error& e) {
        EXPECT_EQ(e.Error(), DISP_E_OVERFLOW);
    }
    EXPECT_EQ(big.vt, VT_R8);
    _variant_t notNumber(std::nan(""));
    EXPECT_THROW(notNumber.ChangeType(VT_I4), _com_error);

    _variant_t text(u" 1.5e2 ");
    text.ChangeType(VT_R8);
    EXPECT_DOUBLE_EQ(text.dblVal, 150.0);
    for (const char* bad : {"inf", "nan", "12abc", "", "0x10"}) {
        _variant_t s(bad);
        EXPECT_THROW(s.ChangeType(VT_R8), _com_error) << bad;
    }

    _variant_t number(0.1);
    number.ChangeType(VT_BSTR);
    EXPECT_TRUE(_bstr_t(number.bstrVal, true) == "0.1");
    _variant_t integer(-17);
    integer.ChangeType(VT_BSTR);
    EXPECT_TRUE(_bstr_t(integer.bstrVal, true) == "-17");
    _variant_t flag(true);
    EXPECT_TRUE(static_cast<_bstr_t>(flag) == "-1");
    VARIANT alpha;
    VariantInit(&alpha);
    ASSERT_EQ(VariantChangeType(&alpha, &flag, VARIANT_ALPHABOOL, VT_BSTR), S_OK);
    EXPECT_TRUE(_bstr_t(alpha.bstrVal, false) == "True");

    _variant_t object(static_cast<IDispatch*>(nullptr));
    EXPECT_THROW(object.ChangeType(VT_R8), _com_error);
}

TEST_F(PlatformComVariantTest, VariantTConstructorsAndConversions) {
    EXPECT_EQ(_variant_t(short{3}).vt, VT_I2);
    EXPECT_EQ(_variant_t(3).vt, VT_I4);
    EXPECT_EQ(_variant_t(3L).vt, VT_I4);
    EXPECT_EQ(_variant_t(true).boolVal, VARIANT_TRUE);
    EXPECT_EQ(_variant_t(false).boolVal, VARIANT_FALSE);
    EXPECT_THROW(_variant_t(1L << 40), _com_error);

    const _variant_t name(_bstr_t("Gr\xC3\xB6\xC3\x9F"
                                  "e"));
    EXPECT_EQ(name.vt, VT_BSTR);
    EXPECT_STREQ(static_cast<const char*>(static_cast<_bstr_t>(name)), "Gr\xC3\xB6\xC3\x9F"
                                                                       "e");
    const _variant_t nullText(_bstr_t{});
    EXPECT_EQ(nullText.vt, VT_BSTR);
    EXPECT_EQ(nullText.bstrVal, nullptr);
    EXPECT_TRUE(static_cast<_bstr_t>(nullText) == "");

    EXPECT_EQ(static_cast<long>(_variant_t(u"12")), 12);
    const int count = _variant_t(u"12"); // converts the value, not through operator bool
    EXPECT_EQ(count, 12);
    const short small = _variant_t(2.6);
    EXPECT_EQ(small, 3);
    EXPECT_THROW(static_cast<void>(static_cast<short>(_variant_t(1e6))), _com_error);
    EXPECT_DOUBLE_EQ(static_cast<double>(_variant_t(7)), 7.0);
    EXPECT_TRUE(static_cast<bool>(_variant_t(1)));
    EXPECT_FALSE(static_cast<bool>(_variant_t()));
    try {
        static_cast<void>(static_cast<double>(_variant_t(u"twelve")));
        ADD_FAILURE() << "converted";
    } catch (const _com_error& e) {
        EXPECT_EQ(e.Error(), DISP_E_TYPEMISMATCH);
    }

    _variant_t owner(1.0);
    VARIANT raw = owner.Detach();
    EXPECT_EQ(owner.vt, VT_EMPTY);
    EXPECT_EQ(raw.vt, VT_R8);
    _variant_t adopted;
    adopted.Attach(raw);
    EXPECT_EQ(raw.vt, VT_EMPTY);
    EXPECT_DOUBLE_EQ(adopted.dblVal, 1.0);

    int destroyed = 0;
    {
        ITestShape* shape = new testObjectC(&destroyed);
        _variant_t taken(static_cast<IDispatch*>(shape), false); // takes the creation reference
        _variant_t moved(std::move(taken));
        EXPECT_EQ(taken.vt, VT_EMPTY);
        _variant_t assigned;
        assigned = moved;
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1);
}
} // namespace
