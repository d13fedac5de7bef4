// Thin call wrappers of the configuration interfaces: one function a method. A failed HRESULT is
// raised as _com_error with the interface's IID; a null interface pointer raises E_POINTER.
#pragma once

#include "platform/sldworks/api/sldworks_api.h"

// IConfigurationManager
IDispatchPtr configMgrAddConfiguration(IConfigurationManager* configurationManager,
                                       const _bstr_t& name, const _bstr_t& comment,
                                       const _bstr_t& alternateName, long options,
                                       const _bstr_t& parent, const _bstr_t& description);
IDispatchPtr configManagerGetActiveConfiguration(IConfigurationManager* configurationManager);

// IConfiguration
_bstr_t configGetName(IConfiguration* configuration);
_bstr_t configurationGetName(IConfiguration* configuration);
IDispatchPtr configGetRootComponent(IConfiguration* configuration);

// IComponent
long componentGetChildrenCount(IComponent* component);
_variant_t componentGetChildren(IComponent* component);
IDispatchPtr componentGetModelDoc(IComponent* component);
void componentSetState(IComponent* component, long state);
VARIANT_BOOL componentIsStateSet(IComponent* component);
void componentSetConfiguration(IComponent* component, const _bstr_t& name);
_variant_t componentGetBodies(IComponent* component, long kind);

// IComponentObject

// ICustomPropertyManager
long customPropertyManagerGetAll(ICustomPropertyManager* customPropertyManager, _variant_t& names,
                                 _variant_t& types, _variant_t& values);
