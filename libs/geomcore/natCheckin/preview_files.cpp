#include "libs/geomcore/natCheckin/preview_files.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

std::filesystem::path temporaryFolder() {
    const char* tmp = std::getenv("TMP");
    if (tmp != nullptr && *tmp != '\0')
        return std::filesystem::path(tmp);
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : folder;
}

} // namespace

mzComStringC createTemporaryPreviewFile(const char* extension, mzComStringC& failure) {
    const std::string suffix = extension != nullptr ? extension : "";
    const std::string pattern = (temporaryFolder() / "previewXXXXXX").string() + suffix;
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemps(name.data(), static_cast<int>(suffix.size()));
    if (fd < 0) {
        const int error = errno;
        failure = mzComStringC("could not create a preview file ") +
                  mzComStringC(std::string_view(pattern)) + ": " +
                  mzComStringC(std::string_view(std::generic_category().message(error)));
        return mzComStringC();
    }
    ::close(fd);
    return mzComStringC(std::string_view(name.data()));
}

void removeIfEmpty(const mzComStringC& path) {
    if (path.isEmpty())
        return;
    std::error_code error;
    const std::filesystem::path file(path.toUtf8());
    if (std::filesystem::is_regular_file(file, error) &&
        std::filesystem::file_size(file, error) == 0 && !error)
        std::filesystem::remove(file, error);
}

void removePreviewFile(const mzComStringC& path) {
    if (path.isEmpty())
        return;
    std::error_code error;
    std::filesystem::remove(std::filesystem::path(path.toUtf8()), error);
}
