// Document data through the COM interfaces: custom properties per document and
// configuration with their types, summary information, unit arrays, preferences, mass
// properties, the unsaved-changes flag and saving, copies and previews, opening documents by
// path, and the fault plan reaching the caller of the new calls.
#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

namespace {

namespace fs = std::filesystem;

std::string text(const _bstr_t& value) {
    return value.length() == 0 ? std::string() : std::string(static_cast<const char*>(value));
}

std::vector<std::string> texts(const _variant_t& names) {
    std::vector<std::string> out;
    for (const auto& name : readBstrArray(names))
        out.push_back(text(name));
    return out;
}

template <class Call> HRESULT failureOf(Call call) {
    try {
        call();
    } catch (const _com_error& e) {
        return e.Error();
    }
    return S_OK;
}

class SessionDocumentData : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::path(::testing::TempDir()) /
                 ("sldworks_data_" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string file(const std::string& name) const { return (folder / name).string(); }

    fs::path folder;
};

TEST_F(SessionDocumentData, CustomPropertiesPerDocumentAndConfigurationKeepTheirTypes) {
    partFixtureC part;
    part.configuration("Light");
    IModelDoc2* doc = part.doc();
    EXPECT_EQ(modelDocAddCustomValue(doc, "", "Material", 30, "Steel"), VARIANT_TRUE);
    EXPECT_EQ(modelDocAddCustomValue(doc, "", "Weight", 3, "2.5"), VARIANT_TRUE);
    EXPECT_EQ(modelDocAddCustomValue(doc, "Light", "Material", 30, "Aluminium"), VARIANT_TRUE);
    // Names compare case-sensitively; a name in use is refused; so is an unknown
    // configuration.
    EXPECT_EQ(modelDocAddCustomValue(doc, "", "material", 30, "x"), VARIANT_TRUE);
    EXPECT_EQ(modelDocAddCustomValue(doc, "", "Material", 30, "Iron"), VARIANT_FALSE);
    EXPECT_EQ(modelDocAddCustomValue(doc, "Nowhere", "Material", 30, "Iron"), VARIANT_FALSE);

    EXPECT_EQ(texts(modelDocGetCustomNames(doc, "")),
              (std::vector<std::string>{"Material", "Weight", "material"}));
    EXPECT_EQ(texts(modelDocGetCustomNames(doc, "Light")), std::vector<std::string>{"Material"});
    EXPECT_EQ(texts(modelDocGetCustomNames(doc, "Default")), std::vector<std::string>{});
    EXPECT_FALSE(variantHoldsArray(modelDocGetCustomNames(doc, "Nowhere")));

    modelDocSetCustomValue(doc, "", "Material", "Iron");
    modelDocSetCustomValue(doc, "", "Colour", "Red"); // not there: nothing is created
    EXPECT_EQ(text(modelDocGetCustomValue(doc, "", "Material")), "Iron");
    EXPECT_EQ(text(modelDocReadCustomProperty(doc, "Light", "Material")), "Aluminium");
    EXPECT_EQ(text(modelDocReadCustomProperty(doc, "", "Colour")), "");

    _variant_t names;
    _variant_t types;
    _variant_t values;
    const long count = customPropertyManagerGetAll(
        docExtGetCustomPropertyManager(modelDocGetExtension(doc), ""), names, types, values);
    ASSERT_EQ(count, 3);
    EXPECT_EQ(texts(names), (std::vector<std::string>{"Material", "Weight", "material"}));
    EXPECT_EQ(texts(values), (std::vector<std::string>{"Iron", "2.5", "x"}));
    ASSERT_EQ(types.vt, VT_ARRAY | VT_I4);
    LONG index = 1;
    LONG type = 0;
    SafeArrayGetElement(types.parray, &index, &type);
    EXPECT_EQ(type, 3);
    EXPECT_FALSE(docExtGetCustomPropertyManager(modelDocGetExtension(doc), "Nowhere"));
}

TEST_F(SessionDocumentData, SummaryUnitsAndPreferencesAreStoredAndSurviveSaving) {
    partFixtureC part;
    part.block(10, 10, 10);
    IModelDoc2* doc = part.doc();
    modelDocSetSummaryInfo(doc, 0, "Bracket");
    modelDocSetSummaryInfo(doc, 4, "Checked");
    EXPECT_EQ(failureOf([&] { modelDocGetSummaryInfo(doc, 5); }), E_INVALIDARG);
    EXPECT_EQ(failureOf([&] { modelDocSetSummaryInfo(doc, -1, "x"); }), E_INVALIDARG);
    part.model().setLengthUnit(3);
    part.model().setAngleUnit(3);
    VARIANT_BOOL done = VARIANT_FALSE;
    ASSERT_EQ(doc->SetIntegerPreference(51, 2, &done), S_OK); // the angle unit: seconds
    EXPECT_EQ(done, VARIANT_TRUE);
    ASSERT_EQ(doc->SetIntegerPreference(51, 7, &done), S_OK);
    EXPECT_EQ(done, VARIANT_FALSE) << "no such angle unit";
    modelDocSetDoublePreference(doc, 7, 7850.0);
    modelDocAddCustomValue(doc, "", "Material", 30, "Steel");
    part.model().addConfiguration("Light");

    const std::string path = file("Bracket.sldprt");
    EXPECT_EQ(modelDocGetBoolSlot473(doc), VARIANT_TRUE);
    EXPECT_EQ(modelDocCallSlot508(doc, 1), 1); // no path yet: not saved
    part.model().save(path);
    EXPECT_EQ(modelDocGetBoolSlot473(doc), VARIANT_FALSE);
    modelDocSetSummaryInfo(doc, 2, "Ann");
    EXPECT_EQ(modelDocGetBoolSlot473(doc), VARIANT_TRUE);
    EXPECT_EQ(modelDocCallSlot508(doc, 1), 0);
    EXPECT_EQ(modelDocGetBoolSlot473(doc), VARIANT_FALSE);

    // Reopened in a new session.
    ISldWorksPtr app = createSimulatedSldWorks();
    long errors = -1;
    long warnings = -1;
    IModelDoc2Ptr reopened = sldWorksOpenDocument(app, path.c_str(), 1, 1, "", errors, warnings);
    ASSERT_TRUE(reopened);
    EXPECT_EQ(errors, 0);
    EXPECT_EQ(text(modelDocGetSummaryInfo(reopened, 0)), "Bracket");
    EXPECT_EQ(text(modelDocGetSummaryInfo(reopened, 2)), "Ann");
    EXPECT_EQ(text(modelDocGetSummaryInfo(reopened, 1)), "");
    _variant_t units = modelDocGetLengthUnitArray(reopened);
    ASSERT_EQ(units.vt, VT_ARRAY | VT_I2);
    LONG index = 0;
    short unit = -1;
    SafeArrayGetElement(units.parray, &index, &unit);
    EXPECT_EQ(unit, 3);
    units = modelDocGetAngleUnitArray(reopened);
    SafeArrayGetElement(units.parray, &index, &unit);
    EXPECT_EQ(unit, 2) << "one setting with preference 51";
    EXPECT_EQ(modelDocGetIntegerPreference(reopened, 51), 2);
    double density = 0.0;
    ASSERT_EQ(reopened->GetDoublePreference(7, &density), S_OK);
    EXPECT_DOUBLE_EQ(density, 7850.0);
    EXPECT_EQ(text(modelDocGetCustomValue(reopened, "", "Material")), "Steel");
    EXPECT_EQ(texts(modelDocGetVariantSlot459(reopened)),
              (std::vector<std::string>{"Default", "Light"}));
    EXPECT_EQ(modelDocGetBoolSlot473(reopened), VARIANT_FALSE);
}

TEST_F(SessionDocumentData, MassIsTheVolumeTimesTheDensityUnlessGiven) {
    partFixtureC part;
    part.block(10, 20, 5);
    IModelDoc2* doc = part.doc();
    const IMassPropertyPtr mass = docExtCreateMassProperty(modelDocGetExtension(doc));
    EXPECT_NEAR(massPropGetVolume(mass), 1000.0, 1e-6);
    EXPECT_NEAR(part.model().mass(), 1000.0 * 1000.0, 1e-3); // default density 1000
    modelDocSetDoublePreference(doc, 7, 7.85);
    EXPECT_NEAR(part.model().mass(), 7850.0, 1e-6);
    std::vector<double> centre = readDoubleArray(massPropGetCenterOfGravity(mass), 3);
    EXPECT_NEAR(centre[0], 5.0, 1e-6);
    EXPECT_NEAR(centre[1], 10.0, 1e-6);
    EXPECT_NEAR(centre[2], 2.5, 1e-6);

    // Without a flag nothing is written; with both, mass and centre are the given ones.
    EXPECT_EQ(massPropApplyValues(mass, 3.0, 1, 2, 3, 2, _variant_t(0)), VARIANT_FALSE);
    massPropUseGivenMass(mass, VARIANT_TRUE);
    EXPECT_EQ(massPropApplyValues(mass, 3.0, 1, 2, 3, 2, _variant_t(0)), VARIANT_TRUE);
    EXPECT_DOUBLE_EQ(part.model().mass(), 3.0);
    centre = readDoubleArray(massPropGetCenterOfGravity(mass), 3);
    EXPECT_NEAR(centre[0], 5.0, 1e-6); // the centre was not given
    massPropUseGivenCenter(mass, VARIANT_TRUE);
    massPropApplyValues(mass, 4.0, 1, 2, 3, 2, _variant_t(0));
    centre = readDoubleArray(
        massPropGetCenterOfGravity(docExtCreateMassProperty(modelDocGetExtension(doc))), 3);
    EXPECT_EQ(centre, (std::vector<double>{1, 2, 3}));
    EXPECT_DOUBLE_EQ(part.model().mass(), 4.0);
}

TEST_F(SessionDocumentData, PreviewsAreWrittenAndSatIsRefused) {
    partFixtureC part;
    part.block(10, 20, 5);
    IModelDoc2* doc = part.doc();
    const std::string bitmap = file("preview.bmp");
    EXPECT_EQ(modelDocSaveBitmap(doc, bitmap.c_str(), 300, 300), VARIANT_TRUE);
    std::ifstream in(bitmap, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 54u + 300u * 300u * 3u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    auto u32 = [&](size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at])) |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 2])) << 16;
    };
    EXPECT_EQ(u32(18), 300u);
    EXPECT_EQ(u32(22), 300u);
    size_t painted = 0;
    for (size_t i = 54; i < bytes.size(); ++i)
        painted += static_cast<unsigned char>(bytes[i]) != 255;
    EXPECT_GT(painted, 300u * 300u / 10u); // the part covers a good part of the picture
    EXPECT_EQ(modelDocSaveBitmap(doc, bitmap.c_str(), 0, 300), VARIANT_FALSE);

    modelDocCallSlot433(doc, file("preview.stl").c_str(), -1);
    modelDocCallSlot433(doc, file("preview.step").c_str(), -1);
    EXPECT_GT(fs::file_size(folder / "preview.stl"), 84u);
    std::ifstream step(file("preview.step"));
    std::string first;
    std::getline(step, first);
    EXPECT_EQ(first.rfind("ISO-10303-21", 0), 0u);
    EXPECT_EQ(failureOf([&] { modelDocCallSlot433(doc, file("preview.sat").c_str(), -1); }),
              E_FAIL);
    EXPECT_FALSE(fs::exists(folder / "preview.sat"));
    EXPECT_EQ(failureOf([&] { modelDocCallSlot433(doc, file("preview.xyz").c_str(), -1); }),
              E_INVALIDARG);
}

