// Internal to the model: the planar faces of a sketch's closed loops, and the solid tools of
// extrusions, revolutions and holes.
#pragma once

#include "platform/sldworks/model/feature.h"
#include "platform/sldworks/model/sketch.h"

#include <TopoDS_Face.hxx>
#include <TopoDS_Shape.hxx>

#include <string>

namespace swsim::detail {

// The faces bounded by the closed loops of a 2D sketch, in model space, inner loops cut out
// by containment. False with `error` set when the sketch gives no valid profile.
bool buildProfile(const Sketch& sketch, TopoDS_Shape& profile, std::string& error);

// A planar face of a profile healed: oriented, its edges given their curves on the plane,
// vertex tolerances set (OpenCASCADE's ShapeFix_Face).
TopoDS_Face healedFace(const TopoDS_Face& face);
// The same face, byte for byte, in time linear in its edges, for a face whose loops are lines
// and circles shown apart (clearlySeparate), its wires flagged closed as buildProfile makes
// them.
TopoDS_Face healedFaceOfApartLoops(const TopoDS_Face& face);

// Extrusion of a profile (valid, as buildProfile makes it): depth1 along `direction` (a unit
// vector) and depth2 against it, each side drafted by `draftAngle` (radians; inward when
// `draftInward`).
bool makeExtrusionTool(const TopoDS_Shape& profile, Vec3 direction, double depth1, double depth2,
                       double draftAngle, bool draftInward, TopoDS_Shape& tool, std::string& error);

// Revolution of a profile about the axis through `point` along `axis` (unit), from
// `startAngle` through `angle` (radians, total at most 2 pi).
bool makeRevolutionTool(const TopoDS_Shape& profile, Vec3 point, Vec3 axis, double startAngle,
                        double angle, TopoDS_Shape& tool, std::string& error);

bool makeHoleTool(const HoleSpec& request, TopoDS_Shape& tool, std::string& error);

} // namespace swsim::detail
