// Internal to the model: the OpenCASCADE state behind a PartDocument, shared by the
// document's implementation files.
#pragma once

#include "platform/sldworks/model/occt_shape.h"
#include "platform/sldworks/model/part_document.h"

#include <Geom_Surface.hxx>
#include <TopoDS_Shape.hxx>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace swsim {

namespace detail {
// Axis-aligned box of a shape, and whether two boxes overlap.
Box shapeBox(const TopoDS_Shape& shape);
// Whether the boxes share a volume thicker than the shapes' tolerances.
bool boxesOverlap(const Box& a, const Box& b);
// The tool solids in rounds whose solids' boxes do not overlap one another (one round when
// none overlaps another), each tool in the first round that holds none of the earlier tools
// it overlaps, in their order. OpenCASCADE intersects the tools of one Boolean with one
// another as well as with the part: overlapping tools, as a dense pattern's copies, would
// have it compute their own arrangement, which grows with the square of their number (and
// far worse for near-coincident ones), where one round after another only meets the part.
std::vector<std::vector<TopoDS_Shape>> apartRounds(const std::vector<TopoDS_Shape>& tools);
// A pattern's definition and seed indices from its saved parameters; false when they make no
// pattern.
bool patternFromParameters(const std::vector<std::pair<std::string, double>>& parameters,
                           PatternLayout& layout, std::vector<long long>& seedIndices);
// The parameters a hole keeps, and a hole's definition (less its point and direction) back
// from them; false when they are not the parameters of a hole.
std::vector<std::pair<std::string, double>> holeParameters(const HoleSpec& hole);
bool holeFromParameters(const std::vector<std::pair<std::string, double>>& parameters,
                        HoleSpec& hole);
} // namespace detail

struct BodyState {
    TopoDS_Shape shape;
    BodyKind kind = BodyKind::Solid;
    std::string name;
};

struct PartDocument::Impl {
    explicit Impl(const std::vector<FeaturePtr>& documentFeatures) : features(documentFeatures) {}

    // The document's feature list (mate references and cosmetic threads hold faces and edges).
    const std::vector<FeaturePtr>& features;
    std::vector<BodyPtr> bodies; // solids first, then sheets
    // Which feature's tool made each surface: faces split by later booleans keep their
    // surface, so this answers "faces of a feature" for the current part.
    std::map<const Geom_Surface*, std::pair<Handle(Geom_Surface), const Feature*>> surfaceOwner;
    std::map<std::string, std::weak_ptr<Object>> entityNames;

    std::vector<BodyState> currentStates() const;
    // Applies one solid feature to the body states; false with `error` when it cannot.
    static bool apply(std::vector<BodyState>& states, const SolidFeature& feature,
                      std::string& error);
    static bool applyShape(std::vector<BodyState>& states, SolidFeature::Operation op,
                           const TopoDS_Shape& tool, const std::string& name, bool checkMeets,
                           std::string& error);
    void registerSurfaces(const SolidFeature& feature);
    // Replaces the bodies by new ones, keeping the objects of faces and edges whose geometry
    // did not change (and carrying names and colours to faces of equal geometry). Faces and
    // edges that leave the part with a name, a colour or a feature holding them are set aside
    // and come back with all of it when a later body has them again.
    void install(std::vector<BodyState> states, bool replay);
    // Faces and edges that left the part (a suppressed feature's, a cut-away face) with a name,
    // a colour or a mate reference or cosmetic thread holding them, in the order they left:
    // SolidWorks keeps a suppressed feature's entities, and unsuppressed they are the same.
    std::vector<FacePtr> asideFaces;
    std::vector<EdgePtr> asideEdges;
    // Whether a face or edge set aside carries the name.
    bool nameAside(const std::string& name) const;
    bool inPart(const Object& entity) const;

    // Cuts added but not yet applied to the bodies, in feature order.
    std::vector<const SolidFeature*> pending;
    std::vector<Box> pendingBoxes;
    // The cuts that began a boolean of their own: each first cut added while none was pending.
    // How cuts are grouped into booleans decides the order of the pieces a split body falls
    // into and of their faces, by which names and colours are saved; a rebuild (and so the
    // replay on opening) groups a run of cuts only up to the next of these, as the build did.
    std::set<const Feature*> cutGroupStarts;
    // Applies the pending cuts with one boolean (one by one when that fails); false when
    // some could not be applied, with `error` naming them.
    bool applyPending(std::string& error);
    // Applies cuts to the states: together by one boolean, one by one when that fails.
    static bool applyCuts(std::vector<BodyState>& states,
                          const std::vector<const SolidFeature*>& cuts, std::string& error);
    // True when a pending cut's box meets the segment from `a` to `b`.
    bool pendingNear(Vec3 a, Vec3 b) const;
};

} // namespace swsim
