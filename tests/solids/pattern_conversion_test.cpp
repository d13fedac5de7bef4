// Feature patterns end to end: natlinkhost converts each pattern example into a part whose
// STEP copy has the volume computed by hand, with every instance where the pattern puts it
// (faces looked up at hand-computed points of the saved and reopened part) and the skipped
// ones missing.
#include "platform/host/services/messages.h"
#include "platform/sldworks/model/part_document.h"
#include "tests/natlinkhost/natlinkhost_fixture.h"
#include "tests/solids/step_volume.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {

constexpr double pi = 3.141592653589793;

class PatternConversion : public natlinkHostTest {
protected:
    // Converts the example, checks its STEP volume against the hand value and answers the
    // saved part, reopened (so its patterns are replayed).
    swsim::PartDocumentPtr convertExample(const std::string& example, const std::string& part,
                                          double byHand) {
        return convertModel(sourceFile("examples/" + example), part, byHand);
    }
    swsim::PartDocumentPtr convertModel(const std::string& model, const std::string& part,
                                        double byHand) {
        const runS converted = run({"convert", model, "-o", path("out")});
        EXPECT_EQ(converted.code, 0) << converted.err;
        const std::string saved = path("out/" + part + ".sldprt");
        const std::string step = path(part + ".step");
        EXPECT_EQ(run({"export", saved, step}).code, 0);
        EXPECT_NEAR(stepVolume(step), byHand, byHand * 1e-6) << model;
        return swsim::PartDocument::open(saved);
    }
};

swsim::Vec3 polar(double radius, double degrees, double z) {
    const double a = degrees * pi / 180.0;
    return {radius * std::cos(a), radius * std::sin(a), z};
}

bool faceAt(const swsim::PartDocument& part, swsim::Vec3 point, swsim::Vec3 normal) {
    return part.findFaceAt(point, normal, 1e-6) != nullptr;
}

int countType(const swsim::PartDocument& part, const std::string& type) {
    return static_cast<int>(
        std::count_if(part.features().begin(), part.features().end(),
                      [&](const swsim::FeaturePtr& f) { return f->typeName() == type; }));
}

TEST_F(PatternConversion, FlangeBoltCircleSkipsItsGapAndTurnsItsSlots) {
    const auto part = convertExample("flange.meta", "Flange", 23250 * pi - 3200);
    EXPECT_EQ(countType(*part, "CirPattern"), 2);
    // Bolt holes (radius 5 at radius 35) at 45 degree steps but 135: the wall point towards +X
    // of each hole lies on a face only where the hole is.
    for (int k = 0; k < 8; ++k) {
        const swsim::Vec3 wall = polar(35, 45.0 * k, 5) + swsim::Vec3{5, 0, 0};
        EXPECT_EQ(faceAt(*part, wall, {-1, 0, 0}), k != 3) << "bolt hole " << k;
    }
    // Each slot's side wall turned with it: the wall 2 to the left of the slot's axis.
    for (int k = 0; k < 8; ++k) {
        const double a = 45.0 * k * pi / 180.0;
        const swsim::Vec3 left{-std::sin(a), std::cos(a), 0};
        EXPECT_TRUE(faceAt(*part, polar(20, 45.0 * k, 5) + left * 2.0, left * -1.0))
            << "slot " << k;
    }
}

TEST_F(PatternConversion, PlateGridSkipsItsGap) {
    const auto part = convertExample("plate_grid.meta", "PlateGrid", 60000 - 800 * pi);
    EXPECT_EQ(countType(*part, "LPattern"), 1);
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column) {
            const swsim::Vec3 wall{20.0 + 30 * column + 4, 15.0 + 30 * row, 5};
            EXPECT_EQ(faceAt(*part, wall, {-1, 0, 0}), !(row == 0 && column == 1))
                << row << " " << column;
        }
}

TEST_F(PatternConversion, ScatteredPointsDriveASketchPattern) {
    const auto part = convertExample("sketch_pattern.meta", "SketchPattern", 60000 - 360 * pi);
    EXPECT_EQ(countType(*part, "SketchPattern"), 1);
    for (const swsim::Vec3 centre : {swsim::Vec3{10, 10, 5}, swsim::Vec3{35, 12, 5},
                                     swsim::Vec3{62, 41, 5}, swsim::Vec3{88, 23, 5}})
        EXPECT_TRUE(faceAt(*part, centre + swsim::Vec3{3, 0, 0}, {-1, 0, 0}))
            << centre.x << " " << centre.y;
}

