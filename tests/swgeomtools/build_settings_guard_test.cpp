// The build-settings guard against the simulated session: what it switches, the order of its
// calls, and that the user's settings come back however the scope is left.
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swgeomtools/build_settings_guard.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// "Call(arg, arg)" for every journal entry of the guard's calls, in order.
std::vector<std::string> guardCalls(const partFixtureC& fixture) {
    static const std::vector<std::string> keys = {
        "IModelDoc2::SetCreationFlag",    "IModelDoc2::GetSettingA",
        "IModelDoc2::GetSettingB",        "IModelDoc2::SetSettingA",
        "IModelDoc2::SetSettingB",        "ISldWorks::GetToggle",
        "ISldWorks::SetToggle",           "ISldWorks::GetIntegerSetting",
        "ISldWorks::SetIntegerSetting",   "IModelDoc2::EnterBuildMode",
        "IModelDoc2::LeaveBuildMode",     "IModelDoc2::GetStateObject",
        "IStateObject::SetFlag",          "IModelDoc2::GetFeatureManager",
        "IFeatureManager::SetTreeUpdates"};
    std::vector<std::string> out;
    for (const journalEntryS& entry : fixture.kit().journal().entries()) {
        if (std::find(keys.begin(), keys.end(), entry.call) == keys.end())
            continue;
        std::string text = entry.call.substr(entry.call.find("::") + 2) + "(";
        for (std::size_t i = 0; i < entry.args.size(); ++i)
            text += (i ? ", " : "") + entry.args[i];
        out.push_back(text + ")");
    }
    return out;
}

// The user's settings before a build: toggle 77 off, integer preference 3 at 5, setting B on.
class BuildSettingsGuardTest : public ::testing::Test {
protected:
    void SetUp() override {
        sldWorksSetUserToggle(f.app(), 77, VARIANT_FALSE);
        sldWorksSetUserInt(f.app(), 3, 5);
        modelDocSetSettingB(f.doc(), VARIANT_TRUE);
        f.kit().reset();
    }
    void expectUserSettings() {
        EXPECT_EQ(sldWorksGetUserToggle(f.app(), 11), VARIANT_TRUE);
        EXPECT_EQ(sldWorksGetUserToggle(f.app(), 77), VARIANT_FALSE);
        EXPECT_EQ(sldWorksGetUserToggle(f.app(), 97), VARIANT_TRUE);
        EXPECT_EQ(sldWorksGetUserInt(f.app(), 3), 5);
        EXPECT_EQ(modelDocGetSettingA(f.doc()), VARIANT_FALSE);
        EXPECT_EQ(modelDocGetSettingB(f.doc()), VARIANT_TRUE);
    }
    partFixtureC f;
};

TEST_F(BuildSettingsGuardTest, SwitchesAndRestoresInOrder) {
    {
        swBuildSettingsGuardC guard(f.app(), f.doc());
        EXPECT_EQ(guardCalls(f),
                  (std::vector<std::string>{
                      "SetCreationFlag(-1)", "GetSettingB()", "GetSettingA()", "GetToggle(11)",
                      "SetToggle(11, 0)", "GetToggle(77)", "SetToggle(77, 0)", "GetToggle(97)",
                      "SetToggle(97, 0)", "GetIntegerSetting(3)", "SetIntegerSetting(3, 0)",
                      "SetSettingB(-1)", "SetSettingA(-1)", "EnterBuildMode(1)", "GetStateObject()",
                      "SetFlag(0)", "GetFeatureManager()", "SetTreeUpdates(0)"}));
        EXPECT_EQ(sldWorksGetUserToggle(f.app(), 11), VARIANT_FALSE);
        EXPECT_EQ(sldWorksGetUserInt(f.app(), 3), 0);
        EXPECT_EQ(modelDocGetSettingA(f.doc()), VARIANT_TRUE);
        f.kit().journal().clear();
    }
    EXPECT_EQ(guardCalls(f), (std::vector<std::string>{
                                 "LeaveBuildMode()", "SetSettingA(0)", "SetSettingB(-1)",
                                 "SetToggle(11, -1)", "SetToggle(77, 0)", "SetToggle(97, -1)",
                                 "SetIntegerSetting(3, 5)", "SetCreationFlag(-1)"}));
    expectUserSettings();
}

