// Suppression in configurations: a suppressed feature's faces and edges keep their names,
// colours and the references that hold them, and what is built on a feature goes with it, in
// the session and in files saved in either configuration.
#include "tests/sldworks_model/fixtures.h"

#include <fstream>
#include <iterator>
#include <numbers>

namespace swsim {
namespace {

constexpr double pi = std::numbers::pi;

class SwsimSuppression : public test::FolderTest {
protected:
    // The block 10 x 20 x 5 with a pocket 6 x 6, 2 deep, sketched on its top (928).
    void makePocketedBlock() {
        doc_ = PartDocument::create();
        ASSERT_TRUE(test::makeBlock(*doc_));
        pocketSketch_ = doc_->openSketch(doc_->findFaceAt({1, 1, 5}, {0, 0, 1}, 1e-6));
        ASSERT_TRUE(pocketSketch_);
        test::addRectangle(*pocketSketch_, 2, 2, 8, 8);
        ExtrudeSpec cut;
        cut.cut = true;
        cut.depth1 = 2;
        pocket_ = doc_->addExtrusion(pocketSketch_, cut);
        ASSERT_TRUE(pocket_) << doc_->lastError();
        ASSERT_NEAR(test::volume(*doc_), 928, 1e-9);
    }

    PartDocumentPtr doc_;
    SketchPtr pocketSketch_;
    SolidFeaturePtr pocket_;
};

MateReferencePtr referenceNamed(const PartDocument& doc, const std::string& name) {
    for (const FeaturePtr& f : doc.features())
        if (auto reference = std::dynamic_pointer_cast<MateReference>(f);
            reference && reference->name() == name)
            return reference;
    return nullptr;
}

TEST_F(SwsimSuppression, ASuppressedFeaturesEntitiesKeepNamesColoursAndReferences) {
    makePocketedBlock();
    const FacePtr floor = doc_->findFaceAt({5, 5, 3}, {0, 0, 1}, 1e-6);
    const EdgePtr rim = doc_->findEdgeAt({5, 2, 5}, 1e-9);
    ASSERT_TRUE(floor && rim);
    ASSERT_TRUE(doc_->setEntityName(floor, "FLOOR"));
    ASSERT_TRUE(doc_->setFaceColour(floor, Rgb{1, 0, 0}));
    ASSERT_TRUE(doc_->setEntityName(rim, "RIM"));
    ASSERT_TRUE(doc_->addMateReference("ON_FLOOR", floor));
    ASSERT_TRUE(doc_->addMateReference("ON_RIM", rim));
    ASSERT_TRUE(doc_->addConfiguration("Lite"));
    ASSERT_TRUE(doc_->setSuppression(pocket_, true, {"Lite"}));
    // While the pocket is suppressed no other entity takes its names.
    EXPECT_FALSE(doc_->setEntityName(doc_->findFaceAt({1, 1, 0}, {0, 0, -1}, 1e-6), "FLOOR"));

    // Each configuration shown in turn, twice, in the session and read back from a file saved
    // in either configuration.
    const auto expectInEveryConfiguration = [](PartDocument& part, const std::string& context) {
        SCOPED_TRACE(context);
        for (int round = 0; round < 2; ++round) {
            ASSERT_TRUE(part.showConfiguration("Default"));
            EXPECT_NEAR(test::volume(part), 928, 1e-9);
            const auto named = objectAs<Face>(part.findEntityByName("FLOOR"));
            ASSERT_TRUE(named);
            EXPECT_TRUE(named->contains({5, 5, 3}));
            EXPECT_NEAR(named->area(), 36, 1e-9);
            ASSERT_TRUE(named->colour());
            EXPECT_EQ(*named->colour(), (Rgb{1, 0, 0}));
            EXPECT_EQ(referenceNamed(part, "ON_FLOOR")->entity(), named);
            const auto edge = objectAs<Edge>(part.findEntityByName("RIM"));
            ASSERT_TRUE(edge);
            const std::optional<Vec3> onRim = edge->closestPoint({5, 2, 5});
            ASSERT_TRUE(onRim);
            EXPECT_NEAR(distance(*onRim, {5, 2, 5}), 0, 1e-9);
            EXPECT_EQ(referenceNamed(part, "ON_RIM")->entity(), edge);

            ASSERT_TRUE(part.showConfiguration("Lite"));
            EXPECT_NEAR(test::volume(part), 1000, 1e-9);
            EXPECT_FALSE(part.findEntityByName("FLOOR"));
            EXPECT_FALSE(part.findEntityByName("RIM"));
            for (const BodyPtr& body : part.bodies())
                for (const FacePtr& face : body->faces())
                    EXPECT_FALSE(face->colour());
        }
    };
    expectInEveryConfiguration(*doc_, "in the session");
    ASSERT_TRUE(doc_->showConfiguration("Lite"));
    doc_->save(path("lite.sldprt"));
    expectInEveryConfiguration(*PartDocument::open(path("lite.sldprt")), "saved in Lite");
    ASSERT_TRUE(doc_->showConfiguration("Default"));
    doc_->save(path("default.sldprt"));
    expectInEveryConfiguration(*PartDocument::open(path("default.sldprt")), "saved in Default");
}

TEST_F(SwsimSuppression, WhatIsBuiltOnAFeatureGoesWithIt) {
    makePocketedBlock();
    // A stud of radius 1 sketched on the pocket's floor, 4 high: 2 in the pocket, 2 above.
    const SketchPtr studSketch = doc_->openSketch(doc_->findFaceAt({5, 5, 3}, {0, 0, 1}, 1e-6));
    ASSERT_TRUE(studSketch);
    ASSERT_TRUE(studSketch->addCircle({5, 5, 0}, 1));
    ExtrudeSpec boss;
    boss.depth1 = 4;
    const SolidFeaturePtr stud = doc_->addExtrusion(studSketch, boss);
    ASSERT_TRUE(stud) << doc_->lastError();
    const double full = 928 + 4 * pi;
    ASSERT_NEAR(test::volume(*doc_), full, 1e-9);
    EXPECT_EQ(doc_->children(*pocket_), std::vector<FeaturePtr>{studSketch});
    EXPECT_EQ(doc_->children(*studSketch), std::vector<FeaturePtr>{stud});
    EXPECT_EQ(doc_->children(*pocketSketch_), std::vector<FeaturePtr>{pocket_});

    ASSERT_TRUE(doc_->addConfiguration("Lite"));
    ASSERT_TRUE(doc_->setSuppression(pocket_, true, {"Lite"}));
    EXPECT_TRUE(doc_->suppressedIn(*studSketch, "Lite"));
    EXPECT_TRUE(doc_->suppressedIn(*stud, "Lite"));
    EXPECT_NEAR(test::volume(*doc_), 1000, 1e-9);
    // Unsuppressed, the pocket comes back alone.
    ASSERT_TRUE(doc_->setSuppression(pocket_, false, {"Lite"}));
    EXPECT_TRUE(doc_->suppressedIn(*stud, "Lite"));
    EXPECT_NEAR(test::volume(*doc_), 928, 1e-9);
    ASSERT_TRUE(doc_->showConfiguration("Default"));
    EXPECT_FALSE(doc_->suppressedIn(*stud, "Default"));
    EXPECT_NEAR(test::volume(*doc_), full, 1e-9);

    // The file keeps which feature's face each sketch lies on.
    doc_->save(path("stud.sldprt"));
    const PartDocumentPtr back = PartDocument::open(path("stud.sldprt"));
    const FeaturePtr pocket = back->findFeature(pocket_->name());
    ASSERT_TRUE(pocket);
    ASSERT_TRUE(back->addConfiguration("Again"));
    ASSERT_TRUE(back->setSuppression(pocket, true, {"Again"}));
    EXPECT_TRUE(back->suppressedIn(*back->findFeature(stud->name()), "Again"));
    EXPECT_NEAR(test::volume(*back), 1000, 1e-9);

    // A configuration goes with what it holds, but never the shown one.
    EXPECT_FALSE(back->deleteConfiguration("Again"));
    ASSERT_TRUE(back->showConfiguration("Default"));
    EXPECT_TRUE(back->deleteConfiguration("Lite"));
    EXPECT_FALSE(back->deleteConfiguration("Lite"));
    EXPECT_EQ(back->activeConfiguration()->name(), "Default");
    ASSERT_EQ(back->configurations().size(), 2u);
    EXPECT_EQ(back->configurations()[1]->name(), "Again");
    ASSERT_TRUE(back->showConfiguration("Again"));
    EXPECT_TRUE(back->deleteConfiguration("Default"));
    EXPECT_EQ(back->activeConfiguration()->name(), "Again");
    EXPECT_NEAR(test::volume(*back), 1000, 1e-9);

    // Deleted, the pocket takes the stud and its sketch along.
    EXPECT_EQ(doc_->deleteFeatures({pocket_}), 3);
    EXPECT_FALSE(doc_->findFeature(stud->name()));
    EXPECT_NEAR(test::volume(*doc_), 1000, 1e-9);
}

// A face or edge set aside that the file does not describe as one, or whose name the part
// has already, is refused by name.
TEST_F(SwsimSuppression, EntitiesSetAsideThatDoNotFitTheFileAreRefused) {
    makePocketedBlock();
    ASSERT_TRUE(doc_->setEntityName(doc_->findFaceAt({5, 5, 3}, {0, 0, 1}, 1e-6), "FLOOR"));
    ASSERT_TRUE(doc_->setEntityName(doc_->findFaceAt({1, 1, 0}, {0, 0, -1}, 1e-6), "BOTTOM"));
    ASSERT_TRUE(doc_->addConfiguration("Lite"));
    ASSERT_TRUE(doc_->setSuppression(pocket_, true, {"Lite"}));
    doc_->save(path("lite.sldprt"));
    std::ifstream in(path("lite.sldprt"), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string entry = "aside 1 \nface \"FLOOR\" 0 \n";
    ASSERT_NE(text.find(entry), std::string::npos);
    const auto refusal = [&](const std::string& from, const std::string& to) {
        std::string edited = text;
        edited.replace(edited.find(from), from.size(), to);
        try {
            PartDocument::openText(test::resealed(edited), "edited.sldprt");
            return std::string("opened");
        } catch (const ModelError& e) {
            return std::string(e.what());
        }
    };
    EXPECT_NE(refusal(entry, "aside 1 \nface \"BOTTOM\" 0 \n")
                  .find("the entity name \"BOTTOM\" is used twice"),
              std::string::npos);
    EXPECT_NE(refusal(entry, "aside 1 \nedge \"FLOOR\" 0 \n")
                  .find("the edge set aside as \"FLOOR\" cannot be read"),
              std::string::npos);
    EXPECT_NE(refusal(entry, "aside 1 \nvertex \"FLOOR\" 0 \n")
                  .find("unknown entity set aside \"vertex\""),
              std::string::npos);
    EXPECT_EQ(refusal(entry, entry), "opened");
}

} // namespace
} // namespace swsim