TEST_F(PatternConversion, LugsTurnAboutTheRotationCentreOfATurnedFrame) {
    const double shared = 4 * std::sqrt(384.0) + 400 * std::asin(0.2) - 80;
    const auto part = convertExample("rotation_centre.meta", "RotationCentre",
                                     4000 * pi + 3 * (2800 - 10 * shared));
    EXPECT_EQ(countType(*part, "CirPattern"), 1);
    // The lug's outer end (radius 45) faces outwards at 0, 90 and 180 degrees, nowhere else.
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(faceAt(*part, polar(45, 90.0 * k, 5), polar(1, 90.0 * k, 0)), k != 3)
            << "lug " << k;
}

TEST_F(PatternConversion, RingsOfThreeAndOfSixRoundedNotchesAreTurned) {
    // Both rings lie on skewed grids too (2 x 2 and 3 x 3 with gaps); moved copies of the
    // notches would cut other areas from the rim.
    const double notch = 3 * std::sqrt(2491.0) + 2500 * std::asin(0.06) - 240;
    const auto part = convertExample("rings.meta", "Rings", 25000 * pi - 90 * notch);
    EXPECT_EQ(countType(*part, "CirPattern"), 2);
    EXPECT_EQ(countType(*part, "LPattern"), 0);
}

TEST_F(PatternConversion, RotationCentrePointsInAnyOrderPlaceTheLugsWhereTheySay) {
    // The lugs at 180 degrees listed before the one at 90: a step from the first point alone
    // would put lugs at 0, 180 and 360 degrees.
    std::string text = readFile(sourceFile("examples/rotation_centre.meta"));
    const std::string inOrder = "(POINT 22.5 5) (POINT -5 32.5)";
    ASSERT_NE(text.find(inOrder), std::string::npos);
    text.replace(text.find(inOrder), inOrder.size(), "(POINT -5 32.5) (POINT 22.5 5)");
    const double shared = 4 * std::sqrt(384.0) + 400 * std::asin(0.2) - 80;
    const auto part = convertModel(writeFile("swapped.meta", text), "RotationCentre",
                                   4000 * pi + 3 * (2800 - 10 * shared));
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(faceAt(*part, polar(45, 90.0 * k, 5), polar(1, 90.0 * k, 0)), k != 3)
            << "lug " << k;
}

TEST_F(PatternConversion, RotationCentrePointsListedOverAndOverAreOneInstanceEach) {
    // Each lug position listed 300 times: still one pattern of three, not hundreds of copies.
    std::string text = readFile(sourceFile("examples/rotation_centre.meta"));
    const std::string listed = "(POINT 22.5 5) (POINT -5 32.5)";
    ASSERT_NE(text.find(listed), std::string::npos);
    std::string repeated;
    for (int i = 0; i < 300; ++i)
        repeated += listed + " ";
    text.replace(text.find(listed), listed.size(), repeated);
    const double shared = 4 * std::sqrt(384.0) + 400 * std::asin(0.2) - 80;
    const auto part = convertModel(writeFile("repeated.meta", text), "RotationCentre",
                                   4000 * pi + 3 * (2800 - 10 * shared));
    EXPECT_EQ(countType(*part, "CirPattern"), 1);
    EXPECT_EQ(countType(*part, "ProfileFeature"), 3);
    EXPECT_EQ(countType(*part, "Boss"), 1);
}

