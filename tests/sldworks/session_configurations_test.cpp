// Configurations through the COM interfaces: adding and showing them, names in order, the
// active one, suppression per configuration changing the bodies, and dimensions with their
// full names, types and values per configuration driving the geometry.
#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/testkit/fixtures.h"
#include "tests/hostservices/temp_folder.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

std::vector<std::string> texts(const _variant_t& names) {
    std::vector<std::string> out;
    for (const auto& name : readBstrArray(names))
        out.push_back(std::string(static_cast<const char*>(name)));
    return out;
}

double volumeOf(IModelDoc2* doc) {
    return massPropGetVolume(docExtCreateMassProperty(modelDocGetExtension(doc)));
}

std::string activeName(IModelDoc2* doc) {
    return std::string(static_cast<const char*>(
        configGetName(IConfigurationPtr(modelDocGetActiveConfiguration(doc)))));
}

IFeaturePtr feature(IModelDoc2* doc, const char* name) {
    return IFeaturePtr(partDocFeatureByName(IPartDocPtr(doc), name));
}

TEST(SessionConfigurations, AddedConfigurationsAreListedInOrderAndBecomeActive) {
    partFixtureC part;
    IModelDoc2* doc = part.doc();
    EXPECT_EQ(texts(modelDocGetVariantSlot459(doc)), std::vector<std::string>{"Default"});
    EXPECT_EQ(activeName(doc), "Default");

    IConfigurationManagerPtr manager = modelDocGetConfigurationManager(doc);
    const IDispatchPtr added =
        configMgrAddConfiguration(manager, "Light", "Level of Detail: Light", "Light", 4, "", "");
    ASSERT_TRUE(added);
    EXPECT_EQ(std::string(static_cast<const char*>(configGetName(IConfigurationPtr(added)))),
              "Light");
    EXPECT_EQ(activeName(doc), "Light");
    // The same configuration object on every request.
    EXPECT_EQ(IDispatchPtr(configManagerGetActiveConfiguration(manager)), added);
    // A name in use or an empty name gives no configuration.
    EXPECT_FALSE(configMgrAddConfiguration(manager, "Light", "", "", 4, "", ""));
    EXPECT_FALSE(configMgrAddConfiguration(manager, "", "", "", 4, "", ""));

    configMgrAddConfiguration(manager, "Full", "", "", 4, "", "");
    EXPECT_EQ(texts(modelDocGetVariantSlot459(doc)),
              (std::vector<std::string>{"Default", "Light", "Full"}));
    EXPECT_EQ(modelDocShowConfiguration(doc, "Default"), VARIANT_TRUE);
    EXPECT_EQ(activeName(doc), "Default");
    EXPECT_EQ(modelDocShowConfiguration(doc, "Missing"), VARIANT_FALSE);
    EXPECT_EQ(activeName(doc), "Default");
    // A part's configuration has no root component.
    EXPECT_FALSE(configGetRootComponent(IConfigurationPtr(added)));
}

TEST(SessionConfigurations, SuppressionInOneConfigurationChangesItsVolumeAfterARebuild) {
    partFixtureC part;
    part.block(10, 10, 10);
    const std::string cut =
        part.extrude(part.rectangleSketch("Front Plane", 0, 0, 5, 10), 4, true, true);
    part.configuration("Simple");
    IModelDoc2* doc = part.doc();
    EXPECT_NEAR(volumeOf(doc), 1000.0 - 200.0, 1e-6);

    _bstr_t simple("Simple");
    BSTR names[1] = {simple.GetBSTR()};
    EXPECT_EQ(featureSetSuppression(feature(doc, cut.c_str()), 0, 3, 1, names), VARIANT_TRUE);
    // Only "Simple" is affected; the shown configuration keeps its geometry.
    EXPECT_NEAR(volumeOf(doc), 800.0, 1e-6);
    EXPECT_EQ(modelDocRebuildCheck(doc, VARIANT_FALSE), VARIANT_TRUE);
    EXPECT_NEAR(volumeOf(doc), 800.0, 1e-6);

    modelDocShowConfiguration(doc, "Simple");
    EXPECT_NEAR(volumeOf(doc), 1000.0, 1e-6);
    modelDocShowConfiguration(doc, "Default");
    EXPECT_NEAR(volumeOf(doc), 800.0, 1e-6);

    // Option 1 is the active configuration, option 2 all of them; 1 unsuppresses.
    EXPECT_EQ(featureSetSuppression(feature(doc, cut.c_str()), 0, 1, 0, nullptr), VARIANT_TRUE);
    EXPECT_NEAR(volumeOf(doc), 1000.0, 1e-6);
    EXPECT_EQ(featureSetSuppression(feature(doc, cut.c_str()), 1, 2, 0, nullptr), VARIANT_TRUE);
    EXPECT_NEAR(volumeOf(doc), 800.0, 1e-6);
    modelDocShowConfiguration(doc, "Simple");
    EXPECT_NEAR(volumeOf(doc), 800.0, 1e-6);
}

