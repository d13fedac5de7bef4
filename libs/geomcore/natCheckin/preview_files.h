// Temporary files of the check-in previews.
#pragma once

#include "libs/KvorCore/loader/com_string.h"

// A new, empty file named "preview" + a unique part + extension (".bmp", ".stl", ...) in the
// folder the environment variable TMP names (the system's temporary folder when TMP is not
// set). The file is created exclusively, so no other process can be handed the same name.
// Raises _com_error(E_FAIL) when no file can be created there.
mzComStringC createTemporaryPreviewFile(const char* extension);

// Removes the file when it exists and is empty: a preview that was not written must not be
// recorded as one.
void removeIfEmpty(const mzComStringC& path);
