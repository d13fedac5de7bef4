#include "libs/geomcore/swgeomtools/sketch_construction.h"

#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swgeomtools/transform_data.h"
#include "libs/geomcore/swtools/error.h"
#include "metamodel/m3d/shapes3d.h"
#include "metamodel/m3d/viewhelpers.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct point2S {
    double x = 0.0;
    double y = 0.0;
};

point2S mapPoint(const matrixC4x4<double>& m, const vectorC2d<double>& p) {
    return {p.x * m.at(0, 0) + p.y * m.at(1, 0) + m.at(3, 0),
            p.x * m.at(0, 1) + p.y * m.at(1, 1) + m.at(3, 1)};
}

bool isChained(const mBaseShape2dC& shape) {
    return shape.hasKey(m3dLineC::tagName()) || shape.hasKey(m3dArcC::tagName());
}

// Where lines and arcs meet, catalogue numbers carry rounding noise. Lengths are in
// millimetres when a part is built: two ends rounded to three decimals differ by at most
// 0.001; a large loop whose numbers keep only six or seven significant digits by 1e-6 of its
// size (the larger side of the box of its ends). A loop is closed over a gap up to the larger
// of the two.
constexpr double closingGap = 1e-3;
constexpr double closingGapOfSize = 1e-6;

mzComStringC numberText(double value) {
    return mzComStringC::number(value, 'g', 10);
}

// Refuses a loop whose lines and arcs do not meet end to start (and the last one the first)
// within the closing gap: closing it by force would draw another outline than the
// model's (an open U as a triangle, a reversed first line as a bow-tie).
void checkLoopIsClosed(const m3dLoopC& loop, int index, const mzComStringC& name) {
    std::vector<vectorC2d<double>> ends; // start and end of each line or arc, in order
    for (int k = 0, n = loop.count(); k < n; ++k) {
        const mBaseShape2dC shape = loop.getShapeAt(k);
        if (shape.hasKey(m3dLineC::tagName())) {
            ends.push_back(getFirstPoint2d(shape));
            ends.push_back(getSecondPoint2d(shape));
        } else if (shape.hasKey(m3dArcC::tagName())) {
            ends.push_back(getFirstPoint2d(shape));
            ends.push_back(getThirdPoint2d(shape));
        }
    }
    // A single line or arc keeps its own points.
    if (ends.size() < 4)
        return;
    vectorC2d<double> low = ends.front();
    vectorC2d<double> high = ends.front();
    for (const vectorC2d<double>& p : ends) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y)};
    }
    const double tolerance =
        std::max(closingGap, closingGapOfSize * std::max(high.x - low.x, high.y - low.y));
    for (std::size_t i = 1; i < ends.size(); i += 2) {
        const vectorC2d<double>& end = ends[i];
        const vectorC2d<double>& next = ends[(i + 1) % ends.size()];
        const double gap = std::hypot(next.x - end.x, next.y - end.y);
        if (!(gap <= tolerance))
            failCreation("Loop " + mzComStringC::number(index + 1) + " of sketch " +
                         quotedName(name) + " is open: a gap of " + numberText(gap) + " at (" +
                         numberText(end.x) + ", " + numberText(end.y) + ")");
    }
}

mzComStringC pointText(const point2S& p) {
    return "(" + numberText(p.x) + ", " + numberText(p.y) + ")";
}

