#include "platform/sldworks/model/topology.h"

#include "platform/sldworks/model/occt_shape.h"

#include <BRepAdaptor_Curve.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepClass_FaceClassifier.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRepGProp.hxx>
#include <BRepTools.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <ElCLib.hxx>
#include <ElSLib.hxx>
#include <GCPnts_AbscissaPoint.hxx>
#include <GProp_GProps.hxx>
#include <GeomAPI_ProjectPointOnCurve.hxx>
#include <GeomAPI_ProjectPointOnSurf.hxx>
#include <Geom_Curve.hxx>
#include <Geom_Surface.hxx>
#include <Precision.hxx>
#include <Standard_Failure.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopLoc_Location.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Pnt2d.hxx>
#include <gp_Trsf.hxx>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace swsim {

using detail::toPnt;
using detail::toVec3;

namespace {

const TopoDS_Face& faceOf(const detail::ShapeRef& ref) {
    return TopoDS::Face(ref.shape);
}
const TopoDS_Edge& edgeOf(const detail::ShapeRef& ref) {
    return TopoDS::Edge(ref.shape);
}

// The point of the unbounded surface nearest to p, with its surface parameters.
bool projectOnSurface(const TopoDS_Face& face, const gp_Pnt& p, gp_Pnt& q, double& u, double& v) {
    BRepAdaptor_Surface s(face, false);
    switch (s.GetType()) {
    case GeomAbs_Plane: {
        const gp_Pln pln = s.Plane();
        ElSLib::Parameters(pln, p, u, v);
        q = ElSLib::Value(u, v, pln);
        return true;
    }
    case GeomAbs_Cylinder: {
        const gp_Cylinder cyl = s.Cylinder();
        ElSLib::Parameters(cyl, p, u, v);
        q = ElSLib::Value(u, v, cyl);
        return true;
    }
    case GeomAbs_Cone: {
        // In the half-plane through the axis and p, the cone is the line
        // (R + v sin a, v cos a); p is projected onto that line.
        const gp_Cone cone = s.Cone();
        const gp_Ax3& ax = cone.Position();
        const gp_Vec op(ax.Location(), p);
        const double along = op.Dot(gp_Vec(ax.Direction()));
        gp_Vec radial = op - gp_Vec(ax.Direction()) * along;
        gp_Dir e = ax.XDirection();
        if (radial.Magnitude() > 1e-300)
            e = gp_Dir(radial);
        const double rho = radial.Magnitude();
        const double a = cone.SemiAngle();
        const double vv = (rho - cone.RefRadius()) * std::sin(a) + along * std::cos(a);
        q = ax.Location().Translated(gp_Vec(e) * (cone.RefRadius() + vv * std::sin(a)) +
                                     gp_Vec(ax.Direction()) * (vv * std::cos(a)));
        ElSLib::Parameters(cone, q, u, v);
        return true;
    }
    case GeomAbs_Sphere: {
        const gp_Sphere sph = s.Sphere();
        ElSLib::Parameters(sph, p, u, v);
        q = ElSLib::Value(u, v, sph);
        return true;
    }
    default:
        break;
    }
    TopLoc_Location loc;
    Handle(Geom_Surface) surf = BRep_Tool::Surface(face, loc);
    if (surf.IsNull())
        return false;
    Handle(Geom_Surface) placed =
        Handle(Geom_Surface)::DownCast(surf->Transformed(loc.Transformation()));
    GeomAPI_ProjectPointOnSurf proj(p, placed, 1e-10);
    if (proj.NbPoints() == 0)
        return false;
    q = proj.NearestPoint();
    proj.LowerDistanceParameters(u, v);
    return true;
}

bool insideFace(const TopoDS_Face& face, double u, double v) {
    BRepClass_FaceClassifier classifier(face, gp_Pnt2d(u, v), Precision::Confusion());
    const TopAbs_State state = classifier.State();
    return state == TopAbs_IN || state == TopAbs_ON;
}

// None when OpenCASCADE's distance computation fails: the query point is no answer.
std::optional<Vec3> nearestByExtrema(const TopoDS_Shape& shape, const gp_Pnt& p) {
    try {
        BRepExtrema_DistShapeShape dist(BRepBuilderAPI_MakeVertex(p).Vertex(), shape);
        if (!dist.IsDone() || dist.NbSolution() == 0)
            return std::nullopt;
        return toVec3(dist.PointOnShape2(1));
    } catch (const Standard_Failure&) {
        return std::nullopt;
    }
}

Vec3 surfaceNormal(const TopoDS_Face& face, double u, double v) {
    BRepAdaptor_Surface s(face, false);
    gp_Pnt p;
    gp_Vec du, dv;
    s.D1(u, v, p, du, dv);
    gp_Vec n = du.Crossed(dv);
    if (n.Magnitude() < 1e-14)
        return {};
    n.Normalize();
    if (face.Orientation() == TopAbs_REVERSED)
        n.Reverse();
    return toVec3(n);
}

Box boxOf(const TopoDS_Shape& shape) {
    Bnd_Box b;
    try {
        BRepBndLib::AddOptimal(shape, b, false, false);
    } catch (const Standard_Failure&) {
        BRepBndLib::Add(shape, b);
    }
    Box out;
    if (b.IsVoid())
        return out;
    double x0, y0, z0, x1, y1, z1;
    b.Get(x0, y0, z0, x1, y1, z1);
    out.min = {x0, y0, z0};
    out.max = {x1, y1, z1};
    out.empty = false;
    return out;
}

} // namespace

