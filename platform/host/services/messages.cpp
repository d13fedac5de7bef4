#include "platform/host/services/messages.h"

#include <iostream>
#include <mutex>

namespace hostsvc {
namespace {

struct MessageState {
    std::mutex mutex;
    bool toStderr = false;
    std::vector<ShownMessage> shown;
};

MessageState& state() {
    static MessageState s;
    return s;
}

const char* prefix(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return "warning: ";
    case MessageKind::Error:
        return "error: ";
    case MessageKind::Info:
        break;
    }
    return "";
}

} // namespace

void showMessage(std::string_view text, MessageKind kind) {
    MessageState& s = state();
    std::lock_guard lock(s.mutex);
    s.shown.push_back(ShownMessage{kind, std::string(text)});
    if (s.toStderr)
        std::cerr << prefix(kind) << text << '\n';
}

void setMessagesToStderr(bool on) {
    MessageState& s = state();
    std::lock_guard lock(s.mutex);
    s.toStderr = on;
}

std::vector<ShownMessage> shownMessages() {
    MessageState& s = state();
    std::lock_guard lock(s.mutex);
    return s.shown;
}

void clearShownMessages() {
    MessageState& s = state();
    std::lock_guard lock(s.mutex);
    s.shown.clear();
}

namespace detail {
void resetMessages() {
    MessageState& s = state();
    std::lock_guard lock(s.mutex);
    s.toStderr = false;
    s.shown.clear();
}
} // namespace detail

} // namespace hostsvc
