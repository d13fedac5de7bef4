// The road fuzz target's checks of an export: a copy of a shape passes; one without a shape,
// with a number that is not finite, or an STL file of the wrong size is named as such.
#include "fuzz/export_checks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace {

using natlinkfuzz::exportProblem;

const std::string kStepHead = "ISO-10303-21;\nHEADER;\nFILE_NAME('NaN (a name)','2026',('A'));"
                              "\nENDSEC;\nDATA;\n#1 = PRODUCT('Infinity','',' ',(#2));\n";

TEST(ExportChecks, StepNeedsAPointAndFiniteNumbers) {
    EXPECT_EQ(exportProblem(".step", kStepHead + "#12 = CARTESIAN_POINT('',(0.,-5.,1.E+02));\n"
                                                 "#13 = DIRECTION('',(0.,0.,1.));\nENDSEC;\n"),
              "");
    EXPECT_EQ(exportProblem(".step", kStepHead + "ENDSEC;\n"), "holds no shape");
    EXPECT_EQ(exportProblem(".step", kStepHead + "#12 = CARTESIAN_POINT('',(NAN,-5.,0.));\n"),
              "holds the number NAN");
    EXPECT_EQ(exportProblem(".step", kStepHead + "#12 = CARTESIAN_POINT('',(1.,-INF,0.));\n"),
              "holds the number -INF");
    EXPECT_EQ(exportProblem(".step", kStepHead + "#12 = CARTESIAN_POINT('',(1.,2.,3.));\n"
                                                 "#14 = VECTOR('',#13,inf);\n"),
              "holds the number inf");
}

std::string stl(const std::vector<float>& values, std::uint32_t count) {
    std::string bytes(80, ' ');
    bytes.append(reinterpret_cast<const char*>(&count), sizeof count);
    for (std::size_t i = 0; i < values.size(); ++i) {
        bytes.append(reinterpret_cast<const char*>(&values[i]), sizeof(float));
        if (i % 12 == 11)
            bytes.append(2, '\0');
    }
    return bytes;
}

TEST(ExportChecks, StlNeedsTrianglesOfFiniteFloats) {
    std::vector<float> triangle{0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0};
    EXPECT_EQ(exportProblem(".stl", stl(triangle, 1)), "");
    EXPECT_EQ(exportProblem(".stl", stl({}, 0)), "holds no triangle");
    EXPECT_EQ(exportProblem(".stl", stl(triangle, 2)), "is 134 bytes for 2 triangles");
    EXPECT_EQ(exportProblem(".stl", "solid"), "is no STL file");
    triangle[7] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(exportProblem(".stl", stl(triangle, 1)), "holds the number nan");
}

} // namespace
