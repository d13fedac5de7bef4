#include "platform/host/services/log.h"

#include <atomic>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>

namespace hostsvc {
namespace {

struct LogState {
    std::mutex mutex;
    int defaultThreshold = defaultLogThreshold;
    std::map<std::string, int, std::less<>> categoryThresholds;
    std::ofstream file;
    bool toStderr = false;
    bool capture = false;
    std::vector<LogRecord> captured;
};

LogState& state() {
    static LogState s;
    return s;
}

std::atomic<std::uint32_t> generation{1};

void bumpGeneration() {
    std::uint32_t next = generation.load() + 1;
    if (next == 0)
        next = 1;
    generation.store(next);
}

int thresholdLocked(LogState& s, std::string_view category) {
    auto it = s.categoryThresholds.find(category);
    return it == s.categoryThresholds.end() ? s.defaultThreshold : it->second;
}

} // namespace

void setDefaultLogLevel(int threshold) {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    s.defaultThreshold = threshold;
    bumpGeneration();
}

int defaultLogLevel() {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    return s.defaultThreshold;
}

void setCategoryLogLevel(std::string_view category, int threshold) {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    s.categoryThresholds.insert_or_assign(std::string(category), threshold);
    bumpGeneration();
}

void clearCategoryLogLevel(std::string_view category) {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    auto it = s.categoryThresholds.find(category);
    if (it != s.categoryThresholds.end())
        s.categoryThresholds.erase(it);
    bumpGeneration();
}

int categoryLogLevel(std::string_view category) {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    return thresholdLocked(s, category);
}

bool isLogEnabled(std::string_view category, int level) {
    return level >= categoryLogLevel(category);
}

std::uint32_t logConfigGeneration() {
    return generation.load();
}

std::string formatLogRecord(const LogRecord& record) {
    std::string out;
    out.reserve(record.text.size() + record.sourceFile.size() + record.function.size() + 48);
    out += std::to_string(record.level);
    out += " [";
    out += record.category;
    out += "] ";
    out += record.text;
    out += " (";
    out += record.sourceFile;
    out += ':';
    out += std::to_string(record.line);
    if (!record.function.empty()) {
        out += ' ';
        out += record.function;
    }
    out += ')';
    return out;
}

void writeLog(const LogRecord& record) {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    if (record.level < thresholdLocked(s, record.category))
        return;
    if (s.file.is_open() || s.toStderr) {
        const std::string line = formatLogRecord(record);
        if (s.file.is_open())
            s.file << line << '\n' << std::flush;
        if (s.toStderr)
            std::cerr << line << '\n';
    }
    if (s.capture)
        s.captured.push_back(record);
}

bool setLogFile(const std::filesystem::path& file, std::string* error) {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    s.file.close();
    s.file.clear();
    s.file.open(file, std::ios::out | std::ios::app);
    if (!s.file.is_open()) {
        if (error)
            *error = "cannot open log file '" + file.string() + "' for writing";
        return false;
    }
    return true;
}

void closeLogFile() {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    s.file.close();
}

void setLogToStderr(bool on) {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    s.toStderr = on;
}

void setLogCapture(bool on) {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    s.capture = on;
}

std::vector<LogRecord> capturedLogRecords() {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    return s.captured;
}

void clearCapturedLogRecords() {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    s.captured.clear();
}

namespace detail {
void resetLog() {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    s.defaultThreshold = defaultLogThreshold;
    s.categoryThresholds.clear();
    s.file.close();
    s.toStderr = false;
    s.capture = false;
    s.captured.clear();
    bumpGeneration();
}
} // namespace detail

} // namespace hostsvc
