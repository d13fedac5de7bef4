// In-process runs of natlinkhost with fresh host services and a folder of the test's own.
#pragma once

#include "platform/host/metatree/metatree_api.h"
#include "platform/host/services/host_services.h"
#include "tools/natlinkhost/natlinkhost.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

class natlinkHostTest : public ::testing::Test {
protected:
    struct runS {
        int code = -1;
        std::string out;
        std::string err;
    };

    void SetUp() override {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  (std::string("natlinkhost_") + info->test_suite_name() + "_" + info->name() +
                   "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        // The host's temporary folder ($temp, where a foreign feature's data file goes under
        // the name the model gives it) is the test's own, so that tests run in parallel do not
        // write and delete one another's files.
        if (const char* tmpdir = std::getenv("TMPDIR"))
            savedTmpdir_ = tmpdir;
        ::setenv("TMPDIR", folder_.c_str(), 1);
        hostsvc::resetHostServices();
        hostsvc::setUserFolderOverride(folder_);
        liveNodes_ = getIMetaTreeApi()->liveNodeCount();
    }
    void TearDown() override {
        // Every run leaves the store as it found it.
        EXPECT_EQ(getIMetaTreeApi()->liveNodeCount(), liveNodes_);
        hostsvc::resetHostServices();
        if (savedTmpdir_)
            ::setenv("TMPDIR", savedTmpdir_->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

    static runS run(const std::vector<std::string>& args) {
        std::ostringstream out;
        std::ostringstream err;
        runS result;
        result.code = natlinkhost::runNatlinkHost(args, out, err);
        result.out = out.str();
        result.err = err.str();
        return result;
    }

    // A file of the repository (the tests run with NATLINK_SOURCE_DIR set).
    static std::string sourceFile(const std::string& relative) {
        const char* root = std::getenv("NATLINK_SOURCE_DIR");
        return (std::filesystem::path(root != nullptr ? root : ".") / relative).string();
    }

    std::string writeFile(const std::string& name, const std::string& text) const {
        const std::filesystem::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    static std::string readFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

private:
    std::filesystem::path folder_;
    std::optional<std::string> savedTmpdir_;
    std::int64_t liveNodes_ = 0;
};
