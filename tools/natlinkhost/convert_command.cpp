#include "tools/natlinkhost/convert_command.h"

#include "natlinksolidworks/ps_plugin.h"

#include "libs/KvorCore/loader/trace_frame.h"
#include "tools/natlinkhost/conversion_options.h"
#include "tools/natlinkhost/model_files.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace natlinkhost {
namespace {

namespace fs = std::filesystem;

// The parts and assemblies in a folder, with the time each was last written; nothing for a
// folder that is not there yet.
std::map<std::string, fs::file_time_type> documentsIn(const std::string& folder) {
    std::map<std::string, fs::file_time_type> documents;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string extension = entry->path().extension().string();
        if ((extension == ".sldprt" || extension == ".sldasm") && entry->is_regular_file(error))
            documents.emplace(entry->path().filename().string(), entry->last_write_time(error));
    }
    return documents;
}

// One line a document the conversion wrote (new, or written again), as OUTDIR/FILE the way
// the command line named the folder: the names come from the model's NAMEs, not from the
// model file's name. Parts come before the assemblies that are written after them.
void reportWrittenDocuments(const std::string& outDir,
                            const std::map<std::string, fs::file_time_type>& before,
                            std::ostream& out) {
    std::vector<std::pair<bool, std::string>> written;
    for (const auto& [name, time] : documentsIn(outDir)) {
        const auto old = before.find(name);
        if (old == before.end() || old->second != time)
            written.emplace_back(fs::path(name).extension() == ".sldasm", name);
    }
    std::sort(written.begin(), written.end());
    for (const auto& document : written)
        out << "wrote " << (fs::path(outDir) / document.second).string() << '\n';
    out.flush();
}

} // namespace

int callConversionEntry(metaTreePtrT options, std::ostream& /*err*/) {
    // The host hands the tree to the plug-in; it starts its SolidWorks on its first call.
    PSWPlugin plugin;
    return plugin.convertMetaTree(options);
}

int runConvertCommand(const commandLineS& line, std::ostream& out, std::ostream& err) {
    NATLINK_TRACE_FRAME("natlinkhost convert");
    const std::string& modelPath = line.operands.at(0);

    loadedTreeS model = loadModelFile(modelPath);
    if (!model.tree) {
        err << model.error << '\n';
        return 2;
    }
    loadedTreeS creationOptions;
    if (!line.optionsFile.empty()) {
        creationOptions = loadCreationOptionsFile(line.optionsFile);
        if (!creationOptions.tree) {
            err << creationOptions.error << '\n';
            return 2;
        }
    }

    ownedTreeC options;
    try {
        options = buildConversionOptions(modelPath, line.outDir, std::move(model.tree),
                                         std::move(creationOptions.tree));
    } catch (const std::invalid_argument& e) {
        err << "natlinkhost: " << e.what() << '\n';
        return 2;
    }

    const std::map<std::string, fs::file_time_type> before = documentsIn(line.outDir);
    const int result = callConversionEntry(options.get(), err);
    reportWrittenDocuments(line.outDir, before, out);
    if (const std::optional<std::string> text = conversionResultText(options.get());
        text && !text->empty()) {
        err << "natlinkhost: " << *text << '\n';
    }
    return result == 0 ? 0 : 1;
}

} // namespace natlinkhost
