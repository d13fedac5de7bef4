// Reader of the text form: a recursive-descent parser bounded in depth, sizes and node count.

#include "platform/host/metatree/metatree_parse.h"

#include "platform/host/metatree/metatree_api.h"
#include "platform/host/metatree/metatree_error.h"
#include "platform/host/metatree/metatree_text_codec.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <limits>
#include <vector>

namespace metatree_detail {

namespace {

using limits = metaParseLimitsS;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Characters that end a name token or a number.
constexpr bool isDelimiterChar(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '(' || c == ')' || c == '"' ||
           c == ';';
}

constexpr std::array<bool, 256> delimiterTable() {
    std::array<bool, 256> t{};
    for (unsigned c = 0; c < 256; ++c) {
        t[c] = isDelimiterChar(static_cast<unsigned char>(c));
    }
    return t;
}

bool isDelimiter(char c) {
    static constexpr std::array<bool, 256> table = delimiterTable();
    return table[static_cast<unsigned char>(c)];
}

// Whether a byte starts a character (is no UTF-8 continuation byte): columns count these.
bool startsChar(char c) {
    return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A word of the text as a refusal quotes it: bytes outside printable ASCII are written as
// \xNN, so that no terminal escape or NUL of the input reaches the user's screen.
std::string quotedWord(std::string_view word) {
    std::string out = "'";
    for (const char c : word) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            out += c;
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", byte);
            out += buf;
        }
    }
    return out + "'";
}

struct positionS {
    std::uint32_t line;
    std::uint32_t column;
};

class parserC {
public:
    parserC(std::string_view text, std::string_view fileName)
        : text_(text), fileName_(fileName), fileId_(internFileName(fileName)) {}

    metaNodeS* parseDocument() {
        if (text_.size() > limits::maxTextBytes) {
            fail({1, 1},
                 "text too large (limit " + std::to_string(limits::maxTextBytes) + " bytes)");
        }
        skipSpace();
        if (atEnd()) {
            fail(here(), "no node in text");
        }
        ownedNodeT root;
        try {
            root.reset(parseNode(0));
        } catch (...) {
            // Children not yet in their lists belong to no tree.
            for (metaNodeS* n : pending_) {
                freeSubtree(n);
            }
            throw;
        }
        skipSpace();
        if (!atEnd()) {
            fail(here(), peek() == ')' ? "unexpected ')'" : "more than one top-level node");
        }
        return root.release();
    }

private:
    std::string_view text_;
    std::string_view fileName_;
    std::uint32_t fileId_;
    std::size_t pos_ = 0;
    std::uint32_t line_ = 1;
    std::uint32_t column_ = 1;
    std::size_t nodes_ = 0;
    std::vector<metaNodeS*> pending_; // children of the open lists, innermost last

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return text_[pos_]; }
    positionS here() const { return {line_, column_}; }

    // Columns count characters: continuation bytes of UTF-8 do not advance them.
    void advance() {
        const char c = text_[pos_++];
        if (c == '\n') {
            ++line_;
            column_ = 1;
        } else if ((static_cast<unsigned char>(c) & 0xC0u) != 0x80u) {
            ++column_;
        }
    }

    [[noreturn]] void fail(positionS at, const std::string& reason) const {
        throw metaTreeErrorC(std::string(fileName_), at.line, at.column, reason);
    }

    void skipSpace() {
        while (!atEnd()) {
            const char c = peek();
            if (c == ';') {
                // A comment runs to the end of the line; its columns matter only at the end
                // of the text.
                const std::size_t eol = text_.find('\n', pos_);
                const std::size_t end = eol == std::string_view::npos ? text_.size() : eol;
                for (; pos_ < end; ++pos_) {
                    column_ += startsChar(text_[pos_]) ? 1 : 0;
                }
            } else if (c == '\n') {
                ++pos_;
                ++line_;
                column_ = 1;
            } else if (isSpace(c)) {
                ++pos_;
                ++column_;
            } else {
                return;
            }
        }
    }

    metaNodeS* makeNode(metaNodeKind kind, positionS at) {
        if (++nodes_ > limits::maxNodes) {
            fail(at, "too many nodes (limit " + std::to_string(limits::maxNodes) + ")");
        }
        metaNodeS* n = allocNode(kind);
        n->fileId = fileId_;
        n->line = at.line;
        n->column = at.column;
        return n;
    }

