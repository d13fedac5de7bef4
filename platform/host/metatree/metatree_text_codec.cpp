// UTF-8 checking and base64 for the text form.

#include "platform/host/metatree/metatree_text_codec.h"

#include <array>

namespace metatree_detail {

std::size_t utf8SequenceLength(std::string_view text, std::size_t pos) noexcept {
    auto byte = [&](std::size_t i) -> unsigned {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0x100u;
    };
    auto cont = [&](std::size_t i) { return (byte(i) & 0xC0u) == 0x80u; };
    const unsigned b0 = byte(pos);
    if (b0 < 0x80u) {
        return 1;
    }
    if (b0 >= 0xC2u && b0 <= 0xDFu) {
        return cont(pos + 1) ? 2 : 0;
    }
    if (b0 >= 0xE0u && b0 <= 0xEFu) {
        const unsigned b1 = byte(pos + 1);
        const unsigned lo = b0 == 0xE0u ? 0xA0u : 0x80u; // no overlong forms
        const unsigned hi = b0 == 0xEDu ? 0x9Fu : 0xBFu; // no surrogates
        return b1 >= lo && b1 <= hi && cont(pos + 2) ? 3 : 0;
    }
    if (b0 >= 0xF0u && b0 <= 0xF4u) {
        const unsigned b1 = byte(pos + 1);
        const unsigned lo = b0 == 0xF0u ? 0x90u : 0x80u; // no overlong forms
        const unsigned hi = b0 == 0xF4u ? 0x8Fu : 0xBFu; // nothing past U+10FFFF
        return b1 >= lo && b1 <= hi && cont(pos + 2) && cont(pos + 3) ? 4 : 0;
    }
    return 0;
}

bool isValidUtf8(std::string_view text) noexcept {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t n = utf8SequenceLength(text, pos);
        if (n == 0) {
            return false;
        }
        pos += n;
    }
    return true;
}

namespace {

constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<int, 256> decodeTable() {
    std::array<int, 256> t{};
    for (int& x : t) {
        x = -1;
    }
    for (int i = 0; i < 64; ++i) {
        t[static_cast<unsigned char>(alphabet[i])] = i;
    }
    return t;
}

} // namespace

std::string encodeBase64(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    for (; i + 3 <= bytes.size(); i += 3) {
        const unsigned v = (at(i) << 16) | (at(i + 1) << 8) | at(i + 2);
        out += alphabet[(v >> 18) & 63];
        out += alphabet[(v >> 12) & 63];
        out += alphabet[(v >> 6) & 63];
        out += alphabet[v & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest == 1) {
        const unsigned v = at(i) << 16;
        out += alphabet[(v >> 18) & 63];
        out += alphabet[(v >> 12) & 63];
        out += "==";
    } else if (rest == 2) {
        const unsigned v = (at(i) << 16) | (at(i + 1) << 8);
        out += alphabet[(v >> 18) & 63];
        out += alphabet[(v >> 12) & 63];
        out += alphabet[(v >> 6) & 63];
        out += '=';
    }
    return out;
}

std::optional<std::string> decodeBase64(std::string_view text) {
    static constexpr std::array<int, 256> table = decodeTable();
    if (text.size() % 4 != 0) {
        return std::nullopt;
    }
    std::string out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool lastGroup = i + 4 == text.size();
        int pad = 0;
        if (lastGroup && text[i + 3] == '=') {
            pad = text[i + 2] == '=' ? 2 : 1;
        }
        unsigned v = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            int d = 0;
            if (k < 4 - static_cast<std::size_t>(pad)) {
                d = table[static_cast<unsigned char>(text[i + k])];
                if (d < 0) {
                    return std::nullopt;
                }
            }
            v = (v << 6) | static_cast<unsigned>(d);
        }
        out += static_cast<char>((v >> 16) & 0xFF);
        if (pad < 2) {
            out += static_cast<char>((v >> 8) & 0xFF);
        }
        if (pad < 1) {
            out += static_cast<char>(v & 0xFF);
        }
        // Bits below the last whole byte must be zero, so that each byte string has one text.
        if ((pad == 1 && (v & 0xFF) != 0) || (pad == 2 && (v & 0xFFFF) != 0)) {
            return std::nullopt;
        }
    }
    return out;
}

} // namespace metatree_detail
