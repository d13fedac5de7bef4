#include "platform/sldworks/session/application.h"

#include "platform/sldworks/session/arrays.h"
#include "platform/sldworks/session/document.h"

IDispatchPtr appStateS::documentAfter(IModelDoc2* doc) const {
    for (std::size_t i = 0; i + 1 < documents.size(); ++i)
        if (documents[i].GetInterfacePtr() == doc)
            return IDispatchPtr(documents[i + 1].GetInterfacePtr());
    return IDispatchPtr();
}

applicationC::applicationC()
    : sldWorksStubsT(std::make_shared<testKitC>()), state_(std::make_shared<appStateS>()) {
    state_->kit = kitPtr();
}

applicationC::~applicationC() {
    kit().plan().clear();
}

IModelDoc2Ptr applicationC::addPart(const swsim::PartDocumentPtr& part) {
    auto context = std::make_shared<docContextS>();
    context->part = part;
    context->kit = kitPtr();
    context->app = state_;
    IModelDoc2Ptr doc(new documentC(context), false);
    state_->documents.push_back(doc);
    return doc;
}

HRESULT applicationC::NewPart(IDispatch** doc) {
    return call("ISldWorks::NewPart", {}, doc, [&] {
        const IModelDoc2Ptr made = addPart(swsim::PartDocument::create());
        *doc = IDispatchPtr(made).Detach();
        return S_OK;
    });
}

HRESULT applicationC::GetToggle(long id, VARIANT_BOOL* value) {
    return call("ISldWorks::GetToggle", {journalValue(id)}, value, [&] {
        // A toggle never set reads TRUE.
        const auto found = state_->toggles.find(id);
        *value = found != state_->toggles.end() ? found->second : VARIANT_TRUE;
        return S_OK;
    });
}

HRESULT applicationC::SetToggle(long id, VARIANT_BOOL value) {
    return call("ISldWorks::SetToggle", {journalValue(id), journalValue(value)}, [&] {
        state_->toggles[id] = value;
        return S_OK;
    });
}

HRESULT applicationC::GetIntegerSetting(long id, long* value) {
    return call("ISldWorks::GetIntegerSetting", {journalValue(id)}, value, [&] {
        // A setting never set reads 0.
        const auto found = state_->integers.find(id);
        *value = found != state_->integers.end() ? found->second : 0;
        return S_OK;
    });
}

HRESULT applicationC::SetIntegerSetting(long id, long value, VARIANT_BOOL* done) {
    return call("ISldWorks::SetIntegerSetting", {journalValue(id), journalValue(value)}, done, [&] {
        state_->integers[id] = value;
        *done = VARIANT_TRUE;
        return S_OK;
    });
}

HRESULT applicationC::GetFirstDocument(IDispatch** doc) {
    return call("ISldWorks::GetFirstDocument", {}, doc, [&] {
        return putObject(state_->documents.empty()
                             ? IDispatchPtr()
                             : IDispatchPtr(state_->documents.front().GetInterfacePtr()),
                         doc);
    });
}

HRESULT applicationC::CloseDocument(BSTR path) {
    return call("ISldWorks::CloseDocument", {journalValue(path)}, [&] {
        const std::string wanted = utf8Of(path);
        auto& documents = state_->documents;
        for (auto it = documents.begin(); it != documents.end(); ++it) {
            const swsim::PartDocumentPtr part = sessionPartOf(*it);
            if (part && part->path() == wanted) {
                documents.erase(it);
                return S_OK;
            }
        }
        // Closing a document that is not open changes nothing.
        return S_OK;
    });
}

HRESULT applicationC::GetImportData(BSTR path, IDispatch** data) {
    // Loading needs no import options here: there is no data object to give.
    return call("ISldWorks::GetImportData", {journalValue(path)}, data, [] { return S_OK; });
}

HRESULT applicationC::LoadFile(BSTR path, BSTR arguments, IDispatch* data, long* error,
                               IDispatch** doc) {
    if (error == nullptr)
        return E_POINTER;
    *error = 0;
    return call("ISldWorks::LoadFile",
                {journalValue(path), journalValue(arguments), journalValue(data)}, doc, [&] {
                    // The file becomes an imported body of the document opened last.
                    if (state_->documents.empty()) {
                        *error = 1;
                        return S_OK;
                    }
                    const IModelDoc2Ptr& target = state_->documents.back();
                    const swsim::PartDocumentPtr part = sessionPartOf(target);
                    if (!part || !part->addImportedBody(utf8Of(path))) {
                        *error = 1;
                        return S_OK;
                    }
                    return putObject(IDispatchPtr(target.GetInterfacePtr()), doc);
                });
}

ISldWorksPtr createSimulatedSldWorks() {
    return ISldWorksPtr(new applicationC(), false);
}

namespace {
_com_ptr_t<ISimulatedSession> sessionOf(ISldWorks* app) {
    _com_ptr_t<ISimulatedSession> session(app);
    if (!session)
        _com_issue_errorex(E_POINTER, nullptr, uuidOf<ISimulatedSession>());
    return session;
}
} // namespace

testKitC& sessionTestKit(ISldWorks* app) {
    return sessionOf(app)->testKit();
}

IModelDoc2Ptr sessionAddPart(ISldWorks* app, const swsim::PartDocumentPtr& part) {
    return sessionOf(app)->addPart(part);
}

swsim::PartDocumentPtr sessionPartOf(IModelDoc2* doc) {
    auto* document = dynamic_cast<documentC*>(doc);
    return document != nullptr ? document->context()->part : nullptr;
}
