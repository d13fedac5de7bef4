// The SKETCH handler on a part of the simulated session: where the sketch is placed (recorded
// plane, planar face, new fixed plane), what is recorded, the sketch mode, and its failures.
#include "libs/geomcore/buildsw3d/plane_selection.h"
#include "libs/geomcore/buildsw3d/sketch_handler.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/sw3ddoc/sw_part.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swtools/error.h"
#include "metamodel/core/registry.h"
#include "metamodel/m3d/register.h"
#include "platform/host/services/host_services.h"
#include "platform/host/services/log.h"
#include "platform/host/services/messages.h"
#include "platform/sldworks/model/part_document.h"
#include "platform/sldworks/model/sketch.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const std::string rectangle = "(LOOP (LINE (POINT 0 0) (POINT 2 0)) (LINE (POINT 2 0) (POINT 2 1))"
                              " (LINE (POINT 2 1) (POINT 0 1)) (LINE (POINT 0 1) (POINT 0 0)))";

class SketchHandlerTest : public ::testing::Test {
protected:
    void SetUp() override {
        hostsvc::resetHostServices();
        registerMetaCoreClasses();
        registerM3dClasses();
        EXPECT_TRUE(partNode.ctorFromText("(PART (NAME \"P\") (ITEMS))"));
        part = std::make_unique<swPartC>(partNode.getTreePtr());
        part->modelDoc = f.docPtr();
        creation.app = f.appPtr();
        for (;;) {
            _bstr_t name;
            if (!findRefPlane(*part, mzComStringC(), name, 1))
                break;
        }
        f.kit().reset();
    }
    void TearDown() override {
        part.reset();
        hostsvc::resetHostServices();
    }

    // Places the SKETCH node of `text` into the part's ITEMS and runs the handler on it.
    void run(const std::string& text) {
        metaObjectC node;
        ASSERT_TRUE(node.ctorFromText(text.c_str())) << text;
        const metaTreePtrT placed =
            metaObjectC(partNode.findChild("ITEMS")).appendChild(node.getTreePtr());
        swMetaReaderC reader(creation);
        reader.addCommand(std::make_unique<swMeta3dSketchC>());
        reader.exeNode(placed, part.get());
    }
    static std::string sketchNode(const std::string& placement,
                                  const std::string& mat = "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1",
                                  const std::string& name = "S1") {
        return "(SKETCH (NAME \"" + name + "\") (MAT " + mat + ") (SKETCHON " + placement + ") " +
               rectangle + ")";
    }
    // The model's sketch of the recorded sketch `metaName`.
    swsim::SketchPtr recordedSketch(const char* metaName) {
        _bstr_t swName;
        ISketchPtr sketch;
        if (!part->findSketchRecord(metaName, swName, sketch))
            return nullptr;
        return std::dynamic_pointer_cast<swsim::Sketch>(
            f.model().findFeature(static_cast<const char*>(swName)));
    }
    std::string placementName(const swsim::SketchPtr& sketch) {
        const auto feature = std::dynamic_pointer_cast<swsim::Feature>(sketch->placement());
        return feature ? feature->name() : std::string();
    }
    std::size_t planeRecords() const { return part->getPlaneRecords().size(); }

    partFixtureC f;
    metaObjectC partNode;
    std::unique_ptr<swPartC> part;
    swCreation3dS creation;
};

TEST_F(SketchHandlerTest, OnARecordedPlaneFoundByGeometry) {
    const std::size_t planes = planeRecords();
    run(sketchNode("(PLANE \"XY\")", "1 0 0 0 0 1 0 0 0 0 1 0 1 1 0 1"));
    const swsim::SketchPtr sketch = recordedSketch("S1");
    ASSERT_TRUE(sketch);
    EXPECT_EQ(placementName(sketch), "Front Plane");
    EXPECT_EQ(planeRecords(), planes);
    EXPECT_FALSE(f.model().activeSketch()) << "the sketch is closed";
    ASSERT_EQ(sketch->segments().size(), 4u);
    const swsim::Vec3 corner = sketch->segments()[1]->end()->modelPosition();
    EXPECT_NEAR(corner.x, 3, 1e-12);
    EXPECT_NEAR(corner.y, 2, 1e-12);
    EXPECT_NEAR(corner.z, 0, 1e-12);
    const auto select = f.kit().journal().calls("IModelDoc2::SelectByName");
    ASSERT_EQ(select.size(), 1u);
    EXPECT_EQ(select[0].args,
              (std::vector<std::string>{"\"Front Plane\"", "\"PLANE\"", "0", "0", "0"}));
    EXPECT_EQ(part->getSketchRecords().back().swName, _bstr_t(sketch->name().c_str()));
}

