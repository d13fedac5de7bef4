// Internal to the model: shapes as OpenCASCADE's BREP text, the form in which part files keep
// tool shapes and a foreign import hands its shape back from the child that read it.
#pragma once

#include <TopoDS_Shape.hxx>

#include <istream>
#include <string>

namespace swsim::detail {

std::string brepText(const TopoDS_Shape& shape);

// The shape the BREP text on `in` describes; null when it is not one. The stream fails at the
// first token the reader does not expect: OpenCASCADE's reader otherwise reads on from a
// failed stream, allocating as it goes (a table said to hold 2e9 curves never ends). An
// allocation refused raises std::bad_alloc.
TopoDS_Shape readBrep(std::istream& in);

// The shape of BREP text; null when it is not one, or when reading it needs more memory than
// there is.
TopoDS_Shape shapeOfBrepText(const std::string& text);

} // namespace swsim::detail
