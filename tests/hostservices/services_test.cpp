#include "platform/host/services/host_services.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

class HostServicesTest : public ::testing::Test {
protected:
    void SetUp() override { hostsvc::resetHostServices(); }
    void TearDown() override { hostsvc::resetHostServices(); }
};

TEST_F(HostServicesTest, TranslatesKnownKeysAndGivesUnknownKeysBack) {
    EXPECT_EQ(hostsvc::translateText("Msg_3dExport_002"), "The drilling cannot be built in %1.");
    EXPECT_EQ(hostsvc::translateText("Msg_checkin_001"), "The document cannot be checked in");
    for (const char* key :
         {"Msg_offline_001", "Msg_offline_002", "Msg_offline_003", "Msg_offline_004"}) {
        const std::string text = hostsvc::translateText(key);
        EXPECT_NE(text, key);
        EXPECT_FALSE(text.empty());
    }
    EXPECT_EQ(hostsvc::translateText("Msg_unknown_999"), "Msg_unknown_999");
    // Keys are exact.
    EXPECT_EQ(hostsvc::translateText("msg_checkin_001"), "msg_checkin_001");
}

TEST_F(HostServicesTest, MessagesAreKeptInOrderUntilCleared) {
    hostsvc::showMessage("first");
    hostsvc::showMessage("second", hostsvc::MessageKind::Error);
    auto shown = hostsvc::shownMessages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "first");
    EXPECT_EQ(shown[0].kind, hostsvc::MessageKind::Info);
    EXPECT_EQ(shown[1].kind, hostsvc::MessageKind::Error);
    hostsvc::clearShownMessages();
    EXPECT_TRUE(hostsvc::shownMessages().empty());
}

TEST_F(HostServicesTest, ScriptEventsAreJournaled) {
    EXPECT_EQ(hostsvc::raiseScriptEvent("AppBeforeCreate", "Bracket"), 0);
    hostsvc::raiseScriptEvent("DocOnOpen");
    auto journal = hostsvc::scriptEventJournal();
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ(journal[0].name, "AppBeforeCreate");
    EXPECT_EQ(journal[0].argument, "Bracket");
    EXPECT_EQ(journal[1].name, "DocOnOpen");
    EXPECT_EQ(journal[1].argument, "");
    hostsvc::resetHostServices();
    EXPECT_TRUE(hostsvc::scriptEventJournal().empty());
}

TEST_F(HostServicesTest, NativeCheckinKeepsTheLastRecordAndCallsThePrinter) {
    EXPECT_FALSE(hostsvc::lastNativeCheckin().has_value());
    std::vector<std::string> printed;
    hostsvc::setNativeCheckinPrinter([&](const hostsvc::NativeCheckinResult& r) {
        printed.push_back(r.interfaceName + ":" + r.recordText);
    });
    hostsvc::postProcessNativeCheckin("(CHECKINOUT)", "natlinkon");
    hostsvc::postProcessNativeCheckin("(CHECKINOUT (HEADER))", "natlinkon");
    ASSERT_TRUE(hostsvc::lastNativeCheckin().has_value());
    EXPECT_EQ(hostsvc::lastNativeCheckin()->recordText, "(CHECKINOUT (HEADER))");
    EXPECT_EQ(printed, (std::vector<std::string>{"natlinkon:(CHECKINOUT)",
                                                 "natlinkon:(CHECKINOUT (HEADER))"}));
    hostsvc::resetHostServices();
    EXPECT_FALSE(hostsvc::lastNativeCheckin().has_value());
    hostsvc::postProcessNativeCheckin("(CHECKINOUT)", "natlinkon");
    EXPECT_EQ(printed.size(), 2u); // printer dropped by the reset
}

TEST_F(HostServicesTest, WatchdogCountsPingsAndRefusesOtherCalls) {
    EXPECT_EQ(hostsvc::watchdogPingCount(), 0);
    auto first = hostsvc::invokeHostObject("Tarnwick.Application", "ping", {});
    EXPECT_EQ(std::get<int>(first.data), 1);
    auto second = hostsvc::invokeHostObject("tarnwick.application", "PING", {});
    EXPECT_EQ(std::get<int>(second.data), 2);
    EXPECT_EQ(hostsvc::watchdogPingCount(), 2);
    EXPECT_THROW(hostsvc::invokeHostObject("Tarnwick.Application", "stop", {}),
                 hostsvc::HostCallError);
    EXPECT_THROW(hostsvc::invokeHostObject("Tarnwick.Application", "ping", {hostsvc::HostValue{1}}),
                 hostsvc::HostCallError);
    EXPECT_EQ(hostsvc::watchdogPingCount(), 2);
    hostsvc::resetHostServices();
    EXPECT_EQ(hostsvc::watchdogPingCount(), 0);
}

TEST_F(HostServicesTest, WatchdogCountsPingsFromManyThreads) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 250; ++i)
                hostsvc::invokeHostObject("Tarnwick.Application", "ping", {});
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(hostsvc::watchdogPingCount(), 1000);
}

class EchoObject : public hostsvc::HostObject {
public:
    hostsvc::HostValue invoke(std::string_view method,
                              const hostsvc::HostValueList& args) override {
        if (method != "echo" || args.size() != 1)
            throw hostsvc::HostCallError("bad call");
        return args[0];
    }
};

TEST_F(HostServicesTest, ObjectRegistryRegistersReplacesAndRemoves) {
    EXPECT_EQ(hostsvc::findHostObject("test.echo"), nullptr);
    EXPECT_THROW(hostsvc::invokeHostObject("test.echo", "echo", {}), hostsvc::HostCallError);
    auto echo = std::make_shared<EchoObject>();
    hostsvc::registerHostObject("Test.Echo", echo);
    EXPECT_EQ(hostsvc::findHostObject("test.echo"), echo);
    auto value =
        hostsvc::invokeHostObject("TEST.ECHO", "echo", {hostsvc::HostValue{std::string("hi")}});
    EXPECT_EQ(std::get<std::string>(value.data), "hi");
    auto replacement = std::make_shared<EchoObject>();
    hostsvc::registerHostObject("test.echo", replacement);
    EXPECT_EQ(hostsvc::findHostObject("Test.Echo"), replacement);
    hostsvc::registerHostObject("test.echo", nullptr);
    EXPECT_EQ(hostsvc::findHostObject("Test.Echo"), nullptr);
    // Replacing the watchdog: the count reads 0 since the object there is no watchdog.
    hostsvc::registerHostObject("Tarnwick.Application", echo);
    EXPECT_EQ(hostsvc::watchdogPingCount(), 0);
    hostsvc::resetHostServices();
    EXPECT_NE(std::dynamic_pointer_cast<hostsvc::WatchdogPollObject>(
                  hostsvc::findHostObject("Tarnwick.Application")),
              nullptr);
}

} // namespace
