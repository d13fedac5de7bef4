// Locations: the frame of each kind, the write-back of a moved frame, scaling, and the
// search for an equal location.
//
//   TYPE  PLOCVALS                              frame
//   0     0-2 origin, 3-5 angles a, b, c (deg)  Rx(c) * Ry(b) * Rz(a) * T(origin)
//   1     0-2 origin, 3-5 direction d           rows u, d x u, d (unit), origin
//   2     0-2 a point                           rows 0-2 zero, row 3 the point
//   3     0-2 a direction d                     rows u, d x u, d (unit), no origin
//   4     0-2 angles a, b, c (deg)              Rx(c) * Ry(b) * Rz(a)
//   other -                                     all zero
//
// The frame of a direction is orthonormal: its rows are inverted and multiplied as a
// rigid transform, and with an unnormalised or oblique first axis that corrupted the
// direction of every moved location. The direction keeps its stored length: the frame
// holds the unit direction and the write-back multiplies the moved unit direction by it.

#include "metamodel/param/paramdocument.h"
#include "metamodel/param/paramlookup.h"

#include <cmath>

namespace {

using vec3T = std::array<double, 3>;

vec3T cross(const vec3T& a, const vec3T& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double length(const vec3T& a) {
    return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
}

// Orthonormal rotation whose z row is the direction d; the identity for a zero (or not
// finite) direction.
paramFrameT directionFrame(const vec3T& d) {
    paramFrameT f = paramIdentityFrame();
    const double len = length(d);
    if (!(len > 0.0) || !std::isfinite(len))
        return f;
    const vec3T n = {d[0] / len, d[1] / len, d[2] / len};
    vec3T u;
    if (std::fabs(n[0]) < paramEqualTolerance && std::fabs(n[1]) < paramEqualTolerance)
        u = {0.0, -n[2], 0.0};
    else if (std::fabs(n[0]) < paramEqualTolerance)
        u = {0.0, n[2], -n[1]};
    else
        u = {n[1], -n[0], 0.0};
    const double ul = length(u);
    u = {u[0] / ul, u[1] / ul, u[2] / ul};
    const vec3T v = cross(n, u);
    for (std::size_t j = 0; j < 3; ++j) {
        f[j] = u[j];
        f[4 + j] = v[j];
        f[8 + j] = n[j];
    }
    return f;
}

} // namespace

paramFrameT m3dParamLocationC::getFrame() {
    if (!isValid())
        return paramIdentityFrame();
    // The accessors add a missing TYPE and PLOCVALS, as they do for every caller that goes
    // on to write the location.
    getType();
    getValues();
    return readFrame();
}

paramFrameT m3dParamLocationC::readFrame() const {
    if (!isValid())
        return paramIdentityFrame();
    const int type = readType();
    const m3dParamLocationValuesC values(findChild(m3dParamLocationValuesC::keyName()));
    auto v = [&values](int i) { return values.getValueAt(i); };
    paramFrameT f{};
    switch (type) {
    case 0:
        f = rotationFromThreeAngles(v(3), v(4), v(5));
        f[12] = v(0);
        f[13] = v(1);
        f[14] = v(2);
        break;
    case 1:
        f = directionFrame({v(3), v(4), v(5)});
        f[12] = v(0);
        f[13] = v(1);
        f[14] = v(2);
        break;
    case 2:
        f[12] = v(0);
        f[13] = v(1);
        f[14] = v(2);
        f[15] = 1.0;
        break;
    case 3:
        f = directionFrame({v(0), v(1), v(2)});
        break;
    case 4:
        f = rotationFromThreeAngles(v(0), v(1), v(2));
        break;
    default:
        break;
    }
    return f;
}

double m3dParamLocationC::getDirectionLength() {
    if (!isValid())
        return 1.0;
    const int type = getType();
    if (type != 1 && type != 3)
        return 1.0;
    const m3dParamLocationValuesC values = getValues();
    const int first = type == 1 ? 3 : 0;
    return length(
        {values.getValueAt(first), values.getValueAt(first + 1), values.getValueAt(first + 2)});
}

void m3dParamLocationC::setFromFrame(const paramFrameT& n, double directionLength) {
    if (!isValid())
        return;
    const int type = getType();
    m3dParamLocationValuesC values = getValues();
    // In place only: a missing value node is not created.
    auto put = [&values](int i, double x) { values.setValueAt(i, x); };
    switch (type) {
    case 0:
        put(0, n[12]);
        put(1, n[13]);
        put(2, n[14]);
        put(3, yawAngle(n));
        put(4, pitchAngle(n));
        put(5, rollAngle(n));
        break;
    case 1:
        put(0, n[12]);
        put(1, n[13]);
        put(2, n[14]);
        put(3, n[8] * directionLength);
        put(4, n[9] * directionLength);
        put(5, n[10] * directionLength);
        break;
    case 2:
        put(0, n[12]);
        put(1, n[13]);
        put(2, n[14]);
        break;
    case 3:
        // The direction is turned, never moved.
        put(0, n[8] * directionLength);
        put(1, n[9] * directionLength);
        put(2, n[10] * directionLength);
        break;
    case 4:
        put(0, yawAngle(n));
        put(1, pitchAngle(n));
        put(2, rollAngle(n));
        break;
    default:
        break;
    }
}

int m3dParamLocationC::scale(double factor) {
    if (!isValid())
        return 1;
    // Only the stored origins of TYPE 0 to 2 are lengths; negative TYPEs count as large.
    if (static_cast<std::uint32_t>(getType()) > 2u)
        return 1;
    m3dParamLocationValuesC values = getValues();
    for (int i = 0; i < 3; ++i) {
        bool found = false;
        const double x = values.getValueAt(i, &found);
        if (found)
            values.setValueAt(i, x * factor);
    }
    return 1;
}

int m3dParamLocationC::transform(const m3dParamMatrixT& matrix) {
    if (!isValid())
        return 1;
    const double len = getDirectionLength();
    setFromFrame(paramMultiplyFrames(getFrame(), paramFrameFrom(matrix.data())), len);
    return 1;
}

int m3dParamDocumentC::findLocation(int type, const double* frame, double directionLength) {
    if (frame == nullptr)
        return -1;
    const paramFrameT g = paramFrameFrom(frame);
    if (param_lookup::indexC* index = param_lookup::activeIndex(getTreePtr()))
        return param_lookup::findLocation(*index, *this, type, g, directionLength);
    const std::vector<double> want = param_lookup::locationKey(type, g, directionLength);
    const m3dParamLocationsC locations = getLocations();
    for (int j = 0, count = locations.count(); j < count; ++j) {
        m3dParamLocationC loc = locations.getElementAt(j);
        if (loc.isKeyNode() && loc.readType() == type &&
            param_lookup::keysNearlyEqual(param_lookup::storedLocationKey(loc), want))
            return j;
    }
    return -1;
}
