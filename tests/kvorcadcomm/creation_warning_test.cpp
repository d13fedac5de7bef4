#include "libs/KvorCadComm/app_environment.h"
#include "libs/KvorCadComm/creation_warning.h"
#include "tests/kvorcadcomm/kvorcadcomm_fixture.h"

#include <vector>

namespace {

class KvorCadCommCreationWarning : public kvorCadCommTest {
protected:
    static bool warn(int level) {
        return displayCreationWarningI(level, "ERROR", "Could not find reference plane for \"P\"",
                                       getAppName(), "plane.cpp", "execute", 42);
    }
    static std::vector<hostsvc::LogRecord> creationWarningRecords() {
        std::vector<hostsvc::LogRecord> result;
        for (const hostsvc::LogRecord& record : hostsvc::capturedLogRecords()) {
            if (record.category == "creation_warning.cpp") {
                result.push_back(record);
            }
        }
        return result;
    }
};

TEST_F(KvorCadCommCreationWarning, WithoutTheOptionLevelsUpTo49AreShown) {
    EXPECT_TRUE(warn(0));
    EXPECT_TRUE(warn(49));
    EXPECT_FALSE(warn(50));
    EXPECT_EQ(hostsvc::shownMessages().size(), 2u);
}

TEST_F(KvorCadCommCreationWarning, OptionDecidesAndEqualLevelIsShown) {
    writeConfig("[UI]\nDisplayCreationWarningLevel=25\n");
    EXPECT_TRUE(warn(24));
    EXPECT_TRUE(warn(25));
    EXPECT_FALSE(warn(26));
    EXPECT_FALSE(warn(49));
    EXPECT_EQ(hostsvc::shownMessages().size(), 2u);
}

TEST_F(KvorCadCommCreationWarning, OptionThatIsNoIntegerCountsAsDefault) {
    writeConfig("[UI]\nDisplayCreationWarningLevel=high\n");
    EXPECT_TRUE(warn(49));
    EXPECT_FALSE(warn(50));
}

TEST_F(KvorCadCommCreationWarning, ShownTextNamesModuleSourceAndMessage) {
    ASSERT_TRUE(displayCreationWarningI(25, "Geometry engine; part 'Block'",
                                        "Failed to create feature pattern", "natlinkon", "f.cpp",
                                        "fn", 1));
    const std::vector<hostsvc::ShownMessage> shown = hostsvc::shownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Creation warning in module 'natlinkon' -> Geometry engine; part "
                             "'Block': Failed to create feature pattern");
    EXPECT_EQ(shown[0].kind, hostsvc::MessageKind::Warning);
}

TEST_F(KvorCadCommCreationWarning, WritesFourTraceRecordsAtTheCallersPositionEvenWhenNotShown) {
    EXPECT_FALSE(warn(60));
    const std::vector<hostsvc::LogRecord> records = creationWarningRecords();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].text, "Creation Warning: Could not find reference plane for \"P\"");
    EXPECT_EQ(records[1].text, "Level =60");
    EXPECT_EQ(records[2].text, "Source=ERROR");
    EXPECT_EQ(records[3].text, "Msg   =Could not find reference plane for \"P\"");
    for (const hostsvc::LogRecord& record : records) {
        EXPECT_EQ(record.level, hostsvc::logLevelTrace);
        EXPECT_EQ(record.sourceFile, "plane.cpp");
        EXPECT_EQ(record.function, "execute");
        EXPECT_EQ(record.line, 42);
    }
}

TEST_F(KvorCadCommCreationWarning, NoRecordsAboveTraceThresholdButStillShown) {
    hostsvc::setDefaultLogLevel(hostsvc::logLevelInfo);
    EXPECT_TRUE(warn(0));
    EXPECT_TRUE(creationWarningRecords().empty());
    EXPECT_EQ(hostsvc::shownMessages().size(), 1u);
}

TEST_F(KvorCadCommCreationWarning, ApplicationNameSelectsTheConfiguration) {
    // Another application has no configuration file here: its default applies.
    writeConfig("[UI]\nDisplayCreationWarningLevel=0\n");
    EXPECT_FALSE(displayCreationWarningI(10, "ERROR", "m", "natlinkon", "f.cpp", "fn", 1));
    EXPECT_TRUE(displayCreationWarningI(10, "ERROR", "m", "otherapp", "f.cpp", "fn", 1));
}

} // namespace
