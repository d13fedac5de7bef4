// Default answers of every interface method: the call is journalled, the fault plan is
// consulted (so tests can script any method), and otherwise E_NOTIMPL is returned. The
// session's objects stack these layers over sessionObjectT and override what they implement.
#pragma once

#include "platform/sldworks/api/sldworks_api.h"
#include "platform/sldworks/testkit/journal_value.h"

template <class Base> class sldWorksStubsT : public Base {
public:
    using Base::Base;
    HRESULT NewPart(IDispatch** doc) override {
        return this->notImplemented("ISldWorks::NewPart", {}, doc);
    }
    HRESULT NewAssembly(IDispatch** doc) override {
        return this->notImplemented("ISldWorks::NewAssembly", {}, doc);
    }
    HRESULT GetToggle(long id, VARIANT_BOOL* value) override {
        return this->notImplemented("ISldWorks::GetToggle", {journalValue(id)}, value);
    }
    HRESULT SetToggle(long id, VARIANT_BOOL value) override {
        return this->notImplemented("ISldWorks::SetToggle",
                                    {journalValue(id), journalValue(value)});
    }
    HRESULT GetIntegerSetting(long id, long* value) override {
        return this->notImplemented("ISldWorks::GetIntegerSetting", {journalValue(id)}, value);
    }
    HRESULT SetIntegerSetting(long id, long value, VARIANT_BOOL* done) override {
        return this->notImplemented("ISldWorks::SetIntegerSetting",
                                    {journalValue(id), journalValue(value)}, done);
    }
    HRESULT GetFirstDocument(IDispatch** doc) override {
        return this->notImplemented("ISldWorks::GetFirstDocument", {}, doc);
    }
    HRESULT OpenDocument(BSTR path, long type, long options, BSTR configuration, long* errors,
                         long* warnings, IModelDoc2** doc) override {
        return this->notImplemented("ISldWorks::OpenDocument",
                                    {journalValue(path), journalValue(type), journalValue(options),
                                     journalValue(configuration)},
                                    errors, warnings, doc);
    }
    HRESULT CloseDocument(BSTR path) override {
        return this->notImplemented("ISldWorks::CloseDocument", {journalValue(path)});
    }
    HRESULT GetImportData(BSTR path, IDispatch** data) override {
        return this->notImplemented("ISldWorks::GetImportData", {journalValue(path)}, data);
    }
    HRESULT LoadFile(BSTR path, BSTR arguments, IDispatch* data, long* error,
                     IDispatch** doc) override {
        return this->notImplemented(
            "ISldWorks::LoadFile",
            {journalValue(path), journalValue(arguments), journalValue(data)}, error, doc);
    }
    HRESULT PreloadDocument(BSTR path, long type, IDispatch** doc) override {
        return this->notImplemented("ISldWorks::PreloadDocument",
                                    {journalValue(path), journalValue(type)}, doc);
    }
    HRESULT GetErrorMessages(VARIANT* messages, VARIANT* ids, VARIANT* types,
                             long* count) override {
        return this->notImplemented("ISldWorks::GetErrorMessages", {}, messages, ids, types, count);
    }
};

