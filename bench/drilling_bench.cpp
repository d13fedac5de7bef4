// Time to build a plate with n plain drillings through the document builder, and the time
// per drilling as n grows; and the same plate converted from its meta text beside the same
// solid made in plain OpenCASCADE (a box cut by all the cylinders in one Boolean).
#include "bench/conversion_vs_kernel.h"

#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <TopTools_ListOfShape.hxx>
#include <benchmark/benchmark.h>
#include <gp_Ax2.hxx>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <limits>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

constexpr double pitch = 10.0;

int columnsFor(int n) {
    return n < 40 ? n : 40;
}

// A plate with n drillings of diameter 4 and depth 5 on a grid of 10 mm, 40 holes a row.
std::string plateText(int n) {
    const int columns = columnsFor(n);
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

// Holes of plateText: diameter 4, depth 5, from the top face at z = 10.
constexpr double holeRadius = 2.0;
constexpr double holeDepth = 5.0;
constexpr double plateThickness = 10.0;

// The plate cut by its n cylinders in one Boolean; false when OpenCASCADE fails. Not inlined,
// so that a profiler (callgrind) shows each side whole.
[[gnu::noinline]] bool kernelPlate(int n) {
    const int columns = columnsFor(n);
    const int rows = (n + columns - 1) / columns;
    const TopoDS_Shape plate =
        BRepPrimAPI_MakeBox(columns * pitch, rows * pitch, plateThickness).Shape();
    TopTools_ListOfShape tools;
    for (int i = 0; i < n; ++i) {
        const double x = (i % columns + 0.5) * pitch;
        const double y = (i / columns + 0.5) * pitch;
        const gp_Ax2 axis(gp_Pnt(x, y, plateThickness - holeDepth), gp::DZ());
        tools.Append(BRepPrimAPI_MakeCylinder(axis, holeRadius, holeDepth).Shape());
    }
    return cutInOneBoolean(plate, tools);
}

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
