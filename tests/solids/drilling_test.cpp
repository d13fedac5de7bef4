// The DRILLING handler: a hole on the face at the start point with its cosmetic threads, or
// the drilling's history; a drilling from which nothing is built fails visibly.
#include "libs/geomcore/buildsw3d/threads_and_faces.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swtools/error.h"
#include "tests/solids/solids_fixture.h"

#include <cmath>

namespace {

constexpr double pi = 3.141592653589793;

class Drilling : public partHandlersTest {
protected:
    void SetUp() override {
        partHandlersTest::SetUp();
        block(40, 40, 10);
    }
    static std::string drilling(const std::string& name, const std::string& at,
                                const std::string& rest) {
        return "(DRILLING (NAME \"" + name + "\") (STARTPOINT " + at + ") (DIRECTION 0 0 -1) " +
               rest + ")";
    }
    std::vector<std::string> creationFlagCalls() {
        std::vector<std::string> values;
        for (const auto& call : kit().journal().calls("IModelDoc2::SetCreationFlag"))
            values.push_back(call.args.at(0));
        return values;
    }
};

const char* const threadSet = "(ANNOTATIONSETS (ANNOTATIONSETTHREAD (ANNOTATIONTHREAD "
                              "(THSPECS (THSPEC (THDIA 6) (THLEN 8))) (THSTARTPOINT 23 20 10) "
                              "(THENDPOINT 23 20 2) (THDESC \"M6\") (THDIR 1))))";

TEST_F(Drilling, HoleOnTheFaceWithItsThread) {
    EXPECT_EQ(run(drilling("D1", "20 20 10", std::string("(DIAMETER 6) (DEPTH 5) ") + threadSet)),
              1);
    EXPECT_EQ(mzComStringC(featureGetTypeName(recorded("D1"))).toUtf8(), "HoleWzd");
    EXPECT_NEAR(volume(), 16000 - pi * 9 * 5, 1e-6);
    const auto threads = kit().journal().calls("IFeatureManager::InsertCosmeticThread");
    ASSERT_EQ(threads.size(), 1u);
    EXPECT_EQ(threads[0].args, (std::vector<std::string>{"0", "6", "8", "\"M6 LH\""}));
    EXPECT_EQ(countFeatures("CosmeticThread"), 1);
    EXPECT_EQ(creationFlagCalls(), (std::vector<std::string>{"-1", "0"}));
    const auto order = kit().journal().order(
        {"IFeatureManager::InsertCosmeticThread", "IModelDoc2::ClearSelection"});
    ASSERT_FALSE(order.empty());
    EXPECT_EQ(order.back(), "IModelDoc2::ClearSelection") << "the selection is cleared last";
    EXPECT_EQ(recordCount(), 1u) << "the thread is not recorded";
}

TEST_F(Drilling, CreationFlagComesBackWhenTheThreadFails) {
    kit().plan().failWith("IFeatureManager::InsertCosmeticThread", E_FAIL);
    EXPECT_THROW(
        run(drilling("D1", "20 20 10", std::string("(DIAMETER 6) (DEPTH 5) ") + threadSet)),
        _com_error);
    EXPECT_EQ(creationFlagCalls(), (std::vector<std::string>{"-1", "0"}));
}

TEST_F(Drilling, NoFaceAtTheStartPointBuildsTheHistory) {
    recordCircle("H", "Front Plane", 30, 30, 2);
    run(drilling("D2", "100 100 10",
                 "(DIAMETER 4) (DEPTH 10) (HISTORY (CUT (NAME \"HC\") (TYP \"EXTRUDE\") "
                 "(USED \"H\") (PARAM 10 0 0)))"));
    EXPECT_EQ(kit().journal().count("IFeatureManager::CreateHole"), 0u);
    EXPECT_EQ(mzComStringC(featureGetTypeName(recorded("D2"))).toUtf8(), "Cut");
    EXPECT_NEAR(volume(), 16000 - pi * 4 * 10, 1e-6);
}

TEST_F(Drilling, RefusedHoleBuildsTheHistory) {
    recordCircle("H", "Front Plane", 10, 10, 3);
    // Countersink and counterbore of different diameters: the history makes the form.
    run(drilling("D3", "10 10 10",
                 "(DIAMETER 6) (DEPTH 10) (COUNTERSINKDEPTH 1) (COUNTERSINKANGLE 90) "
                 "(COUNTERBOREDEPTH 2) (COUNTERBOREDIAMETER 14) (HISTORY (CUT (NAME \"HC\") "
                 "(TYP \"EXTRUDE\") (USED \"H\") (PARAM 10 0 0)))"));
    EXPECT_EQ(kit().journal().count("IFeatureManager::CreateHole"), 0u);
    EXPECT_EQ(mzComStringC(featureGetTypeName(recorded("D3"))).toUtf8(), "Cut");
    EXPECT_NEAR(volume(), 16000 - pi * 9 * 10, 1e-6) << "the history's cut, not a hole";
    EXPECT_TRUE(shownTexts().empty()) << "the history built it: nothing to warn about";
}

TEST_F(Drilling, CounterdrilledHolesHaveTheirConeBelowTheCounterbore) {
    // Diameter 6 with a 90 degree countersink 1 deep: the counterbore is 8 wide and 2 deep,
    // the cone takes 1, the hole the rest of the depth.
    const std::string counterdrill =
        "(DIAMETER 6) (DEPTH 8) (COUNTERSINKDEPTH 1) (COUNTERSINKANGLE 90) "
        "(COUNTERBOREDEPTH 2) (COUNTERBOREDIAMETER 8)";
    const double head = pi * 16 * 2 + pi / 3 * (16 + 9 + 12);
    run(drilling("D4", "10 10 10", counterdrill));
    EXPECT_NEAR(16000 - volume(), head + pi * 9 * 5, 1e-6);
    // With a 118 degree tip the depth passed is the cylinder's; the tip cone follows it.
    const double tipHeight = 3 / std::tan(59 * pi / 180);
    run(drilling("D9", "30 30 10", counterdrill + " (SINKANGLE 118)"));
    EXPECT_NEAR(16000 - volume(),
                2 * head + pi * 9 * 5 + pi * 9 * (8 - tipHeight - 3) + pi * 3 * tipHeight, 1e-6);
    const auto holes = kit().journal().calls("IFeatureManager::CreateHole");
    ASSERT_EQ(holes.size(), 2u);
    EXPECT_EQ(holes[0].args[7], "4");
    EXPECT_EQ(holes[1].args[7], "9");
    // Block planes, the flat bottom of D4; per hole two cylinders and the countersink cone,
    // and the tip cone of D9.
    EXPECT_EQ(faceCounts(),
              (std::map<std::string, int>{{"cone", 3}, {"cylinder", 4}, {"plane", 7}}));
}

TEST_F(Drilling, NothingBuiltFailsWithAWarning) {
    const metaTreePtrT node = place(drilling("D4", "100 100 10", "(DIAMETER 4) (DEPTH 10)"));
    try {
        reader_->exeNode(node, part_.get());
        ADD_FAILURE() << "no failure";
    } catch (const errorC& error) {
        EXPECT_EQ(error.getMessage().toUtf8(),
                  "Error while creating drilling \"D4\": no planar face of the part at its start "
                  "point (100, 100, 10)");
    }
    EXPECT_EQ(shownTexts(), std::vector<std::string>{warningText(
                                "Error while creating drilling \"D4\": no planar face of the part "
                                "at its start point (100, 100, 10)")});
    EXPECT_FALSE(metaObjectC(node).hasChild("HISTORY")) << "the model is read through a copy";

    // A refused hole without history names why.
    EXPECT_NE(
        failureOf(drilling("D5", "20 20 10", "(DIAMETER 6) (DEPTH 5) (ENDCOUNTERBOREDIAMETER 8)"))
            .find("The drilling cannot be built in Solidworks."),
        std::string::npos);
    EXPECT_TRUE(recordCount() == 0);
}

TEST_F(Drilling, NullDocumentIsAComError) {
    part_->modelDoc = nullptr;
    EXPECT_THROW(run(drilling("D1", "20 20 10", "(DIAMETER 6) (DEPTH 5)")), _com_error);
}

using Threads = partHandlersTest;

TEST_F(Threads, WithoutFeatureTheBodyEdgeAtTheEndPointIsUsed) {
    block(40, 40, 10);
    run("(DRILLING (NAME \"D1\") (STARTPOINT 20 20 10) (DIRECTION 0 0 -1) (DIAMETER 6) "
        "(DEPTH 10))");
    metaObjectC set;
    // Start point on no edge; end point on the hole's bottom edge.
    ASSERT_TRUE(set.ctorFromText("(ANNOTATIONSETTHREAD (ANNOTATIONTHREAD (THSPECS (THSPEC "
                                 "(THDIA 6) (THLEN 4))) (THSTARTPOINT 0 20 5) "
                                 "(THENDPOINT 23 20 0) (THDESC \"M6\")))"));
    kit().journal().clear();
    createCosmeticThreads(*part_, m3dAnnotationSetC(set.getTreePtr()), nullptr);
    const auto threads = kit().journal().calls("IFeatureManager::InsertCosmeticThread");
    ASSERT_EQ(threads.size(), 1u);
    EXPECT_EQ(threads[0].args[3], "\"M6\"") << "THDIR absent: no LH";

    // An annotation that meets no edge is skipped.
    metaObjectC lost;
    ASSERT_TRUE(lost.ctorFromText("(ANNOTATIONSETTHREAD (ANNOTATIONTHREAD (THSPECS (THSPEC "
                                  "(THDIA 6) (THLEN 4))) (THSTARTPOINT 0 20 5) "
                                  "(THENDPOINT 0 21 5)))"));
    createCosmeticThreads(*part_, m3dAnnotationSetC(lost.getTreePtr()), nullptr);
    EXPECT_EQ(kit().journal().count("IFeatureManager::InsertCosmeticThread"), 1u);
}

TEST_F(Threads, AttributeReadersLeaveAnEmptyChildForAnAbsentAttribute) {
    metaObjectC node;
    ASSERT_TRUE(node.ctorFromText("(ANNOTATIONTHREAD (THDESC \"M8\") (SELLODNAME \"Simple\"))"));
    bool found = true;
    EXPECT_EQ(getThDirAttr(node, found), 0);
    EXPECT_FALSE(found);
    EXPECT_TRUE(node.hasChild("THDIR"));
    mzComStringC value;
    EXPECT_EQ(getThDescAttr(node, value, found).toUtf8(), "M8");
    EXPECT_TRUE(found);
    EXPECT_EQ(getSelLodNameAttr(node, value, found).toUtf8(), "Simple");
    EXPECT_TRUE(found);
}

using NamedFaces = partHandlersTest;

TEST_F(NamedFaces, FacesAreNumberedPerSurfaceTypeAcrossBodies) {
    block(40, 40, 10);
    run("(DRILLING (NAME \"D1\") (STARTPOINT 20 20 10) (DIRECTION 0 0 -1) (DIAMETER 6) "
        "(DEPTH 10))");
    nameFacesBySurfaceType(*part_);
    const IPartDocPtr partDoc(doc());
    std::vector<std::string> names;
    for (const IDispatchPtr& body : readObjectArray(partDocGetBodies(partDoc, 0)))
        for (IDispatchPtr face = bodyGetFirstFace(IBodyPtr(body)); face;
             face = faceGetNextFace(IFace2Ptr(face)))
            names.push_back(mzComStringC(partDocGetEntityName(partDoc, face)).toUtf8());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"CYL_0", "PLANAR_0", "PLANAR_1", "PLANAR_2",
                                               "PLANAR_3", "PLANAR_4", "PLANAR_5"}));
}

TEST_F(NamedFaces, AFailureStopsTheNamingQuietly) {
    block(40, 40, 10);
    kit().plan().failWith("IFace2::GetSurface", E_FAIL, 3);
    EXPECT_NO_THROW(nameFacesBySurfaceType(*part_));
    EXPECT_EQ(kit().journal().count("IPartDoc::SetEntityName"), 2u);

    // A part without bodies names nothing.
    partFixtureC empty;
    swPartC other;
    other.modelDoc = empty.docPtr();
    EXPECT_NO_THROW(nameFacesBySurfaceType(other));
    EXPECT_EQ(empty.kit().journal().count("IPartDoc::SetEntityName"), 0u);
}

} // namespace
