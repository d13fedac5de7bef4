// The check-in reader's own rules: the preferences it overrides and puts back (also after a
// failure, and when it cannot be built), the unit fields, previews, and records of documents
// that are neither part nor assembly.
#include "libs/geomcore/natCheckin/sw_checkin.h"
#include "libs/geomcore/swapi/swapi.h"
#include "platform/host/services/messages.h"
#include "platform/sldworks/testkit/fixtures.h"
#include "tests/natcheckin/checkin_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class SwCheckin : public checkinTestBaseC {
protected:
    void SetUp() override {
        checkinTestBaseC::SetUp();
        app = part.appPtr();
        // The user's own settings before the check-in.
        sldWorksSetToggle(app, 69, VARIANT_TRUE);
        sldWorksSetToggle(app, 72, VARIANT_FALSE);
        sldWorksSetIntegerSetting(app, 5, 3);
        sldWorksSetIntegerSetting(app, 192, 7);
        sldWorksSetIntegerSetting(app, 75, 1);
        sldWorksSetIntegerSetting(app, 142, 9);
        sldWorksSetIntegerSetting(app, 211, 4);
    }

    void expectUserSettings() {
        EXPECT_EQ(sldWorksGetToggle(app, 69), VARIANT_TRUE);
        EXPECT_EQ(sldWorksGetToggle(app, 72), VARIANT_FALSE);
        EXPECT_EQ(sldWorksGetIntegerSetting(app, 5), 3);
        EXPECT_EQ(sldWorksGetIntegerSetting(app, 192), 7);
        EXPECT_EQ(sldWorksGetIntegerSetting(app, 75), 1);
        EXPECT_EQ(sldWorksGetIntegerSetting(app, 142), 9);
        EXPECT_EQ(sldWorksGetIntegerSetting(app, 211), 4);
    }

    partFixtureC part;
    ISldWorksPtr app;
    TarnwickPollObj poll{mzComStringC(tarnwickPollObjectName)};
};

TEST_F(SwCheckin, PreferencesAreOverriddenWhileItLivesAndPutBackAfter) {
    {
        swCheckinC reader(app, "SolidWorks", 1.0, 1, poll);
        EXPECT_EQ(sldWorksGetToggle(app, 69), VARIANT_FALSE);
        EXPECT_EQ(sldWorksGetToggle(app, 72), VARIANT_TRUE);
        EXPECT_EQ(sldWorksGetIntegerSetting(app, 5), 8);
        EXPECT_EQ(sldWorksGetIntegerSetting(app, 192), 0);
        EXPECT_EQ(sldWorksGetIntegerSetting(app, 75), 203);
        EXPECT_EQ(sldWorksGetIntegerSetting(app, 142), 0);
    }
    expectUserSettings();
}

TEST_F(SwCheckin, AReaderThatCannotBeBuiltPutsBackWhatItChanged) {
    // The second integer setting written (192) fails: the toggles and 5 are already changed.
    part.kit().plan().clear(); // count the calls from here
    part.kit().journal().clear();
    part.kit().plan().failWith("ISldWorks::SetIntegerSetting", E_FAIL, 2);
    EXPECT_THROW(swCheckinC(app, "SolidWorks", 1.0, 1, poll), _com_error);
    expectUserSettings();
    // Something was changed before the failure, and exactly that was put back.
    std::vector<std::string> writes;
    for (const journalEntryS& entry : part.kit().journal().entries())
        if (entry.call == "ISldWorks::SetToggle" || entry.call == "ISldWorks::SetIntegerSetting")
            writes.push_back(entry.args.at(0) + "=" + entry.args.at(1));
    ASSERT_GE(writes.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(writes.begin(), writes.begin() + 4),
              (std::vector<std::string>{"69=0", "72=-1", "5=8", "192=0"}));
    const std::vector<std::string> after(writes.begin() + 4, writes.end());
    for (const char* restore : {"69=-1", "72=0", "5=3"})
        EXPECT_NE(std::find(after.begin(), after.end(), restore), after.end()) << restore;
}

