// Internal to the model: the tokens of the session's own document files (parts and
// assemblies). A header line with the CRC-32 of the rest of the file, then text: numbers,
// words, strings in double quotes with \" and \\ escapes, and length-prefixed blocks
// ("#<bytes> <crc>", a newline, then the bytes). Checksums are checked before anything they
// cover is parsed, so that a damaged file is refused rather than handed to a shape reader.
// The reader raises ModelError naming the file and what is wrong (with the byte where the
// text stops making sense).
#pragma once

#include "platform/sldworks/model/types.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

#include <zlib.h>

namespace swsim::detail {

// A file's name without folder and extension ("/a/Block.sldprt" gives "Block").
inline std::string fileStem(const std::string& path) {
    std::string name = path;
    const auto slash = name.find_last_of("/\\");
    if (slash != std::string::npos)
        name = name.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name = name.substr(0, dot);
    return name;
}

// The whole content of a file; ModelError when it cannot be read.
inline std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ModelError("open " + path + ": cannot read the file");
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Text of a file as a refusal quotes it: bytes outside printable ASCII are written as \xNN,
// so that no terminal escape or NUL of a damaged file reaches the user's screen.
inline std::string printable(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            out += c;
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", byte);
            out += buf;
        }
    }
    return out;
}

// CRC-32 of the bytes.
inline unsigned long crcOf(std::string_view bytes) {
    const uLong crc = crc32_z(0L, Z_NULL, 0);
    return crc32_z(crc, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size());
}

// CRC-32 of the bytes as 8 lower-case hex digits, as files store it.
inline std::string checksumOf(std::string_view bytes) {
    char text[16];
    std::snprintf(text, sizeof text, "%08lx", crcOf(bytes));
    return text;
}

// Whether `stored` (8 hex digits) is the CRC-32 of `bytes`. Compared as numbers, so that a
// checksum is a property of the bytes and not a text a fuzzer can copy out of a comparison:
// the checksums protect against damage, and OpenCASCADE's shape reader is not safe on
// hostile text.
inline bool checksumMatches(std::string_view stored, std::string_view bytes) {
    unsigned long value = 0;
    const auto r = std::from_chars(stored.data(), stored.data() + stored.size(), value, 16);
    return stored.size() == 8 && r.ec == std::errc() && r.ptr == stored.data() + stored.size() &&
           value == crcOf(bytes);
}

// A document file: the header line "<header> <checksum of the body>", then the body.
inline std::string sealedFile(const std::string& header, const std::string& body) {
    return header + " " + checksumOf(body) + "\n" + body;
}

// The body of a document file whose header line and checksum are right; ModelError names
// the file and what is wrong. `kind` names the document ("a part file"); a file with one of
// the `older` headers (versions this one still reads) is taken too.
inline std::string_view checkedBody(std::string_view text, const std::string& header,
                                    const std::string& path, const std::string& kind,
                                    std::initializer_list<std::string> older = {}) {
    const std::string family = header.substr(0, header.find(' ') + 1); // "SWSIM-PART "
    if (text.substr(0, family.size()) != family)
        throw ModelError("open " + path + ": not " + kind + " of this session");
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    auto sealedBy = [&](const std::string& h) {
        return !h.empty() && line.size() == h.size() + 9 && line.substr(0, h.size() + 1) == h + " ";
    };
    bool known = sealedBy(header);
    for (const std::string& h : older)
        known = known || sealedBy(h);
    if (end == std::string_view::npos || !known)
        throw ModelError("open " + path + ": " + kind + " of another version or without a " +
                         "checksum (\"" + printable(line.substr(0, 40)) + "\")");
    const std::string_view body = text.substr(end + 1);
    if (!checksumMatches(line.substr(line.size() - 8), body))
        throw ModelError("open " + path + ": the file is damaged (its checksum does not match)");
    return body;
}

