// Finding and recording the feature a builder has just made.
#include "libs/geomcore/sw3ddoc/new_features.h"
#include "libs/geomcore/swapi/swapi.h"
#include "sw3ddoc_fixture.h"

namespace {

class CollectNewFeatures : public Sw3dDocTest {
protected:
    void SetUp() override {
        Sw3dDocTest::SetUp();
        part.modelDoc = fixture.docPtr();
        // The template's own items are recorded first, as the part build does.
        _bstr_t name;
        while (collectNewFeatures(part, "swEnvItems", name, 0) == 1)
            name = _bstr_t();
        templateItems = part.featureRecords.size();
    }

    swPartC part;
    std::size_t templateItems = 0;
};

TEST_F(CollectNewFeatures, TemplateItemsAreRecordedButNotPlanesOrSketches) {
    // Sensors, Annotations, Solid Bodies, Surface Bodies, Material, Origin; not the planes.
    EXPECT_EQ(templateItems, 6u);
    for (const featureRecord& record : part.featureRecords)
        EXPECT_NE(std::u16string(featureGetTypeName(record.feature)), u"RefPlane");
    fixture.rectangleSketch("Front Plane", 0, 0, 10, 10);
    _bstr_t name;
    EXPECT_EQ(collectNewFeatures(part, "S", name, 1), 0) << "a sketch is not collected";
}

TEST_F(CollectNewFeatures, RecordsOneNewFeatureOnceUnderTheMetaName) {
    const std::string made = fixture.block(10, 20, 30);
    _bstr_t name;
    ASSERT_EQ(collectNewFeatures(part, "Base1", name, 1), 1);
    EXPECT_EQ(mzComStringC(name).toUtf8(), made) << "an empty name learns the SolidWorks name";
    EXPECT_EQ(part.featureRecords.back().metaName, mzComStringC("Base1"));
    EXPECT_EQ(part.lastFeature.GetInterfacePtr(),
              part.featureRecords.back().feature.GetInterfacePtr());
    _bstr_t again;
    EXPECT_EQ(collectNewFeatures(part, "Base1", again, 1), 0);
    EXPECT_EQ(part.featureRecords.size(), templateItems + 1);
}

TEST_F(CollectNewFeatures, AGivenNameIsSetBeforeRecording) {
    fixture.block(10, 20, 30);
    _bstr_t name(L"Bracket body");
    ASSERT_EQ(collectNewFeatures(part, "Base1", name, 0), 1);
    EXPECT_EQ(std::u16string(part.featureRecords.back().swName), u"Bracket body");
    EXPECT_FALSE(part.lastFeature) << "remember 0 leaves the walk start alone";
}

TEST_F(CollectNewFeatures, TheRememberedFeatureStartsTheNextWalk) {
    fixture.block(10, 20, 30);
    _bstr_t name;
    ASSERT_EQ(collectNewFeatures(part, "Base1", name, 1), 1);
    fixture.kit().journal().clear();
    fixture.extrude(fixture.circleSketch("Front Plane", 5, 5, 2), 5, true, true);
    _bstr_t cut;
    ASSERT_EQ(collectNewFeatures(part, "Cut1", cut, 1), 1);
    // The walk starts at the recorded block: only the block, the sketch and the cut are read.
    EXPECT_EQ(fixture.kit().journal().count("IModelDoc2::FirstFeature"), 0u);
    EXPECT_EQ(fixture.kit().journal().count("IFeature::GetNext"), 2u);
}

TEST_F(CollectNewFeatures, WithoutDocumentOrOnFailure) {
    swPartC empty;
    _bstr_t name;
    EXPECT_EQ(collectNewFeatures(empty, "X", name, 1), 0);

    fixture.block(10, 20, 30);
    fixture.kit().plan().failWith("IFeature::GetTypeName", E_FAIL);
    EXPECT_THROW(collectNewFeatures(part, "Base1", name, 1), _com_error);
    EXPECT_EQ(part.featureRecords.size(), templateItems) << "nothing recorded on failure";
}

} // namespace
