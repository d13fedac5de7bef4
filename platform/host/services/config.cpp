#include "platform/host/services/config.h"

#include "platform/host/services/ascii.h"
#include "platform/host/services/user_folder.h"

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace hostsvc {
namespace {

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

bool hasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

HostConfig::HostConfig(std::filesystem::path file) : file_(std::move(file)) {
    std::error_code ec;
    if (!std::filesystem::exists(file_, ec))
        return;
    std::ifstream in(file_, std::ios::binary);
    if (!in) {
        loadError_ = "cannot read configuration file '" + file_.string() + "'";
        return;
    }
    std::ostringstream content;
    content << in.rdbuf();
    parse(content.str());
}

void HostConfig::parse(std::string_view content) {
    // Editors on Windows often start a UTF-8 file with a byte-order mark; it is no part of the
    // first line (and is not written back).
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (content.starts_with(byteOrderMark))
        content.remove_prefix(byteOrderMark.size());
    std::string current;
    while (!content.empty()) {
        const auto end = content.find('\n');
        std::string_view raw = content.substr(0, end);
        content = end == std::string_view::npos ? std::string_view{} : content.substr(end + 1);
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);

        Line line;
        line.raw = std::string(raw);
        const std::string_view body = trim(raw);
        if (body.empty() || body.front() == ';' || body.front() == '#') {
            // comment or blank: kept as it is
        } else if (body.front() == '[' && body.back() == ']') {
            line.kind = LineKind::Section;
            line.name = std::string(trim(body.substr(1, body.size() - 2)));
            current = line.name;
        } else if (const auto eq = body.find('='); eq != std::string_view::npos) {
            const std::string_view key = trim(body.substr(0, eq));
            if (!key.empty()) {
                line.kind = LineKind::Entry;
                line.name = std::string(key);
                line.value = std::string(trim(body.substr(eq + 1)));
                line.section = current;
            }
        }
        lines_.push_back(std::move(line));
    }
}

std::string HostConfig::loadError() const {
    std::lock_guard lock(mutex_);
    return loadError_;
}

const HostConfig::Line* HostConfig::findEntry(std::string_view section,
                                              std::string_view key) const {
    for (const Line& line : lines_)
        if (line.kind == LineKind::Entry && detail::equalsIgnoreCase(line.section, section) &&
            detail::equalsIgnoreCase(line.name, key))
            return &line;
    return nullptr;
}

std::optional<std::string> HostConfig::value(std::string_view section, std::string_view key) const {
    std::lock_guard lock(mutex_);
    if (const Line* line = findEntry(trim(section), trim(key)))
        return line->value;
    return std::nullopt;
}

std::string HostConfig::value(std::string_view section, std::string_view key,
                              std::string_view defaultValue) const {
    auto found = value(section, key);
    return found ? *found : std::string(defaultValue);
}

std::vector<std::string> HostConfig::sections() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const Line& line : lines_) {
        if (line.kind != LineKind::Section)
            continue;
        bool seen = false;
        for (const std::string& s : out)
            seen = seen || detail::equalsIgnoreCase(s, line.name);
        if (!seen)
            out.push_back(line.name);
    }
    return out;
}

