#include "platform/sldworks/session/assembly.h"

assemblyDocumentC::assemblyDocumentC(const docContextPtr& context)
    : commonDocT(context), owned_(context) {}

assemblyDocumentC::~assemblyDocumentC() {
    owned_->clear();
}

HRESULT assemblyDocumentC::GetType(long* type) {
    return docCall("IModelDoc2::GetType", {}, type, [&](docContextS&) {
        *type = 2;
        return S_OK;
    });
}

HRESULT assemblyDocumentC::FirstFeature(IDispatch** feature) {
    return docCall("IModelDoc2::FirstFeature", {}, feature,
                   [&](docContextS&) { return putObject(IDispatchPtr(), feature); });
}

HRESULT assemblyDocumentC::GetFirstFeatureObject(IDispatch** feature) {
    return docCall("IModelDoc2::GetFirstFeatureObject", {}, feature,
                   [&](docContextS&) { return putObject(IDispatchPtr(), feature); });
}

HRESULT assemblyDocumentC::Rebuild(VARIANT_BOOL topOnly, VARIANT_BOOL* done) {
    return docCall("IModelDoc2::Rebuild", {journalValue(topOnly)}, done, [&](docContextS&) {
        *done = VARIANT_TRUE;
        return S_OK;
    });
}

HRESULT assemblyDocumentC::RebuildAndCheck(VARIANT_BOOL topOnly, VARIANT_BOOL* rebuilt) {
    return docCall("IModelDoc2::RebuildAndCheck", {journalValue(topOnly)}, rebuilt,
                   [&](docContextS&) {
                       *rebuilt = VARIANT_TRUE;
                       return S_OK;
                   });
}

HRESULT assemblyDocumentC::RebuildIfNeeded(VARIANT_BOOL* rebuilt) {
    return docCall("IModelDoc2::RebuildIfNeeded", {}, rebuilt, [&](docContextS&) {
        *rebuilt = VARIANT_TRUE;
        return S_OK;
    });
}

HRESULT assemblyDocumentC::ForceRebuild(long options) {
    return docCall("IModelDoc2::ForceRebuild", {journalValue(options)},
                   [&](docContextS&) { return S_OK; });
}
