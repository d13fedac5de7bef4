// Fuzz target of the simulated session's document reader: the input as a whole file (the
// checksums must refuse it unless it is intact), then as the body of a part file of this
// version and of the version before, and of an assembly file, each behind a right file
// checksum, so that the reader of the text is exercised; shape blocks inside still need their
// own checksum. Only ModelError may come out.
#include "platform/sldworks/model/assembly_document.h"
#include "platform/sldworks/model/file_io.h"
#include "platform/sldworks/model/part_document.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

template <typename Document> void open(const std::string& text) {
    try {
        Document::openText(text, "fuzz.input");
    } catch (const swsim::ModelError&) {
        // A refusal with its reason is the expected answer to bad input.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    open<swsim::PartDocument>(text);
    open<swsim::PartDocument>(swsim::detail::sealedFile("SWSIM-PART 4", text));
    open<swsim::PartDocument>(swsim::detail::sealedFile("SWSIM-PART 3", text));
    open<swsim::AssemblyDocument>(swsim::detail::sealedFile("SWSIM-ASSEMBLY 3", text));
    return 0;
}
