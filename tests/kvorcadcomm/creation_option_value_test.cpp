#include "libs/KvorCadComm/creation_option_value.h"

#include <gtest/gtest.h>

namespace {

class KvorCadCommGetValAsInt : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(getIMetaTreeApi()->release(settings_)); }

    mDocumentCreationOptionSettingC setting(const char* name) {
        return mDocumentCreationOptionSettingsC(settings_).getSetting(name, 0);
    }

    metaTreePtrT settings_ = getIMetaTreeApi()->parseText(
        "(CREAOPTSETS (CREAOPTSET (NAME \"Multibodysolid\") (TYP \"INT\") (VAL \"1\"))"
        " (CREAOPTSET (NAME \"SketchMode\") (TYP \"INT\") (VAL \"\"))"
        " (CREAOPTSET (NAME \"NoVal\") (TYP \"INT\"))"
        " (CREAOPTSET (NAME \"Negative\") (TYP \"INT\") (VAL \"-2\"))"
        " (CREAOPTSET (NAME \"Junk\") (TYP \"INT\") (VAL \"2x\")))",
        "settings");
};

TEST_F(KvorCadCommGetValAsInt, ReadsTheValTextAsInteger) {
    EXPECT_EQ(getValAsInt(setting("Multibodysolid")), 1);
    EXPECT_EQ(getValAsInt(setting("Negative")), -2);
}

TEST_F(KvorCadCommGetValAsInt, EmptyMissingOrJunkGivesZero) {
    EXPECT_EQ(getValAsInt(setting("SketchMode")), 0);
    EXPECT_EQ(getValAsInt(setting("NoVal")), 0);
    EXPECT_EQ(getValAsInt(setting("Junk")), 0);
    // A setting that is not there: an unbound view.
    EXPECT_EQ(getValAsInt(setting("Absent")), 0);
}

} // namespace
