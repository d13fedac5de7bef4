// Text form: printing and parsing round-trip exactly; the pretty form people read.

#include "tests/metatree/metatree_test_support.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using metatreeTextTest = metaTreeTestC;

// Prints in both styles, parses each back and checks that nothing changed.
void expectRoundTrip(IMetaTreeApi* api, metaTreePtrT n) {
    for (metaPrintStyle style : {metaPrintStyle::pretty, metaPrintStyle::compact}) {
        const std::string text = api->print(n, style);
        rootGuardC back(api->parseText(text, "roundtrip.meta"));
        EXPECT_TRUE(api->compare(n, back.get())) << text;
        EXPECT_EQ(api->print(back.get(), style), text);
    }
}

std::uint64_t bitsOf(double d) {
    std::uint64_t b;
    std::memcpy(&b, &d, sizeof b);
    return b;
}

TEST_F(metatreeTextTest, nastyStringsRoundTrip) {
    const std::string strings[] = {
        "",
        "plain",
        "quote \" backslash \\ end\\",
        "new\nline\ttab\rcarriage",
        std::string("nul\0byte", 8),
        "; not a comment ( ) #\"AA==\"",
        "Grüße, 日本語, 🙂",
        "\\n is not a newline",
    };
    rootGuardC root(api->newKeyNode("S"));
    for (const std::string& s : strings) {
        ASSERT_TRUE(api->appendChild(root.get(), api->newString(s)));
    }
    expectRoundTrip(api, root.get());
    rootGuardC back(parse(api->print(root.get())));
    std::size_t i = 0;
    for (metaTreePtrT c = api->firstChild(back.get()); c; c = api->nextSibling(c)) {
        EXPECT_EQ(api->getString(c), strings[i++]);
    }
    EXPECT_EQ(i, std::size(strings));
}

// Numbers with few decimals print from integer digits: the text must be the one the general
// shortest form gives, at the edges of that shortcut and one step beside exact decimals too.
TEST_F(metatreeTextTest, shortDecimalsPrintAsTheShortestForm) {
    auto shortest = [](double d) {
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, d);
        std::string text(buf, res.ptr);
        return text.find_first_of(".e") == std::string::npos ? text + ".0" : text;
    };
    std::vector<double> values = {1e-3,      9.99e-4, 1e5, 99999.999999, 10000.0,  20000.0,
                                  0.1 + 0.2, 0.3,     2.5, 1234.5678,    0.000123, 123.0000001};
    for (int k = 1; k < 3000; k += 7) {
        for (double p : {1.0, 10.0, 1e3, 1e6, 1e7}) {
            values.push_back(k / p);
            values.push_back(std::nextafter(k / p, 1e9));
        }
    }
    for (double v : values) {
        for (double d : {v, -v}) {
            metaTreePtrT n = api->newDouble(d);
            EXPECT_EQ(api->print(n), shortest(d)) << d;
            api->release(n);
        }
    }
}

