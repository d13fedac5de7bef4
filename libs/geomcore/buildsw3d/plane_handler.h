// The PLANE handler: makes sure that the reference plane of a PLANE node exists in the part
// and is recorded under the node's name. Base planes ("XY", "ZX", "YZ") must already be
// recorded (the template's planes); "OFF_TO_PLANE" creates a plane at a distance from a
// reference plane; any other type creates a fixed plane through the node's placement.
// A failure is shown as a creation warning and thrown as errorC.
#pragma once

#include "libs/KvorMetaApi/metaread/reader.h"

class swMeta3dPlaneC : public metaComC {
public:
    swMeta3dPlaneC() : metaComC("PLANE") {}
    // data: the swPartC of the build.
    int execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) override;
};
