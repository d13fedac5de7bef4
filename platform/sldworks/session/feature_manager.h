// The feature-creation object of a document: extrusions, revolutions, lofts (for the sweep
// calls), holes, cosmetic threads and mate references from the current selection or the
// entities given, and the hiding of selected bodies. Every creation call gives the new
// feature, or null when the model could not make it (no closed profile, nothing to cut, ...).
#pragma once

#include "platform/sldworks/model/feature.h"
#include "platform/sldworks/session/doc_object.h"

class featureManagerC final
    : public featureManagerStubsT<docObjectT<featureManagerC, IFeatureManager>> {
public:
    explicit featureManagerC(const docContextPtr& context) : featureManagerStubsT(context) {}

    HRESULT CreateExtrusion(VARIANT_BOOL singleDirection, VARIANT_BOOL flip, VARIANT_BOOL reverse,
                            long endCondition1, long endCondition2, double depth1, double depth2,
                            VARIANT_BOOL draft1, VARIANT_BOOL draft2, VARIANT_BOOL draftOutward1,
                            VARIANT_BOOL draftOutward2, double draftAngle1, double draftAngle2,
                            VARIANT_BOOL offsetReverse1, VARIANT_BOOL offsetReverse2,
                            VARIANT_BOOL translate1, VARIANT_BOOL translate2, VARIANT_BOOL merge,
                            VARIANT_BOOL featureScope, VARIANT_BOOL autoSelect,
                            IFeature** feature) override;
    HRESULT CreateCutExtrusion(VARIANT_BOOL singleDirection, VARIANT_BOOL flip,
                               VARIANT_BOOL reverse, long endCondition1, long endCondition2,
                               double depth1, double depth2, VARIANT_BOOL draft1,
                               VARIANT_BOOL draft2, VARIANT_BOOL draftOutward1,
                               VARIANT_BOOL draftOutward2, double draftAngle1, double draftAngle2,
                               VARIANT_BOOL offsetReverse1, VARIANT_BOOL offsetReverse2,
                               VARIANT_BOOL translate1, VARIANT_BOOL translate2, VARIANT_BOOL merge,
                               VARIANT_BOOL featureScope, VARIANT_BOOL autoSelect,
                               IFeature** feature) override;
    HRESULT CreateRevolution(double angle1, VARIANT_BOOL reverse, double angle2, long type,
                             long options, VARIANT_BOOL merge, VARIANT_BOOL featureScope,
                             VARIANT_BOOL autoSelect, IFeature** feature) override;
    HRESULT CreateCutRevolution(double angle1, VARIANT_BOOL reverse, double angle2, long type,
                                long options, VARIANT_BOOL featureScope, VARIANT_BOOL autoSelect,
                                IFeature** feature) override;
    // The two sweeps: a loft through the sketches selected with mark 1, in selection order;
    // the sketch selected with mark 2 (the path) is recorded, not followed.
    HRESULT CreateSweep(short s1, short s2, VARIANT_BOOL v3, double d4, VARIANT_BOOL v5,
                        VARIANT_BOOL v6, double d7, double d8, VARIANT_BOOL v9, VARIANT_BOOL v10,
                        VARIANT_BOOL v11, double d12, double d13, VARIANT_BOOL v14,
                        VARIANT_BOOL v15, VARIANT_BOOL v16, VARIANT_BOOL v17,
                        IFeature** feature) override;
    HRESULT CreateSweepWithOperation(short s1, short s2, VARIANT_BOOL v3, double d4,
                                     VARIANT_BOOL v5, VARIANT_BOOL v6, VARIANT_BOOL v7, double d8,
                                     double d9, VARIANT_BOOL v10, VARIANT_BOOL v11,
                                     VARIANT_BOOL v12, IFeature** feature) override;
    HRESULT CreateHole(long type, long standard, long fastener, BSTR size,
                       VARIANT_BOOL endCondition, double d1, double d2, double d3, double d4,
                       double d5, double d6, double d7, double d8, double d9, double d10,
                       double d11, double d12, double d13, double d14, BSTR text,
                       VARIANT_BOOL flag1, VARIANT_BOOL flag2, VARIANT_BOOL flag3,
                       VARIANT_BOOL flag4, VARIANT_BOOL flag5, VARIANT_BOOL flag6,
                       IFeature** feature) override;
    HRESULT InsertCosmeticThread(short type, double diameter, double length, BSTR description,
                                 IFeature** feature) override;
    HRESULT SetTreeUpdates(VARIANT_BOOL enabled) override;
    HRESULT HideSelectedBodies() override;
    HRESULT InsertMateReference(BSTR name, IDispatch* entity1, long type1, long alignment1,
                                IDispatch* entity2, long type2, long alignment2, IDispatch* entity3,
                                long type3, long alignment3, IFeature** feature) override;
    // Along the lines marked 1 and 2 (start to end; flip reverses), of the feature marked 4.
    HRESULT CreateLinearPattern(long count1, double spacing1, long count2, double spacing2,
                                VARIANT_BOOL flip1, VARIANT_BOOL flip2, BSTR name1, BSTR name2,
                                VARIANT_BOOL geometry, IFeature** feature) override;
    // About the axis marked 1, `angle` between neighbours, of the feature marked 4.
    HRESULT CreateCircularPattern(long count, double angle, VARIANT_BOOL reverse, BSTR name,
                                  VARIANT_BOOL geometry, IFeature** feature) override;
    // At the points of the sketch marked 64, the point marked 32 standing for the feature
    // marked 4.
    HRESULT CreateSketchPattern(VARIANT_BOOL useCentroid, VARIANT_BOOL geometry,
                                IFeature** feature) override;

private:
    // The boss and the cut extrusion: journalled under `key`, the selected sketch extruded.
    HRESULT extrusionCall(const char* key, journalArgs args, const swsim::ExtrudeSpec& request,
                          IFeature** feature);
    // Both sweeps: journalled under `key`, the selected profiles lofted (boss or cut).
    HRESULT loftCall(const char* key, journalArgs args, bool cut, IFeature** feature);
};

// The extrusion the creation calls describe: both sides take depth1 on each side; only the
// first direction's draft is used.
swsim::ExtrudeSpec extrusionSpec(bool cut, VARIANT_BOOL singleDirection, VARIANT_BOOL reverse,
                                 double depth1, double depth2, VARIANT_BOOL draft1,
                                 VARIANT_BOOL draftOutward1, double draftAngle1, bool merge);

// The extrusion of the selected sketch (shared with the document's own extrusion call).
// Null when there is no selected sketch or the model refuses.
swsim::SolidFeaturePtr extrudeSelectedSketch(docContextS& context,
                                             const swsim::ExtrudeSpec& request);

// An assembly's feature manager: mate references on faces and edges of its components, as
// they lie in assembly space; every other call is not implemented.
class assemblyFeatureManagerC final
    : public featureManagerStubsT<docObjectT<assemblyFeatureManagerC, IFeatureManager>> {
public:
    explicit assemblyFeatureManagerC(const docContextPtr& context)
        : featureManagerStubsT(context) {}

    HRESULT InsertMateReference(BSTR name, IDispatch* entity1, long type1, long alignment1,
                                IDispatch* entity2, long type2, long alignment2, IDispatch* entity3,
                                long type3, long alignment3, IFeature** feature) override;
};

// The hole of the ten variants numbered by `d[2]` (d1..d14 as passed) at the selected face's
// pick point, going into the material. Null for an unknown variant or without a face.
swsim::SolidFeaturePtr holeAtSelection(docContextS& context, const double (&d)[14]);
