// Node records: allocation, linking, copying and comparing without recursion, so that a
// tree of any depth built through the API can be cloned, compared and freed.

#include "platform/host/metatree/metatree_node.h"

#include <atomic>
#include <cmath>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

namespace metatree_detail {

namespace {

std::atomic<std::int64_t> liveCount{0};
std::atomic<std::uint64_t> nextId{1};

struct fileTableS {
    std::mutex lock;
    std::vector<std::string> names{std::string()};
};

fileTableS& fileTable() {
    static fileTableS table;
    return table;
}

} // namespace

bool holdsBytes(metaNodeKind k) noexcept {
    return k == metaNodeKind::nameToken || k == metaNodeKind::string || k == metaNodeKind::binary;
}

metaNodeS* allocNode(metaNodeKind kind) {
    auto node = std::make_unique<metaNodeS>();
    node->kind = kind;
    if (holdsBytes(kind)) {
        node->v.bytes = new std::string();
    }
    node->id = nextId.fetch_add(1, std::memory_order_relaxed);
    liveCount.fetch_add(1, std::memory_order_relaxed);
    return node.release();
}

metaNodeS* allocKeyNode(std::string_view tag) {
    ownedNodeT list(allocNode(metaNodeKind::list));
    metaNodeS* token = allocNode(metaNodeKind::nameToken);
    list->v.tag = token;
    token->parent = list.get();
    token->isTag = true;
    token->v.bytes->assign(tag);
    return list.release();
}

namespace {

void destroyNode(metaNodeS* x) noexcept {
    if (x->kind == metaNodeKind::list) {
        if (x->v.tag != nullptr) {
            delete x->v.tag->v.bytes;
            delete x->v.tag;
            liveCount.fetch_sub(1, std::memory_order_relaxed);
        }
    } else if (holdsBytes(x->kind)) {
        delete x->v.bytes;
    }
    delete x;
    liveCount.fetch_sub(1, std::memory_order_relaxed);
}

} // namespace

void freeSubtree(metaNodeS* n) noexcept {
    // Post-order without a stack: go down through the last child (taking it off its list),
    // free a node once it has no children left, then go back up to its parent.
    metaNodeS* x = n;
    while (x != nullptr) {
        if (!x->kids.empty()) {
            metaNodeS* c = x->kids.back();
            x->kids.pop_back();
            x = c;
            continue;
        }
        metaNodeS* up = x == n ? nullptr : x->parent;
        destroyNode(x);
        x = up;
    }
}

std::int64_t liveNodes() noexcept {
    return liveCount.load(std::memory_order_relaxed);
}

void reserveChild(metaNodeS* parent) {
    std::vector<metaNodeS*>& k = parent->kids;
    if (k.size() == k.capacity()) {
        k.reserve(k.empty() ? 4 : 2 * k.size());
    }
}

namespace {

void renumberFrom(metaNodeS* parent, std::size_t from) noexcept {
    for (std::size_t i = from; i < parent->kids.size(); ++i) {
        parent->kids[i]->index = static_cast<std::uint32_t>(i);
    }
}

} // namespace

void linkLast(metaNodeS* parent, metaNodeS* child) noexcept {
    child->parent = parent;
    child->index = static_cast<std::uint32_t>(parent->kids.size());
    parent->kids.push_back(child);
}

void linkBefore(metaNodeS* parent, metaNodeS* before, metaNodeS* child) noexcept {
    if (before == nullptr) {
        linkLast(parent, child);
        return;
    }
    const std::size_t at = before->index;
    child->parent = parent;
    parent->kids.insert(parent->kids.begin() + static_cast<std::ptrdiff_t>(at), child);
    renumberFrom(parent, at);
}

void unlinkRaw(metaNodeS* n) noexcept {
    metaNodeS* p = n->parent;
    if (p == nullptr) {
        return;
    }
    const std::size_t at = n->index;
    p->kids.erase(p->kids.begin() + static_cast<std::ptrdiff_t>(at));
    renumberFrom(p, at);
    n->parent = nullptr;
    n->index = 0;
}

bool isAncestorOrSelf(const metaNodeS* a, const metaNodeS* b) noexcept {
    for (const metaNodeS* x = b; x != nullptr; x = x->parent) {
        if (x == a) {
            return true;
        }
    }
    return false;
}

namespace {

// A parentless copy of n alone: kind, value, tag and location, no children.
metaNodeS* copyShallow(const metaNodeS* n) {
    metaNodeS* c = nullptr;
    if (n->kind == metaNodeKind::list && n->v.tag != nullptr) {
        c = allocKeyNode(*n->v.tag->v.bytes);
        c->v.tag->fileId = n->v.tag->fileId;
        c->v.tag->line = n->v.tag->line;
        c->v.tag->column = n->v.tag->column;
    } else {
        c = allocNode(n->kind);
        if (holdsBytes(n->kind)) {
            *c->v.bytes = *n->v.bytes;
        } else if (n->kind == metaNodeKind::integer) {
            c->v.i = n->v.i;
        } else if (n->kind == metaNodeKind::dbl) {
            c->v.d = n->v.d;
        }
    }
    c->fileId = n->fileId;
    c->line = n->line;
    c->column = n->column;
    return c;
}

bool equalDoubles(double a, double b) noexcept {
    if (std::isnan(a) || std::isnan(b)) {
        return std::isnan(a) && std::isnan(b);
    }
    return a == b && std::signbit(a) == std::signbit(b);
}

bool sameLocation(const metaNodeS* a, const metaNodeS* b) noexcept {
    return a->fileId == b->fileId && a->line == b->line && a->column == b->column;
}

bool equalShallow(const metaNodeS* a, const metaNodeS* b, bool withLocation) noexcept {
    if (a->kind != b->kind || (withLocation && !sameLocation(a, b))) {
        return false;
    }
    switch (a->kind) {
    case metaNodeKind::list: {
        const metaNodeS* ta = a->v.tag;
        const metaNodeS* tb = b->v.tag;
        if ((ta == nullptr) != (tb == nullptr) || a->kids.size() != b->kids.size()) {
            return false;
        }
        return ta == nullptr ||
               (*ta->v.bytes == *tb->v.bytes && (!withLocation || sameLocation(ta, tb)));
    }
    case metaNodeKind::integer:
        return a->v.i == b->v.i;
    case metaNodeKind::dbl:
        return equalDoubles(a->v.d, b->v.d);
    case metaNodeKind::nameToken:
    case metaNodeKind::string:
    case metaNodeKind::binary:
        return *a->v.bytes == *b->v.bytes;
    case metaNodeKind::none:
        break;
    }
    return true;
}

} // namespace

metaNodeS* cloneSubtree(const metaNodeS* n) {
    ownedNodeT root(copyShallow(n));
    // Pairs (source list, its copy) whose children are still to copy.
    std::vector<std::pair<const metaNodeS*, metaNodeS*>> todo;
    todo.emplace_back(n, root.get());
    while (!todo.empty()) {
        auto [src, dst] = todo.back();
        todo.pop_back();
        dst->kids.reserve(src->kids.size());
        for (const metaNodeS* c : src->kids) {
            metaNodeS* copy = copyShallow(c);
            linkLast(dst, copy);
            if (!c->kids.empty()) {
                todo.emplace_back(c, copy);
            }
        }
    }
    return root.release();
}

void swapContents(metaNodeS* a, metaNodeS* b) noexcept {
    std::swap(a->kind, b->kind);
    std::swap(a->v, b->v);
    std::swap(a->kids, b->kids);
    std::swap(a->fileId, b->fileId);
    std::swap(a->line, b->line);
    std::swap(a->column, b->column);
    for (metaNodeS* x : {a, b}) {
        for (metaNodeS* c : x->kids) {
            c->parent = x;
        }
        if (x->kind == metaNodeKind::list && x->v.tag != nullptr) {
            x->v.tag->parent = x;
        }
    }
}

bool equalSubtrees(const metaNodeS* a, const metaNodeS* b, bool withLocation) {
    std::vector<std::pair<const metaNodeS*, const metaNodeS*>> todo;
    todo.emplace_back(a, b);
    while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        if (!equalShallow(x, y, withLocation)) {
            return false;
        }
        // equalShallow compared the child counts.
        for (std::size_t i = 0; i < x->kids.size(); ++i) {
            todo.emplace_back(x->kids[i], y->kids[i]);
        }
    }
    return true;
}

std::uint32_t internFileName(std::string_view name) {
    if (name.empty()) {
        return 0;
    }
    fileTableS& t = fileTable();
    std::lock_guard<std::mutex> guard(t.lock);
    for (std::size_t i = t.names.size(); i-- > 1;) {
        if (t.names[i] == name) {
            return static_cast<std::uint32_t>(i);
        }
    }
    t.names.emplace_back(name);
    return static_cast<std::uint32_t>(t.names.size() - 1);
}

std::string fileNameOf(std::uint32_t id) {
    fileTableS& t = fileTable();
    std::lock_guard<std::mutex> guard(t.lock);
    return id < t.names.size() ? t.names[id] : std::string();
}

} // namespace metatree_detail
