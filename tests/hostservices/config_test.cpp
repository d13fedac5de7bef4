#include "platform/host/services/host_services.h"
#include "tests/hostservices/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>

namespace {

class HostConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        hostsvc::resetHostServices();
        hostsvc::setUserFolderOverride(folder.path());
    }
    void TearDown() override { hostsvc::resetHostServices(); }

    void writeFile(const std::string& text) {
        std::ofstream(folder.path() / "natlinkon.cfg", std::ios::binary) << text;
    }
    std::string readFile() {
        std::ifstream in(folder.path() / "natlinkon.cfg", std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    TempFolder folder;
};

TEST_F(HostConfigTest, MissingFileGivesDefaults) {
    auto config = hostsvc::hostConfiguration("natlinkon");
    EXPECT_EQ(config->filePath(), folder.path() / "natlinkon.cfg");
    EXPECT_EQ(config->value("UI", "DisplayCreationWarningLevel", "49"), "49");
    EXPECT_FALSE(config->value("UI", "DisplayCreationWarningLevel").has_value());
    EXPECT_TRUE(config->loadError().empty());
}

TEST_F(HostConfigTest, ParsesCommentsBlanksCaseAndWindowsLineEnds) {
    writeFile("; leading comment\r\n"
              "# another comment\n"
              "  [ Olvesta ]  \r\n"
              "  RestartCounter =  17  \r\n"
              "noequalsign\n"
              "=nokey\n"
              "Path = C:\\a;b # not a comment\n"
              "[NativeCheckin]\n"
              "ProcessDocumentState=1\n"
              "ProcessDocumentState=2\n"
              "Empty=\n");
    auto config = hostsvc::hostConfiguration("natlinkon");
    EXPECT_EQ(config->value("olvesta", "restartcounter", ""), "17");
    EXPECT_EQ(config->value("OLVESTA", "RESTARTCOUNTER", ""), "17");
    // Comment marks inside a value belong to the value.
    EXPECT_EQ(config->value("Olvesta", "Path", ""), "C:\\a;b # not a comment");
    // The first of two equal keys counts.
    EXPECT_EQ(config->value("NativeCheckin", "ProcessDocumentState", ""), "1");
    ASSERT_TRUE(config->value("NativeCheckin", "Empty").has_value());
    EXPECT_EQ(*config->value("NativeCheckin", "Empty"), "");
    EXPECT_FALSE(config->value("Olvesta", "noequalsign").has_value());
    EXPECT_FALSE(config->value("NativeCheckin", "RestartCounter").has_value());
    EXPECT_EQ(config->sections(), (std::vector<std::string>{"Olvesta", "NativeCheckin"}));
}

TEST_F(HostConfigTest, AByteOrderMarkDoesNotHideTheFirstSection) {
    writeFile("\xEF\xBB\xBF[UI]\nDisplayCreationWarningLevel=3\n");
    auto config = hostsvc::hostConfiguration("natlinkon");
    EXPECT_EQ(config->value("UI", "DisplayCreationWarningLevel", ""), "3");
    EXPECT_EQ(config->sections(), (std::vector<std::string>{"UI"}));
}

TEST_F(HostConfigTest, WritingBackKeepsCommentsAndOrder) {
    writeFile("; counter of restarts\n"
              "[olvesta]\n"
              "restartcounter=4\n"
              "; trailing comment of the section\n"
              "\n"
              "[UI]\n"
              "DisplayCreationWarningLevel=10\n");
    auto config = hostsvc::hostConfiguration("natlinkon");
    config->setValue("Olvesta", "RestartCounter", "5");
    config->setValue("Olvesta", "Other", "x");
    config->setValue("INTERFACE", "NativeCheckinKey", "SolidWorks");
    std::string error;
    ASSERT_TRUE(config->save(&error)) << error;
    EXPECT_EQ(readFile(), "; counter of restarts\n"
                          "[olvesta]\n"
                          "restartcounter=5\n"
                          "Other=x\n"
                          "; trailing comment of the section\n"
                          "\n"
                          "[UI]\n"
                          "DisplayCreationWarningLevel=10\n"
                          "\n"
                          "[INTERFACE]\n"
                          "NativeCheckinKey=SolidWorks\n");

    // A fresh read (cache dropped) sees what was written.
    hostsvc::resetHostServices();
    hostsvc::setUserFolderOverride(folder.path());
    auto again = hostsvc::hostConfiguration("natlinkon");
    EXPECT_NE(again.get(), config.get());
    EXPECT_EQ(again->value("OLVESTA", "restartcounter", ""), "5");
    EXPECT_EQ(again->value("interface", "nativecheckinkey", ""), "SolidWorks");
}

TEST_F(HostConfigTest, SaveCreatesTheUserFolder) {
    hostsvc::setUserFolderOverride(folder.path() / "deeper" / "user");
    auto config = hostsvc::hostConfiguration("natlinkon");
    config->setValue("Olvesta", "RestartCounter", "1");
    std::string error;
    ASSERT_TRUE(config->save(&error)) << error;
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "deeper" / "user" / "natlinkon.cfg"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "deeper" / "user" / "natlinkon.cfg.tmp"));
}

