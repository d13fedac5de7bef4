// Internal to the model: the OpenCASCADE side of the opaque handles and small conversions.
// Only the model's .cpp files include this.
#pragma once

#include "platform/sldworks/model/types.h"

#include <memory>

#include <IntCurvesFace_ShapeIntersector.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS_Shape.hxx>
#include <gp_Dir.hxx>
#include <gp_Pnt.hxx>
#include <gp_Vec.hxx>

namespace swsim::detail {

struct ShapeRef {
    TopoDS_Shape shape;
};

// SolidWorks bodies have no seam edges (where a full cylinder or cone closes on itself) and
// no degenerate edges (a cone's apex): such edges are left out of every edge answer.
bool isSeamOrDegenerate(const TopoDS_Shape& edge, const TopTools_ListOfShape& faces);

// Edge-to-face ancestry and index maps of one body, built once per body object; `edgeMap`
// holds the edges a SolidWorks body has, in the order they are answered.
struct BodyTopology {
    TopTools_IndexedMapOfShape faceMap;
    TopTools_IndexedMapOfShape edgeMap;
    TopTools_IndexedDataMapOfShapeListOfShape edgeFaces;
    std::shared_ptr<IntCurvesFace_ShapeIntersector> rays; // built on the first ray cast
};

inline gp_Pnt toPnt(Vec3 v) {
    return gp_Pnt(v.x, v.y, v.z);
}
inline gp_Vec toVec(Vec3 v) {
    return gp_Vec(v.x, v.y, v.z);
}
inline gp_Dir toDir(Vec3 v) {
    return gp_Dir(v.x, v.y, v.z);
}
inline Vec3 toVec3(const gp_Pnt& p) {
    return {p.X(), p.Y(), p.Z()};
}
inline Vec3 toVec3(const gp_Vec& p) {
    return {p.X(), p.Y(), p.Z()};
}
inline Vec3 toVec3(const gp_Dir& p) {
    return {p.X(), p.Y(), p.Z()};
}

inline std::shared_ptr<ShapeRef> makeRef(const TopoDS_Shape& shape) {
    return std::make_shared<ShapeRef>(ShapeRef{shape});
}

} // namespace swsim::detail
