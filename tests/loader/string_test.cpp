#include "libs/KvorCore/loader/com_string.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(ComStringTest, Utf8Utf16AndBstrRoundTrips) {
    const char* utf8 =
        "Maß \xC3\xA4 \xE2\x82\xAC \xF0\x9F\x94\xA9"; // ß ä € and a nut (surrogate pair)
    const mzComStringC s(utf8);
    EXPECT_EQ(s.toUtf8(), utf8);
    EXPECT_EQ(s.length(), 10); // the nut counts two UTF-16 units
    const _bstr_t b = s.toBstr();
    EXPECT_EQ(b.length(), 10u);
    EXPECT_EQ(mzComStringC(b), s);
    EXPECT_EQ(std::string(static_cast<const char*>(b)), utf8);
    EXPECT_EQ(mzComStringC(L"Maß ä € \U0001F529"), s);
    EXPECT_EQ(mzComStringC(u"Maß ä € \U0001F529"), s);
}

TEST(ComStringTest, ConstructionEdgeCases) {
    EXPECT_EQ(mzComStringC("abcdef", 3).toUtf8(), "abc");
    EXPECT_EQ(mzComStringC("abc", -1).length(), 3);
    EXPECT_TRUE(mzComStringC(static_cast<const char*>(nullptr)).isEmpty());
    EXPECT_TRUE(mzComStringC(static_cast<const wchar_t*>(nullptr)).isEmpty());
    EXPECT_TRUE(mzComStringC(_bstr_t()).isEmpty());
    EXPECT_EQ(mzComStringC("").length(), 0);
    // Malformed UTF-8 is not dropped silently.
    EXPECT_EQ(mzComStringC("a\xFF"
                           "b")
                  .utf16(),
              u"a\uFFFDb");
    // A zero unit inside survives the trip through a BSTR.
    const mzComStringC withZero = mzComStringC::fromUtf16(std::u16string(u"a\0b", 3));
    EXPECT_EQ(mzComStringC(withZero.toBstr()).length(), 3);
}

TEST(ComStringTest, ConcatenationAndAssignment) {
    mzComStringC s("Create pattern: ");
    mzComStringC copy = s;
    s += mzComStringC("P1");
    s += "/x";
    EXPECT_EQ(s.toUtf8(), "Create pattern: P1/x");
    EXPECT_EQ(copy.toUtf8(), "Create pattern: ");
    EXPECT_EQ(("\"" + mzComStringC("N") + "\"").toUtf8(), "\"N\"");
    copy = s;
    EXPECT_EQ(copy, s);
}

TEST(ComStringTest, CompareHonoursTheCaseFlagBeyondAscii) {
    EXPECT_EQ(mzComStringC("abc").compare("ABC", 0), 0);
    EXPECT_NE(mzComStringC("abc").compare("ABC", 1), 0);
    EXPECT_EQ(mzComStringC("ÄÖÜ straße").compare("äöü STRAßE", 0), 0);
    EXPECT_EQ(mzComStringC("ŁÓDŹ").compare("łódź", 0), 0);
    EXPECT_EQ(mzComStringC("ΑΒΓ Жук").compare("αβγ жук", 0), 0);
    EXPECT_NE(mzComStringC("ä").compare("Ä", 1), 0);
    EXPECT_NE(mzComStringC("×").compare("÷", 0), 0); // not a letter pair
    EXPECT_LT(mzComStringC("abc").compare("abd", 1), 0);
    EXPECT_GT(mzComStringC("abd").compare("abc", 1), 0);
    EXPECT_LT(mzComStringC("ab").compare("abc", 1), 0);
    EXPECT_GT(mzComStringC("abc").compare("AB", 0), 0);
    EXPECT_LT(mzComStringC("").compare("a", 0), 0);
    // Case-sensitive order is by units: upper case sorts before lower case.
    EXPECT_LT(mzComStringC("B").compare("a", 1), 0);
    EXPECT_GT(mzComStringC("B").compare("a", 0), 0);
}

TEST(ComStringTest, EqualityAndOrderAreCaseSensitive) {
    EXPECT_TRUE(mzComStringC("Level") == mzComStringC("Level"));
    EXPECT_FALSE(mzComStringC("Level") == mzComStringC("level"));
    std::set<mzComStringC> names{"b", "a", "B", "a"};
    std::vector<std::string> ordered;
    for (const auto& n : names)
        ordered.push_back(n.toUtf8());
    EXPECT_EQ(ordered, (std::vector<std::string>{"B", "a", "b"}));
}

