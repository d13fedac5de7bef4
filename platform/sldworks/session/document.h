// The session object of a part document: IModelDoc2 and IPartDoc on one object. It owns the
// document's context (model document and object cache); what parts and assemblies answer
// alike comes from commonDocT.
#pragma once

#include "platform/sldworks/session/common_document.h"

class documentC final
    : public commonDocT<
          modelDoc2StubsT<partDocStubsT<docObjectT<documentC, IModelDoc2, IPartDoc>>>> {
public:
    explicit documentC(const docContextPtr& context);
    ~documentC() override;

    const docContextPtr& context() const { return owned_; }

    // IModelDoc2
    HRESULT GetType(long* type) override;
    HRESULT FirstFeature(IDispatch** feature) override;
    HRESULT GetFirstFeatureObject(IDispatch** feature) override;
    HRESULT GetFeatureManager(IFeatureManager** manager) override;
    HRESULT GetSelectionManager(ISelectionManager** manager) override;
    HRESULT GetEditedSketch(IDispatch** sketch) override;
    HRESULT InsertSketch(VARIANT_BOOL update) override;
    HRESULT EditSketchToggle(VARIANT_BOOL update) override;
    HRESULT Insert3dSketch(VARIANT_BOOL update) override;
    HRESULT ClearSelection() override;
    HRESULT SelectByName(BSTR name, BSTR type, double x, double y, double z,
                         VARIANT_BOOL* selected) override;
    HRESULT SelectById(BSTR name, BSTR type, double x, double y, double z,
                       VARIANT_BOOL* selected) override;
    HRESULT SelectByRay(double x, double y, double z, double dx, double dy, double dz,
                        double radius, long type, VARIANT_BOOL* selected) override;
    HRESULT SelectAtPointAndNormal(VARIANT data, long type, VARIANT_BOOL* selected) override;
    HRESULT HideSelection() override;
    HRESULT CopySelectedFaceAsSurface(long options1, long options2) override;
    HRESULT ActOnSelectedFace(long options, VARIANT_BOOL* done) override;
    HRESULT CreatePlaneThroughPoints(VARIANT first, VARIANT second, VARIANT third,
                                     VARIANT_BOOL fixed, VARIANT_BOOL* created) override;
    HRESULT FixSelectedPlane() override;
    HRESULT CreateOffsetPlane(double distance, VARIANT_BOOL flip, VARIANT_BOOL fixed,
                              IDispatch** plane) override;
    HRESULT CreateAxis(VARIANT_BOOL* created) override;
    // Deletes the selected features with their children; TRUE when something was deleted.
    // With `keepChildren` nothing is deleted (no child here outlives its parent).
    HRESULT DeleteSelection(VARIANT_BOOL keepChildren, VARIANT_BOOL* deleted) override;
    // Hides the selected sketches.
    HRESULT HideSelectedSketch() override;
    // Only journalled: the pattern keeps the skip list it took.
    HRESULT NoteSkipMismatch() override;
    HRESULT CreateLine(double x1, double y1, double z1, double x2, double y2, double z2,
                       IDispatch** segment) override;
    HRESULT CreatePoint(double x, double y, double z, IDispatch** point) override;
    HRESULT CreateArc(double x1, double y1, double z1, double x2, double y2, double z2, double xm,
                      double ym, double zm, VARIANT_BOOL* created) override;
    HRESULT CreateCircle(double x, double y, double z, double radius, IDispatch** segment) override;
    HRESULT CreateExtrusion(VARIANT_BOOL singleDirection, VARIANT_BOOL flip, VARIANT_BOOL reverse,
                            long endCondition1, long endCondition2, double depth1, double depth2,
                            VARIANT_BOOL draft1, VARIANT_BOOL draft2, VARIANT_BOOL draftOutward1,
                            VARIANT_BOOL draftOutward2, double draftAngle1, double draftAngle2,
                            VARIANT_BOOL offsetReverse1, VARIANT_BOOL offsetReverse2) override;
    HRESULT Rebuild(VARIANT_BOOL topOnly, VARIANT_BOOL* done) override;
    HRESULT RebuildAndCheck(VARIANT_BOOL topOnly, VARIANT_BOOL* rebuilt) override;
    HRESULT ForceRebuild(long options) override;
    HRESULT RebuildIfNeeded(VARIANT_BOOL* rebuilt) override;
    HRESULT GetStateObject(IDispatch** state) override;
    HRESULT AfterThreadCreated() override;
    HRESULT BeforeSketchWalk() override;

    // IPartDoc
    HRESULT GetBodies(long kind, VARIANT* bodies) override;
    HRESULT ListBodies(long kind, VARIANT_BOOL visibleOnly, VARIANT* bodies) override;
    HRESULT GetEntityName(IDispatch* entity, BSTR* name) override;
    HRESULT SetEntityName(IDispatch* entity, BSTR name, VARIANT_BOOL* named) override;
    HRESULT FeatureByName(BSTR name, IDispatch** feature) override;
    HRESULT GetBox(long options, VARIANT* box) override;

private:
    HRESULT toggleSketch(const char* key, VARIANT_BOOL update, bool threeD);
    // With `visibleOnly` the hidden bodies are left out.
    HRESULT bodiesOf(long kind, VARIANT* bodies, bool visibleOnly);

    docContextPtr owned_;
};
