#include "tests/sldworks_model/fixtures.h"

#include <gmock/gmock.h>

namespace swsim {
namespace {

using test::makeBlock;

std::vector<std::string> names(const PartDocument& doc) {
    std::vector<std::string> out;
    for (auto f = doc.firstFeature(); f; f = doc.nextFeature(*f))
        out.push_back(f->name());
    return out;
}

TEST(SwsimPartTemplate, ItemsThenThePlanesWithTheirNormals) {
    auto doc = PartDocument::create();
    EXPECT_THAT(names(*doc),
                ::testing::ElementsAre("Sensors", "Annotations", "Solid Bodies", "Surface Bodies",
                                       "Material <not specified>", "Origin", "Front Plane",
                                       "Top Plane", "Right Plane"));
    EXPECT_EQ(doc->features()[2]->typeName(), "SolidBodyFolder");
    EXPECT_EQ(doc->features()[3]->typeName(), "SurfaceBodyFolder");
    EXPECT_EQ(doc->frontPlane()->typeName(), "RefPlane");
    EXPECT_EQ(doc->frontPlane()->normal(), (Vec3{0, 0, 1}));
    EXPECT_EQ(doc->topPlane()->normal(), (Vec3{0, 1, 0}));
    EXPECT_EQ(doc->rightPlane()->normal(), (Vec3{1, 0, 0}));
    // Each plane's axes are right-handed.
    for (auto p : {doc->frontPlane(), doc->topPlane(), doc->rightPlane()}) {
        const Frame& f = p->frame();
        EXPECT_EQ(cross(f.xDir, f.yDir), f.zDir) << p->name();
    }
    const auto g = doc->topPlane()->geometryArray();
    ASSERT_GE(g.size(), 9u);
    EXPECT_EQ((std::vector<double>(g.begin(), g.begin() + 9)),
              (std::vector<double>{0, 0, 0, 1, 0, 0, 0, 1, 0}));
    EXPECT_FALSE(doc->modified());
}

TEST(SwsimFeatureNames, AutomaticPerKindAndUniqueOnRename) {
    auto doc = PartDocument::create();
    auto plane = doc->addPlaneThroughPoints({0, 0, 1}, {1, 0, 1}, {0, 1, 1});
    ASSERT_TRUE(plane);
    EXPECT_EQ(plane->name(), "Plane1");
    auto block = makeBlock(*doc);
    ASSERT_TRUE(block) << doc->lastError();
    EXPECT_EQ(block->name(), "Boss-Extrude1");
    EXPECT_EQ(block->typeName(), "Boss");
    EXPECT_EQ(doc->findFeature("Sketch1")->typeName(), "ProfileFeature");
    EXPECT_EQ(doc->newestFeature(), block);

    // A name in use is refused and the old name stays.
    EXPECT_FALSE(block->setName("Sketch1"));
    EXPECT_EQ(block->name(), "Boss-Extrude1");
    EXPECT_FALSE(block->setName(""));
    EXPECT_TRUE(block->setName("Base"));
    EXPECT_EQ(doc->findFeature("Base"), block);

    // A taken automatic name is skipped.
    EXPECT_TRUE(plane->setName("Sketch2"));
    auto s = doc->open3DSketch();
    ASSERT_TRUE(s);
    EXPECT_EQ(s->name(), "3DSketch1");
    EXPECT_EQ(s->typeName(), "3DProfileFeature");
    doc->closeSketch();
    auto s2 = doc->openSketch(doc->topPlane());
    ASSERT_TRUE(s2);
    EXPECT_EQ(s2->name(), "Sketch3");
}

TEST(SwsimFeatureList, IdentityFlagsAndWalk) {
    auto doc = PartDocument::create();
    auto block = makeBlock(*doc);
    ASSERT_TRUE(block);
    EXPECT_EQ(doc->findFeature("Boss-Extrude1").get(), block.get());
    EXPECT_EQ(doc->nextFeature(*doc->findFeature("Right Plane"))->name(), "Sketch1");
    EXPECT_EQ(doc->nextFeature(*block), nullptr);
    block->setHidden(true);
    EXPECT_TRUE(block->hidden());

    Feature stray(FeatureKind::Item, "X");
    EXPECT_EQ(doc->nextFeature(stray), nullptr);
    EXPECT_FALSE(stray.setName("Y"));
}

TEST(SwsimReferenceGeometry, PlanesAndAxes) {
    auto doc = PartDocument::create();
    const size_t before = doc->features().size();
    EXPECT_FALSE(doc->addPlaneThroughPoints({0, 0, 0}, {1, 1, 1}, {2, 2, 2}));
    EXPECT_FALSE(doc->addPlaneThroughPoints({0, 0, 0}, {0, 0, 0}, {0, 1, 0}));
    EXPECT_EQ(doc->features().size(), before);
    EXPECT_FALSE(doc->lastError().empty());

    // Origin O, O + U, O + V: normal U x V, X along U.
    auto p = doc->addPlaneThroughPoints({1, 2, 3}, {1, 2, 4}, {2, 2, 3});
    ASSERT_TRUE(p);
    EXPECT_EQ(p->normal(), (Vec3{0, 1, 0}));
    EXPECT_EQ(p->frame().xDir, (Vec3{0, 0, 1}));
    const auto g = p->geometryArray();
    EXPECT_EQ((std::vector<double>(g.begin(), g.begin() + 3)), (std::vector<double>{1, 2, 3}));

    auto off = doc->addOffsetPlane(doc->frontPlane(), 5, false);
    auto flipped = doc->addOffsetPlane(doc->frontPlane(), 5, true);
    ASSERT_TRUE(off && flipped);
    EXPECT_EQ(off->frame().origin, (Vec3{0, 0, 5}));
    EXPECT_EQ(flipped->frame().origin, (Vec3{0, 0, -5}));
    EXPECT_EQ(off->normal(), (Vec3{0, 0, 1}));
    EXPECT_FALSE(doc->addOffsetPlane(doc->frontPlane(), -1, false));
    EXPECT_FALSE(doc->addOffsetPlane(nullptr, 1, false));

    auto axis = doc->addAxis({0, 0, 0}, {0, 0, 2});
    ASSERT_TRUE(axis);
    EXPECT_EQ(axis->name(), "Axis1");
    EXPECT_EQ(axis->typeName(), "RefAxis");
    EXPECT_EQ(axis->direction(), (Vec3{0, 0, 1}));
    EXPECT_FALSE(doc->addAxis({1, 1, 1}, {1, 1, 1}));
}

TEST(SwsimSelection, ByNameByIdAndAppend) {
    auto doc = PartDocument::create();
    auto sketch = doc->openSketch(doc->frontPlane());
    ASSERT_TRUE(sketch);
    auto centre = sketch->addPoint({3, 4, 0});
    auto line = sketch->addLine({0, 0, 0}, {1, 0, 0});
    doc->closeSketch();

    EXPECT_TRUE(doc->selectByName("Top Plane", "PLANE", {0, 0, 0}, false, 0));
    EXPECT_TRUE(doc->selectByName("Front Plane", "PLANE", {0, 0, 0}, true, 4));
    ASSERT_EQ(doc->selection().count(), 2);
    EXPECT_EQ(doc->selection().objectAt(1), doc->frontPlane());
    EXPECT_EQ(doc->selection().entries()[1].mark, 4);

    // A miss leaves the selection as it was.
    EXPECT_FALSE(doc->selectByName("Nowhere", "PLANE", {0, 0, 0}, false, 0));
    EXPECT_FALSE(doc->selectByName("Sketch1", "PLANE", {0, 0, 0}, false, 0));
    EXPECT_EQ(doc->selection().count(), 2);

    EXPECT_TRUE(doc->selectByName("Point1@Sketch1", "EXTSKETCHPOINT", {3, 4, 0}, false, 0));
    EXPECT_EQ(doc->selection().objectAt(0), centre);
    EXPECT_TRUE(doc->selectByName("Line1@Sketch1", "EXTSKETCHSEGMENT", {0, 0, 0}, true, 0));
    EXPECT_EQ(doc->selection().objectAt(1), line);
    EXPECT_FALSE(doc->selectByName("Line1@Sketch1", "EXTSKETCHPOINT", {0, 0, 0}, true, 0));
    EXPECT_EQ(doc->selectedSketch(), sketch);

    // A plane and a sketch point make an axis through the point along the normal.
    EXPECT_TRUE(doc->selectByName("Front Plane", "PLANE", {0, 0, 0}, false, 0));
    EXPECT_TRUE(doc->selectByName("Point1@Sketch1", "EXTSKETCHPOINT", {0, 0, 0}, true, 0));
    auto axis = doc->addAxisFromSelection();
    ASSERT_TRUE(axis);
    EXPECT_EQ(axis->point(), (Vec3{3, 4, 0}));
    EXPECT_EQ(axis->direction(), (Vec3{0, 0, 1}));

    doc->clearSelection();
    EXPECT_EQ(doc->selection().count(), 0);
    EXPECT_FALSE(doc->addAxisFromSelection());
}

} // namespace
} // namespace swsim
