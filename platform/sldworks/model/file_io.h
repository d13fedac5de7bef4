// Internal to the model: the tokens of the session's own document files (parts and
// assemblies). Text: numbers, words, strings in double quotes with \" and \\ escapes, and
// length-prefixed blocks ("#<bytes>", a newline, then the bytes). The reader raises
// ModelError naming the file and the byte where the text stops making sense.
#pragma once

#include "platform/sldworks/model/types.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

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

// ---- writing --------------------------------------------------------------------------

class Writer {
public:
    Writer& word(const std::string& w) {
        out_ << w << ' ';
        return *this;
    }
    Writer& num(double v) {
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
        out_ << '"';
        for (char c : s) {
            if (c == '"' || c == '\\')
                out_ << '\\';
            out_ << c;
        }
        out_ << "\" ";
        return *this;
    }
    Writer& vec(Vec3 v) { return num(v.x).num(v.y).num(v.z); }
    Writer& frame(const Frame& f) { return vec(f.origin).vec(f.xDir).vec(f.yDir).vec(f.zDir); }
    Writer& blob(const std::string& bytes) {
        out_ << "#" << bytes.size() << '\n' << bytes << '\n';
        return *this;
    }
    Writer& line() {
        out_ << '\n';
        return *this;
    }
    std::string text() const { return out_.str(); }

private:
    std::ostringstream out_;
};

// ---- reading --------------------------------------------------------------------------

class Reader {
public:
    Reader(std::string text, std::string path) : text_(std::move(text)), path_(std::move(path)) {}

    [[noreturn]] void fail(const std::string& what) const {
        throw ModelError("open " + path_ + ": " + what + " (at byte " + std::to_string(pos_) + ")");
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
            if (c == '"')
                return out;
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
        if (pos_ >= text_.size() || text_[pos_] != '\n')
            fail("bad data block");
        ++pos_;
        if (static_cast<unsigned long long>(n) > text_.size() - pos_)
            fail("a data block is cut short");
        std::string out = text_.substr(pos_, static_cast<size_t>(n));
        pos_ += static_cast<size_t>(n);
        return out;
    }

private:
    std::string text_;
    std::string path_;
    size_t pos_ = 0;
};

} // namespace swsim::detail
