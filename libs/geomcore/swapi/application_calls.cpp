#include "libs/geomcore/swapi/application_calls.h"

#include "libs/geomcore/swapi/call_support.h"

IDispatchPtr sldWorksNewPart(ISldWorks* app) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(app)->NewPart(&result);
    swapiCheck<ISldWorks>(hr);
    return result;
}

IDispatchPtr sldWorksNewAssembly(ISldWorks* app) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(app)->NewAssembly(&result);
    swapiCheck<ISldWorks>(hr);
    return result;
}

VARIANT_BOOL sldWorksGetUserToggle(ISldWorks* app, long id) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(app)->GetToggle(id, &result);
    swapiCheck<ISldWorks>(hr);
    return result;
}

VARIANT_BOOL sldWorksGetToggle(ISldWorks* app, long id) {
    return sldWorksGetUserToggle(app, id);
}

void sldWorksSetUserToggle(ISldWorks* app, long id, VARIANT_BOOL value) {
    const HRESULT hr = swapiRequired(app)->SetToggle(id, value);
    swapiCheck<ISldWorks>(hr);
}

void sldWorksSetToggle(ISldWorks* app, long id, VARIANT_BOOL value) {
    return sldWorksSetUserToggle(app, id, value);
}

long sldWorksGetUserInt(ISldWorks* app, long id) {
    long result = 0;
    const HRESULT hr = swapiRequired(app)->GetIntegerSetting(id, &result);
    swapiCheck<ISldWorks>(hr);
    return result;
}

long sldWorksGetIntegerSetting(ISldWorks* app, long id) {
    return sldWorksGetUserInt(app, id);
}

VARIANT_BOOL sldWorksSetUserInt(ISldWorks* app, long id, long value) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(app)->SetIntegerSetting(id, value, &result);
    swapiCheck<ISldWorks>(hr);
    return result;
}

VARIANT_BOOL sldWorksSetIntegerSetting(ISldWorks* app, long id, long value) {
    return sldWorksSetUserInt(app, id, value);
}

IDispatchPtr sldWorksGetFirstDocument(ISldWorks* app) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(app)->GetFirstDocument(&result);
    swapiCheck<ISldWorks>(hr);
    return result;
}

IModelDoc2Ptr sldWorksOpenDocument(ISldWorks* app, const _bstr_t& path, long type, long options,
                                   const _bstr_t& configuration, long& errors, long& warnings) {
    long errorsOut = 0;
    long warningsOut = 0;
    IModelDoc2Ptr result;
    const HRESULT hr =
        swapiRequired(app)->OpenDocument(swapiBstr(path), type, options, swapiBstr(configuration),
                                         &errorsOut, &warningsOut, &result);
    swapiCheck<ISldWorks>(hr);
    errors = errorsOut;
    warnings = warningsOut;
    return result;
}

void sldWorksCloseDocument(ISldWorks* app, const _bstr_t& path) {
    const HRESULT hr = swapiRequired(app)->CloseDocument(swapiBstr(path));
    swapiCheck<ISldWorks>(hr);
}

IDispatchPtr sldWorksImportDataFor(ISldWorks* app, const _bstr_t& path) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(app)->GetImportData(swapiBstr(path), &result);
    swapiCheck<ISldWorks>(hr);
    return result;
}

IDispatchPtr sldWorksLoadFileWithData(ISldWorks* app, const _bstr_t& path, const _bstr_t& arguments,
                                      IDispatch* data, long& error) {
    long errorOut = 0;
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(app)->LoadFile(swapiBstr(path), swapiBstr(arguments), data,
                                                    &errorOut, &result);
    swapiCheck<ISldWorks>(hr);
    error = errorOut;
    return result;
}

IDispatchPtr sldWorksCallSlot9(ISldWorks* app, const _bstr_t& path, long type) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(app)->PreloadDocument(swapiBstr(path), type, &result);
    swapiCheck<ISldWorks>(hr);
    return result;
}

long sldWorksGetErrorMessages(ISldWorks* app, _variant_t& messages, _variant_t& ids,
                              _variant_t& types) {
    long count = 0;
    _variant_t texts;
    _variant_t resourceIds;
    _variant_t kinds;
    const HRESULT hr = swapiRequired(app)->GetErrorMessages(
        texts.GetAddress(), resourceIds.GetAddress(), kinds.GetAddress(), &count);
    swapiCheck<ISldWorks>(hr);
    messages = texts;
    ids = resourceIds;
    types = kinds;
    return count;
}
