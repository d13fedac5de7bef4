#include "platform/sldworks/model/part_document.h"

#include "platform/sldworks/model/part_impl.h"
#include "platform/sldworks/model/profile.h"

#include <BRepAdaptor_Curve.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_Copy.hxx>
#include <BRepGProp.hxx>
#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <GProp_GProps.hxx>
#include <IGESControl_Reader.hxx>
#include <STEPControl_Reader.hxx>
#include <Standard_Failure.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>

#include <algorithm>
#include <cmath>
#include <numbers>
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

} // namespace

bool PartDocument::Impl::apply(std::vector<BodyState>& states, const SolidFeature& feature,
                               std::string& error) {
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
        TopTools_ListOfShape arguments;
        TopTools_ListOfShape tools;
        for (const auto& s : solids)
            arguments.Append(s.shape);
        for (const auto& t : toolSolids)
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
            if (checkMeets && op == SolidFeature::Operation::Cut &&
                !cutMeetsPart(*boolean, toolSolids, solids)) {
                error = "the cut does not meet the part";
                return false;
            }
            std::vector<TopoDS_Shape> resultSolids;
            std::vector<TopoDS_Shape> ignored;
            explode(boolean->Shape(), resultSolids, ignored);
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
    states = solids;
    states.insert(states.end(), others.begin(), others.end());
    sortStates(states);
    return true;
}

namespace {

Bnd_Box toBnd(const Box& b) {
    Bnd_Box out;
    if (!b.empty)
        out.Update(b.min.x, b.min.y, b.min.z, b.max.x, b.max.y, b.max.z);
    return out;
}

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

} // namespace

bool PartDocument::Impl::pendingNear(Vec3 a, Vec3 b) const {
    for (const Box& box : pendingBoxes)
        if (segmentMeetsBox(a, b, box, 1e-6))
            return true;
    return false;
}

