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

std::vector<std::shared_ptr<Feature>> SolidFeature::seeds() const {
    std::vector<std::shared_ptr<Feature>> out;
    for (const auto& seed : seeds_)
        out.push_back(seed.lock());
    return out;
}

int PatternLayout::instanceCount() const {
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

// Why the layout cannot make a pattern ("" when it can).
std::string layoutProblem(const PatternLayout& layout) {
    constexpr int kMaxInstances = 100000;
    switch (layout.kind) {
    case PatternLayout::Kind::Linear:
        if (layout.count1 < 1 || layout.count2 < 1 || layout.count1 > kMaxInstances ||
            layout.count2 > kMaxInstances / layout.count1)
            return "the counts must be at least 1";
        if ((layout.count1 > 1 &&
             (!(std::abs(layout.spacing1) > 1e-9) || !std::isfinite(layout.spacing1) ||
              !(norm(layout.dir1) > 1e-9) || !finite(layout.dir1))) ||
            (layout.count2 > 1 &&
             (!(std::abs(layout.spacing2) > 1e-9) || !std::isfinite(layout.spacing2) ||
              !(norm(layout.dir2) > 1e-9) || !finite(layout.dir2))))
            return "a direction with more than one instance needs a line and a spacing";
        // The farthest instance must stay in the model space.
        if (!inModelSpace((layout.count1 - 1) * layout.spacing1) ||
            !inModelSpace((layout.count2 - 1) * layout.spacing2))
            return "the pattern reaches beyond the model space";
        break;
    case PatternLayout::Kind::Circular:
        if (layout.count < 1 || layout.count > kMaxInstances)
            return "the count must be at least 1";
        if (!(std::abs(layout.angle) > 1e-12) || !std::isfinite(layout.angle) ||
            !(norm(layout.axisDirection) > 1e-9) || !finite(layout.axisDirection) ||
            !finite(layout.axisPoint))
            return "the pattern needs an axis and an angle";
        if (!inModelSpace(layout.axisPoint))
            return "the pattern's axis lies outside the model space";
        break;
    case PatternLayout::Kind::Sketch:
        if (layout.offsets.size() > static_cast<std::size_t>(kMaxInstances))
            return "too many instances";
        for (const Vec3& v : layout.offsets)
            if (!inModelSpace(v))
                return "an instance point lies outside the model space";
        break;
    }
    if (layout.instanceCount() < 2)
        return "the pattern has no instance besides the seed";
    return "";
}

gp_Trsf instanceTransform(const PatternLayout& layout, int k) {
    gp_Trsf t;
    switch (layout.kind) {
    case PatternLayout::Kind::Linear: {
        const int c = k / layout.count2;
        const int r = k % layout.count2;
        Vec3 move{};
        if (c != 0)
            move = move + normalized(layout.dir1) * (c * layout.spacing1);
        if (r != 0)
            move = move + normalized(layout.dir2) * (r * layout.spacing2);
        t.SetTranslation(detail::toVec(move));
        break;
    }
    case PatternLayout::Kind::Circular:
        t.SetRotation(gp_Ax1(detail::toPnt(layout.axisPoint),
                             detail::toDir(normalized(layout.axisDirection))),
                      k * layout.angle);
        break;
    case PatternLayout::Kind::Sketch:
        t.SetTranslation(detail::toVec(layout.offsets[static_cast<std::size_t>(k - 1)]));
        break;
    }
    return t;
}

// The layout as the feature's saved parameters, with one "seed" entry for each seed (the
// file writes its feature index there).
std::vector<std::pair<std::string, double>> specParameters(const PatternLayout& layout,
                                                           std::size_t seeds) {
    std::vector<std::pair<std::string, double>> p = {{"kind", static_cast<int>(layout.kind)}};
    p.insert(p.end(), seeds, {"seed", -1});
    auto vec = [&](const std::string& key, Vec3 v) {
        p.push_back({key + "X", v.x});
        p.push_back({key + "Y", v.y});
        p.push_back({key + "Z", v.z});
    };
    switch (layout.kind) {
    case PatternLayout::Kind::Linear:
        p.push_back({"count1", layout.count1});
        p.push_back({"spacing1", layout.spacing1});
        vec("dir1", layout.dir1);
        p.push_back({"count2", layout.count2});
        p.push_back({"spacing2", layout.spacing2});
        vec("dir2", layout.dir2);
        break;
    case PatternLayout::Kind::Circular:
        p.push_back({"count", layout.count});
        p.push_back({"angle", layout.angle});
        vec("axisPoint", layout.axisPoint);
        vec("axisDirection", layout.axisDirection);
        break;
    case PatternLayout::Kind::Sketch:
        for (const Vec3& v : layout.offsets)
            vec("offset", v);
        break;
    }
    for (int s : layout.skipped)
        p.push_back({"skipped", s});
    return p;
}

} // namespace

