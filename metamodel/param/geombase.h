#pragma once
// The bases that the parametric views take from the 3D views: a geometric operand with
// scale and transform, and a 3D document with its unit change and preferences accessor.
//
// The entities derive from m3dGeomOpBaseC and the document from m3dDocumentC, and the
// document is registered in the registry of m3dDocumentC, so that the 3D document
// operations reach a "PDOC" node.

#include "metamodel/core/metaobject.h"
#include "metamodel/m2d/docprefs.h"
#include "metamodel/m3d/document.h"
#include "metamodel/m3d/geomop.h"

using m3dParamGeomOpBaseT = m3dGeomOpBaseC;
using m3dParamDocumentBaseT = m3dDocumentC;
using m3dParamMatrixT = matrixC4x4<double>;
using m3dParamDocPrefsT = m3dDocPrefsC;

// The operations' matrix from 16 doubles (row by row).
inline m3dParamMatrixT paramMatrixFrom(const double* values) {
    m3dParamMatrixT m;
    for (int i = 0; i < 16; ++i)
        m.data()[i] = values[i];
    return m;
}
