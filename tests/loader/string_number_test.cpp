#include "libs/KvorCore/loader/com_string.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

std::string num(double d, char format = '.', int precision = 14) {
    return mzComStringC::number(d, format, precision).toUtf8();
}

TEST(ComStringNumberTest, ShortestFormWithFourteenDigits) {
    EXPECT_EQ(num(25.4), "25.4");
    EXPECT_EQ(num(0.1), "0.1");
    EXPECT_EQ(num(0.1 + 0.2), "0.3");
    EXPECT_EQ(num(1.0 / 3.0), "0.33333333333333");
    EXPECT_EQ(num(-2.0 / 3.0), "-0.66666666666667");
    EXPECT_EQ(num(100), "100");
    EXPECT_EQ(num(7850), "7850");
    EXPECT_EQ(num(1e20), "1e+20");
    EXPECT_EQ(num(1e-20), "1e-20");
    EXPECT_EQ(num(0.0001), "0.0001");
    EXPECT_EQ(num(123456789012345678.0), "1.2345678901235e+17");
    EXPECT_EQ(num(12345678901234.0), "12345678901234");
    EXPECT_EQ(num(0.0), "0");
    EXPECT_EQ(num(-0.0), "0");
    EXPECT_EQ(num(std::nan("")), "nan");
    EXPECT_EQ(num(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(num(-std::numeric_limits<double>::infinity()), "-inf");
}

TEST(ComStringNumberTest, OtherFormatsAndPrecisions) {
    EXPECT_EQ(num(25.4, 'f', 2), "25.40");
    EXPECT_EQ(num(25.4, 'e', 2), "2.54e+01");
    EXPECT_EQ(num(25.4, 'g', 14), "25.4");
    EXPECT_EQ(num(1.0 / 3.0, '.', 3), "0.333");
    EXPECT_EQ(num(25.4, '.', 0), "3e+01");
}

TEST(ComStringNumberTest, ToIntAcceptsOnlyWholeIntegers) {
    bool ok = false;
    EXPECT_EQ(mzComStringC("49").toInt(&ok), 49);
    EXPECT_TRUE(ok);
    EXPECT_EQ(mzComStringC("  -17 ").toInt(&ok, 0), -17);
    EXPECT_TRUE(ok);
    EXPECT_EQ(mzComStringC("+3").toInt(&ok), 3);
    EXPECT_EQ(mzComStringC("0x1F").toInt(&ok, 0), 31);
    EXPECT_TRUE(ok);
    EXPECT_EQ(mzComStringC("010").toInt(&ok, 0), 10); // not octal
    EXPECT_EQ(mzComStringC("ff").toInt(&ok, 16), 255);
    EXPECT_EQ(mzComStringC("2147483647").toInt(&ok), INT_MAX);
    EXPECT_TRUE(ok);
    EXPECT_EQ(mzComStringC("-2147483648").toInt(&ok), INT_MIN);
    EXPECT_TRUE(ok);
    for (const char* junk : {"", "  ", "12abc", "1 2", "1.5", "abc", "--1", "+-1", "0x",
                             "2147483648", "-2147483649", "99999999999999999999", "١٢"}) {
        ok = true;
        EXPECT_EQ(mzComStringC(junk).toInt(&ok), 0) << junk;
        EXPECT_FALSE(ok) << junk;
    }
    EXPECT_EQ(mzComStringC("12").toInt(&ok, 1), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(mzComStringC("12").toInt(nullptr, 0), 12);
}

TEST(ComStringNumberTest, ToDoubleAcceptsOnlyWholeDecimalNumbers) {
    bool ok = false;
    EXPECT_DOUBLE_EQ(mzComStringC("7850").toDouble(&ok), 7850.0);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(mzComStringC(" -1.5e3 ").toDouble(&ok), -1500.0);
    EXPECT_DOUBLE_EQ(mzComStringC("+.5").toDouble(&ok), 0.5);
    EXPECT_DOUBLE_EQ(mzComStringC("5.").toDouble(&ok), 5.0);
    EXPECT_TRUE(ok);
    for (const char* junk : {"", ".", "e5", "1e", "1e+", "12abc", "1,5", "nan", "inf", "-inf",
                             "0x10", "1e400", "1.2.3", "- 1"}) {
        ok = true;
        EXPECT_EQ(mzComStringC(junk).toDouble(&ok), 0.0) << junk;
        EXPECT_FALSE(ok) << junk;
    }
}

TEST(ComStringNumberTest, NumbersRoundTripThroughText) {
    for (double d : {25.4, 0.1, -3.25, 1e20, 1e-20, 7850.0, 0.33333333333333}) {
        bool ok = false;
        EXPECT_DOUBLE_EQ(mzComStringC::number(d).toDouble(&ok), d);
        EXPECT_TRUE(ok);
    }
}

} // namespace
