// List views, dictionaries, extended attributes and creation options.

#include "metacore_fixture.h"

#include "metamodel/core/creationoptions.h"
#include "metamodel/core/registry.h"

#include <thread>
#include <vector>

namespace {

using MetaListsTest = MetaCoreTest;

TEST_F(MetaListsTest, ListCountsAllOrOnlyKeyedChildren) {
    metaObjectC tree = parse("(PV2ELS (POINT 1 2) (OTHER) (POINT 3 4) 5)");
    metaObjListContainerC list(tree.getTreePtr());
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(list.countByKey("POINT"), 2);
    EXPECT_EQ(print(list.getAtByKey("POINT", 1)), "(POINT 3 4)");
    EXPECT_TRUE(list.getAtByKey("POINT", 2).isNull());
    EXPECT_TRUE(list.getAtByKey("POINT", -1).isNull());
    EXPECT_EQ(print(list.getAt(3)), "5");
    EXPECT_EQ(metaObjListContainerC().count(), 0);
}

TEST_F(MetaListsTest, ListIsSafeToReadFromSeveralThreads) {
    metaObjectC tree = parse("(L 1 2 3 4 5 6 7 8)");
    const metaObjListValContainerT<int> list(tree.getTreePtr());
    std::vector<std::thread> threads;
    std::vector<long> sums(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 200; ++round)
                for (int i = 0; i < list.count(); ++i)
                    sums[static_cast<std::size_t>(t)] += list.getValueAt(i);
        });
    }
    for (auto& th : threads)
        th.join();
    for (long s : sums)
        EXPECT_EQ(s, 200 * 36);
}

TEST_F(MetaListsTest, StringAndNumberListsReadAndAppend) {
    metaObjectC tree = parse("(R (USEDFILES \"a\" 3) (PLELS 1 2.9 -1e20) (PDELS 1 2.5))");
    metaObjListStrContainerC files(tree.findChild("USEDFILES"));
    EXPECT_EQ(files.getStringAt(0), mzComStringC("a"));
    EXPECT_EQ(files.getStringAt(1), mzComStringC()) << "a number is no string";
    EXPECT_EQ(files.getStringAt(9), mzComStringC());
    EXPECT_TRUE(files.appendString("b"));
    EXPECT_EQ(files.getStringAt(2), mzComStringC("b"));

    metaObjListValContainerT<long int> longs(tree.findChild("PLELS"));
    EXPECT_EQ(longs.getValueAt(1), 2);
    EXPECT_EQ(longs.getValueAt(2), std::numeric_limits<std::int32_t>::min());
    EXPECT_TRUE(longs.appendValue(7));
    EXPECT_TRUE(longs.setValueAt(0, 9));
    EXPECT_FALSE(longs.setValueAt(8, 9));
    metaObjListValContainerT<double> doubles(tree.findChild("PDELS"));
    EXPECT_DOUBLE_EQ(doubles.getValueAt(0), 1.0);
    bool found = true;
    EXPECT_DOUBLE_EQ(doubles.getValueAt(5, &found), 0.0);
    EXPECT_FALSE(found);
    EXPECT_TRUE(doubles.appendValue(0.25));
    EXPECT_EQ(print(tree.getTreePtr()),
              "(R (USEDFILES \"a\" 3 \"b\") (PLELS 9 2.9 -1e+20 7) (PDELS 1 2.5 0.25))");
    metaObjListStrContainerC unbound;
    EXPECT_FALSE(unbound.appendString("x"));
}

TEST_F(MetaListsTest, KeyedContainerGivesTypedElements) {
    metaObjectC tree = parse("(PLOCS (PLOC (TYPE 1)) (PLOC (TYPE 2)))");
    metaObjKeyContainerTemplateC<metaObjectC> locs(tree.getTreePtr());
    EXPECT_EQ(locs.count(), 2);
    EXPECT_EQ(print(locs.getElementAt(1).findChild("TYPE")), "(TYPE 2)");
    EXPECT_FALSE(locs.getElementAt(2).isValid());
    metaObjectC extra = parse("(PLOC (TYPE 3))");
    EXPECT_FALSE(locs.append(extra.getTreePtr()).isNull());
    EXPECT_EQ(locs.count(), 3);
}

constexpr const char* attrMapText = R"((CREAOPTS
  (CREAOPTSETS
    (CREAOPTSET (NAME "SketchMode") (TYP "INT") (VAL "1"))
    (CREAOPTSET (NAME "Empty") (VAL "")))
  (CREAOPTATTRMAP
    (OTHER (CREAOPTATTRMAPKEY "DEFAULTATTR"))
    (PAIR (CREAOPTATTRMAPKEY "SUMMARYATTR")
      (EXTATTRLIST (EXTATTRSTR (NAME "2") (VALUE "Title"))))
    (PAIR (CREAOPTATTRMAPKEY "DEFAULTATTR")
      (EXTATTRLIST
        (EXTATTRSTR (NAME "Material") (VALUE "Steel"))
        (EXTATTRVAL (NAME "Weight") (VALUE 2.5))
        (EXTATTRVAR (NAME "Id") (VARNAME "IDNR") (VALUE "A-1"))
        (EXTATTRXYZ (NAME "Odd") (VALUE 3))))))
)";

