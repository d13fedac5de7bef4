// Finding and opening the exchange module: beside the running program first (a program copied
// with its module), then where the build put it (tests, benchmarks and tools run in the build
// tree).
#include "platform/sldworks/model/exchange_module.h"

#include "platform/sldworks/model/types.h"

#include <cstring>
#include <filesystem>

#include <dlfcn.h>

namespace swsim::detail {

namespace {

constexpr const char* kModuleFile = "libnatlink_exchange.so";

std::string besideProgram() {
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : (program.parent_path() / kModuleFile).string();
}

struct openedS {
    const exchange::Api* api = nullptr;
    std::string error;
};

openedS openOnce() {
    openedS opened;
    std::vector<std::string> candidates;
    if (std::string beside = besideProgram(); !beside.empty())
        candidates.push_back(std::move(beside));
    if (candidates.empty() || candidates.front() != NATLINK_EXCHANGE_MODULE)
        candidates.emplace_back(NATLINK_EXCHANGE_MODULE);
    opened.api = openExchangeModule(candidates, opened.error);
    return opened;
}

} // namespace

const exchange::Api* openExchangeModule(const std::vector<std::string>& candidates,
                                        std::string& error) {
    error = std::string("the STEP, IGES and STL module ") + kModuleFile + " cannot be opened:";
    for (const std::string& path : candidates) {
        error += "\n  " + path + ": ";
        std::error_code ec;
        if (!std::filesystem::exists(path, ec)) {
            error += "no such file";
            continue;
        }
        void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* reason = ::dlerror();
            error += reason ? reason : "not a loadable module";
            continue;
        }
        using entryT = const exchange::Api* (*)();
        void* symbol = ::dlsym(handle, "natlink_exchange_api");
        entryT entry = nullptr;
        static_assert(sizeof(entry) == sizeof(symbol));
        std::memcpy(&entry, &symbol, sizeof(entry));
        const exchange::Api* api = entry ? entry() : nullptr;
        if (api && api->version == exchange::kApiVersion)
            return api; // kept open for the life of the process
        error += api ? "a module of another version" : "not the exchange module";
        ::dlclose(handle);
    }
    return nullptr;
}

const exchange::Api& exchangeModule(const char* what) {
    static const openedS opened = openOnce();
    if (!opened.api)
        throw ModelError(std::string(what) + ": " + opened.error);
    return *opened.api;
}

} // namespace swsim::detail
