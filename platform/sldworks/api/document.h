// Documents: the model document, part and assembly documents, the document extension, the state
// object and mass properties. COM style: every method returns an HRESULT and gives its results
// through out-parameters; VARIANT_BOOL true is -1, object arrays are VARIANTs of
// VT_ARRAY|VT_DISPATCH, point answers VARIANTs of VT_ARRAY|VT_R8.
#pragma once

#include "platform/com/com.h"
#include "platform/sldworks/api/interfaces_fwd.h"

// A part or assembly document.
struct IModelDoc2 : IDispatch {
    // 1 part, 2 assembly, 0 other.
    virtual HRESULT GetType(long* type) = 0;
    // Path of the document file, empty before saving.
    virtual HRESULT GetPathName(BSTR* path) = 0;
    // Next open document.
    virtual HRESULT GetNextDocument(IDispatch** doc) = 0;
    // First feature of the feature list.
    virtual HRESULT FirstFeature(IDispatch** feature) = 0;
    // Slot 280: first feature.
    virtual HRESULT GetFirstFeatureObject(IDispatch** feature) = 0;
    // Document extension.
    virtual HRESULT GetExtension(IDocExtension** extension) = 0;
    // Feature-creation object.
    virtual HRESULT GetFeatureManager(IFeatureManager** manager) = 0;
    // Selection manager.
    virtual HRESULT GetSelectionManager(ISelectionManager** manager) = 0;
    // Configuration manager.
    virtual HRESULT GetConfigurationManager(IConfigurationManager** manager) = 0;
    // Active configuration.
    virtual HRESULT GetActiveConfiguration(IDispatch** configuration) = 0;
    // The sketch open for editing, null when none.
    virtual HRESULT GetEditedSketch(IDispatch** sketch) = 0;
    // Opens a sketch on the selected plane or planar face, or closes the open sketch; S_FALSE when
    // nothing could be opened.
    virtual HRESULT InsertSketch(VARIANT_BOOL update) = 0;
    // The same toggle as InsertSketch.
    virtual HRESULT EditSketchToggle(VARIANT_BOOL update) = 0;
    // Opens a 3D sketch, or closes the open one.
    virtual HRESULT Insert3dSketch(VARIANT_BOOL update) = 0;
    // Empties the selection.
    virtual HRESULT ClearSelection() = 0;
    // Replaces the selection with the named entity.
    virtual HRESULT SelectByName(BSTR name, BSTR type, double x, double y, double z,
                                 VARIANT_BOOL* selected) = 0;
    // Adds the named entity to the selection.
    virtual HRESULT SelectById(BSTR name, BSTR type, double x, double y, double z,
                               VARIANT_BOOL* selected) = 0;
    // Selects the first entity of the type hit by the ray.
    virtual HRESULT SelectByRay(double x, double y, double z, double dx, double dy, double dz,
                                double radius, long type, VARIANT_BOOL* selected) = 0;
    // Selects the face at point/normal (7 doubles).
    virtual HRESULT SelectAtPointAndNormal(VARIANT data, long type, VARIANT_BOOL* selected) = 0;
    // Hides the selected reference geometry.
    virtual HRESULT HideSelection() = 0;
    // New reference plane through three points.
    virtual HRESULT CreatePlaneThroughPoints(VARIANT first, VARIANT second, VARIANT third,
                                             VARIANT_BOOL fixed, VARIANT_BOOL* created) = 0;
    // Applied to a new selected fixed plane.
    virtual HRESULT FixSelectedPlane() = 0;
    // Offset plane from the selected plane.
    virtual HRESULT CreateOffsetPlane(double distance, VARIANT_BOOL flip, VARIANT_BOOL fixed,
                                      IDispatch** plane) = 0;
    // Reference axis from the selection.
    virtual HRESULT CreateAxis(VARIANT_BOOL* created) = 0;
    // Deletes the selected items.
    virtual HRESULT DeleteSelection(VARIANT_BOOL keepChildren, VARIANT_BOOL* deleted) = 0;
    // Hides the selected sketch.
    virtual HRESULT HideSelectedSketch() = 0;
    // Notes a pattern whose skip list was not taken.
    virtual HRESULT NoteSkipMismatch() = 0;
    // Line in the open sketch.
    virtual HRESULT CreateLine(double x1, double y1, double z1, double x2, double y2, double z2,
                               IDispatch** segment) = 0;
    // Point in the open sketch.
    virtual HRESULT CreatePoint(double x, double y, double z, IDispatch** point) = 0;
    // Arc start, end, middle in the open sketch.
    virtual HRESULT CreateArc(double x1, double y1, double z1, double x2, double y2, double z2,
                              double xm, double ym, double zm, VARIANT_BOOL* created) = 0;
    // Circle in the open sketch.
    virtual HRESULT CreateCircle(double x, double y, double z, double radius,
                                 IDispatch** segment) = 0;
    // Extruded boss of the selected sketch; S_FALSE when no feature could be made.
    virtual HRESULT CreateExtrusion(VARIANT_BOOL singleDirection, VARIANT_BOOL flip,
                                    VARIANT_BOOL reverse, long endCondition1, long endCondition2,
                                    double depth1, double depth2, VARIANT_BOOL draft1,
                                    VARIANT_BOOL draft2, VARIANT_BOOL draftOutward1,
                                    VARIANT_BOOL draftOutward2, double draftAngle1,
                                    double draftAngle2, VARIANT_BOOL offsetReverse1,
                                    VARIANT_BOOL offsetReverse2) = 0;
    // Rebuilds the document.
    virtual HRESULT Rebuild(VARIANT_BOOL topOnly, VARIANT_BOOL* done) = 0;
    // Rebuild; TRUE when it succeeded.
    virtual HRESULT RebuildAndCheck(VARIANT_BOOL topOnly, VARIANT_BOOL* rebuilt) = 0;
    // Slot 410: rebuild.
    virtual HRESULT ForceRebuild(long options) = 0;
    // Slot 715: rebuild.
    virtual HRESULT RebuildIfNeeded(VARIANT_BOOL* rebuilt) = 0;
    // Slot 473: unsaved changes.
    virtual HRESULT HasUnsavedChanges(VARIANT_BOOL* dirty) = 0;
    // Slot 508: save.
    virtual HRESULT Save(long options, long* errors) = 0;
    // Slot 433: writes a copy, format by extension.
    virtual HRESULT SaveCopyAs(BSTR path, long options, long* errors) = 0;
    // Slot 459: configuration names.
    virtual HRESULT GetConfigurationNames(VARIANT* names) = 0;
    // Slot 412: sheet-body copy of the selected face.
    virtual HRESULT CopySelectedFaceAsSurface(long options1, long options2) = 0;
    // Document creation flag.
    virtual HRESULT GetCreationFlag(VARIANT_BOOL* flag) = 0;
    // Document creation flag.
    virtual HRESULT SetCreationFlag(VARIANT_BOOL flag) = 0;
    // Document setting A.
    virtual HRESULT GetSettingA(VARIANT_BOOL* value) = 0;
    // Document setting A.
    virtual HRESULT SetSettingA(VARIANT_BOOL value) = 0;
    // Document setting B.
    virtual HRESULT GetSettingB(VARIANT_BOOL* value) = 0;
    // Document setting B.
    virtual HRESULT SetSettingB(VARIANT_BOOL value) = 0;
    // Build-mode guard enter.
    virtual HRESULT EnterBuildMode(long mode) = 0;
    // Build-mode guard leave.
    virtual HRESULT LeaveBuildMode() = 0;
    // The document state object.
    virtual HRESULT GetStateObject(IDispatch** state) = 0;
    // Called after each cosmetic thread.
    virtual HRESULT AfterThreadCreated() = 0;
    // Called before the constraint walk.
    virtual HRESULT BeforeSketchWalk() = 0;
    // Applied to the selected face (helper body).
    virtual HRESULT ActOnSelectedFace(long options, VARIANT_BOOL* done) = 0;
    // Custom property names.
    virtual HRESULT GetCustomNames(BSTR configuration, VARIANT* names) = 0;
    // Custom property value.
    virtual HRESULT GetCustomValue(BSTR configuration, BSTR name, BSTR* value) = 0;
    // Overwrites a custom property.
    virtual HRESULT SetCustomValue(BSTR configuration, BSTR name, BSTR value) = 0;
    // Adds a custom property.
    virtual HRESULT AddCustomValue(BSTR configuration, BSTR name, long type, BSTR value,
                                   VARIANT_BOOL* added) = 0;
    // Reads a custom property.
    virtual HRESULT ReadCustomProperty(BSTR configuration, BSTR name, BSTR* value) = 0;
    // Summary field 0-4.
    virtual HRESULT GetSummaryInfo(long field, BSTR* text) = 0;
    // Summary field 0-4.
    virtual HRESULT SetSummaryInfo(long field, BSTR text) = 0;
    // Document double preference (7 density).
    virtual HRESULT SetDoublePreference(long id, double value, VARIANT_BOOL* done) = 0;
    // Document integer preference (51 angle display).
    virtual HRESULT GetIntegerPreference(long id, long* value) = 0;
    // 16-bit ints, element 0 the length unit.
    virtual HRESULT GetLengthUnitArray(VARIANT* units) = 0;
    // 16-bit ints, element 0 the angle unit.
    virtual HRESULT GetAngleUnitArray(VARIANT* units) = 0;
    // Makes the configuration active.
    virtual HRESULT ShowConfiguration(BSTR name, VARIANT_BOOL* shown) = 0;
    // Deletes a configuration that is not the active one.
    virtual HRESULT DeleteConfiguration2(BSTR name, VARIANT_BOOL* deleted) = 0;
    // Shows a named view.
    virtual HRESULT ShowNamedView(BSTR name, long id) = 0;
    // Fits the view.
    virtual HRESULT FitView() = 0;
    // Zoom to fit.
    virtual HRESULT ZoomToFit() = 0;
    // Preview bitmap.
    virtual HRESULT SaveBitmap(BSTR path, long width, long height, VARIANT_BOOL* saved) = 0;
    // Document integer preference (51 angle display).
    virtual HRESULT SetIntegerPreference(long id, long value, VARIANT_BOOL* done) = 0;
    // Document double preference (7 density).
    virtual HRESULT GetDoublePreference(long id, double* value) = 0;
    // Saves the document under a new path, which becomes its own (0 saved, else not).
    virtual HRESULT SaveAs(BSTR path, long options, long* errors) = 0;
};
COM_DECLARE_IID(IModelDoc2, "{4E0B2B4A-5C1D-4F7E-9A21-6D0C3E8F1A02}");
typedef _com_ptr_t<IModelDoc2> IModelDoc2Ptr;

