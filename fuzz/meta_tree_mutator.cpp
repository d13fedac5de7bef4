#include "fuzz/meta_tree_mutator.h"

#include "platform/host/metatree/metatree_api.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace natlinkfuzz {
namespace {

// A parentless tree released at the end of the scope.
class heldTreeC {
public:
    explicit heldTreeC(metaTreePtrT root) : root_(root) {}
    heldTreeC(const heldTreeC&) = delete;
    heldTreeC& operator=(const heldTreeC&) = delete;
    ~heldTreeC() {
        if (!root_.isNull())
            getIMetaTreeApi()->release(root_);
    }
    metaTreePtrT get() const { return root_; }

private:
    metaTreePtrT root_;
};

std::optional<std::string> printed(metaTreePtrT root) {
    try {
        return getIMetaTreeApi()->print(root, metaPrintStyle::compact);
    } catch (const metaTreeErrorC&) {
        return std::nullopt; // nested beyond what the parser takes
    }
}

// The nodes of one tree in preorder (tag tokens are not children, so never among them),
// with its numbers, its strings and the strings that name a node: (NAME "x") in a key node.
struct treeNodesS {
    std::vector<metaTreePtrT> all;
    std::vector<metaTreePtrT> lists;
    std::vector<metaTreePtrT> numbers;
    std::vector<metaTreePtrT> strings;
    std::vector<metaTreePtrT> binaries;
    std::vector<std::string> names;
};

bool isDeclaredName(IMetaTreeApi& api, metaTreePtrT string) {
    const metaTreePtrT holder = api.parent(string);
    return api.hasTag(holder, "NAME") && api.firstChild(holder) == string &&
           api.isKeyNode(api.parent(holder));
}

treeNodesS collect(IMetaTreeApi& api, metaTreePtrT root) {
    treeNodesS nodes;
    std::vector<metaTreePtrT> stack{root};
    while (!stack.empty()) {
        const metaTreePtrT node = stack.back();
        stack.pop_back();
        nodes.all.push_back(node);
        if (api.isList(node)) {
            nodes.lists.push_back(node);
            for (std::size_t i = api.childCount(node); i > 0; --i)
                stack.push_back(api.childAt(node, i - 1));
        } else if (api.isNumber(node)) {
            nodes.numbers.push_back(node);
        } else if (api.isString(node)) {
            nodes.strings.push_back(node);
            if (isDeclaredName(api, node))
                nodes.names.push_back(*api.getString(node));
        } else if (api.isBinary(node)) {
            nodes.binaries.push_back(node);
        }
    }
    return nodes;
}

bool isWithin(IMetaTreeApi& api, metaTreePtrT node, metaTreePtrT ancestor) {
    for (metaTreePtrT at = node; !at.isNull(); at = api.parent(at))
        if (at == ancestor)
            return true;
    return false;
}

std::size_t positionOf(IMetaTreeApi& api, metaTreePtrT node) {
    std::size_t index = 0;
    for (metaTreePtrT at = api.prevSibling(node); !at.isNull(); at = api.prevSibling(at))
        ++index;
    return index;
}

class treeMutatorC {
public:
    treeMutatorC(IMetaTreeApi& api, metaTreePtrT root, std::uint32_t seed)
        : api_(api), root_(root), random_(seed) {}

    // One change; false when the one drawn could not be made on this tree.
    bool mutateOnce() {
        const treeNodesS nodes = collect(api_, root_);
        switch (below(9)) {
        case 0:
        case 1:
            return extremeNumber(nodes);
        case 8:
            return mutatePayload(nodes);
        case 2:
            return deleteNode(nodes);
        case 3:
            return duplicateNode(nodes);
        case 4:
            return swapNodes(nodes);
        case 5:
            return nestInItself(nodes);
        case 6:
            return moveNode(nodes);
        default:
            return retargetName(nodes);
        }
    }

private:
    std::size_t below(std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random_);
    }
    template <typename T> const T& pick(const std::vector<T>& from) {
        return from[below(from.size())];
    }
    // Any node but the root (the document node itself stays, so that the model is still one).
    metaTreePtrT pickInner(const treeNodesS& nodes) {
        return nodes.all.size() < 2 ? metaTreePtrT() : nodes.all[1 + below(nodes.all.size() - 1)];
    }

