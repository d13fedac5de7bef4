// natlinkhost: the command-line host. It sets up the host services, loads meta trees from
// files, calls the plug-in and shows what the host would show. Runs in-process for tests.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace natlinkhost {

// Runs one command line (the arguments after the program name). Regular output goes to
// `out`, errors, warnings and result texts to `err`. Exit codes: 0 success, 1 failure,
// 2 bad command line or bad input. Host messages are printed by the host services
// (hostsvc::setMessagesToStderr), which the program's main turns on.
int runNatlinkHost(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace natlinkhost
