// What inspect, export and check-in answer for documents they cannot take whole: assemblies
// that contain themselves, members missing or damaged, members naming a configuration their
// part lacks, parts whose only body is hidden, folders, assemblies nested deeper than the walks
// go, and assembly files of another version.
// Each is refused, or answered 1, naming why.
#include "platform/sldworks/model/assembly_document.h"
#include "platform/sldworks/model/file_io.h"
#include "platform/sldworks/model/part_document.h"
#include "platform/sldworks/testkit/fixtures.h"
#include "tests/natlinkhost/natlinkhost_fixture.h"

namespace {

class DocumentSoundness : public natlinkHostTest {
protected:
    std::string folder() const { return std::filesystem::path(path("x")).parent_path().string(); }

    // Cube.sldprt in the test's folder, a block 20 x 20 x 20 (8000 mm^3); its path.
    std::string cube() const {
        const assemblyFixtureC made(folder(), {{"Cube", 20, 20, 20}}, {"Cube"}, "Made");
        return made.partPath("Cube");
    }

    // NAME.sldasm of one component per file, each 30 mm further along X, all showing
    // `configuration`; its path.
    std::string assembly(const std::string& name, const std::vector<std::string>& files,
                         const std::string& configuration = {}) const {
        const auto model = swsim::AssemblyDocument::create();
        swsim::Frame at;
        for (const std::string& file : files) {
            model->addComponent(file, configuration, at);
            at.origin.x += 30;
        }
        model->save(path(name + ".sldasm"));
        return path(name + ".sldasm");
    }

