// Finishing steps that decorate the SolidWorks geometry from the meta model: cosmetic threads
// on the edges of a feature (or of the part), names of the part's faces by surface type, and
// the node attributes they read.
#pragma once

#include "libs/geomcore/sw3ddoc/sw_part.h"
#include "metamodel/m3d/annotations.h"

#include <cstdint>
#include <vector>

// One cosmetic thread for each thread annotation of the set, attached to the edge through
// the thread's start point (else its end point): an edge of `feature` when it is given, a
// body edge of the part otherwise. The document's creation flag is TRUE while a thread is
// inserted and is put back afterwards, also when the insertion fails. SolidWorks failures
// raise _com_error (threads made before stay). Answers what was not made, one text a thread
// ("cosmetic thread \"M6\" not made: no edge through its start or end point"): an
// annotation that meets no edge, or one SolidWorks made no thread of.
std::vector<mzComStringC> createCosmeticThreads(swPartC& part, const m3dAnnotationSetC& threads,
                                                IFeature* feature);

// Names every face of the part's solid bodies by surface type and a running number per type
// ("PLANAR_0", "CYL_3", ...), in body order. A failure inside the walk ends the naming (the
// faces named so far keep their names) and is answered as its reason; empty when every face
// was named. Only a failing query for the part document interface raises.
mzComStringC nameFacesBySurfaceType(swPartC& part);

// Attribute readers: the child with the key is found or added (an absent attribute leaves an
// empty child behind); `found` tells whether it held a value.
// "THDIR": the thread's direction, non-zero for left-handed; 0 when absent.
int getThDirAttr(metaObjectVirtualDataBaseC& object, bool& found);
// "THDESC": the thread's description; empty when absent.
mzComStringC getThDescAttr(metaObjectVirtualDataBaseC& object, mzComStringC& value, bool& found);
// "SELLODNAME": the level of detail an object is selected for; empty when absent.
mzComStringC getSelLodNameAttr(metaObjectVirtualDataBaseC& object, mzComStringC& value,
                               bool& found);
