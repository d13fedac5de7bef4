#include "metamodel/core/metaobject.h"

#include "metamodel/core/metalog.h"

#include <exception>
#include <mutex>
#include <unordered_map>
#include <utility>

namespace {

// True when node is root or lies inside root's subtree (tag tokens included).
bool isInside(IMetaTreeApi& api, metaTreePtrT node, metaTreePtrT root) {
    for (metaTreePtrT n = node; !n.isNull(); n = api.parent(n)) {
        if (n == root)
            return true;
    }
    return false;
}

} // namespace

// Owners of root nodes. Every live owner is listed so that a node appended into a tree
// through a view stops being owned (the tree owns it now), and so that freeing a subtree
// disowns the owners of nodes inside it: no owner ever touches a freed node.
struct metaObjectVirtualDataBaseC::ownerS {
    explicit ownerS(metaTreePtrT r);
    ownerS(const ownerS&) = delete;
    ownerS& operator=(const ownerS&) = delete;
    ~ownerS();

    metaTreePtrT root; // null once ownership was handed away; changed under ownersLock()
};

namespace {

using ownerS = metaObjectVirtualDataBaseC::ownerS;

std::mutex& ownersLock() {
    static std::mutex lock;
    return lock;
}

std::unordered_multimap<metaNodeS*, ownerS*>& liveOwners() {
    static std::unordered_multimap<metaNodeS*, ownerS*> owners;
    return owners;
}

void forget(ownerS* owner) {
    auto range = liveOwners().equal_range(owner->root.node());
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second == owner) {
            liveOwners().erase(it);
            return;
        }
    }
}

