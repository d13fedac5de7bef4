#include "libs/geomcore/buildsw3d/pattern_handler.h"

#include "libs/KvorCadComm/app_environment.h"
#include "libs/KvorCadComm/creation_warning.h"
#include "libs/KvorCadComm/meta_tree_helpers.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildsw3d/build_helpers.h"
#include "libs/geomcore/buildsw3d/pattern_detection.h"
#include "libs/geomcore/buildsw3d/plane_selection.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/sw3ddoc/new_features.h"
#include "libs/geomcore/sw3ddoc/sw_part.h"
#include "libs/geomcore/swapi/call_support.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swgeomtools/safearray_tools.h"
#include "libs/geomcore/swgeomtools/sketch_construction.h"
#include "libs/geomcore/swtools/error.h"
#include "metamodel/m3d/features.h"
#include "metamodel/m3d/viewhelpers.h"

#include <cmath>
#include <exception>
#include <optional>
#include <vector>

namespace {

// The first key node under `node` (itself included) that holds a number that is not finite.
metaTreePtrT nodeWithNonFiniteNumber(IMetaTreeApi& api, metaTreePtrT node) {
    for (metaTreePtrT c = api.firstChild(node); !c.isNull(); c = api.nextSibling(c)) {
        if (api.isList(c)) {
            const metaTreePtrT found = nodeWithNonFiniteNumber(api, c);
            if (!found.isNull())
                return found;
        } else if (const std::optional<double> v =
                       api.isDouble(c) ? api.getDouble(c) : std::nullopt;
                   v && !std::isfinite(*v)) {
            return node;
        }
    }
    return metaTreePtrT();
}

// Whether a node of the part's items makes or removes material, and so can be repeated.
bool isSolidFeature(const metaObjectC& node) {
    for (const mzComStringC& tag :
         {m3dFeatBaseC::tagName(), m3dFeatCutC::tagName(), m3dFeatSweepC::tagName(),
          m3dFeatDrillingC::tagName(), m3dFeatForeignC::tagName(), m3dFeatPatternC::tagName()})
        if (node.hasKey(tag))
            return true;
    return false;
}

// Refuses a pattern that names itself as its base, repeats what is no solid feature or holds
// a position that is none: no detection, creation or rollback can place its copies (a NaN
// point would be dropped or taken for the base, one number read as the origin, a pattern of
// itself rolled back for ever, copies of a plane would cut nothing).
void refuseUnusablePattern(const m3dFeatPatternC& pattern, const mzComStringC& patternName,
                           const mzComStringC& baseName) {
    const mzComStringC prefix = mzComStringC("Feature pattern ") + quotedName(patternName);
    if (!patternName.isEmpty() && baseName == patternName)
        failCreation(prefix + " names itself as its base feature");
    const m3dFeatGenC base = findFeatureByName(pattern.getOwnerCollection(), baseName);
    if (base.isValid() && !isSolidFeature(base))
        failCreation(prefix + ": its base '" + baseName + "' is a " + base.getTag() +
                     ", not a solid feature");
    IMetaTreeApi& api = *getIMetaTreeApi();
    const metaTreePtrT nonFinite = nodeWithNonFiniteNumber(api, pattern.getTreePtr());
    if (!nonFinite.isNull())
        failCreation(prefix + ": " + nodeText(nonFinite) + " holds a number that is not finite");
    std::vector<vectorC2d<double>> points;
    const metaObjListPoint2dContainerC listed = pattern.getPatternSketch().getSketchPoints();
    const int bad = collectPoint2dList(listed, points);
    if (bad >= 0)
        failCreation(prefix + ": point " + mzComStringC::number(bad + 1, 'g', 10) +
                     " of FPSKETCHPOINTS, " + nodeText(listed.getAt(bad)) + ", is not two numbers");
}

} // namespace

swMeta3dPatternC::~swMeta3dPatternC() {
    if (faceSelection != nullptr)
        SafeArrayDestroy(faceSelection);
}

