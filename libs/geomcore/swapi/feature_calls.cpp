#include "libs/geomcore/swapi/feature_calls.h"

#include "libs/geomcore/swapi/call_support.h"

IFeaturePtr featureCreateExtrusion(
    IFeatureManager* featureManager, VARIANT_BOOL singleDirection, VARIANT_BOOL flip,
    VARIANT_BOOL reverse, long endCondition1, long endCondition2, double depth1, double depth2,
    VARIANT_BOOL draft1, VARIANT_BOOL draft2, VARIANT_BOOL draftOutward1, VARIANT_BOOL draftOutward2,
    double draftAngle1, double draftAngle2, VARIANT_BOOL offsetReverse1,
    VARIANT_BOOL offsetReverse2, VARIANT_BOOL translate1, VARIANT_BOOL translate2,
    VARIANT_BOOL merge, VARIANT_BOOL featureScope, VARIANT_BOOL autoSelect) {
    IFeaturePtr result;
    const HRESULT hr =
        swapiRequired(featureManager)
            ->CreateExtrusion(singleDirection, flip, reverse, endCondition1, endCondition2, depth1,
                              depth2, draft1, draft2, draftOutward1, draftOutward2, draftAngle1,
                              draftAngle2, offsetReverse1, offsetReverse2, translate1, translate2,
                              merge, featureScope, autoSelect, &result);
    swapiCheck<IFeatureManager>(hr);
    return result;
}

IFeaturePtr featureCreateCutExtrusion(
    IFeatureManager* featureManager, VARIANT_BOOL singleDirection, VARIANT_BOOL flip,
    VARIANT_BOOL reverse, long endCondition1, long endCondition2, double depth1, double depth2,
    VARIANT_BOOL draft1, VARIANT_BOOL draft2, VARIANT_BOOL draftOutward1, VARIANT_BOOL draftOutward2,
    double draftAngle1, double draftAngle2, VARIANT_BOOL offsetReverse1,
    VARIANT_BOOL offsetReverse2, VARIANT_BOOL translate1, VARIANT_BOOL translate2,
    VARIANT_BOOL merge, VARIANT_BOOL featureScope, VARIANT_BOOL autoSelect) {
    IFeaturePtr result;
    const HRESULT hr =
        swapiRequired(featureManager)
            ->CreateCutExtrusion(singleDirection, flip, reverse, endCondition1, endCondition2,
                                 depth1, depth2, draft1, draft2, draftOutward1, draftOutward2,
                                 draftAngle1, draftAngle2, offsetReverse1, offsetReverse2,
                                 translate1, translate2, merge, featureScope, autoSelect, &result);
    swapiCheck<IFeatureManager>(hr);
    return result;
}

IFeaturePtr featureCreateRevolution(IFeatureManager* featureManager, double angle1,
                                    VARIANT_BOOL reverse, double angle2, long type, long options,
                                    VARIANT_BOOL merge, VARIANT_BOOL featureScope,
                                    VARIANT_BOOL autoSelect) {
    IFeaturePtr result;
    const HRESULT hr = swapiRequired(featureManager)
                           ->CreateRevolution(angle1, reverse, angle2, type, options, merge,
                                              featureScope, autoSelect, &result);
    swapiCheck<IFeatureManager>(hr);
    return result;
}

IFeaturePtr featureCreateCutRevolution(IFeatureManager* featureManager, double angle1,
                                       VARIANT_BOOL reverse, double angle2, long type, long options,
                                       VARIANT_BOOL featureScope, VARIANT_BOOL autoSelect) {
    IFeaturePtr result;
    const HRESULT hr = swapiRequired(featureManager)
                           ->CreateCutRevolution(angle1, reverse, angle2, type, options,
                                                 featureScope, autoSelect, &result);
    swapiCheck<IFeatureManager>(hr);
    return result;
}

