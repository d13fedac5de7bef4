// Thin call wrappers of the selection interfaces: one function a method. A failed HRESULT is
// raised as _com_error with the interface's IID; a null interface pointer raises E_POINTER.
#pragma once

#include "platform/sldworks/api/sldworks_api.h"

// ISelectionManager
IDispatchPtr selMgrCreateSelectionData(ISelectionManager* selectionManager);
IDispatchPtr selMgrGetSelectedObject(ISelectionManager* selectionManager, long index);

// ISelectionData
void selDataSetX(ISelectionData* selectionData, double value);
void selDataSetY(ISelectionData* selectionData, double value);
void selDataSetZ(ISelectionData* selectionData, double value);
