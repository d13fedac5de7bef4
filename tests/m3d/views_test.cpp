// Accessors of the 3D views that follow a rule: body parameters, offset plane data, centre
// lines, placements, lookups by name, drillings, annotations and levels of detail.

#include "metamodel/m3d/annotations.h"
#include "metamodel/m3d/detaillevel.h"
#include "metamodel/m3d/document.h"
#include "metamodel/m3d/plane.h"
#include "metamodel/m3d/viewhelpers.h"
#include "tests/m3d/m3d_fixture.h"

namespace {

using V2 = vectorC2d<double>;
using V3 = vectorC3d<double>;

class M3dViews : public M3dTest {};

TEST_F(M3dViews, ParamAxisIndexReducesThePaRamVector) {
    struct caseS {
        const char* param;
        int axis;
    } cases[] = {
        {"(PARAM 25.0 0 1)", 2},     {"(PARAM 25.0 1 1)", 2},   {"(PARAM 25.0 1 0)", 1},
        {"(PARAM 25.0 1.0 0.5)", 1}, {"(PARAM 1 0 0)", 0},      {"(PARAM 25.0 0 0.9999)", 0},
        {"(PARAM 25.0 1)", 0},       {"(PARAM 25.0 0 1 7)", 0}, {"(PARAM 25.0 \"y\" 1)", 0},
    };
    for (const caseS& c : cases) {
        metaObjectC tree = parse(std::string("(BASE (TYP \"EXTRUDE\") ") + c.param + ")");
        EXPECT_EQ(m3dFeatBodyC(tree.getTreePtr()).getParamAxisIndex(), c.axis) << c.param;
    }
    metaObjectC none = parse("(BASE (NAME \"B\"))");
    EXPECT_EQ(m3dFeatBodyC(none.getTreePtr()).getParamAxisIndex(), 0);
}

TEST_F(M3dViews, BodyFeatureReadsUsedTypeDepthAndDraft) {
    metaObjectC tree = parse("(BASE (NAME \"B1\") (TYP \"EXTRUDE\") (USED \"S1\") "
                             "(PARAM 25 0 1) (EXTDFTANGLE 2.5))");
    m3dFeatExtrudeC body(tree.getTreePtr());
    EXPECT_EQ(body.getUsed(), "S1");
    EXPECT_TRUE(body.isExtrude());
    EXPECT_FALSE(body.isRotate());
    EXPECT_EQ(body.getParamVector().getValue(), 25.0) << "integers read as doubles";
    EXPECT_EQ(body.getDraftAngle(), 2.5);
    metaObjectC rot = parse("(CUT (TYP \"ROTATE\") (PARAM 90.0 1 0))");
    m3dFeatBodyC r(rot.getTreePtr());
    EXPECT_TRUE(r.isRotate());
    EXPECT_EQ(m3dFeatExtrudeC(rot.getTreePtr()).getDraftAngle(), 0.0);
    EXPECT_TRUE(r.getUsed().isEmpty());
    EXPECT_FALSE(m3dFeatBodyC(parse("(CUT)").getTreePtr()).getParamVector().isValid());
}

TEST_F(M3dViews, OffToPlaneDataNeedsExactlyThreeValues) {
    metaObjectC plane = parse("(PLANE (NAME \"O\") (TYP \"OFF_TO_PLANE\") (PARAM 1 -5.5 \"XY\"))");
    m3dOffsetPlaneC view(plane.getTreePtr());
    int flip = 7;
    double distance = 7.0;
    mzComStringC ref("untouched");
    ASSERT_EQ(view.getOffToPlaneData(view.getOffsetPlaneParam(), flip, distance, ref), 1);
    EXPECT_EQ(flip, 1);
    EXPECT_EQ(distance, -5.5);
    EXPECT_EQ(ref, "XY");

    for (const char* bad :
         {"(PARAM 0 10.0)", "(PARAM 0 10.0 \"XY\" 1)", "(PARAM)", "(PARAM 0 \"10\" \"XY\")",
          "(PARAM 0 10.0 5)", "(PARAM (A 1) 10.0 \"XY\")"}) {
        metaObjectC param = parse(bad);
        flip = 7;
        distance = 7.0;
        ref = "untouched";
        EXPECT_EQ(view.getOffToPlaneData(param, flip, distance, ref), 0) << bad;
        EXPECT_EQ(flip, 7) << bad;
        EXPECT_EQ(distance, 7.0) << bad;
        EXPECT_EQ(ref, "untouched") << bad;
    }
    EXPECT_EQ(view.getOffToPlaneData(metaObjectC(), flip, distance, ref), 0);
    metaObjectC zero = parse("(PARAM 0.0 3 \"A\")");
    ASSERT_EQ(view.getOffToPlaneData(zero, flip, distance, ref), 1);
    EXPECT_EQ(flip, 0);
}

TEST_F(M3dViews, CenterLineGivesTwoPointsOrLeavesOutputs) {
    metaObjectC sk = parse("(SKETCH (NAME \"S\") (CENTER (POINT 0 1) (POINT 0 9.5)))");
    V2 a{-1, -1};
    V2 b{-1, -1};
    ASSERT_EQ(m3dSketchC(sk.getTreePtr()).getCenterLine2d(a, b), 1);
    EXPECT_EQ(a, (V2{0, 1}));
    EXPECT_EQ(b, (V2{0, 9.5}));
    for (const char* bad : {"(SKETCH)", "(SKETCH (CENTER (POINT 0 1)))",
                            "(SKETCH (CENTER (POINT 0 1) (POINT 1 2 3)))"}) {
        metaObjectC t = parse(bad);
        a = {-1, -1};
        b = {-1, -1};
        EXPECT_EQ(m3dSketchC(t.getTreePtr()).getCenterLine2d(a, b), 0) << bad;
        EXPECT_EQ(a, (V2{-1, -1})) << bad;
        EXPECT_EQ(b, (V2{-1, -1})) << bad;
    }
}

TEST_F(M3dViews, SketchPlacementLoopsAndShapes) {
    metaObjectC sk = parse("(SKETCH (NAME \"S\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 5 6 7 1)"
                           " (SKETCHON (PLANE \"XY\"))"
                           " (LOOP (LINE (POINT 0 0) (POINT 10 0)) (ARC (POINT 0 0) (POINT 1 1)"
                           " (POINT 2 0)))"
                           " (NOTE 1) (LOOP (CIRCLE (POINT 3 4) (RAD 2.5))))");
    m3dSketchC s(sk.getTreePtr());
    EXPECT_EQ(getName(s), "S");
    EXPECT_EQ(getMatrix(s).row(3), (V3{5, 6, 7}));
    EXPECT_EQ(s.getSketchOn().getPlaneRef(), "XY");
    EXPECT_EQ(s.getLoops().countLoops(), 2);
    m3dLoopC loop0 = s.getLoopAt(0);
    m3dArcC arc;
    arc.ctorFromNode(loop0.getShapeAt(1).getTreePtr(), false);
    EXPECT_TRUE(arc.hasKey(m3dArcC::tagName()));
    EXPECT_EQ(getThirdPoint2d(arc), (V2{2, 0}));
    m3dCircleC circle;
    circle.ctorFromView(s.getLoopAt(1).getShapeAt(0), false);
    EXPECT_EQ(circle.getRadius(), 2.5);
    EXPECT_EQ(getPoint2d(circle), (V2{3, 4}));
    EXPECT_FALSE(s.getLoopAt(2).isValid());
    EXPECT_EQ(m3dCircleC(parse("(CIRCLE (POINT 0 0))").getTreePtr()).getRadius(), 0.0);
}

TEST_F(M3dViews, SketchOnFaceAndPlaneByName) {
    metaObjectC on = parse("(SKETCHON (FACE (POINT3D 1 2 3) (VEC3D 0 0 -1)))");
    m3dSketchOnC face(on.getTreePtr());
    EXPECT_EQ(face.getFacePoint(), (V3{1, 2, 3}));
    EXPECT_EQ(face.getFaceVector(), (V3{0, 0, -1}));
    EXPECT_TRUE(face.getPlaneRef().isEmpty());
    metaObjectC named = parse("(SKETCHON (PLANE (NAME \"Top\")))");
    m3dSketchOnC plane(named.getTreePtr());
    EXPECT_EQ(plane.getPlaneRef(), "Top");
    V3 v{9, 9, 9};
    EXPECT_FALSE(plane.getFaceVector(v));
    EXPECT_EQ(v, (V3{})) << "no FACE: the zero vector";
}

TEST_F(M3dViews, MatrixNeedsSixteenNumbers) {
    metaObjectC ok = parse("(PLANE (MAT 0 1 0 0 0 0 1 0 1 0 0 0 1 2 3 1))");
    matrixC4x4<double> m;
    EXPECT_TRUE(getMatrix(ok, m));
    EXPECT_EQ(m.row(0), (V3{0, 1, 0}));
    EXPECT_EQ(m.row(3), (V3{1, 2, 3}));
    for (const char* bad : {"(PLANE)", "(PLANE (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0))",
                            "(PLANE (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 \"x\" 1))"}) {
        metaObjectC t = parse(bad);
        EXPECT_FALSE(getMatrix(t, m)) << bad;
        EXPECT_EQ(m, matrixC4x4<double>::identity()) << bad;
    }
}

TEST_F(M3dViews, FindFeatureByNameSearchesHistoryAndOwnerCollection) {
    metaObjectC part = parse(R"((PART (NAME "P") (ITEMS
        (PLANE (NAME "XY") (TYP "XY"))
        (DRILLING (NAME "D1") (HISTORY (SKETCH (NAME "HS")) (CUT (NAME "HC") (USED "HS"))))
        (SKETCH (NAME "S1"))
        (SKETCH)
        (SKETCH (NAME "S1") (TYP "second")))))");
    m3dPartC p(part.getTreePtr());
    m3dFeatCollectionC items = p.getItems();
    EXPECT_EQ(getName(findFeatureByName(items, "XY")), "XY");
    m3dFeatGenC hc = findFeatureByName(items, "HC");
    ASSERT_TRUE(hc.isValid()) << "found inside a HISTORY";
    EXPECT_TRUE(hc.hasKey("CUT"));
    EXPECT_TRUE(findFeatureByName(items, "S1").getType().isEmpty()) << "the first of the name";
    EXPECT_FALSE(findFeatureByName(items, "nothing").isValid());
    EXPECT_FALSE(findFeatureByName(items, "").isValid()) << "a nameless feature is no answer";
    EXPECT_FALSE(findFeatureByName(items, "P").isValid()) << "the part is not its own item";

    // The owner of a feature in a HISTORY is the HISTORY; of an item, ITEMS.
    EXPECT_TRUE(hc.getOwnerCollection().hasKey("HISTORY"));
    EXPECT_EQ(getName(findFeatureByName(hc.getOwnerCollection(), "HS")), "HS");
    EXPECT_EQ(findFeatureByName(items, "D1").getOwnerCollection().getTreePtr(), items.getTreePtr());
    EXPECT_FALSE(m3dFeatGenC().getOwnerCollection().isValid());
    EXPECT_EQ(p.findFeature("HS").getTreePtr(), findFeatureByName(items, "HS").getTreePtr());
}

