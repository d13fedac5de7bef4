#include "tests/natlinkhost/natlinkhost_fixture.h"
#include "tools/natlinkhost/command_line.h"

namespace {

using natlinkhost::parseCommandLine;

TEST(NatlinkHostCommandLine, OptionsBeforeAndAfterTheCommand) {
    const auto parsed = parseCommandLine(
        {"--log", "a.log", "convert", "m.meta", "--log-level", "5000", "-o", "out"});
    ASSERT_TRUE(parsed.commandLine) << parsed.error;
    EXPECT_EQ(parsed.commandLine->command, "convert");
    EXPECT_EQ(parsed.commandLine->operands, std::vector<std::string>{"m.meta"});
    EXPECT_EQ(parsed.commandLine->outDir, "out");
    EXPECT_EQ(parsed.commandLine->logFile, "a.log");
    EXPECT_EQ(parsed.commandLine->logLevel, 5000);
}

TEST(NatlinkHostCommandLine, DoubleDashEndsOptions) {
    const auto parsed = parseCommandLine({"checkin", "--", "-odd-name.sldprt"});
    ASSERT_TRUE(parsed.commandLine) << parsed.error;
    EXPECT_EQ(parsed.commandLine->operands, std::vector<std::string>{"-odd-name.sldprt"});
}

TEST(NatlinkHostCommandLine, RefusalsNameWhatIsWrong) {
    const struct {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{}, "no command given"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"--verbose", "convert"}, "unknown option '--verbose'"},
        {{"convert", "m.meta"},
         "missing '-o OUTDIR'; usage: natlinkhost convert MODEL.meta -o "
         "OUTDIR"},
        {{"convert", "-o", "out"},
         "wrong number of arguments; usage: natlinkhost convert MODEL.meta -o OUTDIR"},
        {{"export", "a.sldprt"},
         "wrong number of arguments; usage: natlinkhost export DOC OUT.step|OUT.stl"},
        {{"inspect", "a.sldprt", "-o", "x"}, "option '-o' belongs to the convert command"},
        {{"convert", "m.meta", "-o"}, "option '-o' needs a value"},
        {{"--log-level", "-1", "inspect", "a"},
         "option '--log-level' needs a non-negative integer, not '-1'"},
        {{"--log-level", "50x", "inspect", "a"},
         "option '--log-level' needs a non-negative integer, not '50x'"},
        {{"--log", "", "inspect", "a"}, "option '--log' needs a non-empty value"},
    };
    for (const auto& c : cases) {
        const auto parsed = parseCommandLine(c.args);
        EXPECT_FALSE(parsed.commandLine) << c.error;
        EXPECT_EQ(parsed.error, c.error);
    }
}

} // namespace
