// Finding, creating and naming reference geometry of a part build. SolidWorks names a new
// feature itself. A plane-creating call that gives the plane back has that plane recorded;
// one that reports only success has the build walk the feature list for the first reference
// plane it does not know yet that lies where the new plane must lie, name it and record it.
#pragma once

#include "libs/geomcore/sw3ddoc/sw_part.h"

// Records a reference plane the build has made: a non-empty `name` becomes its feature's
// name, an empty one receives the feature's name; the plane is recorded under `metaName` and
// `name` ends as the name it was recorded with; with `remember` the walk's next start is this
// plane. False (nothing changed) for a plane that is already recorded. A plane without
// IFeature raises E_POINTER; a failing rename raises its error before anything is recorded.
bool recordNewPlane(swPartC& part, IRefPlane* plane, const mzComStringC& metaName, _bstr_t& name,
                    int remember);

// Records (recordNewPlane) the first reference plane of the document whose SolidWorks name is
// not yet recorded and, with a `geometry`, that lies in its plane facing its normal
// (planeMatchesGeometry); planes that do not are passed over. The walk starts at the
// remembered feature (else at the first feature) and, when that finds nothing, once more from
// the first feature. False (nothing changed) when there is no such plane or the part has no
// document.
bool findRefPlane(swPartC& part, const mzComStringC& metaName, _bstr_t& name, int remember,
                  const matrixC4x4<double>* geometry = nullptr);

// Creates a fixed plane through origin, origin + first and origin + second (facing
// first x second), records it under `metaName` (named as findRefPlane says) and leaves it
// selected. 1 on success; 0 when SolidWorks refuses the plane or no new plane lies where the
// points say. A null document raises E_POINTER.
int selectSketchPlane(swPartC& part, const vectorC3d<double>& origin,
                      const vectorC3d<double>& first, const vectorC3d<double>& second,
                      const mzComStringC& metaName, _bstr_t& name);

// selectSketchPlane through the placement's origin, origin + X and origin + Y, in the order
// that makes the plane face the placement's Z row: Y before X for a left-handed placement.
int selectPlaneOfPlacement(swPartC& part, const matrixC4x4<double>& placement,
                           const mzComStringC& metaName, _bstr_t& name);

// Names and hides the reference axis the caller has just created; a newest feature of any
// other type is left alone. A null document or extension raises E_POINTER.
void nameAndHideNewRefAxis(swPartC& part, const _bstr_t& name);
