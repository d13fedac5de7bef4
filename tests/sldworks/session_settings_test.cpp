// Settings the build-settings guard switches: stored per session or document, journalled in
// call order.
#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

namespace {

TEST(SessionSettings, TogglesAndIntegersAreStored) {
    partFixtureC part;
    EXPECT_EQ(sldWorksGetUserToggle(part.app(), 11), VARIANT_TRUE); // never set: TRUE
    sldWorksSetUserToggle(part.app(), 11, VARIANT_FALSE);
    EXPECT_EQ(sldWorksGetToggle(part.app(), 11), VARIANT_FALSE);
    EXPECT_EQ(sldWorksGetUserToggle(part.app(), 77), VARIANT_TRUE);

    EXPECT_EQ(sldWorksGetUserInt(part.app(), 3), 0); // never set: 0
    sldWorksSetUserInt(part.app(), 3, 7);
    EXPECT_EQ(sldWorksGetIntegerSetting(part.app(), 3), 7);
}

TEST(SessionSettings, DocumentSettingsAndTheirOrderAreJournalled) {
    partFixtureC part;
    IModelDoc2* doc = part.doc();
    modelDocSetCreationFlag(doc, VARIANT_TRUE);
    const VARIANT_BOOL savedB = modelDocGetSettingB(doc);
    modelDocSetSettingB(doc, VARIANT_TRUE);
    modelDocSetSettingA(doc, VARIANT_TRUE);
    modelDocGuardEnter(doc, 1);
    stateObjectSetFlag(IStateObjectPtr(modelDocGetStateObject(doc)), VARIANT_FALSE);
    featMgrSetTreeFlag(modelDocGetFeatureManager(doc), VARIANT_FALSE);
    modelDocGuardLeave(doc);
    modelDocSetSettingB(doc, savedB);

    EXPECT_EQ(modelDocGetSettingA(doc), VARIANT_TRUE);
    EXPECT_EQ(modelDocGetSettingB(doc), VARIANT_FALSE);
    EXPECT_EQ(modelDocGetCreationFlag(doc), VARIANT_TRUE);

    const auto order = part.kit().journal().order(
        {"IModelDoc2::SetCreationFlag", "IModelDoc2::SetSettingA", "IModelDoc2::SetSettingB",
         "IModelDoc2::EnterBuildMode", "IModelDoc2::LeaveBuildMode", "IStateObject::SetFlag",
         "IFeatureManager::SetTreeUpdates"});
    EXPECT_EQ(order,
              (std::vector<std::string>{"IModelDoc2::SetCreationFlag", "IModelDoc2::SetSettingB",
                                        "IModelDoc2::SetSettingA", "IModelDoc2::EnterBuildMode",
                                        "IStateObject::SetFlag", "IFeatureManager::SetTreeUpdates",
                                        "IModelDoc2::LeaveBuildMode", "IModelDoc2::SetSettingB"}));
    const auto enter = part.kit().journal().calls("IModelDoc2::EnterBuildMode");
    ASSERT_EQ(enter.size(), 1u);
    EXPECT_EQ(enter[0].args, std::vector<std::string>{"1"});
}

TEST(SessionSettings, ClosingADocumentRemovesItFromTheSession) {
    ISldWorksPtr app = createSimulatedSldWorks();
    IModelDoc2Ptr first(sldWorksNewPart(app));
    IModelDoc2Ptr second(sldWorksNewPart(app));
    EXPECT_EQ(IModelDoc2Ptr(modelDocGetNext(first)), second);
    // New documents have no path yet; closing by the empty path closes the first of them.
    sldWorksCloseDocument(app, "");
    EXPECT_EQ(IModelDoc2Ptr(sldWorksGetFirstDocument(app)), second);
}

} // namespace