TEST_F(SwCheckin, PuttingBackNeverThrowsAndDoesNotStopAtAFailure) {
    {
        swCheckinC reader(app, "SolidWorks", 1.0, 1, poll);
        part.kit().plan().failWith("ISldWorks::SetToggle", E_FAIL);
    }
    part.kit().plan().clear();
    EXPECT_EQ(sldWorksGetToggle(app, 69), VARIANT_FALSE); // could not be put back
    EXPECT_EQ(sldWorksGetIntegerSetting(app, 5), 3);
    EXPECT_EQ(sldWorksGetIntegerSetting(app, 142), 9);
}

TEST_F(SwCheckin, LengthUnitsGiveTheirFactorAndUnknownCodesMillimetres) {
    swCheckinC reader(app, "SolidWorks", 1.0, 1, poll);
    EXPECT_DOUBLE_EQ(reader.getUnitFactor(), 1.0);
    EXPECT_EQ(reader.getLengthUnitName().toUtf8(), "mm");

    struct unitS {
        short code;
        double factor;
        const char* name;
    };
    const unitS units[] = {{1, 10.0, "cm"},    {2, 1000.0, "m"}, {3, 25.4, "inch"},
                           {4, 304.8, "feet"}, {9, 1.0, "mm"},   {0, 1.0, "mm"}};
    for (const unitS& unit : units) {
        part.kit().plan().clear();
        part.kit().plan().scriptValue("IModelDoc2::GetLengthUnitArray",
                                      makeShortArray({unit.code, 0}));
        part.kit().plan().scriptValue("IModelDoc2::GetAngleUnitArray", makeShortArray({unit.code}));
        reader.getUnitBases(part.docPtr());
        EXPECT_DOUBLE_EQ(reader.getUnitFactor(), unit.factor) << unit.code;
        EXPECT_EQ(reader.getLengthUnitName().toUtf8(), unit.name) << unit.code;
        EXPECT_EQ(reader.getAngleUnitName().toUtf8(), unit.code == 3 ? "rad" : "deg") << unit.code;
    }
}

TEST_F(SwCheckin, EmptyUnitArraysMeanMillimetresAndDegrees) {
    swCheckinC reader(app, "SolidWorks", 1.0, 1, poll);
    part.kit().plan().scriptValue("IModelDoc2::GetLengthUnitArray", makeShortArray({3}));
    part.kit().plan().scriptValue("IModelDoc2::GetAngleUnitArray", makeShortArray({3}));
    reader.getUnitBases(part.docPtr());
    part.kit().plan().clear();
    part.kit().plan().scriptValue("IModelDoc2::GetLengthUnitArray", makeShortArray({}));
    part.kit().plan().scriptValue("IModelDoc2::GetAngleUnitArray", makeShortArray({}));
    reader.getUnitBases(part.docPtr());
    EXPECT_DOUBLE_EQ(reader.getUnitFactor(), 1.0);
    EXPECT_EQ(reader.getLengthUnitName().toUtf8(), "mm");
    EXPECT_EQ(reader.getAngleUnitName().toUtf8(), "deg");
}

TEST_F(SwCheckin, PreviewsThatCouldNotBeWrittenLeaveNoFileAndTheUnitSettingIsPutBack) {
    part.kit().plan().scriptValue("IModelDoc2::GetLengthUnitArray", makeShortArray({3}));
    part.kit().plan().returnNull("IModelDoc2::SaveBitmap");
    part.kit().plan().failWith("IModelDoc2::SaveCopyAs", E_FAIL);
    {
        swCheckinC reader(app, "SolidWorks", 1.0, 1, poll);
        IModelDoc2Ptr doc = part.docPtr();
        mzComStringC bitmap;
        mzComStringC model3d;
        reader.createPreviews(doc, bitmap, model3d);
        EXPECT_EQ(bitmap.left(tmpFolder.string().size() + 8).toUtf8(),
                  (tmpFolder / "preview").string());
        EXPECT_EQ(bitmap.right(4).toUtf8(), ".bmp");
        EXPECT_EQ(model3d.right(4).toUtf8(), ".stl");
        EXPECT_NE(bitmap.toUtf8(), model3d.toUtf8());
        EXPECT_EQ(filesInTmp(), 0u);
        EXPECT_EQ(sldWorksGetIntegerSetting(app, 211), 3); // inch
        const auto shown = hostsvc::shownMessages();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_NE(shown[0].text.find("Saving file failed"), std::string::npos);
    }
    expectUserSettings();
}

