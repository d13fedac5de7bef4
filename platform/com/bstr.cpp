// BSTR allocation: a 4-byte byte length, the UTF-16 units, a zero unit.
#include "platform/com/bstr.h"
#include "platform/com/test_hooks.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {
constexpr std::size_t prefixBytes = sizeof(uint32_t);

uint32_t* prefixOf(BSTR text) noexcept {
    return reinterpret_cast<uint32_t*>(reinterpret_cast<char*>(text) - prefixBytes);
}
} // namespace

BSTR SysAllocStringLen(const OLECHAR* text, unsigned count) {
    constexpr std::size_t maxUnits =
        (std::numeric_limits<uint32_t>::max() - prefixBytes - sizeof(OLECHAR)) / sizeof(OLECHAR);
    if (count > maxUnits || comTestHooks::takeBstrFailure())
        return nullptr;
    const std::size_t bytes = std::size_t{count} * sizeof(OLECHAR);
    char* block = static_cast<char*>(std::malloc(prefixBytes + bytes + sizeof(OLECHAR)));
    if (block == nullptr)
        return nullptr;
    const uint32_t byteLength = static_cast<uint32_t>(bytes);
    std::memcpy(block, &byteLength, prefixBytes);
    BSTR result = reinterpret_cast<BSTR>(block + prefixBytes);
    if (text != nullptr)
        std::memcpy(result, text, bytes);
    else
        std::memset(result, 0, bytes);
    result[count] = 0;
    return result;
}

BSTR SysAllocString(const OLECHAR* text) {
    if (text == nullptr)
        return nullptr;
    std::size_t count = 0;
    while (text[count] != 0)
        ++count;
    if (count > std::numeric_limits<unsigned>::max())
        return nullptr;
    return SysAllocStringLen(text, static_cast<unsigned>(count));
}

unsigned SysStringByteLen(BSTR text) noexcept {
    if (text == nullptr)
        return 0;
    uint32_t byteLength = 0;
    std::memcpy(&byteLength, prefixOf(text), prefixBytes);
    return byteLength;
}

unsigned SysStringLen(BSTR text) noexcept {
    return SysStringByteLen(text) / sizeof(OLECHAR);
}

void SysFreeString(BSTR text) noexcept {
    if (text != nullptr)
        std::free(prefixOf(text));
}

BSTR comBstrFromUtf8(std::string_view text) {
    const std::u16string wide = comUtf8ToUtf16(text);
    if (wide.size() > std::numeric_limits<unsigned>::max())
        return nullptr;
    return SysAllocStringLen(wide.data(), static_cast<unsigned>(wide.size()));
}
