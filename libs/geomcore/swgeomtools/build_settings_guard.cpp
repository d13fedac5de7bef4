#include "libs/geomcore/swgeomtools/build_settings_guard.h"

#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/swapi/swapi.h"

#include <exception>

namespace {

constexpr long toggle11 = 11;
constexpr long toggle77 = 77;
constexpr long toggle97 = 97;
constexpr long intPref3 = 3;

// Runs one restoring call; a failure is logged and does not stop the others.
template <class F> void restoreStep(const char* what, F&& step) noexcept {
    try {
        step();
    } catch (const _com_error& error) {
        try {
            NATLINK_LOG(mzLogLevelWarning,
                        mzComStringC("Could not restore ") + what + ": " + error.ErrorMessage());
        } catch (...) {
        }
    } catch (...) {
        try {
            NATLINK_LOG(mzLogLevelWarning, mzComStringC("Could not restore ") + what);
        } catch (...) {
        }
    }
}

} // namespace

swBuildSettingsGuardC::swBuildSettingsGuardC(ISldWorks* app_, IModelDoc2* doc_)
    : doc(doc_), app(app_) {
    try {
        switchSettings();
    } catch (...) {
        restore();
        throw;
    }
}

void swBuildSettingsGuardC::switchSettings() {
    modelDocSetCreationFlag(doc, VARIANT_TRUE);
    progress.creationFlagSet = true;

    savedSettingB = modelDocGetSettingB(doc);
    savedSettingA = modelDocGetSettingA(doc);
    progress.settingsSaved = true;

    VARIANT_BOOL* saved[3] = {&savedToggle11, &savedToggle77, &savedToggle97};
    const long ids[3] = {toggle11, toggle77, toggle97};
    for (int i = 0; i < 3; ++i) {
        *saved[i] = sldWorksGetUserToggle(app, ids[i]);
        progress.toggleSaved[i] = true;
        sldWorksSetUserToggle(app, ids[i], VARIANT_FALSE);
    }

    savedIntPref3 = static_cast<std::int32_t>(sldWorksGetUserInt(app, intPref3));
    progress.intPrefSaved = true;
    sldWorksSetUserInt(app, intPref3, 0);

    modelDocSetSettingB(doc, VARIANT_TRUE);
    modelDocSetSettingA(doc, VARIANT_TRUE);

    modelDocGuardEnter(doc, 1);
    progress.buildModeEntered = true;

    IStateObjectPtr state = requireInterfaceOf<IStateObject>(modelDocGetStateObject(doc));
    stateObjectSetFlag(state, VARIANT_FALSE);

    featMgrSetTreeFlag(modelDocGetFeatureManager(doc), VARIANT_FALSE);
}

void swBuildSettingsGuardC::restore() noexcept {
    if (progress.buildModeEntered)
        restoreStep("the build mode", [&] { modelDocGuardLeave(doc); });
    if (progress.settingsSaved) {
        restoreStep("document setting A", [&] { modelDocSetSettingA(doc, savedSettingA); });
        restoreStep("document setting B", [&] { modelDocSetSettingB(doc, savedSettingB); });
    }
    if (progress.toggleSaved[0])
        restoreStep("toggle 11", [&] { sldWorksSetUserToggle(app, toggle11, savedToggle11); });
    if (progress.toggleSaved[1])
        restoreStep("toggle 77", [&] { sldWorksSetUserToggle(app, toggle77, savedToggle77); });
    if (progress.toggleSaved[2])
        restoreStep("toggle 97", [&] { sldWorksSetUserToggle(app, toggle97, savedToggle97); });
    if (progress.intPrefSaved)
        restoreStep("integer preference 3",
                    [&] { sldWorksSetUserInt(app, intPref3, static_cast<long>(savedIntPref3)); });
    if (progress.creationFlagSet)
        restoreStep("the creation flag", [&] { modelDocSetCreationFlag(doc, VARIANT_TRUE); });
    progress = progressS{};
}

swBuildSettingsGuardC::~swBuildSettingsGuardC() {
    restore();
    // Release app, then doc, as the members were taken in the other order.
    app = nullptr;
    doc = nullptr;
}
