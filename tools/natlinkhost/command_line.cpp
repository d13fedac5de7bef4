#include "tools/natlinkhost/command_line.h"

#include <charconv>
#include <string_view>

namespace natlinkhost {
namespace {

struct commandEntryS {
    std::string_view name;
    std::size_t operands;
    bool wantsOutDir;
    std::string_view synopsis;
};

constexpr commandEntryS commandEntries[] = {
    {"convert", 1, true, "convert MODEL.meta -o OUTDIR"},
    {"checkin", 1, false, "checkin DOC"},
    {"inspect", 1, false, "inspect DOC"},
    {"export", 2, false, "export DOC OUT.step|OUT.stl"},
};

const commandEntryS* findCommand(std::string_view name) {
    for (const commandEntryS& entry : commandEntries) {
        if (entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

parsedCommandLineS refuse(std::string reason) {
    parsedCommandLineS result;
    result.error = std::move(reason);
    return result;
}

std::optional<int> parseLevel(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < 0) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string usageText() {
    return "usage: natlinkhost [--log FILE] [--log-level N] [--options FILE] <command> ...\n"
           "\n"
           "commands:\n"
           "  convert MODEL.meta -o OUTDIR   build the part or assembly of a meta model and\n"
           "                                 save it in OUTDIR\n"
           "  checkin DOC                    read a saved document back and print its check-in\n"
           "                                 record as meta text\n"
           "  inspect DOC                    print what a document holds\n"
           "  export DOC OUT.step|OUT.stl    write a copy that other CAD programs open\n"
           "\n"
           "options:\n"
           "  --log FILE       write log records to FILE\n"
           "  --log-level N    write records of level N and above (5000 trace, 10000 debug,\n"
           "                   20000 info (default), 30000 warning, 40000 error)\n"
           "  --options FILE   creation options: a meta file holding a CREAOPTS node\n"
           "  --help           show this text\n"
           "\n"
           "exit codes: 0 success, 1 failure, 2 bad command line or bad input\n";
}

parsedCommandLineS parseCommandLine(const std::vector<std::string>& args) {
    commandLineS line;
    bool optionsEnded = false;
    bool outDirSeen = false;
    std::vector<std::string> positional;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (!isOption) {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            line.help = true;
            continue;
        }
        const bool takesValue =
            arg == "--log" || arg == "--log-level" || arg == "--options" || arg == "-o";
        if (!takesValue) {
            return refuse("unknown option '" + arg + "'");
        }
        if (i + 1 >= args.size()) {
            return refuse("option '" + arg + "' needs a value");
        }
        const std::string& value = args[++i];
        if (arg == "--log") {
            line.logFile = value;
        } else if (arg == "--log-level") {
            line.logLevel = parseLevel(value);
            if (!line.logLevel) {
                return refuse("option '--log-level' needs a non-negative integer, not '" + value +
                              "'");
            }
        } else if (arg == "--options") {
            line.optionsFile = value;
        } else {
            line.outDir = value;
            outDirSeen = true;
        }
        if (value.empty()) {
            return refuse("option '" + arg + "' needs a non-empty value");
        }
    }

    if (line.help) {
        return parsedCommandLineS{std::move(line), {}};
    }
    if (positional.empty()) {
        return refuse("no command given");
    }
    line.command = positional.front();
    const commandEntryS* entry = findCommand(line.command);
    if (entry == nullptr) {
        return refuse("unknown command '" + line.command + "'");
    }
    line.operands.assign(positional.begin() + 1, positional.end());
    if (line.operands.size() != entry->operands) {
        return refuse("wrong number of arguments; usage: natlinkhost " +
                      std::string(entry->synopsis));
    }
    if (entry->wantsOutDir && !outDirSeen) {
        return refuse("missing '-o OUTDIR'; usage: natlinkhost " + std::string(entry->synopsis));
    }
    if (!entry->wantsOutDir && outDirSeen) {
        return refuse("option '-o' belongs to the convert command");
    }
    return parsedCommandLineS{std::move(line), {}};
}

} // namespace natlinkhost
