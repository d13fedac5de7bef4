// A part written by the session and checked in: its record's documents, variables, table
// lines, variants and previews, the session's settings and active configuration afterwards,
// and the golden record with the session-dependent names masked.
#include "libs/KvorCadComm/global_options.h"
#include "libs/geomcore/natCheckin/native_checkin_run.h"
#include "libs/geomcore/natCheckin/sw_checkin.h"
#include "libs/geomcore/swapi/swapi.h"
#include "platform/host/metatree/metatree_api.h"
#include "platform/host/services/config.h"
#include "platform/sldworks/testkit/fixtures.h"
#include "tests/natcheckin/checkin_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

namespace {

// Record views read back by key; nothing is created.
std::string text(const metaObjectVirtualDataBaseC& view, const char* key) {
    return view.readStringProperty(key).toUtf8();
}

// The VARVALUE of the variable in a value set; empty when there is none.
std::string valueOf(const metaObjectVirtualDataBaseC& set, const char* name) {
    for (metaObjEnumC e = set.enumChildren(); e.isValid(); e.next()) {
        const pShellVarValueC var(e.current());
        if (var.getVarName() == mzComStringC(name))
            return var.getVarValue().toUtf8();
    }
    return std::string();
}

// Whether the value set has the variable at all (an empty value is still one).
bool hasVariable(const metaObjectVirtualDataBaseC& set, const char* name) {
    for (metaObjEnumC e = set.enumChildren(); e.isValid(); e.next())
        if (pShellVarValueC(e.current()).getVarName() == mzComStringC(name))
            return true;
    return false;
}

pShellVariableSetC variables(const pShellDocBaseC& document) {
    return pShellVariableSetC(document.findChild("VARIABLES"));
}

// The record as text with what depends on the run masked: the test's folder becomes "$DIR",
// the unique part of preview names "preview*".
std::string masked(metaTreePtrT record, const std::filesystem::path& folder) {
    std::string printed = getIMetaTreeApi()->print(record);
    const std::string dir = folder.string();
    for (std::size_t at = printed.find(dir); at != std::string::npos; at = printed.find(dir, at))
        printed.replace(at, dir.size(), "$DIR");
    return std::regex_replace(printed, std::regex("preview[A-Za-z0-9]{6}\\."), "preview*.");
}

std::string goldenPath(const char* name) {
    const char* source = std::getenv("NATLINK_SOURCE_DIR");
    return std::string(source != nullptr ? source : ".") + "/tests/natcheckin/golden/" + name;
}

class CheckinPart : public checkinTestBaseC {
protected:
    void SetUp() override {
        checkinTestBaseC::SetUp();
        app = part.appPtr();
        doc = part.docPtr();
    }

    // The example part: a block 40 x 20 x 10 whose second configuration "Long" is 60 deep,
    // with document and configuration properties and summary information; saved under the
    // test's folder.
    void buildExamplePart() {
        part.block(40, 20, 10);
        part.configuration("Long");
        part.dimension("D1@Boss-Extrude1", 60.0, {"Long"});
        part.property("", "Material", "Steel");
        part.property("", "Finish", "raw");
        part.property("Default", "Finish", "bright");
        part.property("Long", "Finish", "painted");
        modelDocSetSummaryInfo(doc, 0, "Block");
        modelDocSetSummaryInfo(doc, 2, "Smith");
        path = (tmpFolder / "Block.sldprt").string();
        part.save(path);
    }

    metaTreePtrT checkIn() {
        metaTreePtrT record;
        mzComStringC reason;
        EXPECT_EQ(runNativeCheckin(app, mzComStringC(std::string_view(path)), record, reason), 0)
            << reason;
        return record;
    }

