// Features, the feature-creation interface, reference planes, pattern data and dimensions.
// COM style: every method returns an HRESULT and gives its results through out-parameters;
// VARIANT_BOOL true is -1, object arrays are VARIANTs of VT_ARRAY|VT_DISPATCH, point answers
// VARIANTs of VT_ARRAY|VT_R8.
#pragma once

#include "platform/com/com.h"
#include "platform/sldworks/api/interfaces_fwd.h"

// Feature creation.
struct IFeatureManager : IDispatch {
    // Extruded boss of the selected sketch.
    virtual HRESULT
    CreateExtrusion(VARIANT_BOOL singleDirection, VARIANT_BOOL flip, VARIANT_BOOL reverse,
                    long endCondition1, long endCondition2, double depth1, double depth2,
                    VARIANT_BOOL draft1, VARIANT_BOOL draft2, VARIANT_BOOL draftOutward1,
                    VARIANT_BOOL draftOutward2, double draftAngle1, double draftAngle2,
                    VARIANT_BOOL offsetReverse1, VARIANT_BOOL offsetReverse2,
                    VARIANT_BOOL translate1, VARIANT_BOOL translate2, VARIANT_BOOL merge,
                    VARIANT_BOOL featureScope, VARIANT_BOOL autoSelect, IFeature** feature) = 0;
    // Extruded cut of the selected sketch.
    virtual HRESULT
    CreateCutExtrusion(VARIANT_BOOL singleDirection, VARIANT_BOOL flip, VARIANT_BOOL reverse,
                       long endCondition1, long endCondition2, double depth1, double depth2,
                       VARIANT_BOOL draft1, VARIANT_BOOL draft2, VARIANT_BOOL draftOutward1,
                       VARIANT_BOOL draftOutward2, double draftAngle1, double draftAngle2,
                       VARIANT_BOOL offsetReverse1, VARIANT_BOOL offsetReverse2,
                       VARIANT_BOOL translate1, VARIANT_BOOL translate2, VARIANT_BOOL merge,
                       VARIANT_BOOL featureScope, VARIANT_BOOL autoSelect, IFeature** feature) = 0;
    // Revolved boss.
    virtual HRESULT CreateRevolution(double angle1, VARIANT_BOOL reverse, double angle2, long type,
                                     long options, VARIANT_BOOL merge, VARIANT_BOOL featureScope,
                                     VARIANT_BOOL autoSelect, IFeature** feature) = 0;
    // Revolved cut.
    virtual HRESULT CreateCutRevolution(double angle1, VARIANT_BOOL reverse, double angle2,
                                        long type, long options, VARIANT_BOOL featureScope,
                                        VARIANT_BOOL autoSelect, IFeature** feature) = 0;
    // Hole on the selected face at the pick point.
    virtual HRESULT CreateHole(long type, long standard, long fastener, BSTR size,
                               VARIANT_BOOL endCondition, double d1, double d2, double d3,
                               double d4, double d5, double d6, double d7, double d8, double d9,
                               double d10, double d11, double d12, double d13, double d14,
                               BSTR text, VARIANT_BOOL flag1, VARIANT_BOOL flag2,
                               VARIANT_BOOL flag3, VARIANT_BOOL flag4, VARIANT_BOOL flag5,
                               VARIANT_BOOL flag6, IFeature** feature) = 0;
    // Cosmetic thread on the selected edge.
    virtual HRESULT InsertCosmeticThread(short type, double diameter, double length,
                                         BSTR description, IFeature** feature) = 0;
    // Feature tree flag.
    virtual HRESULT SetTreeUpdates(VARIANT_BOOL enabled) = 0;
    // Linear pattern of the marked selection.
    virtual HRESULT CreateLinearPattern(long count1, double spacing1, long count2, double spacing2,
                                        VARIANT_BOOL flip1, VARIANT_BOOL flip2, BSTR name1,
                                        BSTR name2, VARIANT_BOOL geometry, IFeature** feature) = 0;
    // Circular pattern.
    virtual HRESULT CreateCircularPattern(long count, double angle, VARIANT_BOOL reverse, BSTR name,
                                          VARIANT_BOOL geometry, IFeature** feature) = 0;
    // Sketch-driven pattern.
    virtual HRESULT CreateSketchPattern(VARIANT_BOOL useCentroid, VARIANT_BOOL geometry,
                                        IFeature** feature) = 0;
    // Sweep (17 values).
    virtual HRESULT CreateSweep(short s1, short s2, VARIANT_BOOL v3, double d4, VARIANT_BOOL v5,
                                VARIANT_BOOL v6, double d7, double d8, VARIANT_BOOL v9,
                                VARIANT_BOOL v10, VARIANT_BOOL v11, double d12, double d13,
                                VARIANT_BOOL v14, VARIANT_BOOL v15, VARIANT_BOOL v16,
                                VARIANT_BOOL v17, IFeature** feature) = 0;
    // Sweep (12 values).
    virtual HRESULT CreateSweepWithOperation(short s1, short s2, VARIANT_BOOL v3, double d4,
                                             VARIANT_BOOL v5, VARIANT_BOOL v6, VARIANT_BOOL v7,
                                             double d8, double d9, VARIANT_BOOL v10,
                                             VARIANT_BOOL v11, VARIANT_BOOL v12,
                                             IFeature** feature) = 0;
    // Slot 40: hides the selected bodies.
    virtual HRESULT HideSelectedBodies() = 0;
    // Mate reference.
    virtual HRESULT InsertMateReference(BSTR name, IDispatch* entity1, long type1, long alignment1,
                                        IDispatch* entity2, long type2, long alignment2,
                                        IDispatch* entity3, long type3, long alignment3,
                                        IFeature** feature) = 0;
};
COM_DECLARE_IID(IFeatureManager, "{6B39655E-381B-4BD0-89F5-640D48593F15}");
typedef _com_ptr_t<IFeatureManager> IFeatureManagerPtr;