template <class Base> class modelDoc2StubsT : public Base {
public:
    using Base::Base;
    HRESULT GetType(long* type) override {
        return this->notImplemented("IModelDoc2::GetType", {}, type);
    }
    HRESULT GetPathName(BSTR* path) override {
        return this->notImplemented("IModelDoc2::GetPathName", {}, path);
    }
    HRESULT GetNextDocument(IDispatch** doc) override {
        return this->notImplemented("IModelDoc2::GetNextDocument", {}, doc);
    }
    HRESULT FirstFeature(IDispatch** feature) override {
        return this->notImplemented("IModelDoc2::FirstFeature", {}, feature);
    }
    HRESULT GetFirstFeatureObject(IDispatch** feature) override {
        return this->notImplemented("IModelDoc2::GetFirstFeatureObject", {}, feature);
    }
    HRESULT GetExtension(IDocExtension** extension) override {
        return this->notImplemented("IModelDoc2::GetExtension", {}, extension);
    }
    HRESULT GetFeatureManager(IFeatureManager** manager) override {
        return this->notImplemented("IModelDoc2::GetFeatureManager", {}, manager);
    }
    HRESULT GetSelectionManager(ISelectionManager** manager) override {
        return this->notImplemented("IModelDoc2::GetSelectionManager", {}, manager);
    }
    HRESULT GetConfigurationManager(IConfigurationManager** manager) override {
        return this->notImplemented("IModelDoc2::GetConfigurationManager", {}, manager);
    }
    HRESULT GetActiveConfiguration(IDispatch** configuration) override {
        return this->notImplemented("IModelDoc2::GetActiveConfiguration", {}, configuration);
    }
    HRESULT GetEditedSketch(IDispatch** sketch) override {
        return this->notImplemented("IModelDoc2::GetEditedSketch", {}, sketch);
    }
    HRESULT InsertSketch(VARIANT_BOOL update) override {
        return this->notImplemented("IModelDoc2::InsertSketch", {journalValue(update)});
    }
    HRESULT EditSketchToggle(VARIANT_BOOL update) override {
        return this->notImplemented("IModelDoc2::EditSketchToggle", {journalValue(update)});
    }
    HRESULT Insert3dSketch(VARIANT_BOOL update) override {
        return this->notImplemented("IModelDoc2::Insert3dSketch", {journalValue(update)});
    }
    HRESULT ClearSelection() override {
        return this->notImplemented("IModelDoc2::ClearSelection", {});
    }
    HRESULT SelectByName(BSTR name, BSTR type, double x, double y, double z,
                         VARIANT_BOOL* selected) override {
        return this->notImplemented("IModelDoc2::SelectByName",
                                    {journalValue(name), journalValue(type), journalValue(x),
                                     journalValue(y), journalValue(z)},
                                    selected);
    }
    HRESULT SelectById(BSTR name, BSTR type, double x, double y, double z,
                       VARIANT_BOOL* selected) override {
        return this->notImplemented("IModelDoc2::SelectById",
                                    {journalValue(name), journalValue(type), journalValue(x),
                                     journalValue(y), journalValue(z)},
                                    selected);
    }
    HRESULT SelectByRay(double x, double y, double z, double dx, double dy, double dz,
                        double radius, long type, VARIANT_BOOL* selected) override {
        return this->notImplemented("IModelDoc2::SelectByRay",
                                    {journalValue(x), journalValue(y), journalValue(z),
                                     journalValue(dx), journalValue(dy), journalValue(dz),
                                     journalValue(radius), journalValue(type)},
                                    selected);
    }
    HRESULT SelectAtPointAndNormal(VARIANT data, long type, VARIANT_BOOL* selected) override {
        return this->notImplemented("IModelDoc2::SelectAtPointAndNormal",
                                    {journalValue(data), journalValue(type)}, selected);
    }
    HRESULT HideSelection() override {
        return this->notImplemented("IModelDoc2::HideSelection", {});
    }
    HRESULT CreatePlaneThroughPoints(VARIANT first, VARIANT second, VARIANT third,
                                     VARIANT_BOOL fixed, VARIANT_BOOL* created) override {
        return this->notImplemented(
            "IModelDoc2::CreatePlaneThroughPoints",
            {journalValue(first), journalValue(second), journalValue(third), journalValue(fixed)},
            created);
    }
    HRESULT FixSelectedPlane() override {
        return this->notImplemented("IModelDoc2::FixSelectedPlane", {});
    }
    HRESULT CreateOffsetPlane(double distance, VARIANT_BOOL flip, VARIANT_BOOL fixed,
                              IDispatch** plane) override {
        return this->notImplemented(
            "IModelDoc2::CreateOffsetPlane",
            {journalValue(distance), journalValue(flip), journalValue(fixed)}, plane);
    }
    HRESULT CreateAxis(VARIANT_BOOL* created) override {
        return this->notImplemented("IModelDoc2::CreateAxis", {}, created);
    }
    HRESULT DeleteSelection(VARIANT_BOOL keepChildren, VARIANT_BOOL* deleted) override {
        return this->notImplemented("IModelDoc2::DeleteSelection", {journalValue(keepChildren)},
                                    deleted);
    }
    HRESULT HideSelectedSketch() override {
        return this->notImplemented("IModelDoc2::HideSelectedSketch", {});
    }
    HRESULT NoteSkipMismatch() override {
        return this->notImplemented("IModelDoc2::NoteSkipMismatch", {});
    }
    HRESULT CreateLine(double x1, double y1, double z1, double x2, double y2, double z2,
                       IDispatch** segment) override {
        return this->notImplemented("IModelDoc2::CreateLine",
                                    {journalValue(x1), journalValue(y1), journalValue(z1),
                                     journalValue(x2), journalValue(y2), journalValue(z2)},
                                    segment);
    }
    HRESULT CreatePoint(double x, double y, double z, IDispatch** point) override {
        return this->notImplemented("IModelDoc2::CreatePoint",
                                    {journalValue(x), journalValue(y), journalValue(z)}, point);
    }
    HRESULT CreateArc(double x1, double y1, double z1, double x2, double y2, double z2, double xm,
                      double ym, double zm, VARIANT_BOOL* created) override {
        return this->notImplemented("IModelDoc2::CreateArc",
                                    {journalValue(x1), journalValue(y1), journalValue(z1),
                                     journalValue(x2), journalValue(y2), journalValue(z2),
                                     journalValue(xm), journalValue(ym), journalValue(zm)},
                                    created);
    }
    HRESULT CreateCircle(double x, double y, double z, double radius,
                         IDispatch** segment) override {
        return this->notImplemented(
            "IModelDoc2::CreateCircle",
            {journalValue(x), journalValue(y), journalValue(z), journalValue(radius)}, segment);
    }
    HRESULT CreateExtrusion(VARIANT_BOOL singleDirection, VARIANT_BOOL flip, VARIANT_BOOL reverse,
                            long endCondition1, long endCondition2, double depth1, double depth2,
                            VARIANT_BOOL draft1, VARIANT_BOOL draft2, VARIANT_BOOL draftOutward1,
                            VARIANT_BOOL draftOutward2, double draftAngle1, double draftAngle2,
                            VARIANT_BOOL offsetReverse1, VARIANT_BOOL offsetReverse2) override {
        return this->notImplemented(
            "IModelDoc2::CreateExtrusion",
            {journalValue(singleDirection), journalValue(flip), journalValue(reverse),
             journalValue(endCondition1), journalValue(endCondition2), journalValue(depth1),
             journalValue(depth2), journalValue(draft1), journalValue(draft2),
             journalValue(draftOutward1), journalValue(draftOutward2), journalValue(draftAngle1),
             journalValue(draftAngle2), journalValue(offsetReverse1),
             journalValue(offsetReverse2)});
    }
    HRESULT Rebuild(VARIANT_BOOL topOnly, VARIANT_BOOL* done) override {
        return this->notImplemented("IModelDoc2::Rebuild", {journalValue(topOnly)}, done);
    }
    HRESULT RebuildAndCheck(VARIANT_BOOL topOnly, VARIANT_BOOL* rebuilt) override {
        return this->notImplemented("IModelDoc2::RebuildAndCheck", {journalValue(topOnly)},
                                    rebuilt);
    }
    HRESULT ForceRebuild(long options) override {
        return this->notImplemented("IModelDoc2::ForceRebuild", {journalValue(options)});
    }
    HRESULT RebuildIfNeeded(VARIANT_BOOL* rebuilt) override {
        return this->notImplemented("IModelDoc2::RebuildIfNeeded", {}, rebuilt);
    }
    HRESULT HasUnsavedChanges(VARIANT_BOOL* dirty) override {
        return this->notImplemented("IModelDoc2::HasUnsavedChanges", {}, dirty);
    }
    HRESULT Save(long options, long* errors) override {
        return this->notImplemented("IModelDoc2::Save", {journalValue(options)}, errors);
    }
    HRESULT SaveCopyAs(BSTR path, long options, long* errors) override {
        return this->notImplemented("IModelDoc2::SaveCopyAs",
                                    {journalValue(path), journalValue(options)}, errors);
    }
    HRESULT GetConfigurationNames(VARIANT* names) override {
        return this->notImplemented("IModelDoc2::GetConfigurationNames", {}, names);
    }
    HRESULT CopySelectedFaceAsSurface(long options1, long options2) override {
        return this->notImplemented("IModelDoc2::CopySelectedFaceAsSurface",
                                    {journalValue(options1), journalValue(options2)});
    }
    HRESULT GetCreationFlag(VARIANT_BOOL* flag) override {
        return this->notImplemented("IModelDoc2::GetCreationFlag", {}, flag);
    }
    HRESULT SetCreationFlag(VARIANT_BOOL flag) override {
        return this->notImplemented("IModelDoc2::SetCreationFlag", {journalValue(flag)});
    }
    HRESULT GetSettingA(VARIANT_BOOL* value) override {
        return this->notImplemented("IModelDoc2::GetSettingA", {}, value);
    }
    HRESULT SetSettingA(VARIANT_BOOL value) override {
        return this->notImplemented("IModelDoc2::SetSettingA", {journalValue(value)});
    }
    HRESULT GetSettingB(VARIANT_BOOL* value) override {
        return this->notImplemented("IModelDoc2::GetSettingB", {}, value);
    }
    HRESULT SetSettingB(VARIANT_BOOL value) override {
        return this->notImplemented("IModelDoc2::SetSettingB", {journalValue(value)});
    }
    HRESULT EnterBuildMode(long mode) override {
        return this->notImplemented("IModelDoc2::EnterBuildMode", {journalValue(mode)});
    }
    HRESULT LeaveBuildMode() override {
        return this->notImplemented("IModelDoc2::LeaveBuildMode", {});
    }
    HRESULT GetStateObject(IDispatch** state) override {
        return this->notImplemented("IModelDoc2::GetStateObject", {}, state);
    }
    HRESULT AfterThreadCreated() override {
        return this->notImplemented("IModelDoc2::AfterThreadCreated", {});
    }
    HRESULT BeforeSketchWalk() override {
        return this->notImplemented("IModelDoc2::BeforeSketchWalk", {});
    }
    HRESULT ActOnSelectedFace(long options, VARIANT_BOOL* done) override {
        return this->notImplemented("IModelDoc2::ActOnSelectedFace", {journalValue(options)}, done);
    }
    HRESULT GetCustomNames(BSTR configuration, VARIANT* names) override {
        return this->notImplemented("IModelDoc2::GetCustomNames", {journalValue(configuration)},
                                    names);
    }
    HRESULT GetCustomValue(BSTR configuration, BSTR name, BSTR* value) override {
        return this->notImplemented("IModelDoc2::GetCustomValue",
                                    {journalValue(configuration), journalValue(name)}, value);
    }
    HRESULT SetCustomValue(BSTR configuration, BSTR name, BSTR value) override {
        return this->notImplemented(
            "IModelDoc2::SetCustomValue",
            {journalValue(configuration), journalValue(name), journalValue(value)});
    }
    HRESULT AddCustomValue(BSTR configuration, BSTR name, long type, BSTR value,
                           VARIANT_BOOL* added) override {
        return this->notImplemented("IModelDoc2::AddCustomValue",
                                    {journalValue(configuration), journalValue(name),
                                     journalValue(type), journalValue(value)},
                                    added);
    }
    HRESULT ReadCustomProperty(BSTR configuration, BSTR name, BSTR* value) override {
        return this->notImplemented("IModelDoc2::ReadCustomProperty",
                                    {journalValue(configuration), journalValue(name)}, value);
    }
    HRESULT GetSummaryInfo(long field, BSTR* text) override {
        return this->notImplemented("IModelDoc2::GetSummaryInfo", {journalValue(field)}, text);
    }
    HRESULT SetSummaryInfo(long field, BSTR text) override {
        return this->notImplemented("IModelDoc2::SetSummaryInfo",
                                    {journalValue(field), journalValue(text)});
    }
    HRESULT SetDoublePreference(long id, double value, VARIANT_BOOL* done) override {
        return this->notImplemented("IModelDoc2::SetDoublePreference",
                                    {journalValue(id), journalValue(value)}, done);
    }
    HRESULT GetIntegerPreference(long id, long* value) override {
        return this->notImplemented("IModelDoc2::GetIntegerPreference", {journalValue(id)}, value);
    }
    HRESULT GetLengthUnitArray(VARIANT* units) override {
        return this->notImplemented("IModelDoc2::GetLengthUnitArray", {}, units);
    }
    HRESULT GetAngleUnitArray(VARIANT* units) override {
        return this->notImplemented("IModelDoc2::GetAngleUnitArray", {}, units);
    }
    HRESULT ShowConfiguration(BSTR name, VARIANT_BOOL* shown) override {
        return this->notImplemented("IModelDoc2::ShowConfiguration", {journalValue(name)}, shown);
    }
    HRESULT ShowNamedView(BSTR name, long id) override {
        return this->notImplemented("IModelDoc2::ShowNamedView",
                                    {journalValue(name), journalValue(id)});
    }
    HRESULT FitView() override { return this->notImplemented("IModelDoc2::FitView", {}); }
    HRESULT ZoomToFit() override { return this->notImplemented("IModelDoc2::ZoomToFit", {}); }
    HRESULT SaveBitmap(BSTR path, long width, long height, VARIANT_BOOL* saved) override {
        return this->notImplemented("IModelDoc2::SaveBitmap",
                                    {journalValue(path), journalValue(width), journalValue(height)},
                                    saved);
    }
    HRESULT SetIntegerPreference(long id, long value, VARIANT_BOOL* done) override {
        return this->notImplemented("IModelDoc2::SetIntegerPreference",
                                    {journalValue(id), journalValue(value)}, done);
    }
    HRESULT GetDoublePreference(long id, double* value) override {
        return this->notImplemented("IModelDoc2::GetDoublePreference", {journalValue(id)}, value);
    }
    HRESULT SaveAs(BSTR path, long options, long* errors) override {
        return this->notImplemented("IModelDoc2::SaveAs",
                                    {journalValue(path), journalValue(options)}, errors);
    }
};