TEST_F(SessionDocumentData, StlInInchesWhenTheApplicationSettingSaysSo) {
    partFixtureC part;
    part.block(254, 254, 254);
    sldWorksSetIntegerSetting(part.app(), 211, 3);
    modelDocCallSlot433(part.doc(), file("inch.stl").c_str(), -1);
    sldWorksSetIntegerSetting(part.app(), 211, 0);
    modelDocCallSlot433(part.doc(), file("mm.stl").c_str(), -1);
    // The largest x over all vertices of a binary STL file; no triangles gives no value.
    auto largestX = [](const std::string& path) -> std::optional<float> {
        std::ifstream in(path, std::ios::binary);
        in.seekg(80);
        std::uint32_t triangles = 0;
        in.read(reinterpret_cast<char*>(&triangles), 4);
        if (!in || triangles == 0)
            return std::nullopt;
        float largest = -1e30f;
        for (std::uint32_t t = 0; t < triangles; ++t) {
            char record[50];
            in.read(record, 50);
            if (!in)
                return std::nullopt;
            for (int v = 0; v < 3; ++v) {
                float x = 0;
                std::memcpy(&x, record + 12 + 12 * v, 4);
                largest = std::max(largest, x);
            }
        }
        return largest;
    };
    const std::optional<float> xInch = largestX(file("inch.stl"));
    const std::optional<float> xMm = largestX(file("mm.stl"));
    ASSERT_TRUE(xInch.has_value()) << "no triangles in inch.stl";
    ASSERT_TRUE(xMm.has_value()) << "no triangles in mm.stl";
    // The 254 mm block is 10 inches wide.
    EXPECT_NEAR(*xInch, 10.0f, 1e-3f);
    EXPECT_NEAR(*xMm, 254.0f, 1e-2f);
}

