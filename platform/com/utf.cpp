// UTF-8, UTF-16 and UTF-32 (wchar_t on Linux) conversions used by BSTR and _bstr_t.
#include "platform/com/bstr.h"

namespace {
constexpr char32_t replacement = 0xFFFD;

bool isSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

void appendUtf16(std::u16string& out, char32_t c) {
    if (c > 0x10FFFF || isSurrogate(c))
        c = replacement;
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}

void appendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || isSurrogate(c))
        c = replacement;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Decodes one code point at `pos` and advances; a malformed sequence gives U+FFFD and
// skips only its first byte, so the following text is kept.
char32_t decodeUtf8(std::string_view text, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        c = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        c = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        c = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++pos;
        return replacement;
    }
    if (pos + length > text.size()) {
        ++pos;
        return replacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return replacement;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || isSurrogate(c)) {
        ++pos;
        return replacement;
    }
    pos += length;
    return c;
}

// Decodes one code point of UTF-16 at `pos` and advances; a lone surrogate gives U+FFFD.
char32_t decodeUtf16(std::u16string_view text, std::size_t& pos) {
    const char32_t unit = text[pos++];
    if (unit >= 0xD800 && unit <= 0xDBFF && pos < text.size()) {
        const char32_t low = text[pos];
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++pos;
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return isSurrogate(unit) ? replacement : unit;
}
} // namespace

std::u16string comUtf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();)
        appendUtf16(out, decodeUtf8(text, pos));
    return out;
}

std::string comUtf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();)
        appendUtf8(out, decodeUtf16(text, pos));
    return out;
}

std::u16string comWideToUtf16(std::wstring_view text) {
    std::u16string out;
    out.reserve(text.size());
    if constexpr (sizeof(wchar_t) == 2) {
        out.assign(text.begin(), text.end());
    } else {
        for (wchar_t c : text)
            appendUtf16(out, static_cast<char32_t>(c));
    }
    return out;
}

std::wstring comUtf16ToWide(std::u16string_view text) {
    std::wstring out;
    out.reserve(text.size());
    if constexpr (sizeof(wchar_t) == 2) {
        out.assign(text.begin(), text.end());
    } else {
        for (std::size_t pos = 0; pos < text.size();)
            out.push_back(static_cast<wchar_t>(decodeUtf16(text, pos)));
    }
    return out;
}