TEST_F(HostConfigTest, SaveReportsAnUnwritableFolder) {
    // A plain file where the user folder should be.
    std::ofstream(folder.path() / "blocker") << "x";
    hostsvc::setUserFolderOverride(folder.path() / "blocker" / "user");
    auto config = hostsvc::hostConfiguration("natlinkon");
    config->setValue("Olvesta", "RestartCounter", "1");
    std::string error;
    EXPECT_FALSE(config->save(&error));
    EXPECT_NE(error.find("blocker"), std::string::npos) << error;
}

TEST_F(HostConfigTest, RefusesTextsThatWouldBreakTheFile) {
    auto config = hostsvc::hostConfiguration("natlinkon");
    EXPECT_THROW(config->setValue("A", "key", "two\nlines"), std::invalid_argument);
    EXPECT_THROW(config->setValue("A", "k=v", "x"), std::invalid_argument);
    EXPECT_THROW(config->setValue("A", "", "x"), std::invalid_argument);
    EXPECT_THROW(config->setValue("A]", "key", "x"), std::invalid_argument);
    EXPECT_THROW(config->setValue("A", ";key", "x"), std::invalid_argument);
    EXPECT_EQ(config->text(), "");
}

TEST_F(HostConfigTest, InterfaceNameMustBeAPlainFileName) {
    EXPECT_THROW(hostsvc::hostConfiguration("../natlinkon"), std::invalid_argument);
    EXPECT_THROW(hostsvc::hostConfiguration(""), std::invalid_argument);
    EXPECT_THROW(hostsvc::hostConfiguration(".."), std::invalid_argument);
    EXPECT_NO_THROW(hostsvc::hostConfiguration("natlinkon"));
}

TEST_F(HostConfigTest, SameNameAndFolderShareOneConfiguration) {
    auto a = hostsvc::hostConfiguration("natlinkon");
    a->setValue("Olvesta", "RestartCounter", "3");
    EXPECT_EQ(hostsvc::hostConfiguration("natlinkon")->value("Olvesta", "RestartCounter", ""), "3");
    TempFolder other;
    hostsvc::setUserFolderOverride(other.path());
    EXPECT_EQ(hostsvc::hostConfiguration("natlinkon")->value("Olvesta", "RestartCounter", "0"),
              "0");
}

TEST_F(HostConfigTest, UserFolderFromEnvironment) {
    hostsvc::setUserFolderOverride({});
    const char* saved = std::getenv("NATLINK_USER_DIR");
    const std::string savedValue = saved ? saved : "";
    ::setenv("NATLINK_USER_DIR", folder.path().c_str(), 1);
    EXPECT_EQ(hostsvc::userFolder(), folder.path());
    ::setenv("NATLINK_USER_DIR", "", 1);
    // An empty value falls back to the home folder; HOME is set here so that this is always
    // checked, not only where the test runner happens to have one.
    const char* home = std::getenv("HOME");
    const std::optional<std::string> savedHome =
        home ? std::optional<std::string>(home) : std::nullopt;
    const std::filesystem::path fakeHome = folder.path() / "home";
    ::setenv("HOME", fakeHome.c_str(), 1);
    EXPECT_EQ(hostsvc::userFolder(), fakeHome / ".natlink");
    if (savedHome)
        ::setenv("HOME", savedHome->c_str(), 1);
    else
        ::unsetenv("HOME");
    if (saved)
        ::setenv("NATLINK_USER_DIR", savedValue.c_str(), 1);
    else
        ::unsetenv("NATLINK_USER_DIR");
}

} // namespace