IFeaturePtr featMgrCreateHole(IFeatureManager* featureManager, long type, long standard,
                              long fastener, const _bstr_t& size, VARIANT_BOOL endCondition,
                              double d1, double d2, double d3, double d4, double d5, double d6,
                              double d7, double d8, double d9, double d10, double d11, double d12,
                              double d13, double d14, const _bstr_t& text, VARIANT_BOOL flag1,
                              VARIANT_BOOL flag2, VARIANT_BOOL flag3, VARIANT_BOOL flag4,
                              VARIANT_BOOL flag5, VARIANT_BOOL flag6) {
    IFeaturePtr result;
    const HRESULT hr =
        swapiRequired(featureManager)
            ->CreateHole(type, standard, fastener, swapiBstr(size), endCondition, d1, d2, d3, d4,
                         d5, d6, d7, d8, d9, d10, d11, d12, d13, d14, swapiBstr(text), flag1, flag2,
                         flag3, flag4, flag5, flag6, &result);
    swapiCheck<IFeatureManager>(hr);
    return result;
}

IFeaturePtr featMgrInsertCosmeticThread(IFeatureManager* featureManager, short type,
                                        double diameter, double length,
                                        const _bstr_t& description) {
    IFeaturePtr result;
    const HRESULT hr =
        swapiRequired(featureManager)
            ->InsertCosmeticThread(type, diameter, length, swapiBstr(description), &result);
    swapiCheck<IFeatureManager>(hr);
    return result;
}

void featMgrSetTreeFlag(IFeatureManager* featureManager, VARIANT_BOOL enabled) {
    const HRESULT hr = swapiRequired(featureManager)->SetTreeUpdates(enabled);
    swapiCheck<IFeatureManager>(hr);
}

IFeaturePtr featureMgrCreateLinearPattern(IFeatureManager* featureManager, long count1,
                                          double spacing1, long count2, double spacing2,
                                          VARIANT_BOOL flip1, VARIANT_BOOL flip2,
                                          const _bstr_t& name1, const _bstr_t& name2,
                                          VARIANT_BOOL geometry) {
    IFeaturePtr result;
    const HRESULT hr =
        swapiRequired(featureManager)
            ->CreateLinearPattern(count1, spacing1, count2, spacing2, flip1, flip2,
                                  swapiBstr(name1), swapiBstr(name2), geometry, &result);
    swapiCheck<IFeatureManager>(hr);
    return result;
}

IFeaturePtr featureMgrCreateCircularPattern(IFeatureManager* featureManager, long count,
                                            double angle, VARIANT_BOOL reverse, const _bstr_t& name,
                                            VARIANT_BOOL geometry) {
    IFeaturePtr result;
    const HRESULT hr =
        swapiRequired(featureManager)
            ->CreateCircularPattern(count, angle, reverse, swapiBstr(name), geometry, &result);
    swapiCheck<IFeatureManager>(hr);
    return result;
}

IFeaturePtr featureMgrCreateSketchPattern(IFeatureManager* featureManager, VARIANT_BOOL useCentroid,
                                          VARIANT_BOOL geometry) {
    IFeaturePtr result;
    const HRESULT hr =
        swapiRequired(featureManager)->CreateSketchPattern(useCentroid, geometry, &result);
    swapiCheck<IFeatureManager>(hr);
    return result;
}

IFeaturePtr featureMgrCreateSweep(IFeatureManager* featureManager, short s1, short s2,
                                  VARIANT_BOOL v3, double d4, VARIANT_BOOL v5, VARIANT_BOOL v6,
                                  double d7, double d8, VARIANT_BOOL v9, VARIANT_BOOL v10,
                                  VARIANT_BOOL v11, double d12, double d13, VARIANT_BOOL v14,
                                  VARIANT_BOOL v15, VARIANT_BOOL v16, VARIANT_BOOL v17) {
    IFeaturePtr result;
    const HRESULT hr = swapiRequired(featureManager)
                           ->CreateSweep(s1, s2, v3, d4, v5, v6, d7, d8, v9, v10, v11, d12, d13,
                                         v14, v15, v16, v17, &result);
    swapiCheck<IFeatureManager>(hr);
    return result;
}

IFeaturePtr featureMgrCreateSweepNonZeroOp(IFeatureManager* featureManager, short s1, short s2,
                                           VARIANT_BOOL v3, double d4, VARIANT_BOOL v5,
                                           VARIANT_BOOL v6, VARIANT_BOOL v7, double d8, double d9,
                                           VARIANT_BOOL v10, VARIANT_BOOL v11, VARIANT_BOOL v12) {
    IFeaturePtr result;
    const HRESULT hr =
        swapiRequired(featureManager)
            ->CreateSweepWithOperation(s1, s2, v3, d4, v5, v6, v7, d8, d9, v10, v11, v12, &result);
    swapiCheck<IFeatureManager>(hr);
    return result;
}

