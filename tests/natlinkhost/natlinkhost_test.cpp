// natlinkhost run in-process: exit codes, what goes to stdout and stderr, the log.
#include "tests/natlinkhost/natlinkhost_fixture.h"

namespace {

const std::string assemblyNotBuilt = "natlinkhost: The assembly \"A\" has no member parts\n";

using NatlinkHostRun = natlinkHostTest;

TEST_F(NatlinkHostRun, HelpGoesToStdoutWithExitZero) {
    const runS result = run({"--help"});
    EXPECT_EQ(result.code, 0);
    EXPECT_NE(result.out.find("usage: natlinkhost [--log FILE] [--log-level N] [--options FILE]"),
              std::string::npos);
    for (const char* command : {"convert MODEL.meta -o OUTDIR", "checkin DOC", "inspect DOC",
                                "export DOC OUT.step|OUT.stl"}) {
        EXPECT_NE(result.out.find(command), std::string::npos) << command;
    }
    EXPECT_EQ(result.err, "");
}

TEST_F(NatlinkHostRun, UnknownCommandOrOptionIsAUsageError) {
    runS result = run({"frobnicate"});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.err, "natlinkhost: unknown command 'frobnicate'\nTry 'natlinkhost --help'.\n");
    EXPECT_EQ(result.out, "");

    result = run({"convert", "m.meta", "-o", "out", "--fast"});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.err, "natlinkhost: unknown option '--fast'\nTry 'natlinkhost --help'.\n");
}

TEST_F(NatlinkHostRun, BrokenFileIsRefusedWithItsPosition) {
    const std::string file = sourceFile("examples/broken.meta");
    const runS result = run({"convert", file, "-o", path("out")});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.err, file + ":5:20: invalid escape 'q' in string\n");
}

TEST_F(NatlinkHostRun, ValidExampleIsBuilt) {
    const struct {
        const char* example;
        const char* saved;
    } cases[] = {{"examples/planes.meta", "out/Planes.sldprt"},
                 {"examples/block.meta", "out/Block.sldprt"}};
    for (const auto& c : cases) {
        const runS result = run({"convert", sourceFile(c.example), "-o", path("out")});
        EXPECT_EQ(result.code, 0) << c.example;
        EXPECT_EQ(result.err, "") << c.example;
        // Built means saved under the part's name in the output folder, and said so.
        EXPECT_EQ(result.out, "wrote " + path(c.saved) + "\n");
        EXPECT_TRUE(std::filesystem::is_regular_file(path(c.saved))) << c.saved;
    }
}

TEST_F(NatlinkHostRun, ConvertNamesEveryDocumentItWrote) {
    // The names come from the model's NAMEs; the parts are written before their assembly, and
    // the pin placed twice is written once.
    const std::string assembly = sourceFile("examples/assembly.meta");
    const std::string written = "wrote " + path("out/Base.sldprt") + "\nwrote " +
                                path("out/Pin.sldprt") + "\nwrote " + path("out/Pair.sldasm") +
                                "\n";
    runS result = run({"convert", assembly, "-o", path("out")});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, written);
    // Written again over the documents of the first run: said again.
    result = run({"convert", assembly, "-o", path("out")});
    EXPECT_EQ(result.out, written);

    // Items that failed: the part is still written, and said to be.
    result = run({"convert", sourceFile("examples/solids_with_faults.meta"), "-o", path("out")});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out, "wrote " + path("out/PlateWithFaults.sldprt") + "\n");

    // Nothing written, nothing said; the documents already there are not named.
    result = run({"convert", writeFile("asm.meta", "(ASSEMBLY (NAME \"A\") (MEMBERS))\n"), "-o",
                  path("out")});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out, "");
    result = run({"convert", sourceFile("examples/broken.meta"), "-o", path("out")});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.out, "");
}

TEST_F(NatlinkHostRun, ModelMustBeOnePartOrAssembly) {
    const std::string plane = writeFile("plane.meta", "; one plane\n\n  (PLANE (NAME \"XY\"))\n");
    runS result = run({"convert", plane, "-o", path("out")});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.err,
              plane + ":3:3: expected one PART or ASSEMBLY document node, found a PLANE node\n");

    const std::string two = writeFile("two.meta", "(PART (NAME \"A\"))\n(PART (NAME \"B\"))\n");
    result = run({"convert", two, "-o", path("out")});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.err.rfind(two + ":2:1: ", 0), 0u) << result.err;

    const std::string value = writeFile("value.meta", "\"PART\"\n");
    result = run({"convert", value, "-o", path("out")});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.err,
              value + ":1:1: expected one PART or ASSEMBLY document node, found a single value\n");

    const std::string assembly = writeFile("asm.meta", "(ASSEMBLY (NAME \"A\") (MEMBERS))\n");
    result = run({"convert", assembly, "-o", path("out")});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, assemblyNotBuilt);
}