    metaNodeS* parseNode(std::size_t depth) {
        const positionS at = here();
        const char c = peek();
        if (c == '(') {
            return parseList(depth, at);
        }
        if (c == ')') {
            fail(at, "unexpected ')'");
        }
        if (c == '"') {
            ownedNodeT n(makeNode(metaNodeKind::string, at));
            *n->v.bytes = readQuoted(at, false);
            return n.release();
        }
        if (c == '#') {
            advance();
            if (atEnd() || peek() != '"') {
                fail(at, "expected '\"' after '#'");
            }
            const std::string encoded = readQuoted(at, true);
            auto bytes = decodeBase64(encoded);
            if (!bytes) {
                fail(at, "invalid base64 in binary");
            }
            if (bytes->size() > limits::maxBinaryBytes) {
                fail(at, "binary too long (limit " + std::to_string(limits::maxBinaryBytes) +
                             " bytes)");
            }
            ownedNodeT n(makeNode(metaNodeKind::binary, at));
            *n->v.bytes = std::move(*bytes);
            return n.release();
        }
        return parseWord(at);
    }

    metaNodeS* parseList(std::size_t depth, positionS at) {
        if (depth >= limits::maxDepth) {
            fail(at, "lists nested too deeply (limit " + std::to_string(limits::maxDepth) + ")");
        }
        advance(); // '('
        ownedNodeT list(makeNode(metaNodeKind::list, at));
        // The children wait on the shared stack until ')' and then move into the list in one
        // piece, so that each list allocates its array once and exactly.
        const std::size_t base = pending_.size();
        for (;;) {
            skipSpace();
            if (atEnd()) {
                fail(at, "unterminated list");
            }
            if (peek() == ')') {
                advance();
                adoptPending(list.get(), base);
                return list.release();
            }
            ownedNodeT child(parseNode(depth + 1));
            if (pending_.size() == base && list->v.tag == nullptr &&
                child->kind == metaNodeKind::nameToken) {
                child->parent = list.get();
                child->isTag = true;
                list->v.tag = child.release();
            } else {
                pending_.push_back(child.get());
                child.release();
            }
        }
    }

    void adoptPending(metaNodeS* list, std::size_t base) {
        list->kids.assign(pending_.begin() + static_cast<std::ptrdiff_t>(base), pending_.end());
        pending_.resize(base);
        for (std::size_t i = 0; i < list->kids.size(); ++i) {
            list->kids[i]->parent = list;
            list->kids[i]->index = static_cast<std::uint32_t>(i);
        }
    }

    // Reads "..." from the opening quote; strings take escapes and must be UTF-8, the
    // base64 of a binary is read verbatim.
    std::string readQuoted(positionS at, bool binary) {
        const char* what = binary ? "binary" : "string";
        const std::size_t limit =
            binary ? (limits::maxBinaryBytes / 3 + 1) * 4 : limits::maxStringBytes;
        advance(); // '"'
        std::string out;
        for (;;) {
            if (atEnd()) {
                fail(at, std::string("unterminated ") + what);
            }
            if (out.size() > limit) {
                fail(at,
                     std::string(what) + " too long (limit " +
                         std::to_string(binary ? limits::maxBinaryBytes : limits::maxStringBytes) +
                         " bytes)");
            }
            // A run of plain ASCII (no quote, escape or line break) goes in one piece.
            std::size_t run = pos_;
            while (run < text_.size() && isPlainInQuotes(text_[run], binary)) {
                ++run;
            }
            if (run > pos_) {
                out.append(text_.substr(pos_, run - pos_));
                column_ += static_cast<std::uint32_t>(run - pos_);
                pos_ = run;
                continue; // checks the end and the limit again
            }
            const positionS charAt = here();
            const char c = peek();
            if (c == '"') {
                advance();
                return out;
            }
            if (binary) {
                out += c;
                advance();
                continue;
            }
            if (c == '\\') {
                advance();
                if (atEnd()) {
                    fail(at, "unterminated string");
                }
                const char e = peek();
                switch (e) {
                case '"':
                case '\\':
                    out += e;
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                case '0':
                    out += '\0';
                    break;
                default:
                    fail(charAt, "invalid escape " + describeChar(pos_) + " in string");
                }
                advance();
                continue;
            }
            // A NUL byte is no text; the printer writes one held in a string as \0.
            if (c == '\0') {
                fail(charAt, "NUL byte in string (write it as \\0)");
            }
            const std::size_t n = utf8SequenceLength(text_, pos_);
            if (n == 0) {
                fail(charAt, "invalid UTF-8 in string");
            }
            out.append(text_.substr(pos_, n));
            for (std::size_t k = 0; k < n; ++k) {
                advance();
            }
        }
    }

