// Document and entity views: lists created on demand, lookups, reference resolution,
// element lists, invariance flags, the equality of feature vectors, registrations and
// the dispatch by tag.

#include "param_fixture.h"

#include "metamodel/core/registry.h"

#include <cmath>
#include <limits>

namespace {

const char* const vectorDoc = R"(
(PDOC
  (PFEATVECS
    (PFEATVEC (TYPE "HOLE") (PLELS 4) (PDELS 5.0 45.0) (PSELS "M5")
              (PV2ELS (POINT 1.0 2.0)) (PV3ELS (POINT3D 1.0 0.0 0.0))))
  (PFEATVECDESCS
    (PFEATVECDESC (TYPE "SLOT"))
    (PFEATVECDESC (TYPE "HOLE")
      (PFEATELDESCSD (PFEATVECDDESC (SCALEINV 0)) (PFEATVECDDESC (SCALEINV 1)))
      (PFEATELDESCSV2 (OTHER 1) (PFEAETVECV2DESC (SCALEINV 0) (TRANSINV 1) (ROTINV 0)))
      (PFEATELDESCSV3 (PFEAETVECV3DESC (SCALEINV 1) (TRANSINV 0) (ROTINV 1))))))
)";

m3dParamFeatureVectorValuesS holeValues() {
    m3dParamFeatureVectorValuesS v;
    v.type = "HOLE";
    v.longs = {4};
    v.doubles = {5.0, 45.0};
    v.strings = {"M5"};
    v.vectors2d = {{1.0, 2.0}};
    v.vectors3d = {{1.0, 0.0, 0.0}};
    return v;
}

} // namespace

TEST_F(ParamTest, MissingListsAndPreferencesAreCreatedOnFirstAccessAndStayPut) {
    metaObjectC owner = parse("(PDOC)");
    m3dParamDocumentC doc = document(owner);
    EXPECT_EQ(doc.getFeatureInstances().count(), 0);
    EXPECT_EQ(doc.getLocations().count(), 0);
    EXPECT_TRUE(doc.getPrefs().isValid());
    EXPECT_TRUE(doc.hasChild("PFEATIS"));
    EXPECT_TRUE(doc.hasChild("PLOCS"));
    EXPECT_TRUE(doc.hasChild("PDOCPREFS"));
    EXPECT_EQ(doc.getDocPrefs().getTreePtr(), doc.getPrefs().getTreePtr());
    EXPECT_EQ(doc.getRootModelName(), mzComStringC(""));
    EXPECT_FALSE(doc.getRootModel().isValid());
    const std::string afterFirst = print(doc);
    (void)doc.getFeatureInstances().count();
    (void)doc.getPrefs();
    EXPECT_EQ(print(doc), afterFirst) << "a second read must add nothing";
}

TEST_F(ParamTest, ReadingADocumentTwiceLeavesItsTextUnchangedAfterTheFirstRead) {
    metaObjectC owner = parse(R"(
(PDOC (ROOTMODEL "Root")
  (PMODELS (PPART (NAME "Root") (PMODELIREFS 0)))
  (PMODELIS (PPARTI (PFEATIREFS 0)))
  (PFEATS (PFEAT (PFEATIREFS 0)))
  (PFEATIS (PFEATI (PFEATUREREF 0) (PLOCATIONREF 0) (PFEATUREVECTORREF 0)))
  (PLOCS (PLOC (TYPE 1) (PLOCVALS 0 0 0 0 0 1)))
  (PFEATVECS (PFEATVEC (TYPE "HOLE") (PDELS 5.0) (PV2ELS (POINT 1 2))))
  (PFEATVECDESCS (PFEATVECDESC (TYPE "HOLE") (PFEATELDESCSD (PFEATVECDDESC))
                 (PFEATELDESCSV2 (PFEAETVECV2DESC)))))
)");
    m3dParamDocumentC doc = document(owner);
    auto readAll = [&doc] {
        m3dParamModelC root = doc.getRootModel();
        m3dParamModelInstanceC mi = root.getInstanceAt(0);
        m3dParamFeatureInstanceC fi = mi.getFeatureInstanceAt(0);
        (void)fi.getFeature().findInstance(0, 0);
        (void)fi.getLocation().getFrame();
        m3dParamFeatureVectorC v = fi.getFeatureVector();
        (void)v.readValues();
        (void)v.isDoubleScaleInvariant(0);
        (void)v.isVector2dRotationInvariant(0);
        (void)v.isVector2dTranslationInvariant(0);
        (void)fi.getAnnotationInstanceAt(0);
        (void)doc.findFeatureVector(v.readValues());
        return print(doc);
    };
    const std::string first = readAll();
    EXPECT_NE(first.find("(SCALEINV)"), std::string::npos)
        << "reading a missing flag adds its empty key: " << first;
    EXPECT_EQ(readAll(), first);
}

