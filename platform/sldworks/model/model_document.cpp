#include "platform/sldworks/model/model_document.h"

#include "platform/sldworks/model/file_io.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <numbers>

namespace swsim {

bool Configuration::isSuppressed(const Object* feature) const {
    return std::find(suppressed.begin(), suppressed.end(), feature) != suppressed.end();
}

void Configuration::setSuppressed(const Object* feature, bool suppress) {
    const auto found = std::find(suppressed.begin(), suppressed.end(), feature);
    if (suppress && found == suppressed.end())
        suppressed.push_back(feature);
    else if (!suppress && found != suppressed.end())
        suppressed.erase(found);
}

ModelDocument::ModelDocument() {
    configurations_.push_back(std::make_shared<Configuration>("Default"));
}

ModelDocument::~ModelDocument() = default;

std::string ModelDocument::title() const {
    if (path_.empty())
        return type() == DocumentType::Part ? "Part1" : "Assem1";
    return detail::fileStem(path_);
}

void ModelDocument::save(const std::string& path) {
    saveCopy(path);
    path_ = path;
    modified_ = false;
}

void ModelDocument::saveCopy(const std::string& path) const {
    // The text first: a document that cannot be written leaves the file as it was.
    const std::string text = fileText();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out)
        throw ModelError("save: cannot write " + path);
}

// ---- configurations -------------------------------------------------------------------

ConfigurationPtr ModelDocument::findConfiguration(const std::string& name) const {
    for (const auto& c : configurations_)
        if (c->name() == name)
            return c;
    return nullptr;
}

ConfigurationPtr ModelDocument::addConfiguration(const std::string& name,
                                                 const std::string& comment,
                                                 const std::string& alternateName,
                                                 const std::string& description, long options) {
    if (name.empty() || findConfiguration(name))
        return nullptr;
    configurationLeaving();
    auto made = std::make_shared<Configuration>(name);
    made->comment = comment;
    made->alternateName = alternateName;
    made->description = description;
    made->options = options;
    made->suppressed = activeConfiguration()->suppressed;
    made->dimensionValues = activeConfiguration()->dimensionValues;
    made->components = activeConfiguration()->components;
    configurations_.push_back(made);
    active_ = configurations_.size() - 1;
    modified_ = true;
    configurationActivated();
    return made;
}

bool ModelDocument::showConfiguration(const std::string& name) {
    for (size_t i = 0; i < configurations_.size(); ++i) {
        if (configurations_[i]->name() != name)
            continue;
        if (i != active_) {
            configurationLeaving();
            active_ = i;
            configurationActivated();
        }
        return true;
    }
    return false;
}

bool ModelDocument::deleteConfiguration(const std::string& name) {
    for (size_t i = 0; i < configurations_.size(); ++i) {
        if (configurations_[i]->name() != name)
            continue;
        if (i == active_)
            return false;
        configurations_.erase(configurations_.begin() + static_cast<std::ptrdiff_t>(i));
        if (i < active_)
            --active_;
        modified_ = true;
        return true;
    }
    return false;
}

// ---- custom properties ----------------------------------------------------------------

std::vector<CustomProperty>* ModelDocument::propertiesOf(const std::string& configuration) {
    if (configuration.empty())
        return &properties_;
    const ConfigurationPtr c = findConfiguration(configuration);
    return c ? &c->properties : nullptr;
}

const std::vector<CustomProperty>*
ModelDocument::customProperties(const std::string& configuration) const {
    return const_cast<ModelDocument*>(this)->propertiesOf(configuration);
}

std::optional<CustomProperty> ModelDocument::customProperty(const std::string& configuration,
                                                            const std::string& name) const {
    const auto* list = customProperties(configuration);
    if (list == nullptr)
        return std::nullopt;
    for (const auto& p : *list)
        if (p.name == name)
            return p;
    return std::nullopt;
}

