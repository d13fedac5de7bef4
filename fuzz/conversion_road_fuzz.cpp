// Fuzz target of the whole conversion road: a meta text that parses into a document node is
// converted as `natlinkhost convert` does it (the plug-in builds it in a simulated session and
// saves it into a scratch folder); every saved document is then opened again with the
// session's document reader and checked in. A refused or failed conversion is an answer;
// a crash, a sanitizer report, a leak, a meta node left alive, a saved document that does not
// open, or a run beyond libFuzzer's -timeout is a finding. Inputs are mutated as trees
// (meta_tree_mutator.h); a text that does not parse is mutated as bytes.
#include "fuzz/meta_tree_mutator.h"
#include "platform/host/metatree/metatree_api.h"
#include "platform/host/services/host_services.h"
#include "platform/sldworks/model/assembly_document.h"
#include "platform/sldworks/model/part_document.h"
#include "tools/natlinkhost/natlinkhost.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace {

namespace fs = std::filesystem;

fs::path scratch; // this process's own folder: the model, the documents, previews, user folder

[[noreturn]] void finding(const std::string& what, const std::string& said) {
    std::fprintf(stderr, "\nFINDING: %s\nnatlinkhost said:\n%s\n", what.c_str(), said.c_str());
    std::abort();
}

// Only a document node goes down the road; the meta text target covers the parser.
bool isDocument(std::string_view text) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    try {
        const metaTreePtrT tree = api.parseText(text, "fuzz.meta");
        const bool document = api.hasTag(tree, "PART") || api.hasTag(tree, "ASSEMBLY");
        api.release(tree);
        return document;
    } catch (const metaTreeErrorC&) {
        return false;
    }
}

// Every run starts from a fresh host and empty folders, so that runs do not depend on
// each other.
void freshHost() {
    hostsvc::resetHostServices();
    hostsvc::setUserFolderOverride(scratch / "user");
    std::error_code ignored;
    for (const char* folder : {"out", "tmp", "user"}) {
        fs::remove_all(scratch / folder, ignored);
        fs::create_directories(scratch / folder, ignored);
    }
}

int host(const std::vector<std::string>& args, std::string& said) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = natlinkhost::runNatlinkHost(args, out, err);
    said += err.str();
    return code;
}

std::vector<fs::path> savedDocuments() {
    std::vector<fs::path> documents;
    std::error_code ignored;
    for (fs::recursive_directory_iterator it(scratch / "out", ignored), end; it != end;
         it.increment(ignored)) {
        const std::string extension = it->path().extension().string();
        if (extension == ".sldprt" || extension == ".sldasm")
            documents.push_back(it->path());
    }
    std::sort(documents.begin(), documents.end());
    return documents;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    scratch = fs::temp_directory_path() / ("natlink_fuzz_road_" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    // Check-in previews go where TMP names.
    ::setenv("TMP", (scratch / "tmp").c_str(), 1);
    std::atexit([] {
        std::error_code ignored;
        fs::remove_all(scratch, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!isDocument(text))
        return 0;
    IMetaTreeApi& api = *getIMetaTreeApi();
    const std::int64_t alive = api.liveNodeCount();
    freshHost();
    const fs::path model = scratch / "model.meta";
    std::ofstream(model, std::ios::binary).write(text.data(), static_cast<std::streamsize>(size));

    std::string said;
    host({"convert", model.string(), "-o", (scratch / "out").string()}, said);
    for (const fs::path& document : savedDocuments()) {
        try {
            if (document.extension() == ".sldasm")
                swsim::AssemblyDocument::open(document.string());
            else
                swsim::PartDocument::open(document.string());
        } catch (const swsim::ModelError& refusal) {
            finding("the saved document " + document.filename().string() +
                        " does not open: " + refusal.what(),
                    said);
        }
        host({"checkin", document.string()}, said);
    }
    if (api.liveNodeCount() != alive)
        finding("the conversion left meta nodes alive", said);
    hostsvc::resetHostServices();
    return 0;
}

// Mostly tree mutations; now and then (and whenever the text does not parse) libFuzzer's own
// byte mutations, which bring in the dictionary's tags and numbers.
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t maxSize, unsigned int seed) {
    if (seed % 8 != 0) {
        const std::optional<std::string> mutant =
            natlinkfuzz::mutateMetaText({reinterpret_cast<const char*>(data), size}, seed);
        if (mutant && mutant->size() <= maxSize) {
            std::memcpy(data, mutant->data(), mutant->size());
            return mutant->size();
        }
    }
    return LLVMFuzzerMutate(data, size, maxSize);
}

extern "C" std::size_t LLVMFuzzerCustomCrossOver(const std::uint8_t* first, std::size_t firstSize,
                                                 const std::uint8_t* second, std::size_t secondSize,
                                                 std::uint8_t* out, std::size_t maxOutSize,
                                                 unsigned int seed) {
    const std::optional<std::string> child =
        natlinkfuzz::crossMetaTexts({reinterpret_cast<const char*>(first), firstSize},
                                    {reinterpret_cast<const char*>(second), secondSize}, seed);
    if (!child || child->size() > maxOutSize)
        return 0;
    std::memcpy(out, child->data(), child->size());
    return child->size();
}
