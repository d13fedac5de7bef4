// Ownership of nodes by views: what is released when, and what must never be freed.

#include "metacore_fixture.h"

namespace {

using MetaOwnershipTest = MetaCoreTest;

TEST_F(MetaOwnershipTest, OwningViewReleasesItsFreeNodeAtItsEnd) {
    const auto before = store().liveNodeCount();
    {
        metaObjectC view;
        ASSERT_TRUE(view.ctorNewNode("PART"));
        EXPECT_TRUE(view.ownsNode());
        EXPECT_GT(store().liveNodeCount(), before);
    }
    EXPECT_EQ(store().liveNodeCount(), before);
}

TEST_F(MetaOwnershipTest, AttachToTheNodeAlreadyHeldKeepsItAlive) {
    metaObjectC view = parse("(PART (NAME \"A\"))");
    const metaTreePtrT node = view.getTreePtr();
    view.attach(node, false);
    view.attach(node, true);
    ASSERT_EQ(view.getTreePtr(), node);
    EXPECT_EQ(print(node), "(PART (NAME \"A\"))");
    // Ownership was not dropped by attaching without it: the fixture sees no leak.
    EXPECT_TRUE(view.ownsNode());
}

TEST_F(MetaOwnershipTest, AttachInsideTheOwnedSubtreeKeepsTheSubtreeAlive) {
    metaObjectC view = parse("(PART (ITEMS (PLANE (NAME \"XY\"))))");
    const metaTreePtrT items = view.findChild("ITEMS");
    view.attach(items, false);
    // The part is still alive around the bound node and readable through it.
    EXPECT_EQ(metaNodeTag(view.getParent()), mzComStringC("PART"));
    EXPECT_EQ(print(view.getTreePtr()), "(ITEMS (PLANE (NAME \"XY\")))");
    // Rebinding back to the root gives the view its ownership again.
    view.attach(view.getParent(), false);
    EXPECT_TRUE(view.ownsNode());
}

TEST_F(MetaOwnershipTest, AttachElsewhereReleasesTheOwnedNode) {
    metaObjectC other = parse("(B)");
    const auto withBoth = store().liveNodeCount();
    metaObjectC view = parse("(A 1 2 3)");
    EXPECT_GT(store().liveNodeCount(), withBoth);
    view.attach(other.getTreePtr(), false);
    EXPECT_EQ(store().liveNodeCount(), withBoth);
    EXPECT_FALSE(view.ownsNode());
}

TEST_F(MetaOwnershipTest, OwnedNodeAppendedIntoATreeIsNotReleasedByItsView) {
    metaObjectC tree = parse("(PART)");
    {
        metaObjectC child;
        ASSERT_TRUE(child.ctorNewNode("NAME"));
        ASSERT_FALSE(tree.appendChild(child.getTreePtr()).isNull());
    }
    // The child lives on inside the tree, and the tree frees it with itself.
    EXPECT_EQ(print(tree.getTreePtr()), "(PART (NAME))");
}

TEST_F(MetaOwnershipTest, AViewMayOutliveTheTreeItsNodeWasAppendedTo) {
    metaObjectC child;
    ASSERT_TRUE(child.ctorNewNode("DOCUMENT"));
    {
        metaObjectC tree = parse("(MEMBERS)");
        ASSERT_FALSE(tree.appendChild(child.getTreePtr()).isNull());
        EXPECT_FALSE(child.ownsNode()) << "the tree owns it now";
    }
    // The tree and the child are gone; the child's view must not touch them again.
    child.attach(metaTreePtrT(), false);
    EXPECT_FALSE(child.isValid());
}

TEST_F(MetaOwnershipTest, FreeingASubtreeDisownsTheNodesInsideIt) {
    metaObjectC inner;
    {
        metaObjectC tree = parse("(HEADER (OLD (DEEP)))");
        metaObjectC deep(metaObjectC(tree.findChild("OLD")).findChild("DEEP"));
        inner = deep;
        inner.attach(deep.getTreePtr(), true); // owned while inside the tree
        metaObjectC source = parse("(HEADER (NEW))");
        EXPECT_TRUE(tree.copyFrom(source.getTreePtr())); // frees OLD and DEEP
        EXPECT_FALSE(inner.ownsNode());
    }
    inner.attach(metaTreePtrT(), false);
}

TEST_F(MetaOwnershipTest, DetachWithoutOwnershipHandsTheNodeToTheCaller) {
    metaObjectC tree = parse("(PART (NAME \"A\") (ITEMS))");
    metaTreePtrT taken;
    {
        metaObjectC name(tree.findChild("NAME"));
        taken = name.detach(false);
        ASSERT_FALSE(taken.isNull());
        EXPECT_TRUE(store().parent(taken).isNull());
    }
    // The view ended without releasing it: the caller owns it now.
    EXPECT_EQ(print(taken), "(NAME \"A\")");
    EXPECT_EQ(print(tree.getTreePtr()), "(PART (ITEMS))");
    EXPECT_TRUE(store().release(taken));
}

TEST_F(MetaOwnershipTest, DetachWithOwnershipReleasesTheNodeWithTheView) {
    metaObjectC tree = parse("(PART (NAME \"A\") (ITEMS))");
    const auto before = store().liveNodeCount();
    {
        metaObjectC items(tree.findChild("ITEMS"));
        EXPECT_FALSE(items.detach(true).isNull());
    }
    EXPECT_LT(store().liveNodeCount(), before);
    EXPECT_EQ(print(tree.getTreePtr()), "(PART (NAME \"A\"))");
}

TEST_F(MetaOwnershipTest, DetachOfAnOwnedSubnodeLetsBothPartsBeReleased) {
    metaObjectC view = parse("(PART (ITEMS (PLANE)))");
    view.attach(view.findChild("ITEMS"), false);
    EXPECT_FALSE(view.detach(true).isNull());
    // The part (kept alive so far) is no longer around the node: it is released now,
    // and the detached ITEMS goes with the view at its end (checked by the fixture).
    EXPECT_TRUE(view.getParent().isNull());
    EXPECT_TRUE(view.ownsNode());
}

TEST_F(MetaOwnershipTest, CopiesShareOwnershipSoNoneDangles) {
    metaObjectC copy;
    {
        metaObjectC original = parse("(VAR (VARNAME \"IDNR\"))");
        copy = original;
    }
    // The original ended; the copy still holds a live node.
    EXPECT_EQ(copy.readStringProperty("VARNAME"), mzComStringC("IDNR"));
    EXPECT_TRUE(copy.ownsNode());
}

TEST_F(MetaOwnershipTest, AssigningAViewToItselfOrAGuestKeepsTheNode) {
    metaObjectC view = parse("(PART (NAME \"A\"))");
    metaObjectC& alias = view;
    view = alias;
    EXPECT_EQ(print(view.getTreePtr()), "(PART (NAME \"A\"))");
    metaObjectC name(view.findChild("NAME"));
    view = name; // a non-owning view of a node inside the owned part
    EXPECT_EQ(print(view.getTreePtr()), "(NAME \"A\")");
}

TEST_F(MetaOwnershipTest, AppendCloneLeavesTheOriginalAndRefusalLeavesNothing) {
    metaObjectC tree = parse("(PART (ITEMS))");
    metaObjectC extra = parse("(PLANE (NAME \"P\"))");
    metaObjectC items(tree.findChild("ITEMS"));
    ASSERT_FALSE(items.appendChild(extra.getTreePtr(), true).isNull());
    EXPECT_TRUE(extra.getParent().isNull());
    EXPECT_EQ(print(tree.getTreePtr()), "(PART (ITEMS (PLANE (NAME \"P\"))))");
    // A node into its own subtree is refused; a clone made for the try is not left behind.
    const auto before = store().liveNodeCount();
    metaObjectC part(tree.getTreePtr());
    EXPECT_TRUE(items.appendChild(part.getTreePtr()).isNull());
    EXPECT_EQ(store().liveNodeCount(), before);
}

TEST_F(MetaOwnershipTest, CloneTreeIsAnOwnedIndependentCopy) {
    metaObjectC tree = parse("(PART (NAME \"A\"))");
    metaObjectC copy = tree.cloneTree(1);
    ASSERT_TRUE(copy.isValid());
    EXPECT_NE(copy.getTreePtr(), tree.getTreePtr());
    EXPECT_NE(tree.compareTree(copy.getTreePtr(), 1), 0);
    EXPECT_TRUE(copy.ownsNode());
    metaObjectC none;
    EXPECT_FALSE(none.cloneTree(1).isValid());
}

TEST_F(MetaOwnershipTest, CopyFromReplacesChildrenAndAllowsAnAncestorAsSource) {
    metaObjectC tree = parse("(HEADER (A 1) (B (C 2)))");
    metaObjectC b(tree.findChild("B"));
    metaObjectC source = parse("(HEADER (DESTPRJDIR \"x\"))");
    EXPECT_TRUE(tree.copyFrom(source.getTreePtr()));
    EXPECT_EQ(print(tree.getTreePtr()), "(HEADER (DESTPRJDIR \"x\"))");
    metaObjectC inner(tree.findChild("DESTPRJDIR"));
    EXPECT_TRUE(inner.copyFrom(tree.getTreePtr()));
    EXPECT_EQ(print(tree.getTreePtr()), "(HEADER (HEADER (DESTPRJDIR \"x\")))");
}

TEST_F(MetaOwnershipTest, MalformedTextGivesAnUnboundViewAndLeaksNothing) {
    const char* bad[] = {"(PART (NAME \"A\")",    "(PART))", "",
                         "(PART \"unterminated)", "(part)",  "(A) (B)"};
    for (const char* text : bad) {
        metaObjectC view;
        EXPECT_FALSE(view.ctorFromText(text)) << text;
        EXPECT_FALSE(view.isValid()) << text;
        EXPECT_EQ(view.countChildren(), 0);
        EXPECT_TRUE(view.getOrAddChild("NAME").isNull());
    }
    // A view that held a node and is rebound from bad text lets go of the old node.
    metaObjectC view = parse("(OLD)");
    EXPECT_FALSE(view.ctorFromText("(NEW"));
    EXPECT_FALSE(view.isValid());
}

TEST_F(MetaOwnershipTest, AccessorsOfAnUnboundViewAnswerNothing) {
    metaObjectC view;
    EXPECT_FALSE(view.isValid());
    EXPECT_EQ(view.countChildren(), 0);
    EXPECT_TRUE(view.getChildAt(0).isNull());
    EXPECT_TRUE(view.findAncestor("PART").isNull());
    EXPECT_FALSE(view.hasChild("NAME"));
    EXPECT_TRUE(view.detach(false).isNull());
    EXPECT_FALSE(view.enumChildren().isValid());
    EXPECT_EQ(view.compareTree(metaTreePtrT(), 1), 1);
}

// Two view classes meeting in one (as a 3D document is both a geometric operand and a
// document): one node, one owner, and copies through either path stay sound.
class geomViewC : public virtual metaObjectC {
public:
    geomViewC() = default;
    explicit geomViewC(metaTreePtrT node, bool owns = false) : metaObjectC(node, owns) {}
};
class docViewC : public virtual metaObjectC {
public:
    docViewC() = default;
    explicit docViewC(metaTreePtrT node, bool owns = false) : metaObjectC(node, owns) {}
};
class bothViewC : public geomViewC, public docViewC {
public:
    bothViewC() = default;
    bothViewC(metaTreePtrT node, bool owns) : metaObjectC(node, owns) {}
};

bothViewC makeOwnedBoth(const char* text) {
    bothViewC v;
    EXPECT_TRUE(v.ctorFromText(text));
    return v;
}

TEST_F(MetaOwnershipTest, ViewClassesMeetingInADiamondShareOneNodeAndOwner) {
    bothViewC a = makeOwnedBoth("(PART (NAME \"A\"))");
    ASSERT_TRUE(a.ownsNode());
    geomViewC& asGeom = a;
    docViewC& asDoc = a;
    EXPECT_EQ(asGeom.getTreePtr(), asDoc.getTreePtr());
    bothViewC b;
    b = a;                           // assigns the virtual base along both paths
    b = makeOwnedBoth("(ASSEMBLY)"); // from a temporary: b keeps the new node alive
    EXPECT_EQ(b.getTag(), mzComStringC("ASSEMBLY"));
    EXPECT_TRUE(b.ownsNode());
    bothViewC c(b);
    EXPECT_EQ(c.getTreePtr(), b.getTreePtr());
    EXPECT_EQ(getNameAttr(a), mzComStringC("A"));
}

} // namespace
