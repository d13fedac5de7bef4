// Assemblies through the COM interfaces: components with their documents, state and
// configuration; an assembly saved and opened again finds its components' documents; loading
// by path and closing as the check-in does.
#include "libs/geomcore/swapi/checkin_calls.h"
#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>

namespace {

namespace fs = std::filesystem;

std::string text(const _bstr_t& value) {
    return value.length() == 0 ? std::string() : std::string(static_cast<const char*>(value));
}

class SessionAssembly : public ::testing::Test {
protected:
    void SetUp() override {
        folder = (fs::path(::testing::TempDir()) /
                  ("sldworks_asm_" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())))
                     .string();
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    static std::vector<IComponentPtr> childrenOf(IModelDoc2* doc) {
        const IComponentPtr root(
            configGetRootComponent(IConfigurationPtr(modelDocGetActiveConfiguration(doc))));
        std::vector<IComponentPtr> out;
        for (const auto& child : readObjectArray(componentGetChildren(root)))
            out.push_back(IComponentPtr(child));
        return out;
    }

    std::string folder;
};

TEST_F(SessionAssembly, ComponentsReferToTheirPartDocuments) {
    assemblyFixtureC fixture(folder, {{"Plate", 20, 10, 2}, {"Pin", 2, 2, 8}},
                             {"Plate", "Pin", "Pin"});
    IModelDoc2* doc = fixture.doc();
    EXPECT_EQ(modelDocGetType(doc), 2);
    const IComponentPtr root(
        configGetRootComponent(IConfigurationPtr(modelDocGetActiveConfiguration(doc))));
    ASSERT_TRUE(root);
    EXPECT_EQ(componentGetChildrenCount(root), 3);
    const auto children = childrenOf(doc);
    ASSERT_EQ(children.size(), 3u);
    const IModelDoc2Ptr plate(componentGetModelDoc(IComponentObjectPtr(children[0])));
    const IModelDoc2Ptr pin1(componentGetModelDoc(children[1]));
    const IModelDoc2Ptr pin2(componentGetModelDoc(children[2]));
    ASSERT_TRUE(plate);
    EXPECT_EQ(text(modelDocGetPathName(plate)), fixture.partPath("Plate"));
    EXPECT_EQ(modelDocGetType(plate), 1);
    // One document per path.
    EXPECT_EQ(pin1, pin2);
    EXPECT_EQ(readObjectArray(componentGetBodies(children[0], 0)).size(), 1u);
    // The loaded parts are open documents of the session after the assembly.
    EXPECT_EQ(IModelDoc2Ptr(modelDocGetNext(doc)), plate);
    EXPECT_EQ(getSessionDocument(fixture.app(), fixture.partPath("Pin").c_str()), pin1);

    // State and configuration are kept; a suppressed component has no bodies.
    EXPECT_EQ(componentIsStateSet(children[1]), VARIANT_FALSE);
    componentSetState(children[1], 0);
    EXPECT_EQ(componentIsStateSet(children[1]), VARIANT_TRUE);
    EXPECT_TRUE(readObjectArray(componentGetBodies(children[1], 0)).empty());
    // A component shows only a configuration its document has.
    EXPECT_THROW(componentSetConfiguration(children[0], "Light"), _com_error);
    EXPECT_EQ(fixture.model().components()[0]->configuration, "");
    configMgrAddConfiguration(modelDocGetConfigurationManager(plate), "Light", "", "Light", 4, "",
                              "");
    componentSetConfiguration(children[0], "Light");
    EXPECT_EQ(fixture.model().components()[0]->configuration, "Light");
    EXPECT_EQ(fixture.model().components()[1]->state, 0);
    // The assembly's volume is its unsuppressed components'.
    EXPECT_NEAR(massPropGetVolume(docExtCreateMassProperty(modelDocGetExtension(doc))),
                400.0 + 32.0, 1e-6);
}

TEST_F(SessionAssembly, SavedAndReopenedAssemblyFindsItsComponentsDocuments) {
    std::string path;
    {
        assemblyFixtureC fixture(folder, {{"Plate", 20, 10, 2}, {"Pin", 2, 2, 8}}, {"Plate", "Pin"},
                                 "Frame");
        componentSetState(childrenOf(fixture.doc())[1], 0);
        componentSetConfiguration(childrenOf(fixture.doc())[0], "Default");
        modelDocSetSummaryInfo(fixture.doc(), 0, "Frame");
        EXPECT_EQ(modelDocGetBoolSlot473(fixture.doc()), VARIANT_TRUE);
        EXPECT_EQ(modelDocCallSlot508(fixture.doc(), 1), 0);
        path = fixture.path();
    }
    ISldWorksPtr app = createSimulatedSldWorks();
    long errors = 0;
    long warnings = 0;
    EXPECT_FALSE(sldWorksOpenDocument(app, path.c_str(), 1, 1, "", errors, warnings));
    const IModelDoc2Ptr doc = sldWorksOpenDocument(app, path.c_str(), 2, 1, "", errors, warnings);
    ASSERT_TRUE(doc);
    EXPECT_EQ(text(modelDocGetSummaryInfo(doc, 0)), "Frame");
    const auto children = childrenOf(doc);
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(componentIsStateSet(children[1]), VARIANT_TRUE);
    const IModelDoc2Ptr pin(componentGetModelDoc(children[1]));
    ASSERT_TRUE(pin);
    EXPECT_EQ(text(modelDocGetPathName(pin)), folder + "/Pin.sldprt");
    EXPECT_NEAR(massPropGetVolume(docExtCreateMassProperty(modelDocGetExtension(pin))), 32.0, 1e-6);
    EXPECT_NEAR(massPropGetVolume(docExtCreateMassProperty(modelDocGetExtension(doc))), 400.0,
                1e-6);
}

TEST_F(SessionAssembly, MembersAreLoadedByPathAndClosedAsTheCheckInDoes) {
    assemblyFixtureC fixture(folder, {{"Plate", 20, 10, 2}}, {"Plate"});
    const std::string plate = fixture.partPath("Plate");
    ISldWorks* app = fixture.app();
    const IModelDoc2Ptr first(sldWorksCallSlot9(app, plate.c_str(), 1));
    ASSERT_TRUE(first);
    sldWorksCloseDocument(app, plate.c_str());
    EXPECT_THROW(getSessionDocument(app, plate.c_str()), _com_error);
    // Still held by its component; loading by path opens that same document again.
    const IModelDoc2Ptr second(sldWorksCallSlot9(app, plate.c_str(), 1));
    EXPECT_EQ(second, first);
    EXPECT_EQ(getSessionDocument(app, plate.c_str()), first);
}

TEST_F(SessionAssembly, PreviewsOfAnAssemblyShowItsParts) {
    assemblyFixtureC fixture(folder, {{"Plate", 20, 10, 2}}, {"Plate"});
    const std::string bitmap = folder + "/asm.bmp";
    EXPECT_EQ(modelDocSaveBitmap(fixture.doc(), bitmap.c_str(), 300, 300), VARIANT_TRUE);
    EXPECT_EQ(fs::file_size(bitmap), 54u + 300u * 300u * 3u);
    modelDocCallSlot433(fixture.doc(), (folder + "/asm.stl").c_str(), -1);
    EXPECT_EQ(fs::file_size(folder + "/asm.stl"), 84u + 50u * 12u); // a box: 12 triangles
    modelDocCallSlot433(fixture.doc(), (folder + "/copy.sldasm").c_str(), -1);
    EXPECT_TRUE(fs::exists(folder + "/copy.sldasm"));
    // A copy leaves the document's own path.
    EXPECT_EQ(text(modelDocGetPathName(fixture.doc())), fixture.path());
}

TEST_F(SessionAssembly, AComponentWhoseFileIsMissingHasNoDocument) {
    auto assembly = swsim::AssemblyDocument::create();
    assembly->addComponent(folder + "/Gone.sldprt");
    ISldWorksPtr app = createSimulatedSldWorks();
    const IModelDoc2Ptr doc = sessionAddAssembly(app, assembly);
    const auto children = childrenOf(doc);
    ASSERT_EQ(children.size(), 1u);
    EXPECT_FALSE(componentGetModelDoc(IComponentObjectPtr(children[0])));
    EXPECT_TRUE(readObjectArray(componentGetBodies(children[0], 0)).empty());
}

TEST_F(SessionAssembly, WhyAFileCannotBeOpenedIsAMessageUntilAsked) {
    assemblyFixtureC fixture(folder, {{"Plate", 20, 10, 2}}, {"Plate", "Plate"});
    const std::string plate = fixture.partPath("Plate");
    const auto messages = [&] {
        _variant_t texts, ids, types;
        const long count = sldWorksGetErrorMessages(fixture.app(), texts, ids, types);
        std::vector<std::string> said;
        for (const _bstr_t& t : readBstrArray(texts))
            said.push_back(text(t));
        EXPECT_EQ(static_cast<long>(said.size()), count);
        return said;
    };
    EXPECT_TRUE(messages().empty());
    long errors = 0, warnings = 0;
    EXPECT_FALSE(sldWorksOpenDocument(fixture.app(), (folder + "/Gone.sldprt").c_str(), 1, 1, "",
                                      errors, warnings));
    EXPECT_EQ(errors, 2);
    EXPECT_FALSE(sldWorksOpenDocument(fixture.app(), plate.c_str(), 2, 1, "", errors, warnings));
    EXPECT_EQ(errors, 1);
    // The damaged file's reason is its reader's, without the file's name the caller knows.
    std::ofstream(folder + "/Junk.sldprt") << "SWSIM-PART 3 00000000\nfeatures\n";
    EXPECT_FALSE(sldWorksCallSlot9(fixture.app(), (folder + "/Junk.sldprt").c_str(), 1));
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "the file does not exist", "the file holds a part, not an assembly",
                              "the file is damaged (its checksum does not match)"}));
    // Asking clears them; only the last 20 are kept.
    EXPECT_TRUE(messages().empty());
    for (int i = 0; i < 25; ++i)
        sldWorksCallSlot9(fixture.app(), (folder + "/Gone" + std::to_string(i)).c_str(), 1);
    EXPECT_EQ(messages().size(), 20u);
}

