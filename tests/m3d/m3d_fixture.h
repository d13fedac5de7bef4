#pragma once
// Common fixture of the 3D view tests: meta text parsed into owning views, the 3D classes
// registered, and a check that every test leaves the store's live-node count as it was.

#include "metamodel/core/metaobject.h"
#include "metamodel/m3d/geom3d.h"
#include "metamodel/m3d/register.h"

#include <gtest/gtest.h>

#include <string>

class M3dTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerM3dClasses();
        liveAtStart_ = getIMetaTreeApi()->liveNodeCount();
    }
    void TearDown() override {
        EXPECT_EQ(getIMetaTreeApi()->liveNodeCount(), liveAtStart_) << "nodes leaked or lost";
    }

    static metaObjectC parse(const std::string& text) {
        metaObjectC view;
        EXPECT_TRUE(view.ctorFromText(text.c_str())) << text;
        return view;
    }
    static std::string print(metaTreePtrT node) {
        return getIMetaTreeApi()->print(node, metaPrintStyle::compact);
    }
    static void expectMatrixNear(const matrixC4x4<double>& a, const matrixC4x4<double>& b,
                                 double tol = 1e-12) {
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(a[i], b[i], tol) << "element " << i;
    }

private:
    std::int64_t liveAtStart_ = 0;
};
