// Drillings as hole features: the variant and the fourteen doubles, the refusals with their
// text, and the hole made on a real face.
#include "libs/KvorCadComm/app_environment.h"
#include "libs/KvorCadComm/resource_text.h"
#include "libs/geomcore/sw3ddoc/drilling_feature.h"
#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/testkit/journal_value.h"
#include "sw3ddoc_fixture.h"

#include <cmath>

namespace {

constexpr double pi = 3.141592653589793;

double rad(double degrees) {
    return degrees * pi / 180.0;
}

class DrillingFeature : public Sw3dDocTest {
protected:
    metaObjectC drilling(const std::string& values) {
        return parse("(DRILLING (NAME \"D1\") (STARTPOINT 20 20 10) (DIRECTION 0 0 -1) " + values +
                     ")");
    }
    drillingHoleArgsS args(const std::string& values) {
        const metaObjectC node = drilling(values);
        m3dFeatDrillingC view(node.getTreePtr());
        return drillingHoleArgs(view);
    }
    // The face of the part whose outward normal is +Z.
    IFace2Ptr topFace() {
        const IPartDocPtr part(fixture.doc());
        const auto bodies = readObjectArray(partDocGetBodies(part, 0));
        EXPECT_FALSE(bodies.empty());
        for (IDispatchPtr f = bodyGetFirstFace(IBodyPtr(bodies.front())); f;
             f = faceGetNextFace(IFace2Ptr(f))) {
            const _variant_t normal = faceGetNormal(IFace2Ptr(f));
            if (variantHoldsArray(normal) && doubleArrayAt(normal, 2) > 0.5)
                return IFace2Ptr(f);
        }
        ADD_FAILURE() << "no top face";
        return IFace2Ptr();
    }
    static void expectDoubles(const drillingHoleArgsS& a, const std::vector<double>& first) {
        for (std::size_t i = 0; i < 14; ++i) {
            const double want = i < first.size() ? first[i] : -1.0;
            EXPECT_NEAR(a.d[i], want, 1e-12) << "D" << i + 1;
        }
    }
};

TEST_F(DrillingFeature, PlainCounterboredAndCountersunkHolesWithoutTip) {
    auto a = args("(DIAMETER 10) (DEPTH 20)");
    EXPECT_EQ(a.variant, 0);
    expectDoubles(a, {10, 20, 0});

    a = args("(DIAMETER 10) (DEPTH 20) (COUNTERBOREDIAMETER 16) (COUNTERBOREDEPTH 4)");
    EXPECT_EQ(a.variant, 2);
    expectDoubles(a, {10, 20, 2, 16, 4});

    a = args("(DIAMETER 10) (DEPTH 20) (COUNTERSINKDEPTH 1) (COUNTERSINKANGLE 90)");
    EXPECT_EQ(a.variant, 3);
    expectDoubles(a, {10, 20, 3, rad(90), 12});

    // Countersink ending at the counterbore's diameter: one stepped form.
    a = args("(DIAMETER 10) (DEPTH 20) (COUNTERSINKDEPTH 1) (COUNTERSINKANGLE 90) "
             "(COUNTERBOREDEPTH 3) (COUNTERBOREDIAMETER 12)");
    EXPECT_EQ(a.variant, 4);
    expectDoubles(a, {10, 20, 4, 12, 3, rad(90)});
}

TEST_F(DrillingFeature, TipRemovesTheConeFromTheDepth) {
    const double cyl = 20 - 5 * std::sin(rad(31)) / std::sin(rad(59));
    auto a = args("(DIAMETER 10) (DEPTH 20) (SINKANGLE 118)");
    EXPECT_EQ(a.variant, 5);
    expectDoubles(a, {10, cyl, 5, rad(118)});

    a = args("(DIAMETER 10) (DEPTH 20) (SINKANGLE 118) (COUNTERBOREDIAMETER 16) "
             "(COUNTERBOREDEPTH 4)");
    EXPECT_EQ(a.variant, 7);
    expectDoubles(a, {10, cyl, 7, 16, 4, rad(118)});

    a = args("(DIAMETER 10) (DEPTH 20) (SINKANGLE 118) (COUNTERSINKDEPTH 1) "
             "(COUNTERSINKANGLE 90)");
    EXPECT_EQ(a.variant, 8);
    expectDoubles(a, {10, cyl, 8, 12, rad(90), rad(118)});

    a = args("(DIAMETER 10) (DEPTH 20) (SINKANGLE 118) (COUNTERSINKDEPTH 1) "
             "(COUNTERSINKANGLE 90) (COUNTERBOREDEPTH 3) (COUNTERBOREDIAMETER 12)");
    EXPECT_EQ(a.variant, 9);
    expectDoubles(a, {10, cyl, 9, 12, 3, rad(118), rad(90)});
}

TEST_F(DrillingFeature, ConicalHoles) {
    const double small = 10 - 2 * 20 * std::sin(rad(2)) / std::sin(rad(88));
    auto a = args("(DIAMETER 10) (DEPTH 20) (CONIC 1) (CONEANGLE 4)");
    EXPECT_EQ(a.variant, 1);
    EXPECT_TRUE(a.buildable);
    expectDoubles(a, {small, 20, 1, 10});

    const double cyl = 20 - 5 * std::sin(rad(31)) / std::sin(rad(59));
    const double small6 = 10 - 2 * cyl * std::sin(rad(2)) / std::sin(rad(88));
    a = args("(DIAMETER 10) (DEPTH 20) (CONIC 1) (CONEANGLE 4) (SINKANGLE 118) "
             "(COUNTERBOREDIAMETER 14)");
    EXPECT_EQ(a.variant, 6);
    EXPECT_FALSE(a.buildable) << "a counterbore diameter stops a conical hole";
    expectDoubles(a, {10, cyl, 6, small6, rad(118)});
}

TEST_F(DrillingFeature, RefusedForms) {
    const char* refused[] = {
        "(DIAMETER 10) (DEPTH 20) (ENDCOUNTERBOREDIAMETER 12)",
        "(DIAMETER 10) (DEPTH 20) (CONIC 1) (ENDCOUNTERSINKDEPTH 0.5)",
        // countersink and counterbore of different diameters, with and without a tip
        "(DIAMETER 10) (DEPTH 20) (SINKANGLE 118) (COUNTERSINKDEPTH 1) (COUNTERSINKANGLE 90) "
        "(COUNTERBOREDEPTH 3) (COUNTERBOREDIAMETER 14)",
        "(DIAMETER 10) (DEPTH 20) (COUNTERSINKDEPTH 1) (COUNTERSINKANGLE 90) "
        "(COUNTERBOREDEPTH 3) (COUNTERBOREDIAMETER 14)",
        // no cylinder left after the tip; no depth; a cone that closes before its end
        "(DIAMETER 10) (DEPTH 2) (SINKANGLE 118)",
        "(DIAMETER 10) (DEPTH 0)",
        "(DIAMETER 10) (DEPTH 200) (CONIC 1) (CONEANGLE 10)",
    };
    for (const char* values : refused)
        EXPECT_EQ(args(values).variant, -1) << values;
}

TEST_F(DrillingFeature, ARefusalGivesTheTranslatedTextAndNoCall) {
    fixture.block(40, 40, 10);
    const metaObjectC node = drilling("(DIAMETER 10) (DEPTH 5) (ENDCOUNTERBOREDIAMETER 12)");
    mzComStringC error;
    fixture.kit().journal().clear();
    const IFeaturePtr hole =
        createDrillingFeat(fixture.docPtr(), m3dFeatDrillingC(node.getTreePtr()), topFace(), error);
    EXPECT_FALSE(hole);
    EXPECT_EQ(error, translateResourceText("Msg_3dExport_002", getAppName()).arg("Solidworks"));
    EXPECT_EQ(error.toUtf8(), "The drilling cannot be built in Solidworks.");
    EXPECT_EQ(fixture.kit().journal().count("IFeatureManager::CreateHole"), 0u);
}

TEST_F(DrillingFeature, MakesTheHoleOnTheFaceAtTheStartPoint) {
    fixture.block(40, 40, 10);
    const IFace2Ptr face = topFace();
    fixture.kit().journal().clear();
    const metaObjectC node = drilling("(DIAMETER 6) (DEPTH 5)");
    mzComStringC error;
    const IFeaturePtr hole =
        createDrillingFeat(fixture.docPtr(), m3dFeatDrillingC(node.getTreePtr()), face, error);
    ASSERT_TRUE(hole);
    EXPECT_TRUE(error.isEmpty());
    const auto pick = fixture.kit().journal().calls("ISelectionData::SetX");
    ASSERT_EQ(pick.size(), 1u);
    EXPECT_EQ(pick[0].args[0], "20");
    std::vector<std::string> expected = {"5", "-1", "-1", "\"\"", "0", "6", "5", "0"};
    for (int i = 0; i < 11; ++i)
        expected.push_back("-1");
    for (const char* rest : {"\"\"", "0", "-1", "-1", "-1", "-1", "0"})
        expected.push_back(rest);
    EXPECT_EQ(onlyCall("IFeatureManager::CreateHole"), expected);

    // The volume lost is the hole's cylinder.
    IMassPropertyPtr mass = docExtCreateMassProperty(modelDocGetExtension(fixture.doc()));
    EXPECT_NEAR(massPropGetVolume(mass), 40 * 40 * 10 - pi * 9 * 5, 1e-6);
}

TEST_F(DrillingFeature, NoSelectionOrAConicalHoleWithCounterboreGiveNothingWithoutText) {
    fixture.block(40, 40, 10);
    const IFace2Ptr face = topFace();
    mzComStringC error;
    fixture.kit().plan().returnNull("IEntity::SelectWithData");
    EXPECT_FALSE(createDrillingFeat(
        fixture.docPtr(), m3dFeatDrillingC(drilling("(DIAMETER 6) (DEPTH 5)").getTreePtr()), face,
        error));
    fixture.kit().plan().clear();
    const metaObjectC conic =
        drilling("(DIAMETER 6) (DEPTH 5) (CONIC 1) (CONEANGLE 2) (COUNTERBOREDIAMETER 9)");
    fixture.kit().journal().clear();
    EXPECT_FALSE(
        createDrillingFeat(fixture.docPtr(), m3dFeatDrillingC(conic.getTreePtr()), face, error));
    EXPECT_EQ(fixture.kit().journal().count("IFeatureManager::CreateHole"), 0u);
    EXPECT_TRUE(error.isEmpty());

    // A face without the entity interface is a COM error.
    fixture.kit().plan().refuseInterface("IEntity");
    EXPECT_THROW(
        createDrillingFeat(fixture.docPtr(),
                           m3dFeatDrillingC(drilling("(DIAMETER 6) (DEPTH 5)").getTreePtr()), face,
                           error),
        _com_error);
}

} // namespace
