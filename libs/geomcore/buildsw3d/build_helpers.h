// Small helpers the builders share: plane kinds, node attributes, annotation vectors and
// removing an entry from a list by index. (A handler's failure: libs/geomcore/swtools/error.h.)
#pragma once

#include "libs/geomcore/swtools/error.h"
#include "metamodel/m3d/annotations.h"
#include "metamodel/m3d/geom3d.h"
#include "metamodel/m3d/plane.h"
#include "platform/com/com.h"

#include <cstdint>
#include <vector>

// True when the plane's "TYP" is "XY", "ZX" or "YZ" (a base plane of the template).
bool isBasePlaneName(const m3dPlaneC& plane);

// The "FILENAME" string of a node; empty and found = false when it has none. Reading adds
// nothing to the tree.
void getFileNameAttr(const metaObjectVirtualDataBaseC& object, mzComStringC& fileName, bool& found);
// The integer "SOLIDOP" of a node; 0 and found = false when it has none.
std::int32_t getSolidOpAttr(const metaObjectVirtualDataBaseC& object, bool& found);

// Remove the entry at index; later entries move down by one. False (nothing removed) for an
// index outside the list.
bool vector3ArrayRemoveAt(std::vector<vectorC3d<double>>& list, int index);
bool variantArrayRemoveAt(std::vector<_variant_t>& list, int index);

// Appends the zero vector and answers its slot, for the caller to fill.
vectorC3d<double>& vector3ArrayAppendZero(std::vector<vectorC3d<double>>& list);
