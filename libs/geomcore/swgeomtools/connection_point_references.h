// Mate references at connection points: a connection point is a feature named after it whose
// sketch holds the point, with a reference plane "<name> XY".
#pragma once

#include "libs/geomcore/swgeomtools/mate_references.h"

// The mate reference `name` on the first circular edge between a cylinder and a plane (a
// cone too with acceptCone) of a shown solid body whose circle is centred on the connection
// point (within 1e-4); its faces and edge get the helper names. 1 when made; 0 when none
// qualifies or the document is not a part; -1 when the part has no connection point `name`
// (no feature of that name holding a sketch point), noted in the context's
// `unreferencedPoints`.
int addConnPointEdgeMateReference(swMateRefContextS& context, const _bstr_t& name);

// A helper body extruded from a circle on the plane "<name> XY" towards the document's box,
// hidden, with the mate reference `name` on an edge of its planar face. Nothing is built
// when the plane is missing or the document is neither part nor assembly. Returns 0.
int addConnPointHelperBodyReference(swMateRefContextS& context, const _bstr_t& name,
                                    const double transform[16], bool axisFlag);
