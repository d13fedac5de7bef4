#include "libs/geomcore/sw3ddoc/new_features.h"

#include "libs/geomcore/swapi/swapi.h"

namespace {

// Kinds that the plane, axis, sketch and thread steps record themselves.
bool isRecordedElsewhere(const _bstr_t& typeName) {
    static const char16_t* const skipped[] = {u"RefPlane", u"ProfileFeature", u"3DProfileFeature",
                                              u"RefAxis", u"CosmeticThread"};
    for (const char16_t* type : skipped)
        if (typeName == type)
            return true;
    return false;
}

} // namespace

int collectNewFeatures(swPartC& part, mzComStringC metaName, _bstr_t& name, int remember) {
    if (!part.modelDoc)
        return 0;
    IFeaturePtr feature = part.lastFeature
                              ? part.lastFeature
                              : queryInterfaceOf<IFeature>(modelDocFirstFeature(part.modelDoc));
    for (; feature; feature = queryInterfaceOf<IFeature>(featureGetNext(feature))) {
        if (isRecordedElsewhere(featureGetTypeName(feature)))
            continue;
        if (!part.hasFeatureSwName(featureGetName(feature)))
            break;
    }
    if (!feature)
        return 0;

    if (name.length() != 0)
        featureSetName(feature, name);
    else
        name = featureGetName(feature);
    part.addFeatureRecord(feature, metaName);
    if (remember != 0 && part.lastFeature.GetInterfacePtr() != feature.GetInterfacePtr())
        part.lastFeature = feature;
    return 1;
}
