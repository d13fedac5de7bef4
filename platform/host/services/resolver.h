// The host's resolver: replaces "$name" and "%name%" references in a text.
//
// Names: "temp" (TMPDIR, else /tmp), "home" (HOME), "volmera_user" (the user folder); these
// compare ignoring ASCII case. Any other name is looked up as an environment variable (exact
// case). A name is letters, digits and '_'. References to unknown names stay as they are.
// Folder values lose trailing slashes, so "$temp/x" never gives "//".
#pragma once

#include <string>
#include <string_view>

namespace hostsvc {

std::string resolveReferences(std::string_view text);

} // namespace hostsvc
