#include "metamodel/m3d/document.h"

#include "metamodel/core/registry.h"
#include "metamodel/m3d/annotations.h"
#include "metamodel/m3d/pattern.h"
#include "metamodel/m3d/sketch.h"
#include "metamodel/m3d/viewhelpers.h"

#include <cmath>

namespace {

IMetaTreeApi& api() {
    return *getIMetaTreeApi();
}

// The calling thread's document prototype for the node's tag, or null when none, or when
// it would be self.
m3dDocumentC* documentPrototype(metaTreePtrT node, const m3dDocumentC* self) {
    const mzComStringC tag = metaNodeTag(node);
    if (tag.isEmpty())
        return nullptr;
    m3dDocumentC* proto = lookupInterfaceInstance<m3dDocumentC>(tag);
    return proto == self ? nullptr : proto;
}

// Runs op on the document prototype bound to node; def when there is none.
template <class R, class Op>
R onDocument(metaTreePtrT node, const m3dDocumentC* self, R def, Op op) {
    m3dDocumentC* proto = documentPrototype(node, self);
    if (proto == nullptr)
        return def;
    prototypeBindGuardC bind(*proto, node);
    return op(*proto);
}

bool isDocumentNode(metaTreePtrT node) {
    const mzComStringC tag = metaNodeTag(node);
    return !tag.isEmpty() && metaObjInterfaceRegistry<m3dDocumentC>().isRegistered(tag);
}

// The document nodes among a node's children (ITEMS left out: its members are the
// assembly's business).
std::vector<metaTreePtrT> documentChildren(metaTreePtrT node) {
    std::vector<metaTreePtrT> out;
    IMetaTreeApi& a = api();
    for (metaTreePtrT c = a.firstChild(node); !c.isNull(); c = a.nextSibling(c))
        if (isDocumentNode(c))
            out.push_back(c);
    return out;
}

int scaleDocument(metaTreePtrT node, double f) {
    return onDocument(node, nullptr, 0, [f](m3dDocumentC& d) { return d.scale(f); });
}

int transformDocument(metaTreePtrT node, const matrixC4x4<double>& m) {
    return onDocument(node, nullptr, 0, [&m](m3dDocumentC& d) { return d.transform(m); });
}

// What a part and an assembly carry beside their items: document children and annotation sets.
void scaleCarried(metaTreePtrT owner, double f) {
    for (metaTreePtrT d : documentChildren(owner))
        scaleDocument(d, f);
    scaleAnnotationSets(owner, f);
}

void transformCarried(metaTreePtrT owner, const matrixC4x4<double>& m) {
    for (metaTreePtrT d : documentChildren(owner))
        transformDocument(d, m);
    transformAnnotationSets(owner, m);
}

int setUnitOfDocument(metaTreePtrT node, double unit, int recursion) {
    return onDocument(node, nullptr, 0,
                      [=](m3dDocumentC& d) { return d.setUnitBase(unit, recursion); });
}

// The factor current / unit of a unit change; false when nothing is to change (equal units)
// or a unit is refused (ok false then). A stored unit that is no positive length is refused
// like a new one: taken as a factor it would flatten, mirror or poison every length.
bool unitFactor(const m3dDocPrefsC& prefs, double unit, double& factor, bool& ok) {
    double current = 1.0;
    if (prefs.isValid() && prefs.hasChild("UNITBASE"))
        current = prefs.getUnitBase();
    ok = std::isfinite(unit) && unit > 0.0 && std::isfinite(current) && current > 0.0;
    if (!ok)
        return false;
    if (current == unit)
        return false;
    factor = current / unit;
    return true;
}

// Expands and removes the feature patterns among the children of a collection.
int expandPatternsIn(metaTreePtrT items) {
    IMetaTreeApi& a = api();
    std::vector<metaTreePtrT> patterns;
    for (metaTreePtrT c = a.firstChild(items); !c.isNull(); c = a.nextSibling(c))
        if (a.hasTag(c, "FEATPATTERN"))
            patterns.push_back(c);
    int expanded = 0;
    for (metaTreePtrT p : patterns) {
        if (expandFeaturePattern(m3dFeatPatternC(p)) < 0)
            continue;
        if (a.unlink(p))
            a.release(p);
        ++expanded;
    }
    return expanded;
}

} // namespace

// ---- m3dDocumentC: dispatch by tag.

int m3dDocumentC::scale(double factor) {
    if (!isUsableScale(factor))
        return 0;
    m3dDocumentC* proto = documentPrototype(getTreePtr(), this);
    if (proto == nullptr)
        return lookupInterfaceInstance<m3dDocumentC>(getTag()) == this
                   ? 0
                   : m3dGeomOpBaseC::scale(factor);
    prototypeBindGuardC bind(*proto, getTreePtr());
    return proto->scale(factor);
}

