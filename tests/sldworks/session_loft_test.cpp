// The sweep calls: a ruled loft through the sketches selected with mark 1, added or cut, with
// the mark-2 path recorded; saved and reopened, the part replays it.
#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/model/part_document.h"
#include "platform/sldworks/testkit/fixtures.h"
#include "tests/hostservices/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

// A frustum of a square pyramid between parallel squares of sides a and b, h apart.
double frustum(double a, double b, double h) {
    return h / 3.0 * (a * a + b * b + a * b);
}

double solidVolume(IModelDoc2* doc) {
    return massPropGetVolume(docExtCreateMassProperty(modelDocGetExtension(doc)));
}

class SessionLoft : public ::testing::Test {
protected:
    // A square of side s centred on the Z axis, on a plane z above the Front Plane.
    std::string square(double z, double s) {
        std::string plane = "Front Plane";
        if (z != 0.0)
            plane = part.model().addOffsetPlane(part.model().frontPlane(), z, false)->name();
        return part.rectangleSketch(plane, -s / 2, -s / 2, s, s);
    }
    void select(const std::string& sketch, long mark) {
        docExtSelectById(modelDocGetExtension(part.doc()), sketch.c_str(), "SKETCH", 0, 0, 0,
                         VARIANT_TRUE, mark, nullptr);
    }
    IFeaturePtr sweep() {
        return featureMgrCreateSweep(modelDocGetFeatureManager(part.doc()), 0, 0, VARIANT_FALSE,
                                     1.0, VARIANT_FALSE, VARIANT_FALSE, 0.0, 0.0, VARIANT_TRUE,
                                     VARIANT_TRUE, VARIANT_FALSE, 0.0, 0.0, VARIANT_FALSE,
                                     VARIANT_TRUE, VARIANT_FALSE, VARIANT_TRUE);
    }
    IFeaturePtr cutSweep() {
        return featureMgrCreateSweepNonZeroOp(
            modelDocGetFeatureManager(part.doc()), 0, 0, VARIANT_FALSE, 1.0, VARIANT_FALSE,
            VARIANT_FALSE, VARIANT_FALSE, 0.0, 0.0, VARIANT_FALSE, VARIANT_FALSE, VARIANT_TRUE);
    }

    partFixtureC part;
};

TEST_F(SessionLoft, HandleThroughThreeSquaresIsTwoFrustumsAndReplaysWhenReopened) {
    const std::string bottom = square(0, 20);
    const std::string waist = square(30, 10);
    const std::string top = square(60, 20);
    const swsim::SketchPtr path = part.model().open3DSketch();
    path->addLine({-10, -10, 0}, {-5, -5, 30});
    part.model().closeSketch();
    for (const std::string& sketch : {bottom, waist, top})
        select(sketch, 1);
    select(path->name(), 2);

    const IFeaturePtr loft = sweep();
    ASSERT_TRUE(loft) << part.model().lastError();
    EXPECT_EQ(std::string(featureGetTypeName(loft)), "Loft");
    EXPECT_EQ(std::string(featureGetName(loft)), "Loft1");
    const double byHand = 2 * frustum(20, 10, 30);
    EXPECT_NEAR(solidVolume(part.doc()), byHand, byHand * 1e-9);
    EXPECT_EQ(part.model().selection().count(), 0);

    const TempFolder folder;
    const std::string file = (folder.path() / "loft.sldprt").string();
    part.save(file);
    const swsim::PartDocumentPtr reopened = swsim::PartDocument::open(file);
    const auto feature =
        std::dynamic_pointer_cast<swsim::SolidFeature>(reopened->findFeature("Loft1"));
    ASSERT_TRUE(feature);
    EXPECT_EQ(feature->kind(), swsim::FeatureKind::Loft);
    EXPECT_EQ(feature->parameters(), (std::vector<std::pair<std::string, double>>{
                                         {"cut", 0.0}, {"profiles", 3.0}, {"guide", 1.0}}));
    EXPECT_NEAR(reopened->massProperties().volume, byHand, byHand * 1e-9);
}

TEST_F(SessionLoft, CutLoftRemovesAFrustumFromTheBlock) {
    part.block(40, 40, 20);
    // Squares centred over the block's middle: 10 at the bottom, 20 at the top.
    const std::string low = part.rectangleSketch("Front Plane", 15, 15, 10, 10);
    const std::string plane =
        part.model().addOffsetPlane(part.model().frontPlane(), 20, false)->name();
    const std::string high = part.rectangleSketch(plane, 10, 10, 20, 20);
    select(low, 1);
    select(high, 1);
    const IFeaturePtr cut = cutSweep();
    ASSERT_TRUE(cut) << part.model().lastError();
    EXPECT_EQ(std::string(featureGetTypeName(cut)), "CutLoft");
    const double byHand = 40 * 40 * 20 - frustum(10, 20, 20);
    EXPECT_NEAR(solidVolume(part.doc()), byHand, byHand * 1e-9);
}

TEST_F(SessionLoft, OneProfileOrOneWithAHoleMakesNoLoft) {
    const std::string bottom = square(0, 20);
    select(bottom, 1);
    EXPECT_FALSE(sweep());

    // A ring: a section with a hole is refused rather than lofted without it.
    const swsim::SketchPtr ring =
        part.model().openSketch(part.model().addOffsetPlane(part.model().frontPlane(), 10, false));
    ring->addCircle({0, 0, 0}, 8);
    ring->addCircle({0, 0, 0}, 4);
    part.model().closeSketch();
    select(ring->name(), 1);
    EXPECT_FALSE(sweep());
    EXPECT_NE(part.model().lastError().find("without holes"), std::string::npos)
        << part.model().lastError();
    EXPECT_TRUE(part.model().bodies().empty());
}

} // namespace
