// Entity accessors, reference resolution, feature vector elements and invariance flags,
// and the dispatch of scale and transform by tag.

#include "metamodel/param/paramentities.h"

#include "metamodel/core/doublevalues.h"
#include "metamodel/core/registry.h"
#include "metamodel/core/valueviews.h"
#include "metamodel/param/paramdocument.h"

namespace {

// The node of the index-th element of a document list; null when the index is outside.
template <class ListT> metaTreePtrT elementAt(ListT list, int index) {
    if (index < 0)
        return metaTreePtrT();
    return list.getAt(index);
}

// The index-th element of the reference list, as a document index; found false when the
// list has no such element.
int referenceAt(const metaObjListValContainerT<int>& refs, int index, bool* found) {
    bool isNumber = false;
    const int value = refs.getValueAt(index, &isNumber);
    *found = isNumber;
    return value;
}

} // namespace

// ---- base.

int m3dParamEntityC::scale(double factor) {
    if (!isKeyNode())
        return 1;
    m3dParamEntityC* proto = lookupInterfaceInstance<m3dParamEntityC>(getTag());
    if (!proto || proto == this)
        return 1;
    prototypeBindGuardC bind(*proto, getTreePtr());
    return proto->scale(factor);
}

int m3dParamEntityC::transform(const m3dParamMatrixT& matrix) {
    if (!isKeyNode())
        return 1;
    m3dParamEntityC* proto = lookupInterfaceInstance<m3dParamEntityC>(getTag());
    if (!proto || proto == this)
        return 1;
    prototypeBindGuardC bind(*proto, getTreePtr());
    return proto->transform(matrix);
}

std::int32_t m3dParamEntityC::getIntProperty(const mzComStringC& key, bool* found) {
    return metaObjIntC(getOrAddChild(key)).get(found);
}

bool m3dParamEntityC::setIntProperty(const mzComStringC& key, std::int32_t value) {
    metaObjIntC property(getOrAddChild(key));
    bool found = false;
    // An equal value is left as it is written (an integer stored as 1.0 stays so).
    if (property.get(&found) == value && found)
        return true;
    return property.set(value);
}

mzComStringC m3dParamEntityC::getStringProperty(const mzComStringC& key) {
    return metaObjStrC(getOrAddChild(key)).get();
}

bool m3dParamEntityC::setStringProperty(const mzComStringC& key, const mzComStringC& value) {
    return metaObjStrC(getOrAddChild(key)).set(value);
}

m3dParamFeatureInstanceReferencesC m3dParamEntityC::getFeatureInstanceRefs() {
    return m3dParamFeatureInstanceReferencesC(
        getOrAddChild(m3dParamFeatureInstanceReferencesC::keyName()));
}

m3dParamAnnotationInstanceReferencesC m3dParamEntityC::getAnnotationInstanceRefs() {
    return m3dParamAnnotationInstanceReferencesC(
        getOrAddChild(m3dParamAnnotationInstanceReferencesC::keyName()));
}

m3dParamFeatureInstanceC m3dParamEntityC::getFeatureInstanceAt(int index) {
    bool found = false;
    const int ref = referenceAt(getFeatureInstanceRefs(), index, &found);
    if (!found)
        return m3dParamFeatureInstanceC();
    return m3dParamFeatureInstanceC(elementAt(findParamDocument(*this).getFeatureInstances(), ref));
}

m3dParamAnnotationInstanceC m3dParamEntityC::getAnnotationInstanceAt(int index) {
    bool found = false;
    const int ref = referenceAt(getAnnotationInstanceRefs(), index, &found);
    if (!found)
        return m3dParamAnnotationInstanceC();
    return m3dParamAnnotationInstanceC(
        elementAt(findParamDocument(*this).getAnnotationInstances(), ref));
}

bool m3dParamEntityC::addFeatureInstanceRef(int index) {
    return getFeatureInstanceRefs().appendValue(index);
}

bool m3dParamEntityC::addAnnotationInstanceRef(int index) {
    return getAnnotationInstanceRefs().appendValue(index);
}

m3dParamDocumentC findParamDocument(const metaObjectVirtualDataBaseC& entity) {
    return m3dParamDocumentC(entity.findAncestor(m3dParamDocumentC::tagName()));
}

// ---- models and attributes.

mzComStringC m3dParamModelC::getName() const {
    return getNameAttr(*this);
}

m3dParamModelInstanceReferencesC m3dParamModelC::getInstanceRefs() {
    return m3dParamModelInstanceReferencesC(
        getOrAddChild(m3dParamModelInstanceReferencesC::keyName()));
}

