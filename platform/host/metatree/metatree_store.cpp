// The process-wide meta tree store: IMetaTreeApi over the node records.

#include "platform/host/metatree/metatree_api.h"
#include "platform/host/metatree/metatree_node.h"
#include "platform/host/metatree/metatree_parse.h"
#include "platform/host/metatree/metatree_print.h"
#include "platform/host/metatree/metatree_text_codec.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <stdexcept>

using namespace metatree_detail;

bool isValidNameToken(std::string_view text) noexcept {
    if (text.empty() || text.size() > metaParseLimitsS::maxTokenBytes || text[0] < 'A' ||
        text[0] > 'Z') {
        return false;
    }
    for (char c : text) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!ok) {
            return false;
        }
    }
    return true;
}

namespace {

void requireNameToken(std::string_view text) {
    if (!isValidNameToken(text)) {
        throw std::invalid_argument("invalid name token '" + std::string(text) + "'");
    }
}

void requireUtf8(std::string_view text) {
    if (!isValidUtf8(text)) {
        throw std::invalid_argument("string is not valid UTF-8");
    }
}

std::int64_t saturatingTruncate(double d) noexcept {
    constexpr double twoTo63 = 9223372036854775808.0;
    if (std::isnan(d)) {
        return 0;
    }
    if (d >= twoTo63) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (d < -twoTo63) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(d);
}

// A plain list whose first element is a name token would read back as a key node: true when
// placing c before `before` (null: at the end) in p gives such a list.
bool wouldLeadPlainList(const metaNodeS* p, const metaNodeS* before, const metaNodeS* c) noexcept {
    if (c->kind != metaNodeKind::nameToken || p->v.tag != nullptr) {
        return false;
    }
    const metaNodeS* first = childOrNull(p, 0);
    const metaNodeS* firstOther = first == c ? childOrNull(p, 1) : first;
    return before == firstOther;
}

// The same when c leaves its place: it leads a plain list and a name token follows it.
bool leavingExposesNameToken(const metaNodeS* c) noexcept {
    const metaNodeS* p = c->parent;
    if (p == nullptr || p->v.tag != nullptr || c->isTag || c->index != 0) {
        return false;
    }
    const metaNodeS* next = childOrNull(p, 1);
    return next != nullptr && next->kind == metaNodeKind::nameToken;
}

class metaTreeStoreC final : public IMetaTreeApi {
public:
    // ---- creation
    metaTreePtrT newList() override { return wrap(allocNode(metaNodeKind::list)); }

    metaTreePtrT newKeyNode(std::string_view tag) override {
        requireNameToken(tag);
        return wrap(allocKeyNode(tag));
    }

    metaTreePtrT newNameToken(std::string_view text) override {
        requireNameToken(text);
        return newBytes(metaNodeKind::nameToken, text);
    }

    metaTreePtrT newString(std::string_view utf8) override {
        requireUtf8(utf8);
        return newBytes(metaNodeKind::string, utf8);
    }

    metaTreePtrT newInteger(std::int64_t value) override {
        metaNodeS* n = allocNode(metaNodeKind::integer);
        n->v.i = value;
        return wrap(n);
    }

    metaTreePtrT newDouble(double value) override {
        metaNodeS* n = allocNode(metaNodeKind::dbl);
        n->v.d = value;
        return wrap(n);
    }

    metaTreePtrT newBinary(std::span<const std::uint8_t> bytes) override {
        return newBytes(metaNodeKind::binary, asText(bytes));
    }

    // ---- kinds
    metaNodeKind kind(metaTreePtrT n) override { return n ? n.node()->kind : metaNodeKind::none; }
    bool isList(metaTreePtrT n) override { return kind(n) == metaNodeKind::list; }
    bool isKeyNode(metaTreePtrT n) override { return isList(n) && n.node()->v.tag != nullptr; }
    bool isNameToken(metaTreePtrT n) override { return kind(n) == metaNodeKind::nameToken; }
    bool isString(metaTreePtrT n) override { return kind(n) == metaNodeKind::string; }
    bool isInteger(metaTreePtrT n) override { return kind(n) == metaNodeKind::integer; }
    bool isDouble(metaTreePtrT n) override { return kind(n) == metaNodeKind::dbl; }
    bool isNumber(metaTreePtrT n) override { return isInteger(n) || isDouble(n); }
    bool isBinary(metaTreePtrT n) override { return kind(n) == metaNodeKind::binary; }
    bool isTagToken(metaTreePtrT n) override { return n && n.node()->isTag; }

    // ---- tags and name tokens
    std::string tag(metaTreePtrT n) override {
        return isKeyNode(n) ? *n.node()->v.tag->v.bytes : std::string();
    }

    bool hasTag(metaTreePtrT n, std::string_view key) override {
        return isKeyNode(n) && *n.node()->v.tag->v.bytes == key;
    }

    metaTreePtrT tagToken(metaTreePtrT n) override {
        return isKeyNode(n) ? wrap(n.node()->v.tag) : metaTreePtrT();
    }

