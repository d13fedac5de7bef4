#include "libs/geomcore/buildsw3d/pattern_detection.h"

#include "libs/geomcore/swtools/value_text.h"

#include "metamodel/m2d/point2d.h"
#include "metamodel/m3d/geom3d.h"
#include "metamodel/m3d/viewhelpers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double pointTolerance = 1e-6;
constexpr double gcdFloor = 1e-8;
// Euclid's remainders at least halve every two steps, so a handful of dozen steps reach the
// floor from any start; the bound only keeps values that are not numbers from spinning.
constexpr int maxEuclidSteps = 200;

using point2d = vectorC2d<double>;

double length(const point2d& v) {
    return std::hypot(v.x, v.y);
}

double dot(const point2d& a, const point2d& b) {
    return a.x * b.x + a.y * b.y;
}

double cross(const point2d& a, const point2d& b) {
    return a.x * b.y - a.y * b.x;
}

point2d scaled(const point2d& v, double f) {
    return {v.x * f, v.y * f};
}

// Where the line through p along u meets the line through q along v; q when they are parallel.
point2d intersection(const point2d& p, const point2d& u, const point2d& q, const point2d& v) {
    const double d = cross(u, v);
    if (std::abs(d) < 1e-12)
        return q;
    return p + scaled(u, cross(q - p, v) / d);
}

// Bubble passes until nothing moves: the index lists are short and nearly sorted.
void sortIndices(std::vector<std::int32_t>& list) {
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (std::size_t i = 1; i < list.size(); ++i)
            if (list[i - 1] > list[i]) {
                std::swap(list[i - 1], list[i]);
                swapped = true;
            }
    }
}

// The angle of v against the x axis, snapped to whole degrees when within 1e-6 of one.
double snappedAngle(const point2d& v) {
    double a = vectorAngle2d({1.0, 0.0}, v);
    const double f = std::fmod(a, 1.0);
    if (f < 1e-6)
        a = std::floor(a);
    else if (f > 0.999999)
        a = std::ceil(a);
    return a;
}

// A point that is no number lies on no grid and no circle; left in, it would pass every
// comparison by failing it.
bool allFinite(const std::vector<point2d>& points) {
    return std::all_of(points.begin(), points.end(),
                       [](const point2d& p) { return std::isfinite(p.x) && std::isfinite(p.y); });
}

} // namespace

double tolerantRemainder(double a, double b, double slack) {
    const double e = std::max(slack, 1e-6);
    const double r1 = std::fmod(a, b - e);
    const double r2 = std::fmod(a, b + e);
    // A near multiple of b: the two remainders fell on both sides of the wrap.
    if (std::abs(r2 - r1) > b / 2.0)
        return 0.0;
    const double r = (r1 + r2) / 2.0;
    if (r < 0.0 || std::abs(r - b) < e)
        return 0.0;
    return r;
}

double realGcd(const double* values, int n, double tolerance) {
    int unit = -1;
    for (int i = 0; i < n && unit < 0; ++i)
        if (values[i] > gcdFloor)
            unit = i;
    if (unit < 0)
        return 0.0;
    // The values are divided by the unit: so is the tolerance.
    const double slack = tolerance > 0.0 ? tolerance / values[unit] : 0.0;
    double g = 1.0;
    for (int j = 0; j < n; ++j) {
        if (j == unit || !(values[j] > gcdFloor))
            continue;
        double q = values[j] / values[unit];
        if (q == 0.0)
            continue;
        double r = tolerantRemainder(q, g, slack);
        for (int step = 0; r >= gcdFloor && step < maxEuclidSteps; ++step) {
            q = g;
            g = r;
            r = tolerantRemainder(q, g, slack);
        }
    }
    return g * values[unit];
}

bool inModelSpace(const vectorC2d<double>& p, const matrixC4x4<double>& planeToModel) {
    // An axis beyond SolidWorks' model space cannot be made, and a turn about it is no turn a
    // double can still resolve.
    const vectorC3d<double> v = transformPoint({p.x, p.y, 0.0}, planeToModel);
    return withinSolidWorksModelSpace(v.x, v.y, v.z);
}

