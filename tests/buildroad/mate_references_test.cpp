// Mate references, connection points and face colours end to end: the example plate is
// converted, the saved part reopened, and each reference checked by name, by the kind of
// entity it holds and by where that entity lies; then the faults of the step, each through
// a variant of the example.
#include "tests/buildroad/buildroad_fixture.h"

#include "libs/geomcore/swapi/swapi.h"
#include "natlinksolidworks/ps_plugin.h"
#include "platform/sldworks/session/session.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class MateReferences : public buildRoadTest {
protected:
    void SetUp() override {
        buildRoadTest::SetUp();
        app_ = createSimulatedSldWorks();
        const char* root = std::getenv("NATLINK_SOURCE_DIR");
        std::ifstream in(std::string(root != nullptr ? root : ".") + "/examples/materefs.meta");
        std::ostringstream text;
        text << in.rdbuf();
        example_ = text.str();
        ASSERT_FALSE(example_.empty());
    }

    // Converts the document text with the given creation option settings; RESTEXT in resText_.
    int convert(const std::string& document, const std::string& settings = "") {
        metaObjectC options =
            tree("(CONVERTOPTIONS (OUTPUTLOCATION \"" + path("out") + "\") (CUSTOMDATA (CREAOPTS" +
                 " (CREAOPTSETS " + settings + "))) (INPUTDATA " + document + "))");
        PSWPlugin plugin(app_);
        const int result = plugin.convertMetaTree(options.getTreePtr());
        resText_ = options.readStringProperty("RESTEXT").toUtf8();
        part_ = swsim::PartDocument::open(path("out/MatePlate.sldprt"));
        return result;
    }

    std::string replaced(const std::string& from, const std::string& to) const {
        std::string text = example_;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    }

    // The example with more classification entries before CP2's, and more connection points.
    std::string withPoints(const std::string& entries, const std::string& points = "") const {
        std::string text = replaced("(DOCCLASSIFYIDINFO (CLASSID \\\"QEL_CP_PLACE_PA\\\") (INSTID "
                                    "\\\"2\\\")",
                                    entries + "(DOCCLASSIFYIDINFO (CLASSID "
                                              "\\\"QEL_CP_PLACE_PA\\\") (INSTID \\\"2\\\")");
        const std::size_t at = text.find("(CONNPOINT (NAME \"CP2\")");
        return text.insert(at, points);
    }
    static std::string pointEntry(const std::string& name) {
        return "(DOCCLASSIFYIDINFO (CLASSID \\\"QEL_CP_PLACE_PA\\\") (DOCCLASSIFYVAR (VARNAME "
               "\\\"QEL_3DID\\\") (VALUE \\\"MatePlate,0," +
               name + "\\\")))";
    }

    swsim::MateReferencePtr reference(const std::string& name) const {
        for (const swsim::FeaturePtr& feature : part_->features())
            if (auto found = std::dynamic_pointer_cast<swsim::MateReference>(feature))
                if (found->name() == name)
                    return found;
        return nullptr;
    }
    int referenceCount() const {
        int count = 0;
        for (const swsim::FeaturePtr& feature : part_->features())
            count += feature->kind() == swsim::FeatureKind::MateReference;
        return count;
    }
    int featureCount(const std::string& type) const {
        int count = 0;
        for (const swsim::FeaturePtr& feature : part_->features())
            count += feature->typeName() == type;
        return count;
    }
    // The circle a reference's edge runs on, checked to be one.
    swsim::CurveInfo circleOf(const std::string& name) const {
        const swsim::MateReferencePtr found = reference(name);
        const auto edge = found ? swsim::objectAs<swsim::Edge>(found->entity()) : nullptr;
        EXPECT_TRUE(edge) << name;
        if (!edge)
            return {};
        EXPECT_EQ(edge->curve().kind, swsim::CurveKind::Circle) << name;
        return edge->curve();
    }

    ISldWorksPtr app_;
    std::string example_;
    std::string resText_;
    swsim::PartDocumentPtr part_;
};

