#include "libs/KvorCadComm/host_files.h"

#include "platform/host/services/resolver.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path toPath(const mzComStringC& text) {
    const std::string utf8 = text.toUtf8();
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

bool isFile(const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    return !ec && fs::exists(status) && !fs::is_directory(status);
}

} // namespace

mzComStringC resolveEnvironment(const mzComStringC& text) {
    return mzComStringC(std::string_view(hostsvc::resolveReferences(text.toUtf8())));
}

bool deleteFile(const mzComStringC& path) {
    const fs::path file = toPath(resolveEnvironment(path));
    if (file.empty() || !isFile(file)) {
        return false;
    }
    std::error_code ec;
    return fs::remove(file, ec) && !ec;
}

bool fileExists(const mzComStringC& path) {
    return !path.isEmpty() && isFile(toPath(path));
}