bool PartDocument::Impl::applyCuts(std::vector<BodyState>& states,
                                   const std::vector<const SolidFeature*>& cuts,
                                   std::string& error) {
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
        TopExp::MapShapes(st.shape, TopAbs_EDGE, topo.edgeMap);
        TopExp::MapShapesAndAncestors(st.shape, TopAbs_EDGE, TopAbs_FACE, topo.edgeFaces);
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

    // Names and colours follow a face or edge of equal geometry.
    std::unordered_set<const Object*> placed;
    for (const auto& b : fresh) {
        for (const auto& f : b->faces_)
            placed.insert(f.get());
        for (const auto& e : b->edges_)
            placed.insert(e.get());
    }
    // Faces that changed keep their object when one new face lies on the same underlying
    // surface (faces split or re-made from the same tool surface keep it; of several such
    // faces the nearest). Named or coloured faces are further matched by equal geometry.
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
    for (const auto& of : oldFaces) {
        if (placed.count(of.get()))
            continue;
        const bool keep = !of->name_.empty() || of->colour_.has_value();
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
                const gp_Pnt centre = faceFingerprint(of->shape().shape).centre;
                double bestDistance = 0.0;
                for (FacePtr* c : candidates) {
                    const double d = faceFingerprint((*c)->shape().shape).centre.Distance(centre);
                    if (!best || d < bestDistance) {
                        best = c;
                        bestDistance = d;
                    }
                }
            }
        }
        if (!best && keep) {
            const Fingerprint want = faceFingerprint(of->shape().shape);
            for (size_t bi = 0; bi < fresh.size() && !best; ++bi) {
                if (!newBody[bi])
                    continue;
                for (auto& nf : fresh[bi]->faces_) {
                    if (created.count(nf.get()) &&
                        sameFingerprint(want, faceFingerprint(nf->shape().shape))) {
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
    for (const auto& oe : oldEdges) {
        if (placed.count(oe.get()) || oe->name_.empty())
            continue;
        const Fingerprint want = edgeFingerprint(oe->shape().shape);
        bool done = false;
        for (size_t bi = 0; bi < fresh.size() && !done; ++bi) {
            if (!newBody[bi])
                continue;
            for (auto& ne : fresh[bi]->edges_) {
                if (!created.count(ne.get()))
                    continue;
                if (sameFingerprint(want, edgeFingerprint(ne->shape().shape))) {
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

    // Detach what left the part, then attach the new bodies' faces and edges.
    for (const auto& f : oldFaces)
        if (!placed.count(f.get()))
            f->body_.reset();
    for (const auto& e : oldEdges)
        if (!placed.count(e.get()))
            e->body_.reset();
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

bool PartDocument::Impl::inPart(const Object& entity) const {
    BodyPtr body;
    if (auto f = dynamic_cast<const Face*>(&entity))
        body = f->body();
    else if (auto e = dynamic_cast<const Edge*>(&entity))
        body = e->body();
    return body && std::find(bodies.begin(), bodies.end(), body) != bodies.end();
}

// ---- the document ---------------------------------------------------------------------

PartDocument::PartDocument() : impl_(std::make_unique<Impl>()) {}
PartDocument::~PartDocument() = default;

std::shared_ptr<PartDocument> PartDocument::create() {
    std::shared_ptr<PartDocument> doc(new PartDocument());
    const std::pair<const char*, const char*> items[] = {
        {"Sensors", "SensorFolder"},
        {"Annotations", "DetailCabinet"},
        {"Solid Bodies", "SolidBodyFolder"},
        {"Surface Bodies", "SurfaceBodyFolder"},
        {"Material <not specified>", "MaterialFolder"},
        {"Origin", "OriginProfileFeature"},
    };
    for (const auto& [name, type] : items) {
        auto f = std::make_shared<Feature>(FeatureKind::Item, type);
        f->name_ = name;
        f->document_ = doc;
        doc->features_.push_back(f);
    }
    const std::pair<const char*, Frame> planes[] = {
        {"Front Plane", Frame{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
        {"Top Plane", Frame{{0, 0, 0}, {1, 0, 0}, {0, 0, -1}, {0, 1, 0}}},
        {"Right Plane", Frame{{0, 0, 0}, {0, 0, -1}, {0, 1, 0}, {1, 0, 0}}},
    };
    for (const auto& [name, frame] : planes) {
        auto p = std::make_shared<RefPlane>(frame);
        p->name_ = name;
        p->document_ = doc;
        doc->features_.push_back(p);
    }
    doc->modified_ = false;
    return doc;
}

FeaturePtr PartDocument::firstFeature() const {
    return features_.empty() ? nullptr : features_.front();
}

FeaturePtr PartDocument::nextFeature(const Feature& feature) const {
    const int i = featureIndex(feature);
    if (i < 0 || i + 1 >= static_cast<int>(features_.size()))
        return nullptr;
    return features_[static_cast<size_t>(i + 1)];
}

FeaturePtr PartDocument::newestFeature() const {
    return features_.empty() ? nullptr : features_.back();
}

FeaturePtr PartDocument::findFeature(const std::string& name) const {
    for (const auto& f : features_)
        if (f->name() == name)
            return f;
    return nullptr;
}

int PartDocument::featureIndex(const Feature& feature) const {
    for (size_t i = 0; i < features_.size(); ++i)
        if (features_[i].get() == &feature)
            return static_cast<int>(i);
    return -1;
}

bool PartDocument::nameInUse(const std::string& name, const Feature* except) const {
    for (const auto& f : features_)
        if (f.get() != except && f->name() == name)
            return true;
    return false;
}

std::string PartDocument::nextName(const std::string& prefix) {
    int& n = nameCounters_[prefix];
    std::string name;
    do {
        name = prefix + std::to_string(++n);
    } while (nameInUse(name, nullptr));
    return name;
}

void PartDocument::addFeature(const FeaturePtr& feature, const std::string& namePrefix) {
    feature->name_ = nextName(namePrefix);
    feature->document_ = weak_from_this();
    features_.push_back(feature);
    modified_ = true;
}

bool PartDocument::renameFeature(Feature& feature, const std::string& name) {
    if (name.empty() || featureIndex(feature) < 0 || nameInUse(name, &feature))
        return false;
    feature.name_ = name;
    modified_ = true;
    return true;
}

bool PartDocument::applySuppression(Feature& feature, bool suppressed) {
    if (featureIndex(feature) < 0)
        return false;
    if (feature.suppressed_ == suppressed)
        return true;
    feature.suppressed_ = suppressed;
    modified_ = true;
    if (dynamic_cast<SolidFeature*>(&feature))
        rebuild();
    return true;
}

void PartDocument::rebuild() {
    impl_->pending.clear();
    impl_->pendingBoxes.clear();
    std::vector<BodyState> states;
    std::vector<const SolidFeature*> cuts; // a run of consecutive cuts, applied together
    auto applyRun = [&] {
        std::string error;
        if (!Impl::applyCuts(states, cuts, error))
            lastError_ = "rebuild: " + error;
        cuts.clear();
    };
    for (const auto& f : features_) {
        auto solid = std::dynamic_pointer_cast<SolidFeature>(f);
        if (!solid || solid->suppressed())
            continue;
        if (solid->operation() == SolidFeature::Operation::Cut) {
            cuts.push_back(solid.get());
            continue;
        }
        applyRun();
        std::string error;
        std::vector<BodyState> next = states;
        if (Impl::apply(next, *solid, error))
            states = std::move(next);
        else
            lastError_ = "rebuild: " + solid->name() + ": " + error;
    }
    applyRun();
    impl_->install(std::move(states), true);
    ++revision_;
}

// ---- reference geometry ---------------------------------------------------------------

RefPlanePtr PartDocument::frontPlane() const {
    return std::dynamic_pointer_cast<RefPlane>(findFeature("Front Plane"));
}
RefPlanePtr PartDocument::topPlane() const {
    return std::dynamic_pointer_cast<RefPlane>(findFeature("Top Plane"));
}
RefPlanePtr PartDocument::rightPlane() const {
    return std::dynamic_pointer_cast<RefPlane>(findFeature("Right Plane"));
}

namespace {

bool finite(Vec3 v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The frame of a planar face: origin the model origin projected onto it, normal outward,
// X the model X (or Y, or Z) projected onto the plane.
std::optional<Frame> faceFrame(const Face& face) {
    const SurfaceInfo s = face.surface();
    if (s.kind != SurfaceKind::Plane)
        return std::nullopt;
    Frame f;
    f.zDir = normalized(face.normal());
    f.origin = f.zDir * dot(s.point, f.zDir);
    for (Vec3 axis : {Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1}}) {
        if (std::abs(dot(axis, f.zDir)) < 0.99) {
            f.xDir = normalized(axis - f.zDir * dot(axis, f.zDir));
            break;
        }
    }
    f.yDir = cross(f.zDir, f.xDir);
    return f;
}

} // namespace

RefPlanePtr PartDocument::addPlaneThroughPoints(Vec3 p1, Vec3 p2, Vec3 p3) {
    if (!finite(p1) || !finite(p2) || !finite(p3)) {
        lastError_ = "plane through points: a point is not finite";
        return nullptr;
    }
    const Vec3 u = p2 - p1;
    const Vec3 v = p3 - p1;
    const Vec3 n = cross(u, v);
    const double scale = std::max(norm(u), norm(v));
    if (scale <= 0.0 || norm(n) <= 1e-12 * scale * scale) {
        lastError_ = "plane through points: the points are collinear or coincide";
        return nullptr;
    }
    Frame f;
    f.origin = p1;
    f.xDir = normalized(u);
    f.zDir = normalized(n);
    f.yDir = cross(f.zDir, f.xDir);
    auto plane = std::make_shared<RefPlane>(f);
    addFeature(plane, "Plane");
    return plane;
}

RefPlanePtr PartDocument::addOffsetPlane(const ObjectPtr& reference, double distance, bool flip) {
    if (!std::isfinite(distance) || distance < 0.0) {
        lastError_ = "offset plane: the distance must be a finite number >= 0";
        return nullptr;
    }
    std::optional<Frame> base;
    if (auto p = objectAs<RefPlane>(reference); p && featureIndex(*p) >= 0)
        base = p->frame();
    else if (auto face = objectAs<Face>(reference); face && impl_->inPart(*face))
        base = faceFrame(*face);
    if (!base) {
        lastError_ = "offset plane: the reference is not a plane or planar face of the part";
        return nullptr;
    }
    Frame f = *base;
    f.origin = f.origin + f.zDir * (flip ? -distance : distance);
    auto plane = std::make_shared<RefPlane>(f);
    addFeature(plane, "Plane");
    return plane;
}

RefAxisPtr PartDocument::addAxis(Vec3 p1, Vec3 p2) {
    if (!finite(p1) || !finite(p2) || distance(p1, p2) <= 1e-12) {
        lastError_ = "axis: the two points coincide";
        return nullptr;
    }
    auto axis = std::make_shared<RefAxis>(p1, p2 - p1);
    addFeature(axis, "Axis");
    return axis;
}

RefAxisPtr PartDocument::addAxisFromSelection() {
    std::vector<Vec3> points;
    std::optional<Vec3> planeNormal;
    for (const auto& e : selection_.entries()) {
        if (auto seg = objectAs<SketchSegment>(e.object)) {
            if (seg->kind() == SegmentKind::Line)
                return addAxis(seg->start()->modelPosition(), seg->end()->modelPosition());
        } else if (auto pt = objectAs<SketchPoint>(e.object)) {
            points.push_back(pt->modelPosition());
        } else if (auto plane = objectAs<RefPlane>(e.object)) {
            planeNormal = plane->normal();
        } else if (auto axis = objectAs<RefAxis>(e.object)) {
            return addAxis(axis->point(), axis->point() + axis->direction());
        } else if (auto face = objectAs<Face>(e.object)) {
            const SurfaceInfo s = face->surface();
            if (s.kind == SurfaceKind::Cylinder || s.kind == SurfaceKind::Cone)
                return addAxis(s.point, s.point + s.axis);
            if (s.kind == SurfaceKind::Plane)
                planeNormal = face->normal();
        }
    }
    if (points.size() >= 2)
        return addAxis(points[0], points[1]);
    if (points.size() == 1 && planeNormal)
        return addAxis(points[0], points[0] + *planeNormal);
    lastError_ = "axis: the selection defines no axis";
    return nullptr;
}

// ---- sketches -------------------------------------------------------------------------

SketchPtr PartDocument::openSketch(const ObjectPtr& placement) {
    if (activeSketch_) {
        lastError_ = "sketch: another sketch is open";
        return nullptr;
    }
    std::optional<Frame> frame;
    if (auto p = objectAs<RefPlane>(placement); p && featureIndex(*p) >= 0)
        frame = p->frame();
    else if (auto face = objectAs<Face>(placement); face && impl_->inPart(*face))
        frame = faceFrame(*face);
    if (!frame) {
        lastError_ = "sketch: the placement is not a plane or planar face of the part";
        return nullptr;
    }
    auto sketch = std::make_shared<Sketch>(*frame, false);
    sketch->placement_ = placement;
    addFeature(sketch, "Sketch");
    activeSketch_ = sketch;
    return sketch;
}

SketchPtr PartDocument::openSketchOnSelection() {
    for (const auto& e : selection_.entries()) {
        if (objectAs<RefPlane>(e.object) || objectAs<Face>(e.object))
            return openSketch(e.object);
    }
    lastError_ = "sketch: no plane or face is selected";
    return nullptr;
}

SketchPtr PartDocument::open3DSketch() {
    if (activeSketch_) {
        lastError_ = "sketch: another sketch is open";
        return nullptr;
    }
    auto sketch = std::make_shared<Sketch>(Frame{}, true);
    addFeature(sketch, "3DSketch");
    activeSketch_ = sketch;
    return sketch;
}

bool PartDocument::closeSketch() {
    if (!activeSketch_)
        return false;
    activeSketch_.reset();
    modified_ = true;
    return true;
}

bool PartDocument::editSketch(const SketchPtr& sketch) {
    if (activeSketch_ || !sketch || featureIndex(*sketch) < 0)
        return false;
    activeSketch_ = sketch;
    return true;
}

// ---- solid features -------------------------------------------------------------------

namespace {

const char* extrusionPrefix(bool cut) {
    return cut ? "Cut-Extrude" : "Boss-Extrude";
}

} // namespace

SolidFeaturePtr PartDocument::addExtrusion(const SketchPtr& sketch, const ExtrudeSpec& spec) {
    if (!sketch || featureIndex(*sketch) < 0 || sketch->is3D()) {
        lastError_ = "extrusion: no 2D sketch of this part given";
        return nullptr;
    }
    if (activeSketch_ == sketch)
        closeSketch();
    std::string error;
    TopoDS_Shape profile;
    if (!detail::buildProfile(*sketch, profile, error)) {
        lastError_ = "extrusion: " + error;
        return nullptr;
    }
    Vec3 dir = sketch->frame().zDir;
    if (spec.cut != spec.reverse)
        dir = -dir;
    TopoDS_Shape tool;
    if (!detail::makeExtrusionTool(profile, dir, spec.depth1, spec.bothSides ? spec.depth2 : 0.0,
                                   spec.draftAngle, spec.draftInward, tool, error)) {
        lastError_ = "extrusion: " + error;
        return nullptr;
    }
    const auto op = spec.cut     ? SolidFeature::Operation::Cut
                    : spec.merge ? SolidFeature::Operation::Add
                                 : SolidFeature::Operation::NewBody;
    auto feature = std::make_shared<SolidFeature>(
        FeatureKind::Extrusion, spec.typeName.empty() ? (spec.cut ? "Cut" : "Boss") : spec.typeName,
        op);
    feature->tool_ = makeRef(tool);
    feature->sketch_ = sketch;
    feature->parameters_ = {{"cut", spec.cut},
                            {"reverse", spec.reverse},
                            {"bothSides", spec.bothSides},
                            {"depth1", spec.depth1},
                            {"depth2", spec.depth2},
                            {"draftAngle", spec.draftAngle},
                            {"draftInward", spec.draftInward},
                            {"merge", spec.merge}};
    if (!addSolidFeature(feature, extrusionPrefix(spec.cut), "extrusion"))
        return nullptr;
    return feature;
}

SolidFeaturePtr PartDocument::addRevolution(const SketchPtr& sketch, const RevolveSpec& spec) {
    if (!sketch || featureIndex(*sketch) < 0 || sketch->is3D()) {
        lastError_ = "revolution: no 2D sketch of this part given";
        return nullptr;
    }
    if (activeSketch_ == sketch)
        closeSketch();
    const auto axisLine = sketch->firstCentreLine();
    if (!axisLine) {
        lastError_ = "revolution: the sketch has no centre line";
        return nullptr;
    }
    std::string error;
    TopoDS_Shape profile;
    if (!detail::buildProfile(*sketch, profile, error)) {
        lastError_ = "revolution: " + error;
        return nullptr;
    }
    const double full = 2.0 * std::numbers::pi;
    double a1 = spec.angle1;
    double a2 = spec.type == RevolveType::TwoDirections ? spec.angle2 : 0.0;
    if (!std::isfinite(a1) || !std::isfinite(a2) || a1 < 0.0 || a2 < 0.0) {
        lastError_ = "revolution: the angles must be finite numbers >= 0";
        return nullptr;
    }
    double start = 0.0;
    double total = a1 + a2;
    if (spec.type == RevolveType::MidPlane)
        start = -a1 / 2.0;
    else if (spec.type == RevolveType::TwoDirections)
        start = spec.reverse ? -a1 : -a2;
    else if (spec.reverse)
        start = -a1;
    if (total > full) {
        total = full;
        start = 0.0;
    }
    const Vec3 p = axisLine->start()->modelPosition();
    const Vec3 axis = axisLine->end()->modelPosition() - p;
    TopoDS_Shape tool;
    if (!detail::makeRevolutionTool(profile, p, axis, start, total, tool, error)) {
        lastError_ = "revolution: " + error;
        return nullptr;
    }
    const auto op = spec.cut     ? SolidFeature::Operation::Cut
                    : spec.merge ? SolidFeature::Operation::Add
                                 : SolidFeature::Operation::NewBody;
    auto feature = std::make_shared<SolidFeature>(
        FeatureKind::Revolution,
        spec.typeName.empty() ? (spec.cut ? "RevCut" : "Revolution") : spec.typeName, op);
    feature->tool_ = makeRef(tool);
    feature->sketch_ = sketch;
    feature->parameters_ = {
        {"cut", spec.cut},       {"reverse", spec.reverse}, {"type", static_cast<int>(spec.type)},
        {"angle1", spec.angle1}, {"angle2", spec.angle2},   {"merge", spec.merge}};
    if (!addSolidFeature(feature, spec.cut ? "Cut-Revolve" : "Revolve", "revolution"))
        return nullptr;
    return feature;
}

SolidFeaturePtr PartDocument::addHole(const HoleSpec& spec) {
    std::string error;
    TopoDS_Shape tool;
    if (!finite(spec.point) || !finite(spec.direction)) {
        lastError_ = "hole: the point or direction is not finite";
        return nullptr;
    }
    if (!detail::makeHoleTool(spec, tool, error)) {
        lastError_ = "hole: " + error;
        return nullptr;
    }
    auto feature = std::make_shared<SolidFeature>(FeatureKind::Hole,
                                                  spec.typeName.empty() ? "HoleWzd" : spec.typeName,
                                                  SolidFeature::Operation::Cut);
    feature->tool_ = makeRef(tool);
    feature->parameters_ = {{"countersinkDiameter", spec.countersinkDiameter},
                            {"countersinkAngle", spec.countersinkAngle},
                            {"tipAngle", spec.tipAngle}};
    for (size_t i = 0; i < spec.sections.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        feature->parameters_.push_back({"startDiameter" + n, spec.sections[i].startDiameter});
        feature->parameters_.push_back({"endDiameter" + n, spec.sections[i].endDiameter});
        feature->parameters_.push_back({"depth" + n, spec.sections[i].depth});
    }
    if (!addSolidFeature(feature, "Hole", "hole"))
        return nullptr;
    return feature;
}

SolidFeaturePtr PartDocument::addImportedBody(const std::string& path) {
    TopoDS_Shape shape;
    std::string ext;
    const auto dot = path.find_last_of('.');
    if (dot != std::string::npos)
        for (char c : path.substr(dot + 1))
            ext += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    try {
        if (ext == "step" || ext == "stp") {
            STEPControl_Reader reader;
            if (reader.ReadFile(path.c_str()) != IFSelect_RetDone) {
                lastError_ = "import: cannot read STEP file " + path;
                return nullptr;
            }
            reader.TransferRoots();
            shape = reader.OneShape();
        } else if (ext == "igs" || ext == "iges") {
            IGESControl_Reader reader;
            if (reader.ReadFile(path.c_str()) != IFSelect_RetDone) {
                lastError_ = "import: cannot read IGES file " + path;
                return nullptr;
            }
            reader.TransferRoots();
            shape = reader.OneShape();
        } else if (ext == "brep" || ext == "brp") {
            BRep_Builder builder;
            if (!BRepTools::Read(shape, path.c_str(), builder)) {
                lastError_ = "import: cannot read BREP file " + path;
                return nullptr;
            }
        } else {
            lastError_ = "import: unknown file type of " + path;
            return nullptr;
        }
    } catch (const Standard_Failure& e) {
        lastError_ = "import: " + path + ": " + e.GetMessageString();
        return nullptr;
    }
    if (shape.IsNull()) {
        lastError_ = "import: " + path + " holds no geometry";
        return nullptr;
    }
    auto feature = std::make_shared<SolidFeature>(FeatureKind::ImportedBody, "BaseBody",
                                                  SolidFeature::Operation::NewBody);
    feature->tool_ = makeRef(shape);
    if (!addSolidFeature(feature, "Imported", "import"))
        return nullptr;
    return feature;
}

bool PartDocument::addSolidFeature(const SolidFeaturePtr& feature, const std::string& prefix,
                                   const std::string& what) {
    // The feature's name is known before the booleans so that new bodies carry it.
    const int savedCounter = nameCounters_[prefix];
    feature->name_ = nextName(prefix);
    if (feature->operation() == SolidFeature::Operation::Cut) {
        // Deferred: checked against the solid bodies' boxes now, applied by flush().
        const Box toolBox = shapeBox(feature->tool().shape);
        bool meets = false;
        for (const auto& b : impl_->bodies)
            if (b->kind() == BodyKind::Solid && !toBnd(toolBox).IsOut(toBnd(b->box())))
                meets = true;
        if (!meets) {
            nameCounters_[prefix] = savedCounter;
            lastError_ = what + (impl_->bodies.empty() ? ": there is no solid body to cut"
                                                       : ": the cut does not meet the part");
            return false;
        }
        feature->document_ = weak_from_this();
        features_.push_back(feature);
        modified_ = true;
        impl_->registerSurfaces(*feature);
        impl_->pending.push_back(feature.get());
        impl_->pendingBoxes.push_back(toolBox);
        ++revision_;
        return true;
    }
    flush();
    std::vector<BodyState> states = impl_->currentStates();
    std::string error;
    if (!Impl::apply(states, *feature, error)) {
        nameCounters_[prefix] = savedCounter;
        lastError_ = what + ": " + error;
        return false;
    }
    feature->document_ = weak_from_this();
    features_.push_back(feature);
    modified_ = true;
    impl_->registerSurfaces(*feature);
    impl_->install(std::move(states), false);
    ++revision_;
    return true;
}

SolidFeaturePtr PartDocument::addSurfaceCopy(const FacePtr& face) {
    flush();
    if (!face || !impl_->inPart(*face)) {
        lastError_ = "surface copy: the face is not a face of the part";
        return nullptr;
    }
    // A deep copy, so that the sheet's faces have surfaces of their own.
    const TopoDS_Shape copy = BRepBuilderAPI_Copy(face->shape().shape, true).Shape();
    auto feature = std::make_shared<SolidFeature>(FeatureKind::SurfaceCopy, "RefSurface",
                                                  SolidFeature::Operation::NewBody);
    feature->tool_ = makeRef(copy);
    if (!addSolidFeature(feature, "Surface-Offset", "surface copy"))
        return nullptr;
    return feature;
}

CosmeticThreadPtr PartDocument::addCosmeticThread(const EdgePtr& edge, double diameter,
                                                  double length, const std::string& description) {
    flush();
    if (!edge || !impl_->inPart(*edge)) {
        lastError_ = "cosmetic thread: the edge is not an edge of the part";
        return nullptr;
    }
    if (edge->curve().kind != CurveKind::Circle) {
        lastError_ = "cosmetic thread: the edge is not circular";
        return nullptr;
    }
    if (!(diameter > 0.0) || !(length > 0.0) || !std::isfinite(diameter) ||
        !std::isfinite(length)) {
        lastError_ = "cosmetic thread: diameter and length must be positive";
        return nullptr;
    }
    auto thread = std::make_shared<CosmeticThread>(edge, diameter, length, description);
    addFeature(thread, "Cosmetic Thread");
    return thread;
}

} // namespace swsim
