// Class registries: priorities, per-thread prototypes and the bind guard.

#include "metacore_fixture.h"

#include "metamodel/core/extattr.h"
#include "metamodel/core/registry.h"

#include <thread>

namespace {

// An interface base of the tests' own, so that their registrations touch nothing else.
class testShapeC : public metaObjectC {
public:
    using metaObjectC::metaObjectC;
    virtual mzComStringC kind() const { return "base"; }
    // Dispatch by tag as the view classes do it.
    mzComStringC dispatchKind() const {
        testShapeC* proto = lookupInterfaceInstance<testShapeC>(getTag());
        if (!proto || proto == this)
            return kind();
        prototypeBindGuardC bind(*proto, getTreePtr());
        return proto->kind() + "@" + proto->getTag();
    }
};
class testLineC : public testShapeC {
public:
    mzComStringC kind() const override { return "line"; }
};
class testArcC : public testShapeC {
public:
    mzComStringC kind() const override { return "arc"; }
};

class MetaRegistryTest : public MetaCoreTest {
protected:
    void SetUp() override {
        MetaCoreTest::SetUp();
        metaObjInterfaceRegistry<testShapeC>().clear();
    }
    void TearDown() override {
        metaObjInterfaceRegistry<testShapeC>().clear();
        MetaCoreTest::TearDown();
    }
    static metaObjectInterfaceRegistryT<testShapeC>& registry() {
        return metaObjInterfaceRegistry<testShapeC>();
    }
};

TEST_F(MetaRegistryTest, OnlyAHigherPriorityReplacesARegistration) {
    EXPECT_TRUE(registry().registerClass<testLineC>("LINE", 5));
    EXPECT_FALSE(registry().registerClass<testArcC>("LINE", 5)) << "equal priority";
    EXPECT_FALSE(registry().registerClass<testArcC>("LINE", 4)) << "lower priority";
    EXPECT_EQ(lookupInterfaceInstance<testShapeC>("LINE")->kind(), mzComStringC("line"));
    EXPECT_TRUE(registry().registerClass<testArcC>("LINE", 100));
    EXPECT_EQ(lookupInterfaceInstance<testShapeC>("LINE")->kind(), mzComStringC("arc"));
    EXPECT_EQ(registry().priorityOf("LINE"), 100);
    EXPECT_EQ(registry().size(), 1u);
    EXPECT_EQ(lookupInterfaceInstance<testShapeC>("CIRCLE"), nullptr);
    EXPECT_FALSE(registry().registerClass<testArcC>("not a tag", 1000));
}

TEST_F(MetaRegistryTest, HelperRegistersThroughTheSameRule) {
    auto factory = [] { return std::unique_ptr<metaObjectVirtualDataBaseC>(new testArcC()); };
    metaObjectInterfaceHlpC first(registry(), "ARC", metaClassPriority, factory, "testArcC");
    metaObjectInterfaceHlpC again(registry(), "ARC", metaClassPriority, factory, "testArcC");
    EXPECT_TRUE(first.entered());
    EXPECT_FALSE(again.entered()) << "repeating a start-up registration changes nothing";
    metaObjectVirtualDataBaseC* proto = lookupInterfaceInstance(registry(), "ARC");
    ASSERT_NE(proto, nullptr);
    EXPECT_NE(dynamic_cast<testArcC*>(proto), nullptr);
}

TEST_F(MetaRegistryTest, EachThreadGetsItsOwnPrototype) {
    registry().registerClass<testLineC>("LINE", metaClassPriority);
    testShapeC* mine = lookupInterfaceInstance<testShapeC>("LINE");
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(lookupInterfaceInstance<testShapeC>("LINE"), mine) << "stable within a thread";
    testShapeC* theirs = nullptr;
    testShapeC* theirsAgain = nullptr;
    std::thread other([&] {
        theirs = lookupInterfaceInstance<testShapeC>("LINE");
        theirsAgain = lookupInterfaceInstance<testShapeC>("LINE");
    });
    other.join();
    ASSERT_NE(theirs, nullptr);
    EXPECT_NE(theirs, mine);
    EXPECT_EQ(theirs, theirsAgain);
}

TEST_F(MetaRegistryTest, BoundPrototypesOfTwoThreadsDoNotDisturbEachOther) {
    registry().registerClass<testLineC>("LINE", metaClassPriority);
    metaObjectC a = parse("(LINE (NAME \"a\"))");
    metaObjectC b = parse("(LINE (NAME \"b\"))");
    auto work = [](metaTreePtrT node, int* mismatches) {
        for (int i = 0; i < 500; ++i) {
            testShapeC* proto = lookupInterfaceInstance<testShapeC>("LINE");
            prototypeBindGuardC bind(*proto, node);
            if (proto->getTreePtr() != node)
                ++*mismatches;
        }
    };
    int badA = 0, badB = 0;
    std::thread ta(work, a.getTreePtr(), &badA);
    std::thread tb(work, b.getTreePtr(), &badB);
    ta.join();
    tb.join();
    EXPECT_EQ(badA, 0);
    EXPECT_EQ(badB, 0);
}

TEST_F(MetaRegistryTest, BindGuardRestoresThePreviousBindingAndNests) {
    registry().registerClass<testLineC>("LINE", metaClassPriority);
    metaObjectC outer = parse("(LINE (NAME \"outer\") (LINE (NAME \"inner\")))");
    testShapeC* proto = lookupInterfaceInstance<testShapeC>("LINE");
    ASSERT_FALSE(proto->isValid());
    {
        prototypeBindGuardC first(*proto, outer.getTreePtr());
        EXPECT_EQ(proto->getTreePtr(), outer.getTreePtr());
        EXPECT_FALSE(proto->ownsNode());
        {
            prototypeBindGuardC second(*proto, outer.findChild("LINE"));
            EXPECT_EQ(getNameAttr(*proto), mzComStringC("inner"));
        }
        EXPECT_EQ(getNameAttr(*proto), mzComStringC("outer"));
    }
    EXPECT_FALSE(proto->isValid());
    // A dispatch through the registry reaches the registered class and leaves it unbound.
    testShapeC view(outer.getTreePtr());
    EXPECT_EQ(view.dispatchKind(), mzComStringC("line@LINE"));
    EXPECT_FALSE(proto->isValid());
}

TEST_F(MetaRegistryTest, AnExceptionInADispatchedCallStillRestoresThePrototype) {
    registry().registerClass<testLineC>("LINE", metaClassPriority);
    metaObjectC node = parse("(LINE)");
    testShapeC* proto = lookupInterfaceInstance<testShapeC>("LINE");
    try {
        prototypeBindGuardC bind(*proto, node.getTreePtr());
        throw std::runtime_error("handler failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(proto->isValid());
}

TEST_F(MetaRegistryTest, CoreRegistrationIsIdempotent) {
    registerMetaCoreClasses();
    auto& extAttrs = metaObjInterfaceRegistry<mExtAttrBaseC>();
    const std::size_t size = extAttrs.size();
    registerMetaCoreClasses();
    EXPECT_EQ(extAttrs.size(), size);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(extAttrs.priorityOf("EXTATTRVAL"), metaClassPriority);
}

} // namespace