void expectNear(swsim::Vec3 a, swsim::Vec3 b) {
    EXPECT_NEAR(a.x, b.x, 1e-9);
    EXPECT_NEAR(a.y, b.y, 1e-9);
    EXPECT_NEAR(a.z, b.z, 1e-9);
}

TEST_F(MateReferences, ExamplePlateCarriesItsReferencesAndColours) {
    ASSERT_EQ(convert(example_), 0) << resText_;
    ASSERT_EQ(referenceCount(), 4);

    // Classified faces: the top plane and the bore's cylinder, each named as its helper.
    const auto top = swsim::objectAs<swsim::Face>(reference("PLANAR")->entity());
    ASSERT_TRUE(top);
    EXPECT_EQ(top->surface().kind, swsim::SurfaceKind::Plane);
    EXPECT_EQ(top->name(), "MATEREF_HELPER_PLANAR");
    EXPECT_TRUE(top->contains({-15, 10, 20}));
    const auto bore = swsim::objectAs<swsim::Face>(reference("CYL_bore")->entity());
    ASSERT_TRUE(bore);
    EXPECT_EQ(bore->surface().kind, swsim::SurfaceKind::Cylinder);
    EXPECT_EQ(bore->name(), "MATEREF_HELPER_CYL_bore");
    EXPECT_TRUE(bore->contains({20, 0, 10}));

    // CP1 lies on the bore's rim: the rim edge (radius 5 about (15, 0, 20)) takes it.
    const swsim::CurveInfo rim = circleOf("CP1");
    expectNear(rim.centre, {15, 0, 20});
    EXPECT_NEAR(rim.radius, 5.0, 1e-9);
    EXPECT_EQ(swsim::objectAs<swsim::Edge>(reference("CP1")->entity())->name(),
              "MATEREF_HELPER_EDGE");

    // CP2 (side face, no circle through it) gets a helper body on "CP2 XY": a circle of
    // 0.75 x 30 extruded 10 (half the box's height) from x = 30; the body is hidden, so the
    // plate's volume is 60 x 40 x 20 less the bore.
    const swsim::CurveInfo helper = circleOf("CP2");
    EXPECT_NEAR(helper.radius, 22.5, 1e-9);
    EXPECT_NEAR(helper.centre.y, 0.0, 1e-9);
    EXPECT_NEAR(helper.centre.z, 10.0, 1e-9);
    EXPECT_EQ(swsim::objectAs<swsim::Edge>(reference("CP2")->entity())->name(),
              "MATEREF_HELPER_EDGE_CP2");
    const auto helperBody = swsim::objectAs<swsim::Edge>(reference("CP2")->entity())->body();
    ASSERT_TRUE(helperBody);
    EXPECT_TRUE(part_->bodyHidden(*helperBody));
    EXPECT_NEAR(part_->massProperties().volume, 48000.0 - M_PI * 25.0 * 20.0, 1e-6);

    // Face colours at the annotated points: the front face red, the left face green.
    const swsim::FacePtr front = part_->findFaceAt({0, -20, 10}, {0, 0, 0}, 1e-6);
    const swsim::FacePtr left = part_->findFaceAt({-30, 0, 10}, {0, 0, 0}, 1e-6);
    ASSERT_TRUE(front && left && front->colour() && left->colour());
    EXPECT_EQ(*front->colour(), (swsim::Rgb{1, 0, 0}));
    EXPECT_EQ(*left->colour(), (swsim::Rgb{0, 128.0 / 255.0, 0}));
    EXPECT_FALSE(top->colour());
}

TEST_F(MateReferences, ModeZeroMakesNoReferences) {
    ASSERT_EQ(convert(example_, "(CREAOPTSET (NAME \"CreateMateReferences\") (VAL \"0\"))"), 0);
    EXPECT_EQ(referenceCount(), 0);
    EXPECT_EQ(featureCount("Boss"), 0); // no helper body either
}

