// The geometry the simulated SolidWorks checks, end to end through natlinkhost: points far
// beyond the model space lie on no face, loops of one sketch that cross or touch make no
// profile, what a model occupies is bounded rather than its construction points, and each
// refusal names what was wrong.
#include "platform/sldworks/model/occt_shape.h"
#include "platform/sldworks/model/part_document.h"
#include "tests/natlinkhost/natlinkhost_fixture.h"
#include "tests/solids/step_volume.h"

#include <BRepCheck_Analyzer.hxx>

#include <array>
#include <cmath>
#include <filesystem>
#include <sstream>

namespace {

constexpr double pi = 3.141592653589793;

const char* const xyPlane =
    "(PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 1))";
const char* const identity = "1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 1";

// A sketch of `loops` on the plane XY (or at `mat` with a plane of its own).
std::string sketch(const std::string& name, const std::string& loops,
                   const std::string& mat = identity, const std::string& on = "(PLANE \"XY\")") {
    return "(SKETCH (NAME \"" + name + "\") (MAT " + mat + ") (SKETCHON " + on + ") " + loops + ")";
}

std::string rectangle(double x0, double y0, double x1, double y1) {
    auto p = [](double x, double y) {
        return "(POINT " + std::to_string(x) + " " + std::to_string(y) + ")";
    };
    return "(LOOP (LINE " + p(x0, y0) + " " + p(x1, y0) + ") (LINE " + p(x1, y0) + " " + p(x1, y1) +
           ") (LINE " + p(x1, y1) + " " + p(x0, y1) + ") (LINE " + p(x0, y1) + " " + p(x0, y0) +
           "))";
}

std::string pad(const std::string& name, const std::string& sketchName, double depth) {
    return "(BASE (NAME \"" + name + "\") (TYP \"EXTRUDE\") (USED \"" + sketchName + "\") (PARAM " +
           std::to_string(depth) + " 0 0))";
}

// A cube of 20 from the origin, sketched on XY.
const std::string cube =
    std::string(xyPlane) + sketch("S", rectangle(0, 0, 20, 20)) + pad("Cube", "S", 20);

class GeometryChecks : public natlinkHostTest {
protected:
    runS convert(const std::string& name, const std::string& items, const std::string& rest = "") {
        const std::string model = writeFile(
            name + ".meta", "(PART (NAME \"" + name + "\") (ITEMS " + items + ")" + rest + ")");
        return run({"convert", model, "-o", path("out")});
    }
    // The saved part, reopened: it replays its features as a document saved earlier does.
    swsim::PartDocumentPtr reopened(const std::string& name) {
        return swsim::PartDocument::open(path("out/" + name + ".sldprt"));
    }
    double stepCopyVolume(const std::string& name) {
        const std::string step = path(name + ".step");
        EXPECT_EQ(run({"export", path("out/" + name + ".sldprt"), step}).code, 0);
        return stepVolume(step);
    }
    static void expectSaid(const runS& result, const std::string& text) {
        EXPECT_NE(result.err.find(text), std::string::npos) << result.err;
    }
};

TEST_F(GeometryChecks, PointsFarBeyondTheModelSpaceLieOnNoFace) {
    // Each lands on a face of the cube if the point itself is taken for the face's nearest.
    const std::string colour =
        "(ANNOTATIONSETS (ANNOTATIONSETFACE (ANNOTATIONFACE (POINT3D 1e200 7 20) (VEC3D 0 0 1)"
        " (FACD \"(RCCLASSINSTANCE (CLASSNAME \\\"FACECOLOR\\\") (RCPROPERTY (NAME "
        "\\\"CLASSID\\\") (VALUE \\\"sys_faceattributecolor\\\")) (RCPROPERTY (NAME "
        "\\\"COLOR\\\") (VALUE \\\"255,0,0\\\")))\"))))";
    const runS result = convert(
        "Far",
        cube +
            sketch("OnFar", "(LOOP (CIRCLE (POINT 5 5) (RAD 2)))",
                   "1 0 0 0  0 1 0 0  0 0 1 0  0 0 20 1",
                   "(FACE (POINT3D 1e200 7 20) (VEC3D 0 0 1))") +
            "(DRILLING (NAME \"D\") (STARTPOINT 20 1e300 10) (DIRECTION -1 0 0) (DIAMETER 4)"
            " (DEPTH 5))",
        colour);
    EXPECT_EQ(result.code, 1);
    expectSaid(result, "Error while creating drilling \"D\": no planar face of the part at its "
                       "start point (20, 1e+300, 10)");
    expectSaid(result, "No face at (1e+200, 7, 20) takes its colour");
    const swsim::PartDocumentPtr part = reopened("Far");
    ASSERT_TRUE(part);
    for (const swsim::BodyPtr& body : part->bodies())
        for (const swsim::FacePtr& face : body->faces())
            EXPECT_FALSE(face->colour()) << "a face took the far point's colour";
    // The sketch found no face there: it lies on a plane of its own through its placement.
    const auto sketchFeature =
        std::dynamic_pointer_cast<swsim::Sketch>(part->findFeature("Sketch2"));
    ASSERT_TRUE(sketchFeature);
    EXPECT_TRUE(std::dynamic_pointer_cast<swsim::RefPlane>(sketchFeature->placement()));
}

TEST_F(GeometryChecks, LoopsThatCrossOrTouchAreRefusedByName) {
    const struct {
        const char* name;
        std::string loops;
        const char* message;
    } cases[] = {
        {"Circles", "(LOOP (CIRCLE (POINT 0 0) (RAD 10))) (LOOP (CIRCLE (POINT 15 0) (RAD 10)))",
         "Loops 1 and 2 of sketch \"Circles\" cross or touch at (7.5, -6.614378278)"},
        {"Squares", rectangle(0, 0, 20, 20) + rectangle(10, 10, 30, 30),
         "Loops 1 and 2 of sketch \"Squares\" cross or touch at (20, 10)"},
        // A 10 x 10 rectangle standing on the edge of a 40 x 20 one.
        {"Standing", rectangle(0, 0, 40, 20) + rectangle(15, 20, 25, 30),
         "Loops 1 and 2 of sketch \"Standing\" cross or touch at (15, 20)"},
        // A hole touching the outline from inside at one point, an arc reaching across a
        // line, and two circles in one loop.
        {"Touching", rectangle(0, 0, 40, 20) + "(LOOP (CIRCLE (POINT 10 15) (RAD 5)))",
         "Loops 1 and 2 of sketch \"Touching\" cross or touch at (10, 20)"},
        {"Bulging",
         rectangle(0, 0, 40, 20) +
             "(LOOP (ARC (POINT 30 5) (POINT 42 10) (POINT 30 15)) (LINE (POINT 30 15) "
             "(POINT 30 5)))",
         "Loops 1 and 2 of sketch \"Bulging\" cross or touch at (40, "},
        {"Pair", "(LOOP (CIRCLE (POINT 0 0) (RAD 3)) (CIRCLE (POINT 5 0) (RAD 3)))",
         "Loop 1 of sketch \"Pair\" holds contours that cross or touch at (2.5, "},
    };
    for (const auto& c : cases) {
        const runS result =
            convert(c.name, std::string(xyPlane) + sketch(c.name, c.loops) + pad("Pad", c.name, 5));
        EXPECT_EQ(result.code, 1) << c.name;
        expectSaid(result, std::string("SKETCH \"") + c.name + "\": " + c.message);
        // Nothing overlapping was saved: the pad had no sketch.
        const swsim::PartDocumentPtr part = reopened(c.name);
        ASSERT_TRUE(part);
        EXPECT_TRUE(part->bodies().empty()) << c.name;
    }
    // Loops inside one another without touching are a plate with holes: 40 x 20 less a disc
    // of radius 5 and a half disc of radius 5, 5 deep.
    const runS holed = convert(
        "Holed", std::string(xyPlane) +
                     sketch("Holed", rectangle(0, 0, 40, 20) +
                                         "(LOOP (CIRCLE (POINT 10 10) (RAD 5))) (LOOP (ARC "
                                         "(POINT 25 5) (POINT 30 10) (POINT 25 15)) (LINE (POINT "
                                         "25 15) (POINT 25 5)))") +
                     pad("Pad", "Holed", 5));
    EXPECT_EQ(holed.code, 0) << holed.err;
    EXPECT_NEAR(stepCopyVolume("Holed"), 5 * (800 - 25 * pi * 1.5), 1e-6);
}

// A block 60 x 30 x 20 placed at `origin` with the axes `rows`, and on its top a 4 x 2
// pattern of drillings: diameter 4, depth 12 with a 118 degree tip, counterbore 8 x 3, at x
// 11, 26, 41, 56 and y 10, 20 of the block. The last counterbore of each row touches the
// block's side x = 60.
std::string drilledBlock(const std::array<std::array<double, 3>, 3>& rows,
                         const std::array<double, 3>& origin) {
    std::ostringstream text;
    text.precision(17);
    auto model = [&](double x, double y, double z) {
        std::array<double, 3> p{};
        for (int j = 0; j < 3; ++j)
            p[static_cast<std::size_t>(j)] = origin[static_cast<std::size_t>(j)] + x * rows[0][j] +
                                             y * rows[1][j] + z * rows[2][j];
        return p;
    };
    auto mat = [&](const std::array<double, 3>& at) {
        std::ostringstream m;
        m.precision(17);
        for (const auto& row : rows)
            m << row[0] << " " << row[1] << " " << row[2] << " 0  ";
        m << at[0] << " " << at[1] << " " << at[2] << " 1";
        return m.str();
    };
    auto triple = [](const std::array<double, 3>& v) {
        std::ostringstream t;
        t.precision(17);
        t << v[0] << " " << v[1] << " " << v[2];
        return t.str();
    };
    const std::array<double, 3> start = model(11, 10, 20);
    text << "(PLANE (NAME \"Base\") (TYP \"ABS_PLANE\") (MAT " << mat(origin) << "))"
         << sketch("S", rectangle(0, 0, 60, 30), mat(origin), "(PLANE \"Base\")")
         << pad("Block", "S", 20) << "(PLANE (NAME \"Top\") (TYP \"ABS_PLANE\") (MAT "
         << mat(model(0, 0, 20)) << "))"
         << "(DRILLING (NAME \"D\") (STARTPOINT " << triple(start) << ") (DIRECTION " << -rows[2][0]
         << " " << -rows[2][1] << " " << -rows[2][2]
         << ") (DIAMETER 4) (DEPTH 12) (COUNTERBOREDIAMETER 8) (COUNTERBOREDEPTH 3)"
            " (SINKANGLE 118))"
         << "(FEATPATTERN (NAME \"Grid\") (FPBASEFEAT (NAME \"D\") (POINT3D " << triple(start)
         << ")) (FPSKETCH (MAT " << mat(model(0, 0, 20))
         << ") (SKETCHON (PLANE \"Top\")) (FPSKETCHPOINTS";
    for (int row = 0; row < 2; ++row)
        for (int column = row == 0 ? 1 : 0; column < 4; ++column)
            text << " (POINT " << 11 + 15 * column << " " << 10 + 10 * row << ")";
    text << ")))";
    return text.str();
}

TEST_F(GeometryChecks, CounterboresTouchingTheSideLeaveAValidSolid) {
    // Turned 30 degrees about X, then 20 about Z: nowhere does a hole's seam fall on the
    // line where its counterbore touches the side, as it does in the block left square.
    const double a = 30 * pi / 180;
    const double b = 20 * pi / 180;
    const std::array<std::array<double, 3>, 3> tilted = {{
        {std::cos(b), std::sin(b), 0},
        {-std::cos(a) * std::sin(b), std::cos(a) * std::cos(b), std::sin(a)},
        {std::sin(a) * std::sin(b), -std::sin(a) * std::cos(b), std::cos(a)},
    }};
    const std::array<std::array<double, 3>, 3> square = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    // Per hole: the counterbore, the cylinder below it to the tip, and the tip's cone.
    const double tip = 2 / std::tan(59 * pi / 180);
    const double hole = pi * (16 * 3 + 4 * (12 - tip - 3) + 4 * tip / 3);
    for (const auto& [name, rows] : {std::pair{"Tilted", tilted}, std::pair{"Square", square}}) {
        const runS result = convert(name, drilledBlock(rows, {5, -3, 2}));
        ASSERT_EQ(result.code, 0) << result.err;
        const swsim::PartDocumentPtr part = reopened(name);
        ASSERT_TRUE(part);
        ASSERT_EQ(part->bodies().size(), 1u);
        int cylinders = 0;
        for (const swsim::FacePtr& face : part->bodies()[0]->faces())
            cylinders += face->surface().kind == swsim::SurfaceKind::Cylinder ? 1 : 0;
        EXPECT_EQ(cylinders, 16) << name << ": a counterbore split where it touches the side";
        EXPECT_TRUE(BRepCheck_Analyzer(part->bodies()[0]->shape().shape).IsValid()) << name;
        EXPECT_NEAR(stepCopyVolume(name), 36000 - 8 * hole, 1e-6) << name;
        const std::optional<TopoDS_Shape> copy = stepShape(path(std::string(name) + ".step"));
        ASSERT_TRUE(copy);
        EXPECT_TRUE(BRepCheck_Analyzer(*copy).IsValid()) << name << ": its STEP copy";
    }
}

TEST_F(GeometryChecks, WhatTheModelOccupiesIsBoundedNotItsConstructionPoints) {
    // A sketch frame half a millimetre inside the bound with its geometry further in: the
    // plane's helper points (origin + X, origin + Y) lie beyond, the pad does not.
    const runS frame = convert("Frame", sketch("S", rectangle(-100, 0, -50, 20),
                                               "1 0 0 0  0 1 0 0  0 0 1 0  499999.5 0 5 1",
                                               "(PLANE \"Nowhere\")") +
                                            pad("Pad", "S", 10));
    EXPECT_EQ(frame.code, 0) << frame.err;
    EXPECT_NEAR(stepCopyVolume("Frame"), 50 * 20 * 10, 1e-6);
    // A fixed plane on the bound itself.
    const runS plane =
        convert("Plane", "(PLANE (NAME \"P\") (TYP \"ABS_PLANE\") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  "
                         "500000 0 5 1))");
    EXPECT_EQ(plane.code, 0) << plane.err;
    // An arc bulging 1e-5 over a chord of 20: its centre lies 5e6 away. The segment it adds to
    // the 20 x 10 rectangle is R^2 (t - sin t) / 2 with t = 2 asin(10 / R).
    const runS arc = convert(
        "Arc", std::string(xyPlane) +
                   sketch("Flat", "(LOOP (ARC (POINT 30 10) (POINT 20 10.00001) (POINT 10 10)) "
                                  "(LINE (POINT 10 10) (POINT 10 0)) (LINE (POINT 10 0) (POINT 30 "
                                  "0)) (LINE (POINT 30 0) (POINT 30 10)))") +
                   pad("Pad", "Flat", 5));
    EXPECT_EQ(arc.code, 0) << arc.err;
    const double r = (100 + 1e-10) / 2e-5;
    const double t = 2 * std::asin(10 / r);
    // t - sin t loses its digits in doubles; its series t^3/6 - t^5/120 keeps them.
    const double segment = r * r * (t * t * t / 6 - t * t * t * t * t / 120) / 2;
    EXPECT_NEAR(stepCopyVolume("Arc"), 5 * (200 + segment), 1e-7);
    // Saved, the arc opens again.
    const swsim::PartDocumentPtr part = reopened("Arc");
    ASSERT_TRUE(part);
    EXPECT_NEAR(part->massProperties().volume, 5 * (200 + segment), 1e-7);
}

TEST_F(GeometryChecks, SketchRefusalsNameTheValueAndWhy) {
    const struct {
        const char* name;
        std::string node;
        const char* message;
    } cases[] = {
        {"NaNOrigin",
         sketch("Bad", "(LOOP (CIRCLE (POINT 0 0) (RAD 2)))",
                "1 0 0 0  0 1 0 0  0 0 1 0  nan 0 5 1", "(PLANE \"Nowhere\")"),
         "Error while creating sketch \"Bad\": MAT origin (nan, 0, 5) holds a number that is "
         "not finite"},
        {"FarOrigin",
         sketch("Bad", "(LOOP (CIRCLE (POINT 0 0) (RAD 2)))",
                "1 0 0 0  0 1 0 0  0 0 1 0  1e300 0 5 1", "(PLANE \"Nowhere\")"),
         "Error while creating sketch \"Bad\": MAT origin (1e+300, 0, 5) lies beyond "
         "SolidWorks' model space (500 m from the origin)"},
        {"InfPoint",
         sketch("Bad", "(LOOP (LINE (POINT inf 7) (POINT 0 0)) (LINE (POINT 0 0) (POINT 5 0))"
                       " (LINE (POINT 5 0) (POINT inf 7)))"),
         "Loop 1 of sketch \"Bad\": LINE (inf, 7) to (0, 0) holds a number that is not finite"},
        {"FarCircle", sketch("Bad", "(LOOP (CIRCLE (POINT 499999 0) (RAD 2)))"),
         "Could not create sketchcircle at (499999, 0) with radius 2 in loop 1 of sketch "
         "\"Bad\": it lies beyond SolidWorks' model space (500 m from the origin)"},
        {"Collinear",
         sketch("Bad", "(LOOP (ARC (POINT 0 0) (POINT 1 1e-14) (POINT 2 0))"
                       " (LINE (POINT 2 0) (POINT 0 0)))"),
         "Could not create sketcharc from (0, 0) through (1, 1e-14) to (2, 0) in loop 1 of "
         "sketch \"Bad\": its three points lie on one line"},
    };
    for (const auto& c : cases) {
        const runS result = convert(c.name, std::string(xyPlane) + c.node);
        EXPECT_EQ(result.code, 1) << c.name;
        expectSaid(result, c.message);
    }
}

TEST_F(GeometryChecks, MeaninglessValuesAreRefusedByFieldAndValue) {
    // A drilling into the cube's top face at (10, 10, 20).
    auto drilling = [](const std::string& values, const std::string& direction = "0 0 -1") {
        return "(DRILLING (NAME \"D\") (STARTPOINT 10 10 20) (DIRECTION " + direction + ") " +
               values + ")";
    };
    const std::string plain = "(DIAMETER 4) (DEPTH 5)";
    const std::string drill = "Error while creating drilling \"D\": ";
    const struct {
        std::string items;
        std::string message;
    } cases[] = {
        {cube + drilling(plain + " (SINKANGLE nan)"),
         drill + "SINKANGLE nan is not a finite number"},
        {cube + drilling(plain + " (SINKANGLE -90)"),
         drill + "SINKANGLE -90 is no tip angle: from 0 (no tip) to below 180 degrees"},
        {cube + drilling(plain + " (CONIC nan) (CONEANGLE 10)"),
         drill + "CONIC nan is not a finite number"},
        {cube + drilling(plain + " (ENDCOUNTERBOREDIAMETER nan)"),
         drill + "ENDCOUNTERBOREDIAMETER nan is not a finite number"},
        {cube + drilling(plain + " (COUNTERSINKDEPTH 1) (COUNTERSINKANGLE 0)"),
         drill + "COUNTERSINKANGLE 0 is no angle between 0 and 180 degrees"},
        {cube + drilling("(DIAMETER nan) (DEPTH 5)"),
         drill + "DIAMETER nan is not a finite number"},
        {cube + drilling("(DIAMETER 0) (DEPTH 5)"), drill + "DIAMETER 0 is not a positive length"},
        {cube + drilling("(DIAMETER 4) (DEPTH inf)"), drill + "DEPTH inf is not a finite number"},
        {cube + drilling(plain, "0 inf 0"),
         drill + "DIRECTION (0, inf, 0) holds a number that is not finite"},
        {cube + drilling(plain, "0 0 0"), drill + "DIRECTION (0, 0, 0) has no length"},
        {cube + drilling(plain, "1 0 0"),
         drill + "DIRECTION (1, 0, 0) lies in the plane of the face at its start point"},
        {cube + drilling(plain, "0.6 0 0.8"),
         drill + "DIRECTION (0.6, 0, 0.8) points out of the face at its start point"},
        {std::string(xyPlane) + sketch("S", rectangle(0, 0, 20, 20)) +
             "(BASE (NAME \"Pad\") (TYP \"EXTRUDE\") (USED \"S\") (PARAM 5 0 0) (EXTDFTANGLE nan))",
         "Error while creating base feature \"Pad\": EXTDFTANGLE nan is not a finite number"},
        {std::string(xyPlane) + sketch("S", rectangle(0, 0, 20, 20)) +
             "(BASE (NAME \"Pad\") (TYP \"EXTRUDE\") (USED \"S\") (PARAM nan 0 0))",
         "Error while creating base feature \"Pad\": PARAM depth nan is not a finite number"},
        {std::string(xyPlane) + sketch("S", rectangle(0, 0, 20, 20)) +
             "(BASE (NAME \"Pad\") (TYP \"EXTRUDE\") (USED \"S\") (PARAM inf 0 0))",
         "Error while creating base feature \"Pad\": PARAM depth inf is not a finite number"},
        {std::string(xyPlane) + sketch("S", rectangle(0, 0, 20, 20)) +
             "(BASE (NAME \"Pad\") (TYP \"EXTRUDE\") (USED \"S\") (PARAM 500000.5 0 0))",
         "Error while creating base feature \"Pad\": PARAM depth 500000.5 lies beyond "
         "SolidWorks' model space (500 m from the origin)"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string name = "Case" + std::to_string(++n);
        const runS result = convert(name, c.items);
        EXPECT_EQ(result.code, 1) << c.message;
        expectSaid(result, c.message);
    }
    // A direction 45 degrees off the normal: SolidWorks drills along the normal, and the log
    // says so. The hole is the plain one the values give.
    const std::string log = path("drill.log");
    const std::string model = writeFile("Tilt.meta", "(PART (NAME \"Tilt\") (ITEMS " + cube +
                                                         drilling(plain, "1 0 -1") + "))");
    const runS tilted = run({"convert", model, "-o", path("out"), "--log", log});
    EXPECT_EQ(tilted.code, 0) << tilted.err;
    EXPECT_NE(readFile(log).find("Drilling \"D\": its DIRECTION (1, 0, -1) lies 45 degrees off "
                                 "the normal of the face at its start point; the hole is drilled "
                                 "along the face's inward normal (0, 0, -1)"),
              std::string::npos)
        << readFile(log);
    EXPECT_NEAR(stepCopyVolume("Tilt"), 8000 - pi * 4 * 5, 1e-6);
}

} // namespace
