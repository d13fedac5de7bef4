// What every wrapper does around its call: refuse a null interface pointer with E_POINTER and
// raise a failed HRESULT as _com_error carrying the interface's IID.
#pragma once

#include "platform/com/com.h"

template <class I> I* swapiRequired(I* object) {
    if (object == nullptr)
        _com_issue_errorex(E_POINTER, nullptr, uuidOf<I>());
    return object;
}

template <class I> void swapiCheck(HRESULT hr) {
    if (FAILED(hr))
        _com_issue_errorex(hr, nullptr, uuidOf<I>());
}

// The BSTR held by a _bstr_t, for an [in] argument (null for an empty string).
inline BSTR swapiBstr(const _bstr_t& text) {
    return const_cast<BSTR>(static_cast<const char16_t*>(text));
}
