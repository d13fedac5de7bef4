// What a process loads: building and inspecting never load OpenCASCADE's data exchange
// toolkits, nor its offset toolkit unless a part has drafts or lofts; an STL copy opens the STL
// module alone, and only a STEP copy with colours the XDE module with the display and image
// libraries behind it. A module is found among several places, and a missing or foreign one is
// refused with each place and its reason.
#include "platform/sldworks/model/modules.h"
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

const std::vector<std::string> kDisplayAndImage = {
    "libnatlink_xde", "libTKXCAF",    "libTKV3d",   "libTKService", "libX11", "libfontconfig",
    "libfreetype",    "libfreeimage", "libOpenEXR", "libtiff",      "libpng", "libjpeg"};
const std::vector<std::string> kExchange = {"libnatlink_exchange", "libnatlink_stl", "libTKXSBase",
                                            "libTKSTEP",           "libTKIGES",      "libTKSTL"};
const std::vector<std::string> kOffset = {"libnatlink_offset", "libTKOffset", "libTKFillet",
                                          "libTKBool"};

TEST_F(ExchangeLoading, ConvertAndInspectLoadNoExchangeLibraryOnlyAColouredCopyLoadsDisplayOnes) {
    ASSERT_EQ(run({"convert", sourceFile("examples/materefs.meta"), "-o", path("out")}).code, 0);
    const runS inspected = run({"inspect", path("out/MatePlate.sldprt")});
    ASSERT_EQ(inspected.code, 0) << inspected.err;
    EXPECT_EQ(loadedLike(kExchange), std::vector<std::string>());
    EXPECT_EQ(loadedLike(kDisplayAndImage), std::vector<std::string>());
    EXPECT_EQ(loadedLike(kOffset), std::vector<std::string>());

    // An STL copy (as the check-in's previews) opens the STL module alone.
    runS copied = run({"export", path("out/MatePlate.sldprt"), path("copy.stl")});
    ASSERT_EQ(copied.code, 0) << copied.err;
    EXPECT_EQ(loadedLike({"libnatlink_stl", "libTKSTL"}).size(), 2u);
    EXPECT_EQ(loadedLike(kExchange).size(), 2u) << "more than STL";
    EXPECT_EQ(loadedLike(kDisplayAndImage), std::vector<std::string>());

    // The part has coloured faces: its STEP copy goes through XDE.
    copied = run({"export", path("out/MatePlate.sldprt"), path("copy.step")});
    ASSERT_EQ(copied.code, 0) << copied.err;
    EXPECT_NE(readFile(path("copy.step")).find("COLOUR_RGB"), std::string::npos);
    EXPECT_EQ(loadedLike({"libnatlink_xde", "libTKXDESTEP"}).size(), 2u);
}

// The handle's swept body opens the offset module, and no exchange module.
TEST_F(ExchangeLoading, DraftsAndLoftsOpenTheOffsetModule) {
    const runS converted = run({"convert", sourceFile("examples/handle.meta"), "-o", path("out")});
    ASSERT_EQ(converted.code, 0) << converted.err;
    EXPECT_EQ(loadedLike(kOffset).size(), 4u);
    EXPECT_EQ(loadedLike(kExchange), std::vector<std::string>());
}

TEST_F(ExchangeLoading, AModuleIsTheFirstCandidateThatOpensAsOne) {
    const std::string junk = writeFile("libnatlink_exchange.so", "not a module\n");
    const std::string file = "libnatlink_exchange.so";
    const char* entry = "natlink_exchange_api";
    const int version = swsim::exchange::kApiVersion;
    std::string error;
    EXPECT_EQ(swsim::detail::openModule(file, entry, {path("missing.so"), junk}, version, error),
              nullptr);
    EXPECT_EQ(error.rfind("the module libnatlink_exchange.so cannot be opened:\n  " +
                              path("missing.so") + ": no such file\n  " + junk + ": ",
                          0),
              0u)
        << error;
    EXPECT_GT(error.size(), error.rfind(junk + ": ") + junk.size() + 2) << "no reason given";

    // The other module answers no such table.
    EXPECT_EQ(swsim::detail::openModule(file, entry, {NATLINK_XDE_MODULE}, version, error),
              nullptr);
    EXPECT_NE(error.find(std::string(NATLINK_XDE_MODULE) + ": no natlink_exchange_api"),
              std::string::npos)
        << error;

    const void* table =
        swsim::detail::openModule(file, entry, {junk, NATLINK_EXCHANGE_MODULE}, version, error);
    ASSERT_NE(table, nullptr) << error;
    EXPECT_EQ(static_cast<const swsim::exchange::Api*>(table)->version,
              swsim::exchange::kApiVersion);
}

} // namespace