TEST_F(M3dViews, DrillingAccessors) {
    metaObjectC tree = parse(R"((DRILLING (NAME "D") (STARTPOINT 1 2 3) (DIRECTION 0 0 -1)
        (DIAMETER 6) (DEPTH 12.5) (COUNTERBOREDEPTH 2) (COUNTERBOREDIAMETER 10)
        (COUNTERSINKDEPTH 1) (COUNTERSINKANGLE 90) (ENDCOUNTERBOREDIAMETER 8)
        (ENDCOUNTERSINKDEPTH 0.5) (SINKANGLE 118) (CONIC 1.9)))");
    m3dFeatDrillingC d(tree.getTreePtr());
    EXPECT_EQ(d.getDiameter(), 6.0);
    EXPECT_EQ(d.getDepth(), 12.5);
    EXPECT_EQ(d.getCounterboreDepth(), 2.0);
    EXPECT_EQ(d.getCounterboreDiameter(), 10.0);
    EXPECT_EQ(d.getCountersinkDepth(), 1.0);
    EXPECT_EQ(d.getCountersinkAngle(), 90.0);
    EXPECT_EQ(d.getEndCounterboreDiameter(), 8.0);
    EXPECT_EQ(d.getEndCountersinkDepth(), 0.5);
    bool found = false;
    EXPECT_EQ(d.getSinkAngle(&found), 118.0);
    EXPECT_TRUE(found);
    EXPECT_EQ(d.getConeAngle(&found), 0.0);
    EXPECT_FALSE(found);
    EXPECT_EQ(d.getConic(&found), 1) << "truncated";
    V3 p;
    ASSERT_TRUE(d.getStartPoint(p));
    EXPECT_EQ(p, (V3{1, 2, 3}));
    ASSERT_TRUE(d.getDirection(p));
    EXPECT_EQ(p, (V3{0, 0, -1}));

    // A copy view shares the node; the history and CONIC are created when missing.
    m3dFeatDrillingC copy;
    copy.ctorCopy(d);
    EXPECT_EQ(copy.getTreePtr(), d.getTreePtr());
    EXPECT_FALSE(copy.ownsNode()) << "d does not own the node: neither does its copy";
    {
        // A copy that takes ownership of a clone releases it (the fixture counts nodes).
        m3dFeatDrillingC owner;
        owner.ctorCopy(m3dFeatDrillingC(d.cloneTree().detach(false)), 1);
        EXPECT_TRUE(owner.ownsNode());
        EXPECT_EQ(owner.getDiameter(), 6.0);
        m3dFeatDrillingC shared;
        shared.ctorCopy(owner, 1);
        EXPECT_TRUE(shared.ownsNode());
    }
    metaObjectC bare = parse("(DRILLING (NAME \"E\"))");
    m3dFeatDrillingC e(bare.getTreePtr());
    EXPECT_EQ(e.getConic(&found), 0);
    EXPECT_FALSE(found);
    EXPECT_TRUE(e.getHistory().hasKey("HISTORY"));
    EXPECT_EQ(print(bare.getTreePtr()), "(DRILLING (NAME \"E\") (CONIC) (HISTORY))");
}

