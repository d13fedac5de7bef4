// Fuzz target of the whole conversion road, walked as a user walks it: a meta text that parses
// into a document node is converted as `natlinkhost convert` does it, once as it is and once
// with creation options (its own CREAOPTS moved out into an options file, else options that
// turn every option-driven path on); every saved document is then inspected, checked in, and
// exported as STEP and as STL, each command reading it again. A refused or failed conversion
// or export is an answer; a crash, a sanitizer report, a leak, a meta node left alive, a saved
// document the check-in cannot read, an export that says it succeeded but holds no shape or a
// number that is not finite, or a run beyond libFuzzer's -timeout is a finding. Inputs are
// mutated as trees (meta_tree_mutator.h), foreign payloads as the text files they are; a text
// that does not parse is mutated as bytes.
#include "fuzz/export_checks.h"
#include "fuzz/meta_tree_mutator.h"
#include "platform/host/metatree/metatree_api.h"
#include "platform/host/services/host_services.h"
#include "platform/sldworks/model/import_limits.h"
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
    for (const char* folder : {"out", "out-options", "exports", "tmp", "user"}) {
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

std::vector<fs::path> savedDocuments(const fs::path& folder) {
    std::vector<fs::path> documents;
    std::error_code ignored;
    for (fs::recursive_directory_iterator it(folder, ignored), end; it != end;
         it.increment(ignored)) {
        const std::string extension = it->path().extension().string();
        if (extension == ".sldprt" || extension == ".sldasm")
            documents.push_back(it->path());
    }
    std::sort(documents.begin(), documents.end());
    return documents;
}

std::string fileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every document the conversion saved into `folder`: inspected, checked in and exported both
// ways, each command reading it again as a user's would. The check-in reads every document the
// session saves: one it refuses (saying why) is a saved document that cannot be read back.
void walkSaved(const fs::path& folder, std::string& said) {
    for (const fs::path& document : savedDocuments(folder)) {
        host({"inspect", document.string()}, said);
        if (host({"checkin", document.string()}, said) != 0)
            finding("the saved document " + document.filename().string() + " cannot be checked in",
                    said);
        for (const char* extension : {".step", ".stl"}) {
            const fs::path copy = scratch / "exports" / (document.stem().string() + extension);
            std::error_code ignored;
            fs::remove(copy, ignored);
            if (host({"export", document.string(), copy.string()}, said) != 0)
                continue;
            if (const std::string why = natlinkfuzz::exportProblem(extension, fileBytes(copy));
                !why.empty())
                finding("the export " + copy.filename().string() + " of " +
                            document.filename().string() + " succeeded but " + why,
                        said);
        }
    }
}

// Creation options that turn the option-driven paths on, for a document without its own.
const char* const kOptions = R"((CREAOPTS (CREAOPTSETS
  (CREAOPTSET (NAME "SketchMode") (TYP "INT") (VAL "1"))
  (CREAOPTSET (NAME "Multibodysolid") (TYP "INT") (VAL "1"))
  (CREAOPTSET (NAME "CreateMateReferences") (TYP "INT") (VAL "0"))
  (CREAOPTSET (NAME "CreateLOD") (TYP "INT") (VAL "1"))
  (CREAOPTSET (NAME "CreateEmptyLODConfiguration") (TYP "INT") (VAL "1")))))";

// The model and options of the conversion with options: the document's own CREAOPTS moved
// out of it into the options, else kOptions beside the model as it is. False when the texts
// cannot be made (a tree the printer refuses).
bool withOptions(std::string_view text, std::string& model, std::string& options) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    const metaTreePtrT tree = api.parseText(text, "fuzz.meta");
    const metaTreePtrT own = api.findChild(tree, "CREAOPTS");
    const bool moved = !own.isNull() && api.unlink(own);
    bool made = true;
    try {
        options = moved ? api.print(own, metaPrintStyle::compact) : std::string(kOptions);
        model = api.print(tree, metaPrintStyle::compact);
    } catch (const metaTreeErrorC&) {
        made = false;
    }
    if (moved)
        api.release(own);
    api.release(tree);
    return made;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    scratch = fs::temp_directory_path() / ("natlink_fuzz_road_" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    // Check-in previews go where TMP names.
    ::setenv("TMP", (scratch / "tmp").c_str(), 1);
    // A foreign payload is read in a child process under these limits: a stuck reader must
    // end well within -timeout, and a runaway one below -rss_limit_mb (whose allocations
    // libFuzzer would take for the target's own).
    swsim::setImportLimits({1.0, std::size_t{512} << 20});
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
    walkSaved(scratch / "out", said);

    std::string modelText;
    std::string optionsText;
    if (withOptions(text, modelText, optionsText)) {
        const fs::path modelOnly = scratch / "model-without-options.meta";
        const fs::path options = scratch / "options.meta";
        std::ofstream(modelOnly, std::ios::binary) << modelText;
        std::ofstream(options, std::ios::binary) << optionsText;
        host({"--options", options.string(), "convert", modelOnly.string(), "-o",
              (scratch / "out-options").string()},
             said);
        walkSaved(scratch / "out-options", said);
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
