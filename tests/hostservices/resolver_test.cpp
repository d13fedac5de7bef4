#include "platform/host/services/host_services.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// Sets an environment variable for the scope of a test and restores it after.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_.c_str(), old_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }

private:
    std::string name_;
    std::optional<std::string> old_;
};

class ResolverTest : public ::testing::Test {
protected:
    void SetUp() override { hostsvc::resetHostServices(); }
    void TearDown() override { hostsvc::resetHostServices(); }
};

TEST_F(ResolverTest, TempFromTmpdirOrTmp) {
    {
        ScopedEnv tmp("TMPDIR", "/var/tmp/x/");
        EXPECT_EQ(hostsvc::resolveReferences("$temp/meta.kvr"), "/var/tmp/x/meta.kvr");
        EXPECT_EQ(hostsvc::resolveReferences("%temp%/meta.kvr"), "/var/tmp/x/meta.kvr");
        EXPECT_EQ(hostsvc::resolveReferences("%TEMP%/a"), "/var/tmp/x/a");
    }
    ScopedEnv tmp("TMPDIR", nullptr);
    EXPECT_EQ(hostsvc::resolveReferences("$temp/volmera.io"), "/tmp/volmera.io");
    EXPECT_EQ(hostsvc::resolveReferences("$temp/"), "/tmp/");
}

TEST_F(ResolverTest, UserFolderAndHome) {
    hostsvc::setUserFolderOverride("/data/user");
    EXPECT_EQ(hostsvc::resolveReferences("%volmera_user%/natlinkon.cfg"),
              "/data/user/natlinkon.cfg");
    EXPECT_EQ(hostsvc::resolveReferences("$volmera_user/x"), "/data/user/x");
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(hostsvc::resolveReferences("$home/a"), "/home/someone/a");
}

TEST_F(ResolverTest, EnvironmentVariablesAndUnknownNames) {
    ScopedEnv a("NATLINK_TEST_VAR", "value");
    ScopedEnv b("NATLINK_TEST_UNSET", nullptr);
    EXPECT_EQ(hostsvc::resolveReferences("x/$NATLINK_TEST_VAR/y"), "x/value/y");
    EXPECT_EQ(hostsvc::resolveReferences("%NATLINK_TEST_VAR%"), "value");
    // Environment names keep their case.
    EXPECT_EQ(hostsvc::resolveReferences("$natlink_test_var"), "$natlink_test_var");
    EXPECT_EQ(hostsvc::resolveReferences("$NATLINK_TEST_UNSET/a"), "$NATLINK_TEST_UNSET/a");
    EXPECT_EQ(hostsvc::resolveReferences("%NATLINK_TEST_UNSET%"), "%NATLINK_TEST_UNSET%");
}

TEST_F(ResolverTest, TextsThatAreNoReferencesStay) {
    ScopedEnv a("NATLINK_TEST_VAR", "v");
    EXPECT_EQ(hostsvc::resolveReferences(""), "");
    EXPECT_EQ(hostsvc::resolveReferences("$"), "$");
    EXPECT_EQ(hostsvc::resolveReferences("100% sure"), "100% sure");
    EXPECT_EQ(hostsvc::resolveReferences("%NATLINK_TEST_VAR"), "%NATLINK_TEST_VAR");
    EXPECT_EQ(hostsvc::resolveReferences("$/x"), "$/x");
    EXPECT_EQ(hostsvc::resolveReferences("%%"), "%%");
    // The longest name counts: $NATLINK_TEST_VARX is another variable.
    EXPECT_EQ(hostsvc::resolveReferences("$NATLINK_TEST_VARX"), "$NATLINK_TEST_VARX");
    // A resolved value is not resolved again.
    ScopedEnv b("NATLINK_TEST_INDIRECT", "$NATLINK_TEST_VAR");
    EXPECT_EQ(hostsvc::resolveReferences("$NATLINK_TEST_INDIRECT"), "$NATLINK_TEST_VAR");
}

} // namespace
