// Time to build a plate with n plain drillings through the document builder, and the time
// per drilling as n grows; and the same plate converted from its meta text beside the same
// solid made in plain OpenCASCADE (a box cut by all the cylinders in one Boolean).
#include "bench/conversion_vs_kernel.h"
#include "bench/plate.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <limits>
#include <string>

#include <unistd.h>

namespace {

using plate::kernelPlate;
using plate::plateText;

void BM_ConversionVsKernel(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const benchFolderS folder("drilling_bench");
    compareWithKernel(state, plateText(n), folder.path.string(), [n] { return kernelPlate(n); });
}

void BM_PlateWithDrillings(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const benchFolderS folder("drilling_bench");
    const std::string text = plateText(n);
    for (auto _ : state) {
        state.PauseTiming();
        metaObjectC model;
        model.ctorFromText(mzComStringC(text.c_str()));
        swCreation3dS creation;
        creation.app = createSimulatedSldWorks();
        creation.outputLocation = folder.path.string();
        state.ResumeTiming();
        const int result = createSWDocument(creation, model.getTreePtr());
        if (result != 0 || !creation.failedItems.empty())
            state.SkipWithError("the plate was not built");
    }
    state.counters["per_drilling"] =
        benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}

BENCHMARK(BM_PlateWithDrillings)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlateWithDrillings)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConversionVsKernel)->Arg(100)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConversionVsKernel)->Arg(1000)->Iterations(2)->Unit(benchmark::kMillisecond);
// One round each, for instruction counts under callgrind, where the machine's load does not
// count: valgrind --tool=callgrind build/default/bench/drilling_bench
//   --benchmark_filter=Once/100 (or 1000) and compare convertModelText with kernelPlate
//   (inclusive).
BENCHMARK(BM_ConversionVsKernel)->Name("Once")->Arg(100)->Arg(1000)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