// Part document.
struct IPartDoc : IDispatch {
    // Bodies of a kind (0 solid, 1 sheet).
    virtual HRESULT GetBodies(long kind, VARIANT* bodies) = 0;
    // Bodies of a kind.
    virtual HRESULT ListBodies(long kind, VARIANT_BOOL visibleOnly, VARIANT* bodies) = 0;
    // Entity name, empty when none.
    virtual HRESULT GetEntityName(IDispatch* entity, BSTR* name) = 0;
    // Names an entity; FALSE when it has a name or the name is taken.
    virtual HRESULT SetEntityName(IDispatch* entity, BSTR name, VARIANT_BOOL* named) = 0;
    // Feature by name.
    virtual HRESULT FeatureByName(BSTR name, IDispatch** feature) = 0;
    // Bounding box min xyz, max xyz.
    virtual HRESULT GetBox(long options, VARIANT* box) = 0;
};
COM_DECLARE_IID(IPartDoc, "{83A33D32-27C5-11CE-BFD4-00400513BB57}");
typedef _com_ptr_t<IPartDoc> IPartDocPtr;

// Assembly document.
struct IAssemblyDoc : IDispatch {
    // Bounding box.
    virtual HRESULT GetBox(long options, VARIANT* box) = 0;
    // Adds components: the documents' paths (BSTR array), one transform of 16 doubles each
    // (one double array), coordinate system names (not used); the new components, in order.
    virtual HRESULT AddComponents3(VARIANT names, VARIANT transforms, VARIANT coordinateSystems,
                                   VARIANT* components) = 0;
};
COM_DECLARE_IID(IAssemblyDoc, "{4E0B2B4A-5C1D-4F7E-9A21-6D0C3E8F1A03}");
typedef _com_ptr_t<IAssemblyDoc> IAssemblyDocPtr;

