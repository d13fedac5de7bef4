// Features of a part document: the template's items, reference planes and axes, sketches
// (sketch.h), solid features (extrusions, revolutions, lofts, holes, imported bodies) and cosmetic
// threads, with the parameter records that create them. A feature keeps its identity for the
// life of the document; its name, hidden and suppressed flags change through its methods.
#pragma once

#include "platform/sldworks/model/object.h"
#include "platform/sldworks/model/topology.h"
#include "platform/sldworks/model/types.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace swsim {

class PartDocument;

enum class FeatureKind {
    Item, // non-geometric items of the template: folders, origin, material
    RefPlane,
    RefAxis,
    Sketch,
    Sketch3D,
    Extrusion,  // boss or cut
    Revolution, // boss or cut
    Loft,       // boss or cut, ruled through closed profiles
    Hole,
    ImportedBody,
    CosmeticThread,
    SurfaceCopy,   // a sheet body copied from a face
    MateReference, // a named entity through which the part is mated
    Pattern,       // copies of another solid feature's tool
};

class Feature : public Object {
public:
    Feature(FeatureKind kind, std::string typeName);
    ObjectKind objectKind() const override { return ObjectKind::Feature; }

    FeatureKind kind() const { return kind_; }
    // SolidWorks type name: "RefPlane", "ProfileFeature", "Boss", "Cut", ...
    const std::string& typeName() const { return typeName_; }
    const std::string& name() const { return name_; }
    // Renames the feature. Refused (false, the name stays) when the name is empty or another
    // feature of the document already carries it.
    bool setName(const std::string& name);

    bool hidden() const { return hidden_; }
    void setHidden(bool hidden);
    bool suppressed() const { return suppressed_; }
    // Suppressing or unsuppressing a solid feature replays the part; suppressing takes what is
    // built on the feature along (PartDocument::setSuppression). Returns false when the
    // feature is not in a document.
    bool setSuppressed(bool suppressed);

    // The document the feature belongs to; null for a feature that was never added.
    std::shared_ptr<PartDocument> document() const { return document_.lock(); }

private:
    friend class PartDocument;
    friend class AssemblyDocument; // names its mate references
    FeatureKind kind_;
    std::string typeName_;
    std::string name_;
    bool hidden_ = false;
    bool suppressed_ = false;
    std::weak_ptr<PartDocument> document_;
};

using FeaturePtr = std::shared_ptr<Feature>;

// A reference plane: one of the template's three planes, a plane through three points or an
// offset plane. Its frame's zDir is the plane's normal.
class RefPlane final : public Feature {
public:
    explicit RefPlane(const Frame& frame)
        : Feature(FeatureKind::RefPlane, "RefPlane"), frame_(frame) {}
    const Frame& frame() const { return frame_; }
    Vec3 normal() const { return frame_.zDir; }
    // The plane-geometry array: elements 0-2 the origin (a point of the plane), 3-5 the
    // X direction, 6-8 the normal, 9-11 the Y direction.
    std::vector<double> geometryArray() const;

private:
    Frame frame_;
};

class RefAxis final : public Feature {
public:
    RefAxis(Vec3 point, Vec3 direction)
        : Feature(FeatureKind::RefAxis, "RefAxis"), point_(point),
          direction_(normalized(direction)) {}
    Vec3 point() const { return point_; }
    Vec3 direction() const { return direction_; }

private:
    Vec3 point_;
    Vec3 direction_;
};

using RefPlanePtr = std::shared_ptr<RefPlane>;
using RefAxisPtr = std::shared_ptr<RefAxis>;

// Extruded boss or cut of a closed sketch profile.
struct ExtrudeSpec {
    bool cut = false;
    // A boss goes along the sketch's +normal, a cut along -normal; `reverse` swaps that.
    bool reverse = false;
    // Both sides: depth1 along the direction and depth2 against it (each side drafted alike).
    bool bothSides = false;
    double depth1 = 0.0;
    double depth2 = 0.0;
    double draftAngle = 0.0;  // radians, >= 0; 0 means no draft
    bool draftInward = false; // the profile shrinks along the extrusion
    // Boss only: fuse with the existing solid bodies; false keeps the new solid separate.
    bool merge = true;
    // Type name of the new feature; empty gives "Boss" or "Cut" (the COM layer passes
    // "Extrusion" for a boss made through the document call).
    std::string typeName;
};

enum class RevolveType { OneDirection = 0, MidPlane = 1, TwoDirections = 2 };

// Revolved boss or cut of a closed sketch profile about the sketch's (first) centre line.
// The positive sense is the right-hand rotation about the centre line from its first to its
// second point; `reverse` turns it round. MidPlane spreads angle1 evenly over both sides;
// TwoDirections turns angle1 one way and angle2 the other. The total is limited to 2 pi.
struct RevolveSpec {
    bool cut = false;
    bool reverse = false;
    RevolveType type = RevolveType::OneDirection;
    double angle1 = 0.0; // radians
    double angle2 = 0.0;
    bool merge = true;
    std::string typeName; // empty gives "Revolution" or "RevCut"
};

// One section of a hole from the start outwards: a cylinder (startDiameter == endDiameter)
// or a tapered section.
struct HoleSection {
    double startDiameter = 0.0;
    double endDiameter = 0.0;
    double depth = 0.0;
};

