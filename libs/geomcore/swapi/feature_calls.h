// Thin call wrappers of the feature interfaces: one function a method. A failed HRESULT is
// raised as _com_error with the interface's IID; a null interface pointer raises E_POINTER.
#pragma once

#include "platform/sldworks/api/sldworks_api.h"

// IFeatureManager
IFeaturePtr featureCreateExtrusion(
    IFeatureManager* featureManager, VARIANT_BOOL singleDirection, VARIANT_BOOL flip,
    VARIANT_BOOL reverse, long endCondition1, long endCondition2, double depth1, double depth2,
    VARIANT_BOOL draft1, VARIANT_BOOL draft2, VARIANT_BOOL draftOutward1, VARIANT_BOOL draftOutward2,
    double draftAngle1, double draftAngle2, VARIANT_BOOL offsetReverse1,
    VARIANT_BOOL offsetReverse2, VARIANT_BOOL translate1, VARIANT_BOOL translate2,
    VARIANT_BOOL merge, VARIANT_BOOL featureScope, VARIANT_BOOL autoSelect);
IFeaturePtr featureCreateCutExtrusion(
    IFeatureManager* featureManager, VARIANT_BOOL singleDirection, VARIANT_BOOL flip,
    VARIANT_BOOL reverse, long endCondition1, long endCondition2, double depth1, double depth2,
    VARIANT_BOOL draft1, VARIANT_BOOL draft2, VARIANT_BOOL draftOutward1, VARIANT_BOOL draftOutward2,
    double draftAngle1, double draftAngle2, VARIANT_BOOL offsetReverse1,
    VARIANT_BOOL offsetReverse2, VARIANT_BOOL translate1, VARIANT_BOOL translate2,
    VARIANT_BOOL merge, VARIANT_BOOL featureScope, VARIANT_BOOL autoSelect);
IFeaturePtr featureCreateRevolution(IFeatureManager* featureManager, double angle1,
                                    VARIANT_BOOL reverse, double angle2, long type, long options,
                                    VARIANT_BOOL merge, VARIANT_BOOL featureScope,
                                    VARIANT_BOOL autoSelect);
IFeaturePtr featureCreateCutRevolution(IFeatureManager* featureManager, double angle1,
                                       VARIANT_BOOL reverse, double angle2, long type, long options,
                                       VARIANT_BOOL featureScope, VARIANT_BOOL autoSelect);
IFeaturePtr featMgrCreateHole(IFeatureManager* featureManager, long type, long standard,
                              long fastener, const _bstr_t& size, VARIANT_BOOL endCondition,
                              double d1, double d2, double d3, double d4, double d5, double d6,
                              double d7, double d8, double d9, double d10, double d11, double d12,
                              double d13, double d14, const _bstr_t& text, VARIANT_BOOL flag1,
                              VARIANT_BOOL flag2, VARIANT_BOOL flag3, VARIANT_BOOL flag4,
                              VARIANT_BOOL flag5, VARIANT_BOOL flag6);
IFeaturePtr featMgrInsertCosmeticThread(IFeatureManager* featureManager, short type,
                                        double diameter, double length, const _bstr_t& description);
void featMgrSetTreeFlag(IFeatureManager* featureManager, VARIANT_BOOL enabled);
IFeaturePtr featureMgrCreateLinearPattern(IFeatureManager* featureManager, long count1,
                                          double spacing1, long count2, double spacing2,
                                          VARIANT_BOOL flip1, VARIANT_BOOL flip2,
                                          const _bstr_t& name1, const _bstr_t& name2,
                                          VARIANT_BOOL geometry);
IFeaturePtr featureMgrCreateCircularPattern(IFeatureManager* featureManager, long count,
                                            double angle, VARIANT_BOOL reverse, const _bstr_t& name,
                                            VARIANT_BOOL geometry);
IFeaturePtr featureMgrCreateSketchPattern(IFeatureManager* featureManager, VARIANT_BOOL useCentroid,
                                          VARIANT_BOOL geometry);