namespace detail {

bool patternFromParameters(const std::vector<std::pair<std::string, double>>& p,
                           PatternLayout& layout, std::vector<long long>& seedIndices) {
    layout = PatternLayout{};
    seedIndices.clear();
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
            layout.kind = static_cast<PatternLayout::Kind>(static_cast<int>(value));
        } else if (key == "seed") {
            seedIndices.push_back(static_cast<long long>(value));
        } else if (key == "count1" || key == "count2" || key == "count" || key == "skipped") {
            if (!(value >= 0.0 && value <= 1e6) || value != std::floor(value))
                return false;
            const int n = static_cast<int>(value);
            if (key == "count1")
                layout.count1 = n;
            else if (key == "count2")
                layout.count2 = n;
            else if (key == "count")
                layout.count = n;
            else
                layout.skipped.push_back(n);
        } else if (key == "spacing1") {
            layout.spacing1 = value;
        } else if (key == "spacing2") {
            layout.spacing2 = value;
        } else if (key == "angle") {
            layout.angle = value;
        } else if (stem == "dir1") {
            component(layout.dir1, last, value);
        } else if (stem == "dir2") {
            component(layout.dir2, last, value);
        } else if (stem == "axisPoint") {
            component(layout.axisPoint, last, value);
        } else if (stem == "axisDirection") {
            component(layout.axisDirection, last, value);
        } else if (stem == "offset") {
            component(offset, last, value);
            if (last == 'Z')
                layout.offsets.push_back(offset);
        }
    }
    return layoutProblem(layout).empty();
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
    std::vector<std::shared_ptr<detail::ShapeRef>> seedTools;
    for (const auto& seed : pattern.seeds()) {
        const auto solid = std::dynamic_pointer_cast<SolidFeature>(seed);
        if (!solid) {
            error = "the pattern has no seed feature";
            return false;
        }
        seedTools.push_back(solid->tool_);
    }
    if (seedTools.empty()) {
        error = "the pattern has no seed feature";
        return false;
    }
    const PatternLayout& layout = pattern.pattern_;
    const std::vector<int> skipped = acceptedSkips(layout.skipped, layout.instanceCount());
    try {
        BRep_Builder builder;
        TopoDS_Compound tool;
        builder.MakeCompound(tool);
        TopoDS_Shape seedShape = seedTools.front()->shape;
        if (seedTools.size() > 1) {
            TopoDS_Compound together;
            builder.MakeCompound(together);
            for (const auto& seedTool : seedTools)
                builder.Add(together, seedTool->shape);
            seedShape = together;
        }
        std::size_t next = 0;
        for (int k = 1; k < layout.instanceCount(); ++k) {
            if (next < skipped.size() && skipped[next] == k) {
                ++next;
                continue;
            }
            // A copy of its own, so that each instance's faces have surfaces of their own.
            builder.Add(
                tool,
                BRepBuilderAPI_Transform(seedShape, instanceTransform(layout, k), true).Shape());
        }
        pattern.tool_ = detail::makeRef(tool);
        pattern.seedTools_ = std::move(seedTools);
        return true;
    } catch (const Standard_Failure& e) {
        error = std::string("the pattern's copies failed: ") + e.GetMessageString();
        return false;
    }
}

SolidFeaturePtr PartDocument::addPattern(const SolidFeaturePtr& seed, const PatternLayout& layout,
                                         const SketchPtr& sketch) {
    return addPattern(std::vector<SolidFeaturePtr>{seed}, layout, sketch);
}

SolidFeaturePtr PartDocument::addPattern(const std::vector<SolidFeaturePtr>& seeds,
                                         const PatternLayout& layout, const SketchPtr& sketch) {
    if (seeds.empty()) {
        lastError_ = "pattern: no seed feature";
        return nullptr;
    }
    for (const SolidFeaturePtr& seed : seeds) {
        if (!seed || featureIndex(*seed) < 0) {
            lastError_ = "pattern: the seed is not a solid feature of this part";
            return nullptr;
        }
        // One pattern feature adds or removes: seeds that do both are no one pattern.
        if (seed->operation() != seeds.front()->operation()) {
            lastError_ = "pattern: the seed features do not all add or all remove material";
            return nullptr;
        }
    }
    const std::string problem = layoutProblem(layout);
    if (!problem.empty()) {
        lastError_ = "pattern: " + problem;
        return nullptr;
    }
    if (activeSketch_ && activeSketch_ == sketch)
        closeSketch();
    const char* type = layout.kind == PatternLayout::Kind::Linear     ? "LPattern"
                       : layout.kind == PatternLayout::Kind::Circular ? "CirPattern"
                                                                      : "SketchPattern";
    auto feature =
        std::make_shared<SolidFeature>(FeatureKind::Pattern, type, seeds.front()->operation());
    feature->seeds_.assign(seeds.begin(), seeds.end());
    feature->sketch_ = sketch;
    feature->pattern_ = layout;
    feature->pattern_.skipped = acceptedSkips(layout.skipped, layout.instanceCount());
    feature->parameters_ = specParameters(feature->pattern_, seeds.size());
    std::string error;
    if (!makePatternTool(*feature, error)) {
        lastError_ = "pattern: " + error;
        return nullptr;
    }
    const char* prefix = layout.kind == PatternLayout::Kind::Linear     ? "LPattern"
                         : layout.kind == PatternLayout::Kind::Circular ? "CirPattern"
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
    pattern->parameters_ = specParameters(pattern->pattern_, pattern->seeds_.size());
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
    doomed = withDependants(std::move(doomed));

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
        impl_->cutGroupStarts.erase(f.get());
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
