// Files of a PartDocument: the session's own part format, and STEP and STL copies.
//
// The part format is text: a header line, then tokens separated by white space (numbers,
// words, strings in double quotes with \" and \\ escapes) and length-prefixed blocks
// ("#<bytes>" and a newline, then the bytes) for each solid feature's tool shape as BREP text,
// but a hole's, which is made again from the hole's start point, direction and parameters
// (printing the BREP text of a hundred small tools cost a plate of 100 holes a tenth of its
// conversion). It holds the feature list with its parameters, the sketches' entities, the naming
// counters, the cuts that began a boolean of their own, entity names and face colours by body
// and face index, and the faces and edges set aside with their names and colours (a suppressed
// feature's, as BREP text, so that showing a configuration that has them gives them back); the
// bodies are recomputed by replaying the features when the part is opened, grouping the cuts
// into booleans as the build did.
#include "platform/sldworks/model/part_document.h"

#include "platform/sldworks/model/brep_text.h"
#include "platform/sldworks/model/file_io.h"
#include "platform/sldworks/model/modules.h"
#include "platform/sldworks/model/part_impl.h"
#include "platform/sldworks/model/preview.h"
#include "platform/sldworks/model/profile.h"

#include <BRepBuilderAPI_Transform.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <Standard_Failure.hxx>
#include <TopoDS_Compound.hxx>
#include <gp_Trsf.hxx>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <unordered_map>

