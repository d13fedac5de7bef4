// The FOEFEAT handler: the payload written into a private folder of its own in the temporary
// folder, loaded into the part, recorded under the node's NAME, and the folder removed; bad
// names touch no file, and no file or link of the model's name is touched.
#include "libs/geomcore/buildsw3d/foreign_handler.h"
#include "platform/host/services/messages.h"
#include "tests/solids/solids_fixture.h"

#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepTools.hxx>
#include <gp_Pnt.hxx>

#include <fstream>
#include <sstream>

namespace {

std::string base64(const std::string& bytes) {
    static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                           (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                           static_cast<unsigned char>(bytes[i + 2]);
        for (int s = 18; s >= 0; s -= 6)
            out += digits[(v >> s) & 63];
    }
    if (i < bytes.size()) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += digits[(v >> 18) & 63];
        out += digits[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? digits[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

// A 10 mm cube in OpenCASCADE's own file format.
std::string cubeFile() {
    std::ostringstream text;
    BRepTools::Write(BRepPrimAPI_MakeBox(gp_Pnt(100, 0, 0), 10, 10, 10).Shape(), text);
    return text.str();
}

class Foreign : public partHandlersTest {
protected:
    std::string foreign(const std::string& fileName, const std::string& payload) {
        return "(FOEFEAT (NAME \"F1\") (FEATINFO (FILENAME \"" + fileName + "\")) (FEATDATA #\"" +
               base64(payload) + "\"))";
    }
    bool tempFolderEmpty() const { return std::filesystem::is_empty(tempFolder()); }
};

TEST_F(Foreign, LoadsRecordsAndDeletesTheFile) {
    block(40, 40, 10);
    EXPECT_EQ(run(foreign("cube.brep", cubeFile())), 1);
    EXPECT_TRUE(recorded("F1"));
    EXPECT_NEAR(volume(), 16000 + 1000, 1e-6);
    const auto loads = kit().journal().calls("ISldWorks::LoadFile");
    ASSERT_EQ(loads.size(), 1u);
    // "<temp>/natlink-foreign-XXXXXX/foreign.brep": a folder of its own, a name of the build's.
    const std::filesystem::path loaded = loads[0].args[0].substr(1, loads[0].args[0].size() - 2);
    EXPECT_EQ(loaded.parent_path().parent_path(), tempFolder());
    EXPECT_EQ(loaded.parent_path().filename().string().rfind("natlink-foreign-", 0), 0u);
    EXPECT_EQ(loaded.filename(), "foreign.brep");
    EXPECT_EQ(loads[0].args[1], "\"i\"");
    EXPECT_TRUE(tempFolderEmpty());
    EXPECT_TRUE(shownTexts().empty());
}

TEST_F(Foreign, AFileOrLinkOfTheModelsNameIsLeftAlone) {
    block(40, 40, 10);
    const std::filesystem::path outside = tempFolder() / "outside";
    std::filesystem::create_directories(outside);
    std::ofstream(outside / "target.txt") << "kept";
    std::ofstream(tempFolder() / "cube.brep") << "kept";
    std::filesystem::create_symlink(outside / "target.txt", tempFolder() / "link.brep");
    EXPECT_EQ(run(foreign("cube.brep", cubeFile())), 1);
    EXPECT_EQ(run("(FOEFEAT (NAME \"F2\") (FEATINFO (FILENAME \"link.brep\")) (FEATDATA #\"" +
                  base64(cubeFile()) + "\"))"),
              1);
    EXPECT_NEAR(volume(), 16000 + 2 * 1000, 1e-6);
    const auto contentOf = [](const std::filesystem::path& file) {
        std::ifstream in(file);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    EXPECT_EQ(contentOf(tempFolder() / "cube.brep"), "kept");
    EXPECT_TRUE(std::filesystem::is_symlink(tempFolder() / "link.brep"));
    EXPECT_EQ(contentOf(outside / "target.txt"), "kept");
    // Nothing else is left in the temporary folder.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(tempFolder()))
        ++entries;
    EXPECT_EQ(entries, 3u);
}

TEST_F(Foreign, OnlyPlainFileNamesAreWritten) {
    for (const char* name : {"../escape.brep", "sub/x.brep", "sub\\\\x.brep", "C:x.brep",
                             "$home/x.brep", "", "..", "a..b.brep"}) {
        hostsvc::clearShownMessages();
        const std::string message =
            failureOf("(FOEFEAT (NAME \"F1\") (FEATINFO (FILENAME \"" + std::string(name) +
                      "\")) (FEATDATA #\"" + base64("data") + "\"))");
        EXPECT_EQ(message.rfind("Invalid file name \"", 0), 0u) << name << ": " << message;
        EXPECT_EQ(shownTexts(), std::vector<std::string>{warningText(message)});
    }
    EXPECT_EQ(kit().journal().count("ISldWorks::LoadFile"), 0u);
    EXPECT_TRUE(tempFolderEmpty());
    EXPECT_FALSE(std::filesystem::exists(tempFolder().parent_path() / "escape.brep"));
    EXPECT_TRUE(recordCount() == 0);
    for (const char* name : {"cube.step", "Bracket cube-2.STEP", "x"})
        EXPECT_TRUE(isPlainFileName(name)) << name;
}

TEST_F(Foreign, FailedWriteLoadOrNoFeatureShowTheWarning) {
    // No payload: nothing can be written, nothing is loaded.
    EXPECT_EQ(failureOf("(FOEFEAT (NAME \"F1\") (FEATINFO (FILENAME \"x.brep\")))"),
              "Loading foreign feature failed");
    EXPECT_EQ(kit().journal().count("ISldWorks::LoadFile"), 0u);

    // SolidWorks refuses the load.
    kit().plan().failWith("ISldWorks::LoadFile", E_FAIL);
    EXPECT_EQ(failureOf(foreign("cube.brep", cubeFile())), "Loading foreign feature failed");
    kit().plan().clear();

    // SolidWorks cannot read the file, and says why.
    const std::string unreadable =
        "Loading foreign feature failed: import of foreign.brep: the BREP reader cannot read the "
        "file";
    EXPECT_EQ(failureOf(foreign("junk.brep", "not a shape")), unreadable);
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{warningText("Loading foreign feature failed"),
                                                      warningText("Loading foreign feature failed"),
                                                      warningText(unreadable)}));
    EXPECT_TRUE(recordCount() == 0);
    EXPECT_TRUE(tempFolderEmpty());
}

TEST_F(Foreign, AFeatureWalkThatFailsAfterTheLoadIsNotCalledALoadFailure) {
    block(40, 40, 10);
    kit().plan().failWith("IFeature::GetTypeName", E_FAIL);
    EXPECT_EQ(failureOf(foreign("cube.brep", cubeFile())),
              "Foreign feature \"F1\" was loaded, but reading its new feature failed: "
              "SolidWorks call failed: 0x80004005 E_FAIL");
    kit().plan().clear();
    EXPECT_NEAR(volume(), 16000 + 1000, 1e-6); // the cube is in the part
    EXPECT_TRUE(tempFolderEmpty());
}

TEST_F(Foreign, WithoutTheBuildsApplicationTheLoadFails) {
    creation_.app = nullptr;
    EXPECT_EQ(failureOf(foreign("cube.brep", cubeFile())), "Loading foreign feature failed");
    EXPECT_TRUE(tempFolderEmpty());
}

} // namespace
