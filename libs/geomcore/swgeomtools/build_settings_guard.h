// swBuildSettingsGuardC: switches SolidWorks into the build mode of a part build and puts the
// user's settings back when the scope ends, also when an exception leaves it.
//
// Switched (and saved first): the document settings A and B (to TRUE), the application
// toggles 11, 77 and 97 (to FALSE) and the integer preference 3 (to 0); the document enters
// the build mode (1); the creation flag is set TRUE; the state object's flag and the feature
// tree flag are set FALSE and are not put back.
#pragma once

#include "platform/sldworks/api/sldworks_api.h"

#include <cstdint>

class swBuildSettingsGuardC {
public:
    // Saves and switches. A failing call raises its _com_error after what was already
    // switched has been put back (as the destructor would), so a half-made guard leaves
    // nothing behind.
    swBuildSettingsGuardC(ISldWorks* app, IModelDoc2* doc);
    // Puts back every saved setting it can; a failing call is logged and the rest are still
    // put back. Never throws.
    ~swBuildSettingsGuardC();

    swBuildSettingsGuardC(const swBuildSettingsGuardC&) = delete;
    swBuildSettingsGuardC& operator=(const swBuildSettingsGuardC&) = delete;

private:
    // What the constructor got to, so that a failure half-way puts back exactly that.
    struct progressS {
        bool creationFlagSet = false;
        bool settingsSaved = false;
        bool toggleSaved[3] = {false, false, false}; // toggles 11, 77, 97
        bool intPrefSaved = false;
        bool buildModeEntered = false;
    };

    void switchSettings();
    void restore() noexcept;

    IModelDoc2Ptr doc;
    ISldWorksPtr app;
    VARIANT_BOOL savedSettingB = VARIANT_FALSE;
    VARIANT_BOOL savedSettingA = VARIANT_FALSE;
    VARIANT_BOOL savedToggle11 = VARIANT_FALSE;
    VARIANT_BOOL savedToggle97 = VARIANT_FALSE;
    VARIANT_BOOL savedToggle77 = VARIANT_FALSE;
    std::int32_t savedIntPref3 = 0;
    progressS progress;
};
