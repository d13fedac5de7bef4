#include "libs/geomcore/buildasm3d/member_placement.h"

#include "libs/geomcore/swtools/error.h"
#include "metamodel/m3d/viewhelpers.h"

#include <cmath>

namespace {

mzComStringC numberText(double value) {
    return mzComStringC::number(value, 'g', 6);
}

[[noreturn]] void refusePlacement(const mzComStringC& why, double tolerance = placementTolerance) {
    throw errorC(mzComStringC("Could not place the part: its placement (MAT) is no rotation and "
                              "translation: ") +
                 why + " (within " + numberText(tolerance) + ")");
}

} // namespace

matrixC4x4<double> memberPlacement(const metaObjectC& member) {
    matrixC4x4<double> m = matrixC4x4<double>::identity();
    if (member.findChild("MAT").isNull())
        return m;
    if (!getMatrix(member, m))
        throw errorC("Could not place the part: its placement (MAT) does not hold 16 numbers");
    for (int i = 0; i < 16; ++i)
        if (!std::isfinite(m[i]))
            throw errorC(mzComStringC("Could not place the part: its placement (MAT) holds ") +
                         numberText(m[i]) + " as value " + mzComStringC::number(i + 1) + " of 16");
    static constexpr const char* axisNames[3] = {"X", "Y", "Z"};
    vectorC3d<double> unit[3];
    for (int r = 0; r < 3; ++r) {
        const vectorC3d<double> axis = m.row(r);
        const double length = std::sqrt(axis.dot(axis));
        if (std::abs(length - 1) > placementTolerance)
            refusePlacement(mzComStringC("its ") + axisNames[r] + " axis is " + numberText(length) +
                            " long, not 1");
        unit[r] = axis * (1 / length);
    }
    // Each axis may be turned off its place in the rotation by the tolerance, so two of them
    // meet up to twice that off a right angle: a rotation written to four decimals turns an
    // axis by up to 8.7e-5, and the cosine between two such axes reaches 1.7e-4.
    constexpr double rightAngleTolerance = 2 * placementTolerance;
    for (int r = 0; r < 3; ++r) {
        const int s = (r + 1) % 3;
        const double cosine = unit[r].dot(unit[s]);
        if (std::abs(cosine) > rightAngleTolerance)
            refusePlacement(mzComStringC("its ") + axisNames[r] + " and " + axisNames[s] +
                                " axes are not at right angles (the cosine between them is " +
                                numberText(cosine) + ", not 0)",
                            rightAngleTolerance);
    }
    // Unit axes at right angles: the triple product is 1 or -1 within the tolerance.
    if (unit[0].cross(unit[1]).dot(unit[2]) < 0)
        refusePlacement("it is a reflection (its Z axis points against X x Y)");
    for (int r = 0; r < 4; ++r) {
        const double wanted = r == 3 ? 1 : 0;
        if (std::abs(m.at(r, 3) - wanted) > placementTolerance)
            refusePlacement(mzComStringC("its value ") + mzComStringC::number(r * 4 + 4) + " is " +
                            numberText(m.at(r, 3)) + ", not " + numberText(wanted));
    }
    const vectorC3d<double> yOff = m.row(1) - unit[0] * m.row(1).dot(unit[0]);
    return frameFromOriginXY(m.row(3), unit[0], yOff * (1 / std::sqrt(yOff.dot(yOff))));
}
