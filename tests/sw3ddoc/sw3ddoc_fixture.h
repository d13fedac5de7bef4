// Common fixture of the build-tool tests: a simulated session with one part, meta text
// parsed into owning views, and the journal entries of one call.
#pragma once

#include "metamodel/core/metaobject.h"
#include "metamodel/m3d/register.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class Sw3dDocTest : public ::testing::Test {
protected:
    void SetUp() override { registerM3dClasses(); }

    static metaObjectC parse(const std::string& text) {
        metaObjectC view;
        EXPECT_TRUE(view.ctorFromText(text.c_str())) << text;
        return view;
    }
    // The arguments of the only call of `key` since the journal was last cleared.
    std::vector<std::string> onlyCall(const std::string& key) const {
        const auto calls = fixture.kit().journal().calls(key);
        EXPECT_EQ(calls.size(), 1u) << key;
        return calls.empty() ? std::vector<std::string>{} : calls.front().args;
    }

    partFixtureC fixture;
};
