// _com_error: the exception for a failing HRESULT, with the IID of the interface whose call
// failed; _com_issue_error / _com_issue_errorex raise it.
#pragma once

#include "platform/com/guid.h"
#include "platform/com/hresult.h"

#include <exception>

struct IUnknown;

class _com_error : public std::exception {
public:
    explicit _com_error(HRESULT hr, const ::GUID& iid = GUID_NULL) noexcept;

    HRESULT Error() const noexcept { return hr_; }
    // The IID of the interface that reported the failure (GUID_NULL when none).
    const ::GUID& Iid() const noexcept { return iid_; }
    ::GUID GUID() const noexcept { return iid_; }
    // "0x80004003 E_POINTER"; unknown codes read "0x8000ABCD Unknown error".
    const char* ErrorMessage() const noexcept { return message_; }
    const char* what() const noexcept override { return message_; }

private:
    HRESULT hr_;
    ::GUID iid_;
    // Fixed storage keeps copying the exception free of allocation and failure.
    char message_[48];
};

// The symbolic name of a code ("E_POINTER"), or nullptr when it is not one of ours.
const char* comHresultName(HRESULT hr) noexcept;

[[noreturn]] void _com_issue_error(HRESULT hr);
// The object is not consulted for error details; only the IID is kept.
[[noreturn]] void _com_issue_errorex(HRESULT hr, IUnknown* object, REFIID iid);
