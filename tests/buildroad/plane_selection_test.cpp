// Adopting reference planes from the feature list, fixed planes through three points, and
// naming a new axis.
#include "tests/buildroad/buildroad_fixture.h"

#include "libs/geomcore/buildsw3d/plane_selection.h"
#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/model/part_document.h"

namespace {

using PlaneSelection = partBuildTest;

TEST_F(PlaneSelection, TemplatePlanesAreAdoptedOneByOneInListOrder) {
    std::vector<std::string> names;
    for (;;) {
        _bstr_t name;
        if (!findRefPlane(*part_, "", name, 1))
            break;
        names.push_back(static_cast<const char*>(name));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Front Plane", "Top Plane", "Right Plane"}));
    ASSERT_EQ(part_->planeRecords.size(), 3u);

    // Nothing left: the name passed in stays as it was and nothing is recorded.
    _bstr_t name("Wanted");
    EXPECT_FALSE(findRefPlane(*part_, "M", name, 1));
    EXPECT_TRUE(name == "Wanted");
    EXPECT_EQ(part_->planeRecords.size(), 3u);
}

TEST_F(PlaneSelection, ANameGivenRenamesTheAdoptedPlane) {
    _bstr_t name("Base");
    ASSERT_TRUE(findRefPlane(*part_, "XY", name, 0));
    EXPECT_TRUE(name == "Base");
    EXPECT_TRUE(planeNamed("Base"));
    _bstr_t swName;
    ASSERT_EQ(part_->findPlaneSwName("XY", swName), 1);
    EXPECT_TRUE(swName == "Base");
    EXPECT_FALSE(part_->lastFeature);
}

TEST_F(PlaneSelection, ATakenNameLeavesThePlaneItsOwnAndTheCallerIsTold) {
    _bstr_t name("Top Plane");
    ASSERT_TRUE(findRefPlane(*part_, "M", name, 1));
    EXPECT_TRUE(name == "Front Plane");
    EXPECT_EQ(part_->hasPlaneSwName("Front Plane"), 1);
}

TEST_F(PlaneSelection, SecondPassStartsAtTheFirstFeature) {
    part_->addPlaneRecord(planeNamed("Top Plane"), "");
    part_->addPlaneRecord(planeNamed("Right Plane"), "");
    featurePtrFromUnknown(part_->lastFeature, planeNamed("Right Plane"));
    _bstr_t name;
    ASSERT_TRUE(findRefPlane(*part_, "", name, 1));
    EXPECT_TRUE(name == "Front Plane");
    IFeaturePtr front;
    featurePtrFromUnknown(front, planeNamed("Front Plane"));
    EXPECT_EQ(part_->lastFeature.GetInterfacePtr(), front.GetInterfacePtr());
}

TEST_F(PlaneSelection, NoDocumentFindsNothing) {
    part_->modelDoc = nullptr;
    _bstr_t name;
    EXPECT_FALSE(findRefPlane(*part_, "", name, 1));
}

TEST_F(PlaneSelection, FixedPlaneThroughThreePointsIsRecordedAndSelected) {
    adoptTemplatePlanes();
    _bstr_t name("Tilted");
    ASSERT_EQ(selectSketchPlane(*part_, {0, 0, 20}, {1, 0, 0}, {0, 1, 1}, "T", name), 1);
    EXPECT_TRUE(name == "Tilted");
    _bstr_t swName;
    ASSERT_EQ(part_->findPlaneSwName("T", swName), 1);
    EXPECT_TRUE(swName == "Tilted");

    const std::vector<double> geometry =
        readDoubleArray(refPlaneGetGeometry(planeNamed("Tilted")), 12);
    EXPECT_NEAR(geometry[2], 20.0, 1e-9);
    EXPECT_NEAR(geometry[7], -std::sqrt(0.5), 1e-9);
    EXPECT_NEAR(geometry[8], std::sqrt(0.5), 1e-9);

    const ISelectionManagerPtr selection = modelDocGetSelectionManager(session_->doc());
    IFeaturePtr selected;
    featurePtrFromUnknown(selected, selMgrGetSelectedObject(selection, 1));
    ASSERT_TRUE(selected);
    EXPECT_TRUE(featureGetName(selected) == "Tilted");
    EXPECT_EQ(kit().journal().count("IModelDoc2::FixSelectedPlane"), 1u);
}

TEST_F(PlaneSelection, RefusedPlaneRecordsNothing) {
    adoptTemplatePlanes();
    _bstr_t name;
    // Collinear points make no plane.
    EXPECT_EQ(selectSketchPlane(*part_, {0, 0, 0}, {1, 0, 0}, {2, 0, 0}, "T", name), 0);
    EXPECT_EQ(part_->planeRecords.size(), 3u);

    part_->modelDoc = nullptr;
    try {
        selectSketchPlane(*part_, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, "T", name);
        FAIL() << "a plane was made without a document";
    } catch (const _com_error& error) {
        EXPECT_EQ(error.Error(), E_POINTER);
    }
}

TEST_F(PlaneSelection, NewAxisNamingLeavesOtherFeaturesAlone) {
    adoptTemplatePlanes();
    _bstr_t name;
    ASSERT_EQ(selectSketchPlane(*part_, {0, 0, 5}, {1, 0, 0}, {0, 1, 0}, "P", name), 1);
    kit().journal().clear();
    nameAndHideNewRefAxis(*part_, "Axis of P");
    EXPECT_EQ(kit().journal().count("IFeature::SetName"), 0u);
    EXPECT_EQ(kit().journal().count("IModelDoc2::HideSelection"), 0u);
}

TEST_F(PlaneSelection, NewAxisIsNamedSelectedAloneAndHidden) {
    adoptTemplatePlanes();
    ASSERT_TRUE(session_->model().addAxis({0, 0, 0}, {0, 0, 1}));
    kit().journal().clear();
    nameAndHideNewRefAxis(*part_, "Axis of P");
    EXPECT_EQ(kit().journal().order(
                  {"IFeature::SetName", "IFeature::Select", "IModelDoc2::HideSelection"}),
              (std::vector<std::string>{"IFeature::SetName", "IFeature::Select",
                                        "IModelDoc2::HideSelection"}));
    const auto selects = kit().journal().calls("IFeature::Select");
    ASSERT_EQ(selects.size(), 1u);
    EXPECT_EQ(selects[0].args, (std::vector<std::string>{"0", "0"}));
    const auto axis = session_->model().findFeature("Axis of P");
    ASSERT_TRUE(axis);
    EXPECT_TRUE(axis->hidden());
    // An axis is no plane: nothing is recorded for it.
    EXPECT_EQ(part_->planeRecords.size(), 3u);
}

} // namespace
