#include "platform/com/com_error.h"
#include "platform/com/variant.h"

#include <limits>

namespace {
void check(HRESULT hr) {
    if (FAILED(hr))
        _com_issue_error(hr);
}

BSTR copyText(const std::u16string& text) {
    BSTR result = SysAllocStringLen(text.data(), static_cast<unsigned>(text.size()));
    if (result == nullptr)
        _com_issue_error(E_OUTOFMEMORY);
    return result;
}

// `src` converted to `vt` into a fresh variant; raises _com_error on failure.
_variant_t convertedTo(const VARIANT& src, VARTYPE vt) {
    _variant_t result;
    check(VariantChangeType(&result, &src, 0, vt));
    return result;
}
} // namespace

_variant_t::_variant_t() noexcept {
    VariantInit(this);
}

_variant_t::_variant_t(const _variant_t& other) : _variant_t() {
    check(VariantCopy(this, &other));
}

_variant_t::_variant_t(_variant_t&& other) noexcept : VARIANT(other) {
    VariantInit(&other);
}

_variant_t::_variant_t(const VARIANT& other) : _variant_t() {
    check(VariantCopy(this, &other));
}

_variant_t::_variant_t(VARIANT& other, bool fCopy) : _variant_t() {
    if (fCopy) {
        check(VariantCopy(this, &other));
    } else {
        static_cast<VARIANT&>(*this) = other;
        VariantInit(&other);
    }
}

_variant_t::_variant_t(short value) noexcept : _variant_t() {
    vt = VT_I2;
    iVal = value;
}

_variant_t::_variant_t(int value) noexcept : _variant_t() {
    vt = VT_I4;
    lVal = value;
}

_variant_t::_variant_t(long value) : _variant_t() {
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        _com_issue_error(DISP_E_OVERFLOW);
    vt = VT_I4;
    lVal = static_cast<int32_t>(value);
}

_variant_t::_variant_t(double value) noexcept : _variant_t() {
    vt = VT_R8;
    dblVal = value;
}

_variant_t::_variant_t(bool value) noexcept : _variant_t() {
    vt = VT_BOOL;
    boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

_variant_t::_variant_t(const _bstr_t& value) : _variant_t() {
    bstrVal = value.copy();
    vt = VT_BSTR;
}

_variant_t::_variant_t(const char* utf8) : _variant_t() {
    if (utf8 != nullptr)
        bstrVal = copyText(comUtf8ToUtf16(utf8));
    vt = VT_BSTR;
}

_variant_t::_variant_t(const char16_t* text) : _variant_t() {
    if (text != nullptr) {
        bstrVal = SysAllocString(text);
        if (bstrVal == nullptr)
            _com_issue_error(E_OUTOFMEMORY);
    }
    vt = VT_BSTR;
}

_variant_t::_variant_t(const wchar_t* text) : _variant_t() {
    if (text != nullptr)
        bstrVal = copyText(comWideToUtf16(text));
    vt = VT_BSTR;
}

_variant_t::_variant_t(IDispatch* object, bool fAddRef) noexcept : _variant_t() {
    if (object != nullptr && fAddRef)
        object->AddRef();
    vt = VT_DISPATCH;
    pdispVal = object;
}

_variant_t::_variant_t(IUnknown* object, bool fAddRef) noexcept : _variant_t() {
    if (object != nullptr && fAddRef)
        object->AddRef();
    vt = VT_UNKNOWN;
    punkVal = object;
}

_variant_t::~_variant_t() {
    // A locked array cannot be destroyed; it is left to its locker, as on Windows.
    VariantClear(this);
}

_variant_t& _variant_t::operator=(const _variant_t& other) {
    check(VariantCopy(this, &other));
    return *this;
}

_variant_t& _variant_t::operator=(_variant_t&& other) noexcept {
    if (this != &other) {
        VariantClear(this);
        static_cast<VARIANT&>(*this) = other;
        VariantInit(&other);
    }
    return *this;
}

_variant_t& _variant_t::operator=(const VARIANT& other) {
    check(VariantCopy(this, &other));
    return *this;
}

_variant_t::operator double() const {
    if (vt == VT_R8)
        return dblVal;
    return convertedTo(*this, VT_R8).dblVal;
}

_variant_t::operator long() const {
    if (vt == VT_I4)
        return lVal;
    return convertedTo(*this, VT_I4).lVal;
}

_variant_t::operator int() const {
    if (vt == VT_I4 || vt == VT_INT)
        return lVal;
    return convertedTo(*this, VT_INT).intVal;
}

_variant_t::operator short() const {
    if (vt == VT_I2)
        return iVal;
    return convertedTo(*this, VT_I2).iVal;
}

_variant_t::operator bool() const {
    if (vt == VT_BOOL)
        return boolVal != 0;
    return convertedTo(*this, VT_BOOL).boolVal != 0;
}

_variant_t::operator _bstr_t() const {
    if (vt == VT_BSTR)
        return _bstr_t(bstrVal, true);
    _variant_t text = convertedTo(*this, VT_BSTR);
    _bstr_t result(text.bstrVal, false);
    text.bstrVal = nullptr;
    return result;
}

void _variant_t::Clear() {
    check(VariantClear(this));
}

void _variant_t::ChangeType(VARTYPE type, const _variant_t* src) {
    check(VariantChangeType(this, src != nullptr ? src : this, 0, type));
}

void _variant_t::Attach(VARIANT& other) {
    Clear();
    static_cast<VARIANT&>(*this) = other;
    VariantInit(&other);
}

VARIANT _variant_t::Detach() noexcept {
    VARIANT result = *this;
    VariantInit(this);
    return result;
}

VARIANT* _variant_t::GetAddress() {
    Clear();
    return this;
}
