// BSTR (length-prefixed UTF-16 strings) with their allocation functions, UTF-8 / wchar_t
// conversions, and _bstr_t, the shared reference-counted string wrapper.
#pragma once

#include "platform/com/hresult.h"

#include <atomic>
#include <string>
#include <string_view>

typedef char16_t OLECHAR;
typedef OLECHAR* BSTR;

// A BSTR points just after a 4-byte byte length and is followed by a zero unit. All return
// nullptr when the allocation fails.
BSTR SysAllocString(const OLECHAR* text);
// `count` units from `text`; a null `text` gives `count` zero units.
BSTR SysAllocStringLen(const OLECHAR* text, unsigned count);
unsigned SysStringLen(BSTR text) noexcept;
unsigned SysStringByteLen(BSTR text) noexcept;
void SysFreeString(BSTR text) noexcept;

// Text conversions. Malformed input (bad UTF-8, lone surrogates, code points above
// U+10FFFF) becomes U+FFFD; nothing is dropped silently.
std::u16string comUtf8ToUtf16(std::string_view text);
std::string comUtf16ToUtf8(std::u16string_view text);
std::u16string comWideToUtf16(std::wstring_view text);
std::wstring comUtf16ToWide(std::u16string_view text);
// A new BSTR holding the UTF-8 text, or nullptr when the allocation fails.
BSTR comBstrFromUtf8(std::string_view text);

// Wrapper of a BSTR whose data is shared by copies (reference counted, thread-safe count).
// A null _bstr_t and an empty one compare equal. A failing allocation raises
// _com_error(E_OUTOFMEMORY).
class _bstr_t {
public:
    _bstr_t() noexcept = default;
    _bstr_t(const _bstr_t& other) noexcept;
    _bstr_t(_bstr_t&& other) noexcept;
    _bstr_t(const char* utf8);
    _bstr_t(std::string_view utf8);
    _bstr_t(const wchar_t* text);
    _bstr_t(const char16_t* text);
    // fCopy true: copies the string; false: takes ownership of it.
    _bstr_t(BSTR text, bool fCopy);
    ~_bstr_t();

    _bstr_t& operator=(const _bstr_t& other) noexcept;
    _bstr_t& operator=(_bstr_t&& other) noexcept;
    _bstr_t& operator=(const char* utf8);
    _bstr_t& operator=(const wchar_t* text);
    _bstr_t& operator=(const char16_t* text);

    _bstr_t& operator+=(const _bstr_t& other);
    _bstr_t operator+(const _bstr_t& other) const;
    friend _bstr_t operator+(const char* left, const _bstr_t& right);
    friend _bstr_t operator+(const char16_t* left, const _bstr_t& right);
    friend _bstr_t operator+(const wchar_t* left, const _bstr_t& right);

    // The UTF-16 text; nullptr for a null string.
    operator const char16_t*() const noexcept;
    // The UTF-8 text, converted once and kept with the shared data; nullptr for a null string.
    operator const char*() const;

    bool operator!() const noexcept;
    // Same data, or both null/empty, or the same UTF-16 units and length. Case-sensitive.
    // (No operator!= is declared so that C++20 derives it and the reversed forms.)
    bool operator==(const _bstr_t& other) const noexcept;
    bool operator==(const char* utf8) const;
    bool operator==(const char16_t* text) const noexcept;
    // By UTF-16 units, then by length; null sorts as empty.
    bool operator<(const _bstr_t& other) const noexcept;
    bool operator>(const _bstr_t& other) const noexcept { return other < *this; }
    bool operator<=(const _bstr_t& other) const noexcept { return !(other < *this); }
    bool operator>=(const _bstr_t& other) const noexcept { return !(*this < other); }

    unsigned length() const noexcept;
    // The wrapped BSTR of the shared data (created empty-null when there is none); writing
    // through it changes the string for every copy, as on Windows.
    BSTR& GetBSTR();
    // Frees the current string and gives the address of a null BSTR for an out-parameter.
    BSTR* GetAddress();
    // A new BSTR copy owned by the caller (nullptr for a null string).
    BSTR copy(bool fCopy = true) const;
    // Takes ownership of `text`, dropping the current string.
    void Attach(BSTR text);
    // Gives up the BSTR: the caller owns it. When the data is shared with other copies the
    // caller receives its own copy and the others keep theirs.
    BSTR Detach();
    // Reference count of the shared data (0 for none); for tests.
    unsigned long refCount() const noexcept;

private:
    struct dataS;
    explicit _bstr_t(dataS* data) noexcept : data_(data) {}
    static dataS* makeData(BSTR owned);
    static dataS* fromUtf16(const char16_t* text, std::size_t count);
    void release() noexcept;
    static int compare(const _bstr_t& a, const _bstr_t& b) noexcept;

    dataS* data_ = nullptr;
};