IFeaturePtr featureMgrCreateSweep(IFeatureManager* featureManager, short s1, short s2,
                                  VARIANT_BOOL v3, double d4, VARIANT_BOOL v5, VARIANT_BOOL v6,
                                  double d7, double d8, VARIANT_BOOL v9, VARIANT_BOOL v10,
                                  VARIANT_BOOL v11, double d12, double d13, VARIANT_BOOL v14,
                                  VARIANT_BOOL v15, VARIANT_BOOL v16, VARIANT_BOOL v17);
IFeaturePtr featureMgrCreateSweepNonZeroOp(IFeatureManager* featureManager, short s1, short s2,
                                           VARIANT_BOOL v3, double d4, VARIANT_BOOL v5,
                                           VARIANT_BOOL v6, VARIANT_BOOL v7, double d8, double d9,
                                           VARIANT_BOOL v10, VARIANT_BOOL v11, VARIANT_BOOL v12);
void featureManagerCallSlot40(IFeatureManager* featureManager);
IFeaturePtr insertMateReference(IFeatureManager* featureManager, const _bstr_t& name,
                                IDispatch* entity1, long type1, long alignment1, IDispatch* entity2,
                                long type2, long alignment2, IDispatch* entity3, long type3,
                                long alignment3);

// IFeature
_bstr_t featureGetName(IFeature* feature);
void featureSetName(IFeature* feature, const _bstr_t& name);
IDispatchPtr featureGetNext(IFeature* feature);
_bstr_t featureGetTypeName(IFeature* feature);
IDispatchPtr featureGetSpecificObject(IFeature* feature);
IDispatchPtr featureGetSpecificFeature(IFeature* feature);
VARIANT_BOOL featureSelect(IFeature* feature, VARIANT_BOOL append, long mark);
_variant_t featureGetFaces(IFeature* feature);
_variant_t featureGetChildren(IFeature* feature);
VARIANT_BOOL featureSetSuppression(IFeature* feature, long state, long option, long count,
                                   BSTR* configurations);
IDispatchPtr featureGetFirstSubFeature(IFeature* feature);
IDispatchPtr featureGetNextSubFeature(IFeature* feature);
IDispatchPtr featureGetFirstDimensionAnnotation(IFeature* feature);
IDispatchPtr featureGetNextDimensionAnnotation(IFeature* feature, IDispatch* current);
IDispatchPtr featureGetPatternData(IFeature* feature);
VARIANT_BOOL featureModifyPatternData(IFeature* feature, IDispatch* data, IModelDoc2* doc,
                                      IDispatch* component);
void featureCallSlot17(IFeature* feature, long hide, long options);

// IRefPlane
_variant_t refPlaneGetGeometry(IRefPlane* refPlane);

// ILinearPatternData
VARIANT_BOOL linearPatternDataAccess(ILinearPatternData* linearPatternData, IModelDoc2* doc,
                                     IDispatch* component);
void linearPatternDataSetOption(ILinearPatternData* linearPatternData, VARIANT_BOOL value);
void linearPatternDataSetSkipped(ILinearPatternData* linearPatternData, long count, LONG* items);
void linearPatternDataSetSkippedArray(ILinearPatternData* linearPatternData, const VARIANT& items);
long linearPatternDataGetSkippedCount(ILinearPatternData* linearPatternData);
void patternDataRelease(ILinearPatternData* linearPatternData);

// ICircularPatternData
void circularPatternDataSetSkipped(ICircularPatternData* circularPatternData, long count,
                                   LONG* items);
long circularPatternDataGetSkippedCount(ICircularPatternData* circularPatternData);
void patternDataRelease(ICircularPatternData* circularPatternData);

// IDimensionAnnotation
IDispatchPtr dimensionAnnotationGetDimension(IDimensionAnnotation* dimensionAnnotation);

// IDimension
_bstr_t dimensionGetFullName(IDimension* dimension);
double dimensionGetValue(IDimension* dimension, IModelDoc2* doc);
long dimensionGetType(IDimension* dimension);
