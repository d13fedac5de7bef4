#include "libs/geomcore/buildsw3d/build_helpers.h"

#include "metamodel/core/valueviews.h"
#include "metamodel/m3d/viewhelpers.h"

namespace {

template <class T> bool removeAt(std::vector<T>& list, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.size())
        return false;
    list.erase(list.begin() + index);
    return true;
}

} // namespace

bool isBasePlaneName(const m3dPlaneC& plane) {
    const mzComStringC type = plane.getType();
    return type == "XY" || type == "ZX" || type == "YZ";
}

void getFileNameAttr(const metaObjectVirtualDataBaseC& object, mzComStringC& fileName,
                     bool& found) {
    found = false;
    fileName = metaObjStrC(object.findChild("FILENAME")).get(&found);
}

std::int32_t getSolidOpAttr(const metaObjectVirtualDataBaseC& object, bool& found) {
    found = false;
    return metaObjIntC(object.findChild("SOLIDOP")).get(&found);
}

bool vector3ArrayRemoveAt(std::vector<vectorC3d<double>>& list, int index) {
    return removeAt(list, index);
}

bool variantArrayRemoveAt(std::vector<_variant_t>& list, int index) {
    return removeAt(list, index);
}

vectorC3d<double>& vector3ArrayAppendZero(std::vector<vectorC3d<double>>& list) {
    return list.emplace_back();
}
