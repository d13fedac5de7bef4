// Features beyond the block: holes by variant, cosmetic threads, revolutions, offset planes
// and foreign files.
#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/testkit/fixtures.h"
#include "tests/hostservices/temp_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

namespace {

constexpr double pi = 3.141592653589793;

double solidVolume(IModelDoc2* doc) {
    return massPropGetVolume(docExtCreateMassProperty(modelDocGetExtension(doc)));
}

IFace2Ptr faceAt(IModelDoc2* doc, double x, double y, double z) {
    const auto at = makeDoubleArray({x, y, z, 0, 0, 0, 1e-6});
    if (modelDocSelectAtPointAndNormal(doc, at, 2) != VARIANT_TRUE)
        return IFace2Ptr();
    IFace2Ptr face(selMgrGetSelectedObject(modelDocGetSelectionManager(doc), 1));
    modelDocClearSelection(doc);
    return face;
}

// Selects the face at the pick point and makes a hole of the variant with d[0..13].
IFeaturePtr hole(IModelDoc2* doc, IFace2* face, double x, double y, double z,
                 const double (&d)[14]) {
    ISelectionDataPtr data(selMgrCreateSelectionData(modelDocGetSelectionManager(doc)));
    selDataSetX(data, x);
    selDataSetY(data, y);
    selDataSetZ(data, z);
    EXPECT_EQ(entitySelectWithData(IEntityPtr(face), VARIANT_FALSE, data), VARIANT_TRUE);
    return featMgrCreateHole(modelDocGetFeatureManager(doc), 5, -1, -1, "", VARIANT_FALSE, d[0],
                             d[1], d[2], d[3], d[4], d[5], d[6], d[7], d[8], d[9], d[10], d[11],
                             d[12], d[13], "", VARIANT_FALSE, VARIANT_TRUE, VARIANT_TRUE,
                             VARIANT_TRUE, VARIANT_TRUE, VARIANT_FALSE);
}

class SessionHoles : public ::testing::Test {
protected:
    void SetUp() override {
        part.block(10, 20, 5);
        top = faceAt(part.doc(), 5, 10, 5);
        ASSERT_TRUE(top);
    }
    partFixtureC part;
    IFace2Ptr top;
};

TEST_F(SessionHoles, PlainHoleGoesIntoTheMaterialAtThePickPoint) {
    const double d[14] = {2, 3, 0, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    IFeaturePtr made = hole(part.doc(), top, 5, 10, 5, d);
    ASSERT_TRUE(made);
    EXPECT_NEAR(solidVolume(part.doc()), 1000 - pi * 1 * 3, 1e-6);
    // The hole's wall passes 1 from the pick point, 1.5 deep.
    EXPECT_TRUE(faceAt(part.doc(), 6, 10, 3.5));

    const auto calls = part.kit().journal().calls("IFeatureManager::CreateHole");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args.size(), 26u); // 3 ints, text, flag, 14 doubles, text, 6 flags
    EXPECT_EQ(calls[0].args[5], "2");
    EXPECT_EQ(calls[0].args[7], "0");
}

TEST_F(SessionHoles, CounterboreTakesTheFirstPartOfTheDepth) {
    const double d[14] = {2, 4, 2, 4, 1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    ASSERT_TRUE(hole(part.doc(), top, 5, 10, 5, d));
    EXPECT_NEAR(solidVolume(part.doc()), 1000 - pi * 4 * 1 - pi * 1 * 3, 1e-6);
}

TEST_F(SessionHoles, UnknownVariantMakesNothing) {
    const double d[14] = {2, 3, 12, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    EXPECT_FALSE(hole(part.doc(), top, 5, 10, 5, d));
    EXPECT_NEAR(solidVolume(part.doc()), 1000, 1e-6);
}

TEST(SessionThreads, CosmeticThreadNeedsACircularEdge) {
    partFixtureC part;
    part.block(10, 20, 5);
    part.extrude(part.circleSketch("Front Plane", 5, 10, 2), 5, true, true);
    IBodyPtr body(readObjectArray(partDocGetBodies(IPartDocPtr(part.doc()), 0)).front());
    IEdgePtr circle;
    IEdgePtr straight;
    for (const auto& object : readObjectArray(bodyGetEdges(body))) {
        IEdgePtr edge(object);
        (curveIsCircle(ICurvePtr(edgeGetCurve(edge))) == VARIANT_TRUE ? circle : straight) = edge;
    }
    ASSERT_TRUE(circle);
    ASSERT_TRUE(straight);
    const auto params = readDoubleArray(curveGetCircleParams(ICurvePtr(edgeGetCurve(circle))), 7);
    EXPECT_NEAR(params[6], 2.0, 1e-9);

    IFeatureManagerPtr manager = modelDocGetFeatureManager(part.doc());
    entitySelect(IEntityPtr(straight), VARIANT_FALSE);
    EXPECT_FALSE(featMgrInsertCosmeticThread(manager, 0, 4, 5, "M4"));
    entitySelect(IEntityPtr(circle), VARIANT_FALSE);
    IFeaturePtr thread = featMgrInsertCosmeticThread(manager, 0, 4, 5, "M4");
    ASSERT_TRUE(thread);
    EXPECT_EQ(featureGetTypeName(thread), _bstr_t("CosmeticThread"));
}

TEST(SessionRevolution, RingAboutTheCentreLine) {
    partFixtureC part;
    modelDocSelectByName(part.doc(), "Front Plane", "PLANE", 0, 0, 0);
    ASSERT_EQ(modelDocInsertSketch(part.doc(), VARIANT_TRUE), S_OK);
    const double corners[4][2] = {{1, 0}, {3, 0}, {3, 4}, {1, 4}};
    for (int i = 0; i < 4; ++i)
        modelDocCreateLine(part.doc(), corners[i][0], corners[i][1], 0, corners[(i + 1) % 4][0],
                           corners[(i + 1) % 4][1], 0);
    segmentSetCenterlineFlag(ISketchSegmentPtr(modelDocCreateLine(part.doc(), 0, -5, 0, 0, 5, 0)),
                             VARIANT_TRUE);
    const _bstr_t name = featureGetName(IFeaturePtr(modelDocGetActiveSketch(part.doc())));
    modelDocInsertSketch(part.doc(), VARIANT_TRUE);
    modelDocSelectByName(part.doc(), name, "SKETCH", 0, 0, 0);
    IFeaturePtr revolution =
        featureCreateRevolution(modelDocGetFeatureManager(part.doc()), 2 * pi, VARIANT_FALSE,
                                2 * pi, 0, 1, VARIANT_TRUE, VARIANT_TRUE, VARIANT_TRUE);
    ASSERT_TRUE(revolution);
    EXPECT_EQ(featureGetTypeName(revolution), _bstr_t("Revolution"));
    EXPECT_NEAR(solidVolume(part.doc()), pi * (9 - 1) * 4, 1e-6);
}

TEST(SessionPlanes, OffsetPlaneFromTheSelectedPlane) {
    partFixtureC part;
    modelDocSelectByName(part.doc(), "Front Plane", "PLANE", 0, 0, 0);
    IRefPlanePtr plane(modelDocCreateOffsetPlane(part.doc(), 7, VARIANT_TRUE, VARIANT_TRUE));
    ASSERT_TRUE(plane);
    const auto geometry = readDoubleArray(refPlaneGetGeometry(plane), 9);
    EXPECT_NEAR(geometry[2], -7.0, 1e-12); // flipped: against the normal
    modelDocClearSelection(part.doc());
    EXPECT_FALSE(modelDocCreateOffsetPlane(part.doc(), 7, VARIANT_FALSE, VARIANT_TRUE));
}

TEST(SessionForeign, StepFileBecomesAnImportedBody) {
    const TempFolder folder;
    const std::filesystem::path path = folder.path() / "source.step";
    {
        partFixtureC source;
        source.block(10, 20, 5);
        source.model().exportStep(path.string());
    }
    partFixtureC part;
    const _bstr_t file(path.string().c_str());
    IDispatchPtr data = sldWorksImportDataFor(part.app(), file);
    long error = -1;
    IDispatchPtr loaded = sldWorksLoadFileWithData(part.app(), file, "i", data, error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(IModelDoc2Ptr(loaded), part.docPtr());
    EXPECT_NEAR(solidVolume(part.doc()), 1000, 1e-3);

    // A file that cannot be read is reported through the error code, not raised, and the
    // session's messages say why, once.
    EXPECT_FALSE(sldWorksLoadFileWithData(part.app(), (path.string() + ".missing").c_str(), "i",
                                          data, error));
    EXPECT_EQ(error, 1);
    _variant_t texts;
    _variant_t ids;
    _variant_t types;
    ASSERT_EQ(sldWorksGetErrorMessages(part.app(), texts, ids, types), 1);
    EXPECT_EQ(std::string(readBstrArray(texts).at(0)),
              "import of " + path.filename().string() +
                  ".missing: the file is none of STEP (.step, .stp), IGES (.igs, .iges) and "
                  "BREP (.brep, .brp)");
    EXPECT_EQ(readLongArray(ids), std::vector<long>{0});
    EXPECT_EQ(readLongArray(types), std::vector<long>{0x10}); // MB_ICONERROR
    EXPECT_EQ(sldWorksGetErrorMessages(part.app(), texts, ids, types), 0);
    // The last 20 are kept.
    for (int attempt = 0; attempt < 25; ++attempt)
        sldWorksLoadFileWithData(part.app(), ("attempt" + std::to_string(attempt)).c_str(), "i",
                                 data, error);
    ASSERT_EQ(sldWorksGetErrorMessages(part.app(), texts, ids, types), 20);
    EXPECT_EQ(std::string(readBstrArray(texts).at(0)).rfind("import of attempt5:", 0), 0u);
}

} // namespace
