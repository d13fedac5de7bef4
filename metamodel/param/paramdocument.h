#pragma once
// The parametric document: a "PDOC" node with its preferences, the name of its root model
// and the eleven entity lists, each created empty the first time it is asked for.
//
//   (PDOC (PDOCPREFS (UNITBASE 1.0)) (ROOTMODEL "M")
//     (PMODELS ...) (PMODELIS ...) (PATTRIS ...) (PFEATS ...) (PFEATIS ...) (PLOCS ...)
//     (PFEATVECS ...) (PFEATVECDESCS ...) (PANNOS ...) (PANNOIS ...))
//
// The document is reached through the 3D document registry under "PDOC": scaling,
// transforming or changing the unit of a 3D document carries the parametric description
// along. It contributes nothing else (no part documents, no rewrites).

#include "metamodel/core/listviews.h"
#include "metamodel/m2d/docprefs.h"
#include "metamodel/param/paramentities.h"

// ---- document lists: every child is an element, whatever its tag, in document order.
#define M3D_PARAM_LIST(className, elemClass, key)                                                  \
    class className : public metaObjKeyContainerTemplateC<elemClass> {                             \
    public:                                                                                        \
        static mzComStringC keyName() { return key; }                                              \
        using metaObjKeyContainerTemplateC<elemClass>::metaObjKeyContainerTemplateC;               \
    }
M3D_PARAM_LIST(m3dParamModelsC, m3dParamModelC, "PMODELS");
M3D_PARAM_LIST(m3dParamModelInstancesC, m3dParamModelInstanceC, "PMODELIS");
M3D_PARAM_LIST(m3dParamAttributeInstancesC, m3dParamAttributeInstanceC, "PATTRIS");
M3D_PARAM_LIST(m3dParamFeaturesC, m3dParamFeatureC, "PFEATS");
M3D_PARAM_LIST(m3dParamFeatureInstancesC, m3dParamFeatureInstanceC, "PFEATIS");
M3D_PARAM_LIST(m3dParamLocationsC, m3dParamLocationC, "PLOCS");
M3D_PARAM_LIST(m3dParamFeatureVectorsC, m3dParamFeatureVectorC, "PFEATVECS");
M3D_PARAM_LIST(m3dParamFeatureVectorDescsC, m3dParamFeatureVectorDescC, "PFEATVECDESCS");
M3D_PARAM_LIST(m3dParamAnnotationsC, m3dParamAnnotationC, "PANNOS");
M3D_PARAM_LIST(m3dParamAnnotationInstancesC, m3dParamAnnotationInstanceC, "PANNOIS");
#undef M3D_PARAM_LIST

// Preferences of the document: the double "UNITBASE", the length unit.
class m3dParamDocumentPreferencesC : public m3dParamDocPrefsT {
public:
    static mzComStringC keyName() { return "PDOCPREFS"; }
    using m3dParamDocPrefsT::m3dParamDocPrefsT;
};

class m3dParamDocumentC : public m3dParamDocumentBaseT {
public:
    static mzComStringC tagName() { return "PDOC"; }
    m3dParamDocumentC() = default;
    explicit m3dParamDocumentC(metaTreePtrT node, bool owns = false)
        : m3dParamDocumentBaseT(node, owns) {}

    m3dParamModelsC getModels();
    m3dParamModelInstancesC getModelInstances();
    m3dParamAttributeInstancesC getAttributeInstances();
    m3dParamFeaturesC getFeatures();
    m3dParamFeatureInstancesC getFeatureInstances();
    m3dParamLocationsC getLocations();
    m3dParamFeatureVectorsC getFeatureVectors();
    m3dParamFeatureVectorDescsC getFeatureVectorDescs();
    m3dParamAnnotationsC getAnnotations();
    m3dParamAnnotationInstancesC getAnnotationInstances();

    // "PDOCPREFS", created when missing.
    m3dParamDocumentPreferencesC getPrefs();
    // The same node, as the document operation gives it.
    m3dParamDocPrefsT getDocPrefs() override;

    // "ROOTMODEL"; empty when absent.
    mzComStringC getRootModelName();
    // The model named by ROOTMODEL; nodeless when none.
    m3dParamModelC getRootModel();

    // First model of PMODELS whose NAME equals name (case-sensitive); nodeless when none.
    m3dParamModelC findModelByName(const mzComStringC& name);
    // First descriptor whose TYPE equals type; nodeless when none.
    m3dParamFeatureVectorDescC findFeatureVectorDesc(const mzComStringC& type);
    // Index of the first location of this TYPE that stores what a location of that TYPE
    // with the given frame would store, within 1e-8 (NaN never matches); -1 when none.
    // What is compared: TYPE 0 the whole frame; TYPE 1 the origin and the direction;
    // TYPE 2 the origin; TYPE 3 the direction; TYPE 4 the rotation; any other TYPE the
    // whole (zero) frame. The frame holds the unit direction; directionLength is the
    // length the direction is stored with.
    int findLocation(int type, const double* frame, double directionLength = 1.0);
    // Index of the first vector of PFEATVECS with the candidate's TYPE and the same
    // number of elements of each kind, equal element by element (longs and strings
    // exactly, doubles and vector components within 1e-8, NaN never); -1 when none.
    int findFeatureVector(const m3dParamFeatureVectorValuesS& candidate);

    // Changes the length unit: scales the document by current / newUnit and stores
    // newUnit. A unit that is zero, negative or not finite is ignored; an absent, zero,
    // negative or non-finite current unit counts as 1.0.
    void setUnit(double newUnit);
    // The document operation of the unit change; the recursion flag is not used. Answers
    // 0 for a unit that is refused, 1 otherwise.
    int setUnitBase(double unit, int recursion) override;

    // Every location, then every feature vector, scaled in place.
    int scale(double factor) override;
    // The root model's instances (copy on write); nothing without a root model.
    int transform(const m3dParamMatrixT& matrix) override;
};
