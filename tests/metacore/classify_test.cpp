// Classification lists and class instances read from their serialised text.

#include "metacore_fixture.h"

#include "metamodel/core/classify.h"
#include "metamodel/core/classinstance.h"

namespace {

using MetaClassifyTest = MetaCoreTest;

constexpr const char* classificationInfo = R"(
; as held in the CLASSIFICATIONINFO string of a part's attributes
(DOCCLASSIFYLIST
  (DOCCLASSIFYINFO (NAME "other") (DOCCLASSIFYIDINFO (CLASSID "QELPHYPROP")))
  (DOCCLASSIFYINFO (NAME "qel")
    (DOCCLASSIFYVAR (VARNAME "QELDENSITY") (VALUE "7.85"))
    (DOCCLASSIFYVAR (VARNAME "QELMASSEXACT"))
    (DOCCLASSIFYIDINFO (CLASSID "QEL_FACE_TS") (INSTID "1"))
    (DOCCLASSIFYIDINFO (CLASSID "QEL_CP_PLACE_PA") (INSTID "7")
      (DOCCLASSIFYVAR (VARNAME "QEL_3DID") (VALUE "a,b,CP1")))
    (NOTANIDINFO (CLASSID "QEL_FACE_TS") (INSTID "99"))
    (DOCCLASSIFYIDINFO (CLASSID "QEL_FACE_TS") (INSTID "2"))))
)";

TEST_F(MetaClassifyTest, FindsInfosIdInfosAndVariablesOfAClassification) {
    mDocClassifyListC list;
    ASSERT_TRUE(list.ctorFromText(classificationInfo));
    mDocClassifyInfoC qel = list.findInfo("qel");
    ASSERT_TRUE(qel.isValid());
    EXPECT_FALSE(list.findInfo("QEL").isValid()) << "names compare case-sensitively";
    EXPECT_EQ(getDocClassifyInfoAt(list, 1).getTreePtr(), qel.getTreePtr());
    EXPECT_FALSE(getDocClassifyInfoAt(list, 2).isValid());

    std::vector<mDocClassifyIdInfoC> faces = qel.collectIdInfos("QEL_FACE_TS");
    ASSERT_EQ(faces.size(), 2u) << "only DOCCLASSIFYIDINFO entries count";
    EXPECT_EQ(faces[0].getInstId(), mzComStringC("1"));
    EXPECT_EQ(faces[1].getInstId(), mzComStringC("2"));
    EXPECT_EQ(qel.getIdInfoAt("QEL_FACE_TS", 1).getInstId(), mzComStringC("2"));
    EXPECT_FALSE(qel.getIdInfoAt("QEL_FACE_TS", 2).isValid());
    EXPECT_FALSE(qel.getIdInfoAt("QELPHYPROP", 0).isValid());
    EXPECT_TRUE(isDocClassifyIdInfo(list.findInfo("other").getIdInfoAt("QELPHYPROP", 0)));
    EXPECT_FALSE(isDocClassifyIdInfo(qel));
    EXPECT_FALSE(isDocClassifyIdInfo(mDocClassifyIdInfoC()));

    EXPECT_EQ(qel.getVarValue("QELDENSITY", "0"), mzComStringC("7.85"));
    EXPECT_EQ(qel.getVarValue("QELMASSEXACT", "0"), mzComStringC("0")) << "no VALUE";
    EXPECT_EQ(qel.getVarValue("QEL_COG_X", ""), mzComStringC(""));
    mDocClassifyIdInfoC place = qel.collectIdInfos("QEL_CP_PLACE_PA").at(0);
    EXPECT_EQ(place.getVarValue("QEL_3DID", " "), mzComStringC("a,b,CP1"));
    EXPECT_EQ(place.getVarValue("QEL_CP_PLACE_AXIS_DIR", "0"), mzComStringC("0"));
}

TEST_F(MetaClassifyTest, MalformedClassificationTextReadsAsNoClassification) {
    for (const char* text : {"(DOCCLASSIFYLIST (DOCCLASSIFYINFO (NAME \"qel\")", "qel", "",
                             "(DOCCLASSIFYLIST \"\\q\")"}) {
        mDocClassifyListC list;
        EXPECT_FALSE(list.ctorFromText(text)) << text;
        mDocClassifyInfoC qel = list.findInfo("qel");
        EXPECT_FALSE(qel.isValid());
        EXPECT_TRUE(qel.collectIdInfos("QEL_FACE_TS").empty());
        EXPECT_FALSE(isDocClassifyIdInfo(qel.getIdInfoAt("QELPHYPROP", 0)));
        EXPECT_EQ(qel.getVarValue("QELDENSITY", "0"), mzComStringC("0"));
        EXPECT_FALSE(getDocClassifyInfoAt(list, 0).isValid());
    }
}

constexpr const char* facd = R"((RCCLASSINSTANCE (CLASSNAME "QEL_FACE")
  (RCPROPERTY (NAME "CLASSID") (VALUE "QEL_FACE_TS"))
  (RCBASECLASS (CLASSNAME "B1")
    (RCBASECLASS (CLASSNAME "B11") (RCPROPERTY (NAME "INSTID") (VALUE "deep"))))
  (RCBASECLASS (CLASSNAME "B2")
    (RCPROPERTY (NAME "INSTID") (VALUE "second base"))
    (RCPROPERTY (NAME "CLASSID") (VALUE "shadowed")))
  (RCPROPERTY (NAME "EMPTY"))))";

TEST_F(MetaClassifyTest, ClassInstancePropertiesAreFoundInTheInstanceThenItsBases) {
    mRCClassInstanceC instance;
    ASSERT_TRUE(instance.ctorFromText(facd));
    EXPECT_EQ(mRCClassInstanceStringPropertyC(instance.findProperty("CLASSID")).getValue(),
              mzComStringC("QEL_FACE_TS"));
    // Bases are searched depth first, in order.
    EXPECT_EQ(mRCClassInstanceStringPropertyC(instance.findProperty("INSTID")).getValue(),
              mzComStringC("deep"));
    bool found = true;
    mRCClassInstanceStringPropertyC empty(instance.findProperty("EMPTY"));
    EXPECT_TRUE(empty.isValid());
    EXPECT_EQ(empty.getValue(&found), mzComStringC());
    EXPECT_FALSE(found);
    EXPECT_FALSE(instance.findProperty("MISSING").isValid());

    mRCClassInstanceC broken;
    EXPECT_FALSE(broken.ctorFromText("(RCCLASSINSTANCE (RCPROPERTY (NAME \"CLASSID\")"));
    EXPECT_FALSE(broken.findProperty("CLASSID").isValid());
}

} // namespace