// Draws one loop. The chaining runs over its lines and arcs only: the first of them fixes the
// loop's start, the last one closes the loop at that start. A shape SolidWorks refuses (one
// beyond its model space, a degenerate one) ends the drawing with the shape's numbers as they
// were given to it, in sketch coordinates.
void drawLoop(IModelDoc2* doc, const m3dLoopC& loop, const matrixC4x4<double>& m, int index,
              const mzComStringC& name) {
    const mzComStringC where =
        " in loop " + mzComStringC::number(index + 1) + " of sketch " + quotedName(name);
    const int n = loop.count();
    int lastChained = -1;
    for (int k = 0; k < n; ++k)
        if (isChained(loop.getShapeAt(k)))
            lastChained = k;

    bool started = false;
    point2S loopStart;
    point2S prevEnd;
    // The ends a line or an arc is drawn with, given its own mapped ends.
    auto chain = [&](int k, const point2S& s, const point2S& e, point2S& a, point2S& b) {
        if (!started) {
            a = s;
            b = e;
            loopStart = s;
            prevEnd = e;
            started = true;
        } else if (k == lastChained) {
            a = prevEnd;
            b = loopStart;
        } else {
            a = prevEnd;
            b = e;
            prevEnd = e;
        }
    };

    for (int k = 0; k < n; ++k) {
        const mBaseShape2dC shape = loop.getShapeAt(k);
        if (shape.hasKey(m3dLineC::tagName())) {
            point2S a;
            point2S b;
            chain(k, mapPoint(m, getFirstPoint2d(shape)), mapPoint(m, getSecondPoint2d(shape)), a,
                  b);
            ISketchSegmentPtr segment(modelDocCreateLine(doc, a.x, a.y, 0.0, b.x, b.y, 0.0));
            if (!segment)
                throw errorC("Could not create sketchline from " + pointText(a) + " to " +
                             pointText(b) + where);
        } else if (shape.hasKey(m3dArcC::tagName())) {
            const point2S middle = mapPoint(m, getSecondPoint2d(shape));
            point2S a;
            point2S b;
            chain(k, mapPoint(m, getFirstPoint2d(shape)), mapPoint(m, getThirdPoint2d(shape)), a,
                  b);
            if (modelDocSketchArc(doc, a.x, a.y, 0.0, b.x, b.y, 0.0, middle.x, middle.y, 0.0) ==
                VARIANT_FALSE)
                failCreation("Could not create sketcharc from " + pointText(a) + " through " +
                             pointText(middle) + " to " + pointText(b) + where);
        } else if (shape.hasKey(m3dCircleC::tagName())) {
            const m3dCircleC circle(shape.getTreePtr());
            const point2S centre = mapPoint(m, getPoint2d(circle));
            ISketchSegmentPtr segment(
                modelDocSketchCircle(doc, centre.x, centre.y, 0.0, circle.getRadius()));
            if (!segment)
                failCreation("Could not create sketchcircle at " + pointText(centre) +
                             " with radius " + numberText(circle.getRadius()) + where);
        }
    }
}

} // namespace

matrixC4x4<double> sketchTransformMatrix(ISketch* sketch) {
    matrixC4x4<double> matrix;
    matrixFromVariant(matrix, sketchGetTransformData(sketch));
    return matrix;
}

ISketchPtr createSketch(const IModelDoc2Ptr& doc, const m3dSketchC& sketch,
                        matrixC4x4<double> placement) {
    ISketchPtr active;
    sketchPtrFromVariant(active, modelDocGetActiveSketch(doc));
    const mzComStringC name = getName(sketch);
    if (!active)
        failCreation("No active solidWorks sketch found");

    const matrixC4x4<double> m = placement * sketchTransformMatrix(active);

    const std::vector<metaTreePtrT> loops = sketch.getLoops().childrenByKey(m3dLoopC::tagName());
    for (std::size_t i = 0; i < loops.size(); ++i)
        checkLoopIsClosed(m3dLoopC(loops[i]), static_cast<int>(i), name);
    for (std::size_t i = 0; i < loops.size(); ++i)
        drawLoop(doc, m3dLoopC(loops[i]), m, static_cast<int>(i), name);

    if (sketch.hasChild(m3dCenterLineC::tagName())) {
        vectorC2d<double> first;
        vectorC2d<double> second;
        sketch.getCenterLine2d(first, second);
        const point2S a = mapPoint(m, first);
        const point2S b = mapPoint(m, second);
        ISketchSegmentPtr segment(modelDocCreateLine(doc, a.x, a.y, 0.0, b.x, b.y, 0.0));
        if (!segment)
            failCreation("Could not create centerline for sketch " + quotedName(name));
        segmentSetCenterlineFlag(segment, VARIANT_TRUE);
    }
    return active;
}
