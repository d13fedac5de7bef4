#include "platform/sldworks/session/application.h"

#include "platform/sldworks/session/arrays.h"
#include "platform/sldworks/session/assembly.h"
#include "platform/sldworks/session/document.h"

#include <algorithm>
#include <fstream>

namespace {

// Deep enough for any real assembly; stops an assembly that contains itself.
constexpr int kMaxLoadDepth = 32;

const docContextPtr* contextOf(IModelDoc2* doc) {
    if (auto* part = dynamic_cast<documentC*>(doc))
        return &part->context();
    if (auto* assembly = dynamic_cast<assemblyDocumentC*>(doc))
        return &assembly->context();
    return nullptr;
}

// The documents held by the components of `doc`, through sub-assemblies.
void collectLoaded(IModelDoc2* doc, std::vector<IModelDoc2Ptr>& out, int depth) {
    const docContextPtr* context = contextOf(doc);
    if (context == nullptr || depth > kMaxLoadDepth)
        return;
    for (const auto& [component, loaded] : (*context)->componentDocs) {
        out.push_back(loaded);
        collectLoaded(loaded, out, depth + 1);
    }
}

} // namespace

IDispatchPtr appStateS::documentAfter(IModelDoc2* doc) const {
    for (std::size_t i = 0; i + 1 < documents.size(); ++i)
        if (documents[i].GetInterfacePtr() == doc)
            return IDispatchPtr(documents[i + 1].GetInterfacePtr());
    return IDispatchPtr();
}

appStateS::~appStateS() {
    for (const std::weak_ptr<docContextS>& weak : contexts) {
        if (const docContextPtr context = weak.lock()) {
            // Out of the context first: letting go of a component may end documents that
            // let go of theirs, this one's among them.
            std::map<const swsim::Object*, IModelDoc2Ptr> held;
            held.swap(context->componentDocs);
        }
    }
}

IModelDoc2Ptr appStateS::addDocument(const swsim::ModelDocumentPtr& model) {
    auto context = std::make_shared<docContextS>();
    // Documents closed and gone need no letting go; a batch of many parts keeps the list short.
    if (contexts.size() >= 64 && contexts.size() % 64 == 0)
        std::erase_if(contexts, [](const std::weak_ptr<docContextS>& c) { return c.expired(); });
    contexts.push_back(context);
    context->model = model;
    context->part = std::dynamic_pointer_cast<swsim::PartDocument>(model);
    context->assembly = std::dynamic_pointer_cast<swsim::AssemblyDocument>(model);
    context->kit = kit;
    context->app = weak_from_this();
    IModelDoc2Ptr doc;
    if (context->assembly)
        doc = IModelDoc2Ptr(new assemblyDocumentC(context), false);
    else
        doc = IModelDoc2Ptr(new documentC(context), false);
    documents.push_back(doc);
    if (context->assembly)
        loadComponents(*context);
    return doc;
}

IModelDoc2Ptr appStateS::findOpen(const std::string& path) const {
    if (path.empty())
        return IModelDoc2Ptr();
    for (const auto& doc : documents) {
        const swsim::ModelDocumentPtr model = sessionModelOf(doc);
        if (model && model->path() == path)
            return doc;
    }
    return IModelDoc2Ptr();
}

IModelDoc2Ptr appStateS::findLoaded(const std::string& path) const {
    if (IModelDoc2Ptr open = findOpen(path))
        return open;
    std::vector<IModelDoc2Ptr> loaded;
    for (const auto& doc : documents)
        collectLoaded(doc, loaded, 0);
    for (const auto& doc : loaded) {
        const swsim::ModelDocumentPtr model = sessionModelOf(doc);
        if (model && !path.empty() && model->path() == path)
            return doc;
    }
    return IModelDoc2Ptr();
}

