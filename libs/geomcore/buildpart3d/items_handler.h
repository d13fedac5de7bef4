// The ITEMS handler: hands every feature node of a part's ITEMS to the handler registered
// for its tag. A handler that fails has shown its creation warning and thrown; the loop
// logs the failure, notes the item in the creation context and goes on with the next item.
// An item whose tag has no handler is noted as failed too.
#pragma once

#include "libs/KvorMetaApi/metaread/reader.h"

class swMeta3dItemsC : public metaComC {
public:
    swMeta3dItemsC() : metaComC("ITEMS") {}
    // data: the swPartC of the build, handed on to every item's handler. Answers the number
    // of items that failed.
    int execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) override;
};
