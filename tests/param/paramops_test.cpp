// Operations: unit change, scale and transform of the parametric document, copy on write
// of shared instances, reuse of equal locations and vectors.

#include "param_fixture.h"

#include <cmath>
#include <limits>

namespace {

// Root model with three instances; the last two share the first one's feature instance.
// Feature instance 0 carries annotation instance 1; model instance 0 carries annotation
// instance 0. Every kind of location is in use.
const char* const sharedDoc = R"(
(PDOC (PDOCPREFS) (ROOTMODEL "Root")
  (PMODELS (PPART (NAME "Root") (PMODELIREFS 0 1 2)) (PPART (NAME "Other") (PMODELIREFS 3)))
  (PMODELIS (PPARTI (PFEATIREFS 0 1) (PANNOIREFS 0)) (PPARTI (PFEATIREFS 0) (PANNOIREFS))
            (PPARTI (PFEATIREFS 0) (PANNOIREFS)) (PPARTI (PFEATIREFS 1) (PANNOIREFS)))
  (PFEATS (PFEAT (PFEATIREFS 0 1)))
  (PFEATIS (PFEATI (PFEATUREREF 0) (PLOCATIONREF 0) (PFEATUREVECTORREF 0) (PANNOIREFS 1))
           (PFEATI (PFEATUREREF 0) (PLOCATIONREF 1) (PFEATUREVECTORREF 1) (PANNOIREFS 2)))
  (PLOCS (PLOC (TYPE 0) (PLOCVALS 1.0 2.0 3.0 30.0 20.0 10.0))
         (PLOC (TYPE 1) (PLOCVALS 5.0 6.0 7.0 1.0 2.0 3.0))
         (PLOC (TYPE 2) (PLOCVALS 1.0 1.0 0.0))
         (PLOC (TYPE 3) (PLOCVALS 0.0 0.0 1.0))
         (PLOC (TYPE 4) (PLOCVALS 10.0 20.0 30.0)))
  (PFEATVECS
    (PFEATVEC (TYPE "HOLE") (PLELS 4) (PDELS 5.0 45.0) (PSELS "M5") (PV2ELS (POINT 1.0 2.0))
              (PV3ELS (POINT3D 1.0 0.0 0.0) (POINT3D 0.0 0.0 1.0)))
    (PFEATVEC (TYPE "SLOT") (PDELS 8.0) (PV2ELS (POINT 0.0 3.0))))
  (PFEATVECDESCS (PFEATVECDESC (TYPE "HOLE")
    (PFEATELDESCSD (PFEATVECDDESC (SCALEINV 0)) (PFEATVECDDESC (SCALEINV 1)))
    (PFEATELDESCSV2 (PFEAETVECV2DESC (SCALEINV 0) (TRANSINV 0) (ROTINV 0)))
    (PFEATELDESCSV3 (PFEAETVECV3DESC (SCALEINV 0) (TRANSINV 0) (ROTINV 0))
                    (PFEAETVECV3DESC (SCALEINV 1) (TRANSINV 1) (ROTINV 0)))))
  (PANNOS (PANNO (PANNOIREFS 0 1 2)))
  (PANNOIS (PANNOI (PANNOREF 0) (PLOCATIONREF 2) (PFEATUREVECTORREF 1))
           (PANNOI (PANNOREF 0) (PLOCATIONREF 3) (PFEATUREVECTORREF 0))
           (PANNOI (PANNOREF 0) (PLOCATIONREF 4) (PFEATUREVECTORREF 1))))
)";

// Rotation about z by 90 degrees with a translation (10, -5, 2).
constexpr double moveM[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 10, -5, 2, 1};

struct countsS {
    int locs, vecs, featis, annois;
    bool operator==(const countsS&) const = default;
};

countsS counts(m3dParamDocumentC doc) {
    return {doc.getLocations().count(), doc.getFeatureVectors().count(),
            doc.getFeatureInstances().count(), doc.getAnnotationInstances().count()};
}

// Every number that an instance resolves to (its location's values, its vector's
// values), for all instances reachable from the root model, in order.
void collect(m3dParamPlacedInstanceC inst, std::vector<double>& out) {
    const m3dParamLocationValuesC v = inst.getLocation().getValues();
    for (int i = 0; i < v.count(); ++i)
        out.push_back(v.getValueAt(i));
    const auto values = inst.getFeatureVector().readValues();
    out.insert(out.end(), values.doubles.begin(), values.doubles.end());
    for (const auto& p : values.vectors2d)
        out.insert(out.end(), p.begin(), p.end());
    for (const auto& p : values.vectors3d)
        out.insert(out.end(), p.begin(), p.end());
}

