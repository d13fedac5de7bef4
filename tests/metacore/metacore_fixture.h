#pragma once
// Common fixture of the meta core tests: parses meta text into owning views and checks
// that every test leaves the store's live-node count where it found it.

#include "metamodel/core/metaobject.h"

#include <gtest/gtest.h>

class MetaCoreTest : public ::testing::Test {
protected:
    void SetUp() override { liveAtStart_ = getIMetaTreeApi()->liveNodeCount(); }
    void TearDown() override {
        EXPECT_EQ(getIMetaTreeApi()->liveNodeCount(), liveAtStart_) << "nodes leaked or lost";
    }

    static IMetaTreeApi& store() { return *getIMetaTreeApi(); }

    // An owning view of the parsed text; fails the test when it does not parse.
    static metaObjectC parse(const char* text) {
        metaObjectC view;
        EXPECT_TRUE(view.ctorFromText(text)) << text;
        return view;
    }

    static std::string print(metaTreePtrT node) {
        return store().print(node, metaPrintStyle::compact);
    }

private:
    std::int64_t liveAtStart_ = 0;
};
