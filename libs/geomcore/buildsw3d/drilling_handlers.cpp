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
#include "libs/geomcore/swtools/value_text.h"
#include "metamodel/core/valueviews.h"
#include "metamodel/m3d/annotations.h"
#include "metamodel/m3d/viewhelpers.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The body kind of the face search: solid bodies.
constexpr int solidBodies = 0;

// A direction within this of the plane of the face it starts on lies in it: its cosine with
// the face's normal says nothing of which side it points to.
constexpr double inPlaneCosine = 1e-6;
// A direction off the face's normal by more than this is told in the log: SolidWorks drills
// along the normal. Below it lies the rounding of a catalogue's numbers.
constexpr double offNormalDegrees = 0.01;

// What a value of the drilling must be to mean something.
enum class rangeE { anyFinite, positive, notNegative, tipAngle, angle };

struct drillingFieldS {
    const char* key;
    rangeE range;
};

constexpr drillingFieldS drillingFields[] = {
    {"DIAMETER", rangeE::positive},
    {"DEPTH", rangeE::positive},
    {"SINKANGLE", rangeE::tipAngle},
    {"CONIC", rangeE::anyFinite},
    {"CONEANGLE", rangeE::anyFinite},
    {"COUNTERSINKDEPTH", rangeE::notNegative},
    {"COUNTERSINKANGLE", rangeE::anyFinite},
    {"COUNTERBOREDEPTH", rangeE::notNegative},
    {"COUNTERBOREDIAMETER", rangeE::notNegative},
    {"ENDCOUNTERBOREDIAMETER", rangeE::notNegative},
    {"ENDCOUNTERSINKDEPTH", rangeE::notNegative},
};

// Why the value has no meaning; empty when it has one.
mzComStringC rangeProblem(double v, rangeE range) {
    if (!std::isfinite(v))
        return " is not a finite number";
    switch (range) {
    case rangeE::anyFinite:
        break;
    case rangeE::positive:
        if (!(v > 0.0))
            return " is not a positive length";
        break;
    case rangeE::notNegative:
        if (v < 0.0)
            return " is a negative length";
        break;
    case rangeE::tipAngle:
        if (!(v >= 0.0 && v < 180.0))
            return " is no tip angle: from 0 (no tip) to below 180 degrees";
        break;
    case rangeE::angle:
        if (!(v > 0.0 && v < 180.0))
            return " is no angle between 0 and 180 degrees";
        break;
    }
    return mzComStringC();
}

double numberOf(const m3dFeatDrillingC& drilling, const char* key) {
    return metaObjDoubleC(drilling.findChild(key)).get();
}

// Refuses a drilling with a value that has no meaning, naming the field and the value: a NaN
// or a negative angle would otherwise read as "none" and build a plain hole, an absent
// direction find any face.
void refuseMeaninglessDrilling(const m3dFeatDrillingC& drilling, const vectorC3d<double>& start,
                               const vectorC3d<double>& direction, bool hasDirection,
                               const mzComStringC& failure) {
    for (const drillingFieldS& field : drillingFields) {
        if (!drilling.hasChild(field.key))
            continue;
        const double v = numberOf(drilling, field.key);
        const mzComStringC problem = rangeProblem(v, field.range);
        if (!problem.isEmpty())
            failCreation(failure + ": " + field.key + " " + numberText(v) + problem);
    }
    if (numberOf(drilling, "COUNTERSINKDEPTH") > 0.0) {
        const double angle = numberOf(drilling, "COUNTERSINKANGLE");
        const mzComStringC problem = rangeProblem(angle, rangeE::angle);
        if (!problem.isEmpty())
            failCreation(failure + ": COUNTERSINKANGLE " + numberText(angle) + problem);
    }
    if (!std::isfinite(start.x) || !std::isfinite(start.y) || !std::isfinite(start.z))
        failCreation(failure + ": STARTPOINT " + pointText(start.x, start.y, start.z) +
                     " holds a number that is not finite");
    if (!hasDirection)
        failCreation(failure + ": DIRECTION is missing or not three numbers");
    const mzComStringC given = "DIRECTION " + pointText(direction.x, direction.y, direction.z);
    if (!std::isfinite(direction.x) || !std::isfinite(direction.y) || !std::isfinite(direction.z))
        failCreation(failure + ": " + given + " holds a number that is not finite");
    if (!(direction.dot(direction) > 0.0))
        failCreation(failure + ": " + given + " has no length");
}

// SolidWorks drills into the face along its normal. A direction in the face's plane or out
// of the face is refused; one off the normal is told in the log with what is built.
void checkDirectionOnFace(IFace2* face, const vectorC3d<double>& direction,
                          const mzComStringC& name, const mzComStringC& failure) {
    const std::vector<double> n = readDoubleArray(faceGetNormal(face), 3);
    const vectorC3d<double> normal{n[0], n[1], n[2]};
    const double length = std::sqrt(direction.dot(direction));
    const double cosine = normal.dot(direction) / length;
    const mzComStringC given = "DIRECTION " + pointText(direction.x, direction.y, direction.z);
    if (std::fabs(cosine) <= inPlaneCosine)
        failCreation(failure + ": " + given + " lies in the plane of the face at its start point");
    if (cosine > 0.0)
        failCreation(failure + ": " + given + " points out of the face at its start point");
    const double degrees = std::acos(std::min(1.0, -cosine)) * 180.0 / 3.141592653589793;
    if (degrees > offNormalDegrees)
        NATLINK_LOG(mzLogLevelWarning,
                    mzComStringC("Drilling ") + quotedName(name) + ": its " + given + " lies " +
                        numberText(degrees) +
                        " degrees off the normal of the face at its start point; the hole is "
                        "drilled along the face's inward normal " +
                        pointText(-normal.x, -normal.y, -normal.z));
}

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
    const bool hasDirection = drilling.getDirection(direction);
    refuseMeaninglessDrilling(drilling, start, direction, hasDirection, failure);

    const double p[3] = {start.x, start.y, start.z};
    const double d[3] = {direction.x, direction.y, direction.z};
    IFace2Ptr face;
    IFeaturePtr hole;
    mzComStringC error;
    if (getFaceFromPoint(p, d, part->modelDoc, faceKindPlane, solidBodies, face)) {
        checkDirectionOnFace(face, direction, name, failure);
        m3dFeatDrillingC holeView;
        holeView.ctorCopy(drilling, 1);
        hole = createDrillingFeat(part->modelDoc, holeView, face, error);
    }
    // Named with its start point, also when that lies beyond SolidWorks' model space.
    if (!hole && error.isEmpty())
        error = mzComStringC(face ? "SolidWorks made no hole" : "no planar face of the part") +
                " at its start point " + pointText(start.x, start.y, start.z);

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
