// Configurations, dimensions and the document data of the model: suppression and dimension
// values per configuration replayed on activation, revolution angles driven by their
// dimension, failed rebuilds, and the part and assembly files keeping all of it.
#include "platform/sldworks/model/assembly_document.h"
#include "tests/sldworks_model/fixtures.h"

#include <fstream>
#include <numbers>

namespace swsim {
namespace {

constexpr double pi = std::numbers::pi;

using SwsimConfigurations = test::FolderTest;

TEST_F(SwsimConfigurations, NewConfigurationsCopyTheActiveOnesStateAndBecomeActive) {
    auto doc = PartDocument::create();
    auto block = test::makeBlock(*doc);
    ASSERT_TRUE(block);
    EXPECT_EQ(doc->activeConfiguration()->name(), "Default");
    block->setSuppressed(true); // in the active configuration only
    EXPECT_DOUBLE_EQ(test::volume(*doc), 0.0);
    ASSERT_TRUE(doc->addConfiguration("Copy"));
    EXPECT_EQ(doc->activeConfiguration()->name(), "Copy");
    EXPECT_TRUE(doc->suppressedIn(*block, "Copy"));
    EXPECT_FALSE(doc->addConfiguration("Copy"));
    EXPECT_FALSE(doc->addConfiguration(""));

    ASSERT_TRUE(doc->setSuppression(block, false, {"Copy"}));
    EXPECT_NEAR(test::volume(*doc), 1000.0, 1e-6);
    EXPECT_TRUE(doc->showConfiguration("Default"));
    EXPECT_TRUE(block->suppressed());
    EXPECT_DOUBLE_EQ(test::volume(*doc), 0.0);
    EXPECT_FALSE(doc->showConfiguration("Nowhere"));
    EXPECT_FALSE(doc->setSuppression(block, false, {"Copy", "Nowhere"}));
    EXPECT_TRUE(doc->suppressedIn(*block, "Default"));
}

TEST_F(SwsimConfigurations, RevolutionAngleIsDrivenByItsDimension) {
    auto doc = PartDocument::create();
    auto s = doc->openSketch(doc->frontPlane());
    test::addRectangle(*s, 1, 0, 3, 4);
    s->addCentreLine({0, 0, 0}, {0, 1, 0});
    RevolveSpec request;
    request.angle1 = pi;
    auto ring = doc->addRevolution(s, request);
    ASSERT_TRUE(ring) << doc->lastError();
    const auto dims = doc->dimensionsOf(*ring);
    ASSERT_EQ(dims.size(), 1u);
    EXPECT_EQ(dims[0]->fullName(), "D1@Revolve1");
    EXPECT_TRUE(dims[0]->angular());
    const double half = pi * 8 * 4 / 2;
    EXPECT_NEAR(test::volume(*doc), half, 1e-6);
    ASSERT_TRUE(doc->addConfiguration("Quarter"));
    ASSERT_TRUE(doc->setDimensionValue(dims[0], pi / 2, {"Quarter"}));
    EXPECT_NEAR(test::volume(*doc), half / 2, 1e-6);
    EXPECT_DOUBLE_EQ(doc->dimensionValueIn(*dims[0], "Default"), pi);
    doc->showConfiguration("Default");
    EXPECT_NEAR(test::volume(*doc), half, 1e-6);
    // A renamed feature renames its dimensions.
    ASSERT_TRUE(ring->setName("Ring"));
    EXPECT_EQ(doc->findDimension("D1@Ring"), dims[0]);
}

TEST_F(SwsimConfigurations, ARebuildWithAnImpossibleValueFailsAndSaysWhy) {
    auto doc = PartDocument::create();
    auto block = test::makeBlock(*doc);
    const DimensionPtr depth = doc->findDimension("D1@Boss-Extrude1");
    ASSERT_TRUE(depth);
    EXPECT_FALSE(doc->setDimensionValue(depth, std::nan(""), {}));
    ASSERT_TRUE(doc->setDimensionValue(depth, -3.0, {}));
    EXPECT_FALSE(doc->rebuild());
    EXPECT_NE(doc->lastError().find("Boss-Extrude1"), std::string::npos) << doc->lastError();
    ASSERT_TRUE(doc->setDimensionValue(depth, 3.0, {}));
    EXPECT_TRUE(doc->rebuild());
    EXPECT_NEAR(test::volume(*doc), 10 * 20 * 3, 1e-6);
    EXPECT_FALSE(doc->addDimension(block, "D1", 2, 1.0)); // taken on this feature
    EXPECT_FALSE(doc->addDimension(block, "A@B", 2, 1.0));
}

TEST_F(SwsimConfigurations, PartFilesKeepConfigurationsDimensionsAndDocumentData) {
    auto doc = PartDocument::create();
    auto block = test::makeBlock(*doc);
    ASSERT_TRUE(doc->addDimension(block, "D2", 3, 0.5));
    ASSERT_TRUE(doc->addConfiguration("Long", "comment", "alt", "desc", 4));
    ASSERT_TRUE(doc->setDimensionValue(doc->findDimension("D1@Boss-Extrude1"), 8.0, {"Long"}));
    ASSERT_TRUE(doc->addConfiguration("Empty"));
    ASSERT_TRUE(doc->setSuppression(block, true, {"Empty"}));
    ASSERT_TRUE(doc->addCustomProperty("", "Material", 30, "Steel \"S235\""));
    ASSERT_TRUE(doc->addCustomProperty("Long", "Length", 3, "8"));
    ASSERT_TRUE(doc->setSummary(3, "bracket, steel"));
    ASSERT_TRUE(doc->setLengthUnit(1));
    doc->setIntegerPreference(51, 3);
    doc->setDoublePreference(7, 7850);
    doc->setGivenMass(2.5);
    doc->showConfiguration("Long");
    const std::string file = path("part.sldprt");
    doc->save(file);

    auto back = PartDocument::open(file);
    EXPECT_FALSE(back->modified());
    ASSERT_EQ(back->configurations().size(), 3u);
    EXPECT_EQ(back->activeConfiguration()->name(), "Long");
    EXPECT_EQ(back->findConfiguration("Long")->alternateName, "alt");
    EXPECT_EQ(back->findConfiguration("Long")->options, 4);
    EXPECT_NEAR(test::volume(*back), 10 * 20 * 8, 1e-6);
    const auto depth = back->findDimension("D1@Boss-Extrude1");
    ASSERT_TRUE(depth);
    EXPECT_DOUBLE_EQ(back->dimensionValueIn(*depth, "Default"), 5.0);
    EXPECT_DOUBLE_EQ(back->dimensionValue(*depth), 8.0);
    ASSERT_TRUE(back->findDimension("D2@Boss-Extrude1"));
    EXPECT_EQ(back->findDimension("D2@Boss-Extrude1")->type(), 3);
    EXPECT_EQ(back->customProperty("", "Material")->value, "Steel \"S235\"");
    EXPECT_EQ(back->customProperty("Long", "Length")->type, 3);
    EXPECT_FALSE(back->customProperty("Default", "Length"));
    EXPECT_EQ(back->summary(3), "bracket, steel");
    EXPECT_EQ(back->lengthUnit(), 1);
    EXPECT_EQ(back->integerPreference(51), 3);
    EXPECT_DOUBLE_EQ(back->doublePreference(7), 7850.0);
    EXPECT_DOUBLE_EQ(back->mass(), 2.5);
    back->showConfiguration("Empty");
    EXPECT_DOUBLE_EQ(test::volume(*back), 0.0);
    back->showConfiguration("Default");
    EXPECT_NEAR(test::volume(*back), 1000.0, 1e-6);
}

TEST_F(SwsimConfigurations, DamagedDocumentSectionsAreRefusedByName) {
    auto doc = PartDocument::create();
    test::makeBlock(*doc);
    const std::string file = path("part.sldprt");
    doc->save(file);
    std::ifstream in(file);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    const auto at = text.find("configurations 1 0");
    ASSERT_NE(at, std::string::npos);
    std::string broken = text;
    broken.replace(at, 18, "configurations 1 5");
    std::ofstream(file) << test::resealed(broken);
    EXPECT_THROW(PartDocument::open(file), ModelError);
    broken = text;
    broken.replace(at, 18, "configurations 0 0");
    std::ofstream(file) << test::resealed(broken);
    try {
        PartDocument::open(file);
        ADD_FAILURE() << "a document without configurations was opened";
    } catch (const ModelError& e) {
        EXPECT_NE(std::string(e.what()).find("configuration"), std::string::npos) << e.what();
    }
}

TEST_F(SwsimConfigurations, AssemblyFilesKeepComponentsByPath) {
    auto assembly = AssemblyDocument::create();
    auto a = assembly->addComponent("/parts/pin.sldprt", "Short");
    auto b = assembly->addComponent("/parts/pin.sldprt");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->name(), "pin-1");
    EXPECT_EQ(b->name(), "pin-2");
    EXPECT_FALSE(assembly->addComponent(""));
    b->state = Component::kSuppressed;
    assembly->addCustomProperty("", "Project", 30, "X");
    const std::string file = path("frame.sldasm");
    assembly->save(file);
    EXPECT_EQ(assembly->title(), "frame");

    auto back = AssemblyDocument::open(file);
    ASSERT_EQ(back->components().size(), 2u);
    EXPECT_EQ(back->components()[0]->path(), "/parts/pin.sldprt");
    EXPECT_EQ(back->components()[0]->configuration, "Short");
    EXPECT_EQ(back->components()[1]->state, Component::kSuppressed);
    EXPECT_FALSE(back->components()[0]->document()); // loading is the session's
    EXPECT_EQ(back->customProperty("", "Project")->value, "X");
    EXPECT_DOUBLE_EQ(back->geometryMass().volume, 0.0);
    // A part file is no assembly, and the other way round.
    auto part = PartDocument::create();
    part->save(path("p.sldprt"));
    EXPECT_THROW(AssemblyDocument::open(path("p.sldprt")), ModelError);
    EXPECT_THROW(PartDocument::open(file), ModelError);
}

} // namespace
} // namespace swsim
