#include "platform/host/services/host_services.h"
#include "tests/hostservices/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

class HostLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        hostsvc::resetHostServices();
        hostsvc::setLogCapture(true);
    }
    void TearDown() override { hostsvc::resetHostServices(); }

    static hostsvc::LogRecord record(std::string category, int level, std::string text) {
        return hostsvc::LogRecord{std::move(category), level, "file.cpp",
                                  "void f()",          12,    std::move(text)};
    }
};

TEST_F(HostLogTest, RecordIsWrittenWhenItsLevelReachesTheThreshold) {
    EXPECT_EQ(hostsvc::defaultLogLevel(), hostsvc::defaultLogThreshold);
    hostsvc::setDefaultLogLevel(20000);
    hostsvc::writeLog(record("a", 19999, "below"));
    hostsvc::writeLog(record("a", 20000, "at"));
    hostsvc::writeLog(record("a", 40000, "above"));
    const auto records = hostsvc::capturedLogRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].text, "at");
    EXPECT_EQ(records[1].text, "above");
    EXPECT_EQ(records[0].category, "a");
    EXPECT_EQ(records[0].sourceFile, "file.cpp");
    EXPECT_EQ(records[0].function, "void f()");
    EXPECT_EQ(records[0].line, 12);
}

TEST_F(HostLogTest, CategoryThresholdOverridesTheDefault) {
    hostsvc::setDefaultLogLevel(40000);
    hostsvc::setCategoryLogLevel("traced.cpp", 5000);
    EXPECT_TRUE(hostsvc::isLogEnabled("traced.cpp", 5000));
    EXPECT_FALSE(hostsvc::isLogEnabled("other.cpp", 5000));
    EXPECT_FALSE(hostsvc::isLogEnabled("traced.cpp", 4999));
    hostsvc::writeLog(record("traced.cpp", 5000, "trace"));
    hostsvc::writeLog(record("other.cpp", 5000, "dropped"));
    ASSERT_EQ(hostsvc::capturedLogRecords().size(), 1u);
    EXPECT_EQ(hostsvc::capturedLogRecords()[0].text, "trace");

    hostsvc::clearCategoryLogLevel("traced.cpp");
    EXPECT_FALSE(hostsvc::isLogEnabled("traced.cpp", 5000));
    EXPECT_EQ(hostsvc::categoryLogLevel("traced.cpp"), 40000);
}

TEST_F(HostLogTest, GenerationChangesWithEverySettingChange) {
    const auto g0 = hostsvc::logConfigGeneration();
    EXPECT_NE(g0, 0u);
    hostsvc::setDefaultLogLevel(5000);
    const auto g1 = hostsvc::logConfigGeneration();
    EXPECT_NE(g1, g0);
    hostsvc::setCategoryLogLevel("x", 1);
    EXPECT_NE(hostsvc::logConfigGeneration(), g1);
}

TEST_F(HostLogTest, CaptureIsClearableAndOffAfterReset) {
    hostsvc::writeLog(record("a", 50000, "one"));
    EXPECT_EQ(hostsvc::capturedLogRecords().size(), 1u);
    hostsvc::clearCapturedLogRecords();
    EXPECT_TRUE(hostsvc::capturedLogRecords().empty());
    hostsvc::resetHostServices();
    hostsvc::writeLog(record("a", 50000, "not captured"));
    EXPECT_TRUE(hostsvc::capturedLogRecords().empty());
}

TEST_F(HostLogTest, FileSinkAppendsFormattedRecords) {
    TempFolder folder;
    const auto file = folder.path() / "natlink.log";
    std::ofstream(file) << "earlier line\n";
    std::string error;
    ASSERT_TRUE(hostsvc::setLogFile(file, &error)) << error;
    hostsvc::writeLog(record("cat.cpp", 40000, "Something failed"));
    hostsvc::writeLog(record("cat.cpp", 10, "dropped"));
    hostsvc::closeLogFile();
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(),
              "earlier line\n40000 [cat.cpp] Something failed (file.cpp:12 void f())\n");
}

TEST_F(HostLogTest, UnopenableLogFileIsReported) {
    std::string error;
    EXPECT_FALSE(hostsvc::setLogFile("/nonexistent-folder-natlink/x.log", &error));
    EXPECT_NE(error.find("/nonexistent-folder-natlink/x.log"), std::string::npos);
}

} // namespace
