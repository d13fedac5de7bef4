// What part and assembly documents have in common: the file path and the unsaved-changes
// flag, configurations (names in order, the active one, per-configuration suppression and
// dimension values, read by the part), custom properties of the document and of each
// configuration with their types, the summary information fields, the length and angle
// units, document preferences, and the mass and centre of gravity given in place of the
// computed ones. Plain C++; no geometry here.
#pragma once

#include "platform/sldworks/model/object.h"
#include "platform/sldworks/model/types.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace swsim {

namespace detail {
class Reader;
class Writer;
} // namespace detail

// Document types as SolidWorks numbers them.
enum class DocumentType : int { Part = 1, Assembly = 2 };

struct CustomProperty {
    std::string name;
    long type = 30; // 30 text, 3 number; the value is text either way
    std::string value;
};

// A configuration: its own custom properties, and what the part reads for it (the
// features suppressed in it, dimension values that differ from the document's).
class Configuration final : public Object {
public:
    explicit Configuration(std::string name) : name_(std::move(name)) {}
    ObjectKind objectKind() const override { return ObjectKind::Configuration; }

    const std::string& name() const { return name_; }
    std::string comment;
    std::string alternateName;
    std::string description;
    long options = 0;

    std::vector<CustomProperty> properties;
    // Features suppressed in this configuration (a part's features; never deleted).
    std::vector<const Object*> suppressed;
    // Dimension values of this configuration that differ from the document's.
    std::map<const Object*, double> dimensionValues;
    // An assembly's components in this configuration: the configuration each shows and its
    // state (kept here while another configuration is active).
    struct ComponentSetting {
        std::string configuration;
        long state = 2;
    };
    std::map<const Object*, ComponentSetting> components;

    bool isSuppressed(const Object* feature) const;
    void setSuppressed(const Object* feature, bool suppressed);

private:
    std::string name_;
};

using ConfigurationPtr = std::shared_ptr<Configuration>;

class ModelDocument {
public:
    ModelDocument(const ModelDocument&) = delete;
    ModelDocument& operator=(const ModelDocument&) = delete;
    virtual ~ModelDocument();

