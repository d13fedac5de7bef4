// Extruded and revolved body features: one creation call on the document from the sketch the
// caller has selected, with the parameters read from the meta feature.
#pragma once

#include "metamodel/m3d/features.h"
#include "platform/sldworks/api/sldworks_api.h"

// The feature type names under which the features are created.
inline constexpr const char16_t* firstExtrusionTypeName = u"Extrusion";
inline constexpr const char16_t* bossExtrusionTypeName = u"Boss";
inline constexpr const char16_t* cutExtrusionTypeName = u"Cut";
inline constexpr const char16_t* bossRevolutionTypeName = u"Revolution";
inline constexpr const char16_t* cutRevolutionTypeName = u"RevCut";

// An extruded boss (cut 0) or cut (cut 1). The first body of a part (cut 0, firstFeature
// non-zero) is made through the document, whose answer is only a status: its feature is then
// looked up as the last "Extrusion". Answers 0 when a feature was made, 1 when the creation
// call gave none, the document call's status otherwise; on the first-feature path 0 may come
// with no feature, so callers check `feature` too. multibody 1 keeps a boss a separate body.
// A failing SolidWorks call raises _com_error and leaves the outputs as they were.
int createExtrusionFeature(const m3dFeatExtrudeC& view, const int& cut, const int& firstFeature,
                           IModelDoc2* doc, _bstr_t& typeName, IFeaturePtr& feature,
                           const int& multibody);

// A revolved boss (cut 0) or cut (cut 1) about the selected sketch's centre line. firstFeature
// is not read. Answers 0 when a feature came back, 1 when none did.
int createRevolutionFeature(const m3dFeatRotateC& view, const int& cut, const int& firstFeature,
                            IModelDoc2* doc, _bstr_t& typeName, IFeaturePtr& feature,
                            const int& multibody);

// The newest feature of the type (the last in the feature list) and its name; an empty name
// and `feature` untouched when there is none. An absent and an empty type name are equal.
_bstr_t findLastFeatureOfType(IModelDoc2* doc, const _bstr_t& typeName, IFeaturePtr& feature);
