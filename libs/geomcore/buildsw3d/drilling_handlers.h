// The DRILLING handler and the HISTORY handler it falls back to.
//
// A drilling becomes a hole feature on the planar face at its start point, recorded under
// its NAME with its cosmetic threads. When there is no such face or SolidWorks cannot make
// the hole, the drilling's alternate history (its HISTORY child, an equivalent construction
// of sketches and cuts) is built instead; its cuts are recorded under the drilling's NAME.
// A drilling from which neither builds anything fails with a creation warning and errorC.
#pragma once

#include "libs/KvorMetaApi/metaread/reader.h"

class sw3dFeatDrillingC : public metaComC {
public:
    sw3dFeatDrillingC() : metaComC("DRILLING") {}
    // data: the swPartC of the build.
    int execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) override;
};

// Hands every item of a HISTORY to the handler of its tag, in order; the first failure
// leaves it (the history is one construction). Answers the number of items handed on.
class sw3dDrillingHistoryC : public metaComC {
public:
    sw3dDrillingHistoryC() : metaComC("HISTORY") {}
    int execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) override;
};
