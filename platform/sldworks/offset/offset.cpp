// Drafted extrusion sides and lofts through OpenCASCADE's offset toolkit, as a module of its
// own: no other feature needs that toolkit, and loading it (with TKFillet and TKBool behind
// it) cost every process some 4 ms (see README.md).
#include "platform/sldworks/offset/offset_api.h"

#include <BRepAdaptor_Surface.hxx>
#include <BRepOffsetAPI_DraftAngle.hxx>
#include <BRepOffsetAPI_MakeOffset.hxx>
#include <BRepOffsetAPI_ThruSections.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <BRep_Builder.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Iterator.hxx>
#include <gp_Pln.hxx>

#include <cmath>

namespace swsim::offset {
namespace {

int countOf(const TopoDS_Shape& shape, TopAbs_ShapeEnum type) {
    int n = 0;
    for (TopExp_Explorer ex(shape, type); ex.More(); ex.Next())
        ++n;
    return n;
}

// Whether the profile face keeps its loops when its walls have moved by `offset` (outwards
// positive) at the far end of a drafted side: a wall that runs into another one, or a loop
// that shrinks to nothing, closes the extrusion before its depth.
bool keepsLoops(const TopoDS_Face& face, double offset) {
    BRepOffsetAPI_MakeOffset moved(face, GeomAbs_Intersection);
    moved.Perform(offset);
    if (!moved.IsDone())
        return false;
    return countOf(moved.Shape(), TopAbs_WIRE) == countOf(face, TopAbs_WIRE) &&
           countOf(moved.Shape(), TopAbs_EDGE) == countOf(face, TopAbs_EDGE);
}

// Straight profile edges give planar walls meeting at sharp edges, circles one cone. An
// inward draft takes the walls towards the material's inside at the far end: the outer
// boundary shrinks and the holes grow.
std::string draftedSideOf(const TopoDS_Shape& profile, const gp_Vec& direction, double depth,
                          double angle, bool inward, TopoDS_Shape& side) {
    BRep_Builder b;
    TopoDS_Compound c;
    b.MakeCompound(c);
    const gp_Dir pull(direction);
    const double offset = depth * std::tan(angle);
    const std::string failed = "the drafted extrusion failed";
    int n = 0;
    for (TopExp_Explorer ex(profile, TopAbs_FACE); ex.More(); ex.Next()) {
        const TopoDS_Face& f = TopoDS::Face(ex.Current());
        const gp_Pln plane = BRepAdaptor_Surface(f, false).Plane();
        if (!keepsLoops(f, inward ? -offset : offset))
            return "the draft closes the profile before the extrusion depth";
        BRepPrimAPI_MakePrism prism(f, direction * depth, true);
        if (!prism.IsDone())
            return failed;
        BRepOffsetAPI_DraftAngle draft(prism.Shape());
        for (TopExp_Explorer fx(prism.Shape(), TopAbs_FACE); fx.More(); fx.Next()) {
            const TopoDS_Face& wall = TopoDS::Face(fx.Current());
            BRepAdaptor_Surface surface(wall, false);
            if (surface.GetType() == GeomAbs_Plane &&
                std::abs(surface.Plane().Axis().Direction().Dot(pull)) > 0.5)
                continue; // the profile face or its copy at the far end
            draft.Add(wall, pull, inward ? angle : -angle, plane);
            if (!draft.AddDone())
                return failed;
        }
        draft.Build();
        if (!draft.IsDone())
            return failed;
        b.Add(c, draft.Shape());
        ++n;
    }
    if (n == 0)
        return failed;
    side = n == 1 ? TopoDS_Shape(TopoDS_Iterator(c).Value()) : TopoDS_Shape(c);
    return {};
}

std::string draftedSide(const TopoDS_Shape& profile, const gp_Vec& direction, double depth,
                        double angle, bool inward, TopoDS_Shape& side) {
    try {
        return draftedSideOf(profile, direction, depth, angle, inward, side);
    } catch (const Standard_Failure& e) {
        return std::string("the extrusion failed: ") + e.GetMessageString();
    }
}

std::string loft(const std::vector<TopoDS_Shape>& wires, TopoDS_Shape& solid) {
    try {
        BRepOffsetAPI_ThruSections sections(Standard_True, Standard_True);
        for (const TopoDS_Shape& wire : wires)
            sections.AddWire(TopoDS::Wire(wire));
        sections.Build();
        if (!sections.IsDone())
            return "the profiles give no loft";
        solid = sections.Shape();
    } catch (const Standard_Failure& e) {
        return std::string("the profiles give no loft: ") + e.GetMessageString();
    }
    return {};
}

const Api kApi{kApiVersion, draftedSide, loft};

} // namespace
} // namespace swsim::offset

extern "C" __attribute__((visibility("default"))) const void* natlink_offset_api() {
    return &swsim::offset::kApi;
}
