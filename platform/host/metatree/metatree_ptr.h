#pragma once
// Node handle of the meta tree store and the small value types that travel with it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Storage of one node; defined only inside the store.
struct metaNodeS;

// What a node is. A key node is a list with a tag (see IMetaTreeApi::isKeyNode).
enum class metaNodeKind : std::uint8_t {
    none, // the null handle
    list,
    nameToken,
    string,
    integer,
    dbl,
    binary,
};

// Where a node came from: the parser stores the position of the node's first character
// (1-based line and column); nodes made by code have an empty file and line 0.
struct metaSourceLocS {
    std::string file;
    std::uint32_t line = 0;
    std::uint32_t column = 0;

    friend bool operator==(const metaSourceLocS&, const metaSourceLocS&) = default;
};

// Handle of one node: a plain pointer, cheap to copy, null by default, equal when it names
// the same node. It does not own the node and does not keep it alive: after the node (or
// its root) is released the handle dangles, like any raw pointer.
class metaTreePtrT {
public:
    constexpr metaTreePtrT() noexcept = default;
    constexpr metaTreePtrT(std::nullptr_t) noexcept {}
    constexpr explicit metaTreePtrT(metaNodeS* node) noexcept : node_(node) {}

    constexpr bool isNull() const noexcept { return node_ == nullptr; }
    constexpr explicit operator bool() const noexcept { return node_ != nullptr; }
    constexpr metaNodeS* node() const noexcept { return node_; }

    friend constexpr bool operator==(metaTreePtrT, metaTreePtrT) noexcept = default;

private:
    metaNodeS* node_ = nullptr;
};

template <> struct std::hash<metaTreePtrT> {
    std::size_t operator()(metaTreePtrT p) const noexcept {
        return std::hash<const void*>()(p.node());
    }
};
