#include "libs/geomcore/swgeomtools/contour_contacts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

using pointS = sketchPoint2S;

constexpr double twoPi = 2.0 * std::numbers::pi;

pointS operator+(pointS a, pointS b) {
    return {a.x + b.x, a.y + b.y};
}
pointS operator-(pointS a, pointS b) {
    return {a.x - b.x, a.y - b.y};
}
pointS operator*(pointS a, double s) {
    return {a.x * s, a.y * s};
}
double dot(pointS a, pointS b) {
    return a.x * b.x + a.y * b.y;
}
double cross(pointS a, pointS b) {
    return a.x * b.y - a.y * b.x;
}
double length(pointS a) {
    return std::hypot(a.x, a.y);
}
double angleOf(pointS d) {
    const double t = std::atan2(d.y, d.x);
    return t < 0.0 ? t + twoPi : t;
}
// An angle taken into [0, 2 pi).
double turned(double angle) {
    const double t = std::fmod(angle, twoPi);
    return t < 0.0 ? t + twoPi : t;
}

bool isCircle(const contourCurveS& c) {
    return !c.line && c.sweep >= twoPi;
}

pointS arcPoint(const contourCurveS& c, double angle) {
    return c.centre + pointS{std::cos(angle), std::sin(angle)} * c.radius;
}

bool withinSweep(const contourCurveS& c, double angle) {
    return isCircle(c) || turned(angle - c.start) <= c.sweep;
}

// The ends of a line or an arc (none for a circle).
std::vector<pointS> endsOf(const contourCurveS& c) {
    if (c.line)
        return {c.a, c.b};
    if (isCircle(c))
        return {};
    return {arcPoint(c, c.start), arcPoint(c, c.start + c.sweep)};
}

pointS closestOnLine(const contourCurveS& c, pointS p) {
    const pointS r = c.b - c.a;
    const double r2 = dot(r, r);
    const double t = r2 > 0.0 ? std::clamp(dot(p - c.a, r) / r2, 0.0, 1.0) : 0.0;
    return c.a + r * t;
}

pointS closestOnArc(const contourCurveS& c, pointS p) {
    const pointS d = p - c.centre;
    const double n = length(d);
    if (n > 0.0 && withinSweep(c, angleOf(d)))
        return c.centre + d * (c.radius / n);
    if (isCircle(c))
        return arcPoint(c, 0.0);
    const pointS s = arcPoint(c, c.start);
    const pointS e = arcPoint(c, c.start + c.sweep);
    return length(p - s) <= length(p - e) ? s : e;
}

pointS closestOn(const contourCurveS& c, pointS p) {
    return c.line ? closestOnLine(c, p) : closestOnArc(c, p);
}

struct nearestS {
    double distance = std::numeric_limits<double>::infinity();
    pointS at;
};

void keep(nearestS& best, double distance, pointS at) {
    if (distance < best.distance)
        best = {distance, at};
}

// Where a line crosses or touches the other curve exactly.
void lineCrossings(const contourCurveS& u, const contourCurveS& v, nearestS& best) {
    const pointS r = u.b - u.a;
    if (v.line) {
        const pointS q = v.b - v.a;
        const double denominator = cross(r, q);
        if (denominator == 0.0)
            return; // parallel: their ends tell
        const double s = cross(v.a - u.a, q) / denominator;
        const double t = cross(v.a - u.a, r) / denominator;
        if (s >= 0.0 && s <= 1.0 && t >= 0.0 && t <= 1.0)
            keep(best, 0.0, u.a + r * s);
        return;
    }
    const pointS f = u.a - v.centre;
    const double a = dot(r, r);
    const double b = 2.0 * dot(r, f);
    const double c = dot(f, f) - v.radius * v.radius;
    const double discriminant = b * b - 4.0 * a * c;
    if (a <= 0.0 || discriminant < 0.0)
        return; // a tangent the rounding missed: the foot of the centre tells
    for (const double sign : {-1.0, 1.0}) {
        const double s = (-b + sign * std::sqrt(discriminant)) / (2.0 * a);
        const pointS p = u.a + r * s;
        if (s >= 0.0 && s <= 1.0 && withinSweep(v, angleOf(p - v.centre)))
            keep(best, 0.0, p);
    }
}

void arcCrossings(const contourCurveS& u, const contourCurveS& v, nearestS& best) {
    const pointS d = v.centre - u.centre;
    const double n = length(d);
    if (n == 0.0 || n > u.radius + v.radius || n < std::fabs(u.radius - v.radius))
        return;
    const double along = (u.radius * u.radius - v.radius * v.radius + n * n) / (2.0 * n);
    const double across = std::sqrt(std::max(0.0, u.radius * u.radius - along * along));
    const pointS e = d * (1.0 / n);
    const pointS base = u.centre + e * along;
    for (const double sign : {-1.0, 1.0}) {
        const pointS p = base + pointS{-e.y, e.x} * (sign * across);
        if (withinSweep(u, angleOf(p - u.centre)) && withinSweep(v, angleOf(p - v.centre)))
            keep(best, 0.0, p);
    }
}

// The points of arc `u` nearest to and farthest from the curve `v` along the line from u's
// centre towards v (its centre, or the foot of the centre on a line), where u has them.
void arcFacing(const contourCurveS& u, const contourCurveS& v, nearestS& best) {
    const pointS towards = v.line ? closestOnLine(v, u.centre) : v.centre;
    const pointS d = towards - u.centre;
    const double n = length(d);
    if (n == 0.0)
        return;
    for (const double sign : {-1.0, 1.0}) {
        const pointS p = u.centre + d * (sign * u.radius / n);
        if (withinSweep(u, angleOf(p - u.centre)))
            keep(best, length(closestOn(v, p) - p), p);
    }
}

