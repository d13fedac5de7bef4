#include "libs/geomcore/buildsw3d/plane_handler.h"

#include "libs/KvorCadComm/meta_tree_helpers.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildsw3d/build_helpers.h"
#include "libs/geomcore/buildsw3d/plane_selection.h"
#include "libs/geomcore/swapi/swapi.h"
#include "metamodel/m3d/viewhelpers.h"

#include <cmath>

namespace {

void buildBasePlane(swPartC& part, const matrixC4x4<double>& mat, bool hasPlacement,
                    const mzComStringC& name) {
    _bstr_t swName;
    // Without a placement there is no geometry to check (the identity would pass for XY).
    if (!hasPlacement || !part.findPlaneByGeometry(swName, mat))
        failCreation(mzComStringC("Unbale to get base plane ") + quotedName(name) +
                     " from SolidWorks");
}

void buildOffsetPlane(swPartC& part, const m3dPlaneC& view, const mzComStringC& name) {
    const mzComStringC failure =
        mzComStringC("Error while creating Offsetplane ") + quotedName(name);
    const m3dOffsetPlaneC offsetView(view.getTreePtr());
    int flip = 0;
    double distance = 0.0;
    mzComStringC referenceName;
    // A PARAM that cannot be read gives no distance and no reference: nothing to build.
    if (!offsetView.getOffToPlaneData(offsetView.getOffsetPlaneParam(), flip, distance,
                                      referenceName) ||
        !std::isfinite(distance))
        failCreation(failure);

    const m3dFeatGenC referenceNode = findFeatureByName(view.getOwnerCollection(), referenceName);
    matrixC4x4<double> referenceMat;
    const bool referenceHasPlacement =
        referenceNode.isValid() && getMatrix(m3dPlaneC(referenceNode.getTreePtr()), referenceMat);

    if (distance < 0.0) {
        flip = flip != 0 ? 0 : 1;
        distance = -distance;
    }

    _bstr_t referenceSwName;
    // Only a reference node that exists has a placement to look for; an unknown name must
    // not match whatever plane lies at the identity.
    if (!part.findPlaneSwName(referenceName, referenceSwName) &&
        !(referenceHasPlacement && part.findPlaneByGeometry(referenceSwName, referenceMat)))
        failCreation(mzComStringC("Could not find reference plane for ") + quotedName(name));

    modelDocSelectByName(part.modelDoc, referenceSwName, "PLANE", 0.0, 0.0, 0.0);
    const IDispatchPtr created = modelDocCreateOffsetPlane(
        part.modelDoc, distance, static_cast<VARIANT_BOOL>(flip != 0 ? 1 : 0), VARIANT_TRUE);
    const IRefPlanePtr plane = queryInterfaceOf<IRefPlane>(created);
    if (!plane)
        failCreation(failure);

    // The plane the call made is recorded, never one some earlier node left behind. It gets
    // the node's own name (SolidWorks keeps its own when that is empty or taken), never the
    // reference plane's.
    _bstr_t newName = name.toBstr();
    if (!recordNewPlane(part, plane, name, newName, 1))
        failCreation(failure);
}

void buildFixedPlane(swPartC& part, const matrixC4x4<double>& mat, const mzComStringC& name) {
    const mzComStringC failure =
        mzComStringC("Error while creating fixed plane ") + quotedName(name);
    _bstr_t newName = name.toBstr();
    if (!selectPlaneOfPlacement(part, mat, name, newName))
        failCreation(failure);
}

} // namespace

int swMeta3dPlaneC::execute(metaReaderC& /*reader*/, metaTreePtrT tagToken, void* data) {
    NATLINK_TRACE_FRAME_C("swMeta3dPlaneC::execute");
    auto* part = static_cast<swPartC*>(data);
    const m3dPlaneC view(getParentTreePtr(tagToken));
    const mzComStringC name = getName(view);
    if (part == nullptr)
        failCreation(mzComStringC("No part document for plane ") + quotedName(name));
    matrixC4x4<double> mat;
    const bool hasPlacement = getMatrix(view, mat);
    NATLINK_LOG(mzLogLevelTrace, mzComStringC("Create Plane: ") + name);

    if (isBasePlaneName(view)) {
        buildBasePlane(*part, mat, hasPlacement, name);
    } else if (view.isOffsetPlane()) {
        buildOffsetPlane(*part, view, name);
    } else {
        // A fixed plane is built from its placement alone: without one there is none.
        if (!hasPlacement)
            failCreation(mzComStringC("Error while creating fixed plane ") + quotedName(name));
        buildFixedPlane(*part, mat, name);
    }
    return 1;
}