template <class Base> class partDocStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetBodies(long kind, VARIANT* bodies) override {
        return this->notImplemented("IPartDoc::GetBodies", {journalValue(kind)}, bodies);
    }
    HRESULT ListBodies(long kind, VARIANT_BOOL visibleOnly, VARIANT* bodies) override {
        return this->notImplemented("IPartDoc::ListBodies",
                                    {journalValue(kind), journalValue(visibleOnly)}, bodies);
    }
    HRESULT GetEntityName(IDispatch* entity, BSTR* name) override {
        return this->notImplemented("IPartDoc::GetEntityName", {journalValue(entity)}, name);
    }
    HRESULT SetEntityName(IDispatch* entity, BSTR name, VARIANT_BOOL* named) override {
        return this->notImplemented("IPartDoc::SetEntityName",
                                    {journalValue(entity), journalValue(name)}, named);
    }
    HRESULT FeatureByName(BSTR name, IDispatch** feature) override {
        return this->notImplemented("IPartDoc::FeatureByName", {journalValue(name)}, feature);
    }
    HRESULT GetBox(long options, VARIANT* box) override {
        return this->notImplemented("IPartDoc::GetBox", {journalValue(options)}, box);
    }
};

template <class Base> class assemblyDocStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetBox(long options, VARIANT* box) override {
        return this->notImplemented("IAssemblyDoc::GetBox", {journalValue(options)}, box);
    }
    HRESULT AddComponents3(VARIANT names, VARIANT transforms, VARIANT coordinateSystems,
                           VARIANT* components) override {
        return this->notImplemented(
            "IAssemblyDoc::AddComponents3",
            {journalValue(names), journalValue(transforms), journalValue(coordinateSystems)},
            components);
    }
};

