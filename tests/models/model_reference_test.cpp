// The model reference (examples/MODELS.md) against what it describes: every key the readers
// read and every key the examples use is listed, every example of it reads as it says, and its
// reference part converts to the volume computed by hand.
#include "platform/sldworks/model/part_document.h"
#include "tests/models/model_reference.h"
#include "tests/natlinkhost/natlinkhost_fixture.h"
#include "tools/natlinkhost/owned_tree.h"

#include "platform/host/metatree/metatree_error.h"

#include <numbers>

namespace {

namespace fs = std::filesystem;
using modelref::modelReferenceC;
using natlinkhost::ownedTreeC;

// Where the build reads a model file: the views and the builders. The check-in record's views
// (pshell) read no model.
const char* const readerFolders[] = {
    "metamodel/m3d",
    "metamodel/m2d",
    "metamodel/core",
    "libs/geomcore/buildsw3d",
    "libs/geomcore/buildpart3d",
    "libs/geomcore/buildasm3d",
    "libs/geomcore/sw3ddoc",
    "libs/geomcore/swgeomtools",
    "libs/geomcore/swtools",
};

// Words the readers use that are neither keys nor values of a model file. Words ending in "_"
// (PLANAR_, CYL_, ...) begin the names the build gives faces.
const std::set<std::string> notModelWords = {
    // SolidWorks' selection types and the categories of its messages
    "AXIS", "BODYFEATURE", "EXTSKETCHPOINT", "EXTSKETCHSEGMENT", "ERROR", "WARNING",
    // names the build gives mate references' helper faces and edges
    "MATEREF", "MATEREF_HELPER_CONIC", "MATEREF_HELPER_CYL", "MATEREF_HELPER_EDGE",
    "MATEREF_HELPER_PLANAR",
    // a custom property of the member documents of an assembly
    "KVOR_IDENT"};

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// The nodes of an example; several may stand in one.
ownedTreeC parsedExample(const modelref::exampleS& example) {
    return ownedTreeC(getIMetaTreeApi()->parseText("(" + example.text + ")", "MODELS.md"));
}

class ModelReference : public natlinkHostTest {
protected:
    void SetUp() override {
        natlinkHostTest::SetUp();
        reference_.emplace(readText(sourceFile("examples/MODELS.md")));
    }
    const modelReferenceC& reference() const { return *reference_; }

private:
    std::optional<modelReferenceC> reference_;
};

TEST_F(ModelReference, TheChecksFindWhatAReferenceLeavesOut) {
    const modelReferenceC small("# Models\n"
                                "### PART\n"
                                "| key | value | meaning |\n"
                                "| `NAME` | string | the name |\n"
                                "| `ITEMS` | items | \"PLANE\" |\n"
                                "### ITEMS\n"
                                "| `PLANE` | a plane |\n"
                                "```meta part\n"
                                "(ITEMS)\n"
                                "```\n"
                                "### PLANE\n"
                                "| `TYP` | \"XY\" |\n");
    ASSERT_EQ(small.sections().size(), 3u);
    EXPECT_EQ(small.sections()[1].examples.size(), 1u);
    EXPECT_TRUE(small.sections()[1].examples[0].joinsPart);
    const ownedTreeC tree(getIMetaTreeApi()->parseText(
        "(PART (NAME \"P\") (COLOUR 1) (ITEMS (PLANE (TYP \"XY\") (MAT 1)) (PLANE (TYP \"AB\"))"
        " (SKETCH (LOOP))) (ANNOTATIONSETS (ANNOTATIONSETFACE (ANNOTATIONFACE"
        " (FACD \"(RCCLASSINSTANCE (RCPROPERTY (NAME \\\"X\\\")))\") (BAD \"(oops\")))))",
        "small"));
    EXPECT_EQ(small.undocumented(tree.get(), "t"),
              (std::vector<std::string>{
                  "t: PART lists no key COLOUR",
                  "t: PART lists no key ANNOTATIONSETS",
                  "t: ANNOTATIONSETS is described nowhere",
                  "t: ANNOTATIONSETFACE is described nowhere",
                  "t: ANNOTATIONFACE is described nowhere",
                  "t FACD: RCCLASSINSTANCE is described nowhere",
                  "t FACD: RCPROPERTY is described nowhere",
                  "t: BAD holds text that does not parse: BAD:1:2: unexpected character 'o'",
                  "t: ITEMS lists no key SKETCH",
                  "t: SKETCH is described nowhere",
                  "t: PLANE names no TYP \"AB\"",
                  "t: PLANE lists no key MAT",
              }));

    // Literals in comments are not read; "//" inside a literal starts no comment.
    EXPECT_EQ(modelref::wordsReadBy("// \"COMMENT\"\n/* \"BLOCK\" */ findChild(\"KEY\");"
                                    " f(\"a // b\", \"KEEP\"); char q = '\"';"
                                    " getSetting(mzComStringC(\"Mode_\") + name, 0);"
                                    " documentCreationSetting(part, reader, \"SketchMode\");"),
              (std::set<std::string>{"KEEP", "KEY", "Mode_", "SketchMode"}));
}

TEST_F(ModelReference, EveryKeyTheReadersReadIsListed) {
    std::vector<std::string> missing;
    std::size_t files = 0;
    for (const char* folder : readerFolders) {
        for (const fs::directory_entry& entry : fs::directory_iterator(sourceFile(folder))) {
            const std::string name = entry.path().filename().string();
            const std::string extension = entry.path().extension().string();
            if ((extension != ".cpp" && extension != ".h") || name.rfind("pshell", 0) == 0)
                continue;
            ++files;
            for (const std::string& word : modelref::wordsReadBy(readText(entry.path())))
                if (notModelWords.count(word) == 0 && word.back() != '_' &&
                    !reference().mentions(word))
                    missing.push_back(std::string(folder) + "/" + name + ": " + word);
        }
    }
    EXPECT_GT(files, 50u);
    EXPECT_TRUE(missing.empty()) << "read, but not in examples/MODELS.md:\n" << joined(missing);
}

TEST_F(ModelReference, EveryKeyTheExamplesUseIsListed) {
    std::vector<std::string> missing;
    std::size_t models = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(sourceFile("examples"))) {
        if (entry.path().extension() != ".meta")
            continue;
        ownedTreeC model;
        try {
            model = ownedTreeC(getIMetaTreeApi()->parseFile(entry.path().string()));
        } catch (const metaTreeErrorC&) {
            continue; // broken.meta shows a refusal
        }
        const std::string tag = getIMetaTreeApi()->tag(model.get());
        if (tag != "PART" && tag != "ASSEMBLY")
            continue; // text_form.meta is no model
        ++models;
        for (const std::string& line :
             reference().undocumented(model.get(), entry.path().filename().string()))
            missing.push_back(line);
    }
    EXPECT_GE(models, 15u);
    EXPECT_TRUE(missing.empty()) << joined(missing);
}