// A hole as a revolved half-section: it starts at `point` and runs along `direction` (into
// the material) through its sections in order; an optional countersink cone sits at the
// start (outer diameter and included angle), an optional conical tip of the given included
// angle closes the last section (0 gives a flat bottom).
struct HoleSpec {
    Vec3 point{};
    Vec3 direction{0, 0, -1};
    std::vector<HoleSection> sections;
    double countersinkDiameter = 0.0;
    double countersinkAngle = 0.0; // radians, included angle
    double tipAngle = 0.0;         // radians, included angle
    std::string typeName;          // empty gives "HoleWzd"
};

// A pattern of one solid feature (the seed), or of several that add or remove material
// alike (their tools repeated together): instance 0 is the seed itself, instance k >= 1
// a copy of the seed's tool moved rigidly. Linear: instance k lies at c = k / count2 steps
// along dir1 and r = k % count2 steps along dir2 (direction 2 runs fastest). Circular:
// instance k is turned by k * angle (radians, right-handed about the axis direction; the
// sign carries the sense) about the axis. Sketch-driven: instance k is moved by offsets[k-1].
// Skipped instances are left out; instance 0 cannot be skipped.
struct PatternLayout {
    enum class Kind { Linear = 0, Circular = 1, Sketch = 2 };
    Kind kind = Kind::Linear;
    Vec3 dir1{1, 0, 0};
    Vec3 dir2{0, 1, 0};
    int count1 = 1;
    int count2 = 1;
    double spacing1 = 0.0;
    double spacing2 = 0.0;
    Vec3 axisPoint{};
    Vec3 axisDirection{0, 0, 1};
    int count = 1;
    double angle = 0.0;
    std::vector<Vec3> offsets;
    std::vector<int> skipped;

    // Number of instances, the seed included.
    int instanceCount() const;
};

// A feature that adds or removes material: its tool shape and operation are kept so that a
// rebuild replays it.
class SolidFeature final : public Feature {
public:
    enum class Operation { Add, Cut, NewBody };

    SolidFeature(FeatureKind kind, std::string typeName, Operation operation)
        : Feature(kind, std::move(typeName)), operation_(operation) {}
    Operation operation() const { return operation_; }
    // Faces of the current part that this feature made (its tool's faces as they are now).
    std::vector<FacePtr> faces() const;
    // The sketch the feature was made from (null for holes and imported bodies).
    std::shared_ptr<Feature> sketch() const { return sketch_.lock(); }
    // A pattern's seed features (the first of them) and its definition (null / empty for
    // other features).
    std::shared_ptr<Feature> seed() const {
        return seeds_.empty() ? nullptr : seeds_.front().lock();
    }
    std::vector<std::shared_ptr<Feature>> seeds() const;
    const PatternLayout& pattern() const { return pattern_; }
    // Parameters the feature was created with (for inspection and saving).
    const std::vector<std::pair<std::string, double>>& parameters() const { return parameters_; }
    const detail::ShapeRef& tool() const { return *tool_; }

private:
    friend class PartDocument;
    Operation operation_;
    std::shared_ptr<detail::ShapeRef> tool_;
    std::weak_ptr<Feature> sketch_;
    std::vector<std::weak_ptr<Feature>> seeds_;
    PatternLayout pattern_;
    // The seeds' tools the pattern's tool was made from: a regenerated seed remakes it.
    std::vector<std::shared_ptr<detail::ShapeRef>> seedTools_;
    std::vector<std::pair<std::string, double>> parameters_;
    // A hole's definition, which its tool is made from: a saved hole keeps its start point and
    // direction instead of its tool's shape, and is made again when the part is opened.
    std::optional<HoleSpec> hole_;
};

using SolidFeaturePtr = std::shared_ptr<SolidFeature>;

// A cosmetic thread on a circular edge: no geometry of its own.
class CosmeticThread final : public Feature {
public:
    CosmeticThread(EdgePtr edge, double diameter, double length, std::string description)
        : Feature(FeatureKind::CosmeticThread, "CosmeticThread"), edge_(std::move(edge)),
          diameter_(diameter), length_(length), description_(std::move(description)) {}
    const EdgePtr& edge() const { return edge_; }
    double diameter() const { return diameter_; }
    double length() const { return length_; }
    const std::string& description() const { return description_; }

private:
    friend class PartDocument; // re-attaches the edge after a rebuild or open
    EdgePtr edge_;
    double diameter_;
    double length_;
    std::string description_;
};

using CosmeticThreadPtr = std::shared_ptr<CosmeticThread>;

// A mate reference: a face or edge of the part under a name by which an assembly mates the
// part. Mate references have names of their own: one may carry the name of another kind of
// feature (a connection point's sketch), not that of another mate reference.
class MateReference final : public Feature {
public:
    explicit MateReference(ObjectPtr entity)
        : Feature(FeatureKind::MateReference, "MateReference"), entity_(std::move(entity)) {}
    // The face or edge; it keeps its object while its geometry stays in the part.
    const ObjectPtr& entity() const { return entity_; }

private:
    friend class PartDocument;     // re-attaches the entity when a part is opened
    friend class AssemblyDocument; // follows the component's face as the component shows it
    ObjectPtr entity_;
};

using MateReferencePtr = std::shared_ptr<MateReference>;

} // namespace swsim
