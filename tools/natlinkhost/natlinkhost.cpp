#include "tools/natlinkhost/natlinkhost.h"

#include "libs/KvorCore/loader/log_category.h"
#include "platform/host/services/log.h"
#include "tools/natlinkhost/checkin_command.h"
#include "tools/natlinkhost/command_line.h"
#include "tools/natlinkhost/convert_command.h"
#include "tools/natlinkhost/document_commands.h"

#include <exception>

namespace natlinkhost {
namespace {

// The host's log as the command line sets it, for one run: restored at its end.
class logSessionC {
public:
    logSessionC() : savedLevel_(hostsvc::defaultLogLevel()) {}
    ~logSessionC() {
        if (fileOpen_) {
            hostsvc::closeLogFile();
        }
        hostsvc::setDefaultLogLevel(savedLevel_);
    }
    logSessionC(const logSessionC&) = delete;
    logSessionC& operator=(const logSessionC&) = delete;

    bool open(const commandLineS& line, std::ostream& err) {
        if (line.logLevel) {
            hostsvc::setDefaultLogLevel(*line.logLevel);
        }
        if (!line.logFile.empty()) {
            std::string reason;
            if (!hostsvc::setLogFile(line.logFile, &reason)) {
                err << "natlinkhost: cannot open log file '" << line.logFile << "': " << reason
                    << '\n';
                return false;
            }
            fileOpen_ = true;
        }
        return true;
    }

private:
    int savedLevel_;
    bool fileOpen_ = false;
};

std::string joined(const std::vector<std::string>& args) {
    std::string text;
    for (const std::string& arg : args) {
        text += ' ';
        text += arg;
    }
    return text;
}

int runCommand(const commandLineS& line, std::ostream& out, std::ostream& err) {
    if (line.command == "convert") {
        return runConvertCommand(line, out, err);
    }
    if (line.command == "checkin") {
        return runCheckinCommand(line, out, err);
    }
    if (line.command == "inspect") {
        return runInspectCommand(line, out, err);
    }
    if (line.command == "export") {
        return runExportCommand(line, err);
    }
    err << "natlinkhost: the " << line.command << " command is not available yet\n";
    return 1;
}

} // namespace

int runNatlinkHost(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const parsedCommandLineS parsed = parseCommandLine(args);
    if (!parsed.commandLine) {
        err << "natlinkhost: " << parsed.error << "\nTry 'natlinkhost --help'.\n";
        return 2;
    }
    const commandLineS& line = *parsed.commandLine;
    if (line.help) {
        out << usageText();
        return 0;
    }

    logSessionC log;
    if (!log.open(line, err)) {
        return 2;
    }
    try {
        NATLINK_LOG(mzLogLevelInfo, mzComStringC("natlinkhost") + joined(args).c_str());
        const int code = runCommand(line, out, err);
        NATLINK_LOG(mzLogLevelInfo,
                    mzComStringC("natlinkhost exit code ") + mzComStringC::number(code));
        return code;
    } catch (const std::exception& e) {
        err << "natlinkhost: internal error: " << e.what() << '\n';
        NATLINK_LOG(mzLogLevelError, mzComStringC("Internal error: ") + e.what());
        return 1;
    }
}

} // namespace natlinkhost
