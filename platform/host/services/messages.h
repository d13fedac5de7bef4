// Messages the host shows to the user. natlinkhost prints them to stderr; tests read them
// from the list of shown messages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hostsvc {

enum class MessageKind { Info, Warning, Error };

struct ShownMessage {
    MessageKind kind = MessageKind::Info;
    std::string text;
};

void showMessage(std::string_view text, MessageKind kind = MessageKind::Info);

// Off by default; natlinkhost turns it on.
void setMessagesToStderr(bool on);
std::vector<ShownMessage> shownMessages();
void clearShownMessages();

namespace detail {
void resetMessages();
}

} // namespace hostsvc
