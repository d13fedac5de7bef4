#include "metamodel/m3d/features.h"

#include "metamodel/core/doublevalues.h"
#include "metamodel/m3d/annotations.h"
#include "metamodel/m3d/viewhelpers.h"

namespace {

IMetaTreeApi& api() {
    return *getIMetaTreeApi();
}

metaTreePtrT findByName(metaTreePtrT collection, const std::string& name) {
    IMetaTreeApi& a = api();
    for (metaTreePtrT c = a.firstChild(collection); !c.isNull(); c = a.nextSibling(c)) {
        if (!a.isKeyNode(c))
            continue;
        std::optional<std::string> own = a.getString(a.firstChild(a.findChild(c, "NAME")));
        if (own && *own == name)
            return c;
        metaTreePtrT history = a.findChild(c, "HISTORY");
        if (!history.isNull()) {
            metaTreePtrT found = findByName(history, name);
            if (!found.isNull())
                return found;
        }
    }
    return metaTreePtrT();
}

} // namespace

m3dFeatGenC findFeatureByName(const metaObjectVirtualDataBaseC& collection,
                              const mzComStringC& name) {
    if (name.isEmpty())
        return m3dFeatGenC();
    return m3dFeatGenC(findByName(collection.getTreePtr(), metaToUtf8(name)));
}

m3dFeatCollectionC m3dFeatGenC::getOwnerCollection() const {
    return m3dFeatCollectionC(getParent());
}

metaObjDoubleNodeC m3dFeatBodyC::getParamVector() const {
    metaTreePtrT param = findChild("PARAM");
    return metaObjDoubleNodeC(api().firstChild(param));
}

int m3dFeatBodyC::getParamAxisIndex() const {
    const std::array<double, 3> v = readVector3d(findChild("PARAM"));
    if (v[2] == 1.0)
        return 2;
    if (v[1] == 1.0)
        return 1;
    return 0;
}

int m3dFeatBodyC::scale(double factor) {
    if (!isUsableScale(factor))
        return 0;
    if (!isValid())
        return 0;
    if (isExtrude())
        scaleNumberProperty(*this, "PARAM", factor);
    scaleAnnotationSets(getTreePtr(), factor);
    return 1;
}

int m3dFeatBodyC::transform(const matrixC4x4<double>& m) {
    if (!isUsableTransform(m))
        return 0;
    if (!isValid())
        return 0;
    transformAnnotationSets(getTreePtr(), m);
    return 1;
}

std::int32_t m3dFeatDrillingC::getConic(bool* found) {
    return metaObjIntC(getOrAddChild("CONIC")).get(found);
}

bool m3dFeatDrillingC::getStartPoint(vectorC3d<double>& p) const {
    return readPoint3dNode(findChild("STARTPOINT"), p);
}

bool m3dFeatDrillingC::getDirection(vectorC3d<double>& d) const {
    return readPoint3dNode(findChild("DIRECTION"), d);
}

m3dFeatHistoryC m3dFeatDrillingC::getHistory() {
    return m3dFeatHistoryC(getOrAddChild(keyHistory()));
}

int m3dFeatDrillingC::scale(double factor) {
    if (!isUsableScale(factor))
        return 0;
    if (!isValid())
        return 0;
    for (const char* key : {"DEPTH", "DIAMETER", "COUNTERBOREDEPTH", "COUNTERBOREDIAMETER",
                            "COUNTERSINKDEPTH", "ENDCOUNTERBOREDIAMETER", "ENDCOUNTERSINKDEPTH"})
        scaleNumberProperty(*this, key, factor);
    scaleNumberChildren(findChild("STARTPOINT"), factor);
    scaleChildren(findChild(keyHistory()), factor);
    scaleAnnotationSets(getTreePtr(), factor);
    return 1;
}

int m3dFeatDrillingC::transform(const matrixC4x4<double>& m) {
    if (!isUsableTransform(m))
        return 0;
    if (!isValid())
        return 0;
    transformPointChild(*this, "STARTPOINT", m);
    transformDirectionChild(*this, "DIRECTION", m);
    transformChildren(findChild(keyHistory()), m);
    transformAnnotationSets(getTreePtr(), m);
    return 1;
}

int m3dFeatForeignC::getForeignData(const mzComStringC& path) const {
    return metaObjBinDataC(findChild("FEATDATA")).saveToFile(path);
}

void scaleChildren(metaTreePtrT collection, double factor) {
    IMetaTreeApi& a = api();
    for (metaTreePtrT c = a.firstChild(collection); !c.isNull(); c = a.nextSibling(c))
        if (a.isKeyNode(c))
            scaleNode(c, factor);
}

void transformChildren(metaTreePtrT collection, const matrixC4x4<double>& m) {
    IMetaTreeApi& a = api();
    for (metaTreePtrT c = a.firstChild(collection); !c.isNull(); c = a.nextSibling(c))
        if (a.isKeyNode(c))
            transformNode(c, m);
}
