// A feature pattern is one feature however many instances it has, and a pattern rolled back
// into copies costs what its copies' cuts cost: plates and discs whose one hole a
// FEATPATTERN repeats, each read from its meta text, built and saved beside the same blank cut
// by all the cylinders in plain OpenCASCADE, with the ratio of the two.
//   BM_LinearPattern50x20, BM_LinearPattern30x30   grids of holes (a linear pattern)
//   BM_CircularPattern360, BM_CircularPattern720   rings one and half a degree apart
//   BM_RollbackOf400Copies                          400 holes neither on a grid nor on a circle,
//                                                   on a pattern sketch on a plane: the pattern
//                                                   fails and is rolled back into 400 copies
//   BM_SketchDriven2000                             2000 such holes on a pattern sketch on the
//                                                   top face: a sketch-driven pattern
//   BM_OverlappingHoles50                           50 holes of radius 4 only 0.01 apart; the
//                                                   kernel side cuts them one by one (in one
//                                                   Boolean they run for minutes)
// `Once/NAME` runs one conversion and one kernel cut of a model, for
// `valgrind --tool=callgrind --toggle-collect=convertModelText` (or `=kernelCut`), which
// bench/pattern_ratios.sh uses for instruction counts.
#include "bench/conversion_vs_kernel.h"

#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <TopTools_ListOfShape.hxx>
#include <benchmark/benchmark.h>
#include <gp_Ax2.hxx>

#include <cmath>
#include <functional>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double thickness = 10.0;

struct holeS {
    double x;
    double y;
};

// A blank (a rectangle, or a circle when `radius` > 0) with one hole of `holeRadius` cut
// through it at holes[0] and a FEATPATTERN repeating it at the other holes, on the blank's
// top face, its pattern sketch on the plane XY.
struct patternModelS {
    double width = 0.0;
    double height = 0.0;
    double radius = 0.0;
    double holeRadius = 2.0;
    std::vector<holeS> holes;
    bool oneByOne = false;     // the kernel cuts the holes one Boolean after another
    bool sketchOnFace = false; // the pattern sketch on the top face (sketch-driven when scattered)

    std::string text() const {
        std::ostringstream text;
        text.precision(17);
        text << "(PART (NAME \"PatternBench\") (ITEMS"
             << " (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))"
             << " (SKETCH (NAME \"S\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1) (SKETCHON (PLANE "
                "\"XY\"))";
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
             << " (CUT (NAME \"Hole\") (TYP \"EXTRUDE\") (USED \"HS\") (PARAM " << thickness
             << " 1 0))"
             << " (FEATPATTERN (NAME \"Holes\") (FPBASEFEAT (NAME \"Hole\") (POINT3D " << holes[0].x
             << " " << holes[0].y << " " << thickness << "))"
             << " (FPSKETCH (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 " << thickness << " 1)"
             << " (SKETCHON "
             << (sketchOnFace ? "(FACE (POINT3D 1 1 10) (VEC3D 0 0 1))" : "(PLANE \"XY\")")
             << ") (FPSKETCHPOINTS";
        for (std::size_t i = 1; i < holes.size(); ++i)
            text << " (POINT " << holes[i].x << " " << holes[i].y << ")";
        text << ")))))";
        return text.str();
    }
};

// The blank cut by all its cylinders in one Boolean (or one after another); false when
// OpenCASCADE fails. Not inlined, so that callgrind can count it alone.
[[gnu::noinline]] bool kernelCut(const patternModelS& model) {
    TopoDS_Shape blank = model.radius > 0
                             ? BRepPrimAPI_MakeCylinder(model.radius, thickness).Shape()
                             : BRepPrimAPI_MakeBox(model.width, model.height, thickness).Shape();
    TopTools_ListOfShape tools;
    for (const holeS& h : model.holes) {
        const TopoDS_Shape cylinder =
            BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(h.x, h.y, 0), gp::DZ()), model.holeRadius,
                                     thickness)
                .Shape();
        if (!model.oneByOne) {
            tools.Append(cylinder);
            continue;
        }
        TopTools_ListOfShape one;
        one.Append(cylinder);
        if (!cutInOneBoolean(blank, one, &blank))
            return false;
    }
    return model.oneByOne || cutInOneBoolean(blank, tools);
}

patternModelS grid(int columns, int rows) {
    patternModelS model;
    model.width = 10.0 * columns;
    model.height = 10.0 * rows;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            model.holes.push_back({5.0 + 10.0 * column, 5.0 + 10.0 * row});
    return model;
}

patternModelS ring(int count, double holeRadius) {
    patternModelS model;
    model.radius = 210.0;
    model.holeRadius = holeRadius;
    for (int k = 0; k < count; ++k) {
        const double a = 2.0 * std::numbers::pi * k / count;
        model.holes.push_back({200.0 * std::cos(a), 200.0 * std::sin(a)});
    }
    return model;
}

// A grid 10 mm apart, `columns` wide, with every hole moved by up to 1.5 mm, by no rule a
// grid or a circle could take up.
patternModelS scattered(int count, int columns) {
    patternModelS model;
    model.width = 10.0 * columns;
    model.height = 10.0 * ((count + columns - 1) / columns);
    for (int i = 0; i < count; ++i)
        model.holes.push_back({5.0 + 10.0 * (i % columns) + 1.5 * std::sin(7.0 * i),
                               5.0 + 10.0 * (i / columns) + 1.5 * std::cos(11.0 * i)});
    return model;
}

patternModelS sketchDriven() {
    patternModelS model = scattered(2000, 50);
    model.sketchOnFace = true;
    return model;
}

patternModelS overlapping() {
    patternModelS model;
    model.width = 100.0;
    model.height = 40.0;
    model.holeRadius = 4.0;
    for (int k = 0; k < 50; ++k)
        model.holes.push_back({20.0 + 0.01 * k, 20.0});
    model.oneByOne = true;
    return model;
}

void compare(benchmark::State& state, const patternModelS& model) {
    const benchFolderS folder("pattern_bench");
    compareWithKernel(state, model.text(), folder.path.string(), [&] { return kernelCut(model); });
    state.counters["holes"] = static_cast<double>(model.holes.size());
}

struct namedModelS {
    const char* name;
    std::function<patternModelS()> make;
};

const std::vector<namedModelS>& models() {
    static const std::vector<namedModelS> all = {
        {"LinearPattern50x20", [] { return grid(50, 20); }},
        {"LinearPattern30x30", [] { return grid(30, 30); }},
        {"CircularPattern360", [] { return ring(360, 2.0); }},
        {"CircularPattern720", [] { return ring(720, 0.5); }},
        {"RollbackOf400Copies", [] { return scattered(400, 20); }},
        {"SketchDriven2000", sketchDriven},
        {"OverlappingHoles50", overlapping},
    };
    return all;
}

// One conversion and one kernel cut, nothing timed: for callgrind.
void once(benchmark::State& state, const patternModelS& model) {
    const benchFolderS folder("pattern_bench");
    for (auto _ : state) {
        if (!convertModelText(model.text(), folder.path.string()))
            state.SkipWithError("the model was not built");
        if (!kernelCut(model))
            state.SkipWithError("OpenCASCADE did not cut the blank");
    }
}

const bool registered = [] {
    for (const namedModelS& m : models()) {
        benchmark::RegisterBenchmark((std::string("BM_") + m.name).c_str(),
                                     [&m](benchmark::State& state) { compare(state, m.make()); })
            ->Iterations(2)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("Once/") + m.name).c_str(),
                                     [&m](benchmark::State& state) { once(state, m.make()); })
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace

BENCHMARK_MAIN();