TEST_F(ParamTest, ModelsAreFoundByExactNameAndTheRootModelByRootmodel) {
    metaObjectC owner = parse(R"((PDOC (ROOTMODEL "Second")
        (PMODELS (PPART (NAME "First")) (PASM (NAME "Second")) (PMODEL (NAME "Second")))))");
    m3dParamDocumentC doc = document(owner);
    EXPECT_EQ(doc.findModelByName("Second").getTreePtr(), child(doc.findChild("PMODELS"), 1));
    EXPECT_FALSE(doc.findModelByName("second").isValid()) << "case-sensitive";
    EXPECT_FALSE(doc.findModelByName("Third").isValid());
    EXPECT_EQ(doc.getRootModel().getTreePtr(), child(doc.findChild("PMODELS"), 1));
    EXPECT_EQ(doc.findFeatureVectorDesc("NONE").isValid(), false);
}

TEST_F(ParamTest, ReferencesResolveThroughTheDocumentAndOnlyInsideItsLists) {
    metaObjectC owner = parse(R"(
(PDOC
  (PMODELIS (PPARTI (PFEATIREFS 1 7 -1) (PANNOIREFS 0)))
  (PFEATS (PFEAT (PFEATIREFS 1)))
  (PFEATIS (PFEATI (PFEATUREREF 5)) (PFEATI (PFEATUREREF 0) (PLOCATIONREF 0)))
  (PLOCS (PLOC (TYPE 2) (PLOCVALS 1 2 3)))
  (PANNOS (PANNO))
  (PANNOIS (PANNOI (PANNOREF 0) (PLOCATIONREF 3))))
)");
    m3dParamDocumentC doc = document(owner);
    m3dParamModelInstanceC mi = doc.getModelInstances().getElementAt(0);
    m3dParamFeatureInstanceC fi = mi.getFeatureInstanceAt(0);
    EXPECT_EQ(fi.getTreePtr(), child(doc.findChild("PFEATIS"), 1));
    EXPECT_EQ(fi.getFeature().getTreePtr(), child(doc.findChild("PFEATS"), 0));
    EXPECT_EQ(fi.getLocation().getTreePtr(), child(doc.findChild("PLOCS"), 0));
    EXPECT_FALSE(fi.getFeatureVector().isValid()) << "no PFEATUREVECTORREF at all";
    EXPECT_FALSE(mi.getFeatureInstanceAt(1).isValid()) << "index past the list";
    EXPECT_FALSE(mi.getFeatureInstanceAt(2).isValid()) << "negative index";
    EXPECT_FALSE(mi.getFeatureInstanceAt(3).isValid()) << "no such reference";
    EXPECT_FALSE(doc.getFeatureInstances().getElementAt(0).getFeature().isValid());
    m3dParamAnnotationInstanceC ai = mi.getAnnotationInstanceAt(0);
    EXPECT_EQ(ai.getAnnotation().getTreePtr(), child(doc.findChild("PANNOS"), 0));
    EXPECT_FALSE(ai.getLocation().isValid());
    // A nodeless location reads as TYPE 0 with the identity frame.
    EXPECT_EQ(ai.getLocation().getFrame(), paramIdentityFrame());

    // The same entity outside any document resolves nothing.
    metaObjectC loose = parse("(PFEATI (PFEATUREREF 0) (PLOCATIONREF 0) (PFEATUREVECTORREF 0))");
    m3dParamFeatureInstanceC orphan(loose.getTreePtr());
    EXPECT_FALSE(orphan.getFeature().isValid());
    EXPECT_FALSE(orphan.getLocation().isValid());
    EXPECT_FALSE(findParamDocument(orphan).isValid());
}

