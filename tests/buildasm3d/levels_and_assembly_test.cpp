// Levels of detail and assemblies end to end: natlinkhost converts a model, the saved documents
// are reopened in a new session and each configuration is shown and measured against the
// volumes computed by hand in the examples.
#include "tests/buildasm3d/assembly_test_helpers.h"

#include <cmath>

namespace {

using LevelsAndAssemblies = natlinkHostTest;

TEST_F(LevelsAndAssemblies, PartLevelsSuppressTheirFeaturesAndTheSelectedOneIsShown) {
    const runS converted = run({"convert", sourceFile("examples/levels.meta"), "-o", path("out")});
    ASSERT_EQ(converted.code, 0) << converted.err;
    // The stud on the pocket's floor goes with the pocket, and the result text says so.
    EXPECT_EQ(converted.err, "natlinkhost: Notes: PARTLOD \"Levels\": the level \"Simple\" leaves "
                             "out \"Stud\" with \"Pocket\", which it is built on\n");

    const configurationsS levels = configurationsOf(path("out/Levels.sldprt"), 1);
    const double full = 32000 - 800 - pi * (25 * 2 + 9 * 8) + pi * 4 * 8;
    ASSERT_EQ(levels.volumes.size(), 3u);
    EXPECT_NEAR(levels.volumes.at("Default"), full, 1e-6);
    EXPECT_NEAR(levels.volumes.at("Full"), full, 1e-6);
    // Named by its "LODconfigName_" setting; both cuts of the drilling's history go with it,
    // and so does the stud.
    EXPECT_NEAR(levels.volumes.at("Simplified"), 32000, 1e-6);
    EXPECT_EQ(levels.texts.at("Simplified"), "Level of Detail: Simple");
    EXPECT_EQ(levels.shown, "Simplified");

    // The pocket's floor is red in every configuration that has it, although the part was
    // saved showing one without it.
    const ISldWorksPtr app = createSimulatedSldWorks();
    const IModelDoc2Ptr doc = openSaved(app, path("out/Levels.sldprt"), 1);
    ASSERT_TRUE(doc);
    const swsim::PartDocumentPtr part = sessionPartOf(doc);
    for (const char* name : {"Default", "Full", "Simplified", "Default"}) {
        modelDocShowConfiguration(doc, name);
        const swsim::FacePtr floor = part->findFaceAt({4, 3, 6}, {0, 0, 1}, 1e-6);
        if (std::string(name) == "Simplified") {
            EXPECT_FALSE(floor);
            continue;
        }
        ASSERT_TRUE(floor) << name;
        ASSERT_TRUE(floor->colour()) << name;
        EXPECT_EQ(*floor->colour(), (swsim::Rgb{1, 0, 0})) << name;
    }
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

    // Empty levels are the part's own wish: the conversion's options do not make them.
    const std::string conversionOptions = writeFile(
        "options.meta", options({{"CreateLOD", "1"}, {"CreateEmptyLODConfiguration", "1"}}));
    const std::string withoutOptions =
        writeFile("bare.meta", "(PART (NAME \"E\") (PARTLOD (SELLODNAME \"A\") (PARTLODENTS "
                               "(PARTLODENT (NAME \"A\")))) (ITEMS))");
    ASSERT_EQ(
        run({"--options", conversionOptions, "convert", withoutOptions, "-o", path("out")}).code,
        0);
    EXPECT_EQ(configurationsOf(path("out/E.sldprt"), 1).volumes.size(), 1u);
}

TEST_F(LevelsAndAssemblies, LevelsThatGetNoConfigurationOfTheirOwnAreNamed) {
    // "Beta" asks for the configuration of the level "Gamma", "Zeta" for "Default"; a second
    // "Alpha" and a level without a name cannot be told apart from the others.
    const std::string model =
        writeFile("levels.meta",
                  block("P", options({{"CreateLOD", "1"},
                                      {"LODconfigName_Beta", "Gamma"},
                                      {"LODconfigName_Zeta", "Default"}}) +
                                 " (PARTLOD (SELLODNAME \"Beta\") (PARTLODENTS"
                                 " (PARTLODENT (NAME \"Alpha\") (PARTLODEXCFEATLST \"Pocket\"))"
                                 " (PARTLODENT (NAME \"Alpha\"))"
                                 " (PARTLODENT (NAME \"Beta\") (PARTLODEXCFEATLST \"Pocket\"))"
                                 " (PARTLODENT (NAME \"Gamma\"))"
                                 " (PARTLODENT (NAME \"Zeta\") (PARTLODEXCFEATLST \"Pocket\"))"
                                 " (PARTLODENT (PARTLODEXCFEATLST \"Pocket\"))))"));
    const runS converted = run({"convert", model, "-o", path("out")});
    EXPECT_EQ(converted.code, 1);
    EXPECT_NE(converted.err.find(
                  "Items built incompletely: PARTLOD \"P\": the level \"Alpha\" is not built: "
                  "a level of that name comes before it, the level \"Beta\" is not built: its "
                  "configuration \"Gamma\" is the level \"Gamma\"'s, the level \"Zeta\" is not "
                  "built: its configuration \"Default\" exists already, a level without a name "
                  "is not built"),
              std::string::npos)
        << converted.err;

    // Each configuration holds its own level; the selected level was not built, so the part
    // shows what it showed before.
    const configurationsS saved = configurationsOf(path("out/P.sldprt"), 1);
    EXPECT_EQ(saved.volumes.size(), 3u);
    EXPECT_NEAR(saved.volumes.at("Default"), 3500, 1e-6);
    EXPECT_NEAR(saved.volumes.at("Alpha"), 4000, 1e-6);
    EXPECT_NEAR(saved.volumes.at("Gamma"), 3500, 1e-6);
    EXPECT_EQ(saved.texts.at("Gamma"), "Level of Detail: Gamma");
    EXPECT_EQ(saved.shown, "Default");
}

TEST_F(LevelsAndAssemblies, AnAssemblyLevelOnAConfigurationThatExistsChangesNoOther) {
    const std::string model = writeFile(
        "zeta.meta",
        "(ASSEMBLY (NAME \"Asm\") " +
            options({{"CreateLOD", "1"}, {"LODconfigName_Zeta", "Default"}}) + " (ITEMS " +
            block("Base", "(PARTLOD (SELLODNAME \"Alpha\") (PARTLODENTS (PARTLODENT (NAME "
                          "\"Alpha\") (PARTLODEXCFEATLST \"Pocket\")) (PARTLODENT (NAME "
                          "\"Zeta\"))))") +
            "))");
    const runS converted = run({"convert", model, "-o", path("out")});
    EXPECT_EQ(converted.code, 1);
    EXPECT_NE(converted.err.find("PARTLOD \"Asm\": the level \"Zeta\" is not built: its "
                                 "configuration \"Default\" exists already"),
              std::string::npos)
        << converted.err;

    const configurationsS saved = configurationsOf(path("out/Asm.sldasm"), 2);
    EXPECT_EQ(saved.volumes.size(), 2u);
    EXPECT_NEAR(saved.volumes.at("Alpha"), 4000, 1e-6);
    EXPECT_EQ(saved.shown, "Alpha");
    EXPECT_EQ(componentConfigurations(path("out/Asm.sldasm")).at("Alpha"),
              std::vector<std::string>{"Alpha"});
}

TEST_F(LevelsAndAssemblies, ComponentsShowTheConfigurationTheirPartMadeForALevel) {
    // "Pin" makes no levels, "Peg" names its level "Simple" "Light"; only "Base" has "Full".
    const std::string simple = "(PARTLODENT (NAME \"Simple\") (PARTLODEXCFEATLST \"Pocket\"))";
    const std::string model = writeFile(
        "members.meta",
        "(ASSEMBLY (NAME \"Asm\") " + options({{"CreateLOD", "1"}}) + " (ITEMS " +
            block("Base", "(PARTLOD (SELLODNAME \"Simple\") (PARTLODENTS (PARTLODENT (NAME "
                          "\"Full\")) " +
                              simple + "))") +
            block("Pin", "(MAT 1 0 0 0 0 1 0 0 0 0 1 0 30 0 0 1) " + options({{"CreateLOD", "0"}}) +
                             " (PARTLOD (PARTLODENTS " + simple + "))") +
            block("Peg", "(MAT 1 0 0 0 0 1 0 0 0 0 1 0 60 0 0 1) " +
                             options({{"CreateLOD", "1"}, {"LODconfigName_Simple", "Light"}}) +
                             " (PARTLOD (PARTLODENTS " + simple + "))") +
            "))");
    const runS converted = run({"convert", model, "-o", path("out")});
    EXPECT_EQ(converted.code, 1);
    // Only where the level would have left something out of the part is it named.
    EXPECT_NE(converted.err.find("Items built incompletely: PARTLOD \"Asm\": the part Pin.sldprt "
                                 "has no configuration of the level \"Simple\": its component "
                                 "shows \"Default\" in it\n"),
              std::string::npos)
        << converted.err;

    const auto shown = componentConfigurations(path("out/Asm.sldasm"));
    EXPECT_EQ(shown.at("Simple"), (std::vector<std::string>{"Simple", "Default", "Light"}));
    EXPECT_EQ(shown.at("Full"), (std::vector<std::string>{"Full", "Default", "Default"}));
    const configurationsS saved = configurationsOf(path("out/Asm.sldasm"), 2);
    EXPECT_NEAR(saved.volumes.at("Simple"), 4000 + 3500 + 4000, 1e-6);
    EXPECT_NEAR(saved.volumes.at("Full"), 3 * 3500, 1e-6);
}

TEST_F(LevelsAndAssemblies, AFailedLevelIsReportedAndLeavesNothingInThePart) {
    // The level "Broken" leaves out the plate. A pocket sketched on the plate's top goes with
    // it (nothing is left to show); one sketched on a plane cuts nothing (the part does not
    // rebuild). Either way the level fails.
    for (const char* sketchOn : {"(FACE (POINT3D 5 5 10) (VEC3D 0 0 1))", "(PLANE \"XY\")"}) {
        SCOPED_TRACE(sketchOn);
        const std::string model = writeFile(
            "broken.meta",
            "(PART (NAME \"P\") (CREAOPTS (CREAOPTSETS (CREAOPTSET (NAME \"CreateLOD\") (VAL "
            "\"1\"))))"
            " (PARTLOD (SELLODNAME \"Good\") (PARTLODENTS"
            "  (PARTLODENT (NAME \"Good\") (PARTLODEXCFEATLST \"Pocket\"))"
            "  (PARTLODENT (NAME \"Broken\") (PARTLODEXCFEATLST \"Plate\"))"
            "  (PARTLODENT (NAME \"Later\") (PARTLODEXCFEATLST \"Pocket\"))))"
            " (ITEMS (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))"
            "  (SKETCH (NAME \"S\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1) (SKETCHON (PLANE "
            "\"XY\"))"
            "   (LOOP (LINE (POINT 0 0) (POINT 10 0)) (LINE (POINT 10 0) (POINT 10 10))"
            "    (LINE (POINT 10 10) (POINT 0 10)) (LINE (POINT 0 10) (POINT 0 0))))"
            "  (BASE (NAME \"Plate\") (TYP \"EXTRUDE\") (USED \"S\") (PARAM 10 0 0))"
            "  (SKETCH (NAME \"T\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 10 1) (SKETCHON " +
                std::string(sketchOn) +
                ")"
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
        // before the failing level, and without the failed level's configuration: it is
        // neither in the part nor checked in as a member.
        const configurationsS saved = configurationsOf(path("out/P.sldprt"), 1);
        EXPECT_EQ(saved.volumes.size(), 2u);
        EXPECT_EQ(saved.volumes.count("Broken"), 0u);
        EXPECT_EQ(saved.volumes.count("Later"), 0u);
        EXPECT_NEAR(saved.volumes.at("Default"), 1000 - 180, 1e-6);
        EXPECT_NEAR(saved.volumes.at("Good"), 1000, 1e-6);
        EXPECT_EQ(saved.shown, "Default");
        const runS checkedIn = run({"checkin", path("out/P.sldprt")});
        ASSERT_EQ(checkedIn.code, 0) << checkedIn.err;
        EXPECT_NE(checkedIn.out.find("(VARVALUE \"Good\")"), std::string::npos);
        EXPECT_EQ(checkedIn.out.find("Broken"), std::string::npos) << checkedIn.out;
    }
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
    const IModelDoc2Ptr doc = openSaved(app, path("out/Pair.sldasm"), 2);
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
                "(VARNAME \\\"QEL_3DID\\\") (VALUE \\\"A,1,CP1\\\"))) (DOCCLASSIFYIDINFO (CLASSID "
                "\\\"QEL_CP_PLACE_PA\\\") (DOCCLASSIFYVAR (VARNAME \\\"QEL_3DID\\\") (VALUE "
                "\\\"A,2,\\\")))))\")) "
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
    // An entry that names no connection point is named as such, in an assembly too.
    EXPECT_TRUE(holdsText(converted.err, "CLASSIFICATIONINFO \"A\": A connection-point entry "
                                         "without INSTID gets no mate reference: its QEL_3DID "
                                         "\"A,2,\" names no connection point after its last "
                                         "comma"));
    EXPECT_TRUE(std::filesystem::exists(path("out/A.sldasm")));

    // Mate references switched off: the classification asks for nothing.
    converted = run({"convert", model("0"), "-o", path("out")});
    EXPECT_EQ(converted.err.find("CLASSIFICATIONINFO"), std::string::npos) << converted.err;
}

// Catalogue rotations are written to four decimals; every other placement is refused naming
// the value that is off.
TEST_F(LevelsAndAssemblies, RoundedPlacementsAreTheRotationTheyRoundAndOthersNameTheValueOff) {
    const std::string model = writeFile(
        "turned.meta", "(ASSEMBLY (NAME \"Asm\") (ITEMS " +
                           block("Turned", "(MAT 0.866 0.5 0 0 -0.5 0.866 0 0 0 0 1 0 0 0 0 1)") +
                           block("Far", "(MAT 1 0 0 0 0 1 0 0 0 0 1 0 inf 0 0 1)") +
                           block("Lost", "(MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 nan 0 1)") +
                           block("Short", "(MAT 1 0 0 0 0 1 0 0 0 0 1 0)") +
                           block("Halved", "(MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 2)") +
                           block("Projective", "(MAT 1 0 0 0 0 1 0 0.001 0 0 1 0 0 0 0 1)") +
                           block("Long", "(MAT 1.00015 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1)") +
                           block("Scaled", "(MAT 1 0 0 0 0 1 0 0 0 0 0.5 0 0 0 0 1)") +
                           block("Skewed", "(MAT 1 0 0 0 0.1 0.995 0 0 0 0 1 0 0 0 0 1)") +
                           block("Askew", "(MAT 1 0 0 0 0.0003 1 0 0 0 0 1 0 0 0 0 1)") +
                           block("Mirrored", "(MAT 1 0 0 0 0 1 0 0 0 0 -1 0 0 0 0 1)") + "))");
    const runS converted = run({"convert", model, "-o", path("out")});
    EXPECT_EQ(converted.code, 1);
    const std::string refused = "Could not place the part: its placement (MAT) is no rotation and "
                                "translation: ";
    for (const std::string& text :
         {std::string("PART \"Far\": Could not place the part: its placement (MAT) holds inf as "
                      "value 13 of 16"),
          std::string("PART \"Lost\": Could not place the part: its placement (MAT) holds nan as "
                      "value 14 of 16"),
          std::string("PART \"Short\": Could not place the part: its placement (MAT) does not "
                      "hold 16 numbers"),
          "PART \"Halved\": " + refused + "its value 16 is 2, not 1 (within 0.0001)",
          "PART \"Projective\": " + refused + "its value 8 is 0.001, not 0 (within 0.0001)",
          "PART \"Long\": " + refused + "its X axis is 1.00015 long, not 1 (within 0.0001)",
          "PART \"Scaled\": " + refused + "its Z axis is 0.5 long, not 1 (within 0.0001)",
          "PART \"Skewed\": " + refused +
              "its X and Y axes are not at right angles (the cosine between them is 0.0999988, "
              "not 0) (within 0.0002)",
          "PART \"Askew\": " + refused +
              "its X and Y axes are not at right angles (the cosine between them is 0.0003, "
              "not 0) (within 0.0002)",
          "PART \"Mirrored\": " + refused +
              "it is a reflection (its Z axis points against X x Y) (within 0.0001)"})
        EXPECT_TRUE(holdsText(converted.err, text));
    EXPECT_EQ(converted.err.find("Turned"), std::string::npos) << converted.err;
    EXPECT_EQ(run({"inspect", path("out/Asm.sldasm")}).code, 0);

    // Turned by 30 degrees about Z, its axes made unit length in their own directions
    // (r = |(0.866, 0.5)|): its corners (20, 0), (0, 20) and (20, 20) go to 20 (0.866, 0.5) / r,
    // 20 (-0.5, 0.866) / r and their sum.
    const openedAssemblyS opened = openAssembly(path("out/Asm.sldasm"));
    ASSERT_TRUE(opened.doc);
    const double r = std::sqrt(0.866 * 0.866 + 0.25);
    const std::vector<double> box = assemblyBox(opened.doc);
    const double expected[6] = {-10 / r, 0, 0, 17.32 / r, 27.32 / r, 10};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(box[i], expected[i], 1e-6) << i;
    ASSERT_EQ(sessionAssemblyOf(opened.doc)->components().size(), 1u);
    const swsim::Frame& placed = sessionAssemblyOf(opened.doc)->components()[0]->placement;
    EXPECT_NEAR(swsim::dot(placed.xDir, placed.xDir), 1.0, 1e-15);
    EXPECT_NEAR(swsim::dot(placed.xDir, placed.yDir), 0.0, 1e-15);
    EXPECT_NEAR(massPropGetVolume(docExtCreateMassProperty(modelDocGetExtension(opened.doc))), 3500,
                1e-6);

    // Turned about Z by 20, Y by 45 and X by 70 degrees and written to four decimals: rounding
    // leaves two of its axes 1.2e-4 off a right angle, a rotation all the same.
    const std::string tilted = writeFile(
        "tilted.meta", "(ASSEMBLY (NAME \"Tilted\") (ITEMS " +
                           block("Tilt", "(MAT 0.6645 0.2418 -0.7071 0  0.5074 0.5487 0.6645 0  "
                                         "0.5487 -0.8003 0.2418 0  0 0 0 1)") +
                           "))");
    const runS tiltedConverted = run({"convert", tilted, "-o", path("tilted")});
    EXPECT_EQ(tiltedConverted.code, 0) << tiltedConverted.err;
    const openedAssemblyS tiltedOpened = openAssembly(path("tilted/Tilted.sldasm"));
    ASSERT_TRUE(tiltedOpened.doc);
    EXPECT_EQ(sessionAssemblyOf(tiltedOpened.doc)->components().size(), 1u);
    EXPECT_NEAR(massPropGetVolume(docExtCreateMassProperty(modelDocGetExtension(tiltedOpened.doc))),
                3500, 1e-6);
}

TEST_F(LevelsAndAssemblies, AnExportOfAnAssemblyMissingAMemberOrASolidIsRefused) {
    const std::string model =
        writeFile("pair.meta", "(ASSEMBLY (NAME \"Pair\") (ITEMS " + block("Base", "") +
                                   block("Pin", "(MAT 1 0 0 0 0 1 0 0 0 0 1 0 30 0 0 1)") + "))");
    ASSERT_EQ(run({"convert", model, "-o", path("out")}).code, 0);
    ASSERT_EQ(run({"export", path("out/Pair.sldasm"), path("whole.step")}).code, 0);

    std::filesystem::remove(path("out/Pin.sldprt"));
    runS refused = run({"export", path("out/Pair.sldasm"), path("part.step")});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.err, "natlinkhost: " + path("out/Pair.sldasm") +
                               ": the component \"Pin-1\" is missing: its file " +
                               path("out/Pin.sldprt") + " does not exist\n");
    EXPECT_FALSE(std::filesystem::exists(path("part.step")));

    const std::string hollow =
        writeFile("hollow.meta", "(ASSEMBLY (NAME \"Hollow\") (ITEMS (PART (NAME \"Only\") "
                                 "(ITEMS))))");
    ASSERT_EQ(run({"convert", hollow, "-o", path("out")}).code, 0);
    for (const char* format : {"step", "stl"}) {
        refused = run({"export", path("out/Hollow.sldasm"), path(std::string("empty.") + format)});
        EXPECT_EQ(refused.code, 1);
        EXPECT_NE(refused.err.find("the assembly has no solid body to write as "),
                  std::string::npos)
            << refused.err;
        EXPECT_FALSE(std::filesystem::exists(path(std::string("empty.") + format)));
    }
}

} // namespace