template <class Base> class docExtensionStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetNewestFeature(IDispatch** feature) override {
        return this->notImplemented("IDocExtension::GetNewestFeature", {}, feature);
    }
    HRESULT SelectById(BSTR name, BSTR type, double x, double y, double z, VARIANT_BOOL append,
                       long mark, IDispatch* callout, VARIANT_BOOL* selected) override {
        return this->notImplemented("IDocExtension::SelectById",
                                    {journalValue(name), journalValue(type), journalValue(x),
                                     journalValue(y), journalValue(z), journalValue(append),
                                     journalValue(mark), journalValue(callout)},
                                    selected);
    }
    HRESULT CreateMassProperty(IMassProperty** properties) override {
        return this->notImplemented("IDocExtension::CreateMassProperty", {}, properties);
    }
    HRESULT GetCustomPropertyManager(BSTR configuration,
                                     ICustomPropertyManager** manager) override {
        return this->notImplemented("IDocExtension::GetCustomPropertyManager",
                                    {journalValue(configuration)}, manager);
    }
};

// The journalled arguments of the two sweep calls (the stubs' and the session's).
inline journalArgs sweepArgs(short s1, short s2, VARIANT_BOOL v3, double d4, VARIANT_BOOL v5,
                             VARIANT_BOOL v6, double d7, double d8, VARIANT_BOOL v9,
                             VARIANT_BOOL v10, VARIANT_BOOL v11, double d12, double d13,
                             VARIANT_BOOL v14, VARIANT_BOOL v15, VARIANT_BOOL v16,
                             VARIANT_BOOL v17) {
    return {journalValue(s1),  journalValue(s2),  journalValue(v3),  journalValue(d4),
            journalValue(v5),  journalValue(v6),  journalValue(d7),  journalValue(d8),
            journalValue(v9),  journalValue(v10), journalValue(v11), journalValue(d12),
            journalValue(d13), journalValue(v14), journalValue(v15), journalValue(v16),
            journalValue(v17)};
}
inline journalArgs sweepWithOperationArgs(short s1, short s2, VARIANT_BOOL v3, double d4,
                                          VARIANT_BOOL v5, VARIANT_BOOL v6, VARIANT_BOOL v7,
                                          double d8, double d9, VARIANT_BOOL v10, VARIANT_BOOL v11,
                                          VARIANT_BOOL v12) {
    return {journalValue(s1), journalValue(s2),  journalValue(v3),  journalValue(d4),
            journalValue(v5), journalValue(v6),  journalValue(v7),  journalValue(d8),
            journalValue(d9), journalValue(v10), journalValue(v11), journalValue(v12)};
}

