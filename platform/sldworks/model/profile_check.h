// Internal to the model: a quick proof that the loops of a sketch bound a valid profile,
// which spares most profiles OpenCASCADE's full validity check; that check compares every
// vertex and every edge of a face with all its others, so a loop of thousands of segments
// would cost the square of their number.
#pragma once

#include "platform/sldworks/model/types.h"

#include <vector>

namespace swsim::detail {

// One curve of a profile's loops, in the sketch's coordinates (x and y): a line of a loop, or
// a circle that is a loop of its own.
struct ProfileCurve {
    enum class Kind { Line, Circle };
    Kind kind = Kind::Line;
    Vec3 start{}; // a line's ends, as the loop's vertices lie
    Vec3 end{};
    Vec3 centre{}; // a circle's
    double radius = 0.0;
    // The loop vertices a line ends at (numbers shared by the lines that meet there).
    int startVertex = -1;
    int endVertex = -1;
};

// True when the curves are certainly the boundary of a valid profile: closed loops (as the
// caller built them: every vertex shared by two lines) in which no two curves come closer
// than a clearance far above OpenCASCADE's tolerance, but for two lines at their shared
// vertex, which must not fold back onto each other. False means "not shown" (curves near one
// another, short lines, sharp folds): the caller then runs the full check, as it does for
// loops with arcs, which meet their neighbours on their own circles. Linear in the number of
// curves for curves spread over the plane.
bool clearlySeparate(const std::vector<ProfileCurve>& curves);

} // namespace swsim::detail
