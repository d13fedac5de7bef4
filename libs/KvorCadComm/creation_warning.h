// Creation warnings: what a builder reports about a node it could not build as described.
#pragma once

#include "libs/KvorCore/loader/com_string.h"

// The option (section "UI") that decides which creation warnings are shown, and its default.
inline constexpr const char* creationWarningLevelSection = "UI";
inline constexpr const char* creationWarningLevelKey = "DisplayCreationWarningLevel";
inline constexpr int defaultCreationWarningLevel = 49;

// Logs the warning (records "Creation Warning: " + message, "Level =" + level,
// "Source=" + source and "Msg   =" + message, at level 5000, with the caller's source
// position). Then reads the application's option "DisplayCreationWarningLevel" of section
// "UI" (default 49; a value that is not an integer counts as the default): a warning whose
// level is above it is not shown and gives false; otherwise the user is shown
// "Creation warning in module '" + appName + "' -> " + source + ": " + message and the
// answer is true.
bool displayCreationWarningI(int warningLevel, const mzComStringC& source,
                             const mzComStringC& message, const mzComStringC& appName,
                             const char* sourceFile, const char* function, int line);

// The caller's source position for displayCreationWarningI.
#define NATLINK_CREATION_WARNING(level, source, message, appName)                                  \
    displayCreationWarningI((level), (source), (message), (appName), __FILE__,                     \
                            __PRETTY_FUNCTION__, __LINE__)