template <class Base> class featureManagerStubsT : public Base {
public:
    using Base::Base;
    HRESULT CreateExtrusion(VARIANT_BOOL singleDirection, VARIANT_BOOL flip, VARIANT_BOOL reverse,
                            long endCondition1, long endCondition2, double depth1, double depth2,
                            VARIANT_BOOL draft1, VARIANT_BOOL draft2, VARIANT_BOOL draftOutward1,
                            VARIANT_BOOL draftOutward2, double draftAngle1, double draftAngle2,
                            VARIANT_BOOL offsetReverse1, VARIANT_BOOL offsetReverse2,
                            VARIANT_BOOL translate1, VARIANT_BOOL translate2, VARIANT_BOOL merge,
                            VARIANT_BOOL featureScope, VARIANT_BOOL autoSelect,
                            IFeature** feature) override {
        return this->notImplemented("IFeatureManager::CreateExtrusion",
                                    {journalValue(singleDirection), journalValue(flip),
                                     journalValue(reverse),         journalValue(endCondition1),
                                     journalValue(endCondition2),   journalValue(depth1),
                                     journalValue(depth2),          journalValue(draft1),
                                     journalValue(draft2),          journalValue(draftOutward1),
                                     journalValue(draftOutward2),   journalValue(draftAngle1),
                                     journalValue(draftAngle2),     journalValue(offsetReverse1),
                                     journalValue(offsetReverse2),  journalValue(translate1),
                                     journalValue(translate2),      journalValue(merge),
                                     journalValue(featureScope),    journalValue(autoSelect)},
                                    feature);
    }
    HRESULT CreateCutExtrusion(VARIANT_BOOL singleDirection, VARIANT_BOOL flip,
                               VARIANT_BOOL reverse, long endCondition1, long endCondition2,
                               double depth1, double depth2, VARIANT_BOOL draft1,
                               VARIANT_BOOL draft2, VARIANT_BOOL draftOutward1,
                               VARIANT_BOOL draftOutward2, double draftAngle1, double draftAngle2,
                               VARIANT_BOOL offsetReverse1, VARIANT_BOOL offsetReverse2,
                               VARIANT_BOOL translate1, VARIANT_BOOL translate2, VARIANT_BOOL merge,
                               VARIANT_BOOL featureScope, VARIANT_BOOL autoSelect,
                               IFeature** feature) override {
        return this->notImplemented("IFeatureManager::CreateCutExtrusion",
                                    {journalValue(singleDirection), journalValue(flip),
                                     journalValue(reverse),         journalValue(endCondition1),
                                     journalValue(endCondition2),   journalValue(depth1),
                                     journalValue(depth2),          journalValue(draft1),
                                     journalValue(draft2),          journalValue(draftOutward1),
                                     journalValue(draftOutward2),   journalValue(draftAngle1),
                                     journalValue(draftAngle2),     journalValue(offsetReverse1),
                                     journalValue(offsetReverse2),  journalValue(translate1),
                                     journalValue(translate2),      journalValue(merge),
                                     journalValue(featureScope),    journalValue(autoSelect)},
                                    feature);
    }
    HRESULT CreateRevolution(double angle1, VARIANT_BOOL reverse, double angle2, long type,
                             long options, VARIANT_BOOL merge, VARIANT_BOOL featureScope,
                             VARIANT_BOOL autoSelect, IFeature** feature) override {
        return this->notImplemented("IFeatureManager::CreateRevolution",
                                    {journalValue(angle1), journalValue(reverse),
                                     journalValue(angle2), journalValue(type),
                                     journalValue(options), journalValue(merge),
                                     journalValue(featureScope), journalValue(autoSelect)},
                                    feature);
    }
    HRESULT CreateCutRevolution(double angle1, VARIANT_BOOL reverse, double angle2, long type,
                                long options, VARIANT_BOOL featureScope, VARIANT_BOOL autoSelect,
                                IFeature** feature) override {
        return this->notImplemented(
            "IFeatureManager::CreateCutRevolution",
            {journalValue(angle1), journalValue(reverse), journalValue(angle2), journalValue(type),
             journalValue(options), journalValue(featureScope), journalValue(autoSelect)},
            feature);
    }
    HRESULT CreateHole(long type, long standard, long fastener, BSTR size,
                       VARIANT_BOOL endCondition, double d1, double d2, double d3, double d4,
                       double d5, double d6, double d7, double d8, double d9, double d10,
                       double d11, double d12, double d13, double d14, BSTR text,
                       VARIANT_BOOL flag1, VARIANT_BOOL flag2, VARIANT_BOOL flag3,
                       VARIANT_BOOL flag4, VARIANT_BOOL flag5, VARIANT_BOOL flag6,
                       IFeature** feature) override {
        return this->notImplemented(
            "IFeatureManager::CreateHole",
            {journalValue(type),  journalValue(standard),     journalValue(fastener),
             journalValue(size),  journalValue(endCondition), journalValue(d1),
             journalValue(d2),    journalValue(d3),           journalValue(d4),
             journalValue(d5),    journalValue(d6),           journalValue(d7),
             journalValue(d8),    journalValue(d9),           journalValue(d10),
             journalValue(d11),   journalValue(d12),          journalValue(d13),
             journalValue(d14),   journalValue(text),         journalValue(flag1),
             journalValue(flag2), journalValue(flag3),        journalValue(flag4),
             journalValue(flag5), journalValue(flag6)},
            feature);
    }
    HRESULT InsertCosmeticThread(short type, double diameter, double length, BSTR description,
                                 IFeature** feature) override {
        return this->notImplemented("IFeatureManager::InsertCosmeticThread",
                                    {journalValue(type), journalValue(diameter),
                                     journalValue(length), journalValue(description)},
                                    feature);
    }
    HRESULT SetTreeUpdates(VARIANT_BOOL enabled) override {
        return this->notImplemented("IFeatureManager::SetTreeUpdates", {journalValue(enabled)});
    }
    HRESULT CreateLinearPattern(long count1, double spacing1, long count2, double spacing2,
                                VARIANT_BOOL flip1, VARIANT_BOOL flip2, BSTR name1, BSTR name2,
                                VARIANT_BOOL geometry, IFeature** feature) override {
        return this->notImplemented("IFeatureManager::CreateLinearPattern",
                                    {journalValue(count1), journalValue(spacing1),
                                     journalValue(count2), journalValue(spacing2),
                                     journalValue(flip1), journalValue(flip2), journalValue(name1),
                                     journalValue(name2), journalValue(geometry)},
                                    feature);
    }
    HRESULT CreateCircularPattern(long count, double angle, VARIANT_BOOL reverse, BSTR name,
                                  VARIANT_BOOL geometry, IFeature** feature) override {
        return this->notImplemented("IFeatureManager::CreateCircularPattern",
                                    {journalValue(count), journalValue(angle),
                                     journalValue(reverse), journalValue(name),
                                     journalValue(geometry)},
                                    feature);
    }
    HRESULT CreateSketchPattern(VARIANT_BOOL useCentroid, VARIANT_BOOL geometry,
                                IFeature** feature) override {
        return this->notImplemented("IFeatureManager::CreateSketchPattern",
                                    {journalValue(useCentroid), journalValue(geometry)}, feature);
    }
    HRESULT CreateSweep(short s1, short s2, VARIANT_BOOL v3, double d4, VARIANT_BOOL v5,
                        VARIANT_BOOL v6, double d7, double d8, VARIANT_BOOL v9, VARIANT_BOOL v10,
                        VARIANT_BOOL v11, double d12, double d13, VARIANT_BOOL v14,
                        VARIANT_BOOL v15, VARIANT_BOOL v16, VARIANT_BOOL v17,
                        IFeature** feature) override {
        return this->notImplemented(
            "IFeatureManager::CreateSweep",
            sweepArgs(s1, s2, v3, d4, v5, v6, d7, d8, v9, v10, v11, d12, d13, v14, v15, v16, v17),
            feature);
    }
    HRESULT CreateSweepWithOperation(short s1, short s2, VARIANT_BOOL v3, double d4,
                                     VARIANT_BOOL v5, VARIANT_BOOL v6, VARIANT_BOOL v7, double d8,
                                     double d9, VARIANT_BOOL v10, VARIANT_BOOL v11,
                                     VARIANT_BOOL v12, IFeature** feature) override {
        return this->notImplemented(
            "IFeatureManager::CreateSweepWithOperation",
            sweepWithOperationArgs(s1, s2, v3, d4, v5, v6, v7, d8, d9, v10, v11, v12), feature);
    }
    HRESULT HideSelectedBodies() override {
        return this->notImplemented("IFeatureManager::HideSelectedBodies", {});
    }
    HRESULT InsertMateReference(BSTR name, IDispatch* entity1, long type1, long alignment1,
                                IDispatch* entity2, long type2, long alignment2, IDispatch* entity3,
                                long type3, long alignment3, IFeature** feature) override {
        return this->notImplemented("IFeatureManager::InsertMateReference",
                                    {journalValue(name), journalValue(entity1), journalValue(type1),
                                     journalValue(alignment1), journalValue(entity2),
                                     journalValue(type2), journalValue(alignment2),
                                     journalValue(entity3), journalValue(type3),
                                     journalValue(alignment3)},
                                    feature);
    }
};