bool ModelDocument::addCustomProperty(const std::string& configuration, const std::string& name,
                                      long type, const std::string& value) {
    auto* list = propertiesOf(configuration);
    if (list == nullptr || name.empty() || customProperty(configuration, name))
        return false;
    list->push_back({name, type, value});
    modified_ = true;
    return true;
}

bool ModelDocument::setCustomProperty(const std::string& configuration, const std::string& name,
                                      const std::string& value) {
    auto* list = propertiesOf(configuration);
    if (list == nullptr)
        return false;
    for (auto& p : *list) {
        if (p.name == name) {
            p.value = value;
            modified_ = true;
            return true;
        }
    }
    return false;
}

// ---- summary, units, preferences ------------------------------------------------------

std::string ModelDocument::summary(int field) const {
    return field >= 0 && field < kSummaryFields ? summary_[field] : std::string();
}

bool ModelDocument::setSummary(int field, const std::string& text) {
    if (field < 0 || field >= kSummaryFields)
        return false;
    summary_[field] = text;
    modified_ = true;
    return true;
}

bool ModelDocument::setLengthUnit(int unit) {
    if (unit < 0 || unit > 4)
        return false;
    lengthUnit_ = unit;
    modified_ = true;
    return true;
}

bool ModelDocument::setAngleUnit(int unit) {
    if (unit < 0 || unit > 3)
        return false;
    angleUnit_ = unit;
    modified_ = true;
    return true;
}

double ModelDocument::lengthInDocumentUnit(double millimetres) const {
    static constexpr double kMillimetres[] = {1.0, 10.0, 1000.0, 25.4, 304.8};
    return millimetres / kMillimetres[lengthUnit_];
}

double ModelDocument::angleInDocumentUnit(double radians) const {
    const double degrees = radians * 180.0 / std::numbers::pi;
    switch (angleUnit_) {
    case 1:
        return degrees * 60.0;
    case 2:
        return degrees * 3600.0;
    case 3:
        return radians;
    default:
        return degrees;
    }
}

long ModelDocument::integerPreference(long id) const {
    if (id == kAngleUnitPreference)
        return angleUnit_;
    const auto found = integerPreferences_.find(id);
    return found != integerPreferences_.end() ? found->second : 0;
}

bool ModelDocument::setIntegerPreference(long id, long value) {
    if (id == kAngleUnitPreference)
        return value >= 0 && value <= 3 && setAngleUnit(static_cast<int>(value));
    integerPreferences_[id] = value;
    modified_ = true;
    return true;
}

double ModelDocument::doublePreference(long id) const {
    const auto found = doublePreferences_.find(id);
    if (found != doublePreferences_.end())
        return found->second;
    return id == kDensityPreference ? kDefaultDensity : 0.0;
}

void ModelDocument::setDoublePreference(long id, double value) {
    doublePreferences_[id] = value;
    modified_ = true;
}

// ---- mass ----------------------------------------------------------------------------

double ModelDocument::mass() const {
    if (givenMass_)
        return *givenMass_;
    return geometryMass().volume * doublePreference(kDensityPreference);
}

Vec3 ModelDocument::centreOfGravity() const {
    return givenCentre_ ? *givenCentre_ : geometryMass().centreOfMass;
}

void ModelDocument::setGivenMass(std::optional<double> mass) {
    givenMass_ = mass;
    modified_ = true;
}

void ModelDocument::setGivenCentre(std::optional<Vec3> centre) {
    givenCentre_ = centre;
    modified_ = true;
}

// ---- the common section of a document file ---------------------------------------------

