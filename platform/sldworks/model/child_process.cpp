#include "platform/sldworks/model/child_process.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <new>

#include <fcntl.h>
#include <poll.h>
#include <stdio_ext.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

// Present only in a sanitized build. A sanitizer that stops the child must end it with an exit
// code of the child's own, not run the parent's death callbacks (a fuzzer's writes its input out
// as a finding).
extern "C" {
__attribute__((weak)) void __sanitizer_set_death_callback(void (*callback)(void));
__attribute__((weak)) const char* __asan_get_report_description();
}

namespace swsim::detail {
namespace {

// An exception the work did not handle.
constexpr int kChildFailed = 5;
// A sanitizer stopped the child on something else than an allocation.
constexpr int kChildSanitizerStop = 6;

constexpr std::size_t kReportCap = 64 * 1024;
// How often the parent looks at the child's memory while it waits.
constexpr int kWatchMilliseconds = 10;

// Set in the child only: AddressSanitizer's error hook below ends it.
volatile std::sig_atomic_t inChild = 0;

[[noreturn]] void endOnSanitizerStop() {
    ::_exit(kChildSanitizerStop);
}

// A field of /proc/<pid>/statm in bytes: 0 the address space, 1 the resident memory; 0 when
// it cannot be read.
long long statmBytes(const std::string& file, int field) {
    std::ifstream in(file);
    long long values[2] = {0, 0};
    in >> values[0] >> values[1];
    return in ? values[field] * ::sysconf(_SC_PAGESIZE) : 0;
}

// Sets the soft limit to `value` and the hard one to `value + slack` (both within the hard
// limit the process has).
void limit(int resource, rlim_t value, rlim_t slack = 0) {
    rlimit current{};
    if (::getrlimit(resource, &current) != 0)
        return;
    const rlim_t wantedHard = value + slack;
    const rlim_t hard =
        current.rlim_max == RLIM_INFINITY ? wantedHard : std::min(wantedHard, current.rlim_max);
    const rlimit wanted{std::min(value, hard), hard};
    ::setrlimit(resource, &wanted);
}

void closeFrom(int first) {
    if (::syscall(SYS_close_range, first, ~0U, 0) == 0)
        return;
    for (long fd = first, end = ::sysconf(_SC_OPEN_MAX); fd < end; ++fd)
        ::close(static_cast<int>(fd));
}

[[noreturn]] void runChild(const std::function<int(int)>& work, const ChildLimits& limits,
                           int output, int report, pid_t parent) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent)
        ::_exit(kChildFailed);
    for (int s = 1; s < NSIG; ++s)
        if (s != SIGKILL && s != SIGSTOP)
            std::signal(s, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    inChild = 1;
    if (__sanitizer_set_death_callback != nullptr)
        __sanitizer_set_death_callback(endOnSanitizerStop);

    // What the parent had buffered for its own streams is not the child's to write.
    __fpurge(stdout);
    __fpurge(stderr);
    // Above the standard descriptors first, so that none of the dup2 below closes the other.
    const int out = ::fcntl(output, F_DUPFD, 10);
    const int said = ::fcntl(report, F_DUPFD, 10);
    const int nothing = ::open("/dev/null", O_RDONLY);
    if (out < 0 || said < 0 || nothing < 0 || ::dup2(nothing, STDIN_FILENO) < 0 ||
        ::dup2(said, STDOUT_FILENO) < 0 || ::dup2(said, STDERR_FILENO) < 0 || ::dup2(out, 3) < 0)
        ::_exit(kChildFailed);
    closeFrom(4);

    limit(RLIMIT_CORE, 0);
    const auto cpu = static_cast<rlim_t>(std::ceil(std::max(limits.seconds, 1.0)));
    // The soft limit's SIGXCPU tells the time limit from a crash; at an equal hard limit the
    // kernel would send SIGKILL first, which reads as a crash when the parent's own deadline is
    // a moment later.
    limit(RLIMIT_CPU, cpu, 1);
    // Refuses an allocation beyond the limit at once, the one that asks for tens of gigabytes
    // included; growth within a sanitizer's reserved regions is not seen here but by the
    // parent's watch on the resident memory.
    if (const long long space = statmBytes("/proc/self/statm", 0); space > 0)
        limit(RLIMIT_AS, static_cast<rlim_t>(space) + limits.memoryBytes);

    int code = kChildFailed;
    try {
        code = work(3);
    } catch (const std::bad_alloc&) {
        code = kChildOutOfMemory;
    } catch (...) {
        code = kChildFailed;
    }
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    ::_exit(code);
}

// Reads what is there without waiting; false once the writing end is closed.
bool readAvailable(int fd, std::string& into, std::size_t cap, bool& overflowed) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            const auto size = static_cast<std::size_t>(n);
            if (into.size() + size > cap) {
                into.append(buffer, cap - std::min(cap, into.size()));
                overflowed = true;
            } else {
                into.append(buffer, size);
            }
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

// What a log can hold of the child's report: terminal escapes (OpenCASCADE colours its
// messages) and other control characters taken out, surrounding white space too.
std::string plainText(const std::string& raw) {
    std::string text;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const auto c = static_cast<unsigned char>(raw[i]);
        if (c == 0x1B && i + 1 < raw.size() && raw[i + 1] == '[') {
            i += 2;
            while (i < raw.size() && !(raw[i] >= 0x40 && raw[i] <= 0x7E))
                ++i;
            continue;
        }
        if (c >= 0x20 || c == '\n' || c == '\t')
            text += static_cast<char>(c);
    }
    const auto first = text.find_first_not_of(" \t\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\n") - first + 1);
}

