// How the builders' messages show the values a model gave, and what they know of the space
// SolidWorks builds in, so that a refusal names the value and why.
#pragma once

#include "libs/KvorCore/loader/com_string.h"

// Ten significant digits: "12.5", "1e+300", "nan", "inf".
mzComStringC numberText(double value);
// "(x, y)" and "(x, y, z)" in numberText's form.
mzComStringC pointText(double x, double y);
mzComStringC pointText(double x, double y, double z);

// SolidWorks keeps a model within 500 m of the origin: 5e5 in the millimetres the build
// hands it. The builders leave refusing to SolidWorks and use this to tell the user why it
// made nothing; only a pattern's axis, which the build computes itself, is checked against it.
inline constexpr double solidWorksModelSpace = 5e5;
// False for a value beyond it, NaN and the infinities.
bool withinSolidWorksModelSpace(double value);
bool withinSolidWorksModelSpace(double x, double y, double z);
// The reason shown after a value beyond it.
inline constexpr const char* beyondModelSpaceText =
    "lies beyond SolidWorks' model space (500 m from the origin)";
