// The sketch example end to end: natlinkhost converts it and inspect shows every sketch on its
// plane or face with its segments at their model positions; and a part build that throws
// leaves the user's SolidWorks settings as it found them.
#include "libs/geomcore/swapi/swapi.h"
#include "metamodel/core/metaobject.h"
#include "natlinksolidworks/ps_plugin.h"
#include "platform/sldworks/session/session.h"
#include "tests/natlinkhost/natlinkhost_fixture.h"

namespace {

using SketchExample = natlinkHostTest;

TEST_F(SketchExample, ConvertThenInspectShowsTheSketches) {
    const runS converted =
        run({"convert", sourceFile("examples/sketches.meta"), "-o", path("out")});
    ASSERT_EQ(converted.code, 0) << converted.err;
    EXPECT_EQ(converted.err, "");

    const runS inspected = run({"inspect", path("out/Sketches.sldprt")});
    ASSERT_EQ(inspected.code, 0) << inspected.err;
    for (const char* line :
         {"  \"Sketch1\" on \"Front Plane\" origin (0, 0, 0) normal (0, 0, 1)\n"
          "    Line1 (-30, -20, 0) -> (30, -20, 0)\n"
          "    Line2 (30, -20, 0) -> (30, 10, 0)\n"
          "    Arc1 arc (30, 10, 0) -> (20, 20, 0) centre (20, 10, 0) radius 10\n"
          "    Line3 (20, 20, 0) -> (-30, 20, 0)\n"
          "    Line4 (-30, 20, 0) -> (-30, -20, 0)\n",
          "  \"Sketch2\" on a face origin (0, 0, 10) normal (0, 0, 1)\n"
          "    Arc1 circle centre (-10, 0, 10) radius 8\n",
          "  \"Sketch3\" on \"Offset30\" origin (0, 0, 30) normal (0, 0, 1)\n"
          "    Line1 (0, 0, 30) -> (20, 0, 30)\n"
          "    Line2 (20, 0, 30) -> (0, 15, 30)\n"
          "    Line3 (0, 15, 30) -> (0, 0, 30)\n"
          "    Line4 centre line (0, -5, 30) -> (0, 20, 30)\n",
          // Plate with one rounded corner, and the boss on its top face.
          "  volume 24790.70781\n"})
        EXPECT_NE(inspected.out.find(line), std::string::npos) << line << inspected.out;
}

TEST_F(SketchExample, FailedBuildLeavesTheUserSettings) {
    const ISldWorksPtr app = createSimulatedSldWorks();
    sldWorksSetUserToggle(app, 77, VARIANT_FALSE);
    sldWorksSetUserInt(app, 3, 5);
    testKitC& kit = sessionTestKit(app);
    kit.reset();
    // The build fails inside the part handler, after the settings were switched.
    kit.plan().failWith("IModelDoc2::FirstFeature", E_FAIL);

    metaObjectC options;
    ASSERT_TRUE(options.ctorFromText(("(CONVERTOPTIONS (INNAME \"m.meta\") (OUTPUTLOCATION \"" +
                                      path("out") +
                                      "\") (CUSTOMDATA) (INPUTDATA (PART (NAME \"P\") (ITEMS))))")
                                         .c_str()));
    PSWPlugin plugin(app);
    EXPECT_EQ(plugin.convertMetaTree(options.getTreePtr()), 1);
    EXPECT_EQ(kit.journal().count("IModelDoc2::EnterBuildMode"), 1u);
    EXPECT_EQ(kit.journal().count("IModelDoc2::LeaveBuildMode"), 1u);
    EXPECT_EQ(sldWorksGetUserToggle(app, 11), VARIANT_TRUE);
    EXPECT_EQ(sldWorksGetUserToggle(app, 77), VARIANT_FALSE);
    EXPECT_EQ(sldWorksGetUserToggle(app, 97), VARIANT_TRUE);
    EXPECT_EQ(sldWorksGetUserInt(app, 3), 5);
}

} // namespace
