// Files and paths as the host names them: "$temp/x", "%volmera_user%/natlinkon.cfg".
#pragma once

#include "libs/KvorCore/loader/com_string.h"

// The text with its $NAME and %NAME% references resolved by the host's resolver
// ("$temp/" gives the temporary folder); unknown references stay as they are.
mzComStringC resolveEnvironment(const mzComStringC& text);

// Deletes the file at the resolved path. False when it could not: no such file, a folder,
// or the file system refused.
bool deleteFile(const mzComStringC& path);

// True when a file (not a folder) exists at the path.
bool fileExists(const mzComStringC& path);
