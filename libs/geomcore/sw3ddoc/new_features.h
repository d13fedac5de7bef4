// Finding the feature a builder has just made: the first feature of the document that is not
// yet recorded in the part, skipping the kinds that other steps record (planes, axes,
// sketches, cosmetic threads).
#pragma once

#include "libs/geomcore/sw3ddoc/sw_part.h"

// Walks from the part's lastFeature (or the document's first feature) for the first feature
// whose SolidWorks name is not recorded. When one is found: a non-empty `name` is given to it,
// an empty `name` receives its SolidWorks name; it is recorded under `metaName`, becomes the
// part's lastFeature when `remember` is set, and the answer is 1. Otherwise 0 (also for a part
// without a document). Records at most one feature per call.
int collectNewFeatures(swPartC& part, mzComStringC metaName, _bstr_t& name, int remember);
