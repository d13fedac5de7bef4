// Generated trees and texts: whatever shape the API lets code build prints and reads back as
// the same tree, and no scrap of text crashes the parser or leaves nodes behind.

#include "tests/metatree/metatree_test_support.h"

#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using metatreeGeneratedTest = metaTreeTestC;

class treeMakerC {
public:
    treeMakerC(IMetaTreeApi* api, std::uint64_t seed) : api_(api), rng_(seed) {}

    metaTreePtrT atom() {
        switch (pick(6)) {
        case 0:
            return api_->newNameToken(std::string(1, static_cast<char>('A' + pick(26))) + "_" +
                                      std::to_string(pick(10)));
        case 1:
            return api_->newString(text());
        case 2:
            return api_->newInteger(static_cast<std::int64_t>(rng_()) >> pick(64));
        case 3:
            return api_->newDouble(real());
        case 4: {
            std::vector<std::uint8_t> bytes(pick(7));
            for (std::uint8_t& b : bytes) {
                b = static_cast<std::uint8_t>(rng_());
            }
            return api_->newBinary(bytes);
        }
        default:
            return pick(2) == 0 ? api_->newList() : api_->newKeyNode("K" + std::to_string(pick(3)));
        }
    }

    // A random tree; children the store refuses (a name token leading a plain list) are
    // released again.
    metaTreePtrT tree(int depth) {
        if (depth > 5 || pick(3) == 0) {
            return atom();
        }
        metaTreePtrT list = pick(2) == 0 ? api_->newList() : api_->newKeyNode("T");
        for (std::size_t i = pick(5); i > 0; --i) {
            metaTreePtrT child = tree(depth + 1);
            if (!api_->appendChild(list, child)) {
                api_->release(child);
            }
        }
        return list;
    }

    // Random moves, inserts, unlinks and copies inside `root`; unlinked nodes are released.
    void edit(metaTreePtrT root, int steps) {
        for (int s = 0; s < steps; ++s) {
            const std::vector<metaTreePtrT> nodes = allNodes(root);
            const metaTreePtrT a = nodes[pick(nodes.size())];
            const metaTreePtrT b = nodes[pick(nodes.size())];
            switch (pick(5)) {
            case 0:
            case 1: {
                metaTreePtrT fresh = atom();
                const bool placed = pick(2) == 0 ? api_->appendChild(a, fresh)
                                                 : api_->insertChild(a, pick(3), fresh);
                if (!placed) {
                    api_->release(fresh);
                }
                break;
            }
            case 2:
                if (a != root && api_->unlink(a)) {
                    api_->release(a);
                }
                break;
            case 3:
                api_->copyFrom(a, b);
                break;
            default:
                api_->insertChild(a, pick(3), b);
                break;
            }
        }
    }

    std::size_t pick(std::size_t n) { return static_cast<std::size_t>(rng_() % n); }

private:
    IMetaTreeApi* api_;
    std::mt19937_64 rng_;

    std::string text() {
        static const std::string pieces[] = {"a",
                                             "\"",
                                             "\\",
                                             "\n",
                                             "\t",
                                             "\r",
                                             ";",
                                             "(",
                                             ")",
                                             "#",
                                             "\xC3\xA9",
                                             " ",
                                             "\x7F",
                                             std::string(1, '\0'),
                                             "\xF0\x9F\x99\x82"};
        std::string out;
        for (std::size_t i = pick(6); i > 0; --i) {
            out += pieces[pick(std::size(pieces))];
        }
        return out;
    }

    double real() {
        switch (pick(6)) {
        case 0: {
            // Any bit pattern: NaNs, infinities, subnormals, huge and tiny values.
            const std::uint64_t bits = rng_();
            double d;
            std::memcpy(&d, &bits, sizeof d);
            return d;
        }
        case 1:
            return std::numeric_limits<double>::denorm_min() * static_cast<double>(pick(1000) + 1);
        case 2: {
            const double specials[] = {-0.0, std::numeric_limits<double>::infinity(),
                                       -std::numeric_limits<double>::infinity(),
                                       std::numeric_limits<double>::quiet_NaN()};
            return specials[pick(std::size(specials))];
        }
        case 3:
            return static_cast<double>(pick(2000)) - 1000.0;
        default:
            return static_cast<double>(static_cast<std::int64_t>(rng_())) /
                   static_cast<double>(pick(1000) + 1);
        }
    }

    std::vector<metaTreePtrT> allNodes(metaTreePtrT root) {
        std::vector<metaTreePtrT> nodes{root};
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            if (metaTreePtrT tag = api_->tagToken(nodes[i])) {
                nodes.push_back(tag);
            }
            for (metaTreePtrT c = api_->firstChild(nodes[i]); c; c = api_->nextSibling(c)) {
                nodes.push_back(c);
            }
        }
        return nodes;
    }
};

TEST_F(metatreeGeneratedTest, generatedAndEditedTreesPrintAndReadBackUnchanged) {
    treeMakerC maker(api, 20261207);
    for (int round = 0; round < 400; ++round) {
        rootGuardC root(maker.tree(0));
        maker.edit(root.get(), static_cast<int>(maker.pick(30)));
        for (metaPrintStyle style : {metaPrintStyle::pretty, metaPrintStyle::compact}) {
            const std::string text = api->print(root.get(), style);
            metaTreePtrT back;
            ASSERT_NO_THROW(back = api->parseText(text, "generated.meta")) << text;
            rootGuardC backGuard(back);
            ASSERT_TRUE(api->compare(root.get(), back)) << text;
            ASSERT_EQ(api->print(back, style), text);
        }
        rootGuardC copy(api->clone(root.get()));
        ASSERT_TRUE(api->compare(root.get(), copy.get(), metaCompareExact));
    }
}

TEST_F(metatreeGeneratedTest, scrapsOfTextAreReadOrRefusedWithAPosition) {
    static const char* const pieces[] = {
        "(",    ")",  " ",     "\n",  "\"",   "\\",  "#",         "A",      "B_1", "1",
        "-",    "+",  ".",     "e",   "nan",  "inf", ";",         "QQ==",   "\t",  "\xC3\xA9",
        "\xFF", "\r", "\"x\"", "(K ", "0.25", "1e5", "#\"AA==\"", "\"\\n\""};
    std::mt19937_64 rng(7);
    int read = 0;
    int refused = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (std::size_t i = rng() % 16; i > 0; --i) {
            text += pieces[rng() % std::size(pieces)];
        }
        try {
            rootGuardC first(api->parseText(text, "scrap.meta"));
            ++read;
            const std::string printed = api->print(first.get());
            rootGuardC second(api->parseText(printed, "scrap.meta"));
            ASSERT_TRUE(api->compare(first.get(), second.get())) << text;
        } catch (const metaTreeErrorC& e) {
            ++refused;
            ASSERT_GE(e.line(), 1u) << e.what();
            ASSERT_GE(e.column(), 1u) << e.what();
            ASSERT_EQ(e.file(), "scrap.meta");
        }
    }
    // The pieces are chosen so that both outcomes occur often.
    EXPECT_GT(read, 100);
    EXPECT_GT(refused, 100);
}

} // namespace
