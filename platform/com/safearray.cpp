#include "platform/com/safearray.h"
#include "platform/com/bstr.h"
#include "platform/com/test_hooks.h"
#include "platform/com/unknown.h"
#include "platform/com/variant.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {
constexpr ULONG maxLocks = 0xFFFF;

// Size of one element, or 0 for a type an array cannot hold.
ULONG elementSize(VARTYPE vt) noexcept {
    switch (vt) {
    case VT_R8:
        return sizeof(double);
    case VT_I2:
        return sizeof(int16_t);
    case VT_I4:
    case VT_INT:
        return sizeof(int32_t);
    case VT_BOOL:
        return sizeof(VARIANT_BOOL);
    case VT_BSTR:
        return sizeof(BSTR);
    case VT_DISPATCH:
    case VT_UNKNOWN:
        return sizeof(IUnknown*);
    case VT_VARIANT:
        return sizeof(VARIANT);
    default:
        return 0;
    }
}

USHORT featuresOf(VARTYPE vt) noexcept {
    switch (vt) {
    case VT_BSTR:
        return FADF_HAVEVARTYPE | FADF_BSTR;
    case VT_VARIANT:
        return FADF_HAVEVARTYPE | FADF_VARIANT;
    case VT_UNKNOWN:
        return FADF_HAVEIID | FADF_UNKNOWN;
    case VT_DISPATCH:
        return FADF_HAVEIID | FADF_DISPATCH;
    default:
        return FADF_HAVEVARTYPE;
    }
}

// The bounds must leave the upper bound (lower + count - 1) representable.
bool boundFits(const SAFEARRAYBOUND& bound) noexcept {
    const int64_t upper = int64_t{bound.lLbound} + int64_t{bound.cElements} - 1;
    return upper <= std::numeric_limits<LONG>::max() &&
           upper >= int64_t{std::numeric_limits<LONG>::min()};
}

// The element in `slot` seen as IUnknown (VT_DISPATCH arrays hold IDispatch pointers).
IUnknown* interfaceIn(VARTYPE vt, const void* slot) noexcept {
    if (vt == VT_DISPATCH)
        return *static_cast<IDispatch* const*>(slot);
    return *static_cast<IUnknown* const*>(slot);
}

char* elementAt(const SAFEARRAY* psa, std::size_t offset) noexcept {
    return static_cast<char*>(psa->pvData) + offset * psa->cbElements;
}

// Frees what elements [from, to) own.
void releaseElements(SAFEARRAY* psa, std::size_t from, std::size_t to) noexcept {
    for (std::size_t i = from; i < to; ++i) {
        char* element = elementAt(psa, i);
        switch (psa->vt) {
        case VT_BSTR: {
            BSTR& text = *reinterpret_cast<BSTR*>(element);
            SysFreeString(text);
            text = nullptr;
            break;
        }
        case VT_DISPATCH:
        case VT_UNKNOWN: {
            IUnknown* old = interfaceIn(psa->vt, element);
            std::memset(element, 0, psa->cbElements);
            if (old != nullptr)
                old->Release();
            break;
        }
        case VT_VARIANT:
            VariantClear(reinterpret_cast<VARIANT*>(element));
            break;
        default:
            break;
        }
    }
}

// Copies one element into raw storage `dst` (which owns nothing yet).
HRESULT copyElement(VARTYPE vt, void* dst, const void* src, ULONG size) {
    switch (vt) {
    case VT_BSTR: {
        BSTR text = *static_cast<const BSTR*>(src);
        BSTR copy = nullptr;
        if (text != nullptr) {
            copy = SysAllocStringLen(text, SysStringLen(text));
            if (copy == nullptr)
                return E_OUTOFMEMORY;
        }
        *static_cast<BSTR*>(dst) = copy;
        return S_OK;
    }
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        IUnknown* object = interfaceIn(vt, src);
        if (object != nullptr)
            object->AddRef();
        std::memcpy(dst, src, size);
        return S_OK;
    }
    case VT_VARIANT:
        VariantInit(static_cast<VARIANT*>(dst));
        return VariantCopy(static_cast<VARIANT*>(dst), static_cast<const VARIANT*>(src));
    default:
        std::memcpy(dst, src, size);
        return S_OK;
    }
}

// Offset of the element at `index` (counted from the lower bound's value), false when outside.
bool offsetOf(const SAFEARRAY* psa, LONG index, std::size_t& offset) noexcept {
    const int64_t relative = int64_t{index} - int64_t{psa->rgsabound[0].lLbound};
    if (relative < 0 || relative >= int64_t{psa->rgsabound[0].cElements})
        return false;
    offset = static_cast<std::size_t>(relative);
    return true;
}

