// A dimension of a feature: its short name ("D1"), its SolidWorks type code and the
// document's value. Configurations may give it other values (Configuration::dimensionValues);
// the part answers the value of the active configuration. A dimension that drives a
// parameter of its feature (an extrusion's depth, a revolution's angle) changes the
// geometry when the part is rebuilt.
#pragma once

#include "platform/sldworks/model/object.h"

#include <memory>
#include <string>

namespace swsim {

class Feature;

class Dimension final : public Object {
public:
    // Type codes as the check-in reads them: 1, 3 and 5 are angular.
    static constexpr int kLinear = 2;
    static constexpr int kAngular = 3;

    Dimension(std::string name, int type, double value, std::string drives)
        : name_(std::move(name)), type_(type), value_(value), drives_(std::move(drives)) {}
    ObjectKind objectKind() const override { return ObjectKind::Dimension; }

    const std::string& name() const { return name_; }
    int type() const { return type_; }
    bool angular() const { return type_ == 1 || type_ == 3 || type_ == 5; }
    // The value of the document (configurations without their own value); angles in radians.
    double value() const { return value_; }
    // The feature parameter it drives ("depth1", "angle1"), or empty.
    const std::string& drives() const { return drives_; }
    std::shared_ptr<Feature> feature() const { return feature_.lock(); }
    // "D1@Boss-Extrude1": the name, an at sign and the feature's name.
    std::string fullName() const;

private:
    friend class PartDocument;
    std::string name_;
    int type_;
    double value_;
    std::string drives_;
    std::weak_ptr<Feature> feature_;
};

using DimensionPtr = std::shared_ptr<Dimension>;

} // namespace swsim