// An entry whose QEL_3DID names no connection point (nothing after its last comma, no comma,
// no QEL_3DID at all) gets no reference and is named; the connection points after it still
// get theirs.
TEST_F(MateReferences, EntriesThatNameNoConnectionPointAreNamed) {
    const std::string entries =
        "(DOCCLASSIFYIDINFO (CLASSID \\\"QEL_CP_PLACE_PA\\\") (INSTID \\\"5\\\") (DOCCLASSIFYVAR "
        "(VARNAME \\\"QEL_3DID\\\") (VALUE \\\"CP5\\\"))) (DOCCLASSIFYIDINFO (CLASSID "
        "\\\"QEL_CP_PLACE_PA\\\") (INSTID \\\"6\\\"))";
    std::string model = withPoints(entries);
    model.replace(model.find("MatePlate,1,CP1"), 15, "MatePlate,1,");
    ASSERT_EQ(convert(model), 1);
    EXPECT_EQ(resText_, "Items not built: CLASSIFICATIONINFO \"MatePlate\": The connection-point "
                        "entry \"1\" gets no mate reference: its QEL_3DID \"MatePlate,1,\" names "
                        "no connection point after its last comma; CLASSIFICATIONINFO "
                        "\"MatePlate\": The connection-point entry \"5\" gets no mate reference: "
                        "its QEL_3DID \"CP5\" has no comma before a connection point name; "
                        "CLASSIFICATIONINFO \"MatePlate\": The connection-point entry \"6\" gets "
                        "no mate reference: it has no QEL_3DID");
    EXPECT_FALSE(reference("CP1"));
    EXPECT_FALSE(reference("CP5"));
    EXPECT_TRUE(reference("CP2"));
    EXPECT_TRUE(reference("PLANAR") && reference("CYL_bore"));
}

// A mode other than 0, 1 and 2 makes the face references only: each connection point is
// named. A value that is no whole number is no mode: named, and nothing is made of it; the
// part is saved all the same.
TEST_F(MateReferences, ModesThatMakeNotEveryReferenceSaySo) {
    ASSERT_EQ(convert(example_, "(CREAOPTSET (NAME \"CreateMateReferences\") (VAL \"3\"))"), 1);
    const std::string facesOnly =
        "gets no mate reference: \"CreateMateReferences\" 3 makes mate references at classified "
        "faces only";
    EXPECT_EQ(resText_, "Items not built: CLASSIFICATIONINFO \"MatePlate\": The connection point "
                        "\"CP1\" " +
                            facesOnly +
                            "; CLASSIFICATIONINFO \"MatePlate\": The connection point \"CP2\" " +
                            facesOnly);
    EXPECT_EQ(referenceCount(), 2);
    EXPECT_TRUE(reference("PLANAR") && reference("CYL_bore"));
    EXPECT_EQ(featureCount("Boss"), 0);

    ASSERT_EQ(convert(example_, "(CREAOPTSET (NAME \"CreateMateReferences\") (VAL \"yes\"))"), 1);
    EXPECT_EQ(resText_, "Items not built: CREAOPTS \"MatePlate\": the creation option "
                        "\"CreateMateReferences\" is \"yes\", which is no mode (a whole number: 0 "
                        "none, 1 or 2 at classified faces and connection points, any other at "
                        "classified faces only): no mate references are made");
    ASSERT_TRUE(part_);
    EXPECT_EQ(referenceCount(), 0);
    EXPECT_NEAR(part_->massProperties().volume, 48000.0 - M_PI * 25.0 * 20.0, 1e-6);
}

// Unreadable classification text makes no references and no failure; an unreadable FACD
// costs only its own annotation.
TEST_F(MateReferences, MalformedClassificationTextIsSkipped) {
    ASSERT_EQ(convert(replaced("(DOCCLASSIFYLIST (DOCCLASSIFYINFO", "(DOCCLASSIFYLIST ((")), 0)
        << resText_;
    EXPECT_EQ(referenceCount(), 0);
    ASSERT_EQ(convert(replaced("(RCCLASSINSTANCE (CLASSNAME \\\"QEL_FACE\\\")",
                               "(RCCLASSINSTANCE (CLASSNAME \\\"QEL_FACE")),
              0)
        << resText_;
    EXPECT_FALSE(reference("PLANAR"));
    EXPECT_TRUE(reference("CYL")); // the bore is now the first face reference
}