void swMeta3dPatternC::resetNode() {
    part = nullptr;
    creation = nullptr;
    pattern = m3dFeatPatternC();
    patternName = mzComStringC();
    baseFeature = m3dFeatPatternBaseFeatC();
    sketchOn = m3dSketchOnC();
    if (faceSelection != nullptr)
        SafeArrayDestroy(faceSelection);
    faceSelection = nullptr;
    baseSwName = _bstr_t();
    baseSwNames_.clear();
    planeSwName = _bstr_t();
    patternSketch = nullptr;
    patternSketchName = _bstr_t();
    sketchTransform = matrixC4x4<double>();
    sketchPlacement = matrixC4x4<double>();
    instanceIndexList.clear();
    createdFeature_ = nullptr;
    createdName_ = _bstr_t();
    axisCreated_ = false;
    circular_ = false;
    centre_ = vectorC2d<double>();
    ownFailureFlag_ = 0;
    failureFlag_ = &ownFailureFlag_;
}

vectorC3d<double> swMeta3dPatternC::toSketch(const vectorC2d<double>& p) const {
    return transformPoint({p.x, p.y, 0.0}, sketchPlacement);
}

int swMeta3dPatternC::openPatternSketch() {
    IModelDoc2* doc = swapiRequired<IModelDoc2>(part->modelDoc);
    if (sketchOn.hasChild("PLANE")) {
        const mzComStringC reference = sketchOn.getPlaneRef();
        const m3dFeatGenC plane = findFeatureByName(pattern.getOwnerCollection(), reference);
        matrixC4x4<double> planeMatrix;
        if (plane.isValid() && getMatrix(plane, planeMatrix))
            part->findPlaneByGeometry(planeSwName, planeMatrix);
        if (planeSwName.length() == 0)
            part->findPlaneSwName(reference, planeSwName);
        if (planeSwName.length() == 0)
            return 0;
        modelDocSelectByName(doc, planeSwName, "PLANE", 0.0, 0.0, 0.0);
    } else if (sketchOn.hasChild("FACE")) {
        const vectorC3d<double> p = sketchOn.getFacePoint();
        const vectorC3d<double> n = sketchOn.getFaceVector();
        if (faceSelection != nullptr)
            SafeArrayDestroy(faceSelection);
        faceSelection = nullptr;
        for (double value : {p.x, p.y, p.z, n.x, n.y, n.z, 1e-6})
            swapiCheck<IModelDoc2>(safeArrayAddDouble(faceSelection, value));
        if (modelDocSelectAtPointAndNormal(doc, variantFromSafeArray(faceSelection), 2) ==
            VARIANT_FALSE)
            return 0;
    }
    return modelDocInsertSketch(doc, VARIANT_FALSE) == S_OK ? 1 : 0;
}

void swMeta3dPatternC::deleteSketchAndAxis(bool withAxis) {
    IModelDoc2* doc = part->modelDoc;
    modelDocSelectByName(doc, patternSketchName, "SKETCH", 0.0, 0.0, 0.0);
    if (withAxis)
        modelDocSelectById(doc, _bstr_t(patternName.toUtf8().c_str()), "AXIS", 0.0, 0.0, 0.0);
    modelDocApplyToSelectedSketch(doc, VARIANT_FALSE);
}

int swMeta3dPatternC::createPatternAxis(double x, double y) {
    IModelDoc2* doc = swapiRequired<IModelDoc2>(part->modelDoc);
    part->addSketchRecord(sketchRecord{patternSketch, patternName, patternSketchName});
    modelDocInsertSketch(doc, VARIANT_TRUE);
    if (!sketchOn.hasChild("FACE")) {
        if (planeSwName.length() == 0) {
            deleteSketchAndAxis(false);
            return 0;
        }
        modelDocSelectByName(doc, planeSwName, "PLANE", 0.0, 0.0, 0.0);
    } else {
        modelDocSelectAtPointAndNormal(doc, variantFromSafeArray(faceSelection), 2);
    }
    modelDocSelectById(doc, _bstr_t("Point1@") + patternSketchName, "EXTSKETCHPOINT", x, y, 0.0);
    if (modelDocCreateAxis(doc) == VARIANT_FALSE) {
        deleteSketchAndAxis(false);
        return 0;
    }
    axisCreated_ = true;
    nameAndHideNewRefAxis(*part, _bstr_t(patternName.toUtf8().c_str()));
    return 1;
}

