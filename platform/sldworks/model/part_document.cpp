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

// ---- the document ---------------------------------------------------------------------

PartDocument::PartDocument() : impl_(std::make_unique<Impl>(features_)) {}
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

bool PartDocument::nameInUse(const std::string& name, const Feature* except,
                             bool mateReferences) const {
    for (const auto& f : features_)
        if (f.get() != except && f->name() == name &&
            (f->kind() == FeatureKind::MateReference) == mateReferences)
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
    if (name.empty() || featureIndex(feature) < 0 ||
        nameInUse(name, &feature, feature.kind() == FeatureKind::MateReference))
        return false;
    feature.name_ = name;
    modified_ = true;
    return true;
}

bool PartDocument::rebuild() {
    impl_->pending.clear();
    impl_->pendingBoxes.clear();
    bool ok = true;
    // Dimensions that drive a parameter: the active configuration's value shapes the tool.
    for (const auto& d : dimensions_) {
        const auto solid = std::dynamic_pointer_cast<SolidFeature>(d->feature());
        if (!solid || d->drives().empty() || solid->suppressed())
            continue;
        const double wanted = dimensionValue(*d);
        bool differs = false;
        for (const auto& [key, value] : solid->parameters())
            differs = differs || (key == d->drives() && value != wanted);
        std::string error;
        if (differs && !regenerate(*solid, d->drives(), wanted, error)) {
            lastError_ = "rebuild: " + solid->name() + ": " + error;
            ok = false;
        }
    }
    // Patterns follow their seeds' tools.
    for (const auto& f : features_) {
        const auto pattern = std::dynamic_pointer_cast<SolidFeature>(f);
        if (!pattern || pattern->kind() != FeatureKind::Pattern)
            continue;
        bool regenerated = false;
        const auto seeds = pattern->seeds();
        for (std::size_t k = 0; k < seeds.size() && k < pattern->seedTools_.size(); ++k)
            if (const auto seed = std::dynamic_pointer_cast<SolidFeature>(seeds[k]))
                regenerated = regenerated || seed->tool_ != pattern->seedTools_[k];
        std::string error;
        if (regenerated) {
            if (makePatternTool(*pattern, error)) {
                impl_->registerSurfaces(*pattern);
            } else {
                lastError_ = "rebuild: " + pattern->name() + ": " + error;
                ok = false;
            }
        }
    }
    std::vector<BodyState> states;
    // A run of consecutive cuts, applied together as the build applied them.
    std::vector<const SolidFeature*> cuts;
    auto applyRun = [&] {
        std::string error;
        if (!Impl::applyCuts(states, cuts, error)) {
            lastError_ = "rebuild: " + error;
            ok = false;
        }
        cuts.clear();
    };
    for (const auto& f : features_) {
        auto solid = std::dynamic_pointer_cast<SolidFeature>(f);
        if (!solid || solid->suppressed())
            continue;
        if (solid->operation() == SolidFeature::Operation::Cut) {
            if (impl_->cutGroupStarts.count(solid.get()) != 0)
                applyRun();
            cuts.push_back(solid.get());
            continue;
        }
        applyRun();
        std::string error;
        std::vector<BodyState> next = states;
        if (Impl::apply(next, *solid, error)) {
            states = std::move(next);
        } else {
            lastError_ = "rebuild: " + solid->name() + ": " + error;
            ok = false;
        }
    }
    applyRun();
    impl_->install(std::move(states), true);
    ++revision_;
    return ok;
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
    // The plane lies at its first point; the other two only give its directions.
    if (!inModelSpace(p1)) {
        lastError_ = "plane through points: its origin lies outside the model space";
        return nullptr;
    }
    const Vec3 u = p2 - p1;
    const Vec3 v = p3 - p1;
    if (!inConstructionReach(u) || !inConstructionReach(v)) {
        lastError_ = "plane through points: a direction point is not finite or lies beyond the "
                     "reach of the model";
        return nullptr;
    }
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
    if (!inModelSpace(distance) || distance < 0.0) {
        lastError_ = "offset plane: the distance must be a number >= 0 within the model space";
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
    if (!inModelSpace(f.origin)) {
        lastError_ = "offset plane: the plane would lie outside the model space";
        return nullptr;
    }
    auto plane = std::make_shared<RefPlane>(f);
    addFeature(plane, "Plane");
    return plane;
}

RefAxisPtr PartDocument::addAxis(Vec3 p1, Vec3 p2) {
    if (!inModelSpace(p1) || !inModelSpace(p2) || distance(p1, p2) <= 1e-12) {
        lastError_ = "axis: the two points coincide or lie outside the model space";
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
    if (auto face = objectAs<Face>(placement))
        sketch->faceFeature_ = featureOfFace(*face);
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

} // namespace swsim
