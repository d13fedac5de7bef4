#include "libs/KvorCore/loader/log_category.h"

#include "platform/host/services/log.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <vector>

namespace {

struct CategoryEntry {
    std::string name;
    // Generation of the host's log settings (high 32 bits) and the threshold then (low 32).
    std::atomic<std::uint64_t> cachedThreshold{0};
};

struct CategoryRegistry {
    std::shared_mutex mutex;
    std::vector<std::unique_ptr<CategoryEntry>> entries; // handle = index + 1
    std::map<std::string, mzLogCategoryT, std::less<>> byName;
};

CategoryRegistry& registry() {
    static CategoryRegistry r;
    return r;
}

CategoryEntry* entryOf(mzLogCategoryT category) {
    CategoryRegistry& r = registry();
    std::shared_lock lock(r.mutex);
    if (category == 0 || category > r.entries.size())
        return nullptr;
    return r.entries[category - 1].get();
}

constexpr std::string_view unregisteredName = "unregistered";

} // namespace

mzLogCategoryT registerLogCategory(std::string_view name) {
    CategoryRegistry& r = registry();
    {
        std::shared_lock lock(r.mutex);
        if (auto it = r.byName.find(name); it != r.byName.end())
            return it->second;
    }
    std::unique_lock lock(r.mutex);
    if (auto it = r.byName.find(name); it != r.byName.end())
        return it->second;
    auto entry = std::make_unique<CategoryEntry>();
    entry->name = std::string(name);
    r.entries.push_back(std::move(entry));
    const auto handle = static_cast<mzLogCategoryT>(r.entries.size());
    r.byName.emplace(std::string(name), handle);
    return handle;
}

std::string logCategoryName(mzLogCategoryT category) {
    if (const CategoryEntry* entry = entryOf(category))
        return entry->name;
    return std::string(unregisteredName);
}

std::string_view logCategoryNameOfFile(const char* sourceFile) {
    if (!sourceFile)
        return unregisteredName;
    std::string_view file(sourceFile);
    const auto slash = file.find_last_of("/\\");
    return slash == std::string_view::npos ? file : file.substr(slash + 1);
}

bool isLogLevelEnabled(mzLogCategoryT category, int level) {
    CategoryEntry* entry = entryOf(category);
    if (!entry)
        return hostsvc::isLogEnabled(unregisteredName, level);
    // Read the generation before the threshold: a change in between leaves a stale
    // generation in the cache, which the next check refreshes.
    const std::uint32_t generation = hostsvc::logConfigGeneration();
    const std::uint64_t cached = entry->cachedThreshold.load(std::memory_order_acquire);
    int threshold;
    if (static_cast<std::uint32_t>(cached >> 32) == generation) {
        threshold = static_cast<int>(static_cast<std::uint32_t>(cached));
    } else {
        threshold = hostsvc::categoryLogLevel(entry->name);
        entry->cachedThreshold.store((std::uint64_t{generation} << 32) |
                                         static_cast<std::uint32_t>(threshold),
                                     std::memory_order_release);
    }
    return level >= threshold;
}

void writeLogRecord(mzLogCategoryT category, int level, const char* sourceFile,
                    const char* function, int line, const mzComStringC& text) {
    if (!isLogLevelEnabled(category, level))
        return;
    hostsvc::writeLog(hostsvc::LogRecord{logCategoryName(category), level,
                                         sourceFile ? sourceFile : "", function ? function : "",
                                         line, text.toUtf8()});
}

void writeLogRecord(mzLogCategoryT category, int level, const char* sourceFile,
                    const char* function, int line, const char* text) {
    if (!isLogLevelEnabled(category, level))
        return;
    hostsvc::writeLog(hostsvc::LogRecord{logCategoryName(category), level,
                                         sourceFile ? sourceFile : "", function ? function : "",
                                         line, text ? text : ""});
}
