#include "metamodel/core/registry.h"

#include "metamodel/core/metalog.h"

#include <atomic>
#include <climits>
#include <unordered_map>

namespace {

std::atomic<std::uint64_t> nextSerial{1};

// The calling thread's prototypes, by registration serial. A replaced registration's
// prototype stays here (unused) until the thread ends, so pointers handed out stay valid.
struct threadPrototypesS {
    std::unordered_map<std::uint64_t, std::unique_ptr<metaObjectVirtualDataBaseC>> bySerial;
};

threadPrototypesS& threadPrototypes() {
    thread_local threadPrototypesS prototypes;
    return prototypes;
}

metaObjectVirtualDataBaseC::bindingS unownedBinding(metaTreePtrT node) {
    metaObjectVirtualDataBaseC::bindingS binding;
    binding.node = node;
    return binding;
}

} // namespace

std::mutex& metaRegistryLock() {
    static std::mutex lock;
    return lock;
}

metaObjectInterfaceRegistryC::metaObjectInterfaceRegistryC(std::string interfaceName)
    : name_(std::move(interfaceName)) {}

metaObjectInterfaceRegistryC::~metaObjectInterfaceRegistryC() = default;

bool metaObjectInterfaceRegistryC::registerFactory(const mzComStringC& tag, int priority,
                                                   factoryT factory, std::string className) {
    const std::string key = metaToUtf8(tag);
    if (!isValidNameToken(key) || !factory) {
        META_LOG_WARNING("registry " + name_ + ": refused registration of \"" + key +
                         "\" (invalid tag or no class)");
        return false;
    }
    std::lock_guard<std::mutex> guard(metaRegistryLock());
    auto it = entries_.find(key);
    if (it != entries_.end() && it->second.priority >= priority)
        return false;
    entryS entry{priority, nextSerial.fetch_add(1), std::move(factory), std::move(className)};
    if (it == entries_.end())
        entries_.emplace(key, std::move(entry));
    else
        it->second = std::move(entry);
    return true;
}

metaObjectVirtualDataBaseC* metaObjectInterfaceRegistryC::lookup(const mzComStringC& tag) {
    std::uint64_t serial = 0;
    factoryT factory;
    {
        std::lock_guard<std::mutex> guard(metaRegistryLock());
        auto it = entries_.find(metaToUtf8(tag));
        if (it == entries_.end())
            return nullptr;
        serial = it->second.serial;
        factory = it->second.factory;
    }
    auto& cache = threadPrototypes().bySerial;
    auto found = cache.find(serial);
    if (found != cache.end())
        return found->second.get();
    std::unique_ptr<metaObjectVirtualDataBaseC> prototype = factory();
    metaObjectVirtualDataBaseC* raw = prototype.get();
    if (raw)
        cache.emplace(serial, std::move(prototype));
    return raw;
}

bool metaObjectInterfaceRegistryC::isRegistered(const mzComStringC& tag) const {
    std::lock_guard<std::mutex> guard(metaRegistryLock());
    return entries_.count(metaToUtf8(tag)) != 0;
}

int metaObjectInterfaceRegistryC::priorityOf(const mzComStringC& tag) const {
    std::lock_guard<std::mutex> guard(metaRegistryLock());
    auto it = entries_.find(metaToUtf8(tag));
    return it == entries_.end() ? INT_MIN : it->second.priority;
}

std::string metaObjectInterfaceRegistryC::classNameOf(const mzComStringC& tag) const {
    std::lock_guard<std::mutex> guard(metaRegistryLock());
    auto it = entries_.find(metaToUtf8(tag));
    return it == entries_.end() ? std::string() : it->second.className;
}

std::size_t metaObjectInterfaceRegistryC::size() const {
    std::lock_guard<std::mutex> guard(metaRegistryLock());
    return entries_.size();
}

void metaObjectInterfaceRegistryC::clear() {
    std::lock_guard<std::mutex> guard(metaRegistryLock());
    entries_.clear();
}

metaObjectInterfaceHlpC::metaObjectInterfaceHlpC(metaObjectInterfaceRegistryC& registry,
                                                 const mzComStringC& tag, int priority,
                                                 metaObjectInterfaceRegistryC::factoryT factory,
                                                 std::string className)
    : entered_(registry.registerFactory(tag, priority, std::move(factory), std::move(className))) {}

metaObjectVirtualDataBaseC* lookupInterfaceInstance(metaObjectInterfaceRegistryC& registry,
                                                    const mzComStringC& tag) {
    return registry.lookup(tag);
}

prototypeBindGuardC::prototypeBindGuardC(metaObjectVirtualDataBaseC& prototype,
                                         metaTreePtrT node) noexcept
    : prototype_(prototype), saved_(prototype.swapBinding(unownedBinding(node))) {}

prototypeBindGuardC::~prototypeBindGuardC() {
    prototype_.swapBinding(saved_);
}
