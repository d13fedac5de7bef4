#include "libs/KvorCore/loader/dispatch.h"
#include "platform/host/services/host_services.h"

#include <gtest/gtest.h>

#include <climits>
#include <thread>

namespace {

TEST(ComVariantTest, TypesAndConversions) {
    EXPECT_TRUE(mzComVariantC().isEmpty());
    EXPECT_EQ(mzComVariantC(3).type(), mzComVariantC::typeE::Int);
    EXPECT_EQ(mzComVariantC(2.5).type(), mzComVariantC::typeE::Double);
    EXPECT_EQ(mzComVariantC("x").type(), mzComVariantC::typeE::String);

    EXPECT_EQ(mzComVariantC(2.9).toInt(), 2);
    EXPECT_EQ(mzComVariantC(-2.9).toInt(), -2);
    EXPECT_EQ(mzComVariantC(1e30).toInt(), INT_MAX);
    EXPECT_EQ(mzComVariantC(-1e30).toInt(), INT_MIN);
    EXPECT_EQ(mzComVariantC("49").toInt(), 49);
    EXPECT_EQ(mzComVariantC("12.7").toInt(), 12);
    EXPECT_DOUBLE_EQ(mzComVariantC(4).toDouble(), 4.0);
    EXPECT_DOUBLE_EQ(mzComVariantC("2.5").toDouble(), 2.5);
    EXPECT_EQ(mzComVariantC(25.4).toString().toUtf8(), "25.4");
    EXPECT_EQ(mzComVariantC(-7).toString().toUtf8(), "-7");
    EXPECT_EQ(mzComVariantC(mzComStringC("Maß")).toString().toUtf8(), "Maß");

    bool ok = true;
    EXPECT_EQ(mzComVariantC("abc").toInt(&ok), 0);
    EXPECT_FALSE(ok);
    ok = true;
    EXPECT_EQ(mzComVariantC().toDouble(&ok), 0.0);
    EXPECT_FALSE(ok);
    ok = true;
    EXPECT_TRUE(mzComVariantC().toString(&ok).isEmpty());
    EXPECT_FALSE(ok);
    EXPECT_FALSE(mzComVariantC(5).toObject().isValid());
    EXPECT_TRUE(mzComVariantC(5).toList().isEmpty());
}

TEST(ComVariantTest, ListsKeepOrderAndNesting) {
    mzComVariantArrayC inner{1, "two"};
    mzComVariantArrayC args{mzComVariantC(inner), 3.5};
    args.append(mzComVariantC());
    ASSERT_EQ(args.size(), 3);
    EXPECT_TRUE(args.at(2).isEmpty());
    EXPECT_TRUE(args.at(3).isEmpty());
    EXPECT_TRUE(args.at(-1).isEmpty());
    const mzComVariantArrayC back = args.at(0).toList();
    ASSERT_EQ(back.size(), 2);
    EXPECT_EQ(back.at(0).toInt(), 1);
    EXPECT_EQ(back.at(1).toString().toUtf8(), "two");
    EXPECT_DOUBLE_EQ(args.at(1).toDouble(), 3.5);
}

class RecorderObject : public hostsvc::HostObject {
public:
    hostsvc::HostValue invoke(std::string_view method,
                              const hostsvc::HostValueList& args) override {
        if (method == "sum") {
            int total = 0;
            for (const auto& a : args)
                total += std::get<int>(a.data);
            return hostsvc::HostValue{total};
        }
        if (method == "self")
            return hostsvc::HostValue{hostsvc::findHostObject("test.recorder")};
        if (method == "throwInt")
            throw 42;
        throw hostsvc::HostCallError("no method '" + std::string(method) + "'");
    }
};

class DispatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        hostsvc::resetHostServices();
        clearLastInvokeError();
        hostsvc::registerHostObject("test.recorder", std::make_shared<RecorderObject>());
    }
    void TearDown() override {
        clearLastInvokeError();
        hostsvc::resetHostServices();
    }
};

