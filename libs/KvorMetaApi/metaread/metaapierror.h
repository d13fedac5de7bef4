#pragma once
// metaApiErrorC: the exception of the meta reader, a runtime error with a message text.

#include "libs/KvorCore/loader/com_string.h"

#include <stdexcept>

class metaApiErrorC : public std::runtime_error {
public:
    explicit metaApiErrorC(const mzComStringC& message)
        : std::runtime_error(message.toUtf8()), message_(message) {}
    explicit metaApiErrorC(const char* message)
        : std::runtime_error(message ? message : ""), message_(message ? message : "") {}

    const mzComStringC& message() const noexcept { return message_; }

private:
    mzComStringC message_;
};
