#include "platform/sldworks/testkit/journal.h"

#include <algorithm>

std::size_t callJournalC::begin(std::string call, std::vector<std::string> args) {
    std::lock_guard lock(mutex_);
    entries_.push_back({std::move(call), std::move(args), 0, {}});
    return entries_.size() - 1;
}

void callJournalC::finish(std::size_t index, HRESULT hr, std::string result) {
    std::lock_guard lock(mutex_);
    if (index >= entries_.size())
        return; // cleared while the call ran
    entries_[index].hr = hr;
    entries_[index].result = std::move(result);
}

std::vector<journalEntryS> callJournalC::entries() const {
    std::lock_guard lock(mutex_);
    return entries_;
}

std::vector<journalEntryS> callJournalC::calls(std::string_view call) const {
    std::lock_guard lock(mutex_);
    std::vector<journalEntryS> found;
    for (const auto& entry : entries_)
        if (entry.call == call)
            found.push_back(entry);
    return found;
}

std::size_t callJournalC::count(std::string_view call) const {
    std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(std::count_if(
        entries_.begin(), entries_.end(), [&](const journalEntryS& e) { return e.call == call; }));
}

std::vector<std::string> callJournalC::order(const std::vector<std::string>& filter) const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> keys;
    for (const auto& entry : entries_)
        if (filter.empty() || std::find(filter.begin(), filter.end(), entry.call) != filter.end())
            keys.push_back(entry.call);
    return keys;
}

void callJournalC::clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}