bool swMeta3dPatternC::collectPattern(const IFeaturePtr& made) {
    if (!made)
        return false;
    createdFeature_ = made;
    _bstr_t name;
    if (collectNewFeatures(*part, patternName, name, 1) == 0 || name.length() == 0)
        return false;
    createdName_ = name;
    return true;
}

void swMeta3dPatternC::removeCreated() {
    IModelDoc2* doc = part->modelDoc;
    if (!doc)
        return;
    // A sketch left open would take the next item's geometry.
    if (modelDocGetEditedSketch(doc))
        modelDocInsertSketch(doc, VARIANT_TRUE);
    // The creators have deleted the sketch (and axis) where they clean up themselves; what is
    // left of this node, the pattern feature above all, goes now, so that the copies of the
    // rollback do not come on top of it.
    modelDocClearSelection(doc);
    bool selected = false;
    if (patternSketchName.length() != 0)
        selected |= modelDocSelectById(doc, patternSketchName, "SKETCH", 0, 0, 0) != VARIANT_FALSE;
    if (axisCreated_)
        selected |= modelDocSelectById(doc, _bstr_t(patternName.toUtf8().c_str()), "AXIS", 0, 0,
                                       0) != VARIANT_FALSE;
    _bstr_t featureName = createdName_;
    if (featureName.length() == 0 && createdFeature_)
        featureName = featureGetName(createdFeature_);
    if (featureName.length() != 0)
        selected |= modelDocSelectById(doc, featureName, "BODYFEATURE", 0, 0, 0) != VARIANT_FALSE;
    if (selected)
        modelDocApplyToSelectedSketch(doc, VARIANT_FALSE);
    part->forgetRecords(patternSketchName);
    part->forgetRecords(featureName);
}

void swMeta3dPatternC::rollback(const mzComStringC& baseName) {
    const mzComStringC message =
        "Failed to create feature pattern for feature '" + baseName + "', executing rollback";
    const mzComStringC source =
        "Geometry engine; part '" + (part != nullptr ? getName(*part) : mzComStringC()) + "'";
    NATLINK_CREATION_WARNING(25, source, message, getAppName());
    // A pattern is never copied: its copies would be rolled back again.
    if (findFeatureByName(pattern.getOwnerCollection(), baseName)
            .hasKey(m3dFeatPatternC::tagName()))
        failCreation("Feature pattern " + quotedName(patternName) + " of feature '" + baseName +
                     "' could not be created, and a feature pattern is not rolled back into "
                     "copies of a feature pattern");
    // Copies turned about a centre beyond the model space would land wherever the rounding of
    // the turn puts them.
    const m3dFeatPatternSketchC sketch = pattern.getPatternSketch();
    const m3dFeatPatternRotCenterPointC rotationCentre = sketch.getRotCenterPoint();
    int read = 0;
    const vectorC2d<double> rotationPoint = rotationCentre.getPoint(&read);
    std::optional<vectorC2d<double>> about;
    if (rotationCentre.isValid() && read != 0)
        about = rotationPoint;
    else if (circular_)
        about = centre_;
    if (about && !inModelSpace(*about, getMatrix(sketch))) {
        auto number = [](double v) { return mzComStringC::number(v, 'g', 10); };
        failCreation("Feature pattern " + quotedName(patternName) + " of feature '" + baseName +
                     "' could not be created or rolled back: its copies would turn about (" +
                     number(about->x) + ", " + number(about->y) + "), beyond the model space");
    }
    const int expanded = circular_ ? pattern.rollbackAbout(centre_) : pattern.rollback();
    // Without copies nothing of the pattern is in the part: the item was not built.
    if (expanded != 0)
        return;
    vectorC3d<double> position;
    const mzComStringC why =
        getPoint3d(baseFeature, position) ? mzComStringC() : ": the base feature has no POINT3D";
    failCreation("Feature pattern " + quotedName(patternName) + " of feature '" + baseName +
                 "' could not be created or rolled back" + why);
}

