// Catalogue record views.

#include "metacore_fixture.h"

#include "metamodel/core/pshell.h"

namespace {

using MetaRecordTest = MetaCoreTest;

constexpr const char* assembly = R"((DOCUMENT (CADIDENT "/top.sldasm")
  (MEMBERS
    (DOCUMENT (CADIDENT "/sub1.sldasm")
      (MEMBERS (DOCUMENT (CADIDENT "/deep.sldprt")) (DOCUMENT (CADIDENT "/twice.sldprt"))))
    (OTHER (CADIDENT "/not-a-document"))
    (DOCUMENT (CADIDENT "/twice.sldprt") (EXTENSION "second"))))
)";

TEST_F(MetaRecordTest, FindDocumentSearchesNestedMembersDepthFirst) {
    pShellDocBaseC top;
    ASSERT_TRUE(top.ctorFromText(assembly));
    const auto nodesBefore = store().liveNodeCount();
    EXPECT_EQ(top.findDocument("/top.sldasm").getTreePtr(), top.getTreePtr());
    pShellDocBaseC deep = top.findDocument("/deep.sldprt");
    ASSERT_TRUE(deep.isValid());
    EXPECT_EQ(deep.getCadIdent(), mzComStringC("/deep.sldprt"));
    // The first in depth-first order wins: the one nested under sub1.
    pShellDocBaseC twice = top.findDocument("/twice.sldprt");
    EXPECT_FALSE(twice.hasChild("EXTENSION"));
    EXPECT_FALSE(top.findDocument("/not-a-document").isValid());
    EXPECT_FALSE(top.findDocument("/TOP.sldasm").isValid());
    EXPECT_FALSE(pShellDocBaseC().findDocument("/top.sldasm").isValid());
    EXPECT_EQ(store().liveNodeCount(), nodesBefore) << "a search creates nothing";
}

TEST_F(MetaRecordTest, MembersAreAddedAsDocumentRecords) {
    pShellDocBaseC top;
    ASSERT_TRUE(top.ctorNewNode("DOCUMENT"));
    pShellMemberSetC members = top.getMemberSet();
    pShellDocBaseC sub = members.addDocument();
    ASSERT_TRUE(sub.isValid());
    metaObjStrC(sub.getOrAddChild("CADIDENT")).set("/a.sldprt");
    pShellDocBaseC made;
    made.ctorNewNode("DOCUMENT");
    metaObjStrC(made.getOrAddChild("CADIDENT")).set("/b.sldprt");
    EXPECT_TRUE(members.addDocument(made.getTreePtr()).isValid());
    metaObjectC wrong = parse("(HEADER)");
    EXPECT_FALSE(members.addDocument(wrong.getTreePtr()).isValid());
    EXPECT_EQ(members.countDocuments(), 2);
    EXPECT_EQ(members.getDocumentAt(1).getCadIdent(), mzComStringC("/b.sldprt"));
    EXPECT_EQ(top.findDocument("/b.sldprt").getTreePtr(), made.getTreePtr());
    EXPECT_EQ(top.getMemberSet().getTreePtr(), members.getTreePtr()) << "one MEMBERS only";
}

TEST_F(MetaRecordTest, VariableSetsFindAddAndOverwrite) {
    pShellDocBaseC doc;
    ASSERT_TRUE(doc.ctorNewNode("DOCUMENT"));
    pShellCurVarSetC values = doc.getCurVarSet();
    pShellVarValueC idnr = values.getOrAddVarValue("IDNR");
    idnr.setVarValue("A-1");
    idnr.setVarValue("A-2");
    EXPECT_EQ(values.getOrAddVarValue("IDNR").getTreePtr(), idnr.getTreePtr());
    pShellVarValueC out;
    values.addVarValueOut(out);
    out.setVarName("D1");
    EXPECT_EQ(print(values.getTreePtr()),
              "(CURVARSET (VAR (VARNAME \"IDNR\") (VARVALUE \"A-2\")) (VAR (VARNAME \"D1\")))");

    pShellVarDescSetBaseC descs(doc.getOrAddChild("VARIABLES"));
    pShellVarBaseC d = descs.addVarDesc();
    d.setVarName("IDNR");
    pShellVarBaseC e;
    descs.addVarDescOut(e);
    e.setVarName("D1");
    EXPECT_EQ(descs.findVarDesc("D1").getTreePtr(), e.getTreePtr());
    EXPECT_FALSE(descs.findVarDesc("d1").isValid());
    EXPECT_FALSE(pShellVarDescSetBaseC().addVarDesc().isValid());
}

TEST_F(MetaRecordTest, DocumentListsAndFieldsAreCreatedOnceAndOverwritten) {
    pShellDocBaseC doc;
    ASSERT_TRUE(doc.ctorNewNode("DOCUMENT"));
    doc.getUsedFiles().appendString("/a.sldprt");
    doc.getUsedFiles().appendString("/prev.bmp");
    doc.getWantFiles().appendString("/a.sldprt");
    doc.setPreview("/p1.bmp");
    doc.setPreview("/p2.bmp");
    doc.setPreview3D("/p.stl");
    EXPECT_EQ(print(doc.getTreePtr()),
              "(DOCUMENT (USEDFILES \"/a.sldprt\" \"/prev.bmp\") (WANTFILES \"/a.sldprt\") "
              "(PREVIEW \"/p2.bmp\") (PREVIEW3D \"/p.stl\"))");
}

} // namespace
