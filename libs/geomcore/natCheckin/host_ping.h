// The watchdog poll object of the host and its "ping": the check-in pings it before each
// document and each configuration it reads, so that the host's watchdog sees progress.
#pragma once

#include "libs/KvorCore/loader/dispatch.h"

// The host's watchdog poll object, reached by name.
using TarnwickPollObj = mzIDispatchC;

// The name under which the host registers its watchdog poll object.
inline constexpr const char* tarnwickPollObjectName = "Tarnwick.Application";

// Invokes "ping" on the object and gives its int (0 when the call failed; never throws).
int pingHost(const mzIDispatchC& object);
