#include "libs/geomcore/buildsw3d/plane_selection.h"

#include "libs/geomcore/swapi/call_support.h"
#include "libs/geomcore/swapi/swapi.h"

#include <cmath>

namespace {

struct foundPlaneS {
    IFeaturePtr feature;
    IRefPlanePtr plane;
};

// One pass of the walk from `start`: the first reference plane not yet recorded (and, with a
// geometry, lying in that plane). A plane left unrecorded by a node that failed after making
// it is passed over, so that it cannot take the place of the next node's plane.
foundPlaneS walkForNewPlane(const swPartC& part, IUnknown* start,
                            const matrixC4x4<double>* geometry) {
    for (IFeaturePtr feature = queryInterfaceOf<IFeature>(start); feature;
         feature = queryInterfaceOf<IFeature>(featureGetNext(feature))) {
        if (!(featureGetTypeName(feature) == u"RefPlane"))
            continue;
        const IRefPlanePtr plane = queryInterfaceOf<IRefPlane>(featureGetSpecificObject(feature));
        if (!plane || part.hasPlaneSwName(featureGetName(feature)))
            continue;
        if (geometry == nullptr || planeMatchesGeometry(plane, *geometry))
            return {feature, plane};
    }
    return {};
}

} // namespace

bool recordNewPlane(swPartC& part, IRefPlane* plane, const mzComStringC& metaName, _bstr_t& name,
                    int remember) {
    const IFeaturePtr feature = requireInterfaceOf<IFeature>(plane);
    if (part.hasPlaneSwName(featureGetName(feature)))
        return false;
    if (name.length() != 0)
        featureSetName(feature, name);
    part.addPlaneRecord(plane, metaName);
    // SolidWorks keeps a feature's name when the wanted one is taken; the caller gets the
    // name the plane really carries.
    name = part.planeRecords.back().swName;
    if (remember != 0 && part.lastFeature.GetInterfacePtr() != feature.GetInterfacePtr())
        part.lastFeature = feature;
    return true;
}

bool findRefPlane(swPartC& part, const mzComStringC& metaName, _bstr_t& name, int remember,
                  const matrixC4x4<double>* geometry) {
    if (!part.modelDoc)
        return false;
    foundPlaneS found;
    if (part.lastFeature)
        found = walkForNewPlane(part, part.lastFeature, geometry);
    else
        found = walkForNewPlane(part, modelDocFirstFeature(part.modelDoc), geometry);
    if (!found.feature)
        found = walkForNewPlane(part, modelDocFirstFeature(part.modelDoc), geometry);
    if (!found.feature)
        return false;
    return recordNewPlane(part, found.plane, metaName, name, remember);
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
    // The call does not give the plane back: the plane adopted must lie where the points say,
    // facing first x second.
    const vectorC3d<double> normal = first.cross(second);
    const double length = std::sqrt(normal.dot(normal));
    if (!(length > 0.0))
        return 0;
    matrixC4x4<double> geometry;
    geometry.setRow(2, normal * (1.0 / length));
    geometry.setRow(3, origin);
    if (!findRefPlane(part, metaName, name, 1, &geometry))
        return 0;
    modelDocSelectByName(doc, name, "PLANE", 0.0, 0.0, 0.0);
    modelDocActOnSelectedPlane(doc);
    return 1;
}

int selectPlaneOfPlacement(swPartC& part, const matrixC4x4<double>& placement,
                           const mzComStringC& metaName, _bstr_t& name) {
    // A plane faces first x second. A left-handed placement (Z row against X x Y) must still
    // face its Z row, or whatever is offset from it or grown on it goes to the other side.
    const vectorC3d<double> x = placement.row(0);
    const vectorC3d<double> y = placement.row(1);
    const bool leftHanded = x.cross(y).dot(placement.row(2)) < 0.0;
    return selectSketchPlane(part, placement.row(3), leftHanded ? y : x, leftHanded ? x : y,
                             metaName, name);
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
