#include "platform/sldworks/session/assembly.h"

#include "platform/sldworks/session/application.h"
#include "platform/sldworks/session/document_helpers.h"
#include "platform/sldworks/session/feature_manager.h"

#include <string>
#include <vector>

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

HRESULT assemblyDocumentC::GetFeatureManager(IFeatureManager** manager) {
    return docCall("IModelDoc2::GetFeatureManager", {}, manager, [&](docContextS& context) {
        *manager = new assemblyFeatureManagerC(context.shared_from_this());
        return S_OK;
    });
}

HRESULT assemblyDocumentC::GetSelectionManager(ISelectionManager** manager) {
    return docCall("IModelDoc2::GetSelectionManager", {}, manager, [&](docContextS& context) {
        *manager = new selectionManagerC(context.shared_from_this());
        return S_OK;
    });
}

HRESULT assemblyDocumentC::ClearSelection() {
    return docCall("IModelDoc2::ClearSelection", {}, [&](docContextS& context) {
        context.assembly->clearSelection();
        return S_OK;
    });
}

HRESULT assemblyDocumentC::SelectByRay(double x, double y, double z, double dx, double dy,
                                       double dz, double radius, long type,
                                       VARIANT_BOOL* selected) {
    return docCall("IModelDoc2::SelectByRay",
                   {journalValue(x), journalValue(y), journalValue(z), journalValue(dx),
                    journalValue(dy), journalValue(dz), journalValue(radius), journalValue(type)},
                   selected, [&](docContextS& context) {
                       // Only faces (type 2) can be picked by a ray here.
                       *selected =
                           variantBool(type == 2 && context.assembly->selectByRay(
                                                        {x, y, z}, {dx, dy, dz}, radius, false, 0));
                       return S_OK;
                   });
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

HRESULT assemblyDocumentC::GetBox(long options, VARIANT* box) {
    return docCall("IAssemblyDoc::GetBox", {journalValue(options)}, box, [&](docContextS& context) {
        const swsim::Box b = context.assembly->box();
        const double values[6] = {b.min.x, b.min.y, b.min.z, b.max.x, b.max.y, b.max.z};
        return putDoubles(values, 6, box);
    });
}

HRESULT assemblyDocumentC::AddComponents3(VARIANT names, VARIANT transforms,
                                          VARIANT coordinateSystems, VARIANT* components) {
    return docCall("IAssemblyDoc::AddComponents3",
                   {journalValue(names), journalValue(transforms), journalValue(coordinateSystems)},
                   components, [&](docContextS& context) {
                       VariantInit(components);
                       std::vector<std::string> paths;
                       std::vector<double> data;
                       if (FAILED(readStrings(names, paths)) || paths.empty() ||
                           FAILED(readDoubles(transforms, 16 * paths.size(), data)))
                           return E_INVALIDARG;
                       const auto app = context.app.lock();
                       if (!app)
                           return E_UNEXPECTED;
                       std::vector<swsim::Frame> placements;
                       std::vector<IModelDoc2Ptr> docs;
                       for (size_t i = 0; i < paths.size(); ++i) {
                           // Transform data as the placement calls give it: the component's axes as
                           // rotation rows 0-8, its origin as the translation 9-11, the scale 12.
                           const double* t = data.data() + 16 * i;
                           swsim::Frame f;
                           f.xDir = {t[0], t[1], t[2]};
                           f.yDir = {t[3], t[4], t[5]};
                           f.zDir = {t[6], t[7], t[8]};
                           f.origin = {t[9], t[10], t[11]};
                           long error = 0;
                           const IModelDoc2Ptr doc = paths[i] == context.model->path()
                                                         ? IModelDoc2Ptr()
                                                         : app->load(paths[i], error);
                           if (!f.isRigid() || t[12] != 1.0 || !doc)
                               return S_OK;
                           placements.push_back(f);
                           docs.push_back(doc);
                       }
                       std::vector<IDispatchPtr> made;
                       for (size_t i = 0; i < paths.size(); ++i) {
                           // A component shows the configuration its document shows now.
                           const swsim::ModelDocumentPtr model = sessionModelOf(docs[i]);
                           const swsim::ComponentPtr c = context.assembly->addComponent(
                               paths[i], model->activeConfiguration()->name(), placements[i]);
                           context.componentDocs[c.get()] = docs[i];
                           c->setDocument(model);
                           made.push_back(context.wrap(c));
                       }
                       return putObjects(made, components);
                   });
}
