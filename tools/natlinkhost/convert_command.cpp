#include "tools/natlinkhost/convert_command.h"

#include "natlinksolidworks/ps_plugin.h"

#include "libs/KvorCore/loader/trace_frame.h"
#include "tools/natlinkhost/conversion_options.h"
#include "tools/natlinkhost/model_files.h"

#include <stdexcept>

namespace natlinkhost {

int callConversionEntry(metaTreePtrT options, std::ostream& /*err*/) {
    // The host hands the tree to the plug-in; it starts its SolidWorks on its first call.
    PSWPlugin plugin;
    return plugin.convertMetaTree(options);
}

int runConvertCommand(const commandLineS& line, std::ostream& err) {
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

    const int result = callConversionEntry(options.get(), err);
    if (const std::optional<std::string> text = conversionResultText(options.get());
        text && !text->empty()) {
        err << "natlinkhost: " << *text << '\n';
    }
    return result == 0 ? 0 : 1;
}

} // namespace natlinkhost