std::vector<double> resolved(m3dParamDocumentC doc) {
    std::vector<double> out;
    m3dParamModelC root = doc.getRootModel();
    for (int m = 0; m < root.getInstanceRefs().count(); ++m) {
        m3dParamModelInstanceC mi = root.getInstanceAt(m);
        for (int f = 0; f < mi.getFeatureInstanceRefs().count(); ++f) {
            m3dParamFeatureInstanceC fi = mi.getFeatureInstanceAt(f);
            collect(fi, out);
            for (int a = 0; a < fi.getAnnotationInstanceRefs().count(); ++a)
                collect(fi.getAnnotationInstanceAt(a), out);
        }
        for (int a = 0; a < mi.getAnnotationInstanceRefs().count(); ++a)
            collect(mi.getAnnotationInstanceAt(a), out);
    }
    return out;
}

std::vector<int> refs(const metaObjListValContainerT<int>& list) {
    std::vector<int> out;
    for (int i = 0; i < list.count(); ++i)
        out.push_back(list.getValueAt(i));
    return out;
}

} // namespace

TEST_F(ParamTest, ATransformFollowedByItsInverseRestoresEverythingAndAppendsNothingTheSecondTime) {
    metaObjectC owner = parse(sharedDoc);
    m3dParamDocumentC doc = document(owner);
    const std::vector<double> before = resolved(doc);
    const countsS start = counts(doc);

    EXPECT_EQ(doc.transform(paramMatrixFrom(moveM)), 1);
    const countsS moved = counts(doc);
    EXPECT_NE(resolved(doc), before);
    // Two feature instances (the shared one copied once), their locations, vectors and
    // the annotation instances of model instance 0 and of both feature instances.
    EXPECT_EQ(moved.featis, start.featis + 2);
    EXPECT_EQ(moved.annois, start.annois + 3);
    // The "Other" model's instance was not moved and still has the old feature instance.
    EXPECT_EQ(refs(doc.getModelInstances().getElementAt(3).getFeatureInstanceRefs()),
              std::vector<int>{1});

    const paramFrameT inverse = paramInvertRigidFrame(paramFrameFrom(moveM));
    EXPECT_EQ(doc.transform(paramMatrixFrom(inverse.data())), 1);
    EXPECT_EQ(counts(doc), moved) << "the way back finds every entity it needs";
    const std::vector<double> after = resolved(doc);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_NEAR(after[i], before[i], 1e-9) << "value " << i;
    // And the instances are the original ones again.
    for (int m = 0; m < 3; ++m)
        EXPECT_EQ(refs(doc.getModelInstances().getElementAt(m).getFeatureInstanceRefs())[0], 0);
    EXPECT_EQ(refs(doc.getModelInstances().getElementAt(0).getAnnotationInstanceRefs()),
              std::vector<int>{0});
}

TEST_F(ParamTest, InstancesSharingAFeatureInstancePartWaysWhenOneIsMoved) {
    metaObjectC owner = parse(sharedDoc);
    m3dParamDocumentC doc = document(owner);
    m3dParamModelInstancesC mis = doc.getModelInstances();
    m3dParamFeatureC feat = doc.getFeatures().getElementAt(0);
    const int featis = doc.getFeatureInstances().count();

    EXPECT_EQ(mis.getElementAt(1).transform(paramMatrixFrom(translateX10)), 1);
    ASSERT_EQ(doc.getFeatureInstances().count(), featis + 1);
    EXPECT_EQ(refs(mis.getElementAt(1).getFeatureInstanceRefs()), std::vector<int>{featis});
    EXPECT_EQ(refs(mis.getElementAt(2).getFeatureInstanceRefs()), std::vector<int>{0});
    EXPECT_EQ(refs(feat.getFeatureInstanceRefs()), (std::vector<int>{0, 1, featis}));
    m3dParamFeatureInstanceC moved = mis.getElementAt(1).getFeatureInstanceAt(0);
    m3dParamFeatureInstanceC kept = mis.getElementAt(2).getFeatureInstanceAt(0);
    EXPECT_NEAR(values(moved.getLocation())[0], 11.0, 1e-12);
    EXPECT_NEAR(values(kept.getLocation())[0], 1.0, 0);

    // The same move of the third instance reuses what the first move made.
    const countsS after = counts(doc);
    mis.getElementAt(2).transform(paramMatrixFrom(translateX10));
    EXPECT_EQ(counts(doc), after);
    EXPECT_EQ(refs(mis.getElementAt(2).getFeatureInstanceRefs()), std::vector<int>{featis});
    EXPECT_EQ(feat.getFeatureInstanceRefs().count(), 3);
}