// Mode 2 puts face references on hidden surface copies; when the copy cannot be found again
// the reference stays on the solid's own face and the solid is not hidden.
TEST_F(MateReferences, ModeTwoKeepsTheFaceWhenTheCopyIsNotFound) {
    const std::string mode2 = "(CREAOPTSET (NAME \"CreateMateReferences\") (VAL \"2\"))";
    ASSERT_EQ(convert(example_, mode2), 0) << resText_;
    const auto copied = swsim::objectAs<swsim::Face>(reference("PLANAR")->entity());
    ASSERT_TRUE(copied && copied->body());
    EXPECT_EQ(copied->body()->kind(), swsim::BodyKind::Sheet);
    EXPECT_TRUE(part_->bodyHidden(*copied->body()));

    sessionTestKit(app_).plan().returnNull("IModelDoc2::CopySelectedFaceAsSurface");
    ASSERT_EQ(convert(example_, mode2), 0) << resText_;
    const auto kept = swsim::objectAs<swsim::Face>(reference("PLANAR")->entity());
    ASSERT_TRUE(kept && kept->body());
    EXPECT_EQ(kept->body()->kind(), swsim::BodyKind::Solid);
    EXPECT_FALSE(part_->bodyHidden(*kept->body()));
    EXPECT_TRUE(reference("CYL_bore"));
}

// A rim qualifies only when it is centred on the connection point, and only on a shown body:
// CP3 lies in the plane of the bore's rim but 31.6 away from its centre, CP4 at CP2's place
// where only CP2's hidden helper body has a rim. Each gets a helper body of its own.
TEST_F(MateReferences, ConnectionPointRimsAreCentredOnThePointOfAShownBody) {
    ASSERT_EQ(convert(withPoints(pointEntry("CP3") + pointEntry("CP4"),
                                 "(CONNPOINT (NAME \"CP3\") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  -15 10 "
                                 "20 1)) (CONNPOINT (NAME \"CP4\") (MAT 0 1 0 0  0 0 1 0  1 0 0 0  "
                                 "30 0 10 1))")),
              0)
        << resText_;
    const swsim::CurveInfo cp3 = circleOf("CP3");
    EXPECT_NEAR(cp3.centre.x, -15.0, 1e-9);
    EXPECT_NEAR(cp3.centre.y, 10.0, 1e-9);
    EXPECT_NEAR(cp3.radius, 22.5, 1e-9); // a helper circle, not the bore's rim of radius 5
    const auto body = [&](const char* name) {
        return swsim::objectAs<swsim::Edge>(reference(name)->entity())->body();
    };
    ASSERT_TRUE(reference("CP2") && reference("CP4"));
    EXPECT_NE(body("CP4"), body("CP2"));
    EXPECT_TRUE(part_->bodyHidden(*body("CP4")));
}

// The classified face whose point lies on no face and the connection point that does not
// exist are named; the references after them are still made. A classified face whose
// direction points out of the material is told apart from one where there is no face.
TEST_F(MateReferences, UnreferencedFacesAndConnectionPointsAreNamed) {
    std::string model = withPoints(pointEntry("CP9"));
    model.replace(model.find("(POINT3D -15 10 20)"), 19, "(POINT3D -15 10 25)");
    ASSERT_EQ(convert(model), 1);
    EXPECT_EQ(resText_, "Items not built: CLASSIFICATIONINFO \"MatePlate\": The classified face "
                        "\"top\" gets no mate reference: no face at (-15, 10, 25); "
                        "CLASSIFICATIONINFO \"MatePlate\": The connection point \"CP9\" gets no "
                        "mate reference: the part has no such connection point");
    EXPECT_TRUE(reference("CYL")); // the bore is the first face reference now
    EXPECT_TRUE(reference("CP2"));

    ASSERT_EQ(convert(replaced("(POINT3D -15 10 20) (VEC3D 0 0 -1)",
                               "(POINT3D -15 10 20) (VEC3D 0 0 1)")),
              1);
    EXPECT_EQ(resText_, "Items not built: CLASSIFICATIONINFO \"MatePlate\": The classified face "
                        "\"top\" gets no mate reference: its direction (VEC3D) (0, 0, 1) points "
                        "out of the material at (-15, 10, 20); it must point into it");
    EXPECT_FALSE(reference("PLANAR"));
    EXPECT_TRUE(reference("CYL"));
}