    std::string tokenText(metaTreePtrT n) override {
        return isNameToken(n) ? *n.node()->v.bytes : std::string();
    }

    // ---- navigation
    metaTreePtrT parent(metaTreePtrT n) override { return n ? wrap(n.node()->parent) : n; }
    metaTreePtrT firstChild(metaTreePtrT n) override {
        return n ? wrap(childOrNull(n.node(), 0)) : n;
    }

    metaTreePtrT lastChild(metaTreePtrT n) override {
        return n && !n.node()->kids.empty() ? wrap(n.node()->kids.back()) : metaTreePtrT();
    }

    metaTreePtrT nextSibling(metaTreePtrT n) override {
        if (!n) {
            return n;
        }
        // In the text the values follow the tag.
        return n.node()->isTag ? wrap(childOrNull(n.node()->parent, 0)) : wrap(nextOf(n.node()));
    }

    metaTreePtrT prevSibling(metaTreePtrT n) override { return n ? wrap(prevOf(n.node())) : n; }

    metaTreePtrT childAt(metaTreePtrT n, std::size_t index) override {
        return n ? wrap(childOrNull(n.node(), index)) : n;
    }

    std::size_t childCount(metaTreePtrT n) override { return n ? n.node()->kids.size() : 0; }

    metaTreePtrT findChild(metaTreePtrT n, std::string_view key) override {
        if (!n) {
            return n;
        }
        for (metaNodeS* c : n.node()->kids) {
            if (c->kind == metaNodeKind::list && c->v.tag != nullptr && *c->v.tag->v.bytes == key) {
                return wrap(c);
            }
        }
        return {};
    }

    // ---- values
    std::optional<std::string> getString(metaTreePtrT n) override {
        if (!isString(n)) {
            return std::nullopt;
        }
        return *n.node()->v.bytes;
    }

    std::optional<std::int64_t> getInteger(metaTreePtrT n) override {
        if (isInteger(n)) {
            return n.node()->v.i;
        }
        if (isDouble(n)) {
            return saturatingTruncate(n.node()->v.d);
        }
        return std::nullopt;
    }

    std::optional<double> getDouble(metaTreePtrT n) override {
        if (isDouble(n)) {
            return n.node()->v.d;
        }
        if (isInteger(n)) {
            return static_cast<double>(n.node()->v.i);
        }
        return std::nullopt;
    }

    std::optional<std::vector<std::uint8_t>> getBinary(metaTreePtrT n) override {
        if (!isBinary(n)) {
            return std::nullopt;
        }
        const std::string& b = *n.node()->v.bytes;
        return std::vector<std::uint8_t>(b.begin(), b.end());
    }

    bool setString(metaTreePtrT n, std::string_view utf8) override {
        requireUtf8(utf8);
        return setBytes(n, metaNodeKind::string, utf8);
    }

    bool setInteger(metaTreePtrT n, std::int64_t value) override {
        if (!changeableAtom(n)) {
            return false;
        }
        makeNumber(n.node(), metaNodeKind::integer);
        n.node()->v.i = value;
        return true;
    }

    bool setDouble(metaTreePtrT n, double value) override {
        if (!changeableAtom(n)) {
            return false;
        }
        makeNumber(n.node(), metaNodeKind::dbl);
        n.node()->v.d = value;
        return true;
    }

    bool setBinary(metaTreePtrT n, std::span<const std::uint8_t> bytes) override {
        return setBytes(n, metaNodeKind::binary, asText(bytes));
    }

    // ---- structure
    bool appendChild(metaTreePtrT parent, metaTreePtrT child) override {
        if (!canPlace(parent, child, nullptr)) {
            return false;
        }
        reserveChild(parent.node());
        unlinkRaw(child.node());
        linkLast(parent.node(), child.node());
        return true;
    }

    bool insertChild(metaTreePtrT parent, std::size_t index, metaTreePtrT child) override {
        if (!parent || index > parent.node()->kids.size()) {
            return false;
        }
        metaTreePtrT before = childAt(parent, index);
        if (before == child) {
            return true; // already there
        }
        if (!canPlace(parent, child, before.node())) {
            return false;
        }
        reserveChild(parent.node());
        unlinkRaw(child.node());
        linkBefore(parent.node(), before.node(), child.node());
        return true;
    }

    bool unlink(metaTreePtrT n) override {
        if (!n || n.node()->parent == nullptr || n.node()->isTag ||
            leavingExposesNameToken(n.node())) {
            return false;
        }
        unlinkRaw(n.node());
        return true;
    }

    bool release(metaTreePtrT n) override {
        if (!n || n.node()->parent != nullptr) {
            return false;
        }
        freeSubtree(n.node());
        return true;
    }

    metaTreePtrT clone(metaTreePtrT n) override { return n ? wrap(cloneSubtree(n.node())) : n; }

