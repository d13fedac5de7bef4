#pragma once
// Entity views of the parametric description under a "PDOC" node: models and their
// instances, features, feature instances, annotations, attributes, locations, feature
// vectors and their descriptors, classifications and attachments; the integer reference
// lists that tie them together and the element lists of a feature vector.
//
// Entities never nest: an entity names another by its index in the document list of that
// kind (an integer child, or an element of an integer list), resolved through the "PDOC"
// ancestor of the entity (findParamDocument). A reference that does not resolve gives a
// view without a node, and every operation on such a view does nothing.
//
// Like every meta view these hold a node and cache nothing. Property and list accessors go
// through getOrAddChild, so reading a missing property creates its empty key node.

#include "metamodel/core/listviews.h"
#include "metamodel/m2d/point2d.h"
#include "metamodel/param/geombase.h"
#include "metamodel/param/paramframe.h"

#include <array>
#include <cstdint>
#include <vector>

class m3dParamDocumentC;
class m3dParamFeatureInstanceC;
class m3dParamAnnotationInstanceC;
class m3dParamModelInstanceC;
class m3dParamAttributeInstanceC;
class m3dParamFeatureC;
class m3dParamAnnotationC;
class m3dParamLocationC;
class m3dParamFeatureVectorC;

// ---- integer reference lists: (PFEATIREFS 0 3 4)
class m3dParamFeatureInstanceReferencesC : public metaObjListValContainerT<int> {
public:
    static mzComStringC keyName() { return "PFEATIREFS"; }
    using metaObjListValContainerT<int>::metaObjListValContainerT;
};
class m3dParamAnnotationInstanceReferencesC : public metaObjListValContainerT<int> {
public:
    static mzComStringC keyName() { return "PANNOIREFS"; }
    using metaObjListValContainerT<int>::metaObjListValContainerT;
};
class m3dParamModelInstanceReferencesC : public metaObjListValContainerT<int> {
public:
    static mzComStringC keyName() { return "PMODELIREFS"; }
    using metaObjListValContainerT<int>::metaObjListValContainerT;
};
class m3dParamAttributeInstanceReferencesC : public metaObjListValContainerT<int> {
public:
    static mzComStringC keyName() { return "PATTRIREFS"; }
    using metaObjListValContainerT<int>::metaObjListValContainerT;
};

// ---- base of every entity.
class m3dParamEntityC : public m3dParamGeomOpBaseT {
public:
    m3dParamEntityC() = default;
    explicit m3dParamEntityC(metaTreePtrT node, bool owns = false)
        : m3dParamGeomOpBaseT(node, owns) {}

    // Dispatch by tag through the m3dParamEntityC registry: the prototype registered
    // under the node's tag, bound to the node for the call. No prototype, or this very
    // object, answers 1 and does nothing.
    int scale(double factor) override;
    int transform(const m3dParamMatrixT& matrix) override;

    m3dParamFeatureInstanceReferencesC getFeatureInstanceRefs();
    m3dParamAnnotationInstanceReferencesC getAnnotationInstanceRefs();
    // The instance named by the i-th reference; nodeless when it does not resolve.
    m3dParamFeatureInstanceC getFeatureInstanceAt(int index);
    m3dParamAnnotationInstanceC getAnnotationInstanceAt(int index);
    // Appends an index to the reference list; false without a node.
    bool addFeatureInstanceRef(int index);
    bool addAnnotationInstanceRef(int index);

protected:
    // The integer of property key; found is false when it holds no number.
    std::int32_t getIntProperty(const mzComStringC& key, bool* found = nullptr);
    bool setIntProperty(const mzComStringC& key, std::int32_t value);
    mzComStringC getStringProperty(const mzComStringC& key);
    bool setStringProperty(const mzComStringC& key, const mzComStringC& value);
};

// The parametric document that holds an entity: its nearest "PDOC" ancestor; nodeless
// when there is none.
m3dParamDocumentC findParamDocument(const metaObjectVirtualDataBaseC& entity);

