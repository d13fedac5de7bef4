// A sketch whose one loop has many line segments (a polygon of n sides, radius 50) extruded
// into a plate, read from its meta text, built and saved: `BM_SketchLoop/n/mode` with the
// document's "SketchMode" (0 draws only, 1 constrains the sketch in one call, 2 fixes its
// points one by one while it can take more); the counter `per_segment_us` stays flat when the
// cost grows linearly with the segments.
#include "bench/conversion_vs_kernel.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <numbers>
#include <sstream>
#include <string>

namespace {

std::string loopText(int sides, int mode) {
    std::ostringstream text;
    text.precision(17);
    text << "(PART (NAME \"SketchLoop\")"
         << " (CREAOPTS (CREAOPTSETS (CREAOPTSET (NAME \"SketchMode\") (TYP \"INT\") (VAL \""
         << mode << "\"))))"
         << " (ITEMS (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))"
         << " (SKETCH (NAME \"S\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1) (SKETCHON (PLANE "
            "\"XY\")) (LOOP";
    auto corner = [&](int k) {
        const double a = 2.0 * std::numbers::pi * (k % sides) / sides;
        text << " (POINT " << 50.0 * std::cos(a) << " " << 50.0 * std::sin(a) << ")";
    };
    for (int k = 0; k < sides; ++k) {
        text << " (LINE";
        corner(k);
        corner(k + 1);
        text << ")";
    }
    text << ")) (BASE (NAME \"Plate\") (TYP \"EXTRUDE\") (USED \"S\") (PARAM 10 0 0))))";
    return text.str();
}

void BM_SketchLoop(benchmark::State& state) {
    const int sides = static_cast<int>(state.range(0));
    const std::string text = loopText(sides, static_cast<int>(state.range(1)));
    const benchFolderS folder("sketch_bench");
    double best = std::numeric_limits<double>::infinity();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!convertModelText(text, folder.path.string()))
            state.SkipWithError("the model was not built");
        best = std::min(best, secondsSince(start));
    }
    state.counters["convert_ms"] = best * 1e3;
    state.counters["per_segment_us"] = best * 1e6 / sides;
}

BENCHMARK(BM_SketchLoop)
    ->ArgsProduct({{1000, 2000, 5000, 10000}, {0, 1, 2}})
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
