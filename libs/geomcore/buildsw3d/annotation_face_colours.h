// Face colours of annotation sets: the faces on which kept points lie take the colour values
// kept with them.
#pragma once

#include "libs/geomcore/sw3ddoc/sw_part.h"
#include "metamodel/m3d/geom3d.h"
#include "platform/com/com.h"

#include <vector>

// Walks the faces of the part's solid bodies in body and face order; a face takes the colour
// of the first kept point that lies on it (within 1e-6) and then no other. The entries that
// coloured a face leave both lists; the others stay in their order. A part without bodies
// has nothing to colour. With `onColouredFace`, it is set parallel to the entries left:
// true for a point that lies on a face that took an earlier point's colour. Failed
// SolidWorks calls and malformed closest-point answers raise.
void findAnnotationSetFaces(swPartC& part, std::vector<vectorC3d<double>>& points,
                            std::vector<_variant_t>& colours,
                            std::vector<bool>* onColouredFace = nullptr);