// ---- models.
class m3dParamModelC : public m3dParamEntityC {
public:
    static mzComStringC tagName() { return "PMODEL"; }
    using m3dParamEntityC::m3dParamEntityC;

    // "NAME"; empty when absent.
    mzComStringC getName() const;
    m3dParamModelInstanceReferencesC getInstanceRefs();
    m3dParamModelInstanceC getInstanceAt(int index);

    // Each instance of PMODELIREFS in turn, called directly.
    int scale(double factor) override;
    int transform(const m3dParamMatrixT& matrix) override;
};
class m3dParamPartC : public m3dParamModelC {
public:
    static mzComStringC tagName() { return "PPART"; }
    using m3dParamModelC::m3dParamModelC;
};
class m3dParamAssemblyC : public m3dParamModelC {
public:
    static mzComStringC tagName() { return "PASM"; }
    using m3dParamModelC::m3dParamModelC;
};

class m3dParamModelInstanceC : public m3dParamEntityC {
public:
    static mzComStringC tagName() { return "PMODELI"; }
    using m3dParamEntityC::m3dParamEntityC;

    // Its feature instances, then its annotation instances, copy on write.
    int scale(double factor) override;
    int transform(const m3dParamMatrixT& matrix) override;
};
class m3dParamPartInstanceC : public m3dParamModelInstanceC {
public:
    static mzComStringC tagName() { return "PPARTI"; }
    using m3dParamModelInstanceC::m3dParamModelInstanceC;
};
class m3dParamAssemblyInstanceC : public m3dParamModelInstanceC {
public:
    static mzComStringC tagName() { return "PASMI"; }
    using m3dParamModelInstanceC::m3dParamModelInstanceC;
};

// ---- what feature and annotation instances share: a location and a feature vector.
class m3dParamPlacedInstanceC : public m3dParamEntityC {
public:
    using m3dParamEntityC::m3dParamEntityC;

    // "PLOCATIONREF" / "PFEATUREVECTORREF"; 0 when absent (found false then).
    std::int32_t getLocationRef(bool* found = nullptr);
    bool setLocationRef(std::int32_t index);
    std::int32_t getFeatureVectorRef(bool* found = nullptr);
    bool setFeatureVectorRef(std::int32_t index);
    // The referred location / vector; nodeless when the reference is absent or outside
    // the document list.
    m3dParamLocationC getLocation();
    m3dParamFeatureVectorC getFeatureVector();
};

class m3dParamFeatureInstanceC : public m3dParamPlacedInstanceC {
public:
    static mzComStringC tagName() { return "PFEATI"; }
    using m3dParamPlacedInstanceC::m3dParamPlacedInstanceC;

    // "PFEATUREREF".
    std::int32_t getFeatureRef(bool* found = nullptr);
    m3dParamFeatureC getFeature();

    // Location, then feature vector, then annotation instances (copy on write).
    int scale(double factor) override;
    int transform(const m3dParamMatrixT& matrix) override;
};

class m3dParamAnnotationInstanceC : public m3dParamPlacedInstanceC {
public:
    static mzComStringC tagName() { return "PANNOI"; }
    using m3dParamPlacedInstanceC::m3dParamPlacedInstanceC;

    // "PANNOREF".
    std::int32_t getAnnotationRef(bool* found = nullptr);
    m3dParamAnnotationC getAnnotation();

    // Location, then feature vector.
    int scale(double factor) override;
    int transform(const m3dParamMatrixT& matrix) override;
};

// ---- features and annotations: their instances are listed in PFEATIREFS / PANNOIREFS.
class m3dParamFeatureC : public m3dParamEntityC {
public:
    static mzComStringC tagName() { return "PFEAT"; }
    using m3dParamEntityC::m3dParamEntityC;

    // The document index (the reference element's value) of the first instance whose
    // location and vector references equal loc and vec; -1 when none.
    int findInstance(int loc, int vec);

    // Each instance in place (their references are repointed).
    int scale(double factor) override;
    int transform(const m3dParamMatrixT& matrix) override;
};