// A connection point that fails takes away the plane and the sketch it made: the part holds
// the features it holds without it (SolidWorks numbers later sketches on, as after any
// deletion). So does one that fails while its sketch is open.
TEST_F(MateReferences, AFailedConnectionPointLeavesNothingInThePart) {
    const auto features = [&] {
        std::vector<std::string> types;
        for (const swsim::FeaturePtr& feature : part_->features())
            types.push_back(feature->typeName());
        return types;
    };
    // CP2's point cannot be drawn (the second point drawn): its sketch is open when the call
    // fails, and it gets no mate reference.
    sessionTestKit(app_).plan().failWith("IModelDoc2::CreatePoint", E_FAIL, 2);
    ASSERT_EQ(convert(example_), 1);
    EXPECT_NE(resText_.find("CONNPOINT \"CP2\": SolidWorks call failed"), std::string::npos)
        << resText_;
    EXPECT_FALSE(part_->findFeature("CP2 XY"));
    EXPECT_FALSE(part_->findFeature("CP2"));
    const std::vector<std::string> withoutCp2 = features();
    sessionTestKit(app_).plan().clear();

    ASSERT_EQ(convert(example_), 0) << resText_;
    std::vector<std::string> expected = features();
    const std::string twice = "(CONNPOINT (NAME \"CP1\") (MAT 1 0 0 0  0 1 0 0  0 0 1 0  -15 0 "
                              "20 1))";
    ASSERT_EQ(convert(replaced("(CONNPOINT (NAME \"CP2\")", twice + "(CONNPOINT (NAME \"CP2\")")),
              1);
    EXPECT_EQ(resText_, "Items not built: CONNPOINT \"CP1\": The name of connection point "
                        "\"CP1\" is taken");
    EXPECT_EQ(features(), expected);
    EXPECT_NEAR(circleOf("CP1").radius, 5.0, 1e-9); // still on the bore's rim

    // Without CP2: its plane, sketch, helper body (sketch, boss, far face's copy) and
    // reference are missing, nothing else.
    for (const char* type :
         {"RefPlane", "ProfileFeature", "ProfileFeature", "Boss", "RefSurface", "MateReference"})
        expected.erase(std::find(expected.begin(), expected.end(), type));
    std::vector<std::string> sortedWithout = withoutCp2;
    std::sort(sortedWithout.begin(), sortedWithout.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sortedWithout, expected);
}

// In mode 2 CP1 gets a helper body too; the surface copy of its far face is hidden with the
// surface body folder, so CP2's helper is extruded half the plate's height (10), not half the
// height up to that copy at z = 30.
TEST_F(MateReferences, ModeTwoHidesHelperSheetsOutOfTheNextHelpersBox) {
    ASSERT_EQ(convert(example_, "(CREAOPTSET (NAME \"CreateMateReferences\") (VAL \"2\"))"), 0)
        << resText_;
    for (const swsim::BodyPtr& sheet : part_->bodies(swsim::BodyKind::Sheet))
        EXPECT_TRUE(part_->bodyHidden(*sheet));
    const auto helper = swsim::objectAs<swsim::Edge>(reference("CP2")->entity())->body();
    ASSERT_TRUE(helper);
    EXPECT_NEAR(helper->box().min.x, 30.0, 1e-6);
    EXPECT_NEAR(helper->box().max.x, 40.0, 1e-6);
}

