// Child lookup and creation, value views and the numeric value lists.

#include "metacore_fixture.h"

#include "metamodel/core/doublevalues.h"
#include "metamodel/core/valueviews.h"
#include "tests/hostservices/temp_folder.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include <unistd.h>

namespace {

using MetaValuesTest = MetaCoreTest;

TEST_F(MetaValuesTest, GetOrAddChildCreatesExactlyOneKeyNode) {
    metaObjectC part = parse("(PART (NAME \"A\") 7)");
    const metaTreePtrT first = part.getOrAddChild("PARTATTR");
    const metaTreePtrT second = part.getOrAddChild("PARTATTR");
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first, second);
    EXPECT_EQ(print(part.getTreePtr()), "(PART (NAME \"A\") 7 (PARTATTR))");
    // An existing child is found, not duplicated; an invalid key creates nothing.
    EXPECT_EQ(part.getOrAddChild("NAME"), part.getChildAt(0));
    EXPECT_TRUE(part.getOrAddChild("bad key").isNull());
    EXPECT_EQ(part.countChildren(), 3);
    // An atom cannot take children.
    metaObjectC atom(part.getChildAt(1));
    EXPECT_TRUE(atom.getOrAddChild("X").isNull());
}

TEST_F(MetaValuesTest, ChildNavigationSkipsTheTagToken) {
    metaObjectC tree = parse("(PDOC (PFEATS (PFEAT (NAME \"F\")) 3 (PFEAT)))");
    metaObjectC feats(tree.findChild("PFEATS"));
    EXPECT_EQ(feats.countChildren(), 3);
    EXPECT_TRUE(metaObjectC(feats.getChildAt(0)).hasKey("PFEAT"));
    EXPECT_TRUE(feats.getChildAt(3).isNull());
    EXPECT_TRUE(feats.getChildAt(-1).isNull());
    int n = 0;
    for (metaObjEnumC e = feats.enumChildren(); e.isValid(); e.next())
        ++n;
    EXPECT_EQ(n, 3);
    metaObjectC name(metaObjectC(feats.getChildAt(0)).findChild("NAME"));
    EXPECT_EQ(name.findAncestor("PDOC"), tree.getTreePtr());
    EXPECT_EQ(name.findAncestor(""), feats.getChildAt(0));
    EXPECT_TRUE(name.findAncestor("PMODELS").isNull());
    // The tag token is a name token; the key node is not.
    metaObjectC token(store().tagToken(tree.getTreePtr()));
    EXPECT_TRUE(token.hasTagName("PDOC"));
    EXPECT_FALSE(tree.hasTagName("PDOC"));
    EXPECT_EQ(getNameAttr(metaObjectC(feats.getChildAt(0))), mzComStringC("F"));
    EXPECT_EQ(getNameAttr(metaObjectC(feats.getChildAt(2)), "none"), mzComStringC("none"));
}

TEST_F(MetaValuesTest, ValueViewsReadIntegersDoublesAndMissingValues) {
    metaObjectC tree =
        parse("(R (I 25) (D 2.5) (S \"txt\") (E) (L (X 1)) (BIG 1e300) (NEG -1e300) (NAN_ \"x\"))");
    bool found = true;
    EXPECT_DOUBLE_EQ(metaObjDoubleC(tree.findChild("I")).get(&found), 25.0);
    EXPECT_TRUE(found);
    EXPECT_EQ(metaObjIntC(tree.findChild("D")).get(&found), 2);
    EXPECT_TRUE(found);
    EXPECT_EQ(metaObjIntC(tree.findChild("E")).get(&found), 0);
    EXPECT_FALSE(found);
    EXPECT_DOUBLE_EQ(metaObjDoubleC(tree.findChild("S")).get(&found), 0.0);
    EXPECT_FALSE(found);
    EXPECT_EQ(metaObjStrC(tree.findChild("I")).get(&found), mzComStringC());
    EXPECT_FALSE(found);
    EXPECT_EQ(metaObjStrC(tree.findChild("S")).get(), mzComStringC("txt"));
    // A property whose first child is a list holds no value.
    EXPECT_EQ(metaObjIntC(tree.findChild("L")).get(&found), 0);
    EXPECT_FALSE(found);
    // Unbound views read nothing and write nothing.
    EXPECT_EQ(metaObjStrC().get(), mzComStringC());
    EXPECT_FALSE(metaObjDoubleC().set(1.0));
}

