// Extruded and revolved features: the exact arguments of the one creation call, the answer,
// and the first-feature path through the document.
#include "libs/geomcore/sw3ddoc/body_features.h"
#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/testkit/journal_value.h"
#include "sw3ddoc_fixture.h"

#include <cmath>

namespace {

constexpr double pi = 3.141592653589793;

class BodyFeatures : public Sw3dDocTest {
protected:
    // A body feature node; `param` is the PARAM text, `extra` further properties.
    metaObjectC body(const std::string& tag, const std::string& param,
                     const std::string& extra = "") {
        return parse("(" + tag + " (NAME \"F\") (PARAM " + param + ")" + extra + ")");
    }
    void selectSketch(const std::string& name) {
        modelDocSelectByName(fixture.doc(), name.c_str(), "SKETCH", 0, 0, 0);
        fixture.kit().journal().clear();
    }
    int extrude(const metaObjectC& node, int cut, int first, int multibody = 0) {
        const m3dFeatExtrudeC view(node.getTreePtr());
        return createExtrusionFeature(view, cut, first, fixture.doc(), typeName, feature,
                                      multibody);
    }
    int revolve(const metaObjectC& node, int cut, int multibody = 0) {
        const m3dFeatRotateC view(node.getTreePtr());
        return createRevolutionFeature(view, cut, 1, fixture.doc(), typeName, feature, multibody);
    }
    static std::string d(double value) { return journalValue(value); }