TEST_F(M3dViews, AnnotationsAndThreads) {
    metaObjectC feat = parse(R"((CUT (NAME "C") (ANNOTATIONSETS
        (ANNOTATIONSETFACE (ANNOTATIONFACE (FACD "x") (POINT3D 1 1 1)))
        (ANNOTATIONSETTHREAD (ANNOTATIONTHREAD (THSPECS (THSPEC (THDIA 8) (THLEN 12.5)))
            (THSTARTPOINT 0 0 0) (THENDPOINT 0 0 -12.5))))))");
    m3dAnnotationSetsC sets = getAnnotationSets(feat);
    EXPECT_EQ(sets.count(), 2);
    m3dAnnotationFaceC face(sets.getSetAt(0).getAnnotationAt(0).getTreePtr());
    EXPECT_EQ(face.getFacd(), "x");
    V3 p;
    EXPECT_TRUE(getPoint3d(face, p));
    EXPECT_EQ(p, (V3{1, 1, 1}));

    m3dAnnotationSetC threads = getThreadAnnotationSet(feat);
    ASSERT_TRUE(threads.isValid());
    EXPECT_EQ(threads.countAnnotations(), 1);
    m3dAnnotationThreadC thread(threads.getAnnotationAt(0).getTreePtr());
    m3dAnnotationThreadSpecificationC threadSpec = thread.getThreadSpecification();
    EXPECT_EQ(threadSpec.getThDia(), 8.0);
    EXPECT_EQ(threadSpec.getThLen(), 12.5);
    EXPECT_TRUE(getThreadFeatureDiameterEndPoint(thread, p));
    EXPECT_EQ(p, (V3{0, 0, -12.5}));
    EXPECT_FALSE(
        getThreadAnnotationSet(parse("(BASE (ANNOTATIONSETS (ANNOTATIONSETFACE)))")).isValid());
    EXPECT_FALSE(m3dAnnotationThreadC().getThreadSpecification().isValid());
}

