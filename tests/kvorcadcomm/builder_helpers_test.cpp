// Helpers of the builders: matrix product, parent of a node, SAFEARRAY counts.
#include "libs/KvorCadComm/matrix4x4.h"
#include "libs/KvorCadComm/meta_tree_helpers.h"
#include "libs/KvorCadComm/safearray_count.h"
#include "platform/host/metatree/metatree_api.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(KvorCadCommMulMatrix4x4, MatchesAHandProductWithRowVectors) {
    // a: rotation by 90 degrees about Z followed by a shift (1, 2, 3); b: scale 2, shift
    // (10, 0, 0). A point p goes to (p x a) x b.
    const double a[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1};
    const double b[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 10, 0, 0, 1};
    const double expected[16] = {0, 2, 0, 0, -2, 0, 0, 0, 0, 0, 2, 0, 12, 4, 6, 1};
    double out[16];
    mulMatrix4x4(a, out, b);
    EXPECT_TRUE(std::equal(out, out + 16, expected));

    // The point (1, 0, 0): by a to (1, 3, 3), by b to (12, 6, 6).
    const double p[4] = {1, 0, 0, 1};
    double q[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        for (int k = 0; k < 4; ++k) {
            q[i] += p[k] * out[4 * k + i];
        }
    }
    EXPECT_DOUBLE_EQ(q[0], 12);
    EXPECT_DOUBLE_EQ(q[1], 6);
    EXPECT_DOUBLE_EQ(q[2], 6);
}

TEST(KvorCadCommMulMatrix4x4, GeneralMatricesAndAliasedOutput) {
    double a[16];
    double b[16];
    for (int i = 0; i < 16; ++i) {
        a[i] = i + 1;
        b[i] = 16 - i;
    }
    // Row 0 of a x b by hand: (1 2 3 4) against the columns of b.
    const double row0[4] = {1 * 16 + 2 * 12 + 3 * 8 + 4 * 4, 1 * 15 + 2 * 11 + 3 * 7 + 4 * 3,
                            1 * 14 + 2 * 10 + 3 * 6 + 4 * 2, 1 * 13 + 2 * 9 + 3 * 5 + 4 * 1};
    double out[16];
    mulMatrix4x4(a, out, b);
    EXPECT_TRUE(std::equal(out, out + 4, row0));
    EXPECT_DOUBLE_EQ(out[15], 13 * 13 + 14 * 9 + 15 * 5 + 16 * 1);

    // Writing over either input gives the same product.
    double left[16];
    double right[16];
    std::copy(a, a + 16, left);
    std::copy(b, b + 16, right);
    mulMatrix4x4(left, left, b);
    mulMatrix4x4(a, right, right);
    EXPECT_TRUE(std::equal(left, left + 16, out));
    EXPECT_TRUE(std::equal(right, right + 16, out));
}

TEST(KvorCadCommGetParentTreePtr, TagTokenGivesItsNodeAndTheRootGivesNull) {
    IMetaTreeApi* api = getIMetaTreeApi();
    const metaTreePtrT root = api->parseText("(PART (ITEMS (PLANE (NAME \"XY\"))))", "t");
    const metaTreePtrT items = api->findChild(root, "ITEMS");
    const metaTreePtrT plane = api->findChild(items, "PLANE");
    EXPECT_EQ(getParentTreePtr(api->tagToken(plane)), plane);
    EXPECT_EQ(getParentTreePtr(plane), items);
    EXPECT_TRUE(getParentTreePtr(root).isNull());
    EXPECT_TRUE(getParentTreePtr(metaTreePtrT()).isNull());
    EXPECT_TRUE(api->release(root));
}

TEST(KvorCadCommSafeArrayGetCount, CountsFromTheLowerBound) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_R8, 3, 5);
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(safeArrayGetCount(array), 5);
    EXPECT_EQ(safeArrayGetCount(array, 2), 0);
    EXPECT_EQ(SafeArrayDestroy(array), S_OK);

    SAFEARRAY* empty = SafeArrayCreateVector(VT_I4, 0, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(safeArrayGetCount(empty), 0);
    EXPECT_EQ(SafeArrayDestroy(empty), S_OK);

    EXPECT_EQ(safeArrayGetCount(nullptr), 0);
}

} // namespace
