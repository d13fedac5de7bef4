// The build road end to end: meta text in, convertMetaTree, the saved part reopened in a new
// session, its planes named and placed as the nodes say; failing items reported while the
// rest is still built and saved.
#include "tests/buildroad/buildroad_fixture.h"

#include "libs/geomcore/swapi/swapi.h"
#include "natlinksolidworks/ps_plugin.h"
#include "platform/host/services/log.h"
#include "platform/host/services/script_events.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

namespace {

struct planeS {
    vectorC3d<double> origin;
    vectorC3d<double> normal;
};

class Conversion : public buildRoadTest {
protected:
    void SetUp() override {
        buildRoadTest::SetUp();
        app_ = createSimulatedSldWorks();
        liveNodes_ = getIMetaTreeApi()->liveNodeCount();
    }
    void TearDown() override {
        EXPECT_EQ(getIMetaTreeApi()->liveNodeCount(), liveNodes_);
        buildRoadTest::TearDown();
    }

    // Runs the conversion of the document text; the options tree's RESTEXT goes to resText_.
    int convert(const std::string& document) {
        metaObjectC options =
            tree("(CONVERTOPTIONS (INNAME \"" + path("model.meta") + "\") (OUTPUTLOCATION \"" +
                 path("out") + "\") (CUSTOMDATA) (INPUTDATA " + document + "))");
        PSWPlugin plugin(app_);
        const int result = plugin.convertMetaTree(options.getTreePtr());
        resText_ = options.readStringProperty("RESTEXT").toUtf8();
        return result;
    }

    static std::string fileText(const std::string& file) {
        std::ifstream in(file);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // The reference planes of a saved part, reopened in a new session, by name.
    static std::map<std::string, planeS> planesOf(const std::string& file) {
        const ISldWorksPtr app = createSimulatedSldWorks();
        const IModelDoc2Ptr doc = sessionAddPart(app, swsim::PartDocument::open(file));
        std::map<std::string, planeS> planes;
        IFeaturePtr feature;
        featurePtrFromUnknown(feature, modelDocFirstFeature(doc));
        while (feature) {
            if (featureGetTypeName(feature) == "RefPlane") {
                const std::vector<double> g = readDoubleArray(
                    refPlaneGetGeometry(queryInterfaceOf<IRefPlane>(feature.GetInterfacePtr())), 9);
                planes[static_cast<const char*>(featureGetName(feature))] = {{g[0], g[1], g[2]},
                                                                             {g[6], g[7], g[8]}};
            }
            IFeaturePtr next;
            featurePtrFromUnknown(next, featureGetNext(feature));
            feature = next;
        }
        return planes;
    }

    ISldWorksPtr app_;
    std::string resText_;
    std::size_t liveNodes_ = 0;
};

// The loop of a w x h rectangle from the sketch's origin.
std::string rectangle(double w, double h) {
    const std::string x = std::to_string(w);
    const std::string y = std::to_string(h);
    return "(LOOP (LINE (POINT 0 0) (POINT " + x + " 0)) (LINE (POINT " + x + " 0) (POINT " + x +
           " " + y + ")) (LINE (POINT " + x + " " + y + ") (POINT 0 " + y + ")) (LINE (POINT 0 " +
           y + ") (POINT 0 0)))";
}

void expectPlane(const std::map<std::string, planeS>& planes, const std::string& name,
                 vectorC3d<double> origin, vectorC3d<double> normal) {
    const auto found = planes.find(name);
    ASSERT_NE(found, planes.end()) << name;
    const vectorC3d<double> n = found->second.normal;
    EXPECT_NEAR(n.x, normal.x, 1e-9) << name;
    EXPECT_NEAR(n.y, normal.y, 1e-9) << name;
    EXPECT_NEAR(n.z, normal.z, 1e-9) << name;
    EXPECT_NEAR((origin - found->second.origin).dot(normal), 0.0, 1e-9) << name;
}

TEST_F(Conversion, ExamplePlanesAreBuiltNamedAndSaved) {
    const std::string example =
        fileText(std::string(std::getenv("NATLINK_SOURCE_DIR")) + "/examples/planes.meta");
    ASSERT_EQ(convert(example.substr(example.find("(PART"))), 0) << resText_;
    EXPECT_EQ(resText_, "");

    const std::map<std::string, planeS> planes = planesOf(path("out/Planes.sldprt"));
    expectPlane(planes, "Front Plane", {0, 0, 0}, {0, 0, 1});
    expectPlane(planes, "Offset10", {0, 0, 10}, {0, 0, 1});
    const double h = std::sqrt(0.5);
    expectPlane(planes, "Tilted", {0, 0, 20}, {0, -h, h});
    EXPECT_EQ(planes.size(), 5u);
    // Saved under its output path and closed by it: nothing stays open in the session.
    EXPECT_FALSE(sldWorksGetFirstDocument(app_));

    const std::vector<hostsvc::ScriptEvent> events = hostsvc::scriptEventJournal();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].name, "AppBeforeCreate");
    EXPECT_EQ(events[1].name, "AppAfterCreate");
}

