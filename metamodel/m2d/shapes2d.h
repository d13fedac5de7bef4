#pragma once
// 2D base shapes and shape lists (the loops of sketches and drawings).

#include "metamodel/core/listviews.h"

// View of one 2D shape node (LINE, ARC, CIRCLE, ...); the kind is its tag.
class mBaseShape2dC : public metaObjectC {
public:
    mBaseShape2dC() = default;
    explicit mBaseShape2dC(metaTreePtrT node, bool owns = false) : metaObjectC(node, owns) {}
};

// List of 2D shapes: its children in order.
class mBaseShapes2dC : public metaObjListContainerC {
public:
    using metaObjListContainerC::metaObjListContainerC;

    // The index-th child as a shape view; unbound when there is no such child.
    mBaseShape2dC getShapeAt(int index) const { return mBaseShape2dC(getAt(index)); }
};