template <class Base> class featureStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetName(BSTR* name) override {
        return this->notImplemented("IFeature::GetName", {}, name);
    }
    HRESULT SetName(BSTR name) override {
        return this->notImplemented("IFeature::SetName", {journalValue(name)});
    }
    HRESULT GetNext(IDispatch** feature) override {
        return this->notImplemented("IFeature::GetNext", {}, feature);
    }
    HRESULT GetTypeName(BSTR* type) override {
        return this->notImplemented("IFeature::GetTypeName", {}, type);
    }
    HRESULT GetSpecificFeature(IDispatch** object) override {
        return this->notImplemented("IFeature::GetSpecificFeature", {}, object);
    }
    HRESULT Select(VARIANT_BOOL append, long mark, VARIANT_BOOL* selected) override {
        return this->notImplemented("IFeature::Select", {journalValue(append), journalValue(mark)},
                                    selected);
    }
    HRESULT GetFaces(VARIANT* faces) override {
        return this->notImplemented("IFeature::GetFaces", {}, faces);
    }
    HRESULT SetSuppression(long state, long option, long count, BSTR* configurations,
                           VARIANT_BOOL* done) override {
        return this->notImplemented("IFeature::SetSuppression",
                                    {journalValue(state), journalValue(option), journalValue(count),
                                     journalValue(configurations)},
                                    done);
    }
    HRESULT GetFirstSubFeature(IDispatch** feature) override {
        return this->notImplemented("IFeature::GetFirstSubFeature", {}, feature);
    }
    HRESULT GetNextSubFeature(IDispatch** feature) override {
        return this->notImplemented("IFeature::GetNextSubFeature", {}, feature);
    }
    HRESULT GetFirstDimensionAnnotation(IDispatch** annotation) override {
        return this->notImplemented("IFeature::GetFirstDimensionAnnotation", {}, annotation);
    }
    HRESULT GetNextDimensionAnnotation(IDispatch* current, IDispatch** annotation) override {
        return this->notImplemented("IFeature::GetNextDimensionAnnotation", {journalValue(current)},
                                    annotation);
    }
    HRESULT GetPatternData(IDispatch** data) override {
        return this->notImplemented("IFeature::GetPatternData", {}, data);
    }
    HRESULT ModifyPatternData(IDispatch* data, IModelDoc2* doc, IDispatch* component,
                              VARIANT_BOOL* done) override {
        return this->notImplemented(
            "IFeature::ModifyPatternData",
            {journalValue(data), journalValue(doc), journalValue(component)}, done);
    }
    HRESULT HideInTree(long hide, long options) override {
        return this->notImplemented("IFeature::HideInTree",
                                    {journalValue(hide), journalValue(options)});
    }
};

template <class Base> class refPlaneStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetGeometry(VARIANT* geometry) override {
        return this->notImplemented("IRefPlane::GetGeometry", {}, geometry);
    }
};

template <class Base> class linearPatternDataStubsT : public Base {
public:
    using Base::Base;
    HRESULT BeginAccess(IModelDoc2* doc, IDispatch* component, VARIANT_BOOL* done) override {
        return this->notImplemented("ILinearPatternData::BeginAccess",
                                    {journalValue(doc), journalValue(component)}, done);
    }
    HRESULT SetGeometryPattern(VARIANT_BOOL value) override {
        return this->notImplemented("ILinearPatternData::SetGeometryPattern",
                                    {journalValue(value)});
    }
    HRESULT SetSkipped(long count, LONG* items) override {
        return this->notImplemented("ILinearPatternData::SetSkipped",
                                    {journalValue(count), journalValue(items)});
    }
    HRESULT SetSkippedArray(VARIANT items) override {
        return this->notImplemented("ILinearPatternData::SetSkippedArray", {journalValue(items)});
    }
    HRESULT GetSkippedCount(long* count) override {
        return this->notImplemented("ILinearPatternData::GetSkippedCount", {}, count);
    }
    HRESULT EndAccess() override {
        return this->notImplemented("ILinearPatternData::EndAccess", {});
    }
};

template <class Base> class circularPatternDataStubsT : public Base {
public:
    using Base::Base;
    HRESULT SetSkipped(long count, LONG* items) override {
        return this->notImplemented("ICircularPatternData::SetSkipped",
                                    {journalValue(count), journalValue(items)});
    }
    HRESULT GetSkippedCount(long* count) override {
        return this->notImplemented("ICircularPatternData::GetSkippedCount", {}, count);
    }
    HRESULT EndAccess() override {
        return this->notImplemented("ICircularPatternData::EndAccess", {});
    }
};

template <class Base> class dimensionAnnotationStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetDimension(IDispatch** dimension) override {
        return this->notImplemented("IDimensionAnnotation::GetDimension", {}, dimension);
    }
};

template <class Base> class dimensionStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetFullName(BSTR* name) override {
        return this->notImplemented("IDimension::GetFullName", {}, name);
    }
    HRESULT GetValue(IModelDoc2* doc, double* value) override {
        return this->notImplemented("IDimension::GetValue", {journalValue(doc)}, value);
    }
    HRESULT GetType(long* type) override {
        return this->notImplemented("IDimension::GetType", {}, type);
    }
};

template <class Base> class bodyObjectStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetFirstFace(IDispatch** face) override {
        return this->notImplemented("IBodyObject::GetFirstFace", {}, face);
    }
};

template <class Base> class bodyStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetFaceCount(long* count) override {
        return this->notImplemented("IBody::GetFaceCount", {}, count);
    }
    HRESULT GetFirstFace(IDispatch** face) override {
        return this->notImplemented("IBody::GetFirstFace", {}, face);
    }
    HRESULT GetEdges(VARIANT* edges) override {
        return this->notImplemented("IBody::GetEdges", {}, edges);
    }
    HRESULT SelectBody(VARIANT_BOOL append, IDispatch* data, VARIANT_BOOL* selected) override {
        return this->notImplemented("IBody::SelectBody", {journalValue(append), journalValue(data)},
                                    selected);
    }
};