TEST_F(SessionDocumentData, OpeningByPathChecksTheTypeAndReusesOpenDocuments) {
    partFixtureC part;
    part.block(10, 10, 10);
    const std::string path = file("Block.sldprt");
    part.model().save(path);
    long errors = 0;
    long warnings = 0;
    // Already open: the same document.
    EXPECT_EQ(sldWorksOpenDocument(part.app(), path.c_str(), 1, 1, "", errors, warnings),
              part.docPtr());

    ISldWorksPtr app = createSimulatedSldWorks();
    EXPECT_FALSE(sldWorksOpenDocument(app, path.c_str(), 2, 1, "", errors, warnings));
    EXPECT_EQ(errors, 1);
    EXPECT_FALSE(sldWorksGetFirstDocument(app));
    EXPECT_FALSE(
        sldWorksOpenDocument(app, file("Missing.sldprt").c_str(), 1, 1, "", errors, warnings));
    EXPECT_EQ(errors, 2);
    std::ofstream(file("Foreign.sldprt")) << "not a part";
    EXPECT_FALSE(
        sldWorksOpenDocument(app, file("Foreign.sldprt").c_str(), 1, 1, "", errors, warnings));
    EXPECT_EQ(errors, 1);

    IModelDoc2Ptr opened = sldWorksOpenDocument(app, path.c_str(), 1, 1, "", errors, warnings);
    ASSERT_TRUE(opened);
    EXPECT_EQ(text(modelDocGetPathName(opened)), path);
    EXPECT_EQ(IModelDoc2Ptr(sldWorksGetFirstDocument(app)), opened);
    // Loading by path answers the open document; closing it removes it from the session.
    EXPECT_EQ(IModelDoc2Ptr(sldWorksCallSlot9(app, path.c_str(), 1)), opened);
    sldWorksCloseDocument(app, path.c_str());
    EXPECT_FALSE(sldWorksGetFirstDocument(app));
    IModelDoc2Ptr again(sldWorksCallSlot9(app, path.c_str(), 1));
    ASSERT_TRUE(again);
    EXPECT_NE(again, opened);
    EXPECT_FALSE(sldWorksCallSlot9(app, file("Missing.sldprt").c_str(), 1));
}

