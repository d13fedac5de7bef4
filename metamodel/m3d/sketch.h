#pragma once
// Sketches and their placement:
//   (SKETCH (NAME "S1") (MAT 16 numbers) (SKETCHON (PLANE "XY"))
//     (LOOP (LINE (POINT 0 0) (POINT 10 0)) ...) ... (CENTER (POINT 0 0) (POINT 0 1)))
//   (SKETCHON (FACE (POINT3D x y z) (VEC3D nx ny nz)))     on a planar face instead
// The placement names a reference plane (its PLANE parameter holds the plane's name, as
// its value or as its NAME) or a planar face by a point on it and its normal.

#include "metamodel/m3d/features.h"

// The face parameter of a placement.
class m3dSketchOnFaceParamC : public metaObjectC {
public:
    static mzComStringC tagName() { return "FACE"; }
    using metaObjectC::metaObjectC;
};

class m3dSketchOnC : public metaObjectC {
public:
    static mzComStringC tagName() { return "SKETCHON"; }
    using metaObjectC::metaObjectC;

    // The reference plane name of the PLANE parameter; empty when there is none.
    mzComStringC getPlaneRef() const;
    // POINT3D / VEC3D of the FACE parameter; the zero vector (false) without a FACE or when
    // the child is not three numbers.
    bool getFacePoint(vectorC3d<double>& p) const;
    bool getFaceVector(vectorC3d<double>& v) const;
    vectorC3d<double> getFacePoint() const;
    vectorC3d<double> getFaceVector() const;
};

class m3dSketchC : public m3dFeatGenC {
public:
    static mzComStringC tagName() { return "SKETCH"; }
    using m3dFeatGenC::m3dFeatGenC;

    // The "SKETCHON" child (unbound when absent).
    m3dSketchOnC getSketchOn() const { return m3dSketchOnC(findChild(m3dSketchOnC::tagName())); }
    // The two points of the "CENTER" child in sketch coordinates and 1; 0, with start and
    // end untouched, when there is no CENTER child or it does not hold two 2D points.
    int getCenterLine2d(vectorC2d<double>& start, vectorC2d<double>& end) const;
    // The sketch's LOOP children.
    m3dLoopsC getLoops() const { return m3dLoopsC(getTreePtr()); }
    // The index-th loop; unbound when absent.
    m3dLoopC getLoopAt(int index) const { return getLoops().getLoopAt(index); }

    // scale: the origin of MAT, the loops and centre line, a face point of the placement.
    // transform: MAT becomes MAT . m; the face point and normal of the placement move along.
    int scale(double factor) override;
    int transform(const matrixC4x4<double>& m) override;
};

// Placement edits shared by the placed views.
// Multiplies the origin row (elements 12 to 14) of "MAT" by f; false when MAT is malformed.
bool scaleMatrixOrigin(metaObjectVirtualDataBaseC& view, double f);
// MAT := MAT . m; false when MAT is malformed (it is left alone then).
bool transformMatrix(metaObjectVirtualDataBaseC& view, const matrixC4x4<double>& m);
