// The BASE and CUT handlers: an extruded or revolved body feature (added or cut) from the
// sketch the node names in "USED", recorded in the part under the node's NAME (a cut of a
// drilling's history under the drilling's NAME), with the node's cosmetic threads.
// A failure is shown as a creation warning and thrown as errorC; nothing is recorded then
// and the part's first-feature flag keeps its value.
#pragma once

#include "libs/KvorMetaApi/metaread/reader.h"

class swMeta3dBaseC : public metaComC {
public:
    swMeta3dBaseC() : metaComC("BASE") {}
    // data: the swPartC of the build.
    int execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) override;
};

class swMeta3dCutC : public metaComC {
public:
    swMeta3dCutC() : metaComC("CUT") {}
    // data: the swPartC of the build.
    int execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) override;
};
