#include "libs/geomcore/buildsw3d/sw_creation.h"

swCreation3dS* creationOf(metaReaderC& reader) {
    auto* buildReader = dynamic_cast<swMetaReaderC*>(&reader);
    return buildReader != nullptr ? &buildReader->getCreation() : nullptr;
}
