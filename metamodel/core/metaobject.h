#pragma once
// Node views on the host's meta tree: the virtual base that holds a view's node handle and
// ownership flag, the base of every typed view, and the child enumerator.
//
// Ownership rules (every view class follows them):
// - A view that owns a node releases it at its end, but ONLY when the node has no parent
//   then: appending a node into a tree moves it there, and the tree owns it from then on
//   (appending through a view ends the views' ownership at once, so a view may outlive
//   that tree; freeing a subtree likewise disowns the nodes inside it).
// - Ownership is shared by copies: a copy of an owning view is a second view of the same
//   node, and the node is released when the last of them ends. (So a view returned or
//   assigned from a temporary never dangles.)
// - attach() to the node already held, or to a node inside the subtree the view owns,
//   never frees that node: the owned subtree is kept alive until the view lets go of it.
// - detach(false) hands the node to the caller, who must append or release it.
//
// All accessors sit in the virtual base so that a view class reached along two paths
// (a diamond of view classes) still has one node and unambiguous accessors. The base has
// copy operations only (no move operations): copying is cheap and always safe, and a
// virtual base is then never "moved from" twice.

#include "libs/KvorCore/loader/com_string.h"
#include "platform/host/metatree/metatree_api.h"

#include <cstdint>
#include <memory>

class metaObjEnumC;
class metaObjectC;

class metaObjectVirtualDataBaseC {
public:
    metaObjectVirtualDataBaseC() noexcept = default;
    explicit metaObjectVirtualDataBaseC(metaTreePtrT node, bool owns = false);
    metaObjectVirtualDataBaseC(const metaObjectVirtualDataBaseC& other) noexcept;
    metaObjectVirtualDataBaseC& operator=(const metaObjectVirtualDataBaseC& other);
    virtual ~metaObjectVirtualDataBaseC();

    // ---- binding.
    // True when the view is bound to a node (false for "not found" results).
    bool isValid() const noexcept { return !binding_.node.isNull(); }
    metaTreePtrT getTreePtr() const noexcept { return binding_.node; }
    // True when the view (with its copies) owns the bound node.
    bool ownsNode() const noexcept;
    // Rebinds the view to node. A node owned so far is released first (when no copy still
    // owns it), unless it is the node itself or contains it; attaching to the node already
    // held keeps the ownership the view had (owns can add ownership, not drop it).
    void attach(metaTreePtrT node, bool owns);
    // Unlinks the held node from its parent. owns true: the view owns it from now on and
    // releases it at its end unless it is appended somewhere first. owns false: ownership
    // passes to the caller through the returned handle (append it or release it). Answers
    // the node, null without a node.
    [[nodiscard]] metaTreePtrT detach(bool owns);
    // Makes the view a view of a new key node with that tag, owned by the view.
    bool ctorNewNode(const mzComStringC& key);
    // Makes the view a view of a node parsed from meta text, owned by the view. Text that
    // cannot be parsed is logged and leaves the view unbound (answer false).
    bool ctorFromText(const mzComStringC& text, const char* sourceName = "<text>");

    // ---- the node itself.
    bool isKeyNode() const;
    // Tag of the held key node; empty otherwise.
    mzComStringC getTag() const;
    // True when the held node is a name token whose text equals text.
    bool hasTagName(const mzComStringC& text) const;
    // True when the held node is a key node whose tag equals key.
    bool hasKey(const mzComStringC& key) const;

    // ---- children (the values after a key node's tag; the tag token is not a child).
    int countChildren() const;
    // The i-th child whatever its key; null when out of range or without a node.
    metaTreePtrT getChildAt(int index) const;
    // First child that is a key node with this tag; null when none (nothing is created).
    metaTreePtrT findChild(const mzComStringC& key) const;
    bool hasChild(const mzComStringC& key) const { return !findChild(key).isNull(); }
    // First child with this key; when none, a new key node with that tag is appended and
    // returned. Null without a node or for a key that is not a valid tag.
    metaTreePtrT getOrAddChild(const mzComStringC& key);
    // Appends node (or a clone of it when clone is set) as last child and answers the
    // appended node; null when the store refuses (a node into its own subtree, ...), in
    // which case nothing changes and a clone is not left behind.
    metaTreePtrT appendChild(metaTreePtrT node, bool clone = false);
    metaObjEnumC enumChildren() const;
    // Nearest ancestor whose key equals key (the parent itself for an empty key); null
    // when none.
    metaTreePtrT findAncestor(const mzComStringC& key) const;
    metaTreePtrT getParent() const;

    // ---- whole subtrees.
    // An owned copy of the held subtree (unbound without a node). The flag is kept for the
    // callers' sake: every copy is deep.
    metaObjectC cloneTree(int flags = 1) const;
    // Makes the held node a copy of src (children replaced); false when refused.
    bool copyFrom(metaTreePtrT src);
    // Non-zero when the held subtree equals other's; flags as IMetaTreeApi::compare
    // (1: ignore source locations).
    int compareTree(metaTreePtrT other, unsigned flags = metaCompareIgnoreLocation) const;

    // ---- value children, for property views: (NAME "x"), (PARAM 25.0 0 1).
    // The node's first value: its first child, or the node itself when it is an atom.
    metaTreePtrT firstValueNode() const;

    // The string of the first value of child key; def when the child or value is missing.
    // Nothing is created.
    mzComStringC readStringProperty(const mzComStringC& key,
                                    const mzComStringC& def = mzComStringC()) const;

    // Owner of a root node: releases it when the last view sharing it ends, if the root
    // has no parent then.
    struct ownerS;
    // A view's whole binding; swapped by prototypeBindGuardC only.
    struct bindingS {
        metaTreePtrT node;
        // At most two roots: the node itself, and a parentless subtree around it.
        std::shared_ptr<ownerS> owners[2];
    };
    bindingS swapBinding(bindingS binding) noexcept;

protected:
    static IMetaTreeApi& api();

private:
    // Binds to node keeping the candidates' owners that still matter for it.
    void rebind(metaTreePtrT node, const std::shared_ptr<ownerS>* candidates, int count, bool owns);

    bindingS binding_;
};

// Base of every typed view. Typed views derive from it (virtually when two view classes
// meet in one class) and add only accessors and their key names.
class metaObjectC : public virtual metaObjectVirtualDataBaseC {
public:
    metaObjectC() noexcept = default;
    explicit metaObjectC(metaTreePtrT node, bool owns = false) {
        if (!node.isNull())
            attach(node, owns);
    }
    metaObjectC(const metaObjectC&) = default;
    metaObjectC& operator=(const metaObjectC&) = default;
    ~metaObjectC() override = default;
};

// Enumerator over a node's children in order.
class metaObjEnumC {
public:
    metaObjEnumC() = default;
    explicit metaObjEnumC(metaTreePtrT firstChild) : current_(firstChild) {}

    bool isValid() const noexcept { return !current_.isNull(); }
    metaTreePtrT current() const noexcept { return current_; }
    // Advances; false at the end.
    bool next();

private:
    metaTreePtrT current_;
};

// Text conversions between the component system's strings and the store's UTF-8.
std::string metaToUtf8(const mzComStringC& text);
mzComStringC metaFromUtf8(std::string_view text);

// The tag of a node (empty when it is no key node).
mzComStringC metaNodeTag(metaTreePtrT node);

// The "NAME" string of a view's node, def when it has none.
mzComStringC getNameAttr(const metaObjectVirtualDataBaseC& view,
                         const mzComStringC& def = mzComStringC());
