// Common set-up of the CAD host service tests: fresh host services, a user folder of the
// test's own (for natlinkon.cfg), log records captured from level 5000 on.
#pragma once

#include "platform/host/services/host_services.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

class kvorCadCommTest : public ::testing::Test {
protected:
    void SetUp() override {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  (std::string("kvorcadcomm_") + info->test_suite_name() + "_" + info->name() +
                   "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        hostsvc::resetHostServices();
        hostsvc::setUserFolderOverride(folder_);
        hostsvc::setLogCapture(true);
        hostsvc::setDefaultLogLevel(hostsvc::logLevelTrace);
    }
    void TearDown() override {
        hostsvc::resetHostServices();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

    const std::filesystem::path& folder() const { return folder_; }

    void writeConfig(const std::string& text) {
        std::ofstream(folder_ / "natlinkon.cfg", std::ios::binary) << text;
    }

private:
    std::filesystem::path folder_;
};