    partFixtureC part;
    ISldWorksPtr app;
    IModelDoc2Ptr doc;
    std::string path;
};

TEST_F(CheckinPart, RecordOfAPartWithTwoConfigurations) {
    buildExamplePart();
    metaObjectC owner(checkIn(), true);
    ASSERT_TRUE(owner.isValid());
    const pShellHeaderC header(owner.getTreePtr());
    pShellDocCheckinC document = header.getDocument();
    ASSERT_TRUE(document.isValid());

    EXPECT_EQ(document.getUsedFiles().getStringAt(0).toUtf8(), path);
    EXPECT_EQ(document.getWantFiles().getStringAt(0).toUtf8(), path);
    EXPECT_EQ(text(document, "CADIDENT"), path);
    EXPECT_EQ(text(document, "EXTENSION"), "sldprt");
    EXPECT_EQ(text(document, "DEFAULTNB"), "$IDNR.");
    EXPECT_EQ(text(document, "CADSYSTEM"), "SolidWorks");
    EXPECT_DOUBLE_EQ(metaObjDoubleC(document.findChild("UNITBASE")).get(), 1.0);

    // Previews: the files exist, BITMAPS and VIEWNAMES go together.
    const pShellDocBitmapsFilesC bitmaps = document.getBitmaps();
    const pShellDocViewNamesC views = document.getViewNames();
    ASSERT_EQ(bitmaps.count(), 2);
    ASSERT_EQ(views.count(), 2);
    EXPECT_EQ(views.getStringAt(0).toUtf8(), "2D");
    EXPECT_EQ(views.getStringAt(1).toUtf8(), "3D");
    for (int i = 0; i < bitmaps.count(); ++i)
        EXPECT_TRUE(std::filesystem::exists(bitmaps.getStringAt(i).toUtf8()));
    EXPECT_EQ(text(document, "PREVIEW"), bitmaps.getStringAt(0).toUtf8());

    // First configuration: IDNR, summary fields, the document's and its own properties, its
    // dimension values.
    pShellCurVarSetC current = document.getCurVarSet();
    EXPECT_EQ(valueOf(current, "IDNR"), "Default");
    EXPECT_EQ(valueOf(current, "Title"), "Block");
    EXPECT_EQ(valueOf(current, "Author"), "Smith");
    EXPECT_EQ(valueOf(current, "Finish"), "bright");
    EXPECT_EQ(valueOf(current, "Material"), "Steel"); // the document's own property
    EXPECT_TRUE(hasVariable(current, "Subject")) << "an empty summary field is still a value";
    EXPECT_EQ(valueOf(current, "D1@Boss-Extrude1"), "10");

    // One line for "Long", with the document's and its own properties (its own win) and
    // its own dimension value.
    pShellVarTableC table = document.getVarTable();
    ASSERT_EQ(table.countLines(), 1);
    pShellCurVarSetC line(metaObjListContainerC(table.getTreePtr()).getAtByKey("VARSET", 0));
    EXPECT_EQ(valueOf(line, "IDNR"), "Long");
    EXPECT_EQ(valueOf(line, "Material"), "Steel");
    EXPECT_EQ(valueOf(line, "Finish"), "painted");
    EXPECT_EQ(valueOf(line, "D1@Boss-Extrude1"), "60");
    const pShellVarBaseC depth = variables(document).findVarDesc("D1@Boss-Extrude1");
    EXPECT_EQ(text(depth, "VARUNIT"), "mm");
    EXPECT_EQ(text(depth, "VARTYPE"), "Z");
    EXPECT_EQ(document.getVariants().countChildren(), 0); // no previews per line by default

    // Every value has a description.
    for (const metaObjectVirtualDataBaseC* set :
         {static_cast<metaObjectVirtualDataBaseC*>(&current),
          static_cast<metaObjectVirtualDataBaseC*>(&line)}) {
        for (metaObjEnumC e = set->enumChildren(); e.isValid(); e.next()) {
            const mzComStringC name = pShellVarValueC(e.current()).getVarName();
            EXPECT_TRUE(variables(document).findVarDesc(name).isValid()) << name;
        }
    }
}

TEST_F(CheckinPart, SettingsAndActiveConfigurationAreAsBeforeAfterwards) {
    buildExamplePart();
    modelDocShowConfiguration(doc, "Long");
    sldWorksSetIntegerSetting(app, 211, 5);
    sldWorksSetIntegerSetting(app, 75, 2);
    metaObjectC owner(checkIn(), true);
    ASSERT_TRUE(owner.isValid());
    EXPECT_EQ(sldWorksGetIntegerSetting(app, 211), 5);
    EXPECT_EQ(sldWorksGetIntegerSetting(app, 75), 2);
    EXPECT_EQ(sldWorksGetToggle(app, 69), VARIANT_TRUE);
    EXPECT_EQ(
        mzComStringC(configurationGetName(IConfigurationPtr(modelDocGetActiveConfiguration(doc))))
            .toUtf8(),
        "Long");
    // CURVARSET was still read in the first configuration.
    const pShellHeaderC header(owner.getTreePtr());
    EXPECT_EQ(valueOf(header.getDocument().getCurVarSet(), "IDNR"), "Default");
    EXPECT_EQ(valueOf(header.getDocument().getCurVarSet(), "D1@Boss-Extrude1"), "10");
}

TEST_F(CheckinPart, PreviewsPerLineMakeVariants) {
    buildExamplePart();
    auto config = hostsvc::hostConfiguration("natlinkon");
    config->setValue("NativeCheckin", "Native3DPreviewPerLine", "1");
    metaObjectC owner(checkIn(), true);
    ASSERT_TRUE(owner.isValid());
    pShellDocCheckinC document = pShellHeaderC(owner.getTreePtr()).getDocument();
    pShellVariantsC variants = document.getVariants();
    ASSERT_EQ(variants.countChildren(), 1);
    const pShellVariantC variant(variants.getChildAt(0));
    EXPECT_EQ(variant.getVarName().toUtf8(), "IDNR");
    EXPECT_EQ(variant.getVarValue().toUtf8(), "Long");
    EXPECT_TRUE(std::filesystem::exists(text(variant, "PREVIEW")));
}

TEST_F(CheckinPart, DocumentStateRuleOneEndsTheCheckInWithTheMessage) {
    buildExamplePart();
    hostsvc::hostConfiguration("natlinkon")->setValue("NativeCheckin", "ProcessDocumentState", "1");
    part.kit().plan().scriptValue("IModelDoc2::HasUnsavedChanges", _variant_t(true));
    metaTreePtrT record;
    mzComStringC reason;
    EXPECT_EQ(runNativeCheckin(app, mzComStringC(std::string_view(path)), record, reason), 1);
    EXPECT_TRUE(record.isNull());
    EXPECT_NE(reason.toUtf8().find("The document cannot be checked in:" + path), std::string::npos)
        << reason;
    EXPECT_EQ(part.kit().journal().count("IModelDoc2::Save"), 0u);
}

TEST_F(CheckinPart, DocumentStateRuleTwoSavesAndGoesOn) {
    buildExamplePart();
    hostsvc::hostConfiguration("natlinkon")->setValue("NativeCheckin", "ProcessDocumentState", "2");
    part.kit().plan().scriptValue("IModelDoc2::HasUnsavedChanges", _variant_t(true));
    metaObjectC owner(checkIn(), true);
    EXPECT_TRUE(owner.isValid());
    const auto saves = part.kit().journal().calls("IModelDoc2::Save");
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].args, std::vector<std::string>{"1"});
}

