#include "tests/com/test_objects.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {
TEST(PlatformComObject, AnswersItsInterfacesAndAliases) {
    int destroyed = 0;
    testObjectC* object = new testObjectC(&destroyed);
    ITestShape* shape = object;
    ITestNamed* named = object;

    void* out = nullptr;
    ASSERT_EQ(named->QueryInterface(uuidOf<ITestShape>(), &out), S_OK);
    EXPECT_EQ(out, static_cast<void*>(shape));
    static_cast<ITestShape*>(out)->Release();

    ASSERT_EQ(named->QueryInterface(IID_ITestShapeOld, &out), S_OK); // second IID, same interface
    EXPECT_EQ(out, static_cast<void*>(shape));
    static_cast<ITestShape*>(out)->Release();

    // IUnknown is the same pointer whichever interface is asked: object identity.
    void* fromShape = nullptr;
    void* fromNamed = nullptr;
    ASSERT_EQ(shape->QueryInterface(IID_IUnknown, &fromShape), S_OK);
    ASSERT_EQ(named->QueryInterface(IID_IUnknown, &fromNamed), S_OK);
    EXPECT_EQ(fromShape, fromNamed);
    static_cast<IUnknown*>(fromShape)->Release();
    static_cast<IUnknown*>(fromNamed)->Release();

    ASSERT_EQ(named->QueryInterface(IID_IDispatch, &out), S_OK); // through ITestShape
    IDispatch* dispatch = static_cast<IDispatch*>(out);
    EXPECT_EQ(dispatch, static_cast<IDispatch*>(shape));
    DISPID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(u"ping", &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(dispatch->Invoke(1, nullptr, 0, nullptr), DISP_E_MEMBERNOTFOUND);
    dispatch->Release();

    out = &destroyed;
    EXPECT_EQ(shape->QueryInterface(uuidOf<ITestMissing>(), &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(shape->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

    EXPECT_EQ(object->refs(), 1u); // every successful query was balanced
    EXPECT_EQ(shape->Release(), 0u);
    EXPECT_EQ(destroyed, 1);
}

TEST(PlatformComObject, ReferenceCountIsAtomic) {
    int destroyed = 0;
    testObjectC* object = new testObjectC(&destroyed);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([object] {
            for (int i = 0; i < 20000; ++i) {
                ITestShapePtr held(object); // AddRef ... Release
                ITestNamedPtr other(held);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(object->refs(), 1u);
    static_cast<ITestShape*>(object)->Release();
    EXPECT_EQ(destroyed, 1);
}
} // namespace