TEST_F(DispatchTest, InvokesByNameWithArguments) {
    const mzIDispatchC object(mzComStringC("Test.Recorder"));
    const mzComVariantC sum = object.invoke("sum", {1, 2, 39});
    EXPECT_EQ(sum.toInt(), 42);
    EXPECT_TRUE(getLastInvokeError().isEmpty());
    // Objects come back as handles that can be called again.
    const mzIDispatchC self = object.invoke("self").toObject();
    ASSERT_TRUE(self.isValid());
    EXPECT_EQ(self.invoke("sum", {5}).toInt(), 5);
}

TEST_F(DispatchTest, WatchdogPingThroughAHandle) {
    const mzIDispatchC watchdog(mzComStringC("Tarnwick.Application"));
    EXPECT_EQ(watchdog.invoke("ping").toInt(), 1);
    EXPECT_EQ(watchdog.invoke("ping").toInt(), 2);
    EXPECT_EQ(hostsvc::watchdogPingCount(), 2);
}

TEST_F(DispatchTest, FailedCallsGiveEmptyAndSetTheLastError) {
    const mzIDispatchC object(mzComStringC("test.recorder"));
    mzComVariantC result;
    EXPECT_NO_THROW(result = object.invoke("missing"));
    EXPECT_TRUE(result.isEmpty());
    EXPECT_NE(getLastInvokeError().toUtf8().find("no method 'missing'"), std::string::npos)
        << getLastInvokeError();

    EXPECT_TRUE(object.invoke("throwInt").isEmpty());
    EXPECT_NE(getLastInvokeError().toUtf8().find("unknown error"), std::string::npos);

    // A wrong argument type inside the object (bad_variant_access) is a failure too.
    EXPECT_TRUE(object.invoke("sum", {"x"}).isEmpty());
    EXPECT_FALSE(getLastInvokeError().isEmpty());

    const mzIDispatchC nobody(mzComStringC("no.such.object"));
    EXPECT_TRUE(nobody.invoke("ping").isEmpty());
    EXPECT_NE(getLastInvokeError().toUtf8().find("no.such.object"), std::string::npos);

    EXPECT_TRUE(mzIDispatchC().invoke("ping").isEmpty());
    EXPECT_FALSE(getLastInvokeError().isEmpty());

    // The next successful call clears the error.
    EXPECT_EQ(object.invoke("sum", {1}).toInt(), 1);
    EXPECT_TRUE(getLastInvokeError().isEmpty());
}

TEST_F(DispatchTest, HandleMadeBeforeRegistrationWorksAfterIt) {
    const mzIDispatchC later(mzComStringC("test.later"));
    EXPECT_TRUE(later.invoke("sum", {1}).isEmpty());
    hostsvc::registerHostObject("test.later", std::make_shared<RecorderObject>());
    EXPECT_EQ(later.invoke("sum", {1, 1}).toInt(), 2);
}

TEST_F(DispatchTest, LastErrorBelongsToTheCallingThread) {
    const mzIDispatchC object(mzComStringC("test.recorder"));
    EXPECT_TRUE(object.invoke("missing").isEmpty());
    const mzComStringC mainError = getLastInvokeError();
    ASSERT_FALSE(mainError.isEmpty());

    mzComStringC otherBefore, otherAfterFailure, otherAfterClear;
    std::thread other([&] {
        otherBefore = getLastInvokeError();
        object.invoke("alsoMissing");
        otherAfterFailure = getLastInvokeError();
        clearLastInvokeError();
        otherAfterClear = getLastInvokeError();
    });
    other.join();
    EXPECT_TRUE(otherBefore.isEmpty());
    EXPECT_TRUE(otherAfterFailure.contains("alsoMissing"));
    EXPECT_TRUE(otherAfterClear.isEmpty());
    EXPECT_EQ(getLastInvokeError(), mainError);
}

TEST_F(DispatchTest, DisplayShowsTheErrorOnceAndClearsIt) {
    hostsvc::clearShownMessages();
    EXPECT_FALSE(displayLastInvokeException());
    mzIDispatchC(mzComStringC("test.recorder")).invoke("missing");
    EXPECT_TRUE(displayLastInvokeException());
    const auto shown = hostsvc::shownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, hostsvc::MessageKind::Error);
    EXPECT_NE(shown[0].text.find("missing"), std::string::npos);
    EXPECT_FALSE(displayLastInvokeException());
    EXPECT_EQ(hostsvc::shownMessages().size(), 1u);
}

} // namespace
