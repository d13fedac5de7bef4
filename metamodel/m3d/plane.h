#pragma once
// Reference planes:
//   (PLANE (NAME "XY") (TYP "XY") (MAT 16 numbers))                    base plane
//   (PLANE (NAME "O") (TYP "OFF_TO_PLANE") (MAT ..) (PARAM 0 10.0 "XY")) offset plane:
//        PARAM holds the flip flag, the distance and the reference plane's name
//   any other TYP: a fixed plane through its own placement.

#include "metamodel/m3d/sketch.h"

class m3dPlaneC : public m3dFeatGenC {
public:
    static mzComStringC tagName() { return "PLANE"; }
    using m3dFeatGenC::m3dFeatGenC;

    // The "PARAM" child with the offset or rotation parameters (unbound when absent).
    metaObjectC getOffsetPlaneParam() const { return metaObjectC(findChild("PARAM")); }
    // Parses exactly three value children of param: a number (flip: non-zero), a number
    // (distance) and a string (the reference plane's name). 1 on success; 0 with the
    // outputs untouched otherwise.
    int getOffToPlaneData(const metaObjectVirtualDataBaseC& param, int& flip, double& distance,
                          mzComStringC& reference) const;
    bool isOffsetPlane() const { return getType() == "OFF_TO_PLANE"; }

    // scale: the origin of MAT and an offset plane's distance. transform: MAT . m.
    int scale(double factor) override;
    int transform(const matrixC4x4<double>& m) override;
};

class m3dOffsetPlaneC : public m3dPlaneC {
public:
    using m3dPlaneC::m3dPlaneC;
};