// ---- Face -----------------------------------------------------------------------------

Face::Face(std::shared_ptr<detail::ShapeRef> shape) : shape_(std::move(shape)) {}

SurfaceInfo Face::surface() const {
    SurfaceInfo info;
    BRepAdaptor_Surface s(faceOf(*shape_), false);
    switch (s.GetType()) {
    case GeomAbs_Plane: {
        const gp_Pln pln = s.Plane();
        info.kind = SurfaceKind::Plane;
        info.point = toVec3(pln.Location());
        info.axis = toVec3(pln.Axis().Direction());
        break;
    }
    case GeomAbs_Cylinder: {
        const gp_Cylinder c = s.Cylinder();
        info.kind = SurfaceKind::Cylinder;
        info.point = toVec3(c.Location());
        info.axis = toVec3(c.Axis().Direction());
        info.radius = c.Radius();
        break;
    }
    case GeomAbs_Cone: {
        const gp_Cone c = s.Cone();
        info.kind = SurfaceKind::Cone;
        info.point = toVec3(c.Location());
        info.axis = toVec3(c.Axis().Direction());
        info.radius = c.RefRadius();
        info.semiAngle = c.SemiAngle();
        if (info.semiAngle < 0.0) { // the same cone, widening along the reversed axis
            info.semiAngle = -info.semiAngle;
            info.axis = -info.axis;
        }
        break;
    }
    case GeomAbs_Sphere: {
        const gp_Sphere c = s.Sphere();
        info.kind = SurfaceKind::Sphere;
        info.point = toVec3(c.Location());
        info.axis = toVec3(c.Position().Direction());
        info.radius = c.Radius();
        break;
    }
    case GeomAbs_Torus: {
        const gp_Torus t = s.Torus();
        info.kind = SurfaceKind::Torus;
        info.point = toVec3(t.Location());
        info.axis = toVec3(t.Axis().Direction());
        info.radius = t.MajorRadius();
        info.minorRadius = t.MinorRadius();
        break;
    }
    case GeomAbs_SurfaceOfRevolution: {
        const gp_Ax1 ax = s.AxeOfRevolution();
        info.kind = SurfaceKind::Revolved;
        info.point = toVec3(ax.Location());
        info.axis = toVec3(ax.Direction());
        break;
    }
    case GeomAbs_SurfaceOfExtrusion:
        info.kind = SurfaceKind::Swept;
        info.axis = toVec3(s.Direction());
        break;
    case GeomAbs_OffsetSurface:
        info.kind = SurfaceKind::Offset;
        break;
    case GeomAbs_BSplineSurface:
    case GeomAbs_BezierSurface:
        info.kind = SurfaceKind::Blend;
        break;
    default:
        info.kind = SurfaceKind::Other;
        break;
    }
    return info;
}