template <class Base> class faceObjectStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetNextFace(IDispatch** face) override {
        return this->notImplemented("IFaceObject::GetNextFace", {}, face);
    }
    HRESULT GetSurface(IDispatch** surface) override {
        return this->notImplemented("IFaceObject::GetSurface", {}, surface);
    }
    HRESULT GetEdges(VARIANT* edges) override {
        return this->notImplemented("IFaceObject::GetEdges", {}, edges);
    }
};

template <class Base> class face2StubsT : public Base {
public:
    using Base::Base;
    HRESULT GetNextFace(IDispatch** face) override {
        return this->notImplemented("IFace2::GetNextFace", {}, face);
    }
    HRESULT GetSurface(IDispatch** surface) override {
        return this->notImplemented("IFace2::GetSurface", {}, surface);
    }
    HRESULT GetEdges(VARIANT* edges) override {
        return this->notImplemented("IFace2::GetEdges", {}, edges);
    }
    HRESULT GetNormal(VARIANT* normal) override {
        return this->notImplemented("IFace2::GetNormal", {}, normal);
    }
    HRESULT GetClosestPoint(double x, double y, double z, VARIANT* point) override {
        return this->notImplemented("IFace2::GetClosestPoint",
                                    {journalValue(x), journalValue(y), journalValue(z)}, point);
    }
    HRESULT GetBody(IDispatch** body) override {
        return this->notImplemented("IFace2::GetBody", {}, body);
    }
    HRESULT SetColorValues(VARIANT values) override {
        return this->notImplemented("IFace2::SetColorValues", {journalValue(values)});
    }
};

template <class Base> class edgeStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetClosestPoint(double x, double y, double z, VARIANT* point) override {
        return this->notImplemented("IEdge::GetClosestPoint",
                                    {journalValue(x), journalValue(y), journalValue(z)}, point);
    }
    HRESULT GetCurve(IDispatch** curve) override {
        return this->notImplemented("IEdge::GetCurve", {}, curve);
    }
    HRESULT GetTwoFaces(VARIANT* faces) override {
        return this->notImplemented("IEdge::GetTwoFaces", {}, faces);
    }
    HRESULT GetAdjacentFaces(VARIANT* faces) override {
        return this->notImplemented("IEdge::GetAdjacentFaces", {}, faces);
    }
};

template <class Base> class entityStubsT : public Base {
public:
    using Base::Base;
    HRESULT Select(VARIANT_BOOL append, VARIANT_BOOL* selected) override {
        return this->notImplemented("IEntity::Select", {journalValue(append)}, selected);
    }
    HRESULT SelectWithData(VARIANT_BOOL append, IDispatch* data, VARIANT_BOOL* selected) override {
        return this->notImplemented("IEntity::SelectWithData",
                                    {journalValue(append), journalValue(data)}, selected);
    }
    HRESULT SelectMarked(long mark, VARIANT_BOOL* selected) override {
        return this->notImplemented("IEntity::SelectMarked", {journalValue(mark)}, selected);
    }
};

template <class Base> class surfaceStubsT : public Base {
public:
    using Base::Base;
    HRESULT IsPlane(VARIANT_BOOL* result) override {
        return this->notImplemented("ISurface::IsPlane", {}, result);
    }
    HRESULT IsCylinder(VARIANT_BOOL* result) override {
        return this->notImplemented("ISurface::IsCylinder", {}, result);
    }
    HRESULT IsCone(VARIANT_BOOL* result) override {
        return this->notImplemented("ISurface::IsCone", {}, result);
    }
    HRESULT IsSphere(VARIANT_BOOL* result) override {
        return this->notImplemented("ISurface::IsSphere", {}, result);
    }
    HRESULT IsTorus(VARIANT_BOOL* result) override {
        return this->notImplemented("ISurface::IsTorus", {}, result);
    }
    HRESULT IsOffset(VARIANT_BOOL* result) override {
        return this->notImplemented("ISurface::IsOffset", {}, result);
    }
    HRESULT IsBlend(VARIANT_BOOL* result) override {
        return this->notImplemented("ISurface::IsBlend", {}, result);
    }
    HRESULT IsRevolved(VARIANT_BOOL* result) override {
        return this->notImplemented("ISurface::IsRevolved", {}, result);
    }
    HRESULT IsSwept(VARIANT_BOOL* result) override {
        return this->notImplemented("ISurface::IsSwept", {}, result);
    }
    HRESULT IsForeign(VARIANT_BOOL* result) override {
        return this->notImplemented("ISurface::IsForeign", {}, result);
    }
    HRESULT GetPlaneData(VARIANT* data) override {
        return this->notImplemented("ISurface::GetPlaneData", {}, data);
    }
    HRESULT QueryPoint(double x, double y, double z, VARIANT* point) override {
        return this->notImplemented("ISurface::QueryPoint",
                                    {journalValue(x), journalValue(y), journalValue(z)}, point);
    }
    HRESULT GetClosestPoint(double x, double y, double z, VARIANT* point) override {
        return this->notImplemented("ISurface::GetClosestPoint",
                                    {journalValue(x), journalValue(y), journalValue(z)}, point);
    }
};

template <class Base> class curveStubsT : public Base {
public:
    using Base::Base;
    HRESULT IsCircle(VARIANT_BOOL* result) override {
        return this->notImplemented("ICurve::IsCircle", {}, result);
    }
    HRESULT GetCircleParams(VARIANT* params) override {
        return this->notImplemented("ICurve::GetCircleParams", {}, params);
    }
};

template <class Base> class sketchStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetTransformData(VARIANT* data) override {
        return this->notImplemented("ISketch::GetTransformData", {}, data);
    }
    HRESULT GetStatus(long* status) override {
        return this->notImplemented("ISketch::GetStatus", {}, status);
    }
    HRESULT CheckStatus(long* result) override {
        return this->notImplemented("ISketch::CheckStatus", {}, result);
    }
    HRESULT ConstrainAll(long a, long b, long c, long d, long e, long* result) override {
        return this->notImplemented(
            "ISketch::ConstrainAll",
            {journalValue(a), journalValue(b), journalValue(c), journalValue(d), journalValue(e)},
            result);
    }
    HRESULT GetConstraintManager(IConstraintManager** manager) override {
        return this->notImplemented("ISketch::GetConstraintManager", {}, manager);
    }
    HRESULT GetPoints(VARIANT* points) override {
        return this->notImplemented("ISketch::GetPoints", {}, points);
    }
    HRESULT GetSegments(VARIANT* segments) override {
        return this->notImplemented("ISketch::GetSegments", {}, segments);
    }
};

