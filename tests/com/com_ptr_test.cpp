#include "tests/com/test_objects.h"

#include <gtest/gtest.h>

#include <utility>

namespace {
TEST(PlatformComPtr, QueryOnConstructionAndAssignment) {
    int destroyed = 0;
    {
        ITestShapePtr shape(new testObjectC(&destroyed, 2.5), false);
        ITestNamedPtr named(shape); // QueryInterface
        ASSERT_TRUE(named);
        double size = 0;
        EXPECT_EQ(shape->GetSize(&size), S_OK);
        EXPECT_DOUBLE_EQ(size, 2.5);

        ITestMissingPtr missing(shape); // E_NOINTERFACE: empty, no error
        EXPECT_FALSE(missing);
        EXPECT_TRUE(missing == nullptr);

        _variant_t holder(static_cast<IDispatch*>(shape));
        ITestNamedPtr fromVariant(holder);
        EXPECT_TRUE(fromVariant);
        ITestNamedPtr fromEmpty(_variant_t{});
        EXPECT_FALSE(fromEmpty);
        try {
            ITestNamedPtr fromNumber(_variant_t(3.0));
            ADD_FAILURE() << "a number gave an interface";
        } catch (const _com_error& e) {
            EXPECT_EQ(e.Error(), DISP_E_TYPEMISMATCH);
        }

        IUnknown* unknown = named; // ITestNamed derives from IUnknown
        ITestShapePtr again;
        again = unknown;
        EXPECT_TRUE(again == shape);
        EXPECT_TRUE(again != ITestShapePtr());
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1); // every reference balanced
}

TEST(PlatformComPtr, FailedQueryRaisesItsHresultWithTheIid) {
    int destroyed = 0;
    {
        testObjectC* object = new testObjectC(&destroyed);
        ITestShapePtr shape(object, false);
        object->queryFailure = E_UNEXPECTED;
        try {
            ITestNamedPtr named(shape);
            ADD_FAILURE() << "no error raised";
        } catch (const _com_error& e) {
            EXPECT_EQ(e.Error(), E_UNEXPECTED);
            EXPECT_EQ(e.Iid(), uuidOf<ITestNamed>());
        }
        ITestNamedPtr kept(new testObjectC(&destroyed), false);
        EXPECT_THROW(kept = shape, _com_error);
        EXPECT_TRUE(kept); // a failed assignment keeps the old pointer

        object->queryFailure = E_NOINTERFACE;
        kept = shape;
        EXPECT_FALSE(kept); // E_NOINTERFACE empties it
        EXPECT_EQ(destroyed, 1);
    }
    EXPECT_EQ(destroyed, 2);
}

TEST(PlatformComPtr, NullUseRaisesPointerError) {
    ITestShapePtr empty;
    try {
        double size = 0;
        empty->GetSize(&size);
        ADD_FAILURE() << "no error raised";
    } catch (const _com_error& e) {
        EXPECT_EQ(e.Error(), E_POINTER);
        EXPECT_STREQ(e.ErrorMessage(), "0x80004003 E_POINTER");
    }
    EXPECT_THROW(*empty, _com_error);
    EXPECT_THROW(empty.Release(), _com_error);
    EXPECT_THROW(empty.AddRef(), _com_error);
    void* out = nullptr;
    EXPECT_EQ(empty.QueryInterface(IID_IUnknown, &out), E_POINTER);
    ITestNamedPtr fromNull(empty);
    EXPECT_FALSE(fromNull);
}

TEST(PlatformComPtr, OwnershipTransfers) {
    int destroyed = 0;
    testObjectC* object = new testObjectC(&destroyed);
    ITestShape* raw = object;
    {
        ITestShapePtr shared(raw); // AddRef: 2
        EXPECT_EQ(object->refs(), 2u);
        ITestShapePtr copy = shared;
        EXPECT_EQ(object->refs(), 3u);
        ITestShapePtr moved(std::move(copy));
        EXPECT_FALSE(copy);
        EXPECT_EQ(object->refs(), 3u);

        ITestShape* detached = moved.Detach(); // no Release
        EXPECT_EQ(detached, raw);
        EXPECT_FALSE(moved);
        EXPECT_EQ(object->refs(), 3u);
        moved.Attach(detached); // takes that reference back without AddRef
        EXPECT_EQ(object->refs(), 3u);

        moved = moved; // self-assignment keeps the object alive
        EXPECT_EQ(object->refs(), 3u);
        moved.Release();
        EXPECT_FALSE(moved);
        EXPECT_EQ(object->refs(), 2u);
    }
    EXPECT_EQ(object->refs(), 1u);
    EXPECT_EQ(destroyed, 0);

    ITestShapePtr out;
    ITestShapePtr source(raw);
    ASSERT_EQ(source.QueryInterface(uuidOf<ITestShape>(), &out), S_OK); // operator& for out
    EXPECT_EQ(object->refs(), 3u);
    ASSERT_EQ(source.QueryInterface(IID_ITestShapeOld, &out), S_OK); // releases the old one
    EXPECT_EQ(object->refs(), 3u);
    out = nullptr;
    source = nullptr;
    object->Release();
    EXPECT_EQ(destroyed, 1);
}
} // namespace

namespace {
TEST(PlatformComError, CarriesHresultIidAndReadableMessage) {
    try {
        _com_issue_errorex(DISP_E_BADINDEX, nullptr, uuidOf<ITestNamed>());
        ADD_FAILURE() << "no error raised";
    } catch (const _com_error& e) {
        EXPECT_EQ(e.Error(), DISP_E_BADINDEX);
        EXPECT_EQ(e.GUID(), uuidOf<ITestNamed>());
        EXPECT_STREQ(e.what(), "0x8002000B DISP_E_BADINDEX");
    }
    const _com_error unknown(NATLINK_HRESULT(0x8000ABCDu));
    EXPECT_STREQ(unknown.ErrorMessage(), "0x8000ABCD Unknown error");
    EXPECT_EQ(unknown.Iid(), GUID_NULL);
    EXPECT_TRUE(FAILED(unknown.Error()));
    EXPECT_TRUE(SUCCEEDED(S_FALSE));
}
} // namespace
