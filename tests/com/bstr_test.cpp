#include "platform/com/bstr.h"
#include "platform/com/com_error.h"
#include "platform/com/test_hooks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
class PlatformComBstrTest : public ::testing::Test {
protected:
    void TearDown() override { comTestHooks::reset(); }
};

// "Größe Ω" + U+1F600 (a surrogate pair in UTF-16).
const char* const mixedUtf8 = "Gr\xC3\xB6\xC3\x9F"
                              "e \xCE\xA9\xF0\x9F\x98\x80";
const char16_t mixedUtf16[] = u"Gr\u00F6\u00DFe \u03A9\U0001F600";

TEST_F(PlatformComBstrTest, AllocationKeepsByteLengthPrefixAndTerminator) {
    BSTR s = SysAllocStringLen(u"ab\0cd", 5);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 5u);
    EXPECT_EQ(SysStringByteLen(s), 10u);
    uint32_t prefix = 0;
    std::memcpy(&prefix, reinterpret_cast<char*>(s) - 4, 4);
    EXPECT_EQ(prefix, 10u);
    EXPECT_EQ(s[2], u'\0');
    EXPECT_EQ(s[4], u'd');
    EXPECT_EQ(s[5], u'\0');
    SysFreeString(s);

    BSTR zeros = SysAllocStringLen(nullptr, 3);
    ASSERT_NE(zeros, nullptr);
    EXPECT_EQ(SysStringLen(zeros), 3u);
    EXPECT_EQ(zeros[0] | zeros[1] | zeros[2] | zeros[3], 0);
    SysFreeString(zeros);

    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);
}

TEST_F(PlatformComBstrTest, Utf8AndUtf16RoundTripNonAsciiText) {
    const std::u16string wide = comUtf8ToUtf16(mixedUtf8);
    EXPECT_EQ(wide, std::u16string(mixedUtf16));
    EXPECT_EQ(wide.size(), 9u); // 7 BMP characters, one surrogate pair
    EXPECT_EQ(comUtf16ToUtf8(wide), mixedUtf8);

    const std::wstring utf32 = comUtf16ToWide(wide);
    EXPECT_EQ(utf32, std::wstring(L"Gr\u00F6\u00DFe \u03A9\U0001F600"));
    EXPECT_EQ(comWideToUtf16(utf32), wide);
}

