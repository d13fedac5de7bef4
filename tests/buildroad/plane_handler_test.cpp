// The PLANE handler: base planes checked against the template, offset planes, fixed planes,
// and the exact messages of nodes that cannot be built.
#include "tests/buildroad/buildroad_fixture.h"

#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swtools/error.h"

namespace {

class PlaneHandler : public partBuildTest {
protected:
    void SetUp() override {
        partBuildTest::SetUp();
        adoptTemplatePlanes();
        runPlane("(PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))");
        kit().journal().clear();
    }

    // The message of the errorC the node fails with; empty when it does not fail.
    std::string failureOf(const std::string& text) {
        try {
            runPlane(text);
        } catch (const errorC& error) {
            return error.getMessage().toUtf8();
        }
        return {};
    }

    std::vector<std::string> offsetPlaneCall() {
        const auto calls = kit().journal().calls("IModelDoc2::CreateOffsetPlane");
        return calls.empty() ? std::vector<std::string>() : calls.back().args;
    }

    std::vector<double> geometryOf(const char* name) {
        const IRefPlanePtr plane = planeNamed(name);
        return plane ? readDoubleArray(refPlaneGetGeometry(plane), 12) : std::vector<double>();
    }
};

const char* const offsetFromXY = "(PLANE (NAME \"O\") (TYP \"OFF_TO_PLANE\") "
                                 "(MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 5 1) (PARAM %s))";

std::string offsetNode(const std::string& param) {
    std::string text = offsetFromXY;
    text.replace(text.find("%s"), 2, param);
    return text;
}

TEST_F(PlaneHandler, BasePlaneOfTheTemplateCreatesNothing) {
    const std::size_t recorded = part_->planeRecords.size();
    EXPECT_EQ(failureOf("(PLANE (NAME \"ZX\") (TYP \"ZX\") (MAT 0 0 1 0 1 0 0 0 0 1 0 0 0 0 0 1))"),
              "");
    EXPECT_EQ(part_->planeRecords.size(), recorded);
    EXPECT_EQ(kit().journal().count("IModelDoc2::CreatePlaneThroughPoints"), 0u);
    EXPECT_EQ(kit().journal().count("IModelDoc2::CreateOffsetPlane"), 0u);
}

TEST_F(PlaneHandler, BasePlaneElsewhereOrWithoutPlacementFails) {
    const std::string message = "Unbale to get base plane \"XY2\" from SolidWorks";
    EXPECT_EQ(
        failureOf("(PLANE (NAME \"XY2\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 3 1))"),
        message);
    EXPECT_EQ(failureOf("(PLANE (NAME \"XY2\") (TYP \"XY\"))"), message);
    const std::vector<std::string> shown = shownWarnings();
    ASSERT_FALSE(shown.empty());
    EXPECT_NE(shown.back().find(message), std::string::npos);
}

TEST_F(PlaneHandler, OffsetPlaneGetsItsOwnNameAndPlace) {
    EXPECT_EQ(failureOf(offsetNode("0 5.0 \"XY\"")), "");
    const std::vector<std::string> args = offsetPlaneCall();
    ASSERT_EQ(args.size(), 3u);
    EXPECT_EQ(args[0], "5");
    EXPECT_EQ(args[1], "0");

    const std::vector<double> geometry = geometryOf("O");
    ASSERT_EQ(geometry.size(), 12u);
    EXPECT_NEAR(geometry[2], 5.0, 1e-9);
    // The reference plane keeps its name; the new one is recorded under the node's.
    EXPECT_TRUE(planeNamed("Front Plane"));
    _bstr_t swName;
    ASSERT_EQ(part_->findPlaneSwName("O", swName), 1);
    EXPECT_TRUE(swName == "O");
}

TEST_F(PlaneHandler, NegativeDistanceTurnsTheFlip) {
    struct caseS {
        const char* param;
        const char* distance;
        const char* flip;
    };
    for (const caseS c : {caseS{"0 -5 \"XY\"", "5", "1"}, caseS{"1 -5 \"XY\"", "5", "0"},
                          caseS{"0 0 \"XY\"", "0", "0"}}) {
        kit().journal().clear(); // no call of an earlier case may answer for this one
        EXPECT_EQ(failureOf(offsetNode(c.param)), "") << c.param;
        const std::vector<std::string> args = offsetPlaneCall();
        ASSERT_EQ(args.size(), 3u) << c.param;
        EXPECT_EQ(args[0], c.distance) << c.param;
        EXPECT_EQ(args[1], c.flip) << c.param;
    }
}

TEST_F(PlaneHandler, ReferenceRecordedUnderAnotherNameIsFoundByGeometry) {
    EXPECT_EQ(failureOf("(PLANE (NAME \"Base\") (TYP \"ABS_PLANE\") "
                        "(MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 3 1))"),
              "");
    // "Ref" is never built itself; it lies where "Base" lies.
    placeNode("(PLANE (NAME \"Ref\") (TYP \"ABS_PLANE\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 3 1))");
    kit().journal().clear();
    EXPECT_EQ(failureOf("(PLANE (NAME \"O3\") (TYP \"OFF_TO_PLANE\") (PARAM 0 7 \"Ref\"))"), "");
    const auto selections = kit().journal().calls("IModelDoc2::SelectByName");
    ASSERT_FALSE(selections.empty());
    EXPECT_EQ(selections.front().args[0], "\"Base\"");
    const std::vector<double> geometry = geometryOf("O3");
    ASSERT_EQ(geometry.size(), 12u);
    EXPECT_NEAR(geometry[2], 10.0, 1e-9);
}

TEST_F(PlaneHandler, UnknownOrNamelessReferenceCreatesNothing) {
    EXPECT_EQ(failureOf(offsetNode("0 5 \"Nowhere\"")), "Could not find reference plane for \"O\"");
    // An empty reference name must not find the template planes recorded without a name.
    EXPECT_EQ(failureOf(offsetNode("0 5 \"\"")), "Could not find reference plane for \"O\"");
    EXPECT_EQ(kit().journal().count("IModelDoc2::CreateOffsetPlane"), 0u);
}

TEST_F(PlaneHandler, UnreadableParamFailsTheNode) {
    const std::string message = "Error while creating Offsetplane \"O\"";
    EXPECT_EQ(failureOf(offsetNode("0 5")), message);
    EXPECT_EQ(failureOf(offsetNode("0 \"five\" \"XY\"")), message);
    EXPECT_EQ(failureOf("(PLANE (NAME \"O\") (TYP \"OFF_TO_PLANE\"))"), message);
    EXPECT_EQ(kit().journal().count("IModelDoc2::CreateOffsetPlane"), 0u);
}

TEST_F(PlaneHandler, OffsetPlaneThatSolidWorksDoesNotMakeFails) {
    const std::string message = "Error while creating Offsetplane \"O\"";
    kit().plan().returnNull("IModelDoc2::CreateOffsetPlane", 1);
    EXPECT_EQ(failureOf(offsetNode("0 5 \"XY\"")), message);

    // SolidWorks answers a plane the part already knows: no new plane is found.
    kit().plan().scriptValue("IModelDoc2::CreateOffsetPlane",
                             _variant_t(IDispatchPtr(planeNamed("Top Plane")).GetInterfacePtr()),
                             2);
    EXPECT_EQ(failureOf(offsetNode("0 5 \"XY\"")), message);
    _bstr_t recorded;
    EXPECT_EQ(part_->findPlaneSwName("O", recorded), 0);
}

TEST_F(PlaneHandler, FixedPlaneIsBuiltFromItsPlacementForAnyOtherType) {
    for (const char* type : {"ABS_PLANE", "ROT_TO_PLANE"}) {
        const std::string name = std::string("F_") + type;
        EXPECT_EQ(failureOf("(PLANE (NAME \"" + name + "\") (TYP \"" + type +
                            "\") (MAT 0 1 0 0 0 0 1 0 1 0 0 0 4 0 0 1))"),
                  "");
        const std::vector<double> geometry = geometryOf(name.c_str());
        ASSERT_EQ(geometry.size(), 12u) << type;
        EXPECT_NEAR(geometry[0], 4.0, 1e-9) << type;
        EXPECT_NEAR(geometry[6], 1.0, 1e-9) << type;
    }
}

TEST_F(PlaneHandler, FixedPlaneWithParallelAxesFails) {
    EXPECT_EQ(failureOf("(PLANE (NAME \"Flat\") (TYP \"ABS_PLANE\") "
                        "(MAT 1 0 0 0 1 0 0 0 0 0 1 0 0 0 0 1))"),
              "Error while creating fixed plane \"Flat\"");
    EXPECT_EQ(failureOf("(PLANE (NAME \"Flat\") (TYP \"ABS_PLANE\"))"),
              "Error while creating fixed plane \"Flat\"");
}

TEST_F(PlaneHandler, ComErrorsPassThroughWithoutAWarning) {
    hostsvc::clearShownMessages();
    kit().plan().failWith("IModelDoc2::CreatePlaneThroughPoints", E_FAIL);
    EXPECT_THROW(runPlane("(PLANE (NAME \"F\") (TYP \"ABS_PLANE\") "
                          "(MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 9 1))"),
                 _com_error);
    EXPECT_TRUE(shownWarnings().empty());
}

} // namespace
