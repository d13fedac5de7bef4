// The BASE and CUT handlers through the build's reader: features from recorded sketches,
// their records and messages, the first-feature flag and the multibody option.
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swtools/error.h"
#include "tests/solids/solids_fixture.h"

#include <cmath>

namespace {

constexpr double pi = 3.141592653589793;

using BaseCut = partHandlersTest;

TEST_F(BaseCut, FirstBaseThroughTheDocumentThenBossAndCut) {
    recordRectangle("S1", "Front Plane", 0, 0, 40, 20);
    EXPECT_EQ(run("(BASE (NAME \"B1\") (TYP \"EXTRUDE\") (USED \"S1\") (PARAM 10 0 0))"), 1);
    EXPECT_EQ(kit().journal().count("IModelDoc2::CreateExtrusion"), 1u);
    EXPECT_EQ(part_->firstFeature, 0);
    EXPECT_EQ(mzComStringC(featureGetTypeName(recorded("B1"))).toUtf8(), "Extrusion");
    EXPECT_NEAR(volume(), 8000.0, 1e-6);

    recordRectangle("S2", "Front Plane", 0, 0, 10, 10);
    run("(BASE (NAME \"B2\") (TYP \"EXTRUDE\") (USED \"S2\") (PARAM 5 1 0))");
    EXPECT_EQ(kit().journal().count("IFeatureManager::CreateExtrusion"), 1u);
    EXPECT_EQ(mzComStringC(featureGetTypeName(recorded("B2"))).toUtf8(), "Boss");

    recordCircle("S3", "Front Plane", 20, 10, 4);
    run("(CUT (NAME \"C1\") (TYP \"EXTRUDE\") (USED \"S3\") (PARAM 10 0 0))");
    EXPECT_EQ(mzComStringC(featureGetTypeName(recorded("C1"))).toUtf8(), "Cut");
    EXPECT_NEAR(volume(), 8000.0 + 500.0 - pi * 16 * 10, 1e-6);
    EXPECT_EQ(recordCount(), 3u);
}

// Volume of a frustum between parallel squares of sides a and b, height h.
double squareFrustum(double a, double b, double h) {
    return h / 3 * (a * a + b * b + a * b);
}

TEST_F(BaseCut, PositiveDraftNarrowsAwayFromTheSketchNegativeWidens) {
    const double t = std::tan(5 * pi / 180);
    recordRectangle("S1", "Front Plane", 0, 0, 10, 10);
    run("(BASE (NAME \"B1\") (TYP \"EXTRUDE\") (USED \"S1\") (PARAM 5 0 0) (EXTDFTANGLE 5))");
    EXPECT_NEAR(volume(), squareFrustum(10, 10 - 2 * 5 * t, 5), 1e-6);
    // A second boss through the feature manager narrows the same way.
    recordRectangle("S2", "Front Plane", 20, 0, 10, 10);
    run("(BASE (NAME \"B2\") (TYP \"EXTRUDE\") (USED \"S2\") (PARAM 5 0 0) (EXTDFTANGLE 5))");
    EXPECT_NEAR(volume(), 2 * squareFrustum(10, 10 - 2 * 5 * t, 5), 1e-6);
    // A cut from the sketch plane into the first boss with a negative angle widens towards
    // its floor.
    const double before = volume();
    recordRectangle("S3", "Front Plane", 3, 3, 4, 4);
    run("(CUT (NAME \"C1\") (TYP \"EXTRUDE\") (USED \"S3\") (PARAM 2 0 0) (EXTDFTANGLE -5))");
    EXPECT_NEAR(before - volume(), squareFrustum(4, 4 + 2 * 2 * t, 2), 1e-6);
}

// Thread annotations on a circle of radius r about the Z axis at height z, one on each side.
std::string threadsAround(double r, double z) {
    std::string set = "(ANNOTATIONSETS (ANNOTATIONSETTHREAD";
    const double sides[4][2] = {{r, 0}, {-r, 0}, {0, r}, {0, -r}};
    for (const auto& p : sides) {
        const std::string at = std::to_string(p[0]) + " " + std::to_string(p[1]) + " ";
        set += " (ANNOTATIONTHREAD (THSPECS (THSPEC (THDIA 2) (THLEN 4))) (THSTARTPOINT " + at +
               std::to_string(z) + ") (THENDPOINT " + at + std::to_string(z) + ") (THDESC \"M\"))";
    }
    return set + "))";
}

TEST_F(BaseCut, ThreadsOnEverySideOfAStudAndABore) {
    // Each point lies on a rim; the one at +X also lies where the cylinder closes on itself.
    recordCircle("Stud", "Front Plane", 0, 0, 3);
    run("(BASE (NAME \"B1\") (TYP \"EXTRUDE\") (USED \"Stud\") (PARAM 10 0 0) " +
        threadsAround(3, 10) + ")");
    EXPECT_EQ(countFeatures("CosmeticThread"), 4);
    recordCircle("Bore", "Front Plane", 0, 0, 1);
    run("(CUT (NAME \"C1\") (TYP \"EXTRUDE\") (USED \"Bore\") (PARAM 10 0 0) " +
        threadsAround(1, 0) + ")");
    EXPECT_NEAR(volume(), pi * 8 * 10, 1e-6);
    EXPECT_EQ(countFeatures("CosmeticThread"), 8);
}

TEST_F(BaseCut, ThreadsThatAreNotMadeAreWarnedAboutAndTheItemNoted) {
    recordCircle("Stud", "Front Plane", 0, 0, 3);
    // The first thread meets no edge; SolidWorks makes nothing of the second.
    kit().plan().returnNull("IFeatureManager::InsertCosmeticThread", 1);
    const std::string set = "(ANNOTATIONSETS (ANNOTATIONSETTHREAD"
                            " (ANNOTATIONTHREAD (THSPECS (THSPEC (THDIA 2) (THLEN 4)))"
                            " (THSTARTPOINT 50 50 50) (THENDPOINT 60 60 60) (THDESC \"M6\"))"
                            " (ANNOTATIONTHREAD (THSPECS (THSPEC (THDIA 2) (THLEN 4)))"
                            " (THSTARTPOINT 3 0 10) (THENDPOINT 3 0 10))))";
    EXPECT_EQ(run("(BASE (NAME \"B1\") (TYP \"EXTRUDE\") (USED \"Stud\") (PARAM 10 0 0) " +
                  set + ")"),
              1);
    EXPECT_EQ(countFeatures("CosmeticThread"), 0);
    const std::string lost1 = "cosmetic thread \"M6\" not made: no edge through its start or end "
                              "point";
    const std::string lost2 = "cosmetic thread 2 not made: SolidWorks made no thread on its edge";
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{
                                "Creation warning in module 'natlinkon' -> WARNING: BASE \"B1\": " +
                                    lost1,
                                "Creation warning in module 'natlinkon' -> WARNING: BASE \"B1\": " +
                                    lost2}));
    ASSERT_EQ(creation_.incompleteItems.size(), 1u);
    EXPECT_EQ(creation_.incompleteItems[0].tag.toUtf8(), "BASE");
    EXPECT_EQ(creation_.incompleteItems[0].name.toUtf8(), "B1");
    EXPECT_EQ(creation_.incompleteItems[0].message.toUtf8(), lost1 + ", " + lost2);
}