void shellSort(double* values, int n) {
    if (n < 1)
        return;
    int h = 1;
    if (n / 9 > 1)
        while (h < n / 9)
            h = 3 * h + 1;
    for (; h > 0; h /= 3)
        for (int i = h; i < n; ++i) {
            const double v = values[i];
            int j = i;
            for (; j >= h && values[j - h] > v; j -= h)
                values[j] = values[j - h];
            values[j] = v;
        }
}

// ---- base

featPatternGeomDetectionBaseC::featPatternGeomDetectionBaseC(const m3dFeatPatternC& pattern,
                                                             std::int32_t withBase)
    : withBasePoint(withBase) {
    const m3dFeatPatternSketchC sketch = pattern.getPatternSketch();
    planeToModel = getMatrix(sketch);
    point2d reference;
    if (withBasePoint != 0) {
        vectorC3d<double> position;
        baseMissing = !getPoint3d(pattern.getBaseFeat(), position);
        const vectorC3d<double> inPlane =
            transformPoint(position, invertRigidTransform(planeToModel));
        reference = {inPlane.x, inPlane.y};
        points.push_back(reference);
    }
    std::vector<point2d> listed;
    collectPoint2dList(sketch.getSketchPoints(), listed);
    for (const point2d& p : listed)
        if (std::abs(p.x - reference.x) > pointTolerance ||
            std::abs(p.y - reference.y) > pointTolerance)
            points.push_back(p);
}

std::int32_t
featPatternGeomDetectionBaseC::isComplete(const std::vector<std::int32_t>* list) const {
    std::vector<std::int32_t> computed;
    if (list == nullptr) {
        if (instanceIndices(computed) == 0)
            return 0;
        list = &computed;
    }
    for (std::size_t i = 0; i < list->size(); ++i)
        if ((*list)[i] != static_cast<std::int32_t>(i))
            return 0;
    return 1;
}

// ---- circle

void featPatternGeomCircleC::reset() {
    sense = 1;
    radius = -1.0;
    valid = 0;
    angleStep = 0.0;
}

std::int32_t featPatternGeomCircleC::detect() {
    valid = 0;
    if (baseMissing || points.size() < 3 || !allFinite(points))
        return 0;
    // Three points spread over the set fix the centre best: rounding of the coordinates moves
    // the circle through three neighbours far more than the circle through a wide triangle.
    const point2d a = points.back();
    std::size_t far = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
        if (length(points[i] - a) > length(points[far] - a))
            far = i;
    const point2d b = points[far];
    std::size_t off = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
        if (std::abs(cross(b - a, points[i] - a)) > std::abs(cross(b - a, points[off] - a)))
            off = i;
    const double allowed = onCircleTolerance(length(b - a) / 2.0);
    // Points that all lie within the on-circle tolerance of one line are a row: the circle
    // through them is one of the rounding, its centre anywhere up to 1e17 away.
    if (!(std::abs(cross(b - a, points[off] - a)) > allowed * length(b - a)))
        return 0;
    if (!circleThroughThreePoints(a, b, points[off], centre) || !inModelSpace(centre, planeToModel))
        return 0;
    radius = length(a - centre);
    for (const point2d& q : points)
        if (!(std::abs(length(q - centre) - radius) <= allowed))
            return 0;
    // Two points each off by the tolerance turn the angle between them by twice its angle.
    const double measured = 2.0 * allowed / radius * 180.0 / std::numbers::pi;
    const double step = computeAngleStep(measured);
    if (belowTolerance(step))
        return 0;
    valid = 1;
    angleStep = step;
    return 1;
}

bool featPatternGeomCircleC::belowTolerance(double step) const {
    // Angles come out of sines and cosines a few ulps off: a step of exactly the tolerance
    // (720 positions half a degree apart) computes a hair below it, and is still taken.
    return !(step >= tolerance * (1.0 - 1e-9));
}

