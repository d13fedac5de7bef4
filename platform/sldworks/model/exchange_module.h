// Internal to the model: the STEP, IGES and STL module, opened when a copy is first written or
// a foreign file first read, so that building and reading parts never loads OpenCASCADE's data
// exchange toolkits (nor the visualisation and image libraries the XDE toolkits need).
#pragma once

#include "platform/sldworks/exchange/exchange_api.h"

#include <string>
#include <vector>

namespace swsim::detail {

// The module, opened once and kept for the life of the process. Raises ModelError starting
// with `what` ("export", "import") and naming every place looked at and why it failed.
const exchange::Api& exchangeModule(const char* what);

// The first of `candidates` (paths of the module) that opens as this build's module, or null
// with `error` naming each candidate and why it was refused.
const exchange::Api* openExchangeModule(const std::vector<std::string>& candidates,
                                        std::string& error);

} // namespace swsim::detail
