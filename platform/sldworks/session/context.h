// What the COM objects of one document share: the model document behind them, the session's
// test kit, and the cache that gives every model object (feature, body, face, edge, sketch
// entity) one COM object for its whole life, so that callers can compare them by pointer.
// The document object owns the context; every other object holds it weakly (the cache holds
// them), and answers E_UNEXPECTED once its document is gone.
#pragma once

#include "platform/sldworks/api/sldworks_api.h"
#include "platform/sldworks/model/assembly_document.h"
#include "platform/sldworks/model/part_document.h"
#include "platform/sldworks/testkit/test_kit.h"

#include <map>
#include <memory>

struct appStateS;

struct docContextS : std::enable_shared_from_this<docContextS> {
    // The document: `model` always, and `part` or `assembly` by its type.
    swsim::ModelDocumentPtr model;
    swsim::PartDocumentPtr part;
    swsim::AssemblyDocumentPtr assembly;
    std::shared_ptr<testKitC> kit;
    std::weak_ptr<appStateS> app;

    // The session object of a model object: the same one on every call; null for null.
    IDispatchPtr wrap(const swsim::ObjectPtr& object);
    template <class T> IDispatchPtr wrap(const std::shared_ptr<T>& object) {
        return wrap(std::static_pointer_cast<swsim::Object>(object));
    }
    // Drops the cached objects (the document is closing).
    void clear() {
        cache.clear();
        // Out of the context first: a component document that goes may clear this one again.
        std::map<const swsim::Object*, IModelDoc2Ptr> held;
        held.swap(componentDocs);
    }

    // An assembly's loaded component documents, by model component.
    std::map<const swsim::Object*, IModelDoc2Ptr> componentDocs;

private:
    std::map<const swsim::Object*, IDispatchPtr> cache;
};

using docContextPtr = std::shared_ptr<docContextS>;

// Mixed into the session objects that stand for a model object.
class modelObjectHolderI {
public:
    virtual swsim::ObjectPtr modelObject() const = 0;

protected:
    ~modelObjectHolderI() = default;
};

// The model object behind a session object; null for null, foreign or helper objects.
swsim::ObjectPtr modelObjectOf(IUnknown* object);
template <class T> std::shared_ptr<T> modelObjectAs(IUnknown* object) {
    return std::dynamic_pointer_cast<T>(modelObjectOf(object));
}