// The example plate as the member of an assembly whose classified faces are a point on the
// member's hidden helper body (the far face of CP2's helper at x = 40) and the plate's top.
std::string holderOf(const std::string& plate, const char* mode) {
    const auto face = [](const char* point, const char* direction, const char* id) {
        return std::string("(ANNOTATIONFACE (POINT3D ") + point + ") (VEC3D " + direction +
               ") (FACD \"(RCCLASSINSTANCE (RCPROPERTY (NAME \\\"CLASSID\\\") (VALUE "
               "\\\"QEL_FACE_TS\\\")) (RCPROPERTY (NAME \\\"INSTID\\\") (VALUE \\\"" +
               id + "\\\")))\"))";
    };
    std::string member = plate.substr(plate.find("(PART (NAME \"MatePlate\")"));
    member.insert(std::string("(PART (NAME \"MatePlate\")").size(),
                  " (MAT 1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 1)");
    return std::string("(ASSEMBLY (NAME \"Holder\") (CREAOPTS (CREAOPTSETS (CREAOPTSET (NAME "
                       "\"CreateMateReferences\") (VAL \"") +
           mode +
           "\")))) (ASMATTR (CLASSIFICATIONINFO \"(DOCCLASSIFYLIST (DOCCLASSIFYINFO (NAME "
           "\\\"qel\\\") (DOCCLASSIFYIDINFO (CLASSID \\\"QEL_FACE_TS\\\") (INSTID "
           "\\\"ghost\\\")) (DOCCLASSIFYIDINFO (CLASSID \\\"QEL_FACE_TS\\\") (INSTID "
           "\\\"top\\\"))))\")) (ANNOTATIONSETS (ANNOTATIONSETFACE " +
           face("40 0 10", "-1 0 0", "ghost") + face("-15 10 20", "0 0 -1", "top") + ")) (ITEMS " +
           member + "))";
}

// The assembly shows its member without the member's hidden bodies: its volume is the
// plate's, and the helper's face takes no classified face. That face is named and skipped
// (the walk after the ray must not ask an assembly for a part's bodies); the top still gets
// its reference.
TEST_F(MateReferences, AssemblyTakesOnlyTheShownBodiesOfItsMember) {
    EXPECT_EQ(convert(holderOf(example_, "1")), 1);
    EXPECT_EQ(resText_, "Items not built: CLASSIFICATIONINFO \"Holder\": The classified face "
                        "\"ghost\" gets no mate reference: no face at (40, 0, 10)");
    long errors = 0;
    long warnings = 0;
    const ISldWorksPtr reader = createSimulatedSldWorks();
    const IModelDoc2Ptr doc =
        sldWorksOpenDocument(reader, path("out/Holder.sldasm").c_str(), 2, 0, "", errors, warnings);
    ASSERT_TRUE(doc);
    const swsim::AssemblyDocumentPtr assembly = sessionAssemblyOf(doc);
    EXPECT_NEAR(assembly->geometryMass().volume, 48000.0 - M_PI * 25.0 * 20.0, 1e-6);
    // The box (within the modeller's tolerance) reaches no further than the plate.
    const swsim::Box box = assembly->box();
    EXPECT_NEAR(box.min.x, -30, 1e-6);
    EXPECT_NEAR(box.max.x, 30, 1e-6);
    EXPECT_NEAR(box.max.z, 20, 1e-6);
    const auto references = assembly->mateReferences();
    ASSERT_EQ(references.size(), 1u);
    EXPECT_EQ(references[0]->name(), "PLANAR");
    const auto top = swsim::objectAs<swsim::Face>(references[0]->entity());
    ASSERT_TRUE(top);
    EXPECT_TRUE(top->contains({-15, 10, 20}));
}

