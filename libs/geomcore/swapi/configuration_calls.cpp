#include "libs/geomcore/swapi/configuration_calls.h"

#include "libs/geomcore/swapi/call_support.h"

IDispatchPtr configMgrAddConfiguration(IConfigurationManager* configurationManager,
                                       const _bstr_t& name, const _bstr_t& comment,
                                       const _bstr_t& alternateName, long options,
                                       const _bstr_t& parent, const _bstr_t& description) {
    IDispatchPtr result;
    const HRESULT hr =
        swapiRequired(configurationManager)
            ->AddConfiguration(swapiBstr(name), swapiBstr(comment), swapiBstr(alternateName),
                               options, swapiBstr(parent), swapiBstr(description), &result);
    swapiCheck<IConfigurationManager>(hr);
    return result;
}

IDispatchPtr configManagerGetActiveConfiguration(IConfigurationManager* configurationManager) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(configurationManager)->GetActiveConfiguration(&result);
    swapiCheck<IConfigurationManager>(hr);
    return result;
}

_bstr_t configGetName(IConfiguration* configuration) {
    BSTR result = nullptr;
    const HRESULT hr = swapiRequired(configuration)->GetName(&result);
    _bstr_t owned(result, false);
    swapiCheck<IConfiguration>(hr);
    return owned;
}

_bstr_t configurationGetName(IConfiguration* configuration) {
    return configGetName(configuration);
}

IDispatchPtr configGetRootComponent(IConfiguration* configuration) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(configuration)->GetRootComponent(&result);
    swapiCheck<IConfiguration>(hr);
    return result;
}

long componentGetChildrenCount(IComponent* component) {
    long result = 0;
    const HRESULT hr = swapiRequired(component)->GetChildrenCount(&result);
    swapiCheck<IComponent>(hr);
    return result;
}

_variant_t componentGetChildren(IComponent* component) {
    _variant_t result;
    const HRESULT hr = swapiRequired(component)->GetChildren(result.GetAddress());
    swapiCheck<IComponent>(hr);
    return result;
}

IDispatchPtr componentGetModelDoc(IComponent* component) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(component)->GetModelDoc(&result);
    swapiCheck<IComponent>(hr);
    return result;
}

void componentSetState(IComponent* component, long state) {
    const HRESULT hr = swapiRequired(component)->SetState(state);
    swapiCheck<IComponent>(hr);
}

VARIANT_BOOL componentIsStateSet(IComponent* component) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(component)->IsStateSet(&result);
    swapiCheck<IComponent>(hr);
    return result;
}

void componentSetConfiguration(IComponent* component, const _bstr_t& name) {
    const HRESULT hr = swapiRequired(component)->SetConfiguration(swapiBstr(name));
    swapiCheck<IComponent>(hr);
}

_variant_t componentGetBodies(IComponent* component, long kind) {
    _variant_t result;
    const HRESULT hr = swapiRequired(component)->GetBodies(kind, result.GetAddress());
    swapiCheck<IComponent>(hr);
    return result;
}

long customPropertyManagerGetAll(ICustomPropertyManager* customPropertyManager, _variant_t& names,
                                 _variant_t& types, _variant_t& values) {
    _variant_t namesOut;
    _variant_t typesOut;
    _variant_t valuesOut;
    long result = 0;
    const HRESULT hr =
        swapiRequired(customPropertyManager)
            ->GetAll(namesOut.GetAddress(), typesOut.GetAddress(), valuesOut.GetAddress(), &result);
    swapiCheck<ICustomPropertyManager>(hr);
    names = std::move(namesOut);
    types = std::move(typesOut);
    values = std::move(valuesOut);
    return result;
}