TEST_F(Conversion, BadPlanesFailWithTheirMessagesAndTheRestIsSaved) {
    const int result =
        convert("(PART (NAME \"Mixed\") (ITEMS"
                " (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))"
                " (PLANE (NAME \"Lost\") (TYP \"OFF_TO_PLANE\") (PARAM 0 4 \"Nowhere\"))"
                " (PLANE (NAME \"Broken\") (TYP \"OFF_TO_PLANE\") (PARAM 0 4))"
                " (PLANE (NAME \"Up\") (TYP \"OFF_TO_PLANE\") (PARAM 0 4 \"XY\"))))");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(resText_, "Items not built: PLANE \"Lost\": Could not find reference plane for "
                        "\"Lost\"; PLANE \"Broken\": Error while creating Offsetplane \"Broken\"");
    const std::map<std::string, planeS> planes = planesOf(path("out/Mixed.sldprt"));
    expectPlane(planes, "Up", {0, 0, 4}, {0, 0, 1});
    EXPECT_EQ(planes.count("Lost") + planes.count("Broken"), 0u);

    std::string shown;
    for (const std::string& text : shownWarnings())
        shown += text + "\n";
    EXPECT_NE(shown.find("Could not find reference plane for \"Lost\""), std::string::npos);
    EXPECT_NE(shown.find("Error while creating Offsetplane \"Broken\""), std::string::npos);
}

TEST_F(Conversion, EveryRecordedPlaneIsHiddenBeforeSavingAndThePartClosedAfter) {
    sessionTestKit(app_).journal().clear();
    ASSERT_EQ(
        convert("(PART (NAME \"Hidden\") (ITEMS"
                " (PLANE (NAME \"A\") (TYP \"ABS_PLANE\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 1 1))"
                " (PLANE (NAME \"B\") (TYP \"OFF_TO_PLANE\") (PARAM 0 4 \"A\"))))"),
        0)
        << resText_;
    const callJournalC& journal = sessionTestKit(app_).journal();
    // The three template planes and the two built ones, each selected by name and hidden.
    std::vector<std::string> hidden;
    const std::vector<journalEntryS> entries = journal.entries();
    for (std::size_t i = 0; i + 1 < entries.size(); ++i)
        if (entries[i].call == "IModelDoc2::SelectByName" &&
            entries[i + 1].call == "IModelDoc2::HideSelection")
            hidden.push_back(entries[i].args[0]);
    EXPECT_EQ(hidden, (std::vector<std::string>{"\"Front Plane\"", "\"Top Plane\"",
                                                "\"Right Plane\"", "\"A\"", "\"B\""}));
    const std::vector<std::string> order =
        journal.order({"IModelDoc2::CreateOffsetPlane", "IModelDoc2::HideSelection",
                       "IModelDoc2::SaveAs", "ISldWorks::CloseDocument"});
    ASSERT_FALSE(order.empty());
    EXPECT_EQ(order.front(), "IModelDoc2::CreateOffsetPlane");
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(order[order.size() - 2], "IModelDoc2::SaveAs");
    EXPECT_EQ(order.back(), "ISldWorks::CloseDocument");
    EXPECT_EQ(std::count(order.begin(), order.end(), "IModelDoc2::HideSelection"), 5);
}

