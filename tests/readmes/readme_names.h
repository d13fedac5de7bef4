// What the READMEs quote in backticks as names of this repository, and whether the repository
// has them, so that a README cannot go on naming a file or a function that was renamed or
// removed.
//
// The heuristic, kept simple on purpose (fenced code blocks are not read; a span may run over
// a line break):
// - `name(...)` (a C++ identifier, qualified or with template arguments, followed by "(") is
//   an identifier: the part before "(".
// - Spans with white space in them (commands, messages, meta text) are not names; nor are
//   spans that start with "-", "$", "%", ".", "/", "~", a quote, "(" or a digit (options,
//   variables, placeholders, extensions, absolute paths, numbers), nor spans with "://".
// - A span that holds "/" or ends in a suffix of the repository's own files (.h, .cpp,
//   .cmake, .sh, .md, .meta, .txt, .json, .supp, .dict) is a path, unless it is under the
//   build's or the demo's output (build/, out/), holds a pattern (* ? < > [ ] { } $ ...) or a
//   placeholder segment in capitals (OUTDIR/FILE). It resolves when it exists from the
//   README's folder or the repository's root, or is the tail of a path in the repository
//   (`swapi/checkin_calls.h`). "a.h/.cpp" names a.h and a.cpp. A span with "/" whose first
//   segment is no file or folder but an identifier (`BM_PrintNumbers/0`,
//   `getUnitBase/setUnitBase`) is that identifier.
// - Any other span that is a C++ identifier (`PSWPlugin::convertMetaTree`, `PARAM`,
//   `metaObjListValContainerT<T>`) is an identifier: each part between "::" must be a word of
//   some file of the repository other than a README.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace readmecheck {

// A span resolves when all its paths exist, or when its identifier has all its parts.
struct quotedNameS {
    int line = 0;                        // 1-based line of the span's start
    std::string span;                    // the span as written (white space folded)
    std::vector<std::string> paths;      // the files or folders it names
    std::vector<std::string> identifier; // the parts between "::" of the identifier it names
};

// The names the backticked spans of a README's text quote, in order.
std::vector<quotedNameS> quotedNames(std::string_view markdown);

// The files, folders and words of a repository.
class repositoryC {
public:
    explicit repositoryC(const std::filesystem::path& root);

    const std::filesystem::path& root() const { return root_; }
    // The README.md files, sorted.
    const std::vector<std::filesystem::path>& readmes() const { return readmes_; }
    bool hasPath(const std::filesystem::path& readmeFolder, const std::string& path) const;
    bool hasWord(const std::string& word) const { return words_.count(word) != 0; }

private:
    std::filesystem::path root_;
    std::vector<std::filesystem::path> readmes_;
    // Every file and folder as a path from the root with "/" between segments.
    std::vector<std::string> entries_;
    std::set<std::string> words_;
};

// "README:LINE: `span` names ..." for each quoted name of one README that the repository does
// not have; `ignored` lists spans that are not names of this repository.
std::vector<std::string> unresolvedNames(const repositoryC& repository,
                                         const std::filesystem::path& readme,
                                         const std::set<std::string>& ignored);

} // namespace readmecheck
