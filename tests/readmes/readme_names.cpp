#include "tests/readmes/readme_names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <regex>
#include <sstream>

namespace readmecheck {
namespace {

namespace fs = std::filesystem;

const std::regex& identifierPattern() {
    // 1: the name, 2: template arguments, 3: a call's arguments.
    static const std::regex pattern(R"(^([A-Za-z_]\w*(?:::~?[A-Za-z_]\w*)*)(<[^<>()]*>)?(\(.*)?$)");
    return pattern;
}

// The name of an identifier span (`name`, `name(...)`, `name<T>`); a name cut by "_" before
// "<" is a pattern (`fuzz_<target>`), not a template. `call`: whether "(" followed.
bool matchIdentifier(const std::string& span, std::string& name, bool& call) {
    std::smatch match;
    if (!std::regex_match(span, match, identifierPattern()))
        return false;
    name = match[1];
    call = match[3].matched;
    return !(match[2].matched && name.back() == '_');
}

bool isPlaceholder(const std::string& segment) {
    // FILE, OUTDIR, NAME.sldprt: capitals stand for what the reader puts in.
    const std::string stem = segment.substr(0, segment.find('.'));
    return stem.size() >= 2 && std::all_of(stem.begin(), stem.end(), [](unsigned char c) {
               return std::isupper(c) || std::isdigit(c) || c == '_';
           });
}

bool endsWithOwnSuffix(const std::string& span) {
    static const std::array<const char*, 10> suffixes = {
        ".h", ".cpp", ".cmake", ".sh", ".md", ".meta", ".txt", ".json", ".supp", ".dict"};
    return std::any_of(suffixes.begin(), suffixes.end(),
                       [&](const char* suffix) { return fs::path(span).extension() == suffix; });
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    return parts;
}

std::vector<std::string> identifierParts(const std::string& identifier) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = identifier.find("::", start);
        std::string part = identifier.substr(start, end - start);
        if (!part.empty() && part.front() == '~')
            part.erase(0, 1);
        parts.push_back(part);
        if (end == std::string::npos)
            return parts;
        start = end + 2;
    }
}

// "a/b.h/.cpp" -> "a/b.h", "a/b.cpp".
std::vector<std::string> expandedPaths(std::string span) {
    while (span.size() > 1 && span.back() == '/')
        span.pop_back();
    std::vector<std::string> paths;
    std::string base;
    for (const std::string& segment : split(span, '/')) {
        if (!segment.empty() && segment.front() == '.' && !base.empty() && segment != "." &&
            segment != "..") {
            paths.push_back(fs::path(base).replace_extension(segment).generic_string());
            continue;
        }
        base += (base.empty() ? "" : "/") + segment;
    }
    paths.insert(paths.begin(), base);
    return paths;
}

// What one span names: nothing, paths, an identifier, or (a span with "/" whose first segment
// is an identifier) a path or else that identifier.
quotedNameS classify(const std::string& span) {
    quotedNameS quoted;
    quoted.span = span;
    static const std::string notFirst = "-$%./~\"'(0123456789";
    if (span.empty() || notFirst.find(span.front()) != std::string::npos ||
        span.find("://") != std::string::npos)
        return quoted;
    std::string name;
    bool call = false;
    const bool hasSpace = span.find(' ') != std::string::npos;
    if (matchIdentifier(span, name, call) && (!hasSpace || call)) {
        quoted.identifier = identifierParts(name);
        return quoted;
    }
    const bool ownSuffix = endsWithOwnSuffix(span);
    if (hasSpace || (span.find('/') == std::string::npos && !ownSuffix))
        return quoted;
    if (span.rfind("build/", 0) == 0 || span.rfind("out/", 0) == 0 ||
        span.find_first_of("*?<>[]{}$") != std::string::npos ||
        span.find("...") != std::string::npos)
        return quoted;
    for (const std::string& segment : split(span, '/'))
        if (isPlaceholder(segment))
            return quoted;
    quoted.paths = expandedPaths(span);
    if (!ownSuffix && matchIdentifier(span.substr(0, span.find('/')), name, call) && !call)
        quoted.identifier = identifierParts(name);
    return quoted;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

std::vector<quotedNameS> quotedNames(std::string_view markdown) {
    std::vector<quotedNameS> names;
    // Fenced blocks are blanked line by line, so that line numbers stay.
    std::string text;
    bool fenced = false;
    std::size_t start = 0;
    while (start <= markdown.size()) {
        std::size_t end = markdown.find('\n', start);
        if (end == std::string_view::npos)
            end = markdown.size();
        const std::string_view line = markdown.substr(start, end - start);
        const std::size_t first = line.find_first_not_of(" \t");
        const bool fence = first != std::string_view::npos && line.substr(first, 3) == "```";
        if (fence)
            fenced = !fenced;
        if (!fence && !fenced)
            text += line;
        text += '\n';
        start = end + 1;
    }

    int line = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            continue;
        }
        if (text[i] != '`')
            continue;
        const std::size_t close = text.find('`', i + 1);
        if (close == std::string::npos)
            break;
        std::string span;
        for (std::size_t k = i + 1; k < close; ++k) {
            const char c = text[k] == '\n' || text[k] == '\t' ? ' ' : text[k];
            if (c != ' ' || (!span.empty() && span.back() != ' '))
                span += c;
        }
        while (!span.empty() && span.back() == ' ')
            span.pop_back();
        quotedNameS quoted = classify(span);
        quoted.line = line;
        if (!quoted.paths.empty() || !quoted.identifier.empty())
            names.push_back(quoted);
        line +=
            static_cast<int>(std::count(text.begin() + static_cast<std::ptrdiff_t>(i),
                                        text.begin() + static_cast<std::ptrdiff_t>(close), '\n'));
        i = close;
    }
    return names;
}