// Mode 2 makes no surface copies in an assembly: each classified face is named as not built
// (no copy is tried on a face the assembly cannot select), and the assembly is saved.
TEST_F(MateReferences, AssemblyModeTwoNamesItsFaceReferencesAsNotBuilt) {
    ASSERT_EQ(convert(holderOf(example_, "2")), 1);
    const std::string notBuilt = "gets no mate reference: mate references on surface copies "
                                 "(CreateMateReferences 2) are not built in an assembly";
    EXPECT_EQ(resText_, "Items not built: CLASSIFICATIONINFO \"Holder\": The classified face "
                        "\"ghost\" " +
                            notBuilt +
                            "; CLASSIFICATIONINFO \"Holder\": The classified face \"top\" " +
                            notBuilt);
    EXPECT_TRUE(std::filesystem::exists(path("out/Holder.sldasm")));
}

// A connection point without its "<name> XY" plane gets no helper body: no other sketch is
// extruded in its place, and the point is named.
TEST_F(MateReferences, MissingConnectionPointPlaneExtrudesNothing) {
    ASSERT_EQ(convert(replaced("(CONNPOINT (NAME \"CP2\")", "(NOTACONNPOINT (NAME \"CP2\")"),
                      "(CREAOPTSET (NAME \"CreateMateReferences\") (VAL \"2\"))"),
              1)
        << resText_;
    EXPECT_EQ(resText_, "Items not built: CLASSIFICATIONINFO \"MatePlate\": The connection point "
                        "\"CP2\" gets no mate reference: no plane \"CP2 XY\"");
    EXPECT_FALSE(reference("CP2"));
    EXPECT_EQ(featureCount("Boss"), 1); // CP1's helper body only
}

// A face colour whose point lies on no face, and a second colour on a face that already took
// one, are reported under the part's name; the others are applied.
TEST_F(MateReferences, ColourWithoutFaceIsReported) {
    std::string model = replaced("(POINT3D -30 0 10)", "(POINT3D -31 0 10)");
    const std::string blue = "(ANNOTATIONFACE (POINT3D 5 -20 5) (FACD \"(RCCLASSINSTANCE"
                             " (RCPROPERTY (NAME \\\"CLASSID\\\") (VALUE"
                             " \\\"sys_faceattributecolor\\\")) (RCPROPERTY (NAME"
                             " \\\"COLOR\\\") (VALUE \\\"0,0,255\\\")))\"))";
    model.insert(model.find("(ANNOTATIONFACE (POINT3D -31"), blue);
    EXPECT_EQ(convert(model), 1);
    EXPECT_EQ(resText_, "Items not built: ANNOTATIONSETS \"MatePlate\": The face at (5, -20, 5) "
                        "already has a colour; ANNOTATIONSETS \"MatePlate\": No face at "
                        "(-31, 0, 10) takes its colour");
    const swsim::FacePtr front = part_->findFaceAt({0, -20, 10}, {0, 0, 0}, 1e-6);
    ASSERT_TRUE(front && front->colour());
    EXPECT_EQ(*front->colour(), (swsim::Rgb{1, 0, 0})); // the first colour stays
}

// A part without bodies has nothing to colour: the colour finds no face, nothing fails.
TEST_F(MateReferences, PartWithoutBodiesHasNothingToColour) {
    const std::string model = "(PART (NAME \"MatePlate\") (ANNOTATIONSETS (ANNOTATIONSETFACE"
                              " (ANNOTATIONFACE (POINT3D 0 0 0) (FACD \"(RCCLASSINSTANCE"
                              " (RCPROPERTY (NAME \\\"CLASSID\\\") (VALUE"
                              " \\\"sys_faceattributecolor\\\")) (RCPROPERTY (NAME"
                              " \\\"COLOR\\\") (VALUE \\\"1,2,3\\\")))\")))))";
    EXPECT_EQ(convert(model), 1);
    EXPECT_EQ(resText_, "Items not built: ANNOTATIONSETS \"MatePlate\": No face at (0, 0, 0) takes "
                        "its colour");
}

} // namespace
