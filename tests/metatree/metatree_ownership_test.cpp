// Ownership and structure changes: append moves, release refuses parented nodes, clone and
// copy-from are deep and safe, compare is exact.

#include "tests/metatree/metatree_test_support.h"

#include <limits>
#include <string>
#include <vector>

namespace {

using metatreeOwnershipTest = metaTreeTestC;

TEST_F(metatreeOwnershipTest, appendMovesAChildFromItsOldParent) {
    rootGuardC a(parse("(A (X 1) (Y 2))"));
    rootGuardC b(parse("(B)"));
    metaTreePtrT x = api->findChild(a.get(), "X");
    ASSERT_TRUE(api->appendChild(b.get(), x));
    EXPECT_EQ(api->parent(x), b.get());
    EXPECT_EQ(api->print(a.get(), metaPrintStyle::compact), "(A (Y 2))");
    EXPECT_EQ(api->print(b.get(), metaPrintStyle::compact), "(B (X 1))");
    // Appending to the same parent moves the child to the end.
    ASSERT_TRUE(api->appendChild(a.get(), api->newInteger(3)));
    ASSERT_TRUE(api->appendChild(a.get(), api->firstChild(a.get())));
    EXPECT_EQ(api->print(a.get(), metaPrintStyle::compact), "(A 3 (Y 2))");
}

TEST_F(metatreeOwnershipTest, appendRefusesCyclesTagsAndAtomsAsParents) {
    rootGuardC root(parse("(A (B (C 1)))"));
    const std::string before = api->print(root.get());
    metaTreePtrT b = api->firstChild(root.get());
    metaTreePtrT c = api->firstChild(b);
    EXPECT_FALSE(api->appendChild(b, b));
    rootGuardC empty(api->newList());
    EXPECT_FALSE(api->appendChild(empty.get(), empty.get()));
    EXPECT_FALSE(api->appendChild(c, root.get()));
    EXPECT_FALSE(api->appendChild(c, b));
    EXPECT_FALSE(api->insertChild(c, 0, root.get()));
    EXPECT_FALSE(api->appendChild(api->firstChild(c), b)); // an atom has no children
    EXPECT_FALSE(api->appendChild(root.get(), api->tagToken(c)));
    EXPECT_FALSE(api->unlink(api->tagToken(c)));
    EXPECT_FALSE(api->release(api->tagToken(c)));
    EXPECT_EQ(api->print(root.get()), before);
}

TEST_F(metatreeOwnershipTest, nameTokenCannotLeadAPlainList) {
    rootGuardC plain(api->newList());
    metaTreePtrT token = api->newNameToken("XY");
    EXPECT_FALSE(api->appendChild(plain.get(), token));
    ASSERT_TRUE(api->appendChild(plain.get(), api->newInteger(1)));
    EXPECT_FALSE(api->insertChild(plain.get(), 0, token));
    ASSERT_TRUE(api->appendChild(plain.get(), token));
    EXPECT_EQ(api->print(plain.get()), "(1 XY)");
    // Nor by taking away what stands before it.
    metaTreePtrT one = api->firstChild(plain.get());
    EXPECT_FALSE(api->unlink(one));
    EXPECT_FALSE(api->appendChild(plain.get(), one));
    rootGuardC other(api->newList());
    EXPECT_FALSE(api->appendChild(other.get(), one));
    EXPECT_EQ(api->print(plain.get()), "(1 XY)");
    ASSERT_TRUE(api->unlink(token));
    EXPECT_TRUE(api->unlink(one));
    EXPECT_TRUE(api->release(one));
    EXPECT_TRUE(api->release(token));
    rootGuardC key(api->newKeyNode("TYP"));
    EXPECT_TRUE(api->appendChild(key.get(), api->newNameToken("AB")));
    EXPECT_EQ(api->print(key.get()), "(TYP AB)");
}

TEST_F(metatreeOwnershipTest, insertAtPositions) {
    rootGuardC root(parse("(L 1 2)"));
    metaTreePtrT l = root.get();
    ASSERT_TRUE(api->insertChild(l, 0, api->newInteger(0)));
    ASSERT_TRUE(api->insertChild(l, 3, api->newInteger(3)));
    ASSERT_TRUE(api->insertChild(l, 2, api->newString("m")));
    EXPECT_EQ(api->print(l), "(L 0 1 \"m\" 2 3)");
    metaTreePtrT spare = api->newInteger(9);
    EXPECT_FALSE(api->insertChild(l, 6, spare));
    EXPECT_TRUE(api->release(spare));
    EXPECT_TRUE(api->insertChild(l, 1, api->childAt(l, 1))); // already there
    EXPECT_TRUE(api->insertChild(l, 0, api->lastChild(l)));
    EXPECT_EQ(api->print(l), "(L 3 0 1 \"m\" 2)");
    EXPECT_EQ(api->childCount(l), 5u);
    EXPECT_EQ(api->prevSibling(api->childAt(l, 1)), api->firstChild(l));
}

// Positions and siblings stay right through inserts, moves and unlinks in the middle, at
// both ends and between two lists (children are numbered by their place).
TEST_F(metatreeOwnershipTest, positionsAndSiblingsFollowEveryChange) {
    rootGuardC a(api->newKeyNode("A"));
    rootGuardC b(api->newKeyNode("B"));
    std::vector<metaTreePtrT> model;
    auto check = [&](metaTreePtrT list, const std::vector<metaTreePtrT>& want) {
        ASSERT_EQ(api->childCount(list), want.size());
        for (std::size_t i = 0; i < want.size(); ++i) {
            ASSERT_EQ(api->childAt(list, i), want[i]) << i;
            EXPECT_EQ(api->nextSibling(want[i]), i + 1 < want.size() ? want[i + 1] : nullptr);
            EXPECT_EQ(api->prevSibling(want[i]), i > 0 ? want[i - 1] : nullptr);
        }
        EXPECT_EQ(api->firstChild(list), want.empty() ? nullptr : want.front());
        EXPECT_EQ(api->lastChild(list), want.empty() ? nullptr : want.back());
    };
    for (int i = 0; i < 40; ++i) {
        const std::size_t at = static_cast<std::size_t>(i * 7) % (model.size() + 1);
        metaTreePtrT n = api->newInteger(i);
        ASSERT_TRUE(api->insertChild(a.get(), at, n));
        model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), n);
    }
    check(a.get(), model);
    EXPECT_EQ(api->nextSibling(api->tagToken(a.get())), model.front());
    std::vector<metaTreePtrT> moved;
    for (std::size_t at : {std::size_t{17}, std::size_t{0}, std::size_t{30}, std::size_t{5}}) {
        ASSERT_TRUE(api->appendChild(b.get(), model[at]));
        moved.push_back(model[at]);
        model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
    }
    metaTreePtrT last = model.back();
    ASSERT_TRUE(api->unlink(model[10]));
    EXPECT_TRUE(api->release(model[10]));
    model.erase(model.begin() + 10);
    ASSERT_TRUE(api->insertChild(a.get(), 3, last)); // a move inside the same list
    model.pop_back();
    model.insert(model.begin() + 3, last);
    check(a.get(), model);
    check(b.get(), moved);
}