repositoryC::repositoryC(const fs::path& root) : root_(root) {
    static const std::regex word(R"([A-Za-z_]\w*)");
    for (fs::recursive_directory_iterator it(root), end; it != end; ++it) {
        const fs::path relative = it->path().lexically_relative(root);
        const std::string name = it->path().filename().string();
        const bool topOutput = it.depth() == 0 && (name == "build" || name == "out");
        if (topOutput || name == ".git" || name == ".cache") {
            if (it->is_directory())
                it.disable_recursion_pending();
            continue;
        }
        entries_.push_back(relative.generic_string());
        if (!it->is_regular_file())
            continue;
        if (name == "README.md") {
            readmes_.push_back(it->path());
            continue;
        }
        if (it->path().extension() == ".md" || it->file_size() > (2u << 20))
            continue;
        const std::string text = readFile(it->path());
        for (std::sregex_iterator w(text.begin(), text.end(), word), none; w != none; ++w)
            words_.insert(w->str());
    }
    std::sort(readmes_.begin(), readmes_.end());
}

bool repositoryC::hasPath(const fs::path& readmeFolder, const std::string& path) const {
    std::error_code error;
    if (fs::exists(readmeFolder / path, error) || fs::exists(root_ / path, error))
        return true;
    const std::string tail = "/" + path;
    return std::any_of(entries_.begin(), entries_.end(), [&](const std::string& entry) {
        return entry.size() > tail.size() &&
               entry.compare(entry.size() - tail.size(), tail.size(), tail) == 0;
    });
}

std::vector<std::string> unresolvedNames(const repositoryC& repository, const fs::path& readme,
                                         const std::set<std::string>& ignored) {
    std::vector<std::string> missing;
    const std::string where = readme.lexically_relative(repository.root()).generic_string();
    for (const quotedNameS& quoted : quotedNames(readFile(readme))) {
        if (ignored.count(quoted.span) != 0)
            continue;
        const auto absentPath =
            std::find_if(quoted.paths.begin(), quoted.paths.end(), [&](const std::string& path) {
                return !repository.hasPath(readme.parent_path(), path);
            });
        const auto absentPart =
            std::find_if(quoted.identifier.begin(), quoted.identifier.end(),
                         [&](const std::string& part) { return !repository.hasWord(part); });
        if (!quoted.paths.empty() && absentPath == quoted.paths.end())
            continue;
        // A path's first segment is an identifier only when it is no file or folder.
        const bool identifierMeant =
            quoted.paths.empty() ||
            !repository.hasPath(readme.parent_path(),
                                quoted.paths.front().substr(0, quoted.paths.front().find('/')));
        if (!quoted.identifier.empty() && identifierMeant && absentPart == quoted.identifier.end())
            continue;
        missing.push_back(where + ":" + std::to_string(quoted.line) + ": `" + quoted.span + "`: " +
                          (quoted.paths.empty() ? "no name " + *absentPart + " in the sources"
                                                : "no file or folder " + *absentPath));
    }
    return missing;
}

} // namespace readmecheck
