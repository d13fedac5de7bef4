#include "platform/sldworks/session/document.h"

#include "platform/sldworks/session/application.h"
#include "platform/sldworks/session/document_helpers.h"
#include "platform/sldworks/session/feature_manager.h"

namespace {
swsim::Vec3 vec(double x, double y, double z) {
    return {x, y, z};
}
journalArgs xyz(double x, double y, double z) {
    return {journalValue(x), journalValue(y), journalValue(z)};
}
} // namespace

documentC::documentC(const docContextPtr& context) : commonDocT(context), owned_(context) {}

documentC::~documentC() {
    owned_->clear();
}

HRESULT documentC::GetType(long* type) {
    return docCall("IModelDoc2::GetType", {}, type, [&](docContextS&) {
        *type = 1;
        return S_OK;
    });
}

HRESULT documentC::FirstFeature(IDispatch** feature) {
    return docCall("IModelDoc2::FirstFeature", {}, feature, [&](docContextS& context) {
        return putObject(context.wrap(context.part->firstFeature()), feature);
    });
}

HRESULT documentC::GetFirstFeatureObject(IDispatch** feature) {
    return docCall("IModelDoc2::GetFirstFeatureObject", {}, feature, [&](docContextS& context) {
        return putObject(context.wrap(context.part->firstFeature()), feature);
    });
}

HRESULT documentC::GetFeatureManager(IFeatureManager** manager) {
    return docCall("IModelDoc2::GetFeatureManager", {}, manager, [&](docContextS& context) {
        *manager = new featureManagerC(context.shared_from_this());
        return S_OK;
    });
}

HRESULT documentC::GetSelectionManager(ISelectionManager** manager) {
    return docCall("IModelDoc2::GetSelectionManager", {}, manager, [&](docContextS& context) {
        *manager = new selectionManagerC(context.shared_from_this());
        return S_OK;
    });
}

HRESULT documentC::GetEditedSketch(IDispatch** sketch) {
    return docCall("IModelDoc2::GetEditedSketch", {}, sketch, [&](docContextS& context) {
        return putObject(context.wrap(context.part->activeSketch()), sketch);
    });
}

HRESULT documentC::toggleSketch(const char* key, VARIANT_BOOL update, bool threeD) {
    return docCall(key, {journalValue(update)}, [&](docContextS& context) {
        swsim::PartDocument& part = *context.part;
        if (part.activeSketch()) {
            part.closeSketch();
            return S_OK;
        }
        const swsim::SketchPtr opened = threeD ? part.open3DSketch() : part.openSketchOnSelection();
        // Nothing to open a sketch on: a success code other than S_OK, which the callers
        // treat as failure.
        return opened ? S_OK : S_FALSE;
    });
}

HRESULT documentC::InsertSketch(VARIANT_BOOL update) {
    return toggleSketch("IModelDoc2::InsertSketch", update, false);
}

HRESULT documentC::EditSketchToggle(VARIANT_BOOL update) {
    return toggleSketch("IModelDoc2::EditSketchToggle", update, false);
}

HRESULT documentC::Insert3dSketch(VARIANT_BOOL update) {
    return toggleSketch("IModelDoc2::Insert3dSketch", update, true);
}

HRESULT documentC::ClearSelection() {
    return docCall("IModelDoc2::ClearSelection", {}, [&](docContextS& context) {
        context.part->clearSelection();
        return S_OK;
    });
}

HRESULT documentC::SelectByName(BSTR name, BSTR type, double x, double y, double z,
                                VARIANT_BOOL* selected) {
    journalArgs args = {journalValue(name), journalValue(type)};
    for (auto& value : xyz(x, y, z))
        args.push_back(value);
    return docCall(
        "IModelDoc2::SelectByName", std::move(args), selected, [&](docContextS& context) {
            *selected = variantBool(
                context.part->selectByName(utf8Of(name), utf8Of(type), vec(x, y, z), false, 0));
            return S_OK;
        });
}

HRESULT documentC::SelectById(BSTR name, BSTR type, double x, double y, double z,
                              VARIANT_BOOL* selected) {
    journalArgs args = {journalValue(name), journalValue(type)};
    for (auto& value : xyz(x, y, z))
        args.push_back(value);
    return docCall("IModelDoc2::SelectById", std::move(args), selected, [&](docContextS& context) {
        *selected = variantBool(
            context.part->selectByName(utf8Of(name), utf8Of(type), vec(x, y, z), true, 0));
        return S_OK;
    });
}

