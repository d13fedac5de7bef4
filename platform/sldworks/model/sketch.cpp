#include "platform/sldworks/model/sketch.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>

namespace swsim {

namespace {

// Ends of segments that meet within this distance are one sketch point.
constexpr double kPointMerge = 1e-9;

// Centre of the circle through three points; false when they are (nearly) collinear.
bool circumcentre(Vec3 a, Vec3 b, Vec3 c, Vec3& centre) {
    const Vec3 ab = b - a;
    const Vec3 ac = c - a;
    const Vec3 n = cross(ab, ac);
    const double n2 = dot(n, n);
    const double scale = std::max(dot(ab, ab), dot(ac, ac));
    if (scale <= 0.0 || n2 <= 1e-24 * scale * scale)
        return false;
    const Vec3 t = cross(n, ab) * dot(ac, ac) + cross(ac, n) * dot(ab, ab);
    centre = a + t * (1.0 / (2.0 * n2));
    return true;
}

// Whether the part of a circle about `centre` (model coordinates) in the plane of the unit
// vectors `u` and `v`, from `u` turning towards `v` through `sweep` radians, lies in the
// model space: each coordinate is greatest and least where the circle's tangent runs
// across that axis, or at the ends.
bool arcInModelSpace(Vec3 centre, Vec3 u, Vec3 v, double radius, double sweep) {
    const double c[3] = {centre.x, centre.y, centre.z};
    const double uc[3] = {u.x, u.y, u.z};
    const double vc[3] = {v.x, v.y, v.z};
    constexpr double full = 2.0 * std::numbers::pi;
    for (int i = 0; i < 3; ++i) {
        for (const double sign : {1.0, -1.0}) {
            double t = std::atan2(sign * vc[i], sign * uc[i]);
            if (t < 0.0)
                t += full;
            if (t <= sweep && !inModelSpace(c[i] + sign * radius * std::hypot(uc[i], vc[i])))
                return false;
        }
    }
    return true;
}

} // namespace

bool Sketch::occupiesModelSpace(Vec3 position) const {
    return inModelSpace(frame_.toModel(position));
}

bool Sketch::arcFits(Vec3 start, Vec3 end, Vec3 middle, Vec3& centre) const {
    if (!occupiesModelSpace(start) || !occupiesModelSpace(end) || !occupiesModelSpace(middle) ||
        distance(start, end) <= kPointMerge || !circumcentre(start, middle, end, centre) ||
        !inConstructionReach(centre) || !inConstructionReach(distance(centre, start)))
        return false;
    // The arc may bulge beyond its points: it runs from start about the normal of
    // start -> middle -> end, through the angle at which it reaches end.
    const Vec3 c = frame_.toModel(centre);
    const Vec3 a = frame_.toModel(start) - c;
    const Vec3 b = frame_.toModel(end) - c;
    const Vec3 n = normalized(cross(frame_.toModel(middle) - frame_.toModel(start),
                                    frame_.toModel(end) - frame_.toModel(start)));
    const Vec3 u = normalized(a);
    const Vec3 v = cross(n, u);
    double sweep = std::atan2(dot(b, v), dot(b, u));
    if (sweep < 0.0)
        sweep += 2.0 * std::numbers::pi;
    return arcInModelSpace(c, u, v, norm(a), sweep);
}

bool Sketch::circleFits(Vec3 centre, double radius) const {
    return !is3D_ && occupiesModelSpace(centre) && radius > 0.0 && inModelSpace(radius) &&
           arcInModelSpace(frame_.toModel(centre), frame_.xDir, frame_.yDir, radius,
                           2.0 * std::numbers::pi);
}

bool Sketch::fitsModelSpace() const {
    std::set<const SketchPoint*> centres;
    for (const auto& g : segments_) {
        Vec3 centre;
        switch (g->kind()) {
        case SegmentKind::Line:
            break;
        case SegmentKind::Arc:
            if (!arcFits(g->start()->position(), g->end()->position(), g->middle(), centre))
                return false;
            centres.insert(g->centre().get());
            break;
        case SegmentKind::Circle:
            if (!circleFits(g->centre()->position(), g->radius()))
                return false;
            break;
        }
    }
    for (const auto& p : points_)
        if (!centres.count(p.get()) && !occupiesModelSpace(p->position()))
            return false;
    return true;
}

Vec3 SketchPoint::modelPosition() const {
    auto s = sketch();
    if (!s || s->is3D())
        return position_;
    return s->frame().toModel(position_);
}

void SketchSegment::setCentreLine(bool centreLine) {
    if (kind_ == SegmentKind::Line)
        centreLine_ = centreLine;
}

Sketch::Sketch(const Frame& frame, bool is3D)
    : Feature(is3D ? FeatureKind::Sketch3D : FeatureKind::Sketch,
              is3D ? "3DProfileFeature" : "ProfileFeature"),
      frame_(is3D ? Frame{} : frame), is3D_(is3D) {}

SketchPointPtr Sketch::pointAt(Vec3 position) {
    if (!is3D_)
        position.z = 0.0;
    // The first end, in the order of the segments, within the merge distance.
    if (!ends_)
        ends_ = std::make_unique<detail::PointIndex>(kPointMerge);
    for (; indexedSegments_ < segments_.size(); ++indexedSegments_) {
        const auto& s = segments_[indexedSegments_];
        for (const SketchPointPtr& end : {s->start_, s->end_}) {
            if (end && endNumbers_.emplace(end.get(), endsInOrder_.size()).second) {
                ends_->add(end->position(), endsInOrder_.size());
                endsInOrder_.push_back(end);
            }
        }
    }
    const long long found = ends_->firstWithin(position);
    if (found >= 0)
        return endsInOrder_[static_cast<std::size_t>(found)];
    auto p = std::make_shared<SketchPoint>("Point" + std::to_string(++pointCount_), position);
    p->sketch_ = std::static_pointer_cast<Sketch>(shared_from_this());
    points_.push_back(p);
    return p;
}

SketchSegmentPtr Sketch::addSegment(SegmentKind kind, const std::string& prefix) {
    auto s = std::make_shared<SketchSegment>();
    s->kind_ = kind;
    // Circles are arcs to SolidWorks: "Arc<n>" in one sequence with the arcs.
    int& counter = kind == SegmentKind::Line ? lineCount_ : arcCount_;
    s->name_ = prefix + std::to_string(++counter);
    s->sketch_ = std::static_pointer_cast<Sketch>(shared_from_this());
    return s;
}

SketchSegmentPtr Sketch::addLine(Vec3 start, Vec3 end) {
    if (!is3D_)
        start.z = end.z = 0.0;
    if (!occupiesModelSpace(start) || !occupiesModelSpace(end) ||
        distance(start, end) <= kPointMerge)
        return nullptr;
    auto s = addSegment(SegmentKind::Line, "Line");
    s->start_ = pointAt(start);
    s->end_ = pointAt(end);
    segments_.push_back(s);
    return s;
}

SketchSegmentPtr Sketch::addCentreLine(Vec3 start, Vec3 end) {
    auto s = addLine(start, end);
    if (s)
        s->centreLine_ = true;
    return s;
}

SketchSegmentPtr Sketch::addArc(Vec3 start, Vec3 end, Vec3 middle) {
    if (!is3D_)
        start.z = end.z = middle.z = 0.0;
    Vec3 centre;
    if (!arcFits(start, end, middle, centre))
        return nullptr;
    auto s = addSegment(SegmentKind::Arc, "Arc");
    s->start_ = pointAt(start);
    s->end_ = pointAt(end);
    s->middle_ = middle;
    s->radius_ = distance(centre, start);
    s->centre_ = std::make_shared<SketchPoint>("Point" + std::to_string(++pointCount_), centre);
    s->centre_->sketch_ = std::static_pointer_cast<Sketch>(shared_from_this());
    points_.push_back(s->centre_);
    segments_.push_back(s);
    return s;
}

SketchSegmentPtr Sketch::addCircle(Vec3 centre, double radius) {
    centre.z = 0.0;
    if (!circleFits(centre, radius))
        return nullptr;
    auto s = addSegment(SegmentKind::Circle, "Arc");
    s->radius_ = radius;
    s->centre_ = std::make_shared<SketchPoint>("Point" + std::to_string(++pointCount_), centre);
    s->centre_->sketch_ = std::static_pointer_cast<Sketch>(shared_from_this());
    points_.push_back(s->centre_);
    segments_.push_back(s);
    return s;
}

SketchPointPtr Sketch::addPoint(Vec3 position) {
    if (!is3D_)
        position.z = 0.0;
    if (!occupiesModelSpace(position))
        return nullptr;
    auto p = std::make_shared<SketchPoint>("Point" + std::to_string(++pointCount_), position);
    p->sketch_ = std::static_pointer_cast<Sketch>(shared_from_this());
    points_.push_back(p);
    return p;
}

ObjectPtr Sketch::findEntity(const std::string& name) const {
    for (const auto& s : segments_)
        if (s->name() == name)
            return s;
    for (const auto& p : points_)
        if (p->name() == name)
            return p;
    return nullptr;
}

SketchSegmentPtr Sketch::firstCentreLine() const {
    for (const auto& s : segments_)
        if (s->centreLine())
            return s;
    return nullptr;
}

// ---- degrees of freedom ---------------------------------------------------------------

// The tally follows the constraints as they are added, so that a walk that asks for the
// status after each constraint it adds costs what the constraints cost, not their square.
// Removing a constraint starts it again at the next question.
void Sketch::updateTally() const {
    DofTally& t = tally_;
    for (; t.countedSegments < segments_.size(); ++t.countedSegments) {
        const SketchSegment& s = *segments_[t.countedSegments];
        if (s.kind() != SegmentKind::Line)
            ++t.roundSegments;
        if (s.kind() == SegmentKind::Arc && s.centre())
            t.arcCentres.insert(s.centre().get());
    }
    if (!t.valid) {
        t.fixedPoints.clear();
        t.fixedSegments.clear();
        t.fixedFreePoints = 0;
        t.fixedRoundSegments = 0;
        t.redundant = false;
        t.appliedConstraints = 0;
        t.valid = true;
    }
    for (; t.appliedConstraints < constraints_.size(); ++t.appliedConstraints) {
        // What the constraint fixes; one that fixes nothing new makes the sketch redundant.
        bool changed = false;
        auto fixPoint = [&](const SketchPoint* p) {
            if (p && t.fixedPoints.insert(p).second) {
                changed = true;
                if (t.arcCentres.count(p) == 0)
                    ++t.fixedFreePoints;
            }
        };
        for (const auto& e : constraints_[t.appliedConstraints]->entities()) {
            if (auto p = std::dynamic_pointer_cast<SketchPoint>(e)) {
                fixPoint(p.get());
            } else if (auto seg = std::dynamic_pointer_cast<SketchSegment>(e)) {
                if (seg->kind() != SegmentKind::Arc) // an arc's centre follows from its ends
                    fixPoint(seg->centre().get());
                fixPoint(seg->start().get());
                fixPoint(seg->end().get());
                if (seg->kind() != SegmentKind::Line && t.fixedSegments.insert(seg.get()).second) {
                    changed = true;
                    ++t.fixedRoundSegments;
                }
            }
        }
        t.redundant = t.redundant || !changed;
    }
}

bool Sketch::consumed(const SketchPoint& point) const {
    updateTally();
    return tally_.fixedPoints.count(&point) > 0;
}

bool Sketch::consumed(const SketchSegment& segment) const {
    updateTally();
    const DofTally& t = tally_;
    if (segment.kind() != SegmentKind::Line && !t.fixedSegments.count(&segment))
        return false;
    for (const SketchPoint* p : {segment.start().get(), segment.end().get()})
        if (p && !t.fixedPoints.count(p))
            return false;
    if (segment.kind() == SegmentKind::Circle && !t.fixedPoints.count(segment.centre().get()))
        return false;
    return true;
}

int Sketch::freeDegrees() const {
    updateTally();
    const DofTally& t = tally_;
    const int perPoint = is3D_ ? 3 : 2;
    const std::size_t freePoints = points_.size() - t.arcCentres.size() - t.fixedFreePoints;
    return perPoint * static_cast<int>(freePoints) +
           static_cast<int>(t.roundSegments - t.fixedRoundSegments);
}

int Sketch::status() {
    if (!scriptedStatuses_.empty()) {
        const int s = scriptedStatuses_.front();
        scriptedStatuses_.pop_front();
        return s;
    }
    updateTally();
    if (tally_.redundant)
        return kSketchOverConstrained;
    return freeDegrees() > 0 ? kSketchUnderConstrained : kSketchFullyConstrained;
}

std::vector<SketchConstraintPtr> Sketch::constraints(int kind) const {
    std::vector<SketchConstraintPtr> out;
    for (const auto& c : constraints_)
        if (kind == -1 || c->kind() == kind)
            out.push_back(c);
    return out;
}

SketchConstraintPtr Sketch::addConstraint(int kind, const std::vector<ObjectPtr>& entities) {
    if (entities.empty())
        return nullptr;
    for (const auto& e : entities) {
        // The entities know their sketch (points and segments are never taken out of one).
        const auto point = objectAs<SketchPoint>(e);
        const auto segment = objectAs<SketchSegment>(e);
        const bool ours = (point && point->sketch().get() == this) ||
                          (segment && segment->sketch().get() == this);
        if (!ours)
            return nullptr;
    }
    auto c = std::make_shared<SketchConstraint>(kind, entities);
    constraints_.push_back(c);
    return c;
}

bool Sketch::removeConstraint(const SketchConstraintPtr& constraint) {
    auto it = std::find(constraints_.begin(), constraints_.end(), constraint);
    if (it == constraints_.end())
        return false;
    constraints_.erase(it);
    tally_.valid = false;
    return true;
}

int Sketch::constrainAll() {
    int added = 0;
    for (const auto& s : segments_) {
        if (!consumed(*s)) {
            constraints_.push_back(
                std::make_shared<SketchConstraint>(kConstraintAuto, std::vector<ObjectPtr>{s}));
            ++added;
        }
    }
    for (const auto& p : points_) {
        if (!consumed(*p)) {
            if (tally_.arcCentres.count(p.get()) != 0)
                continue;
            constraints_.push_back(
                std::make_shared<SketchConstraint>(kConstraintAuto, std::vector<ObjectPtr>{p}));
            ++added;
        }
    }
    return added;
}

} // namespace swsim