TEST_F(Conversion, LengthsAreBuiltInMillimetres) {
    // UNITBASE: millimetres per unit of the tree.
    ASSERT_EQ(convert("(PART (NAME \"Inches\") (PARTPREFS (UNITBASE 25.4)) (ITEMS"
                      " (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))"
                      " (PLANE (NAME \"One\") (TYP \"OFF_TO_PLANE\") (PARAM 0 1 \"XY\"))))"),
              0)
        << resText_;
    expectPlane(planesOf(path("out/Inches.sldprt")), "One", {0, 0, 25.4}, {0, 0, 1});

    // A stored unit that is no length would flatten or mirror the part: it is not built.
    for (const char* unit : {"-25.4", "0", "nan"}) {
        EXPECT_EQ(convert(std::string("(PART (NAME \"Odd\") (PARTPREFS (UNITBASE ") + unit +
                          ")) (ITEMS (PLANE (NAME \"One\") (TYP \"ABS_PLANE\")"
                          " (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 1 1))))"),
                  1);
        EXPECT_EQ(resText_, std::string("Invalid UNITBASE ") + unit + " of part \"Odd\"");
        EXPECT_FALSE(std::filesystem::exists(path("out/Odd.sldprt")));
        EXPECT_FALSE(sldWorksGetFirstDocument(app_));
    }
}

TEST_F(Conversion, AttributeGroupsOfTheCreationOptionsAreSavedWithThePart) {
    ASSERT_EQ(convert("(PART (NAME \"Tagged\") (ITEMS)"
                      " (CREAOPTS (CREAOPTATTRMAP"
                      "  (PAIR (CREAOPTATTRMAPKEY \"DEFAULTATTR\") (EXTATTRLIST"
                      "    (EXTATTRSTR (NAME \"Material\") (VALUE \"Steel\"))))"
                      "  (PAIR (CREAOPTATTRMAPKEY \"SUMMARYATTR\") (EXTATTRLIST"
                      "    (EXTATTRSTR (NAME \"2\") (VALUE \"Smith\")))))))"),
              0)
        << resText_;
    const ISldWorksPtr app = createSimulatedSldWorks();
    const IModelDoc2Ptr doc =
        sessionAddPart(app, swsim::PartDocument::open(path("out/Tagged.sldprt")));
    EXPECT_EQ(std::string(modelDocGetCustomValue(doc, "", "Material")), "Steel");
    EXPECT_EQ(std::string(modelDocGetSummaryInfo(doc, 2)), "Smith");
}

TEST_F(Conversion, AnAttributeSolidWorksRefusesIsAWarningAndThePartIsSaved) {
    ASSERT_EQ(convert("(PART (NAME \"Tagged\") (ITEMS)"
                      " (CREAOPTS (CREAOPTATTRMAP"
                      "  (PAIR (CREAOPTATTRMAPKEY \"SUMMARYATTR\") (EXTATTRLIST"
                      "    (EXTATTRSTR (NAME \"7\") (VALUE \"x\"))"
                      "    (EXTATTRSTR (NAME \"2\") (VALUE \"Smith\")))))))"),
              0)
        << resText_;
    const std::vector<std::string> shown = shownWarnings();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("Summary attribute \"7\" not written: "), std::string::npos)
        << shown[0];
    const ISldWorksPtr app = createSimulatedSldWorks();
    const IModelDoc2Ptr doc =
        sessionAddPart(app, swsim::PartDocument::open(path("out/Tagged.sldprt")));
    EXPECT_EQ(std::string(modelDocGetSummaryInfo(doc, 2)), "Smith");
}

