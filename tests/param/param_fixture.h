#pragma once
// Common fixture of the parametric model tests: parametric documents written as meta text,
// the registrations made once, and a check that every test leaves the store's live-node
// count where it found it.

#include "metamodel/param/paramdocument.h"
#include "metamodel/param/paramregister.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class ParamTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerParamClasses();
        liveAtStart_ = getIMetaTreeApi()->liveNodeCount();
    }
    void TearDown() override {
        EXPECT_EQ(getIMetaTreeApi()->liveNodeCount(), liveAtStart_) << "nodes leaked or lost";
    }

    // An owning view of the parsed text; fails the test when it does not parse.
    static metaObjectC parse(const std::string& text) {
        metaObjectC view;
        EXPECT_TRUE(view.ctorFromText(mzComStringC(text.c_str()))) << text;
        return view;
    }
    static m3dParamDocumentC document(const metaObjectC& owner) {
        return m3dParamDocumentC(owner.getTreePtr());
    }
    static std::string print(const metaObjectVirtualDataBaseC& view) {
        return getIMetaTreeApi()->print(view.getTreePtr(), metaPrintStyle::compact);
    }
    // The i-th child of a list node.
    static metaTreePtrT child(metaTreePtrT list, int i) {
        return getIMetaTreeApi()->childAt(list, static_cast<std::size_t>(i));
    }
    // The values of a location.
    static std::vector<double> values(m3dParamLocationC loc) {
        std::vector<double> out;
        const m3dParamLocationValuesC v = loc.getValues();
        for (int i = 0; i < v.count(); ++i)
            out.push_back(v.getValueAt(i));
        return out;
    }

private:
    std::int64_t liveAtStart_ = 0;
};

// A pure translation and its inverse, a rotation about z by 90 degrees.
inline constexpr double translateX10[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1};
inline constexpr double identity4[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
inline constexpr double rotateZ90[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
