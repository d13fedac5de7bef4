// Scale, transform and unit change of the parametric document and its entities.

#include "metamodel/param/paramops.h"

#include "metamodel/param/paramdocument.h"
#include "metamodel/param/paramlookup.h"

#include <cmath>
#include <vector>

namespace {

struct scaleOpS {
    double factor;
};
struct transformOpS {
    const double* matrix;
};

int apply(m3dParamFeatureInstanceC& inst, const scaleOpS& op) {
    return inst.scale(op.factor);
}
int apply(m3dParamFeatureInstanceC& inst, const transformOpS& op) {
    return inst.transform(paramMatrixFrom(op.matrix));
}
int apply(m3dParamAnnotationInstanceC& inst, const scaleOpS& op) {
    return inst.scale(op.factor);
}
int apply(m3dParamAnnotationInstanceC& inst, const transformOpS& op) {
    return inst.transform(paramMatrixFrom(op.matrix));
}

std::vector<int> readRefs(const metaObjListValContainerT<int>& refs) {
    std::vector<int> out;
    for (int i = 0, n = refs.count(); i < n; ++i)
        out.push_back(refs.getValueAt(i));
    return out;
}

// Unlinks and frees a copy appended within the same step.
void discard(metaTreePtrT node) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    if (api.unlink(node))
        api.release(node);
}

// What the copy on write needs of feature and of annotation instances.
struct featureKindS {
    using instanceT = m3dParamFeatureInstanceC;
    using ownerT = m3dParamFeatureC;
    // A feature instance carries annotation instances of its own, and they decide too.
    static constexpr bool hasAnnotations = true;
    static m3dParamFeatureInstanceReferencesC refs(m3dParamEntityC& e) {
        return e.getFeatureInstanceRefs();
    }
    static instanceT at(m3dParamEntityC& e, int i) { return e.getFeatureInstanceAt(i); }
    static m3dParamFeatureInstancesC list(m3dParamDocumentC& doc) {
        return doc.getFeatureInstances();
    }
    static ownerT owner(instanceT& inst) { return inst.getFeature(); }
    static void addRef(ownerT& owner, int index) { owner.addFeatureInstanceRef(index); }
};

struct annotationKindS {
    using instanceT = m3dParamAnnotationInstanceC;
    using ownerT = m3dParamAnnotationC;
    static constexpr bool hasAnnotations = false;
    static m3dParamAnnotationInstanceReferencesC refs(m3dParamEntityC& e) {
        return e.getAnnotationInstanceRefs();
    }
    static instanceT at(m3dParamEntityC& e, int i) { return e.getAnnotationInstanceAt(i); }
    static m3dParamAnnotationInstancesC list(m3dParamDocumentC& doc) {
        return doc.getAnnotationInstances();
    }
    static ownerT owner(instanceT& inst) { return inst.getAnnotation(); }
    static void addRef(ownerT& owner, int index) { owner.addAnnotationInstanceRef(index); }
};

// The references that make two instances of one feature (annotation) the same.
struct instanceKeyS {
    int loc = 0;
    int vec = 0;
    std::vector<int> annotations;
    bool operator==(const instanceKeyS&) const = default;
};

template <class KindT> instanceKeyS keyOf(typename KindT::instanceT& inst) {
    instanceKeyS key;
    key.loc = inst.getLocationRef();
    key.vec = inst.getFeatureVectorRef();
    if constexpr (KindT::hasAnnotations)
        key.annotations = readRefs(inst.getAnnotationInstanceRefs());
    return key;
}

// The document index of the owner's first instance with this key; -1 when none.
template <class KindT>
int findInstanceWithKey(typename KindT::ownerT& owner, const instanceKeyS& key) {
    auto refs = KindT::refs(owner);
    for (int i = 0; i < refs.count(); ++i) {
        typename KindT::instanceT inst = KindT::at(owner, i);
        if (inst.isValid() && keyOf<KindT>(inst) == key)
            return refs.getValueAt(i);
    }
    return -1;
}

