// The user folder of the host: where per-user configuration files live.
// NATLINK_USER_DIR when set and not empty, else $HOME/.natlink; tests may override it.
#pragma once

#include <filesystem>

namespace hostsvc {

std::filesystem::path userFolder();
// An empty path removes the override.
void setUserFolderOverride(const std::filesystem::path& folder);

namespace detail {
void resetUserFolder();
}

} // namespace hostsvc
