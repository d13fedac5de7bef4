// mzTraceFrameC: a scoped trace frame. Construction writes "Enter Frame " + name at level
// 5000; destruction writes "Leave Frame " + name at level 5000. When the frame is left by an
// exception it first writes "Exception in " + name at level 40000 (so a failure shows at the
// usual thresholds) and then the leave record, so that enter and leave records always pair.
// Both records carry the source position given at construction.
#pragma once

#include "libs/KvorCore/loader/log_category.h"

class mzTraceFrameC {
public:
    mzTraceFrameC(mzLogCategoryT category, const mzComStringC& name, const char* sourceFile,
                  const char* function, int line);
    ~mzTraceFrameC();
    mzTraceFrameC(const mzTraceFrameC&) = delete;
    mzTraceFrameC& operator=(const mzTraceFrameC&) = delete;

private:
    mzLogCategoryT category_;
    mzComStringC name_;
    const char* sourceFile_;
    const char* function_;
    int line_;
    int uncaughtAtEntry_;
};

#define NATLINK_TRACE_CONCAT_(a, b) a##b
#define NATLINK_TRACE_CONCAT(a, b) NATLINK_TRACE_CONCAT_(a, b)
// A frame named `name` in the current file's category, open to the end of the scope.
#define NATLINK_TRACE_FRAME(name)                                                                  \
    const mzTraceFrameC NATLINK_TRACE_CONCAT(natlinkTraceFrame_, __LINE__)(                        \
        NATLINK_LOG_CATEGORY(), (name), __FILE__, __PRETTY_FUNCTION__, __LINE__)
// A frame named after the current function.
#define NATLINK_TRACE_FUNCTION() NATLINK_TRACE_FRAME(__func__)
