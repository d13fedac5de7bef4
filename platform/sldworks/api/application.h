// The application object: documents and user preferences.
// COM style: every method returns an HRESULT and gives its results through out-parameters;
// VARIANT_BOOL true is -1, object arrays are VARIANTs of VT_ARRAY|VT_DISPATCH, point answers
// VARIANTs of VT_ARRAY|VT_R8.
#pragma once

#include "platform/com/com.h"
#include "platform/sldworks/api/interfaces_fwd.h"

// The application: documents, user preferences.
struct ISldWorks : IDispatch {
    // A new part document from the default part template.
    virtual HRESULT NewPart(IDispatch** doc) = 0;
    // A new, empty assembly document.
    virtual HRESULT NewAssembly(IDispatch** doc) = 0;
    // User-preference toggle.
    virtual HRESULT GetToggle(long id, VARIANT_BOOL* value) = 0;
    // User-preference toggle.
    virtual HRESULT SetToggle(long id, VARIANT_BOOL value) = 0;
    // Integer user preference.
    virtual HRESULT GetIntegerSetting(long id, long* value) = 0;
    // Integer user preference.
    virtual HRESULT SetIntegerSetting(long id, long value, VARIANT_BOOL* done) = 0;
    // First open document.
    virtual HRESULT GetFirstDocument(IDispatch** doc) = 0;
    // Opens a document file.
    virtual HRESULT OpenDocument(BSTR path, long type, long options, BSTR configuration,
                                 long* errors, long* warnings, IModelDoc2** doc) = 0;
    // Closes the open document of that path.
    virtual HRESULT CloseDocument(BSTR path) = 0;
    // Import data object for a foreign file.
    virtual HRESULT GetImportData(BSTR path, IDispatch** data) = 0;
    // Loads a foreign file into the active part.
    virtual HRESULT LoadFile(BSTR path, BSTR arguments, IDispatch* data, long* error,
                             IDispatch** doc) = 0;
    // Slot 9: loads a document by path.
    virtual HRESULT PreloadDocument(BSTR path, long type, IDispatch** doc) = 0;
    // The last messages the application issued (texts, resource ids, message-box types), oldest
    // first, and their number; the list is empty afterwards.
    virtual HRESULT GetErrorMessages(VARIANT* messages, VARIANT* ids, VARIANT* types,
                                     long* count) = 0;
};
COM_DECLARE_IID(ISldWorks, "{4E0B2B4A-5C1D-4F7E-9A21-6D0C3E8F1A01}");
typedef _com_ptr_t<ISldWorks> ISldWorksPtr;
