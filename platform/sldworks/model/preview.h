// Internal to the model: the preview bitmap of a shape, and the compound of bodies that
// previews and copies are made from.
#pragma once

#include "platform/sldworks/model/topology.h"

#include <TopoDS_Compound.hxx>
#include <TopoDS_Shape.hxx>

#include <string>
#include <vector>

namespace swsim::detail {

// Writes a width x height 24-bit BMP of the shape seen from the isometric direction; the
// shape is tessellated with the given linear deflection. Raises ModelError.
void writeShadedBitmap(const TopoDS_Shape& shape, double deflection, const std::string& path,
                       int width, int height);

TopoDS_Compound compoundOf(const std::vector<BodyPtr>& bodies);

// Copies of a shape for other programs; raise ModelError. `scale` multiplies the STL's
// coordinates.
void writeStepFile(const TopoDS_Shape& shape, const std::string& path);
void writeStlFile(const TopoDS_Shape& shape, const std::string& path, bool asciiStl, double scale);

} // namespace swsim::detail
