// Log categories (one per source file, a 32-bit handle registered on first use) and the
// writing of log records through the host's log.
//
// Levels grow with severity (5000 trace ... 40000 error); a record is written when its level
// is at or above the threshold of its category (see platform/host/services/log.h).
#pragma once

#include "libs/KvorCore/loader/com_string.h"

#include <cstdint>
#include <string>
#include <string_view>

using mzLogCategoryT = std::uint32_t;

inline constexpr int mzLogLevelTrace = 5000;
inline constexpr int mzLogLevelDebug = 10000;
inline constexpr int mzLogLevelInfo = 20000;
inline constexpr int mzLogLevelWarning = 30000;
inline constexpr int mzLogLevelError = 40000;
inline constexpr int mzLogLevelFatal = 50000;

// The handle of the category; the same name always gives the same handle (never 0).
// Thread-safe.
mzLogCategoryT registerLogCategory(std::string_view name);
// The category's name; "unregistered" for a handle that registerLogCategory did not give.
std::string logCategoryName(mzLogCategoryT category);
// The category name of a source file: its file name without folders ("swCheckin.cpp").
std::string_view logCategoryNameOfFile(const char* sourceFile);

// Cheap: a cached threshold, refreshed only when the host's log settings change.
bool isLogLevelEnabled(mzLogCategoryT category, int level);
void writeLogRecord(mzLogCategoryT category, int level, const char* sourceFile,
                    const char* function, int line, const mzComStringC& text);
void writeLogRecord(mzLogCategoryT category, int level, const char* sourceFile,
                    const char* function, int line, const char* text);

// The category of the current source file, registered once per use site.
#define NATLINK_LOG_CATEGORY()                                                                     \
    ([]() -> mzLogCategoryT {                                                                      \
        static const mzLogCategoryT natlinkCategory =                                              \
            registerLogCategory(logCategoryNameOfFile(__FILE__));                                  \
        return natlinkCategory;                                                                    \
    }())

// One record in the current file's category; `text` is evaluated only when it is written.
#define NATLINK_LOG(level, text)                                                                   \
    do {                                                                                           \
        const mzLogCategoryT natlinkLogCategory_ = NATLINK_LOG_CATEGORY();                         \
        if (isLogLevelEnabled(natlinkLogCategory_, (level)))                                       \
            writeLogRecord(natlinkLogCategory_, (level), __FILE__, __PRETTY_FUNCTION__, __LINE__,  \
                           (text));                                                                \
    } while (false)
