#include "libs/geomcore/swapi/document_calls.h"

#include "libs/geomcore/swapi/call_support.h"

long modelDocGetType(IModelDoc2* doc) {
    long result = 0;
    const HRESULT hr = swapiRequired(doc)->GetType(&result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

_bstr_t modelDocGetPathName(IModelDoc2* doc) {
    BSTR result = nullptr;
    const HRESULT hr = swapiRequired(doc)->GetPathName(&result);
    _bstr_t owned(result, false);
    swapiCheck<IModelDoc2>(hr);
    return owned;
}

IDispatchPtr modelDocGetNext(IModelDoc2* doc) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(doc)->GetNextDocument(&result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

IDispatchPtr modelDocFirstFeature(IModelDoc2* doc) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(doc)->FirstFeature(&result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

IDispatchPtr modelDocCallSlot280(IModelDoc2* doc) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(doc)->GetFirstFeatureObject(&result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

IDocExtensionPtr modelDocGetExtension(IModelDoc2* doc) {
    IDocExtensionPtr result;
    const HRESULT hr = swapiRequired(doc)->GetExtension(&result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

IFeatureManagerPtr modelDocGetFeatureManager(IModelDoc2* doc) {
    IFeatureManagerPtr result;
    const HRESULT hr = swapiRequired(doc)->GetFeatureManager(&result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

ISelectionManagerPtr modelDocGetSelectionManager(IModelDoc2* doc) {
    ISelectionManagerPtr result;
    const HRESULT hr = swapiRequired(doc)->GetSelectionManager(&result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

IConfigurationManagerPtr modelDocGetConfigurationManager(IModelDoc2* doc) {
    IConfigurationManagerPtr result;
    const HRESULT hr = swapiRequired(doc)->GetConfigurationManager(&result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

IDispatchPtr modelDocGetActiveConfiguration(IModelDoc2* doc) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(doc)->GetActiveConfiguration(&result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

IDispatchPtr modelDocGetEditedSketch(IModelDoc2* doc) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(doc)->GetEditedSketch(&result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

IDispatchPtr modelDocGetActiveSketch(IModelDoc2* doc) {
    return modelDocGetEditedSketch(doc);
}

HRESULT modelDocInsertSketch(IModelDoc2* doc, VARIANT_BOOL update) {
    const HRESULT hr = swapiRequired(doc)->InsertSketch(update);
    swapiCheck<IModelDoc2>(hr);
    return hr;
}

HRESULT modelDocSketchToggle(IModelDoc2* doc, VARIANT_BOOL update) {
    const HRESULT hr = swapiRequired(doc)->EditSketchToggle(update);
    swapiCheck<IModelDoc2>(hr);
    return hr;
}

HRESULT modelDocInsert3dSketch(IModelDoc2* doc, VARIANT_BOOL update) {
    const HRESULT hr = swapiRequired(doc)->Insert3dSketch(update);
    swapiCheck<IModelDoc2>(hr);
    return hr;
}

void modelDocClearSelection(IModelDoc2* doc) {
    const HRESULT hr = swapiRequired(doc)->ClearSelection();
    swapiCheck<IModelDoc2>(hr);
}

VARIANT_BOOL modelDocSelectByName(IModelDoc2* doc, const _bstr_t& name, const _bstr_t& type,
                                  double x, double y, double z) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr =
        swapiRequired(doc)->SelectByName(swapiBstr(name), swapiBstr(type), x, y, z, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

VARIANT_BOOL modelDocSelectById(IModelDoc2* doc, const _bstr_t& name, const _bstr_t& type, double x,
                                double y, double z) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr =
        swapiRequired(doc)->SelectById(swapiBstr(name), swapiBstr(type), x, y, z, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

VARIANT_BOOL modelDocSelectByRay(IModelDoc2* doc, double x, double y, double z, double dx,
                                 double dy, double dz, double radius, long type) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(doc)->SelectByRay(x, y, z, dx, dy, dz, radius, type, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

VARIANT_BOOL modelDocSelectAtPointAndNormal(IModelDoc2* doc, const VARIANT& data, long type) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(doc)->SelectAtPointAndNormal(data, type, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

void modelDocHideSelection(IModelDoc2* doc) {
    const HRESULT hr = swapiRequired(doc)->HideSelection();
    swapiCheck<IModelDoc2>(hr);
}

VARIANT_BOOL modelDocCreatePlaneThroughPoints(IModelDoc2* doc, const VARIANT& first,
                                              const VARIANT& second, const VARIANT& third,
                                              VARIANT_BOOL fixed) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr =
        swapiRequired(doc)->CreatePlaneThroughPoints(first, second, third, fixed, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

void modelDocActOnSelectedPlane(IModelDoc2* doc) {
    const HRESULT hr = swapiRequired(doc)->FixSelectedPlane();
    swapiCheck<IModelDoc2>(hr);
}

IDispatchPtr modelDocCreateOffsetPlane(IModelDoc2* doc, double distance, VARIANT_BOOL flip,
                                       VARIANT_BOOL fixed) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(doc)->CreateOffsetPlane(distance, flip, fixed, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

VARIANT_BOOL modelDocCreateAxis(IModelDoc2* doc) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(doc)->CreateAxis(&result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

VARIANT_BOOL modelDocApplyToSelectedSketch(IModelDoc2* doc, VARIANT_BOOL keepChildren) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(doc)->DeleteSelection(keepChildren, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

void modelDocApplyToSelectedSketchOnSuccess(IModelDoc2* doc) {
    const HRESULT hr = swapiRequired(doc)->HideSelectedSketch();
    swapiCheck<IModelDoc2>(hr);
}

void modelDocCallOnSkipMismatch(IModelDoc2* doc) {
    const HRESULT hr = swapiRequired(doc)->NoteSkipMismatch();
    swapiCheck<IModelDoc2>(hr);
}

IDispatchPtr modelDocCreateLine(IModelDoc2* doc, double x1, double y1, double z1, double x2,
                                double y2, double z2) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(doc)->CreateLine(x1, y1, z1, x2, y2, z2, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

IDispatchPtr modelDocCreatePoint(IModelDoc2* doc, double x, double y, double z) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(doc)->CreatePoint(x, y, z, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

VARIANT_BOOL modelDocSketchArc(IModelDoc2* doc, double x1, double y1, double z1, double x2,
                               double y2, double z2, double xm, double ym, double zm) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(doc)->CreateArc(x1, y1, z1, x2, y2, z2, xm, ym, zm, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

IDispatchPtr modelDocSketchCircle(IModelDoc2* doc, double x, double y, double z, double radius) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(doc)->CreateCircle(x, y, z, radius, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

HRESULT modelDocCreateExtrusion(IModelDoc2* doc, VARIANT_BOOL singleDirection, VARIANT_BOOL flip,
                                VARIANT_BOOL reverse, long endCondition1, long endCondition2,
                                double depth1, double depth2, VARIANT_BOOL draft1,
                                VARIANT_BOOL draft2, VARIANT_BOOL draftOutward1,
                                VARIANT_BOOL draftOutward2, double draftAngle1, double draftAngle2,
                                VARIANT_BOOL offsetReverse1, VARIANT_BOOL offsetReverse2) {
    const HRESULT hr = swapiRequired(doc)->CreateExtrusion(
        singleDirection, flip, reverse, endCondition1, endCondition2, depth1, depth2, draft1,
        draft2, draftOutward1, draftOutward2, draftAngle1, draftAngle2, offsetReverse1,
        offsetReverse2);
    swapiCheck<IModelDoc2>(hr);
    return hr;
}

VARIANT_BOOL modelDocRebuild(IModelDoc2* doc, VARIANT_BOOL topOnly) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(doc)->Rebuild(topOnly, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

VARIANT_BOOL modelDocRebuildCheck(IModelDoc2* doc, VARIANT_BOOL topOnly) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(doc)->RebuildAndCheck(topOnly, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

void modelDocCallSlot410(IModelDoc2* doc, long options) {
    const HRESULT hr = swapiRequired(doc)->ForceRebuild(options);
    swapiCheck<IModelDoc2>(hr);
}

VARIANT_BOOL modelDocGetBoolSlot715(IModelDoc2* doc) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(doc)->RebuildIfNeeded(&result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

VARIANT_BOOL modelDocGetBoolSlot473(IModelDoc2* doc) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(doc)->HasUnsavedChanges(&result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

long modelDocCallSlot508(IModelDoc2* doc, long options) {
    long result = 0;
    const HRESULT hr = swapiRequired(doc)->Save(options, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

long modelDocSaveAs(IModelDoc2* doc, const _bstr_t& path, long options) {
    long result = 0;
    const HRESULT hr = swapiRequired(doc)->SaveAs(swapiBstr(path), options, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

long modelDocCallSlot433(IModelDoc2* doc, const _bstr_t& path, long options) {
    long result = 0;
    const HRESULT hr = swapiRequired(doc)->SaveCopyAs(swapiBstr(path), options, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

_variant_t modelDocGetVariantSlot459(IModelDoc2* doc) {
    _variant_t result;
    const HRESULT hr = swapiRequired(doc)->GetConfigurationNames(result.GetAddress());
    swapiCheck<IModelDoc2>(hr);
    return result;
}

void modelDocCallSlot412(IModelDoc2* doc, long options1, long options2) {
    const HRESULT hr = swapiRequired(doc)->CopySelectedFaceAsSurface(options1, options2);
    swapiCheck<IModelDoc2>(hr);
}

VARIANT_BOOL modelDocGetCreationFlag(IModelDoc2* doc) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(doc)->GetCreationFlag(&result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

void modelDocSetCreationFlag(IModelDoc2* doc, VARIANT_BOOL flag) {
    const HRESULT hr = swapiRequired(doc)->SetCreationFlag(flag);
    swapiCheck<IModelDoc2>(hr);
}

VARIANT_BOOL modelDocGetSettingA(IModelDoc2* doc) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(doc)->GetSettingA(&result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

void modelDocSetSettingA(IModelDoc2* doc, VARIANT_BOOL value) {
    const HRESULT hr = swapiRequired(doc)->SetSettingA(value);
    swapiCheck<IModelDoc2>(hr);
}

VARIANT_BOOL modelDocGetSettingB(IModelDoc2* doc) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(doc)->GetSettingB(&result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

void modelDocSetSettingB(IModelDoc2* doc, VARIANT_BOOL value) {
    const HRESULT hr = swapiRequired(doc)->SetSettingB(value);
    swapiCheck<IModelDoc2>(hr);
}

void modelDocGuardEnter(IModelDoc2* doc, long mode) {
    const HRESULT hr = swapiRequired(doc)->EnterBuildMode(mode);
    swapiCheck<IModelDoc2>(hr);
}

void modelDocGuardLeave(IModelDoc2* doc) {
    const HRESULT hr = swapiRequired(doc)->LeaveBuildMode();
    swapiCheck<IModelDoc2>(hr);
}

IDispatchPtr modelDocGetStateObject(IModelDoc2* doc) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(doc)->GetStateObject(&result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

void modelDocAfterThreadCall(IModelDoc2* doc) {
    const HRESULT hr = swapiRequired(doc)->AfterThreadCreated();
    swapiCheck<IModelDoc2>(hr);
}

void modelDocBeforeSketchWalk(IModelDoc2* doc) {
    const HRESULT hr = swapiRequired(doc)->BeforeSketchWalk();
    swapiCheck<IModelDoc2>(hr);
}

VARIANT_BOOL modelDocActOnSelectedFace(IModelDoc2* doc, long options) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(doc)->ActOnSelectedFace(options, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

_variant_t modelDocGetCustomNames(IModelDoc2* doc, const _bstr_t& configuration) {
    _variant_t result;
    const HRESULT hr =
        swapiRequired(doc)->GetCustomNames(swapiBstr(configuration), result.GetAddress());
    swapiCheck<IModelDoc2>(hr);
    return result;
}

_bstr_t modelDocGetCustomValue(IModelDoc2* doc, const _bstr_t& configuration, const _bstr_t& name) {
    BSTR result = nullptr;
    const HRESULT hr =
        swapiRequired(doc)->GetCustomValue(swapiBstr(configuration), swapiBstr(name), &result);
    _bstr_t owned(result, false);
    swapiCheck<IModelDoc2>(hr);
    return owned;
}

void modelDocSetCustomValue(IModelDoc2* doc, const _bstr_t& configuration, const _bstr_t& name,
                            const _bstr_t& value) {
    const HRESULT hr = swapiRequired(doc)->SetCustomValue(swapiBstr(configuration), swapiBstr(name),
                                                          swapiBstr(value));
    swapiCheck<IModelDoc2>(hr);
}

VARIANT_BOOL modelDocAddCustomValue(IModelDoc2* doc, const _bstr_t& configuration,
                                    const _bstr_t& name, long type, const _bstr_t& value) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(doc)->AddCustomValue(swapiBstr(configuration), swapiBstr(name),
                                                          type, swapiBstr(value), &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

_bstr_t modelDocReadCustomProperty(IModelDoc2* doc, const _bstr_t& configuration,
                                   const _bstr_t& name) {
    BSTR result = nullptr;
    const HRESULT hr =
        swapiRequired(doc)->ReadCustomProperty(swapiBstr(configuration), swapiBstr(name), &result);
    _bstr_t owned(result, false);
    swapiCheck<IModelDoc2>(hr);
    return owned;
}

_bstr_t modelDocGetSummaryInfo(IModelDoc2* doc, long field) {
    BSTR result = nullptr;
    const HRESULT hr = swapiRequired(doc)->GetSummaryInfo(field, &result);
    _bstr_t owned(result, false);
    swapiCheck<IModelDoc2>(hr);
    return owned;
}

void modelDocSetSummaryInfo(IModelDoc2* doc, long field, const _bstr_t& text) {
    const HRESULT hr = swapiRequired(doc)->SetSummaryInfo(field, swapiBstr(text));
    swapiCheck<IModelDoc2>(hr);
}

VARIANT_BOOL modelDocSetDoublePreference(IModelDoc2* doc, long id, double value) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(doc)->SetDoublePreference(id, value, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

long modelDocGetIntegerPreference(IModelDoc2* doc, long id) {
    long result = 0;
    const HRESULT hr = swapiRequired(doc)->GetIntegerPreference(id, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

_variant_t modelDocGetLengthUnitArray(IModelDoc2* doc) {
    _variant_t result;
    const HRESULT hr = swapiRequired(doc)->GetLengthUnitArray(result.GetAddress());
    swapiCheck<IModelDoc2>(hr);
    return result;
}

_variant_t modelDocGetAngleUnitArray(IModelDoc2* doc) {
    _variant_t result;
    const HRESULT hr = swapiRequired(doc)->GetAngleUnitArray(result.GetAddress());
    swapiCheck<IModelDoc2>(hr);
    return result;
}

VARIANT_BOOL modelDocShowConfiguration(IModelDoc2* doc, const _bstr_t& name) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(doc)->ShowConfiguration(swapiBstr(name), &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

VARIANT_BOOL modelDocDeleteConfiguration2(IModelDoc2* doc, const _bstr_t& name) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(doc)->DeleteConfiguration2(swapiBstr(name), &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

void modelDocShowNamedView(IModelDoc2* doc, const _bstr_t& name, long id) {
    const HRESULT hr = swapiRequired(doc)->ShowNamedView(swapiBstr(name), id);
    swapiCheck<IModelDoc2>(hr);
}

void modelDocFitView(IModelDoc2* doc) {
    const HRESULT hr = swapiRequired(doc)->FitView();
    swapiCheck<IModelDoc2>(hr);
}

void modelDocViewZoomtofit2(IModelDoc2* doc) {
    const HRESULT hr = swapiRequired(doc)->ZoomToFit();
    swapiCheck<IModelDoc2>(hr);
}

VARIANT_BOOL modelDocSaveBitmap(IModelDoc2* doc, const _bstr_t& path, long width, long height) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(doc)->SaveBitmap(swapiBstr(path), width, height, &result);
    swapiCheck<IModelDoc2>(hr);
    return result;
}

_variant_t partDocGetBodies(IPartDoc* partDoc, long kind) {
    _variant_t result;
    const HRESULT hr = swapiRequired(partDoc)->GetBodies(kind, result.GetAddress());
    swapiCheck<IPartDoc>(hr);
    return result;
}

_variant_t partDocListBodies(IPartDoc* partDoc, long kind, VARIANT_BOOL visibleOnly) {
    _variant_t result;
    const HRESULT hr = swapiRequired(partDoc)->ListBodies(kind, visibleOnly, result.GetAddress());
    swapiCheck<IPartDoc>(hr);
    return result;
}

_bstr_t partDocGetEntityName(IPartDoc* partDoc, IDispatch* entity) {
    BSTR result = nullptr;
    const HRESULT hr = swapiRequired(partDoc)->GetEntityName(entity, &result);
    _bstr_t owned(result, false);
    swapiCheck<IPartDoc>(hr);
    return owned;
}

VARIANT_BOOL partDocSetEntityName(IPartDoc* partDoc, IDispatch* entity, const _bstr_t& name) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(partDoc)->SetEntityName(entity, swapiBstr(name), &result);
    swapiCheck<IPartDoc>(hr);
    return result;
}

IDispatchPtr partDocFeatureByName(IPartDoc* partDoc, const _bstr_t& name) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(partDoc)->FeatureByName(swapiBstr(name), &result);
    swapiCheck<IPartDoc>(hr);
    return result;
}

_variant_t partDocGetBox(IPartDoc* partDoc, long options) {
    _variant_t result;
    const HRESULT hr = swapiRequired(partDoc)->GetBox(options, result.GetAddress());
    swapiCheck<IPartDoc>(hr);
    return result;
}

_variant_t asmDocGetBox(IAssemblyDoc* assemblyDoc, long options) {
    _variant_t result;
    const HRESULT hr = swapiRequired(assemblyDoc)->GetBox(options, result.GetAddress());
    swapiCheck<IAssemblyDoc>(hr);
    return result;
}

_variant_t asmDocAddComponents3(IAssemblyDoc* assemblyDoc, const VARIANT& names,
                                const VARIANT& transforms, const VARIANT& coordinateSystems) {
    _variant_t result;
    const HRESULT hr =
        swapiRequired(assemblyDoc)
            ->AddComponents3(names, transforms, coordinateSystems, result.GetAddress());
    swapiCheck<IAssemblyDoc>(hr);
    return result;
}

IDispatchPtr docExtGetNewestFeature(IDocExtension* docExtension) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(docExtension)->GetNewestFeature(&result);
    swapiCheck<IDocExtension>(hr);
    return result;
}

VARIANT_BOOL docExtSelectById(IDocExtension* docExtension, const _bstr_t& name, const _bstr_t& type,
                              double x, double y, double z, VARIANT_BOOL append, long mark,
                              IDispatch* callout) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr =
        swapiRequired(docExtension)
            ->SelectById(swapiBstr(name), swapiBstr(type), x, y, z, append, mark, callout, &result);
    swapiCheck<IDocExtension>(hr);
    return result;
}

IMassPropertyPtr docExtCreateMassProperty(IDocExtension* docExtension) {
    IMassPropertyPtr result;
    const HRESULT hr = swapiRequired(docExtension)->CreateMassProperty(&result);
    swapiCheck<IDocExtension>(hr);
    return result;
}

ICustomPropertyManagerPtr docExtGetCustomPropertyManager(IDocExtension* docExtension,
                                                         const _bstr_t& configuration) {
    ICustomPropertyManagerPtr result;
    const HRESULT hr =
        swapiRequired(docExtension)->GetCustomPropertyManager(swapiBstr(configuration), &result);
    swapiCheck<IDocExtension>(hr);
    return result;
}

void stateObjectSetFlag(IStateObject* stateObject, VARIANT_BOOL value) {
    const HRESULT hr = swapiRequired(stateObject)->SetFlag(value);
    swapiCheck<IStateObject>(hr);
}

_variant_t massPropGetCenterOfGravity(IMassProperty* massProperty) {
    _variant_t result;
    const HRESULT hr = swapiRequired(massProperty)->GetCenterOfGravity(result.GetAddress());
    swapiCheck<IMassProperty>(hr);
    return result;
}

double massPropGetVolume(IMassProperty* massProperty) {
    double result = 0.0;
    const HRESULT hr = swapiRequired(massProperty)->GetVolume(&result);
    swapiCheck<IMassProperty>(hr);
    return result;
}

void massPropUseGivenCenter(IMassProperty* massProperty, VARIANT_BOOL value) {
    const HRESULT hr = swapiRequired(massProperty)->SetUseGivenCenter(value);
    swapiCheck<IMassProperty>(hr);
}

void massPropUseGivenMass(IMassProperty* massProperty, VARIANT_BOOL value) {
    const HRESULT hr = swapiRequired(massProperty)->SetUseGivenMass(value);
    swapiCheck<IMassProperty>(hr);
}

VARIANT_BOOL massPropApplyValues(IMassProperty* massProperty, double mass, double x, double y,
                                 double z, long option, const VARIANT& configurations) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr =
        swapiRequired(massProperty)->ApplyValues(mass, x, y, z, option, configurations, &result);
    swapiCheck<IMassProperty>(hr);
    return result;
}
