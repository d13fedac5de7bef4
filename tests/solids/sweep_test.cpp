// The SWEEP handler through the build's reader: profiles built by the SKETCH handler, the path
// through their start points, the selections and creation calls, the record and the failures.
#include "libs/geomcore/swapi/swapi.h"
#include "tests/solids/solids_fixture.h"

#include <sstream>

namespace {

double frustum(double a, double b, double h) {
    return h / 3.0 * (a * a + b * b + a * b);
}

// The SKETCH node of a square of side s centred on (cx, cy) at height z, its loop starting at
// the lower left corner.
std::string squareNode(const std::string& name, double cx, double cy, double z, double s) {
    const double h = s / 2;
    std::ostringstream text;
    text << "(SKETCH (NAME \"" << name << "\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 " << cx << ' ' << cy
         << ' ' << z << " 1) (SKETCHON (PLANE \"Free\")) (LOOP (LINE (POINT " << -h << ' ' << -h
         << ") (POINT " << h << ' ' << -h << ")) (LINE (POINT " << h << ' ' << -h << ") (POINT "
         << h << ' ' << h << ")) (LINE (POINT " << h << ' ' << h << ") (POINT " << -h << ' ' << h
         << ")) (LINE (POINT " << -h << ' ' << h << ") (POINT " << -h << ' ' << -h << "))))";
    return text.str();
}

class Sweep : public partHandlersTest {
protected:
    // The plane z above the Front Plane.
    std::string planeAt(double z) {
        if (z == 0.0)
            return "Front Plane";
        return session_->model().addOffsetPlane(session_->model().frontPlane(), z, false)->name();
    }
    // A square profile: drawn in the session and recorded as the SKETCH handler would, with
    // its node in the part's items.
    void square(const std::string& name, double cx, double cy, double z, double s) {
        recordRectangle(name, planeAt(z), cx - s / 2, cy - s / 2, s, s);
        place(squareNode(name, cx, cy, z, s));
    }
};

std::vector<std::string> marksOfSelections(testKitC& kit) {
    std::vector<std::string> marks;
    for (const auto& call : kit.journal().calls("IDocExtension::SelectById"))
        marks.push_back(call.args.at(0) + " " + call.args.at(6));
    return marks;
}

TEST_F(Sweep, PathJoinsTheProfilesStartsAndTheLoftIsRecorded) {
    square("A", 0, 0, 0, 20);
    square("B", 0, 0, 30, 10);
    kit().journal().clear();
    EXPECT_EQ(run("(SWEEP (NAME \"W\") (SWEEPSKLIST \"A\" \"B\"))"), 1);

    EXPECT_EQ(kit().journal().count("IModelDoc2::Insert3dSketch"), 2u);
    const auto lines = kit().journal().calls("IModelDoc2::CreateLine");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].args, (std::vector<std::string>{"-10", "-10", "0", "-5", "-5", "30"}));
    EXPECT_EQ(kit().journal().count("IModelDoc2::Rebuild"), 1u);
    EXPECT_EQ(marksOfSelections(kit()),
              (std::vector<std::string>{"\"Sketch1\" 1", "\"Sketch2\" 1", "\"3DSketch1\" 2"}));
    const auto sweeps = kit().journal().calls("IFeatureManager::CreateSweep");
    ASSERT_EQ(sweeps.size(), 1u);
    EXPECT_EQ(sweeps[0].args,
              (std::vector<std::string>{"0", "0", "0", "1", "0", "0", "0", "0", "-1", "-1", "0",
                                        "0", "0", "0", "-1", "0", "-1"}));

    EXPECT_EQ(mzComStringC(featureGetTypeName(recorded("W"))).toUtf8(), "Loft");
    EXPECT_EQ(recordCount(), 1u); // the path is not recorded
    EXPECT_NEAR(volume(), frustum(20, 10, 30), 1e-6);
}

