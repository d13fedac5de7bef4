#pragma once
// Shared fixture of the meta tree tests: every test must leave the live-node count as it
// found it.

#include "platform/host/metatree/metatree_api.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

class metaTreeTestC : public ::testing::Test {
protected:
    IMetaTreeApi* api = getIMetaTreeApi();
    std::int64_t liveAtStart = 0;

    void SetUp() override { liveAtStart = api->liveNodeCount(); }
    void TearDown() override {
        EXPECT_EQ(api->liveNodeCount(), liveAtStart) << "nodes leaked or freed twice";
    }

    metaTreePtrT parse(std::string_view text) { return api->parseText(text, "test.meta"); }
};

// Releases a parentless root at the end of a scope.
class rootGuardC {
public:
    explicit rootGuardC(metaTreePtrT root) : root_(root) {}
    ~rootGuardC() { getIMetaTreeApi()->release(root_); }
    rootGuardC(const rootGuardC&) = delete;
    rootGuardC& operator=(const rootGuardC&) = delete;
    metaTreePtrT get() const { return root_; }

private:
    metaTreePtrT root_;
};
