#include "libs/geomcore/buildsw3d/foreign_payload.h"

#include "libs/KvorCadComm/host_files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <stdlib.h>

namespace {

constexpr int kLongestExtension = 8;

bool isLetterOrDigit(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

} // namespace

foreignPayloadFolderC::foreignPayloadFolderC(mzComStringC& failure) {
    const std::string pattern =
        (std::filesystem::path(resolveEnvironment("$temp/").toUtf8()) / "natlink-foreign-XXXXXX")
            .string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) {
        failure = mzComStringC("cannot make a private folder ") +
                  mzComStringC(std::string_view(pattern)) + ": " + std::strerror(errno);
        return;
    }
    folder_ = mzComStringC(std::string_view(name.data()));
}

foreignPayloadFolderC::~foreignPayloadFolderC() {
    if (folder_.isEmpty())
        return;
    // remove_all takes a link in the folder away, never what it points to.
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(folder_.toUtf8()), ignored);
}

mzComStringC foreignPayloadFolderC::dataFile(const mzComStringC& fileName) const {
    mzComStringC name("foreign");
    const int dot = fileName.lastIndexOf(".");
    if (dot >= 0) {
        const mzComStringC extension = fileName.mid(dot + 1);
        bool plain = !extension.isEmpty() && extension.length() <= kLongestExtension;
        for (const char16_t c : extension.utf16())
            plain = plain && isLetterOrDigit(c);
        if (plain)
            name += mzComStringC(".") + extension;
    }
    return mzComStringC(
        std::string_view((std::filesystem::path(folder_.toUtf8()) / name.toUtf8()).string()));
}