m3dParamModelInstanceC m3dParamModelC::getInstanceAt(int index) {
    bool found = false;
    const int ref = referenceAt(getInstanceRefs(), index, &found);
    if (!found)
        return m3dParamModelInstanceC();
    return m3dParamModelInstanceC(elementAt(findParamDocument(*this).getModelInstances(), ref));
}

m3dParamAttributeInstanceReferencesC m3dParamAttributeC::getInstanceRefs() {
    return m3dParamAttributeInstanceReferencesC(
        getOrAddChild(m3dParamAttributeInstanceReferencesC::keyName()));
}

m3dParamAttributeInstanceC m3dParamAttributeC::getInstanceAt(int index) {
    bool found = false;
    const int ref = referenceAt(getInstanceRefs(), index, &found);
    if (!found)
        return m3dParamAttributeInstanceC();
    return m3dParamAttributeInstanceC(
        elementAt(findParamDocument(*this).getAttributeInstances(), ref));
}

// ---- instances.

std::int32_t m3dParamPlacedInstanceC::getLocationRef(bool* found) {
    return getIntProperty("PLOCATIONREF", found);
}

bool m3dParamPlacedInstanceC::setLocationRef(std::int32_t index) {
    return setIntProperty("PLOCATIONREF", index);
}

std::int32_t m3dParamPlacedInstanceC::getFeatureVectorRef(bool* found) {
    return getIntProperty("PFEATUREVECTORREF", found);
}

bool m3dParamPlacedInstanceC::setFeatureVectorRef(std::int32_t index) {
    return setIntProperty("PFEATUREVECTORREF", index);
}

m3dParamLocationC m3dParamPlacedInstanceC::getLocation() {
    bool found = false;
    const int ref = getLocationRef(&found);
    if (!found)
        return m3dParamLocationC();
    return m3dParamLocationC(elementAt(findParamDocument(*this).getLocations(), ref));
}

m3dParamFeatureVectorC m3dParamPlacedInstanceC::getFeatureVector() {
    bool found = false;
    const int ref = getFeatureVectorRef(&found);
    if (!found)
        return m3dParamFeatureVectorC();
    return m3dParamFeatureVectorC(elementAt(findParamDocument(*this).getFeatureVectors(), ref));
}

std::int32_t m3dParamFeatureInstanceC::getFeatureRef(bool* found) {
    return getIntProperty("PFEATUREREF", found);
}

m3dParamFeatureC m3dParamFeatureInstanceC::getFeature() {
    bool found = false;
    const int ref = getFeatureRef(&found);
    if (!found)
        return m3dParamFeatureC();
    return m3dParamFeatureC(elementAt(findParamDocument(*this).getFeatures(), ref));
}

std::int32_t m3dParamAnnotationInstanceC::getAnnotationRef(bool* found) {
    return getIntProperty("PANNOREF", found);
}

m3dParamAnnotationC m3dParamAnnotationInstanceC::getAnnotation() {
    bool found = false;
    const int ref = getAnnotationRef(&found);
    if (!found)
        return m3dParamAnnotationC();
    return m3dParamAnnotationC(elementAt(findParamDocument(*this).getAnnotations(), ref));
}

// ---- instance lookup by references.

namespace {

template <class InstanceT, class RefsT, class ResolveT>
int findInstanceByRefs(RefsT refs, ResolveT resolve, int loc, int vec) {
    for (int i = 0; i < refs.count(); ++i) {
        InstanceT inst = resolve(i);
        if (!inst.isValid())
            continue;
        bool hasLoc = false, hasVec = false;
        const int l = inst.getLocationRef(&hasLoc);
        const int v = inst.getFeatureVectorRef(&hasVec);
        if (hasLoc && hasVec && l == loc && v == vec)
            return refs.getValueAt(i);
    }
    return -1;
}

} // namespace

int m3dParamFeatureC::findInstance(int loc, int vec) {
    return findInstanceByRefs<m3dParamFeatureInstanceC>(
        getFeatureInstanceRefs(), [this](int i) { return getFeatureInstanceAt(i); }, loc, vec);
}

int m3dParamAnnotationC::findInstance(int loc, int vec) {
    return findInstanceByRefs<m3dParamAnnotationInstanceC>(
        getAnnotationInstanceRefs(), [this](int i) { return getAnnotationInstanceAt(i); }, loc,
        vec);
}

// ---- locations (frames and operations in paramlocation.cpp).

std::int32_t m3dParamLocationC::getType() {
    return getIntProperty("TYPE");
}

m3dParamLocationValuesC m3dParamLocationC::getValues() {
    return m3dParamLocationValuesC(getOrAddChild(m3dParamLocationValuesC::keyName()));
}

std::int32_t m3dParamLocationC::readType() const {
    return metaObjIntC(findChild("TYPE")).get();
}