namespace {

void writeProperties(detail::Writer& w, const std::vector<CustomProperty>& list) {
    w.word("properties").integer(static_cast<long long>(list.size())).line();
    for (const auto& p : list)
        w.str(p.name).integer(p.type).str(p.value).line();
}

std::vector<CustomProperty> readProperties(detail::Reader& r) {
    r.expect("properties");
    std::vector<CustomProperty> list;
    for (int i = 0, n = r.count(); i < n; ++i) {
        CustomProperty p;
        p.name = r.str();
        p.type = static_cast<long>(
            r.integer(std::numeric_limits<long>::min(), std::numeric_limits<long>::max()));
        p.value = r.str();
        for (const auto& q : list)
            if (q.name == p.name || p.name.empty())
                r.fail("custom property \"" + p.name + "\" is empty or given twice");
        list.push_back(std::move(p));
    }
    return list;
}

} // namespace

void ModelDocument::writeCommon(detail::Writer& w) const {
    w.word("document").line();
    w.word("configurations").integer(static_cast<long long>(configurations_.size()));
    w.integer(static_cast<long long>(active_)).line();
    for (const auto& c : configurations_) {
        w.str(c->name()).str(c->comment).str(c->alternateName).str(c->description);
        w.integer(c->options).line();
        writeProperties(w, c->properties);
    }
    writeProperties(w, properties_);
    w.word("summary");
    for (const auto& text : summary_)
        w.str(text);
    w.line();
    w.word("units").integer(lengthUnit_).integer(angleUnit_).line();
    w.word("integers").integer(static_cast<long long>(integerPreferences_.size()));
    for (const auto& [id, value] : integerPreferences_)
        w.integer(id).integer(value);
    w.line();
    w.word("doubles").integer(static_cast<long long>(doublePreferences_.size()));
    for (const auto& [id, value] : doublePreferences_)
        w.integer(id).num(value);
    w.line();
    w.word("mass").integer(givenMass_.has_value()).num(givenMass_.value_or(0.0));
    w.integer(givenCentre_.has_value()).vec(givenCentre_.value_or(Vec3{})).line();
}

void ModelDocument::readCommon(detail::Reader& r) {
    constexpr long long kLong = 2'147'483'647;
    r.expect("document");
    r.expect("configurations");
    const int count = r.count();
    if (count < 1)
        r.fail("a document needs at least one configuration");
    const long long active = r.integer(0, count - 1);
    std::vector<ConfigurationPtr> list;
    for (int i = 0; i < count; ++i) {
        auto c = std::make_shared<Configuration>(r.str());
        c->comment = r.str();
        c->alternateName = r.str();
        c->description = r.str();
        c->options = static_cast<long>(r.integer(-kLong, kLong));
        c->properties = readProperties(r);
        for (const auto& other : list)
            if (other->name() == c->name() || c->name().empty())
                r.fail("configuration \"" + c->name() + "\" is empty or given twice");
        list.push_back(std::move(c));
    }
    configurations_ = std::move(list);
    active_ = static_cast<size_t>(active);
    properties_ = readProperties(r);
    r.expect("summary");
    for (auto& text : summary_)
        text = r.str();
    r.expect("units");
    lengthUnit_ = static_cast<int>(r.integer(0, 4));
    angleUnit_ = static_cast<int>(r.integer(0, 3));
    r.expect("integers");
    integerPreferences_.clear();
    for (int i = 0, n = r.count(); i < n; ++i) {
        const long id = static_cast<long>(r.integer(-kLong, kLong));
        const long value = static_cast<long>(r.integer(-kLong, kLong));
        if (id != kAngleUnitPreference)
            integerPreferences_[id] = value;
    }
    r.expect("doubles");
    doublePreferences_.clear();
    for (int i = 0, n = r.count(); i < n; ++i) {
        const long id = static_cast<long>(r.integer(-kLong, kLong));
        doublePreferences_[id] = r.num();
    }
    r.expect("mass");
    const bool hasMass = r.flag();
    const double mass = r.num();
    const bool hasCentre = r.flag();
    const Vec3 centre = r.vec();
    givenMass_ = hasMass ? std::optional<double>(mass) : std::nullopt;
    givenCentre_ = hasCentre ? std::optional<Vec3>(centre) : std::nullopt;
}

} // namespace swsim
