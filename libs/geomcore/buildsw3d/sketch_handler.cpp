#include "libs/geomcore/buildsw3d/sketch_handler.h"
#include "libs/geomcore/buildsw3d/build_helpers.h"

#include "libs/KvorCadComm/creation_option_value.h"
#include "libs/KvorCadComm/meta_tree_helpers.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildsw3d/plane_selection.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/sw3ddoc/sw_part.h"
#include "libs/geomcore/swapi/call_support.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swgeomtools/face_search.h"
#include "libs/geomcore/swgeomtools/sketch_construction.h"
#include "libs/geomcore/swgeomtools/sketch_walk.h"
#include "libs/geomcore/swtools/error.h"
#include "libs/geomcore/swtools/value_text.h"
#include "metamodel/core/creationoptions.h"
#include "metamodel/m3d/sketch.h"
#include "metamodel/m3d/viewhelpers.h"

#include <cmath>
#include <exception>

namespace {

// The "SketchMode" setting; 0 when the creation options do not set it.
int sketchMode(const swPartC& part, metaReaderC& reader) {
    return getValAsInt(documentCreationSetting(part, reader, "SketchMode"));
}

// The normal of a recorded plane (zero when it has none to read).
vectorC3d<double> recordedPlaneNormal(const swPartC& part, const _bstr_t& swName) {
    for (const planeRecord& record : part.planeRecords) {
        if (!(record.swName == swName))
            continue;
        const std::vector<double> geometry = readDoubleArray(refPlaneGetGeometry(record.plane), 9);
        return {geometry[6], geometry[7], geometry[8]};
    }
    return {};
}

// A sketch grows its solids along its plane's normal. A plane or face facing against the
// sketch's own normal would turn "+Z of the sketch" around depending on how it was found, so
// the sketch then gets a plane of its own.
bool facesAgainst(const vectorC3d<double>& normal, const matrixC4x4<double>& mat,
                  const mzComStringC& name, const char* what) {
    if (!(normal.dot(mat.row(2)) < 0.0))
        return false;
    NATLINK_LOG(mzLogLevelInfo, mzComStringC("Sketch ") + quotedName(name) + " faces against its " +
                                    what + ": it is placed on a plane of its own");
    return true;
}

// Selects the recorded plane the placement names, or the planar face it describes. True only
// when SolidWorks reports the selection made.
bool selectPlacement(swPartC& part, const m3dSketchC& view, const matrixC4x4<double>& mat,
                     const mzComStringC& name) {
    const m3dSketchOnC placement = view.getSketchOn();
    if (placement.hasChild("PLANE")) {
        _bstr_t swName;
        if (!part.findPlaneSwName(placement.getPlaneRef(), swName))
            part.findPlaneByGeometry(swName, mat);
        if (swName.length() == 0) {
            // The geometry lookup wants the sketch's own facing: a plane that lies there
            // facing the other way (a base plane under a sketch turned over) is the plane the
            // sketch faces against, and is told as such.
            matrixC4x4<double> turned = mat;
            turned.setRow(2, mat.row(2) * -1.0);
            _bstr_t against;
            if (part.findPlaneByGeometry(against, turned))
                facesAgainst(recordedPlaneNormal(part, against), mat, name, "plane");
            return false;
        }
        if (facesAgainst(recordedPlaneNormal(part, swName), mat, name, "plane"))
            return false;
        // A plane that cannot be selected leaves nothing to sketch on.
        return modelDocSelectByName(part.modelDoc, swName, "PLANE", 0.0, 0.0, 0.0) != VARIANT_FALSE;
    }
    if (facesAgainst(placement.getFaceVector(), mat, name, "face"))
        return false;
    IFace2Ptr face;
    if (!getPlanarFaceFromPointAndNormal(part.modelDoc, placement.getFacePoint(),
                                         placement.getFaceVector(), face))
        return false;
    const IEntityPtr entity = requireInterfaceOf<IEntity>(face);
    return entitySelect(entity, VARIANT_FALSE) == VARIANT_TRUE;
}

// A new fixed plane through the placement, recorded under the sketch's name and selected.
void selectFixedPlane(swPartC& part, const matrixC4x4<double>& mat, const mzComStringC& name) {
    _bstr_t planeName;
    selectPlaneOfPlacement(part, mat, name, planeName);
    if (planeName.length() != 0)
        modelDocSelectByName(part.modelDoc, planeName, "PLANE", 0.0, 0.0, 0.0);
}

// Constrains the open sketch. The sketch is usable without it, so a failure is only logged.
void constrainSketch(swPartC& part, metaReaderC& reader, const _bstr_t& swName,
                     const mzComStringC& name) {
    try {
        const int mode = sketchMode(part, reader);
        walkSketchSegments(swName, part.modelDoc, mode);
    } catch (const _com_error& error) {
        NATLINK_LOG(mzLogLevelWarning, mzComStringC("Could not constrain sketch ") +
                                           quotedName(name) + ": " + error.ErrorMessage());
    } catch (const errorC& error) {
        NATLINK_LOG(mzLogLevelWarning, mzComStringC("Could not constrain sketch ") +
                                           quotedName(name) + ": " + error.getMessage());
    } catch (const std::exception& error) {
        NATLINK_LOG(mzLogLevelWarning, mzComStringC("Could not constrain sketch ") +
                                           quotedName(name) + ": " + error.what());
    } catch (...) {
        NATLINK_LOG(mzLogLevelWarning,
                    mzComStringC("Could not constrain sketch ") + quotedName(name));
    }
}

// The rows of a placement as its messages name them.
constexpr const char* matRows[4] = {"MAT X direction", "MAT Y direction", "MAT normal",
                                    "MAT origin"};

mzComStringC rowText(const matrixC4x4<double>& mat, int row) {
    const vectorC3d<double> v = mat.row(row);
    return mzComStringC(matRows[row]) + " " + pointText(v.x, v.y, v.z);
}

// A placement with a number that is not finite places nothing: every point mapped through
// it would be one too.
void refuseNonFinitePlacement(const matrixC4x4<double>& mat, const mzComStringC& name) {
    for (int row = 0; row < 4; ++row) {
        const vectorC3d<double> v = mat.row(row);
        if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z))
            failCreation("Error while creating sketch " + quotedName(name) + ": " +
                         rowText(mat, row) + " holds a number that is not finite");
    }
}

