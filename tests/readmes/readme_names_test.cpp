// Every path and name the READMEs quote in backticks exists in the repository; the heuristic
// that finds them, on texts made for it.
#include "tests/hostservices/temp_folder.h"
#include "tests/readmes/readme_names.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

using readmecheck::quotedNames;
using readmecheck::quotedNameS;
using readmecheck::repositoryC;
using readmecheck::unresolvedNames;

// Spans that are no names of this repository.
const std::set<std::string> ignoredSpans = {
    "XxxPtr",                // stands for every interface's smart pointer
    "_COM_SMARTPTR_TYPEDEF", // Windows names the COM stand-in says it does not have
    "CreateInstance",        //
    "hyperfine",             // a Debian package
    "_dl_start",             // the dynamic loader's entry
};

std::string summary(const quotedNameS& quoted) {
    std::string text = std::to_string(quoted.line) + " " + quoted.span + " ->";
    for (const std::string& path : quoted.paths)
        text += " path " + path;
    for (const std::string& part : quoted.identifier)
        text += " word " + part;
    return text;
}

TEST(ReadmeNames, PathsAndIdentifiersAreTold) {
    const std::string text =
        "# `title` is read too\n"
        "Calls `PSWPlugin::convertMetaTree(options, progress)` and\n"
        "`metaObjListValContainerT<T>`; the `-timeout` option, `make test`,\n"
        "`(PARAM 25 0 1)`, `.sldprt`, `/tmp`, `42`, `$temp`, `\"PART\"`.\n"
        "```\n"
        "`fenced/away.h` is code\n"
        "```\n"
        "Files `tests/readmes/readme_names.h`, `paramops.h/.cpp`, `swapi/`,\n"
        "`a\n"
        "b` across lines, `OUTDIR/NAME.sldprt`, `build/default/x`, `out/demo`,\n"
        "`crash-*`, `fuzz_<target>`, `BM_PrintNumbers/0` and `https://x.y/z`.\n";
    std::vector<std::string> found;
    for (const quotedNameS& quoted : quotedNames(text))
        found.push_back(summary(quoted));
    EXPECT_EQ(found, (std::vector<std::string>{
                         "1 title -> word title",
                         "2 PSWPlugin::convertMetaTree(options, progress) -> word PSWPlugin "
                         "word convertMetaTree",
                         "3 metaObjListValContainerT<T> -> word metaObjListValContainerT",
                         "8 tests/readmes/readme_names.h -> path tests/readmes/readme_names.h",
                         "8 paramops.h/.cpp -> path paramops.h path paramops.cpp",
                         "8 swapi/ -> path swapi word swapi",
                         "11 BM_PrintNumbers/0 -> path BM_PrintNumbers/0 word BM_PrintNumbers",
                     }));
}

TEST(ReadmeNames, WhatTheRepositoryLacksIsNamedWithItsLine) {
    const TempFolder folder;
    const std::filesystem::path root = folder.path();
    std::filesystem::create_directories(root / "lib/part");
    std::ofstream(root / "lib/part/part.h") << "int buildPart(int);\nstruct partC {};\n";
    std::ofstream(root / "lib/README.md")
        << "`part/part.h` (also `lib/part/part.h`, `part.h`) gives `buildPart(n)`,\n"
           "`partC::buildPart`, `part/gone.h`, `lib/gone/` and `buildGone()`;\n"
           "`partC::missing` and `buildPart/all`; `nowhere/at/all`, `part/partC`.\n";
    const repositoryC repository(root);
    ASSERT_EQ(repository.readmes().size(), 1u);
    // A README's own words do not make its names exist.
    EXPECT_FALSE(repository.hasWord("buildGone"));
    EXPECT_EQ(unresolvedNames(repository, repository.readmes().front(), {}),
              (std::vector<std::string>{
                  "lib/README.md:2: `part/gone.h`: no file or folder part/gone.h",
                  "lib/README.md:2: `lib/gone/`: no file or folder lib/gone",
                  "lib/README.md:2: `buildGone()`: no name buildGone in the sources",
                  "lib/README.md:3: `partC::missing`: no name missing in the sources",
                  "lib/README.md:3: `nowhere/at/all`: no file or folder nowhere/at/all",
                  "lib/README.md:3: `part/partC`: no file or folder part/partC",
              }));
    EXPECT_EQ(unresolvedNames(repository, repository.readmes().front(),
                              {"part/gone.h", "lib/gone/", "buildGone()", "partC::missing",
                               "nowhere/at/all", "part/partC"}),
              std::vector<std::string>{});
}

TEST(ReadmeNames, EveryReadmeNamesWhatExists) {
    const char* source = std::getenv("NATLINK_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    const repositoryC repository(source);
    ASSERT_GT(repository.readmes().size(), 20u);
    std::vector<std::string> missing;
    for (const std::filesystem::path& readme : repository.readmes())
        for (const std::string& line : unresolvedNames(repository, readme, ignoredSpans))
            missing.push_back(line);
    std::string listed;
    for (const std::string& line : missing)
        listed += line + "\n";
    EXPECT_TRUE(missing.empty()) << "READMEs name what the repository does not have:\n" << listed;
}

} // namespace