namespace swsim {

namespace {

using detail::brepText;
using detail::nonFiniteNumberIn;
using detail::Reader;
using detail::shapeOfBrepText;
using detail::Writer;

// A shape kept as BREP text; `what` names it when it is refused. A number that is not finite
// is refused before OpenCASCADE reads it: its reader spins on such a shape.
TopoDS_Shape readShape(Reader& r, const std::string& what) {
    const std::string brep = r.blob();
    if (const std::string bad = nonFiniteNumberIn(brep); !bad.empty())
        r.fail(what + " holds the number " + bad + ", which is not finite");
    TopoDS_Shape shape = shapeOfBrepText(brep);
    if (shape.IsNull())
        r.fail(what + " cannot be read");
    return shape;
}

constexpr const char* kHeader = "SWSIM-PART 4";
// Version 2 saved every hole's tool as BREP text; version 3 saves a hole's start point and
// direction and makes its tool again from them and its parameters; version 4 adds the feature
// whose face a sketch lies on and the faces and edges set aside, which mate references and
// cosmetic threads may hold (body -1 and their place among them).
constexpr const char* kVersion3Header = "SWSIM-PART 3";
constexpr const char* kVersion2Header = "SWSIM-PART 2";

const char* kindWord(FeatureKind k) {
    switch (k) {
    case FeatureKind::Item:
        return "item";
    case FeatureKind::RefPlane:
        return "plane";
    case FeatureKind::RefAxis:
        return "axis";
    case FeatureKind::Sketch:
        return "sketch";
    case FeatureKind::Sketch3D:
        return "sketch3d";
    case FeatureKind::Extrusion:
        return "extrusion";
    case FeatureKind::Revolution:
        return "revolution";
    case FeatureKind::Loft:
        return "loft";
    case FeatureKind::Hole:
        return "hole";
    case FeatureKind::ImportedBody:
        return "imported";
    case FeatureKind::CosmeticThread:
        return "thread";
    case FeatureKind::SurfaceCopy:
        return "surface";
    case FeatureKind::MateReference:
        return "materef";
    case FeatureKind::Pattern:
        return "pattern";
    }
    return "item";
}

// A plane's or sketch's frame, whose origin lies in the model space.
Frame modelFrame(Reader& r) {
    const Frame f = r.frame();
    if (!inModelSpace(f.origin))
        r.fail("a position lies outside the model space");
    return f;
}

} // namespace

std::string PartDocument::fileText() const {
    flush();
    Writer w;
    w.word("counters").integer(static_cast<long long>(nameCounters_.size())).line();
    for (const auto& [prefix, n] : nameCounters_)
        w.str(prefix).integer(n).line();

    auto bodyIndex = [&](const BodyPtr& b) -> long long {
        for (size_t i = 0; i < impl_->bodies.size(); ++i)
            if (impl_->bodies[i] == b)
                return static_cast<long long>(i);
        return -1;
    };

    // Where a face or edge set aside stands among them; -1 when it is not there.
    auto asideIndex = [](const auto& aside, const auto& entity) -> long long {
        for (size_t i = 0; i < aside.size(); ++i)
            if (entity && aside[i] == entity)
                return static_cast<long long>(i);
        return -1;
    };

    w.word("features").integer(static_cast<long long>(features_.size())).line();
    for (const auto& f : features_) {
        w.about("feature \"" + f->name() + "\"");
        w.word("feature").word(kindWord(f->kind())).str(f->typeName()).str(f->name());
        w.integer(f->hidden()).integer(f->suppressed()).line();
        if (auto p = std::dynamic_pointer_cast<RefPlane>(f)) {
            w.frame(p->frame()).line();
        } else if (auto a = std::dynamic_pointer_cast<RefAxis>(f)) {
            w.vec(a->point()).vec(a->direction()).line();
        } else if (auto s = std::dynamic_pointer_cast<Sketch>(f)) {
            const auto placement = std::dynamic_pointer_cast<Feature>(s->placement());
            w.frame(s->frame()).integer(placement ? featureIndex(*placement) : -1);
            const auto faceFeature = s->faceFeature();
            w.integer(faceFeature ? featureIndex(*faceFeature) : -1);
            w.integer(s->lineCount_).integer(s->arcCount_).integer(s->pointCount_).line();
            // Indices by entity, so that a long sketch is written in time linear in its size.
            std::unordered_map<const Object*, long long> pointIndices;
            for (size_t i = 0; i < s->points_.size(); ++i)
                pointIndices.emplace(s->points_[i].get(), static_cast<long long>(i));
            std::unordered_map<const Object*, long long> segmentIndices;
            for (size_t i = 0; i < s->segments_.size(); ++i)
                segmentIndices.emplace(s->segments_[i].get(), static_cast<long long>(i));
            auto pointIndex = [&](const SketchPointPtr& p) -> long long {
                const auto found = pointIndices.find(p.get());
                return found == pointIndices.end() ? -1 : found->second;
            };
            w.word("points").integer(static_cast<long long>(s->points_.size())).line();
            for (const auto& p : s->points_)
                w.str(p->name()).vec(p->position()).line();
            w.word("segments").integer(static_cast<long long>(s->segments_.size())).line();
            for (const auto& g : s->segments_) {
                w.integer(static_cast<int>(g->kind())).str(g->name()).integer(g->centreLine());
                w.integer(pointIndex(g->start())).integer(pointIndex(g->end()));
                w.integer(pointIndex(g->centre())).vec(g->middle()).num(g->radius()).line();
            }
            w.word("constraints").integer(static_cast<long long>(s->constraints_.size())).line();
            for (const auto& c : s->constraints_) {
                w.integer(c->kind()).integer(static_cast<long long>(c->entities().size()));
                for (const auto& e : c->entities()) {
                    if (auto p = objectAs<SketchPoint>(e)) {
                        w.word("p").integer(pointIndex(p));
                    } else {
                        const auto found = segmentIndices.find(e.get());
                        w.word("s").integer(found == segmentIndices.end() ? -1 : found->second);
                    }
                }
                w.line();
            }
        } else if (auto sf = std::dynamic_pointer_cast<SolidFeature>(f)) {
            const auto sketch = sf->sketch();
            w.integer(static_cast<int>(sf->operation()));
            w.integer(sketch ? featureIndex(*sketch) : -1);
            w.integer(static_cast<long long>(sf->parameters().size())).line();
            const auto seeds = sf->seeds();
            std::size_t seedNumber = 0;
            for (const auto& [key, value] : sf->parameters()) {
                double written = value;
                if (key == "seed" && seedNumber < seeds.size()) {
                    const auto& seed = seeds[seedNumber++];
                    written = seed ? static_cast<double>(featureIndex(*seed)) : value;
                }
                w.str(key).num(written).line();
            }
            if (sf->hole_)
                w.word("hole").vec(sf->hole_->point).vec(sf->hole_->direction).line();
            else
                w.shape(brepText(sf->tool().shape));
        } else if (auto t = std::dynamic_pointer_cast<CosmeticThread>(f)) {
            const BodyPtr b = t->edge() ? t->edge()->body() : nullptr;
            w.num(t->diameter()).num(t->length()).str(t->description());
            w.integer(b ? bodyIndex(b) : -1);
            w.integer(b ? t->edge()->index() : asideIndex(impl_->asideEdges, t->edge())).line();
        } else if (auto m = std::dynamic_pointer_cast<MateReference>(f)) {
            const auto face = objectAs<Face>(m->entity());
            const auto edge = objectAs<Edge>(m->entity());
            const BodyPtr b = face ? face->body() : edge ? edge->body() : nullptr;
            w.word(face ? "face" : "edge").integer(b ? bodyIndex(b) : -1);
            w.integer(b      ? (face ? face->index() : edge->index())
                      : face ? asideIndex(impl_->asideFaces, face)
                             : asideIndex(impl_->asideEdges, edge))
                .line();
        }
    }

    // The cuts that began a boolean of their own, so that the replay groups cuts as the build
    // did and the bodies and faces come in the order the names below are saved by.
    std::vector<long long> groupStarts;
    for (size_t i = 0; i < features_.size(); ++i) {
        const auto sf = std::dynamic_pointer_cast<SolidFeature>(features_[i]);
        if (sf && sf->operation() == SolidFeature::Operation::Cut &&
            impl_->cutGroupStarts.count(sf.get()) != 0)
            groupStarts.push_back(static_cast<long long>(i));
    }
    w.word("cutgroups").integer(static_cast<long long>(groupStarts.size()));
    for (const long long i : groupStarts)
        w.integer(i);
    w.line();

    long long named = 0;
    long long coloured = 0;
    for (const auto& b : impl_->bodies) {
        for (const auto& f : b->faces()) {
            named += !f->name().empty();
            coloured += f->colour().has_value();
        }
        for (const auto& e : b->edges())
            named += !e->name().empty();
    }
    w.word("names").integer(named).line();
    for (size_t bi = 0; bi < impl_->bodies.size(); ++bi) {
        const auto& b = impl_->bodies[bi];
        for (const auto& f : b->faces())
            if (!f->name().empty())
                w.word("face")
                    .integer(static_cast<long long>(bi))
                    .integer(f->index())
                    .str(f->name())
                    .line();
        for (const auto& e : b->edges())
            if (!e->name().empty())
                w.word("edge")
                    .integer(static_cast<long long>(bi))
                    .integer(e->index())
                    .str(e->name())
                    .line();
    }
    w.word("hidden").integer(static_cast<long long>(hiddenBodies_.size()));
    for (const auto& name : hiddenBodies_)
        w.str(name);
    w.line();
    w.about("a face colour").word("colours").integer(coloured).line();
    for (size_t bi = 0; bi < impl_->bodies.size(); ++bi)
        for (const auto& f : impl_->bodies[bi]->faces())
            if (f->colour())
                w.integer(static_cast<long long>(bi))
                    .integer(f->index())
                    .num(f->colour()->r)
                    .num(f->colour()->g)
                    .num(f->colour()->b)
                    .line();

    w.about("a face or edge set aside")
        .word("aside")
        .integer(static_cast<long long>(impl_->asideFaces.size() + impl_->asideEdges.size()))
        .line();
    for (const auto& f : impl_->asideFaces) {
        w.word("face").str(f->name()).integer(f->colour().has_value());
        if (f->colour())
            w.num(f->colour()->r).num(f->colour()->g).num(f->colour()->b);
        w.line();
        w.shape(brepText(f->shape().shape));
    }
    for (const auto& e : impl_->asideEdges) {
        w.word("edge").str(e->name()).integer(0).line();
        w.shape(brepText(e->shape().shape));
    }

    w.about("the document's settings");
    writeCommon(w);
    auto dimensionIndex = [&](const Object* d) -> long long {
        for (size_t i = 0; i < dimensions_.size(); ++i)
            if (dimensions_[i].get() == d)
                return static_cast<long long>(i);
        return -1;
    };
    w.word("dimensions").integer(static_cast<long long>(dimensions_.size())).line();
    for (const auto& d : dimensions_) {
        const auto f = d->feature();
        w.about("dimension \"" + d->fullName() + "\"");
        w.integer(f ? featureIndex(*f) : -1).str(d->name()).integer(d->type()).num(d->value());
        w.str(d->drives()).line();
    }
    w.word("configstate").line();
    for (const auto& c : configurations()) {
        w.about("configuration \"" + c->name() + "\"");
        long long listed = 0;
        for (const Object* o : c->suppressed)
            for (const auto& f : features_)
                listed += f.get() == o;
        w.word("suppressed").integer(listed);
        for (const Object* o : c->suppressed)
            for (size_t i = 0; i < features_.size(); ++i)
                if (features_[i].get() == o)
                    w.integer(static_cast<long long>(i));
        w.line();
        w.word("values").integer(static_cast<long long>(c->dimensionValues.size()));
        for (const auto& [d, value] : c->dimensionValues)
            w.integer(dimensionIndex(d)).num(value);
        w.line();
    }
    w.word("end").line();
    return detail::sealedFile(kHeader, w.text());
}

void PartDocument::readAside(Reader& r) {
    r.expect("aside");
    for (int k = 0, n = r.count(); k < n; ++k) {
        const std::string what = r.token();
        if (what != "face" && what != "edge")
            r.fail("unknown entity set aside \"" + what.substr(0, 40) + "\"");
        const bool isFace = what == "face";
        const std::string name = r.str();
        std::optional<Rgb> colour;
        if (r.flag()) {
            if (!isFace)
                r.fail("an edge set aside has a colour");
            Rgb c;
            c.r = r.num();
            c.g = r.num();
            c.b = r.num();
            colour = c;
        }
        const TopoDS_Shape shape = readShape(r, "the " + what + " set aside as \"" + name + "\"");
        if (shape.ShapeType() != (isFace ? TopAbs_FACE : TopAbs_EDGE))
            r.fail("the " + what + " set aside as \"" + name + "\" cannot be read");
        if (!name.empty() && (findEntityByName(name) || impl_->nameAside(name)))
            r.fail("the entity name \"" + name + "\" is used twice");
        if (isFace) {
            auto face = std::make_shared<Face>(detail::makeRef(shape));
            face->name_ = name;
            face->colour_ = colour;
            impl_->asideFaces.push_back(std::move(face));
        } else {
            auto edge = std::make_shared<Edge>(detail::makeRef(shape));
            edge->name_ = name;
            impl_->asideEdges.push_back(std::move(edge));
        }
    }
}

std::shared_ptr<PartDocument> PartDocument::open(const std::string& path) {
    return openText(detail::fileText(path), path);
}

std::shared_ptr<PartDocument> PartDocument::openText(const std::string& text,
                                                     const std::string& path) {
    Reader r(std::string(detail::checkedBody(text, kHeader, path, "a part file",
                                             {kVersion3Header, kVersion2Header})),
             path);
    // Files before version 4 name no sketch's face feature and set nothing aside.
    const bool version4 =
        text.substr(0, std::string(kHeader).size() + 1) == std::string(kHeader) + " ";

    std::shared_ptr<PartDocument> doc(new PartDocument());
    r.expect("counters");
    for (int i = 0, n = r.count(); i < n; ++i) {
        const std::string prefix = r.str();
        doc->nameCounters_[prefix] = static_cast<int>(r.integer(0, 1'000'000'000));
    }
    r.expect("features");
    const int featureCount = r.count();
    struct ThreadRef {
        std::shared_ptr<CosmeticThread> thread;
        long long body, edge;
    };
    std::vector<ThreadRef> threads;
    struct MateRef {
        std::shared_ptr<MateReference> reference;
        bool face;
        long long body, entity;
    };
    std::vector<MateRef> mateRefs;
    for (int i = 0; i < featureCount; ++i) {
        r.expect("feature");
        const std::string kind = r.token();
        const std::string type = r.str();
        const std::string name = r.str();
        const bool hidden = r.flag();
        const bool suppressed = r.flag();
        FeaturePtr f;
        if (kind == "item") {
            f = std::make_shared<Feature>(FeatureKind::Item, type);
        } else if (kind == "plane") {
            f = std::make_shared<RefPlane>(modelFrame(r));
        } else if (kind == "axis") {
            const Vec3 p = r.point();
            f = std::make_shared<RefAxis>(p, r.vec());
        } else if (kind == "sketch" || kind == "sketch3d") {
            auto s = std::make_shared<Sketch>(modelFrame(r), kind == "sketch3d");
            const long long placement = r.integer(-1, i - 1);
            if (placement >= 0)
                s->placement_ = doc->features_[static_cast<size_t>(placement)];
            const long long faceFeature = version4 ? r.integer(-1, i - 1) : -1;
            if (faceFeature >= 0)
                s->faceFeature_ = doc->features_[static_cast<size_t>(faceFeature)];
            s->lineCount_ = static_cast<int>(r.integer(0, 1'000'000'000));
            s->arcCount_ = static_cast<int>(r.integer(0, 1'000'000'000));
            s->pointCount_ = static_cast<int>(r.integer(0, 1'000'000'000));
            r.expect("points");
            for (int k = 0, n = r.count(); k < n; ++k) {
                const std::string pname = r.str();
                auto p = std::make_shared<SketchPoint>(pname, r.sketchPosition());
                p->sketch_ = s;
                s->points_.push_back(p);
            }
            auto point = [&](long long idx) -> SketchPointPtr {
                if (idx < -1 || idx >= static_cast<long long>(s->points_.size()))
                    r.fail("a sketch point index is out of range");
                return idx < 0 ? nullptr : s->points_[static_cast<size_t>(idx)];
            };
            r.expect("segments");
            for (int k = 0, n = r.count(); k < n; ++k) {
                auto g = std::make_shared<SketchSegment>();
                g->kind_ = static_cast<SegmentKind>(r.integer(0, 2));
                g->name_ = r.str();
                g->centreLine_ = r.flag();
                g->start_ = point(r.integer(-1, 1'000'000'000));
                g->end_ = point(r.integer(-1, 1'000'000'000));
                g->centre_ = point(r.integer(-1, 1'000'000'000));
                g->middle_ = r.sketchPosition();
                g->radius_ = r.num();
                if (!inConstructionReach(g->radius_))
                    r.fail("a sketch radius lies beyond the reach of the model");
                const bool ends = g->start_ && g->end_;
                if ((g->kind_ != SegmentKind::Circle && !ends) ||
                    (g->kind_ != SegmentKind::Line && !g->centre_))
                    r.fail("a sketch segment lacks its points");
                g->sketch_ = s;
                s->segments_.push_back(g);
            }
            if (!s->fitsModelSpace())
                r.fail("a sketch entity lies outside the model space");
            r.expect("constraints");
            for (int k = 0, n = r.count(); k < n; ++k) {
                const int ckind = r.int32();
                std::vector<ObjectPtr> entities;
                for (int m = 0, count = r.count(); m < count; ++m) {
                    const std::string what = r.token();
                    const long long idx = r.integer(0, 1'000'000'000);
                    if (what == "p" && idx < static_cast<long long>(s->points_.size()))
                        entities.push_back(s->points_[static_cast<size_t>(idx)]);
                    else if (what == "s" && idx < static_cast<long long>(s->segments_.size()))
                        entities.push_back(s->segments_[static_cast<size_t>(idx)]);
                    else
                        r.fail("a constraint names no entity of its sketch");
                }
                s->constraints_.push_back(std::make_shared<SketchConstraint>(ckind, entities));
            }
            f = s;
        } else if (kind == "extrusion" || kind == "revolution" || kind == "loft" ||
                   kind == "hole" || kind == "imported" || kind == "surface" || kind == "pattern") {
            const auto op = static_cast<SolidFeature::Operation>(r.integer(0, 2));
            const long long sketch = r.integer(-1, i - 1);
            const FeatureKind fk = kind == "extrusion"    ? FeatureKind::Extrusion
                                   : kind == "revolution" ? FeatureKind::Revolution
                                   : kind == "loft"       ? FeatureKind::Loft
                                   : kind == "hole"       ? FeatureKind::Hole
                                   : kind == "surface"    ? FeatureKind::SurfaceCopy
                                   : kind == "pattern"    ? FeatureKind::Pattern
                                                          : FeatureKind::ImportedBody;
            auto sf = std::make_shared<SolidFeature>(fk, type, op);
            if (sketch >= 0)
                sf->sketch_ = doc->features_[static_cast<size_t>(sketch)];
            for (int k = 0, n = r.count(); k < n; ++k) {
                const std::string key = r.str();
                sf->parameters_.push_back({key, r.num()});
            }
            TopoDS_Shape shape;
            if (fk == FeatureKind::Hole && r.peek() == "hole") {
                r.expect("hole");
                HoleSpec hole;
                hole.point = r.point();
                hole.direction = r.vec();
                hole.typeName = type;
                std::string error = "its parameters are not those of a hole";
                if (!detail::holeFromParameters(sf->parameters_, hole) ||
                    !detail::makeHoleTool(hole, shape, error))
                    r.fail("the hole \"" + name + "\" cannot be made: " + error);
                sf->hole_ = hole;
            } else {
                shape = readShape(r, "the shape of feature \"" + name + "\"");
            }
            sf->tool_ = detail::makeRef(shape);
            if (fk == FeatureKind::Pattern) {
                std::vector<long long> seeds;
                const bool fits =
                    detail::patternFromParameters(sf->parameters_, sf->pattern_, seeds) &&
                    !seeds.empty() && std::all_of(seeds.begin(), seeds.end(), [&](long long s) {
                        return s >= 0 && s < i &&
                               std::dynamic_pointer_cast<SolidFeature>(
                                   doc->features_[static_cast<size_t>(s)]);
                    });
                if (!fits)
                    r.fail("the pattern \"" + name + "\" does not fit the part");
                for (long long s : seeds) {
                    const auto seed = std::static_pointer_cast<SolidFeature>(
                        doc->features_[static_cast<size_t>(s)]);
                    sf->seeds_.push_back(seed);
                    sf->seedTools_.push_back(seed->tool_);
                }
            }
            f = sf;
        } else if (kind == "thread") {
            const double diameter = r.num();
            const double length = r.num();
            const std::string description = r.str();
            auto t = std::make_shared<CosmeticThread>(nullptr, diameter, length, description);
            const long long body = r.integer(-1, 1'000'000'000);
            threads.push_back({t, body, r.integer(-1, 1'000'000'000)});
            f = t;
        } else if (kind == "materef") {
            auto m = std::make_shared<MateReference>(nullptr);
            const bool onFace = r.token() == "face";
            const long long body = r.integer(-1, 1'000'000'000);
            mateRefs.push_back({m, onFace, body, r.integer(-1, 1'000'000'000)});
            f = m;
        } else {
            r.fail("unknown feature kind \"" + kind.substr(0, 40) + "\"");
        }
        if (f->typeName() != type && kind != "item")
            r.fail("feature \"" + name + "\" has the wrong type name");
        if (name.empty() || doc->nameInUse(name, nullptr, kind == "materef"))
            r.fail("feature name \"" + name + "\" is empty or used twice");
        f->name_ = name;
        f->hidden_ = hidden;
        f->suppressed_ = suppressed;
        f->document_ = doc;
        doc->features_.push_back(f);
        if (auto sf = std::dynamic_pointer_cast<SolidFeature>(f))
            doc->impl_->registerSurfaces(*sf);
    }

    // Files written before cuts kept their grouping have no such line: their runs of cuts are
    // replayed together.
    if (r.peek() == "cutgroups") {
        r.expect("cutgroups");
        for (int k = 0, n = r.count(); k < n; ++k) {
            const auto cut = std::dynamic_pointer_cast<SolidFeature>(
                doc->features_[static_cast<size_t>(r.integer(0, featureCount - 1))]);
            if (!cut || cut->operation() != SolidFeature::Operation::Cut)
                r.fail("a cut group does not begin with a cut");
            doc->impl_->cutGroupStarts.insert(cut.get());
        }
    }
    doc->rebuild();
    doc->lastError_.clear();
    const auto& bodies = doc->impl_->bodies;
    auto face = [&](long long b, long long i) -> FacePtr {
        if (b < 0 || b >= static_cast<long long>(bodies.size()) || i < 0 ||
            i >= static_cast<long long>(bodies[static_cast<size_t>(b)]->faces().size()))
            return nullptr;
        return bodies[static_cast<size_t>(b)]->faces()[static_cast<size_t>(i)];
    };
    auto edge = [&](long long b, long long i) -> EdgePtr {
        if (b < 0 || b >= static_cast<long long>(bodies.size()) || i < 0 ||
            i >= static_cast<long long>(bodies[static_cast<size_t>(b)]->edges().size()))
            return nullptr;
        return bodies[static_cast<size_t>(b)]->edges()[static_cast<size_t>(i)];
    };
    for (auto& t : threads)
        t.thread->edge_ = edge(t.body, t.edge);
    for (auto& m : mateRefs) {
        m.reference->entity_ =
            m.face ? ObjectPtr(face(m.body, m.entity)) : ObjectPtr(edge(m.body, m.entity));
    }

    r.expect("names");
    for (int k = 0, n = r.count(); k < n; ++k) {
        const std::string what = r.token();
        const long long b = r.integer(0, 1'000'000'000);
        const long long i = r.integer(0, 1'000'000'000);
        const std::string name = r.str();
        ObjectPtr entity;
        if (what == "face")
            entity = face(b, i);
        else if (what == "edge")
            entity = edge(b, i);
        else
            r.fail("unknown named entity \"" + what.substr(0, 40) + "\"");
        if (!entity || !doc->setEntityName(entity, name))
            r.fail("the entity name \"" + name + "\" does not fit the part");
    }
    // Files written before bodies could be hidden have no such line.
    if (r.peek() == "hidden") {
        r.expect("hidden");
        for (int k = 0, n = r.count(); k < n; ++k)
            doc->hiddenBodies_.insert(r.str());
    }
    r.expect("colours");
    for (int k = 0, n = r.count(); k < n; ++k) {
        const long long b = r.integer(0, 1'000'000'000);
        const long long i = r.integer(0, 1'000'000'000);
        Rgb c;
        c.r = r.num();
        c.g = r.num();
        c.b = r.num();
        if (!doc->setFaceColour(face(b, i), c))
            r.fail("a face colour does not fit the part");
    }
    if (version4)
        doc->readAside(r);
    // Mate references and cosmetic threads on a face or edge set aside (body -1) hold it
    // there; without such a face or edge (older files) they hold nothing.
    auto aside = [](const auto& list, long long i) {
        return i >= 0 && i < static_cast<long long>(list.size()) ? list[static_cast<size_t>(i)]
                                                                 : nullptr;
    };
    for (auto& t : threads)
        if (t.body < 0)
            t.thread->edge_ = aside(doc->impl_->asideEdges, t.edge);
    for (auto& m : mateRefs)
        if (m.body < 0)
            m.reference->entity_ = m.face ? ObjectPtr(aside(doc->impl_->asideFaces, m.entity))
                                          : ObjectPtr(aside(doc->impl_->asideEdges, m.entity));
    // Files written before configurations were kept end here.
    if (r.peek() == "document") {
        doc->readCommon(r);
        r.expect("dimensions");
        for (int k = 0, n = r.count(); k < n; ++k) {
            const long long fi = r.integer(0, featureCount - 1);
            const std::string dname = r.str();
            const int dtype = r.int32();
            const double value = r.num();
            const std::string drives = r.str();
            if (!doc->addDimension(doc->features_[static_cast<size_t>(fi)], dname, dtype, value,
                                   drives))
                r.fail("dimension \"" + dname + "\" does not fit its feature");
        }
        r.expect("configstate");
        for (const auto& c : doc->configurations()) {
            r.expect("suppressed");
            for (int k = 0, n = r.count(); k < n; ++k)
                c->setSuppressed(
                    doc->features_[static_cast<size_t>(r.integer(0, featureCount - 1))].get(),
                    true);
            r.expect("values");
            for (int k = 0, n = r.count(); k < n; ++k) {
                const long long di =
                    r.integer(0, static_cast<long long>(doc->dimensions_.size()) - 1);
                c->dimensionValues[doc->dimensions_[static_cast<size_t>(di)].get()] = r.num();
            }
        }
    }
    r.expect("end");
    doc->path_ = path;
    doc->modified_ = false;
    return doc;
}

// ---- copies for other programs --------------------------------------------------------

namespace detail {

void writeStepFile(const TopoDS_Shape& shape, const std::string& path) {
    if (std::string error = exchangeModule("export").writeStep(shape, path); !error.empty())
        throw ModelError(error);
}

// The shape with its faces' colours, through an XDE document (surface colours).
void writeColouredStepFile(const TopoDS_Shape& shape,
                           const std::vector<std::pair<TopoDS_Shape, Rgb>>& colours,
                           const std::string& path) {
    const exchange::XdeApi& module = xdeModule("export");
    std::vector<exchange::ColouredFace> faces;
    faces.reserve(colours.size());
    for (const auto& [face, rgb] : colours)
        faces.push_back({face, {rgb.r, rgb.g, rgb.b}});
    if (std::string error = module.writeColouredStep(shape, faces, path); !error.empty())
        throw ModelError(error);
}

void writeStlFile(const TopoDS_Shape& original, const std::string& path, bool asciiStl,
                  double scale) {
    if (!std::isfinite(scale) || scale <= 0.0)
        throw ModelError("export " + path + ": the scale must be a positive number");
    try {
        TopoDS_Shape shape = original;
        if (scale != 1.0) {
            gp_Trsf t;
            t.SetScale(gp_Pnt(0, 0, 0), scale);
            shape = BRepBuilderAPI_Transform(shape, t, true).Shape();
        }
        const Box b = shapeBox(shape);
        const double size = b.empty ? 1.0 : distance(b.min, b.max);
        const exchange::StlApi& module = stlModule("export");
        BRepMesh_IncrementalMesh mesh(shape, std::max(1e-6, size * 1e-3), false, 0.3, false);
        if (std::string error = module.writeStl(shape, path, asciiStl); !error.empty())
            throw ModelError(error);
    } catch (const Standard_Failure& e) {
        throw ModelError("export " + path + ": " + e.GetMessageString());
    }
}

} // namespace detail

void PartDocument::exportStep(const std::string& path) const {
    flush();
    const std::vector<BodyPtr> shown = shownBodies();
    std::vector<std::pair<TopoDS_Shape, Rgb>> colours;
    for (const auto& body : shown)
        for (const auto& face : body->faces())
            if (face->colour())
                colours.emplace_back(face->shape().shape, *face->colour());
    if (colours.empty())
        detail::writeStepFile(detail::compoundOf(shown), path);
    else
        detail::writeColouredStepFile(detail::compoundOf(shown), colours, path);
}

void PartDocument::exportStl(const std::string& path, bool asciiStl, double scale) const {
    flush();
    detail::writeStlFile(detail::compoundOf(shownBodies()), path, asciiStl, scale);
}

} // namespace swsim