TEST_F(Conversion, TheParametricDescriptionFollowsTheUnitOfThePart) {
    metaObjectC options = tree(
        "(CONVERTOPTIONS (OUTPUTLOCATION \"" + path("out") +
        "\") (INPUTDATA (PART (NAME \"P\") (PARTPREFS (UNITBASE 25.4)) (ITEMS)"
        " (PDOC (PDOCPREFS (UNITBASE 25.4)) (PLOCS (PLOC (TYPE 2) (PLOCVALS 1.0 2.0 3.0)))))))");
    ASSERT_EQ(PSWPlugin(app_).convertMetaTree(options.getTreePtr()), 0);

    IMetaTreeApi* api = getIMetaTreeApi();
    const metaTreePtrT pdoc =
        api->findChild(api->findChild(options.findChild("INPUTDATA"), "PART"), "PDOC");
    EXPECT_EQ(api->getDouble(
                  api->firstChild(api->findChild(api->findChild(pdoc, "PDOCPREFS"), "UNITBASE"))),
              1.0);
    const metaTreePtrT values =
        api->findChild(api->findChild(api->findChild(pdoc, "PLOCS"), "PLOC"), "PLOCVALS");
    ASSERT_EQ(api->childCount(values), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(api->getDouble(api->childAt(values, i)).value_or(0.0), 25.4 * double(i + 1),
                    1e-12);
}

TEST_F(Conversion, FailingSolidWorksCallFailsOnlyItsItem) {
    // The first run's A is not made; the second's is made but cannot be named, so its plane
    // stays in the part unrecorded and must not be taken by C or B.
    for (const char* failing : {"IModelDoc2::CreatePlaneThroughPoints", "IFeature::SetName"}) {
        sessionTestKit(app_).plan().clear();
        sessionTestKit(app_).plan().failWith(failing, E_FAIL, 1);
        const int result = convert(
            "(PART (NAME \"Faulty\") (ITEMS"
            " (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))"
            " (PLANE (NAME \"A\") (TYP \"ABS_PLANE\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 3 1))"
            " (PLANE (NAME \"C\") (TYP \"ABS_PLANE\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 7 1))"
            " (PLANE (NAME \"B\") (TYP \"OFF_TO_PLANE\") (PARAM 0 5 \"XY\"))))");
        EXPECT_EQ(result, 1) << failing;
        EXPECT_EQ(resText_.rfind("Items not built: PLANE \"A\": SolidWorks call failed", 0), 0u)
            << resText_;
        const std::map<std::string, planeS> planes = planesOf(path("out/Faulty.sldprt"));
        expectPlane(planes, "C", {0, 0, 7}, {0, 0, 1});
        expectPlane(planes, "B", {0, 0, 5}, {0, 0, 1});
        EXPECT_EQ(planes.count("A"), 0u);
    }
}

TEST_F(Conversion, PlanesAndSolidsFaceTheZRowOfTheirPlacement) {
    hostsvc::setLogCapture(true);
    // L is left-handed (its Z row against X x Y). S0 faces down on the upward base plane XY;
    // S1 faces down like L; S2 faces down but names the upward plane Up; S3 faces down but
    // names the upward top face. 20 x 10 rectangles at y -10..0 (the sketches' Y rows point
    // to -y); the cut, along +Z of S3, goes down.
    const std::string down = " 1 0 0 0 0 -1 0 0 0 0 -1 0 ";
    ASSERT_EQ(
        convert("(PART (NAME \"Facing\") (ITEMS"
                " (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))"
                " (PLANE (NAME \"L\") (TYP \"ABS_PLANE\") (MAT 1 0 0 0 0 1 0 0 0 0 -1 0 0 0 10 1))"
                " (PLANE (NAME \"Below\") (TYP \"OFF_TO_PLANE\") (PARAM 0 4 \"L\"))"
                " (PLANE (NAME \"Up\") (TYP \"ABS_PLANE\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))"
                " (SKETCH (NAME \"S0\") (MAT" +
                down + "0 0 0 1) (SKETCHON (PLANE \"XY\")) " + rectangle(4, 4) +
                ")"
                " (SKETCH (NAME \"S1\") (MAT" +
                down + "0 0 10 1) (SKETCHON (PLANE \"L\")) " + rectangle(20, 10) +
                ")"
                " (BASE (NAME \"B1\") (TYP \"EXTRUDE\") (USED \"S1\") (PARAM 10 0 0))"
                " (SKETCH (NAME \"S2\") (MAT" +
                down + "0 0 0 1) (SKETCHON (PLANE \"Up\")) " + rectangle(20, 10) +
                ")"
                " (BASE (NAME \"B2\") (TYP \"EXTRUDE\") (USED \"S2\") (PARAM 3 0 0))"
                " (SKETCH (NAME \"S3\") (MAT" +
                down +
                "0 0 10 1)"
                " (SKETCHON (FACE (POINT3D 2 -2 10) (VEC3D 0 0 1))) " +
                rectangle(4, 4) +
                ")"
                " (CUT (NAME \"C1\") (TYP \"EXTRUDE\") (USED \"S3\") (PARAM 2 0 0))))"),
        0)
        << resText_;
    expectPlane(planesOf(path("out/Facing.sldprt")), "L", {0, 0, 10}, {0, 0, -1});
    expectPlane(planesOf(path("out/Facing.sldprt")), "Below", {0, 0, 6}, {0, 0, -1});

    const auto part = swsim::PartDocument::open(path("out/Facing.sldprt"));
    // B1 z 0..10, B2 z -3..0, the cut 4 x 4 x 2 from the top.
    EXPECT_NEAR(part->massProperties().volume, 2000 + 600 - 32, 1e-6);
    const swsim::Box box = part->box();
    EXPECT_NEAR(box.min.x, 0, 1e-6);
    EXPECT_NEAR(box.min.y, -10, 1e-6);
    EXPECT_NEAR(box.min.z, -3, 1e-6);
    EXPECT_NEAR(box.max.x, 20, 1e-6);
    EXPECT_NEAR(box.max.y, 0, 1e-6);
    EXPECT_NEAR(box.max.z, 10, 1e-6);

    std::vector<std::string> why;
    for (const hostsvc::LogRecord& record : hostsvc::capturedLogRecords())
        if (record.text.find("faces against its") != std::string::npos)
            why.push_back(record.text);
    EXPECT_EQ(why,
              (std::vector<std::string>{
                  "Sketch \"S0\" faces against its plane: it is placed on a plane of its own",
                  "Sketch \"S2\" faces against its plane: it is placed on a plane of its own",
                  "Sketch \"S3\" faces against its face: it is placed on a plane of its own"}));
}

TEST_F(Conversion, NamesAreQuotedWithoutTheirControlCharacters) {
    // A terminal escape and a NUL in a NAME reach neither the result text nor the warnings.
    EXPECT_EQ(
        convert("(PART (NAME \"Quoted\") (ITEMS"
                " (PLANE (NAME \"E\x1B[2J\\0\") (TYP \"OFF_TO_PLANE\") (PARAM 0 4 \"XY\"))))"),
        1);
    const std::string quoted = "\"E\\x1B[2J\\x00\"";
    EXPECT_EQ(resText_, "Items not built: PLANE " + quoted +
                            ": Could not find reference plane for " + quoted);
    const std::vector<std::string> shown = shownWarnings();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("Could not find reference plane for " + quoted), std::string::npos)
        << shown[0];
}