// The least distance between two curves and a point of `u` where it is taken.
nearestS nearest(const contourCurveS& u, const contourCurveS& v) {
    nearestS best;
    if (u.line)
        lineCrossings(u, v, best);
    else if (v.line)
        lineCrossings(v, u, best);
    else
        arcCrossings(u, v, best);
    if (best.distance == 0.0)
        return best;
    for (const pointS& p : endsOf(u))
        keep(best, length(closestOn(v, p) - p), p);
    for (const pointS& p : endsOf(v)) {
        const pointS q = closestOn(u, p);
        keep(best, length(q - p), q);
    }
    if (!u.line)
        arcFacing(u, v, best);
    if (!v.line) {
        nearestS other;
        arcFacing(v, u, other);
        if (other.distance < best.distance)
            keep(best, other.distance, closestOn(u, other.at));
    }
    return best;
}

struct boxS {
    double minX = std::numeric_limits<double>::infinity();
    double minY = std::numeric_limits<double>::infinity();
    double maxX = -std::numeric_limits<double>::infinity();
    double maxY = -std::numeric_limits<double>::infinity();

    void add(pointS p) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
    bool meets(const boxS& o, double tolerance) const {
        return minX <= o.maxX + tolerance && o.minX <= maxX + tolerance &&
               minY <= o.maxY + tolerance && o.minY <= maxY + tolerance;
    }
};

// A box around the curve: an arc's is its circle's.
boxS boxOf(const contourCurveS& c) {
    boxS box;
    if (c.line) {
        box.add(c.a);
        box.add(c.b);
    } else {
        box.add(c.centre - pointS{c.radius, c.radius});
        box.add(c.centre + pointS{c.radius, c.radius});
    }
    return box;
}

// The first place where two contours come within the tolerance.
std::optional<pointS> contact(const contourS& u, const std::vector<boxS>& uBoxes, const contourS& v,
                              const std::vector<boxS>& vBoxes, double tolerance) {
    for (std::size_t i = 0; i < u.size(); ++i)
        for (std::size_t k = 0; k < v.size(); ++k)
            if (uBoxes[i].meets(vBoxes[k], tolerance)) {
                const nearestS n = nearest(u[i], v[k]);
                if (n.distance <= tolerance)
                    return n.at;
            }
    return std::nullopt;
}

} // namespace

contourCurveS contourLine(sketchPoint2S a, sketchPoint2S b) {
    contourCurveS c;
    c.a = a;
    c.b = b;
    return c;
}

contourCurveS contourArc(sketchPoint2S a, sketchPoint2S middle, sketchPoint2S b) {
    const pointS ab = b - a;
    const pointS am = middle - a;
    const double d = 2.0 * cross(am, ab);
    if (d == 0.0 || !std::isfinite(d))
        return contourLine(a, b);
    // The centre from the perpendicular bisectors of a-middle and a-b.
    const double m2 = dot(am, am);
    const double b2 = dot(ab, ab);
    contourCurveS c;
    c.line = false;
    c.centre = a + pointS{(ab.y * m2 - am.y * b2) / d, (am.x * b2 - ab.x * m2) / d};
    c.radius = length(a - c.centre);
    const double ta = angleOf(a - c.centre);
    const double towardsEnd = turned(angleOf(b - c.centre) - ta);
    if (turned(angleOf(middle - c.centre) - ta) <= towardsEnd) {
        c.start = ta;
        c.sweep = towardsEnd;
    } else { // clockwise from a: counter-clockwise from b
        c.start = turned(ta + towardsEnd);
        c.sweep = twoPi - towardsEnd;
    }
    return c;
}

contourCurveS contourCircle(sketchPoint2S centre, double radius) {
    contourCurveS c;
    c.line = false;
    c.centre = centre;
    c.radius = radius;
    c.sweep = twoPi;
    return c;
}

std::optional<contourContactS> findContourContact(const std::vector<contourS>& contours,
                                                  double tolerance) {
    std::vector<std::vector<boxS>> curveBoxes(contours.size());
    std::vector<boxS> boxes(contours.size());
    for (std::size_t i = 0; i < contours.size(); ++i)
        for (const contourCurveS& c : contours[i]) {
            curveBoxes[i].push_back(boxOf(c));
            boxes[i].add({curveBoxes[i].back().minX, curveBoxes[i].back().minY});
            boxes[i].add({curveBoxes[i].back().maxX, curveBoxes[i].back().maxY});
        }
    // A sweep along x: only contours whose boxes overlap are compared.
    std::vector<std::size_t> order(contours.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return boxes[a].minX < boxes[b].minX; });
    std::optional<contourContactS> found;
    for (std::size_t oi = 0; oi < order.size(); ++oi) {
        for (std::size_t ok = oi + 1; ok < order.size(); ++ok) {
            const std::size_t i = std::min(order[oi], order[ok]);
            const std::size_t k = std::max(order[oi], order[ok]);
            if (boxes[order[ok]].minX > boxes[order[oi]].maxX + tolerance)
                break;
            if (!boxes[i].meets(boxes[k], tolerance) ||
                (found && (i > found->first || (i == found->first && k > found->second))))
                continue;
            if (const std::optional<pointS> at =
                    contact(contours[i], curveBoxes[i], contours[k], curveBoxes[k], tolerance))
                found = contourContactS{i, k, *at};
        }
    }
    return found;
}