template <class KindT, class OpT> void copyOnWrite(m3dParamEntityC& owner, const OpT& op) {
    m3dParamDocumentC doc = findParamDocument(owner);
    if (!doc.isValid())
        return;
    auto refs = KindT::refs(owner);
    for (int i = 0; i < refs.count(); ++i) {
        typename KindT::instanceT inst = KindT::at(owner, i);
        if (!inst.isValid())
            continue; // an unresolved reference stays as it is
        const instanceKeyS oldKey = keyOf<KindT>(inst);
        auto list = KindT::list(doc);
        const metaTreePtrT copyNode = list.append(inst.getTreePtr(), true);
        if (copyNode.isNull())
            continue;
        typename KindT::instanceT copy(copyNode);
        apply(copy, op);
        const instanceKeyS newKey = keyOf<KindT>(copy);
        if (newKey == oldKey) {
            discard(copyNode);
            continue;
        }
        typename KindT::ownerT feat = KindT::owner(inst);
        const int k = findInstanceWithKey<KindT>(feat, newKey);
        if (k != -1) {
            refs.setValueAt(i, k);
            discard(copyNode);
            continue;
        }
        const int n = list.count();
        refs.setValueAt(i, n - 1);
        KindT::addRef(feat, n - 1);
    }
}

} // namespace

// ---- instance locations.

void scaleInstanceLocation(m3dParamPlacedInstanceC& inst, double factor) {
    m3dParamLocationC loc = inst.getLocation();
    if (!loc.isValid())
        return;
    paramFrameT f = loc.getFrame();
    f[12] *= factor;
    f[13] *= factor;
    f[14] *= factor;
    setInstanceLocation(inst, f);
}

void transformInstanceLocation(m3dParamPlacedInstanceC& inst, const double* matrix) {
    m3dParamLocationC loc = inst.getLocation();
    if (!loc.isValid() || matrix == nullptr)
        return;
    setInstanceLocation(inst, paramMultiplyFrames(loc.getFrame(), paramFrameFrom(matrix)));
}

void setInstanceLocation(m3dParamPlacedInstanceC& inst, const paramFrameT& g) {
    m3dParamDocumentC doc = findParamDocument(inst);
    m3dParamLocationC old = inst.getLocation();
    if (!doc.isValid() || !old.isValid())
        return;
    const int type = old.getType();
    // Other kinds store nothing that a move changes.
    if (type < 0 || type > 4)
        return;
    const double directionLength = old.getDirectionLength();
    const int k = doc.findLocation(type, g.data(), directionLength);
    if (k != -1) {
        inst.setLocationRef(k);
        return;
    }
    // A copy of the old location written from the new frame; the old one is never changed.
    m3dParamLocationsC locations = doc.getLocations();
    const metaTreePtrT copyNode = locations.append(old.getTreePtr(), true);
    if (copyNode.isNull())
        return;
    m3dParamLocationC(copyNode).setFromFrame(g, directionLength);
    inst.setLocationRef(locations.count() - 1);
}

// ---- instance vectors.

