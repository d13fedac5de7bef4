// Thin call wrappers of the application interfaces: one function a method. A failed HRESULT is
// raised as _com_error with the interface's IID; a null interface pointer raises E_POINTER.
#pragma once

#include "platform/sldworks/api/sldworks_api.h"

// ISldWorks
IDispatchPtr sldWorksNewPart(ISldWorks* app);
IDispatchPtr sldWorksNewAssembly(ISldWorks* app);
VARIANT_BOOL sldWorksGetUserToggle(ISldWorks* app, long id);
VARIANT_BOOL sldWorksGetToggle(ISldWorks* app, long id);
void sldWorksSetUserToggle(ISldWorks* app, long id, VARIANT_BOOL value);
void sldWorksSetToggle(ISldWorks* app, long id, VARIANT_BOOL value);
long sldWorksGetUserInt(ISldWorks* app, long id);
long sldWorksGetIntegerSetting(ISldWorks* app, long id);
VARIANT_BOOL sldWorksSetUserInt(ISldWorks* app, long id, long value);
VARIANT_BOOL sldWorksSetIntegerSetting(ISldWorks* app, long id, long value);
IDispatchPtr sldWorksGetFirstDocument(ISldWorks* app);
IModelDoc2Ptr sldWorksOpenDocument(ISldWorks* app, const _bstr_t& path, long type, long options,
                                   const _bstr_t& configuration, long& errors, long& warnings);
void sldWorksCloseDocument(ISldWorks* app, const _bstr_t& path);
IDispatchPtr sldWorksImportDataFor(ISldWorks* app, const _bstr_t& path);
IDispatchPtr sldWorksLoadFileWithData(ISldWorks* app, const _bstr_t& path, const _bstr_t& arguments,
                                      IDispatch* data, long& error);
IDispatchPtr sldWorksCallSlot9(ISldWorks* app, const _bstr_t& path, long type);
long sldWorksGetErrorMessages(ISldWorks* app, _variant_t& messages, _variant_t& ids,
                              _variant_t& types);
