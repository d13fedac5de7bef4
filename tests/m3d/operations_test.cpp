// Scale, transform and unit change dispatched by tag, document collection, and a document
// class registered from outside (as the parametric document is).

#include "metamodel/core/registry.h"
#include "metamodel/m3d/annotations.h"
#include "metamodel/m3d/document.h"
#include "metamodel/m3d/plane.h"
#include "metamodel/m3d/viewhelpers.h"
#include "tests/m3d/m3d_fixture.h"

#include <cmath>

namespace {

using V3 = vectorC3d<double>;
using M = matrixC4x4<double>;

// A document class of another module: handles scale, transform, unit and preferences,
// leaves the other eight operations to the dispatch. It records what reached it.
class testDocC : public m3dDocumentC {
public:
    using m3dDocumentC::m3dDocumentC;
    static inline std::vector<std::string> calls;
    int scale(double f) override {
        calls.push_back("scale " + mzComStringC::number(f).toUtf8());
        return 1;
    }
    int transform(const M& m) override {
        calls.push_back("transform " + mzComStringC::number(m[12]).toUtf8());
        return 1;
    }
    int setUnitBase(double unit, int) override {
        calls.push_back("unit " + mzComStringC::number(unit).toUtf8());
        return 1;
    }
    m3dDocPrefsC getDocPrefs() override { return m3dDocPrefsC(getOrAddChild("TDOCPREFS")); }
};

class M3dOperations : public M3dTest {
protected:
    void SetUp() override {
        M3dTest::SetUp();
        metaObjInterfaceRegistry<m3dDocumentC>().registerClass<testDocC>("TDOC", 5);
        testDocC::calls.clear();
    }

    static constexpr const char* partText = R"((PART (NAME "P") (PARTPREFS (UNITBASE 1.0)) (ITEMS
        (PLANE (NAME "XY") (TYP "XY") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))
        (PLANE (NAME "O") (TYP "OFF_TO_PLANE") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 10 1)
            (PARAM 0 10.0 "XY"))
        (SKETCH (NAME "S") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 1 2 3 1)
            (SKETCHON (FACE (POINT3D 1 2 3) (VEC3D 0 0 1)))
            (LOOP (LINE (POINT 0 0) (POINT 4 0)) (CIRCLE (POINT 1 1) (RAD 2))))
        (BASE (NAME "B") (TYP "EXTRUDE") (USED "S") (PARAM 25 0 1))
        (CUT (NAME "R") (TYP "ROTATE") (USED "S") (PARAM 90 1 0))
        (DRILLING (NAME "D") (STARTPOINT 1 0 0) (DIRECTION 1 0 0) (DIAMETER 6)
            (COUNTERSINKANGLE 90) (HISTORY (SKETCH (NAME "HS")
                (MAT 1 0 0 0 0 1 0 0 0 0 1 0 1 0 0 1))))
        (UNKNOWN (NAME "U") (POINT3D 1 1 1)))
      (TDOC (NAME "param"))))";
};

