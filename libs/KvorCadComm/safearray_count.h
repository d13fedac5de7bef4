// Element counts of SAFEARRAYs as the builders read them.
#pragma once

#include "platform/com/safearray.h"

// Number of elements of the dimension (1-based): upper bound - lower bound + 1. 0 for a
// null array or a dimension the array does not have.
long safeArrayGetCount(SAFEARRAY* array, unsigned dimension = 1);