TEST_F(SwCheckin, AFailedBitmapOrUnitSettingEndsThePreviewsWithoutLeavingFiles) {
    IModelDoc2Ptr doc = part.docPtr();
    {
        part.kit().plan().failWith("IModelDoc2::SaveBitmap", E_FAIL);
        swCheckinC reader(app, "SolidWorks", 1.0, 1, poll);
        mzComStringC bitmap;
        mzComStringC model3d;
        EXPECT_THROW(reader.createPreviews(doc, bitmap, model3d), _com_error);
        EXPECT_FALSE(bitmap.isEmpty());
        EXPECT_EQ(filesInTmp(), 0u);
    }
    {
        part.kit().plan().clear();
        part.kit().plan().returnNull("IModelDoc2::SaveBitmap");
        swCheckinC reader(app, "SolidWorks", 1.0, 1, poll);
        // The unit setting of the 3D preview cannot be read (and so not be set).
        part.kit().plan().failWith("ISldWorks::GetIntegerSetting", E_FAIL);
        mzComStringC bitmap;
        mzComStringC model3d;
        EXPECT_THROW(reader.createPreviews(doc, bitmap, model3d), _com_error);
        EXPECT_FALSE(model3d.isEmpty());
        EXPECT_EQ(filesInTmp(), 0u);
        part.kit().plan().clear();
    }
}

TEST_F(SwCheckin, PreviewFormatCodesChooseTheExtension) {
    part.kit().plan().returnNull("IModelDoc2::SaveBitmap");
    part.kit().plan().failWith("IModelDoc2::SaveCopyAs", E_FAIL);
    part.kit().plan().scriptValue("IModelDoc2::GetLengthUnitArray", makeShortArray({0}));
    const std::pair<int, const char*> formats[] = {
        {2, ".sat"}, {3, ".step"}, {1, ".stl"}, {7, ".stl"}};
    for (const auto& [code, extension] : formats) {
        swCheckinC reader(app, "SolidWorks", 1.0, code, poll);
        IModelDoc2Ptr doc = part.docPtr();
        mzComStringC bitmap;
        mzComStringC model3d;
        reader.createPreviews(doc, bitmap, model3d);
        const std::string path = model3d.toUtf8();
        EXPECT_EQ(path.substr(path.size() - std::string(extension).size()), extension) << code;
    }
}

TEST_F(SwCheckin, ADocumentNeitherPartNorAssemblyGivesAnEmptyRecord) {
    part.kit().plan().scriptValue("IModelDoc2::GetType", _variant_t(0L));
    swCheckinC reader(app, "SolidWorks", 1.0, 1, poll);
    const pShellHeaderC header = reader.start(part.docPtr(), 1, "/projects/p1");
    ASSERT_TRUE(header.isValid());
    EXPECT_EQ(getIMetaTreeApi()->print(header.getTreePtr(), metaPrintStyle::compact),
              "(CHECKINOUT (HEADER (DESTPRJDIR \"/projects/p1\")) (DOCUMENT))");
}

TEST_F(SwCheckin, AFailureInsideStartGivesNoResultWithItsReason) {
    part.kit().plan().failWith("IModelDoc2::GetType", E_FAIL);
    swCheckinC reader(app, "SolidWorks", 1.0, 1, poll);
    const std::int64_t before = getIMetaTreeApi()->liveNodeCount();
    const pShellHeaderC header = reader.start(part.docPtr(), 1, "");
    EXPECT_FALSE(header.isValid());
    EXPECT_NE(reader.getFailureText().toUtf8().find("E_FAIL"), std::string::npos);
    EXPECT_TRUE(reader.getErrorText().isEmpty());
    EXPECT_EQ(getIMetaTreeApi()->liveNodeCount(), before);
}

} // namespace