template <class Base> class sketchSegmentStubsT : public Base {
public:
    using Base::Base;
    HRESULT SetCenterline(VARIANT_BOOL centreLine) override {
        return this->notImplemented("ISketchSegment::SetCenterline", {journalValue(centreLine)});
    }
};

template <class Base> class sketchPointStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetX(double* value) override {
        return this->notImplemented("ISketchPoint::GetX", {}, value);
    }
    HRESULT GetY(double* value) override {
        return this->notImplemented("ISketchPoint::GetY", {}, value);
    }
    HRESULT GetZ(double* value) override {
        return this->notImplemented("ISketchPoint::GetZ", {}, value);
    }
};

template <class Base> class constraintManagerStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetConstraints(long kind, VARIANT* constraints) override {
        return this->notImplemented("IConstraintManager::GetConstraints", {journalValue(kind)},
                                    constraints);
    }
    HRESULT AddConstraint(VARIANT entities, long kind, IDispatch** constraint) override {
        return this->notImplemented("IConstraintManager::AddConstraint",
                                    {journalValue(entities), journalValue(kind)}, constraint);
    }
    HRESULT RemoveConstraint(IDispatch* constraint, VARIANT_BOOL* removed) override {
        return this->notImplemented("IConstraintManager::RemoveConstraint",
                                    {journalValue(constraint)}, removed);
    }
};

template <class Base> class constraintStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetKind(long* kind) override {
        return this->notImplemented("IConstraint::GetKind", {}, kind);
    }
};

template <class Base> class selectionManagerStubsT : public Base {
public:
    using Base::Base;
    HRESULT CreateSelectionData(IDispatch** data) override {
        return this->notImplemented("ISelectionManager::CreateSelectionData", {}, data);
    }
    HRESULT GetSelectedObject(long index, IDispatch** object) override {
        return this->notImplemented("ISelectionManager::GetSelectedObject", {journalValue(index)},
                                    object);
    }
};

template <class Base> class selectionDataStubsT : public Base {
public:
    using Base::Base;
    HRESULT SetX(double value) override {
        return this->notImplemented("ISelectionData::SetX", {journalValue(value)});
    }
    HRESULT SetY(double value) override {
        return this->notImplemented("ISelectionData::SetY", {journalValue(value)});
    }
    HRESULT SetZ(double value) override {
        return this->notImplemented("ISelectionData::SetZ", {journalValue(value)});
    }
};

template <class Base> class stateObjectStubsT : public Base {
public:
    using Base::Base;
    HRESULT SetFlag(VARIANT_BOOL value) override {
        return this->notImplemented("IStateObject::SetFlag", {journalValue(value)});
    }
};

template <class Base> class massPropertyStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetCenterOfGravity(VARIANT* centre) override {
        return this->notImplemented("IMassProperty::GetCenterOfGravity", {}, centre);
    }
    HRESULT GetVolume(double* volume) override {
        return this->notImplemented("IMassProperty::GetVolume", {}, volume);
    }
    HRESULT SetUseGivenCenter(VARIANT_BOOL value) override {
        return this->notImplemented("IMassProperty::SetUseGivenCenter", {journalValue(value)});
    }
    HRESULT SetUseGivenMass(VARIANT_BOOL value) override {
        return this->notImplemented("IMassProperty::SetUseGivenMass", {journalValue(value)});
    }
    HRESULT ApplyValues(double mass, double x, double y, double z, long option,
                        VARIANT configurations, VARIANT_BOOL* done) override {
        return this->notImplemented("IMassProperty::ApplyValues",
                                    {journalValue(mass), journalValue(x), journalValue(y),
                                     journalValue(z), journalValue(option),
                                     journalValue(configurations)},
                                    done);
    }
};

template <class Base> class configurationManagerStubsT : public Base {
public:
    using Base::Base;
    HRESULT AddConfiguration(BSTR name, BSTR comment, BSTR alternateName, long options, BSTR parent,
                             BSTR description, IDispatch** configuration) override {
        return this->notImplemented("IConfigurationManager::AddConfiguration",
                                    {journalValue(name), journalValue(comment),
                                     journalValue(alternateName), journalValue(options),
                                     journalValue(parent), journalValue(description)},
                                    configuration);
    }
    HRESULT GetActiveConfiguration(IDispatch** configuration) override {
        return this->notImplemented("IConfigurationManager::GetActiveConfiguration", {},
                                    configuration);
    }
};

template <class Base> class configurationStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetName(BSTR* name) override {
        return this->notImplemented("IConfiguration::GetName", {}, name);
    }
    HRESULT GetRootComponent(IDispatch** component) override {
        return this->notImplemented("IConfiguration::GetRootComponent", {}, component);
    }
};

template <class Base> class componentStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetChildrenCount(long* count) override {
        return this->notImplemented("IComponent::GetChildrenCount", {}, count);
    }
    HRESULT GetChildren(VARIANT* children) override {
        return this->notImplemented("IComponent::GetChildren", {}, children);
    }
    HRESULT GetModelDoc(IDispatch** doc) override {
        return this->notImplemented("IComponent::GetModelDoc", {}, doc);
    }
    HRESULT SetState(long state) override {
        return this->notImplemented("IComponent::SetState", {journalValue(state)});
    }
    HRESULT IsStateSet(VARIANT_BOOL* result) override {
        return this->notImplemented("IComponent::IsStateSet", {}, result);
    }
    HRESULT SetConfiguration(BSTR name) override {
        return this->notImplemented("IComponent::SetConfiguration", {journalValue(name)});
    }
    HRESULT GetBodies(long kind, VARIANT* bodies) override {
        return this->notImplemented("IComponent::GetBodies", {journalValue(kind)}, bodies);
    }
};

template <class Base> class componentObjectStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetModelDoc(IDispatch** doc) override {
        return this->notImplemented("IComponentObject::GetModelDoc", {}, doc);
    }
    HRESULT GetPathName(BSTR* path) override {
        return this->notImplemented("IComponentObject::GetPathName", {}, path);
    }
};

template <class Base> class customPropertyManagerStubsT : public Base {
public:
    using Base::Base;
    HRESULT GetAll(VARIANT* names, VARIANT* types, VARIANT* values, long* count) override {
        return this->notImplemented("ICustomPropertyManager::GetAll", {}, names, types, values,
                                    count);
    }
};
