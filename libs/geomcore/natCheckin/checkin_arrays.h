// Reading the array answers the check-in relies on. Arrays that are not what the call
// promises raise E_INVALIDARG, as every array read of the SolidWorks side does.
#pragma once

#include "platform/sldworks/api/sldworks_api.h"

#include <optional>
#include <vector>

// The first element of an array of 16-bit integers (the unit arrays); nothing for an empty
// array (upper bound below the lower bound).
std::optional<short> firstShortOf(const VARIANT& value);

// The configuration names in array order. Element 0 must exist at index 0: a lower bound
// above 0 or an upper bound below 0 raises E_INVALIDARG.
std::vector<_bstr_t> configurationNamesOf(const VARIANT& value);
