#include "platform/sldworks/model/profile_check.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace swsim::detail {

namespace {

// Far above OpenCASCADE's tolerance (1e-7): curves this far apart are apart for its check too.
constexpr double kClearance = 1e-6;
// Two lines leaving their shared vertex closer in direction than this (radians) fold back
// onto each other too sharply to be sure of.
constexpr double kMinFold = 1e-4;

double cross2(Vec3 a, Vec3 b) {
    return a.x * b.y - a.y * b.x;
}

double length2(Vec3 a) {
    return std::hypot(a.x, a.y);
}

double pointToSegment(Vec3 p, Vec3 a, Vec3 b) {
    const Vec3 ab{b.x - a.x, b.y - a.y, 0.0};
    const double l2 = ab.x * ab.x + ab.y * ab.y;
    double t = l2 > 0.0 ? ((p.x - a.x) * ab.x + (p.y - a.y) * ab.y) / l2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * ab.x), p.y - (a.y + t * ab.y));
}

double segmentToSegment(Vec3 a, Vec3 b, Vec3 c, Vec3 d) {
    const double o1 = cross2(b - a, c - a);
    const double o2 = cross2(b - a, d - a);
    const double o3 = cross2(d - c, a - c);
    const double o4 = cross2(d - c, b - c);
    if (((o1 > 0.0 && o2 < 0.0) || (o1 < 0.0 && o2 > 0.0)) &&
        ((o3 > 0.0 && o4 < 0.0) || (o3 < 0.0 && o4 > 0.0)))
        return 0.0;
    return std::min({pointToSegment(a, c, d), pointToSegment(b, c, d), pointToSegment(c, a, b),
                     pointToSegment(d, a, b)});
}

// Whether the circle comes within the clearance of the segment.
bool circleNearSegment(const ProfileCurve& circle, Vec3 a, Vec3 b) {
    const double nearest = pointToSegment(circle.centre, a, b);
    const double farthest = std::max(length2(a - circle.centre), length2(b - circle.centre));
    return nearest <= circle.radius + kClearance && farthest >= circle.radius - kClearance;
}

bool circlesNear(const ProfileCurve& p, const ProfileCurve& q) {
    const double d = length2(p.centre - q.centre);
    return d <= p.radius + q.radius + kClearance && d >= std::abs(p.radius - q.radius) - kClearance;
}

// Whether two curves are shown apart (or, two lines, meeting only at their shared vertex).
bool apart(const ProfileCurve& p, const ProfileCurve& q) {
    using Kind = ProfileCurve::Kind;
    const bool pLine = p.kind == Kind::Line;
    const bool qLine = q.kind == Kind::Line;
    if (pLine && qLine) {
        const bool s1 = p.startVertex == q.startVertex || p.startVertex == q.endVertex;
        const bool s2 = p.endVertex == q.startVertex || p.endVertex == q.endVertex;
        if (s1 && s2)
            return false;
        if (!s1 && !s2)
            return segmentToSegment(p.start, p.end, q.start, q.end) > kClearance;
        // From the shared vertex along each line: apart unless they leave it the same way.
        const Vec3 at = s1 ? p.start : p.end;
        const Vec3 u = (s1 ? p.end : p.start) - at;
        const Vec3 w = (q.startVertex == (s1 ? p.startVertex : p.endVertex) ? q.end : q.start) - at;
        const double angle = std::atan2(std::abs(cross2(u, w)), u.x * w.x + u.y * w.y);
        return angle > kMinFold;
    }
    if (pLine)
        return !circleNearSegment(q, p.start, p.end);
    if (qLine)
        return !circleNearSegment(p, q.start, q.end);
    return !circlesNear(p, q);
}

struct Bounds {
    double x0, y0, x1, y1;
};

Bounds boundsOf(const ProfileCurve& c) {
    if (c.kind == ProfileCurve::Kind::Line)
        return {
            std::min(c.start.x, c.end.x) - kClearance, std::min(c.start.y, c.end.y) - kClearance,
            std::max(c.start.x, c.end.x) + kClearance, std::max(c.start.y, c.end.y) + kClearance};
    const double r = c.radius + kClearance;
    return {c.centre.x - r, c.centre.y - r, c.centre.x + r, c.centre.y + r};
}

} // namespace

bool clearlySeparate(const std::vector<ProfileCurve>& curves) {
    for (const ProfileCurve& c : curves) {
        for (double v : {c.start.x, c.start.y, c.end.x, c.end.y, c.centre.x, c.centre.y, c.radius})
            if (!std::isfinite(v))
                return false;
        if (c.kind == ProfileCurve::Kind::Line &&
            (c.startVertex == c.endVertex || length2(c.end - c.start) <= 10.0 * kClearance))
            return false;
        if (c.kind == ProfileCurve::Kind::Circle && !(c.radius > 10.0 * kClearance))
            return false;
    }
    // Only curves whose bounds meet are compared: a sweep along x.
    std::vector<Bounds> bounds;
    bounds.reserve(curves.size());
    for (const ProfileCurve& c : curves)
        bounds.push_back(boundsOf(c));
    std::vector<std::size_t> byX(curves.size());
    std::iota(byX.begin(), byX.end(), std::size_t{0});
    std::sort(byX.begin(), byX.end(),
              [&](std::size_t a, std::size_t b) { return bounds[a].x0 < bounds[b].x0; });
    std::vector<std::size_t> open;
    for (std::size_t i : byX) {
        std::erase_if(open, [&](std::size_t j) { return bounds[j].x1 < bounds[i].x0; });
        for (std::size_t j : open)
            if (bounds[j].y0 <= bounds[i].y1 && bounds[i].y0 <= bounds[j].y1 &&
                !apart(curves[i], curves[j]))
                return false;
        open.push_back(i);
    }
    return true;
}

} // namespace swsim::detail