double featPatternGeomCircleC::computeAngleStep(double measuredTolerance) {
    if (points.empty())
        return 0.0;
    const double a0 = vectorAngle2d({1.0, 0.0}, points.front() - centre);
    std::vector<double> values;
    values.reserve(points.size() - 1);
    for (std::size_t i = points.size() - 1; i >= 1; --i) {
        double d = vectorAngle2d({1.0, 0.0}, points[i] - centre) - a0;
        if (d < 0.0)
            d += 360.0;
        values.push_back(d);
    }
    const int m = static_cast<int>(values.size());
    // The exact common step first; only when that is too small to be a step (angles of
    // rounded coordinates have no exact one) are the angles read as measured, within the
    // tolerance of their rounding. A wide tolerance would blur the fine steps of dense rings.
    auto commonStep = [&] {
        const double exact = realGcd(values.data(), m);
        return belowTolerance(exact) ? realGcd(values.data(), m, measuredTolerance) : exact;
    };
    const double counterClockwise = commonStep();
    for (double& v : values)
        v = 360.0 - v;
    const double clockwise = commonStep();
    if (belowTolerance(counterClockwise) && belowTolerance(clockwise))
        return 0.0;
    // The larger step wins; a tie goes to the counter-clockwise sense.
    if (counterClockwise - clockwise > -1e-6) {
        sense = 1;
        return counterClockwise;
    }
    sense = 0;
    return clockwise;
}

std::int32_t featPatternGeomCircleC::instanceIndices(std::vector<std::int32_t>& list) const {
    list.clear();
    if (valid == 0 || withBasePoint == 0 || points.empty())
        return 0;
    const point2d fromBase = points.front() - centre;
    list.push_back(0);
    for (std::size_t i = points.size() - 1; i >= 1; --i) {
        double alpha = vectorAngle2d(fromBase, points[i] - centre);
        if (sense == 0)
            alpha = 360.0 - alpha;
        double r = std::fmod(alpha, angleStep);
        if (std::abs(r - angleStep) < 1e-10)
            r = 0.0;
        if (!(std::abs(r - angleStep) < tolerance || std::abs(r) < tolerance))
            return 0;
        list.push_back(static_cast<std::int32_t>(std::ceil(alpha / angleStep - 0.5)));
    }
    sortIndices(list);
    return 1;
}

std::int32_t featPatternGeomCircleC::instanceCount() const {
    std::vector<std::int32_t> list;
    // Indices of a point set that is not on the circle's grid would count the wrong circle.
    if (instanceIndices(list) == 0 || list.empty())
        return 0;
    return list.back() + 1;
}

// ---- linear

void featPatternGeomLinearC::reset() {
    valid = 0;
    spacing1 = 1.0;
    spacing2 = 1.0;
}

std::int32_t featPatternGeomLinearC::detect() {
    valid = 0;
    // Without an instance besides the base point there are no directions to read.
    if (withBasePoint == 0 || baseMissing || points.size() < 2 || !allFinite(points))
        return 0;
    const point2d base = points.front();
    const int m = static_cast<int>(points.size()) - 1;
    std::vector<double> angles;
    angles.reserve(static_cast<std::size_t>(m));
    for (std::size_t i = points.size() - 1; i >= 1; --i)
        angles.push_back(snappedAngle(points[i] - base));
    shellSort(angles.data(), m);

    double a1 = angles.front();
    double a2 = angles.back();
    for (int i = 0; i + 1 < m; ++i)
        if (angles[static_cast<std::size_t>(i) + 1] - angles[static_cast<std::size_t>(i)] > 180.0) {
            a1 = angles[static_cast<std::size_t>(i)];
            a2 = angles[static_cast<std::size_t>(i) + 1];
            break;
        }
    const double spread = std::abs(a1 - a2);
    // All points on one line through the base point: the second direction is square to it.
    if (spread < 1e-6 || (spread > 179.999999 && spread < 180.000001))
        a2 = a1 + 90.0;
    const double toRadians = std::numbers::pi / 180.0;
    dir1 = {std::cos(a1 * toRadians), std::sin(a1 * toRadians)};
    dir2 = {std::cos(a2 * toRadians), std::sin(a2 * toRadians)};

    double extent1 = 0.0;
    double extent2 = 0.0;
    spacing1 = spacingAlong(dir2, dir1, extent1);
    if (spacing1 < 0.0)
        return 0;
    spacing2 = spacingAlong(dir1, dir2, extent2);
    if (spacing2 < 0.0)
        return 0;
    if ((spacing1 > 0.0 && spacing1 < 1e-6) || (spacing2 > 0.0 && spacing2 < 1e-6))
        return 0;
    const double steps1 = spacing1 != 0.0 ? std::floor(extent1 / spacing1 + 0.5) : 0.0;
    const double steps2 = spacing2 != 0.0 ? std::floor(extent2 / spacing2 + 0.5) : 0.0;
    // A grid that would be mostly empty is no pattern of these points. Compared before the
    // counts are made integers: a tiny common step gives more positions than 32 bits hold,
    // and a point that is no number gives counts that are none (refused by the comparison).
    if (!(steps1 + 1.0 <= 4.0 * m) || !(steps2 + 1.0 <= 4.0 * m))
        return 0;
    count1 = static_cast<std::int32_t>(steps1) + 1;
    count2 = static_cast<std::int32_t>(steps2) + 1;
    valid = 1;
    return 1;
}