    static bool isPlainInQuotes(char c, bool binary) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x20u && u < 0x80u && c != '"' && (binary || c != '\\');
    }

    std::string describeChar(std::size_t p) const {
        const unsigned char c = static_cast<unsigned char>(text_[p]);
        if (c >= 0x21 && c < 0x7F) {
            return std::string("'") + static_cast<char>(c) + "'";
        }
        char buf[8];
        std::snprintf(buf, sizeof buf, "0x%02X", c);
        return std::string("byte ") + buf;
    }

    // A name token or a number: everything up to the next delimiter.
    metaNodeS* parseWord(positionS at) {
        // A word holds no line break: only the column moves.
        const std::size_t start = pos_;
        for (; pos_ < text_.size() && !isDelimiter(text_[pos_]); ++pos_) {
            column_ += startsChar(text_[pos_]) ? 1 : 0;
        }
        const std::string_view word = text_.substr(start, pos_ - start);
        const char first = word.front();
        const bool looksNumeric = isDigit(first) || first == '-' || first == '+' || first == '.';
        const bool looksName = first >= 'A' && first <= 'Z';
        if (!looksNumeric && !looksName && word != "nan" && word != "inf") {
            fail(at, "unexpected character " + describeChar(start));
        }
        if (word.size() > limits::maxTokenBytes) {
            fail(at, "token too long (limit " + std::to_string(limits::maxTokenBytes) + " bytes)");
        }
        if (looksName) {
            if (!isValidNameToken(word)) {
                fail(at, "invalid name token " + quotedWord(word) +
                             " (upper-case letters, digits and '_' only)");
            }
            ownedNodeT n(makeNode(metaNodeKind::nameToken, at));
            n->v.bytes->assign(word);
            return n.release();
        }
        return parseNumber(word, at);
    }

    metaNodeS* parseNumber(std::string_view word, positionS at) {
        // Non-finite doubles have no digits; the printer writes them this way.
        if (word == "nan" || word == "inf" || word == "-inf" || word == "+inf") {
            ownedNodeT n(makeNode(metaNodeKind::dbl, at));
            n->v.d = word == "nan"    ? std::numeric_limits<double>::quiet_NaN()
                     : word == "-inf" ? -std::numeric_limits<double>::infinity()
                                      : std::numeric_limits<double>::infinity();
            return n.release();
        }
        // [+-] digits [. digits] [(e|E) [+-] digits], at least one digit before the exponent.
        std::size_t i = 0;
        auto digits = [&] {
            const std::size_t from = i;
            while (i < word.size() && isDigit(word[i])) {
                ++i;
            }
            return i - from;
        };
        if (word[i] == '+' || word[i] == '-') {
            ++i;
        }
        std::size_t mantissaDigits = digits();
        bool isDouble = false;
        if (i < word.size() && word[i] == '.') {
            ++i;
            isDouble = true;
            mantissaDigits += digits();
        }
        bool valid = mantissaDigits > 0;
        if (valid && i < word.size() && (word[i] == 'e' || word[i] == 'E')) {
            ++i;
            isDouble = true;
            if (i < word.size() && (word[i] == '+' || word[i] == '-')) {
                ++i;
            }
            valid = digits() > 0;
        }
        if (!valid || i != word.size()) {
            fail(at, "invalid number " + quotedWord(word));
        }
        // from_chars takes no leading '+'.
        const std::string_view body = word.front() == '+' ? word.substr(1) : word;
        const char* b = body.data();
        const char* e = body.data() + body.size();
        if (!isDouble) {
            std::int64_t value = 0;
            const auto res = std::from_chars(b, e, value);
            if (res.ec != std::errc() || res.ptr != e) {
                fail(at, "integer out of range " + quotedWord(word));
            }
            ownedNodeT n(makeNode(metaNodeKind::integer, at));
            n->v.i = value;
            return n.release();
        }
        double value = 0;
        const auto res = std::from_chars(b, e, value);
        if (res.ec != std::errc() || res.ptr != e) {
            fail(at, "number out of range " + quotedWord(word));
        }
        ownedNodeT n(makeNode(metaNodeKind::dbl, at));
        n->v.d = value;
        return n.release();
    }
};

} // namespace

metaNodeS* parseOneNode(std::string_view text, std::string_view fileName) {
    parserC parser(text, fileName);
    return parser.parseDocument();
}

} // namespace metatree_detail
