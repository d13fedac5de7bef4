#include "libs/geomcore/buildsw3d/base_cut_handlers.h"
#include "libs/geomcore/buildsw3d/build_helpers.h"

#include "libs/KvorCadComm/creation_option_value.h"
#include "libs/KvorCadComm/meta_tree_helpers.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/buildsw3d/threads_and_faces.h"
#include "libs/geomcore/sw3ddoc/body_features.h"
#include "libs/geomcore/sw3ddoc/new_features.h"
#include "libs/geomcore/sw3ddoc/sw_part.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swtools/value_text.h"
#include "metamodel/m3d/annotations.h"
#include "metamodel/m3d/viewhelpers.h"

#include <cmath>

namespace {

// What tells the two handlers apart.
struct bodyKindS {
    int cut;
    const char* kind; // "base" or "cut", in the messages and logs
};

// The "Multibodysolid" setting; unbound when the creation options do not set it.
mDocumentCreationOptionSettingC multibodySetting(const swPartC& part, metaReaderC& reader) {
    return documentCreationSetting(part, reader, "Multibodysolid");
}

// The record name of a cut inside a drilling's alternate history is the drilling's NAME.
mzComStringC recordName(const m3dFeatBodyC& view, const bodyKindS& kind) {
    const mzComStringC name = getName(view);
    if (kind.cut == 0)
        return name;
    const metaTreePtrT history = view.findAncestor(keyHistory());
    if (history.isNull())
        return name;
    const metaObjectC historyView(history);
    const metaTreePtrT drilling = historyView.findAncestor(m3dFeatDrillingC::tagName());
    // A HISTORY outside a drilling belongs to no one else: the cut keeps its own name.
    if (drilling.isNull())
        return name;
    return getName(metaObjectC(drilling));
}

// Refuses a depth or angle that gives the feature no meaning, and a draft angle that is none,
// by field and value: a NaN draft would otherwise build the body undrafted.
void refuseMeaninglessValues(const m3dFeatBodyC& view, const mzComStringC& failure) {
    const double value = view.getParamVector().getValue();
    const mzComStringC param =
        mzComStringC(view.isExtrude() ? "PARAM depth " : "PARAM angle ") + numberText(value);
    if (!std::isfinite(value))
        failCreation(failure + ": " + param + " is not a finite number");
    if (!(value > 0.0))
        failCreation(failure + ": " + param + " is not positive");
    if (!view.isExtrude())
        return;
    const double draft = m3dFeatExtrudeC(view.getTreePtr()).getDraftAngle();
    const mzComStringC given = "EXTDFTANGLE " + numberText(draft);
    if (!std::isfinite(draft))
        failCreation(failure + ": " + given + " is not a finite number");
    if (!(std::fabs(draft) < 90.0))
        failCreation(failure + ": " + given + " is no draft angle: below 90 degrees either way");
}

// Why SolidWorks made nothing, as far as the node's values show.
mzComStringC creationProblem(const m3dFeatBodyC& view) {
    const double value = view.getParamVector().getValue();
    if (view.isExtrude() && !withinSolidWorksModelSpace(value))
        return mzComStringC(": PARAM depth ") + numberText(value) + " " + beyondModelSpaceText;
    return mzComStringC();
}

int executeBody(metaReaderC& reader, metaTreePtrT tagToken, void* data, const bodyKindS& kind) {
    const m3dFeatBodyC view(getParentTreePtr(tagToken));
    const mzComStringC name = getName(view);
    auto* part = static_cast<swPartC*>(data);
    if (part == nullptr)
        failCreation(mzComStringC("No part document for ") + kind.kind + " feature " +
                     quotedName(name));
    const mzComStringC used = view.getUsed();
    reader.checkLocation(view.getTreePtr());

    _bstr_t sketchName;
    ISketchPtr sketch;
    if (!part->findSketchRecord(used, sketchName, sketch))
        failCreation(mzComStringC("Sketch ") + quotedName(used) + " for feature " +
                     quotedName(name) + " not found");
    modelDocSelectByName(part->modelDoc, sketchName, "SKETCH", 0.0, 0.0, 0.0);

    const mzComStringC failure =
        mzComStringC("Error while creating ") + kind.kind + " feature " + quotedName(name);
    _bstr_t typeName;
    IFeaturePtr feature;
    if (view.isExtrude() || view.isRotate())
        refuseMeaninglessValues(view, failure);
    if (view.isExtrude()) {
        NATLINK_LOG(mzLogLevelTrace, mzComStringC("Create ") + kind.kind + " extrude: " + name);
        const int multibody = multibodySetting(*part, reader).getVal().toInt();
        const m3dFeatExtrudeC extrusion(view.getTreePtr());
        if (createExtrusionFeature(extrusion, kind.cut, part->firstFeature, part->modelDoc,
                                   typeName, feature, multibody) != 0)
            failCreation(failure + creationProblem(view));
    } else if (view.isRotate()) {
        NATLINK_LOG(mzLogLevelTrace, mzComStringC("Create ") + kind.kind + " rotate: " + name);
        const int multibody = getValAsInt(multibodySetting(*part, reader));
        const m3dFeatRotateC revolution(view.getTreePtr());
        if (createRevolutionFeature(revolution, kind.cut, part->firstFeature, part->modelDoc,
                                    typeName, feature, multibody) != 0)
            failCreation(failure);
    } else {
        // An unknown TYP builds nothing: recording whatever feature comes next under this
        // name would give later nodes the wrong feature.
        failCreation(failure);
    }
    // The first body made through the document is found by a search that can come back
    // empty; a feature that cannot be found was not made as asked.
    if (!feature)
        failCreation(failure);

    _bstr_t swName;
    collectNewFeatures(*part, recordName(view, kind), swName, 1);
    const m3dAnnotationSetC threads = getThreadAnnotationSet(view);
    if (threads.isValid())
        reportIncompleteItem(reader, view.getTag(), name,
                             createCosmeticThreads(*part, threads, feature));
    part->firstFeature = 0;
    return 1;
}

} // namespace

int swMeta3dBaseC::execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) {
    NATLINK_TRACE_FRAME_C("swMeta3dBaseC::execute");
    return executeBody(reader, tagToken, data, {0, "base"});
}

int swMeta3dCutC::execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) {
    NATLINK_TRACE_FRAME_C("swMeta3dCutC::execute");
    return executeBody(reader, tagToken, data, {1, "cut"});
}
