// A drilling of the meta model as one SolidWorks hole feature on a given face.
#pragma once

#include "libs/KvorCore/loader/com_string.h"
#include "metamodel/m3d/features.h"
#include "platform/sldworks/api/sldworks_api.h"

// The ten hole forms by tip (SINKANGLE > 0), CONIC, countersink and counterbore depth.
// Refused: a far-end counterbore or countersink; countersink with counterbore whose outer
// diameters differ (with or without a tip: the drilling's history builds that form); a
// cylindrical depth of zero or less; a conical hole whose far diameter is zero or less.
// The hole's arguments: the variant (0 to 9, -1 when refused) and the fourteen doubles of the
// creation call (-1.0 where the variant passes nothing).
struct drillingHoleArgsS {
    int variant = -1;
    double d[14] = {-1.0, -1.0, -1.0, -1.0, -1.0, -1.0, -1.0,
                    -1.0, -1.0, -1.0, -1.0, -1.0, -1.0, -1.0};
    // Variants 1 and 6 are made only without a counterbore diameter.
    bool buildable = true;
};

// Classifies the drilling and computes the arguments of its hole. Reads CONIC through the
// view, which adds an empty CONIC child when it has none.
drillingHoleArgsS drillingHoleArgs(m3dFeatDrillingC& drilling);

// Selects `face` at the drilling's start point and makes the hole. Gives the feature, or empty:
// when the face cannot be selected, a conical hole has a counterbore diameter, or SolidWorks
// makes none (no text), or when the drilling is refused (`error` gets the translated
// "Msg_3dExport_002" naming Solidworks). SolidWorks failures raise _com_error.
IFeaturePtr createDrillingFeat(IModelDoc2Ptr doc, m3dFeatDrillingC drilling, IFace2Ptr face,
                               mzComStringC& error);
