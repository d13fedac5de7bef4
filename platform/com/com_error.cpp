#include "platform/com/com_error.h"

#include <cstdio>

_com_error::_com_error(HRESULT hr, const ::GUID& iid) noexcept : hr_(hr), iid_(iid) {
    const char* name = comHresultName(hr);
    std::snprintf(message_, sizeof message_, "0x%08X %s",
                  static_cast<unsigned>(static_cast<uint32_t>(hr)),
                  name != nullptr ? name : "Unknown error");
}

const char* comHresultName(HRESULT hr) noexcept {
    struct entryS {
        HRESULT hr;
        const char* name;
    };
    static constexpr entryS names[] = {
        {S_OK, "S_OK"},
        {S_FALSE, "S_FALSE"},
        {E_NOTIMPL, "E_NOTIMPL"},
        {E_NOINTERFACE, "E_NOINTERFACE"},
        {E_POINTER, "E_POINTER"},
        {E_FAIL, "E_FAIL"},
        {E_UNEXPECTED, "E_UNEXPECTED"},
        {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
        {E_INVALIDARG, "E_INVALIDARG"},
        {DISP_E_MEMBERNOTFOUND, "DISP_E_MEMBERNOTFOUND"},
        {DISP_E_TYPEMISMATCH, "DISP_E_TYPEMISMATCH"},
        {DISP_E_UNKNOWNNAME, "DISP_E_UNKNOWNNAME"},
        {DISP_E_BADVARTYPE, "DISP_E_BADVARTYPE"},
        {DISP_E_OVERFLOW, "DISP_E_OVERFLOW"},
        {DISP_E_BADINDEX, "DISP_E_BADINDEX"},
        {DISP_E_ARRAYISLOCKED, "DISP_E_ARRAYISLOCKED"},
    };
    for (const entryS& entry : names)
        if (entry.hr == hr)
            return entry.name;
    return nullptr;
}

void _com_issue_error(HRESULT hr) {
    throw _com_error(hr);
}

void _com_issue_errorex(HRESULT hr, IUnknown*, REFIID iid) {
    throw _com_error(hr, iid);
}