TEST_F(Conversion, ItemsWithoutABuilderAreReportedNotSkipped) {
    EXPECT_EQ(
        convert(
            "(PART (NAME \"Odd\") (ITEMS (GIZMO (NAME \"G\")) 42"
            " (PLANE (NAME \"P\") (TYP \"ABS_PLANE\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 3 1))))"),
        1);
    EXPECT_EQ(resText_, "Items not built: GIZMO \"G\": Items of kind GIZMO cannot be built");
    expectPlane(planesOf(path("out/Odd.sldprt")), "P", {0, 0, 3}, {0, 0, 1});
}

TEST_F(Conversion, DocumentsThatCannotBeBuiltAreRefusedWithTheReason) {
    EXPECT_EQ(convert("(ASSEMBLY (NAME \"A\") (ITEMS))"), 1);
    EXPECT_EQ(resText_, "The assembly \"A\" has no member parts");
    EXPECT_EQ(
        convert("(ASSEMBLY (NAME \"A\") (ASMPREFS (UNITBASE -1)) (ITEMS (PART (NAME \"P\"))))"), 1);
    EXPECT_EQ(resText_, "Invalid UNITBASE -1 of assembly \"A\"");
    EXPECT_FALSE(std::filesystem::exists(path("out/A.sldasm")));
    EXPECT_EQ(convert("(DRAWING (NAME \"D\"))"), 1);
    EXPECT_EQ(resText_, "Documents of kind DRAWING cannot be built; only PART and ASSEMBLY");

    EXPECT_EQ(convert("(PART (NAME \"../escape\") (ITEMS))"), 1);
    EXPECT_EQ(resText_, "Invalid file name for the part: \"../escape\"");
    EXPECT_FALSE(std::filesystem::exists(path("escape.sldprt")));

    sessionTestKit(app_).plan().returnNull("ISldWorks::NewPart", 1);
    EXPECT_EQ(convert("(PART (NAME \"P\") (ITEMS))"), 1);
    EXPECT_EQ(resText_, "Could not create a part from the template");

    sessionTestKit(app_).plan().scriptValue("IModelDoc2::SaveAs", _variant_t(3L), 1);
    EXPECT_EQ(convert("(PART (NAME \"P\") (ITEMS))"), 1);
    EXPECT_EQ(resText_, "Could not save the part as \"" + path("out/P.sldprt") + "\" (error 3)");
    // Closed all the same: a batch leaves no document open.
    EXPECT_FALSE(sldWorksGetFirstDocument(app_));
}