    bool extremeNumber(const treeNodesS& nodes) {
        if (nodes.numbers.empty())
            return false;
        const metaTreePtrT number = pick(nodes.numbers);
        const double value = api_.getDouble(number).value_or(0.0);
        constexpr double inf = std::numeric_limits<double>::infinity();
        const std::array<double, 16> doubles{
            0.0,         -0.0,        1e-320,
            1e-12,       1e12,        1e200,
            -1e200,      1e300,       std::numeric_limits<double>::quiet_NaN(),
            inf,         -inf,        std::numeric_limits<double>::max(),
            -value,      value * 1e6, value * 1e-6,
            value + 1e-9};
        const std::array<std::int64_t, 7> integers{0,
                                                   -1,
                                                   2,
                                                   1'000'000,
                                                   std::int64_t{1} << 31,
                                                   std::numeric_limits<std::int64_t>::max(),
                                                   std::numeric_limits<std::int64_t>::min()};
        if (below(4) == 0)
            return api_.setInteger(number, integers[below(integers.size())]);
        return api_.setDouble(number, doubles[below(doubles.size())]);
    }

    bool deleteNode(const treeNodesS& nodes) {
        const metaTreePtrT node = pickInner(nodes);
        return api_.unlink(node) && api_.release(node);
    }

    bool duplicateNode(const treeNodesS& nodes) {
        const metaTreePtrT node = pickInner(nodes);
        if (node.isNull())
            return false;
        const metaTreePtrT copy = api_.clone(node);
        if (api_.insertChild(api_.parent(node), positionOf(api_, node) + 1, copy))
            return true;
        api_.release(copy);
        return false;
    }

    // Two nodes of which neither holds the other trade places (as copies, so that each keeps
    // the place and the rules of the other's list).
    bool swapNodes(const treeNodesS& nodes) {
        const metaTreePtrT a = pickInner(nodes);
        const metaTreePtrT b = pickInner(nodes);
        if (a.isNull() || isWithin(api_, a, b) || isWithin(api_, b, a))
            return false;
        const heldTreeC copyOfA(api_.clone(a));
        const heldTreeC copyOfB(api_.clone(b));
        return api_.copyFrom(a, copyOfB.get()) && api_.copyFrom(b, copyOfA.get());
    }

    // A list gets a copy of itself as its last child: (FEATPATTERN ... (FEATPATTERN ...)).
    bool nestInItself(const treeNodesS& nodes) {
        if (nodes.lists.empty())
            return false;
        const metaTreePtrT list = pick(nodes.lists);
        const metaTreePtrT copy = api_.clone(list);
        if (api_.appendChild(list, copy))
            return true;
        api_.release(copy);
        return false;
    }

    // A node moves to the end of another list (a feature after the one it was before, a
    // point into another sketch).
    bool moveNode(const treeNodesS& nodes) {
        const metaTreePtrT node = pickInner(nodes);
        return !node.isNull() && api_.appendChild(pick(nodes.lists), node);
    }

    // A string is pointed at the node that holds it (the name of one of its enclosing key
    // nodes, nearest first, other than the string itself), at another named node, or at
    // nothing.
    bool retargetName(const treeNodesS& nodes) {
        if (nodes.strings.empty())
            return false;
        const metaTreePtrT string = pick(nodes.strings);
        std::vector<std::string> enclosing;
        for (metaTreePtrT at = api_.parent(string); !at.isNull(); at = api_.parent(at)) {
            const metaTreePtrT name = api_.firstChild(api_.findChild(at, "NAME"));
            if (name != string && api_.isString(name))
                enclosing.push_back(*api_.getString(name));
        }
        const std::size_t way = below(5);
        if (way < 2 && !enclosing.empty())
            return api_.setString(string, way == 0 ? enclosing.front() : pick(enclosing));
        if (way < 4 && !nodes.names.empty())
            return api_.setString(string, pick(nodes.names));
        return api_.setString(string, below(2) == 0 ? "NoSuchNode" : "");
    }