// Holds the array locked while an element is read or written, as Windows does, so that
// nothing destroys or resizes it meanwhile.
class lockScopeC {
public:
    explicit lockScopeC(SAFEARRAY* psa) : psa_(psa), hr_(SafeArrayLock(psa)) {}
    ~lockScopeC() {
        if (SUCCEEDED(hr_))
            SafeArrayUnlock(psa_);
    }
    lockScopeC(const lockScopeC&) = delete;
    lockScopeC& operator=(const lockScopeC&) = delete;
    HRESULT result() const { return hr_; }

private:
    SAFEARRAY* psa_;
    HRESULT hr_;
};
} // namespace

SAFEARRAY* SafeArrayCreateEx(VARTYPE vt, UINT cDims, const SAFEARRAYBOUND* rgsabound,
                             const void* pvExtra) {
    const ULONG size = elementSize(vt);
    if (size == 0 || cDims != 1 || rgsabound == nullptr || !boundFits(rgsabound[0]))
        return nullptr;
    const ULONG count = rgsabound[0].cElements;
    if (count > std::numeric_limits<std::size_t>::max() / size)
        return nullptr;
    if (comTestHooks::takeSafeArrayFailure())
        return nullptr;
    SAFEARRAY* psa = new (std::nothrow) SAFEARRAY{};
    if (psa == nullptr)
        return nullptr;
    if (count > 0) {
        psa->pvData = std::calloc(count, size);
        if (psa->pvData == nullptr) {
            delete psa;
            return nullptr;
        }
    }
    psa->cDims = 1;
    psa->fFeatures = featuresOf(vt);
    psa->cbElements = size;
    psa->rgsabound[0] = rgsabound[0];
    psa->vt = vt;
    if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
        if (pvExtra != nullptr)
            psa->iid = *static_cast<const IID*>(pvExtra);
        else
            psa->iid = vt == VT_UNKNOWN ? IID_IUnknown : IID_IDispatch;
    }
    return psa;
}

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, const SAFEARRAYBOUND* rgsabound) {
    return SafeArrayCreateEx(vt, cDims, rgsabound, nullptr);
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements) {
    const SAFEARRAYBOUND bound{cElements, lLbound};
    return SafeArrayCreateEx(vt, 1, &bound, nullptr);
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa) {
    if (psa == nullptr)
        return S_OK;
    if (std::atomic_ref<ULONG>(psa->cLocks).load() > 0)
        return DISP_E_ARRAYISLOCKED;
    if (psa->pvData != nullptr)
        releaseElements(psa, 0, psa->rgsabound[0].cElements);
    std::free(psa->pvData);
    delete psa;
    return S_OK;
}

UINT SafeArrayGetDim(const SAFEARRAY* psa) noexcept {
    return psa != nullptr ? psa->cDims : 0;
}

UINT SafeArrayGetElemsize(const SAFEARRAY* psa) noexcept {
    return psa != nullptr ? psa->cbElements : 0;
}

HRESULT SafeArrayGetLBound(const SAFEARRAY* psa, UINT nDim, LONG* plLbound) {
    if (psa == nullptr || plLbound == nullptr)
        return E_INVALIDARG;
    if (nDim != 1)
        return DISP_E_BADINDEX;
    *plLbound = psa->rgsabound[0].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(const SAFEARRAY* psa, UINT nDim, LONG* plUbound) {
    if (psa == nullptr || plUbound == nullptr)
        return E_INVALIDARG;
    if (nDim != 1)
        return DISP_E_BADINDEX;
    *plUbound = static_cast<LONG>(int64_t{psa->rgsabound[0].lLbound} +
                                  int64_t{psa->rgsabound[0].cElements} - 1);
    return S_OK;
}

HRESULT SafeArrayGetVartype(const SAFEARRAY* psa, VARTYPE* pvt) {
    if (psa == nullptr || pvt == nullptr)
        return E_INVALIDARG;
    *pvt = psa->vt;
    return S_OK;
}

HRESULT SafeArrayGetIID(const SAFEARRAY* psa, IID* piid) {
    if (psa == nullptr || piid == nullptr || (psa->fFeatures & FADF_HAVEIID) == 0)
        return E_INVALIDARG;
    *piid = psa->iid;
    return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* psa) {
    if (psa == nullptr)
        return E_INVALIDARG;
    std::atomic_ref<ULONG> locks(psa->cLocks);
    ULONG current = locks.load();
    do {
        if (current >= maxLocks)
            return E_UNEXPECTED;
    } while (!locks.compare_exchange_weak(current, current + 1));
    return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* psa) {
    if (psa == nullptr)
        return E_INVALIDARG;
    std::atomic_ref<ULONG> locks(psa->cLocks);
    ULONG current = locks.load();
    do {
        if (current == 0)
            return E_UNEXPECTED;
    } while (!locks.compare_exchange_weak(current, current - 1));
    return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData) {
    if (psa == nullptr || ppvData == nullptr)
        return E_INVALIDARG;
    const HRESULT hr = SafeArrayLock(psa);
    if (FAILED(hr))
        return hr;
    *ppvData = psa->pvData;
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* psa) {
    return SafeArrayUnlock(psa);
}

HRESULT SafeArrayPutElement(SAFEARRAY* psa, const LONG* rgIndices, void* pv) {
    if (psa == nullptr || rgIndices == nullptr)
        return E_INVALIDARG;
    const bool byValue = psa->vt == VT_BSTR || psa->vt == VT_DISPATCH || psa->vt == VT_UNKNOWN;
    if (!byValue && pv == nullptr)
        return E_INVALIDARG;
    std::size_t offset = 0;
    if (!offsetOf(psa, rgIndices[0], offset))
        return DISP_E_BADINDEX;
    lockScopeC lock(psa);
    if (FAILED(lock.result()))
        return lock.result();
    char* element = elementAt(psa, offset);
    switch (psa->vt) {
    case VT_BSTR: {
        BSTR given = static_cast<BSTR>(pv);
        BSTR copy = nullptr;
        if (given != nullptr) {
            copy = SysAllocStringLen(given, SysStringLen(given));
            if (copy == nullptr)
                return E_OUTOFMEMORY;
        }
        BSTR& slot = *reinterpret_cast<BSTR*>(element);
        SysFreeString(slot);
        slot = copy;
        return S_OK;
    }
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        // `pv` is a pointer of the array's interface type, stored as given.
        IUnknown* given =
            psa->vt == VT_DISPATCH ? static_cast<IDispatch*>(pv) : static_cast<IUnknown*>(pv);
        if (given != nullptr)
            given->AddRef();
        IUnknown* old = interfaceIn(psa->vt, element);
        std::memcpy(element, &pv, sizeof pv);
        if (old != nullptr)
            old->Release();
        return S_OK;
    }
    case VT_VARIANT:
        return VariantCopy(reinterpret_cast<VARIANT*>(element), static_cast<const VARIANT*>(pv));
    default:
        std::memcpy(element, pv, psa->cbElements);
        return S_OK;
    }
}