Vec3 Face::normal() const {
    const TopoDS_Face& f = faceOf(*shape_);
    double u0, u1, v0, v1;
    BRepTools::UVBounds(f, u0, u1, v0, v1);
    return surfaceNormal(f, 0.5 * (u0 + u1), 0.5 * (v0 + v1));
}

Vec3 Face::normalAt(Vec3 p) const {
    if (!inModelSpace(p))
        return normal();
    const TopoDS_Face& f = faceOf(*shape_);
    // A plane's derivatives, and so its normal, are the same at every parameter: the nearest
    // point of the face, which classifies against the face's boundary, would change nothing.
    if (BRepAdaptor_Surface(f, false).GetType() == GeomAbs_Plane)
        return surfaceNormal(f, 0.0, 0.0);
    gp_Pnt q;
    double u = 0, v = 0;
    const std::optional<Vec3> c = closestPoint(p);
    if (!c || !projectOnSurface(f, toPnt(*c), q, u, v))
        return normal();
    return surfaceNormal(f, u, v);
}

std::optional<Vec3> Face::closestPointOnSurface(Vec3 p) const {
    if (!inModelSpace(p))
        return std::nullopt;
    gp_Pnt q;
    double u = 0, v = 0;
    try {
        if (projectOnSurface(faceOf(*shape_), toPnt(p), q, u, v))
            return toVec3(q);
    } catch (const Standard_Failure&) {
    }
    return nearestByExtrema(shape_->shape, toPnt(p));
}

std::optional<Vec3> Face::closestPoint(Vec3 p) const {
    if (!inModelSpace(p))
        return std::nullopt;
    const TopoDS_Face& f = faceOf(*shape_);
    gp_Pnt q;
    double u = 0, v = 0;
    try {
        if (projectOnSurface(f, toPnt(p), q, u, v) && insideFace(f, u, v))
            return toVec3(q);
    } catch (const Standard_Failure&) {
    }
    return nearestByExtrema(f, toPnt(p));
}

bool Face::contains(Vec3 p, double tolerance) const {
    const std::optional<Vec3> c = closestPoint(p);
    return c && distance(*c, p) <= tolerance;
}

std::vector<EdgePtr> Face::edges() const {
    if (auto b = body())
        return b->edgesOfFace(*this);
    std::vector<EdgePtr> out;
    TopTools_IndexedMapOfShape seen;
    TopTools_ListOfShape self;
    self.Append(shape_->shape);
    for (TopExp_Explorer ex(shape_->shape, TopAbs_EDGE); ex.More(); ex.Next()) {
        if (seen.Contains(ex.Current()) || detail::isSeamOrDegenerate(ex.Current(), self))
            continue;
        seen.Add(ex.Current());
        out.push_back(std::make_shared<Edge>(detail::makeRef(ex.Current())));
    }
    return out;
}

double Face::area() const {
    GProp_GProps props;
    BRepGProp::SurfaceProperties(shape_->shape, props);
    return props.Mass();
}

Box Face::box() const {
    if (!boxCache_)
        boxCache_ = boxOf(shape_->shape);
    return *boxCache_;
}

bool Face::reversed() const {
    return shape_->shape.Orientation() == TopAbs_REVERSED;
}

bool detail::isSeamOrDegenerate(const TopoDS_Shape& edge, const TopTools_ListOfShape& faces) {
    const TopoDS_Edge& e = TopoDS::Edge(edge);
    if (BRep_Tool::Degenerated(e))
        return true;
    for (const TopoDS_Shape& f : faces)
        if (BRep_Tool::IsClosed(e, TopoDS::Face(f)))
            return true;
    return false;
}

// ---- Edge -----------------------------------------------------------------------------

Edge::Edge(std::shared_ptr<detail::ShapeRef> shape) : shape_(std::move(shape)) {}