void scaleInstanceVector(m3dParamPlacedInstanceC& inst, double factor) {
    m3dParamDocumentC doc = findParamDocument(inst);
    m3dParamFeatureVectorC vec = inst.getFeatureVector();
    if (!doc.isValid() || !vec.isValid())
        return;
    m3dParamFeatureVectorValuesS candidate = vec.readValues();
    for (std::size_t i = 0; i < candidate.doubles.size(); ++i) {
        if (!vec.isDoubleScaleInvariant(static_cast<int>(i)))
            candidate.doubles[i] *= factor;
    }
    for (std::size_t i = 0; i < candidate.vectors2d.size(); ++i) {
        if (!vec.isVector2dScaleInvariant(static_cast<int>(i))) {
            for (double& x : candidate.vectors2d[i])
                x *= factor;
        }
    }
    for (std::size_t i = 0; i < candidate.vectors3d.size(); ++i) {
        if (!vec.isVector3dScaleInvariant(static_cast<int>(i))) {
            for (double& x : candidate.vectors3d[i])
                x *= factor;
        }
    }
    int k = doc.findFeatureVector(candidate);
    if (k == -1) {
        m3dParamFeatureVectorsC vectors = doc.getFeatureVectors();
        const metaTreePtrT copyNode = vectors.append(vec.getTreePtr(), true);
        if (copyNode.isNull())
            return;
        // In the document, so that it finds its descriptor.
        m3dParamFeatureVectorC(copyNode).scale(factor);
        k = vectors.count() - 1;
    }
    inst.setFeatureVectorRef(k);
}

namespace {

// p * rotation (row vector times the upper-left 3x3) and + translation, by the flags.
std::array<double, 3> moveVector(std::array<double, 3> p, const double* m, bool rotate,
                                 bool translate) {
    if (rotate) {
        std::array<double, 3> r{};
        for (std::size_t j = 0; j < 3; ++j)
            r[j] = p[0] * m[j] + p[1] * m[4 + j] + p[2] * m[8 + j];
        p = r;
    }
    if (translate) {
        p[0] += m[12];
        p[1] += m[13];
        p[2] += m[14];
    }
    return p;
}

} // namespace

void transformInstanceVector(m3dParamPlacedInstanceC& inst, const double* matrix) {
    m3dParamDocumentC doc = findParamDocument(inst);
    m3dParamFeatureVectorC vec = inst.getFeatureVector();
    if (!doc.isValid() || !vec.isValid() || matrix == nullptr)
        return;
    m3dParamFeatureVectorValuesS candidate = vec.readValues();
    for (std::size_t i = 0; i < candidate.vectors2d.size(); ++i) {
        const int index = static_cast<int>(i);
        auto& e = candidate.vectors2d[i];
        const auto p =
            moveVector({e[0], e[1], 0.0}, matrix, !vec.isVector2dRotationInvariant(index),
                       !vec.isVector2dTranslationInvariant(index));
        e = {p[0], p[1]};
    }
    for (std::size_t i = 0; i < candidate.vectors3d.size(); ++i) {
        const int index = static_cast<int>(i);
        candidate.vectors3d[i] =
            moveVector(candidate.vectors3d[i], matrix, !vec.isVector3dRotationInvariant(index),
                       !vec.isVector3dTranslationInvariant(index));
    }
    int k = doc.findFeatureVector(candidate);
    if (k == -1) {
        // A new vector with only TYPE and the five element lists.
        m3dParamFeatureVectorC fresh;
        if (!fresh.ctorNewNode())
            return;
        fresh.setType(candidate.type);
        fresh.appendValues(candidate);
        m3dParamFeatureVectorsC vectors = doc.getFeatureVectors();
        if (vectors.append(fresh.getTreePtr()).isNull())
            return;
        k = vectors.count() - 1;
    }
    inst.setFeatureVectorRef(k);
}

// ---- copy on write.

void scaleFeatureInstanceRefs(m3dParamEntityC& owner, double factor) {
    copyOnWrite<featureKindS>(owner, scaleOpS{factor});
}
void transformFeatureInstanceRefs(m3dParamEntityC& owner, const double* matrix) {
    if (matrix != nullptr)
        copyOnWrite<featureKindS>(owner, transformOpS{matrix});
}
void scaleAnnotationInstanceRefs(m3dParamEntityC& owner, double factor) {
    copyOnWrite<annotationKindS>(owner, scaleOpS{factor});
}
void transformAnnotationInstanceRefs(m3dParamEntityC& owner, const double* matrix) {
    if (matrix != nullptr)
        copyOnWrite<annotationKindS>(owner, transformOpS{matrix});
}