TEST_F(Sweep, NonZeroSolidOpCutsWithTheTwelveValues) {
    block(40, 40, 20);
    square("Low", 20, 20, 0, 10);
    square("High", 20, 20, 20, 20);
    kit().journal().clear();
    EXPECT_EQ(run("(SWEEP (NAME \"Pocket\") (SWEEPSKLIST \"Low\" \"High\") (SOLIDOP 1))"), 1);

    EXPECT_EQ(kit().journal().count("IFeatureManager::CreateSweep"), 0u);
    const auto cuts = kit().journal().calls("IFeatureManager::CreateSweepWithOperation");
    ASSERT_EQ(cuts.size(), 1u);
    EXPECT_EQ(cuts[0].args, (std::vector<std::string>{"0", "0", "0", "1", "0", "0", "0", "0", "0",
                                                      "0", "0", "-1"}));
    EXPECT_EQ(mzComStringC(featureGetTypeName(recorded("Pocket"))).toUtf8(), "CutLoft");
    EXPECT_NEAR(volume(), 40 * 40 * 20 - frustum(10, 20, 20), 1e-6);
}

// A profile whose loop starts with a circle has no start point: a path through the other
// profiles would miss it, so the sweep goes without a path and no 3D sketch is left behind.
// One profile alone gives no path either.
TEST_F(Sweep, PathIsLeftOutWhenAProfileHasNoStartOrThereIsOnlyOne) {
    square("A", 0, 0, 0, 20);
    recordCircle("Round", planeAt(30), 0, 0, 6);
    place("(SKETCH (NAME \"Round\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 30 1)"
          " (SKETCHON (PLANE \"Free\")) (LOOP (CIRCLE (POINT 0 0) (RAD 6))))");
    kit().journal().clear();
    EXPECT_EQ(run("(SWEEP (NAME \"W\") (SWEEPSKLIST \"A\" \"Round\") (SOLIDOP 0))"), 1);
    EXPECT_EQ(kit().journal().count("IModelDoc2::Insert3dSketch"), 0u);
    EXPECT_EQ(marksOfSelections(kit()),
              (std::vector<std::string>{"\"Sketch1\" 1", "\"Sketch2\" 1"}));
    EXPECT_EQ(mzComStringC(featureGetTypeName(recorded("W"))).toUtf8(), "Loft");

    EXPECT_EQ(failureOf("(SWEEP (NAME \"Single\") (SWEEPSKLIST \"A\"))"),
              "Error while creating sweep feature \"Single\"");
    EXPECT_EQ(countFeatures("3DProfileFeature"), 0);
}

TEST_F(Sweep, RefusedSweepAndUnknownSketchesFailWithTheMessage) {
    square("A", 0, 0, 0, 20);
    square("B", 0, 0, 30, 10);
    kit().plan().returnNull("IFeatureManager::CreateSweep");
    EXPECT_EQ(failureOf("(SWEEP (NAME \"W\") (SWEEPSKLIST \"A\" \"B\"))"),
              "Error while creating sweep feature \"W\"");
    EXPECT_EQ(shownTexts(),
              std::vector<std::string>{warningText("Error while creating sweep feature \"W\"")});
    EXPECT_EQ(recordCount(), 0u);
    EXPECT_EQ(countFeatures("3DProfileFeature"), 1); // the path stays, as SolidWorks keeps it

    // The refused sweep's profiles stay selected; the next sweep must not take them up.
    kit().plan().clear();
    kit().journal().clear();
    EXPECT_EQ(failureOf("(SWEEP (NAME \"X\") (SWEEPSKLIST \"Nope\" \"Neither\"))"),
              "Error while creating sweep feature \"X\"");
    EXPECT_EQ(kit().journal().count("IModelDoc2::Insert3dSketch"), 0u);
    EXPECT_EQ(kit().journal().count("IDocExtension::SelectById"), 0u);
    EXPECT_EQ(recordCount(), 0u);
}

} // namespace