    _bstr_t typeName;
    IFeaturePtr feature;
};

TEST_F(BodyFeatures, FirstExtrusionGoesThroughTheDocumentWithTheFifteenValueHead) {
    selectSketch(fixture.rectangleSketch("Front Plane", 0, 0, 10, 20));
    const metaObjectC node = body("BASE", "25.0 0 0", " (EXTDFTANGLE -5)");
    ASSERT_EQ(extrude(node, 0, 1), 0);
    const std::vector<std::string> expected = {"1",
                                               "0",
                                               "0",
                                               "0",
                                               "0",
                                               d(25.0),
                                               d(25.0),
                                               "1",
                                               "1",
                                               "1",
                                               "1",
                                               d(5 * pi / 180.0),
                                               d(5 * pi / 180.0),
                                               "0",
                                               "0"};
    EXPECT_EQ(onlyCall("IModelDoc2::CreateExtrusion"), expected);
    EXPECT_EQ(std::u16string(typeName), u"Extrusion");
    ASSERT_TRUE(feature) << "found as the last Extrusion";
    EXPECT_EQ(std::u16string(featureGetTypeName(feature)), u"Extrusion");
}

TEST_F(BodyFeatures, FirstPathAnswersTheStatusAndMayHaveNoFeature) {
    // No sketch selected: the document answers S_FALSE, which is the result.
    EXPECT_EQ(extrude(body("BASE", "25.0 0 0"), 0, 1), 1);
    EXPECT_FALSE(feature);
    // The call succeeds but the search finds no Extrusion: 0 with no feature.
    selectSketch(fixture.rectangleSketch("Front Plane", 0, 0, 10, 20));
    fixture.kit().plan().returnNull("IModelDoc2::FirstFeature");
    EXPECT_EQ(extrude(body("BASE", "25.0 0 0"), 0, 1), 0);
    EXPECT_FALSE(feature);
}

TEST_F(BodyFeatures, BossAndCutTakeTheTwentyValueCallWithTheirFlags) {
    fixture.block(40, 40, 10);
    selectSketch(fixture.rectangleSketch("Front Plane", 0, 0, 5, 5));
    // Axis y: single direction, BASE reverse true; draft 3 degrees inward (no outward flag).
    ASSERT_EQ(extrude(body("BASE", "8 1 0", " (EXTDFTANGLE 3)"), 0, 0, 2), 0);
    std::vector<std::string> boss = {"1",
                                     "0",
                                     "1",
                                     "0",
                                     "0",
                                     d(8),
                                     d(8),
                                     "1",
                                     "1",
                                     "0",
                                     "0",
                                     d(3 * pi / 180.0),
                                     d(3 * pi / 180.0),
                                     "0",
                                     "0",
                                     "0",
                                     "0",
                                     "1",
                                     "0",
                                     "-1"};
    EXPECT_EQ(onlyCall("IFeatureManager::CreateExtrusion"), boss);
    EXPECT_EQ(std::u16string(typeName), u"Boss");
    EXPECT_TRUE(feature);

    // Multibody 1 turns merging off; a tiny draft is no draft.
    selectSketch(fixture.rectangleSketch("Front Plane", 20, 20, 5, 5));
    ASSERT_EQ(extrude(body("BASE", "8 1 0", " (EXTDFTANGLE 0.00005)"), 0, 0, 1), 0);
    boss = {"1",
            "0",
            "1",
            "0",
            "0",
            d(8),
            d(8),
            "0",
            "0",
            "1",
            "1",
            d(0.00005 * pi / 180.0),
            d(0.00005 * pi / 180.0),
            "0",
            "0",
            "0",
            "0",
            "0",
            "0",
            "-1"};
    EXPECT_EQ(onlyCall("IFeatureManager::CreateExtrusion"), boss);

    // A cut never passes the merge flag and ignores the first-feature flag; axis y: R false.
    selectSketch(fixture.circleSketch("Front Plane", 10, 10, 3));
    ASSERT_EQ(extrude(body("CUT", "4 0.9999999 0"), 1, 1, 0), 0);
    const std::vector<std::string> cut = {"1", "0",  "1",  "0", "0", d(4), d(4), "0", "0", "1",
                                          "1", d(0), d(0), "0", "0", "0",  "0",  "0", "0", "-1"};
    EXPECT_EQ(onlyCall("IFeatureManager::CreateCutExtrusion"), cut);
    EXPECT_EQ(fixture.kit().journal().count("IModelDoc2::CreateExtrusion"), 0u);
    EXPECT_EQ(std::u16string(typeName), u"Cut");
}

TEST_F(BodyFeatures, AxisZMeansBothSidesAndCutReverse) {
    fixture.block(40, 40, 10);
    selectSketch(fixture.circleSketch("Front Plane", 10, 10, 3));
    ASSERT_EQ(extrude(body("CUT", "4 1 1"), 1, 0), 0);
    const auto args = onlyCall("IFeatureManager::CreateCutExtrusion");
    ASSERT_EQ(args.size(), 20u);
    EXPECT_EQ(args[0], "0");
    EXPECT_EQ(args[2], "1");
}

TEST_F(BodyFeatures, ACreationThatGivesNoFeatureAnswersOneAndAFailureKeepsTheOutputs) {
    fixture.block(40, 40, 10);
    EXPECT_EQ(extrude(body("BASE", "8 0 0"), 0, 0), 1) << "nothing selected";
    EXPECT_EQ(std::u16string(typeName), u"Boss");

    const IFeaturePtr before = feature;
    typeName = L"kept";
    fixture.kit().plan().failWith("IFeatureManager::CreateCutExtrusion", E_FAIL);
    EXPECT_THROW(extrude(body("CUT", "8 0 0"), 1, 0), _com_error);
    EXPECT_EQ(std::u16string(typeName), u"kept");

    EXPECT_THROW(createExtrusionFeature(m3dFeatExtrudeC(body("BASE", "1 0 0").getTreePtr()), 0, 0,
                                        nullptr, typeName, feature, 0),
                 _com_error);
}

TEST_F(BodyFeatures, RevolutionsPassAngleSenseAndType) {
    fixture.block(40, 40, 10);
    fixture.kit().journal().clear();
    // Nothing selected: no feature, answer 1, the arguments still exact.
    // PARAM (90, 0, 1): axis z, reverse true, type 2.
    EXPECT_EQ(revolve(body("BASE", "90 0 1"), 0, 1), 1);
    const double angle = 90.0 / 180.0 * pi;
    EXPECT_EQ(onlyCall("IFeatureManager::CreateRevolution"),
              (std::vector<std::string>{d(angle), "1", d(angle), "2", "1", "0", "-1", "-1"}));
    EXPECT_EQ(std::u16string(typeName), u"Revolution");

    fixture.kit().journal().clear();
    EXPECT_EQ(revolve(body("CUT", "180 1 0"), 1), 1);
    EXPECT_EQ(onlyCall("IFeatureManager::CreateCutRevolution"),
              (std::vector<std::string>{d(pi), "1", d(pi), "0", "1", "0", "-1"}));
    EXPECT_EQ(std::u16string(typeName), u"RevCut");

    // Axis x: reverse false; multibody other than 1 merges.
    fixture.kit().journal().clear();
    revolve(body("BASE", "45 0 0"), 0, 3);
    const double eighth = 45.0 / 180.0 * pi;
    EXPECT_EQ(onlyCall("IFeatureManager::CreateRevolution"),
              (std::vector<std::string>{d(eighth), "0", d(eighth), "0", "1", "1", "-1", "-1"}));
}

TEST_F(BodyFeatures, FindLastFeatureOfTypeTakesTheNewest) {
    const std::string first = fixture.block(10, 10, 10);
    const std::string second = fixture.extrude(fixture.circleSketch("Front Plane", 5, 5, 2), 4);
    (void)first;
    IFeaturePtr found;
    const _bstr_t name = findLastFeatureOfType(fixture.doc(), "Boss", found);
    EXPECT_EQ(mzComStringC(name).toUtf8(), second);
    ASSERT_TRUE(found);
    IFeaturePtr none;
    EXPECT_EQ(findLastFeatureOfType(fixture.doc(), "NoSuchType", none).length(), 0u);
    EXPECT_FALSE(none);
}

} // namespace
