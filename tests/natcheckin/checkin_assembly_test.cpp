// Assemblies: the component walk of the reader over recorded components and configurations,
// with session documents as the components' documents. Members are read once per document,
// components without a document are skipped, and every record carries its own unit.
#include "libs/geomcore/natCheckin/native_checkin_run.h"
#include "libs/geomcore/natCheckin/sw_checkin.h"
#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/session/session.h"
#include "platform/sldworks/testkit/fixtures.h"
#include "tests/natcheckin/checkin_fakes.h"
#include "tests/natcheckin/checkin_test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class CheckinAssembly : public checkinTestBaseC {
protected:
    void SetUp() override {
        checkinTestBaseC::SetUp();
        app = part.appPtr();
        part.block(10, 10, 10);
        partPath = (tmpFolder / "Block.sldprt").string();
        part.model().save(partPath);
        assembly = IModelDoc2Ptr(sldWorksNewPart(app));
        asmPath = (tmpFolder / "Frame.sldasm").string();
        sessionPartOf(assembly)->save(asmPath);
        scriptDocumentAnswers();
    }

    // What the session cannot answer for these documents yet, the same for every document:
    // one configuration "Default" (whose root is `root`), no properties, no summary, no
    // previews, one dimension on the first feature.
    void scriptDocumentAnswers() {
        faultPlanC& plan = part.kit().plan();
        plan.scriptValue("IModelDoc2::GetConfigurationNames", makeTextArray({"Default"}));
        plan.returnNull("IModelDoc2::ShowConfiguration");
        plan.returnNull("IModelDoc2::RebuildIfNeeded");
        plan.returnNull("IModelDoc2::HasUnsavedChanges");
        plan.scriptValue("IModelDoc2::GetSummaryInfo", _variant_t(""));
        plan.returnNull("IModelDoc2::SaveBitmap");
        plan.returnNull("IModelDoc2::SaveCopyAs");
        plan.returnNull("ISldWorks::PreloadDocument");
        properties = ICustomPropertyManagerPtr(new fakePropertiesC({}, {}, -1), false);
        plan.scriptValue("IDocExtension::GetCustomPropertyManager",
                         _variant_t(static_cast<IDispatch*>(properties.GetInterfacePtr())));
        feature = IFeaturePtr(new fakeFeatureC("Extrusion"), false);
        static_cast<fakeFeatureC*>(feature.GetInterfacePtr())
            ->addDimension("D1@Boss-Extrude1@Block.SLDPRT", 10.0, 0);
        plan.scriptValue("IModelDoc2::FirstFeature",
                         _variant_t(static_cast<IDispatch*>(feature.GetInterfacePtr())));
        // The assembly first, then the part it reads.
        plan.scriptSequence("IModelDoc2::GetType", {_variant_t(2L), _variant_t(1L)});
        // Assembly in millimetres, the part in inches (two reads a document).
        plan.scriptSequence(
            "IModelDoc2::GetLengthUnitArray",
            {makeShortArray({0}), makeShortArray({0}), makeShortArray({3}), makeShortArray({3})});
        plan.scriptValue("IModelDoc2::GetAngleUnitArray", makeShortArray({0}));
    }

    void activeConfigurationWithRoot(const IDispatchPtr& root) {
        configuration = IDispatchPtr(new fakeConfigurationC("Default", root), false);
        manager = IDispatchPtr(new fakeConfigurationManagerC(configuration), false);
        faultPlanC& plan = part.kit().plan();
        plan.scriptValue("IModelDoc2::GetActiveConfiguration",
                         _variant_t(configuration.GetInterfacePtr()));
        plan.scriptValue("IModelDoc2::GetConfigurationManager",
                         _variant_t(manager.GetInterfacePtr()));
    }

    pShellHeaderC checkInAssembly() {
        swCheckinC reader(app, "SolidWorks", 1.0, 1, poll);
        pShellHeaderC header = reader.start(assembly, 1, "");
        failure = reader.getFailureText().toUtf8();
        return header;
    }

    static std::string unitOf(pShellDocBaseC document) {
        pShellVariableSetC variables(document.findChild("VARIABLES"));
        return pShellVarBaseC(variables.findVarDesc("D1@Boss-Extrude1").getTreePtr())
            .readStringProperty("VARUNIT")
            .toUtf8();
    }

    partFixtureC part;
    ISldWorksPtr app;
    IModelDoc2Ptr assembly;
    std::string partPath;
    std::string asmPath;
    ICustomPropertyManagerPtr properties;
    IFeaturePtr feature;
    IDispatchPtr configuration;
    IDispatchPtr manager;
    TarnwickPollObj poll{mzComStringC(tarnwickPollObjectName)};
    std::string failure;
};

