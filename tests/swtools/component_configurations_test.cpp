// The configuration handed to the components of an assembly, over recorded components.
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swtools/doc_attributes.h"
#include "platform/sldworks/testkit/fixtures.h"
#include "tests/natcheckin/checkin_fakes.h"

#include <gtest/gtest.h>

namespace {

class ComponentConfigurations : public ::testing::Test {
protected:
    void SetUp() override {
        // Identified, unidentified, and without a document.
        for (IModelDoc2Ptr doc : {part.docPtr(), part.docPtr(), IModelDoc2Ptr()}) {
            components.push_back(newFakeComponent(doc));
            recorders.push_back(componentRecorder(components.back()));
        }
        root = newFakeComponent();
        componentRecorder(root)->children = components;
        configuration = IDispatchPtr(new fakeConfigurationC("Default", root), false);
        faultPlanC& plan = part.kit().plan();
        plan.scriptValue("IModelDoc2::GetType", _variant_t(2L));
        plan.scriptValue("IModelDoc2::GetActiveConfiguration",
                         _variant_t(configuration.GetInterfacePtr()));
        plan.scriptSequence("IModelDoc2::ReadCustomProperty",
                            {_variant_t("A-100"), _variant_t("")});
        doc = part.docPtr();
    }

    partFixtureC part;
    IModelDoc2Ptr doc;
    std::vector<IDispatchPtr> components;
    std::vector<fakeComponentC*> recorders;
    IDispatchPtr root;
    IDispatchPtr configuration;
};

TEST_F(ComponentConfigurations, OnlyIdentifiedComponentsGetTheConfiguration) {
    recorders[0]->stateSet = true;
    setComponentConfigurations(doc, "Level of Detail: Simple", 1);
    EXPECT_EQ(recorders[0]->states, std::vector<long>{2});
    EXPECT_EQ(recorders[0]->configurations, std::vector<std::string>{"Level of Detail: Simple"});
    EXPECT_TRUE(recorders[1]->configurations.empty());
    EXPECT_TRUE(recorders[2]->configurations.empty());
    const auto reads = part.kit().journal().calls("IModelDoc2::ReadCustomProperty");
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[0].args, (std::vector<std::string>{"\"\"", "\"KVOR_IDENT\""}));
}

TEST_F(ComponentConfigurations, AComponentWithoutADocumentDoesNotStopTheOthers) {
    recorders[1]->stateSet = false;
    setComponentConfigurations(doc, "Level of Detail: Simple", 0);
    EXPECT_EQ(recorders[0]->configurations.size(), 1u);
    EXPECT_EQ(recorders[1]->configurations.size(), 1u);
    EXPECT_TRUE(recorders[1]->states.empty()); // its state was not set
    EXPECT_TRUE(recorders[2]->configurations.empty());
    EXPECT_TRUE(recorders[2]->states.empty());
}

TEST_F(ComponentConfigurations, SupSuppressesInsteadOfSettingAConfiguration) {
    setComponentConfigurations(doc, "SUP", 0);
    EXPECT_EQ(recorders[0]->states, std::vector<long>{0});
    EXPECT_EQ(recorders[1]->states, std::vector<long>{0});
    EXPECT_TRUE(recorders[0]->configurations.empty());
    EXPECT_TRUE(recorders[2]->states.empty());
}

} // namespace
