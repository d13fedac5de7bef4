#pragma once
// Refusal of meta text: names the file, line, column and reason.

#include <cstdint>
#include <stdexcept>
#include <string>

class metaTreeErrorC : public std::runtime_error {
public:
    // what() is "file:line:column: reason".
    metaTreeErrorC(std::string file, std::uint32_t line, std::uint32_t column, std::string reason);

    const std::string& file() const noexcept { return file_; }
    std::uint32_t line() const noexcept { return line_; }
    std::uint32_t column() const noexcept { return column_; }
    const std::string& reason() const noexcept { return reason_; }

private:
    std::string file_;
    std::uint32_t line_;
    std::uint32_t column_;
    std::string reason_;
};
