#pragma once
// 2D points and point lists: (POINT 1.0 2.0) nodes, and lists whose elements are their
// POINT children (other children are neither counted nor indexed).

#include "metamodel/core/doublevalues.h"
#include "metamodel/core/listviews.h"
#include "metamodel/m2d/vector2d.h"

#include <vector>

class mObjPoint2dC : public metaObjectC {
public:
    static mzComStringC tagName() { return "POINT"; }
    mObjPoint2dC() = default;
    explicit mObjPoint2dC(metaTreePtrT node, bool owns = false) : metaObjectC(node, owns) {}

    // The two doubles; the zero vector (ok = 0) unless the node holds exactly two numbers.
    vectorC2d<double> getPoint(int* ok = nullptr) const;
    bool setPoint(const vectorC2d<double>& p);
};

class metaObjListPoint2dContainerC : public metaObjListContainerC {
public:
    using metaObjListContainerC::metaObjListContainerC;

    // Number of POINT children.
    int count() const;
    // The i-th POINT child; null when out of range.
    metaTreePtrT getAt(int index) const;
    // The i-th POINT child as a point view, nothing created; unbound when out of range.
    mObjPoint2dC getPointAt(int index) const;
    // The i-th point's two doubles; the zero vector when out of range or malformed.
    vectorC2d<double> getPoint2dAt(int index) const;
    // Overwrites the i-th point in place; false when out of range.
    bool setPointAt(int index, const vectorC2d<double>& p);
};

// Appends a new POINT child holding (x, y) to a point list; unbound without a list node.
mObjPoint2dC appendPoint2d(metaObjectVirtualDataBaseC& list, double x, double y);
// All 2D points of the list, in order, replacing out's content (a malformed point as the zero
// vector). Answers the index of the first point that is not two finite numbers, -1 when
// every point is.
int collectPoint2dList(const metaObjListPoint2dContainerC& list,
                       std::vector<vectorC2d<double>>& out);
// Removes from `points` every point that lies within `tolerance` in x and in y of a point
// kept before it (the first of each such group stays, in order). Linear in the number of
// points for points spread wider than the tolerance. A point that is not finite is kept.
void mergeRepeatedPoints2d(std::vector<vectorC2d<double>>& points, double tolerance);
// Point 0 / point 1 of a line's or arc's point list; the zero vector when missing.
vectorC2d<double> getFirstPoint2d(const metaObjectVirtualDataBaseC& pointList);
vectorC2d<double> getSecondPoint2d(const metaObjectVirtualDataBaseC& pointList);
// The (first) POINT child of a shape, e.g. a circle's centre; zero when missing.
vectorC2d<double> getPoint2d(const metaObjectVirtualDataBaseC& shape);
// The i-th POINT child of a point list as a point view (unbound when out of range).
mObjPoint2dC getPoint2dAt(const metaObjectVirtualDataBaseC& list, int index);

// The centre of the circle through three points: the intersection of the perpendicular
// bisectors of p1-p2 and p1-p3. False, with centre untouched, when the bisectors are
// parallel (collinear points: determinant exactly 0) or the inputs are not finite.
bool circleThroughThreePoints(const vectorC2d<double>& p1, const vectorC2d<double>& p2,
                              const vectorC2d<double>& p3, vectorC2d<double>& centre);
