// errorC: the program's own exception. It carries one message, already shown to the user
// (as a creation warning) or kept by the thrower, and is thrown by value.
#pragma once

#include "libs/KvorCore/loader/com_string.h"

class errorC {
public:
    explicit errorC(const mzComStringC& message) : message_(message) {}

    const mzComStringC& getMessage() const noexcept { return message_; }

private:
    mzComStringC message_;
};
