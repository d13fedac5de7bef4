// Thin call wrappers of the document interfaces: one function a method. A failed HRESULT is
// raised as _com_error with the interface's IID; a null interface pointer raises E_POINTER.
#pragma once

#include "platform/sldworks/api/sldworks_api.h"

// IModelDoc2
long modelDocGetType(IModelDoc2* doc);
_bstr_t modelDocGetPathName(IModelDoc2* doc);
IDispatchPtr modelDocGetNext(IModelDoc2* doc);
IDispatchPtr modelDocFirstFeature(IModelDoc2* doc);
IDispatchPtr modelDocCallSlot280(IModelDoc2* doc);
IDocExtensionPtr modelDocGetExtension(IModelDoc2* doc);
IFeatureManagerPtr modelDocGetFeatureManager(IModelDoc2* doc);
ISelectionManagerPtr modelDocGetSelectionManager(IModelDoc2* doc);
IConfigurationManagerPtr modelDocGetConfigurationManager(IModelDoc2* doc);
IDispatchPtr modelDocGetActiveConfiguration(IModelDoc2* doc);
IDispatchPtr modelDocGetEditedSketch(IModelDoc2* doc);
IDispatchPtr modelDocGetActiveSketch(IModelDoc2* doc);
HRESULT modelDocInsertSketch(IModelDoc2* doc, VARIANT_BOOL update);
HRESULT modelDocSketchToggle(IModelDoc2* doc, VARIANT_BOOL update);
HRESULT modelDocInsert3dSketch(IModelDoc2* doc, VARIANT_BOOL update);
void modelDocClearSelection(IModelDoc2* doc);
VARIANT_BOOL modelDocSelectByName(IModelDoc2* doc, const _bstr_t& name, const _bstr_t& type,
                                  double x, double y, double z);
VARIANT_BOOL modelDocSelectById(IModelDoc2* doc, const _bstr_t& name, const _bstr_t& type, double x,
                                double y, double z);
VARIANT_BOOL modelDocSelectByRay(IModelDoc2* doc, double x, double y, double z, double dx,
                                 double dy, double dz, double radius, long type);
VARIANT_BOOL modelDocSelectAtPointAndNormal(IModelDoc2* doc, const VARIANT& data, long type);
void modelDocHideSelection(IModelDoc2* doc);
VARIANT_BOOL modelDocCreatePlaneThroughPoints(IModelDoc2* doc, const VARIANT& first,
                                              const VARIANT& second, const VARIANT& third,
                                              VARIANT_BOOL fixed);
void modelDocActOnSelectedPlane(IModelDoc2* doc);
IDispatchPtr modelDocCreateOffsetPlane(IModelDoc2* doc, double distance, VARIANT_BOOL flip,
                                       VARIANT_BOOL fixed);
VARIANT_BOOL modelDocCreateAxis(IModelDoc2* doc);
VARIANT_BOOL modelDocApplyToSelectedSketch(IModelDoc2* doc, VARIANT_BOOL keepChildren);
void modelDocApplyToSelectedSketchOnSuccess(IModelDoc2* doc);
void modelDocCallOnSkipMismatch(IModelDoc2* doc);
IDispatchPtr modelDocCreateLine(IModelDoc2* doc, double x1, double y1, double z1, double x2,
                                double y2, double z2);
IDispatchPtr modelDocCreatePoint(IModelDoc2* doc, double x, double y, double z);
VARIANT_BOOL modelDocSketchArc(IModelDoc2* doc, double x1, double y1, double z1, double x2,
                               double y2, double z2, double xm, double ym, double zm);
IDispatchPtr modelDocSketchCircle(IModelDoc2* doc, double x, double y, double z, double radius);
HRESULT modelDocCreateExtrusion(IModelDoc2* doc, VARIANT_BOOL singleDirection, VARIANT_BOOL flip,
                                VARIANT_BOOL reverse, long endCondition1, long endCondition2,
                                double depth1, double depth2, VARIANT_BOOL draft1,
                                VARIANT_BOOL draft2, VARIANT_BOOL draftOutward1,
                                VARIANT_BOOL draftOutward2, double draftAngle1, double draftAngle2,
                                VARIANT_BOOL offsetReverse1, VARIANT_BOOL offsetReverse2);
