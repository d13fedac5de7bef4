// VARIANT with its init/clear/copy/change-type functions, and _variant_t, the owning wrapper
// with the conversions of the Windows compiler support class.
#pragma once

#include "platform/com/bstr.h"
#include "platform/com/hresult.h"
#include "platform/com/safearray.h"
#include "platform/com/unknown.h"
#include "platform/com/vartype.h"

struct VARIANT {
    VARTYPE vt;
    union {
        int16_t iVal;
        int32_t lVal;
        int32_t intVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        BSTR bstrVal;
        IDispatch* pdispVal;
        IUnknown* punkVal;
        SAFEARRAY* parray;
        void* byref;
    };
};

typedef VARIANT VARIANTARG;

// Flag of VariantChangeType: a bool becomes "True"/"False" instead of "-1"/"0".
#define VARIANT_ALPHABOOL 0x2

void VariantInit(VARIANT* v) noexcept;
// Frees a string, releases an interface, destroys an array (DISP_E_ARRAYISLOCKED, leaving the
// variant as it was, when the array is locked); leaves VT_EMPTY.
HRESULT VariantClear(VARIANT* v);
// Deep copy into `dst`, which is cleared first: strings copied, interfaces AddRef'ed, arrays
// copied. DISP_E_BADVARTYPE for an unknown type.
HRESULT VariantCopy(VARIANT* dst, const VARIANT* src);
// Converts `src` to `vt` into `dst` (which may be `src`): to VT_BOOL, VT_I2, VT_I4, VT_INT,
// VT_R8 and VT_BSTR from the numeric, bool, string and empty kinds; VT_DISPATCH/VT_UNKNOWN
// between each other; same type copies. DISP_E_TYPEMISMATCH for anything else (dst
// untouched), DISP_E_OVERFLOW for a value out of range.
HRESULT VariantChangeType(VARIANT* dst, const VARIANT* src, USHORT flags, VARTYPE vt);

class _variant_t : public VARIANT {
public:
    _variant_t() noexcept;
    _variant_t(const _variant_t& other);
    _variant_t(_variant_t&& other) noexcept;
    _variant_t(const VARIANT& other);
    // fCopy false takes over `other`'s value and leaves it VT_EMPTY.
    _variant_t(VARIANT& other, bool fCopy);
    _variant_t(short value) noexcept;
    _variant_t(int value) noexcept;
    // VT_I4; a value beyond 32 bits raises _com_error(DISP_E_OVERFLOW).
    _variant_t(long value);
    _variant_t(double value) noexcept;
    _variant_t(bool value) noexcept;
    _variant_t(const _bstr_t& value);
    _variant_t(const char* utf8);
    _variant_t(const char16_t* text);
    _variant_t(const wchar_t* text);
    _variant_t(IDispatch* object, bool fAddRef = true) noexcept;
    _variant_t(IUnknown* object, bool fAddRef = true) noexcept;
    ~_variant_t();

    _variant_t& operator=(const _variant_t& other);
    _variant_t& operator=(_variant_t&& other) noexcept;
    _variant_t& operator=(const VARIANT& other);

    // Conversions as on Windows: the value converted with VariantChangeType; a conversion that
    // fails raises _com_error with its HRESULT (DISP_E_TYPEMISMATCH when impossible).
    operator double() const;
    operator long() const;
    // Also int and short (as on Windows), so that `int n = v;` converts the value instead of
    // promoting operator bool.
    operator int() const;
    operator short() const;
    operator bool() const;
    operator _bstr_t() const;

    // Raises _com_error when clearing fails (a locked array).
    void Clear();
    // Converts `src` (this variant when null) to `vt` into this variant; raises _com_error.
    void ChangeType(VARTYPE vt, const _variant_t* src = nullptr);
    // Takes over `other`'s value (leaving it VT_EMPTY) after clearing this one.
    void Attach(VARIANT& other);
    // Gives the value to the caller and leaves this variant VT_EMPTY.
    VARIANT Detach() noexcept;
    VARIANT& GetVARIANT() noexcept { return *this; }
    VARIANT* GetAddress();
};
