// Pattern geometry detection: whether the instance points of a FEATPATTERN, taken in the
// plane of its pattern sketch, form a rectangular grid (one or two directions) or equal steps
// on a circle, and with which parameters. The FEATPATTERN handler builds one detector of each
// kind per pattern node, asks the linear one first, and hands the one that accepts to the
// matching creator, which also asks it for the index of every present instance. When both
// accept (a ring of 3, 4 or 6 lies on a skewed grid as well, three corners of a grid on an
// arc), choosePatternReading keeps the grid unless the points go once round a whole ring
// that needs fewer positions.
//
// Angles are in degrees, lengths in the plane coordinates of the pattern sketch (nothing is
// scaled). Nothing here throws or logs: a refusal is a result of 0 with `valid` left 0.
#pragma once

#include "metamodel/m2d/vector2d.h"
#include "metamodel/m3d/geom3d.h"
#include "metamodel/m3d/pattern.h"

#include <cstdint>
#include <vector>

// The remainder of a / b, tolerant to `slack` (at least 1e-6) on b: 0 when a is a near
// multiple of b.
double tolerantRemainder(double a, double b, double slack = 1e-6);
// The greatest common divisor of the values above 1e-8, the first of them in list order being
// the unit: the largest value of which all of them are whole multiples (within the
// tolerances), at most that first value; 0 when no value is above 1e-8. `tolerance` is how
// far, in the values' own units, a value may lie off a whole multiple (measured values);
// below 1e-6 of the unit it counts as 1e-6 of the unit.
double realGcd(const double* values, int n, double tolerance = 0.0);
// Whether a point of a pattern sketch plane, placed by the sketch's MAT, lies within
// SolidWorks' model space (500 m of the origin either way); false for no number.
bool inModelSpace(const vectorC2d<double>& p, const matrixC4x4<double>& planeToModel);
// Sorts n values ascending in place (Shell's gaps 1, 4, 13, ...); n < 1 does nothing.
void shellSort(double* values, int n);

class featPatternGeomDetectionBaseC {
public:
    // Collects the points: with withBasePoint set, the base feature's POINT3D in the pattern
    // sketch plane first; then every listed instance point that does not coincide (within
    // 1e-6) with that first point (without a base point: with the plane's origin).
    featPatternGeomDetectionBaseC(const m3dFeatPatternC& pattern, std::int32_t withBasePoint);
    virtual ~featPatternGeomDetectionBaseC() = default;

    virtual void reset() {}
    // Fills the parameters and `valid`; 1 when the points form this kind of pattern.
    virtual std::int32_t detect() = 0;
    // The pattern index of each point, ascending (the list is cleared first); 0 when the
    // detector is not valid or a point is off the pattern's grid.
    virtual std::int32_t instanceIndices(std::vector<std::int32_t>& list) const = 0;
    // 1 when the indices are exactly 0, 1, 2, ... (an empty list counts as complete); without
    // a list they are computed with instanceIndices, whose failure gives 0.
    std::int32_t isComplete(const std::vector<std::int32_t>* list = nullptr) const;
    std::int32_t isComplete(const std::vector<std::int32_t>& list) const {
        return isComplete(&list);
    }

    void getPoints(std::vector<vectorC2d<double>>& out) const { out = points; }
    std::vector<vectorC2d<double>> points;
    std::int32_t withBasePoint = 0;
    // Set when a base point was wanted but the base feature has no readable POINT3D: both
    // detectors then refuse (the plane's origin is no base position).
    bool baseMissing = false;
    // The pattern sketch's MAT: from its plane into the model.
    matrixC4x4<double> planeToModel;
};

class featPatternGeomCircleC : public featPatternGeomDetectionBaseC {
public:
    featPatternGeomCircleC(const m3dFeatPatternC& pattern, std::int32_t withBasePoint,
                           double angularTolerance = 0.5)
        : featPatternGeomDetectionBaseC(pattern, withBasePoint), tolerance(angularTolerance) {}

    void reset() override;
    // Equal steps on a circle. The centre is the circle through three points spread over the
    // set (the last point, the one farthest from it, the one farthest from the line between
    // them); every point lies on it when its distance from the centre differs from the radius
    // by at most onCircleTolerance. Points within that tolerance of one line, and a centre
    // beyond the model space, make no circle. The angular step is the common divisor of the
    // angles from the base point within the angle that tolerance makes at the radius.
    std::int32_t detect() override;
    std::int32_t instanceIndices(std::vector<std::int32_t>& list) const override;
    // How far a point may lie off the circle: 1e-4 of half the set's width (the radius of a
    // ring) plus 1e-4. Catalogue coordinates written to four decimals (rounded by up to 5e-5
    // each) still make a circle from a radius of about 1 up; points off a circle by more than
    // a ten-thousandth of its size do not.
    static double onCircleTolerance(double halfWidth) { return 1e-4 * (halfWidth + 1.0); }
    // The largest index plus 1: the number of positions on the circle up to the last present
    // one; 0 when there are no indices or they cannot be computed.
    std::int32_t instanceCount() const;

    double tolerance = 0.5; // degrees
    double radius = -1.0;
    vectorC2d<double> centre;
    std::int32_t valid = 0;
    double angleStep = 0.0; // degrees
    // 1 when the instances follow the base point counter-clockwise, 0 clockwise.
    std::int32_t sense = 1;

private:
    // The larger of the counter-clockwise and clockwise common steps of the instances' angles
    // from the base point, with `sense` set to match; 0 when both are below the tolerance.
    // measuredTolerance (degrees): how far an angle may be off by the points' rounding.
    double computeAngleStep(double measuredTolerance);
    // Whether a step is below the tolerance (NaN is): steps of the tolerance itself are taken.
    bool belowTolerance(double step) const;
};

class featPatternGeomLinearC : public featPatternGeomDetectionBaseC {
public:
    using featPatternGeomDetectionBaseC::featPatternGeomDetectionBaseC;

    void reset() override;
    std::int32_t detect() override;
    // Index count1 * i2 + i1 of the point i1 steps along dir1 and i2 steps along dir2.
    std::int32_t instanceIndices(std::vector<std::int32_t>& list) const override;

    vectorC2d<double> dir1;
    vectorC2d<double> dir2;
    double spacing1 = 1.0;
    double spacing2 = 1.0;
    std::int32_t valid = 0;
    std::int32_t count1 = 0;
    std::int32_t count2 = 0;

private:
    // The common step of the points' distances from the base point along `along`, measured
    // parallel to `other`; extent is the largest distance. -1 when a point lies behind the
    // base point, 0 when all lie on the base point's row.
    double spacingAlong(const vectorC2d<double>& other, const vectorC2d<double>& along,
                        double& extent) const;
};

enum class patternReadingE { none, linear, circular };

// Runs both detectors and answers the reading to build: the only one that accepts, or when
// both do, the grid, unless the circle is a whole ring (instanceCount steps make 360 degrees
// within the angular tolerance) with fewer positions than the grid (count1 * count2), so
// that fewer instances are skipped; a tie keeps the grid. A circle whose instances cannot be
// indexed does not count as accepted.
patternReadingE choosePatternReading(featPatternGeomLinearC& linear,
                                     featPatternGeomCircleC& circle);