    // A foreign payload (a STEP, IGES or BREP file as binary data) changed as the text it is:
    // a number set to one no reader should take, a parenthesised list emptied (a DIRECTION
    // without its values), a line deleted or repeated, or the file cut short.
    bool mutatePayload(const treeNodesS& nodes) {
        if (nodes.binaries.empty())
            return false;
        const metaTreePtrT binary = pick(nodes.binaries);
        const std::optional<std::vector<std::uint8_t>> bytes = api_.getBinary(binary);
        if (!bytes || bytes->empty())
            return false;
        std::string text(bytes->begin(), bytes->end());
        const std::size_t at = below(text.size());
        switch (below(5)) {
        case 0: {
            static const std::array<const char*, 9> hostile{
                "NAN", "nan", "1E400", "-1E400", "1e12", "2000000000", "-1", "0", "1e-320"};
            const std::size_t start = text.find_first_of("0123456789", at);
            if (start == std::string::npos)
                return false;
            const std::size_t end = text.find_first_not_of("0123456789.eE+-", start);
            const std::size_t first = text.find_last_not_of("0123456789.eE+-", start);
            const std::size_t from = first == std::string::npos ? 0 : first + 1;
            text.replace(from, (end == std::string::npos ? text.size() : end) - from,
                         hostile[below(hostile.size())]);
            break;
        }
        case 1: {
            const std::size_t open = text.find('(', at);
            const std::size_t close = open == std::string::npos ? open : text.find(')', open);
            if (close == std::string::npos)
                return false;
            text.erase(open + 1, close - open - 1);
            break;
        }
        case 2:
        case 3: {
            const std::size_t start = text.rfind('\n', at);
            const std::size_t from = start == std::string::npos ? 0 : start + 1;
            const std::size_t end = text.find('\n', at);
            const std::string line =
                text.substr(from, (end == std::string::npos ? text.size() : end + 1) - from);
            if (below(2) == 0)
                text.erase(from, line.size());
            else
                text.insert(from, line);
            break;
        }
        default:
            text.resize(at);
            break;
        }
        const std::vector<std::uint8_t> changed(text.begin(), text.end());
        return api_.setBinary(binary, changed);
    }

    IMetaTreeApi& api_;
    metaTreePtrT root_;
    std::mt19937 random_;
};

} // namespace

std::optional<std::string> mutateMetaText(std::string_view text, std::uint32_t seed) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    std::optional<heldTreeC> tree;
    try {
        tree.emplace(api.parseText(text, "mutant.meta"));
    } catch (const metaTreeErrorC&) {
        return std::nullopt;
    }
    treeMutatorC mutator(api, tree->get(), seed);
    std::mt19937 random(seed ^ 0x9e3779b9u);
    const int changes = 1 + static_cast<int>(random() % 3);
    // A drawn change that does not apply to this tree is drawn again, a bounded number of
    // times (a tree of one atom has nothing to change).
    for (int made = 0, tries = 0; made < changes && tries < 16; ++tries)
        made += mutator.mutateOnce() ? 1 : 0;
    return printed(tree->get());
}

std::optional<std::string> crossMetaTexts(std::string_view first, std::string_view second,
                                          std::uint32_t seed) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    std::optional<heldTreeC> into;
    std::optional<heldTreeC> from;
    try {
        into.emplace(api.parseText(first, "first.meta"));
        from.emplace(api.parseText(second, "second.meta"));
    } catch (const metaTreeErrorC&) {
        return std::nullopt;
    }
    std::mt19937 random(seed);
    const treeNodesS target = collect(api, into->get());
    const treeNodesS source = collect(api, from->get());
    const metaTreePtrT part = source.all[random() % source.all.size()];
    if (random() % 2 == 0 && target.all.size() > 1) {
        api.copyFrom(target.all[1 + random() % (target.all.size() - 1)], part);
    } else if (!target.lists.empty()) {
        const metaTreePtrT copy = api.clone(part);
        if (!api.appendChild(target.lists[random() % target.lists.size()], copy))
            api.release(copy);
    }
    return printed(into->get());
}

} // namespace natlinkfuzz
