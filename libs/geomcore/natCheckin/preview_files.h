// Temporary files of the check-in previews.
#pragma once

#include "libs/KvorCore/loader/com_string.h"

// A new, empty file named "preview" + a unique part + extension (".bmp", ".stl", ...) in the
// folder the environment variable TMP names (the system's temporary folder when TMP is not
// set). The file is created exclusively, so no other process can be handed the same name.
// Empty when no file can be created there; `failure` then says why (a local file error, not
// one of SolidWorks).
mzComStringC createTemporaryPreviewFile(const char* extension, mzComStringC& failure);

// Removes the file when it exists and is empty: a preview that was not written must not be
// recorded as one.
void removeIfEmpty(const mzComStringC& path);

// Removes the file when it exists (a preview of a check-in that failed).
void removePreviewFile(const mzComStringC& path);