TEST_F(CheckinPart, RecordMatchesTheGoldenRecord) {
    buildExamplePart();
    metaObjectC owner(checkIn(), true);
    ASSERT_TRUE(owner.isValid());
    const std::string actual = masked(owner.getTreePtr(), tmpFolder);
    const std::string golden = goldenPath("block_part.meta");
    if (std::getenv("NATLINK_UPDATE_GOLDEN") != nullptr)
        std::ofstream(golden) << actual;
    std::ifstream in(golden);
    ASSERT_TRUE(in) << golden;
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(actual, expected.str());
}

TEST_F(CheckinPart, AFileThatIsNoDocumentIsAFailureWithAReason) {
    const std::string garbage = (tmpFolder / "Broken.sldprt").string();
    std::ofstream(garbage) << "not a document\n";
    metaTreePtrT record;
    mzComStringC reason;
    EXPECT_EQ(runNativeCheckin(app, mzComStringC(std::string_view(garbage)), record, reason), 1);
    EXPECT_TRUE(record.isNull());
    EXPECT_EQ(reason.toUtf8(), "Native check-in: failed to open document " + garbage +
                                   ": not a part or an assembly of this session");
    EXPECT_EQ(runNativeCheckin(app,
                               mzComStringC(std::string_view((tmpFolder / "None.sldprt").string())),
                               record, reason),
              1);
    EXPECT_TRUE(record.isNull());
}

TEST_F(CheckinPart, ADocumentOpenedForTheCheckInIsClosedAgain) {
    buildExamplePart();
    // Open in a session of its own, and check in from there.
    ISldWorksPtr other = createSimulatedSldWorks();
    metaTreePtrT record;
    mzComStringC reason;
    ASSERT_EQ(runNativeCheckin(other, mzComStringC(std::string_view(path)), record, reason), 0)
        << reason;
    metaObjectC owner(record, true);
    EXPECT_EQ(sessionTestKit(other).journal().count("ISldWorks::OpenDocument"), 1u);
    EXPECT_FALSE(IModelDoc2Ptr(sldWorksGetFirstDocument(other)));
    EXPECT_EQ(text(pShellHeaderC(record).getDocument(), "CADIDENT"), path);
}

} // namespace
