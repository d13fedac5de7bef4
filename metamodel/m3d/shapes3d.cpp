#include "metamodel/m3d/shapes3d.h"

#include "metamodel/core/valueviews.h"
#include "metamodel/m3d/viewhelpers.h"

double mBaseCircle2dC::getRadius() const {
    return metaObjDoubleC(findChild("RAD")).get();
}

void scaleShapes2d(metaTreePtrT node, double f) {
    IMetaTreeApi& a = *getIMetaTreeApi();
    for (metaTreePtrT c = a.firstChild(node); !c.isNull(); c = a.nextSibling(c)) {
        if (!a.isKeyNode(c))
            continue;
        if (a.hasTag(c, "POINT"))
            scaleNumberChildren(c, f);
        else if (a.hasTag(c, "RAD"))
            scaleNumberChildren(c, f);
        else
            scaleShapes2d(c, f);
    }
}
