// Solid features of a PartDocument: extrusions, revolutions, holes,
// surface copies and cosmetic threads.
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
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <GProp_GProps.hxx>
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

// ---- solid features -------------------------------------------------------------------

namespace {

bool finite(Vec3 v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

const char* extrusionPrefix(bool cut) {
    return cut ? "Cut-Extrude" : "Boss-Extrude";
}

} // namespace

namespace {

bool extrusionTool(const Sketch& sketch, const ExtrudeSpec& request, TopoDS_Shape& tool,
                   std::string& error) {
    TopoDS_Shape profile;
    if (!detail::buildProfile(sketch, profile, error))
        return false;
    Vec3 dir = sketch.frame().zDir;
    if (request.cut != request.reverse)
        dir = -dir;
    return detail::makeExtrusionTool(profile, dir, request.depth1,
                                     request.bothSides ? request.depth2 : 0.0, request.draftAngle,
                                     request.draftInward, tool, error);
}

bool revolutionTool(const Sketch& sketch, const RevolveSpec& request, TopoDS_Shape& tool,
                    std::string& error) {
    const auto axisLine = sketch.firstCentreLine();
    if (!axisLine) {
        error = "the sketch has no centre line";
        return false;
    }
    TopoDS_Shape profile;
    if (!detail::buildProfile(sketch, profile, error))
        return false;
    const double full = 2.0 * std::numbers::pi;
    double a1 = request.angle1;
    double a2 = request.type == RevolveType::TwoDirections ? request.angle2 : 0.0;
    if (!std::isfinite(a1) || !std::isfinite(a2) || a1 < 0.0 || a2 < 0.0) {
        error = "the angles must be finite numbers >= 0";
        return false;
    }
    double start = 0.0;
    double total = a1 + a2;
    if (request.type == RevolveType::MidPlane)
        start = -a1 / 2.0;
    else if (request.type == RevolveType::TwoDirections)
        start = request.reverse ? -a1 : -a2;
    else if (request.reverse)
        start = -a1;
    if (total > full) {
        total = full;
        start = 0.0;
    }
    const Vec3 p = axisLine->start()->modelPosition();
    const Vec3 axis = axisLine->end()->modelPosition() - p;
    return detail::makeRevolutionTool(profile, p, axis, start, total, tool, error);
}

double parameter(const SolidFeature& feature, const std::string& key) {
    for (const auto& [k, v] : feature.parameters())
        if (k == key)
            return v;
    return 0.0;
}

} // namespace

std::vector<std::pair<std::string, double>> detail::holeParameters(const HoleSpec& hole) {
    std::vector<std::pair<std::string, double>> parameters = {
        {"countersinkDiameter", hole.countersinkDiameter},
        {"countersinkAngle", hole.countersinkAngle},
        {"tipAngle", hole.tipAngle}};
    for (size_t i = 0; i < hole.sections.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        parameters.push_back({"startDiameter" + n, hole.sections[i].startDiameter});
        parameters.push_back({"endDiameter" + n, hole.sections[i].endDiameter});
        parameters.push_back({"depth" + n, hole.sections[i].depth});
    }
    return parameters;
}

bool detail::holeFromParameters(const std::vector<std::pair<std::string, double>>& parameters,
                                HoleSpec& hole) {
    if (parameters.size() < 6 || parameters.size() % 3 != 0)
        return false;
    hole.countersinkDiameter = parameters[0].second;
    hole.countersinkAngle = parameters[1].second;
    hole.tipAngle = parameters[2].second;
    hole.sections.clear();
    for (size_t i = 3; i < parameters.size(); i += 3)
        hole.sections.push_back(
            {parameters[i].second, parameters[i + 1].second, parameters[i + 2].second});
    return holeParameters(hole) == parameters;
}

SolidFeaturePtr PartDocument::addExtrusion(const SketchPtr& sketch, const ExtrudeSpec& request) {
    if (!sketch || featureIndex(*sketch) < 0 || sketch->is3D()) {
        lastError_ = "extrusion: no 2D sketch of this part given";
        return nullptr;
    }
    if (activeSketch_ == sketch)
        closeSketch();
    std::string error;
    TopoDS_Shape tool;
    if (!extrusionTool(*sketch, request, tool, error)) {
        lastError_ = "extrusion: " + error;
        return nullptr;
    }
    const auto op = request.cut     ? SolidFeature::Operation::Cut
                    : request.merge ? SolidFeature::Operation::Add
                                    : SolidFeature::Operation::NewBody;
    auto feature = std::make_shared<SolidFeature>(
        FeatureKind::Extrusion,
        request.typeName.empty() ? (request.cut ? "Cut" : "Boss") : request.typeName, op);
    feature->tool_ = makeRef(tool);
    feature->sketch_ = sketch;
    feature->parameters_ = {{"cut", request.cut},
                            {"reverse", request.reverse},
                            {"bothSides", request.bothSides},
                            {"depth1", request.depth1},
                            {"depth2", request.depth2},
                            {"draftAngle", request.draftAngle},
                            {"draftInward", request.draftInward},
                            {"merge", request.merge}};
    if (!addSolidFeature(feature, extrusionPrefix(request.cut), "extrusion"))
        return nullptr;
    addDrivingDimension(feature);
    return feature;
}

SolidFeaturePtr PartDocument::addRevolution(const SketchPtr& sketch, const RevolveSpec& request) {
    if (!sketch || featureIndex(*sketch) < 0 || sketch->is3D()) {
        lastError_ = "revolution: no 2D sketch of this part given";
        return nullptr;
    }
    if (activeSketch_ == sketch)
        closeSketch();
    std::string error;
    TopoDS_Shape tool;
    if (!revolutionTool(*sketch, request, tool, error)) {
        lastError_ = "revolution: " + error;
        return nullptr;
    }
    const auto op = request.cut     ? SolidFeature::Operation::Cut
                    : request.merge ? SolidFeature::Operation::Add
                                    : SolidFeature::Operation::NewBody;
    auto feature = std::make_shared<SolidFeature>(
        FeatureKind::Revolution,
        request.typeName.empty() ? (request.cut ? "RevCut" : "Revolution") : request.typeName, op);
    feature->tool_ = makeRef(tool);
    feature->sketch_ = sketch;
    feature->parameters_ = {{"cut", request.cut},
                            {"reverse", request.reverse},
                            {"type", static_cast<int>(request.type)},
                            {"angle1", request.angle1},
                            {"angle2", request.angle2},
                            {"merge", request.merge}};
    if (!addSolidFeature(feature, request.cut ? "Cut-Revolve" : "Revolve", "revolution"))
        return nullptr;
    addDrivingDimension(feature);
    return feature;
}

bool PartDocument::regenerate(SolidFeature& feature, const std::string& key, double value,
                              std::string& error) {
    const auto sketch = std::dynamic_pointer_cast<Sketch>(feature.sketch());
    if (!sketch) {
        error = "the feature has no sketch to remake it from";
        return false;
    }
    TopoDS_Shape tool;
    if (feature.kind() == FeatureKind::Extrusion) {
        ExtrudeSpec request;
        request.cut = parameter(feature, "cut") != 0.0;
        request.reverse = parameter(feature, "reverse") != 0.0;
        request.bothSides = parameter(feature, "bothSides") != 0.0;
        request.depth1 = parameter(feature, "depth1");
        request.depth2 = parameter(feature, "depth2");
        request.draftAngle = parameter(feature, "draftAngle");
        request.draftInward = parameter(feature, "draftInward") != 0.0;
        if (key == "depth1")
            request.depth1 = value;
        else if (key == "depth2")
            request.depth2 = value;
        else {
            error = "an extrusion has no parameter " + key;
            return false;
        }
        if (!extrusionTool(*sketch, request, tool, error))
            return false;
    } else if (feature.kind() == FeatureKind::Revolution) {
        RevolveSpec request;
        request.cut = parameter(feature, "cut") != 0.0;
        request.reverse = parameter(feature, "reverse") != 0.0;
        request.type = static_cast<RevolveType>(static_cast<int>(parameter(feature, "type")));
        request.angle1 = parameter(feature, "angle1");
        request.angle2 = parameter(feature, "angle2");
        if (key == "angle1")
            request.angle1 = value;
        else if (key == "angle2")
            request.angle2 = value;
        else {
            error = "a revolution has no parameter " + key;
            return false;
        }
        if (!revolutionTool(*sketch, request, tool, error))
            return false;
    } else {
        error = "the feature has no parameter a dimension can drive";
        return false;
    }
    feature.tool_ = makeRef(tool);
    for (auto& [k, v] : feature.parameters_)
        if (k == key)
            v = value;
    impl_->registerSurfaces(feature);
    return true;
}

SolidFeaturePtr PartDocument::addHole(const HoleSpec& request) {
    std::string error;
    TopoDS_Shape tool;
    if (!finite(request.point) || !finite(request.direction)) {
        lastError_ = "hole: the point or direction is not finite";
        return nullptr;
    }
    if (!detail::makeHoleTool(request, tool, error)) {
        lastError_ = "hole: " + error;
        return nullptr;
    }
    auto feature = std::make_shared<SolidFeature>(
        FeatureKind::Hole, request.typeName.empty() ? "HoleWzd" : request.typeName,
        SolidFeature::Operation::Cut);
    feature->tool_ = makeRef(tool);
    feature->parameters_ = detail::holeParameters(request);
    feature->hole_ = request;
    if (!addSolidFeature(feature, "Hole", "hole"))
        return nullptr;
    return feature;
}

bool PartDocument::addSolidFeature(const SolidFeaturePtr& feature, const std::string& prefix,
                                   const std::string& what) {
    // The feature's name is known before the booleans so that new bodies carry it.
    const int savedCounter = nameCounters_[prefix];
    feature->name_ = nextName(prefix);
    if (feature->operation() == SolidFeature::Operation::Cut) {
        // Deferred: checked against the solid bodies' boxes now (a tool that only touches the part
        // removes nothing), applied by flush().
        const Box toolBox = detail::shapeBox(feature->tool().shape);
        bool meets = false;
        for (const auto& b : impl_->bodies)
            if (b->kind() == BodyKind::Solid && detail::boxesOverlap(toolBox, b->box()))
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
        if (impl_->pending.empty())
            impl_->cutGroupStarts.insert(feature.get());
        else
            impl_->cutGroupStarts.erase(feature.get());
        impl_->pending.push_back(feature.get());
        impl_->pendingBoxes.push_back(toolBox);
        ++revision_;
        return true;
    }
    flush();
    std::vector<BodyState> states = impl_->currentStates();
    std::string error;
    const auto solidCount = [](const std::vector<BodyState>& list) {
        return std::count_if(list.begin(), list.end(),
                             [](const BodyState& b) { return b.kind == BodyKind::Solid; });
    };
    const auto solidsBefore = solidCount(states);
    if (!Impl::apply(states, *feature, error)) {
        nameCounters_[prefix] = savedCounter;
        lastError_ = what + ": " + error;
        return false;
    }
    // A boss pattern's copies join the part: one standing apart would be a body of its own.
    if (feature->kind() == FeatureKind::Pattern &&
        feature->operation() == SolidFeature::Operation::Add && solidsBefore > 0 &&
        solidCount(states) > solidsBefore) {
        nameCounters_[prefix] = savedCounter;
        lastError_ = what + ": a copy of the boss would stand apart from the part";
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

MateReferencePtr PartDocument::addMateReference(const std::string& name, const ObjectPtr& entity) {
    flush();
    const bool faceOrEdge = objectAs<Face>(entity) || objectAs<Edge>(entity);
    if (!faceOrEdge || !impl_->inPart(*entity)) {
        lastError_ = "mate reference: the entity is no face or edge of the part";
        return nullptr;
    }
    auto reference = std::make_shared<MateReference>(entity);
    addFeature(reference, "MateReference");
    if (!name.empty() && !nameInUse(name, reference.get(), true))
        reference->name_ = name;
    return reference;
}

} // namespace swsim
