// HRESULT, its success tests, the codes the system uses, and the Windows integer names
// that the COM types are declared with.
#pragma once

#include <cstdint>

typedef int32_t HRESULT;
typedef uint32_t ULONG;
typedef int32_t LONG;
typedef uint16_t USHORT;
typedef unsigned int UINT;
typedef uint16_t VARTYPE;
typedef int32_t DISPID;
typedef int32_t SCODE;

#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)

// Failure codes have the top bit set; written as unsigned hex and narrowed so they read
// as on Windows.
#define NATLINK_HRESULT(code) static_cast<HRESULT>(static_cast<uint32_t>(code))

#define S_OK NATLINK_HRESULT(0x00000000u)
#define S_FALSE NATLINK_HRESULT(0x00000001u)
#define E_NOTIMPL NATLINK_HRESULT(0x80004001u)
#define E_NOINTERFACE NATLINK_HRESULT(0x80004002u)
#define E_POINTER NATLINK_HRESULT(0x80004003u)
#define E_FAIL NATLINK_HRESULT(0x80004005u)
#define E_UNEXPECTED NATLINK_HRESULT(0x8000FFFFu)
#define E_OUTOFMEMORY NATLINK_HRESULT(0x8007000Eu)
#define E_INVALIDARG NATLINK_HRESULT(0x80070057u)
#define DISP_E_MEMBERNOTFOUND NATLINK_HRESULT(0x80020003u)
#define DISP_E_TYPEMISMATCH NATLINK_HRESULT(0x80020005u)
#define DISP_E_UNKNOWNNAME NATLINK_HRESULT(0x80020006u)
#define DISP_E_BADVARTYPE NATLINK_HRESULT(0x80020008u)
#define DISP_E_OVERFLOW NATLINK_HRESULT(0x8002000Au)
#define DISP_E_BADINDEX NATLINK_HRESULT(0x8002000Bu)
#define DISP_E_ARRAYISLOCKED NATLINK_HRESULT(0x8002000Du)