TEST_F(BaseCut, RevolutionThatMakesNothingFails) {
    recordRectangle("Plate", "Front Plane", -20, -20, 40, 40);
    run("(BASE (NAME \"B1\") (TYP \"EXTRUDE\") (USED \"Plate\") (PARAM 10 0 0))");
    const double before = volume();
    // A revolution without a centre line in its sketch makes nothing: the node fails.
    recordRectangle("Ring", "Top Plane", 0, 0, 5, 5);
    EXPECT_EQ(failureOf("(BASE (NAME \"R1\") (TYP \"ROTATE\") (USED \"Ring\") (PARAM 360 0 0))"),
              "Error while creating base feature \"R1\"");
    EXPECT_EQ(kit().journal().count("IFeatureManager::CreateRevolution"), 1u);
    EXPECT_NEAR(volume(), before, 1e-9);
}

TEST_F(BaseCut, MissingSketchFailsWithItsMessageAndKeepsTheFlag) {
    EXPECT_EQ(failureOf("(BASE (NAME \"B1\") (TYP \"EXTRUDE\") (USED \"Nowhere\") (PARAM 1 0 0))"),
              "Sketch \"Nowhere\" for feature \"B1\" not found");
    EXPECT_EQ(shownTexts(), std::vector<std::string>{
                                warningText("Sketch \"Nowhere\" for feature \"B1\" not found")});
    EXPECT_EQ(part_->firstFeature, 1);
    EXPECT_TRUE(recordCount() == 0);
}