// Document extension.
struct IDocExtension : IDispatch {
    // The feature created last.
    virtual HRESULT GetNewestFeature(IDispatch** feature) = 0;
    // Selection with a mark.
    virtual HRESULT SelectById(BSTR name, BSTR type, double x, double y, double z,
                               VARIANT_BOOL append, long mark, IDispatch* callout,
                               VARIANT_BOOL* selected) = 0;
    // Mass properties.
    virtual HRESULT CreateMassProperty(IMassProperty** properties) = 0;
    // Custom properties of a configuration.
    virtual HRESULT GetCustomPropertyManager(BSTR configuration,
                                             ICustomPropertyManager** manager) = 0;
};
COM_DECLARE_IID(IDocExtension, "{99F4D4AF-F268-4EE1-8C55-041F7BECF879}");
typedef _com_ptr_t<IDocExtension> IDocExtensionPtr;

// Document state object.
struct IStateObject : IDispatch {
    virtual HRESULT SetFlag(VARIANT_BOOL value) = 0;
};
COM_DECLARE_IID(IStateObject, "{83A33D4C-27C5-11CE-BFD4-00400513BB57}");
typedef _com_ptr_t<IStateObject> IStateObjectPtr;

// Mass properties.
struct IMassProperty : IDispatch {
    virtual HRESULT GetCenterOfGravity(VARIANT* centre) = 0;
    // Volume of the solid bodies.
    virtual HRESULT GetVolume(double* volume) = 0;
    virtual HRESULT SetUseGivenCenter(VARIANT_BOOL value) = 0;
    virtual HRESULT SetUseGivenMass(VARIANT_BOOL value) = 0;
    virtual HRESULT ApplyValues(double mass, double x, double y, double z, long option,
                                VARIANT configurations, VARIANT_BOOL* done) = 0;
};
COM_DECLARE_IID(IMassProperty, "{158BAD02-D515-4400-ADA4-F9941C974DC1}");
typedef _com_ptr_t<IMassProperty> IMassPropertyPtr;
