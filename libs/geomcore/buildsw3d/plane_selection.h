// Finding, creating and naming reference geometry of a part build. SolidWorks names a new
// feature itself and the plane-creating calls report only success, so after a plane is made
// the build walks the feature list for the first reference plane it does not know yet,
// names it and records it.
#pragma once

#include "libs/geomcore/sw3ddoc/sw_part.h"

// Records the first reference plane of the document whose SolidWorks name is not yet
// recorded. The walk starts at the remembered feature (else at the first feature) and, when
// that finds nothing, once more from the first feature. On an answer: a non-empty `name`
// becomes the feature's name, an empty one receives the feature's name; the plane is
// recorded under `metaName` and `name` ends as the name it was recorded with; with
// `remember` the walk's next start is this feature. False (nothing changed) when there is
// no such plane or the part has no document.
bool findRefPlane(swPartC& part, const mzComStringC& metaName, _bstr_t& name, int remember);

// Creates a fixed plane through origin, origin + first and origin + second, records it
// under `metaName` (named as findRefPlane says) and leaves it selected. 1 on success; 0 when
// SolidWorks refuses the plane or no new plane is found. A null document raises E_POINTER.
int selectSketchPlane(swPartC& part, const vectorC3d<double>& origin,
                      const vectorC3d<double>& first, const vectorC3d<double>& second,
                      const mzComStringC& metaName, _bstr_t& name);

// Names and hides the reference axis the caller has just created; a newest feature of any
// other type is left alone. A null document or extension raises E_POINTER.
void nameAndHideNewRefAxis(swPartC& part, const _bstr_t& name);
