// Reading array answers: element types, bounds, and the object arrays that arrive as
// IUnknown arrays.
#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

HRESULT errorOf(void (*call)(const VARIANT&), const VARIANT& value) {
    try {
        call(value);
    } catch (const _com_error& error) {
        return error.Error();
    }
    return S_OK;
}

// An array of the objects as VT_UNKNOWN with the given feature flags.
_variant_t unknownArray(const std::vector<IUnknown*>& objects, USHORT flags) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_UNKNOWN, 0, static_cast<ULONG>(objects.size()));
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const LONG index = static_cast<LONG>(i);
        SafeArrayPutElement(array, &index, objects[i]);
    }
    array->fFeatures =
        static_cast<USHORT>((array->fFeatures & ~(FADF_HAVEIID | FADF_DISPATCH)) | flags);
    VARIANT holder;
    VariantInit(&holder);
    holder.vt = VT_ARRAY | VT_UNKNOWN;
    holder.parray = array;
    return _variant_t(holder, false);
}

TEST(SwapiArrayReading, DoubleArraysAreCheckedForTypeAndLength) {
    const _variant_t values = makeDoubleArray({1, 2, 3});
    EXPECT_EQ(readDoubleArray(values, 3), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(errorOf([](const VARIANT& v) { readDoubleArray(v, 4); }, values), E_INVALIDARG);
    EXPECT_EQ(errorOf([](const VARIANT& v) { doubleArrayAt(v, 3); }, values), E_INVALIDARG);
    EXPECT_EQ(errorOf([](const VARIANT& v) { doubleArrayAt(v, -1); }, values), E_INVALIDARG);
    EXPECT_EQ(errorOf([](const VARIANT& v) { readDoubleArray(v); }, makeLongArray({1, 2, 3})),
              E_INVALIDARG);
    EXPECT_EQ(errorOf([](const VARIANT& v) { readDoubleArray(v); }, _variant_t()), E_FAIL);
    EXPECT_EQ(errorOf([](const VARIANT& v) { readDoubleArray(v); }, _variant_t(2.0)), E_FAIL);
}

TEST(SwapiArrayReading, ObjectArraysOfUnknownNeedBothFlags) {
    partFixtureC part;
    IDispatchPtr first(modelDocFirstFeature(part.doc()));
    IUnknownPtr unknown(first);
    const _variant_t flagged = unknownArray({unknown}, FADF_HAVEIID | FADF_DISPATCH);
    const auto objects = readObjectArray(flagged);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(IFeaturePtr(objects[0]), IFeaturePtr(first));

    EXPECT_FALSE(isObjectArray(unknownArray({unknown}, FADF_HAVEIID)));
    EXPECT_EQ(errorOf([](const VARIANT& v) { readObjectArray(v); },
                      unknownArray({unknown}, FADF_DISPATCH)),
              E_INVALIDARG);
    EXPECT_EQ(errorOf([](const VARIANT& v) { readObjectArray(v); }, makeDoubleArray({1})),
              E_INVALIDARG);
    // No array at all reads as no objects.
    EXPECT_TRUE(readObjectArray(_variant_t()).empty());
}

TEST(SwapiArrayReading, DispatchArraysRoundTrip) {
    partFixtureC part;
    IDispatchPtr first(modelDocFirstFeature(part.doc()));
    IDispatchPtr second(featureGetNext(IFeaturePtr(first)));
    const auto objects = readObjectArray(makeDispatchArray({first, second, nullptr}));
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(objects[0], first);
    EXPECT_EQ(objects[1], second);
    EXPECT_FALSE(objects[2]);
}

TEST(SwapiArrayReading, StringArraysOnly) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, 2);
    const LONG zero = 0;
    const LONG one = 1;
    _bstr_t a("Default");
    _bstr_t b("Level of Detail: 1");
    SafeArrayPutElement(array, &zero, const_cast<BSTR>(static_cast<const char16_t*>(a)));
    SafeArrayPutElement(array, &one, const_cast<BSTR>(static_cast<const char16_t*>(b)));
    VARIANT holder;
    VariantInit(&holder);
    holder.vt = VT_ARRAY | VT_BSTR;
    holder.parray = array;
    const _variant_t names(holder, false);
    EXPECT_EQ(readBstrArray(names), (std::vector<_bstr_t>{a, b}));
    EXPECT_EQ(errorOf([](const VARIANT& v) { readBstrArray(v); }, makeDoubleArray({1})),
              E_INVALIDARG);
    // Integers come as 32-bit or 16-bit elements, negative ones included.
    EXPECT_EQ(readLongArray(makeLongArray({16, -2147483647 - 1})),
              (std::vector<long>{16, -2147483647L - 1}));
    SAFEARRAYBOUND two{2, 0};
    SAFEARRAY* shorts = SafeArrayCreate(VT_I2, 1, &two);
    const std::int16_t values[2] = {64, -1};
    for (LONG i = 0; i < 2; ++i)
        SafeArrayPutElement(shorts, &i, const_cast<std::int16_t*>(&values[i]));
    VARIANT shortHolder;
    VariantInit(&shortHolder);
    shortHolder.vt = VT_ARRAY | VT_I2;
    shortHolder.parray = shorts;
    EXPECT_EQ(readLongArray(_variant_t(shortHolder, false)), (std::vector<long>{64, -1}));
    EXPECT_EQ(errorOf([](const VARIANT& v) { readLongArray(v); }, names), E_INVALIDARG);
    EXPECT_EQ(errorOf([](const VARIANT& v) { readLongArray(v); }, _variant_t()), E_INVALIDARG);
}

} // namespace
