// The host's log: records with category, level, source position and text.
//
// Levels grow with severity: 5000 trace, 10000 debug, 20000 info, 30000 warning,
// 40000 error, 50000 fatal. Every category has a threshold (its "level"); a record of
// level L is written when L >= the threshold of its category. So "the category is
// enabled at 5000" means its threshold is 5000 or less, and trace records are written
// only then. Categories without a threshold of their own use the host's default.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace hostsvc {

inline constexpr int logLevelTrace = 5000;
inline constexpr int logLevelDebug = 10000;
inline constexpr int logLevelInfo = 20000;
inline constexpr int logLevelWarning = 30000;
inline constexpr int logLevelError = 40000;
inline constexpr int logLevelFatal = 50000;

// The host's threshold for categories that have none of their own.
inline constexpr int defaultLogThreshold = logLevelInfo;

struct LogRecord {
    std::string category;
    int level = 0;
    std::string sourceFile;
    std::string function;
    int line = 0;
    std::string text;
};

void setDefaultLogLevel(int threshold);
int defaultLogLevel();
void setCategoryLogLevel(std::string_view category, int threshold);
// Drops the category's own threshold; it follows the default again.
void clearCategoryLogLevel(std::string_view category);
int categoryLogLevel(std::string_view category);
bool isLogEnabled(std::string_view category, int level);

// Grows by one whenever a threshold changes, so that callers may cache thresholds and
// notice when their cache is stale. Never 0.
std::uint32_t logConfigGeneration();

// Writes the record to every active sink when its category admits its level.
void writeLog(const LogRecord& record);

// Sinks. The file is appended to; false (with a reason in *error) when it cannot be opened.
bool setLogFile(const std::filesystem::path& file, std::string* error = nullptr);
void closeLogFile();
void setLogToStderr(bool on);
void setLogCapture(bool on);
std::vector<LogRecord> capturedLogRecords();
void clearCapturedLogRecords();

// One record as the file and stderr sinks print it (without the line end).
std::string formatLogRecord(const LogRecord& record);

namespace detail {
void resetLog();
}

} // namespace hostsvc
