// The tree mutator on the example models: every mutant and cross is text the parser takes
// again, nothing is left alive in the store, and the hostile kinds the road target is there
// to find (a pattern based on itself, a radius beyond any model space) are among the mutants.
#include "fuzz/meta_tree_mutator.h"
#include "platform/host/metatree/metatree_api.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string example(const std::string& name) {
    const char* root = std::getenv("NATLINK_SOURCE_DIR");
    std::ifstream in(std::filesystem::path(root != nullptr ? root : ".") / "examples" / name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(MetaTreeMutator, MutantsParseAgainAndLeaveNothingAlive) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    const std::int64_t alive = api.liveNodeCount();
    const std::vector<std::string> models{example("plate_grid.meta"), example("assembly.meta"),
                                          example("handle.meta")};
    for (const std::string& model : models)
        ASSERT_FALSE(model.empty());
    int changed = 0;
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        const std::string& model = models[seed % models.size()];
        const std::optional<std::string> mutant = natlinkfuzz::mutateMetaText(model, seed);
        const std::optional<std::string> cross =
            natlinkfuzz::crossMetaTexts(model, models[(seed + 1) % models.size()], seed);
        ASSERT_TRUE(mutant && cross) << seed;
        for (const std::string* text : {&*mutant, &*cross}) {
            metaTreePtrT tree;
            ASSERT_NO_THROW(tree = api.parseText(*text, "mutant.meta")) << seed << ": " << *text;
            api.release(tree);
        }
        const metaTreePtrT original = api.parseText(model, "model.meta");
        const metaTreePtrT again = api.parseText(*mutant, "mutant.meta");
        changed += api.compare(original, again) ? 0 : 1;
        api.release(original);
        api.release(again);
    }
    EXPECT_GT(changed, 250);
    EXPECT_EQ(api.liveNodeCount(), alive);
    EXPECT_FALSE(natlinkfuzz::mutateMetaText("(PART (NAME \"x\")", 1));
}

TEST(MetaTreeMutator, ReachesASelfBasedPatternAndAnOversizedRadius) {
    const std::string model = example("plate_grid.meta");
    bool selfBased = false;
    bool oversized = false;
    const std::regex beyondAnyModel(R"(\(RAD -?[0-9.]+e\+[23][0-9][0-9]\))");
    for (std::uint32_t seed = 0; seed < 2000 && !(selfBased && oversized); ++seed) {
        const std::string mutant = natlinkfuzz::mutateMetaText(model, seed).value_or("");
        selfBased |= mutant.find("(FPBASEFEAT (NAME \"HoleGrid\")") != std::string::npos;
        oversized |= std::regex_search(mutant, beyondAnyModel);
    }
    EXPECT_TRUE(selfBased);
    EXPECT_TRUE(oversized);
}

// Foreign payloads are mutated as the files they are: a STEP file keeps its form and gets a
// coordinate no reader should take, or an emptied list (a DIRECTION without its values).
TEST(MetaTreeMutator, ReachesHostileForeignPayloads) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    const std::string model = example("bracket.meta");
    const auto payloadOf = [&](const std::string& text) {
        const metaTreePtrT tree = api.parseText(text, "model.meta");
        std::vector<metaTreePtrT> stack{tree};
        std::string payload;
        while (!stack.empty() && payload.empty()) {
            const metaTreePtrT node = stack.back();
            stack.pop_back();
            if (api.isBinary(node)) {
                const std::vector<std::uint8_t> bytes =
                    api.getBinary(node).value_or(std::vector<std::uint8_t>{});
                payload.assign(bytes.begin(), bytes.end());
            }
            for (std::size_t i = 0; api.isList(node) && i < api.childCount(node); ++i)
                stack.push_back(api.childAt(node, i));
        }
        api.release(tree);
        return payload;
    };
    const std::string original = payloadOf(model);
    ASSERT_EQ(original.rfind("ISO-10303-21;", 0), 0u);
    const std::regex hostileNumber(R"([(,](NAN|nan|-?1E400)[,)])");
    bool number = false;
    bool emptied = false;
    for (std::uint32_t seed = 0; seed < 3000 && !(number && emptied); ++seed) {
        const std::string payload = payloadOf(natlinkfuzz::mutateMetaText(model, seed).value());
        if (payload == original || payload.rfind("ISO-10303-21;", 0) != 0)
            continue;
        number |= std::regex_search(payload, hostileNumber);
        emptied |= payload.find("()") != std::string::npos;
    }
    EXPECT_TRUE(number);
    EXPECT_TRUE(emptied);
}

} // namespace
