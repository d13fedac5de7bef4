// Bodies, faces and edges of a part, answered from the B-rep that the features computed.
// The document hands them out; the same face or edge gives the same object as long as its
// geometry has not changed (also across later features that leave it alone, and across a
// rebuild that gives the same geometry, so that entity names and colours stay with it).
// An object that fell out of the part (its face was cut away, its feature suppressed) stays
// usable: it keeps answering from its own geometry, but no longer belongs to any body. One that
// carries a name or colour, or that a mate reference or cosmetic thread holds, is the object a
// later body's face or edge of its geometry becomes again (its feature unsuppressed).
#pragma once

#include "platform/sldworks/model/object.h"
#include "platform/sldworks/model/types.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace swsim {

namespace detail {
struct ShapeRef; // holds the OpenCASCADE shape; defined in the implementation only
struct BodyTopology;
} // namespace detail

class Body;
class Face;
class Edge;
class Feature;

using BodyPtr = std::shared_ptr<Body>;
using FacePtr = std::shared_ptr<Face>;
using EdgePtr = std::shared_ptr<Edge>;

// A copy of `source` moved by `placement` (a point p of the source goes to
// placement.toModel(p)): how an assembly sees a component's body. Faces and edges come in
// the source's order with their names and colours. Null when the placement is not a rigid
// right-handed one (axes of unit length, at right angles, within 1e-9).
BodyPtr placedCopy(const Body& source, const Frame& placement);

struct RayHit {
    FacePtr face;
    Vec3 point{};
    double distance = 0.0; // along the ray from its start; may be negative down to -radius
};

// The first face of `bodies` hit by the ray from `start` along `direction`: hits from
// -radius on count (so a start point on a face finds it); at the same place a later body's
// face lies on top. Restricted to one body kind if given.
std::optional<RayHit> castRay(const std::vector<BodyPtr>& bodies, Vec3 start, Vec3 direction,
                              double radius, std::optional<BodyKind> kind = std::nullopt);

class Face final : public Object {
public:
    explicit Face(std::shared_ptr<detail::ShapeRef> shape);
    ObjectKind objectKind() const override { return ObjectKind::Face; }

    // The body the face belongs to now; null once the face has left the part.
    BodyPtr body() const { return body_.lock(); }
    // Index of the face in its body's stable face order.
    int index() const { return index_; }

    SurfaceInfo surface() const;
    // Normal of the face at its parametric middle, pointing out of the material (the surface
    // normal reversed for a reversed face). For a planar face this is the plane's outward
    // normal everywhere.
    Vec3 normal() const;
    // Outward normal at the point of the face nearest to `p`.
    Vec3 normalAt(Vec3 p) const;
    // The point of the face (inside its boundaries) nearest to `p`. Planes, cylinders and
    // cones are projected analytically, so a point on the face comes back within 1e-12.
    // None for a point beyond the model space (it lies on no face; OpenCASCADE does not
    // resolve it) and when the distance cannot be computed (here and below).
    std::optional<Vec3> closestPoint(Vec3 p) const;
    // The point of the face's unbounded underlying surface nearest to `p`.
    std::optional<Vec3> closestPointOnSurface(Vec3 p) const;
    // True when `p` lies on the face (inside its boundaries) within `tolerance`.
    bool contains(Vec3 p, double tolerance = 1e-6) const;
    // The face's edges, in the order of its wires (outer wire first).
    std::vector<EdgePtr> edges() const;
    double area() const;
    Box box() const;
    bool reversed() const;

    // Entity name (set through PartDocument::setEntityName); empty when none.
    const std::string& name() const { return name_; }
    // Face colour (set through PartDocument::setFaceColour); empty when none.
    const std::optional<Rgb>& colour() const { return colour_; }

    const detail::ShapeRef& shape() const { return *shape_; }

private:
    friend class PartDocument;
    friend struct detail::BodyTopology;
    friend BodyPtr placedCopy(const Body& source, const Frame& placement);
    friend std::optional<RayHit> castRay(const std::vector<BodyPtr>& bodies, Vec3 start,
                                         Vec3 direction, double radius,
                                         std::optional<BodyKind> kind);
    std::shared_ptr<detail::ShapeRef> shape_;
    std::weak_ptr<Body> body_;
    int index_ = -1;
    std::string name_;
    std::optional<Rgb> colour_;
    mutable std::optional<Box> boxCache_;
};

class Edge final : public Object {
public:
    explicit Edge(std::shared_ptr<detail::ShapeRef> shape);
    ObjectKind objectKind() const override { return ObjectKind::Edge; }

    BodyPtr body() const { return body_.lock(); }
    int index() const { return index_; }

    CurveInfo curve() const;
    // The point of the edge nearest to `p`, clamped to the edge's ends. Lines and circles
    // are projected analytically. None as for faces.
    std::optional<Vec3> closestPoint(Vec3 p) const;
    // The faces of the body that share this edge (two for a manifold edge), in the body's
    // face order. Empty once the edge has left the part.
    std::vector<FacePtr> faces() const;

    const std::string& name() const { return name_; }
    const detail::ShapeRef& shape() const { return *shape_; }

private:
    friend class PartDocument;
    friend struct detail::BodyTopology;
    friend BodyPtr placedCopy(const Body& source, const Frame& placement);
    friend std::optional<RayHit> castRay(const std::vector<BodyPtr>& bodies, Vec3 start,
                                         Vec3 direction, double radius,
                                         std::optional<BodyKind> kind);
    std::shared_ptr<detail::ShapeRef> shape_;
    std::weak_ptr<Body> body_;
    int index_ = -1;
    std::string name_;
};

class Body final : public Object {
public:
    Body(std::shared_ptr<detail::ShapeRef> shape, BodyKind kind);
    ~Body() override;
    ObjectKind objectKind() const override { return ObjectKind::Body; }

    BodyKind kind() const { return kind_; }
    // Faces and edges in a stable order (the order of the B-rep walk).
    const std::vector<FacePtr>& faces() const { return faces_; }
    const std::vector<EdgePtr>& edges() const { return edges_; }
    // The faces sharing `edge` in this body (empty when the edge is not in it).
    std::vector<FacePtr> facesOfEdge(const Edge& edge) const;
    // The edges of `face` as objects of this body.
    std::vector<EdgePtr> edgesOfFace(const Face& face) const;

    MassProperties massProperties() const;
    Box box() const;
    // Name of the feature that made the body (the first feature that created its material).
    const std::string& name() const { return name_; }

    const detail::ShapeRef& shape() const { return *shape_; }

private:
    friend class PartDocument;
    friend struct detail::BodyTopology;
    friend BodyPtr placedCopy(const Body& source, const Frame& placement);
    friend std::optional<RayHit> castRay(const std::vector<BodyPtr>& bodies, Vec3 start,
                                         Vec3 direction, double radius,
                                         std::optional<BodyKind> kind);
    std::shared_ptr<detail::ShapeRef> shape_;
    BodyKind kind_;
    std::string name_;
    std::vector<FacePtr> faces_;
    std::vector<EdgePtr> edges_;
    std::unique_ptr<detail::BodyTopology> topology_; // edge-to-face maps
    mutable std::optional<Box> boxCache_;
};

} // namespace swsim