TEST_F(BaseCut, UnknownTypeFailsAndRecordsNothing) {
    recordRectangle("S1", "Front Plane", 0, 0, 40, 20);
    EXPECT_EQ(failureOf("(BASE (NAME \"B1\") (TYP \"LOFT\") (USED \"S1\") (PARAM 10 0 0))"),
              "Error while creating base feature \"B1\"");
    EXPECT_EQ(failureOf("(CUT (NAME \"C1\") (USED \"S1\") (PARAM 10 0 0))"),
              "Error while creating cut feature \"C1\"");
    EXPECT_TRUE(recordCount() == 0);
    EXPECT_EQ(part_->firstFeature, 1);
    EXPECT_EQ(kit().journal().count("IModelDoc2::CreateExtrusion"), 0u);

    // The flag still set, the next base is made through the document.
    run("(BASE (NAME \"B2\") (TYP \"EXTRUDE\") (USED \"S1\") (PARAM 10 0 0))");
    EXPECT_EQ(kit().journal().count("IModelDoc2::CreateExtrusion"), 1u);
}

TEST_F(BaseCut, FirstBaseWhoseFeatureCannotBeFoundFailsInsteadOfRecordingAnother) {
    recordRectangle("S1", "Front Plane", 0, 0, 40, 20);
    // The document makes the extrusion, but the search for it finds nothing.
    kit().plan().returnNull("IModelDoc2::FirstFeature");
    EXPECT_EQ(failureOf("(BASE (NAME \"B1\") (TYP \"EXTRUDE\") (USED \"S1\") (PARAM 10 0 0))"),
              "Error while creating base feature \"B1\"");
    EXPECT_TRUE(recordCount() == 0);
    EXPECT_EQ(part_->firstFeature, 1);
}

TEST_F(BaseCut, CreationFailuresAndComErrors) {
    recordRectangle("S1", "Front Plane", 0, 0, 40, 20);
    kit().plan().returnSFalse("IModelDoc2::CreateExtrusion");
    EXPECT_EQ(failureOf("(BASE (NAME \"B1\") (TYP \"EXTRUDE\") (USED \"S1\") (PARAM 10 0 0))"),
              "Error while creating base feature \"B1\"");
    kit().plan().clear();
    kit().plan().failWith("IModelDoc2::SelectByName", E_FAIL);
    EXPECT_THROW(run("(BASE (NAME \"B1\") (TYP \"EXTRUDE\") (USED \"S1\") (PARAM 10 0 0))"),
                 _com_error);
    EXPECT_EQ(part_->firstFeature, 1);
}

TEST_F(BaseCut, MultibodyOptionStopsMerging) {
    metaObjectC options;
    ASSERT_TRUE(options.ctorFromText(
        "(CREAOPTS (CREAOPTSETS (CREAOPTSET (NAME \"Multibodysolid\") (VAL \"1\"))))"));
    partNode_.appendChild(options.getTreePtr());
    recordRectangle("S1", "Front Plane", 0, 0, 40, 20);
    run("(BASE (NAME \"B1\") (TYP \"EXTRUDE\") (USED \"S1\") (PARAM 10 0 0))");
    recordRectangle("S2", "Front Plane", 100, 0, 10, 10);
    run("(BASE (NAME \"B2\") (TYP \"EXTRUDE\") (USED \"S2\") (PARAM 10 0 0))");
    const auto calls = kit().journal().calls("IFeatureManager::CreateExtrusion");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args[17], "0") << "merge off";
}

TEST_F(BaseCut, CutInADrillingHistoryIsRecordedUnderTheDrilling) {
    recordRectangle("S1", "Front Plane", 0, 0, 40, 20);
    run("(BASE (NAME \"B1\") (TYP \"EXTRUDE\") (USED \"S1\") (PARAM 10 0 0))");
    recordCircle("H", "Front Plane", 10, 10, 2);
    // The cut node is handed over directly, as the history handler would.
    const metaTreePtrT drilling = place("(DRILLING (NAME \"D7\") (HISTORY (CUT (NAME \"Inner\") "
                                        "(TYP \"EXTRUDE\") (USED \"H\") (PARAM 10 0 0))))");
    const metaObjectC history(metaObjectC(drilling).findChild("HISTORY"));
    reader_->exeNode(history.findChild("CUT"), part_.get());
    EXPECT_TRUE(recorded("D7"));
    EXPECT_NEAR(volume(), 8000.0 - pi * 4 * 10, 1e-6);
    IFeaturePtr none;
    _bstr_t name;
    EXPECT_FALSE(part_->findFeatureRecord("Inner", name, none));
}

} // namespace
