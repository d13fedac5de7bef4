// Levels of detail and assemblies end to end: natlinkhost converts a model, the saved documents
// are reopened in a new session and each configuration is shown and measured against the
// volumes computed by hand in the examples.
#include "tests/natlinkhost/natlinkhost_fixture.h"

#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/session/session.h"

#include <map>

namespace {

constexpr double pi = 3.141592653589793;

using LevelsAndAssemblies = natlinkHostTest;

// A saved document reopened: the volume of each configuration, and the one it shows.
struct configurationsS {
    std::map<std::string, double> volumes;
    std::map<std::string, std::string> texts;
    std::string shown;
};

configurationsS configurationsOf(const std::string& file, long type) {
    const ISldWorksPtr app = createSimulatedSldWorks();
    long errors = 0;
    long warnings = 0;
    const IModelDoc2Ptr doc =
        sldWorksOpenDocument(app, file.c_str(), type, 0, "", errors, warnings);
    configurationsS found;
    if (!doc) {
        ADD_FAILURE() << file << " does not open";
        return found;
    }
    const swsim::ModelDocumentPtr model = sessionModelOf(doc);
    found.shown = model->activeConfiguration()->name();
    for (const _bstr_t& name : readBstrArray(modelDocGetVariantSlot459(doc))) {
        const std::string text(static_cast<const char*>(name));
        modelDocShowConfiguration(doc, name);
        found.volumes[text] =
            massPropGetVolume(docExtCreateMassProperty(modelDocGetExtension(doc)));
        found.texts[text] = model->findConfiguration(text)->comment;
    }
    return found;
}

TEST_F(LevelsAndAssemblies, PartLevelsSuppressTheirFeaturesAndTheSelectedOneIsShown) {
    const runS converted = run({"convert", sourceFile("examples/levels.meta"), "-o", path("out")});
    ASSERT_EQ(converted.code, 0) << converted.err;
    EXPECT_EQ(converted.err, "");

    const configurationsS levels = configurationsOf(path("out/Levels.sldprt"), 1);
    const double full = 32000 - 800 - pi * (25 * 2 + 9 * 8);
    ASSERT_EQ(levels.volumes.size(), 3u);
    EXPECT_NEAR(levels.volumes.at("Default"), full, 1e-6);
    EXPECT_NEAR(levels.volumes.at("Full"), full, 1e-6);
    // Named by its "LODconfigName_" setting; both cuts of the drilling's history go with it.
    EXPECT_NEAR(levels.volumes.at("Simplified"), 32000, 1e-6);
    EXPECT_EQ(levels.texts.at("Simplified"), "Level of Detail: Simple");
    EXPECT_EQ(levels.shown, "Simplified");
}

TEST_F(LevelsAndAssemblies, EmptyLevelsAreMadeOnlyWhenAsked) {
    const auto model = [&](const char* createEmpty) {
        return writeFile("empty.meta",
                         std::string("(PART (NAME \"E\") (CREAOPTS (CREAOPTSETS "
                                     "(CREAOPTSET (NAME \"CreateLOD\") (VAL \"1\")) "
                                     "(CREAOPTSET (NAME \"CreateEmptyLODConfiguration\") (VAL \"") +
                             createEmpty +
                             "\")))) (PARTLOD (SELLODNAME \"A\") (PARTLODENTS (PARTLODENT "
                             "(NAME \"A\")) (PARTLODENT (NAME \"B\")))) (ITEMS))");
    };
    ASSERT_EQ(run({"convert", model("0"), "-o", path("out")}).code, 0);
    EXPECT_EQ(configurationsOf(path("out/E.sldprt"), 1).volumes.size(), 1u);
    ASSERT_EQ(run({"convert", model("1"), "-o", path("out")}).code, 0);
    const configurationsS made = configurationsOf(path("out/E.sldprt"), 1);
    EXPECT_EQ(made.volumes.size(), 3u);
    EXPECT_EQ(made.volumes.count("B"), 1u);
    // No level excludes anything: the configuration shown before is shown again.
    EXPECT_EQ(made.shown, "Default");
}

TEST_F(LevelsAndAssemblies, ALevelThatDoesNotRebuildIsReportedAndTheFormerConfigurationShown) {
    // Without its plate the pocket cuts nothing: the level "Broken" cannot be rebuilt.
    const std::string model = writeFile(
        "broken.meta",
        "(PART (NAME \"P\") (CREAOPTS (CREAOPTSETS (CREAOPTSET (NAME \"CreateLOD\") (VAL \"1\"))))"
        " (PARTLOD (SELLODNAME \"Good\") (PARTLODENTS"
        "  (PARTLODENT (NAME \"Good\") (PARTLODEXCFEATLST \"Pocket\"))"
        "  (PARTLODENT (NAME \"Broken\") (PARTLODEXCFEATLST \"Plate\"))"
        "  (PARTLODENT (NAME \"Later\") (PARTLODEXCFEATLST \"Pocket\"))))"
        " (ITEMS (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))"
        "  (SKETCH (NAME \"S\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1) (SKETCHON (PLANE \"XY\"))"
        "   (LOOP (LINE (POINT 0 0) (POINT 10 0)) (LINE (POINT 10 0) (POINT 10 10))"
        "    (LINE (POINT 10 10) (POINT 0 10)) (LINE (POINT 0 10) (POINT 0 0))))"
        "  (BASE (NAME \"Plate\") (TYP \"EXTRUDE\") (USED \"S\") (PARAM 10 0 0))"
        "  (SKETCH (NAME \"T\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 10 1)"
        "   (SKETCHON (FACE (POINT3D 5 5 10) (VEC3D 0 0 1)))"
        "   (LOOP (LINE (POINT 2 2) (POINT 8 2)) (LINE (POINT 8 2) (POINT 8 8))"
        "    (LINE (POINT 8 8) (POINT 2 8)) (LINE (POINT 2 8) (POINT 2 2))))"
        "  (CUT (NAME \"Pocket\") (TYP \"EXTRUDE\") (USED \"T\") (PARAM 5 1 0))))");
    const runS converted = run({"convert", model, "-o", path("out")});
    EXPECT_EQ(converted.code, 1);
    EXPECT_NE(converted.err.find("Error while creating LOD \"Broken\""), std::string::npos)
        << converted.err;
    EXPECT_NE(converted.err.find("PARTLOD \"P\": Error while creating LOD \"Broken\""),
              std::string::npos)
        << converted.err;

    // The part is saved with the levels made before the failure, showing what it showed
    // before the failing level.
    const configurationsS saved = configurationsOf(path("out/P.sldprt"), 1);
    EXPECT_EQ(saved.volumes.size(), 3u);
    EXPECT_EQ(saved.volumes.count("Later"), 0u);
    EXPECT_NEAR(saved.volumes.at("Good"), 1000, 1e-6);
    EXPECT_EQ(saved.shown, "Default");
}

TEST_F(LevelsAndAssemblies, AssemblyOfPlacedPartsWithLevelsIsSavedAndCheckedIn) {
    const runS converted =
        run({"convert", sourceFile("examples/assembly.meta"), "-o", path("out")});
    ASSERT_EQ(converted.code, 0) << converted.err;
    EXPECT_EQ(converted.err, "");

    const configurationsS levels = configurationsOf(path("out/Pair.sldasm"), 2);
    EXPECT_NEAR(levels.volumes.at("Full"), 24000 - 2250 + 2 * 630 * pi, 1e-6);
    EXPECT_NEAR(levels.volumes.at("Simple"), 24000 + 2 * 750 * pi, 1e-6);
    EXPECT_EQ(levels.texts.at("Simple"), "Level of Detail: Simple");
    EXPECT_EQ(levels.shown, "Simple");

    // The pin stands on the plate and lies beside it along X.
    const ISldWorksPtr app = createSimulatedSldWorks();
    long errors = 0;
    long warnings = 0;
    const IModelDoc2Ptr doc =
        sldWorksOpenDocument(app, path("out/Pair.sldasm").c_str(), 2, 0, "", errors, warnings);
    ASSERT_TRUE(doc);
    const std::vector<double> box = readDoubleArray(asmDocGetBox(IAssemblyDocPtr(doc), 0), 6);
    const double expected[6] = {0, 0, 0, 90, 40, 40};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(box[i], expected[i], 1e-6) << i;
    EXPECT_EQ(sessionAssemblyOf(doc)->components().size(), 3u);

    // The classified faces carry mate references on the components' faces in assembly space:
    // the plate's top (z = 10, facing up) and the lying pin's side (radius 5 about the line
    // y = 20, z = 5), in every level.
    for (const char* level : {"Simple", "Full"}) {
        modelDocShowConfiguration(doc, level);
        const auto references = sessionAssemblyOf(doc)->mateReferences();
        ASSERT_EQ(references.size(), 2u) << level;
        EXPECT_EQ(references[0]->name(), "PLANAR");
        EXPECT_EQ(references[1]->name(), "CYL_side");
        const auto top = swsim::objectAs<swsim::Face>(references[0]->entity());
        const auto side = swsim::objectAs<swsim::Face>(references[1]->entity());
        ASSERT_TRUE(top && side) << level;
        EXPECT_EQ(top->surface().kind, swsim::SurfaceKind::Plane);
        EXPECT_TRUE(top->contains({1, 1, 10}) && top->contains({35, 39, 10}));
        EXPECT_NEAR(top->normal().z, 1.0, 1e-9);
        EXPECT_EQ(side->surface().kind, swsim::SurfaceKind::Cylinder);
        EXPECT_TRUE(side->contains({61, 20, 10}) && side->contains({89, 25, 5}) &&
                    side->contains({75, 15, 5}));
    }

    const runS checkedIn = run({"checkin", path("out/Pair.sldasm")});
    ASSERT_EQ(checkedIn.code, 0) << checkedIn.err;
    for (const std::string& line :
         {"(CADIDENT \"" + path("out/Base.sldprt") + "\")",
          "(CADIDENT \"" + path("out/Pin.sldprt") + "\")", std::string("(VARVALUE \"Full\")"),
          std::string("(VARVALUE \"Simple\")")})
        EXPECT_NE(checkedIn.out.find(line), std::string::npos) << line;
}

TEST_F(LevelsAndAssemblies, MembersThatCannotBeBuiltOrPlacedAreNamedAndTheRestIsSaved) {
    const std::string block = "(ITEMS (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 "
                              "1 0 0 0 0 1)) (SKETCH (NAME \"S\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 "
                              "0 0 1) (SKETCHON (PLANE \"XY\")) (LOOP (CIRCLE (POINT 0 0) (RAD "
                              "5)))) (BASE (NAME \"B\") (TYP \"EXTRUDE\") (USED \"S\") (PARAM ";
    const std::string model = writeFile(
        "members.meta", "(ASSEMBLY (NAME \"A\") (ITEMS (PART (NAME \"Disc\") " + block +
                            "2 0 0)))) (PART (NAME \"Disc\") " + block +
                            "4 0 0)))) (PART (NAME \"Big\") (MAT 2 0 0 0 0 2 0 0 0 0 2 0 0 0 0 "
                            "1) " +
                            block + "2 0 0)))) (ASSEMBLY (NAME \"Sub\"))))");
    const runS converted = run({"convert", model, "-o", path("out")});
    EXPECT_EQ(converted.code, 1);
    for (const char* text :
         {"PART \"Disc\": Another part of the assembly is saved as \"Disc.sldprt\"",
          "PART \"Big\": Could not place", "ASSEMBLY \"Sub\": Assemblies inside an assembly"})
        EXPECT_NE(converted.err.find(text), std::string::npos) << text << converted.err;
    // The first disc, 2 thick, is kept: the second does not overwrite it.
    EXPECT_NEAR(configurationsOf(path("out/A.sldasm"), 2).volumes.at("Default"), 50 * pi, 1e-6);
}

TEST_F(LevelsAndAssemblies, WhatIsNotBuiltIsNamedInTheResult) {
    const auto model = [&](const char* mateReferences) {
        return writeFile(
            "unbuilt.meta",
            std::string("(ASSEMBLY (NAME \"A\") (CREAOPTS (CREAOPTSETS (CREAOPTSET (NAME "
                        "\"CreateMateReferences\") (VAL \"") +
                mateReferences +
                "\")))) (ASMATTR (CLASSIFICATIONINFO \"(DOCCLASSIFYLIST (DOCCLASSIFYINFO (NAME "
                "\\\"qel\\\") (DOCCLASSIFYIDINFO (CLASSID \\\"QEL_CP_PLACE_PA\\\") (DOCCLASSIFYVAR "
                "(VARNAME \\\"QEL_3DID\\\") (VALUE \\\"A,1,CP1\\\")))))\")) "
                "(ANNOTATIONSETS (ANNOTATIONSETFACE (ANNOTATIONFACE (POINT3D 0 0 0) (FACD "
                "\"(RCCLASSINSTANCE (RCPROPERTY (NAME \\\"CLASSID\\\") (VALUE "
                "\\\"sys_faceattributecolor\\\")))\")))) (ITEMS (PART (NAME \"P\") (ITEMS))))");
    };
    runS converted = run({"convert", model("1"), "-o", path("out")});
    EXPECT_EQ(converted.code, 1);
    // A face colour is more than the classified faces the mate references read.
    EXPECT_NE(
        converted.err.find("ANNOTATIONSETS \"A\": annotation sets of an assembly are not built"),
        std::string::npos)
        << converted.err;
    // The assembly has no connection points, so no plane for the helper body: said so.
    EXPECT_NE(converted.err.find("CLASSIFICATIONINFO \"A\": mate references at the connection "
                                 "points of an assembly are not built: CP1"),
              std::string::npos)
        << converted.err;
    EXPECT_TRUE(std::filesystem::exists(path("out/A.sldasm")));

    // Mate references switched off: the classification asks for nothing.
    converted = run({"convert", model("0"), "-o", path("out")});
    EXPECT_EQ(converted.err.find("CLASSIFICATIONINFO"), std::string::npos) << converted.err;
}

} // namespace
