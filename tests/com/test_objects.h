// Test interfaces and a counting COM object for the COM support tests.
#pragma once

#include "platform/com/com.h"

struct ITestShape : IDispatch {
    virtual HRESULT GetSize(double* size) = 0;
};
struct ITestNamed : IUnknown {
    virtual HRESULT GetName(BSTR* name) = 0;
};
struct ITestMissing : IUnknown {};

COM_DECLARE_IID(ITestShape, "{0E3B1F10-1111-4A2B-9C3D-000000000001}");
COM_DECLARE_IID(ITestNamed, "{0E3B1F10-1111-4A2B-9C3D-000000000002}");
COM_DECLARE_IID(ITestMissing, "{0E3B1F10-1111-4A2B-9C3D-000000000003}");

// A second, older IID that the object answers with its ITestShape interface.
inline constexpr IID IID_ITestShapeOld = guidFromLiteral("{0E3B1F10-1111-4A2B-9C3D-0000000000AA}");

typedef _com_ptr_t<ITestShape> ITestShapePtr;
typedef _com_ptr_t<ITestNamed> ITestNamedPtr;
typedef _com_ptr_t<ITestMissing> ITestMissingPtr;

// Counts its destruction in `*destroyed`; `queryFailure` (when not S_OK) is what every
// QueryInterface for ITestNamed answers instead of the interface.
class testObjectC : public comObjectT<testObjectC, ITestShape, ITestNamed> {
public:
    explicit testObjectC(int* destroyed = nullptr, double size = 1.0)
        : destroyed_(destroyed), size_(size) {
        answerIid<ITestShape>(IID_ITestShapeOld);
    }
    ~testObjectC() override {
        if (destroyed_ != nullptr)
            ++*destroyed_;
    }

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (queryFailure != S_OK && iid == uuidOf<ITestNamed>()) {
            if (object != nullptr)
                *object = nullptr;
            return queryFailure;
        }
        return comObjectT::QueryInterface(iid, object);
    }

    HRESULT GetSize(double* size) override {
        if (size == nullptr)
            return E_POINTER;
        *size = size_;
        return S_OK;
    }
    HRESULT GetName(BSTR* name) override {
        if (name == nullptr)
            return E_POINTER;
        *name = SysAllocString(u"shape");
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    // Reference count as seen after one AddRef/Release pair.
    ULONG refs() {
        AddRef();
        return Release();
    }

    HRESULT queryFailure = S_OK;

private:
    int* destroyed_;
    double size_;
};
