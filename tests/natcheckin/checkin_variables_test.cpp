// Variables the reader takes from a document: dimensions of features and sub-features with
// their names, values and units; summary fields and custom properties.
#include "libs/geomcore/natCheckin/sw_checkin.h"
#include "libs/geomcore/swapi/swapi.h"
#include "platform/host/services/log.h"
#include "platform/sldworks/testkit/fixtures.h"
#include "tests/natcheckin/checkin_fakes.h"
#include "tests/natcheckin/checkin_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>

namespace {

class CheckinVariables : public checkinTestBaseC {
protected:
    void SetUp() override {
        checkinTestBaseC::SetUp();
        app = part.appPtr();
        doc = part.docPtr();
        record = pShellDocCheckinC(pShellNewNode);
    }

    std::string printed(const metaObjectVirtualDataBaseC& view) {
        return getIMetaTreeApi()->print(view.getTreePtr(), metaPrintStyle::compact);
    }
    void scriptFirstFeature(const IFeaturePtr& feature) {
        part.kit().plan().scriptValue(
            "IModelDoc2::FirstFeature",
            _variant_t(static_cast<IDispatch*>(feature.GetInterfacePtr())));
    }
    void scriptProperties(const std::vector<std::string>& names,
                          const std::vector<std::string>& values, long count) {
        ICustomPropertyManagerPtr manager(new fakePropertiesC(names, values, count), false);
        part.kit().plan().scriptValue(
            "IDocExtension::GetCustomPropertyManager",
            _variant_t(static_cast<IDispatch*>(manager.GetInterfacePtr())));
    }
    void scriptSummary() {
        part.kit().plan().scriptSequence("IModelDoc2::GetSummaryInfo",
                                         {_variant_t("Bracket"), _variant_t("Holders"),
                                          _variant_t("Smith"), _variant_t("steel"),
                                          _variant_t("")});
    }

