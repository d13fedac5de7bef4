#include "libs/KvorCore/loader/trace_frame.h"
#include "platform/host/services/host_services.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

namespace {

class LogTraceTest : public ::testing::Test {
protected:
    void SetUp() override {
        hostsvc::resetHostServices();
        hostsvc::setLogCapture(true);
    }
    void TearDown() override { hostsvc::resetHostServices(); }

    static std::vector<std::string> texts() {
        std::vector<std::string> out;
        for (const auto& r : hostsvc::capturedLogRecords())
            out.push_back(r.text);
        return out;
    }
};

TEST_F(LogTraceTest, CategoriesAreRegisteredOncePerName) {
    const mzLogCategoryT a = registerLogCategory("cat_a.cpp");
    EXPECT_NE(a, 0u);
    EXPECT_EQ(registerLogCategory("cat_a.cpp"), a);
    EXPECT_NE(registerLogCategory("cat_b.cpp"), a);
    EXPECT_EQ(logCategoryName(a), "cat_a.cpp");
    EXPECT_EQ(logCategoryName(0), "unregistered");
    EXPECT_EQ(logCategoryName(0xFFFFFFF0u), "unregistered");
    EXPECT_EQ(logCategoryNameOfFile("/work/libs/geomcore/natCheckin/swCheckin.cpp"),
              "swCheckin.cpp");
    EXPECT_EQ(logCategoryNameOfFile("plain.cpp"), "plain.cpp");
    EXPECT_EQ(logCategoryName(NATLINK_LOG_CATEGORY()), "log_trace_test.cpp");
}

TEST_F(LogTraceTest, ConcurrentRegistrationGivesOneHandle) {
    std::vector<mzLogCategoryT> handles(8);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < handles.size(); ++t)
        threads.emplace_back([&handles, t] {
            for (int i = 0; i < 100; ++i)
                registerLogCategory("noise" + std::to_string(i));
            handles[t] = registerLogCategory("shared_category.cpp");
        });
    for (auto& t : threads)
        t.join();
    for (mzLogCategoryT h : handles)
        EXPECT_EQ(h, handles[0]);
}

TEST_F(LogTraceTest, ThresholdChangesReachCachedCategories) {
    const mzLogCategoryT c = registerLogCategory("cached.cpp");
    hostsvc::setDefaultLogLevel(40000);
    EXPECT_FALSE(isLogLevelEnabled(c, mzLogLevelTrace));
    EXPECT_TRUE(isLogLevelEnabled(c, mzLogLevelError));
    hostsvc::setCategoryLogLevel("cached.cpp", 5000);
    EXPECT_TRUE(isLogLevelEnabled(c, mzLogLevelTrace));
    EXPECT_FALSE(isLogLevelEnabled(c, 4999));
    hostsvc::clearCategoryLogLevel("cached.cpp");
    EXPECT_FALSE(isLogLevelEnabled(c, mzLogLevelTrace));
    hostsvc::setDefaultLogLevel(1);
    EXPECT_TRUE(isLogLevelEnabled(c, mzLogLevelTrace));
}

TEST_F(LogTraceTest, WriteLogRecordCarriesThePosition) {
    const mzLogCategoryT c = registerLogCategory("pattern.cpp");
    hostsvc::setCategoryLogLevel("pattern.cpp", 5000);
    writeLogRecord(c, 5000, "/src/pattern.cpp", "void createPattern()", 77,
                   "Create pattern: " + mzComStringC("Boss"));
    writeLogRecord(c, 4000, "/src/pattern.cpp", "void createPattern()", 78, "below");
    const auto records = hostsvc::capturedLogRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].category, "pattern.cpp");
    EXPECT_EQ(records[0].level, 5000);
    EXPECT_EQ(records[0].sourceFile, "/src/pattern.cpp");
    EXPECT_EQ(records[0].function, "void createPattern()");
    EXPECT_EQ(records[0].line, 77);
    EXPECT_EQ(records[0].text, "Create pattern: Boss");
}

TEST_F(LogTraceTest, LogMacroBuildsTheTextOnlyWhenEnabled) {
    int built = 0;
    auto text = [&built] {
        ++built;
        return mzComStringC("File have no custom properties");
    };
    hostsvc::setDefaultLogLevel(40000);
    NATLINK_LOG(mzLogLevelTrace, text());
    EXPECT_EQ(built, 0);
    hostsvc::setCategoryLogLevel("log_trace_test.cpp", 5000);
    NATLINK_LOG(mzLogLevelTrace, text());
    EXPECT_EQ(built, 1);
    EXPECT_EQ(texts(), std::vector<std::string>{"File have no custom properties"});
}

void tracedWork(bool fail) {
    NATLINK_TRACE_FRAME("tracedWork");
    if (fail)
        throw std::runtime_error("boom");
}

TEST_F(LogTraceTest, FrameWritesEnterAndLeave) {
    hostsvc::setCategoryLogLevel("log_trace_test.cpp", 5000);
    tracedWork(false);
    EXPECT_EQ(texts(),
              (std::vector<std::string>{"Enter Frame tracedWork", "Leave Frame tracedWork"}));
    const auto records = hostsvc::capturedLogRecords();
    EXPECT_EQ(records[0].level, 5000);
    EXPECT_EQ(records[1].level, 5000);
    EXPECT_NE(records[0].function.find("tracedWork"), std::string::npos);
    EXPECT_EQ(records[0].line, records[1].line);
}

TEST_F(LogTraceTest, FrameLeftByAnExceptionSaysSo) {
    hostsvc::setCategoryLogLevel("log_trace_test.cpp", 5000);
    EXPECT_THROW(tracedWork(true), std::runtime_error);
    EXPECT_EQ(texts(),
              (std::vector<std::string>{"Enter Frame tracedWork", "Exception in tracedWork",
                                        "Leave Frame tracedWork"}));
    EXPECT_EQ(hostsvc::capturedLogRecords()[1].level, 40000);
}

TEST_F(LogTraceTest, ExceptionRecordShowsWithoutTracing) {
    hostsvc::setDefaultLogLevel(40000);
    EXPECT_THROW(tracedWork(true), std::runtime_error);
    EXPECT_EQ(texts(), std::vector<std::string>{"Exception in tracedWork"});
}

TEST_F(LogTraceTest, FrameDestroyedDuringUnwindingOfAnOuterExceptionIsNoFailureOfItsOwn) {
    hostsvc::setCategoryLogLevel("log_trace_test.cpp", 5000);
    struct Cleanup {
        ~Cleanup() { tracedWork(false); }
    };
    try {
        Cleanup cleanup;
        throw std::runtime_error("outer");
    } catch (const std::runtime_error&) {
    }
    // A frame opened while unwinding and closed normally is no exception path.
    EXPECT_EQ(texts(),
              (std::vector<std::string>{"Enter Frame tracedWork", "Leave Frame tracedWork"}));
}

TEST_F(LogTraceTest, FunctionFrameUsesTheFunctionName) {
    hostsvc::setCategoryLogLevel("log_trace_test.cpp", 5000);
    [] { NATLINK_TRACE_FUNCTION(); }();
    EXPECT_EQ(texts(),
              (std::vector<std::string>{"Enter Frame operator()", "Leave Frame operator()"}));
}

} // namespace
