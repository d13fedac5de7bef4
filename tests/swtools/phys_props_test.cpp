// Physical properties: what is written for which classification data, with the mass-property
// object of the document replaced by a recorder.
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swtools/phys_props.h"
#include "platform/host/services/host_services.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records what the writer does with the mass properties; SolidWorks' own centre is (1, 2, 3).
class massRecorderC : public comObjectT<massRecorderC, IMassProperty> {
public:
    HRESULT GetCenterOfGravity(VARIANT* centre) override {
        _variant_t computed = makeDoubleArray({1.0, 2.0, 3.0});
        *centre = computed.Detach();
        return S_OK;
    }
    HRESULT GetVolume(double* volume) override {
        *volume = 0.0;
        return S_OK;
    }
    HRESULT SetUseGivenCenter(VARIANT_BOOL value) override {
        givenCenter.push_back(value);
        return S_OK;
    }
    HRESULT SetUseGivenMass(VARIANT_BOOL value) override {
        givenMass.push_back(value);
        return S_OK;
    }
    HRESULT ApplyValues(double mass, double x, double y, double z, long option,
                        VARIANT configurations, VARIANT_BOOL* done) override {
        applied.push_back({mass, x, y, z, static_cast<double>(option)});
        configurationType = configurations.vt;
        configurationValue = configurations.intVal;
        *done = VARIANT_TRUE;
        return S_OK;
    }

    std::vector<VARIANT_BOOL> givenCenter;
    std::vector<VARIANT_BOOL> givenMass;
    std::vector<std::vector<double>> applied;
    VARTYPE configurationType = VT_EMPTY;
    int configurationValue = -1;
};

// Document attributes whose classification info "qel" holds the given variables.
metaObjectC attributesWith(const std::string& variables, bool switchedOn = true) {
    std::string list =
        "(DOCCLASSIFYLIST (DOCCLASSIFYINFO (NAME \"qel\") " + variables +
        (switchedOn ? " (DOCCLASSIFYIDINFO (CLASSID \"QELPHYPROP\") (INSTID \"1\"))" : "") + "))";
    std::string escaped;
    for (char c : list) {
        if (c == '"' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    metaObjectC attributes;
    EXPECT_TRUE(attributes.ctorFromText(
        mzComStringC(std::string_view("(DOCATTR (CLASSIFICATIONINFO \"" + escaped + "\"))"))));
    return attributes;
}

std::string var(const std::string& name, const std::string& value) {
    return "(DOCCLASSIFYVAR (VARNAME \"" + name + "\") (VALUE \"" + value + "\"))";
}

class PhysProps : public ::testing::Test {
protected:
    void SetUp() override {
        hostsvc::resetHostServices();
        mass = IMassPropertyPtr(new massRecorderC, false);
        recorder = static_cast<massRecorderC*>(mass.GetInterfacePtr());
        part.kit().plan().scriptValue("IDocExtension::CreateMassProperty",
                                      _variant_t(static_cast<IDispatch*>(mass.GetInterfacePtr())));
        part.kit().plan().returnNull("IModelDoc2::SetDoublePreference");
    }

    partFixtureC part;
    IMassPropertyPtr mass;
    massRecorderC* recorder = nullptr;
};

TEST_F(PhysProps, DensityAloneWritesOnlyThePreference) {
    setPhyProps(attributesWith(var("QELDENSITY", "7850")), part.docPtr());
    const auto density = part.kit().journal().calls("IModelDoc2::SetDoublePreference");
    ASSERT_EQ(density.size(), 1u);
    EXPECT_EQ(density[0].args, (std::vector<std::string>{"7", "7850"}));
    EXPECT_EQ(part.kit().journal().count("IDocExtension::CreateMassProperty"), 0u);
    EXPECT_TRUE(recorder->applied.empty());
}

TEST_F(PhysProps, MassWithAPartialCentreKeepsTheComputedCentre) {
    setPhyProps(
        attributesWith(var("QELMASSEXACT", "1.25") + var("QEL_COG_X", "4") + var("QEL_COG_Y", "5")),
        part.docPtr());
    EXPECT_TRUE(recorder->givenCenter.empty());
    EXPECT_EQ(recorder->givenMass, std::vector<VARIANT_BOOL>{VARIANT_TRUE});
    ASSERT_EQ(recorder->applied.size(), 1u);
    EXPECT_EQ(recorder->applied[0], (std::vector<double>{1.25, 1.0, 2.0, 3.0, 2.0}));
    EXPECT_EQ(recorder->configurationType, VT_INT);
    EXPECT_EQ(recorder->configurationValue, 0);
    EXPECT_EQ(part.kit().journal().count("IModelDoc2::SetDoublePreference"), 0u);
}

TEST_F(PhysProps, MassWithTheWholeCentreWritesTheGivenCentre) {
    setPhyProps(attributesWith(var("QELMASSEXACT", "1.25") + var("QEL_COG_X", "4") +
                               var("QEL_COG_Y", "5") + var("QEL_COG_Z", "-6.5")),
                part.docPtr());
    EXPECT_EQ(recorder->givenCenter, std::vector<VARIANT_BOOL>{VARIANT_TRUE});
    ASSERT_EQ(recorder->applied.size(), 1u);
    EXPECT_EQ(recorder->applied[0], (std::vector<double>{1.25, 4.0, 5.0, -6.5, 2.0}));
}

TEST_F(PhysProps, ACentreThatIsNotANumberIsNotUsed) {
    setPhyProps(attributesWith(var("QELMASSEXACT", "2") + var("QEL_COG_X", "4") +
                               var("QEL_COG_Y", "n/a") + var("QEL_COG_Z", "6")),
                part.docPtr());
    EXPECT_TRUE(recorder->givenCenter.empty());
    ASSERT_EQ(recorder->applied.size(), 1u);
    EXPECT_EQ(recorder->applied[0], (std::vector<double>{2.0, 1.0, 2.0, 3.0, 2.0}));
}

TEST_F(PhysProps, NothingIsWrittenWithoutTheSwitchOrWithoutMassAndDensity) {
    setPhyProps(attributesWith(var("QELDENSITY", "7850") + var("QELMASSEXACT", "3"), false),
                part.docPtr());
    setPhyProps(
        attributesWith(var("QEL_COG_X", "4") + var("QEL_COG_Y", "5") + var("QEL_COG_Z", "6")),
        part.docPtr());
    setPhyProps(metaObjectC(), part.docPtr());
    EXPECT_EQ(part.kit().journal().count("IModelDoc2::SetDoublePreference"), 0u);
    EXPECT_EQ(part.kit().journal().count("IDocExtension::CreateMassProperty"), 0u);
}

} // namespace

namespace {

TEST(PhysPropsInTheSession, DensityMassAndCentreReachTheDocument) {
    hostsvc::resetHostServices();
    partFixtureC part;
    part.block(10, 10, 10);
    setPhyProps(attributesWith(var("QELDENSITY", "7850") + var("QELMASSEXACT", "1.25") +
                               var("QEL_COG_X", "4") + var("QEL_COG_Y", "5") +
                               var("QEL_COG_Z", "-6.5")),
                part.docPtr());
    EXPECT_DOUBLE_EQ(part.model().doublePreference(7), 7850.0);
    ASSERT_TRUE(part.model().givenMass().has_value());
    EXPECT_DOUBLE_EQ(*part.model().givenMass(), 1.25);
    ASSERT_TRUE(part.model().givenCentre().has_value());
    EXPECT_DOUBLE_EQ(part.model().givenCentre()->z, -6.5);
}

} // namespace