CurveInfo Edge::curve() const {
    CurveInfo info;
    const TopoDS_Edge& e = edgeOf(*shape_);
    if (BRep_Tool::Degenerated(e))
        return info;
    BRepAdaptor_Curve c(e);
    const TopoDS_Vertex v0 = TopExp::FirstVertex(e, true);
    const TopoDS_Vertex v1 = TopExp::LastVertex(e, true);
    info.start = v0.IsNull() ? toVec3(c.Value(c.FirstParameter())) : toVec3(BRep_Tool::Pnt(v0));
    info.end = v1.IsNull() ? toVec3(c.Value(c.LastParameter())) : toVec3(BRep_Tool::Pnt(v1));
    info.closed = BRep_Tool::IsClosed(e) || distance(info.start, info.end) < 1e-9;
    try {
        info.length = GCPnts_AbscissaPoint::Length(c);
    } catch (const Standard_Failure&) {
        info.length = 0.0;
    }
    switch (c.GetType()) {
    case GeomAbs_Line:
        info.kind = CurveKind::Line;
        info.direction = normalized(info.end - info.start);
        break;
    case GeomAbs_Circle: {
        const gp_Circ circ = c.Circle();
        info.kind = CurveKind::Circle;
        info.centre = toVec3(circ.Location());
        info.axis = toVec3(circ.Axis().Direction());
        info.radius = circ.Radius();
        break;
    }
    case GeomAbs_Ellipse:
        info.kind = CurveKind::Ellipse;
        info.centre = toVec3(c.Ellipse().Location());
        info.axis = toVec3(c.Ellipse().Axis().Direction());
        break;
    case GeomAbs_BSplineCurve:
    case GeomAbs_BezierCurve:
        info.kind = CurveKind::BSpline;
        break;
    default:
        info.kind = CurveKind::Other;
        break;
    }
    return info;
}

std::optional<Vec3> Edge::closestPoint(Vec3 p) const {
    if (!inModelSpace(p))
        return std::nullopt;
    const TopoDS_Edge& e = edgeOf(*shape_);
    const gp_Pnt gp = toPnt(p);
    if (BRep_Tool::Degenerated(e))
        return nearestByExtrema(e, gp);
    BRepAdaptor_Curve c(e);
    const double first = c.FirstParameter();
    const double last = c.LastParameter();
    auto clampToEnds = [&](double t) -> gp_Pnt {
        if (t >= first && t <= last)
            return c.Value(t);
        const gp_Pnt a = c.Value(first);
        const gp_Pnt b = c.Value(last);
        return a.Distance(gp) <= b.Distance(gp) ? a : b;
    };
    switch (c.GetType()) {
    case GeomAbs_Line:
        return toVec3(clampToEnds(ElCLib::Parameter(c.Line(), gp)));
    case GeomAbs_Circle: {
        double t = ElCLib::Parameter(c.Circle(), gp); // in [0, 2 pi)
        const double period = 2.0 * std::numbers::pi;
        while (t < first)
            t += period;
        while (t - period >= first)
            t -= period;
        return toVec3(clampToEnds(t));
    }
    default:
        break;
    }
    try {
        double f = 0, l = 0;
        Handle(Geom_Curve) curve = BRep_Tool::Curve(e, f, l); // already located
        if (!curve.IsNull()) {
            GeomAPI_ProjectPointOnCurve proj(gp, curve, f, l);
            gp_Pnt best = c.Value(first);
            if (c.Value(last).Distance(gp) < best.Distance(gp))
                best = c.Value(last);
            if (proj.NbPoints() > 0 && proj.NearestPoint().Distance(gp) < best.Distance(gp))
                best = proj.NearestPoint();
            return toVec3(best);
        }
    } catch (const Standard_Failure&) {
    }
    return nearestByExtrema(e, gp);
}

std::vector<FacePtr> Edge::faces() const {
    if (auto b = body())
        return b->facesOfEdge(*this);
    return {};
}

// ---- Body -----------------------------------------------------------------------------

Body::Body(std::shared_ptr<detail::ShapeRef> shape, BodyKind kind)
    : shape_(std::move(shape)), kind_(kind) {}

Body::~Body() = default;

std::vector<FacePtr> Body::facesOfEdge(const Edge& edge) const {
    std::vector<FacePtr> out;
    if (!topology_)
        return out;
    const int i = topology_->edgeFaces.FindIndex(edge.shape().shape);
    if (i == 0)
        return out;
    std::vector<int> indices;
    for (const TopoDS_Shape& f : topology_->edgeFaces.FindFromIndex(i)) {
        const int fi = topology_->faceMap.FindIndex(f);
        if (fi > 0 && std::find(indices.begin(), indices.end(), fi) == indices.end())
            indices.push_back(fi);
    }
    std::sort(indices.begin(), indices.end());
    for (int fi : indices)
        out.push_back(faces_[static_cast<size_t>(fi - 1)]);
    return out;
}