TEST_F(NatlinkHostRun, MissingModelFileIsRefused) {
    const runS result = run({"convert", path("nothere.meta"), "-o", path("out")});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.err.rfind(path("nothere.meta") + ": ", 0), 0u) << result.err;
}

TEST_F(NatlinkHostRun, CreationOptionsFileMustHoldCreaopts) {
    const std::string model = sourceFile("examples/planes.meta");
    const std::string good = writeFile(
        "opts.meta", "(CREAOPTS (CREAOPTSETS (CREAOPTSET (NAME \"SketchMode\") (VAL \"1\"))))");
    runS result = run({"--options", good, "convert", model, "-o", path("out")});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.err, "");

    const std::string wrong = writeFile("wrong.meta", "(CREAOPTSETS)");
    result = run({"--options", wrong, "convert", model, "-o", path("out")});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.err, wrong + ":1:1: expected one CREAOPTS node, found a CREAOPTSETS node\n");

    const std::string broken = writeFile("broken.meta", "(CREAOPTS (CREAOPTSETS)");
    result = run({"--options", broken, "convert", model, "-o", path("out")});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.err.rfind(broken + ":1:1: ", 0), 0u) << result.err;
}

TEST_F(NatlinkHostRun, MissingDocumentsAreRefused) {
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"checkin", "a.sldprt"}, "natlinkhost: a.sldprt: no such document\n"},
        {{"inspect", "a.sldprt"}, "natlinkhost: a.sldprt: no such document\n"},
        {{"export", "a.sldprt", "a.step"}, "natlinkhost: a.sldprt: no such document\n"},
    };
    for (const auto& c : cases) {
        const runS result = run(c.args);
        EXPECT_EQ(result.code, 1) << c.args[0];
        EXPECT_EQ(result.err, c.err);
    }
}

TEST_F(NatlinkHostRun, LogFileTakesRecordsFromTheGivenLevelOn) {
    const std::string model = sourceFile("examples/planes.meta");
    const std::string traceLog = path("trace.log");
    EXPECT_EQ(
        run({"--log", traceLog, "--log-level", "5000", "convert", model, "-o", path("o")}).code, 0);
    const std::string trace = readFile(traceLog);
    EXPECT_NE(trace.find("Enter Frame natlinkhost convert"), std::string::npos) << trace;
    EXPECT_NE(trace.find("Leave Frame natlinkhost convert"), std::string::npos);
    EXPECT_NE(trace.find("Model loaded: " + model), std::string::npos);

    // The default threshold is info: the run is logged, the trace records are not.
    const std::string infoLog = path("info.log");
    EXPECT_EQ(run({"--log", infoLog, "convert", model, "-o", path("o")}).code, 0);
    const std::string info = readFile(infoLog);
    EXPECT_NE(info.find("Model loaded: " + model), std::string::npos) << info;
    EXPECT_EQ(info.find("Enter Frame"), std::string::npos);

    // Errors only: a refused model is logged, a loaded one is not.
    const std::string errorLog = path("error.log");
    EXPECT_EQ(run({"--log", errorLog, "--log-level", "40000", "convert",
                   sourceFile("examples/broken.meta"), "-o", path("o")})
                  .code,
              2);
    EXPECT_EQ(
        run({"--log", errorLog, "--log-level", "40000", "convert", model, "-o", path("o")}).code,
        0);
    const std::string errors = readFile(errorLog);
    EXPECT_NE(errors.find("Model refused: "), std::string::npos) << errors;
    EXPECT_NE(errors.find("invalid escape 'q' in string"), std::string::npos);
    EXPECT_EQ(errors.find("Model loaded"), std::string::npos);

    // A run leaves the host's log as it found it.
    EXPECT_EQ(hostsvc::defaultLogLevel(), hostsvc::defaultLogThreshold);
}

TEST_F(NatlinkHostRun, LogFileThatCannotBeOpenedIsAnError) {
    const std::string log = path("no/such/folder/x.log");
    const runS result = run({"--log", log, "inspect", "a.sldprt"});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.err.rfind("natlinkhost: cannot open log file '" + log + "'", 0), 0u)
        << result.err;
}

} // namespace
