// The drilled plate of drilling_bench as two whole processes can be compared: `plain_plate N`
// makes the solid in plain OpenCASCADE (a box cut by its N cylinders in one Boolean, linking
// only the modelling toolkits) and exits 0 when the kernel made it; `plain_plate --meta N`
// prints the plate's meta text for `natlinkhost convert`.
#include "bench/plate.h"

#include <charconv>
#include <cstring>
#include <iostream>
#include <string_view>

int main(int argc, char** argv) {
    const bool meta = argc == 3 && std::strcmp(argv[1], "--meta") == 0;
    const std::string_view count = argc == 2 ? argv[1] : meta ? argv[2] : "";
    int n = 0;
    const auto [end, ec] = std::from_chars(count.data(), count.data() + count.size(), n);
    if (count.empty() || ec != std::errc() || end != count.data() + count.size() || n < 1 ||
        n > 100000) {
        std::cerr << "usage: plain_plate [--meta] N   (N drillings, 1 to 100000)\n";
        return 2;
    }
    if (meta) {
        std::cout << plate::plateText(n) << '\n';
        return 0;
    }
    if (!plate::kernelPlate(n)) {
        std::cerr << "plain_plate: OpenCASCADE did not cut the plate\n";
        return 1;
    }
    return 0;
}
