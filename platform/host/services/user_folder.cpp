#include "platform/host/services/user_folder.h"

#include <cstdlib>
#include <mutex>

namespace hostsvc {
namespace {

std::mutex overrideMutex;
std::filesystem::path overrideFolder;

} // namespace

std::filesystem::path userFolder() {
    {
        std::lock_guard lock(overrideMutex);
        if (!overrideFolder.empty())
            return overrideFolder;
    }
    if (const char* dir = std::getenv("NATLINK_USER_DIR"); dir && *dir)
        return dir;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".natlink";
    // No home at all (a bare service account): keep the files beside the working folder
    // rather than failing every configuration read.
    return std::filesystem::path(".natlink");
}

void setUserFolderOverride(const std::filesystem::path& folder) {
    std::lock_guard lock(overrideMutex);
    overrideFolder = folder;
}

namespace detail {
void resetUserFolder() {
    setUserFolderOverride({});
}
} // namespace detail

} // namespace hostsvc
