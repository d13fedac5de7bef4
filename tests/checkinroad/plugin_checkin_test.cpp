// The conversion entry's native check-in branch as a host calls it: the input formats that
// choose it, the record under OUTPUTDATA, and refusals with RESTEXT and no record.
#include "natlinksolidworks/ps_plugin.h"
#include "tests/checkinroad/checkin_road_fixture.h"
#include "tools/natlinkhost/check_in_samples.h"

namespace {

class PluginCheckin : public checkinRoadTest {
protected:
    // An options tree of the text form (owned by the returned view).
    static metaObjectC options(const std::string& inName, const std::string& format) {
        std::string tree = "(CONVERTOPTIONS";
        if (!inName.empty())
            tree += " (INNAME \"" + inName + "\")";
        return parsed(tree + " (INPUTFORMAT \"" + format + "\"))");
    }
};

TEST_F(PluginCheckin, CheckinFormatsWithAndWithoutVersionPutTheRecordInOutputData) {
    const std::string part = natlinkhost::writeSamplePart(path("samples"));
    for (const char* format : {"NATSOLIDWORKSPART2014", "NATSOLIDWORKSPART"}) {
        const metaObjectC tree = options(part, format);
        PSWPlugin plugin;
        EXPECT_EQ(plugin.convertMetaTree(tree.getTreePtr()), 0) << format;
        EXPECT_FALSE(tree.hasChild("RESTEXT")) << text(tree, "RESTEXT");
        const std::vector<metaObjectC> records =
            children(metaObjectC(tree.findChild("OUTPUTDATA")), "CHECKINOUT");
        ASSERT_EQ(records.size(), 1u) << format;
        EXPECT_EQ(text(metaObjectC(records[0].findChild("DOCUMENT")), "CADIDENT"), part);
    }
}

TEST_F(PluginCheckin, RefusalsLeaveAReasonAndNoRecord) {
    const std::string part = natlinkhost::writeSamplePart(path("samples"));
    const struct {
        std::string inName;
        std::string format;
        std::string reason;
    } cases[] = {
        {"", "NATSOLIDWORKSPART2014",
         "The native check-in has no document: INNAME is missing or empty"},
        {path("none.sldprt"), "NATSOLIDWORKSPART2014",
         "Native check-in: failed to open document " + path("none.sldprt") +
             ": the file does not exist"},
        {part, "NATSOLIDWORKSPART2016", "Unknown input format \"NATSOLIDWORKSPART2016\""},
    };
    for (const auto& c : cases) {
        const metaObjectC tree = options(c.inName, c.format);
        PSWPlugin plugin;
        EXPECT_EQ(plugin.convertMetaTree(tree.getTreePtr()), 1) << c.reason;
        EXPECT_EQ(text(tree, "RESTEXT"), c.reason);
        EXPECT_FALSE(tree.hasChild("OUTPUTDATA")) << c.reason;
    }
}

} // namespace
