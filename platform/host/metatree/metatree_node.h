#pragma once
// Inside the store: the node record and the operations the API, the parser and the printer
// share. Not for use outside this folder.

#include "platform/host/metatree/metatree_ptr.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Children live in an array of the list, and each child knows its place there, so that the
// i-th child and both siblings are one step away; a change in the middle of a list renumbers
// the children after it.
struct metaNodeS {
    metaNodeS* parent = nullptr;
    union {
        std::int64_t i;
        double d;
        std::string* bytes; // name token text, string, binary
        metaNodeS* tag;     // list: its tag token or null
    } v{};
    std::vector<metaNodeS*> kids; // children of a list, in order
    std::uint64_t id = 0;
    std::uint32_t fileId = 0; // index into the file name table; 0 = none
    std::uint32_t line = 0;
    std::uint32_t column = 0;
    std::uint32_t index = 0; // place among the parent's children (0 for a tag token)
    metaNodeKind kind = metaNodeKind::none;
    bool isTag = false;
};

namespace metatree_detail {

bool holdsBytes(metaNodeKind k) noexcept;

// The text of a byte atom (name token, string, binary) lives in a string of its own.
std::string* newBytes(std::string_view bytes);
void deleteBytes(std::string* bytes) noexcept;

// A new parentless node; atoms of a byte kind get an empty text. Counts as live.
metaNodeS* allocNode(metaNodeKind kind);
// A new key node with a tag token of this (already checked) text.
metaNodeS* allocKeyNode(std::string_view tag);
// Frees a parentless subtree without recursion.
void freeSubtree(metaNodeS* n) noexcept;

struct subtreeDeleterS {
    void operator()(metaNodeS* n) const noexcept { freeSubtree(n); }
};
using ownedNodeT = std::unique_ptr<metaNodeS, subtreeDeleterS>;

std::int64_t liveNodes() noexcept;

// The i-th child of n, or null past the end (n may be an atom).
inline metaNodeS* childOrNull(const metaNodeS* n, std::size_t i) noexcept {
    return i < n->kids.size() ? n->kids[i] : nullptr;
}
// The sibling after / before a child (null for a parentless node).
inline metaNodeS* nextOf(const metaNodeS* n) noexcept {
    return n->parent != nullptr && !n->isTag ? childOrNull(n->parent, n->index + std::size_t{1})
                                             : nullptr;
}
inline metaNodeS* prevOf(const metaNodeS* n) noexcept {
    return n->parent != nullptr && !n->isTag && n->index > 0 ? n->parent->kids[n->index - 1]
                                                             : nullptr;
}

// Makes room in parent's array for one more child, so that the link that follows cannot
// fail half-way (growth is geometric, so appends stay amortised O(1)).
void reserveChild(metaNodeS* parent);
// Links child (parentless, not a tag) as the last child / before `before` of list parent;
// call reserveChild first.
void linkLast(metaNodeS* parent, metaNodeS* child) noexcept;
void linkBefore(metaNodeS* parent, metaNodeS* before, metaNodeS* child) noexcept;
// Detaches a non-tag node from its parent; O(children after it).
void unlinkRaw(metaNodeS* n) noexcept;

// True when a is b or one of b's ancestors.
bool isAncestorOrSelf(const metaNodeS* a, const metaNodeS* b) noexcept;

// Deep copy without recursion; parentless.
metaNodeS* cloneSubtree(const metaNodeS* n);
// Exchanges what two nodes hold (kind, value, tag, children, location); each keeps its id
// and its place in its own tree.
void swapContents(metaNodeS* a, metaNodeS* b) noexcept;
bool equalSubtrees(const metaNodeS* a, const metaNodeS* b, bool withLocation);

// Table of source file names; id 0 is the empty name.
std::uint32_t internFileName(std::string_view name);
std::string fileNameOf(std::uint32_t id);

} // namespace metatree_detail
