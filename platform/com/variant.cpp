#include "platform/com/variant.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace {
bool isArrayElementType(VARTYPE vt) {
    switch (vt) {
    case VT_R8:
    case VT_I2:
    case VT_I4:
    case VT_INT:
    case VT_BOOL:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_UNKNOWN:
    case VT_VARIANT:
        return true;
    default:
        return false;
    }
}

// The types a VARIANT may hold here (by-reference values are carried, never followed).
bool isValidType(VARTYPE vt) {
    if ((vt & VT_BYREF) != 0)
        return true;
    if ((vt & VT_ARRAY) != 0)
        return (vt & ~VT_ARRAY) <= VT_TYPEMASK && isArrayElementType(vt & VT_TYPEMASK);
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I2:
    case VT_I4:
    case VT_R8:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_ERROR:
    case VT_BOOL:
    case VT_UNKNOWN:
    case VT_INT:
        return true;
    default:
        return false;
    }
}

IUnknown* interfaceOf(const VARIANT& v) {
    return v.vt == VT_DISPATCH ? static_cast<IUnknown*>(v.pdispVal) : v.punkVal;
}

// A number read from a VARIANT before it is converted to the target type.
struct numberS {
    bool isInteger;
    int64_t integer;
    double real;
};

std::u16string_view textOf(BSTR text) {
    return text != nullptr ? std::u16string_view(text, SysStringLen(text)) : std::u16string_view();
}

std::u16string_view trimmed(std::u16string_view text) {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t'))
        text.remove_suffix(1);
    return text;
}

// A decimal number ([sign] digits [. digits] [e [sign] digits]) with surrounding blanks;
// false for anything else, including "inf" and "nan".
bool parseNumber(BSTR text, double& out) {
    const std::u16string_view body = trimmed(textOf(text));
    std::string ascii;
    for (char16_t unit : body) {
        const bool allowed = (unit >= u'0' && unit <= u'9') || unit == u'+' || unit == u'-' ||
                             unit == u'.' || unit == u'e' || unit == u'E';
        if (!allowed)
            return false;
        ascii.push_back(static_cast<char>(unit));
    }
    if (ascii.empty())
        return false;
    const char* first = ascii.data();
    const char* last = first + ascii.size();
    if (*first == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, last, out);
    return error == std::errc() && end == last;
}

bool equalsIgnoringCase(std::u16string_view text, std::u16string_view word) {
    if (text.size() != word.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t a = text[i];
        char16_t b = word[i];
        if (a >= u'A' && a <= u'Z')
            a = static_cast<char16_t>(a - u'A' + u'a');
        if (b >= u'A' && b <= u'Z')
            b = static_cast<char16_t>(b - u'A' + u'a');
        if (a != b)
            return false;
    }
    return true;
}

// The numeric value of the numeric, bool, empty and (parsed) string kinds.
HRESULT numberOf(const VARIANT& v, numberS& out) {
    switch (v.vt) {
    case VT_EMPTY:
        out = {true, 0, 0.0};
        return S_OK;
    case VT_I2:
        out = {true, v.iVal, 0.0};
        return S_OK;
    case VT_I4:
        out = {true, v.lVal, 0.0};
        return S_OK;
    case VT_INT:
        out = {true, v.intVal, 0.0};
        return S_OK;
    case VT_BOOL:
        out = {true, v.boolVal != 0 ? -1 : 0, 0.0};
        return S_OK;
    case VT_R8:
        out = {false, 0, v.dblVal};
        return S_OK;
    case VT_BSTR: {
        double parsed = 0.0;
        if (!parseNumber(v.bstrVal, parsed))
            return DISP_E_TYPEMISMATCH;
        out = {false, 0, parsed};
        return S_OK;
    }
    default:
        return DISP_E_TYPEMISMATCH;
    }
}

