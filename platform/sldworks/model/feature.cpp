#include "platform/sldworks/model/feature.h"

#include "platform/sldworks/model/part_document.h"

namespace swsim {

Feature::Feature(FeatureKind kind, std::string typeName)
    : kind_(kind), typeName_(std::move(typeName)) {}

bool Feature::setName(const std::string& name) {
    auto doc = document();
    if (!doc)
        return false;
    return doc->renameFeature(*this, name);
}

void Feature::setHidden(bool hidden) {
    if (hidden_ == hidden)
        return;
    hidden_ = hidden;
    if (auto doc = document())
        doc->setModified(true);
}

bool Feature::setSuppressed(bool suppressed) {
    auto doc = document();
    if (!doc)
        return false;
    return doc->applySuppression(*this, suppressed);
}

std::vector<FacePtr> SolidFeature::faces() const {
    auto doc = document();
    if (!doc)
        return {};
    return doc->facesOfFeature(*this);
}

} // namespace swsim
