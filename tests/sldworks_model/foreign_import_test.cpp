// Foreign bodies are read in a child process: whatever the reader does there (crash, hang, run
// away with memory) fails the import with its reason and leaves the part as it was, and a body
// is taken only when its geometry is finite, valid and inside the model space.
#include "tests/sldworks_model/fixtures.h"

#include "platform/sldworks/model/child_process.h"
#include "platform/sldworks/model/import_limits.h"

#include <BRepBuilderAPI_Transform.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Solid.hxx>
#include <gp_Trsf.hxx>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include <unistd.h>

namespace swsim {
namespace {

namespace fs = std::filesystem;

TEST(ChildProcess, EachWayTheWorkEndsIsToldApart) {
    using namespace detail;
    const ChildLimits limits{0.5, std::size_t{64} << 20};
    // Left in this process's buffer: the child must not write it out as its own.
    std::printf("pending output of the parent ");
    const ChildOutcome done = runInChild(
        [](int output) {
            std::printf("\033[31;1m**** ERR StepFile : Incorrect Syntax ****\033[0m\n");
            return writeAll(output, "shape") ? kChildDone : kChildRefused;
        },
        limits);
    std::fflush(stdout);
    EXPECT_TRUE(done.done);
    EXPECT_EQ(done.output, "shape");
    EXPECT_EQ(done.report, "**** ERR StepFile : Incorrect Syntax ****");

    const ChildOutcome refused = runInChild(
        [](int output) {
            writeAll(output, "not a shape");
            return kChildRefused;
        },
        limits);
    EXPECT_TRUE(refused.refused && !refused.done);
    EXPECT_EQ(refused.output, "not a shape");

    const auto failure = [&](const std::function<int(int)>& work) {
        const ChildOutcome outcome = runInChild(work, limits);
        EXPECT_FALSE(outcome.done || outcome.refused);
        return outcome.failure;
    };
    EXPECT_EQ(failure([](int) {
                  std::raise(SIGSEGV);
                  return kChildDone;
              }),
              "crashed (signal 11, Segmentation fault)");
    EXPECT_EQ(failure([](int) {
                  std::atomic<unsigned> spin{0};
                  for (;;)
                      spin.fetch_add(1, std::memory_order_relaxed);
                  return kChildDone;
              }),
              "did not finish within its time limit of 0.5 s");
    EXPECT_EQ(failure([](int) {
                  std::vector<std::unique_ptr<char[]>> held;
                  for (int megabyte = 0; megabyte < 4096; ++megabyte) {
                      held.emplace_back(new char[1 << 20]);
                      std::memset(held.back().get(), 1, 1 << 20);
                  }
                  return kChildDone;
              }),
              "needed more than its memory limit of 64 MB");
    EXPECT_EQ(failure([](int) -> int { throw std::runtime_error("unhandled"); }),
              "failed on an exception it did not handle");
    EXPECT_EQ(failure([](int) { return 42; }), "ended with exit code 42");
}

class ForeignImport : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("swsim_foreign_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        saved_ = importLimits();
    }
    void TearDown() override {
        setImportLimits(saved_);
        fs::remove_all(dir_);
    }
    std::string write(const std::string& name, const std::string& content) const {
        const fs::path file = dir_ / name;
        std::ofstream(file, std::ios::binary) << content;
        return file.string();
    }
    static std::string brep(const TopoDS_Shape& shape) {
        std::ostringstream text;
        BRepTools::Write(shape, text);
        return text.str();
    }
    // A 10 mm cube at (100, 0, 0) as STEP text, written by the session.
    std::string cubeStep() const {
        auto source = PartDocument::create();
        auto sketch = source->openSketch(source->frontPlane());
        test::addRectangle(*sketch, 100, 0, 110, 10);
        source->closeSketch();
        ExtrudeSpec request;
        request.depth1 = 10;
        EXPECT_TRUE(source->addExtrusion(sketch, request));
        source->exportStep((dir_ / "source.step").string());
        std::ifstream in(dir_ / "source.step");
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // Why importing the file into a block fails, the block left as it was; "imported" when
    // the import succeeds.
    static std::string refusal(const std::string& file) {
        auto doc = PartDocument::create();
        EXPECT_TRUE(test::makeBlock(*doc));
        const std::size_t features = doc->features().size();
        if (doc->addImportedBody(file))
            return "imported";
        EXPECT_EQ(doc->features().size(), features) << file;
        EXPECT_DOUBLE_EQ(test::volume(*doc), 1000.0) << file;
        return doc->lastError();
    }

    fs::path dir_;
    ImportLimits saved_;
};

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST_F(ForeignImport, AValidBodyIsTakenWholeFromEachFormat) {
    const TopoDS_Shape cube = BRepPrimAPI_MakeBox(gp_Pnt(100, 0, 0), 10, 10, 10).Shape();
    for (const std::string& file :
         {write("cube.brep", brep(cube)), write("cube.STEP", cubeStep())}) {
        auto doc = PartDocument::create();
        ASSERT_TRUE(test::makeBlock(*doc));
        std::string report = "not touched";
        const auto feature = doc->addImportedBody(file, &report);
        ASSERT_TRUE(feature) << doc->lastError();
        EXPECT_EQ(feature->name(), "Imported1");
        EXPECT_EQ(report, "");
        EXPECT_NEAR(test::volume(*doc), 1000.0 + 1000.0, 1e-6);
        const Box box = doc->box();
        EXPECT_NEAR(box.max.x, 110.0, 1e-6);
        EXPECT_NEAR(box.max.z, 10.0, 1e-6);
    }
}

TEST_F(ForeignImport, AHostileFileFailsTheImportNamingWhy) {
    setImportLimits({1.0, std::size_t{256} << 20});
    const std::string step = cubeStep();
    const TopoDS_Shape cube = BRepPrimAPI_MakeBox(gp_Pnt(0, 0, 0), 10, 10, 10).Shape();
    const std::string text = brep(cube);
    const auto moved = [&](const gp_Trsf& how) {
        return brep(BRepBuilderAPI_Transform(cube, how, true).Shape());
    };
    gp_Trsf far;
    far.SetTranslation(gp_Vec(1e12, 0, 0));
    gp_Trsf huge;
    huge.SetScale(gp_Pnt(0, 0, 0), 1e49);
    TopoDS_Shape meshed = BRepPrimAPI_MakeBox(gp_Pnt(0, 0, 0), 10, 10, 10).Shape();
    BRepMesh_IncrementalMesh(meshed, 1.0);
    // A solid whose shell lacks a face.
    BRep_Builder builder;
    TopoDS_Shell shell;
    builder.MakeShell(shell);
    TopExp_Explorer faces(cube, TopAbs_FACE);
    for (faces.Next(); faces.More(); faces.Next())
        builder.Add(shell, faces.Current());
    TopoDS_Solid open;
    builder.MakeSolid(open);
    builder.Add(open, shell);

    const std::vector<std::pair<std::string, std::string>> cases{
        {write("empty-direction.step",
               replaced(step, "#13 = DIRECTION('',(0.,0.,1.));", "#13 = DIRECTION('',());")),
         "the STEP reader crashed (signal 11, Segmentation fault)"},
        {write("nan-point.step", replaced(step, "#23 = CARTESIAN_POINT('',(100.,0.,0.));",
                                          "#23 = CARTESIAN_POINT('',(NAN,0.,0.));")),
         "the STEP reader did not finish within its time limit of 1 s"},
        {write("mesh.brep", replaced(brep(meshed), "\nTriangulations 6\n4 2 1 0",
                                     "\nTriangulations 6\n2000000000 2 1 0")),
         "the BREP reader needed more than its memory limit of 256 MB"},
        {write("curves.brep", replaced(text, "\nCurves 12\n", "\nCurves 2000000000\n")),
         "the BREP reader cannot read the file"},
        {write("empty.step", ""), "the STEP reader cannot read the file"},
        {write("nan.brep", replaced(text, "\nCurves 12\n1 0 0 0", "\nCurves 12\n1 nan 0 0")),
         "its geometry holds the number nan, which is not finite"},
        {write("far.brep", moved(far)),
         "it reaches 1e+12 from the origin, beyond the model space (500000)"},
        {write("huge.brep", moved(huge)),
         "it reaches 1e+50 from the origin, beyond the model space (500000)"},
        {write("open.brep", brep(open)), "its shape fails OpenCASCADE's check"},
        {write("notes.txt", text),
         "the file is none of STEP (.step, .stp), IGES (.igs, .iges) and BREP (.brep, .brp)"},
    };
    for (const auto& [file, why] : cases)
        EXPECT_EQ(refusal(file), "import of " + fs::path(file).filename().string() + ": " + why);
}

} // namespace
} // namespace swsim
