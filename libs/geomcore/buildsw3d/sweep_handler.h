// The SWEEP handler: a body through the sketches the node lists in "SWEEPSKLIST" (the
// profiles, selected with mark 1 in list order) along a 3D sketch that joins the profiles'
// start points by straight lines (the path, mark 2), added for SOLIDOP 0 and cut otherwise,
// recorded in the part under the node's NAME.
//
// The path is drawn only when every listed profile gives a start point (its first loop
// starts with a line or an arc) and there are at least two of them; otherwise the sweep is
// asked for without a path, rather than along one that misses a profile. A sweep that
// SolidWorks does not make fails the node with `Error while creating sweep feature "NAME"`.
#pragma once

#include "libs/KvorMetaApi/metaread/reader.h"

class swMeta3dSweepC : public metaComC {
public:
    swMeta3dSweepC() : metaComC("SWEEP") {}
    // data: the swPartC of the build; the reader must be the build's (its creation context
    // holds the SolidWorks application for the settings guard).
    int execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) override;
};
