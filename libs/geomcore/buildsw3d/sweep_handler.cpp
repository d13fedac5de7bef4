#include "libs/geomcore/buildsw3d/sweep_handler.h"

#include "libs/KvorCadComm/meta_tree_helpers.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildsw3d/build_helpers.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/sw3ddoc/new_features.h"
#include "libs/geomcore/sw3ddoc/sw_part.h"
#include "libs/geomcore/swapi/call_support.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swgeomtools/build_settings_guard.h"
#include "metamodel/m3d/features.h"
#include "metamodel/m3d/sketch.h"
#include "metamodel/m3d/viewhelpers.h"

#include <optional>
#include <vector>

namespace {

// The model-space start point of a listed sketch: the first point of its first loop's first
// shape when that is a LINE or an ARC, through the sketch's MAT. None for a sketch that is not
// in the tree or whose loop starts with a circle (which has no start).
std::optional<vectorC3d<double>> profileStart(const m3dFeatSweepC& sweep,
                                              const mzComStringC& sketchName) {
    const m3dFeatGenC found = findFeatureByName(sweep.getOwnerCollection(), sketchName);
    if (!found.isValid() || found.getTag() != m3dSketchC::tagName())
        return std::nullopt;
    const m3dSketchC sketch(found.getTreePtr());
    const m3dLoopC loop = sketch.getLoopAt(0);
    if (!loop.isValid())
        return std::nullopt;
    const mBaseShape2dC shape = loop.getShapeAt(0);
    const mzComStringC tag = shape.getTag();
    if (tag != m3dLineC::tagName() && tag != m3dArcC::tagName())
        return std::nullopt;
    const vectorC2d<double> p = getFirstPoint2d(shape);
    return transformPoint({p.x, p.y, 0.0}, getMatrix(sketch));
}

// The 3D sketch of straight lines through the points, drawn with the build settings switched;
// answers its SolidWorks name.
_bstr_t drawPath(metaReaderC& reader, IModelDoc2* doc,
                 const std::vector<vectorC3d<double>>& points) {
    swCreation3dS* creation = creationOf(reader);
    const swBuildSettingsGuardC guard(
        creation != nullptr ? creation->app.GetInterfacePtr() : nullptr, doc);
    modelDocInsert3dSketch(doc, VARIANT_TRUE);
    for (std::size_t j = 0; j + 1 < points.size(); ++j)
        modelDocCreateLine(doc, points[j].x, points[j].y, points[j].z, points[j + 1].x,
                           points[j + 1].y, points[j + 1].z);
    const IFeaturePtr path = requireInterfaceOf<IFeature>(modelDocGetEditedSketch(doc));
    const _bstr_t name = featureGetName(path);
    modelDocInsert3dSketch(doc, VARIANT_TRUE);
    return name;
}

IFeaturePtr createSweep(IModelDoc2* doc, std::int32_t solidOp) {
    const IFeatureManagerPtr managerHeld = modelDocGetFeatureManager(doc);
    IFeatureManager* manager = swapiRequired<IFeatureManager>(managerHeld);
    const VARIANT_BOOL no = VARIANT_FALSE;
    const VARIANT_BOOL yes = VARIANT_TRUE;
    if (solidOp == 0)
        return featureMgrCreateSweep(manager, 0, 0, no, 1.0, no, no, 0.0, 0.0, yes, yes, no, 0.0,
                                     0.0, no, yes, no, yes);
    return featureMgrCreateSweepNonZeroOp(manager, 0, 0, no, 1.0, no, no, no, 0.0, 0.0, no, no,
                                          yes);
}

} // namespace

int swMeta3dSweepC::execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) {
    NATLINK_TRACE_FRAME_C("swMeta3dSweepC::execute");
    const m3dFeatSweepC view(getParentTreePtr(tagToken));
    const mzComStringC name = getName(view);
    NATLINK_LOG(mzLogLevelTrace, "Create sweep: " + name);
    auto* part = static_cast<swPartC*>(data);
    if (part == nullptr)
        failCreation(mzComStringC("No part document for sweep feature ") + quotedName(name));
    IModelDoc2* doc = swapiRequired<IModelDoc2>(part->modelDoc);
    part->hideCreatedPlanes();

    std::vector<_bstr_t> profiles;
    std::vector<vectorC3d<double>> pathPoints;
    std::vector<mzComStringC> skipped;
    bool everyProfileStarts = true;
    const metaObjListStrContainerC sketches = view.getSweepSketchList();
    for (int i = 0; i < sketches.count(); ++i) {
        const mzComStringC sketchName = sketches.getStringAt(i);
        _bstr_t swName;
        ISketchPtr sketch;
        // A listed sketch that is not in the part is left out of the loft, and said so.
        if (!part->findSketchRecord(sketchName, swName, sketch)) {
            skipped.push_back("profile sketch " + quotedName(sketchName) +
                              " is not in the part and was left out");
            continue;
        }
        profiles.push_back(swName);
        if (const auto start = profileStart(view, sketchName))
            pathPoints.push_back(*start);
        else
            everyProfileStarts = false;
    }

    // A path that misses a profile would twist the body, and one point is no path.
    _bstr_t pathName;
    if (everyProfileStarts && pathPoints.size() >= 2) {
        // A sketch left open by an earlier node would be closed by the toggle instead.
        if (modelDocGetEditedSketch(doc))
            modelDocInsertSketch(doc, VARIANT_TRUE);
        pathName = drawPath(reader, doc, pathPoints);
    }
    modelDocRebuild(doc, VARIANT_FALSE);
    // The profiles are added to the selection: what an earlier node left selected (a sweep
    // that was refused keeps its profiles selected) would be swept with them.
    modelDocClearSelection(doc);

    const IDocExtensionPtr extensionHeld = modelDocGetExtension(doc);
    IDocExtension* extension = swapiRequired<IDocExtension>(extensionHeld);
    for (const _bstr_t& profile : profiles)
        docExtSelectById(extension, profile, "SKETCH", 0.0, 0.0, 0.0, VARIANT_TRUE, 1, nullptr);
    if (pathName.length() != 0)
        docExtSelectById(extension, pathName, "SKETCH", 0.0, 0.0, 0.0, VARIANT_TRUE, 2, nullptr);

    bool found = false;
    const IFeaturePtr feature = createSweep(doc, getSolidOpAttr(view, found));
    if (!feature)
        failCreation(mzComStringC("Error while creating sweep feature ") + quotedName(name));
    _bstr_t swName = featureGetName(feature);
    collectNewFeatures(*part, name, swName, 1);
    reportIncompleteItem(reader, view.getTag(), name, skipped);
    return 1;
}
