// Global options, resource texts, files, check-in post-processing and trace frames.
#include "libs/KvorCadComm/app_environment.h"
#include "libs/KvorCadComm/global_options.h"
#include "libs/KvorCadComm/host_files.h"
#include "libs/KvorCadComm/native_checkin.h"
#include "libs/KvorCadComm/resource_text.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "platform/host/metatree/metatree_api.h"
#include "tests/kvorcadcomm/kvorcadcomm_fixture.h"

namespace {

using KvorCadCommHostServices = kvorCadCommTest;

TEST_F(KvorCadCommHostServices, GetOptionGivesTheTextOrTheDefault) {
    writeConfig("[NativeCheckin]\nProcessDocumentState=1\n[INTERFACE]\nNativeCheckinKey=\n");
    const globalOptionsC options = getGlobalOptions(getAppName());
    ASSERT_TRUE(options.isValid());

    const mzComVariantC present = options.getOption("NativeCheckin", "ProcessDocumentState");
    EXPECT_EQ(present.type(), mzComVariantC::typeE::String);
    EXPECT_EQ(present.toString(), mzComStringC("1"));

    // Missing key, missing section: the given default, else an empty variant.
    EXPECT_TRUE(options.getOption("NativeCheckin", "Native3DPreviewPerLine").isEmpty());
    EXPECT_TRUE(options.getOption("Nowhere", "ProcessDocumentState").isEmpty());
    EXPECT_EQ(options.getOption("INTERFACE", "Missing", mzComStringC("SolidWorks")).toString(),
              mzComStringC("SolidWorks"));
    // A key that is there with an empty value is not missing.
    EXPECT_EQ(
        options.getOption("INTERFACE", "NativeCheckinKey", mzComStringC("SolidWorks")).toString(),
        mzComStringC(""));
}

TEST_F(KvorCadCommHostServices, InterfaceNameThatIsNoFileNameGivesDefaultsOnly) {
    const globalOptionsC options = getGlobalOptions("../natlinkon");
    EXPECT_FALSE(options.isValid());
    EXPECT_EQ(options.getOption("UI", "DisplayCreationWarningLevel", 49).toInt(), 49);
}

TEST_F(KvorCadCommHostServices, TranslateResourceText) {
    // An unknown key comes back as it is, so the user sees what is missing.
    EXPECT_EQ(translateResourceText("Msg_nosuchkey_999", getAppName()),
              mzComStringC("Msg_nosuchkey_999"));
    const mzComStringC known = translateResourceText("Msg_3dExport_002", getAppName());
    EXPECT_NE(known, mzComStringC("Msg_3dExport_002"));
    EXPECT_TRUE(known.contains("%1"));
}

TEST_F(KvorCadCommHostServices, DeleteFileResolvesThePathAndRefusesWhatItCannotDelete) {
    const std::filesystem::path file = folder() / "gone.kvr";
    std::ofstream(file) << "x";
    // The user folder is the host's $volmera_user.
    EXPECT_TRUE(fileExists(mzComStringC(file.string().c_str())));
    EXPECT_TRUE(deleteFile("$volmera_user/gone.kvr"));
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_FALSE(fileExists(mzComStringC(file.string().c_str())));
    EXPECT_FALSE(deleteFile("$volmera_user/gone.kvr"));

    std::filesystem::create_directory(folder() / "sub");
    EXPECT_FALSE(fileExists(mzComStringC((folder() / "sub").string().c_str())));
    EXPECT_FALSE(deleteFile("$volmera_user/sub"));
    EXPECT_TRUE(std::filesystem::exists(folder() / "sub"));
    EXPECT_FALSE(deleteFile(""));
    EXPECT_FALSE(fileExists(""));
}

TEST_F(KvorCadCommHostServices, PostProcessNativeCheckinHandsTheRecordTextToTheHost) {
    IMetaTreeApi* api = getIMetaTreeApi();
    const std::int64_t liveBefore = api->liveNodeCount();
    const metaTreePtrT record = api->parseText("(CHECKINOUT (HEADER (NAME \"Block\")))", "t");
    postProcessNativeCheckin(record, "natlinkon");
    const std::optional<hostsvc::NativeCheckinResult> result = hostsvc::lastNativeCheckin();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->interfaceName, "natlinkon");
    EXPECT_EQ(result->recordText, api->print(record));
    // The record stays the caller's.
    EXPECT_TRUE(api->release(record));
    EXPECT_EQ(api->liveNodeCount(), liveBefore);
}

TEST_F(KvorCadCommHostServices, PostProcessNativeCheckinOfNoRecordHandsNothingOver) {
    postProcessNativeCheckin(metaTreePtrT(), "natlinkon");
    EXPECT_FALSE(hostsvc::lastNativeCheckin().has_value());
}

TEST_F(KvorCadCommHostServices, TraceFramesWriteEnterAndLeaveOnTheCodeTrackCategory) {
    {
        NATLINK_TRACE_FRAME_C("swMeta3dPlaneC::execute");
        NATLINK_CODE_TRACK("Base feature of pattern was not found");
    }
    std::vector<std::string> texts;
    for (const hostsvc::LogRecord& record : hostsvc::capturedLogRecords()) {
        EXPECT_EQ(record.category, "codetrack");
        EXPECT_EQ(record.level, hostsvc::logLevelTrace);
        texts.push_back(record.text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Enter Frame swMeta3dPlaneC::execute",
                                               "Enter Frame Base feature of pattern was not found",
                                               "Leave Frame Base feature of pattern was not found",
                                               "Leave Frame swMeta3dPlaneC::execute"}));
}

} // namespace
