// Drawing meta sketches into an open sketch of the simulated session: where the points land in
// the model, how loops are closed, and the failures with their messages.
#include "libs/geomcore/swgeomtools/sketch_construction.h"
#include "libs/geomcore/swtools/error.h"
#include "metamodel/m3d/viewhelpers.h"
#include "platform/host/services/messages.h"
#include "tests/swgeomtools/sketch_test_support.h"

namespace {

const char* identityMat = "(MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1)";

std::string sketchText(const std::string& body, const std::string& mat = identityMat) {
    return "(SKETCH (NAME \"S1\") " + mat + " " + body + ")";
}

using CreateSketchTest = SketchToolsTest;

TEST_F(CreateSketchTest, EmptySketchDrawsNothingAndReturnsTheActiveSketch) {
    const swsim::SketchPtr open = openSketchOn("Front Plane");
    const m3dSketchC sketch = sketchFrom(sketchText(""));
    ISketchPtr drawn = createSketch(doc, sketch, matrixC4x4<double>::identity());
    ASSERT_TRUE(drawn);
    EXPECT_EQ(drawn, ISketchPtr(modelDocGetActiveSketch(doc)));
    EXPECT_TRUE(open->segments().empty());
}

TEST_F(CreateSketchTest, NoisyLoopIsDrawnClosed) {
    const swsim::SketchPtr open = openSketchOn("Front Plane");
    const m3dSketchC sketch =
        sketchFrom(sketchText("(LOOP (LINE (POINT 0 0) (POINT 4 0))"
                              " (LINE (POINT 4.0000001 0) (POINT 4 3))"
                              " (LINE (POINT 4 3.0000001) (POINT 0 0.0000002)))"));
    createSketch(doc, sketch, getMatrix(sketch));
    ASSERT_EQ(open->segments().size(), 3u);
    const auto& s = open->segments();
    // Shared ends are one point of the sketch.
    EXPECT_EQ(s[0]->end(), s[1]->start());
    EXPECT_EQ(s[1]->end(), s[2]->start());
    EXPECT_EQ(s[2]->end(), s[0]->start());
    expectNear(modelStart(s[0]), {0, 0, 0}, 0);
    expectNear(modelEnd(s[2]), {0, 0, 0}, 0);
}

TEST_F(CreateSketchTest, LoopsThatDoNotCloseAreRefusedWithTheirGap) {
    const swsim::SketchPtr open = openSketchOn("Front Plane");
    const struct {
        const char* loops;
        const char* message;
    } cases[] = {
        // An open U would be drawn as a triangle.
        {"(LOOP (LINE (POINT 0 0) (POINT 4 0)) (LINE (POINT 4 0) (POINT 4 3))"
         " (LINE (POINT 4 3) (POINT 0 3)))",
         "Loop 1 of sketch \"S1\" is open: a gap of 3 at (0, 3)"},
        // A side 2 short, in the second loop.
        {"(LOOP (CIRCLE (POINT 0 0) (RAD 1))) (LOOP (LINE (POINT 0 0) (POINT 4 0))"
         " (LINE (POINT 6 0) (POINT 6 3)) (LINE (POINT 6 3) (POINT 0 0)))",
         "Loop 2 of sketch \"S1\" is open: a gap of 2 at (4, 0)"},
        // A reversed first line would make a bow-tie.
        {"(LOOP (LINE (POINT 4 0) (POINT 0 0)) (LINE (POINT 4 0) (POINT 4 3))"
         " (LINE (POINT 4 3) (POINT 0 0)))",
         "Loop 1 of sketch \"S1\" is open: a gap of 4 at (0, 0)"},
    };
    for (const auto& c : cases) {
        try {
            createSketch(doc, sketchFrom(sketchText(c.loops)), matrixC4x4<double>::identity());
            ADD_FAILURE() << c.loops;
        } catch (const errorC& error) {
            EXPECT_EQ(error.getMessage().toUtf8(), c.message);
        }
    }
    // Nothing of a refused sketch is drawn, not even its good loops.
    EXPECT_TRUE(open->segments().empty());
    EXPECT_EQ(hostsvc::shownMessages().size(), 3u);
}

TEST_F(CreateSketchTest, LoopIsClosedOverAThousandthOrAMillionthOfItsSize) {
    // A triangle whose last line ends `gap` above its start; the loop is `width` wide.
    auto triangle = [](double width, const char* gap) {
        const std::string w = std::to_string(width);
        return sketchText("(LOOP (LINE (POINT 0 0) (POINT " + w + " 0)) (LINE (POINT " + w +
                          " 0) (POINT " + w + " 3)) (LINE (POINT " + w + " 3) (POINT 0 " + gap +
                          ")))");
    };
    const struct {
        double width;
        const char* gap;
        bool closed;
    } cases[] = {
        {4, "0.0009", true}, {4, "0.0011", false}, {10000, "0.009", true}, {10000, "0.011", false}};
    for (const auto& c : cases) {
        const swsim::SketchPtr open = openSketchOn("Front Plane");
        try {
            createSketch(doc, sketchFrom(triangle(c.width, c.gap)), matrixC4x4<double>::identity());
            EXPECT_TRUE(c.closed) << c.width << " " << c.gap;
            EXPECT_EQ(open->segments().size(), 3u);
        } catch (const errorC& error) {
            EXPECT_FALSE(c.closed) << c.width << " " << c.gap;
            EXPECT_EQ(error.getMessage().toUtf8(),
                      std::string("Loop 1 of sketch \"S1\" is open: a gap of ") + c.gap +
                          " at (0, " + c.gap + ")");
        }
        modelDocInsertSketch(doc, VARIANT_TRUE);
    }
}

TEST_F(CreateSketchTest, LoopSmallerThanTheRoundingIsNotClosedByForce) {
    const swsim::SketchPtr open = openSketchOn("Front Plane");
    // A U of 1e-4 missing its fourth side: within the thousandth, yet all of the loop's side.
    try {
        createSketch(doc,
                     sketchFrom(sketchText("(LOOP (LINE (POINT 0 0) (POINT 0.0001 0))"
                                           " (LINE (POINT 0.0001 0) (POINT 0.0001 0.0001))"
                                           " (LINE (POINT 0.0001 0.0001) (POINT 0 0.0001)))")),
                     matrixC4x4<double>::identity());
        ADD_FAILURE() << "closed as a triangle";
    } catch (const errorC& error) {
        EXPECT_EQ(error.getMessage().toUtf8(),
                  "Loop 1 of sketch \"S1\" is open: a gap of 0.0001 at (0, 0.0001)");
    }
    EXPECT_TRUE(open->segments().empty());
    // A hundredth of its size is still rounding: a loop of 0.1 closes over 0.0009.
    createSketch(doc,
                 sketchFrom(sketchText("(LOOP (LINE (POINT 0 0) (POINT 0.1 0))"
                                       " (LINE (POINT 0.1 0) (POINT 0.1 0.1))"
                                       " (LINE (POINT 0.1 0.1) (POINT 0 0.0009)))")),
                 matrixC4x4<double>::identity());
    EXPECT_EQ(open->segments().size(), 3u);
}

TEST_F(CreateSketchTest, SingleShapeLoopKeepsItsOwnPoints) {
    openSketchOn("Front Plane");
    const m3dSketchC sketch =
        sketchFrom(sketchText("(LOOP (ARC (POINT 1 0) (POINT 0 1) (POINT -1 0)))"));
    createSketch(doc, sketch, matrixC4x4<double>::identity());
    const auto arcs = f.kit().journal().calls("IModelDoc2::CreateArc");
    ASSERT_EQ(arcs.size(), 1u);
    // Start, end, then the middle point.
    EXPECT_EQ(arcs[0].args,
              (std::vector<std::string>{"1", "0", "0", "-1", "0", "0", "0", "1", "0"}));
}

TEST_F(CreateSketchTest, LoopStartingWithACircleChainsFromItsFirstLine) {
    const swsim::SketchPtr open = openSketchOn("Front Plane");
    const m3dSketchC sketch = sketchFrom(
        sketchText("(LOOP (CIRCLE (POINT 9 9) (RAD 0.5)) (ELLIPSE (POINT 0 0))"
                   " (LINE (POINT 1 1) (POINT 3 1)) (ARC (POINT 3 1) (POINT 4 2) (POINT 3 3))"
                   " (LINE (POINT 3 3) (POINT 1 1.0001)) (ELLIPSE (POINT 1 1)))"));
    createSketch(doc, sketch, matrixC4x4<double>::identity());
    const auto lines = f.kit().journal().calls("IModelDoc2::CreateLine");
    ASSERT_EQ(lines.size(), 2u);
    // No line from the sketch origin; the last line (before a skipped shape) closes the loop.
    EXPECT_EQ(lines[0].args, (std::vector<std::string>{"1", "1", "0", "3", "1", "0"}));
    EXPECT_EQ(lines[1].args, (std::vector<std::string>{"3", "3", "0", "1", "1", "0"}));
    EXPECT_EQ(f.kit().journal().calls("IModelDoc2::CreateCircle").at(0).args,
              (std::vector<std::string>{"9", "9", "0", "0.5"}));
    EXPECT_EQ(open->segments().size(), 4u);
}

TEST_F(CreateSketchTest, PointsLandAtTheirPlacementInTheModel) {
    // On the Top Plane: sketch X along model X, sketch Y along model -Z, origin (2, 0, 3).
    const swsim::SketchPtr open = openSketchOn("Top Plane");
    const m3dSketchC sketch =
        sketchFrom(sketchText("(LOOP (LINE (POINT 0 0) (POINT 5 0)) (LINE (POINT 5 0) (POINT 5 2))"
                              " (LINE (POINT 5 2) (POINT 0 0)))",
                              "(MAT 1 0 0 0  0 0 -1 0  0 1 0 0  2 0 3 1)"));
    createSketch(doc, sketch, getMatrix(sketch));
    const auto& s = open->segments();
    ASSERT_EQ(s.size(), 3u);
    expectNear(modelStart(s[0]), {2, 0, 3});
    expectNear(modelEnd(s[0]), {7, 0, 3});
    expectNear(modelEnd(s[1]), {7, 0, 1});
}

TEST_F(CreateSketchTest, RadiiAreNotScaledByThePlacement) {
    const swsim::SketchPtr open = openSketchOn("Front Plane");
    const m3dSketchC sketch = sketchFrom(sketchText("(LOOP (CIRCLE (POINT 1 1) (RAD 0.01)))",
                                                    "(MAT 2 0 0 0 0 2 0 0 0 0 2 0 1 0 0 1)"));
    createSketch(doc, sketch, getMatrix(sketch));
    ASSERT_EQ(open->segments().size(), 1u);
    EXPECT_EQ(open->segments()[0]->radius(), 0.01);
    expectNear(open->segments()[0]->centre()->modelPosition(), {3, 2, 0});
}

TEST_F(CreateSketchTest, CentreLineIsFlagged) {
    const swsim::SketchPtr open = openSketchOn("Front Plane");
    const m3dSketchC sketch = sketchFrom(sketchText("(CENTER (POINT 0 -1) (POINT 0 1))"));
    createSketch(doc, sketch, matrixC4x4<double>::identity());
    ASSERT_EQ(open->segments().size(), 1u);
    EXPECT_TRUE(open->segments()[0]->centreLine());
    EXPECT_EQ(f.kit().journal().calls("ISketchSegment::SetCenterline").at(0).args,
              std::vector<std::string>{"-1"});
}

TEST_F(CreateSketchTest, NoActiveSketchIsReported) {
    const m3dSketchC sketch = sketchFrom(sketchText("(LOOP (LINE (POINT 0 0) (POINT 1 0)))"));
    try {
        createSketch(doc, sketch, matrixC4x4<double>::identity());
        FAIL();
    } catch (const errorC& error) {
        EXPECT_EQ(error.getMessage().toUtf8(), "No active solidWorks sketch found");
    }
    ASSERT_EQ(hostsvc::shownMessages().size(), 1u);
    EXPECT_NE(hostsvc::shownMessages()[0].text.find("No active solidWorks sketch found"),
              std::string::npos);
}

TEST_F(CreateSketchTest, RefusedShapesEndTheDrawing) {
    const swsim::SketchPtr open = openSketchOn("Front Plane");
    const m3dSketchC sketch = sketchFrom(
        sketchText("(LOOP (LINE (POINT 0 0) (POINT 4 0)) (ARC (POINT 4 0) (POINT 5 1) (POINT 4 2))"
                   " (LINE (POINT 4 2) (POINT 0 0)))"));
    f.kit().plan().returnNull("IModelDoc2::CreateArc");
    try {
        createSketch(doc, sketch, matrixC4x4<double>::identity());
        FAIL();
    } catch (const errorC& error) {
        EXPECT_EQ(error.getMessage().toUtf8(),
                  "Could not create sketcharc from (4, 0) through (5, 1) to (4, 2) in loop 1 of "
                  "sketch \"S1\"");
    }
    EXPECT_EQ(hostsvc::shownMessages().size(), 1u);
    // The line drawn before stays; nothing after the arc was tried.
    EXPECT_EQ(open->segments().size(), 1u);
    EXPECT_EQ(f.kit().journal().count("IModelDoc2::CreateLine"), 1u);
}

TEST_F(CreateSketchTest, RefusedLineIsThrownWithoutWarning) {
    openSketchOn("Front Plane");
    // Zero length: the session refuses it.
    const m3dSketchC sketch = sketchFrom(sketchText("(LOOP (LINE (POINT 1 1) (POINT 1 1)))"));
    try {
        createSketch(doc, sketch, matrixC4x4<double>::identity());
        FAIL();
    } catch (const errorC& error) {
        EXPECT_EQ(error.getMessage().toUtf8(),
                  "Could not create sketchline from (1, 1) to (1, 1) in loop 1 of sketch \"S1\": "
                  "its ends coincide");
    }
    EXPECT_TRUE(hostsvc::shownMessages().empty());
}

TEST_F(CreateSketchTest, RefusedCircleAndCentreLineAreReported) {
    openSketchOn("Front Plane");
    const m3dSketchC circle = sketchFrom(sketchText("(LOOP (CIRCLE (POINT 1 1) (RAD 0)))"));
    try {
        createSketch(doc, circle, matrixC4x4<double>::identity());
        FAIL();
    } catch (const errorC& error) {
        EXPECT_EQ(error.getMessage().toUtf8(),
                  "Could not create sketchcircle at (1, 1) with radius 0 in loop 1 of sketch "
                  "\"S1\": its radius is not positive");
    }
    const m3dSketchC centre = sketchFrom(sketchText("(CENTER (POINT 0 0) (POINT 0 0))"));
    try {
        createSketch(doc, centre, matrixC4x4<double>::identity());
        FAIL();
    } catch (const errorC& error) {
        EXPECT_EQ(error.getMessage().toUtf8(), "Could not create centerline for sketch \"S1\"");
    }
    EXPECT_EQ(hostsvc::shownMessages().size(), 2u);
}

TEST_F(CreateSketchTest, SketchTransformMatrixOfNullSketch) {
    try {
        sketchTransformMatrix(nullptr);
        FAIL();
    } catch (const _com_error& e) {
        EXPECT_EQ(e.Error(), E_POINTER);
    }
}

} // namespace