HRESULT documentC::SelectByRay(double x, double y, double z, double dx, double dy, double dz,
                               double radius, long type, VARIANT_BOOL* selected) {
    return docCall("IModelDoc2::SelectByRay",
                   {journalValue(x), journalValue(y), journalValue(z), journalValue(dx),
                    journalValue(dy), journalValue(dz), journalValue(radius), journalValue(type)},
                   selected, [&](docContextS& context) {
                       // Only faces (type 2) can be picked by a ray here.
                       *selected = variantBool(
                           type == 2 && context.part->selectByRay(vec(x, y, z), vec(dx, dy, dz),
                                                                  radius, false, 0));
                       return S_OK;
                   });
}

HRESULT documentC::SelectAtPointAndNormal(VARIANT data, long type, VARIANT_BOOL* selected) {
    return docCall("IModelDoc2::SelectAtPointAndNormal", {journalValue(data), journalValue(type)},
                   selected, [&](docContextS& context) {
                       std::vector<double> values;
                       const HRESULT hr = readDoubles(data, 7, values);
                       if (FAILED(hr))
                           return hr;
                       *selected =
                           variantBool(type == 2 && context.part->selectFaceAt(
                                                        vec(values[0], values[1], values[2]),
                                                        vec(values[3], values[4], values[5]),
                                                        values[6], false, 0));
                       return S_OK;
                   });
}

HRESULT documentC::HideSelection() {
    return docCall("IModelDoc2::HideSelection", {}, [&](docContextS& context) {
        for (const auto& entry : context.part->selection().entries())
            if (auto feature = std::dynamic_pointer_cast<swsim::Feature>(entry.object))
                feature->setHidden(true);
        return S_OK;
    });
}

HRESULT documentC::CopySelectedFaceAsSurface(long options1, long options2) {
    return docCall("IModelDoc2::CopySelectedFaceAsSurface",
                   {journalValue(options1), journalValue(options2)}, [&](docContextS& context) {
                       const auto face = context.part->selection().first<swsim::Face>();
                       return face && context.part->addSurfaceCopy(face) ? S_OK : E_FAIL;
                   });
}

HRESULT documentC::ActOnSelectedFace(long options, VARIANT_BOOL* done) {
    return docCall("IModelDoc2::ActOnSelectedFace", {journalValue(options)}, done,
                   [&](docContextS& context) {
                       const auto face = context.part->selection().first<swsim::Face>();
                       *done = variantBool(face && context.part->addSurfaceCopy(face));
                       return S_OK;
                   });
}

HRESULT documentC::CreatePlaneThroughPoints(VARIANT first, VARIANT second, VARIANT third,
                                            VARIANT_BOOL fixed, VARIANT_BOOL* created) {
    return docCall(
        "IModelDoc2::CreatePlaneThroughPoints",
        {journalValue(first), journalValue(second), journalValue(third), journalValue(fixed)},
        created, [&](docContextS& context) {
            std::vector<double> p1;
            std::vector<double> p2;
            std::vector<double> p3;
            for (auto [value, out] : {std::pair{&first, &p1}, {&second, &p2}, {&third, &p3}}) {
                const HRESULT hr = readDoubles(*value, 3, *out);
                if (FAILED(hr))
                    return hr;
            }
            *created = variantBool(context.part->addPlaneThroughPoints(
                                       vec(p1[0], p1[1], p1[2]), vec(p2[0], p2[1], p2[2]),
                                       vec(p3[0], p3[1], p3[2])) != nullptr);
            return S_OK;
        });
}

HRESULT documentC::FixSelectedPlane() {
    // Planes made here are fixed from the start: nothing to do.
    return docCall("IModelDoc2::FixSelectedPlane", {}, [](docContextS&) { return S_OK; });
}

HRESULT documentC::CreateOffsetPlane(double distance, VARIANT_BOOL flip, VARIANT_BOOL fixed,
                                     IDispatch** plane) {
    return docCall("IModelDoc2::CreateOffsetPlane",
                   {journalValue(distance), journalValue(flip), journalValue(fixed)}, plane,
                   [&](docContextS& context) {
                       const swsim::ObjectPtr reference = context.part->selection().objectAt(0);
                       swsim::RefPlanePtr made;
                       if (reference)
                           made = context.part->addOffsetPlane(reference, distance,
                                                               flip != VARIANT_FALSE);
                       return putObject(context.wrap(made), plane);
                   });
}

HRESULT documentC::CreateAxis(VARIANT_BOOL* created) {
    return docCall("IModelDoc2::CreateAxis", {}, created, [&](docContextS& context) {
        *created = variantBool(context.part->addAxisFromSelection() != nullptr);
        return S_OK;
    });
}

