// Configurations, assembly components and custom properties.
// COM style: every method returns an HRESULT and gives its results through out-parameters;
// VARIANT_BOOL true is -1, object arrays are VARIANTs of VT_ARRAY|VT_DISPATCH, point answers
// VARIANTs of VT_ARRAY|VT_R8.
#pragma once

#include "platform/com/com.h"
#include "platform/sldworks/api/interfaces_fwd.h"

// Configuration manager.
struct IConfigurationManager : IDispatch {
    virtual HRESULT AddConfiguration(BSTR name, BSTR comment, BSTR alternateName, long options,
                                     BSTR parent, BSTR description, IDispatch** configuration) = 0;
    virtual HRESULT GetActiveConfiguration(IDispatch** configuration) = 0;
};
COM_DECLARE_IID(IConfigurationManager, "{8DB64337-F36E-47CC-BBBC-B4B979D31505}");
typedef _com_ptr_t<IConfigurationManager> IConfigurationManagerPtr;

// Configuration.
struct IConfiguration : IDispatch {
    virtual HRESULT GetName(BSTR* name) = 0;
    virtual HRESULT GetRootComponent(IDispatch** component) = 0;
};
COM_DECLARE_IID(IConfiguration, "{83A33D98-27C5-11CE-BFD4-00400513BB57}");
typedef _com_ptr_t<IConfiguration> IConfigurationPtr;

// Assembly component.
struct IComponent : IDispatch {
    virtual HRESULT GetChildrenCount(long* count) = 0;
    virtual HRESULT GetChildren(VARIANT* children) = 0;
    virtual HRESULT GetModelDoc(IDispatch** doc) = 0;
    // 0 suppressed, 2 resolved.
    virtual HRESULT SetState(long state) = 0;
    virtual HRESULT IsStateSet(VARIANT_BOOL* result) = 0;
    virtual HRESULT SetConfiguration(BSTR name) = 0;
    virtual HRESULT GetBodies(long kind, VARIANT* bodies) = 0;
};
COM_DECLARE_IID(IComponent, "{655D6F2A-5441-45D1-8CBA-D35FB26988E4}");
typedef _com_ptr_t<IComponent> IComponentPtr;

// Assembly component (older interface).
struct IComponentObject : IDispatch {
    // Same as IComponent::GetModelDoc.
    virtual HRESULT GetModelDoc(IDispatch** doc) = 0;
    // The file the component refers to, also when it could not be loaded.
    virtual HRESULT GetPathName(BSTR* path) = 0;
};
COM_DECLARE_IID(IComponentObject, "{83A33D9A-27C5-11CE-BFD4-00400513BB57}");
typedef _com_ptr_t<IComponentObject> IComponentObjectPtr;

// Custom properties.
struct ICustomPropertyManager : IDispatch {
    // Count negative when none.
    virtual HRESULT GetAll(VARIANT* names, VARIANT* types, VARIANT* values, long* count) = 0;
};
COM_DECLARE_IID(ICustomPropertyManager, "{F1938D94-0D1F-4E88-9874-164B1E6568F1}");
typedef _com_ptr_t<ICustomPropertyManager> ICustomPropertyManagerPtr;
