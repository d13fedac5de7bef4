#include "platform/com/bstr.h"
#include "platform/com/com_error.h"

#include <algorithm>
#include <cstring>
#include <limits>

// The shared data of a _bstr_t: the BSTR, its UTF-8 form once asked for, and the count of
// _bstr_t objects sharing it.
struct _bstr_t::dataS {
    std::atomic<unsigned long> refs{1};
    BSTR wide = nullptr;
    std::atomic<char*> narrow{nullptr};

    ~dataS() {
        SysFreeString(wide);
        delete[] narrow.load();
    }
};

namespace {
std::size_t unitCount(const char16_t* text) noexcept {
    std::size_t count = 0;
    while (text[count] != 0)
        ++count;
    return count;
}
} // namespace

_bstr_t::dataS* _bstr_t::makeData(BSTR owned) {
    dataS* data = new (std::nothrow) dataS;
    if (data == nullptr) {
        SysFreeString(owned);
        _com_issue_error(E_OUTOFMEMORY);
    }
    data->wide = owned;
    return data;
}

_bstr_t::dataS* _bstr_t::fromUtf16(const char16_t* text, std::size_t count) {
    if (count > std::numeric_limits<unsigned>::max())
        _com_issue_error(E_OUTOFMEMORY);
    BSTR copy = SysAllocStringLen(text, static_cast<unsigned>(count));
    if (copy == nullptr)
        _com_issue_error(E_OUTOFMEMORY);
    return makeData(copy);
}

_bstr_t::_bstr_t(const _bstr_t& other) noexcept : data_(other.data_) {
    if (data_ != nullptr)
        data_->refs.fetch_add(1, std::memory_order_relaxed);
}

_bstr_t::_bstr_t(_bstr_t&& other) noexcept : data_(other.data_) {
    other.data_ = nullptr;
}

_bstr_t::_bstr_t(const char* utf8) {
    if (utf8 != nullptr) {
        const std::u16string wide = comUtf8ToUtf16(utf8);
        data_ = fromUtf16(wide.data(), wide.size());
    }
}

_bstr_t::_bstr_t(std::string_view utf8) {
    const std::u16string wide = comUtf8ToUtf16(utf8);
    data_ = fromUtf16(wide.data(), wide.size());
}

_bstr_t::_bstr_t(const wchar_t* text) {
    if (text != nullptr) {
        const std::u16string wide = comWideToUtf16(text);
        data_ = fromUtf16(wide.data(), wide.size());
    }
}

_bstr_t::_bstr_t(const char16_t* text) {
    if (text != nullptr)
        data_ = fromUtf16(text, unitCount(text));
}

_bstr_t::_bstr_t(BSTR text, bool fCopy) {
    if (fCopy) {
        if (text != nullptr)
            data_ = fromUtf16(text, SysStringLen(text));
    } else {
        data_ = makeData(text);
    }
}

_bstr_t::~_bstr_t() {
    release();
}