TEST_F(ParamTest, FindInstanceAnswersTheDocumentIndexFromTheReferenceList) {
    metaObjectC owner = parse(R"(
(PDOC (PFEATS (PFEAT (PFEATIREFS 2 0)))
  (PFEATIS (PFEATI (PLOCATIONREF 4) (PFEATUREVECTORREF 5)) (PFEATI)
           (PFEATI (PLOCATIONREF 1) (PFEATUREVECTORREF 2))))
)");
    m3dParamFeatureC feat = document(owner).getFeatures().getElementAt(0);
    EXPECT_EQ(feat.findInstance(4, 5), 0);
    EXPECT_EQ(feat.findInstance(1, 2), 2);
    EXPECT_EQ(feat.findInstance(1, 5), -1);
    EXPECT_TRUE(feat.addFeatureInstanceRef(1));
    EXPECT_EQ(feat.getFeatureInstanceRefs().count(), 3);
    EXPECT_EQ(feat.getFeatureInstanceRefs().getValueAt(2), 1);
}

TEST_F(ParamTest, ElementListsCountOnlyTheirKindAndFlagsComeFromTheDescriptorOfTheType) {
    metaObjectC owner = parse(vectorDoc);
    m3dParamDocumentC doc = document(owner);
    m3dParamFeatureVectorC v = doc.getFeatureVectors().getElementAt(0);
    EXPECT_EQ(v.getType(), mzComStringC("HOLE"));

    auto v2 = v.getVector2dElements();
    getIMetaTreeApi()->appendChild(v2.getTreePtr(), getIMetaTreeApi()->newKeyNode("POINT3D"));
    ASSERT_TRUE(v2.appendVector(3.0, 4.0));
    EXPECT_EQ(v2.count(), 2) << "the POINT3D child is neither counted nor indexed";
    EXPECT_EQ(v2.getPoint2dAt(1).x, 3.0);

    const auto values = v.readValues();
    EXPECT_EQ(values.longs, std::vector<std::int32_t>{4});
    EXPECT_EQ(values.doubles, (std::vector<double>{5.0, 45.0}));
    ASSERT_EQ(values.strings.size(), 1u);
    EXPECT_EQ(values.strings[0], mzComStringC("M5"));
    ASSERT_EQ(values.vectors3d.size(), 1u);
    EXPECT_EQ(values.vectors3d[0][0], 1.0);

    EXPECT_EQ(v.isDoubleScaleInvariant(0), 0);
    EXPECT_EQ(v.isDoubleScaleInvariant(1), 1);
    EXPECT_EQ(v.isDoubleScaleInvariant(2), 0) << "no such element descriptor";
    EXPECT_EQ(v.isVector2dTranslationInvariant(0), 1) << "the OTHER child is skipped";
    EXPECT_EQ(v.isVector2dRotationInvariant(0), 0);
    EXPECT_EQ(v.isVector3dScaleInvariant(0), 1);
    EXPECT_EQ(v.isVector3dRotationInvariant(0), 1);
    EXPECT_EQ(v.isVector3dTranslationInvariant(0), 0);

    v.setType("SLOT");
    EXPECT_EQ(v.isDoubleScaleInvariant(1), 0) << "the SLOT descriptor has no elements";
    v.setType("NONE");
    EXPECT_EQ(v.isVector3dScaleInvariant(0), 0) << "no descriptor";
}

TEST_F(ParamTest, ReadingAMissingFlagAddsItsEmptyKeyAndAnswersZero) {
    metaObjectC owner = parse("(PFEATVECDDESC)");
    m3dParamFeatureVectorDoubleElementDescC desc(owner.getTreePtr());
    EXPECT_EQ(desc.getScaleInv(), 0);
    EXPECT_EQ(print(desc), "(PFEATVECDDESC (SCALEINV))");
}

TEST_F(ParamTest, FeatureVectorsMatchWithinTheToleranceButNeverOnNanOrOtherCounts) {
    metaObjectC owner = parse(vectorDoc);
    m3dParamDocumentC doc = document(owner);
    auto c = holeValues();
    EXPECT_EQ(doc.findFeatureVector(c), 0);
    c.vectors2d[0][0] = 1.0 + 5e-9;
    EXPECT_EQ(doc.findFeatureVector(c), 0);
    c.vectors2d[0][0] = 1.0 + 2e-8;
    EXPECT_EQ(doc.findFeatureVector(c), -1);

    c = holeValues();
    c.type = "hole";
    EXPECT_EQ(doc.findFeatureVector(c), -1) << "TYPE compared exactly";
    c = holeValues();
    c.strings[0] = "M6";
    EXPECT_EQ(doc.findFeatureVector(c), -1);
    c = holeValues();
    c.longs[0] = 5;
    EXPECT_EQ(doc.findFeatureVector(c), -1);

    c = holeValues();
    c.doubles[0] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(doc.findFeatureVector(c), -1) << "NaN must not match";
    c = holeValues();
    c.doubles.pop_back();
    EXPECT_EQ(doc.findFeatureVector(c), -1) << "fewer elements than stored";
    c = holeValues();
    c.vectors3d.push_back({0.0, 0.0, 0.0});
    EXPECT_EQ(doc.findFeatureVector(c), -1) << "more elements than stored (read as zero)";
}

