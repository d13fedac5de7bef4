#include "libs/KvorCore/loader/trace_frame.h"

#include <exception>

mzTraceFrameC::mzTraceFrameC(mzLogCategoryT category, const mzComStringC& name,
                             const char* sourceFile, const char* function, int line)
    : category_(category), name_(name), sourceFile_(sourceFile), function_(function), line_(line),
      uncaughtAtEntry_(std::uncaught_exceptions()) {
    if (isLogLevelEnabled(category_, mzLogLevelTrace))
        writeLogRecord(category_, mzLogLevelTrace, sourceFile_, function_, line_,
                       "Enter Frame " + name_);
}

mzTraceFrameC::~mzTraceFrameC() {
    // Logging must not throw out of a destructor, least of all during unwinding.
    try {
        if (std::uncaught_exceptions() > uncaughtAtEntry_ &&
            isLogLevelEnabled(category_, mzLogLevelError))
            writeLogRecord(category_, mzLogLevelError, sourceFile_, function_, line_,
                           "Exception in " + name_);
        if (isLogLevelEnabled(category_, mzLogLevelTrace))
            writeLogRecord(category_, mzLogLevelTrace, sourceFile_, function_, line_,
                           "Leave Frame " + name_);
    } catch (...) {
    }
}
