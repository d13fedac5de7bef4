// The main build road through the session's COM interfaces and the call wrappers: template,
// plane selection, sketch, rectangle, extrusion, mass; and the journal of those calls.
#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/session/session.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct featureRowS {
    std::string name;
    std::string type;
};

std::vector<featureRowS> walkFeatures(IModelDoc2* doc) {
    std::vector<featureRowS> rows;
    IFeaturePtr feature(modelDocFirstFeature(doc));
    while (feature) {
        rows.push_back({static_cast<const char*>(featureGetName(feature)),
                        static_cast<const char*>(featureGetTypeName(feature))});
        feature = featureGetNext(feature);
    }
    return rows;
}

// Draws the rectangle [0, w] x [0, h] into the open sketch.
void drawRectangle(IModelDoc2* doc, double w, double h) {
    const double corners[4][2] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    for (int i = 0; i < 4; ++i) {
        const auto* a = corners[i];
        const auto* b = corners[(i + 1) % 4];
        ASSERT_TRUE(modelDocCreateLine(doc, a[0], a[1], 0, b[0], b[1], 0));
    }
}

// Selects the Front Plane, opens a sketch, draws a w x h rectangle, closes it and selects it
// again for a feature; gives the sketch's name.
std::string rectangleOnFrontPlane(IModelDoc2* doc, double w, double h) {
    modelDocSelectByName(doc, "Front Plane", "PLANE", 0, 0, 0);
    EXPECT_EQ(modelDocInsertSketch(doc, VARIANT_TRUE), S_OK);
    IFeaturePtr sketch(modelDocGetActiveSketch(doc));
    EXPECT_TRUE(sketch);
    drawRectangle(doc, w, h);
    EXPECT_EQ(modelDocInsertSketch(doc, VARIANT_TRUE), S_OK);
    EXPECT_FALSE(modelDocGetEditedSketch(doc));
    const _bstr_t name = featureGetName(sketch);
    modelDocSelectByName(doc, name, "SKETCH", 0, 0, 0);
    return static_cast<const char*>(name);
}

IFeaturePtr bossExtrude(IModelDoc2* doc, double depth) {
    IFeatureManagerPtr manager = modelDocGetFeatureManager(doc);
    return featureCreateExtrusion(manager, VARIANT_TRUE, VARIANT_FALSE, VARIANT_FALSE, 0, 0, depth,
                                  depth, VARIANT_FALSE, VARIANT_FALSE, VARIANT_TRUE, VARIANT_TRUE,
                                  0.0, 0.0, VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE,
                                  VARIANT_FALSE, VARIANT_TRUE, VARIANT_FALSE, VARIANT_TRUE);
}

double solidVolume(IModelDoc2* doc) {
    IMassPropertyPtr mass = docExtCreateMassProperty(modelDocGetExtension(doc));
    return massPropGetVolume(mass);
}

TEST(SessionBuild, NewPartStartsFromTheTemplate) {
    ISldWorksPtr app = createSimulatedSldWorks();
    IModelDoc2Ptr doc(sldWorksNewPart(app));
    ASSERT_TRUE(doc);
    EXPECT_EQ(modelDocGetType(doc), 1);

    const auto rows = walkFeatures(doc);
    ASSERT_GE(rows.size(), 4u);
    // Non-geometric items come first, then the three planes in order.
    const std::size_t n = rows.size();
    EXPECT_NE(rows.front().type, "RefPlane");
    EXPECT_EQ(rows[n - 3].name, "Front Plane");
    EXPECT_EQ(rows[n - 2].name, "Top Plane");
    EXPECT_EQ(rows[n - 1].name, "Right Plane");
    for (std::size_t i = n - 3; i < n; ++i)
        EXPECT_EQ(rows[i].type, "RefPlane");
    // The new document is the session's first open document.
    IModelDoc2Ptr first(sldWorksGetFirstDocument(app));
    EXPECT_EQ(first, doc);
    EXPECT_FALSE(modelDocGetNext(doc));
}