VARIANT_BOOL modelDocRebuild(IModelDoc2* doc, VARIANT_BOOL topOnly);
VARIANT_BOOL modelDocRebuildCheck(IModelDoc2* doc, VARIANT_BOOL topOnly);
void modelDocCallSlot410(IModelDoc2* doc, long options);
VARIANT_BOOL modelDocGetBoolSlot715(IModelDoc2* doc);
VARIANT_BOOL modelDocGetBoolSlot473(IModelDoc2* doc);
long modelDocCallSlot508(IModelDoc2* doc, long options);
long modelDocCallSlot433(IModelDoc2* doc, const _bstr_t& path, long options);
long modelDocSaveAs(IModelDoc2* doc, const _bstr_t& path, long options);
_variant_t modelDocGetVariantSlot459(IModelDoc2* doc);
void modelDocCallSlot412(IModelDoc2* doc, long options1, long options2);
VARIANT_BOOL modelDocGetCreationFlag(IModelDoc2* doc);
void modelDocSetCreationFlag(IModelDoc2* doc, VARIANT_BOOL flag);
VARIANT_BOOL modelDocGetSettingA(IModelDoc2* doc);
void modelDocSetSettingA(IModelDoc2* doc, VARIANT_BOOL value);
VARIANT_BOOL modelDocGetSettingB(IModelDoc2* doc);
void modelDocSetSettingB(IModelDoc2* doc, VARIANT_BOOL value);
void modelDocGuardEnter(IModelDoc2* doc, long mode);
void modelDocGuardLeave(IModelDoc2* doc);
IDispatchPtr modelDocGetStateObject(IModelDoc2* doc);
void modelDocAfterThreadCall(IModelDoc2* doc);
void modelDocBeforeSketchWalk(IModelDoc2* doc);
VARIANT_BOOL modelDocActOnSelectedFace(IModelDoc2* doc, long options);
_variant_t modelDocGetCustomNames(IModelDoc2* doc, const _bstr_t& configuration);
_bstr_t modelDocGetCustomValue(IModelDoc2* doc, const _bstr_t& configuration, const _bstr_t& name);
void modelDocSetCustomValue(IModelDoc2* doc, const _bstr_t& configuration, const _bstr_t& name,
                            const _bstr_t& value);
VARIANT_BOOL modelDocAddCustomValue(IModelDoc2* doc, const _bstr_t& configuration,
                                    const _bstr_t& name, long type, const _bstr_t& value);
_bstr_t modelDocReadCustomProperty(IModelDoc2* doc, const _bstr_t& configuration,
                                   const _bstr_t& name);
_bstr_t modelDocGetSummaryInfo(IModelDoc2* doc, long field);
void modelDocSetSummaryInfo(IModelDoc2* doc, long field, const _bstr_t& text);
VARIANT_BOOL modelDocSetDoublePreference(IModelDoc2* doc, long id, double value);
long modelDocGetIntegerPreference(IModelDoc2* doc, long id);
_variant_t modelDocGetLengthUnitArray(IModelDoc2* doc);
_variant_t modelDocGetAngleUnitArray(IModelDoc2* doc);
VARIANT_BOOL modelDocShowConfiguration(IModelDoc2* doc, const _bstr_t& name);
VARIANT_BOOL modelDocDeleteConfiguration2(IModelDoc2* doc, const _bstr_t& name);
void modelDocShowNamedView(IModelDoc2* doc, const _bstr_t& name, long id);
void modelDocFitView(IModelDoc2* doc);
void modelDocViewZoomtofit2(IModelDoc2* doc);
VARIANT_BOOL modelDocSaveBitmap(IModelDoc2* doc, const _bstr_t& path, long width, long height);

// IPartDoc
_variant_t partDocGetBodies(IPartDoc* partDoc, long kind);
_variant_t partDocListBodies(IPartDoc* partDoc, long kind, VARIANT_BOOL visibleOnly);
_bstr_t partDocGetEntityName(IPartDoc* partDoc, IDispatch* entity);
VARIANT_BOOL partDocSetEntityName(IPartDoc* partDoc, IDispatch* entity, const _bstr_t& name);
IDispatchPtr partDocFeatureByName(IPartDoc* partDoc, const _bstr_t& name);
_variant_t partDocGetBox(IPartDoc* partDoc, long options);

// IAssemblyDoc
_variant_t asmDocGetBox(IAssemblyDoc* assemblyDoc, long options);
_variant_t asmDocAddComponents3(IAssemblyDoc* assemblyDoc, const VARIANT& names,
                                const VARIANT& transforms, const VARIANT& coordinateSystems);

// IDocExtension
IDispatchPtr docExtGetNewestFeature(IDocExtension* docExtension);
VARIANT_BOOL docExtSelectById(IDocExtension* docExtension, const _bstr_t& name, const _bstr_t& type,
                              double x, double y, double z, VARIANT_BOOL append, long mark,
                              IDispatch* callout);
IMassPropertyPtr docExtCreateMassProperty(IDocExtension* docExtension);
ICustomPropertyManagerPtr docExtGetCustomPropertyManager(IDocExtension* docExtension,
                                                         const _bstr_t& configuration);

// IStateObject
void stateObjectSetFlag(IStateObject* stateObject, VARIANT_BOOL value);

// IMassProperty
_variant_t massPropGetCenterOfGravity(IMassProperty* massProperty);
double massPropGetVolume(IMassProperty* massProperty);
void massPropUseGivenCenter(IMassProperty* massProperty, VARIANT_BOOL value);
void massPropUseGivenMass(IMassProperty* massProperty, VARIANT_BOOL value);
VARIANT_BOOL massPropApplyValues(IMassProperty* massProperty, double mass, double x, double y,
                                 double z, long option, const VARIANT& configurations);