class m3dParamAnnotationC : public m3dParamEntityC {
public:
    static mzComStringC tagName() { return "PANNO"; }
    using m3dParamEntityC::m3dParamEntityC;

    int findInstance(int loc, int vec);
    int scale(double factor) override;
    int transform(const m3dParamMatrixT& matrix) override;
};

// ---- attributes.
class m3dParamAttributeInstanceC : public m3dParamEntityC {
public:
    static mzComStringC tagName() { return "PATTRI"; }
    using m3dParamEntityC::m3dParamEntityC;
    int scale(double) override { return 1; }
    int transform(const m3dParamMatrixT&) override { return 1; }
};

class m3dParamAttributeC : public m3dParamEntityC {
public:
    static mzComStringC tagName() { return "PATTR"; }
    using m3dParamEntityC::m3dParamEntityC;

    m3dParamAttributeInstanceReferencesC getInstanceRefs();
    m3dParamAttributeInstanceC getInstanceAt(int index);
    int scale(double factor) override;
    int transform(const m3dParamMatrixT& matrix) override;
};

// ---- locations: "TYPE" and the values "PLOCVALS" (see paramlocation.cpp for the kinds).
class m3dParamLocationValuesC : public metaObjListValContainerT<double> {
public:
    static mzComStringC keyName() { return "PLOCVALS"; }
    using metaObjListValContainerT<double>::metaObjListValContainerT;
};

class m3dParamLocationC : public m3dParamEntityC {
public:
    static mzComStringC tagName() { return "PLOC"; }
    using m3dParamEntityC::m3dParamEntityC;

    // "TYPE"; 0 when absent.
    std::int32_t getType();
    m3dParamLocationValuesC getValues();
    // TYPE and the frame as getType and getFrame give them, read without adding a missing
    // "TYPE" or "PLOCVALS" (the searches read every location of a document).
    std::int32_t readType() const;
    paramFrameT readFrame() const;
    // Value i; 0.0 when absent.
    double getValueAt(int index);
    // The frame the values describe (identity without a node).
    paramFrameT getFrame();
    // The length of the stored direction of a TYPE 1 or 3 location; 1.0 for other kinds.
    double getDirectionLength();
    // Writes the values of a location of this TYPE whose frame is f (in place; missing
    // value nodes are skipped). directionLength is the length given to the direction of a
    // TYPE 1 or 3 location (its frame holds the unit direction).
    void setFromFrame(const paramFrameT& f, double directionLength);

    // Scales the stored origin of TYPE 0 to 2 in place; other kinds are left alone.
    int scale(double factor) override;
    // Writes back the values of getFrame() * matrix.
    int transform(const m3dParamMatrixT& matrix) override;
};

// ---- feature vectors.
class m3dParamFeatureVectorLongElementsC : public metaObjListValContainerT<long int> {
public:
    static mzComStringC keyName() { return "PLELS"; }
    using metaObjListValContainerT<long int>::metaObjListValContainerT;
};
class m3dParamFeatureVectorDoubleElementsC : public metaObjListValContainerT<double> {
public:
    static mzComStringC keyName() { return "PDELS"; }
    using metaObjListValContainerT<double>::metaObjListValContainerT;
};
class m3dParamFeatureVectorStringElementsC : public metaObjListStrContainerC {
public:
    static mzComStringC keyName() { return "PSELS"; }
    using metaObjListStrContainerC::metaObjListStrContainerC;
};
class m3dParamFeatureVectorVector2dElementsC : public metaObjListPoint2dContainerC {
public:
    static mzComStringC keyName() { return "PV2ELS"; }
    using metaObjListPoint2dContainerC::metaObjListPoint2dContainerC;
    // Appends a new "POINT" element.
    bool appendVector(double x, double y);
};

// List of "POINT3D" children holding three doubles (other children are neither counted
// nor indexed). Its own, since the 3D views' point list has no overwrite in place.
class paramPoint3dListC : public metaObjListContainerC {
public:
    static mzComStringC elementKey() { return "POINT3D"; }
    using metaObjListContainerC::metaObjListContainerC;