// Why no sketch could be opened where the placement puts it, as far as the placement shows.
mzComStringC placementProblem(const matrixC4x4<double>& mat) {
    const vectorC3d<double> origin = mat.row(3);
    if (!withinSolidWorksModelSpace(origin.x, origin.y, origin.z))
        return ": " + rowText(mat, 3) + " " + beyondModelSpaceText;
    const vectorC3d<double> normal = mat.row(0).cross(mat.row(1));
    if (!(normal.dot(normal) > 0.0))
        return ": " + rowText(mat, 0) + " and " + rowText(mat, 1) + " span no plane";
    return mzComStringC();
}

} // namespace

int swMeta3dSketchC::execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) {
    NATLINK_TRACE_FRAME_C("swMeta3dSketchC::execute");
    auto* part = static_cast<swPartC*>(data);
    const m3dSketchC view(getParentTreePtr(tagToken));
    const mzComStringC name = getName(view);
    const matrixC4x4<double> mat = getMatrix(view);
    NATLINK_LOG(mzLogLevelTrace, "Create sketch: " + name);
    if (part == nullptr)
        failCreation("Error while creating sketch " + quotedName(name));
    IModelDoc2* doc = swapiRequired<IModelDoc2>(part->modelDoc);
    refuseNonFinitePlacement(mat, name);

    // A sketch left open by an earlier node is closed before anything is selected.
    if (modelDocGetEditedSketch(doc))
        modelDocInsertSketch(doc, VARIANT_TRUE);
    modelDocClearSelection(doc);

    if (!selectPlacement(*part, view, mat, name))
        selectFixedPlane(*part, mat, name);

    if (modelDocInsertSketch(doc, VARIANT_TRUE) != S_OK)
        failCreation("Error while creating sketch " + quotedName(name) + placementProblem(mat));

    const ISketchPtr sketch = createSketch(part->modelDoc, view, mat);
    IFeaturePtr feature;
    featurePtrFromUnknown(feature, sketch);
    const _bstr_t swName = featureGetName(swapiRequired<IFeature>(feature));
    part->addSketchRecord(sketchRecord{sketch, name, swName});

    constrainSketch(*part, reader, swName, name);

    if (modelDocInsertSketch(doc, VARIANT_TRUE) != S_OK)
        failCreation("Could not finish sketch " + quotedName(name));
    return 1;
}
