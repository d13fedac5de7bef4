// Configuration of an interface name ("natlinkon"): the INI file <name>.cfg in the user folder.
//
// File form: "[Section]" headers and "key=value" lines; blanks around names and values are
// ignored; lines starting with ';' or '#' are comments; other lines are kept but ignored.
// Section and key names compare ignoring ASCII case, as the host's profile files do; when a
// key appears twice in a section the first one counts. A missing file is an empty
// configuration, so every read gives its default. Writing keeps comments, order and
// unknown lines, and replaces the file atomically.
#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hostsvc {

class HostConfig {
public:
    // Reads the file when it exists.
    explicit HostConfig(std::filesystem::path file);

    const std::filesystem::path& filePath() const { return file_; }
    // Why an existing file could not be read; empty when it was read or does not exist.
    std::string loadError() const;

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string value(std::string_view section, std::string_view key,
                      std::string_view defaultValue) const;
    std::vector<std::string> sections() const;

    // Throws std::invalid_argument when a name or the value cannot be stored in the file
    // form (line breaks, ']' in a section name, '=' in a key, empty key).
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    // Writes the file (creating the user folder when needed). False with a reason when the
    // file could not be written, or when an existing file could not be read (writing it back
    // would lose its content).
    bool save(std::string* error = nullptr);

    // The file text as save() would write it.
    std::string text() const;

private:
    enum class LineKind { Other, Section, Entry };
    struct Line {
        LineKind kind = LineKind::Other;
        std::string raw;
        std::string name; // section name, or key of an entry
        std::string value;
        std::string section; // section an entry belongs to
    };

    void parse(std::string_view content);
    const Line* findEntry(std::string_view section, std::string_view key) const;
    std::string textLocked() const;

    std::filesystem::path file_;
    mutable std::mutex mutex_;
    std::vector<Line> lines_;
    std::string loadError_;
};

// The configuration of an interface name in the current user folder, read once and shared.
// Throws std::invalid_argument when the name is not a plain file name.
std::shared_ptr<HostConfig> hostConfiguration(std::string_view interfaceName);

namespace detail {
void resetConfigurations();
}

} // namespace hostsvc
