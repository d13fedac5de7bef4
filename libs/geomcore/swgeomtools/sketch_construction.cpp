#include "libs/geomcore/swgeomtools/sketch_construction.h"

#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swgeomtools/transform_data.h"
#include "libs/geomcore/swtools/error.h"
#include "metamodel/m3d/shapes3d.h"
#include "metamodel/m3d/viewhelpers.h"

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

// Draws one loop. The chaining runs over its lines and arcs only: the first of them fixes the
// loop's start, the last one closes the loop at that start.
void drawLoop(IModelDoc2* doc, const m3dLoopC& loop, const matrixC4x4<double>& m) {
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
                throw errorC("Could not create sketchline");
        } else if (shape.hasKey(m3dArcC::tagName())) {
            const point2S middle = mapPoint(m, getSecondPoint2d(shape));
            point2S a;
            point2S b;
            chain(k, mapPoint(m, getFirstPoint2d(shape)), mapPoint(m, getThirdPoint2d(shape)), a,
                  b);
            if (modelDocSketchArc(doc, a.x, a.y, 0.0, b.x, b.y, 0.0, middle.x, middle.y, 0.0) ==
                VARIANT_FALSE)
                failCreation("Could not create sketcharc");
        } else if (shape.hasKey(m3dCircleC::tagName())) {
            const m3dCircleC circle(shape.getTreePtr());
            const point2S centre = mapPoint(m, getPoint2d(circle));
            ISketchSegmentPtr segment(
                modelDocSketchCircle(doc, centre.x, centre.y, 0.0, circle.getRadius()));
            if (!segment)
                failCreation("Could not create sketchcircle");
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

    const m3dLoopsC loops = sketch.getLoops();
    for (int i = 0; i < loops.countLoops(); ++i)
        drawLoop(doc, loops.getLoopAt(i), m);

    if (sketch.hasChild(m3dCenterLineC::tagName())) {
        vectorC2d<double> first;
        vectorC2d<double> second;
        sketch.getCenterLine2d(first, second);
        const point2S a = mapPoint(m, first);
        const point2S b = mapPoint(m, second);
        ISketchSegmentPtr segment(modelDocCreateLine(doc, a.x, a.y, 0.0, b.x, b.y, 0.0));
        if (!segment)
            failCreation("Could not create centerline for sketch \"" + name + "\"");
        segmentSetCenterlineFlag(segment, VARIANT_TRUE);
    }
    return active;
}
