#include "metamodel/m3d/plane.h"

int m3dPlaneC::getOffToPlaneData(const metaObjectVirtualDataBaseC& param, int& flip,
                                 double& distance, mzComStringC& reference) const {
    IMetaTreeApi& a = *getIMetaTreeApi();
    metaTreePtrT node = param.getTreePtr();
    if (!a.isList(node) || a.childCount(node) != 3)
        return 0;
    metaTreePtrT first = a.firstChild(node);
    metaTreePtrT second = a.nextSibling(first);
    metaTreePtrT third = a.nextSibling(second);
    std::optional<double> f = a.getDouble(first);
    std::optional<double> d = a.getDouble(second);
    std::optional<std::string> r = a.getString(third);
    if (!f || !d || !r)
        return 0;
    flip = *f != 0.0 ? 1 : 0;
    distance = *d;
    reference = metaFromUtf8(*r);
    return 1;
}

int m3dPlaneC::scale(double factor) {
    if (!isUsableScale(factor))
        return 0;
    if (!isValid())
        return 0;
    scaleMatrixOrigin(*this, factor);
    if (isOffsetPlane()) {
        metaObjectC param = getOffsetPlaneParam();
        int flip = 0;
        double distance = 0.0;
        mzComStringC reference;
        if (getOffToPlaneData(param, flip, distance, reference))
            getIMetaTreeApi()->setDouble(getIMetaTreeApi()->childAt(param.getTreePtr(), 1),
                                         distance * factor);
    }
    return 1;
}

int m3dPlaneC::transform(const matrixC4x4<double>& m) {
    if (!isUsableTransform(m))
        return 0;
    if (!isValid())
        return 0;
    transformMatrix(*this, m);
    return 1;
}
