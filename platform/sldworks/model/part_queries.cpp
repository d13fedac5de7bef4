// Topology queries, entity names and colours, and selection of a PartDocument.
#include "platform/sldworks/model/part_document.h"

#include "platform/sldworks/model/part_impl.h"

#include <BRep_Tool.hxx>
#include <IntCurvesFace_ShapeIntersector.hxx>
#include <Precision.hxx>
#include <Standard_Failure.hxx>
#include <TopoDS.hxx>
#include <gp_Lin.hxx>

#include <algorithm>
#include <cmath>

namespace swsim {

namespace {

bool finite(Vec3 v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

} // namespace

std::vector<BodyPtr> PartDocument::bodies(BodyKind kind) const {
    flush();
    std::vector<BodyPtr> out;
    for (const auto& b : impl_->bodies)
        if (b->kind() == kind)
            out.push_back(b);
    return out;
}

std::vector<BodyPtr> PartDocument::bodies() const {
    return impl_->bodies;
}

std::vector<FacePtr> PartDocument::facesOfFeature(const Feature& feature) const {
    flush();
    std::vector<FacePtr> out;
    for (const auto& b : impl_->bodies) {
        for (const auto& f : b->faces()) {
            TopLoc_Location loc;
            const Handle(Geom_Surface) s = BRep_Tool::Surface(TopoDS::Face(f->shape().shape), loc);
            auto it = impl_->surfaceOwner.find(s.get());
            if (it != impl_->surfaceOwner.end() && it->second.second == &feature)
                out.push_back(f);
        }
    }
    return out;
}

FeaturePtr PartDocument::featureOfFace(const Face& face) const {
    TopLoc_Location loc;
    const Handle(Geom_Surface) s = BRep_Tool::Surface(TopoDS::Face(face.shape().shape), loc);
    const auto it = impl_->surfaceOwner.find(s.get());
    if (it == impl_->surfaceOwner.end())
        return nullptr;
    for (const auto& f : features_)
        if (f.get() == it->second.second)
            return f;
    return nullptr;
}

std::optional<RayHit> castRay(const std::vector<BodyPtr>& bodies, Vec3 start, Vec3 direction,
                              double radius, std::optional<BodyKind> kind) {
    const Vec3 dir = normalized(direction);
    // A ray from outside the model space would take OpenCASCADE's intersector beyond its
    // tolerance: it hits nothing.
    if (!finite(direction) || !inModelSpace(start) || !(norm(dir) > 0.5) || !inModelSpace(radius) ||
        radius < 0.0)
        return std::nullopt;
    std::optional<RayHit> best;
    const gp_Lin line(detail::toPnt(start), detail::toDir(dir));
    for (const auto& b : bodies) {
        if (kind && b->kind() != *kind)
            continue;
        // A face of a later body hit at the same place lies on top (a surface copied from a
        // face, a body made after another): it is the one picked.
        const double tie = best ? best->distance - 1e-9 : 0.0;
        bool laterBody = best.has_value();
        try {
            auto& hits = b->topology_->rays;
            if (!hits) {
                hits = std::make_shared<IntCurvesFace_ShapeIntersector>();
                hits->Load(b->shape().shape, Precision::Confusion());
            }
            hits->Perform(line, -radius - Precision::Confusion(), Precision::Infinite());
            if (!hits->IsDone())
                continue;
            for (int i = 1; i <= hits->NbPnt(); ++i) {
                const double w = hits->WParameter(i);
                if (best && w >= (laterBody ? tie + 2e-9 : best->distance))
                    continue;
                laterBody = false;
                const int fi = b->topology_->faceMap.FindIndex(hits->Face(i));
                if (fi <= 0)
                    continue;
                best = RayHit{b->faces()[static_cast<size_t>(fi - 1)], detail::toVec3(hits->Pnt(i)),
                              w};
            }
        } catch (const Standard_Failure&) {
            continue;
        }
    }
    return best;
}

std::optional<RayHit> PartDocument::castRay(Vec3 start, Vec3 direction, double radius,
                                            std::optional<BodyKind> kind) const {
    const std::optional<RayHit> best =
        swsim::castRay(impl_->bodies, start, direction, radius, kind);
    // Cuts not yet applied only remove material: a hit whose way stays clear of them holds.
    if (best && !impl_->pending.empty() &&
        impl_->pendingNear(start - normalized(direction) * (radius + 1e-6), best->point)) {
        flush();
        return castRay(start, direction, radius, kind);
    }
    return best;
}

FacePtr PartDocument::findFaceAt(Vec3 point, Vec3 normal, double tolerance) const {
    if (!inModelSpace(point) || !finite(normal) || !inModelSpace(tolerance))
        return nullptr;
    flush();
    const Vec3 n = normalized(normal);
    const bool anyNormal = norm(n) < 0.5;
    for (const auto& b : impl_->bodies) {
        for (const auto& f : b->faces()) {
            const Box box = f->box();
            if (box.empty || point.x < box.min.x - tolerance || point.x > box.max.x + tolerance ||
                point.y < box.min.y - tolerance || point.y > box.max.y + tolerance ||
                point.z < box.min.z - tolerance || point.z > box.max.z + tolerance)
                continue;
            if (!f->contains(point, tolerance))
                continue;
            if (anyNormal || dot(f->normalAt(point), n) > 1.0 - 1e-6)
                return f;
        }
    }
    return nullptr;
}

EdgePtr PartDocument::findEdgeAt(Vec3 point, double tolerance) const {
    if (!inModelSpace(point) || !inModelSpace(tolerance))
        return nullptr;
    flush();
    for (const auto& b : impl_->bodies)
        for (const auto& e : b->edges())
            if (const std::optional<Vec3> c = e->closestPoint(point);
                c && distance(*c, point) <= tolerance)
                return e;
    return nullptr;
}

Box PartDocument::box() const {
    flush();
    Box out;
    for (const auto& b : impl_->bodies) {
        const Box bb = bodyHidden(*b) ? Box{} : b->box();
        if (bb.empty)
            continue;
        if (out.empty) {
            out = bb;
            continue;
        }
        out.min = {std::min(out.min.x, bb.min.x), std::min(out.min.y, bb.min.y),
                   std::min(out.min.z, bb.min.z)};
        out.max = {std::max(out.max.x, bb.max.x), std::max(out.max.y, bb.max.y),
                   std::max(out.max.z, bb.max.z)};
    }
    return out;
}

MassProperties PartDocument::massProperties() const {
    flush();
    MassProperties out;
    Vec3 moment{};
    for (const auto& b : impl_->bodies) {
        if (b->kind() != BodyKind::Solid || bodyHidden(*b))
            continue;
        const MassProperties m = b->massProperties();
        out.volume += m.volume;
        out.area += m.area;
        moment = moment + m.centreOfMass * m.volume;
    }
    if (out.volume > 0.0)
        out.centreOfMass = moment * (1.0 / out.volume);
    return out;
}

void PartDocument::setBodyHidden(const Body& body, bool hidden) {
    if (body.name().empty())
        return;
    const bool changed =
        hidden ? hiddenBodies_.insert(body.name()).second : hiddenBodies_.erase(body.name()) > 0;
    modified_ = modified_ || changed;
}

std::vector<BodyPtr> PartDocument::shownBodies() const {
    flush();
    std::vector<BodyPtr> out;
    for (const auto& b : impl_->bodies)
        if (!bodyHidden(*b))
            out.push_back(b);
    return out;
}

bool PartDocument::bodyHidden(const Body& body) const {
    return !hiddenBodies_.empty() && hiddenBodies_.count(body.name()) > 0;
}

// ---- entity names and colours ---------------------------------------------------------

bool PartDocument::setEntityName(const ObjectPtr& entity, const std::string& name) {
    flush();
    if (!entity || name.empty() || !impl_->inPart(*entity))
        return false;
    auto face = objectAs<Face>(entity);
    auto edge = objectAs<Edge>(entity);
    std::string& slot = face ? face->name_ : edge->name_;
    if (!slot.empty())
        return false;
    // A name that a suppressed feature's face carries comes back with it.
    if (findEntityByName(name) || impl_->nameAside(name))
        return false;
    slot = name;
    impl_->entityNames[name] = entity;
    modified_ = true;
    return true;
}

std::string PartDocument::entityName(const ObjectPtr& entity) const {
    if (auto f = objectAs<Face>(entity))
        return f->name();
    if (auto e = objectAs<Edge>(entity))
        return e->name();
    return {};
}

ObjectPtr PartDocument::findEntityByName(const std::string& name) const {
    flush();
    auto it = impl_->entityNames.find(name);
    if (it == impl_->entityNames.end())
        return nullptr;
    auto object = it->second.lock();
    if (!object || !impl_->inPart(*object) || entityName(object) != name)
        return nullptr;
    return object;
}

bool PartDocument::setFaceColour(const FacePtr& face, std::optional<Rgb> colour) {
    flush();
    if (!face || !impl_->inPart(*face))
        return false;
    face->colour_ = colour;
    modified_ = true;
    return true;
}

// ---- selection ------------------------------------------------------------------------

bool PartDocument::select(const ObjectPtr& object, bool append, int mark,
                          std::optional<Vec3> pickPoint) {
    if (!object)
        return false;
    if (auto f = objectAs<Feature>(object); f && featureIndex(*f) < 0)
        return false;
    if ((objectAs<Face>(object) || objectAs<Edge>(object)) && !impl_->inPart(*object))
        return false;
    selection_.add({object, mark, pickPoint}, append);
    return true;
}

bool PartDocument::selectByName(const std::string& name, const std::string& type, Vec3 point,
                                bool append, int mark) {
    ObjectPtr found;
    if (type == "PLANE") {
        found = std::dynamic_pointer_cast<RefPlane>(findFeature(name));
    } else if (type == "AXIS") {
        found = std::dynamic_pointer_cast<RefAxis>(findFeature(name));
    } else if (type == "SKETCH") {
        found = std::dynamic_pointer_cast<Sketch>(findFeature(name));
    } else if (type == "BODYFEATURE") {
        found = findFeature(name);
    } else if (type == "FACE") {
        found = objectAs<Face>(findEntityByName(name));
    } else if (type == "EDGE") {
        found = objectAs<Edge>(findEntityByName(name));
    } else if (type == "EXTSKETCHPOINT" || type == "EXTSKETCHSEGMENT" || type == "SKETCHPOINT" ||
               type == "SKETCHSEGMENT") {
        const auto at = name.rfind('@');
        if (at != std::string::npos) {
            auto sketch = std::dynamic_pointer_cast<Sketch>(findFeature(name.substr(at + 1)));
            if (sketch) {
                ObjectPtr entity = sketch->findEntity(name.substr(0, at));
                const bool wantPoint = type.find("POINT") != std::string::npos;
                if (wantPoint ? objectAs<SketchPoint>(entity) != nullptr
                              : objectAs<SketchSegment>(entity) != nullptr)
                    found = entity;
            }
        }
    }
    if (!found) {
        lastError_ = "select: no " + type + " named \"" + name + "\"";
        return false;
    }
    return select(found, append, mark, point);
}

bool PartDocument::selectByRay(Vec3 start, Vec3 direction, double radius, bool append, int mark) {
    const auto hit = castRay(start, direction, radius);
    if (!hit)
        return false;
    return select(hit->face, append, mark, hit->point);
}

bool PartDocument::selectFaceAt(Vec3 point, Vec3 normal, double tolerance, bool append, int mark) {
    auto face = findFaceAt(point, normal, tolerance);
    if (!face)
        return false;
    return select(face, append, mark, point);
}

SketchPtr PartDocument::selectedSketch() const {
    for (const auto& e : selection_.entries()) {
        if (auto s = objectAs<Sketch>(e.object))
            return s;
        if (auto p = objectAs<SketchPoint>(e.object))
            return p->sketch();
        if (auto s = objectAs<SketchSegment>(e.object))
            return s->sketch();
    }
    return nullptr;
}

} // namespace swsim
