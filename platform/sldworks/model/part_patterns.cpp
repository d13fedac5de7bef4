// Patterns of a PartDocument (one feature that repeats another solid feature's tool) and the
// deletion of features with their children.
#include "platform/sldworks/model/part_document.h"

#include "platform/sldworks/model/part_impl.h"

#include <BRepBuilderAPI_Transform.hxx>
#include <BRep_Builder.hxx>
#include <Standard_Failure.hxx>
#include <TopoDS_Compound.hxx>
#include <gp_Ax1.hxx>
#include <gp_Trsf.hxx>

#include <algorithm>
#include <cmath>
#include <set>

namespace swsim {

int PatternSpec::instanceCount() const {
    switch (kind) {
    case Kind::Linear:
        return count1 * count2;
    case Kind::Circular:
        return count;
    case Kind::Sketch:
        return static_cast<int>(offsets.size()) + 1;
    }
    return 0;
}

namespace {

bool finite(Vec3 v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Why the spec cannot make a pattern ("" when it can).
std::string specProblem(const PatternSpec& spec) {
    constexpr int kMaxInstances = 100000;
    switch (spec.kind) {
    case PatternSpec::Kind::Linear:
        if (spec.count1 < 1 || spec.count2 < 1 || spec.count1 > kMaxInstances ||
            spec.count2 > kMaxInstances / spec.count1)
            return "the counts must be at least 1";
        if ((spec.count1 > 1 && (!(std::abs(spec.spacing1) > 1e-9) || !std::isfinite(spec.spacing1) ||
                                 !(norm(spec.dir1) > 1e-9) || !finite(spec.dir1))) ||
            (spec.count2 > 1 && (!(std::abs(spec.spacing2) > 1e-9) || !std::isfinite(spec.spacing2) ||
                                 !(norm(spec.dir2) > 1e-9) || !finite(spec.dir2))))
            return "a direction with more than one instance needs a line and a spacing";
        break;
    case PatternSpec::Kind::Circular:
        if (spec.count < 1 || spec.count > kMaxInstances)
            return "the count must be at least 1";
        if (!(std::abs(spec.angle) > 1e-12) || !std::isfinite(spec.angle) ||
            !(norm(spec.axisDirection) > 1e-9) || !finite(spec.axisDirection) ||
            !finite(spec.axisPoint))
            return "the pattern needs an axis and an angle";
        break;
    case PatternSpec::Kind::Sketch:
        if (spec.offsets.size() > static_cast<std::size_t>(kMaxInstances))
            return "too many instances";
        for (const Vec3& v : spec.offsets)
            if (!finite(v))
                return "an instance point is not finite";
        break;
    }
    if (spec.instanceCount() < 2)
        return "the pattern has no instance besides the seed";
    return "";
}

gp_Trsf instanceTransform(const PatternSpec& spec, int k) {
    gp_Trsf t;
    switch (spec.kind) {
    case PatternSpec::Kind::Linear: {
        const int c = k / spec.count2;
        const int r = k % spec.count2;
        Vec3 move{};
        if (c != 0)
            move = move + normalized(spec.dir1) * (c * spec.spacing1);
        if (r != 0)
            move = move + normalized(spec.dir2) * (r * spec.spacing2);
        t.SetTranslation(detail::toVec(move));
        break;
    }
    case PatternSpec::Kind::Circular:
        t.SetRotation(gp_Ax1(detail::toPnt(spec.axisPoint),
                             detail::toDir(normalized(spec.axisDirection))),
                      k * spec.angle);
        break;
    case PatternSpec::Kind::Sketch:
        t.SetTranslation(detail::toVec(spec.offsets[static_cast<std::size_t>(k - 1)]));
        break;
    }
    return t;
}

// The spec as the feature's saved parameters.
std::vector<std::pair<std::string, double>> specParameters(const PatternSpec& spec) {
    std::vector<std::pair<std::string, double>> p = {{"kind", static_cast<int>(spec.kind)},
                                                     {"seed", -1}};
    auto vec = [&](const std::string& key, Vec3 v) {
        p.push_back({key + "X", v.x});
        p.push_back({key + "Y", v.y});
        p.push_back({key + "Z", v.z});
    };
    switch (spec.kind) {
    case PatternSpec::Kind::Linear:
        p.push_back({"count1", spec.count1});
        p.push_back({"spacing1", spec.spacing1});
        vec("dir1", spec.dir1);
        p.push_back({"count2", spec.count2});
        p.push_back({"spacing2", spec.spacing2});
        vec("dir2", spec.dir2);
        break;
    case PatternSpec::Kind::Circular:
        p.push_back({"count", spec.count});
        p.push_back({"angle", spec.angle});
        vec("axisPoint", spec.axisPoint);
        vec("axisDirection", spec.axisDirection);
        break;
    case PatternSpec::Kind::Sketch:
        for (const Vec3& v : spec.offsets)
            vec("offset", v);
        break;
    }
    for (int s : spec.skipped)
        p.push_back({"skipped", s});
    return p;
}

} // namespace

namespace detail {

bool patternFromParameters(const std::vector<std::pair<std::string, double>>& p,
                           PatternSpec& spec, long long& seedIndex) {
    spec = PatternSpec{};
    seedIndex = -1;
    Vec3 offset{};
    auto component = [](Vec3& v, char axis, double value) {
        (axis == 'X' ? v.x : axis == 'Y' ? v.y : v.z) = value;
    };
    for (const auto& [key, value] : p) {
        const char last = key.empty() ? ' ' : key.back();
        const std::string stem = key.size() > 1 ? key.substr(0, key.size() - 1) : key;
        if (key == "kind") {
            if (value != 0.0 && value != 1.0 && value != 2.0)
                return false;
            spec.kind = static_cast<PatternSpec::Kind>(static_cast<int>(value));
        } else if (key == "seed") {
            seedIndex = static_cast<long long>(value);
        } else if (key == "count1" || key == "count2" || key == "count" || key == "skipped") {
            if (!(value >= 0.0 && value <= 1e6) || value != std::floor(value))
                return false;
            const int n = static_cast<int>(value);
            if (key == "count1")
                spec.count1 = n;
            else if (key == "count2")
                spec.count2 = n;
            else if (key == "count")
                spec.count = n;
            else
                spec.skipped.push_back(n);
        } else if (key == "spacing1") {
            spec.spacing1 = value;
        } else if (key == "spacing2") {
            spec.spacing2 = value;
        } else if (key == "angle") {
            spec.angle = value;
        } else if (stem == "dir1") {
            component(spec.dir1, last, value);
        } else if (stem == "dir2") {
            component(spec.dir2, last, value);
        } else if (stem == "axisPoint") {
            component(spec.axisPoint, last, value);
        } else if (stem == "axisDirection") {
            component(spec.axisDirection, last, value);
        } else if (stem == "offset") {
            component(offset, last, value);
            if (last == 'Z')
                spec.offsets.push_back(offset);
        }
    }
    return specProblem(spec).empty();
}

} // namespace detail

std::vector<int> PartDocument::acceptedSkips(const std::vector<int>& skipped, int instances) {
    std::set<int> taken;
    for (int s : skipped)
        if (s >= 1 && s < instances)
            taken.insert(s);
    return {taken.begin(), taken.end()};
}

bool PartDocument::makePatternTool(SolidFeature& pattern, std::string& error) {
    const auto seed = std::dynamic_pointer_cast<SolidFeature>(pattern.seed());
    if (!seed) {
        error = "the pattern has no seed feature";
        return false;
    }
    const PatternSpec& spec = pattern.pattern_;
    const std::vector<int> skipped = acceptedSkips(spec.skipped, spec.instanceCount());
    try {
        BRep_Builder builder;
        TopoDS_Compound tool;
        builder.MakeCompound(tool);
        std::size_t next = 0;
        for (int k = 1; k < spec.instanceCount(); ++k) {
            if (next < skipped.size() && skipped[next] == k) {
                ++next;
                continue;
            }
            // A copy of its own, so that each instance's faces have surfaces of their own.
            builder.Add(tool,
                        BRepBuilderAPI_Transform(seed->tool().shape, instanceTransform(spec, k), true)
                            .Shape());
        }
        pattern.tool_ = detail::makeRef(tool);
        pattern.seedTool_ = seed->tool_;
        return true;
    } catch (const Standard_Failure& e) {
        error = std::string("the pattern's copies failed: ") + e.GetMessageString();
        return false;
    }
}

SolidFeaturePtr PartDocument::addPattern(const SolidFeaturePtr& seed, const PatternSpec& spec,
                                         const SketchPtr& sketch) {
    if (!seed || featureIndex(*seed) < 0) {
        lastError_ = "pattern: the seed is not a solid feature of this part";
        return nullptr;
    }
    const std::string problem = specProblem(spec);
    if (!problem.empty()) {
        lastError_ = "pattern: " + problem;
        return nullptr;
    }
    if (activeSketch_ && activeSketch_ == sketch)
        closeSketch();
    const char* type = spec.kind == PatternSpec::Kind::Linear     ? "LPattern"
                       : spec.kind == PatternSpec::Kind::Circular ? "CirPattern"
                                                                  : "SketchPattern";
    auto feature = std::make_shared<SolidFeature>(FeatureKind::Pattern, type, seed->operation());
    feature->seed_ = seed;
    feature->sketch_ = sketch;
    feature->pattern_ = spec;
    feature->pattern_.skipped = acceptedSkips(spec.skipped, spec.instanceCount());
    feature->parameters_ = specParameters(feature->pattern_);
    std::string error;
    if (!makePatternTool(*feature, error)) {
        lastError_ = "pattern: " + error;
        return nullptr;
    }
    const char* prefix = spec.kind == PatternSpec::Kind::Linear     ? "LPattern"
                         : spec.kind == PatternSpec::Kind::Circular ? "CirPattern"
                                                                    : "SketchPattern";
    if (!addSolidFeature(feature, prefix, "pattern"))
        return nullptr;
    return feature;
}

bool PartDocument::setPatternSkipped(const SolidFeaturePtr& pattern,
                                     const std::vector<int>& skipped) {
    if (!pattern || pattern->kind() != FeatureKind::Pattern || featureIndex(*pattern) < 0)
        return false;
    pattern->pattern_.skipped = acceptedSkips(skipped, pattern->pattern_.instanceCount());
    pattern->parameters_ = specParameters(pattern->pattern_);
    std::string error;
    if (!makePatternTool(*pattern, error)) {
        lastError_ = "pattern: " + error;
        return false;
    }
    impl_->registerSurfaces(*pattern);
    modified_ = true;
    rebuild();
    return true;
}

int PartDocument::deleteFeatures(const std::vector<FeaturePtr>& features) {
    std::set<const Feature*> doomed;
    for (const auto& f : features)
        if (f && f->kind() != FeatureKind::Item && featureIndex(*f) >= 0)
            doomed.insert(f.get());
    if (doomed.empty())
        return 0;
    // Children follow their parents: the feature list is in creation order, so one pass finds
    // children of children.
    auto dependsOnDoomed = [&](const Feature& f) {
        if (const auto* solid = dynamic_cast<const SolidFeature*>(&f))
            return doomed.count(solid->sketch().get()) != 0 || doomed.count(solid->seed().get()) != 0;
        if (const auto* sketch = dynamic_cast<const Sketch*>(&f))
            return doomed.count(dynamic_cast<const Feature*>(sketch->placement().get())) != 0;
        return false;
    };
    for (const auto& f : features_)
        if (doomed.count(f.get()) == 0 && dependsOnDoomed(*f))
            doomed.insert(f.get());

    bool solidGone = false;
    std::vector<FeaturePtr> kept;
    for (const auto& f : features_) {
        if (doomed.count(f.get()) == 0) {
            kept.push_back(f);
            continue;
        }
        solidGone = solidGone || dynamic_cast<const SolidFeature*>(f.get()) != nullptr;
        f->document_.reset();
        if (activeSketch_ == f)
            activeSketch_.reset();
        for (const auto& c : configurations())
            c->setSuppressed(f.get(), false);
    }
    const int deleted = static_cast<int>(features_.size() - kept.size());
    features_ = std::move(kept);

    std::vector<DimensionPtr> dimensions;
    for (const auto& d : dimensions_) {
        if (doomed.count(d->feature().get()) == 0) {
            dimensions.push_back(d);
            continue;
        }
        for (const auto& c : configurations())
            c->dimensionValues.erase(d.get());
    }
    dimensions_ = std::move(dimensions);

    for (auto it = impl_->surfaceOwner.begin(); it != impl_->surfaceOwner.end();)
        it = doomed.count(it->second.second) != 0 ? impl_->surfaceOwner.erase(it) : std::next(it);
    std::vector<SelectionEntry> selected;
    for (const auto& e : selection_.entries())
        if (doomed.count(dynamic_cast<const Feature*>(e.object.get())) == 0)
            selected.push_back(e);
    selection_.clear();
    for (auto& e : selected)
        selection_.add(e, true);

    modified_ = true;
    if (solidGone)
        rebuild();
    return deleted;
}

} // namespace swsim
