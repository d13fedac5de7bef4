// The limits a foreign file is read under (PartDocument::addImportedBody): the reader runs in
// a child process that is stopped when it runs past them.
#pragma once

#include <cstddef>

namespace swsim {

struct ImportLimits {
    // Wall-clock and CPU time of the reader.
    double seconds = 0.0;
    // What the reader's memory may grow by.
    std::size_t memoryBytes = 0;
};

// A foreign body of a catalogue part is a STEP or IGES file of a few megabytes at most, which
// OpenCASCADE reads, heals and checks in a few seconds and a few hundred megabytes. Ten times
// that is still a reader at work; beyond it the reader is stuck (healing a point written NaN
// never ends) or runs away with a size taken from the file. 30 s and 2 GiB leave that margin,
// end a stuck import before a user gives up on the conversion, and keep a machine that runs
// several conversions at once clear of swapping.
inline constexpr ImportLimits kImportLimits{30.0, std::size_t{2} << 30};

// The limits of this process's imports: kImportLimits until set. Tests and the fuzz target,
// which feed hostile files by the hundred, lower them.
ImportLimits importLimits();
void setImportLimits(const ImportLimits& limits);

} // namespace swsim
