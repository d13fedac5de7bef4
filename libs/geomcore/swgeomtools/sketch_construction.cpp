#include "libs/geomcore/swgeomtools/sketch_construction.h"

#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swgeomtools/contour_contacts.h"
#include "libs/geomcore/swgeomtools/transform_data.h"
#include "libs/geomcore/swtools/error.h"
#include "libs/geomcore/swtools/value_text.h"
#include "metamodel/m3d/shapes3d.h"
#include "metamodel/m3d/viewhelpers.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <vector>

namespace {

struct point2S {
    double x = 0.0;
    double y = 0.0;
};

point2S mapPoint(const matrixC4x4<double>& m, const point2S& p) {
    return {p.x * m.at(0, 0) + p.y * m.at(1, 0) + m.at(3, 0),
            p.x * m.at(0, 1) + p.y * m.at(1, 1) + m.at(3, 1)};
}

point2S pointOf(const vectorC2d<double>& p) {
    return {p.x, p.y};
}

mzComStringC pointText(const point2S& p) {
    return ::pointText(p.x, p.y);
}

// Where lines and arcs meet, catalogue numbers carry rounding noise. Lengths are in
// millimetres when a part is built: two ends rounded to three decimals differ by at most
// 0.001; a large loop whose numbers keep only six or seven significant digits by 1e-6 of its
// size (the larger side of the box of its ends). A loop is closed over a gap up to the larger
// of the two, but never over more than a hundredth of its size: a loop smaller than the
// rounding is no loop with noise but an outline of its own (a U of 1e-4 missing its fourth
// side is no triangle).
constexpr double closingGap = 1e-3;
constexpr double closingGapOfSize = 1e-6;
constexpr double closingGapShareOfSize = 1e-2;

// Contours of one sketch that come this near are taken to touch: OpenCASCADE's tolerance is
// 1e-7, a wall thinner than ten of it would not stay apart.
constexpr double contactTolerance = 1e-6;

enum class shapeKindE { line, arc, circle };

// A shape of a loop as it is drawn: its own numbers, ends chained (sketch coordinates before
// the placement).
struct plannedShapeS {
    shapeKindE kind = shapeKindE::line;
    point2S a;      // start (line, arc); centre (circle)
    point2S b;      // end (line, arc)
    point2S middle; // arc
    double radius = 0.0;
};

struct plannedLoopS {
    std::vector<plannedShapeS> shapes;
};

// The shape's numbers, each of which must be finite: one that is not would be drawn as
// another number by the placement ((POINT inf 7) as (inf, nan)).
void refuseNonFinite(const char* tag, std::initializer_list<double> values,
                     const mzComStringC& what, const mzComStringC& where) {
    for (const double v : values)
        if (!std::isfinite(v))
            failCreation(where + ": " + tag + " " + what + " holds a number that is not finite");
}

// Refuses a loop whose lines and arcs do not meet end to start (and the last one the first)
// within the closing gap: closing it by force would draw another outline than the
// model's (an open U as a triangle, a reversed first line as a bow-tie).
void checkLoopIsClosed(const std::vector<plannedShapeS>& given, int index,
                       const mzComStringC& name) {
    std::vector<point2S> ends; // start and end of each line or arc, in order
    for (const plannedShapeS& shape : given)
        if (shape.kind != shapeKindE::circle) {
            ends.push_back(shape.a);
            ends.push_back(shape.b);
        }
    // A single line or arc keeps its own points.
    if (ends.size() < 4)
        return;
    point2S low = ends.front();
    point2S high = ends.front();
    for (const point2S& p : ends) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y)};
    }
    const double size = std::max(high.x - low.x, high.y - low.y);
    const double tolerance =
        std::max(closingGapOfSize * size, std::min(closingGap, closingGapShareOfSize * size));
    for (std::size_t i = 1; i < ends.size(); i += 2) {
        const point2S& end = ends[i];
        const point2S& next = ends[(i + 1) % ends.size()];
        const double gap = std::hypot(next.x - end.x, next.y - end.y);
        if (!(gap <= tolerance))
            failCreation("Loop " + mzComStringC::number(index + 1) + " of sketch " +
                         quotedName(name) + " is open: a gap of " + numberText(gap) + " at " +
                         pointText(end));
    }
}