HRESULT documentC::DeleteSelection(VARIANT_BOOL keepChildren, VARIANT_BOOL* deleted) {
    return docCall("IModelDoc2::DeleteSelection", {journalValue(keepChildren)}, deleted,
                   [&](docContextS& context) {
                       std::vector<swsim::FeaturePtr> features;
                       for (const auto& entry : context.part->selection().entries())
                           if (auto feature =
                                   std::dynamic_pointer_cast<swsim::Feature>(entry.object))
                               features.push_back(feature);
                       // Every child here is made from its parent and cannot outlive it:
                       // asked to keep the children, nothing is deleted.
                       int count = 0;
                       if (keepChildren == VARIANT_FALSE)
                           count = context.part->deleteFeatures(features);
                       *deleted = variantBool(count > 0);
                       return S_OK;
                   });
}

HRESULT documentC::HideSelectedSketch() {
    return docCall("IModelDoc2::HideSelectedSketch", {}, [&](docContextS& context) {
        for (const auto& entry : context.part->selection().entries())
            if (auto sketch = std::dynamic_pointer_cast<swsim::Sketch>(entry.object))
                sketch->setHidden(true);
        return S_OK;
    });
}

HRESULT documentC::NoteSkipMismatch() {
    return docCall("IModelDoc2::NoteSkipMismatch", {}, [](docContextS&) { return S_OK; });
}

HRESULT documentC::CreateLine(double x1, double y1, double z1, double x2, double y2, double z2,
                              IDispatch** segment) {
    return docCall("IModelDoc2::CreateLine",
                   {journalValue(x1), journalValue(y1), journalValue(z1), journalValue(x2),
                    journalValue(y2), journalValue(z2)},
                   segment, [&](docContextS& context) {
                       const swsim::SketchPtr sketch = context.part->activeSketch();
                       if (!sketch)
                           return S_OK;
                       return putObject(
                           context.wrap(sketch->addLine(vec(x1, y1, z1), vec(x2, y2, z2))),
                           segment);
                   });
}

HRESULT documentC::CreatePoint(double x, double y, double z, IDispatch** point) {
    return docCall("IModelDoc2::CreatePoint", xyz(x, y, z), point, [&](docContextS& context) {
        const swsim::SketchPtr sketch = context.part->activeSketch();
        if (!sketch)
            return S_OK;
        return putObject(context.wrap(sketch->addPoint(vec(x, y, z))), point);
    });
}

HRESULT documentC::CreateArc(double x1, double y1, double z1, double x2, double y2, double z2,
                             double xm, double ym, double zm, VARIANT_BOOL* created) {
    return docCall(
        "IModelDoc2::CreateArc",
        {journalValue(x1), journalValue(y1), journalValue(z1), journalValue(x2), journalValue(y2),
         journalValue(z2), journalValue(xm), journalValue(ym), journalValue(zm)},
        created, [&](docContextS& context) {
            const swsim::SketchPtr sketch = context.part->activeSketch();
            *created = variantBool(sketch && sketch->addArc(vec(x1, y1, z1), vec(x2, y2, z2),
                                                            vec(xm, ym, zm)) != nullptr);
            return S_OK;
        });
}

HRESULT documentC::CreateCircle(double x, double y, double z, double radius, IDispatch** segment) {
    return docCall("IModelDoc2::CreateCircle",
                   {journalValue(x), journalValue(y), journalValue(z), journalValue(radius)},
                   segment, [&](docContextS& context) {
                       const swsim::SketchPtr sketch = context.part->activeSketch();
                       if (!sketch)
                           return S_OK;
                       return putObject(context.wrap(sketch->addCircle(vec(x, y, z), radius)),
                                        segment);
                   });
}

HRESULT documentC::CreateExtrusion(VARIANT_BOOL singleDirection, VARIANT_BOOL flip,
                                   VARIANT_BOOL reverse, long endCondition1, long endCondition2,
                                   double depth1, double depth2, VARIANT_BOOL draft1,
                                   VARIANT_BOOL draft2, VARIANT_BOOL draftOutward1,
                                   VARIANT_BOOL draftOutward2, double draftAngle1,
                                   double draftAngle2, VARIANT_BOOL offsetReverse1,
                                   VARIANT_BOOL offsetReverse2) {
    return docCall("IModelDoc2::CreateExtrusion",
                   {journalValue(singleDirection), journalValue(flip), journalValue(reverse),
                    journalValue(endCondition1), journalValue(endCondition2), journalValue(depth1),
                    journalValue(depth2), journalValue(draft1), journalValue(draft2),
                    journalValue(draftOutward1), journalValue(draftOutward2),
                    journalValue(draftAngle1), journalValue(draftAngle2),
                    journalValue(offsetReverse1), journalValue(offsetReverse2)},
                   [&](docContextS& context) {
                       swsim::ExtrudeSpec request =
                           extrusionSpec(false, singleDirection, reverse, depth1, depth2, draft1,
                                         draftOutward1, draftAngle1, true);
                       request.typeName = "Extrusion";
                       return extrudeSelectedSketch(context, request) ? S_OK : S_FALSE;
                   });
}

