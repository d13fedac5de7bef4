#include "libs/geomcore/sw3ddoc/body_features.h"

#include "libs/geomcore/swapi/call_support.h"
#include "libs/geomcore/swapi/swapi.h"

#include <cmath>

namespace {

constexpr double pi = 3.141592653589793;
constexpr VARIANT_BOOL constTrue = -1;
constexpr VARIANT_BOOL constFalse = 0;

VARIANT_BOOL fromComparison(bool value) {
    return value ? VARIANT_BOOL(1) : VARIANT_BOOL(0);
}

IFeatureManagerPtr featureManagerOf(IModelDoc2* doc) {
    IFeatureManagerPtr manager = modelDocGetFeatureManager(swapiRequired<IModelDoc2>(doc));
    swapiRequired<IFeatureManager>(manager);
    return manager;
}

// The parameters of the extrusion head that do not depend on boss or cut.
struct extrusionHeadS {
    VARIANT_BOOL single = 0;
    double depth = 0.0;
    VARIANT_BOOL draftOn = 0;
    VARIANT_BOOL draftOutward = 0;
    double draftAngle = 0.0;
};

extrusionHeadS readExtrusionHead(const m3dFeatExtrudeC& view, int axis) {
    extrusionHeadS head;
    head.single = fromComparison(axis != 2);
    head.depth = view.getParamVector().getValue();
    const double draft = view.getDraftAngle();
    head.draftOn = fromComparison(std::fabs(draft) > 0.0001);
    head.draftOutward = fromComparison(!(draft > 0.0001));
    head.draftAngle = std::fabs(draft * pi / 180.0);
    return head;
}

bool sameTypeName(const _bstr_t& a, const _bstr_t& b) {
    if (a.length() == 0 || b.length() == 0)
        return a.length() == 0 && b.length() == 0;
    return a == b;
}

} // namespace

int createExtrusionFeature(const m3dFeatExtrudeC& view, const int& cut, const int& firstFeature,
                           IModelDoc2* doc, _bstr_t& typeName, IFeaturePtr& feature,
                           const int& multibody) {
    const int axis = view.getParamAxisIndex();
    const extrusionHeadS h = readExtrusionHead(view, axis);

    if (cut != 0) {
        const VARIANT_BOOL reverse = fromComparison(axis != 1);
        const IFeatureManagerPtr manager = featureManagerOf(doc);
        IFeaturePtr made = featureCreateCutExtrusion(
            manager, h.single, constFalse, reverse, 0, 0, h.depth, h.depth, h.draftOn, h.draftOn,
            h.draftOutward, h.draftOutward, h.draftAngle, h.draftAngle, constFalse, constFalse,
            constFalse, constFalse, constFalse, constFalse, constTrue);
        feature = made;
        typeName = cutExtrusionTypeName;
        return feature ? 0 : 1;
    }

    const VARIANT_BOOL reverse = fromComparison(axis != 0);
    if (firstFeature != 0) {
        const HRESULT status = modelDocCreateExtrusion(
            swapiRequired<IModelDoc2>(doc), h.single, constFalse, reverse, 0, 0, h.depth, h.depth,
            h.draftOn, h.draftOn, h.draftOutward, h.draftOutward, h.draftAngle, h.draftAngle,
            constFalse, constFalse);
        typeName = firstExtrusionTypeName;
        if (status == S_OK && !feature)
            findLastFeatureOfType(doc, firstExtrusionTypeName, feature);
        return static_cast<int>(status);
    }

    const IFeatureManagerPtr manager = featureManagerOf(doc);
    IFeaturePtr made = featureCreateExtrusion(
        manager, h.single, constFalse, reverse, 0, 0, h.depth, h.depth, h.draftOn, h.draftOn,
        h.draftOutward, h.draftOutward, h.draftAngle, h.draftAngle, constFalse, constFalse,
        constFalse, constFalse, fromComparison(multibody != 1), constFalse, constTrue);
    feature = made;
    typeName = bossExtrusionTypeName;
    return feature ? 0 : 1;
}

int createRevolutionFeature(const m3dFeatRotateC& view, const int& cut, const int& /*firstFeature*/,
                            IModelDoc2* doc, _bstr_t& typeName, IFeaturePtr& feature,
                            const int& multibody) {
    const int axis = view.getParamAxisIndex();
    const double angle = view.getParamVector().getValue() / 180.0 * pi;
    const VARIANT_BOOL reverse = fromComparison(axis != 0);
    const long type = axis == 2 ? 2 : 0;

    const IFeatureManagerPtr manager = featureManagerOf(doc);
    IFeaturePtr made;
    if (cut != 0) {
        made = featureCreateCutRevolution(manager, angle, reverse, angle, type, 1, constFalse,
                                          constTrue);
        feature = made;
        typeName = cutRevolutionTypeName;
    } else {
        made = featureCreateRevolution(manager, angle, reverse, angle, type, 1,
                                       fromComparison(multibody != 1), constTrue, constTrue);
        feature = made;
        typeName = bossRevolutionTypeName;
    }
    return feature ? 0 : 1;
}

_bstr_t findLastFeatureOfType(IModelDoc2* doc, const _bstr_t& typeName, IFeaturePtr& feature) {
    _bstr_t found;
    for (IFeaturePtr current =
             queryInterfaceOf<IFeature>(modelDocFirstFeature(swapiRequired<IModelDoc2>(doc)));
         current; current = queryInterfaceOf<IFeature>(featureGetNext(current))) {
        if (!sameTypeName(featureGetTypeName(current), typeName))
            continue;
        found = featureGetName(current);
        feature = current;
    }
    return found;
}