double m3dParamLocationC::getValueAt(int index) {
    return getValues().getValueAt(index);
}

// ---- feature vectors.

bool m3dParamFeatureVectorVector2dElementsC::appendVector(double x, double y) {
    return appendPoint2d(*this, x, y).isValid();
}

int paramPoint3dListC::count() const {
    return countByKey(elementKey());
}

metaTreePtrT paramPoint3dListC::getAt(int index) const {
    return getAtByKey(elementKey(), index);
}

std::array<double, 3> paramPoint3dListC::getPoint3dAt(int index) const {
    return readVector3d(getAt(index));
}

bool paramPoint3dListC::setPoint3dAt(int index, const std::array<double, 3>& p) {
    metaTreePtrT node = getAt(index);
    return !node.isNull() && setDoubleValues(node, p.data(), 3);
}

bool paramPoint3dListC::appendPoint3d(const std::array<double, 3>& p) {
    if (!isValid())
        return false;
    metaObjectC point;
    if (!point.ctorNewNode(elementKey()) || !setDoubleValues(point.getTreePtr(), p.data(), 3))
        return false;
    return !appendChild(point.getTreePtr()).isNull();
}

mzComStringC m3dParamFeatureVectorC::getType() {
    return getStringProperty("TYPE");
}

bool m3dParamFeatureVectorC::setType(const mzComStringC& type) {
    return setStringProperty("TYPE", type);
}

m3dParamFeatureVectorLongElementsC m3dParamFeatureVectorC::getLongElements() {
    return m3dParamFeatureVectorLongElementsC(
        getOrAddChild(m3dParamFeatureVectorLongElementsC::keyName()));
}

m3dParamFeatureVectorDoubleElementsC m3dParamFeatureVectorC::getDoubleElements() {
    return m3dParamFeatureVectorDoubleElementsC(
        getOrAddChild(m3dParamFeatureVectorDoubleElementsC::keyName()));
}

m3dParamFeatureVectorStringElementsC m3dParamFeatureVectorC::getStringElements() {
    return m3dParamFeatureVectorStringElementsC(
        getOrAddChild(m3dParamFeatureVectorStringElementsC::keyName()));
}

m3dParamFeatureVectorVector2dElementsC m3dParamFeatureVectorC::getVector2dElements() {
    return m3dParamFeatureVectorVector2dElementsC(
        getOrAddChild(m3dParamFeatureVectorVector2dElementsC::keyName()));
}

m3dParamFeatureVectorVector3dElementsC m3dParamFeatureVectorC::getVector3dElements() {
    return m3dParamFeatureVectorVector3dElementsC(
        getOrAddChild(m3dParamFeatureVectorVector3dElementsC::keyName()));
}

m3dParamFeatureVectorValuesS m3dParamFeatureVectorC::readValues() const {
    m3dParamFeatureVectorValuesS v;
    if (!isValid())
        return v;
    v.type = metaObjStrC(findChild("TYPE")).get();
    const m3dParamFeatureVectorLongElementsC longs(
        findChild(m3dParamFeatureVectorLongElementsC::keyName()));
    for (int i = 0, n = longs.count(); i < n; ++i)
        v.longs.push_back(static_cast<std::int32_t>(longs.getValueAt(i)));
    const m3dParamFeatureVectorDoubleElementsC doubles(
        findChild(m3dParamFeatureVectorDoubleElementsC::keyName()));
    for (int i = 0, n = doubles.count(); i < n; ++i)
        v.doubles.push_back(doubles.getValueAt(i));
    const m3dParamFeatureVectorStringElementsC strings(
        findChild(m3dParamFeatureVectorStringElementsC::keyName()));
    for (int i = 0, n = strings.count(); i < n; ++i)
        v.strings.push_back(strings.getStringAt(i));
    const m3dParamFeatureVectorVector2dElementsC v2(
        findChild(m3dParamFeatureVectorVector2dElementsC::keyName()));
    for (int i = 0, n = v2.count(); i < n; ++i) {
        const vectorC2d<double> p = v2.getPoint2dAt(i);
        v.vectors2d.push_back({p.x, p.y});
    }
    const m3dParamFeatureVectorVector3dElementsC v3(
        findChild(m3dParamFeatureVectorVector3dElementsC::keyName()));
    for (int i = 0, n = v3.count(); i < n; ++i)
        v.vectors3d.push_back(v3.getPoint3dAt(i));
    return v;
}

