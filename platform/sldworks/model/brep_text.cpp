#include "platform/sldworks/model/brep_text.h"

#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <Standard_Failure.hxx>
#include <Standard_OutOfMemory.hxx>

#include <ios>
#include <new>
#include <sstream>

namespace swsim::detail {

std::string brepText(const TopoDS_Shape& shape) {
    std::ostringstream s;
    BRepTools::Write(shape, s);
    return s.str();
}

TopoDS_Shape readBrep(std::istream& in) {
    in.exceptions(std::ios::failbit | std::ios::badbit);
    TopoDS_Shape shape;
    try {
        BRep_Builder builder;
        BRepTools::Read(shape, in, builder);
    } catch (const Standard_OutOfMemory&) {
        throw std::bad_alloc();
    } catch (const Standard_Failure&) {
        shape.Nullify();
    } catch (const std::ios::failure&) {
        shape.Nullify();
    }
    return shape;
}

TopoDS_Shape shapeOfBrepText(const std::string& text) {
    std::istringstream in(text);
    try {
        return readBrep(in);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

} // namespace swsim::detail
