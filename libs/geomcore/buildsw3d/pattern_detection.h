// Pattern geometry detection: whether the instance points of a FEATPATTERN, taken in the
// plane of its pattern sketch, form a rectangular grid (one or two directions) or equal steps
// on a circle, and with which parameters. The FEATPATTERN handler builds one detector of each
// kind per pattern node, asks the linear one first, and hands the one that accepts to the
// matching creator, which also asks it for the index of every present instance.
//
// Angles are in degrees, lengths in the plane coordinates of the pattern sketch (nothing is
// scaled). Nothing here throws or logs: a refusal is a result of 0 with `valid` left 0.
#pragma once

#include "metamodel/m2d/vector2d.h"
#include "metamodel/m3d/pattern.h"

#include <cstdint>
#include <vector>

// The remainder of a / b, tolerant to 1e-6 on b: 0 when a is a near multiple of b.
double tolerantRemainder(double a, double b);
// The greatest common divisor of the values above 1e-8, the first of them in list order being
// the unit: the largest value of which all of them are whole multiples (within the
// tolerances), at most that first value; 0 when no value is above 1e-8.
double realGcd(const double* values, int n);
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
};

class featPatternGeomCircleC : public featPatternGeomDetectionBaseC {
public:
    featPatternGeomCircleC(const m3dFeatPatternC& pattern, std::int32_t withBasePoint,
                           double angularTolerance = 0.5)
        : featPatternGeomDetectionBaseC(pattern, withBasePoint), tolerance(angularTolerance) {}

    void reset() override;
    std::int32_t detect() override;
    std::int32_t instanceIndices(std::vector<std::int32_t>& list) const override;
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
    double computeAngleStep();
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
