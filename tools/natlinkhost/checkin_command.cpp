#include "tools/natlinkhost/checkin_command.h"

#include "libs/KvorCore/loader/trace_frame.h"
#include "platform/host/metatree/metatree_api.h"
#include "tools/natlinkhost/conversion_options.h"
#include "tools/natlinkhost/convert_command.h"
#include "tools/natlinkhost/document_commands.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include <unistd.h>

namespace natlinkhost {
namespace {

// Where the previews of one check-in go. A TMP the user set names a folder that keeps them,
// as the record names them. Without it they would pile up in the system's temporary folder,
// where other programs write: they go into a folder made for this check-in instead, removed
// once the record is printed (the printing is this host's post-processing, their one reader).
class previewFolderC {
public:
    previewFolderC() {
        const char* tmp = std::getenv("TMP");
        if (tmp != nullptr && *tmp != '\0')
            return;
        std::error_code error;
        std::filesystem::path base = std::filesystem::temp_directory_path(error);
        if (error)
            base = "/tmp";
        std::string folder = (base / "natlinkhost-checkin-XXXXXX").string();
        // A temporary folder that takes no folder takes no preview either: the check-in then
        // says so itself.
        if (::mkdtemp(folder.data()) == nullptr)
            return;
        folder_ = folder;
        ::setenv("TMP", folder_.c_str(), 1);
    }
    ~previewFolderC() {
        if (folder_.empty())
            return;
        ::unsetenv("TMP");
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    previewFolderC(const previewFolderC&) = delete;
    previewFolderC& operator=(const previewFolderC&) = delete;

private:
    std::string folder_;
};

// The check-in's input format from the file's extension (any case); empty for any other.
std::string inputFormatOf(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".sldprt")
        return checkinPartFormat;
    if (extension == ".sldasm")
        return checkinAssemblyFormat;
    return std::string();
}

} // namespace

int runCheckinCommand(const commandLineS& line, std::ostream& out, std::ostream& err) {
    NATLINK_TRACE_FRAME("natlinkhost checkin");
    const std::string& path = line.operands.at(0);
    const std::string format = inputFormatOf(path);
    if (format.empty()) {
        err << "natlinkhost: " << path
            << ": only a part (.sldprt) or an assembly (.sldasm) can be checked in\n";
        return 2;
    }
    if (const std::string why = whyNoDocument(path); !why.empty()) {
        err << "natlinkhost: " << path << ": " << why << '\n';
        return 1;
    }

    ownedTreeC options;
    try {
        options = buildCheckinOptions(path, format);
    } catch (const std::invalid_argument& e) {
        err << "natlinkhost: " << e.what() << '\n';
        return 2;
    }

    // The record is printed from the answer alone; natlinkhost installs no printer of the
    // host's check-in post-processing, so it is shown once.
    const previewFolderC previews;
    const int result = callConversionEntry(options.get(), err);
    const metaTreePtrT record = conversionOutputData(options.get());
    const std::optional<std::string> reason = conversionResultText(options.get());
    // An incomplete record (a member left out) is printed too, with what it lacks and exit 1.
    if (!record.isNull()) {
        std::string text = getIMetaTreeApi()->print(record, metaPrintStyle::pretty);
        if (text.empty() || text.back() != '\n')
            text += '\n';
        out << text;
    }
    if (result == 0 && !record.isNull())
        return 0;
    err << "natlinkhost: "
        << (reason && !reason->empty() ? *reason : path + ": the check-in gave no record") << '\n';
    return 1;
}

} // namespace natlinkhost