TEST_F(ParamTest, EntityTagsAreRegisteredWithTheirPriorities) {
    auto& entities = metaObjInterfaceRegistry<m3dParamEntityC>();
    for (const char* tag : {"PMODEL",        "PMODELI",         "PATTR",
                            "PATTRI",        "PFEAT",           "PFEATI",
                            "PLOC",          "PFEATVEC",        "PFEATVECDESC",
                            "PFEATVECDDESC", "PFEAETVECV2DESC", "PFEAETVECV3DESC",
                            "PCLASS",        "PCLASSENTRY",     "PCLASSVALUE",
                            "PCLASSENTRYI",  "PCLASSVALUEI",    "PANNO",
                            "PANNOI",        "PATTACH",         "PATTACHI"}) {
        EXPECT_EQ(entities.priorityOf(tag), 5) << tag;
    }
    EXPECT_NE(dynamic_cast<m3dParamLocationC*>(lookupInterfaceInstance<m3dParamEntityC>("PLOC")),
              nullptr);
    EXPECT_NE(dynamic_cast<m3dParamFeatureVectorVector2dElementDescC*>(
                  lookupInterfaceInstance<m3dParamEntityC>("PFEAETVECV2DESC")),
              nullptr);
    for (const char* tag : {"PPART", "PASM", "PPARTI", "PASMI"})
        EXPECT_FALSE(entities.isRegistered(tag)) << tag;
    EXPECT_EQ(metaObjInterfaceRegistry<m3dParamModelC>().priorityOf("PPART"), 6);
    EXPECT_EQ(metaObjInterfaceRegistry<m3dParamModelC>().priorityOf("PASM"), 6);
    EXPECT_EQ(metaObjInterfaceRegistry<m3dParamModelInstanceC>().priorityOf("PPARTI"), 6);
    EXPECT_EQ(metaObjInterfaceRegistry<m3dParamModelInstanceC>().priorityOf("PASMI"), 6);
    EXPECT_NE(dynamic_cast<m3dParamDocumentC*>(
                  metaObjInterfaceRegistry<m3dParamDocumentBaseT>().lookupInstance("PDOC")),
              nullptr);
}

TEST_F(ParamTest, AnEntityViewDispatchesScaleAndTransformByItsTag) {
    metaObjectC owner = parse(R"((PDOC (PLOCS (PLOC (TYPE 2) (PLOCVALS 1.0 2.0 3.0))
                                             (PPART (TYPE 2) (PLOCVALS 1.0 2.0 3.0))
                                             (PCLASS (TYPE 2) (PLOCVALS 1.0 2.0 3.0)))))");
    m3dParamDocumentC doc = document(owner);
    m3dParamEntityC loc(child(doc.findChild("PLOCS"), 0));
    EXPECT_EQ(loc.scale(2.0), 1);
    EXPECT_EQ(values(m3dParamLocationC(loc.getTreePtr())), (std::vector<double>{2, 4, 6}));
    EXPECT_EQ(loc.transform(paramMatrixFrom(translateX10)), 1);
    EXPECT_EQ(values(m3dParamLocationC(loc.getTreePtr())), (std::vector<double>{12, 4, 6}));
    // The prototype went back to where it was.
    EXPECT_FALSE(lookupInterfaceInstance<m3dParamEntityC>("PLOC")->isValid());

    const std::string before = print(doc);
    m3dParamEntityC part(child(doc.findChild("PLOCS"), 1));
    EXPECT_EQ(part.scale(2.0), 1);
    m3dParamClassificationC cls(child(doc.findChild("PLOCS"), 2));
    EXPECT_EQ(cls.transform(paramMatrixFrom(translateX10)), 1);
    EXPECT_EQ(print(doc), before) << "no entity prototype for PPART, nothing to do for PCLASS";
}
