// Finding and opening the modules: beside the running program first (a program copied with its
// modules), then where the build put them (tests, benchmarks and tools run in the build tree).
#include "platform/sldworks/model/modules.h"

#include "platform/sldworks/model/types.h"

#include <cstring>
#include <filesystem>
#include <iostream>

#include <dlfcn.h>

namespace swsim::detail {

namespace {

struct openedS {
    const void* table = nullptr;
    std::string error;
};

openedS openOnce(const std::string& file, const char* entry, int version, const char* builtAt) {
    std::vector<std::string> candidates;
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        candidates.push_back((program.parent_path() / file).string());
    if (candidates.empty() || candidates.front() != builtAt)
        candidates.emplace_back(builtAt);
    openedS opened;
    opened.table = openModule(file, entry, candidates, version, opened.error);
    // A module missing from the installation is no fault of the document: SolidWorks' calls
    // answer only a failure code, so the reason is told here, once.
    if (opened.table == nullptr)
        std::cerr << "natlink: " << opened.error << '\n';
    return opened;
}

template <class TableT> const TableT& tableOf(const openedS& opened, const char* what) {
    if (opened.table == nullptr)
        throw ModelError(std::string(what) + ": " + opened.error);
    return *static_cast<const TableT*>(opened.table);
}

} // namespace

const void* openModule(const std::string& file, const char* entry,
                       const std::vector<std::string>& candidates, int version,
                       std::string& error) {
    error = "the module " + file + " cannot be opened:";
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
        void* symbol = ::dlsym(handle, entry);
        decltype(&natlink_exchange_api) answer = nullptr;
        static_assert(sizeof(answer) == sizeof(symbol));
        std::memcpy(&answer, &symbol, sizeof(answer));
        // Every table starts with its version.
        const void* table = answer ? answer() : nullptr;
        if (table && *static_cast<const int*>(table) == version)
            return table; // kept open for the life of the process
        error += table ? "a module of another version" : std::string("no ") + entry;
        ::dlclose(handle);
    }
    return nullptr;
}

const exchange::Api& exchangeModule(const char* what) {
    static const openedS opened = openOnce("libnatlink_exchange.so", "natlink_exchange_api",
                                           exchange::kApiVersion, NATLINK_EXCHANGE_MODULE);
    return tableOf<exchange::Api>(opened, what);
}

const exchange::StlApi& stlModule(const char* what) {
    static const openedS opened =
        openOnce("libnatlink_stl.so", "natlink_stl_api", exchange::kApiVersion, NATLINK_STL_MODULE);
    return tableOf<exchange::StlApi>(opened, what);
}

const exchange::XdeApi& xdeModule(const char* what) {
    static const openedS opened =
        openOnce("libnatlink_xde.so", "natlink_xde_api", exchange::kApiVersion, NATLINK_XDE_MODULE);
    return tableOf<exchange::XdeApi>(opened, what);
}

const offset::Api& offsetModule(const char* what) {
    static const openedS opened = openOnce("libnatlink_offset.so", "natlink_offset_api",
                                           offset::kApiVersion, NATLINK_OFFSET_MODULE);
    return tableOf<offset::Api>(opened, what);
}

} // namespace swsim::detail
