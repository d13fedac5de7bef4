// The options tree that convert hands to the conversion entry, and the example models.
#include "tests/natlinkhost/natlinkhost_fixture.h"
#include "tools/natlinkhost/conversion_options.h"
#include "tools/natlinkhost/model_files.h"

#include <array>
#include <cmath>

namespace {

using natlinkhost::ownedTreeC;
using NatlinkHostConversionOptions = natlinkHostTest;

TEST_F(NatlinkHostConversionOptions, HoldsPathsCreationOptionsAndModel) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    const std::string modelText = "(PART (NAME \"Block\") (ITEMS))";
    const std::string optionsText = "(CREAOPTS (CREAOPTSETS))";
    ownedTreeC model(api.parseText(modelText, "m"));
    ownedTreeC creationOptions(api.parseText(optionsText, "o"));

    const ownedTreeC options = natlinkhost::buildConversionOptions(
        "models/../block.meta", "out", std::move(model), std::move(creationOptions));
    ASSERT_TRUE(options);
    EXPECT_FALSE(model);
    EXPECT_EQ(api.tag(options.get()), "CONVERTOPTIONS");

    const auto stringOf = [&](const char* key) {
        return api.getString(api.firstChild(api.findChild(options.get(), key))).value_or("?");
    };
    const std::filesystem::path cwd = std::filesystem::current_path();
    EXPECT_EQ(stringOf("INNAME"), (cwd / "block.meta").string());
    EXPECT_EQ(stringOf("OUTPUTLOCATION"), (cwd / "out").string());

    const metaTreePtrT custom = api.findChild(options.get(), "CUSTOMDATA");
    ASSERT_EQ(api.childCount(custom), 1u);
    ownedTreeC expectedOptions(api.parseText(optionsText, "o"));
    EXPECT_TRUE(api.compare(api.firstChild(custom), expectedOptions.get()));

    const metaTreePtrT input = api.findChild(options.get(), "INPUTDATA");
    ASSERT_EQ(api.childCount(input), 1u);
    ownedTreeC expectedModel(api.parseText(modelText, "m"));
    EXPECT_TRUE(api.compare(api.firstChild(input), expectedModel.get()));

    // Nothing answered yet.
    EXPECT_FALSE(natlinkhost::conversionResultText(options.get()).has_value());
}

TEST_F(NatlinkHostConversionOptions, WithoutCreationOptionsCustomDataIsEmpty) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    const ownedTreeC options = natlinkhost::buildConversionOptions(
        "m.meta", "out", ownedTreeC(api.parseText("(ASSEMBLY)", "m")), ownedTreeC());
    const metaTreePtrT custom = api.findChild(options.get(), "CUSTOMDATA");
    ASSERT_FALSE(custom.isNull());
    EXPECT_EQ(api.childCount(custom), 0u);
}

TEST_F(NatlinkHostConversionOptions, ResultTextIsReadFromTheTree) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    const ownedTreeC options = natlinkhost::buildConversionOptions(
        "m.meta", "out", ownedTreeC(api.parseText("(PART)", "m")), ownedTreeC());
    ownedTreeC resText(api.parseText("(RESTEXT \"Error while creating sketch \\\"S1\\\"\")", "r"));
    ASSERT_TRUE(api.appendChild(options.get(), resText.handOver()));
    EXPECT_EQ(natlinkhost::conversionResultText(options.get()),
              "Error while creating sketch \"S1\"");
}

TEST_F(NatlinkHostConversionOptions, PathThatIsNoUtf8IsRefusedWithoutLeaks) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    EXPECT_THROW(natlinkhost::buildConversionOptions(
                     "bad\xff.meta", "out", ownedTreeC(api.parseText("(PART)", "m")), ownedTreeC()),
                 std::invalid_argument);
}

// The planes example is what the plane builder will be tried on: its frames must be sound.
TEST_F(NatlinkHostConversionOptions, PlanesExampleHasRightHandedFramesAndAnOffsetPlane) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    natlinkhost::loadedTreeS loaded =
        natlinkhost::loadModelFile(sourceFile("examples/planes.meta"));
    ASSERT_TRUE(loaded.tree) << loaded.error;
    const metaTreePtrT items = api.findChild(loaded.tree.get(), "ITEMS");
    ASSERT_EQ(api.childCount(items), 5u);

    const std::array<std::array<double, 3>, 3> baseNormals = {{{0, 0, 1}, {0, 1, 0}, {1, 0, 0}}};
    const char* baseTypes[] = {"XY", "ZX", "YZ"};
    for (std::size_t i = 0; i < 5; ++i) {
        const metaTreePtrT plane = api.childAt(items, i);
        ASSERT_TRUE(api.hasTag(plane, "PLANE"));
        const metaTreePtrT mat = api.findChild(plane, "MAT");
        ASSERT_EQ(api.childCount(mat), 16u) << i;
        double m[16];
        for (std::size_t k = 0; k < 16; ++k) {
            m[k] = api.getDouble(api.childAt(mat, k)).value_or(NAN);
        }
        // Rows 0 and 1 unit length and orthogonal, row 2 their cross product, w = 1.
        EXPECT_NEAR(m[0] * m[0] + m[1] * m[1] + m[2] * m[2], 1.0, 1e-12) << i;
        EXPECT_NEAR(m[4] * m[4] + m[5] * m[5] + m[6] * m[6], 1.0, 1e-12) << i;
        EXPECT_NEAR(m[0] * m[4] + m[1] * m[5] + m[2] * m[6], 0.0, 1e-12) << i;
        EXPECT_NEAR(m[8], m[1] * m[6] - m[2] * m[5], 1e-12) << i;
        EXPECT_NEAR(m[9], m[2] * m[4] - m[0] * m[6], 1e-12) << i;
        EXPECT_NEAR(m[10], m[0] * m[5] - m[1] * m[4], 1e-12) << i;
        EXPECT_EQ(m[15], 1.0);
        if (i < 3) {
            EXPECT_EQ(api.getString(api.firstChild(api.findChild(plane, "TYP"))), baseTypes[i]);
            EXPECT_EQ(m[8], baseNormals[i][0]);
            EXPECT_EQ(m[9], baseNormals[i][1]);
            EXPECT_EQ(m[10], baseNormals[i][2]);
        }
    }

    const metaTreePtrT offset = api.childAt(items, 3);
    EXPECT_EQ(api.getString(api.firstChild(api.findChild(offset, "TYP"))), "OFF_TO_PLANE");
    const metaTreePtrT param = api.findChild(offset, "PARAM");
    ASSERT_EQ(api.childCount(param), 3u);
    EXPECT_EQ(api.getInteger(api.childAt(param, 0)), 0);
    EXPECT_EQ(api.getDouble(api.childAt(param, 1)), 10.0);
    EXPECT_EQ(api.getString(api.childAt(param, 2)), "XY");
}

} // namespace