double featPatternGeomLinearC::spacingAlong(const vectorC2d<double>& other,
                                            const vectorC2d<double>& along, double& extent) const {
    extent = 0.0;
    if (points.size() < 2)
        return 0.0;
    const point2d base = points.front();
    std::vector<double> distances;
    distances.reserve(points.size() - 1);
    for (std::size_t i = points.size() - 1; i >= 1; --i) {
        const double p = dot(intersection(base, along, points[i], other) - base, along);
        if (p < -1e-6)
            return -1.0;
        distances.push_back(p);
    }
    const int m = static_cast<int>(distances.size());
    shellSort(distances.data(), m);
    extent = distances.back();
    return realGcd(distances.data(), m);
}

std::int32_t featPatternGeomLinearC::instanceIndices(std::vector<std::int32_t>& list) const {
    list.clear();
    if (valid == 0 || points.empty())
        return 0;
    const point2d base = points.front();
    list.push_back(0);
    for (std::size_t i = points.size() - 1; i >= 1; --i) {
        const double d1 = length(intersection(base, dir1, points[i], dir2) - base);
        const double d2 = length(intersection(base, dir2, points[i], dir1) - base);
        const double s1 = spacing1 != 0.0 ? d1 / spacing1 + 0.5 : 0.0;
        const double s2 = spacing2 != 0.0 ? d2 / spacing2 + 0.5 : 0.0;
        // Off the grid that detect measured (a point that is no number, or changed since):
        // no index to give, and none to cast.
        if (!(s1 >= 0.0 && s1 < count1) || !(s2 >= 0.0 && s2 < count2)) {
            list.clear();
            return 0;
        }
        list.push_back(count1 * static_cast<std::int32_t>(s2) + static_cast<std::int32_t>(s1));
    }
    sortIndices(list);
    return 1;
}

patternReadingE choosePatternReading(featPatternGeomLinearC& linear,
                                     featPatternGeomCircleC& circle) {
    const bool grid = linear.detect() != 0;
    const std::int32_t turns = circle.detect() != 0 ? circle.instanceCount() : 0;
    if (turns == 0)
        return grid ? patternReadingE::linear : patternReadingE::none;
    if (!grid)
        return patternReadingE::circular;
    // The grid comes first. Three points of any grid lie on some circle (three corners of a
    // square on a quarter-turn arc), so an arc is no reason to turn the copies; a whole ring
    // is, when it has fewer positions to skip.
    const bool fullRing = std::abs(turns * circle.angleStep - 360.0) <= circle.tolerance;
    const double gridPositions =
        static_cast<double>(linear.count1) * static_cast<double>(linear.count2);
    return fullRing && turns < gridPositions ? patternReadingE::circular : patternReadingE::linear;
}