void _bstr_t::release() noexcept {
    if (data_ != nullptr && data_->refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete data_;
    data_ = nullptr;
}

_bstr_t& _bstr_t::operator=(const _bstr_t& other) noexcept {
    if (data_ != other.data_) {
        if (other.data_ != nullptr)
            other.data_->refs.fetch_add(1, std::memory_order_relaxed);
        release();
        data_ = other.data_;
    }
    return *this;
}

_bstr_t& _bstr_t::operator=(_bstr_t&& other) noexcept {
    if (this != &other) {
        release();
        data_ = other.data_;
        other.data_ = nullptr;
    }
    return *this;
}

_bstr_t& _bstr_t::operator=(const char* utf8) {
    return *this = _bstr_t(utf8);
}
_bstr_t& _bstr_t::operator=(const wchar_t* text) {
    return *this = _bstr_t(text);
}
_bstr_t& _bstr_t::operator=(const char16_t* text) {
    return *this = _bstr_t(text);
}

_bstr_t _bstr_t::operator+(const _bstr_t& other) const {
    const std::size_t left = length();
    const std::size_t right = other.length();
    if (data_ == nullptr && other.data_ == nullptr)
        return _bstr_t();
    if (left + right > std::numeric_limits<unsigned>::max())
        _com_issue_error(E_OUTOFMEMORY);
    BSTR joined = SysAllocStringLen(nullptr, static_cast<unsigned>(left + right));
    if (joined == nullptr)
        _com_issue_error(E_OUTOFMEMORY);
    if (left > 0)
        std::memcpy(joined, data_->wide, left * sizeof(OLECHAR));
    if (right > 0)
        std::memcpy(joined + left, other.data_->wide, right * sizeof(OLECHAR));
    return _bstr_t(makeData(joined));
}

_bstr_t& _bstr_t::operator+=(const _bstr_t& other) {
    return *this = *this + other;
}

_bstr_t operator+(const char* left, const _bstr_t& right) {
    return _bstr_t(left) + right;
}
_bstr_t operator+(const char16_t* left, const _bstr_t& right) {
    return _bstr_t(left) + right;
}
_bstr_t operator+(const wchar_t* left, const _bstr_t& right) {
    return _bstr_t(left) + right;
}

_bstr_t::operator const char16_t*() const noexcept {
    return data_ != nullptr ? data_->wide : nullptr;
}

_bstr_t::operator const char*() const {
    if (data_ == nullptr || data_->wide == nullptr)
        return nullptr;
    char* narrow = data_->narrow.load(std::memory_order_acquire);
    if (narrow != nullptr)
        return narrow;
    const std::string utf8 = comUtf16ToUtf8({data_->wide, SysStringLen(data_->wide)});
    char* made = new char[utf8.size() + 1];
    std::memcpy(made, utf8.c_str(), utf8.size() + 1);
    // Another thread may have converted at the same time; the first one stored wins.
    if (data_->narrow.compare_exchange_strong(narrow, made, std::memory_order_acq_rel))
        return made;
    delete[] made;
    return narrow;
}

bool _bstr_t::operator!() const noexcept {
    return data_ == nullptr || data_->wide == nullptr;
}

int _bstr_t::compare(const _bstr_t& a, const _bstr_t& b) noexcept {
    if (a.data_ == b.data_)
        return 0;
    const unsigned lengthA = a.length();
    const unsigned lengthB = b.length();
    const unsigned common = std::min(lengthA, lengthB);
    for (unsigned i = 0; i < common; ++i) {
        const char16_t unitA = a.data_->wide[i];
        const char16_t unitB = b.data_->wide[i];
        if (unitA != unitB)
            return unitA < unitB ? -1 : 1;
    }
    if (lengthA == lengthB)
        return 0;
    return lengthA < lengthB ? -1 : 1;
}

bool _bstr_t::operator==(const _bstr_t& other) const noexcept {
    return compare(*this, other) == 0;
}

bool _bstr_t::operator==(const char* utf8) const {
    return *this == _bstr_t(utf8);
}

bool _bstr_t::operator==(const char16_t* text) const noexcept {
    const unsigned count = length();
    if (text == nullptr)
        return count == 0;
    for (unsigned i = 0; i < count; ++i)
        if (text[i] != data_->wide[i])
            return false; // also stops at a terminator of `text` inside our units
    return text[count] == 0;
}

bool _bstr_t::operator<(const _bstr_t& other) const noexcept {
    return compare(*this, other) < 0;
}

unsigned _bstr_t::length() const noexcept {
    return data_ != nullptr ? SysStringLen(data_->wide) : 0;
}

BSTR& _bstr_t::GetBSTR() {
    if (data_ == nullptr)
        data_ = makeData(nullptr);
    // The caller may write a new string through the reference: the UTF-8 form must be
    // converted again when next asked for.
    delete[] data_->narrow.exchange(nullptr);
    return data_->wide;
}

BSTR* _bstr_t::GetAddress() {
    dataS* fresh = makeData(nullptr);
    release();
    data_ = fresh;
    return &data_->wide;
}

BSTR _bstr_t::copy(bool fCopy) const {
    if (data_ == nullptr || data_->wide == nullptr)
        return nullptr;
    if (!fCopy)
        return data_->wide;
    BSTR result = SysAllocStringLen(data_->wide, SysStringLen(data_->wide));
    if (result == nullptr)
        _com_issue_error(E_OUTOFMEMORY);
    return result;
}

void _bstr_t::Attach(BSTR text) {
    dataS* fresh = makeData(text);
    release();
    data_ = fresh;
}

BSTR _bstr_t::Detach() {
    if (data_ == nullptr)
        return nullptr;
    BSTR result = nullptr;
    if (data_->refs.load(std::memory_order_acquire) == 1) {
        result = data_->wide;
        data_->wide = nullptr;
    } else {
        result = copy();
    }
    release();
    return result;
}

unsigned long _bstr_t::refCount() const noexcept {
    return data_ != nullptr ? data_->refs.load(std::memory_order_relaxed) : 0;
}
