// Calls of the native check-in that are not one interface method each: a session document
// fetched by path, and the document of a component reached through the older component
// interface.
#pragma once

#include "platform/sldworks/api/sldworks_api.h"

// The open document whose path name equals `path` exactly. A document that is not open (or a
// failed walk) raises E_POINTER with IModelDoc2's IID, so a member the session cannot give
// ends the check-in as a missing object does.
IModelDoc2Ptr getSessionDocument(ISldWorks* app, const _bstr_t& path);

// The component's document through the older component interface; empty when the component
// has none.
IDispatchPtr componentGetModelDoc(IComponentObject* component);
// The file the component refers to, also when it has no document.
_bstr_t componentGetPathName(IComponentObject* component);
