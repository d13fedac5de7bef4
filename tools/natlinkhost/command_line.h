// The command line of natlinkhost: options, command and its arguments.
// Parsing only; running a command is the business of natlinkhost.h.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace natlinkhost {

// What the user asked for. `command` is empty only when `help` is set.
struct commandLineS {
    bool help = false;
    std::string logFile;               // --log FILE; empty: no log file
    std::optional<int> logLevel;       // --log-level N
    std::string optionsFile;           // --options FILE; empty: no creation options
    std::string command;               // convert, checkin, inspect, export
    std::vector<std::string> operands; // the command's own arguments, in order
    std::string outDir;                // -o OUTDIR (convert)
};

// The result of parsing: either a command line or the reason it is not one.
struct parsedCommandLineS {
    std::optional<commandLineS> commandLine;
    std::string error; // set when commandLine is empty
};

// Parses the arguments after the program name. Options may stand before or after the
// command; "--" ends the options. Checks the number of operands of each command, so a
// command line that parses is complete.
parsedCommandLineS parseCommandLine(const std::vector<std::string>& args);

// The text of --help.
std::string usageText();

} // namespace natlinkhost