HRESULT SafeArrayGetElement(SAFEARRAY* psa, const LONG* rgIndices, void* pv) {
    if (psa == nullptr || rgIndices == nullptr || pv == nullptr)
        return E_INVALIDARG;
    std::size_t offset = 0;
    if (!offsetOf(psa, rgIndices[0], offset))
        return DISP_E_BADINDEX;
    lockScopeC lock(psa);
    if (FAILED(lock.result()))
        return lock.result();
    return copyElement(psa->vt, pv, elementAt(psa, offset), psa->cbElements);
}

HRESULT SafeArrayRedim(SAFEARRAY* psa, const SAFEARRAYBOUND* psaboundNew) {
    if (psa == nullptr || psaboundNew == nullptr || !boundFits(*psaboundNew))
        return E_INVALIDARG;
    if (std::atomic_ref<ULONG>(psa->cLocks).load() > 0)
        return DISP_E_ARRAYISLOCKED;
    if ((psa->fFeatures & FADF_FIXEDSIZE) != 0)
        return E_INVALIDARG;
    const std::size_t oldCount = psa->rgsabound[0].cElements;
    const std::size_t newCount = psaboundNew->cElements;
    if (newCount > std::numeric_limits<std::size_t>::max() / psa->cbElements)
        return E_OUTOFMEMORY;
    if (newCount > oldCount) {
        void* grown = std::realloc(psa->pvData, newCount * psa->cbElements);
        if (grown == nullptr)
            return E_OUTOFMEMORY;
        psa->pvData = grown;
        std::memset(elementAt(psa, oldCount), 0, (newCount - oldCount) * psa->cbElements);
    } else if (newCount < oldCount) {
        releaseElements(psa, newCount, oldCount);
        if (newCount == 0) {
            std::free(psa->pvData);
            psa->pvData = nullptr;
        } else if (void* shrunk = std::realloc(psa->pvData, newCount * psa->cbElements)) {
            psa->pvData = shrunk; // a failed shrink keeps the larger block, which still fits
        }
    }
    psa->rgsabound[0] = *psaboundNew;
    return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut) {
    if (ppsaOut == nullptr)
        return E_INVALIDARG;
    *ppsaOut = nullptr;
    if (psa == nullptr)
        return S_OK;
    const IID iid = psa->iid;
    SAFEARRAY* copy = SafeArrayCreateEx(psa->vt, 1, psa->rgsabound, &iid);
    if (copy == nullptr)
        return E_OUTOFMEMORY;
    // Keep the caller-visible flags; the storage flags describe the source's memory only.
    copy->fFeatures = psa->fFeatures & ~(FADF_AUTO | FADF_STATIC | FADF_EMBEDDED);
    for (std::size_t i = 0; i < psa->rgsabound[0].cElements; ++i) {
        const HRESULT hr =
            copyElement(psa->vt, elementAt(copy, i), elementAt(psa, i), psa->cbElements);
        if (FAILED(hr)) {
            SafeArrayDestroy(copy);
            return hr;
        }
    }
    *ppsaOut = copy;
    return S_OK;
}
