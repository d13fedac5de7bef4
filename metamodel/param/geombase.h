#pragma once
// The bases that the parametric views take from the 3D views: a geometric operand with
// scale and transform, and a 3D document with its unit change and preferences accessor.
//
// With the 3D views in the build (target metamodel_m3d, which defines
// NATLINK_PARAM_WITH_M3D for this module), the entities derive from m3dGeomOpBaseC and the
// document from m3dDocumentC, and the document is registered in the registry of
// m3dDocumentC, so that the 3D document operations reach a "PDOC" node. Without them, small
// private stand-ins of the two bases (namespace paramDetail) take their place with the same
// operations, and the document registers in the stand-in's registry.

#include "metamodel/core/metaobject.h"
#include "metamodel/m2d/docprefs.h"

#include <array>

#if defined(NATLINK_PARAM_WITH_M3D)

#include "metamodel/m3d/document.h"
#include "metamodel/m3d/geomop.h"

using m3dParamGeomOpBaseT = m3dGeomOpBaseC;
using m3dParamDocumentBaseT = m3dDocumentC;
using m3dParamMatrixT = matrixC4x4<double>;
using m3dParamDocPrefsT = m3dDocPrefsC;

#else

namespace paramDetail {

// 16 doubles row by row, translation in elements 12 to 14.
struct matrixS {
    std::array<double, 16> m{};
    double* data() { return m.data(); }
    const double* data() const { return m.data(); }
};

// A view that can be scaled and moved, each operation answering 1 for success.
class geomOpBaseC : public metaObjectC {
public:
    geomOpBaseC() = default;
    explicit geomOpBaseC(metaTreePtrT node, bool owns = false) : metaObjectC(node, owns) {}
    geomOpBaseC(const geomOpBaseC&) = default;
    geomOpBaseC& operator=(const geomOpBaseC&) = default;
    ~geomOpBaseC() override = default;

    virtual int scale(double factor) = 0;
    virtual int transform(const matrixS& m) = 0;
};

// A 3D document: the geometric operations, the change of its length unit (the recursion
// flag serves other document kinds) and its preferences.
class documentBaseC : public geomOpBaseC {
public:
    using geomOpBaseC::geomOpBaseC;

    virtual int setUnitBase(double unit, int recursion) = 0;
    virtual mDocumentPrefsC getDocPrefs() = 0;
};

} // namespace paramDetail

using m3dParamGeomOpBaseT = paramDetail::geomOpBaseC;
using m3dParamDocumentBaseT = paramDetail::documentBaseC;
using m3dParamMatrixT = paramDetail::matrixS;
using m3dParamDocPrefsT = mDocumentPrefsC;

#endif

// The operations' matrix from 16 doubles (row by row).
inline m3dParamMatrixT paramMatrixFrom(const double* values) {
    m3dParamMatrixT m;
    for (int i = 0; i < 16; ++i)
        m.data()[i] = values[i];
    return m;
}
