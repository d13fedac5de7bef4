#include "platform/host/services/resolver.h"

#include "platform/host/services/ascii.h"
#include "platform/host/services/user_folder.h"

#include <cstdlib>
#include <optional>

namespace hostsvc {
namespace {

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string withoutTrailingSlashes(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

std::optional<std::string> environment(const std::string& name) {
    if (const char* v = std::getenv(name.c_str()))
        return std::string(v);
    return std::nullopt;
}

std::optional<std::string> lookup(std::string_view name) {
    if (detail::equalsIgnoreCase(name, "temp")) {
        auto tmp = environment("TMPDIR");
        return withoutTrailingSlashes(tmp && !tmp->empty() ? *tmp : std::string("/tmp"));
    }
    if (detail::equalsIgnoreCase(name, "home")) {
        if (auto home = environment("HOME"); home && !home->empty())
            return withoutTrailingSlashes(*home);
        return std::nullopt;
    }
    if (detail::equalsIgnoreCase(name, "volmera_user"))
        return withoutTrailingSlashes(userFolder().string());
    return environment(std::string(name));
}

} // namespace

std::string resolveReferences(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '$') {
            std::size_t end = i + 1;
            while (end < text.size() && isNameChar(text[end]))
                ++end;
            if (end > i + 1) {
                if (auto value = lookup(text.substr(i + 1, end - i - 1))) {
                    out += *value;
                    i = end;
                    continue;
                }
            }
        } else if (c == '%') {
            std::size_t end = i + 1;
            while (end < text.size() && isNameChar(text[end]))
                ++end;
            if (end > i + 1 && end < text.size() && text[end] == '%') {
                if (auto value = lookup(text.substr(i + 1, end - i - 1))) {
                    out += *value;
                    i = end + 1;
                    continue;
                }
            }
        }
        out += c;
        ++i;
    }
    return out;
}

} // namespace hostsvc