void HostConfig::setValue(std::string_view sectionIn, std::string_view keyIn,
                          std::string_view valueIn) {
    const std::string_view section = trim(sectionIn);
    const std::string_view key = trim(keyIn);
    const std::string_view value = trim(valueIn);
    if (hasLineBreak(sectionIn) || section.find_first_of("[]") != std::string_view::npos)
        throw std::invalid_argument("configuration section name '" + std::string(sectionIn) +
                                    "' cannot be stored: it holds a line break or bracket");
    if (key.empty() || hasLineBreak(keyIn) || key.find('=') != std::string_view::npos ||
        key.front() == ';' || key.front() == '#' || key.front() == '[')
        throw std::invalid_argument("configuration key '" + std::string(keyIn) +
                                    "' cannot be stored: it is empty or holds a line break, "
                                    "'=' or a leading comment/section mark");
    if (hasLineBreak(valueIn))
        throw std::invalid_argument("value of configuration key '" + std::string(keyIn) +
                                    "' cannot be stored: it holds a line break");

    std::lock_guard lock(mutex_);
    for (Line& line : lines_) {
        if (line.kind == LineKind::Entry && detail::equalsIgnoreCase(line.section, section) &&
            detail::equalsIgnoreCase(line.name, key)) {
            line.value = std::string(value);
            line.raw = line.name + "=" + line.value;
            return;
        }
    }

    Line entry;
    entry.kind = LineKind::Entry;
    entry.name = std::string(key);
    entry.value = std::string(value);
    entry.raw = entry.name + "=" + entry.value;

    // Into the first section of that name, after its last entry (or right after its header).
    // Entries before the first header form the unnamed section.
    std::optional<std::size_t> insertAt;
    std::size_t i = 0;
    if (section.empty()) {
        insertAt = 0;
    } else {
        for (; i < lines_.size(); ++i)
            if (lines_[i].kind == LineKind::Section &&
                detail::equalsIgnoreCase(lines_[i].name, section))
                break;
        if (i < lines_.size()) {
            entry.section = lines_[i].name;
            insertAt = ++i;
        }
    }
    if (insertAt) {
        for (; i < lines_.size() && lines_[i].kind != LineKind::Section; ++i)
            if (lines_[i].kind == LineKind::Entry)
                insertAt = i + 1;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*insertAt), std::move(entry));
        return;
    }

    if (!lines_.empty() && !trim(lines_.back().raw).empty())
        lines_.push_back(Line{});
    Line header;
    header.kind = LineKind::Section;
    header.name = std::string(section);
    header.raw = "[" + header.name + "]";
    lines_.push_back(std::move(header));
    entry.section = std::string(section);
    lines_.push_back(std::move(entry));
}

std::string HostConfig::textLocked() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.raw;
        out += '\n';
    }
    return out;
}

std::string HostConfig::text() const {
    std::lock_guard lock(mutex_);
    return textLocked();
}

bool HostConfig::save(std::string* error) {
    std::lock_guard lock(mutex_);
    auto fail = [&](std::string why) {
        if (error)
            *error = std::move(why);
        return false;
    };
    if (!loadError_.empty())
        return fail(loadError_ + "; not overwriting it");
    std::error_code ec;
    if (file_.has_parent_path()) {
        std::filesystem::create_directories(file_.parent_path(), ec);
        if (ec)
            return fail("cannot create folder '" + file_.parent_path().string() +
                        "': " + ec.message());
    }
    std::filesystem::path temp = file_;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return fail("cannot write configuration file '" + temp.string() + "'");
        out << textLocked();
        out.flush();
        if (!out)
            return fail("cannot write configuration file '" + temp.string() + "'");
    }
    std::filesystem::rename(temp, file_, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return fail("cannot replace configuration file '" + file_.string() + "'");
    }
    return true;
}

namespace {

struct ConfigCache {
    std::mutex mutex;
    std::map<std::filesystem::path, std::shared_ptr<HostConfig>> byFile;
};

ConfigCache& cache() {
    static ConfigCache c;
    return c;
}

} // namespace

std::shared_ptr<HostConfig> hostConfiguration(std::string_view interfaceName) {
    if (interfaceName.empty() || interfaceName == "." || interfaceName == ".." ||
        interfaceName.find_first_of("/\\") != std::string_view::npos ||
        interfaceName.find('\0') != std::string_view::npos)
        throw std::invalid_argument("configuration name '" + std::string(interfaceName) +
                                    "' is not a plain file name");
    const std::filesystem::path file =
        userFolder() / (std::string(interfaceName) + std::string(".cfg"));
    ConfigCache& c = cache();
    std::lock_guard lock(c.mutex);
    auto& slot = c.byFile[file];
    if (!slot)
        slot = std::make_shared<HostConfig>(file);
    return slot;
}

namespace detail {
void resetConfigurations() {
    ConfigCache& c = cache();
    std::lock_guard lock(c.mutex);
    c.byFile.clear();
}
} // namespace detail

} // namespace hostsvc
