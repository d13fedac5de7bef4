// Bad text is refused with the file, line, column and reason, and leaves no node behind
// (the fixture checks the live-node count after every case).

#include "tests/metatree/metatree_test_support.h"

#include <string>

namespace {

using metatreeRefusalTest = metaTreeTestC;

struct refusalS {
    std::string text;
    std::uint32_t line;
    std::uint32_t column;
    std::string reason;
};

void expectRefusal(IMetaTreeApi* api, const refusalS& c) {
    try {
        metaTreePtrT n = api->parseText(c.text, "model.meta");
        api->release(n);
        ADD_FAILURE() << "accepted: " << c.text;
    } catch (const metaTreeErrorC& e) {
        EXPECT_EQ(e.file(), "model.meta") << c.text;
        EXPECT_EQ(e.line(), c.line) << c.text << " -> " << e.what();
        EXPECT_EQ(e.column(), c.column) << c.text << " -> " << e.what();
        EXPECT_EQ(e.reason(), c.reason) << c.text;
        EXPECT_EQ(std::string(e.what()), "model.meta:" + std::to_string(c.line) + ":" +
                                             std::to_string(c.column) + ": " + c.reason);
    }
}

TEST_F(metatreeRefusalTest, malformedStructure) {
    const refusalS cases[] = {
        {"", 1, 1, "no node in text"},
        {"  ; only a comment\n", 2, 1, "no node in text"},
        {"(A (B 1)", 1, 1, "unterminated list"},
        {"(A (B 1)\n  (C 2", 2, 3, "unterminated list"},
        {"(A) (B)", 1, 5, "more than one top-level node"},
        {"(A))", 1, 4, "unexpected ')'"},
        {")", 1, 1, "unexpected ')'"},
        {"(A\n  [1])", 2, 3, "unexpected character '['"},
        {"(A é)", 1, 4, "unexpected character byte 0xC3"},
    };
    for (const auto& c : cases) {
        expectRefusal(api, c);
    }
}

TEST_F(metatreeRefusalTest, badStrings) {
    const refusalS cases[] = {
        {"(PART\n  (NAME \"Bracket)\n  (X 1))", 2, 9, "unterminated string"},
        {"(A \"ok\\", 1, 4, "unterminated string"},
        {"(A \"a\\qb\")", 1, 6, "invalid escape 'q' in string"},
        {"(A \"\\r\")", 1, 5, "invalid escape 'r' in string"},
        {"(A \"ü\\x\")", 1, 6, "invalid escape 'x' in string"},
        {"(A \"bad \xC3\")", 1, 9, "invalid UTF-8 in string"},
        {"(A \"\xC0\xAF\")", 1, 5, "invalid UTF-8 in string"},     // overlong '/'
        {"(A \"\xED\xA0\x80\")", 1, 5, "invalid UTF-8 in string"}, // surrogate
        {"(A \"\xF4\x90\x80\x80\")", 1, 5, "invalid UTF-8 in string"},
    };
    for (const auto& c : cases) {
        expectRefusal(api, c);
    }
}

TEST_F(metatreeRefusalTest, badWordsAndNumbers) {
    const refusalS cases[] = {
        {"(A 1.2.3)", 1, 4, "invalid number '1.2.3'"},
        {"(A -)", 1, 4, "invalid number '-'"},
        {"(A 1e)", 1, 4, "invalid number '1e'"},
        {"(A .)", 1, 4, "invalid number '.'"},
        {"(A 12AB)", 1, 4, "invalid number '12AB'"},
        {"(A 0x10)", 1, 4, "invalid number '0x10'"},
        {"(A 9223372036854775808)", 1, 4, "integer out of range '9223372036854775808'"},
        {"(A 1e309)", 1, 4, "number out of range '1e309'"},
        {"(A Abc)", 1, 4, "invalid name token 'Abc' (upper-case letters, digits and '_' only)"},
        {"(a)", 1, 2, "unexpected character 'a'"},
        {"(A -nan)", 1, 4, "invalid number '-nan'"},
        {"(A " + std::string(256, 'N') + ")", 1, 4, "token too long (limit 255 bytes)"},
    };
    for (const auto& c : cases) {
        expectRefusal(api, c);
    }
}

TEST_F(metatreeRefusalTest, badBinary) {
    const refusalS cases[] = {
        {"(A #\"AAE\")", 1, 4, "invalid base64 in binary"},
        {"(A #\"A=AA\")", 1, 4, "invalid base64 in binary"},
        {"(A #\"AA==AAAA\")", 1, 4, "invalid base64 in binary"},
        {"(A #\"AB==\")", 1, 4, "invalid base64 in binary"}, // stray bits after the byte
        {"(A #\"AA A\")", 1, 4, "invalid base64 in binary"},
        {"(A #AA)", 1, 4, "expected '\"' after '#'"},
        {"(A #\"AAAA", 1, 4, "unterminated binary"},
    };
    for (const auto& c : cases) {
        expectRefusal(api, c);
    }
}

TEST_F(metatreeRefusalTest, nestingDepthIsBounded) {
    const std::size_t limit = metaParseLimitsS::maxDepth;
    const std::string ok = std::string(limit, '(') + std::string(limit, ')');
    rootGuardC deep(parse(ok));
    EXPECT_TRUE(api->isList(deep.get()));
    const std::string tooDeep = "(A\n" + std::string(limit, '(') + std::string(limit + 1, ')');
    expectRefusal(api, {tooDeep, 2, static_cast<std::uint32_t>(limit),
                        "lists nested too deeply (limit 256)"});

    // Printing agrees: what prints at the limit reads back; one list more prints nothing.
    rootGuardC back(parse(api->print(deep.get())));
    EXPECT_TRUE(api->compare(deep.get(), back.get()));
    rootGuardC deeper(api->newKeyNode("A"));
    ASSERT_TRUE(api->appendChild(deeper.get(), api->clone(deep.get())));
    try {
        api->print(deeper.get(), metaPrintStyle::compact);
        ADD_FAILURE() << "a tree the reader refuses was printed";
    } catch (const metaTreeErrorC& e) {
        EXPECT_EQ(e.reason(), "lists nested too deeply to print (limit 256)");
    }
}

TEST_F(metatreeRefusalTest, quotedInputIsShownWithoutControlBytes) {
    const refusalS cases[] = {
        {std::string("(A \"nul \0\")", 11), 1, 9, "NUL byte in string (write it as \\0)"},
        {"(A 1\x1B[2J)", 1, 4, "invalid number '1\\x1B[2J'"},
        {"(A X\x07Y)", 1, 4,
         "invalid name token 'X\\x07Y' (upper-case letters, digits and '_' only)"},
    };
    for (const auto& c : cases) {
        expectRefusal(api, c);
    }
    // A NUL held in a string is printed as \0 and read back.
    rootGuardC held(api->newString(std::string("a\0b", 3)));
    EXPECT_EQ(api->print(held.get()), "\"a\\0b\"");
    rootGuardC back(parse(api->print(held.get())));
    EXPECT_EQ(api->getString(back.get()), std::string("a\0b", 3));
}

TEST_F(metatreeRefusalTest, stringSizeIsBounded) {
    const std::size_t limit = metaParseLimitsS::maxStringBytes;
    rootGuardC atLimit(parse("\"" + std::string(limit, 'x') + "\""));
    EXPECT_EQ(api->getString(atLimit.get())->size(), limit);
    expectRefusal(api, {"(A\n \"" + std::string(limit + 1, 'x') + "\")", 2, 2,
                        "string too long (limit 16777216 bytes)"});
    // Nor is such a string printed.
    EXPECT_EQ(api->print(atLimit.get()).size(), limit + 2);
    rootGuardC tooLong(api->newString(std::string(limit + 1, 'x')));
    try {
        api->print(tooLong.get());
        ADD_FAILURE() << "a string the reader refuses was printed";
    } catch (const metaTreeErrorC& e) {
        EXPECT_EQ(e.reason(), "string too long to print (limit 16777216 bytes)");
    }
}

TEST_F(metatreeRefusalTest, nodeCountIsBoundedAndAPartialTreeIsFreed) {
    const std::size_t limit = metaParseLimitsS::maxNodes;
    // The key node and its tag are two nodes, so limit - 1 values overflow by one.
    std::string text = "(A";
    text.reserve(2 * limit + 8);
    for (std::size_t i = 0; i + 1 < limit; ++i) {
        text += " 1";
    }
    text += ")";
    expectRefusal(api, {text, 1, static_cast<std::uint32_t>(2 * limit),
                        "too many nodes (limit " + std::to_string(limit) + ")"});
}

} // namespace