int m3dDocumentC::transform(const matrixC4x4<double>& m) {
    if (!isUsableTransform(m))
        return 0;
    m3dDocumentC* proto = documentPrototype(getTreePtr(), this);
    if (proto == nullptr)
        return lookupInterfaceInstance<m3dDocumentC>(getTag()) == this
                   ? 0
                   : m3dGeomOpBaseC::transform(m);
    prototypeBindGuardC bind(*proto, getTreePtr());
    return proto->transform(m);
}

int m3dDocumentC::collectPartDocuments(std::vector<metaTreePtrT>& out) {
    return onDocument(getTreePtr(), this, 0,
                      [&out](m3dDocumentC& d) { return d.collectPartDocuments(out); });
}

int m3dDocumentC::collectDocuments(std::vector<metaTreePtrT>& out) {
    return onDocument(getTreePtr(), this, 0,
                      [&out](m3dDocumentC& d) { return d.collectDocuments(out); });
}

m3dFeatGenC m3dDocumentC::findFeature(const mzComStringC& name) {
    return onDocument(getTreePtr(), this, m3dFeatGenC(),
                      [&name](m3dDocumentC& d) { return d.findFeature(name); });
}

int m3dDocumentC::placeMembers() {
    return onDocument(getTreePtr(), this, 0, [](m3dDocumentC& d) { return d.placeMembers(); });
}

int m3dDocumentC::moveBodiesToAbsolutePlanes() {
    return onDocument(getTreePtr(), this, 0,
                      [](m3dDocumentC& d) { return d.moveBodiesToAbsolutePlanes(); });
}

int m3dDocumentC::createAlternateDrillingHistories() {
    return onDocument(getTreePtr(), this, 0,
                      [](m3dDocumentC& d) { return d.createAlternateDrillingHistories(); });
}

int m3dDocumentC::expandFeaturePatterns() {
    return onDocument(getTreePtr(), this, 0,
                      [](m3dDocumentC& d) { return d.expandFeaturePatterns(); });
}

mDocumentAttrC m3dDocumentC::getDocAttr() {
    return onDocument(getTreePtr(), this, mDocumentAttrC(),
                      [](m3dDocumentC& d) { return d.getDocAttr(); });
}

int m3dDocumentC::setUnitBase(double unit, int recursion) {
    return onDocument(getTreePtr(), this, 0,
                      [=](m3dDocumentC& d) { return d.setUnitBase(unit, recursion); });
}

m3dDocPrefsC m3dDocumentC::getDocPrefs() {
    return onDocument(getTreePtr(), this, m3dDocPrefsC(),
                      [](m3dDocumentC& d) { return d.getDocPrefs(); });
}

// ---- m3dPartC.

int m3dPartC::scale(double factor) {
    if (!isUsableScale(factor))
        return 0;
    if (!isValid())
        return 0;
    scaleChildren(getItems().getTreePtr(), factor);
    scaleCarried(getTreePtr(), factor);
    return 1;
}

int m3dPartC::transform(const matrixC4x4<double>& m) {
    if (!isUsableTransform(m))
        return 0;
    if (!isValid())
        return 0;
    transformChildren(getItems().getTreePtr(), m);
    transformCarried(getTreePtr(), m);
    return 1;
}

int m3dPartC::collectPartDocuments(std::vector<metaTreePtrT>& out) {
    if (!isValid())
        return 0;
    out.push_back(getTreePtr());
    return 1;
}

int m3dPartC::collectDocuments(std::vector<metaTreePtrT>& out) {
    return collectPartDocuments(out);
}

m3dFeatGenC m3dPartC::findFeature(const mzComStringC& name) {
    return findFeatureByName(getItems(), name);
}

int m3dPartC::expandFeaturePatterns() {
    return expandPatternsIn(getItems().getTreePtr());
}

int m3dPartC::setUnitBase(double unit, int recursion) {
    if (!isValid())
        return 0;
    double factor = 1.0;
    bool ok = false;
    const m3dDocPrefsC current(findChild("PARTPREFS"));
    if (!unitFactor(current, unit, factor, ok))
        return ok ? 1 : 0;
    scaleChildren(getItems().getTreePtr(), factor);
    scaleAnnotationSets(getTreePtr(), factor);
    for (metaTreePtrT d : documentChildren(getTreePtr()))
        setUnitOfDocument(d, unit, recursion);
    getDocPrefs().setUnitBase(unit);
    return 1;
}