TEST(SessionBuild, TemplatePlanesHaveTheAgreedNormals) {
    partFixtureC part;
    const struct {
        const char* name;
        double normal[3];
    } planes[] = {{"Front Plane", {0, 0, 1}}, {"Top Plane", {0, 1, 0}}, {"Right Plane", {1, 0, 0}}};
    for (const auto& plane : planes) {
        IRefPlanePtr refPlane(partDocFeatureByName(IPartDocPtr(part.doc()), plane.name));
        ASSERT_TRUE(refPlane) << plane.name;
        const auto geometry = readDoubleArray(refPlaneGetGeometry(refPlane), 9);
        for (int i = 0; i < 3; ++i) {
            EXPECT_DOUBLE_EQ(geometry[i], 0.0) << plane.name; // through the origin
            EXPECT_DOUBLE_EQ(geometry[6 + i], plane.normal[i]) << plane.name;
        }
    }
}

TEST(SessionBuild, RectangleOnFrontPlaneExtrudedGivesTheBlockVolume) {
    ISldWorksPtr app = createSimulatedSldWorks();
    IModelDoc2Ptr doc(sldWorksNewPart(app));
    testKitC& kit = sessionTestKit(app);

    const std::string sketchName = rectangleOnFrontPlane(doc, 10, 20);
    EXPECT_EQ(sketchName, "Sketch1");

    IFeaturePtr boss = bossExtrude(doc, 5);
    ASSERT_TRUE(boss);
    EXPECT_EQ(featureGetTypeName(boss), _bstr_t("Boss"));
    EXPECT_NEAR(solidVolume(doc), 1000.0, 1e-6);

    // The extrusion call arrived with its twenty values, in order.
    const auto calls = kit.journal().calls("IFeatureManager::CreateExtrusion");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args,
              (std::vector<std::string>{"-1", "0", "0", "0", "0", "5", "5", "0",  "0", "-1",
                                        "-1", "0", "0", "0", "0", "0", "0", "-1", "0", "-1"}));
    EXPECT_EQ(calls[0].hr, S_OK);
    EXPECT_EQ(calls[0].result, "object");
}

TEST(SessionBuild, SketchTransformOfTheFrontPlaneIsTheIdentity) {
    partFixtureC part;
    modelDocSelectByName(part.doc(), "Front Plane", "PLANE", 0, 0, 0);
    ASSERT_EQ(modelDocInsertSketch(part.doc(), VARIANT_TRUE), S_OK);
    ISketchPtr sketch(modelDocGetActiveSketch(part.doc()));
    ASSERT_TRUE(sketch);
    const auto data = readDoubleArray(sketchGetTransformData(sketch), 13);
    const double identity[13] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1};
    for (int i = 0; i < 13; ++i)
        EXPECT_DOUBLE_EQ(data[i], identity[i]) << i;
}

TEST(SessionBuild, DocumentExtrusionIsFoundByItsTypeName) {
    partFixtureC part;
    rectangleOnFrontPlane(part.doc(), 10, 20);
    EXPECT_EQ(modelDocCreateExtrusion(part.doc(), VARIANT_TRUE, VARIANT_FALSE, VARIANT_TRUE, 0, 0,
                                      5, 5, VARIANT_FALSE, VARIANT_FALSE, VARIANT_TRUE,
                                      VARIANT_TRUE, 0, 0, VARIANT_FALSE, VARIANT_FALSE),
              S_OK);
    const auto rows = walkFeatures(part.doc());
    EXPECT_EQ(rows.back().type, "Extrusion");
    // Reversed: the block lies behind the Front Plane.
    const swsim::Box box = part.model().box();
    EXPECT_NEAR(box.min.z, -5.0, 1e-9);
    EXPECT_NEAR(box.max.z, 0.0, 1e-9);
}