// The loop's lines, arcs and circles as they are drawn (other shapes are skipped). The
// chaining runs over its lines and arcs only: the first of them fixes the loop's start,
// every later one starts where the one before ended, the last one closes the loop at that
// start. The loop is refused before anything is drawn when a number is not finite or the
// loop is open.
plannedLoopS planLoop(const m3dLoopC& loop, int index, const mzComStringC& name) {
    const mzComStringC where =
        "Loop " + mzComStringC::number(index + 1) + " of sketch " + quotedName(name);
    std::vector<plannedShapeS> given;
    for (int k = 0, n = loop.count(); k < n; ++k) {
        const mBaseShape2dC shape = loop.getShapeAt(k);
        plannedShapeS planned;
        if (shape.hasKey(m3dLineC::tagName())) {
            planned.a = pointOf(getFirstPoint2d(shape));
            planned.b = pointOf(getSecondPoint2d(shape));
            refuseNonFinite("LINE", {planned.a.x, planned.a.y, planned.b.x, planned.b.y},
                            pointText(planned.a) + " to " + pointText(planned.b), where);
        } else if (shape.hasKey(m3dArcC::tagName())) {
            planned.kind = shapeKindE::arc;
            planned.a = pointOf(getFirstPoint2d(shape));
            planned.middle = pointOf(getSecondPoint2d(shape));
            planned.b = pointOf(getThirdPoint2d(shape));
            refuseNonFinite("ARC",
                            {planned.a.x, planned.a.y, planned.middle.x, planned.middle.y,
                             planned.b.x, planned.b.y},
                            pointText(planned.a) + " through " + pointText(planned.middle) +
                                " to " + pointText(planned.b),
                            where);
        } else if (shape.hasKey(m3dCircleC::tagName())) {
            const m3dCircleC circle(shape.getTreePtr());
            planned.kind = shapeKindE::circle;
            planned.a = pointOf(getPoint2d(circle));
            planned.radius = circle.getRadius();
            refuseNonFinite(
                "CIRCLE", {planned.a.x, planned.a.y, planned.radius},
                "at " + pointText(planned.a) + " with radius " + numberText(planned.radius), where);
        } else {
            continue;
        }
        given.push_back(planned);
    }
    checkLoopIsClosed(given, index, name);

    plannedLoopS drawn{given};
    int lastChained = -1;
    for (int k = 0; k < static_cast<int>(given.size()); ++k)
        if (given[static_cast<std::size_t>(k)].kind != shapeKindE::circle)
            lastChained = k;
    bool started = false;
    point2S loopStart;
    point2S prevEnd;
    for (int k = 0; k < static_cast<int>(given.size()); ++k) {
        plannedShapeS& shape = drawn.shapes[static_cast<std::size_t>(k)];
        if (shape.kind == shapeKindE::circle)
            continue;
        const point2S ownEnd = shape.b;
        if (!started) {
            loopStart = shape.a;
            prevEnd = ownEnd;
            started = true;
        } else if (k == lastChained) {
            shape.a = prevEnd;
            shape.b = loopStart;
        } else {
            shape.a = prevEnd;
            prevEnd = ownEnd;
        }
    }
    return drawn;
}

// Each circle of a loop is a contour of its own; its lines and arcs are one.
std::vector<contourS> contoursOf(const plannedLoopS& loop) {
    std::vector<contourS> out;
    contourS chain;
    for (const plannedShapeS& s : loop.shapes) {
        const sketchPoint2S a{s.a.x, s.a.y};
        const sketchPoint2S b{s.b.x, s.b.y};
        if (s.kind == shapeKindE::line)
            chain.push_back(contourLine(a, b));
        else if (s.kind == shapeKindE::arc)
            chain.push_back(contourArc(a, {s.middle.x, s.middle.y}, b));
        else
            out.push_back({contourCircle(a, s.radius)});
    }
    if (!chain.empty())
        out.insert(out.begin(), chain);
    return out;
}

// Refuses loops that cross or touch. SolidWorks extrudes no such profile (each contour
// would become a body of its own, overlapping the others); a loop inside another without
// touching it is a hole.
void checkLoopsKeepApart(const std::vector<plannedLoopS>& loops, const mzComStringC& name) {
    std::vector<contourS> contours;
    std::vector<int> loopOf;
    for (std::size_t i = 0; i < loops.size(); ++i)
        for (contourS& c : contoursOf(loops[i])) {
            contours.push_back(std::move(c));
            loopOf.push_back(static_cast<int>(i) + 1);
        }
    const std::optional<contourContactS> contact = findContourContact(contours, contactTolerance);
    if (!contact)
        return;
    const int first = loopOf[contact->first];
    const int second = loopOf[contact->second];
    const mzComStringC at = ::pointText(contact->at.x, contact->at.y);
    if (first == second)
        failCreation("Loop " + mzComStringC::number(first) + " of sketch " + quotedName(name) +
                     " holds contours that cross or touch at " + at);
    failCreation("Loops " + mzComStringC::number(first) + " and " + mzComStringC::number(second) +
                 " of sketch " + quotedName(name) + " cross or touch at " + at);
}

