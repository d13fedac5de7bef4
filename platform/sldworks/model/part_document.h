// A part document of the simulated SolidWorks: the ordered feature list with automatic
// names, the bodies the solid features computed, the selection, entity names and face
// colours, and files. Plain C++: failures of geometric operations give a null result and a
// message in lastError(), and leave the document as it was; file errors raise ModelError.
//
// Performance: a new solid feature is applied incrementally to the current bodies; topology
// answers are cached until the next change. Cuts (holes, cut extrusions and revolutions) are
// collected and applied together by one boolean when a query needs the exact bodies: a ray
// cast that stays clear of the pending cuts is answered without them, so a run of drillings
// costs one boolean. The whole part is replayed only by rebuild(), by a change of
// suppression, and when a document is opened.
#pragma once

#include "platform/sldworks/model/dimension.h"
#include "platform/sldworks/model/feature.h"
#include "platform/sldworks/model/model_document.h"
#include "platform/sldworks/model/object.h"
#include "platform/sldworks/model/selection.h"
#include "platform/sldworks/model/sketch.h"
#include "platform/sldworks/model/topology.h"
#include "platform/sldworks/model/types.h"

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace swsim {

class PartDocument final : public ModelDocument, public std::enable_shared_from_this<PartDocument> {
public:
    // A new part from the template: the items "Sensors" (SensorFolder), "Annotations"
    // (DetailCabinet), "Solid Bodies" (SolidBodyFolder), "Surface Bodies"
    // (SurfaceBodyFolder), "Material <not specified>" (MaterialFolder), "Origin"
    // (OriginProfileFeature), then "Front Plane", "Top Plane", "Right Plane" (RefPlane) with
    // normals +Z, +Y, +X through the origin.
    static std::shared_ptr<PartDocument> create();
    // Opens a part saved by save(); raises ModelError naming what is wrong. A file whose
    // checksum does not match is refused before any of it is read.
    static std::shared_ptr<PartDocument> open(const std::string& path);
    // The same from the file's content; `path` is the document's name in errors.
    static std::shared_ptr<PartDocument> openText(const std::string& text, const std::string& path);

    PartDocument(const PartDocument&) = delete;
    PartDocument& operator=(const PartDocument&) = delete;
    ~PartDocument() override;

    DocumentType type() const override { return DocumentType::Part; }

    // ---- files ------------------------------------------------------------------------
    // Saves in the session's own format; raises ModelError when the file cannot be written.
    // Writes a copy of the bodies as STEP or STL (binary unless `asciiStl`); raise ModelError.
    void exportStep(const std::string& path) const override;
    void exportStl(const std::string& path, bool asciiStl = false,
                   double scale = 1.0) const override;
    void saveBitmap(const std::string& path, int width, int height) const override;

    // ---- features ---------------------------------------------------------------------
    const std::vector<FeaturePtr>& features() const { return features_; }
    FeaturePtr firstFeature() const;
    // The feature after `feature` in the list; null at the end or when it is not listed.
    FeaturePtr nextFeature(const Feature& feature) const;
    FeaturePtr newestFeature() const;
    FeaturePtr findFeature(const std::string& name) const;
    int featureIndex(const Feature& feature) const; // -1 when not listed
    // Replays the solid features that the active configuration does not suppress, in order
    // from scratch, with the dimension values of the active configuration. False (with
    // lastError()) when a feature could not be applied.
    bool rebuild();

    // ---- configurations: suppression and dimension values -----------------------------
    // Suppresses or unsuppresses a feature in the named configurations (all of them when
    // the list is empty); the part is replayed when the active one is among them. Suppressed,
    // a feature takes what is built on it along (see children), transitively; unsuppressed,
    // it comes back alone. False when the feature is not in the part or a name is no
    // configuration (nothing changes).
    bool setSuppression(const FeaturePtr& feature, bool suppressed,
                        const std::vector<std::string>& configurations);
    // The features built directly on `feature`, in list order: sketches on its planes or
    // faces, solid features made from it (a sketch), patterns of it.
    std::vector<FeaturePtr> children(const Feature& feature) const;
    // Whether the feature is suppressed in the named configuration.
    bool suppressedIn(const Feature& feature, const std::string& configuration) const;

    // ---- dimensions -------------------------------------------------------------------
    // Extrusions get "D1" (depth, linear, driving depth1) and revolutions "D1" (angle,
    // angular, driving angle1) when they are made. Further dimensions can be added to any
    // feature; null when the feature is not in the part or the name is empty or taken there.
    DimensionPtr addDimension(const FeaturePtr& feature, const std::string& name, int type,
                              double value, const std::string& drives = {});
    std::vector<DimensionPtr> dimensionsOf(const Feature& feature) const;
    // By full name, "D1@Boss-Extrude1".
    DimensionPtr findDimension(const std::string& fullName) const;
    // The value in the active configuration.
    double dimensionValue(const Dimension& dimension) const;
    double dimensionValueIn(const Dimension& dimension, const std::string& configuration) const;
    // Sets the value in the named configurations, or the document's value for all
    // configurations when the list is empty; the part is replayed when the active
    // configuration's value changed. False for a non-finite value, a dimension of another
    // document or an unknown configuration.
    bool setDimensionValue(const DimensionPtr& dimension, double value,
                           const std::vector<std::string>& configurations);

    // Message of the last failed operation.
    const std::string& lastError() const { return lastError_; }

    // ---- reference geometry -----------------------------------------------------------
    RefPlanePtr frontPlane() const;
    RefPlanePtr topPlane() const;
    RefPlanePtr rightPlane() const;
    // A fixed plane through three points: origin p1, X towards p2, normal (p2-p1) x (p3-p1).
    // Null for collinear or coincident points.
    RefPlanePtr addPlaneThroughPoints(Vec3 p1, Vec3 p2, Vec3 p3);
    // A plane parallel to `reference` (a RefPlane or a planar Face) at `distance` along its
    // normal, or against it when `flip`. Null for another reference or a negative distance.
    RefPlanePtr addOffsetPlane(const ObjectPtr& reference, double distance, bool flip);
    // An axis through two points; null when they coincide.
    RefAxisPtr addAxis(Vec3 p1, Vec3 p2);
    // An axis from the selection: a sketch line (or centre line); two sketch points or
    // vertices; a plane or planar face and a point (through the point along the normal);
    // a cylindrical or conical face (its axis); an axis. Null when the selection fits none.
    RefAxisPtr addAxisFromSelection();

    // ---- sketches ---------------------------------------------------------------------
    // Opens a 2D sketch on a RefPlane or planar Face; null when something is open already
    // or the placement is not planar. Sketch on a plane: the plane's frame. Sketch on a
    // face: origin the model origin projected onto the face's plane, normal the outward
    // face normal, X the model X projected (or Y, then Z, when X is nearly normal).
    SketchPtr openSketch(const ObjectPtr& placement);
    // Opens a 2D sketch on the first selected plane or planar face.
    SketchPtr openSketchOnSelection();
    SketchPtr open3DSketch();
    // The sketch open for editing, or null.
    SketchPtr activeSketch() const { return activeSketch_; }
    // Closes the open sketch (nothing open: false).
    bool closeSketch();
    // Reopens an existing sketch for editing.
    bool editSketch(const SketchPtr& sketch);

    // ---- solid features ---------------------------------------------------------------
    // Each returns the new feature, or null with lastError() set and nothing changed (no
    // closed profile, zero depth, failed boolean, a cut whose box misses every solid body,
    // ...). Cuts are applied later (see the top of this file): one that turns out to remove
    // nothing stays in the list without effect; one whose boolean fails then is named in
    // lastError() after the query that applied it.
    SolidFeaturePtr addExtrusion(const SketchPtr& sketch, const ExtrudeSpec& request);
    SolidFeaturePtr addRevolution(const SketchPtr& sketch, const RevolveSpec& request);
    SolidFeaturePtr addHole(const HoleSpec& request);
    // A ruled loft (straight faces between consecutive profiles) through the closed profiles
    // of two or more 2D sketches, in list order: added ("Loft", names "Loft1", ...) or cut
    // ("CutLoft", "Cut-Loft1", ...). Each sketch must give one face without holes. A guide is
    // recorded (parameter "guide" 1) and does not shape the loft.
    SolidFeaturePtr addLoft(const std::vector<SketchPtr>& profiles, const SketchPtr& guide,
                            bool cut);
    // Imports a STEP (.step, .stp), IGES (.igs, .iges) or BREP (.brep, .brp) file as new
    // bodies (feature type "BaseBody", names "Imported1", ...). The file is read in a child
    // process under importLimits() (import_limits.h); its body is taken only when every number
    // of its geometry is finite, it passes OpenCASCADE's check and it lies in the model space.
    // Null with lastError() naming why otherwise: the reader crashed (with its signal), ran
    // past its time or memory limit, or refused the file. `report` gets what the reader wrote
    // to its standard output and error (OpenCASCADE's translation messages), as plain text.
    SolidFeaturePtr addImportedBody(const std::string& path, std::string* report = nullptr);
    // A copy of a face of the part as a new sheet body (feature type "RefSurface", names
    // "Surface-Offset1", ...: an offset surface at distance 0).
    SolidFeaturePtr addSurfaceCopy(const FacePtr& face);
    // A pattern of `seed` (a solid feature of the part) as one feature with the seed's
    // operation: the copies of its tool (skipped instances left out) are applied together, a
    // cut pattern by one boolean. `sketch` (optional) is the sketch that holds the pattern's
    // reference geometry. Null with lastError() for another seed, fewer than two instances, a
    // zero or non-finite step or direction, or geometry the model cannot apply.
    SolidFeaturePtr addPattern(const SolidFeaturePtr& seed, const PatternLayout& layout,
                               const SketchPtr& sketch);
    // The same of several seeds, repeated together; null with lastError() also when some add
    // and others remove material.
    SolidFeaturePtr addPattern(const std::vector<SolidFeaturePtr>& seeds,
                               const PatternLayout& layout, const SketchPtr& sketch);
    // Replaces a pattern's skipped instances (numbers as in PatternLayout). Numbers outside
    // 1 .. instances - 1 and repeats are not taken. The part is replayed. False for a feature
    // that is no pattern of this part.
    bool setPatternSkipped(const SolidFeaturePtr& pattern, const std::vector<int>& skipped);
    // The numbers of `skipped` that a pattern of `instances` instances takes, ascending.
    static std::vector<int> acceptedSkips(const std::vector<int>& skipped, int instances);

    // Deletes features with their children (solid features made from them, patterns of them,
    // sketches on them); the template's items cannot be deleted. The part is replayed when a
    // solid feature goes. Answers the number of features deleted.
    int deleteFeatures(const std::vector<FeaturePtr>& features);

    // A cosmetic thread on a circular edge; null when the edge is not a circle of the part
    // or diameter/length are not positive.
    CosmeticThreadPtr addCosmeticThread(const EdgePtr& edge, double diameter, double length,
                                        const std::string& description);

    // A mate reference named `name` on a face or edge of the part (an automatic name
    // "MateReference<n>" when the name is empty or another mate reference has it). Null when
    // the entity is no face or edge of the part.
    MateReferencePtr addMateReference(const std::string& name, const ObjectPtr& entity);

    // ---- topology ---------------------------------------------------------------------
    // Bodies of one kind in a stable order; all bodies (solids first) without a kind.
    std::vector<BodyPtr> bodies(BodyKind kind) const;
    std::vector<BodyPtr> bodies() const;
    // Faces of the current part that `feature` made (see SolidFeature::faces).
    std::vector<FacePtr> facesOfFeature(const Feature& feature) const;
    // The first face hit by the ray from `start` along `direction`: hits from -radius on
    // count (so a start point on a face finds it). Restricted to one body kind if given.
    std::optional<RayHit> castRay(Vec3 start, Vec3 direction, double radius,
                                  std::optional<BodyKind> kind = std::nullopt) const;
    // The first face (body order, then face order) that contains `point` within
    // `tolerance` and whose normal at the point agrees with `normal` (dot > 1 - 1e-6);
    // the zero vector accepts any normal.
    FacePtr findFaceAt(Vec3 point, Vec3 normal, double tolerance) const;
    // The first edge (body order, edge order) within `tolerance` of `point`.
    EdgePtr findEdgeAt(Vec3 point, double tolerance) const;
    // Over the bodies that are not hidden.
    Box box() const;
    // Over the solid bodies that are not hidden.
    MassProperties massProperties() const;
    // Hidden bodies stay in the part (listed, searched, named) but leave its box, mass,
    // copies and previews. Kept by the name of the feature that made the body.
    void setBodyHidden(const Body& body, bool hidden);
    bool bodyHidden(const Body& body) const;
    // The bodies that are not hidden: what copies, previews and assemblies show.
    std::vector<BodyPtr> shownBodies() const;
    MassProperties geometryMass() const override { return massProperties(); }

    // ---- entity names and colours -----------------------------------------------------
    // Names a face or edge of the part. Refused (false) when the entity already has a name,
    // the name is empty or already names an entity of the document, or the entity is not
    // part of the document.
    bool setEntityName(const ObjectPtr& entity, const std::string& name);
    std::string entityName(const ObjectPtr& entity) const;
    ObjectPtr findEntityByName(const std::string& name) const;
    // Sets (or with nullopt removes) a face's colour; false when the face is not in the part.
    bool setFaceColour(const FacePtr& face, std::optional<Rgb> colour);

    // ---- selection --------------------------------------------------------------------
    Selection& selection() { return selection_; }
    const Selection& selection() const { return selection_; }
    void clearSelection() { selection_.clear(); }
    bool select(const ObjectPtr& object, bool append, int mark,
                std::optional<Vec3> pickPoint = std::nullopt);
    // By name and type: "PLANE", "AXIS", "SKETCH", "BODYFEATURE" (any feature), "FACE",
    // "EDGE" (entity names), "EXTSKETCHPOINT", "EXTSKETCHSEGMENT" ("Point1@Sketch3").
    // The point is kept as the pick point. False (selection unchanged) when nothing fits.
    bool selectByName(const std::string& name, const std::string& type, Vec3 point, bool append,
                      int mark);
    // Selects the first face hit by the ray (see castRay).
    bool selectByRay(Vec3 start, Vec3 direction, double radius, bool append, int mark);
    // Selects the face found by findFaceAt.
    bool selectFaceAt(Vec3 point, Vec3 normal, double tolerance, bool append, int mark);
    // The sketch the selection names (a selected sketch, or the sketch of a selected sketch
    // entity), or null.
    SketchPtr selectedSketch() const;

    // Identity counter of the geometry: changes whenever the bodies change.
    std::uint64_t geometryRevision() const { return revision_; }

private:
    PartDocument();
    struct Impl;
    friend class Feature;

    void addFeature(const FeaturePtr& feature, const std::string& namePrefix);
    std::string nextName(const std::string& prefix);
    // Among the features of the same name space (mate references or the others).
    bool nameInUse(const std::string& name, const Feature* except,
                   bool mateReferences = false) const;
    bool renameFeature(Feature& feature, const std::string& name);
    bool applySuppression(Feature& feature, bool suppressed);
    // Sets the suppression of the feature (with its dependants when suppressing) in the
    // configurations and replays the part when the active one changed.
    void suppressIn(const Feature& feature, bool suppressed,
                    const std::vector<ConfigurationPtr>& targets);
    // The features with everything built on them, transitively (see children).
    std::set<const Feature*> withDependants(std::set<const Feature*> features) const;
    // The feature whose tool made the face; null when none did.
    FeaturePtr featureOfFace(const Face& face) const;
    bool addSolidFeature(const SolidFeaturePtr& feature, const std::string& prefix,
                         const std::string& what);

    std::vector<FeaturePtr> features_;
    std::unique_ptr<Impl> impl_; // after the features it reads
    std::map<std::string, int> nameCounters_;
    SketchPtr activeSketch_;
    Selection selection_;
    mutable std::string lastError_; // also set when deferred cuts are applied
    mutable std::uint64_t revision_ = 0;
    std::vector<DimensionPtr> dimensions_;
    std::set<std::string> hiddenBodies_;

    void configurationActivated() override;
    std::string fileText() const override;
    // Reads the faces and edges set aside (section "aside" of a file) into the document.
    void readAside(detail::Reader& r);
    // Remakes a solid feature's tool with one parameter changed; false with `error`.
    bool regenerate(SolidFeature& feature, const std::string& key, double value,
                    std::string& error);
    void addDrivingDimension(const SolidFeaturePtr& feature);
    // Remakes a pattern's tool from its seed's current tool; false with `error`.
    static bool makePatternTool(SolidFeature& pattern, std::string& error);
    // Applies deferred cuts (see addSolidFeature) before a query that needs exact bodies.
    void flush() const;
};

using PartDocumentPtr = std::shared_ptr<PartDocument>;

} // namespace swsim
