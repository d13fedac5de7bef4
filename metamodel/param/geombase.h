#pragma once
// The bases that the parametric views take from the 3D views: a geometric operand with
// scale and transform, and a 3D document with its unit change and preferences accessor.
//
// The 3D views (metamodel/m3d) were not in the build when this module was written, so the
// two bases are declared here as small private stand-ins in namespace paramDetail, with
// the operations the parametric views override. Once m3dGeomOpBaseC and m3dDocumentC are
// available, these aliases are the one place to point at them (see README.md).

#include "metamodel/core/metaobject.h"
#include "metamodel/m2d/docprefs.h"

namespace paramDetail {

// A view that can be scaled and moved: scale (factor) and transform (16 doubles, row by
// row, translation in elements 12 to 14), each answering an integer, 1 for success.
class geomOpBaseC : public metaObjectC {
public:
    geomOpBaseC() = default;
    explicit geomOpBaseC(metaTreePtrT node, bool owns = false) : metaObjectC(node, owns) {}
    geomOpBaseC(const geomOpBaseC&) = default;
    geomOpBaseC& operator=(const geomOpBaseC&) = default;
    ~geomOpBaseC() override = default;

    virtual int scale(double factor) = 0;
    virtual int transform(const double* matrix) = 0;
};

// A 3D document: the geometric operations, the change of its length unit (the recursion
// flag serves other document kinds) and its preferences.
class documentBaseC : public geomOpBaseC {
public:
    using geomOpBaseC::geomOpBaseC;

    virtual void setUnitBase(double unit, int recursive) = 0;
    virtual mDocumentPrefsC getDocPrefs() = 0;
};

} // namespace paramDetail

using m3dParamGeomOpBaseT = paramDetail::geomOpBaseC;
using m3dParamDocumentBaseT = paramDetail::documentBaseC;