void featureManagerCallSlot40(IFeatureManager* featureManager) {
    const HRESULT hr = swapiRequired(featureManager)->HideSelectedBodies();
    swapiCheck<IFeatureManager>(hr);
}

IFeaturePtr insertMateReference(IFeatureManager* featureManager, const _bstr_t& name,
                                IDispatch* entity1, long type1, long alignment1, IDispatch* entity2,
                                long type2, long alignment2, IDispatch* entity3, long type3,
                                long alignment3) {
    IFeaturePtr result;
    const HRESULT hr =
        swapiRequired(featureManager)
            ->InsertMateReference(swapiBstr(name), entity1, type1, alignment1, entity2, type2,
                                  alignment2, entity3, type3, alignment3, &result);
    swapiCheck<IFeatureManager>(hr);
    return result;
}

_bstr_t featureGetName(IFeature* feature) {
    BSTR result = nullptr;
    const HRESULT hr = swapiRequired(feature)->GetName(&result);
    _bstr_t owned(result, false);
    swapiCheck<IFeature>(hr);
    return owned;
}

void featureSetName(IFeature* feature, const _bstr_t& name) {
    const HRESULT hr = swapiRequired(feature)->SetName(swapiBstr(name));
    swapiCheck<IFeature>(hr);
}

IDispatchPtr featureGetNext(IFeature* feature) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(feature)->GetNext(&result);
    swapiCheck<IFeature>(hr);
    return result;
}

_bstr_t featureGetTypeName(IFeature* feature) {
    BSTR result = nullptr;
    const HRESULT hr = swapiRequired(feature)->GetTypeName(&result);
    _bstr_t owned(result, false);
    swapiCheck<IFeature>(hr);
    return owned;
}

IDispatchPtr featureGetSpecificObject(IFeature* feature) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(feature)->GetSpecificFeature(&result);
    swapiCheck<IFeature>(hr);
    return result;
}

IDispatchPtr featureGetSpecificFeature(IFeature* feature) {
    return featureGetSpecificObject(feature);
}

VARIANT_BOOL featureSelect(IFeature* feature, VARIANT_BOOL append, long mark) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(feature)->Select(append, mark, &result);
    swapiCheck<IFeature>(hr);
    return result;
}

_variant_t featureGetFaces(IFeature* feature) {
    _variant_t result;
    const HRESULT hr = swapiRequired(feature)->GetFaces(result.GetAddress());
    swapiCheck<IFeature>(hr);
    return result;
}

_variant_t featureGetChildren(IFeature* feature) {
    _variant_t result;
    const HRESULT hr = swapiRequired(feature)->GetChildren(result.GetAddress());
    swapiCheck<IFeature>(hr);
    return result;
}

VARIANT_BOOL featureSetSuppression(IFeature* feature, long state, long option, long count,
                                   BSTR* configurations) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr =
        swapiRequired(feature)->SetSuppression(state, option, count, configurations, &result);
    swapiCheck<IFeature>(hr);
    return result;
}

IDispatchPtr featureGetFirstSubFeature(IFeature* feature) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(feature)->GetFirstSubFeature(&result);
    swapiCheck<IFeature>(hr);
    return result;
}

IDispatchPtr featureGetNextSubFeature(IFeature* feature) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(feature)->GetNextSubFeature(&result);
    swapiCheck<IFeature>(hr);
    return result;
}

IDispatchPtr featureGetFirstDimensionAnnotation(IFeature* feature) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(feature)->GetFirstDimensionAnnotation(&result);
    swapiCheck<IFeature>(hr);
    return result;
}

IDispatchPtr featureGetNextDimensionAnnotation(IFeature* feature, IDispatch* current) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(feature)->GetNextDimensionAnnotation(current, &result);
    swapiCheck<IFeature>(hr);
    return result;
}