TEST_F(M3dOperations, ScaleReachesEveryItemByTag) {
    metaObjectC tree = parse(partText);
    m3dGeomOpBaseC doc(tree.getTreePtr());
    ASSERT_EQ(doc.scale(2.0), 1) << "PART dispatched to m3dPartC";
    m3dPartC part(tree.getTreePtr());
    EXPECT_EQ(getMatrix(part.findFeature("O")).row(3), (V3{0, 0, 20}));
    int flip = 0;
    double distance = 0;
    mzComStringC ref;
    m3dPlaneC o(part.findFeature("O").getTreePtr());
    ASSERT_EQ(o.getOffToPlaneData(o.getOffsetPlaneParam(), flip, distance, ref), 1);
    EXPECT_EQ(distance, 20.0);
    EXPECT_EQ(print(part.findFeature("S").getTreePtr()),
              "(SKETCH (NAME \"S\") (MAT 1.0 0.0 0.0 0.0 0.0 1.0 0.0 0.0 0.0 0.0 1.0 0.0 2.0 4.0 "
              "6.0 1.0) (SKETCHON (FACE (POINT3D 2.0 4.0 6.0) (VEC3D 0 0 1))) (LOOP (LINE "
              "(POINT 0.0 0.0) (POINT 8.0 0.0)) (CIRCLE (POINT 2.0 2.0) (RAD 4.0))))");
    EXPECT_EQ(m3dFeatBodyC(part.findFeature("B").getTreePtr()).getParamVector().getValue(), 50.0);
    EXPECT_EQ(m3dFeatBodyC(part.findFeature("R").getTreePtr()).getParamVector().getValue(), 90.0)
        << "an angle does not scale";
    m3dFeatDrillingC d(part.findFeature("D").getTreePtr());
    EXPECT_EQ(d.getDiameter(), 12.0);
    EXPECT_EQ(d.getCountersinkAngle(), 90.0);
    EXPECT_EQ(getMatrix(part.findFeature("HS")).row(3), (V3{2, 0, 0})) << "history follows";
    V3 p;
    EXPECT_TRUE(getPoint3d(part.findFeature("U"), p));
    EXPECT_EQ(p, (V3{1, 1, 1})) << "an unregistered tag is left alone";
    EXPECT_EQ(testDocC::calls, (std::vector<std::string>{"scale 2"}));
    EXPECT_EQ(scaleNode(part.findFeature("U").getTreePtr(), 2.0), 0);
}

TEST_F(M3dOperations, UnusableFactorsAndMatricesChangeNothing) {
    metaObjectC tree = parse(partText);
    const std::string before = print(tree.getTreePtr());
    m3dGeomOpBaseC doc(tree.getTreePtr());
    for (double bad : {0.0, std::nan(""), static_cast<double>(INFINITY)})
        EXPECT_EQ(doc.scale(bad), 0) << bad;
    M m = M::identity();
    m[13] = std::nan("");
    EXPECT_EQ(doc.transform(m), 0);
    m3dPartC part(tree.getTreePtr());
    EXPECT_EQ(part.findFeature("S").scale(0.0), 0) << "each view refuses on its own";
    EXPECT_EQ(print(tree.getTreePtr()), before);
    EXPECT_TRUE(testDocC::calls.empty());
}

TEST_F(M3dOperations, TransformMultipliesPlacementsInRowVectorOrder) {
    metaObjectC tree = parse(partText);
    // 90 degrees about z, then a shift by (10, 0, 0).
    M m = frameFromOriginXY({10, 0, 0}, {0, 1, 0}, {-1, 0, 0});
    m3dPartC part(tree.getTreePtr());
    ASSERT_EQ(part.transform(m), 1);
    const M s = getMatrix(part.findFeature("S"));
    expectMatrixNear(s, frameFromOriginXY({8, 1, 3}, {0, 1, 0}, {-1, 0, 0}));
    m3dSketchOnC on = m3dSketchC(part.findFeature("S").getTreePtr()).getSketchOn();
    EXPECT_EQ(on.getFacePoint(), (V3{8, 1, 3}));
    EXPECT_EQ(on.getFaceVector(), (V3{0, 0, 1}));
    m3dFeatDrillingC d(part.findFeature("D").getTreePtr());
    V3 v;
    ASSERT_TRUE(d.getStartPoint(v));
    EXPECT_EQ(v, (V3{10, 1, 0}));
    ASSERT_TRUE(d.getDirection(v));
    EXPECT_EQ(v, (V3{0, 1, 0})) << "a direction ignores the translation";
    EXPECT_EQ(m3dFeatBodyC(part.findFeature("B").getTreePtr()).getParamVector().getValue(), 25.0);
    EXPECT_EQ(testDocC::calls, (std::vector<std::string>{"transform 10"}));
}