TEST_F(CheckinAssembly, ADocumentUsedTwiceIsReadOnceAndComponentsWithoutOneAreSkipped) {
    IDispatchPtr root = newFakeComponent();
    auto* rootFake = componentRecorder(root);
    rootFake->children = {newFakeComponent(part.docPtr()), newFakeComponent(),
                          newFakeComponent(part.docPtr())};
    activeConfigurationWithRoot(root);

    const pShellHeaderC header = checkInAssembly();
    ASSERT_TRUE(header.isValid()) << failure;
    pShellDocCheckinC document = header.getDocument();
    EXPECT_EQ(document.getCadIdent().toUtf8(), asmPath);
    pShellMemberSetC members = document.getMemberSet();
    ASSERT_EQ(members.countDocuments(), 2);
    EXPECT_EQ(members.getDocumentAt(0).getCadIdent().toUtf8(), partPath);
    EXPECT_NE(members.getDocumentAt(0).getTreePtr(), members.getDocumentAt(1).getTreePtr());
    EXPECT_TRUE(members.getDocumentAt(0).compareTree(members.getDocumentAt(1).getTreePtr()));

    EXPECT_EQ(part.kit().journal().count("ISldWorks::PreloadDocument"), 1u);

    // Each record has its own unit; the assembly's own variables are read in its unit again.
    EXPECT_DOUBLE_EQ(metaObjDoubleC(document.findChild("UNITBASE")).get(), 1.0);
    EXPECT_DOUBLE_EQ(metaObjDoubleC(members.getDocumentAt(0).findChild("UNITBASE")).get(), 25.4);
    EXPECT_EQ(unitOf(members.getDocumentAt(0)), "inch");
    EXPECT_EQ(unitOf(document), "mm");
}

TEST_F(CheckinAssembly, NoRootComponentGivesARecordWithoutMembers) {
    activeConfigurationWithRoot(IDispatchPtr());
    const pShellHeaderC header = checkInAssembly();
    ASSERT_TRUE(header.isValid()) << failure;
    pShellDocCheckinC document = header.getDocument();
    EXPECT_EQ(document.getMemberSet().countDocuments(), 0);
    EXPECT_EQ(document.getWantFiles().getStringAt(0).toUtf8(), asmPath);
    EXPECT_EQ(document.getCurVarSet().getOrAddVarValue("IDNR").getVarValue().toUtf8(), "Default");
    EXPECT_EQ(part.kit().journal().count("ISldWorks::PreloadDocument"), 0u);
}

TEST_F(CheckinAssembly, AChildThatIsNoComponentEndsTheCheckIn) {
    IDispatchPtr root = newFakeComponent();
    componentRecorder(root)->children = {
        IDispatchPtr(new fakeConfigurationC("stray", IDispatchPtr()), false)};
    activeConfigurationWithRoot(root);
    const pShellHeaderC header = checkInAssembly();
    EXPECT_FALSE(header.isValid());
    EXPECT_NE(failure.find("E_POINTER"), std::string::npos) << failure;
}

TEST_F(CheckinAssembly, AMemberThatCannotBeReadIsClosedAgain) {
    IDispatchPtr root = newFakeComponent();
    componentRecorder(root)->children = {newFakeComponent(part.docPtr())};
    // The first configuration-name read is the part's (the assembly reads its own last); the
    // failure goes before the scripted answers so that it is the rule that applies.
    part.kit().plan().clear();
    part.kit().plan().failWith("IModelDoc2::GetConfigurationNames", E_FAIL, 1);
    scriptDocumentAnswers();
    activeConfigurationWithRoot(root);
    const pShellHeaderC header = checkInAssembly();
    EXPECT_FALSE(header.isValid());
    EXPECT_EQ(part.kit().journal().count("ISldWorks::CloseDocument"), 1u);
}

} // namespace