TEST_F(MetaListsTest, FindPairComparesKeysAsTrees) {
    metaObjectC doc = parse("(PART)");
    metaObjectC opts = parse(attrMapText);
    ASSERT_FALSE(doc.appendChild(opts.getTreePtr()).isNull());
    mDocumentC document(doc.getTreePtr());
    mDocumentCreationOptionAttrMapC map = document.getCreationOptions().getAttrMap();

    mDocumentCreationOptionAttrMapKeyC key;
    ASSERT_TRUE(key.ctorNew(1));
    ASSERT_TRUE(key.set("DEFAULTATTR"));
    auto pair = map.findPair(key);
    ASSERT_TRUE(pair.isValid()) << "the non-PAIR child with an equal key is skipped";
    EXPECT_TRUE(isPair(pair));
    EXPECT_EQ(pair.getKey().get(), mzComStringC("DEFAULTATTR"));
    EXPECT_EQ(pair.getValue().count(), 4);

    key.set("defaultattr");
    EXPECT_FALSE(map.findPair(key).isValid()) << "keys compare case-sensitively";
    key.set("CONFIGATTR");
    EXPECT_FALSE(map.findValue(key).isValid());
    EXPECT_FALSE(isPair(metaObjectC()));
}

TEST_F(MetaListsTest, AttributeKeyWithoutOwnershipIsTheCallersToRelease) {
    mDocumentCreationOptionAttrMapKeyC key;
    ASSERT_TRUE(key.ctorNew(0));
    EXPECT_FALSE(key.ownsNode());
    EXPECT_TRUE(store().release(key.getTreePtr()));
}

TEST_F(MetaListsTest, ExtendedAttributesGiveTheirValueTextByKind) {
    registerMetaCoreClasses();
    metaObjectC opts = parse(attrMapText);
    mDocumentCreationOptionsC options(opts.getTreePtr());
    mDocumentCreationOptionAttrMapKeyC key;
    key.ctorNew(1);
    key.set("DEFAULTATTR");
    mExtAttrListC list = options.getAttrMap().findValue(key);
    ASSERT_EQ(list.count(), 4);
    bool found = false;
    mExtAttrBaseC material = list.getAt(0, &found);
    EXPECT_TRUE(found);
    EXPECT_EQ(material.getName(), mzComStringC("Material"));
    EXPECT_EQ(material.getValueText(), mzComStringC("Steel"));
    EXPECT_EQ(list.getAt(1).getValueText(), mzComStringC("2.5"));
    EXPECT_DOUBLE_EQ(mExtAttrValC(list.getAt(1).getTreePtr()).getValue(), 2.5);
    EXPECT_EQ(list.getAt(2).getValueText(), mzComStringC("A-1"));
    EXPECT_EQ(mExtAttrVarC(list.getAt(2).getTreePtr()).getVarName(), mzComStringC("IDNR"));
    // An unregistered kind gives its VALUE as it stands.
    EXPECT_EQ(list.getAt(3).getValueText(), mzComStringC("3"));
    list.getAt(4, &found);
    EXPECT_FALSE(found);
}

TEST_F(MetaListsTest, CreationOptionSettingsAreFoundOrCreatedOnlyWhenAsked) {
    metaObjectC opts = parse(attrMapText);
    mDocumentCreationOptionsC options(opts.getTreePtr());
    mDocumentCreationOptionSettingsC settings = options.getSettings();
    EXPECT_EQ(settings.getSetting("SketchMode", 0).getVal(), mzComStringC("1"));
    EXPECT_EQ(settings.getSetting("Empty").getValue("dflt"), mzComStringC("dflt"));
    const int before = settings.count();
    mDocumentCreationOptionSettingC missing = settings.getSetting("LODconfigName_1", 0);
    EXPECT_FALSE(missing.isValid());
    EXPECT_EQ(missing.getValue("none"), mzComStringC("none"));
    EXPECT_EQ(settings.count(), before);
    mDocumentCreationOptionSettingC made = settings.getSetting("Multibodysolid", 1);
    ASSERT_TRUE(made.isValid());
    EXPECT_TRUE(made.setVal("0"));
    EXPECT_EQ(settings.count(), before + 1);
    EXPECT_EQ(settings.getSetting("Multibodysolid").getVal(), mzComStringC("0"));
    // A document without options gains an empty CREAOPTS on first access.
    metaObjectC bare = parse("(PART)");
    mDocumentC doc(bare.getTreePtr());
    EXPECT_EQ(doc.getCreationOptions().getSettings().count(), 0);
    EXPECT_EQ(print(bare.getTreePtr()), "(PART (CREAOPTS (CREAOPTSETS)))");
}

} // namespace
