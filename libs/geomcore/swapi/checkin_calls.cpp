#include "libs/geomcore/swapi/checkin_calls.h"

#include "libs/geomcore/swapi/application_calls.h"
#include "libs/geomcore/swapi/call_support.h"
#include "libs/geomcore/swapi/document_calls.h"

IModelDoc2Ptr getSessionDocument(ISldWorks* app, const _bstr_t& path) {
    IModelDoc2Ptr doc(sldWorksGetFirstDocument(app));
    // A path that no document was saved under never names one of the unsaved documents.
    if (path.length() != 0) {
        while (doc) {
            if (modelDocGetPathName(doc) == path)
                return doc;
            doc = IModelDoc2Ptr(modelDocGetNext(doc));
        }
    }
    _com_issue_errorex(E_POINTER, nullptr, uuidOf<IModelDoc2>());
}

IDispatchPtr componentGetModelDoc(IComponentObject* component) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(component)->GetModelDoc(&result);
    swapiCheck<IComponentObject>(hr);
    return result;
}

_bstr_t componentGetPathName(IComponentObject* component) {
    BSTR path = nullptr;
    const HRESULT hr = swapiRequired(component)->GetPathName(&path);
    _bstr_t owned(path, false);
    swapiCheck<IComponentObject>(hr);
    return owned;
}