TEST_F(ParamTest, TheIdentityAppendsNothingAndLeavesTheReferencesAsTheyWere) {
    metaObjectC owner = parse(sharedDoc);
    m3dParamDocumentC doc = document(owner);
    const countsS start = counts(doc);
    doc.transform(paramMatrixFrom(identity4));
    doc.getModelInstances().getElementAt(0).scale(1.0);
    EXPECT_EQ(counts(doc), start);
    EXPECT_EQ(refs(doc.getModelInstances().getElementAt(0).getFeatureInstanceRefs()),
              (std::vector<int>{0, 1}));
    EXPECT_EQ(refs(doc.getFeatures().getElementAt(0).getFeatureInstanceRefs()),
              (std::vector<int>{0, 1}));
}

TEST_F(ParamTest, WithoutARootModelATransformChangesNothing) {
    std::string text = sharedDoc;
    text.replace(text.find("(ROOTMODEL \"Root\")"), 18, "(ROOTMODEL \"root\")");
    metaObjectC owner = parse(text);
    m3dParamDocumentC doc = document(owner);
    const std::string before = print(doc);
    EXPECT_EQ(doc.transform(paramMatrixFrom(moveM)), 1);
    EXPECT_EQ(print(doc), before);
}

TEST_F(ParamTest, VectorElementsAreRotatedAndTranslatedByTheirFlags) {
    metaObjectC owner = parse(R"(
(PDOC (PMODELIS (PPARTI (PFEATIREFS 0)))
  (PFEATS (PFEAT (PFEATIREFS 0)))
  (PFEATIS (PFEATI (PFEATUREREF 0) (PLOCATIONREF 0) (PFEATUREVECTORREF 0) (PANNOIREFS)))
  (PLOCS (PLOC (TYPE 3) (PLOCVALS 0 0 1)))
  (PFEATVECS (PFEATVEC (TYPE "T") (EXTRA 1) (PLELS 7) (PDELS 2.5) (PSELS "s")
      (PV2ELS (POINT 1.0 0.0) (POINT 1.0 0.0) (POINT 1.0 0.0))
      (PV3ELS (POINT3D 0.0 1.0 5.0))))
  (PFEATVECDESCS (PFEATVECDESC (TYPE "T")
      (PFEATELDESCSV2 (PFEAETVECV2DESC (ROTINV 1) (TRANSINV 0))
                      (PFEAETVECV2DESC (ROTINV 0) (TRANSINV 1))
                      (PFEAETVECV2DESC (ROTINV 0) (TRANSINV 0))))))
)");
    m3dParamDocumentC doc = document(owner);
    m3dParamModelInstanceC mi = doc.getModelInstances().getElementAt(0);
    const double m[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1};
    mi.transform(paramMatrixFrom(m));
    ASSERT_EQ(doc.getFeatureVectors().count(), 2);
    m3dParamFeatureVectorC v = mi.getFeatureInstanceAt(0).getFeatureVector();
    EXPECT_EQ(v.getTreePtr(), child(doc.findChild("PFEATVECS"), 1));
    const auto got = v.readValues();
    ASSERT_EQ(got.vectors2d.size(), 3u);
    EXPECT_NEAR(got.vectors2d[0][0], 11.0, 1e-12) << "rotation-invariant: only translated";
    EXPECT_NEAR(got.vectors2d[0][1], 0.0, 1e-12);
    EXPECT_NEAR(got.vectors2d[1][0], 0.0, 1e-12) << "translation-invariant: only rotated";
    EXPECT_NEAR(got.vectors2d[1][1], 1.0, 1e-12);
    EXPECT_NEAR(got.vectors2d[2][0], 10.0, 1e-12) << "the translation is added once";
    EXPECT_NEAR(got.vectors2d[2][1], 1.0, 1e-12);
    ASSERT_EQ(got.vectors3d.size(), 1u);
    EXPECT_NEAR(got.vectors3d[0][0], 9.0, 1e-12);
    EXPECT_NEAR(got.vectors3d[0][1], 0.0, 1e-12);
    EXPECT_NEAR(got.vectors3d[0][2], 5.0, 1e-12);
    EXPECT_EQ(got.longs, std::vector<std::int32_t>{7});
    EXPECT_EQ(got.doubles, std::vector<double>{2.5}) << "doubles are never transformed";
    EXPECT_FALSE(v.hasChild("EXTRA")) << "a new vector has only TYPE and the element lists";
    EXPECT_EQ(doc.getLocations().count(), 1) << "the direction turned onto itself";
}

