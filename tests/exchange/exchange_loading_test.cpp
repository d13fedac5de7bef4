// What a process loads: building and inspecting never load
// OpenCASCADE's data exchange toolkits nor the display and image libraries behind them; the
// first copy opens the exchange module. The module is found among several places and a
// missing or foreign one is refused with each place and its reason.
#include "platform/sldworks/model/exchange_module.h"
#include "tests/natlinkhost/natlinkhost_fixture.h"

#include <link.h>

namespace {

using ExchangeLoading = natlinkHostTest;

// The loaded objects whose file name holds one of `parts`.
std::vector<std::string> loadedLike(const std::vector<std::string>& parts) {
    struct walkS {
        const std::vector<std::string>* parts;
        std::vector<std::string> found;
    } walk{&parts, {}};
    ::dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            auto* w = static_cast<walkS*>(data);
            const std::string name = info->dlpi_name != nullptr ? info->dlpi_name : "";
            for (const std::string& part : *w->parts)
                if (name.find(part) != std::string::npos)
                    w->found.push_back(name);
            return 0;
        },
        &walk);
    return walk.found;
}

const std::vector<std::string> kExchangeAndDisplay = {
    "libnatlink_exchange", "libTKXSBase", "libTKSTEP",    "libTKIGES",    "libTKSTL",
    "libTKXCAF",           "libTKCAF",    "libTKV3d",     "libTKService", "libX11",
    "libfontconfig",       "libfreetype", "libfreeimage", "libOpenEXR",   "libtiff"};

TEST_F(ExchangeLoading, ConvertAndInspectLoadNoExchangeOrDisplayLibraryTheFirstCopyOpensTheModule) {
    // Face colours: the copy goes through the XDE writer, the heaviest of the module's needs.
    ASSERT_EQ(run({"convert", sourceFile("examples/materefs.meta"), "-o", path("out")}).code, 0);
    const runS inspected = run({"inspect", path("out/MatePlate.sldprt")});
    ASSERT_EQ(inspected.code, 0) << inspected.err;
    EXPECT_EQ(loadedLike(kExchangeAndDisplay), std::vector<std::string>());

    const runS copied = run({"export", path("out/MatePlate.sldprt"), path("copy.step")});
    ASSERT_EQ(copied.code, 0) << copied.err;
    EXPECT_NE(readFile(path("copy.step")).find("COLOUR_RGB"), std::string::npos);
    EXPECT_EQ(loadedLike({"libnatlink_exchange", "libTKXDESTEP"}).size(), 2u);
}

TEST_F(ExchangeLoading, TheModuleIsTheFirstCandidateThatOpensAsOne) {
    const std::string junk = writeFile("libnatlink_exchange.so", "not a module\n");
    std::string error;
    EXPECT_EQ(swsim::detail::openExchangeModule({path("missing.so"), junk}, error), nullptr);
    EXPECT_EQ(error.rfind("the STEP, IGES and STL module libnatlink_exchange.so cannot be opened:\n"
                          "  " +
                              path("missing.so") + ": no such file\n  " + junk + ": ",
                          0),
              0u)
        << error;
    EXPECT_GT(error.size(), error.rfind(junk + ": ") + junk.size() + 2) << "no reason given";

    const swsim::exchange::Api* api =
        swsim::detail::openExchangeModule({junk, NATLINK_EXCHANGE_MODULE}, error);
    ASSERT_NE(api, nullptr) << error;
    EXPECT_EQ(api->version, swsim::exchange::kApiVersion);
}

} // namespace
