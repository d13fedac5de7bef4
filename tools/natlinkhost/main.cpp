// natlinkhost: the command-line host of the plug-in. See natlinkhost --help.
#include "platform/host/services/messages.h"
#include "tools/natlinkhost/natlinkhost.h"

#include <iostream>

int main(int argc, char** argv) {
    // What the host shows the user (messages, creation warnings) goes to stderr.
    hostsvc::setMessagesToStderr(true);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return natlinkhost::runNatlinkHost(args, std::cout, std::cerr);
}
