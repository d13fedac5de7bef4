#pragma once
// The host's meta tree interface: every node of a meta tree is created, read, changed,
// parsed, printed and released through the one process-wide IMetaTreeApi object.
//
// Model: a node is a list or an atom (name token, string, integer, double, binary). A list
// whose first element is a name token is a key node and that token is its tag:
// `(PARAM 25.0 0 1)` is a key node with tag PARAM and the three children 25.0, 0, 1. The tag
// token is a node of its own (tagToken(); its parent is the key node) but it is NOT one of
// the children: firstChild, childAt, childCount and the sibling walk see only the values
// after the tag. nextSibling(tagToken(k)) is firstChild(k), as in the text.
//
// Ownership: a node made by new*, clone, parseText or parseFile has no parent and belongs
// to the caller until it is appended somewhere or released. Appending moves a node. release
// frees a whole parentless subtree and refuses a node that has a parent. Handles are not
// counted references: a released node's handles dangle.
//
// Threads: one build thread uses the store at a time; nodes are not locked. Only the live
// node counter and node ids are atomic (and the table of source file names is locked).
//
// Every query accepts the null handle and answers "nothing" (false, 0, empty, null); every
// change answers false when it cannot be done and then changes nothing.

#include "platform/host/metatree/metatree_error.h"
#include "platform/host/metatree/metatree_ptr.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Flags of IMetaTreeApi::compare.
enum metaCompareFlags : unsigned {
    metaCompareExact = 0,          // kinds, tags, values and source locations
    metaCompareIgnoreLocation = 1, // kinds, tags and values only
};

enum class metaPrintStyle {
    pretty,  // indented over lines, for people
    compact, // one line, single spaces
};

// Limits of one parse (a text beyond them is refused).
struct metaParseLimitsS {
    static constexpr std::size_t maxDepth = 256;                        // nested lists
    static constexpr std::size_t maxNodes = 4'000'000;                  // nodes made by one parse
    static constexpr std::size_t maxStringBytes = 16u << 20;            // one string, after escapes
    static constexpr std::size_t maxBinaryBytes = 64u << 20;            // one binary, decoded
    static constexpr std::size_t maxTokenBytes = 255;                   // one name token or number
    static constexpr std::size_t maxTextBytes = std::size_t{512} << 20; // a whole text or file
};

// True when text is a name token: an upper-case letter, then upper-case letters, digits
// and underscores (at most metaParseLimitsS::maxTokenBytes).
bool isValidNameToken(std::string_view text) noexcept;

class IMetaTreeApi {
public:
    virtual ~IMetaTreeApi() = default;

    // ---- creation: each returns a new parentless node owned by the caller.
    virtual metaTreePtrT newList() = 0;
    // Throws std::invalid_argument when tag is not a valid name token.
    virtual metaTreePtrT newKeyNode(std::string_view tag) = 0;
    // Throws std::invalid_argument when text is not a valid name token.
    virtual metaTreePtrT newNameToken(std::string_view text) = 0;
    // Throws std::invalid_argument when utf8 is not valid UTF-8.
    virtual metaTreePtrT newString(std::string_view utf8) = 0;
    virtual metaTreePtrT newInteger(std::int64_t value) = 0;
    virtual metaTreePtrT newDouble(double value) = 0;
    virtual metaTreePtrT newBinary(std::span<const std::uint8_t> bytes) = 0;

    // ---- kind queries.
    virtual metaNodeKind kind(metaTreePtrT n) = 0;
    virtual bool isList(metaTreePtrT n) = 0; // plain lists and key nodes
    virtual bool isKeyNode(metaTreePtrT n) = 0;
    virtual bool isNameToken(metaTreePtrT n) = 0; // tag tokens too
    virtual bool isString(metaTreePtrT n) = 0;
    virtual bool isInteger(metaTreePtrT n) = 0;
    virtual bool isDouble(metaTreePtrT n) = 0;
    virtual bool isNumber(metaTreePtrT n) = 0; // integer or double
    virtual bool isBinary(metaTreePtrT n) = 0;
    // True for the tag token of a key node (it cannot be moved, unlinked or changed alone).
    virtual bool isTagToken(metaTreePtrT n) = 0;

    // ---- tags and name tokens.
    virtual std::string tag(metaTreePtrT n) = 0; // tag of a key node; empty otherwise
    virtual bool hasTag(metaTreePtrT n, std::string_view key) = 0; // key node with this tag
    virtual metaTreePtrT tagToken(metaTreePtrT n) = 0;             // tag token node of a key node
    virtual std::string tokenText(metaTreePtrT n) = 0; // text of a name token; empty otherwise