HRESULT documentC::Rebuild(VARIANT_BOOL topOnly, VARIANT_BOOL* done) {
    return docCall("IModelDoc2::Rebuild", {journalValue(topOnly)}, done, [&](docContextS& context) {
        context.part->rebuild();
        *done = VARIANT_TRUE;
        return S_OK;
    });
}

HRESULT documentC::RebuildAndCheck(VARIANT_BOOL topOnly, VARIANT_BOOL* rebuilt) {
    return docCall("IModelDoc2::RebuildAndCheck", {journalValue(topOnly)}, rebuilt,
                   [&](docContextS& context) {
                       // FALSE when a feature of the active configuration could not be applied.
                       *rebuilt = variantBool(context.part->rebuild());
                       return S_OK;
                   });
}

HRESULT documentC::RebuildIfNeeded(VARIANT_BOOL* rebuilt) {
    // The model keeps its bodies current after every change: nothing is ever pending.
    return docCall("IModelDoc2::RebuildIfNeeded", {}, rebuilt, [&](docContextS&) {
        *rebuilt = VARIANT_TRUE;
        return S_OK;
    });
}

HRESULT documentC::ForceRebuild(long options) {
    return docCall("IModelDoc2::ForceRebuild", {journalValue(options)}, [&](docContextS& context) {
        context.part->rebuild();
        return S_OK;
    });
}

HRESULT documentC::GetStateObject(IDispatch** state) {
    return docCall("IModelDoc2::GetStateObject", {}, state, [&](docContextS& context) {
        *state = new stateObjectC(context.shared_from_this());
        return S_OK;
    });
}

HRESULT documentC::AfterThreadCreated() {
    return call("IModelDoc2::AfterThreadCreated", {}, [] { return S_OK; });
}

HRESULT documentC::BeforeSketchWalk() {
    return call("IModelDoc2::BeforeSketchWalk", {}, [] { return S_OK; });
}

HRESULT documentC::bodiesOf(long kind, VARIANT* bodies, bool visibleOnly) {
    const auto context = context_.lock();
    if (!context)
        return E_UNEXPECTED;
    // 0 solid, 1 sheet; any other kind gives all bodies.
    const auto found = kind == 0 || kind == 1
                           ? context->part->bodies(static_cast<swsim::BodyKind>(kind))
                           : context->part->bodies();
    std::vector<IDispatchPtr> wrapped;
    for (const auto& body : found)
        if (!visibleOnly || !context->part->bodyHidden(*body))
            wrapped.push_back(context->wrap(body));
    return putObjects(wrapped, bodies);
}

HRESULT documentC::GetBodies(long kind, VARIANT* bodies) {
    return call("IPartDoc::GetBodies", {journalValue(kind)}, bodies,
                [&] { return bodiesOf(kind, bodies, false); });
}

HRESULT documentC::ListBodies(long kind, VARIANT_BOOL visibleOnly, VARIANT* bodies) {
    return call("IPartDoc::ListBodies", {journalValue(kind), journalValue(visibleOnly)}, bodies,
                [&] { return bodiesOf(kind, bodies, visibleOnly != VARIANT_FALSE); });
}

HRESULT documentC::GetEntityName(IDispatch* entity, BSTR* name) {
    return docCall("IPartDoc::GetEntityName", {journalValue(entity)}, name,
                   [&](docContextS& context) {
                       const swsim::ObjectPtr object = modelObjectOf(entity);
                       if (!object)
                           return E_INVALIDARG;
                       return putBstr(context.part->entityName(object), name);
                   });
}

HRESULT documentC::SetEntityName(IDispatch* entity, BSTR name, VARIANT_BOOL* named) {
    return docCall("IPartDoc::SetEntityName", {journalValue(entity), journalValue(name)}, named,
                   [&](docContextS& context) {
                       const swsim::ObjectPtr object = modelObjectOf(entity);
                       if (!object)
                           return E_INVALIDARG;
                       *named = variantBool(context.part->setEntityName(object, utf8Of(name)));
                       return S_OK;
                   });
}

HRESULT documentC::FeatureByName(BSTR name, IDispatch** feature) {
    return docCall(
        "IPartDoc::FeatureByName", {journalValue(name)}, feature, [&](docContextS& context) {
            return putObject(context.wrap(context.part->findFeature(utf8Of(name))), feature);
        });
}

HRESULT documentC::GetBox(long options, VARIANT* box) {
    return docCall("IPartDoc::GetBox", {journalValue(options)}, box, [&](docContextS& context) {
        const swsim::Box b = context.part->box();
        const double values[6] = {b.min.x, b.min.y, b.min.z, b.max.x, b.max.y, b.max.z};
        return putDoubles(values, 6, box);
    });
}
