// errorC: the program's own exception. It carries one message, already shown to the user
// (as a creation warning) or kept by the thrower, and is thrown by value.
#pragma once

#include "libs/KvorCore/loader/com_string.h"

#include <source_location>

class errorC {
public:
    explicit errorC(const mzComStringC& message) : message_(message) {}

    const mzComStringC& getMessage() const noexcept { return message_; }

private:
    mzComStringC message_;
};

// Ends a node the builder could not make: the message is shown as an error creation warning
// with the caller's source position, then thrown as errorC for the item loop.
[[noreturn]] void failCreation(const mzComStringC& message,
                               std::source_location where = std::source_location::current());
// A node name in double quotes, as the builders' messages put it; control characters (below
// U+0020, U+007F to U+009F) are written as \xNN.
mzComStringC quotedName(const mzComStringC& name);
