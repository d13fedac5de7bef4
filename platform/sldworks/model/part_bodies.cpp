// Bodies of a PartDocument: applying solid features by booleans, deferred cuts, and the
// identity of bodies, faces and edges across changes.
#include "platform/sldworks/model/part_document.h"

#include "platform/sldworks/model/part_impl.h"
#include "platform/sldworks/model/profile.h"

#include <BRepAdaptor_Curve.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_Copy.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepGProp.hxx>
#include <BRepTools.hxx>
#include <BRepTools_ReShape.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <GProp_GProps.hxx>
#include <ShapeUpgrade_UnifySameDomain.hxx>
#include <Standard_Failure.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Iterator.hxx>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>

namespace swsim {

using detail::makeRef;

// ---- body states and booleans ---------------------------------------------------------

std::vector<BodyState> PartDocument::Impl::currentStates() const {
    std::vector<BodyState> out;
    for (const auto& b : bodies)
        out.push_back({b->shape().shape, b->kind(), b->name()});
    return out;
}

namespace {

// Solids of a shape, then its shells and faces that belong to no solid (sheet bodies).
void explode(const TopoDS_Shape& shape, std::vector<TopoDS_Shape>& solids,
             std::vector<TopoDS_Shape>& sheets) {
    TopTools_IndexedMapOfShape inSolids;
    for (TopExp_Explorer ex(shape, TopAbs_SOLID); ex.More(); ex.Next()) {
        solids.push_back(ex.Current());
        TopExp::MapShapes(ex.Current(), TopAbs_FACE, inSolids);
    }
    TopTools_IndexedMapOfShape inShells;
    for (TopExp_Explorer ex(shape, TopAbs_SHELL, TopAbs_SOLID); ex.More(); ex.Next()) {
        sheets.push_back(ex.Current());
        TopExp::MapShapes(ex.Current(), TopAbs_FACE, inShells);
    }
    for (TopExp_Explorer ex(shape, TopAbs_FACE, TopAbs_SHELL); ex.More(); ex.Next())
        if (!inSolids.Contains(ex.Current()) && !inShells.Contains(ex.Current()))
            sheets.push_back(ex.Current());
}

void sortStates(std::vector<BodyState>& states) {
    std::stable_sort(states.begin(), states.end(), [](const BodyState& a, const BodyState& b) {
        return static_cast<int>(a.kind) < static_cast<int>(b.kind);
    });
}

// Name of the body state that shares a face with `solid`, else `fallback`.
std::string inheritedName(const TopoDS_Shape& solid, const std::vector<BodyState>& before,
                          const std::string& fallback) {
    TopTools_IndexedMapOfShape faces;
    TopExp::MapShapes(solid, TopAbs_FACE, faces);
    std::unordered_set<const Geom_Surface*> surfaces;
    for (int i = 1; i <= faces.Extent(); ++i) {
        TopLoc_Location l;
        surfaces.insert(BRep_Tool::Surface(TopoDS::Face(faces(i)), l).get());
    }
    for (const auto& b : before) {
        for (TopExp_Explorer ex(b.shape, TopAbs_FACE); ex.More(); ex.Next()) {
            TopLoc_Location l;
            if (faces.Contains(ex.Current()) ||
                surfaces.count(BRep_Tool::Surface(TopoDS::Face(ex.Current()), l).get()))
                return b.name;
        }
    }
    return fallback;
}

// A cut met the part when some face of its tool survives in the result (it bounds the new
// material gap) or some face of the part was removed.
bool cutMeetsPart(BRepAlgoAPI_BooleanOperation& boolean, const std::vector<TopoDS_Shape>& tools,
                  const std::vector<BodyState>& solids) {
    for (const auto& t : tools)
        for (TopExp_Explorer ex(t, TopAbs_FACE); ex.More(); ex.Next())
            if (!boolean.IsDeleted(ex.Current()))
                return true;
    for (const auto& s : solids)
        for (TopExp_Explorer ex(s.shape, TopAbs_FACE); ex.More(); ex.Next())
            if (boolean.IsDeleted(ex.Current()))
                return true;
    return false;
}

bool boundsNothing(const TopoDS_Shape& s) {
    return s.Orientation() == TopAbs_INTERNAL || s.Orientation() == TopAbs_EXTERNAL;
}

// Whether a face of a Boolean's result holds an edge, wire or vertex that bounds nothing: a
// tool touched a face of the part there (a counterbore tangent to the block's side) rather
// than crossing it. Only then is the result checked and mended: the walk costs next to
// nothing beside the Boolean, the check and the mending more than many Booleans.
bool touchesAFace(const TopoDS_Shape& result) {
    for (TopExp_Explorer f(result, TopAbs_FACE); f.More(); f.Next())
        for (TopoDS_Iterator w(f.Current(), false); w.More(); w.Next()) {
            if (boundsNothing(w.Value()))
                return true;
            for (TopoDS_Iterator e(w.Value(), false); e.More(); e.Next())
                if (boundsNothing(e.Value()))
                    return true;
        }
    return false;
}

// The faces without what bounds nothing, and the faces that a touching contact split on one
// surface made one again: where a tool touched a face along a line, a face that keeps the
// line as an inner edge shares it with the two pieces of the tool's face on either side, an
// edge of three faces that no exchange format holds (its STEP copy fails the check).
TopoDS_Shape mended(const TopoDS_Shape& result) {
    Handle(BRepTools_ReShape) reshape = new BRepTools_ReShape;
    BRep_Builder builder;
    TopTools_IndexedMapOfShape faces;
    TopExp::MapShapes(result, TopAbs_FACE, faces);
    for (int i = 1; i <= faces.Extent(); ++i) {
        const TopoDS_Face face = TopoDS::Face(faces(i).Oriented(TopAbs_FORWARD));
        bool touched = false;
        TopoDS_Face kept = TopoDS::Face(face.EmptyCopied());
        for (TopoDS_Iterator w(face, false); w.More(); w.Next()) {
            if (boundsNothing(w.Value()) || w.Value().ShapeType() != TopAbs_WIRE) {
                touched = true;
                continue;
            }
            TopoDS_Wire wire;
            builder.MakeWire(wire);
            bool any = false;
            for (TopoDS_Iterator e(w.Value(), false); e.More(); e.Next()) {
                if (boundsNothing(e.Value())) {
                    touched = true;
                    continue;
                }
                builder.Add(wire, e.Value());
                any = true;
            }
            if (any)
                builder.Add(kept, wire.Oriented(w.Value().Orientation()));
        }
        if (touched)
            reshape->Replace(face, kept);
    }
    ShapeUpgrade_UnifySameDomain unify(reshape->Apply(result), false, true, false);
    unify.Build();
    return unify.Shape();
}

// A valid B-rep whose every edge lies between at most two faces.
bool validManifold(const TopoDS_Shape& shape) {
    if (!BRepCheck_Analyzer(shape).IsValid())
        return false;
    TopTools_IndexedDataMapOfShapeListOfShape edgeFaces;
    TopExp::MapShapesAndAncestors(shape, TopAbs_EDGE, TopAbs_FACE, edgeFaces);
    for (int i = 1; i <= edgeFaces.Extent(); ++i) {
        TopTools_IndexedMapOfShape distinct;
        for (const TopoDS_Shape& f : edgeFaces(i))
            distinct.Add(f);
        if (distinct.Extent() > 2)
            return false;
    }
    return true;
}

} // namespace

bool PartDocument::Impl::apply(std::vector<BodyState>& states, const SolidFeature& feature,
                               std::string& error) {
    // A pattern whose every copy is skipped changes nothing.
    if (feature.kind() == FeatureKind::Pattern &&
        !TopExp_Explorer(feature.tool().shape, TopAbs_SOLID).More())
        return true;
    return applyShape(states, feature.operation(), feature.tool().shape, feature.name(), true,
                      error);
}

bool PartDocument::Impl::applyShape(std::vector<BodyState>& states, SolidFeature::Operation op,
                                    const TopoDS_Shape& tool, const std::string& name,
                                    bool checkMeets, std::string& error) {
    std::vector<TopoDS_Shape> toolSolids;
    std::vector<TopoDS_Shape> toolSheets;
    explode(tool, toolSolids, toolSheets);

    std::vector<BodyState> solids;
    std::vector<BodyState> others;
    for (auto& s : states)
        (s.kind == BodyKind::Solid ? solids : others).push_back(s);

    if (op == SolidFeature::Operation::NewBody ||
        (op == SolidFeature::Operation::Add && solids.empty())) {
        if (toolSolids.empty() && toolSheets.empty()) {
            error = "the feature has no geometry";
            return false;
        }
        for (const auto& s : toolSolids)
            solids.push_back({s, BodyKind::Solid, name});
        for (const auto& s : toolSheets)
            others.push_back({s, BodyKind::Sheet, name});
    } else {
        if (toolSolids.empty()) {
            error = "the feature's tool is not a solid";
            return false;
        }
        if (solids.empty()) {
            error = "there is no solid body to cut";
            return false;
        }
        bool met = false;
        for (const std::vector<TopoDS_Shape>& round : detail::apartRounds(toolSolids)) {
            TopTools_ListOfShape arguments;
            TopTools_ListOfShape tools;
            for (const auto& s : solids)
                arguments.Append(s.shape);
            for (const auto& t : round)
                tools.Append(t);
            try {
                std::unique_ptr<BRepAlgoAPI_BooleanOperation> boolean;
                if (op == SolidFeature::Operation::Cut)
                    boolean = std::make_unique<BRepAlgoAPI_Cut>();
                else
                    boolean = std::make_unique<BRepAlgoAPI_Fuse>();
                boolean->SetArguments(arguments);
                boolean->SetTools(tools);
                boolean->SetRunParallel(false);
                boolean->Build();
                if (!boolean->IsDone() || boolean->HasErrors()) {
                    error = "the boolean operation failed";
                    return false;
                }
                met = met || !checkMeets || op != SolidFeature::Operation::Cut ||
                      cutMeetsPart(*boolean, round, solids);
                TopoDS_Shape result = boolean->Shape();
                if (touchesAFace(result)) {
                    result = mended(result);
                    if (!validManifold(result)) {
                        error = "the feature touches a face of the part and leaves no valid solid";
                        return false;
                    }
                }
                std::vector<TopoDS_Shape> resultSolids;
                std::vector<TopoDS_Shape> ignored;
                explode(result, resultSolids, ignored);
                if (resultSolids.empty()) {
                    error = "the cut would remove all material";
                    return false;
                }
                const std::vector<BodyState> before = solids;
                solids.clear();
                for (const auto& s : resultSolids)
                    solids.push_back({s, BodyKind::Solid, inheritedName(s, before, name)});
            } catch (const Standard_Failure& e) {
                error = std::string("the boolean operation failed: ") + e.GetMessageString();
                return false;
            }
        }
        if (!met) {
            error = "the cut does not meet the part";
            return false;
        }
    }
    states = solids;
    states.insert(states.end(), others.begin(), others.end());
    sortStates(states);
    return true;
}

namespace {

// Whether the segment from a to b meets the box (slab test).
bool segmentMeetsBox(Vec3 a, Vec3 b, const Box& box, double margin) {
    if (box.empty)
        return false;
    double t0 = 0.0;
    double t1 = 1.0;
    const double from[3] = {a.x, a.y, a.z};
    const double d[3] = {b.x - a.x, b.y - a.y, b.z - a.z};
    const double lo[3] = {box.min.x - margin, box.min.y - margin, box.min.z - margin};
    const double hi[3] = {box.max.x + margin, box.max.y + margin, box.max.z + margin};
    for (int i = 0; i < 3; ++i) {
        if (std::abs(d[i]) < 1e-300) {
            if (from[i] < lo[i] || from[i] > hi[i])
                return false;
            continue;
        }
        double u0 = (lo[i] - from[i]) / d[i];
        double u1 = (hi[i] - from[i]) / d[i];
        if (u0 > u1)
            std::swap(u0, u1);
        t0 = std::max(t0, u0);
        t1 = std::min(t1, u1);
        if (t0 > t1)
            return false;
    }
    return true;
}

} // namespace

namespace detail {

bool boxesOverlap(const Box& a, const Box& b) {
    if (a.empty || b.empty)
        return false;
    // Boxes carry the shapes' tolerances (1e-7 each); boxes that only touch, as those of a
    // cut sketched on a face of the part and going away from it, overlap by no more than that.
    constexpr double minThickness = 1e-6;
    return std::min(a.max.x, b.max.x) - std::max(a.min.x, b.min.x) > minThickness &&
           std::min(a.max.y, b.max.y) - std::max(a.min.y, b.min.y) > minThickness &&
           std::min(a.max.z, b.max.z) - std::max(a.min.z, b.min.z) > minThickness;
}

Box shapeBox(const TopoDS_Shape& s) {
    Bnd_Box b;
    BRepBndLib::Add(s, b);
    Box out;
    if (b.IsVoid())
        return out;
    double x0, y0, z0, x1, y1, z1;
    b.Get(x0, y0, z0, x1, y1, z1);
    out = {{x0, y0, z0}, {x1, y1, z1}, false};
    return out;
}

std::vector<std::vector<TopoDS_Shape>> apartRounds(const std::vector<TopoDS_Shape>& tools) {
    std::vector<Box> boxes;
    boxes.reserve(tools.size());
    for (const auto& t : tools)
        boxes.push_back(shapeBox(t));
    // The overlapping pairs, by a sweep along x: only boxes whose x ranges meet are compared.
    std::vector<std::size_t> byX(tools.size());
    for (std::size_t i = 0; i < byX.size(); ++i)
        byX[i] = i;
    std::sort(byX.begin(), byX.end(),
              [&](std::size_t a, std::size_t b) { return boxes[a].min.x < boxes[b].min.x; });
    std::vector<std::vector<std::size_t>> earlierOverlapping(tools.size());
    std::vector<std::size_t> open;
    for (std::size_t i : byX) {
        std::erase_if(open, [&](std::size_t j) { return boxes[j].max.x < boxes[i].min.x; });
        for (std::size_t j : open)
            if (boxesOverlap(boxes[i], boxes[j]))
                earlierOverlapping[std::max(i, j)].push_back(std::min(i, j));
        open.push_back(i);
    }
    // Each tool goes into the first round that holds none of the earlier tools it overlaps.
    std::vector<std::size_t> roundOf(tools.size(), 0);
    std::vector<std::vector<TopoDS_Shape>> rounds;
    for (std::size_t i = 0; i < tools.size(); ++i) {
        std::vector<bool> taken(earlierOverlapping[i].size() + 1, false);
        for (std::size_t j : earlierOverlapping[i])
            if (roundOf[j] < taken.size())
                taken[roundOf[j]] = true;
        std::size_t r = 0;
        while (taken[r])
            ++r;
        roundOf[i] = r;
        if (rounds.size() <= r)
            rounds.resize(r + 1);
        rounds[r].push_back(tools[i]);
    }
    return rounds;
}

} // namespace detail

bool PartDocument::Impl::pendingNear(Vec3 a, Vec3 b) const {
    for (const Box& box : pendingBoxes)
        if (segmentMeetsBox(a, b, box, 1e-6))
            return true;
    return false;
}

bool PartDocument::Impl::applyCuts(std::vector<BodyState>& states,
                                   const std::vector<const SolidFeature*>& allCuts,
                                   std::string& error) {
    // A pattern whose every copy is skipped cuts nothing.
    std::vector<const SolidFeature*> cuts;
    for (const SolidFeature* f : allCuts)
        if (TopExp_Explorer(f->tool().shape, TopAbs_SOLID).More())
            cuts.push_back(f);
    if (cuts.empty())
        return true;
    if (cuts.size() > 1) {
        BRep_Builder builder;
        TopoDS_Compound tools;
        builder.MakeCompound(tools);
        for (const SolidFeature* f : cuts)
            builder.Add(tools, f->tool().shape);
        std::vector<BodyState> batched = states;
        std::string batchError;
        if (applyShape(batched, SolidFeature::Operation::Cut, tools, cuts.front()->name(), false,
                       batchError)) {
            states = std::move(batched);
            return true;
        }
    }
    // One by one, so that a failing cut spoils only itself.
    bool ok = true;
    for (const SolidFeature* f : cuts) {
        std::string e;
        std::vector<BodyState> next = states;
        if (applyShape(next, SolidFeature::Operation::Cut, f->tool().shape, f->name(),
                       cuts.size() == 1, e)) {
            states = std::move(next);
        } else {
            error += (error.empty() ? "" : "; ") + f->name() + ": " + e;
            ok = false;
        }
    }
    return ok;
}

bool PartDocument::Impl::applyPending(std::string& error) {
    if (pending.empty())
        return true;
    std::vector<BodyState> states = currentStates();
    const bool ok = applyCuts(states, pending, error);
    pending.clear();
    pendingBoxes.clear();
    install(std::move(states), false);
    return ok;
}

void PartDocument::flush() const {
    if (impl_->pending.empty())
        return;
    std::string error;
    if (!impl_->applyPending(error))
        lastError_ = error;
    ++revision_;
}

void PartDocument::Impl::registerSurfaces(const SolidFeature& feature) {
    for (TopExp_Explorer ex(feature.tool().shape, TopAbs_FACE); ex.More(); ex.Next()) {
        TopLoc_Location loc;
        Handle(Geom_Surface) s = BRep_Tool::Surface(TopoDS::Face(ex.Current()), loc);
        if (!s.IsNull())
            surfaceOwner[s.get()] = {s, &feature};
    }
}

// ---- installing bodies: identity of faces and edges -----------------------------------

namespace {

struct Fingerprint {
    int type = -1;
    double size = 0.0; // area of a face, length of an edge
    gp_Pnt centre;
};

Fingerprint faceFingerprint(const TopoDS_Shape& f) {
    Fingerprint p;
    p.type = static_cast<int>(BRepAdaptor_Surface(TopoDS::Face(f), false).GetType());
    GProp_GProps props;
    BRepGProp::SurfaceProperties(f, props);
    p.size = props.Mass();
    p.centre = props.CentreOfMass();
    return p;
}

Fingerprint edgeFingerprint(const TopoDS_Shape& e) {
    Fingerprint p;
    if (BRep_Tool::Degenerated(TopoDS::Edge(e)))
        return p;
    BRepAdaptor_Curve c(TopoDS::Edge(e));
    p.type = static_cast<int>(c.GetType());
    GProp_GProps props;
    BRepGProp::LinearProperties(e, props);
    p.size = props.Mass();
    p.centre = props.CentreOfMass();
    return p;
}

Fingerprint fingerprintOf(const Face& face) {
    return faceFingerprint(face.shape().shape);
}

Fingerprint fingerprintOf(const Edge& edge) {
    return edgeFingerprint(edge.shape().shape);
}

bool sameFingerprint(const Fingerprint& a, const Fingerprint& b) {
    if (a.type < 0 || a.type != b.type)
        return false;
    const double scale = std::max(1.0, std::abs(a.size));
    return std::abs(a.size - b.size) <= 1e-9 * scale &&
           a.centre.Distance(b.centre) <= 1e-7 * std::max(1.0, std::sqrt(scale));
}

template <class T> struct Reuse {
    // Old objects by their TShape, for exact reuse.
    std::unordered_multimap<const void*, std::shared_ptr<T>> byShape;
    std::vector<std::shared_ptr<T>> used;

    std::shared_ptr<T> take(const TopoDS_Shape& s) {
        auto range = byShape.equal_range(s.TShape().get());
        for (auto it = range.first; it != range.second; ++it) {
            if (it->second->shape().shape.IsEqual(s)) {
                auto found = it->second;
                byShape.erase(it);
                return found;
            }
        }
        return nullptr;
    }
};

} // namespace

void PartDocument::Impl::install(std::vector<BodyState> states, bool replay) {
    const std::vector<BodyPtr> oldBodies = bodies;
    Reuse<Face> faces;
    Reuse<Edge> edges;
    for (const auto& b : oldBodies) {
        for (const auto& f : b->faces())
            faces.byShape.emplace(f->shape().shape.TShape().get(), f);
        for (const auto& e : b->edges())
            edges.byShape.emplace(e->shape().shape.TShape().get(), e);
    }

    std::vector<BodyPtr> fresh;
    std::vector<BodyPtr> reusedBodies;
    std::unordered_set<const Object*> created;
    for (auto& st : states) {
        BodyPtr kept;
        for (const auto& b : oldBodies) {
            if (b->kind() == st.kind && b->shape().shape.IsEqual(st.shape) &&
                std::find(reusedBodies.begin(), reusedBodies.end(), b) == reusedBodies.end()) {
                kept = b;
                break;
            }
        }
        if (kept) {
            reusedBodies.push_back(kept);
            for (const auto& f : kept->faces()) {
                faces.take(f->shape().shape);
            }
            for (const auto& e : kept->edges())
                edges.take(e->shape().shape);
            fresh.push_back(kept);
            continue;
        }
        auto body = std::make_shared<Body>(makeRef(st.shape), st.kind);
        body->name_ = st.name;
        body->topology_ = std::make_unique<detail::BodyTopology>();
        auto& topo = *body->topology_;
        TopExp::MapShapes(st.shape, TopAbs_FACE, topo.faceMap);
        TopExp::MapShapesAndAncestors(st.shape, TopAbs_EDGE, TopAbs_FACE, topo.edgeFaces);
        for (int i = 1; i <= topo.edgeFaces.Extent(); ++i)
            if (!detail::isSeamOrDegenerate(topo.edgeFaces.FindKey(i), topo.edgeFaces(i)))
                topo.edgeMap.Add(topo.edgeFaces.FindKey(i));
        for (int i = 1; i <= topo.faceMap.Extent(); ++i) {
            FacePtr f = faces.take(topo.faceMap(i));
            if (!f) {
                f = std::make_shared<Face>(makeRef(topo.faceMap(i)));
                created.insert(f.get());
            }
            body->faces_.push_back(f);
        }
        for (int i = 1; i <= topo.edgeMap.Extent(); ++i) {
            EdgePtr e = edges.take(topo.edgeMap(i));
            if (!e) {
                e = std::make_shared<Edge>(makeRef(topo.edgeMap(i)));
                created.insert(e.get());
            }
            body->edges_.push_back(e);
        }
        fresh.push_back(body);
    }

    // Old objects not reused exactly.
    std::vector<FacePtr> oldFaces;
    std::vector<EdgePtr> oldEdges;
    for (auto& [k, f] : faces.byShape)
        oldFaces.push_back(f);
    for (auto& [k, e] : edges.byShape)
        oldEdges.push_back(e);
    // A deterministic order: old body position, then index within the body.
    auto position = [&](const auto& o) {
        const auto body = o->body_.lock();
        const auto it = std::find(oldBodies.begin(), oldBodies.end(), body);
        return std::pair<long, int>(static_cast<long>(it - oldBodies.begin()), o->index_);
    };
    auto byIndex = [&](const auto& a, const auto& b) { return position(a) < position(b); };
    std::sort(oldFaces.begin(), oldFaces.end(), byIndex);
    std::sort(oldEdges.begin(), oldEdges.end(), byIndex);

    // A replay of the same features gives the same faces in the same order: keep the old
    // objects by position when every body still has the same faces.
    std::vector<bool> newBody(fresh.size());
    for (size_t i = 0; i < fresh.size(); ++i)
        newBody[i] = std::find(oldBodies.begin(), oldBodies.end(), fresh[i]) == oldBodies.end();
    if (replay && fresh.size() == oldBodies.size()) {
        for (size_t i = 0; i < fresh.size(); ++i) {
            if (!newBody[i])
                continue;
            const auto& nb = fresh[i];
            const auto& ob = oldBodies[i];
            if (nb->faces_.size() != ob->faces_.size() || nb->edges_.size() != ob->edges_.size())
                continue;
            bool same = true;
            for (size_t k = 0; k < nb->faces_.size() && same; ++k)
                same = nb->faces_[k] == ob->faces_[k] ||
                       sameFingerprint(faceFingerprint(nb->faces_[k]->shape().shape),
                                       faceFingerprint(ob->faces_[k]->shape().shape));
            if (!same)
                continue;
            for (size_t k = 0; k < nb->faces_.size(); ++k) {
                if (nb->faces_[k] != ob->faces_[k]) {
                    created.erase(nb->faces_[k].get());
                    ob->faces_[k]->shape_ = nb->faces_[k]->shape_;
                    ob->faces_[k]->boxCache_.reset();
                    nb->faces_[k] = ob->faces_[k];
                }
            }
            for (size_t k = 0; k < nb->edges_.size(); ++k) {
                if (nb->edges_[k] != ob->edges_[k]) {
                    created.erase(nb->edges_[k].get());
                    ob->edges_[k]->shape_ = nb->edges_[k]->shape_;
                    nb->edges_[k] = ob->edges_[k];
                }
            }
        }
    }

    // Names and colours follow a face or edge of equal geometry; so does an entity that a
    // mate reference or cosmetic thread holds.
    std::unordered_set<const Object*> held;
    for (const auto& f : features) {
        if (const auto* reference = dynamic_cast<const MateReference*>(f.get()))
            held.insert(reference->entity().get());
        else if (const auto* thread = dynamic_cast<const CosmeticThread*>(f.get()))
            held.insert(thread->edge().get());
    }
    auto keepsFace = [&](const Face& f) {
        return !f.name_.empty() || f.colour_.has_value() || held.count(&f) != 0;
    };
    auto keepsEdge = [&](const Edge& e) { return !e.name_.empty() || held.count(&e) != 0; };
    // Each new face's and edge's fingerprint is computed once, however many look for a match.
    std::unordered_map<const Object*, Fingerprint> prints;
    auto printOf = [&](const auto& entity) -> const Fingerprint& {
        const auto [it, first] = prints.try_emplace(entity.get());
        if (first)
            it->second = fingerprintOf(*entity);
        return it->second;
    };

    std::unordered_set<const Object*> placed;
    for (const auto& b : fresh) {
        for (const auto& f : b->faces_)
            placed.insert(f.get());
        for (const auto& e : b->edges_)
            placed.insert(e.get());
    }
    // Faces that changed keep their object when one new face lies on the same underlying
    // surface (faces split or re-made from the same tool surface keep it; of several such
    // faces the nearest). Named or coloured faces are further matched by equal geometry. The
    // faces that left just now come first, then those set aside before (a suppressed
    // feature's faces, back when it is unsuppressed).
    auto surfaceOf = [](const Face& f) {
        TopLoc_Location loc;
        return BRep_Tool::Surface(TopoDS::Face(f.shape().shape), loc).get();
    };
    std::unordered_map<const Geom_Surface*, std::vector<FacePtr*>> bySurface;
    for (size_t bi = 0; bi < fresh.size(); ++bi)
        if (newBody[bi])
            for (auto& nf : fresh[bi]->faces_)
                if (created.count(nf.get()))
                    bySurface[surfaceOf(*nf)].push_back(&nf);
    std::vector<FacePtr> leavingFaces;
    for (const auto& of : oldFaces)
        if (!placed.count(of.get()))
            leavingFaces.push_back(of);
    leavingFaces.insert(leavingFaces.end(), asideFaces.begin(), asideFaces.end());
    for (const auto& of : leavingFaces) {
        FacePtr* best = nullptr;
        auto it = bySurface.find(surfaceOf(*of));
        if (it != bySurface.end()) {
            std::vector<FacePtr*> candidates;
            for (FacePtr* c : it->second)
                if (created.count(c->get()))
                    candidates.push_back(c);
            if (candidates.size() == 1) {
                best = candidates.front();
            } else if (!candidates.empty()) {
                const gp_Pnt centre = fingerprintOf(*of).centre;
                double bestDistance = 0.0;
                for (FacePtr* c : candidates) {
                    const double d = printOf(*c).centre.Distance(centre);
                    if (!best || d < bestDistance) {
                        best = c;
                        bestDistance = d;
                    }
                }
            }
        }
        if (!best && keepsFace(*of)) {
            const Fingerprint want = fingerprintOf(*of);
            for (size_t bi = 0; bi < fresh.size() && !best; ++bi) {
                if (!newBody[bi])
                    continue;
                for (auto& nf : fresh[bi]->faces_) {
                    if (created.count(nf.get()) && sameFingerprint(want, printOf(nf))) {
                        best = &nf;
                        break;
                    }
                }
            }
        }
        if (best) {
            FacePtr& nf = *best;
            created.erase(nf.get());
            of->shape_ = nf->shape_;
            of->boxCache_.reset();
            nf = of;
            placed.insert(of.get());
        }
    }
    std::vector<EdgePtr> leavingEdges;
    for (const auto& oe : oldEdges)
        if (!placed.count(oe.get()) && keepsEdge(*oe))
            leavingEdges.push_back(oe);
    leavingEdges.insert(leavingEdges.end(), asideEdges.begin(), asideEdges.end());
    for (const auto& oe : leavingEdges) {
        const Fingerprint want = fingerprintOf(*oe);
        bool done = false;
        for (size_t bi = 0; bi < fresh.size() && !done; ++bi) {
            if (!newBody[bi])
                continue;
            for (auto& ne : fresh[bi]->edges_) {
                if (!created.count(ne.get()))
                    continue;
                if (sameFingerprint(want, printOf(ne))) {
                    created.erase(ne.get());
                    oe->shape_ = ne->shape_;
                    ne = oe;
                    placed.insert(oe.get());
                    done = true;
                    break;
                }
            }
        }
    }

    // Detach what left the part and set aside what is worth keeping (those set aside before
    // first, in their order), then attach the new bodies' faces and edges.
    auto detachAndSetAside = [&](auto& aside, const auto& old, const auto& keeps) {
        std::remove_cvref_t<decltype(aside)> kept;
        for (const auto& entity : aside)
            if (!placed.count(entity.get()))
                kept.push_back(entity);
        for (const auto& entity : old) {
            if (placed.count(entity.get()))
                continue;
            entity->body_.reset();
            if (keeps(*entity))
                kept.push_back(entity);
        }
        aside = std::move(kept);
    };
    detachAndSetAside(asideFaces, oldFaces, keepsFace);
    detachAndSetAside(asideEdges, oldEdges, keepsEdge);
    for (const auto& b : fresh) {
        for (size_t i = 0; i < b->faces_.size(); ++i) {
            b->faces_[i]->body_ = b;
            b->faces_[i]->index_ = static_cast<int>(i);
        }
        for (size_t i = 0; i < b->edges_.size(); ++i) {
            b->edges_[i]->body_ = b;
            b->edges_[i]->index_ = static_cast<int>(i);
        }
    }
    bodies = fresh;

    entityNames.clear();
    for (const auto& b : bodies) {
        for (const auto& f : b->faces_)
            if (!f->name_.empty())
                entityNames[f->name_] = f;
        for (const auto& e : b->edges_)
            if (!e->name_.empty())
                entityNames[e->name_] = e;
    }
}

bool PartDocument::Impl::nameAside(const std::string& name) const {
    for (const auto& f : asideFaces)
        if (f->name_ == name)
            return true;
    for (const auto& e : asideEdges)
        if (e->name_ == name)
            return true;
    return false;
}

bool PartDocument::Impl::inPart(const Object& entity) const {
    BodyPtr body;
    if (auto f = dynamic_cast<const Face*>(&entity))
        body = f->body();
    else if (auto e = dynamic_cast<const Edge*>(&entity))
        body = e->body();
    return body && std::find(bodies.begin(), bodies.end(), body) != bodies.end();
}

} // namespace swsim
