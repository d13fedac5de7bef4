#include "platform/sldworks/model/profile.h"

#include "platform/sldworks/model/modules.h"
#include "platform/sldworks/model/occt_shape.h"

#include <BRepAdaptor_Surface.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <BRepBuilderAPI_Transform.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <BRepPrimAPI_MakeRevol.hxx>
#include <BRep_Builder.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Iterator.hxx>
#include <gp_Ax1.hxx>
#include <gp_Ax2.hxx>
#include <gp_Ax3.hxx>
#include <gp_Pln.hxx>
#include <gp_Trsf.hxx>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace swsim::detail {

namespace {

constexpr double kMinLength = 1e-9;

bool validSolid(const TopoDS_Shape& s) {
    if (s.IsNull())
        return false;
    TopExp_Explorer ex(s, TopAbs_SOLID);
    return ex.More() && BRepCheck_Analyzer(s).IsValid();
}

bool hasSolid(const TopoDS_Shape& s) {
    return !s.IsNull() && TopExp_Explorer(s, TopAbs_SOLID).More();
}

double segmentDistance(const std::array<double, 2>& p, const std::array<double, 2>& a,
                       const std::array<double, 2>& b) {
    const double dx = b[0] - a[0];
    const double dy = b[1] - a[1];
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p[0] - a[0] - t * dx, p[1] - a[1] - t * dy);
}

// Whether every corner of a closed (r, z) polygon lies at least `gap` from every edge it is
// not an end of, every edge is at least `gap` long, and every corner but the first and the
// last lies at least `gap` off the axis (r = 0).
bool sectionWellApart(const std::vector<std::array<double, 2>>& corners, double gap) {
    const std::size_t n = corners.size();
    if (n < 3)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && i + 1 < n && corners[i][0] < gap)
            return false;
        const auto& a = corners[i];
        const auto& b = corners[(i + 1) % n];
        if (std::hypot(b[0] - a[0], b[1] - a[1]) < gap)
            return false;
        for (std::size_t k = 0; k < n; ++k)
            if (k != i && k != (i + 1) % n && segmentDistance(corners[k], a, b) < gap)
                return false;
    }
    return true;
}

TopoDS_Shape translated(const TopoDS_Shape& s, const gp_Vec& v) {
    gp_Trsf t;
    t.SetTranslation(v);
    return BRepBuilderAPI_Transform(s, t, true).Shape();
}

// Whether a straight extrusion of the valid planar profile along `dir` is valid without the
// full check, which costs more than the sweep: a valid face swept along a direction well off
// its plane gives a valid solid (a sweep too thin for the modelling tolerance is refused by
// OpenCASCADE's sweep itself).
bool sweepsWell(const TopoDS_Shape& profile, const gp_Vec& dir) {
    for (TopExp_Explorer ex(profile, TopAbs_FACE); ex.More(); ex.Next()) {
        BRepAdaptor_Surface surface(TopoDS::Face(ex.Current()), false);
        if (surface.GetType() != GeomAbs_Plane ||
            std::abs(surface.Plane().Axis().Direction().Dot(gp_Dir(dir))) < 0.5)
            return false;
    }
    return true;
}

} // namespace

