#include "metamodel/param/paramframe.h"

#include <cmath>

namespace {

constexpr double pi = 3.141592653589793;
constexpr double degreesPerRadian = 57.29577951308232;

double radians(double degrees) noexcept {
    return degrees * pi / 180.0;
}

// True when the pitch (degrees) is +90 or -90 within the tolerance.
bool isPitchUp(double b) noexcept {
    return std::fabs(b - 90.0) < paramEqualTolerance;
}
bool isPitchDown(double b) noexcept {
    return std::fabs(b + 90.0) < paramEqualTolerance;
}

} // namespace

bool paramNearlyEqual(double a, double b) noexcept {
    // Written so that a NaN on either side compares unequal.
    return std::fabs(a - b) <= paramEqualTolerance;
}

paramFrameT paramIdentityFrame() noexcept {
    paramFrameT f{};
    f[0] = f[5] = f[10] = f[15] = 1.0;
    return f;
}

paramFrameT paramFrameFrom(const double* matrix) noexcept {
    paramFrameT f{};
    for (int i = 0; i < 16; ++i)
        f[static_cast<std::size_t>(i)] = matrix[i];
    return f;
}

paramFrameT paramMultiplyFrames(const paramFrameT& a, const paramFrameT& b) noexcept {
    paramFrameT c{};
    for (std::size_t i = 0; i < 4; ++i) {
        for (std::size_t j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (std::size_t k = 0; k < 4; ++k)
                sum += a[i * 4 + k] * b[k * 4 + j];
            c[i * 4 + j] = sum;
        }
    }
    return c;
}

paramFrameT paramInvertRigidFrame(const paramFrameT& f) noexcept {
    paramFrameT r{};
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t j = 0; j < 3; ++j)
            r[i * 4 + j] = f[j * 4 + i];
    }
    for (std::size_t j = 0; j < 3; ++j) {
        double sum = 0.0;
        for (std::size_t k = 0; k < 3; ++k)
            sum += f[12 + k] * r[k * 4 + j];
        r[12 + j] = -sum;
    }
    r[15] = 1.0;
    return r;
}

paramFrameT rotationFromAngles(double alpha, double beta, double gamma) noexcept {
    const double s1 = std::sin(radians(beta)), c1 = std::cos(radians(beta));
    const double s2 = std::sin(radians(alpha)), c2 = std::cos(radians(alpha));
    const double s3 = std::sin(radians(gamma)), c3 = std::cos(radians(gamma));
    paramFrameT r = paramIdentityFrame();
    r[0] = c3 * c1;
    r[1] = s3 * c2 + s1 * s2 * c3;
    r[2] = s3 * s2 - c2 * s1 * c3;
    r[4] = -s3 * c1;
    r[5] = c2 * c3 - s3 * s1 * s2;
    r[6] = c2 * s1 * s3 + s2 * c3;
    r[8] = s1;
    r[9] = -s2 * c1;
    r[10] = c2 * c1;
    return r;
}

paramFrameT rotationFromThreeAngles(double a, double b, double c) noexcept {
    return paramMultiplyFrames(
        paramMultiplyFrames(rotationFromAngles(c, 0.0, 0.0), rotationFromAngles(0.0, b, 0.0)),
        rotationFromAngles(0.0, 0.0, a));
}

double pitchAngle(const paramFrameT& f) noexcept {
    return std::atan2(-f[2], std::sqrt(f[0] * f[0] + f[1] * f[1])) * degreesPerRadian;
}

double yawAngle(const paramFrameT& f) noexcept {
    const double b = pitchAngle(f);
    if (isPitchUp(b) || isPitchDown(b))
        return 0.0;
    return std::atan2(f[1], f[0]) * degreesPerRadian;
}

double rollAngle(const paramFrameT& f) noexcept {
    const double b = pitchAngle(f);
    if (isPitchUp(b))
        return std::atan2(f[4], f[5]) * degreesPerRadian;
    if (isPitchDown(b))
        return -std::atan2(f[4], f[5]) * degreesPerRadian;
    return std::atan2(f[6], f[10]) * degreesPerRadian;
}
