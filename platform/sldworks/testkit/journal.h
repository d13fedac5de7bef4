// The journal of calls into the simulated SolidWorks: one entry per interface method call,
// keyed "Interface::Method", with its arguments and its answer, in call order. Tests use it
// to check that a call was (not) made, its exact arguments, or the order of calls.
#pragma once

#include "platform/com/hresult.h"

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

struct journalEntryS {
    std::string call; // "IFeature::GetName"
    std::vector<std::string> args;
    HRESULT hr = 0;
    std::string result; // the main out-parameter as text; empty for methods without one
};

class callJournalC {
public:
    // Starts an entry; the answer is filled in by finish().
    std::size_t begin(std::string call, std::vector<std::string> args);
    void finish(std::size_t index, HRESULT hr, std::string result);

    std::vector<journalEntryS> entries() const;
    // Entries of one call key, in order.
    std::vector<journalEntryS> calls(std::string_view call) const;
    std::size_t count(std::string_view call) const;
    // The call keys in order, restricted to those listed in `filter` when it is not empty.
    std::vector<std::string> order(const std::vector<std::string>& filter = {}) const;
    void clear();

private:
    mutable std::mutex mutex_;
    std::vector<journalEntryS> entries_;
};