bool makeExtrusionTool(const TopoDS_Shape& profile, Vec3 direction, double depth1, double depth2,
                       double draftAngle, bool draftInward, TopoDS_Shape& tool,
                       std::string& error) {
    if (!inModelSpace(depth1) || !inModelSpace(depth2) || depth1 < 0.0 || depth2 < 0.0) {
        error = "the extrusion depth must be a number >= 0 within the model space";
        return false;
    }
    if (depth1 + depth2 <= kMinLength) {
        error = "the extrusion depth is zero";
        return false;
    }
    if (!std::isfinite(draftAngle) || draftAngle < 0.0 || draftAngle >= std::numbers::pi / 2) {
        error = "the draft angle must lie in [0, 90) degrees";
        return false;
    }
    try {
        const gp_Vec dir = toVec(normalized(direction));
        bool sweptWell = false;
        if (draftAngle <= 1e-12) {
            const TopoDS_Shape base = depth2 > 0.0 ? translated(profile, -dir * depth2) : profile;
            BRepPrimAPI_MakePrism prism(base, dir * (depth1 + depth2), true);
            if (!prism.IsDone()) {
                error = "the extrusion failed";
                return false;
            }
            tool = prism.Shape();
            sweptWell = sweepsWell(profile, dir);
        } else {
            const offset::Api& drafts = offsetModule("extrusion");
            TopoDS_Shape side1;
            TopoDS_Shape side2;
            error.clear();
            if (depth1 > kMinLength)
                error = drafts.draftedSide(profile, dir, depth1, draftAngle, draftInward, side1);
            if (error.empty() && depth2 > kMinLength)
                error = drafts.draftedSide(profile, -dir, depth2, draftAngle, draftInward, side2);
            if (!error.empty())
                return false;
            if (side1.IsNull() || side2.IsNull()) {
                tool = side1.IsNull() ? side2 : side1;
            } else {
                BRepAlgoAPI_Fuse fuse(side1, side2);
                if (!fuse.IsDone() || fuse.HasErrors()) {
                    error = "the drafted extrusion failed";
                    return false;
                }
                tool = fuse.Shape();
            }
        }
        if (!(sweptWell ? hasSolid(tool) : validSolid(tool))) {
            error = "the extrusion gives no valid solid";
            return false;
        }
        return true;
    } catch (const Standard_Failure& e) {
        error = std::string("the extrusion failed: ") + e.GetMessageString();
        return false;
    } catch (const ModelError& e) { // the offset module cannot be opened
        error = e.what();
        return false;
    }
}

bool makeRevolutionTool(const TopoDS_Shape& profile, Vec3 point, Vec3 axis, double startAngle,
                        double angle, TopoDS_Shape& tool, std::string& error) {
    const double full = 2.0 * std::numbers::pi;
    if (!std::isfinite(angle) || !std::isfinite(startAngle) || angle <= 1e-9) {
        error = "the revolution angle is zero";
        return false;
    }
    if (angle > full + 1e-12) {
        error = "the revolution angle exceeds 360 degrees";
        return false;
    }
    try {
        const gp_Ax1 ax(toPnt(point), toDir(normalized(axis)));
        TopoDS_Shape base = profile;
        if (std::abs(startAngle) > 1e-15) {
            gp_Trsf r;
            r.SetRotation(ax, startAngle);
            base = BRepBuilderAPI_Transform(profile, r, true).Shape();
        }
        BRepPrimAPI_MakeRevol revol = angle >= full - 1e-12
                                          ? BRepPrimAPI_MakeRevol(base, ax, true)
                                          : BRepPrimAPI_MakeRevol(base, ax, angle, true);
        if (!revol.IsDone()) {
            error = "the revolution failed";
            return false;
        }
        tool = revol.Shape();
        if (!validSolid(tool)) {
            error = "the revolution gives no valid solid (does the profile cross the axis?)";
            return false;
        }
        return true;
    } catch (const Standard_Failure& e) {
        error = std::string("the revolution failed: ") + e.GetMessageString();
        return false;
    }
}