TEST_F(BuildSettingsGuardTest, RestoresWhenTheBuildThrows) {
    EXPECT_THROW(
        {
            swBuildSettingsGuardC guard(f.app(), f.doc());
            throw std::runtime_error("build failed");
        },
        std::runtime_error);
    expectUserSettings();
}

TEST_F(BuildSettingsGuardTest, FailedConstructionPutsBackWhatItSwitched) {
    // The integer preference refuses to change: the toggles are already off.
    f.kit().plan().failWith("ISldWorks::SetIntegerSetting", E_FAIL, 1);
    try {
        swBuildSettingsGuardC guard(f.app(), f.doc());
        FAIL() << "the guard was made";
    } catch (const _com_error& error) {
        EXPECT_EQ(error.Error(), E_FAIL);
    }
    const std::vector<std::string> calls = guardCalls(f);
    const std::vector<std::string> tail(calls.end() - 7, calls.end());
    EXPECT_EQ(tail,
              (std::vector<std::string>{"SetSettingA(0)", "SetSettingB(-1)", "SetToggle(11, -1)",
                                        "SetToggle(77, 0)", "SetToggle(97, -1)",
                                        "SetIntegerSetting(3, 5)", "SetCreationFlag(-1)"}));
    EXPECT_EQ(f.kit().journal().count("IModelDoc2::LeaveBuildMode"), 0u);
    expectUserSettings();
}

TEST_F(BuildSettingsGuardTest, FailureAfterEnteringBuildModeLeavesIt) {
    f.kit().plan().refuseInterface("IStateObject");
    EXPECT_THROW(swBuildSettingsGuardC(f.app(), f.doc()), _com_error);
    EXPECT_EQ(f.kit().journal().count("IModelDoc2::EnterBuildMode"), 1u);
    EXPECT_EQ(f.kit().journal().count("IModelDoc2::LeaveBuildMode"), 1u);
    expectUserSettings();
}

TEST_F(BuildSettingsGuardTest, FirstCallFailingRestoresNothing) {
    f.kit().plan().failWith("IModelDoc2::SetCreationFlag", E_UNEXPECTED, 1);
    EXPECT_THROW(swBuildSettingsGuardC(f.app(), f.doc()), _com_error);
    EXPECT_EQ(f.kit().journal().count("IModelDoc2::SetCreationFlag"), 1u);
    EXPECT_EQ(f.kit().journal().count("ISldWorks::SetToggle"), 0u);
}

TEST_F(BuildSettingsGuardTest, DestructorGoesOnPastFailingRestores) {
    {
        swBuildSettingsGuardC guard(f.app(), f.doc());
        // Every restoring call of the document fails from now on.
        f.kit().plan().failWith("IModelDoc2::LeaveBuildMode", E_FAIL);
        f.kit().plan().failWith("IModelDoc2::SetSettingA", E_FAIL);
        f.kit().plan().failWith("ISldWorks::SetToggle", E_FAIL, 4); // toggle 11 back
    }
    // The application's settings that did not fail are back.
    EXPECT_EQ(sldWorksGetUserToggle(f.app(), 11), VARIANT_FALSE);
    EXPECT_EQ(sldWorksGetUserToggle(f.app(), 77), VARIANT_FALSE);
    EXPECT_EQ(sldWorksGetUserToggle(f.app(), 97), VARIANT_TRUE);
    EXPECT_EQ(sldWorksGetUserInt(f.app(), 3), 5);
    EXPECT_EQ(modelDocGetSettingB(f.doc()), VARIANT_TRUE);
    EXPECT_EQ(f.kit().journal().calls("IModelDoc2::SetCreationFlag").back().args,
              std::vector<std::string>{"-1"});
}

TEST_F(BuildSettingsGuardTest, NullDocumentRaisesAndRestoresNothing) {
    EXPECT_THROW(swBuildSettingsGuardC(f.app(), nullptr), _com_error);
    EXPECT_EQ(f.kit().journal().count("ISldWorks::SetToggle"), 0u);
}

} // namespace
