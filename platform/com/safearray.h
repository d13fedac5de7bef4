// One-dimensional SAFEARRAY: creation with any lower bound, element types, lock count,
// element access with the ownership rules of Windows, resizing and copying.
#pragma once

#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/com/vartype.h"

struct SAFEARRAYBOUND {
    ULONG cElements;
    LONG lLbound;
};

// Windows keeps the element type and IID in front of the descriptor; here they are members.
struct SAFEARRAY {
    USHORT cDims;
    USHORT fFeatures;
    ULONG cbElements;
    ULONG cLocks;
    void* pvData;
    SAFEARRAYBOUND rgsabound[1];
    VARTYPE vt;
    IID iid;
};

inline constexpr USHORT FADF_AUTO = 0x1;
inline constexpr USHORT FADF_STATIC = 0x2;
inline constexpr USHORT FADF_EMBEDDED = 0x4;
inline constexpr USHORT FADF_FIXEDSIZE = 0x10;
inline constexpr USHORT FADF_HAVEIID = 0x40;
inline constexpr USHORT FADF_HAVEVARTYPE = 0x80;
inline constexpr USHORT FADF_BSTR = 0x100;
inline constexpr USHORT FADF_UNKNOWN = 0x200;
inline constexpr USHORT FADF_DISPATCH = 0x400;
inline constexpr USHORT FADF_VARIANT = 0x800;

// Element types: VT_R8, VT_I2, VT_I4, VT_INT, VT_BOOL, VT_BSTR, VT_DISPATCH, VT_UNKNOWN,
// VT_VARIANT. Only one dimension. Creation returns nullptr for another type, another
// dimension count, a size that does not fit, or a failed allocation. Elements start zeroed
// (null strings and pointers, VT_EMPTY variants).
SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, const SAFEARRAYBOUND* rgsabound);
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements);
// For VT_UNKNOWN / VT_DISPATCH, `pvExtra` points to the IID of the elements' interface
// (nullptr: IID_IUnknown / IID_IDispatch); ignored for other types.
SAFEARRAY* SafeArrayCreateEx(VARTYPE vt, UINT cDims, const SAFEARRAYBOUND* rgsabound,
                             const void* pvExtra);
// Releases string, interface and VARIANT elements; a null array is S_OK.
HRESULT SafeArrayDestroy(SAFEARRAY* psa);

UINT SafeArrayGetDim(const SAFEARRAY* psa) noexcept;
UINT SafeArrayGetElemsize(const SAFEARRAY* psa) noexcept;
HRESULT SafeArrayGetLBound(const SAFEARRAY* psa, UINT nDim, LONG* plLbound);
HRESULT SafeArrayGetUBound(const SAFEARRAY* psa, UINT nDim, LONG* plUbound);
HRESULT SafeArrayGetVartype(const SAFEARRAY* psa, VARTYPE* pvt);
HRESULT SafeArrayGetIID(const SAFEARRAY* psa, IID* piid);

HRESULT SafeArrayLock(SAFEARRAY* psa);
HRESULT SafeArrayUnlock(SAFEARRAY* psa);
HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData);
HRESULT SafeArrayUnaccessData(SAFEARRAY* psa);

// `rgIndices` points to one index, counted from the lower bound's value (not from 0).
// As on Windows, `pv` is the value itself for VT_BSTR, VT_DISPATCH and VT_UNKNOWN (a BSTR or
// an interface pointer) and a pointer to the value for every other type. Put stores a copy
// (string copied, interface AddRef'ed, VARIANT deep-copied) and frees what it replaces.
HRESULT SafeArrayPutElement(SAFEARRAY* psa, const LONG* rgIndices, void* pv);
// `pv` points to storage of the element type; it is overwritten, not freed, and receives the
// caller's own copy (a new BSTR, an AddRef'ed pointer, a deep-copied VARIANT).
HRESULT SafeArrayGetElement(SAFEARRAY* psa, const LONG* rgIndices, void* pv);

// New element count and lower bound; dropped elements are released, new ones zeroed.
HRESULT SafeArrayRedim(SAFEARRAY* psa, const SAFEARRAYBOUND* psaboundNew);
// Deep copy; a null source gives a null copy and S_OK.
HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut);