// Integers of `bits` width; doubles are rounded half to even as Windows does.
HRESULT toInteger(const numberS& number, int bits, int64_t& out) {
    const int64_t maximum = (int64_t{1} << (bits - 1)) - 1;
    const int64_t minimum = -maximum - 1;
    if (number.isInteger) {
        out = number.integer;
    } else {
        if (!std::isfinite(number.real))
            return DISP_E_OVERFLOW;
        const double rounded = std::nearbyint(number.real);
        if (rounded < static_cast<double>(minimum) || rounded > static_cast<double>(maximum))
            return DISP_E_OVERFLOW;
        out = static_cast<int64_t>(rounded);
    }
    return out < minimum || out > maximum ? DISP_E_OVERFLOW : S_OK;
}

HRESULT toBool(const VARIANT& src, VARIANT_BOOL& out) {
    if (src.vt == VT_BSTR) {
        const std::u16string_view text = trimmed(textOf(src.bstrVal));
        if (equalsIgnoringCase(text, u"true")) {
            out = VARIANT_TRUE;
            return S_OK;
        }
        if (equalsIgnoringCase(text, u"false")) {
            out = VARIANT_FALSE;
            return S_OK;
        }
    }
    numberS number{};
    const HRESULT hr = numberOf(src, number);
    if (FAILED(hr))
        return hr;
    const bool set = number.isInteger ? number.integer != 0 : number.real != 0.0;
    out = set ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT toText(const VARIANT& src, USHORT flags, BSTR& out) {
    std::string text;
    switch (src.vt) {
    case VT_EMPTY:
        break;
    case VT_I2:
        text = std::to_string(src.iVal);
        break;
    case VT_I4:
        text = std::to_string(src.lVal);
        break;
    case VT_INT:
        text = std::to_string(src.intVal);
        break;
    case VT_BOOL:
        if ((flags & VARIANT_ALPHABOOL) != 0)
            text = src.boolVal != 0 ? "True" : "False";
        else
            text = src.boolVal != 0 ? "-1" : "0";
        break;
    case VT_R8: {
        // Up to 15 significant digits, as Windows formats doubles.
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.15G", src.dblVal);
        text = buffer;
        break;
    }
    default:
        return DISP_E_TYPEMISMATCH;
    }
    out = comBstrFromUtf8(text);
    return out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// Converts into `out` (raw storage); `src` is left alone.
HRESULT convert(const VARIANT& src, USHORT flags, VARTYPE vt, VARIANT& out) {
    if (src.vt == vt)
        return VariantCopy(&out, &src);
    if ((src.vt & (VT_ARRAY | VT_BYREF)) != 0 || (vt & (VT_ARRAY | VT_BYREF)) != 0)
        return DISP_E_TYPEMISMATCH;
    switch (vt) {
    case VT_EMPTY:
        return S_OK;
    case VT_BOOL: {
        VARIANT_BOOL value = VARIANT_FALSE;
        const HRESULT hr = toBool(src, value);
        if (SUCCEEDED(hr)) {
            out.vt = VT_BOOL;
            out.boolVal = value;
        }
        return hr;
    }
    case VT_I2:
    case VT_I4:
    case VT_INT: {
        numberS number{};
        HRESULT hr = numberOf(src, number);
        int64_t value = 0;
        if (SUCCEEDED(hr))
            hr = toInteger(number, vt == VT_I2 ? 16 : 32, value);
        if (FAILED(hr))
            return hr;
        out.vt = vt;
        if (vt == VT_I2)
            out.iVal = static_cast<int16_t>(value);
        else if (vt == VT_I4)
            out.lVal = static_cast<int32_t>(value);
        else
            out.intVal = static_cast<int32_t>(value);
        return S_OK;
    }
    case VT_R8: {
        numberS number{};
        const HRESULT hr = numberOf(src, number);
        if (FAILED(hr))
            return hr;
        out.vt = VT_R8;
        out.dblVal = number.isInteger ? static_cast<double>(number.integer) : number.real;
        return S_OK;
    }
    case VT_BSTR: {
        BSTR text = nullptr;
        const HRESULT hr = toText(src, flags, text);
        if (SUCCEEDED(hr)) {
            out.vt = VT_BSTR;
            out.bstrVal = text;
        }
        return hr;
    }
    case VT_UNKNOWN:
        if (src.vt != VT_DISPATCH)
            return DISP_E_TYPEMISMATCH;
        if (src.pdispVal != nullptr)
            src.pdispVal->AddRef();
        out.vt = VT_UNKNOWN;
        out.punkVal = src.pdispVal;
        return S_OK;
    case VT_DISPATCH: {
        if (src.vt != VT_UNKNOWN)
            return DISP_E_TYPEMISMATCH;
        void* found = nullptr;
        if (src.punkVal != nullptr) {
            const HRESULT hr = src.punkVal->QueryInterface(IID_IDispatch, &found);
            if (FAILED(hr))
                return hr;
        }
        out.vt = VT_DISPATCH;
        out.pdispVal = static_cast<IDispatch*>(found);
        return S_OK;
    }
    case VT_NULL:
    case VT_ERROR:
        return DISP_E_TYPEMISMATCH;
    default:
        return DISP_E_BADVARTYPE;
    }
}
} // namespace

void VariantInit(VARIANT* v) noexcept {
    if (v != nullptr) {
        v->vt = VT_EMPTY;
        v->dblVal = 0.0;
    }
}

HRESULT VariantClear(VARIANT* v) {
    if (v == nullptr)
        return E_INVALIDARG;
    if (!isValidType(v->vt))
        return DISP_E_BADVARTYPE;
    if ((v->vt & VT_BYREF) == 0) {
        if ((v->vt & VT_ARRAY) != 0) {
            const HRESULT hr = SafeArrayDestroy(v->parray);
            if (FAILED(hr))
                return hr;
        } else if (v->vt == VT_BSTR) {
            SysFreeString(v->bstrVal);
        } else if (v->vt == VT_DISPATCH || v->vt == VT_UNKNOWN) {
            if (IUnknown* object = interfaceOf(*v))
                object->Release();
        }
    }
    VariantInit(v);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* dst, const VARIANT* src) {
    if (dst == nullptr || src == nullptr)
        return E_INVALIDARG;
    if (dst == src)
        return S_OK;
    if (!isValidType(src->vt))
        return DISP_E_BADVARTYPE;
    VARIANT copy = *src;
    if ((src->vt & VT_BYREF) == 0) {
        if ((src->vt & VT_ARRAY) != 0) {
            const HRESULT hr = SafeArrayCopy(src->parray, &copy.parray);
            if (FAILED(hr))
                return hr;
        } else if (src->vt == VT_BSTR && src->bstrVal != nullptr) {
            copy.bstrVal = SysAllocStringLen(src->bstrVal, SysStringLen(src->bstrVal));
            if (copy.bstrVal == nullptr)
                return E_OUTOFMEMORY;
        } else if (src->vt == VT_DISPATCH || src->vt == VT_UNKNOWN) {
            if (IUnknown* object = interfaceOf(*src))
                object->AddRef();
        }
    }
    const HRESULT hr = VariantClear(dst);
    if (FAILED(hr)) {
        VariantClear(&copy);
        return hr;
    }
    *dst = copy;
    return S_OK;
}

HRESULT VariantChangeType(VARIANT* dst, const VARIANT* src, USHORT flags, VARTYPE vt) {
    if (dst == nullptr || src == nullptr)
        return E_INVALIDARG;
    if (!isValidType(src->vt))
        return DISP_E_BADVARTYPE;
    VARIANT converted;
    VariantInit(&converted);
    HRESULT hr = convert(*src, flags, vt, converted);
    if (FAILED(hr))
        return hr;
    hr = VariantClear(dst);
    if (FAILED(hr)) {
        VariantClear(&converted);
        return hr;
    }
    *dst = converted;
    return S_OK;
}