    bool copyFrom(metaTreePtrT dst, metaTreePtrT src) override {
        if (!dst || !src) {
            return false;
        }
        if (dst == src) {
            return true;
        }
        metaNodeS* d = dst.node();
        metaNodeS* s = src.node();
        if (d->isTag) {
            if (s->kind != metaNodeKind::nameToken) {
                return false;
            }
            *d->v.bytes = *s->v.bytes;
            d->fileId = s->fileId;
            d->line = s->line;
            d->column = s->column;
            return true;
        }
        if (s->kind == metaNodeKind::nameToken && d->parent != nullptr &&
            d->parent->v.tag == nullptr && d->index == 0) {
            return false;
        }
        // Copy first: src may lie inside dst's subtree (freed below) or above it.
        ownedNodeT copy(cloneSubtree(s));
        swapContents(d, copy.get());
        return true; // copy now holds dst's old contents and frees them
    }

    bool compare(metaTreePtrT a, metaTreePtrT b, unsigned flags) override {
        if (!a || !b) {
            return !a && !b;
        }
        return equalSubtrees(a.node(), b.node(), (flags & metaCompareIgnoreLocation) == 0);
    }

    // ---- identity and locations
    std::uint64_t id(metaTreePtrT n) override { return n ? n.node()->id : 0; }

    metaSourceLocS location(metaTreePtrT n) override {
        if (!n) {
            return {};
        }
        return {fileNameOf(n.node()->fileId), n.node()->line, n.node()->column};
    }

    bool setLocation(metaTreePtrT n, const metaSourceLocS& loc) override {
        if (!n) {
            return false;
        }
        n.node()->fileId = internFileName(loc.file);
        n.node()->line = loc.line;
        n.node()->column = loc.column;
        return true;
    }

    // ---- text
    metaTreePtrT parseText(std::string_view text, std::string_view fileName) override {
        return wrap(parseOneNode(text, fileName));
    }

    metaTreePtrT parseFile(const std::string& path) override {
        // A folder opens as a stream on some systems and reads as an endless file.
        std::error_code folderError;
        if (std::filesystem::is_directory(path, folderError)) {
            throw metaTreeErrorC(path, 0, 0, "is a directory, not a file");
        }
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            throw metaTreeErrorC(path, 0, 0, "cannot open file");
        }
        in.seekg(0, std::ios::end);
        const std::streamoff size = in.tellg();
        if (size < 0) {
            throw metaTreeErrorC(path, 0, 0, "cannot read file");
        }
        if (static_cast<std::uint64_t>(size) > metaParseLimitsS::maxTextBytes) {
            throw metaTreeErrorC(path, 0, 0,
                                 "file too large (limit " +
                                     std::to_string(metaParseLimitsS::maxTextBytes) + " bytes)");
        }
        in.seekg(0, std::ios::beg);
        std::string text(static_cast<std::size_t>(size), '\0');
        if (!in.read(text.data(), size)) {
            throw metaTreeErrorC(path, 0, 0, "cannot read file");
        }
        return parseText(text, path);
    }

    std::string print(metaTreePtrT n, metaPrintStyle style) override {
        return n ? printSubtree(n.node(), style) : std::string();
    }

    std::int64_t liveNodeCount() override { return liveNodes(); }

private:
    static metaTreePtrT wrap(metaNodeS* n) { return metaTreePtrT(n); }

    static std::string_view asText(std::span<const std::uint8_t> bytes) {
        return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
    }

    static metaTreePtrT newBytes(metaNodeKind kind, std::string_view bytes) {
        ownedNodeT n(allocNode(kind));
        n->v.bytes->assign(bytes);
        return wrap(n.release());
    }

    static bool changeableAtom(metaTreePtrT n) {
        return n && n.node()->kind != metaNodeKind::list && !n.node()->isTag;
    }

    static void makeNumber(metaNodeS* n, metaNodeKind kind) {
        if (holdsBytes(n->kind)) {
            deleteBytes(n->v.bytes);
        }
        n->kind = kind;
    }

    static bool setBytes(metaTreePtrT n, metaNodeKind kind, std::string_view bytes) {
        if (!changeableAtom(n)) {
            return false;
        }
        metaNodeS* x = n.node();
        if (!holdsBytes(x->kind)) {
            x->v.bytes = metatree_detail::newBytes(bytes);
        } else {
            x->v.bytes->assign(bytes);
        }
        x->kind = kind;
        return true;
    }

    // Whether child may go into parent before `before` (null: at the end).
    static bool canPlace(metaTreePtrT parent, metaTreePtrT child, const metaNodeS* before) {
        if (!parent || !child || parent.node()->kind != metaNodeKind::list || child.node()->isTag ||
            parent == child) {
            return false;
        }
        // Only a node with children can hold parent; the walk up is O(depth of parent).
        if (!child.node()->kids.empty() && isAncestorOrSelf(child.node(), parent.node())) {
            return false;
        }
        return !wouldLeadPlainList(parent.node(), before, child.node()) &&
               !leavingExposesNameToken(child.node());
    }
};

} // namespace

IMetaTreeApi* getIMetaTreeApi() {
    static metaTreeStoreC store;
    return &store;
}
