// Translated resource texts of the host: a built-in English table. A key the table does not
// hold translates to the key itself, so that the user still sees which text is missing.
#pragma once

#include <string>
#include <string_view>

namespace hostsvc {

std::string translateText(std::string_view key);

} // namespace hostsvc
