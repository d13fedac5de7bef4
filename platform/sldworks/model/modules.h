// Internal to the model: the modules it opens at run time, each the first time it is needed,
// so that a process loads only the OpenCASCADE toolkits its documents use. The exchange
// modules: building and reading parts never loads OpenCASCADE's data exchange toolkits; STL
// apart, so that the check-in's STL previews load no STEP toolkit, and the coloured STEP module
// apart, so that only a coloured STEP copy loads the XDE toolkits and with them OpenCASCADE's
// visualisation, X11 and the image libraries. The offset module: only drafted extrusions and
// lofts load OpenCASCADE's offset toolkit, with the fillet and Boolean toolkits behind it.
#pragma once

#include "platform/sldworks/exchange/exchange_api.h"
#include "platform/sldworks/offset/offset_api.h"

#include <string>
#include <vector>

namespace swsim::detail {

// The STEP and IGES module, the STL module, the coloured STEP module and the offset module,
// each opened once and kept for the life of the process. Raise ModelError starting with
// `what` ("export", "import") and naming the module, every place looked at and why it failed.
const exchange::Api& exchangeModule(const char* what);
const exchange::StlApi& stlModule(const char* what);
const exchange::XdeApi& xdeModule(const char* what);
const offset::Api& offsetModule(const char* what);

// The table `entry` answers in the first of `candidates` (paths of the module file `file`)
// that opens and answers a table of `version` (this build's); else null, with `error` naming
// each candidate and why it was refused.
const void* openModule(const std::string& file, const char* entry,
                       const std::vector<std::string>& candidates, int version, std::string& error);

} // namespace swsim::detail