// Whether the bytes are UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF):
// names and texts leave the session as UTF-16, which other bytes cannot become.
inline bool isUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t n = c < 0x80           ? 1
                         : (c >> 5) == 0x6  ? 2
                         : (c >> 4) == 0xE  ? 3
                         : (c >> 3) == 0x1E ? 4
                                            : 0;
        if (n == 0 || i + n > s.size())
            return false;
        unsigned long code = n == 1 ? c : c & (0x7Fu >> n);
        for (size_t k = 1; k < n; ++k) {
            const auto next = static_cast<unsigned char>(s[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        const unsigned long least[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < least[n] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += n;
    }
    return true;
}

// The first number of the text that is not finite ("nan", "inf", "1e400"); empty when there
// is none. Numbers are read as OpenCASCADE's shape reader reads them: each token between white
// space, at most 255 characters at a time, from its start for as long as it reads as a number.
// A shape holding such a number makes OpenCASCADE spin (mass properties, healing) rather than
// fail.
inline std::string nonFiniteNumberIn(std::string_view text) {
    constexpr std::size_t kChunk = 255;
    char chunk[kChunk + 1];
    for (std::size_t i = 0; i < text.size();) {
        if (std::isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        while (i + length < text.size() && length < kChunk &&
               !std::isspace(static_cast<unsigned char>(text[i + length])))
            ++length;
        const char first = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        if (std::isdigit(static_cast<unsigned char>(first)) || first == '+' || first == '-' ||
            first == '.' || first == 'n' || first == 'i') {
            text.copy(chunk, length, i);
            chunk[length] = '\0';
            char* end = nullptr;
            const double value = std::strtod(chunk, &end);
            if (end != chunk && !std::isfinite(value))
                return std::string(chunk, static_cast<std::size_t>(end - chunk));
        }
        i += length;
    }
    return {};
}

// ---- writing --------------------------------------------------------------------------

// Writes what Reader reads back, and nothing it would refuse: a number that is not finite
// raises ModelError naming the item being written (`about`), so that no document is saved
// that cannot be opened again.
class Writer {
public:
    // What is being written now ("feature \"Sketch1\""), for the refusal's message.
    Writer& about(std::string item) {
        item_ = std::move(item);
        return *this;
    }
    Writer& word(const std::string& w) {
        out_ << w << ' ';
        return *this;
    }
    Writer& num(double v) {
        if (!std::isfinite(v))
            throw ModelError("save: " + (item_.empty() ? std::string("the document") : item_) +
                             " holds the number " +
                             (std::isnan(v) ? "nan"
                              : v < 0       ? "-inf"
                                            : "inf") +
                             ", which a document cannot hold");
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", v);
        out_ << buf << ' ';
        return *this;
    }
    Writer& integer(long long v) {
        out_ << v << ' ';
        return *this;
    }
    Writer& str(const std::string& s) {
        // The reader refuses such a string: it is not written.
        if (!isUtf8(s))
            throw ModelError("save: the text \"" + printable(s.substr(0, 40)) + "\" is not UTF-8");
        out_ << '"';
        for (char c : s) {
            if (c == '"' || c == '\\')
                out_ << '\\';
            out_ << c;
        }
        out_ << "\" ";
        return *this;
    }
    // A shape as BREP text in a block; a number in it that is not finite is refused as `num`
    // refuses one.
    Writer& shape(const std::string& brep) {
        if (const std::string bad = nonFiniteNumberIn(brep); !bad.empty())
            throw ModelError(
                "save: the shape of " + (item_.empty() ? std::string("the document") : item_) +
                " holds the number " + printable(bad) + ", which a document cannot hold");
        return blob(brep);
    }
    Writer& vec(Vec3 v) { return num(v.x).num(v.y).num(v.z); }
    Writer& frame(const Frame& f) { return vec(f.origin).vec(f.xDir).vec(f.yDir).vec(f.zDir); }
    Writer& blob(const std::string& bytes) {
        out_ << "#" << bytes.size() << ' ' << checksumOf(bytes) << '\n' << bytes << '\n';
        return *this;
    }
    Writer& line() {
        out_ << '\n';
        return *this;
    }
    std::string text() const { return out_.str(); }

private:
    std::ostringstream out_;
    std::string item_;
};

// ---- reading --------------------------------------------------------------------------

class Reader {
public:
    Reader(std::string text, std::string path) : text_(std::move(text)), path_(std::move(path)) {}

    [[noreturn]] void fail(const std::string& what) const {
        throw ModelError("open " + path_ + ": " + printable(what) + " (at byte " +
                         std::to_string(pos_) + ")");
    }

    void skipSpace() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
    }
    std::string token() {
        skipSpace();
        if (pos_ >= text_.size())
            fail("the file ends too early");
        const size_t start = pos_;
        while (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
        return text_.substr(start, pos_ - start);
    }
    // The next token without taking it; empty at the end of the text.
    std::string peek() {
        skipSpace();
        size_t end = pos_;
        while (end < text_.size() && !std::isspace(static_cast<unsigned char>(text_[end])))
            ++end;
        return text_.substr(pos_, end - pos_);
    }
    void expect(const std::string& word) {
        const std::string t = token();
        if (t != word)
            fail("expected \"" + word + "\", found \"" + t.substr(0, 40) + "\"");
    }
    double num() {
        const std::string t = token();
        double v = 0.0;
        const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
        if (r.ec != std::errc() || r.ptr != t.data() + t.size() || !std::isfinite(v))
            fail("expected a number, found \"" + t.substr(0, 40) + "\"");
        return v;
    }
    long long integer(long long lo, long long hi) {
        const std::string t = token();
        long long v = 0;
        const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
        if (r.ec != std::errc() || r.ptr != t.data() + t.size())
            fail("expected an integer, found \"" + t.substr(0, 40) + "\"");
        if (v < lo || v > hi)
            fail("the value " + t + " is out of range");
        return v;
    }
    int count() { return static_cast<int>(integer(0, 10'000'000)); }
    // A number the model holds as a 32-bit integer (a type code, a kind): any such value.
    int int32() { return static_cast<int>(integer(INT32_MIN, INT32_MAX)); }
    bool flag() { return integer(0, 1) != 0; }
    std::string str() {
        skipSpace();
        if (pos_ >= text_.size() || text_[pos_] != '"')
            fail("expected a string");
        ++pos_;
        std::string out;
        while (true) {
            if (pos_ >= text_.size())
                fail("a string is not closed");
            const char c = text_[pos_++];
            if (c == '"') {
                if (!isUtf8(out))
                    fail("the text \"" + printable(std::string_view(out).substr(0, 40)) +
                         "\" is not UTF-8");
                return out;
            }
            if (c == '\\') {
                if (pos_ >= text_.size())
                    fail("a string is not closed");
                out += text_[pos_++];
            } else {
                out += c;
            }
        }
    }
    Vec3 vec() {
        const double x = num();
        const double y = num();
        return {x, y, num()};
    }
    // A position in the model space (see kModelSpace): the session made no other, and
    // OpenCASCADE is not safe on one far beyond it.
    Vec3 point() {
        const Vec3 p = vec();
        if (!inModelSpace(p))
            fail("a position lies outside the model space");
        return p;
    }
    // A position of a sketch, whose model space the sketch checks where it lies (an arc's
    // centre may lie beyond it): within kConstructionReach.
    Vec3 sketchPosition() {
        const Vec3 p = vec();
        if (!inConstructionReach(p))
            fail("a sketch position lies beyond the reach of the model");
        return p;
    }
    Frame frame() {
        Frame f;
        f.origin = vec();
        f.xDir = vec();
        f.yDir = vec();
        f.zDir = vec();
        return f;
    }
    std::string blob() {
        const std::string t = token();
        if (t.size() < 2 || t[0] != '#')
            fail("expected a data block");
        long long n = 0;
        const auto r = std::from_chars(t.data() + 1, t.data() + t.size(), n);
        if (r.ec != std::errc() || r.ptr != t.data() + t.size() || n < 0)
            fail("bad data block length");
        const std::string crc = token();
        if (pos_ >= text_.size() || text_[pos_] != '\n')
            fail("bad data block");
        ++pos_;
        if (static_cast<unsigned long long>(n) > text_.size() - pos_)
            fail("a data block is cut short");
        std::string out = text_.substr(pos_, static_cast<size_t>(n));
        if (!checksumMatches(crc, out))
            fail("a data block is damaged (its checksum does not match)");
        pos_ += static_cast<size_t>(n);
        return out;
    }

private:
    std::string text_;
    std::string path_;
    size_t pos_ = 0;
};

} // namespace swsim::detail