TEST_F(metatreeTextTest, doublesRoundTripBitForBit) {
    const double values[] = {0.1,
                             1e-300,
                             -0.0,
                             0.0,
                             1.0,
                             -1.5,
                             123456789.125,
                             1e21,
                             1e-7,
                             5e-324,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::min(),
                             1.0 / 3.0,
                             9007199254740993.0,
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
    rootGuardC root(api->newKeyNode("D"));
    for (double d : values) {
        ASSERT_TRUE(api->appendChild(root.get(), api->newDouble(d)));
    }
    ASSERT_TRUE(
        api->appendChild(root.get(), api->newDouble(std::numeric_limits<double>::quiet_NaN())));
    expectRoundTrip(api, root.get());
    rootGuardC back(parse(api->print(root.get())));
    metaTreePtrT c = api->firstChild(back.get());
    for (double d : values) {
        ASSERT_TRUE(api->isDouble(c));
        EXPECT_EQ(bitsOf(*api->getDouble(c)), bitsOf(d)) << d;
        c = api->nextSibling(c);
    }
    EXPECT_TRUE(std::isnan(*api->getDouble(c)));
}

TEST_F(metatreeTextTest, integersStayIntegersAndDoublesStayDoubles) {
    rootGuardC root(parse("(N 0 -1 +5 9223372036854775807 -9223372036854775808 1.0 -0.0 .5 1. "
                          "1E3 2e-2 -7)"));
    EXPECT_EQ(api->print(root.get()), "(N 0 -1 5 9223372036854775807 -9223372036854775808 1.0 "
                                      "-0.0 0.5 1.0 1000.0 0.02 -7)");
    const char* kinds = "iiiiiddddddi";
    std::size_t i = 0;
    for (metaTreePtrT c = api->firstChild(root.get()); c; c = api->nextSibling(c), ++i) {
        EXPECT_EQ(api->isInteger(c), kinds[i] == 'i') << i;
    }
    EXPECT_EQ(api->getInteger(api->childAt(root.get(), 4)),
              std::numeric_limits<std::int64_t>::min());
    expectRoundTrip(api, root.get());
}

TEST_F(metatreeTextTest, binaryRoundTrips) {
    rootGuardC root(api->newKeyNode("B"));
    std::vector<std::uint8_t> all(256);
    for (std::size_t i = 0; i < all.size(); ++i) {
        all[i] = static_cast<std::uint8_t>(i);
    }
    for (std::size_t len : {0u, 1u, 2u, 3u, 4u, 256u}) {
        ASSERT_TRUE(api->appendChild(
            root.get(), api->newBinary(std::span<const std::uint8_t>(all.data(), len))));
    }
    EXPECT_EQ(api->print(api->childAt(root.get(), 3)), "#\"AAEC\"");
    EXPECT_EQ(api->print(api->childAt(root.get(), 1)), "#\"AA==\"");
    expectRoundTrip(api, root.get());
    rootGuardC back(parse(api->print(root.get())));
    EXPECT_EQ(api->getBinary(api->lastChild(back.get())), all);
    EXPECT_EQ(api->getBinary(api->firstChild(back.get())), std::vector<std::uint8_t>{});
}

TEST_F(metatreeTextTest, prettyFormIsIndentedByNesting) {
    rootGuardC root(parse("; a comment\n(PART (NAME \"Block\") (ITEMS (PLANE (NAME \"XY\") "
                          "(MAT 1 0 0 1)) (AXIS)) 7 (1 2) X)"));
    EXPECT_EQ(api->print(root.get()), "(PART\n"
                                      "  (NAME \"Block\")\n"
                                      "  (ITEMS\n"
                                      "    (PLANE\n"
                                      "      (NAME \"XY\")\n"
                                      "      (MAT 1 0 0 1))\n"
                                      "    (AXIS))\n"
                                      "  7\n"
                                      "  (1 2)\n"
                                      "  X)");
    rootGuardC lead(parse("(VAL 1 2.5 (SUB \"a\"))"));
    EXPECT_EQ(api->print(lead.get()), "(VAL 1 2.5\n  (SUB \"a\"))");
    EXPECT_EQ(api->print(api->childAt(lead.get(), 1)), "2.5");
}

TEST_F(metatreeTextTest, exampleFilesParseAndRoundTrip) {
    const char* dir = std::getenv("NATLINK_SOURCE_DIR");
    ASSERT_NE(dir, nullptr);
    rootGuardC block(api->parseFile(std::string(dir) + "/examples/block.meta"));
    EXPECT_TRUE(api->hasTag(block.get(), "PART"));
    EXPECT_EQ(api->location(block.get()).file, std::string(dir) + "/examples/block.meta");
    expectRoundTrip(api, block.get());
    rootGuardC text(api->parseFile(std::string(dir) + "/examples/text_form.meta"));
    expectRoundTrip(api, text.get());
}

TEST_F(metatreeTextTest, missingFileIsRefused) {
    try {
        api->parseFile("/nonexistent/model.meta");
        FAIL() << "no error";
    } catch (const metaTreeErrorC& e) {
        EXPECT_EQ(e.file(), "/nonexistent/model.meta");
        EXPECT_EQ(e.line(), 0u);
        EXPECT_STREQ(e.what(), "/nonexistent/model.meta: cannot open file");
    }
}

} // namespace