TEST_F(M3dOperations, UnitChangeScalesByCurrentOverNewAndStores) {
    metaObjectC tree = parse(partText);
    m3dDocumentC doc(tree.getTreePtr());
    ASSERT_EQ(doc.setUnitBase(0.5, 0), 1);
    m3dPartC part(tree.getTreePtr());
    EXPECT_EQ(getMatrix(part.findFeature("O")).row(3), (V3{0, 0, 20}));
    EXPECT_EQ(doc.getDocPrefs().getUnitBase(), 0.5);
    EXPECT_EQ(testDocC::calls, (std::vector<std::string>{"unit 0.5"}))
        << "the parametric child converts itself";
    // The same unit again changes nothing; a unit that is no positive number is refused.
    const std::string before = print(tree.getTreePtr());
    EXPECT_EQ(doc.setUnitBase(0.5, 0), 1);
    for (double bad : {0.0, -2.0, std::nan(""), static_cast<double>(INFINITY)})
        EXPECT_EQ(doc.setUnitBase(bad, 1), 0) << bad;
    EXPECT_EQ(print(tree.getTreePtr()), before);

    metaObjectC bare = parse("(PART (ITEMS (PLANE (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 1 1))))");
    m3dPartC b(bare.getTreePtr());
    ASSERT_EQ(b.setUnitBase(25.4, 0), 1) << "no UNITBASE counts as 1";
    EXPECT_NEAR(getMatrix(metaObjectC(b.getItems().getAt(0))).row(3).z, 1 / 25.4, 1e-15);
    EXPECT_EQ(b.getDocPrefs().getUnitBase(), 25.4);
}

TEST_F(M3dOperations, AssemblyMovesMembersAndConvertsThemOnRequest) {
    const char* text = R"((ASSEMBLY (NAME "A") (ITEMS
        (PART (NAME "P1") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 5 0 0 1)
            (ITEMS (PLANE (NAME "Q") (TYP "Z") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 1 1))))
        (ASSEMBLY (NAME "A2") (ITEMS (PART (NAME "P2") (ITEMS)))))))";
    metaObjectC tree = parse(text);
    m3dDocumentC doc(tree.getTreePtr());
    std::vector<metaTreePtrT> parts;
    EXPECT_EQ(doc.collectPartDocuments(parts), 2);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(getNameAttr(metaObjectC(parts[1])), "P2");
    std::vector<metaTreePtrT> all;
    EXPECT_EQ(doc.collectDocuments(all), 4);

    const M shift = M::translation({0, 7, 0});
    ASSERT_EQ(doc.transform(shift), 1);
    metaObjectC p1(parts[0]);
    EXPECT_EQ(getMatrix(p1).row(3), (V3{5, 7, 0})) << "the placement moves";
    m3dPartC part1(parts[0]);
    EXPECT_EQ(getMatrix(part1.findFeature("Q")).row(3), (V3{0, 0, 1})) << "not the content";

    ASSERT_EQ(doc.setUnitBase(0.5, 0), 1);
    EXPECT_EQ(getMatrix(p1).row(3), (V3{10, 14, 0}));
    EXPECT_EQ(getMatrix(part1.findFeature("Q")).row(3), (V3{0, 0, 1})) << "members keep units";
    ASSERT_EQ(doc.setUnitBase(0.25, 1), 1);
    EXPECT_EQ(getMatrix(p1).row(3), (V3{20, 28, 0}));
    EXPECT_EQ(getMatrix(part1.findFeature("Q")).row(3), (V3{0, 0, 4}))
        << "converted from the member's own unit 1 to 0.25";
    EXPECT_EQ(part1.getDocPrefs().getUnitBase(), 0.25);
}

TEST_F(M3dOperations, AnnotationSetsFollowScaleAndTransform) {
    metaObjectC tree = parse(R"((PART (ITEMS (CUT (NAME "C") (TYP "EXTRUDE") (ANNOTATIONSETS
            (ANNOTATIONSETTHREAD (ANNOTATIONTHREAD (THSPECS (THSPEC (THDIA 8) (THLEN 12)))
                (THSTARTPOINT 1 0 0) (THENDPOINT 1 0 -12))))))
        (ANNOTATIONSETS (ANNOTATIONSETFACE
            (ANNOTATIONFACE (FACD "f") (POINT3D 0 0 1) (VEC3D 1 0 0))))))");
    m3dPartC part(tree.getTreePtr());
    ASSERT_EQ(part.scale(0.5), 1);
    m3dAnnotationThreadC thread(
        getThreadAnnotationSet(part.findFeature("C")).getAnnotationAt(0).getTreePtr());
    EXPECT_EQ(thread.getThreadSpecification().getThDia(), 4.0);
    EXPECT_EQ(thread.getThreadSpecification().getThLen(), 6.0);
    V3 p;
    ASSERT_TRUE(getThreadFeatureDiameterEndPoint(thread, p));
    EXPECT_EQ(p, (V3{0.5, 0, -6}));

    ASSERT_EQ(part.transform(frameFromOriginXY({0, 0, 3}, {0, 1, 0}, {-1, 0, 0})), 1);
    ASSERT_TRUE(getThreadFeatureDiameterStartPoint(thread, p));
    EXPECT_EQ(p, (V3{0, 0.5, 3}));
    metaObjectC face(getAnnotationSets(part).getSetAt(0).getAnnotationAt(0).getTreePtr());
    ASSERT_TRUE(getPoint3d(face, p));
    EXPECT_EQ(p, (V3{0, 0, 3.5})) << "scaled to 0.5, then moved up by 3";
    ASSERT_TRUE(readPoint3dNode(face.findChild("VEC3D"), p));
    EXPECT_EQ(p, (V3{0, 1, 0}));
}

