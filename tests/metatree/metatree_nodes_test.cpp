// Node model, navigation, values and locations of the meta tree store.

#include "tests/metatree/metatree_test_support.h"

#include <cmath>
#include <limits>
#include <set>
#include <stdexcept>

namespace {

using metatreeNodesTest = metaTreeTestC;

TEST_F(metatreeNodesTest, keyNodeTagIsANodeButNotAChild) {
    rootGuardC root(parse("(PARAM 25.0 0 1)"));
    metaTreePtrT n = root.get();
    EXPECT_TRUE(api->isKeyNode(n));
    EXPECT_EQ(api->tag(n), "PARAM");
    EXPECT_TRUE(api->hasTag(n, "PARAM"));
    EXPECT_FALSE(api->hasTag(n, "PARA"));
    ASSERT_EQ(api->childCount(n), 3u);
    EXPECT_EQ(api->getDouble(api->firstChild(n)), 25.0);

    metaTreePtrT token = api->tagToken(n);
    EXPECT_TRUE(api->isTagToken(token));
    EXPECT_TRUE(api->isNameToken(token));
    EXPECT_EQ(api->tokenText(token), "PARAM");
    EXPECT_EQ(api->parent(token), n);
    // The reader walks from the tag token to the values, as they follow it in the text.
    EXPECT_EQ(api->nextSibling(token), api->firstChild(n));
    EXPECT_NE(api->id(token), api->id(n));
}

TEST_F(metatreeNodesTest, plainListsAndNameTokenValues) {
    rootGuardC root(parse("(() (1 A) (TYP XY))"));
    metaTreePtrT outer = root.get();
    EXPECT_TRUE(api->isList(outer));
    EXPECT_FALSE(api->isKeyNode(outer));
    EXPECT_EQ(api->tag(outer), "");
    metaTreePtrT empty = api->childAt(outer, 0);
    EXPECT_TRUE(api->isList(empty));
    EXPECT_EQ(api->childCount(empty), 0u);
    metaTreePtrT mixed = api->childAt(outer, 1);
    EXPECT_FALSE(api->isKeyNode(mixed));
    EXPECT_TRUE(api->isNameToken(api->childAt(mixed, 1)));
    EXPECT_FALSE(api->isTagToken(api->childAt(mixed, 1)));
    metaTreePtrT typ = api->childAt(outer, 2);
    EXPECT_EQ(api->tokenText(api->firstChild(typ)), "XY");
}

TEST_F(metatreeNodesTest, navigation) {
    rootGuardC root(parse("(L (A 1) 2 (B) (A 3))"));
    metaTreePtrT l = root.get();
    ASSERT_EQ(api->childCount(l), 4u);
    metaTreePtrT a1 = api->childAt(l, 0);
    metaTreePtrT b = api->childAt(l, 2);
    metaTreePtrT a3 = api->childAt(l, 3);
    EXPECT_EQ(api->firstChild(l), a1);
    EXPECT_EQ(api->lastChild(l), a3);
    EXPECT_EQ(api->nextSibling(api->nextSibling(a1)), b);
    EXPECT_EQ(api->prevSibling(b), api->childAt(l, 1));
    EXPECT_FALSE(api->prevSibling(a1));
    EXPECT_FALSE(api->nextSibling(a3));
    EXPECT_FALSE(api->childAt(l, 4));
    EXPECT_EQ(api->parent(b), l);
    EXPECT_FALSE(api->parent(l));
    EXPECT_EQ(api->findChild(l, "A"), a1);
    EXPECT_EQ(api->findChild(l, "B"), b);
    EXPECT_FALSE(api->findChild(l, "L"));
    EXPECT_FALSE(api->findChild(a1, "A"));
}

TEST_F(metatreeNodesTest, nullHandleAnswersNothing) {
    const metaTreePtrT none;
    EXPECT_EQ(api->kind(none), metaNodeKind::none);
    EXPECT_FALSE(api->isList(none) || api->isKeyNode(none) || api->isNumber(none) ||
                 api->isTagToken(none));
    EXPECT_FALSE(api->parent(none) || api->firstChild(none) || api->nextSibling(none) ||
                 api->childAt(none, 0) || api->findChild(none, "A") || api->tagToken(none) ||
                 api->clone(none));
    EXPECT_EQ(api->childCount(none), 0u);
    EXPECT_EQ(api->id(none), 0u);
    EXPECT_FALSE(api->getString(none) || api->getInteger(none) || api->getDouble(none));
    EXPECT_FALSE(api->setInteger(none, 1) || api->release(none) || api->unlink(none) ||
                 api->appendChild(none, none) || api->copyFrom(none, none));
    EXPECT_TRUE(api->compare(none, none));
    EXPECT_EQ(api->print(none), "");
}

TEST_F(metatreeNodesTest, numberReadersConvertAndIntegerReadersSaturate) {
    constexpr auto maxI = std::numeric_limits<std::int64_t>::max();
    constexpr auto minI = std::numeric_limits<std::int64_t>::min();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        std::int64_t expected;
    } cases[] = {{2.9, 2},
                 {-2.9, -2},
                 {nan, 0},
                 {-nan, 0},
                 {inf, maxI},
                 {-inf, minI},
                 {1e300, maxI},
                 {-1e300, minI},
                 {9223372036854775808.0, maxI},
                 {-9223372036854775808.0, minI},
                 {9223372036854774784.0, 9223372036854774784}};
    for (const auto& c : cases) {
        rootGuardC d(api->newDouble(c.value));
        EXPECT_EQ(api->getInteger(d.get()), c.expected) << c.value;
    }
    rootGuardC i(api->newInteger(maxI));
    EXPECT_EQ(api->getDouble(i.get()), 9223372036854775808.0);
    EXPECT_EQ(api->getInteger(i.get()), maxI);
    rootGuardC s(api->newString("12"));
    EXPECT_FALSE(api->getInteger(s.get()));
    EXPECT_FALSE(api->getDouble(s.get()));
    EXPECT_EQ(api->getString(s.get()), "12");
}

