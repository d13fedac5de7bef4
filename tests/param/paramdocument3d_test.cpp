// The parametric document under a 3D document: the 3D document operations reach the
// "PDOC" node through the document registry and carry it along.

#include "param_fixture.h"

#include "metamodel/m3d/register.h"

namespace {

const char* const partWithPdoc = R"(
(PART (NAME "Block") (PARTPREFS (UNITBASE 1.0)) (ITEMS)
  (PDOC (PDOCPREFS (UNITBASE 1.0)) (ROOTMODEL "Root")
    (PMODELS (PPART (NAME "Root") (PMODELIREFS 0)))
    (PMODELIS (PPARTI (PFEATIREFS 0) (PANNOIREFS)))
    (PFEATS (PFEAT (PFEATIREFS 0)))
    (PFEATIS (PFEATI (PFEATUREREF 0) (PLOCATIONREF 0) (PFEATUREVECTORREF 0) (PANNOIREFS)))
    (PLOCS (PLOC (TYPE 2) (PLOCVALS 1.0 2.0 3.0)))
    (PFEATVECS (PFEATVEC (TYPE "T") (PDELS 4.0)))))
)";

} // namespace

TEST_F(ParamTest, TheDocumentOperationsOfA3dDocumentReachItsParametricDocument) {
    registerM3dClasses();
    metaObjectC owner = parse(partWithPdoc);
    m3dParamDocumentC pdoc(owner.findChild("PDOC"));
    m3dPartC part(owner.getTreePtr());

    EXPECT_EQ(part.scale(2.0), 1);
    EXPECT_EQ(values(pdoc.getLocations().getElementAt(0)), (std::vector<double>{2, 4, 6}));

    EXPECT_EQ(part.transform(paramMatrixFrom(translateX10)), 1);
    m3dParamFeatureInstanceC fi = pdoc.getModelInstances().getElementAt(0).getFeatureInstanceAt(0);
    EXPECT_EQ(values(fi.getLocation()), (std::vector<double>{12, 4, 6}));

    EXPECT_EQ(part.setUnitBase(2.0, 0), 1);
    EXPECT_EQ(pdoc.getPrefs().getUnitBase(), 2.0);
    EXPECT_EQ(values(pdoc.getLocations().getElementAt(0)), (std::vector<double>{1, 2, 3}));

    // The registered prototype serves "PDOC" and gives the empty results of the rest.
    m3dDocumentC asDocument(pdoc.getTreePtr());
    std::vector<metaTreePtrT> parts;
    EXPECT_EQ(asDocument.collectPartDocuments(parts), 0);
    EXPECT_TRUE(parts.empty());
    EXPECT_EQ(asDocument.getDocPrefs().getTreePtr(), pdoc.getPrefs().getTreePtr());
    EXPECT_EQ(asDocument.setUnitBase(0.0, 0), 0);
}
