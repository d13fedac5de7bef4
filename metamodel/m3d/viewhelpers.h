#pragma once
// Small readers and writers shared by the 3D views: names and tags, the placement matrix
// "MAT", 3D points "POINT3D" and three-double value lists, and the third point of an arc.

#include "metamodel/core/listviews.h"
#include "metamodel/m3d/geom3d.h"

// The child key of a drilling's alternate history (and of any feature's history).
inline mzComStringC keyHistory() {
    return "HISTORY";
}

// The "NAME" string of a feature, plane, sketch or entity view; empty when absent.
mzComStringC getName(const metaObjectVirtualDataBaseC& view);
// The tag of a node; empty when it is no key node.
mzComStringC getNodeTag(metaTreePtrT node);

// The "MAT" child as a 4 x 4 matrix. True when it holds exactly 16 numbers; otherwise m is
// the identity and the answer false.
bool getMatrix(const metaObjectVirtualDataBaseC& view, matrixC4x4<double>& m);
matrixC4x4<double> getMatrix(const metaObjectVirtualDataBaseC& view);
// Writes the "MAT" child (created when missing); false without a node.
bool setMatrix(metaObjectVirtualDataBaseC& view, const matrixC4x4<double>& m);

// The three doubles of a node holding exactly three numbers; false (v zero) otherwise.
bool readPoint3dNode(metaTreePtrT node, vectorC3d<double>& v);
bool writePoint3dNode(metaTreePtrT node, const vectorC3d<double>& v);

// The "POINT3D" child of a view read into three doubles; false (p zero) when missing or not
// three numbers.
bool getPoint3d(const metaObjectVirtualDataBaseC& view, vectorC3d<double>& p);
// The "POINT3D" child as a three-double value list (unbound when missing).
metaObjListValContainerT<double> getPoint3dObject(const metaObjectVirtualDataBaseC& view);

// Point 2 of an arc's point list (its end); the zero vector when missing.
vectorC2d<double> getThirdPoint2d(const metaObjectVirtualDataBaseC& pointList);

// List of 3D points whose elements are its "POINT3D" children (each three doubles); other
// children are neither counted nor indexed.
class metaObjListPoint3dContainerC : public metaObjListContainerC {
public:
    using metaObjListContainerC::metaObjListContainerC;

    int count() const { return countByKey("POINT3D"); }
    metaTreePtrT getAt(int index) const { return getAtByKey("POINT3D", index); }
    // The i-th point; the zero vector when out of range or malformed.
    vectorC3d<double> getPoint3dAt(int index) const;
    // Appends a new POINT3D child; false without a node.
    bool appendPoint3d(const vectorC3d<double>& p);
};

// ---- numeric edits used by the scale and transform operations.
// Multiplies every number child of node by f; false when node has none.
bool scaleNumberChildren(metaTreePtrT node, double f);
// Multiplies the first value of the property key of view by f; false when it is no number.
bool scaleNumberProperty(const metaObjectVirtualDataBaseC& view, const char* key, double f);
// The point (or direction) held by the child key of view through m; false when the child
// does not hold three numbers (it is left alone then).
bool transformPointChild(const metaObjectVirtualDataBaseC& view, const char* key,
                         const matrixC4x4<double>& m);
bool transformDirectionChild(const metaObjectVirtualDataBaseC& view, const char* key,
                             const matrixC4x4<double>& m);