TEST_F(Conversion, DocumentLevelFailuresNameTheStepAndThePartAndCloseIt) {
    // The part is closed by the path it was saved under, not by asking it again.
    sessionTestKit(app_).plan().failWith("IModelDoc2::GetPathName", E_FAIL);
    EXPECT_EQ(convert("(PART (NAME \"P\") (ITEMS))"), 0) << resText_;
    sessionTestKit(app_).plan().clear();
    EXPECT_FALSE(sldWorksGetFirstDocument(app_));

    sessionTestKit(app_).plan().failWith("IModelDoc2::SaveAs", E_FAIL, 1);
    EXPECT_EQ(convert("(PART (NAME \"P\") (ITEMS))"), 1);
    EXPECT_EQ(resText_,
              "Part \"P\" (P.sldprt): saving failed: SolidWorks call failed: 0x80004005 E_FAIL");
    sessionTestKit(app_).plan().clear();
    EXPECT_FALSE(sldWorksGetFirstDocument(app_));
}

TEST_F(Conversion, WhatAnItemOrThePartLacksIsReportedAsBuiltIncompletely) {
    const std::string part =
        "(PART (NAME \"T\") (ITEMS"
        " (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))"
        " (SKETCH (NAME \"S\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1) (SKETCHON (PLANE \"XY\")) " +
        rectangle(10, 10) +
        ") (BASE (NAME \"B\") (TYP \"EXTRUDE\") (USED \"S\") (PARAM 5 0 0)"
        " (ANNOTATIONSETS (ANNOTATIONSETTHREAD (ANNOTATIONTHREAD (THSPECS (THSPEC (THDIA 2)"
        " (THLEN 4))) (THSTARTPOINT 50 50 50) (THENDPOINT 60 60 60) (THDESC \"M2\")))))))";
    sessionTestKit(app_).plan().failWith("IPartDoc::SetEntityName", E_FAIL, 1);
    EXPECT_EQ(convert(part), 1);
    EXPECT_EQ(resText_, "Items built incompletely: BASE \"B\": cosmetic thread \"M2\" not made: "
                        "no edge through its start or end point; PART \"T\": faces not all named "
                        "by surface type: SolidWorks call failed: 0x80004005 E_FAIL");
    EXPECT_TRUE(std::filesystem::exists(path("out/T.sldprt")));
}

// A level that SolidWorks fails while it is made leaves nothing either: the levels example's
// "Simple" cannot suppress its features; the part keeps "Full", made before it.
TEST_F(Conversion, ALevelSolidWorksFailsLeavesNoConfiguration) {
    const std::string levels =
        fileText(std::string(std::getenv("NATLINK_SOURCE_DIR")) + "/examples/levels.meta");
    sessionTestKit(app_).plan().failWith("IFeature::SetSuppression", E_FAIL, 1);
    EXPECT_EQ(convert(levels), 1);
    EXPECT_EQ(resText_, "Items not built: PARTLOD \"Levels\": SolidWorks call failed: 0x80004005 "
                        "E_FAIL");
    sessionTestKit(app_).plan().clear();
    const swsim::PartDocumentPtr saved = swsim::PartDocument::open(path("out/Levels.sldprt"));
    std::vector<std::string> names;
    for (const swsim::ConfigurationPtr& configuration : saved->configurations())
        names.push_back(configuration->name());
    EXPECT_EQ(names, (std::vector<std::string>{"Default", "Full"}));
    EXPECT_EQ(saved->activeConfiguration()->name(), "Default");
}

TEST_F(Conversion, OptionsTreeWithoutInputIsRefused) {
    metaObjectC options = tree("(CONVERTOPTIONS (OUTPUTLOCATION \"" + path("out") + "\"))");
    PSWPlugin plugin(app_);
    EXPECT_EQ(plugin.convertMetaTree(options.getTreePtr()), 1);
    EXPECT_EQ(options.readStringProperty("RESTEXT"),
              mzComStringC("The conversion has no INPUTDATA"));
    EXPECT_EQ(plugin.convertMetaTree(metaTreePtrT()), 1);
}

} // namespace
