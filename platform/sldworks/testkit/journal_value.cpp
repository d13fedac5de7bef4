#include "platform/sldworks/testkit/journal_value.h"

#include <charconv>
#include <string_view>

std::string journalValue(int value) {
    return std::to_string(value);
}

std::string journalValue(long value) {
    return std::to_string(value);
}

std::string journalValue(short value) {
    return std::to_string(value);
}

std::string journalValue(double value) {
    char buffer[64];
    const auto done = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, done.ptr);
}

std::string journalValue(const char16_t* text) {
    return "\"" +
           comUtf16ToUtf8(text != nullptr ? std::u16string_view(text) : std::u16string_view()) +
           "\"";
}

std::string journalValue(const IUnknown* object) {
    return object != nullptr ? "object" : "null";
}

std::string journalValue(const BSTR* names) {
    return names != nullptr ? "names" : "null";
}

std::string journalValue(const LONG* items) {
    return items != nullptr ? "items" : "null";
}

namespace {
std::string arrayText(SAFEARRAY* array) {
    if (array == nullptr)
        return "null array";
    LONG lower = 0;
    LONG upper = -1;
    VARTYPE vt = VT_EMPTY;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    SafeArrayGetVartype(array, &vt);
    std::string text = "[";
    if (lower != 0)
        text += "lb=" + std::to_string(lower) + ": ";
    for (LONG i = lower; i <= upper; ++i) {
        if (i != lower)
            text += ", ";
        VARIANT element;
        VariantInit(&element);
        if (vt == VT_VARIANT) {
            SafeArrayGetElement(array, &i, &element);
        } else {
            // Every element type's value sits at the start of the VARIANT's union.
            element.vt = vt == VT_INT ? VT_I4 : vt;
            SafeArrayGetElement(array, &i, &element.lVal);
        }
        text += journalValue(element);
        VariantClear(&element);
    }
    return text + "]";
}
} // namespace

std::string journalValue(const VARIANT& value) {
    if ((value.vt & VT_ARRAY) != 0)
        return arrayText(value.parray);
    switch (value.vt) {
    case VT_EMPTY:
        return "empty";
    case VT_NULL:
        return "null";
    case VT_I2:
        return journalValue(static_cast<short>(value.iVal));
    case VT_BOOL:
        return journalValue(static_cast<short>(value.boolVal));
    case VT_I4:
    case VT_INT:
        return journalValue(static_cast<int>(value.lVal));
    case VT_R8:
        return journalValue(value.dblVal);
    case VT_BSTR:
        return journalValue(static_cast<const char16_t*>(value.bstrVal));
    case VT_DISPATCH:
        return journalValue(static_cast<const IUnknown*>(value.pdispVal));
    case VT_UNKNOWN:
        return journalValue(static_cast<const IUnknown*>(value.punkVal));
    default:
        return "vt=" + std::to_string(value.vt);
    }
}
