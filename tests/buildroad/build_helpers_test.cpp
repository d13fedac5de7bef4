// The builders' small helpers: plane kinds, attributes read without changing the tree,
// annotation vectors, removal by index, and the angle of a zero vector.
#include "tests/buildroad/buildroad_fixture.h"

#include "libs/geomcore/buildsw3d/build_helpers.h"
#include "metamodel/m3d/geom3d.h"

namespace {

using BuildHelpers = buildRoadTest;

TEST_F(BuildHelpers, BasePlaneKinds) {
    for (const char* type : {"XY", "ZX", "YZ"})
        EXPECT_TRUE(isBasePlaneName(
            m3dPlaneC(tree(std::string("(PLANE (TYP \"") + type + "\"))").getTreePtr())))
            << type;
    for (const char* text : {"(PLANE (TYP \"xy\"))", "(PLANE (TYP \"OFF_TO_PLANE\"))", "(PLANE)"})
        EXPECT_FALSE(isBasePlaneName(m3dPlaneC(tree(text).getTreePtr()))) << text;
}

TEST_F(BuildHelpers, AttributesAreReadWithoutAddingChildren) {
    metaObjectC part = tree("(PART (NAME \"P\") (FILENAME \"bracket\") (SOLIDOP 2.9))");
    bool found = false;
    mzComStringC fileName;
    getFileNameAttr(part, fileName, found);
    EXPECT_TRUE(found);
    EXPECT_EQ(fileName, mzComStringC("bracket"));
    EXPECT_EQ(getSolidOpAttr(part, found), 2);
    EXPECT_TRUE(found);

    metaObjectC bare = tree("(PART (NAME \"P\"))");
    getFileNameAttr(bare, fileName, found);
    EXPECT_FALSE(found);
    EXPECT_TRUE(fileName.isEmpty());
    EXPECT_EQ(getSolidOpAttr(bare, found), 0);
    EXPECT_FALSE(found);
    EXPECT_EQ(bare.countChildren(), 1);
}

TEST_F(BuildHelpers, AnnotationVectorNeedsExactlyThreeNumbers) {
    const vectorC3d<double> v = getAnnotationVector3(tree("(ANNOTATION (VEC3D 1 2.5 -3))"));
    EXPECT_EQ(v, (vectorC3d<double>{1, 2.5, -3}));
    for (const char* text : {"(ANNOTATION (VEC3D 1 2))", "(ANNOTATION (VEC3D 1 2 3 4))",
                             "(ANNOTATION (VEC3D 1 \"2\" 3))", "(ANNOTATION)"})
        EXPECT_EQ(getAnnotationVector3(tree(text)), (vectorC3d<double>{})) << text;
}

TEST_F(BuildHelpers, RemoveAtChecksTheIndex) {
    std::vector<vectorC3d<double>> points{{1, 0, 0}, {2, 0, 0}, {3, 0, 0}};
    EXPECT_TRUE(vector3ArrayRemoveAt(points, 1));
    EXPECT_EQ(points, (std::vector<vectorC3d<double>>{{1, 0, 0}, {3, 0, 0}}));
    EXPECT_FALSE(vector3ArrayRemoveAt(points, 2));
    EXPECT_FALSE(vector3ArrayRemoveAt(points, -1));
    EXPECT_EQ(points.size(), 2u);

    std::vector<_variant_t> values{_variant_t(1L), _variant_t(2L)};
    EXPECT_TRUE(variantArrayRemoveAt(values, 0));
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(static_cast<long>(values[0]), 2L);
    EXPECT_FALSE(variantArrayRemoveAt(values, 1));
    std::vector<_variant_t> empty;
    EXPECT_FALSE(variantArrayRemoveAt(empty, 0));
}

TEST_F(BuildHelpers, AngleOfAZeroVectorIsZero) {
    EXPECT_EQ(vectorAngle2d({0, 0}, {1, 0}), 0.0);
    EXPECT_EQ(vectorAngle2d({1, 0}, {0, 0}), 0.0);
    EXPECT_NEAR(vectorAngle2d({1, 0}, {0, -1}), 270.0, 1e-9);
}

} // namespace