std::string megabytes(std::size_t bytes) {
    return std::to_string(bytes >> 20) + " MB";
}

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g s", seconds);
    return text;
}

enum class Stop { None, Time, Memory, Output };

std::string failureOf(int status, Stop stop, const ChildLimits& limits) {
    const std::string timeLimit =
        "did not finish within its time limit of " + secondsText(limits.seconds);
    const std::string memoryLimit =
        "needed more than its memory limit of " + megabytes(limits.memoryBytes);
    switch (stop) {
    case Stop::Time:
        return timeLimit;
    case Stop::Memory:
        return memoryLimit;
    case Stop::Output:
        return "answered with more than " + megabytes(limits.memoryBytes);
    case Stop::None:
        break;
    }
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        if (signal == SIGXCPU)
            return timeLimit;
        const char* name = ::strsignal(signal);
        return "crashed (signal " + std::to_string(signal) + ", " +
               (name != nullptr ? name : "unknown") + ")";
    }
    if (!WIFEXITED(status))
        return "ended without an exit status";
    switch (WEXITSTATUS(status)) {
    case kChildOutOfMemory:
        return memoryLimit;
    case kChildFailed:
        return "failed on an exception it did not handle";
    case kChildSanitizerStop:
        return "was stopped by a sanitizer";
    default:
        return "ended with exit code " + std::to_string(WEXITSTATUS(status));
    }
}

class descriptorC {
public:
    explicit descriptorC(int fd = -1) : fd_(fd) {}
    descriptorC(const descriptorC&) = delete;
    descriptorC& operator=(const descriptorC&) = delete;
    ~descriptorC() { reset(); }
    int get() const { return fd_; }
    void reset() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

} // namespace

} // namespace swsim::detail

// AddressSanitizer calls this when it has found an error, before it writes its report. In the
// child the report is not written: under the address-space limit it would need memory the
// limit refuses (and wait for ever on its own lock), and what the parent needs is the kind: an
// allocation refused is the memory limit, anything else a sanitizer's stop.
extern "C" void __asan_on_error() {
    if (!swsim::detail::inChild)
        return;
    const char* kind =
        __asan_get_report_description != nullptr ? __asan_get_report_description() : nullptr;
    bool memory = false;
    for (const char* refusal : {"out-of-memory", "allocation-size-too-big", "calloc-overflow",
                                "pvalloc-overflow", "rss-limit-exceeded"})
        memory = memory || (kind != nullptr && std::strcmp(kind, refusal) == 0);
    ::_exit(memory ? swsim::detail::kChildOutOfMemory : swsim::detail::kChildSanitizerStop);
}