TEST_F(M3dOperations, RegisteredDocumentClassGetsDispatchOrEmptyResults) {
    metaObjectC tree = parse("(TDOC (NAME \"t\"))");
    m3dDocumentC doc(tree.getTreePtr());
    EXPECT_EQ(doc.scale(3.0), 1);
    EXPECT_EQ(doc.transform(M::identity()), 1);
    EXPECT_EQ(doc.setUnitBase(2.0, 1), 1);
    EXPECT_EQ(testDocC::calls, (std::vector<std::string>{"scale 3", "transform 0", "unit 2"}));
    EXPECT_TRUE(doc.getDocPrefs().hasKey("TDOCPREFS"));

    // The eight others find the class itself and give their empty results.
    std::vector<metaTreePtrT> out;
    EXPECT_EQ(doc.collectPartDocuments(out), 0);
    EXPECT_EQ(doc.collectDocuments(out), 0);
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(doc.findFeature("t").isValid());
    EXPECT_EQ(doc.placeMembers(), 0);
    EXPECT_EQ(doc.moveBodiesToAbsolutePlanes(), 0);
    EXPECT_EQ(doc.createAlternateDrillingHistories(), 0);
    EXPECT_EQ(doc.expandFeaturePatterns(), 0);
    EXPECT_FALSE(doc.getDocAttr().isValid());

    // Reached through the geometric dispatch too.
    EXPECT_EQ(scaleNode(tree.getTreePtr(), 4.0), 1);
    EXPECT_EQ(testDocC::calls.back(), "scale 4");
    // An unregistered document tag: nothing.
    metaObjectC other = parse("(NODOC)");
    m3dDocumentC none(other.getTreePtr());
    EXPECT_EQ(none.scale(2.0), 0);
    EXPECT_EQ(none.setUnitBase(2.0, 0), 0);
}

TEST_F(M3dOperations, RegistrationIsIdempotentAndComplete) {
    registerM3dClasses();
    auto& geom = metaObjInterfaceRegistry<m3dGeomOpBaseC>();
    for (const char* tag : {"PART", "ASSEMBLY", "PLANE", "SKETCH", "BASE", "CUT", "DRILLING",
                            "FOEFEAT", "SWEEP", "FEATPATTERN", "FPSKETCH", "FPBASEFEAT"}) {
        EXPECT_TRUE(geom.isRegistered(tag)) << tag;
        EXPECT_EQ(geom.priorityOf(tag), 100) << tag;
    }
    EXPECT_NE(dynamic_cast<m3dPlaneC*>(lookupInterfaceInstance<m3dGeomOpBaseC>("PLANE")), nullptr);
    EXPECT_NE(dynamic_cast<m3dAsmC*>(lookupInterfaceInstance<m3dDocumentC>("ASSEMBLY")), nullptr);
    auto& views = metaObjInterfaceRegistry<metaObjectC>();
    for (const char* tag : {"LINE", "ARC", "CIRCLE", "CENTER", "LOOP", "ANNOTATIONSETFACE",
                            "ANNOTATIONSETTHREAD", "PARTLOD", "PARTLODENT"})
        EXPECT_TRUE(views.isRegistered(tag)) << tag;
}

} // namespace
