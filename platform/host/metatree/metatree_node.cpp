// Node records: allocation, linking, copying and comparing without recursion, so that a
// tree of any depth built through the API can be cloned, compared and freed.

#include "platform/host/metatree/metatree_node.h"

#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <mutex>
#include <new>
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

#if defined(__SANITIZE_ADDRESS__)
#define METATREE_PLAIN_ALLOCATION 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define METATREE_PLAIN_ALLOCATION 1
#endif
#endif

#ifndef METATREE_PLAIN_ALLOCATION
// Blocks of one size carved from large chunks and reused through a free list: a parse makes
// millions of small records, and the general allocator cost more than the parse itself (and
// a header a block). Chunks are kept for the life of the process. Under AddressSanitizer
// records come from new/delete, so that a use after release is still caught.
template <std::size_t Size, std::size_t Align> class blockPoolC {
public:
    // Each thread keeps a few blocks of its own, so that most takes and gives lock nothing.
    void* take() {
        cacheS& c = cache();
        if (c.head == nullptr) {
            refill(c);
        }
        freeBlockS* b = c.head;
        c.head = b->next;
        --c.count;
        return b;
    }

    void give(void* p) noexcept {
        cacheS& c = cache();
        auto* b = static_cast<freeBlockS*>(p);
        b->next = c.head;
        c.head = b;
        if (++c.count > 2 * batch) {
            spill(c, batch);
        }
    }

private:
    struct freeBlockS {
        freeBlockS* next;
    };
    struct cacheS {
        blockPoolC* pool = nullptr;
        freeBlockS* head = nullptr;
        std::size_t count = 0;
        ~cacheS() {
            if (pool != nullptr) {
                pool->spill(*this, count);
            }
        }
    };
    static constexpr std::size_t blockBytes = (Size + Align - 1) / Align * Align;
    static constexpr std::size_t blocksPerChunk = 4096;
    static constexpr std::size_t batch = 64;

    cacheS& cache() {
        thread_local cacheS c;
        c.pool = this;
        return c;
    }

    // Moves up to `batch` blocks from the shared list to the thread's.
    void refill(cacheS& c) {
        std::lock_guard<std::mutex> guard(lock_);
        if (free_ == nullptr) {
            grow();
        }
        for (std::size_t i = 0; i < batch && free_ != nullptr; ++i) {
            freeBlockS* b = free_;
            free_ = b->next;
            b->next = c.head;
            c.head = b;
            ++c.count;
        }
    }

    // Moves n blocks of the thread's list back to the shared one.
    void spill(cacheS& c, std::size_t n) noexcept {
        std::lock_guard<std::mutex> guard(lock_);
        for (; n > 0 && c.head != nullptr; --n) {
            freeBlockS* b = c.head;
            c.head = b->next;
            --c.count;
            b->next = free_;
            free_ = b;
        }
    }

    void grow() {
        chunks_.push_back(std::make_unique<std::byte[]>(blockBytes * blocksPerChunk));
        std::byte* base = chunks_.back().get();
        for (std::size_t i = blocksPerChunk; i-- > 0;) {
            auto* b = reinterpret_cast<freeBlockS*>(base + i * blockBytes);
            b->next = free_;
            free_ = b;
        }
    }

    std::mutex lock_;
    freeBlockS* free_ = nullptr;
    std::vector<std::unique_ptr<std::byte[]>> chunks_;
};

// Never destroyed: nodes still alive when static objects go may be released after it.
template <class T> blockPoolC<sizeof(T), alignof(T)>& poolOf() {
    static auto* pool = new blockPoolC<sizeof(T), alignof(T)>();
    return *pool;
}

template <class T, class... ArgsT> T* make(ArgsT&&... args) {
    void* p = poolOf<T>().take();
    try {
        return new (p) T(std::forward<ArgsT>(args)...);
    } catch (...) {
        poolOf<T>().give(p);
        throw;
    }
}

template <class T> void unmake(T* x) noexcept {
    x->~T();
    poolOf<T>().give(x);
}
#else
template <class T, class... ArgsT> T* make(ArgsT&&... args) {
    return new T(std::forward<ArgsT>(args)...);
}

template <class T> void unmake(T* x) noexcept {
    delete x;
}
#endif

// Ids are unique for the life of the process, not ordered: each thread takes them from a
// block of its own, so that making a node touches the shared counter once in a thousand.
std::uint64_t takeId() {
    constexpr std::uint64_t block = 1024;
    thread_local std::uint64_t next = 0;
    thread_local std::uint64_t end = 0;
    if (next == end) {
        next = nextId.fetch_add(block, std::memory_order_relaxed);
        end = next + block;
    }
    return next++;
}

} // namespace

std::string* newBytes(std::string_view bytes) {
    return make<std::string>(bytes);
}

void deleteBytes(std::string* bytes) noexcept {
    unmake(bytes);
}

bool holdsBytes(metaNodeKind k) noexcept {
    return k == metaNodeKind::nameToken || k == metaNodeKind::string || k == metaNodeKind::binary;
}

metaNodeS* allocNode(metaNodeKind kind) {
    std::string* bytes = holdsBytes(kind) ? newBytes({}) : nullptr;
    metaNodeS* node = nullptr;
    try {
        node = make<metaNodeS>();
    } catch (...) {
        if (bytes != nullptr) {
            deleteBytes(bytes);
        }
        throw;
    }
    node->kind = kind;
    if (bytes != nullptr) {
        node->v.bytes = bytes;
    }
    node->id = takeId();
    liveCount.fetch_add(1, std::memory_order_relaxed);
    return node;
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
            deleteBytes(x->v.tag->v.bytes);
            unmake(x->v.tag);
            liveCount.fetch_sub(1, std::memory_order_relaxed);
        }
    } else if (holdsBytes(x->kind)) {
        deleteBytes(x->v.bytes);
    }
    unmake(x);
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
