#include "libs/geomcore/buildsw3d/drilling_handlers.h"
#include "libs/geomcore/buildsw3d/build_helpers.h"

#include "libs/KvorCadComm/meta_tree_helpers.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/buildsw3d/threads_and_faces.h"
#include "libs/geomcore/sw3ddoc/drilling_feature.h"
#include "libs/geomcore/sw3ddoc/new_features.h"
#include "libs/geomcore/sw3ddoc/sw_part.h"
#include "libs/geomcore/swapi/call_support.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swgeomtools/face_search.h"
#include "metamodel/m3d/annotations.h"
#include "metamodel/m3d/viewhelpers.h"

namespace {

// The body kind of the face search: solid bodies.
constexpr int solidBodies = 0;

} // namespace

int sw3dFeatDrillingC::execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) {
    NATLINK_TRACE_FRAME_C("sw3dFeatDrillingC::execute");
    const m3dFeatDrillingC view(getParentTreePtr(tagToken));
    auto* part = static_cast<swPartC*>(data);
    const mzComStringC failure =
        mzComStringC("Error while creating drilling ") + quotedName(getName(view));
    if (part == nullptr)
        failCreation(failure);
    swapiRequired<IModelDoc2>(part->modelDoc);

    // The hole and its history are read from a copy, which the face search and the hole
    // creation may extend (an empty CONIC, an empty HISTORY) without touching the model.
    // Every view of the copy shares its ownership: the copy lives until the last of them ends.
    m3dFeatDrillingC drilling;
    drilling.ctorCopy(view.cloneTree(1), 1);
    const mzComStringC name = getName(drilling);
    vectorC3d<double> start;
    vectorC3d<double> direction;
    drilling.getStartPoint(start);
    drilling.getDirection(direction);

    const double p[3] = {start.x, start.y, start.z};
    const double d[3] = {direction.x, direction.y, direction.z};
    IFace2Ptr face;
    IFeaturePtr hole;
    mzComStringC error;
    if (getFaceFromPoint(p, d, part->modelDoc, faceKindPlane, solidBodies, face)) {
        m3dFeatDrillingC holeView;
        holeView.ctorCopy(drilling, 1);
        hole = createDrillingFeat(part->modelDoc, holeView, face, error);
    }
    // Named with its start point, also when that lies beyond SolidWorks' model space.
    if (!hole && error.isEmpty()) {
        auto number = [](double v) { return mzComStringC::number(v, 'g', 10); };
        error = mzComStringC(face ? "SolidWorks made no hole" : "no planar face of the part") +
                " at its start point (" + number(start.x) + ", " + number(start.y) + ", " +
                number(start.z) + ")";
    }

    if (!hole) {
        if (!error.isEmpty())
            NATLINK_LOG(mzLogLevelInfo,
                        mzComStringC("Drilling ") + quotedName(name) + ": " + error);
        const std::size_t recordsBefore = part->featureRecords.size();
        const m3dFeatHistoryC history = drilling.getHistory();
        reader.exeNode(history.getTreePtr(), part, 0);
        // Neither a hole nor anything from the history: the drilling would vanish unseen.
        if (part->featureRecords.size() == recordsBefore)
            failCreation(error.isEmpty() ? failure : failure + ": " + error);
        return 1;
    }

    _bstr_t swName;
    collectNewFeatures(*part, name, swName, 1);
    const m3dAnnotationSetC threads = getThreadAnnotationSet(drilling);
    if (threads.isValid())
        reportIncompleteItem(reader, view.getTag(), name,
                             createCosmeticThreads(*part, threads, hole));
    modelDocClearSelection(part->modelDoc);
    return 1;
}

int sw3dDrillingHistoryC::execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) {
    NATLINK_TRACE_FRAME_C("sw3dDrillingHistoryC::execute");
    const metaObjectC history(getParentTreePtr(tagToken));
    int handed = 0;
    for (metaObjEnumC child = history.enumChildren(); child.isValid(); child.next()) {
        if (!metaObjectC(child.current()).isKeyNode())
            continue;
        reader.exeNode(child.current(), data);
        ++handed;
    }
    return handed;
}
