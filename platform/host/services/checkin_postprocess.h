// The host's native check-in post-processing: receives the finished check-in record (as
// meta text) and the interface name. The stand-in keeps the last one for tests and hands it
// to a printer (natlinkhost prints it).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace hostsvc {

struct NativeCheckinResult {
    std::string recordText;
    std::string interfaceName;
};

using NativeCheckinPrinter = std::function<void(const NativeCheckinResult&)>;

void postProcessNativeCheckin(std::string_view recordText, std::string_view interfaceName);
void setNativeCheckinPrinter(NativeCheckinPrinter printer);
std::optional<NativeCheckinResult> lastNativeCheckin();

namespace detail {
void resetNativeCheckin();
}

} // namespace hostsvc