void m3dParamFeatureVectorC::appendValues(const m3dParamFeatureVectorValuesS& values) {
    if (!isValid())
        return;
    auto longs = getLongElements();
    for (std::int32_t x : values.longs)
        longs.appendValue(x);
    auto doubles = getDoubleElements();
    for (double x : values.doubles)
        doubles.appendValue(x);
    auto strings = getStringElements();
    for (const mzComStringC& s : values.strings)
        strings.appendString(s);
    auto v2 = getVector2dElements();
    for (const auto& p : values.vectors2d)
        v2.appendVector(p[0], p[1]);
    auto v3 = getVector3dElements();
    for (const auto& p : values.vectors3d)
        v3.appendPoint3d(p);
}

namespace {

enum class elementKindE { doubleElement, vector2d, vector3d };
enum class flagE { scaleInv, transInv, rotInv };

int readFlag(m3dParamFeatureVectorElementDescBaseC desc, flagE flag) {
    if (!desc.isValid())
        return 0;
    switch (flag) {
    case flagE::scaleInv:
        return desc.getScaleInv() != 0 ? 1 : 0;
    case flagE::transInv:
        return desc.getTransInv() != 0 ? 1 : 0;
    case flagE::rotInv:
        return desc.getRotInv() != 0 ? 1 : 0;
    }
    return 0;
}

int invariance(m3dParamFeatureVectorC& vec, elementKindE kind, flagE flag, int index) {
    if (!vec.isValid() || index < 0)
        return 0;
    m3dParamDocumentC doc = findParamDocument(vec);
    if (!doc.isValid())
        return 0;
    m3dParamFeatureVectorDescC desc = doc.findFeatureVectorDesc(vec.getType());
    if (!desc.isValid())
        return 0;
    switch (kind) {
    case elementKindE::doubleElement:
        return readFlag(desc.getDoubleElementDescs().getDescAt(index), flag);
    case elementKindE::vector2d:
        return readFlag(desc.getVector2dElementDescs().getDescAt(index), flag);
    case elementKindE::vector3d:
        return readFlag(desc.getVector3dElementDescs().getDescAt(index), flag);
    }
    return 0;
}

} // namespace

int m3dParamFeatureVectorC::isDoubleScaleInvariant(int index) {
    return invariance(*this, elementKindE::doubleElement, flagE::scaleInv, index);
}
int m3dParamFeatureVectorC::isVector2dScaleInvariant(int index) {
    return invariance(*this, elementKindE::vector2d, flagE::scaleInv, index);
}
int m3dParamFeatureVectorC::isVector2dTranslationInvariant(int index) {
    return invariance(*this, elementKindE::vector2d, flagE::transInv, index);
}
int m3dParamFeatureVectorC::isVector2dRotationInvariant(int index) {
    return invariance(*this, elementKindE::vector2d, flagE::rotInv, index);
}
int m3dParamFeatureVectorC::isVector3dScaleInvariant(int index) {
    return invariance(*this, elementKindE::vector3d, flagE::scaleInv, index);
}
int m3dParamFeatureVectorC::isVector3dTranslationInvariant(int index) {
    return invariance(*this, elementKindE::vector3d, flagE::transInv, index);
}
int m3dParamFeatureVectorC::isVector3dRotationInvariant(int index) {
    return invariance(*this, elementKindE::vector3d, flagE::rotInv, index);
}

// ---- descriptors.

int m3dParamFeatureVectorElementDescBaseC::getScaleInv() {
    return getIntProperty("SCALEINV");
}
int m3dParamFeatureVectorElementDescBaseC::getTransInv() {
    return getIntProperty("TRANSINV");
}
int m3dParamFeatureVectorElementDescBaseC::getRotInv() {
    return getIntProperty("ROTINV");
}

mzComStringC m3dParamFeatureVectorDescC::getType() {
    return getStringProperty("TYPE");
}

bool m3dParamFeatureVectorDescC::setType(const mzComStringC& type) {
    return setStringProperty("TYPE", type);
}

m3dParamFeatureVectorDoubleElementDescsC m3dParamFeatureVectorDescC::getDoubleElementDescs() {
    return m3dParamFeatureVectorDoubleElementDescsC(
        getOrAddChild(m3dParamFeatureVectorDoubleElementDescsC::keyName()));
}

m3dParamFeatureVectorVector2dElementDescsC m3dParamFeatureVectorDescC::getVector2dElementDescs() {
    return m3dParamFeatureVectorVector2dElementDescsC(
        getOrAddChild(m3dParamFeatureVectorVector2dElementDescsC::keyName()));
}

m3dParamFeatureVectorVector3dElementDescsC m3dParamFeatureVectorDescC::getVector3dElementDescs() {
    return m3dParamFeatureVectorVector3dElementDescsC(
        getOrAddChild(m3dParamFeatureVectorVector3dElementDescsC::keyName()));
}