// 60 holes at points that are neither a grid nor a circle, on a pattern sketch on a plane: the
// pattern is rolled back into copies. Every copy's sketch finds the plate's top face (no plane
// of its own), and the copies are cut.
TEST_F(PatternConversion, ScatteredHolesRolledBackAreSketchedOnTheFaceAndCut) {
    std::vector<swsim::Vec3> centres;
    for (int i = 0; i < 60; ++i)
        centres.push_back({5 + 10 * (i % 8) + 1.3 * std::sin(7.0 * i),
                           5 + 10 * (i / 8) + 1.1 * std::cos(11.0 * i), 10});
    std::ostringstream text;
    text.precision(17);
    text << R"((PART (NAME "Scattered") (ITEMS
        (PLANE (NAME "XY") (TYP "XY") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))
        (SKETCH (NAME "S") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1) (SKETCHON (PLANE "XY"))
          (LOOP (LINE (POINT 0 0) (POINT 80 0)) (LINE (POINT 80 0) (POINT 80 80))
                (LINE (POINT 80 80) (POINT 0 80)) (LINE (POINT 0 80) (POINT 0 0))))
        (BASE (NAME "Plate") (TYP "EXTRUDE") (USED "S") (PARAM 10 0 0)))";
    const swsim::Vec3 first = centres.front();
    text << "(SKETCH (NAME \"HS\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 10 1) (SKETCHON (FACE (POINT3D "
         << first.x << " " << first.y << " 10) (VEC3D 0 0 1))) (LOOP (CIRCLE (POINT " << first.x
         << " " << first.y << ") (RAD 2))))"
         << "(CUT (NAME \"Hole\") (TYP \"EXTRUDE\") (USED \"HS\") (PARAM 10 1 0))"
         << "(FEATPATTERN (NAME \"Holes\") (FPBASEFEAT (NAME \"Hole\") (POINT3D " << first.x << " "
         << first.y << " 10)) (FPSKETCH (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 10 1) "
         << "(SKETCHON (PLANE \"XY\")) (FPSKETCHPOINTS";
    for (std::size_t i = 1; i < centres.size(); ++i)
        text << " (POINT " << centres[i].x << " " << centres[i].y << ")";
    text << ")))))";
    const auto part =
        convertModel(writeFile("scattered.meta", text.str()), "Scattered", 64000 - 2400 * pi);
    EXPECT_EQ(countType(*part, "RefPlane"), 3) << "the template's planes only";
    EXPECT_EQ(countType(*part, "ProfileFeature"), 61);
    EXPECT_EQ(countType(*part, "Cut"), 60);
    for (const swsim::Vec3& c : centres)
        EXPECT_TRUE(faceAt(*part, c + swsim::Vec3{2, 0, -5}, {-1, 0, 0})) << c.x << " " << c.y;
}

