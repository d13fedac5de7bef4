// A level of detail that leaves out a drilling its mate references lie on, end to end: the
// part is converted showing either configuration, and the saved file, reopened in a new
// session and through natlinkhost inspect, has the drilling's names and references in every
// configuration that has the drilling.
#include "tests/natlinkhost/natlinkhost_fixture.h"

#include "tests/buildasm3d/saved_documents.h"

#include <numbers>

namespace {

using LevelReferences = natlinkHostTest;

// A plate 50 x 30 x 10 with the drilling "Bore" (diameter 8 through it at (10, 0)), the
// connection point CP1 at the centre of the bore's rim on the top, the bore classified for
// mating, and the level "Lite" that leaves the bore out; `selected` names the level shown.
std::string borePlate(const std::string& selected) {
    return "(PART (NAME \"BorePlate\")"
           " (CREAOPTS (CREAOPTSETS (CREAOPTSET (NAME \"CreateLOD\") (VAL \"1\"))))"
           " (PARTATTR (CLASSIFICATIONINFO \"(DOCCLASSIFYLIST (DOCCLASSIFYINFO (NAME \\\"qel\\\")"
           "  (DOCCLASSIFYIDINFO (CLASSID \\\"QEL_FACE_TS\\\") (INSTID \\\"bore\\\"))"
           "  (DOCCLASSIFYIDINFO (CLASSID \\\"QEL_CP_PLACE_PA\\\") (INSTID \\\"1\\\")"
           "   (DOCCLASSIFYVAR (VARNAME \\\"QEL_3DID\\\") (VALUE \\\"BorePlate,1,CP1\\\")))))\"))"
           " (PARTLOD (SELLODNAME \"" +
           selected +
           "\") (PARTLODENTS (PARTLODENT (NAME \"Lite\") (PARTLODEXCFEATLST \"Bore\"))))"
           " (ITEMS (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))"
           "  (SKETCH (NAME \"S\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1) (SKETCHON (PLANE \"XY\"))"
           "   (LOOP (LINE (POINT -25 -15) (POINT 25 -15)) (LINE (POINT 25 -15) (POINT 25 15))"
           "    (LINE (POINT 25 15) (POINT -25 15)) (LINE (POINT -25 15) (POINT -25 -15))))"
           "  (BASE (NAME \"Plate\") (TYP \"EXTRUDE\") (USED \"S\") (PARAM 10 0 0))"
           "  (DRILLING (NAME \"Bore\") (STARTPOINT 10 0 10) (DIRECTION 0 0 -1) (DIAMETER 8)"
           "   (DEPTH 10)))"
           " (CONNPOINTS (CONNPOINT (NAME \"CP1\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 10 0 10 1)))"
           " (ANNOTATIONSETS (ANNOTATIONSETFACE (ANNOTATIONFACE (POINT3D 14 0 5) (VEC3D 1 0 0)"
           "  (FACD \"(RCCLASSINSTANCE (RCPROPERTY (NAME \\\"CLASSID\\\") (VALUE"
           " \\\"QEL_FACE_TS\\\")) (RCPROPERTY (NAME \\\"INSTID\\\") (VALUE \\\"bore\\\")))\")))))";
}

swsim::MateReferencePtr referenceNamed(const swsim::PartDocument& part, const std::string& name) {
    for (const swsim::FeaturePtr& feature : part.features())
        if (auto reference = std::dynamic_pointer_cast<swsim::MateReference>(feature);
            reference && reference->name() == name)
            return reference;
    return nullptr;
}

TEST_F(LevelReferences, ALevelKeepsTheNamesAndReferencesOfTheDrillingItLeavesOut) {
    const double plate = 50.0 * 30 * 10;
    const double drilled = plate - std::numbers::pi * 16 * 10;
    for (const char* selected : {"", "Lite"}) {
        SCOPED_TRACE(std::string("shown level \"") + selected + "\"");
        const runS converted =
            run({"convert", writeFile("bore.meta", borePlate(selected)), "-o", path("out")});
        ASSERT_EQ(converted.code, 0) << converted.err;
        EXPECT_EQ(converted.err, "");
        const std::string file = path("out/BorePlate.sldprt");
        const std::string saved = readFile(file);
        EXPECT_NE(saved.find("MATEREF_HELPER_CYL"), std::string::npos);
        EXPECT_NE(saved.find("MATEREF_HELPER_EDGE"), std::string::npos);

        // inspect walks every configuration and then lists what the shown one holds.
        const runS inspected = run({"inspect", file});
        ASSERT_EQ(inspected.code, 0) << inspected.err;
        const std::string where = *selected == '\0' ? "" : ", not in the shown configuration";
        EXPECT_NE(
            inspected.out.find("\"CYL\" on face \"MATEREF_HELPER_CYL\" (cylinder)" + where + "\n"),
            std::string::npos)
            << inspected.out;
        EXPECT_NE(
            inspected.out.find("\"CP1\" on edge \"MATEREF_HELPER_EDGE\" (circle)" + where + "\n"),
            std::string::npos)
            << inspected.out;

        // Each configuration in turn, twice, read back in a new session.
        const ISldWorksPtr app = createSimulatedSldWorks();
        const IModelDoc2Ptr doc = openSaved(app, file, 1);
        ASSERT_TRUE(doc);
        const swsim::PartDocumentPtr part = sessionPartOf(doc);
        EXPECT_EQ(part->activeConfiguration()->name(), *selected == '\0' ? "Default" : selected);
        for (const char* configuration : {"Default", "Lite", "Default", "Lite"}) {
            SCOPED_TRACE(configuration);
            modelDocShowConfiguration(doc, configuration);
            const bool lite = std::string(configuration) == "Lite";
            EXPECT_NEAR(massPropGetVolume(docExtCreateMassProperty(modelDocGetExtension(doc))),
                        lite ? plate : drilled, 1e-6);
            const auto bore =
                swsim::objectAs<swsim::Face>(part->findEntityByName("MATEREF_HELPER_CYL"));
            const auto rim =
                swsim::objectAs<swsim::Edge>(part->findEntityByName("MATEREF_HELPER_EDGE"));
            if (lite) {
                EXPECT_FALSE(bore);
                EXPECT_FALSE(rim);
                continue;
            }
            ASSERT_TRUE(bore && rim);
            EXPECT_EQ(bore->surface().kind, swsim::SurfaceKind::Cylinder);
            EXPECT_TRUE(bore->contains({14, 0, 5}));
            EXPECT_EQ(rim->curve().kind, swsim::CurveKind::Circle);
            EXPECT_NEAR(rim->curve().radius, 4, 1e-9);
            EXPECT_NEAR(rim->curve().centre.z, 10, 1e-9);
            EXPECT_EQ(referenceNamed(*part, "CYL")->entity(), bore);
            EXPECT_EQ(referenceNamed(*part, "CP1")->entity(), rim);
        }
    }
}

} // namespace