bool makeHoleTool(const HoleSpec& request, TopoDS_Shape& tool, std::string& error) {
    const Vec3 dir = normalized(request.direction);
    if (!(norm(dir) >= 0.5)) {
        error = "the hole direction is the zero vector or not finite";
        return false;
    }
    if (!inModelSpace(request.point)) {
        error = "the hole's start point lies outside the model space";
        return false;
    }
    if (!inModelSpace(request.countersinkDiameter)) {
        error = "the countersink diameter lies outside the model space";
        return false;
    }
    if (request.sections.empty()) {
        error = "the hole has no sections";
        return false;
    }
    // The sections first: the countersink is measured against the first one's diameter.
    for (size_t i = 0; i < request.sections.size(); ++i) {
        const HoleSection& s = request.sections[i];
        if (!(s.startDiameter > 0.0) || !(s.endDiameter > 0.0) || !(s.depth > 0.0) ||
            !inModelSpace(s.startDiameter) || !inModelSpace(s.endDiameter) ||
            !inModelSpace(s.depth)) {
            error = "hole section " + std::to_string(i + 1) +
                    " needs positive diameters and depth within the model space";
            return false;
        }
    }
    // Half section in (r, z): z runs from the start point into the material.
    struct RZ {
        double r, z;
    };
    std::vector<RZ> pts;
    pts.push_back({0.0, 0.0});
    const double r0 = request.sections.front().startDiameter / 2.0;
    double z = 0.0;
    if (request.countersinkDiameter / 2.0 > r0 + 1e-12) {
        if (!(request.countersinkAngle > 0.0 && request.countersinkAngle < std::numbers::pi)) {
            error = "the countersink angle must lie in (0, 180) degrees";
            return false;
        }
        const double csR = request.countersinkDiameter / 2.0;
        const double csDepth = (csR - r0) / std::tan(request.countersinkAngle / 2.0);
        if (csDepth >= request.sections.front().depth) {
            error = "the countersink is deeper than the hole's first section";
            return false;
        }
        pts.push_back({csR, 0.0});
        pts.push_back({r0, csDepth});
    } else {
        pts.push_back({r0, 0.0});
    }
    double lastR = r0;
    for (size_t i = 0; i < request.sections.size(); ++i) {
        const HoleSection& s = request.sections[i];
        const double rs = s.startDiameter / 2.0;
        if (std::abs(rs - lastR) > 1e-12)
            pts.push_back({rs, z});
        z += s.depth;
        lastR = s.endDiameter / 2.0;
        pts.push_back({lastR, z});
    }
    if (request.tipAngle > 0.0) {
        if (request.tipAngle >= std::numbers::pi) {
            error = "the tip angle must lie in (0, 180) degrees";
            return false;
        }
        pts.push_back({0.0, z + lastR / std::tan(request.tipAngle / 2.0)});
    } else {
        pts.push_back({0.0, z});
    }
    // Drop points that repeat their predecessor.
    std::vector<RZ> clean;
    for (const RZ& p : pts)
        if (clean.empty() || std::abs(clean.back().r - p.r) > 1e-12 ||
            std::abs(clean.back().z - p.z) > 1e-12)
            clean.push_back(p);
    try {
        // A radial direction perpendicular to the hole's axis.
        const Vec3 helper = std::abs(dir.x) < 0.9 ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
        const Vec3 radial = normalized(cross(cross(dir, helper), dir));
        const gp_Ax2 frame(toPnt(request.point), toDir(dir), toDir(radial));
        const bool rectangle = clean.size() == 4 && clean[1].z == 0.0 && clean[1].r == clean[2].r &&
                               clean[3].r == 0.0 && clean[3].z == clean[2].z;
        if (rectangle && clean[1].r >= 1e-4 && clean[2].z >= 1e-4) {
            // A plain cylinder (the most common hole by far): the same solid as the turned
            // rectangle, seam on the radial direction too, made directly at a fraction of
            // the cost of the sweep.
            tool = BRepPrimAPI_MakeCylinder(frame, clean[1].r, clean[2].z).Shape();
            return true;
        }
        BRepBuilderAPI_MakePolygon poly;
        for (const RZ& p : clean)
            poly.Add(toPnt(request.point + radial * p.r + dir * p.z));
        poly.Close();
        if (!poly.IsDone()) {
            error = "the hole's section is degenerate";
            return false;
        }
        // The section lies in the plane of the axis and the radial direction: naming that
        // plane spares the search for it. In that plane (x radial, y along the axis) the
        // polygon runs counter-clockwise, out along the top, down the side and back up the
        // axis, so the face is finite as it is. A full turn makes no faces from it, only
        // from its edges.
        const gp_Pln plane(gp_Ax3(toPnt(request.point), toDir(cross(radial, dir)), toDir(radial)));
        BRepBuilderAPI_MakeFace face(plane, poly.Wire(), false);
        if (!face.IsDone()) {
            error = "the hole's section is not planar";
            return false;
        }
        // The face is made here for this sweep alone: no copy of it is needed.
        BRepPrimAPI_MakeRevol revol(face.Face(), gp_Ax1(toPnt(request.point), toDir(dir)), false);
        tool = revol.Shape();
        // A section whose corners and edges lie well apart revolves into a valid solid (z never
        // falls along it, and only its two ends touch the axis), so the full check, which costs
        // more than the revolution, is kept for sections near the modelling tolerance.
        std::vector<std::array<double, 2>> corners;
        for (const RZ& p : clean)
            corners.push_back({p.r, p.z});
        const bool checked = sectionWellApart(corners, 1e-4) ? hasSolid(tool) : validSolid(tool);
        if (!checked) {
            error = "the hole gives no valid solid";
            return false;
        }
        return true;
    } catch (const Standard_Failure& e) {
        error = std::string("the hole failed: ") + e.GetMessageString();
        return false;
    }
}

} // namespace swsim::detail