TEST(ComStringTest, LastIndexOfEdgePositions) {
    const mzComStringC id("a,b,cd");
    EXPECT_EQ(id.lastIndexOf(","), 3);
    EXPECT_EQ(id.lastIndexOf(",", 3), 3);
    EXPECT_EQ(id.lastIndexOf(",", 2), 1);
    EXPECT_EQ(id.lastIndexOf(",", 0), -1);
    EXPECT_EQ(id.lastIndexOf(",", -3), 3); // -3 is index 3
    EXPECT_EQ(id.lastIndexOf(",", -4), 1);
    EXPECT_EQ(id.lastIndexOf(",", -100), -1);
    EXPECT_EQ(id.lastIndexOf(",", 100), 3);
    EXPECT_EQ(id.lastIndexOf("cd"), 4); // ends at the last unit
    EXPECT_EQ(id.lastIndexOf("a"), 0);
    EXPECT_EQ(id.lastIndexOf(";"), -1);
    EXPECT_EQ(id.lastIndexOf(""), -1);
    EXPECT_EQ(id.lastIndexOf("a,b,cd,"), -1);
    EXPECT_EQ(mzComStringC("").lastIndexOf(","), -1);
    EXPECT_EQ(mzComStringC("xAx").lastIndexOf("a", -1, 0), 1);
    EXPECT_EQ(mzComStringC("xAx").lastIndexOf("a", -1, 1), -1);
    // The connection-point name after the last comma.
    const int pos = id.lastIndexOf(",");
    EXPECT_EQ(id.right(id.length() - pos - 1).toUtf8(), "cd");
}

TEST(ComStringTest, IndexOfAndContains) {
    const mzComStringC name("MATEREF_HELPER_PLANAR_1");
    EXPECT_TRUE(name.contains("MATEREF", 1));
    EXPECT_FALSE(name.contains("materef", 1));
    EXPECT_TRUE(name.contains("materef", 0));
    EXPECT_FALSE(name.contains("", 1));
    EXPECT_EQ(name.indexOf("_"), 7);
    EXPECT_EQ(name.indexOf("_", 8), 14);
    EXPECT_EQ(name.indexOf("_1", -2), 21);
    EXPECT_EQ(name.indexOf("x"), -1);
}

TEST(ComStringTest, LeftRightMid) {
    const mzComStringC s("abcdef");
    EXPECT_EQ(s.left(2).toUtf8(), "ab");
    EXPECT_EQ(s.left(0).toUtf8(), "");
    EXPECT_EQ(s.left(-1).toUtf8(), "");
    EXPECT_EQ(s.left(99).toUtf8(), "abcdef");
    EXPECT_EQ(s.right(2).toUtf8(), "ef");
    EXPECT_EQ(s.right(-5).toUtf8(), "");
    EXPECT_EQ(s.right(6).toUtf8(), "abcdef");
    EXPECT_EQ(s.mid(2, 2).toUtf8(), "cd");
    EXPECT_EQ(s.mid(4).toUtf8(), "ef");
    EXPECT_EQ(s.mid(6).toUtf8(), "");
    EXPECT_EQ(s.mid(-3, 2).toUtf8(), "ab");
    EXPECT_EQ(s.mid(5, 99).toUtf8(), "f");
}

TEST(ComStringTest, ArgReplacesTheLowestPlaceholderEverywhere) {
    EXPECT_EQ(mzComStringC("The drilling cannot be built in %1.").arg("Solidworks").toUtf8(),
              "The drilling cannot be built in Solidworks.");
    EXPECT_EQ(mzComStringC("%2 then %1").arg("one").toUtf8(), "%2 then one");
    EXPECT_EQ(mzComStringC("%2 then %1").arg("one").arg("two").toUtf8(), "two then one");
    EXPECT_EQ(mzComStringC("%1/%1").arg("x").toUtf8(), "x/x");
    // %10 is placeholder ten, not %1 followed by 0.
    EXPECT_EQ(mzComStringC("%10 %2").arg("a").toUtf8(), "%10 a");
    EXPECT_EQ(mzComStringC("%10 %2").arg("a").arg("b").toUtf8(), "b a");
    // Three digits: placeholder 10 followed by a 0.
    EXPECT_EQ(mzComStringC("%100").arg("x").toUtf8(), "x0");
    EXPECT_EQ(mzComStringC("no placeholder").arg("x").toUtf8(), "no placeholder");
    EXPECT_EQ(mzComStringC("%0 and %").arg("x").toUtf8(), "%0 and %");
    // The replacement is not searched again.
    EXPECT_EQ(mzComStringC("%1 %2").arg("%2").toUtf8(), "%2 %2");
    EXPECT_EQ(mzComStringC("[%1]").arg("7", 3, u'0').toUtf8(), "[007]");
    EXPECT_EQ(mzComStringC("[%1]").arg("7", -3).toUtf8(), "[7  ]");
    EXPECT_EQ(mzComStringC("[%1]").arg("1234", 2).toUtf8(), "[1234]");
    EXPECT_EQ(mzComStringC("%1").arg("ä").toUtf8(), "ä");
}

} // namespace
