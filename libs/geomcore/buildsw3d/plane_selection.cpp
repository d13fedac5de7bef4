#include "libs/geomcore/buildsw3d/plane_selection.h"

#include "libs/geomcore/swapi/call_support.h"
#include "libs/geomcore/swapi/swapi.h"

namespace {

struct foundPlaneS {
    IFeaturePtr feature;
    IRefPlanePtr plane;
};

// One pass of the walk from `start`: the first reference plane not yet recorded.
foundPlaneS walkForNewPlane(const swPartC& part, IUnknown* start) {
    for (IFeaturePtr feature = queryInterfaceOf<IFeature>(start); feature;
         feature = queryInterfaceOf<IFeature>(featureGetNext(feature))) {
        if (!(featureGetTypeName(feature) == u"RefPlane"))
            continue;
        const IRefPlanePtr plane = queryInterfaceOf<IRefPlane>(featureGetSpecificObject(feature));
        if (plane && !part.hasPlaneSwName(featureGetName(feature)))
            return {feature, plane};
    }
    return {};
}

} // namespace

bool findRefPlane(swPartC& part, const mzComStringC& metaName, _bstr_t& name, int remember) {
    if (!part.modelDoc)
        return false;
    foundPlaneS found;
    if (part.lastFeature)
        found = walkForNewPlane(part, part.lastFeature);
    else
        found = walkForNewPlane(part, modelDocFirstFeature(part.modelDoc));
    if (!found.feature)
        found = walkForNewPlane(part, modelDocFirstFeature(part.modelDoc));
    if (!found.feature)
        return false;

    if (name.length() != 0)
        featureSetName(found.feature, name);
    part.addPlaneRecord(found.plane, metaName);
    // SolidWorks keeps a feature's name when the wanted one is taken; the caller gets the
    // name the plane really carries.
    name = part.planeRecords.back().swName;
    if (remember != 0 && part.lastFeature.GetInterfacePtr() != found.feature.GetInterfacePtr())
        part.lastFeature = found.feature;
    return true;
}

int selectSketchPlane(swPartC& part, const vectorC3d<double>& origin,
                      const vectorC3d<double>& first, const vectorC3d<double>& second,
                      const mzComStringC& metaName, _bstr_t& name) {
    const vectorC3d<double> p2 = origin + first;
    const vectorC3d<double> p3 = origin + second;
    const _variant_t a = makeDoubleArray({origin.x, origin.y, origin.z});
    const _variant_t b = makeDoubleArray({p2.x, p2.y, p2.z});
    const _variant_t c = makeDoubleArray({p3.x, p3.y, p3.z});
    IModelDoc2* doc = swapiRequired<IModelDoc2>(part.modelDoc);
    if (modelDocCreatePlaneThroughPoints(doc, a, b, c, VARIANT_TRUE) == VARIANT_FALSE)
        return 0;
    if (!findRefPlane(part, metaName, name, 1))
        return 0;
    modelDocSelectByName(doc, name, "PLANE", 0.0, 0.0, 0.0);
    modelDocActOnSelectedPlane(doc);
    return 1;
}

void nameAndHideNewRefAxis(swPartC& part, const _bstr_t& name) {
    IModelDoc2* doc = swapiRequired<IModelDoc2>(part.modelDoc);
    const IDocExtensionPtr extension = modelDocGetExtension(doc);
    swapiRequired<IDocExtension>(extension);
    const IFeaturePtr feature = queryInterfaceOf<IFeature>(docExtGetNewestFeature(extension));
    if (!feature || !(featureGetTypeName(feature) == u"RefAxis"))
        return;
    featureSetName(feature, name);
    featureSelect(feature, VARIANT_FALSE, 0);
    modelDocHideSelection(doc);
}
