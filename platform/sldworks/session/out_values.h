// How the session treats the out-parameters of its methods in one place: emptying them,
// writing them into the journal, and answering them from the fault plan.
#pragma once

#include "platform/sldworks/api/sldworks_api.h"
#include "platform/sldworks/testkit/fault_plan.h"
#include "platform/sldworks/testkit/journal_value.h"

#include <string>
#include <type_traits>

namespace sessionOut {

inline void reset(BSTR* out) {
    SysFreeString(*out);
    *out = nullptr;
}
inline void reset(VARIANT* out) {
    VariantClear(out);
}
inline void reset(VARIANT_BOOL* out) {
    *out = VARIANT_FALSE;
}
inline void reset(long* out) {
    *out = 0;
}
inline void reset(double* out) {
    *out = 0.0;
}
template <class I> void reset(I** out) {
    static_assert(std::is_base_of_v<IUnknown, I>);
    if (*out != nullptr)
        (*out)->Release();
    *out = nullptr;
}

// Out-parameters arrive uninitialised from COM callers: the first write must not free.
inline void init(BSTR* out) {
    *out = nullptr;
}
inline void init(VARIANT* out) {
    VariantInit(out);
}
template <class T> void init(T* out) {
    *out = T{};
}

inline std::string describe(BSTR* out) {
    return journalValue(static_cast<const char16_t*>(*out));
}
inline std::string describe(VARIANT* out) {
    return journalValue(*out);
}
inline std::string describe(VARIANT_BOOL* out) {
    return journalValue(static_cast<short>(*out));
}
inline std::string describe(long* out) {
    return journalValue(*out);
}
inline std::string describe(double* out) {
    return journalValue(*out);
}
template <class I> std::string describe(I** out) {
    return journalValue(static_cast<const IUnknown*>(*out));
}

// The scripted value as the out-parameter's type; a value that does not convert fails the
// call with the conversion's HRESULT.
HRESULT script(const _variant_t& value, BSTR* out);
HRESULT script(const _variant_t& value, VARIANT* out);
HRESULT script(const _variant_t& value, VARIANT_BOOL* out);
HRESULT script(const _variant_t& value, long* out);
HRESULT script(const _variant_t& value, double* out);
HRESULT scriptObject(const _variant_t& value, REFIID iid, void** out);
template <class I> HRESULT script(const _variant_t& value, I** out) {
    return scriptObject(value, uuidOf<I>(), reinterpret_cast<void**>(out));
}

// Spoils an array answer as the plan says; answers that are not arrays stay as they are
// (except for noArray, which empties any answer).
HRESULT malform(malformedArrayE how, VARIANT* out);
template <class T> HRESULT malform(malformedArrayE, T*) {
    return S_OK;
}

} // namespace sessionOut