namespace {

// An assembly the session wrote and opened: two components of part A and one of part B.
class CheckinSavedAssembly : public checkinTestBaseC {
protected:
    void SetUp() override {
        checkinTestBaseC::SetUp();
        assembly = std::make_unique<assemblyFixtureC>(
            tmpFolder.string(), std::vector<blockPartS>{{"A", 10, 10, 10}, {"B", 20, 5, 5}},
            std::vector<std::string>{"A", "A", "B"}, "Frame");
    }
    void TearDown() override {
        assembly.reset();
        checkinTestBaseC::TearDown();
    }

    std::unique_ptr<assemblyFixtureC> assembly;
};

TEST_F(CheckinSavedAssembly, MembersAreReadOncePerDocumentInComponentOrder) {
    metaTreePtrT record;
    mzComStringC reason;
    ASSERT_EQ(runNativeCheckin(assembly->app(), mzComStringC(std::string_view(assembly->path())),
                               record, reason),
              0)
        << reason;
    metaObjectC owner(record, true);
    pShellDocCheckinC document = pShellHeaderC(record).getDocument();
    EXPECT_EQ(document.getCadIdent().toUtf8(), assembly->path());
    EXPECT_EQ(document.readStringProperty("EXTENSION").toUtf8(), "sldasm");

    pShellMemberSetC members = document.getMemberSet();
    ASSERT_EQ(members.countDocuments(), 3);
    EXPECT_EQ(members.getDocumentAt(0).getCadIdent().toUtf8(), assembly->partPath("A"));
    EXPECT_EQ(members.getDocumentAt(1).getCadIdent().toUtf8(), assembly->partPath("A"));
    EXPECT_EQ(members.getDocumentAt(2).getCadIdent().toUtf8(), assembly->partPath("B"));
    EXPECT_TRUE(members.getDocumentAt(0).compareTree(members.getDocumentAt(1).getTreePtr()));

    const auto preloads = assembly->kit().journal().calls("ISldWorks::PreloadDocument");
    ASSERT_EQ(preloads.size(), 2u);
    EXPECT_EQ(preloads[0].args,
              (std::vector<std::string>{"\"" + assembly->partPath("A") + "\"", "1"}));
    EXPECT_EQ(preloads[1].args,
              (std::vector<std::string>{"\"" + assembly->partPath("B") + "\"", "1"}));

    // Each member carries its own file, identity and variables.
    const pShellDocBaseC b = members.getDocumentAt(2);
    EXPECT_EQ(b.readStringProperty("EXTENSION").toUtf8(), "sldprt");
    EXPECT_TRUE(pShellVariableSetC(b.findChild("VARIABLES")).findVarDesc("IDNR").isValid());
    EXPECT_TRUE(document.getCurVarSet().getOrAddVarValue("IDNR").getVarValue().length() > 0);
}

} // namespace

namespace {

TEST_F(CheckinSavedAssembly, ASecondCheckInInTheSameSessionReadsTheSameMembers) {
    for (int round = 0; round < 2; ++round) {
        metaTreePtrT record;
        mzComStringC reason;
        ASSERT_EQ(runNativeCheckin(assembly->app(),
                                   mzComStringC(std::string_view(assembly->path())), record,
                                   reason),
                  0)
            << reason;
        metaObjectC owner(record, true);
        pShellMemberSetC members = pShellHeaderC(record).getDocument().getMemberSet();
        ASSERT_EQ(members.countDocuments(), 3) << round;
        EXPECT_EQ(members.getDocumentAt(2).getCadIdent().toUtf8(), assembly->partPath("B"));
    }
    // The members loaded for the check-ins were closed again; the assembly stays open.
    const IModelDoc2Ptr first(sldWorksGetFirstDocument(assembly->app()));
    ASSERT_TRUE(first);
    EXPECT_EQ(mzComStringC(modelDocGetPathName(first)).toUtf8(), assembly->path());
    EXPECT_FALSE(IModelDoc2Ptr(modelDocGetNext(first)));
}

} // namespace
