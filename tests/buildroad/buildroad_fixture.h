// Shared set-up of the build road tests: fresh host services, the meta classes registered,
// a folder of the test's own, meta trees from text, a session with a part, and a reader
// with the build's handlers.
#pragma once

#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/sw3ddoc/sw_part.h"
#include "metamodel/core/registry.h"
#include "metamodel/m3d/register.h"
#include "platform/host/metatree/metatree_api.h"
#include "platform/host/services/host_services.h"
#include "platform/host/services/messages.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

class buildRoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  (std::string("buildroad_") + info->test_suite_name() + "_" + info->name() + "_" +
                   std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        hostsvc::resetHostServices();
        hostsvc::setUserFolderOverride(folder_);
        registerMetaCoreClasses();
        registerM3dClasses();
    }
    void TearDown() override {
        hostsvc::resetHostServices();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    // An owning view of the tree of `text`; fails the test when it does not parse.
    static metaObjectC tree(const std::string& text) {
        metaObjectC view;
        EXPECT_TRUE(view.ctorFromText(mzComStringC(text.c_str()))) << text;
        return view;
    }

    // The texts of the creation warnings shown so far.
    static std::vector<std::string> shownWarnings() {
        std::vector<std::string> texts;
        for (const hostsvc::ShownMessage& message : hostsvc::shownMessages())
            texts.push_back(message.text);
        return texts;
    }

    std::filesystem::path folder_;
};

// A part build in one session: the session's part, a PART node and its swPartC, and a reader
// with the PART, ITEMS and PLANE handlers carrying a creation context.
class partBuildTest : public buildRoadTest {
protected:
    void SetUp() override {
        buildRoadTest::SetUp();
        session_ = std::make_unique<partFixtureC>();
        partNode_ = tree("(PART (NAME \"P\") (ITEMS))");
        part_ = std::make_unique<swPartC>(partNode_.getTreePtr());
        part_->modelDoc = session_->docPtr();
        creation_.app = session_->appPtr();
        creation_.outputLocation = folder_.string();
    }
    void TearDown() override {
        part_.reset();
        session_.reset();
        buildRoadTest::TearDown();
    }

    testKitC& kit() { return session_->kit(); }
    // The reference plane object of a feature of the session's part, by name.
    IRefPlanePtr planeNamed(const char* name);
    // Adopts the template's planes as the part builder does.
    void adoptTemplatePlanes();
    // Runs the PLANE handler on the node of `text` placed into the part's ITEMS.
    void runPlane(const std::string& text);
    // Places the node of `text` into the part's ITEMS without building it.
    metaTreePtrT placeNode(const std::string& text);

    std::unique_ptr<partFixtureC> session_;
    metaObjectC partNode_;
    std::unique_ptr<swPartC> part_;
    swCreation3dS creation_;
};