TEST_F(ParamTest, ScalingAnInstanceKeepsInvariantDoublesAndReusesAnEqualVector) {
    metaObjectC owner = parse(R"(
(PDOC (PMODELIS (PPARTI (PFEATIREFS 0)))
  (PFEATS (PFEAT (PFEATIREFS 0)))
  (PFEATIS (PFEATI (PFEATUREREF 0) (PLOCATIONREF 0) (PFEATUREVECTORREF 0) (PANNOIREFS)))
  (PLOCS (PLOC (TYPE 2) (PLOCVALS 1.0 1.0 0.0)))
  (PFEATVECS (PFEATVEC (TYPE "HOLE") (PDELS 5.0 45.0)) (PFEATVEC (TYPE "HOLE") (PDELS 10.0 45.0)))
  (PFEATVECDESCS (PFEATVECDESC (TYPE "HOLE")
      (PFEATELDESCSD (PFEATVECDDESC (SCALEINV 0)) (PFEATVECDDESC (SCALEINV 1))))))
)");
    m3dParamDocumentC doc = document(owner);
    m3dParamModelInstanceC mi = doc.getModelInstances().getElementAt(0);
    mi.scale(2.0);
    EXPECT_EQ(doc.getFeatureVectors().count(), 2) << "the scaled vector exists already";
    m3dParamFeatureInstanceC fi = mi.getFeatureInstanceAt(0);
    EXPECT_EQ(fi.getFeatureVectorRef(), 1);
    EXPECT_EQ(values(fi.getLocation()), (std::vector<double>{2.0, 2.0, 0.0}));
    EXPECT_EQ(values(doc.getLocations().getElementAt(0)), (std::vector<double>{1.0, 1.0, 0.0}));

    mi.scale(3.0);
    ASSERT_EQ(doc.getFeatureVectors().count(), 3);
    EXPECT_EQ(mi.getFeatureInstanceAt(0).getFeatureVector().readValues().doubles,
              (std::vector<double>{30.0, 45.0}));
}

TEST_F(ParamTest, SearchesLeaveTheEntriesTheyPassOverAsTheyWere) {
    // Locations and vectors without values: the searches of a scale read past them.
    const std::string others = "(PLOC (TYPE 0)) (PLOC (TYPE 3)) (PLOC)";
    const std::string otherVectors = "(PFEATVEC (TYPE \"PIN\")) (PFEATVEC)";
    metaObjectC owner = parse(R"((PDOC (PMODELIS (PPARTI (PFEATIREFS 0)))
  (PFEATS (PFEAT (PFEATIREFS 0)))
  (PFEATIS (PFEATI (PFEATUREREF 0) (PLOCATIONREF 0) (PFEATUREVECTORREF 0) (PANNOIREFS)))
  (PLOCS (PLOC (TYPE 2) (PLOCVALS 1.0 1.0 0.0)) )" +
                              others + R"()
  (PFEATVECS (PFEATVEC (TYPE "HOLE") (PDELS 5.0)) )" +
                              otherVectors + "))");
    m3dParamDocumentC doc = document(owner);
    auto printed = [&](auto list, int from, int to) {
        std::string out;
        for (int i = from; i < to; ++i)
            out += (out.empty() ? "" : " ") + print(list.getElementAt(i));
        return out;
    };
    // Through the index of the scale's lookup scope, then through the walk without one.
    doc.getModelInstances().getElementAt(0).scale(2.0);
    const double frame[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7, 7, 1};
    EXPECT_EQ(doc.findLocation(2, frame, 1.0), -1);
    m3dParamFeatureVectorValuesS pin;
    pin.type = "PIN";
    pin.doubles = {1.0};
    EXPECT_EQ(doc.findFeatureVector(pin), -1);

    EXPECT_EQ(printed(doc.getLocations(), 1, 4), others);
    EXPECT_EQ(printed(doc.getFeatureVectors(), 1, 3), otherVectors);
    // The matched entries were copied and changed.
    EXPECT_EQ(values(doc.getLocations().getElementAt(4)), (std::vector<double>{2.0, 2.0, 0.0}));
    EXPECT_EQ(doc.getFeatureVectors().getElementAt(3).readValues().doubles,
              std::vector<double>{10.0});
}