// Why SolidWorks may have refused a shape, as far as its numbers show; empty when they do
// not. `model` maps a point of the sketch into the model.
mzComStringC refusalReason(const plannedShapeS& s, const matrixC4x4<double>& model) {
    auto beyond = [&](const point2S& p) {
        const double x = p.x * model.at(0, 0) + p.y * model.at(1, 0) + model.at(3, 0);
        const double y = p.x * model.at(0, 1) + p.y * model.at(1, 1) + model.at(3, 1);
        const double z = p.x * model.at(0, 2) + p.y * model.at(1, 2) + model.at(3, 2);
        return !withinSolidWorksModelSpace(x, y, z);
    };
    if (s.kind == shapeKindE::circle) {
        if (!(s.radius > 0.0))
            return ": its radius is not positive";
        const double r = s.radius;
        for (const point2S& p : {point2S{s.a.x - r, s.a.y - r}, point2S{s.a.x + r, s.a.y + r}})
            if (beyond(p))
                return mzComStringC(": it ") + beyondModelSpaceText;
        return mzComStringC();
    }
    if (std::hypot(s.b.x - s.a.x, s.b.y - s.a.y) <= 1e-9)
        return ": its ends coincide";
    if (beyond(s.a) || beyond(s.b) || (s.kind == shapeKindE::arc && beyond(s.middle)))
        return mzComStringC(": it ") + beyondModelSpaceText;
    if (s.kind == shapeKindE::arc) {
        // As SolidWorks tells a straight arc: the bend against the size, to twelve digits.
        const double ux = s.middle.x - s.a.x;
        const double uy = s.middle.y - s.a.y;
        const double vx = s.b.x - s.a.x;
        const double vy = s.b.y - s.a.y;
        const double size = std::max(ux * ux + uy * uy, vx * vx + vy * vy);
        if (std::fabs(ux * vy - uy * vx) <= 1e-12 * size)
            return ": its three points lie on one line";
    }
    return mzComStringC();
}

// Draws one planned loop. A shape SolidWorks refuses (one beyond its model space, a
// degenerate one) ends the drawing with the shape's numbers as they were given to it, in
// sketch coordinates, and why as far as they show.
void drawLoop(IModelDoc2* doc, const plannedLoopS& loop, const matrixC4x4<double>& m,
              const matrixC4x4<double>& placement, int index, const mzComStringC& name) {
    const mzComStringC where =
        " in loop " + mzComStringC::number(index + 1) + " of sketch " + quotedName(name);
    for (const plannedShapeS& shape : loop.shapes) {
        auto why = [&] { return refusalReason(shape, placement); };
        if (shape.kind == shapeKindE::line) {
            const point2S a = mapPoint(m, shape.a);
            const point2S b = mapPoint(m, shape.b);
            ISketchSegmentPtr segment(modelDocCreateLine(doc, a.x, a.y, 0.0, b.x, b.y, 0.0));
            if (!segment)
                throw errorC("Could not create sketchline from " + pointText(a) + " to " +
                             pointText(b) + where + why());
        } else if (shape.kind == shapeKindE::arc) {
            const point2S a = mapPoint(m, shape.a);
            const point2S middle = mapPoint(m, shape.middle);
            const point2S b = mapPoint(m, shape.b);
            if (modelDocSketchArc(doc, a.x, a.y, 0.0, b.x, b.y, 0.0, middle.x, middle.y, 0.0) ==
                VARIANT_FALSE)
                failCreation("Could not create sketcharc from " + pointText(a) + " through " +
                             pointText(middle) + " to " + pointText(b) + where + why());
        } else {
            const point2S centre = mapPoint(m, shape.a);
            ISketchSegmentPtr segment(
                modelDocSketchCircle(doc, centre.x, centre.y, 0.0, shape.radius));
            if (!segment)
                failCreation("Could not create sketchcircle at " + pointText(centre) +
                             " with radius " + numberText(shape.radius) + where + why());
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
    std::vector<plannedLoopS> planned;
    for (std::size_t i = 0; i < loops.size(); ++i)
        planned.push_back(planLoop(m3dLoopC(loops[i]), static_cast<int>(i), name));
    checkLoopsKeepApart(planned, name);
    for (std::size_t i = 0; i < planned.size(); ++i)
        drawLoop(doc, planned[i], m, placement, static_cast<int>(i), name);

    if (sketch.hasChild(m3dCenterLineC::tagName())) {
        vectorC2d<double> first;
        vectorC2d<double> second;
        sketch.getCenterLine2d(first, second);
        const point2S a = mapPoint(m, pointOf(first));
        const point2S b = mapPoint(m, pointOf(second));
        ISketchSegmentPtr segment(modelDocCreateLine(doc, a.x, a.y, 0.0, b.x, b.y, 0.0));
        if (!segment)
            failCreation("Could not create centerline for sketch " + quotedName(name));
        segmentSetCenterlineFlag(segment, VARIANT_TRUE);
    }
    return active;
}
