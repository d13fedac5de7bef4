#include "platform/host/services/checkin_postprocess.h"

#include <mutex>

namespace hostsvc {
namespace {

struct CheckinState {
    std::mutex mutex;
    NativeCheckinPrinter printer;
    std::optional<NativeCheckinResult> last;
};

CheckinState& state() {
    static CheckinState s;
    return s;
}

} // namespace

void postProcessNativeCheckin(std::string_view recordText, std::string_view interfaceName) {
    CheckinState& s = state();
    NativeCheckinPrinter printer;
    NativeCheckinResult result{std::string(recordText), std::string(interfaceName)};
    {
        std::lock_guard lock(s.mutex);
        s.last = result;
        printer = s.printer;
    }
    // Outside the lock: a printer may call back into the host services.
    if (printer)
        printer(result);
}

void setNativeCheckinPrinter(NativeCheckinPrinter printer) {
    CheckinState& s = state();
    std::lock_guard lock(s.mutex);
    s.printer = std::move(printer);
}

std::optional<NativeCheckinResult> lastNativeCheckin() {
    CheckinState& s = state();
    std::lock_guard lock(s.mutex);
    return s.last;
}

namespace detail {
void resetNativeCheckin() {
    CheckinState& s = state();
    std::lock_guard lock(s.mutex);
    s.printer = nullptr;
    s.last.reset();
}
} // namespace detail

} // namespace hostsvc
