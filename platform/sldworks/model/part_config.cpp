// Configurations of a PartDocument: suppression per configuration, dimensions and their
// values per configuration, and what happens when another configuration becomes active.
#include "platform/sldworks/model/part_document.h"

#include <cmath>

namespace swsim {

std::string Dimension::fullName() const {
    const auto f = feature();
    return f ? name_ + "@" + f->name() : name_;
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
    bool activeChanged = false;
    for (const auto& c : targets) {
        if (c->isSuppressed(feature.get()) == suppressed)
            continue;
        c->setSuppressed(feature.get(), suppressed);
        modified_ = true;
        activeChanged = activeChanged || c == activeConfiguration();
    }
    if (activeChanged)
        applySuppression(*feature, suppressed);
    return true;
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
