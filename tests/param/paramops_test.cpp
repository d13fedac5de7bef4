// Operations: scale, transform and unit change of the parametric document.
#include "param_fixture.h"
