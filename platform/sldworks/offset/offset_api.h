// The table of functions libnatlink_offset.so hands to the model that opens it: the shapes
// made with OpenCASCADE's offset toolkit (TKOffset, which loads TKFillet and TKBool), which
// only drafted extrusions and lofts need. Shapes cross as OpenCASCADE objects, as with the
// exchange modules; no OpenCASCADE failure crosses: each function returns an empty string on
// success, else why it made nothing.
#pragma once

#include <TopoDS_Shape.hxx>
#include <gp_Vec.hxx>

#include <string>
#include <vector>

namespace swsim::offset {

// Raised whenever the table changes, so that a module left over from another build is refused.
inline constexpr int kApiVersion = 1;

struct Api {
    int version;
    // One drafted side of an extrusion: the profile's faces extruded along `direction` by
    // `depth`, every wall turned by `angle` (radians) about its edge in the profile plane,
    // inwards (the profile shrinks along the extrusion) or outwards.
    std::string (*draftedSide)(const TopoDS_Shape& profile, const gp_Vec& direction, double depth,
                               double angle, bool inward, TopoDS_Shape& side);
    // The solid through closed wires in their order, ruled between neighbours.
    std::string (*loft)(const std::vector<TopoDS_Shape>& wires, TopoDS_Shape& solid);
};

} // namespace swsim::offset

// The module's one exported symbol: its table. Of the exchange modules' type, so that the one
// loader opens all of them.
extern "C" const void* natlink_offset_api();