TEST_F(MetaValuesTest, IntegerReadsSaturateAndNaNReadsZero) {
    metaObjectC tree = parse("(R (BIG 1e300) (NEG -1e300) (HUGE 9223372036854775807) "
                             "(EDGE 2147483647.9) (NEGT -2.9))");
    EXPECT_EQ(metaObjIntC(tree.findChild("BIG")).get(), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(metaObjIntC(tree.findChild("NEG")).get(), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(metaObjIntC(tree.findChild("HUGE")).get(), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(metaObjIntC(tree.findChild("EDGE")).get(), 2147483647);
    EXPECT_EQ(metaObjIntC(tree.findChild("NEGT")).get(), -2);
    // NaN and infinities can only be made by code.
    metaObjDoubleC nan(tree.findChild("BIG"));
    ASSERT_TRUE(nan.set(std::numeric_limits<double>::quiet_NaN()));
    bool found = false;
    EXPECT_EQ(metaObjIntC(tree.findChild("BIG")).get(&found), 0);
    EXPECT_TRUE(found);
    ASSERT_TRUE(nan.set(-std::numeric_limits<double>::infinity()));
    EXPECT_EQ(metaObjIntC(tree.findChild("BIG")).get(), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(metaTruncateToInt32(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(metaTruncateToInt32(-0.5), 0);
}

TEST_F(MetaValuesTest, SettersOverwriteInPlaceOrCreateTheFirstValue) {
    metaObjectC tree = parse("(R (I 1) (S 5) (E) (L (X 1)))");
    EXPECT_TRUE(metaObjIntC(tree.findChild("I")).set(-7));
    EXPECT_TRUE(metaObjStrC(tree.findChild("S")).set("now text"));
    EXPECT_TRUE(metaObjDoubleC(tree.findChild("E")).set(0.5));
    EXPECT_TRUE(metaObjStrC(tree.findChild("L")).set("v"));
    EXPECT_TRUE(metaObjStrC(tree.findChild("L")).set("w"));
    EXPECT_EQ(print(tree.getTreePtr()), "(R (I -7) (S \"now text\") (E 0.5) (L \"w\" (X 1)))");
    // A view of an atom writes the atom itself.
    metaObjDoubleNodeC atom(metaObjectC(tree.findChild("E")).getChildAt(0));
    EXPECT_DOUBLE_EQ(atom.getValue(), 0.5);
    EXPECT_TRUE(atom.setValue(4.0));
    EXPECT_DOUBLE_EQ(metaObjDoubleC(tree.findChild("E")).get(), 4.0);
    EXPECT_DOUBLE_EQ(metaObjDoubleNodeC(tree.findChild("S")).getValue(), 0.0);
}

TEST_F(MetaValuesTest, NewValueNodesAreFreeUntilAppended) {
    metaObjectC list = parse("(PLELS)");
    metaTreePtrT i = newIntNode(3);
    metaTreePtrT d = newDoubleNode(1.5);
    EXPECT_TRUE(store().parent(i).isNull());
    EXPECT_FALSE(list.appendChild(i).isNull());
    EXPECT_FALSE(list.appendChild(d).isNull());
    EXPECT_EQ(print(list.getTreePtr()), "(PLELS 3 1.5)");
}

TEST_F(MetaValuesTest, BinaryDataIsSavedAsItsDecodedBytes) {
    const TempFolder folder;
    const std::filesystem::path& dir = folder.path();
    const std::filesystem::path file = dir / "featdata.bin";
    metaObjectC tree = parse("(FOEFEAT (FEATDATA #\"AAEC/w==\") (NAME \"x\"))");
    metaObjBinDataC data(tree.findChild("FEATDATA"));
    ASSERT_EQ(data.saveToFile(mzComStringC(file.string())), 1);
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, std::string("\x00\x01\x02\xff", 4));
    // No payload, or a file that cannot be written: 0.
    EXPECT_EQ(metaObjBinDataC(tree.findChild("NAME")).saveToFile(mzComStringC(file.string())), 0);
    EXPECT_EQ(data.saveToFile(mzComStringC((dir / "no" / "such" / "f.bin").string())), 0);
    // A file that is there, or a link of the name, is left as it is, and so is its target.
    EXPECT_EQ(data.saveToFile(mzComStringC(file.string())), 0);
    std::ofstream(dir / "target.txt") << "kept";
    std::filesystem::create_symlink(dir / "target.txt", dir / "link.bin");
    EXPECT_EQ(data.saveToFile(mzComStringC((dir / "link.bin").string())), 0);
    std::ifstream target(dir / "target.txt");
    EXPECT_EQ(
        std::string((std::istreambuf_iterator<char>(target)), std::istreambuf_iterator<char>()),
        "kept");
    std::ifstream again(file, std::ios::binary);
    EXPECT_EQ(
        std::string((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>()),
        std::string("\x00\x01\x02\xff", 4));
}

TEST_F(MetaValuesTest, SetDoubleValuesWritesInPlaceOrRebuilds) {
    metaObjectC tree = parse("(R (POINT 1 2) (P3 1 2 3) (BAD (X) 1))");
    const metaTreePtrT point = tree.findChild("POINT");
    const metaTreePtrT firstValue = store().firstChild(point);
    const double two[2] = {0.5, -1.0};
    ASSERT_TRUE(setDoubleValues(point, two, 2));
    EXPECT_EQ(store().firstChild(point), firstValue) << "same count: written in place";
    ASSERT_TRUE(setDoubleValues(tree.findChild("P3"), two, 2));
    ASSERT_TRUE(setDoubleValues(tree.findChild("BAD"), two, 2));
    EXPECT_EQ(print(tree.getTreePtr()), "(R (POINT 0.5 -1.0) (P3 0.5 -1.0) (BAD 0.5 -1.0))");
    EXPECT_FALSE(setDoubleValues(metaTreePtrT(), two, 2));
    EXPECT_FALSE(setDoubleValues(store().firstChild(point), two, 2));
    EXPECT_FALSE(setDoubleValues(point, nullptr, 2));
}

TEST_F(MetaValuesTest, ReadVectorNeedsExactlyTheRightNumberOfNumbers) {
    metaObjectC tree =
        parse("(R (A 1 2.5) (B 1 2 3) (C 1 \"x\") (D 1) (E (X 1) 2) (F 1.0 2.0 3.5))");
    int ok = -1;
    EXPECT_EQ(readVector2d(tree.findChild("A"), &ok), (std::array<double, 2>{1.0, 2.5}));
    EXPECT_EQ(ok, 1);
    for (const char* key : {"B", "C", "D", "E"}) {
        EXPECT_EQ(readVector2d(tree.findChild(key), &ok), (std::array<double, 2>{0.0, 0.0}));
        EXPECT_EQ(ok, 0) << key;
    }
    EXPECT_EQ(readVector3d(tree.findChild("F"), &ok), (std::array<double, 3>{1.0, 2.0, 3.5}));
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(readVector3d(tree.findChild("A"), &ok), (std::array<double, 3>{}));
    EXPECT_EQ(ok, 0);
}

} // namespace
