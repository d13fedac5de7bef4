// Trace frames of the CAD side, on the code-track log category ("codetrack"): "Enter Frame "
// + name at level 5000 when opened, "Leave Frame " + name when closed (and "Exception in " +
// name first when an exception leaves it; see libs/KvorCore/loader/trace_frame.h).
#pragma once

#include "libs/KvorCore/loader/trace_frame.h"

// The code-track category of the trace frames.
mzLogCategoryT codeTrackLogCategory();

// A frame around an operation, open to the end of the scope.
class traceFrameC {
public:
    traceFrameC(const mzComStringC& name, const char* sourceFile, const char* function, int line)
        : frame_(codeTrackLogCategory(), name, sourceFile, function, line) {}

private:
    mzTraceFrameC frame_;
};

// A frame for a one-off text ("Base feature of pattern was not found"): the same records,
// with the text as the frame's name.
class codeTrackFrameC {
public:
    codeTrackFrameC(const char* sourceFile, const char* function, int line,
                    const mzComStringC& text)
        : frame_(codeTrackLogCategory(), text, sourceFile, function, line) {}

private:
    mzTraceFrameC frame_;
};

#define NATLINK_CODETRACK_CONCAT_(a, b) a##b
#define NATLINK_CODETRACK_CONCAT(a, b) NATLINK_CODETRACK_CONCAT_(a, b)
// A traceFrameC named `name` with the caller's source position.
#define NATLINK_TRACE_FRAME_C(name)                                                                \
    const traceFrameC NATLINK_CODETRACK_CONCAT(natlinkCodeTrackFrame_, __LINE__)(                  \
        (name), __FILE__, __PRETTY_FUNCTION__, __LINE__)
// A codeTrackFrameC for `text` with the caller's source position.
#define NATLINK_CODE_TRACK(text)                                                                   \
    const codeTrackFrameC NATLINK_CODETRACK_CONCAT(natlinkCodeTrack_, __LINE__)(                   \
        __FILE__, __PRETTY_FUNCTION__, __LINE__, (text))
