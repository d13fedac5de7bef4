// The conversion entry's native check-in in one call: found or opened documents, the record
// handed to the host and to the caller, and failures that give a reason and no record.
#include "libs/geomcore/natCheckin/native_checkin_run.h"
#include "libs/geomcore/swapi/swapi.h"
#include "platform/host/metatree/metatree_api.h"
#include "platform/host/services/checkin_postprocess.h"
#include "platform/sldworks/testkit/fixtures.h"
#include "tests/natcheckin/checkin_test_support.h"

#include <gtest/gtest.h>

namespace {

class NativeCheckinRun : public checkinTestBaseC {
protected:
    // The fixture's part saved under the test's folder; its path.
    mzComStringC savedPart() {
        part.block(10, 20, 5);
        const std::string path = (tmpFolder / "Block.sldprt").string();
        part.model().save(path);
        return mzComStringC(std::string_view(path));
    }

    partFixtureC part;
};

TEST_F(NativeCheckinRun, MissingSessionOrPathIsRefusedWithAReason) {
    metaTreePtrT record;
    mzComStringC reason;
    EXPECT_EQ(runNativeCheckin(nullptr, "/p/a.sldprt", record, reason), 1);
    EXPECT_TRUE(record.isNull());
    EXPECT_EQ(reason.toUtf8(), "Native check-in: no SolidWorks session");
    EXPECT_EQ(runNativeCheckin(part.app(), "", record, reason), 1);
    EXPECT_EQ(reason.toUtf8(), "Native check-in: no document path given");
}

TEST_F(NativeCheckinRun, ADocumentThatCannotBeOpenedIsAFailureAndTouchesNoPreference) {
    part.kit().plan().failWith("ISldWorks::OpenDocument", E_FAIL);
    metaTreePtrT record;
    mzComStringC reason;
    EXPECT_EQ(runNativeCheckin(part.app(), "/nowhere/Missing.sldprt", record, reason), 1);
    EXPECT_TRUE(record.isNull());
    EXPECT_EQ(reason.toUtf8(), "Native check-in: failed to open document /nowhere/Missing.sldprt");
    EXPECT_EQ(part.kit().journal().count("ISldWorks::SetToggle"), 0u);
    EXPECT_FALSE(hostsvc::lastNativeCheckin().has_value());
}

TEST_F(NativeCheckinRun, AnOpenDocumentThatCannotBeReadGivesTheReasonAndStaysOpen) {
    const mzComStringC path = savedPart();
    part.kit().plan().failWith("IModelDoc2::GetType", E_FAIL);
    metaTreePtrT record;
    mzComStringC reason;
    EXPECT_EQ(runNativeCheckin(part.app(), path, record, reason), 1);
    EXPECT_TRUE(record.isNull());
    EXPECT_EQ(reason.toUtf8(), "Native check-in of " + path.toUtf8() +
                                   " gave no record: reading the document type failed: "
                                   "SolidWorks call failed: 0x80004005 E_FAIL");
    EXPECT_EQ(part.kit().journal().count("ISldWorks::OpenDocument"), 0u);
    EXPECT_EQ(part.kit().journal().count("ISldWorks::CloseDocument"), 0u);
    EXPECT_FALSE(hostsvc::lastNativeCheckin().has_value());
    // The reader was built and put the preferences back.
    EXPECT_EQ(part.kit().journal().count("ISldWorks::SetToggle"), 4u);
}

TEST_F(NativeCheckinRun, TheRecordGoesToTheHostAndToTheCaller) {
    const mzComStringC path = savedPart();
    part.kit().plan().scriptValue("IModelDoc2::GetType", _variant_t(0L));
    metaTreePtrT record;
    mzComStringC reason;
    ASSERT_EQ(runNativeCheckin(part.app(), path, record, reason), 0) << reason;
    ASSERT_FALSE(record.isNull());
    EXPECT_TRUE(reason.isEmpty());
    IMetaTreeApi& store = *getIMetaTreeApi();
    EXPECT_TRUE(store.parent(record).isNull());
    EXPECT_EQ(store.print(record, metaPrintStyle::compact), "(CHECKINOUT (HEADER) (DOCUMENT))");
    const auto handed = hostsvc::lastNativeCheckin();
    ASSERT_TRUE(handed.has_value());
    EXPECT_EQ(handed->interfaceName, "natlinkon");
    EXPECT_NE(handed->recordText.find("CHECKINOUT"), std::string::npos);
    store.release(record);
}

} // namespace