TEST_F(metatreeOwnershipTest, releaseRefusesAParentedNodeAndFreesNothing) {
    rootGuardC root(parse("(A (B 1 2 3))"));
    metaTreePtrT b = api->firstChild(root.get());
    const auto live = api->liveNodeCount();
    EXPECT_FALSE(api->release(b));
    EXPECT_EQ(api->liveNodeCount(), live);
    EXPECT_EQ(api->parent(b), root.get());
    ASSERT_TRUE(api->unlink(b));
    EXPECT_FALSE(api->parent(b));
    EXPECT_EQ(api->childCount(root.get()), 0u);
    EXPECT_FALSE(api->unlink(b));
    EXPECT_TRUE(api->release(b));
    EXPECT_EQ(api->liveNodeCount(), live - 5); // B, its tag and three values
}

TEST_F(metatreeOwnershipTest, cloneIsDeepAndIndependent) {
    rootGuardC root(parse("(A (B 1 \"s\" #\"AQI=\") (C (D 2.5)))"));
    rootGuardC copy(api->clone(root.get()));
    EXPECT_FALSE(api->parent(copy.get()));
    EXPECT_TRUE(api->compare(root.get(), copy.get(), metaCompareExact));
    metaTreePtrT d = api->findChild(api->findChild(copy.get(), "C"), "D");
    ASSERT_TRUE(api->setDouble(api->firstChild(d), 3.5));
    ASSERT_TRUE(api->appendChild(copy.get(), api->newInteger(4)));
    EXPECT_FALSE(api->compare(root.get(), copy.get()));
    EXPECT_EQ(api->print(root.get(), metaPrintStyle::compact),
              "(A (B 1 \"s\" #\"AQI=\") (C (D 2.5)))");
}

TEST_F(metatreeOwnershipTest, copyFromAnAncestorIsSafe) {
    rootGuardC root(parse("(A (B (C 1)) 2)"));
    metaTreePtrT c = api->firstChild(api->firstChild(root.get()));
    const auto id = api->id(c);
    ASSERT_TRUE(api->copyFrom(c, root.get()));
    EXPECT_EQ(api->id(c), id);
    EXPECT_EQ(api->print(root.get(), metaPrintStyle::compact), "(A (B (A (B (C 1)) 2)) 2)");
    EXPECT_EQ(api->parent(api->firstChild(c)), c);
    EXPECT_EQ(api->parent(api->tagToken(c)), c);
}