TEST_F(metatreeNodesTest, settersChangeAtomKindsButNotListsOrTags) {
    rootGuardC root(parse("(K \"text\")"));
    metaTreePtrT atom = api->firstChild(root.get());
    const auto id = api->id(atom);
    EXPECT_TRUE(api->setInteger(atom, 7));
    EXPECT_EQ(api->kind(atom), metaNodeKind::integer);
    EXPECT_FALSE(api->getString(atom));
    EXPECT_TRUE(api->setDouble(atom, 0.5));
    EXPECT_EQ(api->getDouble(atom), 0.5);
    const std::uint8_t bytes[] = {0, 255, 10};
    EXPECT_TRUE(api->setBinary(atom, bytes));
    EXPECT_EQ(api->getBinary(atom), (std::vector<std::uint8_t>{0, 255, 10}));
    EXPECT_TRUE(api->setString(atom, "back"));
    EXPECT_EQ(api->getString(atom), "back");
    EXPECT_EQ(api->id(atom), id);
    EXPECT_EQ(api->print(root.get()), "(K \"back\")");

    EXPECT_FALSE(api->setInteger(root.get(), 1));
    EXPECT_FALSE(api->setString(api->tagToken(root.get()), "x"));
    EXPECT_EQ(api->tag(root.get()), "K");
    EXPECT_THROW(api->setString(atom, "\xC3"), std::invalid_argument);
    EXPECT_EQ(api->getString(atom), "back");
}

TEST_F(metatreeNodesTest, creationRefusesBadNamesAndStrings) {
    EXPECT_THROW(api->newKeyNode("abc"), std::invalid_argument);
    EXPECT_THROW(api->newKeyNode(""), std::invalid_argument);
    EXPECT_THROW(api->newNameToken("1A"), std::invalid_argument);
    EXPECT_THROW(api->newNameToken("A-B"), std::invalid_argument);
    EXPECT_THROW(api->newString("\xED\xA0\x80"), std::invalid_argument); // a surrogate
    EXPECT_TRUE(isValidNameToken("QEL_COG_X2"));
    EXPECT_FALSE(isValidNameToken("_A"));
    rootGuardC k(api->newKeyNode("CREAOPTATTRMAPKEY"));
    EXPECT_TRUE(api->isKeyNode(k.get()));
    EXPECT_EQ(api->childCount(k.get()), 0u);
}

TEST_F(metatreeNodesTest, idsAreUniqueAndStable) {
    rootGuardC root(parse("(A (B 1 2) (C \"x\"))"));
    std::set<std::uint64_t> ids;
    std::size_t nodes = 0;
    std::vector<metaTreePtrT> todo{root.get()};
    while (!todo.empty()) {
        metaTreePtrT n = todo.back();
        todo.pop_back();
        ++nodes;
        ids.insert(api->id(n));
        if (api->isKeyNode(n)) {
            todo.push_back(api->tagToken(n));
        }
        for (metaTreePtrT c = api->firstChild(n); c; c = api->nextSibling(c)) {
            todo.push_back(c);
        }
    }
    EXPECT_EQ(nodes, 9u);
    EXPECT_EQ(ids.size(), nodes);
    metaTreePtrT b = api->firstChild(root.get());
    const auto id = api->id(b);
    ASSERT_TRUE(api->appendChild(root.get(), b));
    EXPECT_EQ(api->id(b), id);
    rootGuardC copy(api->clone(root.get()));
    EXPECT_EQ(ids.count(api->id(copy.get())), 0u);
}

TEST_F(metatreeNodesTest, sourceLocations) {
    rootGuardC root(api->parseText("; head\n(PART\n  (NAME \"Blöck\") (X 1))", "dir/model.meta"));
    EXPECT_EQ(api->location(root.get()), (metaSourceLocS{"dir/model.meta", 2, 1}));
    EXPECT_EQ(api->location(api->tagToken(root.get())), (metaSourceLocS{"dir/model.meta", 2, 2}));
    metaTreePtrT name = api->firstChild(root.get());
    EXPECT_EQ(api->location(name), (metaSourceLocS{"dir/model.meta", 3, 3}));
    EXPECT_EQ(api->location(api->firstChild(name)).column, 9u);
    // Columns count characters, so the ö counts once.
    EXPECT_EQ(api->location(api->nextSibling(name)).column, 18u);

    rootGuardC made(api->newInteger(1));
    EXPECT_EQ(api->location(made.get()), metaSourceLocS{});
    EXPECT_TRUE(api->setLocation(made.get(), {"other.meta", 4, 2}));
    EXPECT_EQ(api->location(made.get()), (metaSourceLocS{"other.meta", 4, 2}));
    rootGuardC copy(api->clone(root.get()));
    EXPECT_EQ(api->location(api->firstChild(copy.get())), api->location(name));
}

} // namespace
