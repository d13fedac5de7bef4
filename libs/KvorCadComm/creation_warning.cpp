#include "libs/KvorCadComm/creation_warning.h"

#include "libs/KvorCadComm/global_options.h"
#include "libs/KvorCore/loader/log_category.h"
#include "platform/host/services/messages.h"

namespace {

int shownWarningLevel(const mzComStringC& appName) {
    const mzComVariantC option =
        getGlobalOptions(appName).getOption(creationWarningLevelSection, creationWarningLevelKey,
                                            mzComStringC::number(defaultCreationWarningLevel));
    bool ok = false;
    const int level = option.toString().toInt(&ok);
    if (!ok) {
        // A damaged option must not silence or flood the user: keep the host's default.
        NATLINK_LOG(mzLogLevelWarning, mzComStringC("Option ") + creationWarningLevelSection + "/" +
                                           creationWarningLevelKey + " of '" + appName +
                                           "' is no integer: '" + option.toString() + "'");
        return defaultCreationWarningLevel;
    }
    return level;
}

} // namespace

bool displayCreationWarningI(int warningLevel, const mzComStringC& source,
                             const mzComStringC& message, const mzComStringC& appName,
                             const char* sourceFile, const char* function, int line) {
    const mzLogCategoryT category = NATLINK_LOG_CATEGORY();
    if (sourceFile == nullptr) {
        sourceFile = __FILE__;
    }
    if (function == nullptr) {
        function = __PRETTY_FUNCTION__;
    }
    if (isLogLevelEnabled(category, mzLogLevelTrace)) {
        const auto record = [&](const mzComStringC& text) {
            writeLogRecord(category, mzLogLevelTrace, sourceFile, function, line, text);
        };
        record("Creation Warning: " + message);
        record("Level =" + mzComStringC::number(warningLevel));
        record("Source=" + source);
        record("Msg   =" + message);
    }

    if (warningLevel > shownWarningLevel(appName)) {
        return false;
    }
    const mzComStringC text =
        "Creation warning in module '" + appName + "' -> " + source + ": " + message;
    hostsvc::showMessage(text.toUtf8(), hostsvc::MessageKind::Warning);
    return true;
}