TEST(SessionBuild, ExtrusionWithoutSelectedSketchReportsFailureWithoutRaising) {
    partFixtureC part;
    EXPECT_EQ(modelDocCreateExtrusion(part.doc(), VARIANT_TRUE, VARIANT_FALSE, VARIANT_FALSE, 0, 0,
                                      5, 5, VARIANT_FALSE, VARIANT_FALSE, VARIANT_TRUE,
                                      VARIANT_TRUE, 0, 0, VARIANT_FALSE, VARIANT_FALSE),
              S_FALSE);
    EXPECT_FALSE(bossExtrude(part.doc(), 5));
    EXPECT_TRUE(part.model().bodies().empty());
}

TEST(SessionBuild, SketchCannotOpenWithoutAPlacement) {
    partFixtureC part;
    modelDocClearSelection(part.doc());
    EXPECT_EQ(modelDocInsertSketch(part.doc(), VARIANT_TRUE), S_FALSE);
    EXPECT_FALSE(modelDocGetEditedSketch(part.doc()));
}

TEST(SessionBuild, CutRemovesMaterialFromTheBlock) {
    partFixtureC part;
    part.block(10, 20, 5);
    const std::string hole = part.circleSketch("Front Plane", 5, 10, 2);
    modelDocSelectByName(part.doc(), hole.c_str(), "SKETCH", 0, 0, 0);
    // A cut goes against the sketch normal unless reversed; the block lies in front.
    IFeaturePtr cut = featureCreateCutExtrusion(
        modelDocGetFeatureManager(part.doc()), VARIANT_TRUE, VARIANT_FALSE, VARIANT_TRUE, 0, 0, 5,
        5, VARIANT_FALSE, VARIANT_FALSE, VARIANT_TRUE, VARIANT_TRUE, 0, 0, VARIANT_FALSE,
        VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, VARIANT_FALSE, VARIANT_TRUE);
    ASSERT_TRUE(cut);
    EXPECT_EQ(featureGetTypeName(cut), _bstr_t("Cut"));
    EXPECT_NEAR(solidVolume(part.doc()), 1000.0 - 3.141592653589793 * 4 * 5, 1e-6);
}

TEST(SessionBuild, PlaneThroughPointsIsAdoptedAndSelectable) {
    partFixtureC part;
    const _variant_t p1 = makeDoubleArray({0, 0, 7});
    const _variant_t p2 = makeDoubleArray({1, 0, 7});
    const _variant_t p3 = makeDoubleArray({0, 1, 7});
    EXPECT_EQ(modelDocCreatePlaneThroughPoints(part.doc(), p1, p2, p3, VARIANT_TRUE), VARIANT_TRUE);
    IFeaturePtr newest(docExtGetNewestFeature(modelDocGetExtension(part.doc())));
    ASSERT_TRUE(newest);
    EXPECT_EQ(featureGetTypeName(newest), _bstr_t("RefPlane"));
    featureSetName(newest, "Sketch plane");
    EXPECT_EQ(featureGetName(newest), _bstr_t("Sketch plane"));
    EXPECT_EQ(modelDocSelectByName(part.doc(), "Sketch plane", "PLANE", 0, 0, 0), VARIANT_TRUE);
    EXPECT_EQ(modelDocInsertSketch(part.doc(), VARIANT_TRUE), S_OK);
    // Collinear points make no plane.
    EXPECT_EQ(modelDocCreatePlaneThroughPoints(part.doc(), p1, p2, makeDoubleArray({2, 0, 7}),
                                               VARIANT_TRUE),
              VARIANT_FALSE);
}

TEST(SessionBuild, FeatureNameInUseChangesNothing) {
    partFixtureC part;
    IFeaturePtr plane(partDocFeatureByName(IPartDocPtr(part.doc()), "Top Plane"));
    featureSetName(plane, "Front Plane");
    EXPECT_EQ(featureGetName(plane), _bstr_t("Top Plane"));
}

} // namespace
