#include "platform/host/services/host_objects.h"

#include "platform/host/services/ascii.h"

#include <mutex>
#include <utility>

namespace hostsvc {
namespace detail {} // namespace detail

namespace {

struct Registry {
    std::mutex mutex;
    std::vector<std::pair<std::string, std::shared_ptr<HostObject>>> objects;

    Registry() { addDefaults(); }
    void addDefaults() {
        objects.emplace_back(std::string(watchdogObjectName),
                             std::make_shared<WatchdogPollObject>());
    }
};

Registry& registry() {
    static Registry r;
    return r;
}

} // namespace

void registerHostObject(std::string_view name, std::shared_ptr<HostObject> object) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    for (auto it = r.objects.begin(); it != r.objects.end(); ++it) {
        if (detail::equalsIgnoreCase(it->first, name)) {
            if (object)
                it->second = std::move(object);
            else
                r.objects.erase(it);
            return;
        }
    }
    if (object)
        r.objects.emplace_back(std::string(name), std::move(object));
}

std::shared_ptr<HostObject> findHostObject(std::string_view name) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    for (const auto& [n, object] : r.objects)
        if (detail::equalsIgnoreCase(n, name))
            return object;
    return nullptr;
}

HostValue invokeHostObject(std::string_view name, std::string_view method,
                           const HostValueList& args) {
    const std::shared_ptr<HostObject> object = findHostObject(name);
    if (!object)
        throw HostCallError("no host object is registered under the name '" + std::string(name) +
                            "'");
    return object->invoke(method, args);
}

HostValue WatchdogPollObject::invoke(std::string_view method, const HostValueList& args) {
    if (!detail::equalsIgnoreCase(method, "ping"))
        throw HostCallError("the watchdog has no method '" + std::string(method) + "'");
    if (!args.empty())
        throw HostCallError("the watchdog's method 'ping' takes no arguments, " +
                            std::to_string(args.size()) + " given");
    return HostValue{++pings_};
}

int watchdogPingCount() {
    auto watchdog =
        std::dynamic_pointer_cast<WatchdogPollObject>(findHostObject(watchdogObjectName));
    return watchdog ? watchdog->pingCount() : 0;
}

namespace detail {
void resetHostObjects() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.objects.clear();
    r.addDefaults();
}
} // namespace detail

} // namespace hostsvc
