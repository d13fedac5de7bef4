// Work on SolidWorks geometry after it has been created: constraining the open sketch by the
// "SketchMode" creation option, and finding the edge of a feature through a point.
#pragma once

#include "platform/sldworks/api/sldworks_api.h"

// Sketch statuses and constraint kinds as SolidWorks numbers them.
inline constexpr long sketchStatusUnderConstrained = 2;
inline constexpr long sketchStatusFullyConstrained = 3;
inline constexpr long sketchStatusOverConstrained = 4;
inline constexpr long constraintKindFix = 17;
inline constexpr long constraintKindAuto = 2;

// Constrains the sketch open for editing (none: nothing happens). Every mode first calls the
// document's walk preparation; then
//   0: reads the status (and the status check when it is 2);
//   1: as 0, then SolidWorks' own constraining; when the status is then 4, 5 or 6, the
//      constraints of kind 2 are removed again, the last first;
//   2: while the status stays 2, fixes the sketch's points one by one and then its segments
//      (kind 17), taking back at once a fix that over-constrains the sketch;
//   other modes: nothing beyond the preparation.
// Failing calls raise their COM errors; what was added or removed stays.
void walkSketchSegments(const _bstr_t& sketchName, IModelDoc2* doc, const int& sketchMode);

// The first edge of the feature's faces (face order, then edge order) whose closest point lies
// within 1e-6 (strictly) of `point`, as an entity; null when none. A failing face list raises;
// an edge that cannot be examined is skipped; any other failure ends the search with null.
IEntityPtr getFeatureEdgeFromPoint(IFeature* feature, const double point[3]);
