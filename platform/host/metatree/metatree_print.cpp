// Printer of the text form. Without recursion, so that a tree of any depth built through the
// API prints.

#include "platform/host/metatree/metatree_print.h"

#include "platform/host/metatree/metatree_api.h"
#include "platform/host/metatree/metatree_error.h"
#include "platform/host/metatree/metatree_text_codec.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

namespace metatree_detail {

namespace {

// Most numbers of a model have few decimals and a modest size; those print from integer
// digits at a fraction of the cost of the general shortest form. With k = round(d * 10^6), the
// text of k / 10^6 reads back as d exactly when k / 10^6 computed in doubles is d (k and 10^6
// are exact and the division rounds correctly), and k's trailing zeros dropped give the fewest
// decimals that do: a shorter k' / 10^p' equal to d makes d * 10^6 so close to k' * 10^(6-p')
// that the rounding finds that very integer. One multiplication and one division decide, so a
// number that needs all its digits goes to the general form at once. In this range the general
// form writes the same text (fixed, not scientific).
bool appendShortDecimal(std::string& out, double d) {
    if (d == 0.0) {
        out += std::signbit(d) ? "-0.0" : "0.0";
        return true;
    }
    const double a = std::fabs(d);
    if (!(a >= 1e-3 && a < 1e5)) {
        return false;
    }
    constexpr double scale = 1e6;
    constexpr std::size_t decimals = 6;
    const double k = std::round(a * scale);
    if (k / scale != a) {
        return false;
    }
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(k));
    std::string_view digits(buf, static_cast<std::size_t>(res.ptr - buf));
    std::size_t p = decimals;
    while (p > 0 && digits.back() == '0') {
        digits.remove_suffix(1);
        --p;
    }
    if (d < 0) {
        out += '-';
    }
    if (p == 0) {
        out += digits;
        out += ".0";
    } else if (digits.size() <= p) {
        out += "0.";
        out.append(p - digits.size(), '0');
        out += digits;
    } else {
        out += digits.substr(0, digits.size() - p);
        out += '.';
        out += digits.substr(digits.size() - p);
    }
    return true;
}

} // namespace

void appendDouble(std::string& out, double d) {
    if (std::isnan(d)) {
        out += "nan";
        return;
    }
    if (std::isinf(d)) {
        out += d < 0 ? "-inf" : "inf";
        return;
    }
    if (appendShortDecimal(out, d)) {
        return;
    }
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, d);
    const std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    out += text;
    if (text.find_first_of(".e") == std::string_view::npos) {
        out += ".0";
    }
}

namespace {

void appendString(std::string& out, const std::string& s) {
    out += '"';
    // Runs without a character to escape go in one piece.
    std::size_t from = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char* escape = nullptr;
        switch (s[i]) {
        case '"':
            escape = "\\\"";
            break;
        case '\\':
            escape = "\\\\";
            break;
        case '\n':
            escape = "\\n";
            break;
        case '\t':
            escape = "\\t";
            break;
        case '\0':
            escape = "\\0";
            break;
        default:
            continue;
        }
        out.append(s, from, i - from);
        out += escape;
        from = i + 1;
    }
    out.append(s, from);
    out += '"';
}

using limits = metaParseLimitsS;

// Text the reader refuses is no text of the tree: what the reader's limits refuse is not
// printed either.
[[noreturn]] void refuseToPrint(const std::string& what, std::size_t limit, const char* unit) {
    throw metaTreeErrorC(std::string(), 0, 0,
                         what + " to print (limit " + std::to_string(limit) + unit + ")");
}

void appendAtom(std::string& out, const metaNodeS* n) {
    if (n->kind == metaNodeKind::string && n->v.bytes->size() > limits::maxStringBytes)
        refuseToPrint("string too long", limits::maxStringBytes, " bytes");
    if (n->kind == metaNodeKind::binary && n->v.bytes->size() > limits::maxBinaryBytes)
        refuseToPrint("binary too long", limits::maxBinaryBytes, " bytes");
    switch (n->kind) {
    case metaNodeKind::nameToken:
        out += *n->v.bytes;
        break;
    case metaNodeKind::string:
        appendString(out, *n->v.bytes);
        break;
    case metaNodeKind::integer: {
        char buf[32];
        const auto res = std::to_chars(buf, buf + sizeof buf, n->v.i);
        out.append(buf, res.ptr);
        break;
    }
    case metaNodeKind::dbl:
        appendDouble(out, n->v.d);
        break;
    case metaNodeKind::binary:
        out += "#\"";
        out += encodeBase64(*n->v.bytes);
        out += '"';
        break;
    case metaNodeKind::list:
    case metaNodeKind::none:
        break;
    }
}

// One open list: the next child to print and whether its children went onto new lines.
struct openListS {
    const metaNodeS* list;
    std::size_t next;
    std::size_t depth;
    bool empty;  // nothing written after '(' yet
    bool broken; // children are on lines of their own
};

} // namespace

std::string printSubtree(const metaNodeS* n, metaPrintStyle style) {
    std::string out;
    const bool pretty = style == metaPrintStyle::pretty;
    std::vector<openListS> open;
    std::size_t nodes = 0; // as the reader counts them: lists, atoms and tag tokens
    auto countNode = [&] {
        if (++nodes > limits::maxNodes)
            refuseToPrint("too many nodes", limits::maxNodes, "");
    };
    auto openList = [&](const metaNodeS* list, std::size_t depth) {
        if (depth >= limits::maxDepth)
            refuseToPrint("lists nested too deeply", limits::maxDepth, "");
        countNode();
        out += '(';
        if (list->v.tag != nullptr) {
            countNode();
            out += *list->v.tag->v.bytes;
        }
        open.push_back({list, 0, depth, list->v.tag == nullptr, false});
    };
    if (n->kind != metaNodeKind::list) {
        appendAtom(out, n);
        return out;
    }
    openList(n, 0);
    while (!open.empty()) {
        openListS& top = open.back();
        const metaNodeS* child = childOrNull(top.list, top.next);
        if (child == nullptr) {
            out += ')';
            open.pop_back();
            continue;
        }
        ++top.next;
        const bool isList = child->kind == metaNodeKind::list;
        if (pretty && (isList || top.broken)) {
            // From the first nested list on, every child starts a line of its own.
            top.broken = true;
            out += '\n';
            out.append(2 * (top.depth + 1), ' ');
        } else if (!top.empty) {
            out += ' ';
        }
        top.empty = false;
        if (isList) {
            openList(child, top.depth + 1); // invalidates top
        } else {
            countNode();
            appendAtom(out, child);
        }
    }
    if (out.size() > limits::maxTextBytes)
        refuseToPrint("text too large", limits::maxTextBytes, " bytes");
    return out;
}

} // namespace metatree_detail