// Disowns every owner whose root is node (when itself) or lies strictly inside node's
// subtree (when inside). Called with ownersLock() held.
void disownLocked(metaTreePtrT node, bool itself, bool inside) {
    IMetaTreeApi& a = *getIMetaTreeApi();
    auto& owners = liveOwners();
    if (!inside) {
        auto range = owners.equal_range(node.node());
        for (auto it = range.first; it != range.second; ++it)
            it->second->root = metaTreePtrT();
        owners.erase(range.first, range.second);
        return;
    }
    for (auto it = owners.begin(); it != owners.end();) {
        const metaTreePtrT root = it->second->root;
        const bool match = root == node ? itself : (inside && isInside(a, root, node));
        if (match) {
            it->second->root = metaTreePtrT();
            it = owners.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace

metaObjectVirtualDataBaseC::ownerS::ownerS(metaTreePtrT r) : root(r) {
    std::lock_guard<std::mutex> guard(ownersLock());
    liveOwners().emplace(root.node(), this);
}

metaObjectVirtualDataBaseC::ownerS::~ownerS() {
    metaTreePtrT free;
    {
        std::lock_guard<std::mutex> guard(ownersLock());
        if (root.isNull())
            return;
        forget(this);
        IMetaTreeApi& a = *getIMetaTreeApi();
        if (!a.parent(root).isNull())
            return; // a tree holds it
        disownLocked(root, true, true);
        free = root;
    }
    getIMetaTreeApi()->release(free);
}

IMetaTreeApi& metaObjectVirtualDataBaseC::api() {
    return *getIMetaTreeApi();
}

metaObjectVirtualDataBaseC::metaObjectVirtualDataBaseC(metaTreePtrT node, bool owns) {
    binding_.node = node;
    if (owns && !node.isNull())
        binding_.owners[0] = std::make_shared<ownerS>(node);
}

metaObjectVirtualDataBaseC::metaObjectVirtualDataBaseC(
    const metaObjectVirtualDataBaseC& other) noexcept
    : binding_(other.binding_) {}

metaObjectVirtualDataBaseC&
metaObjectVirtualDataBaseC::operator=(const metaObjectVirtualDataBaseC& other) {
    if (this == &other)
        return *this;
    // The other view's owners first, then ours (they may still hold the new node).
    const bindingS theirs = other.binding_;
    const std::shared_ptr<ownerS> candidates[4] = {theirs.owners[0], theirs.owners[1],
                                                   binding_.owners[0], binding_.owners[1]};
    rebind(theirs.node, candidates, 4, false);
    return *this;
}

metaObjectVirtualDataBaseC::~metaObjectVirtualDataBaseC() = default;

bool metaObjectVirtualDataBaseC::ownsNode() const noexcept {
    for (const auto& o : binding_.owners) {
        if (o && !o->root.isNull() && o->root == binding_.node)
            return true;
    }
    return false;
}

void metaObjectVirtualDataBaseC::rebind(metaTreePtrT node,
                                        const std::shared_ptr<ownerS>* candidates, int count,
                                        bool owns) {
    bindingS next;
    next.node = node;
    int kept = 0;
    bool ownsNodeItself = false;
    if (!node.isNull()) {
        IMetaTreeApi& a = api();
        for (int i = 0; i < count && kept < 2; ++i) {
            const std::shared_ptr<ownerS>& o = candidates[i];
            if (!o || o->root.isNull() || o == next.owners[0])
                continue;
            // An owner matters while its root is the node, or a free subtree around it.
            const bool itself = o->root == node;
            if (!itself && !(a.parent(o->root).isNull() && isInside(a, node, o->root)))
                continue;
            if (itself && ownsNodeItself)
                continue;
            ownsNodeItself = ownsNodeItself || itself;
            next.owners[kept++] = o;
        }
        if (owns && !ownsNodeItself && kept < 2)
            next.owners[kept++] = std::make_shared<ownerS>(node);
    }
    // Owners dropped here release their roots when no other view shares them.
    binding_ = std::move(next);
}

void metaObjectVirtualDataBaseC::attach(metaTreePtrT node, bool owns) {
    const std::shared_ptr<ownerS> candidates[2] = {binding_.owners[0], binding_.owners[1]};
    rebind(node, candidates, 2, owns);
}

metaTreePtrT metaObjectVirtualDataBaseC::detach(bool owns) {
    const metaTreePtrT node = binding_.node;
    if (node.isNull())
        return metaTreePtrT();
    IMetaTreeApi& a = api();
    if (!a.parent(node).isNull() && !a.unlink(node)) {
        META_LOG_WARNING("detach: the node cannot be unlinked (a tag token?)");
        return metaTreePtrT();
    }
    if (!owns) {
        // The caller takes the node over: no view may release it any more.
        std::lock_guard<std::mutex> guard(ownersLock());
        disownLocked(node, true, false);
    }
    attach(node, owns);
    return node;
}

bool metaObjectVirtualDataBaseC::ctorNewNode(const mzComStringC& key) {
    const std::string tag = metaToUtf8(key);
    if (!isValidNameToken(tag)) {
        META_LOG_WARNING("ctorNewNode: \"" + tag + "\" is not a valid node key");
        attach(metaTreePtrT(), false);
        return false;
    }
    attach(api().newKeyNode(tag), true);
    return true;
}

bool metaObjectVirtualDataBaseC::ctorFromText(const mzComStringC& text, const char* sourceName) {
    metaTreePtrT node;
    try {
        node = api().parseText(metaToUtf8(text), sourceName ? sourceName : "<text>");
    } catch (const std::exception& e) {
        META_LOG_WARNING(std::string("ctorFromText: ") + e.what());
        attach(metaTreePtrT(), false);
        return false;
    }
    attach(node, true);
    return true;
}

bool metaObjectVirtualDataBaseC::isKeyNode() const {
    return api().isKeyNode(binding_.node);
}

mzComStringC metaObjectVirtualDataBaseC::getTag() const {
    return metaFromUtf8(api().tag(binding_.node));
}

bool metaObjectVirtualDataBaseC::hasTagName(const mzComStringC& text) const {
    IMetaTreeApi& a = api();
    return a.isNameToken(binding_.node) && a.tokenText(binding_.node) == metaToUtf8(text);
}

bool metaObjectVirtualDataBaseC::hasKey(const mzComStringC& key) const {
    return api().hasTag(binding_.node, metaToUtf8(key));
}

int metaObjectVirtualDataBaseC::countChildren() const {
    const std::size_t n = api().childCount(binding_.node);
    return n > static_cast<std::size_t>(INT32_MAX) ? INT32_MAX : static_cast<int>(n);
}

metaTreePtrT metaObjectVirtualDataBaseC::getChildAt(int index) const {
    if (index < 0)
        return metaTreePtrT();
    return api().childAt(binding_.node, static_cast<std::size_t>(index));
}

metaTreePtrT metaObjectVirtualDataBaseC::findChild(const mzComStringC& key) const {
    return api().findChild(binding_.node, metaToUtf8(key));
}

metaTreePtrT metaObjectVirtualDataBaseC::getOrAddChild(const mzComStringC& key) {
    if (binding_.node.isNull())
        return metaTreePtrT();
    IMetaTreeApi& a = api();
    const std::string tag = metaToUtf8(key);
    if (metaTreePtrT found = a.findChild(binding_.node, tag); !found.isNull())
        return found;
    if (!isValidNameToken(tag)) {
        META_LOG_WARNING("getOrAddChild: \"" + tag + "\" is not a valid node key");
        return metaTreePtrT();
    }
    metaTreePtrT child = a.newKeyNode(tag);
    if (!a.appendChild(binding_.node, child)) {
        a.release(child);
        META_LOG_WARNING("getOrAddChild: cannot add \"" + tag + "\" to a node that is no list");
        return metaTreePtrT();
    }
    return child;
}

metaTreePtrT metaObjectVirtualDataBaseC::appendChild(metaTreePtrT node, bool clone) {
    if (binding_.node.isNull() || node.isNull())
        return metaTreePtrT();
    IMetaTreeApi& a = api();
    metaTreePtrT child = clone ? a.clone(node) : node;
    if (!a.appendChild(binding_.node, child)) {
        if (clone)
            a.release(child);
        META_LOG_WARNING("appendChild: the node cannot be appended here");
        return metaTreePtrT();
    }
    if (!clone) {
        // Appending moved it: the tree owns it from now on.
        std::lock_guard<std::mutex> guard(ownersLock());
        disownLocked(child, true, false);
    }
    return child;
}

metaObjEnumC metaObjectVirtualDataBaseC::enumChildren() const {
    return metaObjEnumC(api().firstChild(binding_.node));
}

metaTreePtrT metaObjectVirtualDataBaseC::findAncestor(const mzComStringC& key) const {
    IMetaTreeApi& a = api();
    metaTreePtrT p = a.parent(binding_.node);
    if (key.isEmpty())
        return p;
    const std::string tag = metaToUtf8(key);
    for (; !p.isNull(); p = a.parent(p)) {
        if (a.hasTag(p, tag))
            return p;
    }
    return metaTreePtrT();
}

metaTreePtrT metaObjectVirtualDataBaseC::getParent() const {
    return api().parent(binding_.node);
}

metaObjectC metaObjectVirtualDataBaseC::cloneTree(int /*flags*/) const {
    if (binding_.node.isNull())
        return metaObjectC();
    return metaObjectC(api().clone(binding_.node), true);
}

bool metaObjectVirtualDataBaseC::copyFrom(metaTreePtrT src) {
    if (binding_.node.isNull() || src.isNull())
        return false;
    {
        // The old children are freed: nobody may own a node among them any more.
        std::lock_guard<std::mutex> guard(ownersLock());
        disownLocked(binding_.node, false, true);
    }
    return api().copyFrom(binding_.node, src);
}

int metaObjectVirtualDataBaseC::compareTree(metaTreePtrT other, unsigned flags) const {
    return api().compare(binding_.node, other, flags) ? 1 : 0;
}

metaTreePtrT metaObjectVirtualDataBaseC::firstValueNode() const {
    IMetaTreeApi& a = api();
    if (a.isList(binding_.node))
        return a.firstChild(binding_.node);
    return binding_.node;
}

mzComStringC metaObjectVirtualDataBaseC::readStringProperty(const mzComStringC& key,
                                                            const mzComStringC& def) const {
    IMetaTreeApi& a = api();
    metaTreePtrT child = a.findChild(binding_.node, metaToUtf8(key));
    if (child.isNull())
        return def;
    std::optional<std::string> s = a.getString(a.firstChild(child));
    return s ? metaFromUtf8(*s) : def;
}

metaObjectVirtualDataBaseC::bindingS
metaObjectVirtualDataBaseC::swapBinding(bindingS binding) noexcept {
    std::swap(binding_, binding);
    return binding;
}

bool metaObjEnumC::next() {
    if (current_.isNull())
        return false;
    current_ = getIMetaTreeApi()->nextSibling(current_);
    return !current_.isNull();
}

mzComStringC metaNodeTag(metaTreePtrT node) {
    return metaFromUtf8(getIMetaTreeApi()->tag(node));
}

mzComStringC getNameAttr(const metaObjectVirtualDataBaseC& view, const mzComStringC& def) {
    return view.readStringProperty("NAME", def);
}

std::string metaToUtf8(const mzComStringC& text) {
    return text.toUtf8();
}

mzComStringC metaFromUtf8(std::string_view text) {
    return mzComStringC(text);
}