TEST_F(SketchHandlerTest, OnAPlaneRecordedByName) {
    _bstr_t planeName;
    ASSERT_EQ(selectSketchPlane(*part, {0, 0, 5}, {1, 0, 0}, {0, 1, 0}, "P1", planeName), 1);
    f.kit().reset();
    // The sketch's own placement lies elsewhere: the name decides.
    run(sketchNode("(PLANE \"P1\")"));
    const swsim::SketchPtr sketch = recordedSketch("S1");
    ASSERT_TRUE(sketch);
    EXPECT_EQ(placementName(sketch), static_cast<const char*>(planeName));
    EXPECT_NEAR(sketch->segments()[0]->start()->modelPosition().z, 5, 1e-12);
}

TEST_F(SketchHandlerTest, UnknownPlaneFallsBackToAFixedPlane) {
    const std::size_t planes = planeRecords();
    // Placement in the plane x = 7, sketch X along model Y, sketch Y along model Z.
    run(sketchNode("(PLANE \"NOWHERE\")", "0 1 0 0 0 0 1 0 1 0 0 0 7 0 0 1"));
    ASSERT_EQ(planeRecords(), planes + 1);
    _bstr_t fixedName;
    ASSERT_EQ(part->findPlaneSwName("S1", fixedName), 1);
    const swsim::SketchPtr sketch = recordedSketch("S1");
    ASSERT_TRUE(sketch);
    EXPECT_EQ(placementName(sketch), static_cast<const char*>(fixedName));
    const swsim::Vec3 corner = sketch->segments()[1]->end()->modelPosition();
    EXPECT_NEAR(corner.x, 7, 1e-9);
    EXPECT_NEAR(corner.y, 2, 1e-9);
    EXPECT_NEAR(corner.z, 1, 1e-9);
}

TEST_F(SketchHandlerTest, PlaneThatCannotBeSelectedFallsBackToAFixedPlane) {
    const std::size_t planes = planeRecords();
    f.kit().plan().returnNull("IModelDoc2::SelectByName", 1);
    run(sketchNode("(PLANE \"XY\")"));
    EXPECT_EQ(planeRecords(), planes + 1);
    const swsim::SketchPtr sketch = recordedSketch("S1");
    ASSERT_TRUE(sketch);
    EXPECT_NE(placementName(sketch), "Front Plane");
}

TEST_F(SketchHandlerTest, OnAPlanarFace) {
    f.block(4, 3, 2);
    f.kit().reset();
    const std::size_t planes = planeRecords();
    run(sketchNode("(FACE (POINT3D 1 1 2) (VEC3D 0 0 1))", "1 0 0 0 0 1 0 0 0 0 1 0 1 1 2 1"));
    EXPECT_EQ(planeRecords(), planes);
    const swsim::SketchPtr sketch = recordedSketch("S1");
    ASSERT_TRUE(sketch);
    ASSERT_TRUE(sketch->placement());
    EXPECT_EQ(sketch->placement()->objectKind(), swsim::ObjectKind::Face);
    const swsim::Vec3 corner = sketch->segments()[1]->end()->modelPosition();
    EXPECT_NEAR(corner.x, 3, 1e-9);
    EXPECT_NEAR(corner.y, 2, 1e-9);
    EXPECT_NEAR(corner.z, 2, 1e-9);
    EXPECT_EQ(f.kit().journal().calls("IEntity::Select").at(0).args, std::vector<std::string>{"0"});
}

TEST_F(SketchHandlerTest, FaceNotFoundOrNotSelectedFallsBackToAFixedPlane) {
    f.block(4, 3, 2);
    f.kit().reset();
    const std::size_t planes = planeRecords();
    // The face's normal points the other way.
    run(sketchNode("(FACE (POINT3D 1 1 2) (VEC3D 0 0 -1))", "1 0 0 0 0 1 0 0 0 0 1 0 0 0 2 1"));
    EXPECT_EQ(planeRecords(), planes + 1);
    f.kit().plan().returnNull("IEntity::Select");
    run(sketchNode("(FACE (POINT3D 1 1 2) (VEC3D 0 0 1))", "1 0 0 0 0 1 0 0 0 0 1 0 0 0 2 1",
                   "S2"));
    EXPECT_EQ(planeRecords(), planes + 2);
    const swsim::SketchPtr sketch = recordedSketch("S2");
    ASSERT_TRUE(sketch);
    EXPECT_EQ(sketch->placement()->objectKind(), swsim::ObjectKind::Feature);
}