TEST_F(ParamTest, DocumentScaleChangesSharedDataOnceInPlace) {
    metaObjectC owner = parse(sharedDoc);
    m3dParamDocumentC doc = document(owner);
    const countsS start = counts(doc);
    doc.scale(2.0);
    EXPECT_EQ(counts(doc), start);
    m3dParamLocationsC locs = doc.getLocations();
    EXPECT_EQ(values(locs.getElementAt(0)), (std::vector<double>{2, 4, 6, 30, 20, 10}));
    EXPECT_EQ(values(locs.getElementAt(1)), (std::vector<double>{10, 12, 14, 1, 2, 3}));
    EXPECT_EQ(values(locs.getElementAt(2)), (std::vector<double>{2, 2, 0}));
    EXPECT_EQ(values(locs.getElementAt(3)), (std::vector<double>{0, 0, 1}));
    EXPECT_EQ(values(locs.getElementAt(4)), (std::vector<double>{10, 20, 30}));
    const auto hole = doc.getFeatureVectors().getElementAt(0).readValues();
    EXPECT_EQ(hole.doubles, (std::vector<double>{10.0, 45.0}));
    EXPECT_EQ(hole.vectors2d[0], (std::array<double, 2>{2.0, 4.0}));
    EXPECT_EQ(hole.vectors3d[1], (std::array<double, 3>{0.0, 0.0, 1.0}));
    EXPECT_EQ(hole.longs, std::vector<std::int32_t>{4});
}

TEST_F(ParamTest, SetUnitScalesByTheRatioOfUnitsAndIgnoresUnitsThatAreNoLength) {
    std::string text = sharedDoc;
    text.replace(text.find("(PDOCPREFS)"), 11, "");
    metaObjectC owner = parse(text);
    m3dParamDocumentC doc = document(owner);
    const std::string before = print(doc);
    for (double bad : {0.0, -25.4, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity()}) {
        doc.setUnit(bad);
        EXPECT_EQ(print(doc), before) << bad;
    }
    EXPECT_FALSE(doc.hasChild("PDOCPREFS"));

    doc.setUnit(25.4);
    EXPECT_EQ(doc.getPrefs().getUnitBase(), 25.4);
    EXPECT_NEAR(values(doc.getLocations().getElementAt(0))[0], 1.0 / 25.4, 1e-15);
    const std::string inInches = print(doc);
    doc.setUnit(25.4);
    EXPECT_EQ(print(doc), inInches);

    doc.setUnitBase(1.0, 1);
    EXPECT_EQ(doc.getPrefs().getUnitBase(), 1.0);
    metaObjectC original = parse(before);
    const auto want = m3dParamDocumentC(original.getTreePtr()).getFeatureVectors();
    const auto got = doc.getFeatureVectors();
    for (int i = 0; i < 2; ++i) {
        const auto w = want.getElementAt(i).readValues();
        const auto g = got.getElementAt(i).readValues();
        ASSERT_EQ(g.doubles.size(), w.doubles.size());
        for (std::size_t k = 0; k < g.doubles.size(); ++k)
            EXPECT_NEAR(g.doubles[k], w.doubles[k], 1e-9);
    }
    for (int i = 0; i < 5; ++i) {
        const auto w =
            values(m3dParamDocumentC(original.getTreePtr()).getLocations().getElementAt(i));
        const auto g = values(doc.getLocations().getElementAt(i));
        ASSERT_EQ(g.size(), w.size());
        for (std::size_t k = 0; k < g.size(); ++k)
            EXPECT_NEAR(g[k], w[k], 1e-9);
    }

    // A stored unit that is no length counts as 1.
    metaObjectC broken =
        parse("(PDOC (PDOCPREFS (UNITBASE -3.0)) (PLOCS (PLOC (TYPE 2) (PLOCVALS 4.0 0 0))))");
    m3dParamDocumentC bdoc = document(broken);
    bdoc.setUnit(2.0);
    EXPECT_EQ(values(bdoc.getLocations().getElementAt(0))[0], 2.0);
}

