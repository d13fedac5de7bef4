#include "metamodel/m3d/sketch.h"

#include "metamodel/m3d/viewhelpers.h"

mzComStringC m3dSketchOnC::getPlaneRef() const {
    metaObjectC plane(findChild("PLANE"));
    if (!plane.isValid())
        return mzComStringC();
    std::optional<std::string> s = getIMetaTreeApi()->getString(plane.firstValueNode());
    if (s)
        return metaFromUtf8(*s);
    return getName(plane);
}

bool m3dSketchOnC::getFacePoint(vectorC3d<double>& p) const {
    metaObjectC face(findChild(m3dSketchOnFaceParamC::tagName()));
    return readPoint3dNode(face.findChild("POINT3D"), p);
}

bool m3dSketchOnC::getFaceVector(vectorC3d<double>& v) const {
    metaObjectC face(findChild(m3dSketchOnFaceParamC::tagName()));
    return readPoint3dNode(face.findChild("VEC3D"), v);
}

vectorC3d<double> m3dSketchOnC::getFacePoint() const {
    vectorC3d<double> p;
    getFacePoint(p);
    return p;
}

vectorC3d<double> m3dSketchOnC::getFaceVector() const {
    vectorC3d<double> v;
    getFaceVector(v);
    return v;
}

int m3dSketchC::getCenterLine2d(vectorC2d<double>& start, vectorC2d<double>& end) const {
    m3dCenterLineC centre(findChild(m3dCenterLineC::tagName()));
    metaObjListPoint2dContainerC points(centre.getTreePtr());
    if (!centre.isValid() || points.count() != 2)
        return 0;
    int ok0 = 0;
    int ok1 = 0;
    const vectorC2d<double> p0 = points.getPointAt(0).getPoint(&ok0);
    const vectorC2d<double> p1 = points.getPointAt(1).getPoint(&ok1);
    if (!ok0 || !ok1)
        return 0;
    start = p0;
    end = p1;
    return 1;
}

int m3dSketchC::scale(double factor) {
    if (!isUsableScale(factor))
        return 0;
    if (!isValid())
        return 0;
    scaleMatrixOrigin(*this, factor);
    IMetaTreeApi& a = *getIMetaTreeApi();
    for (metaTreePtrT c = a.firstChild(getTreePtr()); !c.isNull(); c = a.nextSibling(c))
        if (a.hasTag(c, "LOOP") || a.hasTag(c, "CENTER"))
            scaleShapes2d(c, factor);
    metaObjectC face(getSketchOn().findChild(m3dSketchOnFaceParamC::tagName()));
    scaleNumberChildren(face.findChild("POINT3D"), factor);
    return 1;
}

int m3dSketchC::transform(const matrixC4x4<double>& m) {
    if (!isUsableTransform(m))
        return 0;
    if (!isValid())
        return 0;
    transformMatrix(*this, m);
    metaObjectC face(getSketchOn().findChild(m3dSketchOnFaceParamC::tagName()));
    transformPointChild(face, "POINT3D", m);
    transformDirectionChild(face, "VEC3D", m);
    return 1;
}

bool scaleMatrixOrigin(metaObjectVirtualDataBaseC& view, double f) {
    matrixC4x4<double> mat;
    if (!getMatrix(view, mat))
        return false;
    for (int i = 12; i < 15; ++i)
        mat[i] *= f;
    return setMatrix(view, mat);
}

bool transformMatrix(metaObjectVirtualDataBaseC& view, const matrixC4x4<double>& m) {
    matrixC4x4<double> mat;
    if (!getMatrix(view, mat))
        return false;
    return setMatrix(view, mat * m);
}
