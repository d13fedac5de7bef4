// natlinksamples OUTDIR: writes the documents that `make demo` checks in (see
// check_in_samples.h) and prints their paths.
#include "tools/natlinkhost/check_in_samples.h"

#include <exception>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]).empty() || argv[1][0] == '-') {
        std::cerr << "usage: natlinksamples OUTDIR\n";
        return 2;
    }
    try {
        std::cout << natlinkhost::writeSamplePart(argv[1]) << '\n';
        std::cout << natlinkhost::writeSampleAssembly(argv[1]) << '\n';
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "natlinksamples: " << argv[1] << ": " << e.what() << '\n';
        return 1;
    }
}
