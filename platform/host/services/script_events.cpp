#include "platform/host/services/script_events.h"

#include "platform/host/services/log.h"

#include <mutex>

namespace hostsvc {
namespace {

struct EventState {
    std::mutex mutex;
    std::vector<ScriptEvent> journal;
};

EventState& state() {
    static EventState s;
    return s;
}

} // namespace

int raiseScriptEvent(std::string_view name, std::string_view argument) {
    EventState& s = state();
    {
        std::lock_guard lock(s.mutex);
        s.journal.push_back(ScriptEvent{std::string(name), std::string(argument)});
    }
    if (isLogEnabled("hostscriptevents", logLevelDebug))
        writeLog(
            LogRecord{"hostscriptevents", logLevelDebug, __FILE__, __func__, __LINE__,
                      "Script event " + std::string(name) + " (" + std::string(argument) + ")"});
    return 0;
}

std::vector<ScriptEvent> scriptEventJournal() {
    EventState& s = state();
    std::lock_guard lock(s.mutex);
    return s.journal;
}

void clearScriptEventJournal() {
    EventState& s = state();
    std::lock_guard lock(s.mutex);
    s.journal.clear();
}

namespace detail {
void resetScriptEvents() {
    clearScriptEventJournal();
}
} // namespace detail

} // namespace hostsvc