TEST_F(SketchHandlerTest, ASketchLeftOpenIsClosedFirst) {
    modelDocSelectByName(f.doc(), "Top Plane", "PLANE", 0, 0, 0);
    ASSERT_EQ(modelDocInsertSketch(f.doc(), VARIANT_TRUE), S_OK);
    f.kit().reset();
    run(sketchNode("(PLANE \"XY\")"));
    const std::vector<std::string> order = f.kit().journal().order(
        {"IModelDoc2::GetEditedSketch", "IModelDoc2::InsertSketch", "IModelDoc2::ClearSelection"});
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(order[0], "IModelDoc2::GetEditedSketch");
    EXPECT_EQ(order[1], "IModelDoc2::InsertSketch");
    EXPECT_EQ(order[2], "IModelDoc2::ClearSelection");
    EXPECT_EQ(placementName(recordedSketch("S1")), "Front Plane");
}

TEST_F(SketchHandlerTest, FailureToOpenRecordsNothing) {
    f.kit().plan().returnSFalse("IModelDoc2::InsertSketch", 1);
    try {
        run(sketchNode("(PLANE \"XY\")"));
        FAIL();
    } catch (const errorC& error) {
        EXPECT_EQ(error.getMessage().toUtf8(), "Error while creating sketch \"S1\"");
    }
    EXPECT_TRUE(part->getSketchRecords().empty());
    ASSERT_EQ(hostsvc::shownMessages().size(), 1u);
    EXPECT_NE(hostsvc::shownMessages()[0].text.find("Error while creating sketch \"S1\""),
              std::string::npos);
}

TEST_F(SketchHandlerTest, FailureToCloseKeepsTheRecord) {
    // SolidWorks answers the closing call with a success code other than S_OK.
    f.kit().plan().returnSFalse("IModelDoc2::InsertSketch", 2);
    try {
        run(sketchNode("(PLANE \"XY\")"));
        FAIL();
    } catch (const errorC& error) {
        EXPECT_EQ(error.getMessage().toUtf8(), "Could not finish sketch \"S1\"");
    }
    EXPECT_EQ(part->getSketchRecords().size(), 1u);
    // The next sketch closes the one left open and is built.
    f.kit().reset();
    run(sketchNode("(PLANE \"XY\")", "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1", "S2"));
    EXPECT_TRUE(recordedSketch("S2"));
    EXPECT_FALSE(f.model().activeSketch());
}

TEST_F(SketchHandlerTest, FailingConstraintWalkIsLoggedAndTheSketchFinished) {
    hostsvc::setLogCapture(true);
    f.kit().plan().failWith("IModelDoc2::BeforeSketchWalk", E_FAIL);
    run(sketchNode("(PLANE \"XY\")"));
    EXPECT_TRUE(recordedSketch("S1"));
    EXPECT_FALSE(f.model().activeSketch());
    bool logged = false;
    for (const hostsvc::LogRecord& record : hostsvc::capturedLogRecords())
        logged =
            logged || record.text.find("Could not constrain sketch \"S1\"") != std::string::npos;
    EXPECT_TRUE(logged);
}

TEST_F(SketchHandlerTest, SketchModeFromTheCreationOptions) {
    run(sketchNode("(PLANE \"XY\")"));
    EXPECT_EQ(f.kit().journal().count("IConstraintManager::AddConstraint"), 0u);
    EXPECT_EQ(f.kit().journal().count("ISketch::CheckStatus"), 1u);

    metaObjectC options;
    ASSERT_TRUE(options.ctorFromText(
        "(CREAOPTS (CREAOPTSETS (CREAOPTSET (NAME \"SketchMode\") (TYP \"INT\") (VAL \"2\"))))"));
    creation.creationOptions = options.getTreePtr();
    f.kit().reset();
    run(sketchNode("(PLANE \"XY\")", "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1", "S2"));
    EXPECT_GT(f.kit().journal().count("IConstraintManager::AddConstraint"), 0u);
    // The part's own options come first.
    metaObjectC own;
    ASSERT_TRUE(own.ctorFromText(
        "(CREAOPTS (CREAOPTSETS (CREAOPTSET (NAME \"SketchMode\") (TYP \"INT\") (VAL \"3\"))))"));
    partNode.appendChild(own.getTreePtr());
    f.kit().reset();
    run(sketchNode("(PLANE \"XY\")", "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1", "S3"));
    EXPECT_EQ(f.kit().journal().count("IConstraintManager::AddConstraint"), 0u);
    EXPECT_EQ(f.kit().journal().count("ISketch::GetStatus"), 0u);
}

TEST_F(SketchHandlerTest, EmptyNameIsRecordedAsIs) {
    run(sketchNode("(PLANE \"XY\")", "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1", ""));
    ASSERT_EQ(part->getSketchRecords().size(), 1u);
    EXPECT_TRUE(part->getSketchRecords()[0].metaName.isEmpty());
}

} // namespace
