// GUID/IID: the value type, parsing from and formatting to the registry text form
// "{83A33D3C-27C5-11CE-BFD4-00400513BB57}", and the compile-time link between an interface
// type and its IID (COM_DECLARE_IID / uuidOf<I>()).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];

    friend constexpr bool operator==(const GUID&, const GUID&) = default;
};

typedef GUID IID;
typedef GUID CLSID;
typedef const IID& REFIID;
typedef const GUID& REFGUID;

inline constexpr GUID GUID_NULL{};

namespace comGuidDetail {
constexpr int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Parses the 38-character braced form; false on any other text. Usable in constant
// expressions.
constexpr bool parse(std::string_view text, GUID& out) {
    if (text.size() != 38 || text[0] != '{' || text[37] != '}')
        return false;
    if (text[9] != '-' || text[14] != '-' || text[19] != '-' || text[24] != '-')
        return false;
    auto hex = [&](std::size_t pos, std::size_t count, uint64_t& value) {
        value = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const int digit = hexValue(text[pos + i]);
            if (digit < 0)
                return false;
            value = value * 16 + static_cast<uint64_t>(digit);
        }
        return true;
    };
    uint64_t v = 0;
    GUID g{};
    if (!hex(1, 8, v))
        return false;
    g.Data1 = static_cast<uint32_t>(v);
    if (!hex(10, 4, v))
        return false;
    g.Data2 = static_cast<uint16_t>(v);
    if (!hex(15, 4, v))
        return false;
    g.Data3 = static_cast<uint16_t>(v);
    constexpr std::size_t bytePos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (std::size_t i = 0; i < 8; ++i) {
        if (!hex(bytePos[i], 2, v))
            return false;
        g.Data4[i] = static_cast<uint8_t>(v);
    }
    out = g;
    return true;
}

// Only called when a literal is malformed; not being constexpr turns the mistake into a
// compile error where the literal is used in a constant expression.
[[noreturn]] void badLiteral(std::string_view text);
} // namespace comGuidDetail

// GUID from a literal known to be well formed (IID declarations). Malformed text is a compile
// error in constant evaluation and throws std::invalid_argument at run time.
constexpr GUID guidFromLiteral(std::string_view text) {
    GUID g{};
    if (!comGuidDetail::parse(text, g))
        comGuidDetail::badLiteral(text);
    return g;
}

// Checked run-time parse of text from outside: false (out untouched) when malformed.
bool guidTryParse(std::string_view text, GUID& out);
// Checked run-time parse; throws std::invalid_argument naming the bad text.
GUID guidParse(std::string_view text);
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hex digits.
std::string guidToString(const GUID& guid);

// The IID of an interface type. Specialised by COM_DECLARE_IID; an interface without a
// declaration does not compile where its IID is needed.
template <class I> struct comIidOf;

template <class I> constexpr const IID& uuidOf() {
    return comIidOf<I>::iid;
}

// Use at global scope after the interface is declared: COM_DECLARE_IID(IFoo, "{...}");
#define COM_DECLARE_IID(Interface, text)                                                           \
    template <> struct comIidOf<Interface> { static constexpr IID iid = guidFromLiteral(text); }