m3dDocPrefsC m3dPartC::getDocPrefs() {
    return m3dDocPrefsC(getOrAddChild("PARTPREFS"));
}

// ---- m3dAsmC.

int m3dAsmC::scale(double factor) {
    if (!isUsableScale(factor))
        return 0;
    if (!isValid())
        return 0;
    IMetaTreeApi& a = api();
    for (metaTreePtrT c = a.firstChild(getItems().getTreePtr()); !c.isNull();
         c = a.nextSibling(c)) {
        if (isDocumentNode(c)) {
            metaObjectC member(c);
            scaleMatrixOrigin(member, factor);
            scaleDocument(c, factor);
        } else if (a.isKeyNode(c)) {
            scaleNode(c, factor);
        }
    }
    scaleCarried(getTreePtr(), factor);
    return 1;
}

int m3dAsmC::transform(const matrixC4x4<double>& m) {
    if (!isUsableTransform(m))
        return 0;
    if (!isValid())
        return 0;
    IMetaTreeApi& a = api();
    for (metaTreePtrT c = a.firstChild(getItems().getTreePtr()); !c.isNull();
         c = a.nextSibling(c)) {
        if (isDocumentNode(c)) {
            metaObjectC member(c);
            if (!transformMatrix(member, m))
                transformDocument(c, m);
        } else if (a.isKeyNode(c)) {
            transformNode(c, m);
        }
    }
    transformCarried(getTreePtr(), m);
    return 1;
}

int m3dAsmC::collectPartDocuments(std::vector<metaTreePtrT>& out) {
    int n = 0;
    IMetaTreeApi& a = api();
    for (metaTreePtrT c = a.firstChild(getItems().getTreePtr()); !c.isNull(); c = a.nextSibling(c))
        if (isDocumentNode(c))
            n += onDocument(c, nullptr, 0,
                            [&out](m3dDocumentC& d) { return d.collectPartDocuments(out); });
    return n;
}

int m3dAsmC::collectDocuments(std::vector<metaTreePtrT>& out) {
    if (!isValid())
        return 0;
    out.push_back(getTreePtr());
    int n = 1;
    IMetaTreeApi& a = api();
    for (metaTreePtrT c = a.firstChild(getItems().getTreePtr()); !c.isNull(); c = a.nextSibling(c))
        if (isDocumentNode(c))
            n += onDocument(c, nullptr, 0,
                            [&out](m3dDocumentC& d) { return d.collectDocuments(out); });
    return n;
}

m3dFeatGenC m3dAsmC::findFeature(const mzComStringC& name) {
    return findFeatureByName(getItems(), name);
}

int m3dAsmC::expandFeaturePatterns() {
    int n = expandPatternsIn(getItems().getTreePtr());
    IMetaTreeApi& a = api();
    for (metaTreePtrT c = a.firstChild(getItems().getTreePtr()); !c.isNull(); c = a.nextSibling(c))
        if (isDocumentNode(c))
            n += onDocument(c, nullptr, 0,
                            [](m3dDocumentC& d) { return d.expandFeaturePatterns(); });
    return n;
}

int m3dAsmC::setUnitBase(double unit, int recursion) {
    if (!isValid())
        return 0;
    double factor = 1.0;
    bool ok = false;
    const m3dDocPrefsC current(findChild("ASMPREFS"));
    if (!unitFactor(current, unit, factor, ok))
        return ok ? 1 : 0;
    IMetaTreeApi& a = api();
    for (metaTreePtrT c = a.firstChild(getItems().getTreePtr()); !c.isNull();
         c = a.nextSibling(c)) {
        if (isDocumentNode(c)) {
            metaObjectC member(c);
            scaleMatrixOrigin(member, factor);
            if (recursion)
                setUnitOfDocument(c, unit, recursion);
        } else if (a.isKeyNode(c)) {
            scaleNode(c, factor);
        }
    }
    scaleAnnotationSets(getTreePtr(), factor);
    for (metaTreePtrT d : documentChildren(getTreePtr()))
        setUnitOfDocument(d, unit, recursion);
    getDocPrefs().setUnitBase(unit);
    return 1;
}

m3dDocPrefsC m3dAsmC::getDocPrefs() {
    return m3dDocPrefsC(getOrAddChild("ASMPREFS"));
}

m3dPartDetailLevelC getPartDetailLevel(metaObjectVirtualDataBaseC& part) {
    return m3dPartDetailLevelC(part.getOrAddChild(m3dPartDetailLevelC::tagName()));
}