namespace swsim::detail {

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

ChildOutcome runInChild(const std::function<int(int output)>& work, const ChildLimits& limits) {
    ChildOutcome outcome;
    int outputPipe[2];
    int reportPipe[2];
    if (::pipe2(outputPipe, O_CLOEXEC) != 0) {
        outcome.failure = std::string("could not be started: ") + std::strerror(errno);
        return outcome;
    }
    descriptorC output(outputPipe[0]);
    descriptorC outputEnd(outputPipe[1]);
    if (::pipe2(reportPipe, O_CLOEXEC) != 0) {
        outcome.failure = std::string("could not be started: ") + std::strerror(errno);
        return outcome;
    }
    descriptorC report(reportPipe[0]);
    descriptorC reportEnd(reportPipe[1]);

    const pid_t parent = ::getpid();
    const long long residentAtStart = statmBytes("/proc/self/statm", 1);
    const pid_t pid = ::fork();
    if (pid < 0) {
        outcome.failure = std::string("could not be started: ") + std::strerror(errno);
        return outcome;
    }
    if (pid == 0)
        runChild(work, limits, outputEnd.get(), reportEnd.get(), parent);
    outputEnd.reset();
    reportEnd.reset();
    ::fcntl(output.get(), F_SETFL, O_NONBLOCK);
    ::fcntl(report.get(), F_SETFL, O_NONBLOCK);
    // Wakes the wait the moment the child ends (Linux 5.3 on; without it the wait looks again
    // every few milliseconds).
    const descriptorC exited(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));

    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration<double>(std::max(limits.seconds, 0.0));
    const std::string statm = "/proc/" + std::to_string(pid) + "/statm";
    std::string rawReport;
    bool outputOpen = true;
    bool reportOpen = true;
    bool outputOverflowed = false;
    bool reportOverflowed = false;
    Stop stop = Stop::None;
    int status = 0;
    bool reaped = false;
    for (;;) {
        std::array<pollfd, 3> fds{};
        nfds_t count = 0;
        if (outputOpen)
            fds[count++] = {output.get(), POLLIN, 0};
        if (reportOpen)
            fds[count++] = {report.get(), POLLIN, 0};
        if (exited.get() >= 0)
            fds[count++] = {exited.get(), POLLIN, 0};
        ::poll(fds.data(), count, exited.get() >= 0 ? kWatchMilliseconds : 2);
        if (outputOpen)
            outputOpen =
                readAvailable(output.get(), outcome.output, limits.memoryBytes, outputOverflowed);
        if (reportOpen)
            reportOpen = readAvailable(report.get(), rawReport, kReportCap, reportOverflowed);
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        reaped = ended == pid;
        if (reaped || (ended < 0 && errno != EINTR))
            break;
        if (stop != Stop::None)
            continue;
        if (outputOverflowed)
            stop = Stop::Output;
        else if (std::chrono::steady_clock::now() >= deadline)
            stop = Stop::Time;
        else if (statmBytes(statm, 1) - residentAtStart >
                 static_cast<long long>(limits.memoryBytes))
            stop = Stop::Memory;
        if (stop != Stop::None)
            ::kill(pid, SIGKILL);
    }
    // The child is gone and so is its end of each pipe: what is left in them comes now.
    if (outputOpen)
        readAvailable(output.get(), outcome.output, limits.memoryBytes, outputOverflowed);
    if (reportOpen)
        readAvailable(report.get(), rawReport, kReportCap, reportOverflowed);
    outcome.report = plainText(rawReport);
    if (reportOverflowed)
        outcome.report +=
            "\n(the report goes on; cut at " + std::to_string(kReportCap >> 10) + " KiB)";
    if (stop == Stop::None && outputOverflowed)
        stop = Stop::Output;
    const bool exitedWith = reaped && stop == Stop::None && WIFEXITED(status);
    if (exitedWith && WEXITSTATUS(status) == kChildDone) {
        outcome.done = true;
    } else if (exitedWith && WEXITSTATUS(status) == kChildRefused) {
        outcome.refused = true;
    } else {
        outcome.failure = reaped || stop != Stop::None ? failureOf(status, stop, limits)
                                                       : "ended without an exit status";
        outcome.output.clear();
    }
    return outcome;
}

} // namespace swsim::detail
