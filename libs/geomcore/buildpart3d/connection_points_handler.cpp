#include "libs/geomcore/buildpart3d/connection_points_handler.h"

#include "libs/KvorCadComm/meta_tree_helpers.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildsw3d/plane_selection.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/swapi/call_support.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swtools/error.h"
#include "metamodel/m3d/viewhelpers.h"

#include <vector>

namespace {

void buildConnectionPoint(swPartC& part, const metaObjectC& point, const mzComStringC& name) {
    IModelDoc2* doc = swapiRequired<IModelDoc2>(part.modelDoc);
    matrixC4x4<double> mat;
    if (name.isEmpty() || !getMatrix(point, mat))
        throw errorC("A connection point needs a NAME and a MAT");
    if (modelDocGetEditedSketch(doc))
        modelDocInsertSketch(doc, VARIANT_TRUE);
    modelDocClearSelection(doc);
    _bstr_t planeName((name + " XY").toUtf8().c_str());
    if (selectSketchPlane(part, mat.row(3), mat.row(0), mat.row(1), name + " XY", planeName) != 1)
        throw errorC(mzComStringC("Could not create the plane of connection point ") +
                     quotedName(name));
    if (modelDocInsertSketch(doc, VARIANT_TRUE) != S_OK)
        throw errorC(mzComStringC("Could not sketch connection point ") + quotedName(name));
    // The plane's own origin is the connection point.
    const bool drawn = modelDocCreatePoint(doc, 0, 0, 0) != nullptr;
    ISketchPtr sketch;
    sketchPtrFromVariant(sketch, modelDocGetActiveSketch(doc));
    IFeaturePtr feature;
    featurePtrFromUnknown(feature, sketch);
    modelDocInsertSketch(doc, VARIANT_TRUE);
    if (!drawn || !feature)
        throw errorC(mzComStringC("Could not sketch connection point ") + quotedName(name));
    const _bstr_t swName(name.toUtf8().c_str());
    featureSetName(feature, swName);
    if (!(featureGetName(feature) == swName))
        throw errorC(mzComStringC("The name of connection point ") + quotedName(name) +
                     " is taken");
    part.addSketchRecord(sketchRecord{sketch, name, swName});
}

// The newest feature of the part: what a connection point adds comes after it.
IFeaturePtr newestFeature(const swPartC& part) {
    IModelDoc2* doc = swapiRequired<IModelDoc2>(part.modelDoc);
    return queryInterfaceOf<IFeature>(docExtGetNewestFeature(modelDocGetExtension(doc)));
}

// Takes away what a connection point that failed added (its plane, its sketch: every feature
// after `before`), so that the part is saved without a plane and a sketch that belong to
// nothing. A failure to do so is logged; the connection point is reported failed either way.
void removeAddedSince(swPartC& part, const IFeaturePtr& before, const mzComStringC& name) {
    try {
        IModelDoc2* doc = swapiRequired<IModelDoc2>(part.modelDoc);
        if (modelDocGetEditedSketch(doc))
            modelDocInsertSketch(doc, VARIANT_TRUE);
        modelDocClearSelection(doc);
        std::vector<_bstr_t> added;
        for (IFeaturePtr feature = queryInterfaceOf<IFeature>(featureGetNext(before)); feature;
             feature = queryInterfaceOf<IFeature>(featureGetNext(feature))) {
            added.push_back(featureGetName(feature));
            featureSelect(feature, VARIANT_TRUE, 0);
        }
        if (added.empty())
            return;
        // Deletes the selection with its children.
        modelDocApplyToSelectedSketch(doc, VARIANT_FALSE);
        for (const _bstr_t& swName : added)
            part.forgetRecords(swName);
    } catch (const _com_error& error) {
        NATLINK_LOG(mzLogLevelError, mzComStringC("What the connection point ") + quotedName(name) +
                                         " added could not be removed: " + error.ErrorMessage());
    }
}

} // namespace

int swMeta3dConnPointsC::execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) {
    NATLINK_TRACE_FRAME_C("swMeta3dConnPointsC::execute");
    auto* part = static_cast<swPartC*>(data);
    swCreation3dS* creation = creationOf(reader);
    if (part == nullptr || creation == nullptr)
        return 0;
    int built = 0;
    const metaObjectC points(getParentTreePtr(tagToken));
    for (metaObjEnumC child = points.enumChildren(); child.isValid(); child.next()) {
        const metaObjectC point(child.current());
        if (!point.isKeyNode() || !(point.getTag() == "CONNPOINT"))
            continue;
        const mzComStringC name = getName(point);
        IFeaturePtr before;
        mzComStringC failure;
        try {
            before = newestFeature(*part);
            buildConnectionPoint(*part, point, name);
            ++built;
            continue;
        } catch (const errorC& error) {
            failure = error.getMessage();
        } catch (const _com_error& error) {
            failure = mzComStringC("SolidWorks call failed: ") + error.ErrorMessage();
        }
        if (before)
            removeAddedSince(*part, before, name);
        creation->failedItems.push_back({"CONNPOINT", name, failure});
    }
    return built;
}
