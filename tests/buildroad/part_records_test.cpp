// The part's records: appends, first-match lookups, the empty-name rule, plane geometry
// matching and letting go of SolidWorks.
#include "tests/buildroad/buildroad_fixture.h"

#include "libs/geomcore/swapi/swapi.h"

namespace {

using PartRecords = partBuildTest;

matrixC4x4<double> planeMatrix(vectorC3d<double> normal, vectorC3d<double> origin) {
    matrixC4x4<double> m = matrixC4x4<double>::identity();
    m.setRow(2, normal);
    m.setRow(3, origin);
    return m;
}

unsigned long referencesOf(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

TEST_F(PartRecords, EmptyListsFindNothingAndLeaveOutputs) {
    _bstr_t name("untouched");
    IFeaturePtr feature;
    ISketchPtr sketch;
    EXPECT_EQ(part_->findPlaneSwName("XY", name), 0);
    EXPECT_EQ(part_->findFeatureRecord("Boss", name, feature), 0);
    EXPECT_EQ(part_->findFeatureSwName("Boss", name), 0);
    EXPECT_EQ(part_->findSketchRecord("S1", name, sketch), 0);
    EXPECT_EQ(part_->findPlaneByGeometry(name, matrixC4x4<double>::identity()), 0);
    EXPECT_EQ(part_->hasPlaneSwName("Front Plane"), 0);
    EXPECT_TRUE(name == "untouched");
    EXPECT_FALSE(feature);
    EXPECT_FALSE(sketch);
}

TEST_F(PartRecords, FirstRecordOfANameWinsAndEmptyNamesNeverMatch) {
    part_->addPlaneRecord(planeNamed("Front Plane"), "");
    part_->addPlaneRecord(planeNamed("Top Plane"), "A");
    part_->addPlaneRecord(planeNamed("Right Plane"), "A");
    _bstr_t name;
    ASSERT_EQ(part_->findPlaneSwName("A", name), 1);
    EXPECT_TRUE(name == "Top Plane");
    // The template plane recorded without a meta name is no answer to an empty name.
    _bstr_t empty("kept");
    EXPECT_EQ(part_->findPlaneSwName("", empty), 0);
    EXPECT_TRUE(empty == "kept");
    EXPECT_EQ(part_->hasPlaneSwName("Right Plane"), 1);
    EXPECT_EQ(part_->hasPlaneSwName("right plane"), 0);

    IFeaturePtr front;
    featurePtrFromUnknown(front, planeNamed("Front Plane"));
    part_->addFeatureRecord(front, "");
    part_->addFeatureRecord(front, "F");
    IFeaturePtr found;
    EXPECT_EQ(part_->findFeatureRecord("", name, found), 0);
    ASSERT_EQ(part_->findFeatureRecord("F", name, found), 1);
    EXPECT_EQ(found.GetInterfacePtr(), front.GetInterfacePtr());
    EXPECT_EQ(part_->hasFeatureSwName("Front Plane"), 1);

    sketchRecord unnamed;
    unnamed.metaName = "";
    part_->addSketchRecord(unnamed);
    ISketchPtr sketch;
    EXPECT_EQ(part_->findSketchRecord("", name, sketch), 0);
    // A record with an empty SolidWorks name answers an empty name.
    featureRecord blank;
    part_->featureRecords.push_back(blank);
    EXPECT_EQ(part_->hasFeatureSwName(_bstr_t()), 1);
}

TEST_F(PartRecords, AppendsRefuseObjectsThatAreNoFeatures) {
    try {
        part_->addPlaneRecord(nullptr, "X");
        FAIL() << "a null plane was recorded";
    } catch (const _com_error& error) {
        EXPECT_EQ(error.Error(), E_POINTER);
    }
    kit().plan().failWith("IFeature::GetName", E_FAIL);
    EXPECT_THROW(part_->addPlaneRecord(planeNamed("Front Plane"), "X"), _com_error);
    EXPECT_TRUE(part_->planeRecords.empty());
}

TEST_F(PartRecords, PlaneGeometryMatchesByNormalAndDistance) {
    part_->addPlaneRecord(planeNamed("Front Plane"), "");
    _bstr_t name;
    EXPECT_EQ(part_->findPlaneByGeometry(name, planeMatrix({0, 0, 1}, {3, 4, 5e-7})), 1);
    EXPECT_TRUE(name == "Front Plane");
    EXPECT_EQ(part_->findPlaneByGeometry(name, planeMatrix({0, 0, 1}, {0, 0, 2e-6})), 0);
    EXPECT_EQ(part_->findPlaneByGeometry(name, planeMatrix({0, 0, -1}, {0, 0, 0})), 0);
    EXPECT_EQ(part_->findPlaneByGeometry(name, planeMatrix({2e-6, 0, 1}, {0, 0, 0})), 0);
}

TEST_F(PartRecords, ShortGeometryArrayIsRefused) {
    part_->addPlaneRecord(planeNamed("Front Plane"), "");
    kit().plan().scriptValue("IRefPlane::GetGeometry", makeDoubleArray({0, 0, 0, 1, 0, 0, 0, 0}));
    _bstr_t name;
    try {
        part_->findPlaneByGeometry(name, matrixC4x4<double>::identity());
        FAIL() << "an 8-element geometry was read";
    } catch (const _com_error& error) {
        EXPECT_EQ(error.Error(), E_INVALIDARG);
    }
}

TEST_F(PartRecords, DetachingReleasesEverythingAndEndsTheLookups) {
    const IRefPlanePtr front = planeNamed("Front Plane");
    const unsigned long before = referencesOf(front);
    part_->addPlaneRecord(front, "XY");
    featurePtrFromUnknown(part_->lastFeature, front);
    EXPECT_EQ(referencesOf(front), before + 2);

    part_->detachComObjects();
    EXPECT_EQ(referencesOf(front), before);
    EXPECT_EQ(part_->detached, 1);
    EXPECT_FALSE(part_->modelDoc);
    EXPECT_FALSE(part_->lastFeature);
    _bstr_t name;
    EXPECT_EQ(part_->findPlaneSwName("XY", name), 0);

    kit().journal().clear();
    part_.reset();
    EXPECT_EQ(kit().journal().entries().size(), 0u);
}

TEST_F(PartRecords, HidingPlanesSelectsEachByName) {
    part_->hideCreatedPlanes();
    EXPECT_EQ(kit().journal().entries().size(), 0u);

    part_->addPlaneRecord(planeNamed("Front Plane"), "");
    part_->addPlaneRecord(planeNamed("Top Plane"), "");
    kit().journal().clear();
    part_->hideCreatedPlanes();
    const auto selections = kit().journal().calls("IModelDoc2::SelectByName");
    ASSERT_EQ(selections.size(), 2u);
    EXPECT_EQ(selections[1].args[0], "\"Top Plane\"");
    EXPECT_EQ(kit().journal().count("IModelDoc2::HideSelection"), 2u);
}

} // namespace
