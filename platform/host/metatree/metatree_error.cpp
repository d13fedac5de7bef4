// Refusal of meta text.

#include "platform/host/metatree/metatree_error.h"

#include <utility>

namespace {

std::string formatMessage(const std::string& file, std::uint32_t line, std::uint32_t column,
                          const std::string& reason) {
    std::string text = file.empty() ? std::string("<text>") : file;
    if (line > 0) {
        text += ':' + std::to_string(line) + ':' + std::to_string(column);
    }
    return text + ": " + reason;
}

} // namespace

metaTreeErrorC::metaTreeErrorC(std::string file, std::uint32_t line, std::uint32_t column,
                               std::string reason)
    : std::runtime_error(formatMessage(file, line, column, reason)), file_(std::move(file)),
      line_(line), column_(column), reason_(std::move(reason)) {}
