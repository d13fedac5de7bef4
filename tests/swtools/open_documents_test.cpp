// Finding open documents by path and opening documents: the path forms compared, the document
// type taken from the extension, the views shown, and the warning of a failed opening.
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swtools/open_documents.h"
#include "platform/host/services/host_services.h"
#include "platform/host/services/messages.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

class OpenDocuments : public ::testing::Test {
protected:
    void SetUp() override {
        hostsvc::resetHostServices();
        folder =
            std::filesystem::temp_directory_path() /
            ("swtools_open_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder / "sub");
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        hostsvc::resetHostServices();
    }

    std::filesystem::path folder;
    partFixtureC part;
};

TEST_F(OpenDocuments, TypeFollowsTheExtensionIgnoringCase) {
    EXPECT_EQ(documentTypeOfPath("/p/Bracket.SLDPRT"), 1);
    EXPECT_EQ(documentTypeOfPath("/p/library.sldlfp"), 1);
    EXPECT_EQ(documentTypeOfPath("/p/Frame.SldAsm"), 2);
    EXPECT_EQ(documentTypeOfPath("/p/Frame.step"), 0);
    EXPECT_EQ(documentTypeOfPath("/p/sldprt"), 0);
    EXPECT_EQ(documentTypeOfPath(""), 0);
}

TEST_F(OpenDocuments, FoundByNativePathAndGivenInTheDocumentsOwnForm) {
    part.block(10, 10, 10);
    const std::string ownForm = (folder / "sub" / ".." / "Block.sldprt").string();
    part.model().save(ownForm);

    ISldWorksPtr app = part.appPtr();
    mzComStringC path(std::string_view((folder / "Block.sldprt").string()));
    ASSERT_EQ(findOpenDocument(app, path), 1);
    EXPECT_EQ(path.toUtf8(), ownForm);

    mzComStringC otherCase(std::string_view((folder / "BLOCK.sldprt").string()));
    EXPECT_EQ(findOpenDocument(app, otherCase), 0);
    EXPECT_EQ(otherCase.toUtf8(), (folder / "BLOCK.sldprt").string());
}

TEST_F(OpenDocuments, EmptyPathDoesNotMatchADocumentNeverSaved) {
    ISldWorksPtr app = part.appPtr();
    ASSERT_EQ(mzComStringC(modelDocGetPathName(part.doc())).length(), 0);
    mzComStringC path;
    EXPECT_EQ(findOpenDocument(app, path), 0);
}

TEST_F(OpenDocuments, FailedOpeningGivesNothingAndOneWarning) {
    part.kit().plan().failWith("ISldWorks::OpenDocument", E_FAIL);
    const mzComStringC path("/nowhere/Missing.SLDPRT");
    const IModelDoc2Ptr doc = openDocument(part.appPtr(), path);
    EXPECT_FALSE(doc);

    const auto opens = part.kit().journal().calls("ISldWorks::OpenDocument");
    ASSERT_EQ(opens.size(), 1u);
    ASSERT_GE(opens[0].args.size(), 3u);
    EXPECT_EQ(opens[0].args[1], "1"); // the type, from .SLDPRT
    EXPECT_EQ(opens[0].args[2], "1"); // the options
    EXPECT_EQ(part.kit().journal().count("IModelDoc2::ShowNamedView"), 0u);
    EXPECT_EQ(part.kit().journal().count("IModelDoc2::FitView"), 0u);

    const auto messages = hostsvc::shownMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.find("failed to open document /nowhere/Missing.SLDPRT"),
              std::string::npos);
}

TEST_F(OpenDocuments, OpenedDocumentIsMarkedAndShownIsometricAndFitted) {
    part.kit().plan().scriptValue("ISldWorks::OpenDocument",
                                  _variant_t(static_cast<IDispatch*>(part.doc())));
    // Only the calls are looked at here, not what the session does with the view.
    part.kit().plan().returnNull("IModelDoc2::ShowNamedView");
    part.kit().plan().returnNull("IModelDoc2::FitView");
    const IModelDoc2Ptr doc = openDocument(part.appPtr(), "/p/Frame.sldasm");
    EXPECT_EQ(doc, part.docPtr());

    const auto& journal = part.kit().journal();
    EXPECT_EQ(journal.calls("ISldWorks::OpenDocument").at(0).args.at(1), "2");
    EXPECT_EQ(journal.order({"IModelDoc2::SetCreationFlag", "IModelDoc2::ShowNamedView",
                             "IModelDoc2::FitView"}),
              (std::vector<std::string>{"IModelDoc2::SetCreationFlag", "IModelDoc2::ShowNamedView",
                                        "IModelDoc2::FitView"}));
    EXPECT_EQ(journal.calls("IModelDoc2::SetCreationFlag").at(0).args,
              std::vector<std::string>{"-1"});
    EXPECT_EQ(journal.calls("IModelDoc2::ShowNamedView").at(0).args,
              (std::vector<std::string>{"\"*Isometric\"", "7"}));
    EXPECT_TRUE(hostsvc::shownMessages().empty());
}

} // namespace