IModelDoc2Ptr appStateS::load(const std::string& path, long& error) {
    error = 0;
    if (IModelDoc2Ptr open = findOpen(path))
        return open;
    if (IModelDoc2Ptr loaded = findLoaded(path)) {
        // Held by a component but closed: it becomes an open document again.
        documents.push_back(loaded);
        return loaded;
    }
    std::ifstream in(path, std::ios::binary);
    if (path.empty() || !in) {
        error = 2;
        issueError(path.empty() ? "no file named" : "the file does not exist");
        return IModelDoc2Ptr();
    }
    std::string head(32, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    in.close();
    error = 1;
    try {
        if (head.rfind("SWSIM-ASSEMBLY ", 0) == 0)
            return addDocument(swsim::AssemblyDocument::open(path));
        if (head.rfind("SWSIM-PART ", 0) == 0)
            return addDocument(swsim::PartDocument::open(path));
        issueError("not a part or an assembly of this session");
    } catch (const swsim::ModelError& refused) {
        // The reader names the file already ("open PATH: reason"); the message is the reason.
        std::string reason = refused.what();
        const std::string named = "open " + path + ": ";
        if (reason.rfind(named, 0) == 0)
            reason.erase(0, named.size());
        issueError(reason);
    }
    return IModelDoc2Ptr();
}

void appStateS::close(IModelDoc2* doc) {
    const IModelDoc2Ptr keep(doc);
    const auto found =
        std::find_if(documents.begin(), documents.end(),
                     [&](const IModelDoc2Ptr& open) { return open.GetInterfacePtr() == doc; });
    if (found == documents.end())
        return;
    documents.erase(found);
    openForComponents.erase(doc);
    const docContextPtr* context = contextOf(doc);
    if (context == nullptr)
        return;
    for (const auto& [component, loaded] : (*context)->componentDocs) {
        if (openForComponents.count(loaded.GetInterfacePtr()) != 0)
            close(loaded);
    }
}

void appStateS::loadComponents(docContextS& assembly) {
    for (const auto& component : assembly.assembly->components()) {
        // A component that refers to its own assembly would hold it for ever: left unloaded.
        if (component->path() == assembly.model->path() || component->path().empty())
            continue;
        long error = 0;
        const bool wasOpen = static_cast<bool>(findOpen(component->path()));
        const IModelDoc2Ptr doc = load(component->path(), error);
        if (!doc) {
            component->setLoadFailure(messages.back().text);
            continue;
        }
        if (!wasOpen)
            openForComponents.insert(doc);
        assembly.componentDocs[component.get()] = doc;
        component->setDocument(sessionModelOf(doc));
    }
}

applicationC::applicationC()
    : sldWorksStubsT(std::make_shared<testKitC>()), state_(std::make_shared<appStateS>()) {
    state_->kit = kitPtr();
}

IModelDoc2Ptr applicationC::addAssembly(const swsim::AssemblyDocumentPtr& assembly) {
    return state_->addDocument(assembly);
}

applicationC::~applicationC() {
    kit().plan().clear();
}

IModelDoc2Ptr applicationC::addPart(const swsim::PartDocumentPtr& part) {
    return state_->addDocument(part);
}

HRESULT applicationC::NewPart(IDispatch** doc) {
    return call("ISldWorks::NewPart", {}, doc, [&] {
        const IModelDoc2Ptr made = addPart(swsim::PartDocument::create());
        *doc = IDispatchPtr(made).Detach();
        return S_OK;
    });
}

HRESULT applicationC::NewAssembly(IDispatch** doc) {
    return call("ISldWorks::NewAssembly", {}, doc, [&] {
        const IModelDoc2Ptr made = addAssembly(swsim::AssemblyDocument::create());
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
        for (const IModelDoc2Ptr& doc : state_->documents) {
            const swsim::ModelDocumentPtr model = sessionModelOf(doc);
            if (model && model->path() == wanted) {
                state_->close(doc);
                return S_OK;
            }
        }
        // Closing a document that is not open changes nothing.
        return S_OK;
    });
}

HRESULT applicationC::OpenDocument(BSTR path, long type, long options, BSTR configuration,
                                   long* errors, long* warnings, IModelDoc2** doc) {
    if (errors == nullptr || warnings == nullptr)
        return call("ISldWorks::OpenDocument", {}, static_cast<long*>(nullptr),
                    [] { return E_POINTER; });
    *errors = 0;
    *warnings = 0;
    return call("ISldWorks::OpenDocument",
                {journalValue(path), journalValue(type), journalValue(options),
                 journalValue(configuration)},
                doc, [&] {
                    const std::string file = utf8Of(path);
                    const bool wasOpen = static_cast<bool>(state_->findOpen(file));
                    long error = 0;
                    IModelDoc2Ptr opened = state_->load(file, error);
                    // The type asked for must be the document's: 1 part, 2 assembly.
                    const swsim::ModelDocumentPtr model = sessionModelOf(opened);
                    if (model && static_cast<long>(model->type()) != type) {
                        if (!wasOpen)
                            state_->close(opened);
                        opened = IModelDoc2Ptr();
                        error = 1;
                        state_->issueError(type == 2 ? "the file holds a part, not an assembly"
                                                     : "the file holds an assembly, not a part");
                    }
                    if (!opened) {
                        *errors = error;
                        return S_OK;
                    }
                    // Opened by path, it stays open when an assembly that holds it closes.
                    state_->openForComponents.erase(opened);
                    const std::string shown = utf8Of(configuration);
                    if (!shown.empty() && !model->showConfiguration(shown))
                        *warnings = 1;
                    *doc = opened.Detach();
                    return S_OK;
                });
}

HRESULT applicationC::PreloadDocument(BSTR path, long type, IDispatch** doc) {
    return call("ISldWorks::PreloadDocument", {journalValue(path), journalValue(type)}, doc, [&] {
        // Loaded by path whatever the type says; a file that cannot be loaded gives null.
        long error = 0;
        const IModelDoc2Ptr loaded = state_->load(utf8Of(path), error);
        return putObject(IDispatchPtr(loaded.GetInterfacePtr()), doc);
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
                    const IModelDoc2Ptr target =
                        state_->documents.empty() ? IModelDoc2Ptr() : state_->documents.back();
                    const swsim::PartDocumentPtr part = sessionPartOf(target);
                    if (!part) {
                        *error = 1;
                        state_->issue("import: the document opened last is no part",
                                      appStateS::kMessageError);
                        return S_OK;
                    }
                    std::string report;
                    const bool loaded = part->addImportedBody(utf8Of(path), &report) != nullptr;
                    if (!report.empty())
                        state_->issue("import: the reader said:\n" + report,
                                      appStateS::kMessageInformation);
                    if (!loaded) {
                        *error = 1;
                        state_->issue(part->lastError(), appStateS::kMessageError);
                        return S_OK;
                    }
                    return putObject(IDispatchPtr(target.GetInterfacePtr()), doc);
                });
}

void appStateS::issue(std::string text, long type) {
    if (messages.size() == kMessagesKept)
        messages.erase(messages.begin());
    messages.push_back({std::move(text), type});
}

HRESULT applicationC::GetErrorMessages(VARIANT* messages, VARIANT* ids, VARIANT* types,
                                       long* count) {
    if (messages == nullptr || ids == nullptr || types == nullptr)
        return call("ISldWorks::GetErrorMessages", {}, static_cast<long*>(nullptr),
                    [] { return E_POINTER; });
    VariantInit(messages);
    VariantInit(ids);
    VariantInit(types);
    return call("ISldWorks::GetErrorMessages", {}, count, [&] {
        std::vector<std::string> texts;
        std::vector<long> kinds;
        for (const appStateS::messageS& message : state_->messages) {
            texts.push_back(message.text);
            kinds.push_back(message.type);
        }
        // No resource ids: the session's messages are not in a resource table.
        const std::vector<long> none(texts.size(), 0);
        HRESULT hr = putStrings(texts, messages);
        if (SUCCEEDED(hr))
            hr = putLongs(none, ids);
        if (SUCCEEDED(hr))
            hr = putLongs(kinds, types);
        if (FAILED(hr)) {
            VariantClear(messages);
            VariantClear(ids);
            return hr;
        }
        state_->messages.clear();
        *count = static_cast<long>(texts.size());
        return S_OK;
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

IModelDoc2Ptr sessionAddAssembly(ISldWorks* app, const swsim::AssemblyDocumentPtr& assembly) {
    return sessionOf(app)->addAssembly(assembly);
}

swsim::PartDocumentPtr sessionPartOf(IModelDoc2* doc) {
    auto* document = dynamic_cast<documentC*>(doc);
    return document != nullptr ? document->context()->part : nullptr;
}

swsim::AssemblyDocumentPtr sessionAssemblyOf(IModelDoc2* doc) {
    auto* document = dynamic_cast<assemblyDocumentC*>(doc);
    return document != nullptr ? document->context()->assembly : nullptr;
}

swsim::ModelDocumentPtr sessionModelOf(IModelDoc2* doc) {
    const docContextPtr* context = contextOf(doc);
    return context != nullptr ? (*context)->model : nullptr;
}