IDispatchPtr featureGetPatternData(IFeature* feature) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(feature)->GetPatternData(&result);
    swapiCheck<IFeature>(hr);
    return result;
}

VARIANT_BOOL featureModifyPatternData(IFeature* feature, IDispatch* data, IModelDoc2* doc,
                                      IDispatch* component) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(feature)->ModifyPatternData(data, doc, component, &result);
    swapiCheck<IFeature>(hr);
    return result;
}

void featureCallSlot17(IFeature* feature, long hide, long options) {
    const HRESULT hr = swapiRequired(feature)->HideInTree(hide, options);
    swapiCheck<IFeature>(hr);
}

_variant_t refPlaneGetGeometry(IRefPlane* refPlane) {
    _variant_t result;
    const HRESULT hr = swapiRequired(refPlane)->GetGeometry(result.GetAddress());
    swapiCheck<IRefPlane>(hr);
    return result;
}

VARIANT_BOOL linearPatternDataAccess(ILinearPatternData* linearPatternData, IModelDoc2* doc,
                                     IDispatch* component) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(linearPatternData)->BeginAccess(doc, component, &result);
    swapiCheck<ILinearPatternData>(hr);
    return result;
}

void linearPatternDataSetOption(ILinearPatternData* linearPatternData, VARIANT_BOOL value) {
    const HRESULT hr = swapiRequired(linearPatternData)->SetGeometryPattern(value);
    swapiCheck<ILinearPatternData>(hr);
}

void linearPatternDataSetSkipped(ILinearPatternData* linearPatternData, long count, LONG* items) {
    const HRESULT hr = swapiRequired(linearPatternData)->SetSkipped(count, items);
    swapiCheck<ILinearPatternData>(hr);
}

void linearPatternDataSetSkippedArray(ILinearPatternData* linearPatternData, const VARIANT& items) {
    const HRESULT hr = swapiRequired(linearPatternData)->SetSkippedArray(items);
    swapiCheck<ILinearPatternData>(hr);
}

long linearPatternDataGetSkippedCount(ILinearPatternData* linearPatternData) {
    long result = 0;
    const HRESULT hr = swapiRequired(linearPatternData)->GetSkippedCount(&result);
    swapiCheck<ILinearPatternData>(hr);
    return result;
}

void patternDataRelease(ILinearPatternData* linearPatternData) {
    const HRESULT hr = swapiRequired(linearPatternData)->EndAccess();
    swapiCheck<ILinearPatternData>(hr);
}

void circularPatternDataSetSkipped(ICircularPatternData* circularPatternData, long count,
                                   LONG* items) {
    const HRESULT hr = swapiRequired(circularPatternData)->SetSkipped(count, items);
    swapiCheck<ICircularPatternData>(hr);
}

long circularPatternDataGetSkippedCount(ICircularPatternData* circularPatternData) {
    long result = 0;
    const HRESULT hr = swapiRequired(circularPatternData)->GetSkippedCount(&result);
    swapiCheck<ICircularPatternData>(hr);
    return result;
}

void patternDataRelease(ICircularPatternData* circularPatternData) {
    const HRESULT hr = swapiRequired(circularPatternData)->EndAccess();
    swapiCheck<ICircularPatternData>(hr);
}

IDispatchPtr dimensionAnnotationGetDimension(IDimensionAnnotation* dimensionAnnotation) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(dimensionAnnotation)->GetDimension(&result);
    swapiCheck<IDimensionAnnotation>(hr);
    return result;
}

_bstr_t dimensionGetFullName(IDimension* dimension) {
    BSTR result = nullptr;
    const HRESULT hr = swapiRequired(dimension)->GetFullName(&result);
    _bstr_t owned(result, false);
    swapiCheck<IDimension>(hr);
    return owned;
}

double dimensionGetValue(IDimension* dimension, IModelDoc2* doc) {
    double result = 0.0;
    const HRESULT hr = swapiRequired(dimension)->GetValue(doc, &result);
    swapiCheck<IDimension>(hr);
    return result;
}

long dimensionGetType(IDimension* dimension) {
    long result = 0;
    const HRESULT hr = swapiRequired(dimension)->GetType(&result);
    swapiCheck<IDimension>(hr);
    return result;
}