TEST_F(ParamTest, AFeatureInstanceCopyIsKeptWhenOnlyItsAnnotationsMoved) {
    // The feature instance's direction and vector do not change under a translation, but
    // its annotation instance (a point) moves: the copy must keep the moved annotation.
    metaObjectC owner = parse(R"(
(PDOC (PMODELIS (PPARTI (PFEATIREFS 0) (PANNOIREFS)) (PPARTI (PFEATIREFS 0) (PANNOIREFS)))
  (PFEATS (PFEAT (PFEATIREFS 0)))
  (PFEATIS (PFEATI (PFEATUREREF 0) (PLOCATIONREF 0) (PFEATUREVECTORREF 0) (PANNOIREFS 0)))
  (PLOCS (PLOC (TYPE 3) (PLOCVALS 0 0 1)) (PLOC (TYPE 2) (PLOCVALS 1.0 2.0 3.0)))
  (PFEATVECS (PFEATVEC (TYPE "T") (PDELS 1.0)))
  (PANNOS (PANNO (PANNOIREFS 0)))
  (PANNOIS (PANNOI (PANNOREF 0) (PLOCATIONREF 1) (PFEATUREVECTORREF 0))))
)");
    m3dParamDocumentC doc = document(owner);
    m3dParamModelInstanceC mi = doc.getModelInstances().getElementAt(0);
    mi.transform(paramMatrixFrom(translateX10));
    m3dParamFeatureInstanceC fi = mi.getFeatureInstanceAt(0);
    ASSERT_EQ(doc.getFeatureInstances().count(), 2);
    EXPECT_EQ(fi.getTreePtr(), child(doc.findChild("PFEATIS"), 1));
    EXPECT_EQ(fi.getLocationRef(), 0);
    EXPECT_EQ(values(fi.getAnnotationInstanceAt(0).getLocation()),
              (std::vector<double>{11.0, 2.0, 3.0}));
    EXPECT_EQ(refs(doc.getFeatures().getElementAt(0).getFeatureInstanceRefs()),
              (std::vector<int>{0, 1}));
    // The other model instance keeps the unmoved annotation.
    m3dParamFeatureInstanceC other =
        doc.getModelInstances().getElementAt(1).getFeatureInstanceAt(0);
    EXPECT_EQ(values(other.getAnnotationInstanceAt(0).getLocation()),
              (std::vector<double>{1.0, 2.0, 3.0}));
    // The same move of the other model instance reuses the copy, annotations and all.
    doc.getModelInstances().getElementAt(1).transform(paramMatrixFrom(translateX10));
    EXPECT_EQ(doc.getFeatureInstances().count(), 2);
    EXPECT_EQ(doc.getAnnotationInstances().count(), 2);
    EXPECT_EQ(refs(doc.getModelInstances().getElementAt(1).getFeatureInstanceRefs()),
              std::vector<int>{1});
}

TEST_F(ParamTest, ReferencesThatDoNotResolveLeaveTheDataUntouched) {
    metaObjectC owner = parse(R"(
(PDOC (ROOTMODEL "Root")
  (PMODELS (PPART (NAME "Root") (PMODELIREFS 0 4)))
  (PMODELIS (PPARTI (PFEATIREFS 0 5) (PANNOIREFS 3)))
  (PFEATS (PFEAT (PFEATIREFS 0)))
  (PFEATIS (PFEATI (PFEATUREREF 0) (PLOCATIONREF 9) (PFEATUREVECTORREF 7) (PANNOIREFS)))
  (PLOCS (PLOC (TYPE 0) (PLOCVALS 0 0 0 0 0 0)))
  (PFEATVECS (PFEATVEC (TYPE "") (PLELS) (PDELS) (PSELS) (PV2ELS) (PV3ELS)))
  (PFEATVECDESCS) (PANNOS) (PANNOIS))
)");
    m3dParamDocumentC doc = document(owner);
    const std::string before = print(doc);
    doc.transform(paramMatrixFrom(translateX10));
    doc.transform(paramMatrixFrom(identity4));
    doc.getModelInstances().getElementAt(0).scale(2.0);
    EXPECT_EQ(print(doc), before);
}