TEST_F(PlatformComBstrTest, MalformedInputBecomesReplacementCharacter) {
    EXPECT_EQ(comUtf8ToUtf16("a\xFF"
                             "b"),
              u"a\uFFFDb");
    EXPECT_EQ(comUtf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");           // overlong '/'
    EXPECT_EQ(comUtf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD"); // encoded surrogate
    EXPECT_EQ(comUtf8ToUtf16("x\xE2\x82"), u"x\uFFFD\uFFFD");         // truncated sequence
    const char16_t loneHigh[] = {u'a', 0xD800, u'b', 0};
    EXPECT_EQ(comUtf16ToUtf8(loneHigh), "a\xEF\xBF\xBD"
                                        "b");
    EXPECT_EQ(comWideToUtf16(std::wstring(1, static_cast<wchar_t>(0x110000))), u"\uFFFD");
}

TEST_F(PlatformComBstrTest, CopiesShareDataAndSurviveTheOriginal) {
    _bstr_t copy;
    {
        _bstr_t original(mixedUtf8);
        copy = original;
        EXPECT_EQ(static_cast<const char16_t*>(copy), static_cast<const char16_t*>(original));
        EXPECT_EQ(original.refCount(), 2u);
        _bstr_t third(copy);
        EXPECT_EQ(copy.refCount(), 3u);
    }
    EXPECT_EQ(copy.refCount(), 1u);
    EXPECT_STREQ(static_cast<const char*>(copy), mixedUtf8);
    EXPECT_EQ(copy.length(), 9u);
}

TEST_F(PlatformComBstrTest, EqualityIsCaseSensitiveAndTreatsNullAsEmpty) {
    const _bstr_t null;
    const _bstr_t empty("");
    const _bstr_t nullFromBstr(static_cast<BSTR>(nullptr), false);
    EXPECT_TRUE(!null);
    EXPECT_FALSE(!empty);
    EXPECT_EQ(static_cast<const char16_t*>(null), nullptr);
    EXPECT_EQ(static_cast<const char*>(null), nullptr);
    EXPECT_TRUE(null == empty);
    EXPECT_TRUE(empty == nullFromBstr);
    EXPECT_FALSE(null < empty);
    EXPECT_FALSE(empty < null);

    EXPECT_TRUE(_bstr_t("Plane1") == _bstr_t("Plane1"));
    EXPECT_TRUE(_bstr_t("Plane1") != _bstr_t("plane1"));
    EXPECT_TRUE(_bstr_t("Plane1") != _bstr_t("Plane10"));
    EXPECT_TRUE(_bstr_t("Plane1") == "Plane1");
    EXPECT_TRUE("Plane1" == _bstr_t("Plane1"));
    EXPECT_TRUE(_bstr_t("Plane1") != u"PLANE1");
    EXPECT_TRUE(empty == "");
    EXPECT_TRUE(null == static_cast<const char16_t*>(nullptr));

    // Embedded zero units count: same prefix, different length.
    const _bstr_t withZero(SysAllocStringLen(u"ab\0", 3), false);
    EXPECT_TRUE(withZero != _bstr_t("ab"));
    EXPECT_TRUE(_bstr_t("ab") < withZero);
    EXPECT_TRUE(_bstr_t("Ab") < _bstr_t("ab"));
}

TEST_F(PlatformComBstrTest, ConcatenationAndUtf8ViewFollowChanges) {
    _bstr_t name("Sketch");
    const _bstr_t before = name;
    name += _bstr_t(u"\u00B2");
    EXPECT_STREQ(static_cast<const char*>(name), "Sketch\xC2\xB2");
    EXPECT_STREQ(static_cast<const char*>(before), "Sketch"); // the old sharer is unchanged
    EXPECT_TRUE(("Cut-" + before) == "Cut-Sketch");
    EXPECT_TRUE((_bstr_t() + _bstr_t()) == _bstr_t());
    EXPECT_TRUE(!(_bstr_t() + _bstr_t()));

    // Writing a new string through GetBSTR refreshes the UTF-8 view.
    _bstr_t out("old");
    EXPECT_STREQ(static_cast<const char*>(out), "old");
    BSTR& slot = out.GetBSTR();
    SysFreeString(slot);
    slot = SysAllocString(u"new");
    EXPECT_STREQ(static_cast<const char*>(out), "new");

    _bstr_t target("x");
    BSTR* address = target.GetAddress();
    EXPECT_EQ(*address, nullptr);
    *address = SysAllocString(u"filled");
    EXPECT_TRUE(target == "filled");
}

TEST_F(PlatformComBstrTest, AttachDetachAndCopyTransferOwnership) {
    _bstr_t owner;
    owner.Attach(SysAllocString(u"feature"));
    BSTR extra = owner.copy();
    EXPECT_NE(extra, static_cast<const char16_t*>(owner));
    EXPECT_TRUE(_bstr_t(extra, true) == owner);
    SysFreeString(extra);

    const char16_t* inside = owner;
    BSTR detached = owner.Detach();
    EXPECT_EQ(detached, inside); // sole owner: the same string, not a copy
    EXPECT_TRUE(!owner);
    SysFreeString(detached);

    _bstr_t shared("shared");
    _bstr_t other = shared;
    BSTR mine = shared.Detach();
    EXPECT_NE(mine, static_cast<const char16_t*>(other)); // shared: a copy for the caller
    EXPECT_TRUE(other == "shared");
    EXPECT_EQ(other.refCount(), 1u);
    SysFreeString(mine);

    const _bstr_t fromWide(L"w\u00E9");
    EXPECT_STREQ(static_cast<const char*>(fromWide), "w\xC3\xA9");
}

TEST_F(PlatformComBstrTest, FailedAllocationRaisesOutOfMemory) {
    comTestHooks::failBstrAllocations(2);
    EXPECT_EQ(SysAllocString(u"a"), nullptr);
    try {
        _bstr_t text("needs memory");
        ADD_FAILURE() << "no error raised";
    } catch (const _com_error& e) {
        EXPECT_EQ(e.Error(), E_OUTOFMEMORY);
        EXPECT_STREQ(e.ErrorMessage(), "0x8007000E E_OUTOFMEMORY");
    }
    BSTR third = SysAllocString(u"a"); // the two planned failures are used up
    EXPECT_NE(third, nullptr);
    SysFreeString(third);

    const _bstr_t value("value");
    comTestHooks::failBstrAllocations(1);
    EXPECT_THROW(value.copy(), _com_error);
    comTestHooks::failBstrAllocations(1);
    EXPECT_THROW(value + value, _com_error);
    EXPECT_TRUE(value == "value");
}
} // namespace
