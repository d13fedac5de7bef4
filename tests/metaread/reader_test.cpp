// The meta reader: dispatch by tag with the tag token handed over, unknown tags,
// source locations.

#include "libs/KvorMetaApi/metaread/reader.h"
#include "metamodel/core/metaobject.h"
#include "platform/host/services/log.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct callS {
    std::string tag;
    std::string name;
    void* data = nullptr;
    bool gotTagToken = false;
};

// Records each call; binds its view to the token's parent as the builders' handlers do.
class recordingHandlerC : public metaComC {
public:
    recordingHandlerC(const char* tag, std::vector<callS>& calls, int result)
        : metaComC(tag), calls_(calls), result_(result) {}
    int execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) override {
        IMetaTreeApi& a = *getIMetaTreeApi();
        metaObjectC node(a.parent(tagToken));
        calls_.push_back(
            {node.getTag().toUtf8(), getNameAttr(node).toUtf8(), data, a.isTagToken(tagToken)});
        // Drive the children, as an ITEMS handler does.
        for (metaObjEnumC e = node.enumChildren(); e.isValid(); e.next()) {
            if (a.isKeyNode(e.current()) && !a.hasTag(e.current(), "NAME"))
                reader.exeNode(e.current(), data, 0);
        }
        return result_;
    }

private:
    std::vector<callS>& calls_;
    int result_;
};

class throwingHandlerC : public metaComC {
public:
    throwingHandlerC() : metaComC("BAD") {}
    int execute(metaReaderC&, metaTreePtrT, void*) override {
        throw metaApiErrorC(mzComStringC("cannot build \"x\""));
    }
};

class locationReaderC : public metaReaderC {
public:
    std::vector<metaSourceLocS> seen;

protected:
    void locationChanged(const metaSourceLocS& location) override { seen.push_back(location); }
};

class MetaReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        hostsvc::detail::resetLog();
        hostsvc::setLogCapture(true);
        live_ = getIMetaTreeApi()->liveNodeCount();
    }
    void TearDown() override {
        hostsvc::detail::resetLog();
        EXPECT_EQ(getIMetaTreeApi()->liveNodeCount(), live_);
    }
    static bool logged(const std::string& part) {
        for (const auto& r : hostsvc::capturedLogRecords()) {
            if (r.text.find(part) != std::string::npos)
                return true;
        }
        return false;
    }

private:
    std::int64_t live_ = 0;
};

constexpr const char* model = "(PART (NAME \"Block\")\n"
                              "  (ITEMS\n"
                              "    (PLANE (NAME \"XY\"))\n"
                              "    (GADGET (NAME \"unknown\"))\n"
                              "    (SKETCH (NAME \"S1\"))))\n";

TEST_F(MetaReaderTest, DispatchesByTagHandingTheTagTokenAndData) {
    std::vector<callS> calls;
    metaReaderC reader;
    for (const char* tag : {"PART", "ITEMS", "PLANE", "SKETCH"})
        reader.addCommand(std::make_unique<recordingHandlerC>(tag, calls, 1));
    metaObjectC tree;
    ASSERT_TRUE(tree.ctorFromText(model, "block.meta"));
    int context = 42;
    EXPECT_EQ(reader.exeNode(tree.getTreePtr(), &context, 0), 1);
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].tag, "PART");
    EXPECT_EQ(calls[0].name, "Block");
    EXPECT_EQ(calls[2].tag, "PLANE");
    EXPECT_EQ(calls[3].name, "S1");
    for (const callS& c : calls) {
        EXPECT_TRUE(c.gotTagToken) << c.tag;
        EXPECT_EQ(c.data, &context);
    }
    // The unknown GADGET was skipped and logged with its place.
    EXPECT_TRUE(logged("no handler for tag \"GADGET\" (block.meta:4:5)"));
}

TEST_F(MetaReaderTest, UnknownTagsAndNonKeyNodesAreSkippedWithResultZero) {
    std::vector<callS> calls;
    metaReaderC reader;
    reader.addCommand(std::make_unique<recordingHandlerC>("PLANE", calls, 7));
    metaObjectC tree;
    ASSERT_TRUE(tree.ctorFromText("(R (WHAT) \"text\" (PLANE))"));
    EXPECT_EQ(reader.exeNode(tree.getChildAt(0), nullptr), 0);
    EXPECT_EQ(reader.exeNode(tree.getChildAt(1), nullptr), 0);
    EXPECT_EQ(reader.exeNode(metaTreePtrT(), nullptr), 0);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(logged("no handler for tag \"WHAT\""));
    EXPECT_TRUE(logged("no key node"));
    // The tag token of a key node dispatches that node.
    EXPECT_EQ(reader.exeNode(getIMetaTreeApi()->tagToken(tree.getChildAt(2)), nullptr), 7);
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(MetaReaderTest, HandlersAreOwnedAndTagsAreUnique) {
    std::vector<callS> calls;
    metaReaderC reader;
    reader.addCommand(std::make_unique<recordingHandlerC>("PLANE", calls, 1));
    EXPECT_THROW(reader.addCommand(std::make_unique<recordingHandlerC>("PLANE", calls, 2)),
                 metaApiErrorC);
    EXPECT_THROW(reader.addCommand(std::make_unique<recordingHandlerC>("plane", calls, 2)),
                 metaApiErrorC);
    EXPECT_THROW(reader.addCommand(nullptr), metaApiErrorC);
    EXPECT_EQ(reader.commandCount(), 1u);
    ASSERT_NE(reader.findCommand("PLANE"), nullptr);
    EXPECT_EQ(reader.findCommand("PLANE")->getTag(), mzComStringC("PLANE"));
    EXPECT_EQ(reader.findCommand("SKETCH"), nullptr);
}

TEST_F(MetaReaderTest, HandlerErrorsPassThroughWithTheirMessage) {
    metaReaderC reader;
    reader.addCommand(std::make_unique<throwingHandlerC>());
    metaObjectC tree;
    ASSERT_TRUE(tree.ctorFromText("(BAD)"));
    try {
        reader.exeNode(tree.getTreePtr(), nullptr);
        FAIL() << "no exception";
    } catch (const metaApiErrorC& e) {
        EXPECT_EQ(e.message(), mzComStringC("cannot build \"x\""));
        EXPECT_STREQ(e.what(), "cannot build \"x\"");
    }
}

TEST_F(MetaReaderTest, CheckLocationNotifiesOnlyOnChange) {
    locationReaderC reader;
    metaObjectC tree;
    ASSERT_TRUE(tree.ctorFromText(model, "block.meta"));
    metaObjectC items(tree.findChild("ITEMS"));
    reader.checkLocation(tree.getTreePtr());
    reader.checkLocation(tree.getTreePtr());
    reader.checkLocation(items.getTreePtr());
    ASSERT_EQ(reader.seen.size(), 2u);
    EXPECT_EQ(reader.seen[0], (metaSourceLocS{"block.meta", 1, 1}));
    EXPECT_EQ(reader.seen[1], (metaSourceLocS{"block.meta", 2, 3}));
    EXPECT_EQ(reader.currentLocation(), (metaSourceLocS{"block.meta", 2, 3}));
    // A node made by code has no location and leaves the current one alone.
    metaObjectC made;
    made.ctorNewNode("PLANE");
    reader.checkLocation(made.getTreePtr());
    EXPECT_EQ(reader.seen.size(), 2u);
    EXPECT_EQ(reader.currentLocation().line, 2u);
}

} // namespace
