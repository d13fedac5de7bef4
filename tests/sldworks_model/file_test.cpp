#include "tests/sldworks_model/fixtures.h"

#include "platform/sldworks/model/assembly_document.h"
#include "platform/sldworks/model/occt_shape.h"

#include <BRepTools.hxx>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <numbers>
#include <sstream>
#include <vector>

namespace swsim {
namespace {

namespace fs = std::filesystem;

class SwsimPartFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("swsim_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    // `content` written as a part file and opened: the part, or null with `why` the refusal.
    PartDocumentPtr openWritten(const std::string& content, std::string& why) const {
        std::ofstream(path("damaged.sldprt"), std::ios::binary) << content;
        try {
            return PartDocument::open(path("damaged.sldprt"));
        } catch (const ModelError& e) {
            why = e.what();
            return nullptr;
        }
    }
    // Why `content` written as a part file is refused; "opened" when it is not.
    std::string refusal(const std::string& content) const {
        std::string why;
        return openWritten(content, why) ? "opened" : why;
    }
    fs::path dir_;
};

// The text of a file as the versions before 4 wrote it, under `header`: sketches name no
// feature whose face they lie on, and nothing is set aside (the file must hold nothing aside).
std::string beforeVersion4(const std::string& text, const std::string& header) {
    std::istringstream lines(text.substr(text.find('\n') + 1));
    std::string body;
    bool sketchPlacement = false;
    for (std::string line; std::getline(lines, line);) {
        if (line == "aside 0 ")
            continue;
        if (sketchPlacement) {
            // frame, placement, face feature, line, arc and point counters: drop the fourth
            // number from the end.
            std::istringstream numbers(line);
            std::vector<std::string> tokens{std::istream_iterator<std::string>(numbers), {}};
            tokens.erase(tokens.end() - 4);
            line.clear();
            for (const std::string& token : tokens)
                line += token + " ";
        }
        sketchPlacement = line.rfind("feature sketch", 0) == 0;
        body += line + "\n";
    }
    return detail::sealedFile(header, body);
}

PartDocumentPtr sample() {
    auto doc = PartDocument::create();
    EXPECT_TRUE(test::makeBlock(*doc));
    HoleSpec hole;
    hole.point = {5, 10, 5};
    hole.sections = {{4, 4, 5}};
    auto h = doc->addHole(hole);
    EXPECT_TRUE(h);
    h->setName("Drill \"A\"");
    doc->findFeature("Sketch1")->setHidden(true);
    auto top = doc->findFaceAt({1, 1, 5}, {0, 0, 1}, 1e-6);
    EXPECT_TRUE(doc->setEntityName(top, "TOP"));
    EXPECT_TRUE(doc->setFaceColour(top, Rgb{0.25, 0.5, 1}));
    auto rim = doc->findEdgeAt({7, 10, 5}, 1e-7);
    EXPECT_TRUE(doc->addCosmeticThread(rim, 4, 3, "M4x0.7"));
    EXPECT_TRUE(doc->addPlaneThroughPoints({0, 0, 1}, {1, 0, 1}, {0, 1, 1}));
    EXPECT_TRUE(doc->addSurfaceCopy(top));
    return doc;
}

TEST_F(SwsimPartFiles, SaveThenOpenKeepsFeaturesNamesAndVolume) {
    auto doc = sample();
    doc->save(path("part.sldprt"));
    EXPECT_FALSE(doc->modified());
    auto back = PartDocument::open(path("part.sldprt"));
    ASSERT_EQ(back->features().size(), doc->features().size());
    for (size_t i = 0; i < doc->features().size(); ++i) {
        EXPECT_EQ(back->features()[i]->name(), doc->features()[i]->name());
        EXPECT_EQ(back->features()[i]->typeName(), doc->features()[i]->typeName());
        EXPECT_EQ(back->features()[i]->hidden(), doc->features()[i]->hidden());
    }
    EXPECT_NEAR(back->massProperties().volume, doc->massProperties().volume, 1e-9);
    EXPECT_EQ(back->bodies(BodyKind::Sheet).size(), 1u);
    auto top = objectAs<Face>(back->findEntityByName("TOP"));
    ASSERT_TRUE(top);
    EXPECT_EQ(top->normal(), (Vec3{0, 0, 1}));
    EXPECT_EQ(*top->colour(), (Rgb{0.25, 0.5, 1}));
    auto sketch = std::dynamic_pointer_cast<Sketch>(back->findFeature("Sketch1"));
    ASSERT_TRUE(sketch);
    EXPECT_EQ(sketch->segments().size(), 4u);
    EXPECT_EQ(sketch->findEntity("Line3"), sketch->segments()[2]);
    auto thread = std::dynamic_pointer_cast<CosmeticThread>(back->findFeature("Cosmetic Thread1"));
    ASSERT_TRUE(thread);
    EXPECT_EQ(thread->description(), "M4x0.7");
    ASSERT_TRUE(thread->edge());
    EXPECT_NEAR(thread->edge()->curve().radius, 2.0, 1e-12);
    auto plane = std::dynamic_pointer_cast<RefPlane>(back->findFeature("Plane1"));
    ASSERT_TRUE(plane);
    EXPECT_EQ(plane->frame().origin, (Vec3{0, 0, 1}));
    // The opened document goes on naming where the saved one stopped, and rebuilds alike.
    back->rebuild();
    EXPECT_NEAR(back->massProperties().volume, doc->massProperties().volume, 1e-9);
    EXPECT_EQ(back->addAxis({0, 0, 0}, {1, 0, 0})->name(), "Axis1");
    EXPECT_EQ(back->addPlaneThroughPoints({0, 0, 2}, {1, 0, 2}, {0, 1, 2})->name(), "Plane2");
}

// A reopened sketch counts the constraints it was saved with (the reader adds them directly).
TEST_F(SwsimPartFiles, ReopenedSketchesKeepTheirConstraintsStatus) {
    auto doc = PartDocument::create();
    auto sketch = doc->openSketch(doc->frontPlane());
    test::addRectangle(*sketch, 0, 0, 4, 3);
    sketch->addArc({10, 0, 0}, {14, 0, 0}, {12, 2, 0});
    for (size_t i = 0; i < 3; ++i)
        ASSERT_TRUE(sketch->addConstraint(kConstraintFix, {sketch->points()[i]}));
    ASSERT_TRUE(sketch->addConstraint(kConstraintFix, {sketch->segments()[4]}));
    const int free = sketch->freeDegrees();
    EXPECT_EQ(free, 2);
    doc->closeSketch();
    doc->save(path("sketch.sldprt"));
    auto back = PartDocument::open(path("sketch.sldprt"));
    auto reopened = std::dynamic_pointer_cast<Sketch>(back->findFeature(sketch->name()));
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->freeDegrees(), free);
    EXPECT_EQ(reopened->status(), kSketchUnderConstrained);
    ASSERT_TRUE(reopened->addConstraint(kConstraintFix, {reopened->points()[3]}));
    EXPECT_EQ(reopened->status(), kSketchFullyConstrained);
    EXPECT_EQ(reopened->constrainAll(), 0);
}

TEST_F(SwsimPartFiles, SuppressedFeaturesStaySuppressed) {
    auto doc = sample();
    ASSERT_TRUE(doc->findFeature("Drill \"A\"")->setSuppressed(true));
    doc->save(path("s.sldprt"));
    auto back = PartDocument::open(path("s.sldprt"));
    EXPECT_TRUE(back->findFeature("Drill \"A\"")->suppressed());
    EXPECT_NEAR(back->massProperties().volume, 1000.0, 1e-9);
}

TEST_F(SwsimPartFiles, BadAndTruncatedFilesGiveClearErrors) {
    EXPECT_THROW(PartDocument::open(path("missing.sldprt")), ModelError);
    { std::ofstream(path("junk.sldprt")) << "this is not a part\n"; }
    try {
        PartDocument::open(path("junk.sldprt"));
        FAIL() << "no error";
    } catch (const ModelError& e) {
        EXPECT_NE(std::string(e.what()).find("junk.sldprt"), std::string::npos);
    }
    auto doc = sample();
    doc->save(path("full.sldprt"));
    std::ifstream in(path("full.sldprt"), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (size_t cut : {text.size() / 5, text.size() / 2, text.size() - 10}) {
        std::ofstream(path("cut.sldprt"), std::ios::binary) << text.substr(0, cut);
        EXPECT_THROW(PartDocument::open(path("cut.sldprt")), ModelError) << cut;
    }
    EXPECT_THROW(doc->save((dir_ / "no" / "such" / "dir.sldprt").string()), ModelError);
}

TEST_F(SwsimPartFiles, DamagedFilesAreRefusedBeforeTheirShapesAreRead) {
    sample()->save(path("part.sldprt"));
    std::ifstream in(path("part.sldprt"), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A few bytes changed in the first shape block.
    std::string damaged = text;
    const size_t block = damaged.find("\n", damaged.find("\n#")) + 1;
    ASSERT_NE(block, std::string::npos);
    const size_t digit = damaged.find_first_of("123456789", block + 200);
    damaged[digit] = damaged[digit] == '9' ? '1' : '9';
    damaged[digit + 3] = '~';
    EXPECT_EQ(refusal(damaged), "open " + path("damaged.sldprt") +
                                    ": the file is damaged (its checksum does not match)");
    // With the file's checksum made right, the block's own checksum still refuses it.
    EXPECT_NE(refusal(test::resealed(damaged)).find("a data block is damaged"), std::string::npos);
    // A file of the first format has no checksums to check.
    EXPECT_NE(refusal("SWSIM-PART 1 \n" + text.substr(text.find('\n') + 1)).find("another version"),
              std::string::npos);
    EXPECT_EQ(refusal(text), "opened");

    // Shape text OpenCASCADE's reader fails on, behind right checksums (found by the document
    // reader's fuzzer), is refused at once instead of read on, allocating, from the failed
    // stream.
    const char* root = std::getenv("NATLINK_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    std::ifstream found(std::string(root) + "/fuzz/corpus/document/failed-stream.body",
                        std::ios::binary);
    const std::string body((std::istreambuf_iterator<char>(found)),
                           std::istreambuf_iterator<char>());
    ASSERT_FALSE(body.empty());
    const std::string why = refusal(detail::sealedFile("SWSIM-PART 2", body));
    EXPECT_NE(why.find("cannot be read"), std::string::npos) << why;
}

TEST_F(SwsimPartFiles, NothingUnreadableIsSavedAndRefusalsQuoteNoRawBytes) {
    auto doc = sample();
    doc->save(path("kept.sldprt"));
    const double volumeBefore = test::volume(*PartDocument::open(path("kept.sldprt")));
    // The reader refuses a number that is not finite, so the writer does not write one.
    doc->setDoublePreference(42, std::numeric_limits<double>::quiet_NaN());
    try {
        doc->save(path("kept.sldprt"));
        FAIL() << "saved";
    } catch (const ModelError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "save: the document's settings holds the number nan, which a document cannot "
                  "hold");
    }
    EXPECT_NEAR(test::volume(*PartDocument::open(path("kept.sldprt"))), volumeBefore, 1e-9)
        << "the file is left as it was";
    // What the session holds it reads back: a property type the API took, a lightweight
    // component (state 3).
    auto typed = sample();
    ASSERT_TRUE(typed->addCustomProperty("", "Kind", 5'000'000'000L, "x"));
    typed->save(path("typed.sldprt"));
    EXPECT_EQ(PartDocument::open(path("typed.sldprt"))->customProperty("", "Kind")->type,
              5'000'000'000L);
    auto assembly = AssemblyDocument::create();
    assembly->addComponent("/parts/pin.sldprt")->state = 3;
    assembly->save(path("light.sldasm"));
    EXPECT_EQ(AssemblyDocument::open(path("light.sldasm"))->components()[0]->state, 3);

    // Bytes of a damaged file reach the message escaped, never as they are.
    for (const std::string& why :
         {refusal("SWSIM-PART \x1b]0;owned\x07\n"),
          refusal(detail::sealedFile("SWSIM-PART 2", "counters 0 features 1 feature \x1b[2J\xff "
                                                     "\"t\" \"n\" 0 0\n"))}) {
        EXPECT_EQ(why.find_first_of("\x1b\x07\xff"), std::string::npos) << why;
        EXPECT_NE(why.find("\\x1B"), std::string::npos) << why;
    }
    // A sketch far beyond the model space, behind right checksums, is refused before
    // OpenCASCADE sees it.
    std::ifstream in(path("kept.sldprt"), std::ios::binary);
    std::string far((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string point = "\"Point2\" 10 0 0";
    ASSERT_NE(far.find(point), std::string::npos);
    std::string beyond = far;
    beyond.replace(beyond.find(point), point.size(), "\"Point2\" 1e200 0 0");
    EXPECT_NE(refusal(test::resealed(beyond)).find("a sketch position lies beyond the reach"),
              std::string::npos);
    // Within reach of a construction, but a corner of the profile: the part would occupy it.
    far.replace(far.find(point), point.size(), "\"Point2\" 6e5 0 0");
    EXPECT_NE(refusal(test::resealed(far)).find("a sketch entity lies outside the model space"),
              std::string::npos);
}

// A tool shape that holds a number that is not finite (written so by hand or by another
// program) is refused when the part opens, before OpenCASCADE computes anything from it: mass
// properties of such a body never end.
TEST_F(SwsimPartFiles, AShapeHoldingANumberThatIsNotFiniteIsRefused) {
    auto doc = PartDocument::create();
    ASSERT_TRUE(test::makeBlock(*doc));
    doc->save(path("block.sldprt"));
    const std::string text = detail::fileText(path("block.sldprt"));
    // The block's tool, the only data block: "#<bytes> <checksum>", a newline, the BREP text.
    const std::size_t header = text.find("\n#") + 1;
    const std::size_t start = text.find('\n', header) + 1;
    const std::size_t length = std::stoul(text.substr(header + 1));
    const std::string shape = text.substr(start, length);
    // The first line of the curve table, "1 x y z dx dy dz", gets another x.
    const std::size_t curve = shape.find('\n', shape.find("\nCurves ") + 1) + 1;
    const std::size_t x = curve + 2;
    const std::size_t xEnd = shape.find(' ', x);
    for (const char* bad : {"nan", "-inf", "1e400", "-nan"}) {
        const std::string edited = shape.substr(0, x) + bad + shape.substr(xEnd);
        const std::string file = text.substr(0, header) + "#" + std::to_string(edited.size()) +
                                 " " + detail::checksumOf(edited) + "\n" + edited +
                                 text.substr(start + length);
        EXPECT_NE(refusal(test::resealed(file))
                      .find("the shape of feature \"Boss-Extrude1\" holds the number " +
                            std::string(bad) + ", which is not finite"),
                  std::string::npos)
            << bad;
    }
    // The same text with a finite number opens.
    const std::string finite = shape.substr(0, x) + "0" + shape.substr(xEnd);
    EXPECT_EQ(refusal(test::resealed(text.substr(0, header) + "#" + std::to_string(finite.size()) +
                                     " " + detail::checksumOf(finite) + "\n" + finite +
                                     text.substr(start + length))),
              "opened");
}

// A hole is saved by its definition and made again when the part opens; a file of the
// version before, which holds the hole's tool as BREP text, opens to the same solid.
TEST_F(SwsimPartFiles, HolesAreMadeAgainFromTheirDefinitionAndOlderFilesStillOpen) {
    auto doc = PartDocument::create();
    ASSERT_TRUE(test::makeBlock(*doc));
    HoleSpec hole; // countersink 6 at 90 degrees, diameter 4 to depth 2, a 90 degree tip
    hole.point = {5, 10, 5};
    hole.sections = {{4, 4, 2}};
    hole.countersinkDiameter = 6;
    hole.countersinkAngle = std::numbers::pi / 2;
    hole.tipAngle = std::numbers::pi / 2;
    const auto drilled = doc->addHole(hole);
    ASSERT_TRUE(drilled) << doc->lastError();
    // Countersink frustum 19 pi / 3, cylinder 4 pi, tip cone 8 pi / 3.
    const double volume = 1000.0 - 13.0 * std::numbers::pi;
    ASSERT_NEAR(test::volume(*doc), volume, 1e-9);
    doc->save(path("drilled.sldprt"));
    std::ifstream in(path("drilled.sldprt"), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto opened = [&](const std::string& content) {
        std::string why;
        const auto part = openWritten(content, why);
        if (!part)
            return why;
        return "volume " + std::to_string(test::volume(*part)) + ", " +
               std::to_string(part->bodies(BodyKind::Solid).front()->faces().size()) + " faces";
    };
    const std::string built = "volume " + std::to_string(volume) + ", 9 faces";
    EXPECT_EQ(opened(text), built);

    const std::string placement = "hole 5 10 5 0 0 -1 \n";
    const size_t at = text.find(placement);
    ASSERT_NE(at, std::string::npos);
    std::ostringstream brep;
    BRepTools::Write(drilled->tool().shape, brep);
    std::string older = text;
    older.replace(at, placement.size(), detail::Writer().blob(brep.str()).text());
    EXPECT_EQ(opened(beforeVersion4(older, "SWSIM-PART 2")), built);
    EXPECT_EQ(opened(beforeVersion4(text, "SWSIM-PART 3")), built);

    // A hole line is checked as a hole given to the session is.
    std::string edited = text;
    edited.replace(at, placement.size(), "hole 5 10 5 0 0 0 \n");
    EXPECT_NE(opened(test::resealed(edited))
                  .find("the hole \"Hole1\" cannot be made: the hole direction is the zero vector"),
              std::string::npos);
    // A negative diameter is named as such, not taken for a countersink wider than it.
    edited = text;
    const std::string diameter = "\"startDiameter1\" 4";
    ASSERT_NE(edited.rfind(diameter, at), std::string::npos);
    edited.replace(edited.rfind(diameter, at), diameter.size(), "\"startDiameter1\" -4");
    EXPECT_NE(opened(test::resealed(edited))
                  .find("cannot be made: hole section 1 needs positive diameters and depth"),
              std::string::npos)
        << opened(test::resealed(edited));
    edited = text;
    edited.replace(edited.rfind("\"depth1\"", at), 8, "\"depth9\""); // the hole's
    EXPECT_NE(opened(test::resealed(edited))
                  .find("cannot be made: its parameters are not those of a hole"),
              std::string::npos);
}

TEST_F(SwsimPartFiles, StepRoundTripKeepsTheVolumeAndStlIsWritten) {
    auto doc = sample();
    doc->exportStep(path("part.step"));
    auto imported = PartDocument::create();
    auto f = imported->addImportedBody(path("part.step"));
    ASSERT_TRUE(f) << imported->lastError();
    EXPECT_EQ(f->typeName(), "BaseBody");
    EXPECT_EQ(f->name(), "Imported1");
    const double v = doc->massProperties().volume;
    EXPECT_NEAR(imported->massProperties().volume, v, v * 1e-6);

    doc->exportStl(path("part.stl"));
    EXPECT_GT(fs::file_size(path("part.stl")), 84u);
    EXPECT_THROW(doc->exportStep((dir_ / "no" / "x.step").string()), ModelError);
}

// Face colours go into the STEP copy as styled items; a hidden body and its colours stay out
// of it, and mate references and hidden bodies come back when the part is opened.
TEST_F(SwsimPartFiles, ColoursReachStepAndHiddenBodiesStayOut) {
    auto doc = PartDocument::create();
    test::makeBlock(*doc);
    const auto faces = doc->bodies(BodyKind::Solid).front()->faces();
    ASSERT_TRUE(doc->setFaceColour(faces[0], Rgb{0, 128.0 / 255.0, 0}));
    ASSERT_TRUE(doc->addMateReference("CP1", faces[1]));
    doc->exportStep(path("coloured.step"));
    std::ifstream in(path("coloured.step"));
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("COLOUR_RGB('',0.,0.50196078"), std::string::npos);

    const double volume = doc->massProperties().volume;
    doc->setBodyHidden(*doc->bodies(BodyKind::Solid).front(), true);
    EXPECT_EQ(doc->massProperties().volume, 0.0);
    EXPECT_TRUE(doc->box().empty);
    doc->save(path("hidden.sldprt"));
    auto opened = PartDocument::open(path("hidden.sldprt"));
    ASSERT_EQ(opened->bodies(BodyKind::Solid).size(), 1u);
    EXPECT_TRUE(opened->bodyHidden(*opened->bodies(BodyKind::Solid).front()));
    doc->setBodyHidden(*doc->bodies(BodyKind::Solid).front(), false);
    EXPECT_NEAR(doc->massProperties().volume, volume, 1e-9);
    const auto reference = std::dynamic_pointer_cast<MateReference>(opened->features().back());
    ASSERT_TRUE(reference);
    EXPECT_EQ(reference->name(), "CP1");
    EXPECT_EQ(reference->entity(), opened->bodies(BodyKind::Solid).front()->faces()[1]);
}

} // namespace
} // namespace swsim
