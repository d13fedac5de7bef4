// Hostile foreign payloads through the whole road (the road fuzz target's regression inputs):
// a reader that crashes or hangs fails its feature with the reason and the conversion goes on;
// a body that is not finite or lies beyond the model space is not taken, so no part is saved
// that exports NAN; the reader's messages go to the log, never to standard output.
#include "platform/sldworks/model/import_limits.h"
#include "tests/natlinkhost/natlinkhost_fixture.h"

#include <cstdio>
#include <regex>

#include <fcntl.h>
#include <unistd.h>

namespace {

class ForeignPayloads : public natlinkHostTest {
protected:
    void SetUp() override {
        natlinkHostTest::SetUp();
        saved_ = swsim::importLimits();
        swsim::setImportLimits({1.0, std::size_t{256} << 20});
    }
    void TearDown() override {
        swsim::setImportLimits(saved_);
        natlinkHostTest::TearDown();
    }
    static std::string regression(const std::string& name) {
        return sourceFile("fuzz/regressions/road/" + name + ".meta");
    }

private:
    swsim::ImportLimits saved_;
};

// What the process writes to its standard output (the descriptor, which OpenCASCADE's
// messages use) while the object lives.
class stdoutCaptureC {
public:
    explicit stdoutCaptureC(const std::string& file) : file_(file) {
        std::fflush(stdout);
        saved_ = ::dup(STDOUT_FILENO);
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, STDOUT_FILENO);
        ::close(fd);
    }
    stdoutCaptureC(const stdoutCaptureC&) = delete;
    stdoutCaptureC& operator=(const stdoutCaptureC&) = delete;
    ~stdoutCaptureC() { restore(); }
    void restore() {
        if (saved_ < 0)
            return;
        std::fflush(stdout);
        ::dup2(saved_, STDOUT_FILENO);
        ::close(saved_);
        saved_ = -1;
    }

private:
    std::string file_;
    int saved_ = -1;
};

TEST_F(ForeignPayloads, AReaderThatCrashesOrHangsFailsItsFeatureAndTheConversionGoesOn) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"foreign-step-empty-direction", "the STEP reader crashed (signal 11, Segmentation fault)"},
        {"foreign-step-nan-point", "the STEP reader did not finish within its time limit of 1 s"},
        {"foreign-brep-2e9-curves", "the BREP reader cannot read the file"},
        {"foreign-brep-mesh-2e9-nodes", "the BREP reader needed more than its memory limit of "
                                        "256 MB"}};
    for (const auto& [model, why] : cases) {
        const std::string log = path(model + ".log");
        stdoutCaptureC capture(path("stdout.txt"));
        const runS converted = run({"--log", log, "convert", regression(model), "-o", path(model)});
        capture.restore();
        EXPECT_EQ(converted.code, 1) << model;
        EXPECT_NE(converted.err.find("FOEFEAT \"Cube\": Loading foreign feature failed: import of "
                                     "foreign." +
                                     model.substr(8, 4) + ": " + why),
                  std::string::npos)
            << converted.err;
        EXPECT_EQ(readFile(path("stdout.txt")), "") << model;
        // The plate is built and saved without the cube.
        const runS shown = run({"inspect", path(model + "/Host.sldprt")});
        EXPECT_EQ(shown.code, 0) << model;
        EXPECT_NE(shown.out.find("volume 16000\n"), std::string::npos) << shown.out;
        EXPECT_EQ(shown.out.find("Imported"), std::string::npos) << model;
    }
    // The STEP reader's own messages are in the log, without their terminal colours.
    const std::string log = readFile(path("foreign-step-nan-point.log"));
    EXPECT_NE(log.find("SolidWorks: import: the reader said:\n**** ERR StepFile"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find('\x1b'), std::string::npos);
}

TEST_F(ForeignPayloads, ABodyNotFiniteOrBeyondTheModelSpaceIsNotTaken) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"foreign-brep-nan-point", "its geometry holds the number nan, which is not finite"},
        {"foreign-brep-direction-1e400", "which is not finite"},
        {"foreign-brep-moved-1e12", "it reaches 1e+12 from the origin, beyond the model space"},
        {"foreign-brep-scaled-1e49", "it reaches 1.1e+51 from the origin, beyond the model space"}};
    const std::regex notFinite(R"([(,]-?(NAN|INF)[,)])", std::regex::icase);
    for (const auto& [model, why] : cases) {
        const runS converted = run({"convert", regression(model), "-o", path(model)});
        EXPECT_EQ(converted.code, 1) << model;
        EXPECT_NE(converted.err.find("Loading foreign feature failed: import of foreign.brep: "),
                  std::string::npos)
            << converted.err;
        EXPECT_NE(converted.err.find(why), std::string::npos) << converted.err;
        const std::string copy = path(model + ".step");
        ASSERT_EQ(run({"export", path(model + "/Host.sldprt"), copy}).code, 0) << model;
        const std::string step = readFile(copy);
        EXPECT_FALSE(std::regex_search(step, notFinite)) << model;
        EXPECT_NE(step.find("CARTESIAN_POINT('',(40.,40.,10.))"), std::string::npos) << model;
        EXPECT_EQ(step.find("CARTESIAN_POINT('',(110."), std::string::npos) << model;
    }
}

} // namespace
