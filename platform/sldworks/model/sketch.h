// Sketches: a 2D sketch on a plane or planar face (entities in sketch coordinates) or a 3D
// sketch (entities in model coordinates), with named points and segments, a simple
// degrees-of-freedom model with constraints, and the profile that solid features use.
#pragma once

#include "platform/sldworks/model/feature.h"
#include "platform/sldworks/model/object.h"
#include "platform/sldworks/model/point_index.h"
#include "platform/sldworks/model/types.h"

#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace swsim {

class Sketch;

// A point of a sketch: a stand-alone point or an end (or centre) of a segment. Ends that
// meet at the same position are one point, shared by the segments.
class SketchPoint final : public Object {
public:
    SketchPoint(std::string name, Vec3 position) : name_(std::move(name)), position_(position) {}
    ObjectKind objectKind() const override { return ObjectKind::SketchPoint; }
    // "Point1", "Point2", ... in creation order within the sketch.
    const std::string& name() const { return name_; }
    // Position in sketch coordinates (z = 0 in a 2D sketch; model coordinates in a 3D one).
    Vec3 position() const { return position_; }
    // Position in model coordinates.
    Vec3 modelPosition() const;
    std::shared_ptr<Sketch> sketch() const { return sketch_.lock(); }

private:
    friend class Sketch;
    friend class PartDocument; // restores saved sketches
    std::string name_;
    Vec3 position_;
    std::weak_ptr<Sketch> sketch_;
};

using SketchPointPtr = std::shared_ptr<SketchPoint>;

enum class SegmentKind { Line, Arc, Circle };

class SketchSegment final : public Object {
public:
    ObjectKind objectKind() const override { return ObjectKind::SketchSegment; }
    SegmentKind kind() const { return kind_; }
    // "Line1", "Arc1", ... in creation order: lines and centre lines share the "Line"
    // sequence, arcs and circles the "Arc" sequence.
    const std::string& name() const { return name_; }
    // A centre line (construction geometry): not part of any profile; the axis of a
    // revolution.
    bool centreLine() const { return centreLine_; }
    void setCentreLine(bool centreLine);

    // Line and arc: the two ends; arc and circle: the centre point. Null where not defined.
    const SketchPointPtr& start() const { return start_; }
    const SketchPointPtr& end() const { return end_; }
    const SketchPointPtr& centre() const { return centre_; }
    // Arc: a point on the arc between its ends (as given); circle: unused.
    Vec3 middle() const { return middle_; }
    double radius() const { return radius_; }
    std::shared_ptr<Sketch> sketch() const { return sketch_.lock(); }

private:
    friend class Sketch;
    friend class PartDocument; // restores saved sketches
    SegmentKind kind_ = SegmentKind::Line;
    std::string name_;
    bool centreLine_ = false;
    SketchPointPtr start_;
    SketchPointPtr end_;
    SketchPointPtr centre_;
    Vec3 middle_{};
    double radius_ = 0.0;
    std::weak_ptr<Sketch> sketch_;
};

using SketchSegmentPtr = std::shared_ptr<SketchSegment>;

// Constraint kinds as the system's calls number them: 17 fixes the given points or segments;
// 2 is what the constrain-all call adds.
class SketchConstraint final : public Object {
public:
    SketchConstraint(int kind, std::vector<ObjectPtr> entities)
        : kind_(kind), entities_(std::move(entities)) {}
    ObjectKind objectKind() const override { return ObjectKind::SketchConstraint; }
    int kind() const { return kind_; }
    const std::vector<ObjectPtr>& entities() const { return entities_; }

private:
    int kind_;
    std::vector<ObjectPtr> entities_;
};

using SketchConstraintPtr = std::shared_ptr<SketchConstraint>;

// Sketch status codes.
inline constexpr int kSketchUnderConstrained = 2;
inline constexpr int kSketchFullyConstrained = 3;
inline constexpr int kSketchOverConstrained = 4;
inline constexpr int kConstraintFix = 17;
inline constexpr int kConstraintAuto = 2;

class Sketch final : public Feature {
public:
    // A 2D sketch placed at `frame` (its zDir is the sketch normal), or a 3D sketch.
    Sketch(const Frame& frame, bool is3D);

    bool is3D() const { return is3D_; }
    const Frame& frame() const { return frame_; }
    // Transform data as SolidWorks gives it (see Frame): model-to-sketch and its inverse.
    std::array<double, 16> modelToSketchData() const { return frame_.modelToLocalData(); }
    std::array<double, 16> sketchToModelData() const { return frame_.localToModelData(); }
    // The plane or planar face the sketch was opened on (null for a 3D sketch).
    ObjectPtr placement() const { return placement_.lock(); }
    // The feature that made the face the sketch was opened on (null on a plane, for a 3D
    // sketch, or when no feature of the part made the face): the sketch is built on it.
    std::shared_ptr<Feature> faceFeature() const { return faceFeature_.lock(); }

