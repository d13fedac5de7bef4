#include "libs/KvorCore/loader/com_string.h"

#include "libs/KvorCore/loader/string_case.h"
#include "platform/com/com_error.h"

#include <algorithm>
#include <cstring>
#include <ostream>

mzComStringC::mzComStringC(const char* utf8, int length) {
    if (!utf8)
        return;
    const std::size_t size = length < 0 ? std::strlen(utf8) : static_cast<std::size_t>(length);
    text_ = comUtf8ToUtf16(std::string_view(utf8, size));
}

mzComStringC::mzComStringC(std::string_view utf8) : text_(comUtf8ToUtf16(utf8)) {}

mzComStringC::mzComStringC(const wchar_t* text) {
    if (text)
        text_ = comWideToUtf16(text);
}

mzComStringC::mzComStringC(const char16_t* text) {
    if (text)
        text_ = text;
}

mzComStringC::mzComStringC(const _bstr_t& text) {
    if (const char16_t* units = static_cast<const char16_t*>(text))
        text_.assign(units, text.length());
}

mzComStringC mzComStringC::fromUtf16(std::u16string_view text) {
    mzComStringC out;
    out.text_ = std::u16string(text);
    return out;
}

mzComStringC& mzComStringC::operator+=(const mzComStringC& other) {
    text_ += other.text_;
    return *this;
}

mzComStringC& mzComStringC::operator+=(const char* utf8) {
    if (utf8)
        text_ += comUtf8ToUtf16(utf8);
    return *this;
}

int mzComStringC::compare(const mzComStringC& other, int caseFlag) const {
    const std::u16string& a = text_;
    const std::u16string& b = other.text_;
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t x = caseFlag ? a[i] : foldCaseUnit(a[i]);
        const char16_t y = caseFlag ? b[i] : foldCaseUnit(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

namespace {

bool matchesAt(const std::u16string& text, std::size_t at, const std::u16string& needle,
               int caseFlag) {
    for (std::size_t i = 0; i < needle.size(); ++i) {
        const char16_t x = text[at + i];
        const char16_t y = needle[i];
        if (caseFlag ? x != y : foldCaseUnit(x) != foldCaseUnit(y))
            return false;
    }
    return true;
}

} // namespace

bool mzComStringC::contains(const mzComStringC& text, int caseFlag) const {
    return indexOf(text, 0, caseFlag) >= 0;
}

int mzComStringC::indexOf(const mzComStringC& text, int start, int caseFlag) const {
    const int n = length();
    const int m = text.length();
    if (m == 0 || m > n)
        return -1;
    if (start < 0)
        start = std::max(0, n + start);
    for (int at = start; at <= n - m; ++at)
        if (matchesAt(text_, static_cast<std::size_t>(at), text.text_, caseFlag))
            return at;
    return -1;
}

int mzComStringC::lastIndexOf(const mzComStringC& text, int start, int caseFlag) const {
    const int n = length();
    const int m = text.length();
    if (m == 0 || m > n)
        return -1;
    int from = start < 0 ? n + start : std::min(start, n - 1);
    from = std::min(from, n - m);
    for (int at = from; at >= 0; --at)
        if (matchesAt(text_, static_cast<std::size_t>(at), text.text_, caseFlag))
            return at;
    return -1;
}

mzComStringC mzComStringC::left(int n) const {
    if (n <= 0)
        return {};
    return fromUtf16(std::u16string_view(text_).substr(0, static_cast<std::size_t>(n)));
}

mzComStringC mzComStringC::right(int n) const {
    if (n <= 0)
        return {};
    if (n >= length())
        return *this;
    return fromUtf16(std::u16string_view(text_).substr(text_.size() - static_cast<std::size_t>(n)));
}

mzComStringC mzComStringC::mid(int position, int n) const {
    if (position < 0)
        position = 0;
    if (position >= length())
        return {};
    const std::size_t count = n < 0 ? std::u16string_view::npos : static_cast<std::size_t>(n);
    return fromUtf16(std::u16string_view(text_).substr(static_cast<std::size_t>(position), count));
}

mzComStringC mzComStringC::arg(const mzComStringC& replacement, int fieldWidth,
                               char16_t fill) const {
    // A placeholder: '%' and one or two digits, numbered 1..99.
    auto placeholderAt = [this](std::size_t i, std::size_t& size) -> int {
        if (text_[i] != u'%' || i + 1 >= text_.size())
            return 0;
        auto digit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
        if (!digit(text_[i + 1]))
            return 0;
        int number = text_[i + 1] - u'0';
        size = 2;
        if (i + 2 < text_.size() && digit(text_[i + 2])) {
            number = number * 10 + (text_[i + 2] - u'0');
            size = 3;
        }
        return number;
    };

    int lowest = 0;
    for (std::size_t i = 0; i < text_.size(); ++i) {
        std::size_t size = 0;
        const int number = placeholderAt(i, size);
        if (number > 0 && (lowest == 0 || number < lowest))
            lowest = number;
    }
    if (lowest == 0)
        return *this;

    std::u16string padded = replacement.text_;
    // Through long long: negating INT_MIN as an int would overflow.
    const long long signedWidth = fieldWidth;
    const auto width = static_cast<std::size_t>(signedWidth < 0 ? -signedWidth : signedWidth);
    if (padded.size() < width) {
        const std::u16string pad(width - padded.size(), fill);
        padded = fieldWidth > 0 ? pad + padded : padded + pad;
    }

    mzComStringC out;
    out.text_.reserve(text_.size() + padded.size());
    for (std::size_t i = 0; i < text_.size();) {
        std::size_t size = 0;
        if (placeholderAt(i, size) == lowest) {
            out.text_ += padded;
            i += size;
        } else {
            out.text_ += text_[i++];
        }
    }
    return out;
}

_bstr_t mzComStringC::toBstr() const {
    // By length, so that a zero unit inside the text does not cut it.
    BSTR copy = SysAllocStringLen(text_.data(), static_cast<unsigned>(text_.size()));
    if (!copy)
        _com_issue_error(E_OUTOFMEMORY);
    return _bstr_t(copy, false);
}

std::string mzComStringC::toUtf8() const {
    return comUtf16ToUtf8(text_);
}

mzComStringC operator+(const mzComStringC& a, const mzComStringC& b) {
    mzComStringC out = a;
    out += b;
    return out;
}

mzComStringC operator+(const mzComStringC& a, const char* b) {
    mzComStringC out = a;
    out += b;
    return out;
}

mzComStringC operator+(const char* a, const mzComStringC& b) {
    mzComStringC out(a);
    out += b;
    return out;
}

bool operator==(const mzComStringC& a, const mzComStringC& b) {
    return a.compare(b, 1) == 0;
}

bool operator<(const mzComStringC& a, const mzComStringC& b) {
    return a.compare(b, 1) < 0;
}

std::ostream& operator<<(std::ostream& out, const mzComStringC& text) {
    return out << text.toUtf8();
}
