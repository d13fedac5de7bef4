// errorC: the program's own exception. It carries one message, already shown to the user
// (as a creation warning) or kept by the thrower, and is thrown by value.
#pragma once

#include "libs/KvorCore/loader/com_string.h"

#include <source_location>

// The caller's position in the source. clang before 15 lacks the builtin that libstdc++'s
// std::source_location needs (the fuzz build uses Debian's clang 14); there the compiler's
// own builtins give the same three facts, taken at the outermost call as the standard's are.
#if defined(__cpp_lib_source_location)
using callerPositionT = std::source_location;
#else
class callerPositionT {
public:
    static constexpr callerPositionT current(const char* file = __builtin_FILE(),
                                             const char* function = __builtin_FUNCTION(),
                                             unsigned line = __builtin_LINE()) noexcept {
        return callerPositionT(file, function, line);
    }
    constexpr const char* file_name() const noexcept { return file_; }
    constexpr const char* function_name() const noexcept { return function_; }
    constexpr unsigned line() const noexcept { return line_; }

private:
    constexpr callerPositionT(const char* file, const char* function, unsigned line) noexcept
        : file_(file), function_(function), line_(line) {}
    const char* file_;
    const char* function_;
    unsigned line_;
};
#endif

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
                               callerPositionT where = callerPositionT::current());
// A node name in double quotes, as the builders' messages put it; control characters (below
// U+0020, U+007F to U+009F) are written as \xNN.
mzComStringC quotedName(const mzComStringC& name);