// ---- entity operations.

int m3dParamFeatureInstanceC::scale(double factor) {
    if (!isValid())
        return 1;
    const paramLookupScopeC lookups(findParamDocument(*this).getTreePtr());
    scaleInstanceLocation(*this, factor);
    scaleInstanceVector(*this, factor);
    scaleAnnotationInstanceRefs(*this, factor);
    return 1;
}

int m3dParamFeatureInstanceC::transform(const m3dParamMatrixT& matrixArg) {
    const double* matrix = matrixArg.data();
    if (!isValid())
        return 1;
    const paramLookupScopeC lookups(findParamDocument(*this).getTreePtr());
    transformInstanceLocation(*this, matrix);
    transformInstanceVector(*this, matrix);
    transformAnnotationInstanceRefs(*this, matrix);
    return 1;
}

int m3dParamAnnotationInstanceC::scale(double factor) {
    if (!isValid())
        return 1;
    const paramLookupScopeC lookups(findParamDocument(*this).getTreePtr());
    scaleInstanceLocation(*this, factor);
    scaleInstanceVector(*this, factor);
    return 1;
}

int m3dParamAnnotationInstanceC::transform(const m3dParamMatrixT& matrixArg) {
    const double* matrix = matrixArg.data();
    if (!isValid())
        return 1;
    const paramLookupScopeC lookups(findParamDocument(*this).getTreePtr());
    transformInstanceLocation(*this, matrix);
    transformInstanceVector(*this, matrix);
    return 1;
}

int m3dParamModelInstanceC::scale(double factor) {
    if (!isValid())
        return 1;
    const paramLookupScopeC lookups(findParamDocument(*this).getTreePtr());
    scaleFeatureInstanceRefs(*this, factor);
    scaleAnnotationInstanceRefs(*this, factor);
    return 1;
}

int m3dParamModelInstanceC::transform(const m3dParamMatrixT& matrixArg) {
    const double* matrix = matrixArg.data();
    if (!isValid())
        return 1;
    const paramLookupScopeC lookups(findParamDocument(*this).getTreePtr());
    transformFeatureInstanceRefs(*this, matrix);
    transformAnnotationInstanceRefs(*this, matrix);
    return 1;
}

int m3dParamModelC::scale(double factor) {
    if (!isValid())
        return 1;
    const paramLookupScopeC lookups(findParamDocument(*this).getTreePtr());
    for (int i = 0; i < getInstanceRefs().count(); ++i)
        getInstanceAt(i).scale(factor);
    return 1;
}

int m3dParamModelC::transform(const m3dParamMatrixT& matrix) {
    if (!isValid())
        return 1;
    const paramLookupScopeC lookups(findParamDocument(*this).getTreePtr());
    for (int i = 0; i < getInstanceRefs().count(); ++i)
        getInstanceAt(i).transform(matrix);
    return 1;
}

int m3dParamFeatureC::scale(double factor) {
    if (!isValid())
        return 1;
    const paramLookupScopeC lookups(findParamDocument(*this).getTreePtr());
    for (int i = 0; i < getFeatureInstanceRefs().count(); ++i)
        getFeatureInstanceAt(i).scale(factor);
    return 1;
}

int m3dParamFeatureC::transform(const m3dParamMatrixT& matrix) {
    if (!isValid())
        return 1;
    const paramLookupScopeC lookups(findParamDocument(*this).getTreePtr());
    for (int i = 0; i < getFeatureInstanceRefs().count(); ++i)
        getFeatureInstanceAt(i).transform(matrix);
    return 1;
}

int m3dParamAnnotationC::scale(double factor) {
    if (!isValid())
        return 1;
    const paramLookupScopeC lookups(findParamDocument(*this).getTreePtr());
    for (int i = 0; i < getAnnotationInstanceRefs().count(); ++i)
        getAnnotationInstanceAt(i).scale(factor);
    return 1;
}

