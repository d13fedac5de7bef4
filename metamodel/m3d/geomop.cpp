#include "metamodel/m3d/geomop.h"

#include "metamodel/core/registry.h"
#include "metamodel/m3d/document.h"

#include <cmath>

namespace {

// The prototype that serves the node's tag; null when none other than self would.
m3dGeomOpBaseC* prototypeFor(const m3dGeomOpBaseC& self) {
    const mzComStringC tag = self.getTag();
    if (tag.isEmpty())
        return nullptr;
    m3dGeomOpBaseC* proto = lookupInterfaceInstance<m3dGeomOpBaseC>(tag);
    if (proto == nullptr)
        proto = lookupInterfaceInstance<m3dDocumentC>(tag);
    // A prototype that reaches this base again for its own node would only ask itself.
    return proto == &self ? nullptr : proto;
}

} // namespace

int m3dGeomOpBaseC::scale(double factor) {
    if (!isUsableScale(factor))
        return 0;
    m3dGeomOpBaseC* proto = prototypeFor(*this);
    if (proto == nullptr)
        return 0;
    prototypeBindGuardC bind(*proto, getTreePtr());
    return proto->scale(factor);
}

int m3dGeomOpBaseC::transform(const matrixC4x4<double>& m) {
    if (!isUsableTransform(m))
        return 0;
    m3dGeomOpBaseC* proto = prototypeFor(*this);
    if (proto == nullptr)
        return 0;
    prototypeBindGuardC bind(*proto, getTreePtr());
    return proto->transform(m);
}

bool isUsableScale(double factor) {
    return std::isfinite(factor) && factor != 0.0;
}

bool isUsableTransform(const matrixC4x4<double>& m) {
    for (double v : m.m)
        if (!std::isfinite(v))
            return false;
    return true;
}

int scaleNode(metaTreePtrT node, double factor) {
    m3dGeomOpBaseC view(node);
    return view.scale(factor);
}

int transformNode(metaTreePtrT node, const matrixC4x4<double>& m) {
    m3dGeomOpBaseC view(node);
    return view.transform(m);
}
