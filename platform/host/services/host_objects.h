// Host objects reached by name, and the values their methods take and give.
//
// Object and method names compare ignoring ASCII case, as automation names do. A call of an
// unknown object or method, or a failure inside a method, throws HostCallError.
#pragma once

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace hostsvc {

class HostObject;
struct HostValue;
using HostValueList = std::vector<HostValue>;

// empty, int, double, string (UTF-8), object, list
struct HostValue {
    std::variant<std::monostate, int, double, std::string, std::shared_ptr<HostObject>,
                 HostValueList>
        data;
};

class HostCallError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class HostObject {
public:
    virtual ~HostObject() = default;
    virtual HostValue invoke(std::string_view method, const HostValueList& args) = 0;
};

// Registers (or replaces) the object under the name; a null object unregisters it.
void registerHostObject(std::string_view name, std::shared_ptr<HostObject> object);
std::shared_ptr<HostObject> findHostObject(std::string_view name);
HostValue invokeHostObject(std::string_view name, std::string_view method,
                           const HostValueList& args);

// The watchdog's poll object: "ping" counts the pings and returns the new count.
inline constexpr std::string_view watchdogObjectName = "Tarnwick.Application";

class WatchdogPollObject : public HostObject {
public:
    HostValue invoke(std::string_view method, const HostValueList& args) override;
    int pingCount() const { return pings_.load(); }

private:
    std::atomic<int> pings_{0};
};

// Pings counted by the watchdog registered under watchdogObjectName (0 when another object,
// or none, is registered there).
int watchdogPingCount();

namespace detail {
void resetHostObjects();
} // namespace detail

} // namespace hostsvc
