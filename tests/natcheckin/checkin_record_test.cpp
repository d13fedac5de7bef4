// The check-in record views: fields overwrite their child, stand-alone tables and lists are
// copied into a record, and the default header means "no result".
#include "libs/geomcore/natCheckin/checkin_record.h"

#include <gtest/gtest.h>

namespace {

std::string printed(const metaObjectVirtualDataBaseC& view) {
    return getIMetaTreeApi()->print(view.getTreePtr(), metaPrintStyle::compact);
}

TEST(CheckinRecord, SettingAFieldTwiceOverwritesIt) {
    pShellDocCheckinC record(pShellNewNode);
    record.setCadSystem("SolidWorks");
    record.setCadSystem("SW2024");
    record.setShow3D(1);
    record.setShow3D(0);
    record.setUnitBase(1.0);
    record.setUnitBase(25.4);
    EXPECT_EQ(printed(record), "(DOCUMENT (CADSYSTEM \"SW2024\") (SHOW3D 0) (UNITBASE 25.4))");
}

TEST(CheckinRecord, VariableDescriptionsAreFoundOrAddedOnce) {
    pShellDocCheckinC record(pShellNewNode);
    pShellVariableSetC variables = record.getVariables();
    bool added = false;
    pShellVarDescC first = variables.findOrAddVarDesc("D1@Sketch1", &added);
    EXPECT_TRUE(added);
    first.setVarType("Z");
    first.setVarPrec(5.0);
    pShellVarDescC again = variables.findOrAddVarDesc("D1@Sketch1", &added);
    EXPECT_FALSE(added);
    EXPECT_EQ(again.getTreePtr(), first.getTreePtr());
    EXPECT_EQ(
        printed(record),
        "(DOCUMENT (VARIABLES (VAR (VARNAME \"D1@Sketch1\") (VARTYPE \"Z\") (VARPREC 5.0))))");
}

TEST(CheckinRecord, StandAloneTableAndVariantsReplaceTheRecordsOwn) {
    pShellDocCheckinC record(pShellNewNode);
    record.getVarTable().addLine().asCurVarSet().getOrAddVarValue("IDNR").setVarValue("old");
    record.getVarTable().addLine();

    pShellVarTableC table(pShellNewNode);
    table.addLine().asCurVarSet().getOrAddVarValue("IDNR").setVarValue("Long");
    pShellVariantsC variants(pShellNewNode);
    pShellVariantC variant = variants.addVariant();
    variant.setVarName("IDNR");
    variant.setVarValue("Long");
    pShellDocBitmapsFilesC bitmaps(pShellNewNode);
    bitmaps.appendString("/tmp/preview1.bmp");
    variant.setBitmaps(bitmaps);

    ASSERT_TRUE(record.setVarTable(table));
    ASSERT_TRUE(record.setVariants(variants));
    EXPECT_EQ(record.getVarTable().countLines(), 1);
    EXPECT_EQ(printed(record),
              "(DOCUMENT (VARSETTABLE (VARSET (VAR (VARNAME \"IDNR\") (VARVALUE \"Long\"))))"
              " (VARIANTS (VARIANT (VARNAME \"IDNR\") (VARVALUE \"Long\")"
              " (BITMAPS \"/tmp/preview1.bmp\"))))");
    // The stand-alone nodes stay apart from the record.
    table.addLine();
    EXPECT_EQ(record.getVarTable().countLines(), 1);
}

TEST(CheckinRecord, HeaderHoldsACopyOfTheGlobalHeaderAndTheDocument) {
    pShellHeaderC header(pShellNewNode);
    pShellGlobalHeaderC global(pShellNewNode);
    global.setDestPrjDir("/projects/p1");
    ASSERT_TRUE(header.setGlobalHeader(global));
    global.setDestPrjDir("/elsewhere");
    pShellDocCheckinC record(pShellNewNode);
    record.setCadIdent("/p/a.sldprt");
    header.appendChild(record.getTreePtr());
    EXPECT_EQ(header.getDocument().getCadIdent().toUtf8(), "/p/a.sldprt");
    EXPECT_EQ(printed(header), "(CHECKINOUT (HEADER (DESTPRJDIR \"/projects/p1\"))"
                               " (DOCUMENT (CADIDENT \"/p/a.sldprt\")))");
}

TEST(CheckinRecord, RecordsDoNotLeakNodes) {
    const std::int64_t before = getIMetaTreeApi()->liveNodeCount();
    {
        pShellHeaderC header(pShellNewNode);
        pShellDocCheckinC record(pShellNewNode);
        record.getVariables().findOrAddVarDesc("IDNR").setVarType("T");
        header.appendChild(record.getTreePtr());
        pShellVarTableC table(pShellNewNode);
        table.addLine();
        record.setVarTable(table);
    }
    EXPECT_EQ(getIMetaTreeApi()->liveNodeCount(), before);
}

} // namespace
