// The name of a session interface by its IID ("IEntity"), for the fault plan's refusals;
// empty for an IID the session does not know.
#pragma once

#include "platform/com/guid.h"

const char* sessionInterfaceName(REFIID iid);
