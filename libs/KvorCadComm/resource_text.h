// Translated resource texts of the host, by message key and application.
#pragma once

#include "libs/KvorCore/loader/com_string.h"

// The host's translation of the message key for the application; it may hold placeholders
// "%1" for mzComStringC::arg. A key the host does not know translates to the key itself.
mzComStringC translateResourceText(const mzComStringC& key, const mzComStringC& appName);
