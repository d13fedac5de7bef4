// mzComPathC: a file path value built from a string ('/' separates names).
#pragma once

#include "libs/KvorCore/loader/com_string.h"

class mzComPathC {
public:
    mzComPathC() = default;
    mzComPathC(const mzComStringC& path) : path_(path) {}
    mzComPathC(const char* path) : path_(path) {}

    // The path with the name appended after one separator. The name never replaces the path,
    // also when it starts with '/'.
    mzComPathC join(const mzComStringC& name) const;
    mzComStringC toString() const { return path_; }
    mzComStringC asString() const { return toString(); }
    // Absolute (relative paths count from the current folder), with "." and ".." resolved
    // and without a trailing separator; links are not followed. "" for an empty path.
    mzComStringC toNativeString() const;
    // Extension of the last name without the dot ("gz" for "a.tar.gz", "" for ".profile").
    mzComStringC getExtension() const;

private:
    mzComStringC path_;
};
