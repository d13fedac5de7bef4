#pragma once
// The shapes of a sketch's loops, in sketch (2D) coordinates:
//   (LINE (POINT x0 y0) (POINT x1 y1))                start, end
//   (ARC (POINT ..) (POINT ..) (POINT ..))            start, a point on the arc, end
//   (CIRCLE (POINT cx cy) (RAD r))                    centre, radius
//   (CENTER (POINT ..) (POINT ..))                    a sketch's centre line
// A sketch holds its loops as LOOP children, each a list of shapes.

#include "metamodel/m2d/point2d.h"
#include "metamodel/m2d/shapes2d.h"

// Rebinding of a view to another node or to the node of another view (the owns flag as
// metaObjectVirtualDataBaseC::attach).
#define M3D_VIEW_REBINDERS                                                                         \
    void ctorFromNode(metaTreePtrT node, bool owns) {                                              \
        attach(node, owns);                                                                        \
    }                                                                                              \
    void ctorFromView(const metaObjectVirtualDataBaseC& view, bool owns) {                         \
        attach(view.getTreePtr(), owns);                                                           \
    }

// A circle of the 2D model: its radius "RAD".
class mBaseCircle2dC : public mBaseShape2dC {
public:
    using mBaseShape2dC::mBaseShape2dC;
    // The property "RAD"; 0.0 when absent.
    double getRadius() const;
};

class m3dLineC : public mBaseShape2dC {
public:
    static mzComStringC tagName() { return "LINE"; }
    using mBaseShape2dC::mBaseShape2dC;
    M3D_VIEW_REBINDERS
};

class m3dArcC : public mBaseShape2dC {
public:
    static mzComStringC tagName() { return "ARC"; }
    using mBaseShape2dC::mBaseShape2dC;
    M3D_VIEW_REBINDERS
};

class m3dCircleC : public mBaseCircle2dC {
public:
    static mzComStringC tagName() { return "CIRCLE"; }
    using mBaseCircle2dC::mBaseCircle2dC;
    M3D_VIEW_REBINDERS
};

class m3dCenterLineC : public mBaseShape2dC {
public:
    static mzComStringC tagName() { return "CENTER"; }
    using mBaseShape2dC::mBaseShape2dC;
    M3D_VIEW_REBINDERS
};

// One loop: a list of 2D shapes.
class m3dLoopC : public mBaseShapes2dC {
public:
    static mzComStringC tagName() { return "LOOP"; }
    using mBaseShapes2dC::mBaseShapes2dC;
};

// The loops of a sketch: a view of the sketch node whose elements are its LOOP children.
class m3dLoopsC : public metaObjListContainerC {
public:
    using metaObjListContainerC::metaObjListContainerC;

    int countLoops() const { return countByKey(m3dLoopC::tagName()); }
    // The index-th LOOP child; unbound when absent.
    m3dLoopC getLoopAt(int index) const { return m3dLoopC(getAtByKey(m3dLoopC::tagName(), index)); }
};

// Multiplies the 2D content of a shape subtree (POINT values and RAD) by f.
void scaleShapes2d(metaTreePtrT node, double f);