TEST_F(metatreeOwnershipTest, copyFromADescendantIsSafe) {
    rootGuardC root(parse("(A (B (C 1 2)) 3)"));
    metaTreePtrT c = api->firstChild(api->firstChild(root.get()));
    ASSERT_TRUE(api->copyFrom(root.get(), c));
    EXPECT_EQ(api->print(root.get(), metaPrintStyle::compact), "(C 1 2)");
    EXPECT_EQ(api->parent(api->lastChild(root.get())), root.get());
}

TEST_F(metatreeOwnershipTest, copyFromChangesKindAndKeepsPlace) {
    rootGuardC root(parse("(A 1 (B 2) 3)"));
    rootGuardC list(parse("(X \"y\" (Z))"));
    metaTreePtrT one = api->firstChild(root.get());
    ASSERT_TRUE(api->copyFrom(one, list.get()));
    metaTreePtrT b = api->findChild(root.get(), "B");
    ASSERT_TRUE(api->copyFrom(b, api->lastChild(root.get())));
    EXPECT_EQ(api->print(root.get(), metaPrintStyle::compact), "(A (X \"y\" (Z)) 3 3)");
    EXPECT_EQ(api->childAt(root.get(), 1), b);
    // A tag token takes only a name token: a key node's tag can be renamed, not removed.
    EXPECT_FALSE(api->copyFrom(api->tagToken(root.get()), b));
    rootGuardC name(api->newNameToken("RENAMED"));
    ASSERT_TRUE(api->copyFrom(api->tagToken(root.get()), name.get()));
    EXPECT_EQ(api->tag(root.get()), "RENAMED");
    // The first element of a plain list cannot become a name token.
    rootGuardC plain(parse("(1 2)"));
    EXPECT_FALSE(api->copyFrom(api->firstChild(plain.get()), name.get()));
    EXPECT_TRUE(api->copyFrom(api->lastChild(plain.get()), name.get()));
}

TEST_F(metatreeOwnershipTest, compareIsExact) {
    const struct {
        const char* a;
        const char* b;
        bool equal;
    } cases[] = {
        {"(A 1 2.5 \"s\" #\"AA==\" X)", "(A 1 2.5 \"s\" #\"AA==\" X)", true},
        {"(A 1)", "(A 1.0)", false},
        {"(A 0.0)", "(A -0.0)", false},
        {"(A nan)", "(A nan)", true},
        {"(A 1 2)", "(A 2 1)", false},
        {"(A 1)", "(B 1)", false},
        {"(A 1)", "(A 1 1)", false},
        {"(A \"X\")", "(A X)", false},
        {"(1 2)", "(A 1 2)", false},
        {"(A (B))", "(A (B 1))", false},
    };
    for (const auto& c : cases) {
        rootGuardC a(parse(c.a));
        rootGuardC b(parse(c.b));
        EXPECT_EQ(api->compare(a.get(), b.get()), c.equal) << c.a << " vs " << c.b;
    }
    rootGuardC a(api->parseText("(A 1)", "one.meta"));
    rootGuardC b(api->parseText("\n(A 1)", "one.meta"));
    EXPECT_TRUE(api->compare(a.get(), b.get(), metaCompareIgnoreLocation));
    EXPECT_FALSE(api->compare(a.get(), b.get(), metaCompareExact));
    EXPECT_FALSE(api->compare(a.get(), metaTreePtrT()));
}

TEST_F(metatreeOwnershipTest, veryDeepTreesBuiltInCodeAreHandledWithoutRecursion) {
    constexpr int depth = 200000;
    // Built from the leaf up, so that every append is O(1).
    metaTreePtrT root = api->newKeyNode("D");
    for (int i = 0; i < depth; ++i) {
        metaTreePtrT above = api->newKeyNode("D");
        ASSERT_TRUE(api->appendChild(above, root));
        root = above;
    }
    metaTreePtrT copy = api->clone(root);
    EXPECT_TRUE(api->compare(root, copy, metaCompareExact));
    // Text the reader would refuse is not printed either.
    try {
        api->print(copy, metaPrintStyle::compact);
        ADD_FAILURE() << "a tree the reader refuses was printed";
    } catch (const metaTreeErrorC& error) {
        EXPECT_EQ(error.reason(), "lists nested too deeply to print (limit 256)");
    }
    EXPECT_TRUE(api->release(copy));
    EXPECT_TRUE(api->release(root));
}

} // namespace
