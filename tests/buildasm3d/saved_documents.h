// Saved documents read back as a user would: opened in a simulated session of their own.
#pragma once

#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/session/session.h"

#include <gtest/gtest.h>

#include <string>

// The document saved as `file` (type 1 part, 2 assembly) opened in the session `app`; a test
// failure and null when it does not open.
inline IModelDoc2Ptr openSaved(const ISldWorksPtr& app, const std::string& file, long type) {
    long errors = 0;
    long warnings = 0;
    IModelDoc2Ptr doc = sldWorksOpenDocument(app, file.c_str(), type, 0, "", errors, warnings);
    if (!doc)
        ADD_FAILURE() << file << " does not open";
    return doc;
}