    static void expectFound(const std::string& text, const std::string& wanted) {
        EXPECT_NE(text.find(wanted), std::string::npos) << wanted << "\nin:\n" << text;
    }
};

TEST_F(DocumentSoundness, AssembliesThatContainThemselvesAreRefusedNamingTheLoop) {
    const std::string block = cube();
    const std::string a = assembly("A", {path("B.sldasm"), block});
    const std::string b = assembly("B", {a, block});
    const std::string loop = "an assembly that contains itself: " + a + " -> " + b + " -> " + a;

    const runS inspected = run({"inspect", a});
    EXPECT_EQ(inspected.code, 1);
    EXPECT_EQ(inspected.out, "");
    EXPECT_EQ(inspected.err, "natlinkhost: " + a + ": " + loop + "\n");
    for (const char* format : {"step", "stl"}) {
        const std::string copy = path(std::string("a.") + format);
        const runS exported = run({"export", a, copy});
        EXPECT_EQ(exported.code, 1);
        EXPECT_EQ(exported.err, "natlinkhost: " + a + ": " + loop + "\n");
        EXPECT_FALSE(std::filesystem::exists(copy));
    }
    // The check-in names the same loop.
    const runS checkedIn = run({"checkin", a});
    EXPECT_EQ(checkedIn.code, 1);
    expectFound(checkedIn.err, "(" + loop + ")");

    // Below the top, and an assembly that is its own component.
    const std::string top = assembly("Top", {block, a});
    EXPECT_EQ(run({"inspect", top}).err, "natlinkhost: " + top + ": " + loop + "\n");
    const std::string self = assembly("Self", {path("Self.sldasm"), block});
    const runS selfExport = run({"export", self, path("self.step")});
    EXPECT_EQ(selfExport.code, 1);
    EXPECT_EQ(selfExport.err, "natlinkhost: " + self + ": an assembly that contains itself: " +
                                  self + " -> " + self + "\n");

    // A sub-assembly used twice is no loop: both copies count.
    const std::string sub = assembly("Sub", {block});
    const runS shared = run({"inspect", assembly("Shared", {sub, sub})});
    EXPECT_EQ(shared.code, 0) << shared.err;
    expectFound(shared.out, "\"Default\" (shown) volume 16000\n");
}

// Walks through an assembly go 32 levels of sub-assemblies deep: one nested deeper would lose
// its deepest parts without a word, so it is refused; one at the limit is taken whole.
TEST_F(DocumentSoundness, AssembliesNestedDeeperThanTheWalksGoAreRefused) {
    std::string inner = cube();
    // L1 holds the cube, L2 holds L1, ...: below L33 lie 32 levels of sub-assemblies.
    for (int level = 1; level <= 33; ++level)
        inner = assembly("L" + std::to_string(level), {inner});
    const runS atLimit = run({"inspect", inner});
    EXPECT_EQ(atLimit.code, 0) << atLimit.err;
    expectFound(atLimit.out, "\"Default\" (shown) volume 8000\n");

    const std::string deeper = assembly("L34", {inner});
    const std::string why = "natlinkhost: " + deeper +
                            ": its sub-assemblies nest 33 levels deep, beyond the 32 the "
                            "session walks\n";
    EXPECT_EQ(run({"inspect", deeper}).err, why);
    const runS exported = run({"export", deeper, path("deep.step")});
    EXPECT_EQ(exported.code, 1);
    EXPECT_EQ(exported.err, why);
    EXPECT_FALSE(std::filesystem::exists(path("deep.step")));
}

TEST_F(DocumentSoundness, MembersMissingOrDamagedAreNamedWithTheReaderReason) {
    const std::string block = cube();
    std::string damaged = readFile(block);
    damaged[damaged.size() - 2] ^= 1;
    const std::string bad = writeFile("Bad.sldprt", damaged);
    const std::string gone = path("Gone.sldprt");
    const std::string members = assembly("Members", {block, bad, gone});
    const std::string missing =
        "the component \"Bad-1\" is missing: its file " + bad +
        " could not be opened: the file is damaged (its checksum does not match); the "
        "component \"Gone-1\" is missing: its file " +
        gone + " does not exist";

    const runS exported = run({"export", members, path("m.step")});
    EXPECT_EQ(exported.code, 1);
    EXPECT_EQ(exported.err, "natlinkhost: " + members + ": " + missing + "\n");
    EXPECT_FALSE(std::filesystem::exists(path("m.step")));
    // Inspect shows what there is, but not as the whole assembly.
    const runS inspected = run({"inspect", members});
    EXPECT_EQ(inspected.code, 1);
    expectFound(inspected.out, "\"Default\" (shown) volume 8000\n");
    EXPECT_EQ(inspected.err, "natlinkhost: " + members + ": " + missing + "\n");

    // A member of a sub-assembly is named with its assembly.
    const std::string outer = assembly("Outer", {members});
    const runS nested = run({"export", outer, path("o.step")});
    EXPECT_EQ(nested.code, 1);
    expectFound(nested.err, "the component \"Bad-1\" of " + members + " is missing");
}

TEST_F(DocumentSoundness, AComponentShowsItsPartsFirstConfigurationForOneThePartLacksOrNone) {
    const std::string block = cube();
    // The part last showed a second configuration without its solid.
    const swsim::PartDocumentPtr part = swsim::PartDocument::open(block);
    part->addConfiguration("Bare");
    part->setSuppression(part->findFeature("Boss-Extrude1"), true, {"Bare"});
    part->save(block);

    const runS lacking = run({"inspect", assembly("Lacking", {block}, "Nope")});
    EXPECT_EQ(lacking.code, 0) << lacking.err;
    expectFound(lacking.out, "\"Cube-1\" Cube.sldprt configuration \"Default\" origin");
    expectFound(lacking.out, "\"Default\" (shown) volume 8000\n    \"Cube-1\" shows \"Default\"\n");
    EXPECT_EQ(lacking.out.find("Nope"), std::string::npos) << lacking.out;

    const runS named = run({"inspect", assembly("Named", {block}, "Bare")});
    expectFound(named.out, "\"Default\" (shown) volume 0\n    \"Cube-1\" shows \"Bare\"\n");
    // A component that names no configuration shows the first too.
    const runS unnamed = run({"inspect", assembly("Unnamed", {block}, "")});
    expectFound(unnamed.out, "\"Default\" (shown) volume 8000\n    \"Cube-1\" shows \"Default\"\n");
}

TEST_F(DocumentSoundness, APartWhoseOnlySolidIsAHiddenHelperHasNothingToExport) {
    // A connection point and nothing else: its mate reference's helper body is the only solid.
    const std::string model = writeFile(
        "helper.meta",
        "(PART (NAME \"Helper\")"
        " (PARTATTR (CLASSIFICATIONINFO \"(DOCCLASSIFYLIST (DOCCLASSIFYINFO (NAME \\\"qel\\\")"
        " (DOCCLASSIFYIDINFO (CLASSID \\\"QEL_CP_PLACE_PA\\\") (INSTID \\\"1\\\")"
        " (DOCCLASSIFYVAR (VARNAME \\\"QEL_3DID\\\") (VALUE \\\"Helper,1,CP1\\\")))))\"))"
        " (ITEMS (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1)))"
        " (CONNPOINTS (CONNPOINT (NAME \"CP1\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 15 0 20 1))))");
    const runS converted = run({"convert", model, "-o", path("out")});
    ASSERT_EQ(converted.code, 0) << converted.err;
    const std::string part = path("out/Helper.sldprt");
    const runS inspected = run({"inspect", part});
    expectFound(inspected.out, "hidden bodies:\n  body 1 (made by \"Boss-Extrude1\")\n");

    for (const char* format : {"STEP", "STL"}) {
        const std::string copy = path(std::string("helper.") + (format[2] == 'E' ? "step" : "stl"));
        const runS refused = run({"export", part, copy});
        EXPECT_EQ(refused.code, 1);
        EXPECT_EQ(refused.err, "natlinkhost: " + part +
                                   ": the part has no solid body to write as " + format + "\n");
        EXPECT_FALSE(std::filesystem::exists(copy));
    }
}

TEST_F(DocumentSoundness, AFolderIsSaidToBeOne) {
    std::filesystem::create_directories(path("Folder.sldasm"));
    for (const runS& result : {run({"inspect", path("Folder.sldasm")}),
                               run({"export", path("Folder.sldasm"), path("f.step")}),
                               run({"checkin", path("Folder.sldasm")})}) {
        EXPECT_EQ(result.code, 1);
        EXPECT_EQ(result.err,
                  "natlinkhost: " + path("Folder.sldasm") + ": is a directory, not a document\n");
    }
}

TEST_F(DocumentSoundness, AssemblyFilesOfTheFormerVersionOpenAndItsReadersRefuseTheNewOne) {
    const std::string current = assembly("Current", {cube()});
    const std::string text = readFile(current);
    ASSERT_EQ(text.rfind("SWSIM-ASSEMBLY 3 ", 0), 0u) << text.substr(0, 40);
    const std::string body = text.substr(text.find('\n') + 1);

    // A reader of version 2 says the file is not of its version.
    try {
        swsim::detail::checkedBody(text, "SWSIM-ASSEMBLY 2", current, "an assembly file");
        ADD_FAILURE() << "a version 2 reader took a version 3 file";
    } catch (const swsim::ModelError& refused) {
        EXPECT_NE(std::string(refused.what()).find("an assembly file of another version"),
                  std::string::npos)
            << refused.what();
    }

    const std::string former =
        writeFile("Former.sldasm", swsim::detail::sealedFile("SWSIM-ASSEMBLY 2", body));
    const runS now = run({"inspect", current});
    const runS before = run({"inspect", former});
    EXPECT_EQ(before.code, 0) << before.err;
    EXPECT_EQ(before.out.substr(before.out.find('\n')), now.out.substr(now.out.find('\n')));
    expectFound(before.out, "volume 8000\n");
}

} // namespace
