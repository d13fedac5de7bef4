// Internal to the exchange modules: OpenCASCADE's translation reports silenced for a scope.
#pragma once

#include <Message.hxx>
#include <Message_Messenger.hxx>

#include <string>

namespace swsim::exchange {

// Silences OpenCASCADE's translation reports for the lifetime of the object.
class QuietMessages {
public:
    QuietMessages() : saved_(Message::DefaultMessenger()->Printers()) {
        Message::DefaultMessenger()->ChangePrinters().Clear();
    }
    ~QuietMessages() { Message::DefaultMessenger()->ChangePrinters() = saved_; }
    QuietMessages(const QuietMessages&) = delete;
    QuietMessages& operator=(const QuietMessages&) = delete;

private:
    Message_SequenceOfPrinters saved_;
};

inline const std::string kNotStep = "export: the model cannot be converted to STEP";

} // namespace swsim::exchange
