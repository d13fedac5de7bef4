// A feature pattern is one feature however many instances it has: a plate with a linear
// pattern of 50 x 20 holes and a disc with a circular pattern of 360 holes, each converted
// from its meta text beside the same solid made in plain OpenCASCADE (the blank cut by all
// the cylinders in one Boolean), with the ratio of the two.
#include "bench/conversion_vs_kernel.h"

#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <TopTools_ListOfShape.hxx>
#include <benchmark/benchmark.h>
#include <gp_Ax2.hxx>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <limits>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr double thickness = 10.0;
constexpr double holeRadius = 2.0;

struct holeS {
    double x;
    double y;
};

// A blank (a rectangle, or a circle when `radius` > 0) with one hole cut through it at
// holes[0] and a FEATPATTERN repeating it at the other holes, on the blank's top face.
std::string patternText(double width, double height, double radius,
                        const std::vector<holeS>& holes) {
    std::ostringstream text;
    text.precision(17);
    text << "(PART (NAME \"PatternBench\") (ITEMS"
         << " (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))"
         << " (SKETCH (NAME \"S\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1) (SKETCHON (PLANE \"XY\"))";
    if (radius > 0)
        text << " (LOOP (CIRCLE (POINT 0 0) (RAD " << radius << "))))";
    else
        text << " (LOOP (LINE (POINT 0 0) (POINT " << width << " 0)) (LINE (POINT " << width
             << " 0) (POINT " << width << " " << height << ")) (LINE (POINT " << width << " "
             << height << ") (POINT 0 " << height << ")) (LINE (POINT 0 " << height
             << ") (POINT 0 0))))";
    text << " (BASE (NAME \"Blank\") (TYP \"EXTRUDE\") (USED \"S\") (PARAM " << thickness
         << " 0 0))"
         << " (SKETCH (NAME \"HS\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 " << thickness << " 1)"
         << " (SKETCHON (FACE (POINT3D " << holes[0].x << " " << holes[0].y << " " << thickness
         << ") (VEC3D 0 0 1))) (LOOP (CIRCLE (POINT " << holes[0].x << " " << holes[0].y
         << ") (RAD " << holeRadius << "))))"
         << " (CUT (NAME \"Hole\") (TYP \"EXTRUDE\") (USED \"HS\") (PARAM " << thickness << " 1 0))"
         << " (FEATPATTERN (NAME \"Holes\") (FPBASEFEAT (NAME \"Hole\") (POINT3D " << holes[0].x
         << " " << holes[0].y << " " << thickness << "))"
         << " (FPSKETCH (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 " << thickness << " 1)"
         << " (SKETCHON (PLANE \"XY\")) (FPSKETCHPOINTS";
    for (std::size_t i = 1; i < holes.size(); ++i)
        text << " (POINT " << holes[i].x << " " << holes[i].y << ")";
    text << ")))))";
    return text.str();
}

// The blank cut by all its cylinders in one Boolean; false when OpenCASCADE fails.
bool kernelBlank(double width, double height, double radius, const std::vector<holeS>& holes) {
    const TopoDS_Shape blank = radius > 0 ? BRepPrimAPI_MakeCylinder(radius, thickness).Shape()
                                          : BRepPrimAPI_MakeBox(width, height, thickness).Shape();
    TopTools_ListOfShape tools;
    for (const holeS& h : holes)
        tools.Append(
            BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(h.x, h.y, 0), gp::DZ()), holeRadius, thickness)
                .Shape());
    return cutInOneBoolean(blank, tools);
}

void compare(benchmark::State& state, double width, double height, double radius,
             const std::vector<holeS>& holes) {
    const benchFolderS folder("pattern_bench");
    compareWithKernel(state, patternText(width, height, radius, holes), folder.path.string(),
                      [&] { return kernelBlank(width, height, radius, holes); });
    state.counters["holes"] = static_cast<double>(holes.size());
}

// 50 x 20 holes 10 mm apart on a 500 x 200 plate.
void BM_LinearPattern50x20(benchmark::State& state) {
    std::vector<holeS> holes;
    for (int row = 0; row < 20; ++row)
        for (int column = 0; column < 50; ++column)
            holes.push_back({5.0 + 10.0 * column, 5.0 + 10.0 * row});
    compare(state, 500, 200, 0, holes);
}

// 360 holes one degree apart at radius 200 on a disc of radius 210.
void BM_CircularPattern360(benchmark::State& state) {
    std::vector<holeS> holes;
    for (int k = 0; k < 360; ++k) {
        const double a = k * std::numbers::pi / 180.0;
        holes.push_back({200.0 * std::cos(a), 200.0 * std::sin(a)});
    }
    compare(state, 0, 0, 210, holes);
}

BENCHMARK(BM_LinearPattern50x20)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CircularPattern360)->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
