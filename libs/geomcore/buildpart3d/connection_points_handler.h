// The CONNPOINTS handler of the part build: each connection point
//   (CONNPOINTS (CONNPOINT (NAME "CP1") (MAT x-axis 0  y-axis 0  normal 0  origin 1)))
// becomes a fixed plane "<name> XY" through the origin of its MAT (X and Y its axes) and a
// sketch named after the connection point that holds one point at that origin: what the
// mate references of the part find by the connection point's name. A connection point that
// cannot be built is noted as a failed item; the others are built.
#pragma once

#include "libs/KvorMetaApi/metaread/reader.h"

class swMeta3dConnPointsC : public metaComC {
public:
    swMeta3dConnPointsC() : metaComC("CONNPOINTS") {}
    // data: the swPartC being built. Answers the number of connection points built.
    int execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) override;
};
