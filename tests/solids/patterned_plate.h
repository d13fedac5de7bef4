// Model text of a plate 10 thick with one cut through it repeated by a feature pattern whose
// instance points are listed in a pattern sketch frame turned about Z and moved: the input of
// the pattern tests that check where every copy lands.
#pragma once

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

struct platePointS {
    double x = 0.0;
    double y = 0.0;
};

struct patternedPlateS {
    std::string name = "Plate";
    double width = 100.0;
    double height = 60.0;
    // Model positions on the plate: the base feature's first, then the instances.
    std::vector<platePointS> at;
    // A round hole of this radius, or (radius 0) a slot slotLength along X, slotWidth along Y.
    double radius = 3.0;
    double slotLength = 0.0;
    double slotWidth = 0.0;
    // The pattern sketch frame: turned by `degrees` about Z, its origin at (originX, originY)
    // on the top face.
    double degrees = 0.0;
    double originX = 0.0;
    double originY = 0.0;
    // Decimals the instance points are written with, as catalogue data often is; exact when
    // negative.
    int decimals = -1;
};

inline std::string plateNumber(double v, int decimals = -1) {
    char text[40];
    if (decimals < 0)
        std::snprintf(text, sizeof text, "%.17g", v);
    else
        std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

// The area of the cut's profile.
inline double cutArea(const patternedPlateS& plate) {
    return plate.radius > 0.0 ? std::numbers::pi * plate.radius * plate.radius
                              : plate.slotLength * plate.slotWidth;
}

inline std::string patternedPlateText(const patternedPlateS& plate) {
    auto n = [](double v) { return plateNumber(v); };
    const platePointS base = plate.at.front();
    std::string loop;
    if (plate.radius > 0.0) {
        loop = "(CIRCLE (POINT " + n(base.x) + " " + n(base.y) + ") (RAD " + n(plate.radius) + "))";
    } else {
        const double x0 = base.x - plate.slotLength / 2, x1 = base.x + plate.slotLength / 2;
        const double y0 = base.y - plate.slotWidth / 2, y1 = base.y + plate.slotWidth / 2;
        auto line = [&](double ax, double ay, double bx, double by) {
            return "(LINE (POINT " + n(ax) + " " + n(ay) + ") (POINT " + n(bx) + " " + n(by) + "))";
        };
        loop = line(x0, y0, x1, y0) + line(x1, y0, x1, y1) + line(x1, y1, x0, y1) +
               line(x0, y1, x0, y0);
    }
    const double a = plate.degrees * std::numbers::pi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    std::string points;
    for (std::size_t i = 1; i < plate.at.size(); ++i) {
        const double dx = plate.at[i].x - plate.originX;
        const double dy = plate.at[i].y - plate.originY;
        points += " (POINT " + plateNumber(c * dx + s * dy, plate.decimals) + " " +
                  plateNumber(-s * dx + c * dy, plate.decimals) + ")";
    }
    const std::string w = n(plate.width), h = n(plate.height);
    const std::string b = n(base.x) + " " + n(base.y);
    return "(PART (NAME \"" + plate.name +
           "\") (ITEMS"
           " (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 1))"
           " (SKETCH (NAME \"PlateSketch\") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 1)"
           " (SKETCHON (PLANE \"XY\")) (LOOP (LINE (POINT 0 0) (POINT " +
           w + " 0)) (LINE (POINT " + w + " 0) (POINT " + w + " " + h + ")) (LINE (POINT " + w +
           " " + h + ") (POINT 0 " + h + ")) (LINE (POINT 0 " + h +
           ") (POINT 0 0))))"
           " (BASE (NAME \"Plate\") (TYP \"EXTRUDE\") (USED \"PlateSketch\") (PARAM 10 0 0))"
           " (SKETCH (NAME \"CutSketch\") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 10 1)"
           " (SKETCHON (FACE (POINT3D " +
           b + " 10) (VEC3D 0 0 1))) (LOOP " + loop +
           "))"
           " (CUT (NAME \"Cut\") (TYP \"EXTRUDE\") (USED \"CutSketch\") (PARAM 10 1 0))"
           " (FEATPATTERN (NAME \"Copies\") (FPBASEFEAT (NAME \"Cut\") (POINT3D " +
           b + " 10)) (FPSKETCH (MAT " + n(c) + " " + n(s) + " 0 0  " + n(-s) + " " + n(c) +
           " 0 0  0 0 1 0  " + n(plate.originX) + " " + n(plate.originY) +
           " 10 1) (SKETCHON (PLANE \"XY\")) (FPSKETCHPOINTS" + points + ")))))";
}