TEST_F(SessionDocumentData, EveryNewCallIsOpenToTheFaultPlan) {
    partFixtureC part;
    part.block(10, 10, 10);
    IModelDoc2* doc = part.doc();
    faultPlanC& plan = part.kit().plan();
    const std::vector<std::pair<std::string, std::function<void()>>> calls = {
        {"IModelDoc2::GetConfigurationNames", [&] { modelDocGetVariantSlot459(doc); }},
        {"IModelDoc2::ShowConfiguration", [&] { modelDocShowConfiguration(doc, "Default"); }},
        {"IModelDoc2::GetActiveConfiguration", [&] { modelDocGetActiveConfiguration(doc); }},
        {"IModelDoc2::GetConfigurationManager", [&] { modelDocGetConfigurationManager(doc); }},
        {"IConfigurationManager::AddConfiguration",
         [&] {
             configMgrAddConfiguration(modelDocGetConfigurationManager(doc), "A", "", "", 4, "",
                                       "");
         }},
        {"IConfiguration::GetName",
         [&] { configGetName(IConfigurationPtr(modelDocGetActiveConfiguration(doc))); }},
        {"IConfiguration::GetRootComponent",
         [&] { configGetRootComponent(IConfigurationPtr(modelDocGetActiveConfiguration(doc))); }},
        {"IModelDoc2::GetCustomNames", [&] { modelDocGetCustomNames(doc, ""); }},
        {"IModelDoc2::GetCustomValue", [&] { modelDocGetCustomValue(doc, "", "x"); }},
        {"IModelDoc2::SetCustomValue", [&] { modelDocSetCustomValue(doc, "", "x", "y"); }},
        {"IModelDoc2::AddCustomValue", [&] { modelDocAddCustomValue(doc, "", "x", 30, "y"); }},
        {"IModelDoc2::ReadCustomProperty", [&] { modelDocReadCustomProperty(doc, "", "x"); }},
        {"IModelDoc2::GetSummaryInfo", [&] { modelDocGetSummaryInfo(doc, 0); }},
        {"IModelDoc2::SetSummaryInfo", [&] { modelDocSetSummaryInfo(doc, 0, "t"); }},
        {"IModelDoc2::GetLengthUnitArray", [&] { modelDocGetLengthUnitArray(doc); }},
        {"IModelDoc2::GetAngleUnitArray", [&] { modelDocGetAngleUnitArray(doc); }},
        {"IModelDoc2::GetIntegerPreference", [&] { modelDocGetIntegerPreference(doc, 51); }},
        {"IModelDoc2::SetDoublePreference", [&] { modelDocSetDoublePreference(doc, 7, 1.0); }},
        {"IModelDoc2::HasUnsavedChanges", [&] { modelDocGetBoolSlot473(doc); }},
        {"IModelDoc2::RebuildIfNeeded", [&] { modelDocGetBoolSlot715(doc); }},
        {"IModelDoc2::Save", [&] { modelDocCallSlot508(doc, 1); }},
        {"IModelDoc2::SaveCopyAs",
         [&] { modelDocCallSlot433(doc, file("copy.step").c_str(), -1); }},
        {"IModelDoc2::SaveBitmap",
         [&] { modelDocSaveBitmap(doc, file("p.bmp").c_str(), 300, 300); }},
        {"IModelDoc2::ShowNamedView", [&] { modelDocShowNamedView(doc, "*Isometric", 7); }},
        {"IModelDoc2::FitView", [&] { modelDocFitView(doc); }},
        {"IDocExtension::GetCustomPropertyManager",
         [&] { docExtGetCustomPropertyManager(modelDocGetExtension(doc), ""); }},
        {"ICustomPropertyManager::GetAll",
         [&] {
             _variant_t n, t, v;
             customPropertyManagerGetAll(
                 docExtGetCustomPropertyManager(modelDocGetExtension(doc), ""), n, t, v);
         }},
        {"IMassProperty::SetUseGivenMass",
         [&] {
             massPropUseGivenMass(docExtCreateMassProperty(modelDocGetExtension(doc)),
                                  VARIANT_TRUE);
         }},
        {"IMassProperty::ApplyValues",
         [&] {
             massPropApplyValues(docExtCreateMassProperty(modelDocGetExtension(doc)), 1, 0, 0, 0, 2,
                                 _variant_t(0));
         }},
        {"IFeature::SetSuppression",
         [&] {
             featureSetSuppression(
                 IFeaturePtr(partDocFeatureByName(IPartDocPtr(doc), "Boss-Extrude1")), 0, 2, 0,
                 nullptr);
         }},
        {"IFeature::GetFirstSubFeature",
         [&] {
             featureGetFirstSubFeature(
                 IFeaturePtr(partDocFeatureByName(IPartDocPtr(doc), "Boss-Extrude1")));
         }},
        {"IFeature::GetFirstDimensionAnnotation",
         [&] {
             featureGetFirstDimensionAnnotation(
                 IFeaturePtr(partDocFeatureByName(IPartDocPtr(doc), "Boss-Extrude1")));
         }},
        {"IDimension::GetValue",
         [&] {
             const IDimensionPtr d(dimensionAnnotationGetDimension(
                 IDimensionAnnotationPtr(featureGetFirstDimensionAnnotation(
                     IFeaturePtr(partDocFeatureByName(IPartDocPtr(doc), "Boss-Extrude1"))))));
             dimensionGetValue(d, doc);
         }},
        {"ISldWorks::OpenDocument",
         [&] {
             long e = 0, w = 0;
             sldWorksOpenDocument(part.app(), "x.sldprt", 1, 1, "", e, w);
         }},
        {"ISldWorks::PreloadDocument", [&] { sldWorksCallSlot9(part.app(), "x.sldprt", 1); }},
        {"ISldWorks::GetErrorMessages",
         [&] {
             _variant_t messages, ids, types;
             sldWorksGetErrorMessages(part.app(), messages, ids, types);
         }},
    };
    for (const auto& [key, call] : calls) {
        plan.failWith(key, DISP_E_MEMBERNOTFOUND, 1);
        EXPECT_EQ(failureOf(call), DISP_E_MEMBERNOTFOUND) << key;
        EXPECT_EQ(part.kit().journal().count(key), 1u) << key;
        part.kit().reset();
    }
}

} // namespace