    int count() const;
    metaTreePtrT getAt(int index) const;
    // The three doubles of element i; the zero vector unless it holds exactly three.
    std::array<double, 3> getPoint3dAt(int index) const;
    // Overwrites element i in place; false when out of range.
    bool setPoint3dAt(int index, const std::array<double, 3>& p);
    bool appendPoint3d(const std::array<double, 3>& p);
};

class m3dParamFeatureVectorVector3dElementsC : public paramPoint3dListC {
public:
    static mzComStringC keyName() { return "PV3ELS"; }
    using paramPoint3dListC::paramPoint3dListC;
};

// The values of a feature vector held in memory: a candidate built by an operation, or
// a stored vector read once.
struct m3dParamFeatureVectorValuesS {
    mzComStringC type;
    std::vector<std::int32_t> longs;
    std::vector<double> doubles;
    std::vector<mzComStringC> strings;
    std::vector<std::array<double, 2>> vectors2d;
    std::vector<std::array<double, 3>> vectors3d;
};

class m3dParamFeatureVectorC : public m3dParamEntityC {
public:
    static mzComStringC tagName() { return "PFEATVEC"; }
    using m3dParamEntityC::m3dParamEntityC;

    // Binds the view to a new free "PFEATVEC" node owned by the view.
    bool ctorNewNode() { return metaObjectVirtualDataBaseC::ctorNewNode(tagName()); }

    // "TYPE"; links the vector to the descriptor of the same TYPE.
    mzComStringC getType();
    bool setType(const mzComStringC& type);

    m3dParamFeatureVectorLongElementsC getLongElements();
    m3dParamFeatureVectorDoubleElementsC getDoubleElements();
    m3dParamFeatureVectorStringElementsC getStringElements();
    m3dParamFeatureVectorVector2dElementsC getVector2dElements();
    m3dParamFeatureVectorVector3dElementsC getVector3dElements();

    // All values of the vector (empty without a node). Reading adds nothing: a list the
    // vector lacks reads as empty.
    m3dParamFeatureVectorValuesS readValues() const;
    // Appends the elements of values to the five lists, in the order of the lists.
    void appendValues(const m3dParamFeatureVectorValuesS& values);

    // Invariance of element i, from the descriptor of the same TYPE in the document;
    // 0 without a descriptor or without its i-th element descriptor.
    int isDoubleScaleInvariant(int index);
    int isVector2dScaleInvariant(int index);
    int isVector2dTranslationInvariant(int index);
    int isVector2dRotationInvariant(int index);
    int isVector3dScaleInvariant(int index);
    int isVector3dTranslationInvariant(int index);
    int isVector3dRotationInvariant(int index);

    // Scales in place every double, 2D and 3D element that is not scale-invariant.
    int scale(double factor) override;
    int transform(const m3dParamMatrixT&) override { return 1; }
};

// ---- feature vector descriptors.
class m3dParamFeatureVectorElementDescBaseC : public m3dParamEntityC {
public:
    using m3dParamEntityC::m3dParamEntityC;
    // The flags "SCALEINV", "TRANSINV", "ROTINV" (created empty when missing, reading 0).
    int getScaleInv();
    int getTransInv();
    int getRotInv();
};
class m3dParamFeatureVectorDoubleElementDescC : public m3dParamFeatureVectorElementDescBaseC {
public:
    static mzComStringC tagName() { return "PFEATVECDDESC"; }
    using m3dParamFeatureVectorElementDescBaseC::m3dParamFeatureVectorElementDescBaseC;
};
class m3dParamFeatureVectorVector2dElementDescC : public m3dParamFeatureVectorElementDescBaseC {
public:
    static mzComStringC tagName() { return "PFEAETVECV2DESC"; }
    using m3dParamFeatureVectorElementDescBaseC::m3dParamFeatureVectorElementDescBaseC;
};
class m3dParamFeatureVectorVector3dElementDescC : public m3dParamFeatureVectorElementDescBaseC {
public:
    static mzComStringC tagName() { return "PFEAETVECV3DESC"; }
    using m3dParamFeatureVectorElementDescBaseC::m3dParamFeatureVectorElementDescBaseC;
};

