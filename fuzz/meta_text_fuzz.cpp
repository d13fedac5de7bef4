// Fuzz target of the meta text reader: any input is parsed or refused with metaTreeErrorC;
// what parses prints to a text that parses again to an equal tree, and nothing is left alive.
#include "platform/host/metatree/metatree_api.h"
#include "platform/host/metatree/metatree_error.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    IMetaTreeApi* api = getIMetaTreeApi();
    const std::int64_t alive = api->liveNodeCount();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    metaTreePtrT tree;
    try {
        tree = api->parseText(text, "fuzz.meta");
    } catch (const metaTreeErrorC&) {
        if (api->liveNodeCount() != alive)
            std::abort(); // a refusal left nodes behind
        return 0;
    }
    try {
        const metaTreePtrT again = api->parseText(api->print(tree), "printed.meta");
        if (!api->compare(tree, again))
            std::abort(); // printing changed the tree
        api->release(again);
    } catch (const metaTreeErrorC&) {
        // print refuses what parseText would refuse again (beyond the limits): allowed.
    }
    api->release(tree);
    if (api->liveNodeCount() != alive)
        std::abort();
    return 0;
}