TEST_F(M3dViews, LevelsOfDetailAndDocumentAttributes) {
    metaObjectC part = parse(R"M((PART (NAME "P")
        (PARTATTR (CLASSIFICATIONINFO "(DOCCLASSIFYLIST)"))
        (PARTLOD (SELLODNAME "Simple") (PARTLODENTS (PARTLODENT (NAME "Full"))
            (NOTE "x") (PARTLODENT (NAME "Simple") (PARTLODEXCFEATLST "H1" "H2"))))))M");
    m3dPartC p(part.getTreePtr());
    EXPECT_EQ(p.getPartAttr().getClassificationInfo(), "(DOCCLASSIFYLIST)");
    EXPECT_EQ(p.getDocAttr().getTreePtr(), p.getPartAttr().getTreePtr());
    m3dPartDetailLevelC lod = getPartDetailLevel(p);
    EXPECT_EQ(lod.getEntries().getEntryAt(1).getExcludeFeatureList().getStringAt(1), "H2")
        << "entries are counted among PARTLODENT children only";
    EXPECT_FALSE(lod.getEntries().getEntryAt(2).isValid());
    EXPECT_EQ(lod.findEntry("Simple").getExcludeFeatureList().count(), 2);
    EXPECT_FALSE(lod.findEntry("None").isValid());

    metaObjectC asmTree = parse("(ASSEMBLY (ASMATTR (CLASSIFICATIONINFO \"c\")))");
    m3dDocumentC doc(asmTree.getTreePtr());
    EXPECT_EQ(doc.getDocAttr().getClassificationInfo(), "c") << "dispatched to m3dAsmC";
    metaObjectC bare = parse("(PART)");
    m3dPartC b(bare.getTreePtr());
    EXPECT_TRUE(b.getPartAttr().getClassificationInfo().isEmpty());
    EXPECT_TRUE(getPartDetailLevel(b).isValid()) << "created when missing";
    EXPECT_EQ(print(bare.getTreePtr()), "(PART (PARTLOD))");
}

} // namespace
