#include "metamodel/m3d/viewhelpers.h"

#include "metamodel/core/doublevalues.h"
#include "metamodel/m2d/point2d.h"

namespace {

IMetaTreeApi& api() {
    return *getIMetaTreeApi();
}

} // namespace

mzComStringC getName(const metaObjectVirtualDataBaseC& view) {
    return view.readStringProperty("NAME");
}

mzComStringC getNodeTag(metaTreePtrT node) {
    return metaNodeTag(node);
}

bool getMatrix(const metaObjectVirtualDataBaseC& view, matrixC4x4<double>& m) {
    m = matrixC4x4<double>::identity();
    metaTreePtrT mat = view.findChild("MAT");
    IMetaTreeApi& a = api();
    if (mat.isNull() || a.childCount(mat) != 16)
        return false;
    matrixC4x4<double> r;
    int i = 0;
    for (metaTreePtrT c = a.firstChild(mat); !c.isNull(); c = a.nextSibling(c), ++i) {
        std::optional<double> d = a.getDouble(c);
        if (!d)
            return false;
        r[i] = *d;
    }
    m = r;
    return true;
}

matrixC4x4<double> getMatrix(const metaObjectVirtualDataBaseC& view) {
    matrixC4x4<double> m;
    getMatrix(view, m);
    return m;
}

bool setMatrix(metaObjectVirtualDataBaseC& view, const matrixC4x4<double>& m) {
    metaTreePtrT mat = view.getOrAddChild("MAT");
    return !mat.isNull() && setDoubleValues(mat, m.data(), 16);
}

bool readPoint3dNode(metaTreePtrT node, vectorC3d<double>& v) {
    int ok = 0;
    const std::array<double, 3> d = readVector3d(node, &ok);
    v = {d[0], d[1], d[2]};
    return ok != 0;
}

bool writePoint3dNode(metaTreePtrT node, const vectorC3d<double>& v) {
    const double d[3] = {v.x, v.y, v.z};
    return setDoubleValues(node, d, 3);
}

bool getPoint3d(const metaObjectVirtualDataBaseC& view, vectorC3d<double>& p) {
    return readPoint3dNode(view.findChild("POINT3D"), p);
}

metaObjListValContainerT<double> getPoint3dObject(const metaObjectVirtualDataBaseC& view) {
    return metaObjListValContainerT<double>(view.findChild("POINT3D"));
}

vectorC2d<double> getThirdPoint2d(const metaObjectVirtualDataBaseC& pointList) {
    return getPoint2dAt(pointList, 2).getPoint();
}

vectorC3d<double> metaObjListPoint3dContainerC::getPoint3dAt(int index) const {
    vectorC3d<double> p;
    readPoint3dNode(getAt(index), p);
    return p;
}

bool metaObjListPoint3dContainerC::appendPoint3d(const vectorC3d<double>& p) {
    if (!isValid())
        return false;
    metaTreePtrT n = api().newKeyNode("POINT3D");
    if (!writePoint3dNode(n, p) || appendChild(n).isNull()) {
        api().release(n);
        return false;
    }
    return true;
}

bool scaleNumberChildren(metaTreePtrT node, double f) {
    IMetaTreeApi& a = api();
    bool any = false;
    for (metaTreePtrT c = a.firstChild(node); !c.isNull(); c = a.nextSibling(c)) {
        if (!a.isNumber(c))
            continue;
        a.setDouble(c, a.getDouble(c).value_or(0.0) * f);
        any = true;
    }
    return any;
}

bool scaleNumberProperty(const metaObjectVirtualDataBaseC& view, const char* key, double f) {
    IMetaTreeApi& a = api();
    metaTreePtrT v = a.firstChild(view.findChild(key));
    if (!a.isNumber(v))
        return false;
    return a.setDouble(v, a.getDouble(v).value_or(0.0) * f);
}

bool transformPointChild(const metaObjectVirtualDataBaseC& view, const char* key,
                         const matrixC4x4<double>& m) {
    metaTreePtrT n = view.findChild(key);
    vectorC3d<double> p;
    return readPoint3dNode(n, p) && writePoint3dNode(n, transformPoint(p, m));
}

bool transformDirectionChild(const metaObjectVirtualDataBaseC& view, const char* key,
                             const matrixC4x4<double>& m) {
    metaTreePtrT n = view.findChild(key);
    vectorC3d<double> v;
    return readPoint3dNode(n, v) && writePoint3dNode(n, transformDirection(v, m));
}