TEST(SessionConfigurations, BadSuppressionArgumentsAreRefused) {
    partFixtureC part;
    const std::string boss = part.block(10, 10, 10);
    IFeaturePtr f = feature(part.doc(), boss.c_str());
    auto failure = [&](auto call) -> HRESULT {
        try {
            call();
        } catch (const _com_error& e) {
            return e.Error();
        }
        return S_OK;
    };
    EXPECT_EQ(failure([&] { featureSetSuppression(f, 0, 3, 0, nullptr); }), E_INVALIDARG);
    EXPECT_EQ(failure([&] { featureSetSuppression(f, 0, 7, 0, nullptr); }), E_INVALIDARG);
    EXPECT_EQ(failure([&] { featureSetSuppression(f, 9, 1, 0, nullptr); }), E_INVALIDARG);
    // An unknown configuration name changes nothing and says so.
    _bstr_t missing("Missing");
    BSTR names[1] = {missing.GetBSTR()};
    EXPECT_EQ(featureSetSuppression(f, 0, 3, 1, names), VARIANT_FALSE);
    EXPECT_NEAR(volumeOf(part.doc()), 1000.0, 1e-6);
}

TEST(SessionDimensions, ExtrusionDepthIsAFeatureDimensionWithFullNameTypeAndValue) {
    partFixtureC part;
    const std::string boss = part.block(10, 10, 10);
    IModelDoc2* doc = part.doc();
    // Saved for its title only, into a folder of the test's own.
    const TempFolder folder;
    part.model().save((folder.path() / "Bracket.sldprt").string());
    const IFeaturePtr f = feature(doc, boss.c_str());
    const IDispatchPtr annotation = featureGetFirstDimensionAnnotation(f);
    ASSERT_TRUE(annotation);
    const IDimensionPtr dimension(
        dimensionAnnotationGetDimension(IDimensionAnnotationPtr(annotation)));
    ASSERT_TRUE(dimension);
    EXPECT_EQ(std::string(static_cast<const char*>(dimensionGetFullName(dimension))),
              "D1@" + boss + "@Bracket");
    EXPECT_EQ(dimensionGetType(dimension), 2);
    EXPECT_DOUBLE_EQ(dimensionGetValue(dimension, doc), 10.0);
    EXPECT_FALSE(featureGetNextDimensionAnnotation(f, annotation));
    // The extrusion's sub-feature is its sketch (which has no dimensions).
    const IFeaturePtr sketch(featureGetFirstSubFeature(f));
    ASSERT_TRUE(sketch);
    EXPECT_EQ(std::string(static_cast<const char*>(featureGetTypeName(sketch))), "ProfileFeature");
    EXPECT_FALSE(featureGetFirstDimensionAnnotation(sketch));
}

TEST(SessionDimensions, ValuesPerConfigurationDriveTheDepth) {
    partFixtureC part;
    const std::string boss = part.block(10, 10, 10);
    part.configuration("Long");
    part.configuration("Short");
    part.dimension("D1@" + boss, 25.0, {"Long"});
    part.dimension("D1@" + boss, 4.0, {"Short"});
    IModelDoc2* doc = part.doc();
    const IDimensionPtr dimension(dimensionAnnotationGetDimension(
        IDimensionAnnotationPtr(featureGetFirstDimensionAnnotation(feature(doc, boss.c_str())))));

    EXPECT_DOUBLE_EQ(dimensionGetValue(dimension, doc), 10.0);
    EXPECT_NEAR(volumeOf(doc), 1000.0, 1e-6);
    modelDocShowConfiguration(doc, "Long");
    EXPECT_DOUBLE_EQ(dimensionGetValue(dimension, doc), 25.0);
    EXPECT_NEAR(volumeOf(doc), 2500.0, 1e-6);
    modelDocShowConfiguration(doc, "Short");
    EXPECT_NEAR(volumeOf(doc), 400.0, 1e-6);
    // The document's value reaches the configurations without their own.
    part.dimension("D1@" + boss, 12.0);
    EXPECT_NEAR(volumeOf(doc), 1200.0, 1e-6);
    modelDocShowConfiguration(doc, "Default");
    EXPECT_NEAR(volumeOf(doc), 1200.0, 1e-6);
}

TEST(SessionDimensions, AngularValuesFollowTheAngleDisplayPreference) {
    partFixtureC part;
    const std::string boss = part.block(10, 10, 10);
    part.addDimension(boss, "D2", 3, std::numbers::pi / 4.0);
    IModelDoc2* doc = part.doc();
    const IFeaturePtr f = feature(doc, boss.c_str());
    const IDimensionPtr angle(dimensionAnnotationGetDimension(IDimensionAnnotationPtr(
        featureGetNextDimensionAnnotation(f, featureGetFirstDimensionAnnotation(f)))));
    EXPECT_EQ(dimensionGetType(angle), 3);
    EXPECT_NEAR(dimensionGetValue(angle, doc), 45.0, 1e-12);
    VARIANT_BOOL done = VARIANT_FALSE;
    ASSERT_EQ(doc->SetIntegerPreference(51, 3, &done), S_OK);
    EXPECT_NEAR(dimensionGetValue(angle, doc), std::numbers::pi / 4.0, 1e-12);
    doc->SetIntegerPreference(51, 1, &done);
    EXPECT_NEAR(dimensionGetValue(angle, doc), 45.0 * 60.0, 1e-9);
    doc->SetIntegerPreference(51, 2, &done);
    EXPECT_NEAR(dimensionGetValue(angle, doc), 45.0 * 3600.0, 1e-6);
    EXPECT_EQ(modelDocGetIntegerPreference(doc, 51), 2);
}

} // namespace
