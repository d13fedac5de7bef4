// Time to build a plate with n plain drillings through the document builder, and the time
// per drilling as n grows.
#include "metamodel/core/metaobject.h"
#include "metamodel/core/registry.h"
#include "metamodel/m3d/register.h"
#include "natlinksolidworks/create_document.h"
#include "platform/host/services/host_services.h"
#include "platform/sldworks/session/session.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

constexpr double pitch = 10.0;

// A plate with n drillings of diameter 4 and depth 5 on a grid of 10 mm, 40 holes a row.
std::string plateText(int n) {
    const int columns = n < 40 ? n : 40;
    const int rows = (n + columns - 1) / columns;
    const double width = columns * pitch;
    const double height = rows * pitch;
    std::ostringstream text;
    text << "(PART (NAME \"Plate" << n << "\") (ITEMS"
         << " (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))"
         << " (SKETCH (NAME \"S\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1) (SKETCHON (PLANE \"XY\"))"
         << " (LOOP (LINE (POINT 0 0) (POINT " << width << " 0)) (LINE (POINT " << width
         << " 0) (POINT " << width << " " << height << ")) (LINE (POINT " << width << " " << height
         << ") (POINT 0 " << height << ")) (LINE (POINT 0 " << height << ") (POINT 0 0))))"
         << " (BASE (NAME \"Plate\") (TYP \"EXTRUDE\") (USED \"S\") (PARAM 10 0 0))";
    for (int i = 0; i < n; ++i) {
        const double x = (i % columns + 0.5) * pitch;
        const double y = (i / columns + 0.5) * pitch;
        text << " (DRILLING (NAME \"D" << i << "\") (STARTPOINT " << x << " " << y
             << " 10) (DIRECTION 0 0 -1) (DIAMETER 4) (DEPTH 5))";
    }
    text << "))";
    return text.str();
}

void BM_PlateWithDrillings(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("drilling_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    hostsvc::resetHostServices();
    registerMetaCoreClasses();
    registerM3dClasses();
    const std::string text = plateText(n);
    for (auto _ : state) {
        state.PauseTiming();
        metaObjectC model;
        model.ctorFromText(mzComStringC(text.c_str()));
        swCreation3dS creation;
        creation.app = createSimulatedSldWorks();
        creation.outputLocation = folder.string();
        state.ResumeTiming();
        const int result = createSWDocument(creation, model.getTreePtr());
        if (result != 0 || !creation.failedItems.empty())
            state.SkipWithError("the plate was not built");
    }
    state.counters["per_drilling"] =
        benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    hostsvc::resetHostServices();
}

BENCHMARK(BM_PlateWithDrillings)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlateWithDrillings)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