    virtual DocumentType type() const = 0;
    const std::string& path() const { return path_; }
    // The unsaved-changes flag: set by every change, cleared by saving and opening.
    bool modified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }
    // Saves in the session's own format under `path` (the document then has that path);
    // raises ModelError when the file cannot be written.
    void save(const std::string& path);
    // Writes the document in the session's own format without taking the path.
    void saveCopy(const std::string& path) const;
    // The document's title: its file name without folder and extension; "Part1" or
    // "Assem1" before it was saved.
    std::string title() const;

    // ---- configurations: "Default" in a new document --------------------------------
    const std::vector<ConfigurationPtr>& configurations() const { return configurations_; }
    const ConfigurationPtr& activeConfiguration() const { return configurations_[active_]; }
    ConfigurationPtr findConfiguration(const std::string& name) const;
    // Adds a configuration that starts as a copy of the active one's suppression and
    // dimension values (not its properties) and becomes active. Null when the name is
    // empty or in use.
    ConfigurationPtr addConfiguration(const std::string& name, const std::string& comment = {},
                                      const std::string& alternateName = {},
                                      const std::string& description = {}, long options = 0);
    // Makes a configuration active (a part replays its features for it). False when there
    // is no configuration of that name.
    bool showConfiguration(const std::string& name);
    // Deletes a configuration with what it holds (suppression, values, properties). False
    // when there is none of that name or it is the active one (SolidWorks deletes no shown
    // configuration).
    bool deleteConfiguration(const std::string& name);

    // ---- custom properties: configuration "" is the document's own -------------------
    // Null when the configuration does not exist.
    const std::vector<CustomProperty>* customProperties(const std::string& configuration) const;
    std::optional<CustomProperty> customProperty(const std::string& configuration,
                                                 const std::string& name) const;
    // Adds a property; false when the name is empty, already used (names compare
    // case-sensitively) or the configuration does not exist.
    bool addCustomProperty(const std::string& configuration, const std::string& name, long type,
                           const std::string& value);
    // Overwrites the value of an existing property; false when there is none.
    bool setCustomProperty(const std::string& configuration, const std::string& name,
                           const std::string& value);

    // ---- summary information: fields 0 Title, 1 Subject, 2 Author, 3 Keywords, 4 Comment
    static constexpr int kSummaryFields = 5;
    // Empty for a field number outside 0-4.
    std::string summary(int field) const;
    bool setSummary(int field, const std::string& text);

    // ---- units: length 0 mm, 1 cm, 2 m, 3 inch, 4 feet; angle 0 degrees, 1 minutes,
    // 2 seconds, 3 radians. The angle unit is integer preference 51 as well: one setting.
    static constexpr long kAngleUnitPreference = 51;
    int lengthUnit() const { return lengthUnit_; }
    int angleUnit() const { return angleUnit_; }
    bool setLengthUnit(int unit);
    bool setAngleUnit(int unit);
    // A model length (millimetres) and angle (radians) in the document's units.
    double lengthInDocumentUnit(double millimetres) const;
    double angleInDocumentUnit(double radians) const;

    // ---- document preferences ---------------------------------------------------------
    static constexpr long kDensityPreference = 7;
    static constexpr double kDefaultDensity = 1000.0;
    // Integers never set read 0; doubles never set read 0, except the density. Preference
    // 51 is the angle unit (a value outside 0-3 is refused, false).
    long integerPreference(long id) const;
    bool setIntegerPreference(long id, long value);
    double doublePreference(long id) const;
    void setDoublePreference(long id, double value);

    // ---- mass properties --------------------------------------------------------------
    // Volume, area and centre of the solid geometry.
    virtual MassProperties geometryMass() const = 0;
    // Mass: the given mass, else the volume times the density.
    double mass() const;
    // Centre of gravity: the given centre, else the geometry's.
    Vec3 centreOfGravity() const;
    const std::optional<double>& givenMass() const { return givenMass_; }
    const std::optional<Vec3>& givenCentre() const { return givenCentre_; }
    void setGivenMass(std::optional<double> mass);
    void setGivenCentre(std::optional<Vec3> centre);

    // ---- previews ---------------------------------------------------------------------
    // A width x height 24-bit BMP of the document's bodies seen from the isometric
    // direction (flat shading of their tessellation); raises ModelError when it cannot be
    // written or the size is not 1-4096.
    virtual void saveBitmap(const std::string& path, int width, int height) const = 0;
    virtual void exportStep(const std::string& path) const = 0;
    // `scale` multiplies the coordinates (1/25.4 writes a millimetre model in inches).
    virtual void exportStl(const std::string& path, bool asciiStl = false,
                           double scale = 1.0) const = 0;

protected:
    // The document in the session's own file format.
    virtual std::string fileText() const = 0;

    ModelDocument();
    // The active configuration is about to change (another is shown or a new one added):
    // an assembly keeps its components' settings in the one it leaves.
    virtual void configurationLeaving() {}
    // A configuration became active: a part applies its suppression and dimension values.
    virtual void configurationActivated() {}
    // The common data as one section of a document file; readCommon raises ModelError.
    void writeCommon(detail::Writer& w) const;
    void readCommon(detail::Reader& r);
    size_t activeIndex() const { return active_; }

    std::string path_;
    bool modified_ = false;

private:
    std::vector<CustomProperty>* propertiesOf(const std::string& configuration);

    std::vector<ConfigurationPtr> configurations_;
    size_t active_ = 0;
    std::vector<CustomProperty> properties_;
    std::string summary_[kSummaryFields];
    int lengthUnit_ = 0;
    int angleUnit_ = 0;
    std::map<long, long> integerPreferences_;
    std::map<long, double> doublePreferences_;
    std::optional<double> givenMass_;
    std::optional<Vec3> givenCentre_;
};

using ModelDocumentPtr = std::shared_ptr<ModelDocument>;

} // namespace swsim