TEST_F(SessionAssembly, WhatCannotBeShownOrReadBackIsNotTaken) {
    assemblyFixtureC fixture(folder, {{"Plate", 20, 10, 2}}, {"Plate"});
    const swsim::PartDocumentPtr plate =
        sessionPartOf(IModelDoc2Ptr(componentGetModelDoc(childrenOf(fixture.doc())[0])));
    ASSERT_TRUE(plate);
    // The plate shows last a configuration without its solid.
    plate->addConfiguration("Bare");
    plate->setSuppression(plate->findFeature("Boss-Extrude1"), true, {"Bare"});
    // A component naming a configuration its part lacks (a file written elsewhere) shows the
    // part's first, whatever the part showed last.
    fixture.model().components()[0]->configuration = "Nope";
    EXPECT_NEAR(massPropGetVolume(docExtCreateMassProperty(modelDocGetExtension(fixture.doc()))),
                400.0, 1e-6);

    // A placement that is not finite, or finite but beyond the model space (where a ray cast
    // would not end), is neither taken nor saved.
    for (const double far : {std::numeric_limits<double>::infinity(), 1.7976931348623157e308}) {
        std::vector<double> transform = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
        transform[10] = far;
        const _variant_t added = asmDocAddComponents3(
            IAssemblyDocPtr(fixture.doc()), makeBstrArray({fixture.partPath("Plate").c_str()}),
            makeDoubleArray(transform), _variant_t());
        EXPECT_TRUE(!variantHoldsArray(added) || readObjectArray(added).empty()) << far;
    }
    swsim::Frame far;
    far.origin.x = std::numeric_limits<double>::quiet_NaN();
    fixture.model().addComponent(fixture.partPath("Plate"), "Default", far);
    EXPECT_THROW(fixture.model().save(folder + "/Far.sldasm"), swsim::ModelError);
}