    // Entities; 2D sketches take sketch coordinates, 3D sketches model coordinates (z used).
    // Each returns null for degenerate input (zero length, collinear arc points, radius <= 0,
    // not finite) and for an entity reaching outside the model space (see kModelSpace) where
    // the sketch lies, and adds nothing then. An arc's centre is no part of the model: it may
    // lie beyond, within kConstructionReach.
    SketchSegmentPtr addLine(Vec3 start, Vec3 end);
    SketchSegmentPtr addCentreLine(Vec3 start, Vec3 end);
    // A three-point arc from `start` through `middle` to `end`.
    SketchSegmentPtr addArc(Vec3 start, Vec3 end, Vec3 middle);
    SketchSegmentPtr addCircle(Vec3 centre, double radius);
    SketchPointPtr addPoint(Vec3 position);

    const std::vector<SketchPointPtr>& points() const { return points_; }
    const std::vector<SketchSegmentPtr>& segments() const { return segments_; }
    // Entity by its name within the sketch ("Line1", "Point3"); null when none.
    ObjectPtr findEntity(const std::string& name) const;
    // The first centre line, or null.
    SketchSegmentPtr firstCentreLine() const;

    // Degrees of freedom: points 2 each, a circle's radius 1, an arc's radius 1 less than its
    // three points; a fix constraint removes what its entities still have. Status: 2 with
    // free degrees left, 3 with none, 4 when a constraint removed nothing (redundant), or
    // the next value of the scripted sequence when one is set.
    int status();
    int freeDegrees() const;
    void setScriptedStatuses(std::deque<int> statuses) { scriptedStatuses_ = std::move(statuses); }

    // Constraints of one kind (-1: all) in creation order.
    std::vector<SketchConstraintPtr> constraints(int kind = -1) const;
    // Adds a constraint on points or segments of this sketch; null when an entity is not
    // one of this sketch's points or segments or the list is empty.
    SketchConstraintPtr addConstraint(int kind, const std::vector<ObjectPtr>& entities);
    bool removeConstraint(const SketchConstraintPtr& constraint);
    // Constrains every free point and segment with kind-2 constraints; returns how many.
    int constrainAll();

    // Why the sketch gives no profile ("" when it does): no closed loop, open chain, ...
    std::string profileProblem() const;
    // Whether every entity lies in the model space as the add calls above require (an
    // arc's centre and radius within kConstructionReach), for a sketch read from a file.
    bool fitsModelSpace() const;

private:
    friend class PartDocument;
    SketchPointPtr pointAt(Vec3 position);
    // Whether a position of the sketch lies in the model space where the sketch lies.
    bool occupiesModelSpace(Vec3 position) const;
    // Whether the arc lies in the model space (bulge included); its centre when it does.
    bool arcFits(Vec3 start, Vec3 end, Vec3 middle, Vec3& centre) const;
    bool circleFits(Vec3 centre, double radius) const;
    SketchSegmentPtr addSegment(SegmentKind kind, const std::string& prefix);
    bool consumed(const SketchPoint& point) const;
    bool consumed(const SketchSegment& segment) const;
    // Brings the tally of fixed entities up to the sketch's segments and constraints.
    void updateTally() const;

    Frame frame_;
    bool is3D_;
    std::weak_ptr<Object> placement_;
    std::weak_ptr<Feature> faceFeature_;
    std::vector<SketchPointPtr> points_;
    std::vector<SketchSegmentPtr> segments_;
    std::vector<SketchConstraintPtr> constraints_;
    // The segments' end points by position, numbered in the order a walk through the segments
    // meets them, for the segments up to `indexedSegments_` (the rest are filed when next
    // looked for: a file's sketch gets its segments without pointAt).
    std::unique_ptr<detail::PointIndex> ends_;
    std::unordered_map<const SketchPoint*, std::size_t> endNumbers_;
    std::size_t indexedSegments_ = 0;
    std::vector<SketchPointPtr> endsInOrder_;
    // What the constraints fix, kept up to date as segments and constraints are added (the
    // file reader adds them directly); `valid` false after a removal: counted again.
    struct DofTally {
        std::unordered_set<const SketchPoint*> arcCentres;
        std::size_t roundSegments = 0; // circles and arcs
        std::size_t countedSegments = 0;
        std::unordered_set<const SketchPoint*> fixedPoints;
        std::unordered_set<const SketchSegment*> fixedSegments;
        std::size_t fixedFreePoints = 0; // fixed points that are no arc's centre
        std::size_t fixedRoundSegments = 0;
        std::size_t appliedConstraints = 0;
        bool redundant = false; // a constraint fixed nothing new
        bool valid = true;
    };
    mutable DofTally tally_;
    std::deque<int> scriptedStatuses_;
    int lineCount_ = 0;
    int arcCount_ = 0;
    int pointCount_ = 0;
};

using SketchPtr = std::shared_ptr<Sketch>;

} // namespace swsim
