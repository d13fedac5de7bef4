// Where the contours of one sketch meet. SolidWorks makes no profile of contours that cross
// or touch (each would become a body of its own, overlapping the others), so the build finds
// them before it draws and names them.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

struct sketchPoint2S {
    double x = 0.0;
    double y = 0.0;
};

// A line from `a` to `b`, or a circular arc about `centre` from the angle `start` through
// `sweep` radians counter-clockwise (a circle: sweep 2 pi).
struct contourCurveS {
    bool line = true;
    sketchPoint2S a;
    sketchPoint2S b;
    sketchPoint2S centre;
    double radius = 0.0;
    double start = 0.0;
    double sweep = 0.0;
};

contourCurveS contourLine(sketchPoint2S a, sketchPoint2S b);
// The arc from `a` through `middle` to `b`; the line from `a` to `b` when the three points lie
// on one line (SolidWorks refuses such an arc when it is drawn).
contourCurveS contourArc(sketchPoint2S a, sketchPoint2S middle, sketchPoint2S b);
contourCurveS contourCircle(sketchPoint2S centre, double radius);

// One closed contour: the curves around it.
using contourS = std::vector<contourCurveS>;

struct contourContactS {
    std::size_t first = 0; // indices into the contours given, first < second
    std::size_t second = 0;
    sketchPoint2S at; // a point of `first` where the two come within the tolerance
};

// The pair of contours that come within `tolerance` of each other (the first such pair in
// the order given), with a point where they do; none when every two keep apart. Contours
// whose boxes lie apart are not compared.
std::optional<contourContactS> findContourContact(const std::vector<contourS>& contours,
                                                  double tolerance);