TEST_F(SessionAssembly, ComponentAndDimensionCallsAreOpenToTheFaultPlan) {
    assemblyFixtureC fixture(folder, {{"Plate", 20, 10, 2}}, {"Plate"});
    IModelDoc2* doc = fixture.doc();
    const IComponentPtr child = childrenOf(doc)[0];
    const IModelDoc2Ptr plate(componentGetModelDoc(child));
    const IFeaturePtr boss(partDocFeatureByName(IPartDocPtr(plate), "Boss-Extrude1"));
    const IDispatchPtr annotation = featureGetFirstDimensionAnnotation(boss);
    const IDimensionPtr dimension(annotation);
    const std::vector<std::pair<std::string, std::function<void()>>> calls = {
        {"IComponent::GetChildrenCount",
         [&] {
             componentGetChildrenCount(IComponentPtr(
                 configGetRootComponent(IConfigurationPtr(modelDocGetActiveConfiguration(doc)))));
         }},
        {"IComponent::GetChildren",
         [&] {
             componentGetChildren(IComponentPtr(
                 configGetRootComponent(IConfigurationPtr(modelDocGetActiveConfiguration(doc)))));
         }},
        {"IComponent::GetModelDoc", [&] { componentGetModelDoc(IComponentObjectPtr(child)); }},
        {"IComponent::SetState", [&] { componentSetState(child, 2); }},
        {"IComponent::IsStateSet", [&] { componentIsStateSet(child); }},
        {"IComponent::SetConfiguration", [&] { componentSetConfiguration(child, "Default"); }},
        {"IComponent::GetBodies", [&] { componentGetBodies(child, 0); }},
        {"IDimensionAnnotation::GetDimension",
         [&] { dimensionAnnotationGetDimension(IDimensionAnnotationPtr(annotation)); }},
        {"IDimension::GetFullName", [&] { dimensionGetFullName(dimension); }},
        {"IDimension::GetType", [&] { dimensionGetType(dimension); }},
        {"IFeature::GetNextDimensionAnnotation",
         [&] { featureGetNextDimensionAnnotation(boss, annotation); }},
        {"IFeature::GetNextSubFeature",
         [&] { featureGetNextSubFeature(IFeaturePtr(featureGetFirstSubFeature(boss))); }},
    };
    for (const auto& [key, call] : calls) {
        fixture.kit().plan().failWith(key, E_UNEXPECTED, 1);
        HRESULT hr = S_OK;
        try {
            call();
        } catch (const _com_error& e) {
            hr = e.Error();
        }
        EXPECT_EQ(hr, E_UNEXPECTED) << key;
        EXPECT_EQ(fixture.kit().journal().count(key), 1u) << key;
        fixture.kit().reset();
    }
    // An out-of-range state is refused.
    EXPECT_THROW(componentSetState(child, 7), _com_error);
}

} // namespace