// Element descriptor lists: the children with the element tag, others skipped.
template <class DescT> class m3dParamElementDescListT : public metaObjListContainerC {
public:
    using metaObjListContainerC::metaObjListContainerC;
    int count() const { return countByKey(DescT::tagName()); }
    DescT getDescAt(int index) const { return DescT(getAtByKey(DescT::tagName(), index)); }
};
class m3dParamFeatureVectorDoubleElementDescsC
    : public m3dParamElementDescListT<m3dParamFeatureVectorDoubleElementDescC> {
public:
    static mzComStringC keyName() { return "PFEATELDESCSD"; }
    using m3dParamElementDescListT::m3dParamElementDescListT;
};
class m3dParamFeatureVectorVector2dElementDescsC
    : public m3dParamElementDescListT<m3dParamFeatureVectorVector2dElementDescC> {
public:
    static mzComStringC keyName() { return "PFEATELDESCSV2"; }
    using m3dParamElementDescListT::m3dParamElementDescListT;
};
class m3dParamFeatureVectorVector3dElementDescsC
    : public m3dParamElementDescListT<m3dParamFeatureVectorVector3dElementDescC> {
public:
    static mzComStringC keyName() { return "PFEATELDESCSV3"; }
    using m3dParamElementDescListT::m3dParamElementDescListT;
};

class m3dParamFeatureVectorDescC : public m3dParamEntityC {
public:
    static mzComStringC tagName() { return "PFEATVECDESC"; }
    using m3dParamEntityC::m3dParamEntityC;

    mzComStringC getType();
    bool setType(const mzComStringC& type);
    m3dParamFeatureVectorDoubleElementDescsC getDoubleElementDescs();
    m3dParamFeatureVectorVector2dElementDescsC getVector2dElementDescs();
    m3dParamFeatureVectorVector3dElementDescsC getVector3dElementDescs();

    int scale(double) override { return 1; }
    int transform(const m3dParamMatrixT&) override { return 1; }
};

// ---- classifications and attachments: nothing of them is read.
class m3dParamClassificationC : public m3dParamEntityC {
public:
    static mzComStringC tagName() { return "PCLASS"; }
    using m3dParamEntityC::m3dParamEntityC;
};
class m3dParamClassificationEntryC : public m3dParamEntityC {
public:
    static mzComStringC tagName() { return "PCLASSENTRY"; }
    using m3dParamEntityC::m3dParamEntityC;
};
class m3dParamClassificationValueC : public m3dParamEntityC {
public:
    static mzComStringC tagName() { return "PCLASSVALUE"; }
    using m3dParamEntityC::m3dParamEntityC;
};
class m3dParamClassificationEntryInstanceC : public m3dParamEntityC {
public:
    static mzComStringC tagName() { return "PCLASSENTRYI"; }
    using m3dParamEntityC::m3dParamEntityC;
};
class m3dParamClassificationValueInstanceC : public m3dParamEntityC {
public:
    static mzComStringC tagName() { return "PCLASSVALUEI"; }
    using m3dParamEntityC::m3dParamEntityC;
};
class m3dParamAttachmentC : public m3dParamEntityC {
public:
    static mzComStringC tagName() { return "PATTACH"; }
    using m3dParamEntityC::m3dParamEntityC;
    int scale(double) override { return 1; }
    int transform(const m3dParamMatrixT&) override { return 1; }
};
class m3dParamAttachmentInstanceC : public m3dParamEntityC {
public:
    static mzComStringC tagName() { return "PATTACHI"; }
    using m3dParamEntityC::m3dParamEntityC;
    int scale(double) override { return 1; }
    int transform(const m3dParamMatrixT&) override { return 1; }
};