std::vector<EdgePtr> Body::edgesOfFace(const Face& face) const {
    std::vector<EdgePtr> out;
    if (!topology_)
        return out;
    std::vector<int> seen;
    auto addWire = [&](const TopoDS_Shape& wire) {
        for (TopExp_Explorer ex(wire, TopAbs_EDGE); ex.More(); ex.Next()) {
            const int i = topology_->edgeMap.FindIndex(ex.Current());
            if (i == 0 || std::find(seen.begin(), seen.end(), i) != seen.end())
                continue;
            seen.push_back(i);
            out.push_back(edges_[static_cast<size_t>(i - 1)]);
        }
    };
    const TopoDS_Face& f = faceOf(face.shape());
    const TopoDS_Wire outer = BRepTools::OuterWire(f);
    if (!outer.IsNull())
        addWire(outer);
    for (TopExp_Explorer ex(f, TopAbs_WIRE); ex.More(); ex.Next())
        if (!ex.Current().IsSame(outer))
            addWire(ex.Current());
    return out;
}

MassProperties Body::massProperties() const {
    MassProperties m;
    GProp_GProps surface;
    BRepGProp::SurfaceProperties(shape_->shape, surface);
    m.area = surface.Mass();
    if (kind_ == BodyKind::Solid) {
        GProp_GProps volume;
        BRepGProp::VolumeProperties(shape_->shape, volume);
        m.volume = volume.Mass();
        m.centreOfMass = toVec3(volume.CentreOfMass());
    } else {
        m.centreOfMass = toVec3(surface.CentreOfMass());
    }
    return m;
}

Box Body::box() const {
    // A body's shape never changes (a changed part gets new bodies), and every pending cut
    // tests its tool against the boxes of the same bodies.
    if (!boxCache_)
        boxCache_ = boxOf(shape_->shape);
    return *boxCache_;
}

BodyPtr placedCopy(const Body& source, const Frame& placement) {
    if (!placement.isRigid())
        return nullptr;
    const Vec3 x = placement.xDir;
    const Vec3 y = placement.yDir;
    const Vec3 z = placement.zDir;
    gp_Trsf trsf;
    try {
        trsf.SetValues(x.x, y.x, z.x, placement.origin.x, x.y, y.y, z.y, placement.origin.y, x.z,
                       y.z, z.z, placement.origin.z);
    } catch (const Standard_Failure&) {
        return nullptr;
    }
    // Moving shares the geometry with the source: nothing is copied but the location.
    const TopoDS_Shape moved = source.shape().shape.Moved(TopLoc_Location(trsf));
    auto body = std::make_shared<Body>(detail::makeRef(moved), source.kind());
    body->name_ = source.name_;
    body->topology_ = std::make_unique<detail::BodyTopology>();
    auto& topo = *body->topology_;
    TopExp::MapShapes(moved, TopAbs_FACE, topo.faceMap);
    TopExp::MapShapes(moved, TopAbs_EDGE, topo.edgeMap);
    TopExp::MapShapesAndAncestors(moved, TopAbs_EDGE, TopAbs_FACE, topo.edgeFaces);
    for (int i = 1; i <= topo.faceMap.Extent(); ++i) {
        auto f = std::make_shared<Face>(detail::makeRef(topo.faceMap(i)));
        f->body_ = body;
        f->index_ = i - 1;
        if (static_cast<size_t>(i - 1) < source.faces_.size()) {
            f->name_ = source.faces_[static_cast<size_t>(i - 1)]->name_;
            f->colour_ = source.faces_[static_cast<size_t>(i - 1)]->colour_;
        }
        body->faces_.push_back(std::move(f));
    }
    for (int i = 1; i <= topo.edgeMap.Extent(); ++i) {
        auto e = std::make_shared<Edge>(detail::makeRef(topo.edgeMap(i)));
        e->body_ = body;
        e->index_ = i - 1;
        if (static_cast<size_t>(i - 1) < source.edges_.size())
            e->name_ = source.edges_[static_cast<size_t>(i - 1)]->name_;
        body->edges_.push_back(std::move(e));
    }
    return body;
}

} // namespace swsim
