// Entry point of the simulated SolidWorks: a new session (an ISldWorks with no open
// document), and the session's own side for tests and tools: its test kit, the model
// document behind a document object, and opening a model document as a session document.
#pragma once

#include "platform/sldworks/api/sldworks_api.h"
#include "platform/sldworks/model/assembly_document.h"
#include "platform/sldworks/model/part_document.h"
#include "platform/sldworks/testkit/test_kit.h"

// The session side of the application object; its IID is the session's own.
struct ISimulatedSession : IUnknown {
    virtual testKitC& testKit() = 0;
    // Adds an existing model document to the open documents; gives its document object.
    virtual IModelDoc2Ptr addPart(const swsim::PartDocumentPtr& part) = 0;
    // Adds an existing assembly to the open documents and loads its components' documents
    // (open ones by path, others from their files).
    virtual IModelDoc2Ptr addAssembly(const swsim::AssemblyDocumentPtr& assembly) = 0;
};
COM_DECLARE_IID(ISimulatedSession, "{4E0B2B4A-5C1D-4F7E-9A21-6D0C3E8F1AFF}");

ISldWorksPtr createSimulatedSldWorks();

// The test kit of the session of `app`; raises _com_error(E_POINTER) for null or an object
// that is not a session.
testKitC& sessionTestKit(ISldWorks* app);
// Adds `part` to the session's open documents.
IModelDoc2Ptr sessionAddPart(ISldWorks* app, const swsim::PartDocumentPtr& part);
// Adds `assembly` to the session's open documents, loading its components.
IModelDoc2Ptr sessionAddAssembly(ISldWorks* app, const swsim::AssemblyDocumentPtr& assembly);
// The model document behind a session document (null for null or a foreign object, and
// for a document of the other kind).
swsim::PartDocumentPtr sessionPartOf(IModelDoc2* doc);
swsim::AssemblyDocumentPtr sessionAssemblyOf(IModelDoc2* doc);
swsim::ModelDocumentPtr sessionModelOf(IModelDoc2* doc);