    // ---- navigation: every call is O(1) except findChild (O(children)). The i-th child is
    // one step away, so a walk by position costs the same as a walk by sibling.
    virtual metaTreePtrT parent(metaTreePtrT n) = 0;
    virtual metaTreePtrT firstChild(metaTreePtrT n) = 0;
    virtual metaTreePtrT lastChild(metaTreePtrT n) = 0;
    virtual metaTreePtrT nextSibling(metaTreePtrT n) = 0;
    virtual metaTreePtrT prevSibling(metaTreePtrT n) = 0;                // null for the first child
    virtual metaTreePtrT childAt(metaTreePtrT n, std::size_t index) = 0; // null past the end
    virtual std::size_t childCount(metaTreePtrT n) = 0;                  // O(1)
    // First child that is a key node with this tag; null when there is none.
    virtual metaTreePtrT findChild(metaTreePtrT n, std::string_view key) = 0;

    // ---- values. Readers answer nullopt when the node holds no value of that kind.
    virtual std::optional<std::string> getString(metaTreePtrT n) = 0;
    // Integers as they are; doubles truncated towards zero and saturated to the int64
    // range, NaN gives 0.
    virtual std::optional<std::int64_t> getInteger(metaTreePtrT n) = 0;
    // Doubles as they are; integers converted.
    virtual std::optional<double> getDouble(metaTreePtrT n) = 0;
    virtual std::optional<std::vector<std::uint8_t>> getBinary(metaTreePtrT n) = 0;

    // Overwrite an atom's value in place; the atom may change kind. Refused for lists,
    // tag tokens and the null handle. setString throws std::invalid_argument on bad UTF-8.
    virtual bool setString(metaTreePtrT n, std::string_view utf8) = 0;
    virtual bool setInteger(metaTreePtrT n, std::int64_t value) = 0;
    virtual bool setDouble(metaTreePtrT n, double value) = 0;
    virtual bool setBinary(metaTreePtrT n, std::span<const std::uint8_t> bytes) = 0;

    // ---- structure.
    // Appends child as last child of parent, moving it from its old parent: amortised O(1)
    // for a child without children, else O(depth of parent) for the check against cycles;
    // leaving the old parent costs O(children after it there). Refused
    // when parent is not a list, child is parent or one of its ancestors, child is a tag
    // token, or a name token would become the first element of a plain list, here or in
    // the list the child leaves (the text would read that list back as a key node).
    virtual bool appendChild(metaTreePtrT parent, metaTreePtrT child) = 0;
    // Inserts child before the index-th child (index == childCount appends); O(children
    // after index), as the children after it are renumbered. The
    // index counts the children as they are before the move. Refused as appendChild, and
    // when index > childCount.
    virtual bool insertChild(metaTreePtrT parent, std::size_t index, metaTreePtrT child) = 0;
    // Detaches n from its parent (O(children after it)); the caller then owns it. Refused for tag
    // tokens, parentless nodes, and the first element of a plain list when a name token follows.
    virtual bool unlink(metaTreePtrT n) = 0;
    // Frees n and its whole subtree. Refused (false, nothing freed) when n has a parent.
    virtual bool release(metaTreePtrT n) = 0;
    // Deep copy of n's subtree with source locations and new ids; parentless; null for null.
    virtual metaTreePtrT clone(metaTreePtrT n) = 0;
    // Makes dst a copy of src: kind, tag, value, source location and children (the old
    // children are freed). dst keeps its id and its place. src may be an ancestor or a
    // descendant of dst. Refused when dst is a tag token (unless src is a name token,
    // which renames the tag) or when the copy would break a rule of appendChild.
    virtual bool copyFrom(metaTreePtrT dst, metaTreePtrT src) = 0;
    // Structural equality: kinds, tags, values (doubles exactly: -0.0 differs from 0.0,
    // NaN equals NaN), children in order and, without metaCompareIgnoreLocation, the source
    // locations. Two null handles are equal.
    virtual bool compare(metaTreePtrT a, metaTreePtrT b,
                         unsigned flags = metaCompareIgnoreLocation) = 0;

    // ---- identity and source locations.
    virtual std::uint64_t id(metaTreePtrT n) = 0; // unique per node for its life; 0 for null
    virtual metaSourceLocS location(metaTreePtrT n) = 0;
    virtual bool setLocation(metaTreePtrT n, const metaSourceLocS& loc) = 0;

    // ---- text form.
    // Parses text holding exactly one top-level node; fileName is used in messages and
    // locations. Throws metaTreeErrorC ("file:line:column: reason"); nothing is left behind.
    virtual metaTreePtrT parseText(std::string_view text, std::string_view fileName) = 0;
    // Reads and parses a file as parseText; a file that cannot be read is refused with
    // metaTreeErrorC at line 0, column 0.
    virtual metaTreePtrT parseFile(const std::string& path) = 0;
    // Text of n's subtree; parseText of it gives an equal tree. Empty for null. A subtree
    // whose text parseText would refuse (beyond metaParseLimitsS: nesting, string or binary
    // size, node count, text size) is refused with metaTreeErrorC (line 0).
    virtual std::string print(metaTreePtrT n, metaPrintStyle style = metaPrintStyle::pretty) = 0;

    // ---- leak finding: nodes alive in the process (tag tokens included).
    virtual std::int64_t liveNodeCount() = 0;
};

// The process-wide store.
IMetaTreeApi* getIMetaTreeApi();