int m3dParamAnnotationC::transform(const m3dParamMatrixT& matrix) {
    if (!isValid())
        return 1;
    const paramLookupScopeC lookups(findParamDocument(*this).getTreePtr());
    for (int i = 0; i < getAnnotationInstanceRefs().count(); ++i)
        getAnnotationInstanceAt(i).transform(matrix);
    return 1;
}

int m3dParamAttributeC::scale(double factor) {
    if (!isValid())
        return 1;
    const paramLookupScopeC lookups(findParamDocument(*this).getTreePtr());
    for (int i = 0; i < getInstanceRefs().count(); ++i)
        getInstanceAt(i).scale(factor);
    return 1;
}

int m3dParamAttributeC::transform(const m3dParamMatrixT& matrix) {
    if (!isValid())
        return 1;
    const paramLookupScopeC lookups(findParamDocument(*this).getTreePtr());
    for (int i = 0; i < getInstanceRefs().count(); ++i)
        getInstanceAt(i).transform(matrix);
    return 1;
}

int m3dParamFeatureVectorC::scale(double factor) {
    if (!isValid())
        return 1;
    m3dParamFeatureVectorDoubleElementsC doubles = getDoubleElements();
    for (int i = 0; i < doubles.count(); ++i) {
        bool found = false;
        const double x = doubles.getValueAt(i, &found);
        if (found && !isDoubleScaleInvariant(i))
            doubles.setValueAt(i, x * factor);
    }
    m3dParamFeatureVectorVector2dElementsC v2 = getVector2dElements();
    for (int i = 0; i < v2.count(); ++i) {
        int ok = 0;
        const vectorC2d<double> p = v2.getPointAt(i).getPoint(&ok);
        // A malformed element is left as it is rather than overwritten with zeros.
        if (ok && !isVector2dScaleInvariant(i))
            v2.setPointAt(i, {p.x * factor, p.y * factor});
    }
    m3dParamFeatureVectorVector3dElementsC v3 = getVector3dElements();
    for (int i = 0; i < v3.count(); ++i) {
        int ok = 0;
        const auto p = readVector3d(v3.getAt(i), &ok);
        if (ok && !isVector3dScaleInvariant(i))
            v3.setPoint3dAt(i, {p[0] * factor, p[1] * factor, p[2] * factor});
    }
    return 1;
}

// ---- document.

int m3dParamDocumentC::setUnitBase(double unit, int /*recursion*/) {
    if (!std::isfinite(unit) || !(unit > 0.0))
        return 0;
    setUnit(unit);
    return 1;
}

void m3dParamDocumentC::setUnit(double newUnit) {
    // A unit must be a positive length; anything else would wipe or poison every value.
    if (!isValid() || !std::isfinite(newUnit) || !(newUnit > 0.0))
        return;
    m3dParamDocPrefsT prefs = getDocPrefs();
    double current = prefs.getUnitBase();
    if (!std::isfinite(current) || !(current > 0.0))
        current = 1.0;
    if (current == newUnit)
        return;
    scale(current / newUnit);
    prefs.setUnitBase(newUnit);
}

int m3dParamDocumentC::scale(double factor) {
    if (!isValid())
        return 1;
    m3dParamLocationsC locations = getLocations();
    for (int i = 0; i < locations.count(); ++i)
        locations.getElementAt(i).scale(factor);
    m3dParamFeatureVectorsC vectors = getFeatureVectors();
    for (int i = 0; i < vectors.count(); ++i)
        vectors.getElementAt(i).scale(factor);
    return 1;
}

int m3dParamDocumentC::transform(const m3dParamMatrixT& matrix) {
    if (!isValid())
        return 1;
    const paramLookupScopeC lookups(getTreePtr());
    m3dParamModelC root = getRootModel();
    if (root.isValid())
        root.transform(matrix);
    return 1;
}
