// The selection manager and selection data.
// COM style: every method returns an HRESULT and gives its results through out-parameters;
// VARIANT_BOOL true is -1, object arrays are VARIANTs of VT_ARRAY|VT_DISPATCH, point answers
// VARIANTs of VT_ARRAY|VT_R8.
#pragma once

#include "platform/com/com.h"
#include "platform/sldworks/api/interfaces_fwd.h"

// Selection manager.
struct ISelectionManager : IDispatch {
    virtual HRESULT CreateSelectionData(IDispatch** data) = 0;
    // 1 = first.
    virtual HRESULT GetSelectedObject(long index, IDispatch** object) = 0;
};
COM_DECLARE_IID(ISelectionManager, "{83A33D59-27C5-11CE-BFD4-00400513BB57}");
typedef _com_ptr_t<ISelectionManager> ISelectionManagerPtr;

// Selection data (pick point).
struct ISelectionData : IDispatch {
    virtual HRESULT SetX(double value) = 0;
    virtual HRESULT SetY(double value) = 0;
    virtual HRESULT SetZ(double value) = 0;
};
COM_DECLARE_IID(ISelectionData, "{4E0B2B4A-5C1D-4F7E-9A21-6D0C3E8F1A06}");
typedef _com_ptr_t<ISelectionData> ISelectionDataPtr;
