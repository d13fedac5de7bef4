#pragma once
// m3dGeomOpBaseC: the base of the 3D views that take part in the model's scale and
// transform. Both operations are virtual; the base dispatches by the node's tag: it looks
// the tag up in the registry of m3dGeomOpBaseC (then, for document tags such as "PDOC", in
// the registry of m3dDocumentC), binds the calling thread's prototype of the registered
// class to the node for the call and calls its operation. A tag without a registered class,
// or one whose class does not handle the operation itself, answers 0 and changes nothing.
//
// scale (f): every length of the node's subtree is multiplied by f (angles stay).
// transform (m): the node is moved by the 4 x 4 matrix m in the row-vector convention:
// placements M become M . m, points p become p . m, directions only meet rows 0 to 2.
// Both answer 1 when the node was handled. A factor that is zero or not finite, or a matrix
// with an element that is not finite, is refused (0, nothing changes): it would destroy the
// geometry.

#include "metamodel/core/metaobject.h"
#include "metamodel/m3d/geom3d.h"

class m3dGeomOpBaseC : public metaObjectC {
public:
    m3dGeomOpBaseC() = default;
    explicit m3dGeomOpBaseC(metaTreePtrT node, bool owns = false) : metaObjectC(node, owns) {}

    virtual int scale(double factor);
    virtual int transform(const matrixC4x4<double>& m);
};

bool isUsableScale(double factor);
bool isUsableTransform(const matrixC4x4<double>& m);

// Scale / transform of any node, dispatched by its tag (what m3dGeomOpBaseC does).
int scaleNode(metaTreePtrT node, double factor);
int transformNode(metaTreePtrT node, const matrixC4x4<double>& m);
