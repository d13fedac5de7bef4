#include "libs/geomcore/swtools/value_text.h"

#include <cmath>

mzComStringC numberText(double value) {
    return mzComStringC::number(value, 'g', 10);
}

mzComStringC pointText(double x, double y) {
    return "(" + numberText(x) + ", " + numberText(y) + ")";
}

mzComStringC pointText(double x, double y, double z) {
    return "(" + numberText(x) + ", " + numberText(y) + ", " + numberText(z) + ")";
}

bool withinSolidWorksModelSpace(double value) {
    return std::fabs(value) <= solidWorksModelSpace;
}

bool withinSolidWorksModelSpace(double x, double y, double z) {
    return withinSolidWorksModelSpace(x) && withinSolidWorksModelSpace(y) &&
           withinSolidWorksModelSpace(z);
}
