// Internal to the model: work that may crash, hang or exhaust memory (a third-party reader of a
// hostile file) run in a child process under a time and memory limit, so that whatever happens
// there ends as an answer of this process.
//
// The child is forked: it reuses the toolkits this process has already loaded, and starts in
// microseconds where a fresh helper program would bind OpenCASCADE's libraries again each time.
// In the child the signals are back to their defaults (a crash is the signal, not a sanitizer's
// or a fuzzer's report written on its behalf), its standard output and error go into a pipe the
// parent reads (never into the parent's streams or files), every other descriptor is closed, no
// core file is written, and it leaves by _exit, so that nothing of the parent's state is flushed
// or torn down twice. It dies with the parent. Its address space is limited; the parent watches
// its resident memory and the clock. In a sanitized build a sanitizer's stop ends the child
// with an exit code of its own (AddressSanitizer's refusal of an allocation as out of memory).
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace swsim::detail {

struct ChildLimits {
    // Wall-clock time, and the CPU time the child may take (rounded up to whole seconds).
    double seconds = 0.0;
    // What the child's address space and resident memory may grow by beyond the parent's;
    // also the most the child may hand back.
    std::size_t memoryBytes = 0;
};

// Exit codes of the work run in a child (anything else is reported as it is).
inline constexpr int kChildDone = 0;
// The work refused its input; what it wrote is the reason.
inline constexpr int kChildRefused = 3;
// The work ran out of memory (an allocation refused under the address-space limit).
inline constexpr int kChildOutOfMemory = 4;

struct ChildOutcome {
    bool done = false;    // the work exited with kChildDone
    bool refused = false; // it exited with kChildRefused
    std::string output;   // what it wrote to its output descriptor
    std::string report;   // what it wrote to its standard output and error (cut at 64 KiB)
    // Why it did not finish, when neither done nor refused, as the end of a sentence whose
    // subject is the work: "crashed (signal 11, Segmentation fault)".
    std::string failure;
};

// Runs `work` in a child process under `limits`. `work` gets the descriptor to write its answer
// to and returns the child's exit code; std::bad_alloc out of it ends the child as out of
// memory, any other exception as a failure.
ChildOutcome runInChild(const std::function<int(int output)>& work, const ChildLimits& limits);

// Writes all of `bytes` to the descriptor; false when it cannot.
bool writeAll(int fd, const std::string& bytes);

} // namespace swsim::detail
