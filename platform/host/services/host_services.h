// All host services of the stand-in host, and the reset that tests call between cases.
#pragma once

#include "platform/host/services/checkin_postprocess.h"
#include "platform/host/services/config.h"
#include "platform/host/services/host_objects.h"
#include "platform/host/services/log.h"
#include "platform/host/services/messages.h"
#include "platform/host/services/resolver.h"
#include "platform/host/services/resource_texts.h"
#include "platform/host/services/script_events.h"
#include "platform/host/services/user_folder.h"

namespace hostsvc {

// Back to the state of a fresh process: default log threshold, no log sinks or captures,
// no shown messages, no journal entries, no user-folder override, no cached configurations,
// only the default host objects (a new watchdog), no check-in printer or result.
void resetHostServices();

} // namespace hostsvc
