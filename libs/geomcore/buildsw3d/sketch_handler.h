// The SKETCH handler: turns a SKETCH node into a sketch of the part being built. It selects
// what the node's SKETCHON names (a recorded reference plane, or a planar face found by point
// and normal), falling back to a new fixed plane through the node's placement when that
// cannot be found or selected; opens a sketch there, draws the node's loops (createSketch),
// records the sketch under the node's NAME, constrains it by the "SketchMode" creation option
// and closes it.
//
// Failures to open or to close the sketch are shown as creation warnings
// (`Error while creating sketch "NAME"`, `Could not finish sketch "NAME"`) and thrown as
// errorC; a failure of the constraint walk is logged and the sketch is closed all the same.
#pragma once

#include "libs/KvorMetaApi/metaread/reader.h"

class swMeta3dSketchC : public metaComC {
public:
    swMeta3dSketchC() : metaComC("SKETCH") {}
    // data: the swPartC of the build.
    int execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) override;
};
