// The session's application object (ISldWorks) and the state it shares with its documents:
// the open documents in opening order and the user preferences (toggles and integers),
// which are stored and journalled.
#pragma once

#include "platform/sldworks/session/session.h"
#include "platform/sldworks/session/session_object.h"
#include "platform/sldworks/session/stubs.h"

#include <map>
#include <memory>
#include <vector>

struct appStateS {
    std::shared_ptr<testKitC> kit;
    std::vector<IModelDoc2Ptr> documents;
    std::map<long, VARIANT_BOOL> toggles;
    std::map<long, long> integers;

    // The open document after `doc`, or null.
    IDispatchPtr documentAfter(IModelDoc2* doc) const;
};

class applicationC final
    : public sldWorksStubsT<sessionObjectT<applicationC, ISldWorks, ISimulatedSession>> {
public:
    applicationC();
    // Clears the fault plan: scripted objects in it hold their documents, which hold the kit.
    ~applicationC() override;

    HRESULT NewPart(IDispatch** doc) override;
    HRESULT GetToggle(long id, VARIANT_BOOL* value) override;
    HRESULT SetToggle(long id, VARIANT_BOOL value) override;
    HRESULT GetIntegerSetting(long id, long* value) override;
    HRESULT SetIntegerSetting(long id, long value, VARIANT_BOOL* done) override;
    HRESULT GetFirstDocument(IDispatch** doc) override;
    HRESULT CloseDocument(BSTR path) override;
    HRESULT GetImportData(BSTR path, IDispatch** data) override;
    HRESULT LoadFile(BSTR path, BSTR arguments, IDispatch* data, long* error,
                     IDispatch** doc) override;

    // ISimulatedSession
    testKitC& testKit() override { return kit(); }
    IModelDoc2Ptr addPart(const swsim::PartDocumentPtr& part) override;

private:
    std::shared_ptr<appStateS> state_;
};
