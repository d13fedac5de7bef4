// Document attributes written into the session's documents: creation and overwriting of
// custom properties, the attribute groups of the creation options, summary fields, and the
// configuration handed to components.
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swtools/doc_attributes.h"
#include "metamodel/core/registry.h"
#include "platform/host/services/host_services.h"
#include "platform/host/services/log.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

class DocAttributes : public ::testing::Test {
protected:
    void SetUp() override {
        hostsvc::resetHostServices();
        registerMetaCoreClasses();
        doc = part.docPtr();
    }
    void TearDown() override { hostsvc::resetHostServices(); }

    std::string property(const char* configuration, const char* name) {
        return mzComStringC(modelDocGetCustomValue(doc, configuration, name)).toUtf8();
    }
    // Creation options with the attribute map given as text.
    mDocumentCreationOptionsC optionsWith(const std::string& pairs) {
        EXPECT_TRUE(optionsNode.ctorFromText(
            mzComStringC(std::string_view("(CREAOPTS (CREAOPTATTRMAP " + pairs + "))"))));
        return mDocumentCreationOptionsC(optionsNode.getTreePtr());
    }

    partFixtureC part;
    IModelDoc2Ptr doc;
    metaObjectC optionsNode;
};

bool logged(const std::string& text) {
    const auto records = hostsvc::capturedLogRecords();
    return std::any_of(records.begin(), records.end(),
                       [&](const hostsvc::LogRecord& r) { return r.text == text; });
}

TEST_F(DocAttributes, EqualValueIsNotWrittenAgain) {
    hostsvc::setDefaultLogLevel(hostsvc::logLevelTrace);
    hostsvc::setLogCapture(true);
    EXPECT_EQ(writeAttributeValue(doc, "Material", "Steel", 30, 1, 0), 1);
    EXPECT_TRUE(logged("Create new attribute"));
    EXPECT_EQ(writeAttributeValue(doc, "Material", "Steel", 30, 1, 0), 0);
    EXPECT_FALSE(logged("Overwrite existing attribute"));
    EXPECT_EQ(property("", "Material"), "Steel");

    EXPECT_EQ(writeAttributeValue(doc, "Material", "Brass", 30, 0, 0), 0);
    EXPECT_EQ(property("", "Material"), "Steel");
    EXPECT_EQ(writeAttributeValue(doc, "Material", "Brass", 30, 1, 0), 1);
    EXPECT_TRUE(logged("Overwrite existing attribute"));
    EXPECT_EQ(property("", "Material"), "Brass");
}

TEST_F(DocAttributes, NamesDifferingInCaseAreDifferentProperties) {
    EXPECT_EQ(writeAttributeValue(doc, "Material", "Steel", 30, 1, 0), 1);
    EXPECT_EQ(writeAttributeValue(doc, "MATERIAL", "Brass", 30, 1, 0), 1);
    EXPECT_EQ(property("", "Material"), "Steel");
    EXPECT_EQ(property("", "MATERIAL"), "Brass");
    EXPECT_EQ(writeAttributeValue(doc, "", "x", 30, 1, 0), 0);
    EXPECT_EQ(writeAttributeValue(doc, "Empty", "", 30, 1, 0), 0);
}

TEST_F(DocAttributes, APropertySolidWorksDidNotAddIsNotReportedWritten) {
    part.kit().plan().returnNull("IModelDoc2::AddCustomValue");
    EXPECT_EQ(writeAttributeValue(doc, "Material", "Steel", 30, 1, 0), 0);
}

TEST_F(DocAttributes, GroupsOfTheCreationOptionsGoToTheirPlaces) {
    modelDocSetSummaryInfo(doc, 0, "Original title");
    modelDocSetSummaryInfo(doc, 2, "Smith");
    mDocumentCreationOptionsC options =
        optionsWith("(PAIR (CREAOPTATTRMAPKEY \"DEFAULTATTR\") (EXTATTRLIST"
                    "  (EXTATTRSTR (NAME \"Material\") (VALUE \"Steel\"))"
                    "  (EXTATTRVAL (NAME \"Weight\") (VALUE 2.5))))"
                    "(PAIR (CREAOPTATTRMAPKEY \"SUMMARYATTR\") (EXTATTRLIST"
                    "  (EXTATTRSTR (NAME \"Author\") (VALUE \"not a field\"))"
                    "  (EXTATTRSTR (NAME \"2\") (VALUE \"Smith\"))"
                    "  (EXTATTRSTR (NAME \"3\") (VALUE \"bracket, steel\"))))"
                    "(PAIR (CREAOPTATTRMAPKEY \"CONFIGATTR\") (EXTATTRLIST"
                    "  (EXTATTRSTR (NAME \"Finish\") (VALUE \"painted\"))))");
    EXPECT_EQ(writeDocumentAttributes(doc, options), 1);

    const auto adds = part.kit().journal().calls("IModelDoc2::AddCustomValue");
    ASSERT_EQ(adds.size(), 3u);
    EXPECT_EQ(adds[0].args, (std::vector<std::string>{"\"\"", "\"Material\"", "30", "\"Steel\""}));
    EXPECT_EQ(adds[1].args, (std::vector<std::string>{"\"\"", "\"Weight\"", "3", "\"2.5\""}));
    const std::string active =
        mzComStringC(configurationGetName(IConfigurationPtr(modelDocGetActiveConfiguration(doc))))
            .toUtf8();
    EXPECT_EQ(adds[2].args,
              (std::vector<std::string>{"\"" + active + "\"", "\"Finish\"", "30", "\"painted\""}));
    EXPECT_EQ(property(active.c_str(), "Finish"), "painted");

    // Field 2 already held the value; a name that is no number does not touch the title.
    const auto summary = part.kit().journal().calls("IModelDoc2::SetSummaryInfo");
    ASSERT_EQ(summary.size(), 3u); // the two set up here, then field 3
    EXPECT_EQ(summary[2].args, (std::vector<std::string>{"3", "\"bracket, steel\""}));
    EXPECT_EQ(mzComStringC(modelDocGetSummaryInfo(doc, 0)).toUtf8(), "Original title");

    // Nothing differs any more.
    EXPECT_EQ(writeDocumentAttributes(doc, options), 0);
}

TEST_F(DocAttributes, MissingGroupsWriteNothing) {
    mDocumentCreationOptionsC options = optionsWith("");
    EXPECT_EQ(writeDocumentAttributes(doc, options), 0);
    EXPECT_EQ(part.kit().journal().count("IModelDoc2::AddCustomValue"), 0u);
    EXPECT_EQ(part.kit().journal().count("IModelDoc2::SetSummaryInfo"), 0u);
}

TEST_F(DocAttributes, ComponentConfigurationsLeaveAPartAlone) {
    setComponentConfigurations(doc, "Level of Detail: Simple", 0);
    EXPECT_EQ(part.kit().journal().count("IModelDoc2::GetActiveConfiguration"), 0u);
    EXPECT_EQ(part.kit().journal().count("IComponent::SetConfiguration"), 0u);
}

} // namespace
