// Host script events ("AppBeforeCreate", "AppAfterCreate", "DocOnOpen", ...). The stand-in
// runs no scripts: raising an event records it in a journal (and logs it at debug level in
// the category "hostscriptevents").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hostsvc {

struct ScriptEvent {
    std::string name;
    std::string argument;
};

// Returns 0: no script objected.
int raiseScriptEvent(std::string_view name, std::string_view argument = {});
std::vector<ScriptEvent> scriptEventJournal();
void clearScriptEventJournal();

namespace detail {
void resetScriptEvents();
}

} // namespace hostsvc