int swMeta3dPatternC::execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) {
    NATLINK_TRACE_FRAME_C("swMeta3dPatternC::execute");
    // One handler serves every pattern of the build: nothing of the previous node may leak in.
    resetNode();
    pattern = m3dFeatPatternC(getParentTreePtr(tagToken));
    part = static_cast<swPartC*>(data);
    creation = creationOf(reader);
    if (creation != nullptr)
        failureFlag_ = &creation->failureFlag;
    patternName = getName(pattern);
    const m3dFeatPatternSketchC patternSketchView = pattern.getPatternSketch();
    sketchOn = patternSketchView.getSketchOn();
    baseFeature = pattern.getBaseFeat();
    const mzComStringC baseName = getName(baseFeature);
    NATLINK_LOG(mzLogLevelTrace, "Create pattern: " + baseName);
    if (part == nullptr)
        failCreation("No part document for feature pattern " + quotedName(patternName));
    refuseUnusablePattern(pattern, patternName, baseName);

    try {
        if (part->findFeatureSwName(baseName, baseSwName) == 0) {
            NATLINK_CODE_TRACK("Base feature of pattern was not found");
            fail();
        } else if (openPatternSketch() == 0) {
            fail();
        } else {
            baseSwNames_ = part->findFeatureSwNames(baseName);
            IModelDoc2* doc = part->modelDoc;
            sketchPtrFromVariant(patternSketch, modelDocGetActiveSketch(doc));
            swapiRequired<ISketch>(patternSketch);
            IFeaturePtr sketchFeature;
            featurePtrFromUnknown(sketchFeature, patternSketch);
            patternSketchName = featureGetName(swapiRequired<IFeature>(sketchFeature));
            sketchTransform = sketchTransformMatrix(patternSketch);
            sketchPlacement = getMatrix(patternSketchView) * sketchTransform;

            featPatternGeomCircleC circle(pattern, 1, 0.5);
            featPatternGeomLinearC linear(pattern, 1);
            if (patternSketchView.getRotCenterPoint().isValid()) {
                if (pattern.isSketchCoplanar())
                    createCirPatWithRcp();
                else
                    fail();
            } else {
                switch (choosePatternReading(linear, circle)) {
                case patternReadingE::linear:
                    createLinPat(linear);
                    break;
                case patternReadingE::circular:
                    circular_ = true;
                    centre_ = circle.centre;
                    createCirPat(circle);
                    break;
                case patternReadingE::none:
                    if (sketchOn.hasChild("FACE"))
                        createSdPat();
                    else
                        fail();
                    break;
                }
            }
        }
    } catch (const _com_error& error) {
        NATLINK_LOG(mzLogLevelError, mzComStringC("Feature pattern ") + quotedName(patternName) +
                                         ": SolidWorks call failed: " + error.ErrorMessage());
        fail();
    } catch (const errorC& error) {
        NATLINK_LOG(mzLogLevelError, mzComStringC("Feature pattern ") + quotedName(patternName) +
                                         ": " + error.getMessage());
        fail();
    } catch (const std::exception& error) {
        NATLINK_LOG(mzLogLevelError, mzComStringC("Feature pattern ") + quotedName(patternName) +
                                         ": " + error.what());
        fail();
    }

    if (!failed())
        return 1;
    *failureFlag_ = 0;
    // A circle's copies turn about its centre even when the pattern failed before detection.
    if (!circular_ && !patternSketchView.getRotCenterPoint().isValid()) {
        featPatternGeomLinearC linear(pattern, 1);
        featPatternGeomCircleC circle(pattern, 1, 0.5);
        if (choosePatternReading(linear, circle) == patternReadingE::circular) {
            circular_ = true;
            centre_ = circle.centre;
        }
    }
    try {
        removeCreated();
    } catch (const _com_error& error) {
        NATLINK_LOG(mzLogLevelError,
                    mzComStringC("Feature pattern ") + quotedName(patternName) +
                        ": could not take back what was made: " + error.ErrorMessage());
    }
    rollback(baseName);
    return 1;
}
