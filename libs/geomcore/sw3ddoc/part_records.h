// The records that tie the meta tree's names to what a part build created in SolidWorks:
// reference planes, features and sketches. A record holds one reference on its object;
// copying a record adds one, destroying it releases it.
#pragma once

#include "libs/KvorCore/loader/com_string.h"
#include "platform/sldworks/api/sldworks_api.h"

#include <vector>

struct planeRecord {
    IRefPlanePtr plane;    // the reference plane object (specific object of a "RefPlane")
    _bstr_t swName;        // its feature's SolidWorks name when it was recorded
    mzComStringC metaName; // the meta node that asked for the plane
};

struct featureRecord {
    IFeaturePtr feature;
    mzComStringC metaName;
    _bstr_t swName;
    std::vector<_bstr_t> subNames; // names of sub-features; kept with the record
};

struct sketchRecord {
    ISketchPtr sketch;
    mzComStringC metaName;
    _bstr_t swName; // the SolidWorks feature name of the sketch
};
