// Configurations of a PartDocument: suppression per configuration, dimensions and their
// values per configuration, and what happens when another configuration becomes active.
#include "platform/sldworks/model/part_document.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace swsim {

std::string Dimension::fullName() const {
    const auto f = feature();
    return f ? name_ + "@" + f->name() : name_;
}

namespace {

// Whether `feature` is built on one of `parents`: a sketch on one of their planes or faces, a
// solid feature made from one of their sketches, a pattern of one of them.
bool builtOn(const Feature& feature, const std::set<const Feature*>& parents) {
    if (const auto* solid = dynamic_cast<const SolidFeature*>(&feature)) {
        const auto seeds = solid->seeds();
        return parents.count(solid->sketch().get()) != 0 ||
               std::any_of(seeds.begin(), seeds.end(),
                           [&](const auto& seed) { return parents.count(seed.get()) != 0; });
    }
    if (const auto* sketch = dynamic_cast<const Sketch*>(&feature))
        return parents.count(dynamic_cast<const Feature*>(sketch->placement().get())) != 0 ||
               parents.count(sketch->faceFeature().get()) != 0;
    return false;
}

} // namespace

std::vector<FeaturePtr> PartDocument::children(const Feature& feature) const {
    const std::set<const Feature*> parent{&feature};
    std::vector<FeaturePtr> found;
    for (const auto& f : features_)
        if (f.get() != &feature && builtOn(*f, parent))
            found.push_back(f);
    return found;
}

std::set<const Feature*> PartDocument::withDependants(std::set<const Feature*> features) const {
    // The feature list is in creation order: one pass finds children of children.
    for (const auto& f : features_)
        if (features.count(f.get()) == 0 && builtOn(*f, features))
            features.insert(f.get());
    return features;
}

bool PartDocument::setSuppression(const FeaturePtr& feature, bool suppressed,
                                  const std::vector<std::string>& configurations) {
    if (!feature || featureIndex(*feature) < 0)
        return false;
    std::vector<ConfigurationPtr> targets;
    if (configurations.empty()) {
        targets = this->configurations();
    } else {
        for (const auto& name : configurations) {
            ConfigurationPtr c = findConfiguration(name);
            if (!c)
                return false;
            targets.push_back(std::move(c));
        }
    }
    suppressIn(*feature, suppressed, targets);
    return true;
}

bool PartDocument::applySuppression(Feature& feature, bool suppressed) {
    if (featureIndex(feature) < 0)
        return false;
    // Suppression set on the feature itself belongs to the active configuration.
    suppressIn(feature, suppressed, {activeConfiguration()});
    return true;
}

void PartDocument::suppressIn(const Feature& feature, bool suppressed,
                              const std::vector<ConfigurationPtr>& targets) {
    // What is built on a feature cannot stand without it: suppressed, the feature takes its
    // dependants along, as SolidWorks does. Unsuppressed, it comes back alone.
    const std::set<const Feature*> affected =
        suppressed ? withDependants({&feature}) : std::set<const Feature*>{&feature};
    bool activeChanged = false;
    for (const auto& c : targets) {
        for (const Feature* f : affected) {
            if (c->isSuppressed(f) == suppressed)
                continue;
            c->setSuppressed(f, suppressed);
            modified_ = true;
            activeChanged = activeChanged || c == activeConfiguration();
        }
    }
    if (activeChanged)
        configurationActivated();
}

bool PartDocument::suppressedIn(const Feature& feature, const std::string& configuration) const {
    const ConfigurationPtr c = findConfiguration(configuration);
    return c && c->isSuppressed(&feature);
}

DimensionPtr PartDocument::addDimension(const FeaturePtr& feature, const std::string& name,
                                        int type, double value, const std::string& drives) {
    if (!feature || featureIndex(*feature) < 0 || name.empty() || !std::isfinite(value) ||
        name.find('@') != std::string::npos)
        return nullptr;
    for (const auto& d : dimensions_)
        if (d->feature() == feature && d->name() == name)
            return nullptr;
    auto made = std::make_shared<Dimension>(name, type, value, drives);
    made->feature_ = feature;
    dimensions_.push_back(made);
    modified_ = true;
    return made;
}

void PartDocument::addDrivingDimension(const SolidFeaturePtr& feature) {
    if (feature->kind() == FeatureKind::Extrusion) {
        for (const auto& [key, value] : feature->parameters())
            if (key == "depth1")
                addDimension(feature, "D1", Dimension::kLinear, value, "depth1");
    } else if (feature->kind() == FeatureKind::Revolution) {
        for (const auto& [key, value] : feature->parameters())
            if (key == "angle1")
                addDimension(feature, "D1", Dimension::kAngular, value, "angle1");
    }
}

std::vector<DimensionPtr> PartDocument::dimensionsOf(const Feature& feature) const {
    std::vector<DimensionPtr> found;
    for (const auto& d : dimensions_)
        if (d->feature().get() == &feature)
            found.push_back(d);
    return found;
}

DimensionPtr PartDocument::findDimension(const std::string& fullName) const {
    for (const auto& d : dimensions_)
        if (d->fullName() == fullName)
            return d;
    return nullptr;
}

double PartDocument::dimensionValueIn(const Dimension& dimension,
                                      const std::string& configuration) const {
    const ConfigurationPtr c = findConfiguration(configuration);
    if (c) {
        const auto found = c->dimensionValues.find(&dimension);
        if (found != c->dimensionValues.end())
            return found->second;
    }
    return dimension.value();
}

double PartDocument::dimensionValue(const Dimension& dimension) const {
    return dimensionValueIn(dimension, activeConfiguration()->name());
}

bool PartDocument::setDimensionValue(const DimensionPtr& dimension, double value,
                                     const std::vector<std::string>& configurations) {
    if (!dimension || !std::isfinite(value))
        return false;
    bool ours = false;
    for (const auto& d : dimensions_)
        ours = ours || d == dimension;
    if (!ours)
        return false;
    std::vector<ConfigurationPtr> targets;
    for (const auto& name : configurations) {
        ConfigurationPtr c = findConfiguration(name);
        if (!c)
            return false;
        targets.push_back(std::move(c));
    }
    const double before = dimensionValue(*dimension);
    if (targets.empty()) {
        dimension->value_ = value;
        for (const auto& c : this->configurations())
            c->dimensionValues.erase(dimension.get());
    } else {
        for (const auto& c : targets)
            c->dimensionValues[dimension.get()] = value;
    }
    modified_ = true;
    if (dimensionValue(*dimension) != before && !dimension->drives().empty())
        rebuild();
    return true;
}

void PartDocument::configurationActivated() {
    const ConfigurationPtr& active = activeConfiguration();
    bool changed = false;
    for (const auto& f : features_) {
        const bool suppressed = active->isSuppressed(f.get());
        if (f->suppressed_ != suppressed) {
            f->suppressed_ = suppressed;
            changed = changed || std::dynamic_pointer_cast<SolidFeature>(f) != nullptr;
        }
    }
    for (const auto& d : dimensions_) {
        const auto solid = std::dynamic_pointer_cast<SolidFeature>(d->feature());
        if (!solid || d->drives().empty())
            continue;
        for (const auto& [key, value] : solid->parameters())
            if (key == d->drives() && value != dimensionValue(*d))
                changed = true;
    }
    if (changed)
        rebuild();
}

} // namespace swsim