TEST_F(SessionAssembly, MateReferencesOnComponentFacesFollowTheComponentAndAreSaved) {
    std::string path;
    {
        assemblyFixtureC fixture(folder, {{"Plate", 20, 10, 2}, {"Pin", 2, 2, 8}},
                                 {"Plate", "Pin"});
        IModelDoc2* doc = fixture.doc();
        // Beside the pin the ray down meets the plate's top.
        ASSERT_EQ(modelDocSelectByRay(doc, 15, 5, 50, 0, 0, -1, 1e-6, 2), VARIANT_TRUE);
        const IDispatchPtr top = selMgrGetSelectedObject(modelDocGetSelectionManager(doc), 1);
        const IFeatureManagerPtr manager = modelDocGetFeatureManager(doc);
        const auto insert = [&](const char* name, IDispatch* entity) {
            return insertMateReference(manager, name, entity, 0, 0, nullptr, 0, 0, nullptr, 0, 0);
        };
        EXPECT_EQ(text(featureGetName(insert("Top", top))), "Top");
        EXPECT_EQ(text(featureGetName(insert("Top", top))), "MateReference2");
        // A face of the part's own document is not one of the assembly's.
        const IModelDoc2Ptr plate(componentGetModelDoc(childrenOf(doc)[0]));
        const IDispatchPtr own = bodyGetFirstFace(
            IBodyPtr(readObjectArray(partDocGetBodies(IPartDocPtr(plate), 0)).at(0)));
        EXPECT_FALSE(insert("Own", own));
        // Moved, the plate takes its reference along.
        fixture.model().components()[0]->placement.origin = {100, 0, 0};
        const auto moved = fixture.model().mateReferences();
        ASSERT_EQ(moved.size(), 2u);
        const auto face = swsim::objectAs<swsim::Face>(moved[0]->entity());
        ASSERT_TRUE(face);
        EXPECT_TRUE(face->contains({101, 1, 2}) && face->contains({119, 9, 2}));
        EXPECT_EQ(modelDocCallSlot508(doc, 1), 0);
        path = fixture.path();
    }
    ISldWorksPtr app = createSimulatedSldWorks();
    long errors = 0;
    long warnings = 0;
    const IModelDoc2Ptr doc = sldWorksOpenDocument(app, path.c_str(), 2, 1, "", errors, warnings);
    ASSERT_TRUE(doc);
    const auto references = sessionAssemblyOf(doc)->mateReferences();
    ASSERT_EQ(references.size(), 2u);
    EXPECT_EQ(references[1]->name(), "MateReference2");
    const auto face = swsim::objectAs<swsim::Face>(references[1]->entity());
    ASSERT_TRUE(face);
    EXPECT_EQ(face->surface().kind, swsim::SurfaceKind::Plane);
    EXPECT_TRUE(face->contains({110, 5, 2}));
    EXPECT_NEAR(face->normal().z, 1.0, 1e-12);
}

// An assembly keeps no selection or colour of its components' faces and bodies: the part-only
// calls answer FALSE or E_NOTIMPL on them instead of reaching for a part the assembly lacks.
TEST_F(SessionAssembly, PartOnlyCallsOnComponentFacesAnswerWithoutAPart) {
    assemblyFixtureC fixture(folder, {{"Plate", 20, 10, 2}}, {"Plate"});
    const IBodyPtr body(readObjectArray(componentGetBodies(childrenOf(fixture.doc())[0], 0)).at(0));
    const IFace2Ptr face(bodyGetFirstFace(body));
    EXPECT_EQ(entityCallSlot13(IEntityPtr(face), 0), VARIANT_FALSE);
    EXPECT_EQ(bodyCallSlot136(body, VARIANT_FALSE, nullptr), VARIANT_FALSE);
    try {
        faceSetColorValues(face, makeDoubleArray({1, 0, 0}));
        ADD_FAILURE() << "an assembly's face took a colour";
    } catch (const _com_error& error) {
        EXPECT_EQ(error.Error(), E_NOTIMPL);
    }
}