// A linear pattern of 10 holes of radius 4 only 0.01 apart: each copy overlaps all the
// others, and together they cut one slot (two half circles and the rectangle between).
TEST_F(PatternConversion, OverlappingCopiesCutTheirSlot) {
    std::ostringstream text;
    text << R"((PART (NAME "Slot") (ITEMS
        (PLANE (NAME "XY") (TYP "XY") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))
        (SKETCH (NAME "S") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1) (SKETCHON (PLANE "XY"))
          (LOOP (LINE (POINT 0 0) (POINT 100 0)) (LINE (POINT 100 0) (POINT 100 40))
                (LINE (POINT 100 40) (POINT 0 40)) (LINE (POINT 0 40) (POINT 0 0))))
        (BASE (NAME "Plate") (TYP "EXTRUDE") (USED "S") (PARAM 10 0 0))
        (SKETCH (NAME "HS") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 10 1)
          (SKETCHON (FACE (POINT3D 20 20 10) (VEC3D 0 0 1))) (LOOP (CIRCLE (POINT 20 20) (RAD 4))))
        (CUT (NAME "Hole") (TYP "EXTRUDE") (USED "HS") (PARAM 10 1 0))
        (FEATPATTERN (NAME "Holes") (FPBASEFEAT (NAME "Hole") (POINT3D 20 20 10))
          (FPSKETCH (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 10 1) (SKETCHON (PLANE "XY"))
            (FPSKETCHPOINTS)";
    for (int k = 1; k < 10; ++k)
        text << " (POINT " << 20 + 0.01 * k << " 20)";
    text << ")))))";
    const auto part =
        convertModel(writeFile("slot.meta", text.str()), "Slot", 40000 - (16 * pi + 8 * 0.09) * 10);
    EXPECT_EQ(countType(*part, "LPattern"), 1);
    EXPECT_TRUE(faceAt(*part, {16, 20, 5}, {1, 0, 0}));
    EXPECT_TRUE(faceAt(*part, {24.09, 20, 5}, {-1, 0, 0}));
}

TEST_F(PatternConversion, RefusedPatternRollsBackIntoTurnedCopies) {
    const auto part = convertExample("refused_pattern.meta", "RefusedPattern", 4000 * pi + 3000);
    std::string shown;
    for (const hostsvc::ShownMessage& message : hostsvc::shownMessages())
        shown += message.text + "\n";
    EXPECT_NE(shown.find("Failed to create feature pattern for feature 'Pad', executing rollback"),
              std::string::npos)
        << shown;
    // Nothing of the refused pattern stays: no pattern, no axis, no pattern sketch.
    EXPECT_EQ(countType(*part, "CirPattern"), 0);
    EXPECT_EQ(countType(*part, "RefAxis"), 0);
    EXPECT_EQ(countType(*part, "ProfileFeature"), 6);
    EXPECT_EQ(part->bodies(swsim::BodyKind::Solid).size(), 6u);
    // The pads' corners turned by 72 degree steps bound the part (translated copies would
    // keep their sides parallel to the axes and reach less far).
    double lowY = 1e9;
    double highY = -1e9;
    for (int k = 0; k < 5; ++k)
        for (const double x : {30.0, 40.0})
            for (const double y : {-3.0, 3.0}) {
                const double a = 72.0 * k * pi / 180.0;
                const double turned = x * std::sin(a) + y * std::cos(a);
                lowY = std::min(lowY, turned);
                highY = std::max(highY, turned);
            }
    const swsim::Box box = part->box();
    EXPECT_NEAR(box.min.y, lowY, 1e-6);
    EXPECT_NEAR(box.max.y, highY, 1e-6);
    for (int k = 0; k < 5; ++k)
        EXPECT_TRUE(faceAt(*part, polar(40, 72.0 * k, 5), polar(1, 72.0 * k, 0))) << "pad " << k;
}

// A block 100 x 100 x 30 with a drilling that the session cannot make as one hole (a
// countersink and a counterbore), built from its history of two cuts: a bore 10 across and 2
// deep, then a hole 6 across and 8 deep, at (20, 50). A pattern of `base` puts copies at the
// points.
std::string drillingPattern(const std::string& base, const std::string& points) {
    return R"((PART (NAME "History") (ITEMS
  (PLANE (NAME "XY") (TYP "XY") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 1))
  (SKETCH (NAME "BlockSketch") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 1) (SKETCHON (PLANE "XY"))
    (LOOP (LINE (POINT 0 0) (POINT 100 0)) (LINE (POINT 100 0) (POINT 100 100))
          (LINE (POINT 100 100) (POINT 0 100)) (LINE (POINT 0 100) (POINT 0 0))))
  (BASE (NAME "Block") (TYP "EXTRUDE") (USED "BlockSketch") (PARAM 30 0 0))
  (DRILLING (NAME "D") (STARTPOINT 20 50 30) (DIRECTION 0 0 -1) (DIAMETER 6) (DEPTH 10)
    (COUNTERSINKDEPTH 1) (COUNTERSINKANGLE 90) (COUNTERBOREDEPTH 2) (COUNTERBOREDIAMETER 10)
    (HISTORY
      (SKETCH (NAME "DBore") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 30 1)
        (SKETCHON (FACE (POINT3D 20 50 30) (VEC3D 0 0 1))) (LOOP (CIRCLE (POINT 20 50) (RAD 5))))
      (CUT (NAME "DBoreCut") (TYP "EXTRUDE") (USED "DBore") (PARAM 2 1 0))
      (SKETCH (NAME "DHole") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 28 1)
        (SKETCHON (FACE (POINT3D 20 50 28) (VEC3D 0 0 1))) (LOOP (CIRCLE (POINT 20 50) (RAD 3))))
      (CUT (NAME "DHoleCut") (TYP "EXTRUDE") (USED "DHole") (PARAM 8 1 0))))
  (FEATPATTERN (NAME "Row") (FPBASEFEAT (NAME ")" +
           base + R"(") (POINT3D 20 50 30))
    (FPSKETCH (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 30 1) (SKETCHON (PLANE "XY"))
      (FPSKETCHPOINTS )" +
           points + ")))))";
}

TEST_F(PatternConversion, DrillingBuiltFromItsHistoryIsRepeatedWithBothCuts) {
    const auto part =
        convertModel(writeFile("history.meta", drillingPattern("D", "(POINT 50 50) (POINT 80 50)")),
                     "History", 300000 - 3 * pi * (25 * 2 + 9 * 8));
    EXPECT_EQ(countType(*part, "LPattern"), 1);
    const std::optional<TopoDS_Shape> shape = stepShape(path("History.step"));
    ASSERT_TRUE(shape);
    for (const double x : {20, 50, 80}) {
        EXPECT_FALSE(materialAt(*shape, x + 4, 50, 29)) << "bore at " << x;
        EXPECT_TRUE(materialAt(*shape, x + 4, 50, 25)) << "beside the hole at " << x;
        EXPECT_FALSE(materialAt(*shape, x, 50, 21)) << "hole at " << x;
        EXPECT_TRUE(materialAt(*shape, x, 50, 19)) << "below the hole at " << x;
    }
}

TEST_F(PatternConversion, PatternOfAPlaneIsRefusedByName) {
    const runS converted =
        run({"convert",
             writeFile("plane.meta", drillingPattern("XY", "(POINT 50 50) (POINT 80 50) "
                                                           "(POINT 20 80) (POINT 50 80)")),
             "-o", path("out")});
    EXPECT_EQ(converted.code, 1);
    EXPECT_NE(converted.err.find(
                  "Feature pattern \"Row\": its base 'XY' is a PLANE, not a solid feature"),
              std::string::npos)
        << converted.err;
}

} // namespace