TEST_F(ModelReference, EveryItemHasAnExampleThatReadsAsTheReferenceSays) {
    std::vector<std::string> wrong;
    ASSERT_GT(reference().sections().size(), 40u);
    for (const modelref::sectionS& section : reference().sections()) {
        const std::string where = "MODELS.md:" + std::to_string(section.line);
        if (section.items.empty() || section.keys.empty() || section.examples.empty()) {
            wrong.push_back(where + ": a section needs its items, a key table and an example");
            continue;
        }
        bool showsItsItem = false;
        for (const modelref::exampleS& example : section.examples) {
            ownedTreeC nodes;
            try {
                nodes = parsedExample(example);
            } catch (const metaTreeErrorC& error) {
                wrong.push_back(where + ": " + error.what());
                continue;
            }
            IMetaTreeApi& api = *getIMetaTreeApi();
            for (metaTreePtrT node = api.firstChild(nodes.get()); node;
                 node = api.nextSibling(node)) {
                for (const std::string& item : section.items)
                    showsItsItem = showsItsItem || api.tag(node) == item;
                for (const std::string& line :
                     reference().undocumented(node, "MODELS.md:" + std::to_string(example.line)))
                    wrong.push_back(line);
            }
        }
        if (!showsItsItem)
            wrong.push_back(where + ": no example shows " + section.items.front());
    }
    EXPECT_TRUE(wrong.empty()) << joined(wrong);
}

// The examples fenced as "meta part", in their order: items into the ITEMS of one PART, the
// rest into the PART node itself.
TEST_F(ModelReference, TheReferencePartConvertsToItsVolumeByHand) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    const modelref::sectionS* items = reference().section("ITEMS");
    ASSERT_NE(items, nullptr);
    const ownedTreeC part(api.parseText("(PART (NAME \"Reference\") (ITEMS))", "reference"));
    const metaTreePtrT partItems = api.findChild(part.get(), "ITEMS");
    std::size_t joined = 0;
    for (const modelref::sectionS& section : reference().sections())
        for (const modelref::exampleS& example : section.examples) {
            if (!example.joinsPart)
                continue;
            const ownedTreeC nodes = parsedExample(example);
            while (const metaTreePtrT node = api.firstChild(nodes.get())) {
                ASSERT_TRUE(api.appendChild(
                    items->keys.count(api.tag(node)) != 0 ? partItems : part.get(), node));
                ++joined;
            }
        }
    EXPECT_GE(joined, 20u);
    const std::string model = writeFile("reference.meta", api.print(part.get()));

    const runS converted = run({"convert", model, "-o", path("out")});
    ASSERT_EQ(converted.code, 0) << converted.err;
    EXPECT_EQ(converted.err, "");
    // By hand (mm^3): a plate 80 x 50 x 10 with the corner (80, 50) rounded by radius 10,
    // 10 * (4000 - (100 - 25 pi)); a boss of radius 6 and height 15, + 540 pi; two pockets of
    // radius 6 and depth 4, - 2 * 144 pi; the drilling D1, 6 x 10, - 90 pi; D2 from its
    // history, 10 x 2 then 6 x 8, - 122 pi; the stem, a frustum from a square of 10 to one of 6
    // over 10, 10 / 3 * (100 + 36 + 60).
    const double pi = std::numbers::pi;
    const double byHand = 10 * (4000 - (100 - 25 * pi)) + 540 * pi - 288 * pi - 90 * pi - 122 * pi +
                          10.0 / 3 * (100 + 36 + 60);
    const auto saved = swsim::PartDocument::open(path("out/Reference.sldprt"));
    EXPECT_NEAR(saved->massProperties().volume, byHand, 1e-6 * byHand);
    EXPECT_NEAR(byHand, 40564.395203, 1e-6); // as the reference says
}

} // namespace
