// The FOEFEAT handler: the payload written under a plain file name in the temporary folder,
// loaded into the part, recorded under the node's NAME and deleted; bad names touch no file.
#include "libs/geomcore/buildsw3d/foreign_handler.h"
#include "platform/host/services/messages.h"
#include "tests/solids/solids_fixture.h"

#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepTools.hxx>
#include <gp_Pnt.hxx>

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
    EXPECT_EQ(loads[0].args[0], "\"" + (tempFolder() / "cube.brep").string() + "\"");
    EXPECT_EQ(loads[0].args[1], "\"i\"");
    EXPECT_TRUE(tempFolderEmpty());
    EXPECT_TRUE(shownTexts().empty());
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

    // The file loads into nothing: no feature to record.
    EXPECT_EQ(failureOf(foreign("junk.brep", "not a shape")), "Loading foreign feature failed");
    EXPECT_EQ(shownTexts(),
              std::vector<std::string>(3, warningText("Loading foreign feature failed")));
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