    partFixtureC part;
    ISldWorksPtr app;
    IModelDoc2Ptr doc;
    pShellDocCheckinC record;
    TarnwickPollObj poll{mzComStringC(tarnwickPollObjectName)};
};

TEST_F(CheckinVariables, DimensionsOfFeaturesAndSubFeaturesWithNamesAndUnits) {
    IFeaturePtr boss(new fakeFeatureC("Extrusion"), false);
    IFeaturePtr mates(new fakeFeatureC("MateGroup"), false);
    IFeaturePtr mate(new fakeFeatureC("MateCoincident"), false);
    auto* bossFake = static_cast<fakeFeatureC*>(boss.GetInterfacePtr());
    auto* matesFake = static_cast<fakeFeatureC*>(mates.GetInterfacePtr());
    bossFake->addDimension("D1@Boss-Extrude1@Block.SLDPRT", 20.0, 2);
    bossFake->addDimension("Angle@Sketch1", std::numbers::pi / 2, 1);
    bossFake->addDimension("Plain", 7.5, 0);
    // A name met again in the same pass overwrites the value it wrote.
    bossFake->addDimension("Angle@Sketch2", std::numbers::pi / 4, 1);
    bossFake->next = mates;
    matesFake->addDimension("Skipped@MateGroup", 1.0, 2);
    matesFake->firstSub = mate;
    static_cast<fakeFeatureC*>(mate.GetInterfacePtr())->addDimension("Distance@Mate1", 4.0, 2);
    scriptFirstFeature(boss);
    part.kit().plan().scriptValue("IModelDoc2::GetIntegerPreference", _variant_t(3L));
    // An inch part whose angles SolidWorks shows in radians.
    part.kit().plan().scriptValue("IModelDoc2::GetLengthUnitArray", makeShortArray({3}));
    part.kit().plan().scriptValue("IModelDoc2::GetAngleUnitArray", makeShortArray({3}));

    swCheckinC reader(app, "SolidWorks", 1.0, 1, poll);
    reader.getUnitBases(doc);
    pShellVariableSetC variables = record.getVariables();
    pShellCurVarSetC values = record.getCurVarSet();
    reader.readDimensionVariables(doc, variables, values);

    EXPECT_EQ(
        printed(variables),
        "(VARIABLES"
        " (VAR (VARNAME \"D1@Boss-Extrude1\") (VARPREC 5.0) (VARUNIT \"inch\") (VARTYPE \"Z\") "
        "(VARDESC \"\"))"
        " (VAR (VARNAME \"Angle\") (VARPREC 5.0) (VARUNIT \"deg\") (VARTYPE \"Z\") (VARDESC \"\"))"
        " (VAR (VARNAME \"Plain\") (VARPREC 5.0) (VARUNIT \"inch\") (VARTYPE \"Z\") (VARDESC \"\"))"
        " (VAR (VARNAME \"Distance\") (VARPREC 5.0) (VARUNIT \"inch\") (VARTYPE \"Z\") (VARDESC "
        "\"\")))");
    EXPECT_EQ(printed(values), "(CURVARSET"
                               " (VAR (VARNAME \"D1@Boss-Extrude1\") (VARVALUE \"20\"))"
                               " (VAR (VARNAME \"Angle\") (VARVALUE \"45\"))"
                               " (VAR (VARNAME \"Plain\") (VARVALUE \"7.5\"))"
                               " (VAR (VARNAME \"Distance\") (VARVALUE \"4\")))");
}

TEST_F(CheckinVariables, InchAndRadianDocumentsGiveTheirValuesInTheirUnits) {
    const std::string boss = part.block(10, 10, 10); // depth 10 mm
    part.addDimension(boss, "A1", 3, std::numbers::pi / 2);
    part.model().setLengthUnit(3);
    VARIANT_BOOL done = VARIANT_FALSE;
    ASSERT_EQ(doc->SetIntegerPreference(51, 3, &done), S_OK); // radians
    EXPECT_EQ(done, VARIANT_TRUE);
    swCheckinC reader(app, "SolidWorks", 1.0, 1, poll);
    reader.getUnitBases(doc);
    EXPECT_EQ(reader.getAngleUnitName().toUtf8(), "rad") << "the unit array follows";
    pShellVariableSetC variables = record.getVariables();
    pShellCurVarSetC values = record.getCurVarSet();
    reader.readDimensionVariables(doc, variables, values);
    EXPECT_EQ(printed(values), "(CURVARSET"
                               " (VAR (VARNAME \"D1@" +
                                   boss +
                                   "\") (VARVALUE \"0.39370078740157\"))"
                                   " (VAR (VARNAME \"A1@" +
                                   boss + "\") (VARVALUE \"90\")))");
}

TEST_F(CheckinVariables, AnglesInMinutesAndSecondsBecomeDegrees) {
    IFeaturePtr feature(new fakeFeatureC("Revolution"), false);
    static_cast<fakeFeatureC*>(feature.GetInterfacePtr())->addDimension("A@Sketch1", 5400.0, 5);
    scriptFirstFeature(feature);
    part.kit().plan().scriptSequence("IModelDoc2::GetIntegerPreference",
                                     {_variant_t(1L), _variant_t(2L), _variant_t(0L)});
    swCheckinC reader(app, "SolidWorks", 1.0, 1, poll);
    pShellVariableSetC variables = record.getVariables();
    const char* expected[] = {"90", "1.5", "5400"};
    for (const char* value : expected) {
        pShellCurVarSetC values = record.getCurVarSet();
        reader.readDimensionVariables(doc, variables, values);
        EXPECT_EQ(values.getOrAddVarValue("A").getVarValue().toUtf8(), value);
    }
    EXPECT_EQ(printed(variables), "(VARIABLES (VAR (VARNAME \"A\") (VARPREC 5.0) (VARUNIT \"deg\")"
                                  " (VARTYPE \"Z\") (VARDESC \"\")))");
}

TEST_F(CheckinVariables, NoCustomPropertiesIsLoggedAndKeepsTheSummaryFields) {
    hostsvc::setDefaultLogLevel(hostsvc::logLevelTrace);
    hostsvc::setLogCapture(true);
    scriptSummary();
    scriptProperties({}, {}, -1);
    swCheckinC reader(app, "SolidWorks", 1.0, 1, poll);
    pShellVariableSetC variables = record.getVariables();
    pShellCurVarSetC values = record.getCurVarSet();
    _bstr_t configuration("");
    reader.checkInReverseVars(doc, configuration, variables, values, false);

    const auto records = hostsvc::capturedLogRecords();
    EXPECT_TRUE(std::any_of(records.begin(), records.end(), [](const hostsvc::LogRecord& r) {
        return r.text == "File have no custom properties" && r.category == "codetrack";
    }));
    EXPECT_EQ(variables.countChildren(), 0); // descriptions were not allowed
    EXPECT_EQ(values.countChildren(), 5);
}

TEST_F(CheckinVariables, PropertyArraysShorterThanTheCountAreRefused) {
    scriptSummary();
    scriptProperties({"Material"}, {"Steel"}, 2);
    swCheckinC reader(app, "SolidWorks", 1.0, 1, poll);
    pShellVariableSetC variables = record.getVariables();
    pShellCurVarSetC values = record.getCurVarSet();
    _bstr_t configuration("");
    try {
        reader.checkInReverseVars(doc, configuration, variables, values, true);
        FAIL() << "no error raised";
    } catch (const _com_error& error) {
        EXPECT_EQ(error.Error(), E_INVALIDARG);
    }
}

} // namespace
