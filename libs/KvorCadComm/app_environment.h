// The application environment of the plug-in: the name under which the host knows it.
// Options, messages and creation warnings are filed under this name.
#pragma once

#include "libs/KvorCore/loader/com_string.h"

// The application name loaded with the environment: "natlinkon".
mzComStringC getAppName();
