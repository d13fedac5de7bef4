// The drilled plate of the benchmarks: its meta text, and the same solid made in plain
// OpenCASCADE (a box cut by all the cylinders in one Boolean).
#pragma once

#include "bench/kernel_cut.h"

#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <TopTools_ListOfShape.hxx>
#include <gp_Ax2.hxx>

#include <sstream>
#include <string>

namespace plate {

constexpr double pitch = 10.0;

inline int columnsFor(int n) {
    return n < 40 ? n : 40;
}

// A plate with n drillings of diameter 4 and depth 5 on a grid of 10 mm, 40 holes a row.
inline std::string plateText(int n) {
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
[[gnu::noinline]] inline bool kernelPlate(int n) {
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

} // namespace plate
