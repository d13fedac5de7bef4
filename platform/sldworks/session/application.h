// The session's application object (ISldWorks) and the state it shares with its documents:
// the open documents in opening order and the user preferences (toggles and integers),
// which are stored and journalled. Opening an assembly loads its components' documents as
// SolidWorks does: each becomes an open document too (once per path).
#pragma once

#include "platform/sldworks/session/context.h"
#include "platform/sldworks/session/session.h"
#include "platform/sldworks/session/session_object.h"
#include "platform/sldworks/session/stubs.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

struct appStateS : std::enable_shared_from_this<appStateS> {
    appStateS() = default;
    appStateS(const appStateS&) = delete;
    appStateS& operator=(const appStateS&) = delete;
    // Lets go of the component documents of every document the session made: assemblies
    // whose components hold each other would otherwise keep each other for ever.
    ~appStateS();

    std::shared_ptr<testKitC> kit;
    std::vector<IModelDoc2Ptr> documents;
    // Every document context the session made, open or not.
    std::vector<std::weak_ptr<docContextS>> contexts;
    // Open documents that are open only because an assembly's component needed them; closing
    // that assembly closes them too. A document opened by path on its own leaves this set.
    std::set<IModelDoc2*> openForComponents;

    // Closes the open document (and the documents open only for its components).
    void close(IModelDoc2* doc);
    std::map<long, VARIANT_BOOL> toggles;
    std::map<long, long> integers;
    // A message the session issues, as ISldWorks::GetErrorMessages answers it: the text and
    // its message-box type (kMessageError, kMessageInformation).
    struct messageS {
        std::string text;
        long type = 0;
    };
    static constexpr long kMessageError = 0x10;       // MB_ICONERROR
    static constexpr long kMessageInformation = 0x40; // MB_ICONINFORMATION
    // The last kMessagesKept messages, oldest first.
    static constexpr std::size_t kMessagesKept = 20;
    std::vector<messageS> messages;
    void issue(std::string text, long type);

    // The open document after `doc`, or null.
    IDispatchPtr documentAfter(IModelDoc2* doc) const;
    // A document object for a model document, added to the open documents; an assembly's
    // components are loaded.
    IModelDoc2Ptr addDocument(const swsim::ModelDocumentPtr& model);
    // The open document of exactly that path, or null.
    IModelDoc2Ptr findOpen(const std::string& path) const;
    // An open document of that path, or one an open assembly's component holds (which is
    // opened again), or the file opened; null with `error` (2 no such file, 1 not a
    // document of this session) otherwise, the reason kept as a message (`why`).
    IModelDoc2Ptr load(const std::string& path, long& error);
    // Keeps the reason of a failed opening for GetErrorMessages.
    void issueError(std::string text) { issue(std::move(text), kMessageError); }

private:
    IModelDoc2Ptr findLoaded(const std::string& path) const;
    void loadComponents(docContextS& assembly);
};

class applicationC final
    : public sldWorksStubsT<sessionObjectT<applicationC, ISldWorks, ISimulatedSession>> {
public:
    applicationC();
    // Clears the fault plan: scripted objects in it hold their documents, which hold the kit.
    ~applicationC() override;

    HRESULT NewPart(IDispatch** doc) override;
    HRESULT NewAssembly(IDispatch** doc) override;
    HRESULT GetToggle(long id, VARIANT_BOOL* value) override;
    HRESULT SetToggle(long id, VARIANT_BOOL value) override;
    HRESULT GetIntegerSetting(long id, long* value) override;
    HRESULT SetIntegerSetting(long id, long value, VARIANT_BOOL* done) override;
    HRESULT GetFirstDocument(IDispatch** doc) override;
    HRESULT OpenDocument(BSTR path, long type, long options, BSTR configuration, long* errors,
                         long* warnings, IModelDoc2** doc) override;
    HRESULT CloseDocument(BSTR path) override;
    HRESULT PreloadDocument(BSTR path, long type, IDispatch** doc) override;
    HRESULT GetImportData(BSTR path, IDispatch** data) override;
    HRESULT LoadFile(BSTR path, BSTR arguments, IDispatch* data, long* error,
                     IDispatch** doc) override;
    HRESULT GetErrorMessages(VARIANT* messages, VARIANT* ids, VARIANT* types, long* count) override;

    // ISimulatedSession
    testKitC& testKit() override { return kit(); }
    IModelDoc2Ptr addPart(const swsim::PartDocumentPtr& part) override;
    IModelDoc2Ptr addAssembly(const swsim::AssemblyDocumentPtr& assembly) override;

private:
    std::shared_ptr<appStateS> state_;
};