// A feature.
struct IFeature : IDispatch {
    virtual HRESULT GetName(BSTR* name) = 0;
    // A name already in use changes nothing.
    virtual HRESULT SetName(BSTR name) = 0;
    // Next feature, null after the last.
    virtual HRESULT GetNext(IDispatch** feature) = 0;
    virtual HRESULT GetTypeName(BSTR* type) = 0;
    // The type-specific object (plane, sketch).
    virtual HRESULT GetSpecificFeature(IDispatch** object) = 0;
    virtual HRESULT Select(VARIANT_BOOL append, long mark, VARIANT_BOOL* selected) = 0;
    // Faces the feature made.
    virtual HRESULT GetFaces(VARIANT* faces) = 0;
    virtual HRESULT SetSuppression(long state, long option, long count, BSTR* configurations,
                                   VARIANT_BOOL* done) = 0;
    virtual HRESULT GetFirstSubFeature(IDispatch** feature) = 0;
    virtual HRESULT GetNextSubFeature(IDispatch** feature) = 0;
    virtual HRESULT GetFirstDimensionAnnotation(IDispatch** annotation) = 0;
    virtual HRESULT GetNextDimensionAnnotation(IDispatch* current, IDispatch** annotation) = 0;
    virtual HRESULT GetPatternData(IDispatch** data) = 0;
    virtual HRESULT ModifyPatternData(IDispatch* data, IModelDoc2* doc, IDispatch* component,
                                      VARIANT_BOOL* done) = 0;
    // Slot 17: hide in the feature tree.
    virtual HRESULT HideInTree(long hide, long options) = 0;
    // The features built directly on this one (sketches on its faces, features made from
    // it, patterns of it).
    virtual HRESULT GetChildren(VARIANT* children) = 0;
};
COM_DECLARE_IID(IFeature, "{4E0B2B4A-5C1D-4F7E-9A21-6D0C3E8F1A04}");
typedef _com_ptr_t<IFeature> IFeaturePtr;

// Reference plane.
struct IRefPlane : IDispatch {
    // Origin 0-2, X 3-5, normal 6-8, Y 9-11.
    virtual HRESULT GetGeometry(VARIANT* geometry) = 0;
};
COM_DECLARE_IID(IRefPlane, "{83A33D84-27C5-11CE-BFD4-00400513BB57}");
typedef _com_ptr_t<IRefPlane> IRefPlanePtr;

// Linear pattern data.
struct ILinearPatternData : IDispatch {
    virtual HRESULT BeginAccess(IModelDoc2* doc, IDispatch* component, VARIANT_BOOL* done) = 0;
    virtual HRESULT SetGeometryPattern(VARIANT_BOOL value) = 0;
    virtual HRESULT SetSkipped(long count, LONG* items) = 0;
    virtual HRESULT SetSkippedArray(VARIANT items) = 0;
    virtual HRESULT GetSkippedCount(long* count) = 0;
    // Ends the change.
    virtual HRESULT EndAccess() = 0;
};
COM_DECLARE_IID(ILinearPatternData, "{F86D1E94-7DE8-11D4-AEB7-00C04FA0AC51}");
typedef _com_ptr_t<ILinearPatternData> ILinearPatternDataPtr;

// Circular pattern data.
struct ICircularPatternData : IDispatch {
    virtual HRESULT SetSkipped(long count, LONG* items) = 0;
    virtual HRESULT GetSkippedCount(long* count) = 0;
    // Ends the change.
    virtual HRESULT EndAccess() = 0;
};
COM_DECLARE_IID(ICircularPatternData, "{DBBF39DE-7AB5-11D4-AEB6-00C04FA0AC51}");
typedef _com_ptr_t<ICircularPatternData> ICircularPatternDataPtr;

// Dimension annotation.
struct IDimensionAnnotation : IDispatch {
    virtual HRESULT GetDimension(IDispatch** dimension) = 0;
};
COM_DECLARE_IID(IDimensionAnnotation, "{83A33DA1-27C5-11CE-BFD4-00400513BB57}");
typedef _com_ptr_t<IDimensionAnnotation> IDimensionAnnotationPtr;

// Dimension.
struct IDimension : IDispatch {
    virtual HRESULT GetFullName(BSTR* name) = 0;
    virtual HRESULT GetValue(IModelDoc2* doc, double* value) = 0;
    // 1, 3, 5 angular.
    virtual HRESULT GetType(long* type) = 0;
};
COM_DECLARE_IID(IDimension, "{83A33D3A-27C5-11CE-BFD4-00400513BB57}");
typedef _com_ptr_t<IDimension> IDimensionPtr;
