#include "metamodel/m3d/annotations.h"

#include "metamodel/core/valueviews.h"
#include "metamodel/m3d/viewhelpers.h"

double m3dAnnotationThreadSpecificationC::getThDia() const {
    return metaObjDoubleC(findChild("THDIA")).get();
}

double m3dAnnotationThreadSpecificationC::getThLen() const {
    return metaObjDoubleC(findChild("THLEN")).get();
}

m3dAnnotationThreadSpecificationC m3dAnnotationThreadC::getThreadSpecification() const {
    metaObjectC specs(findChild("THSPECS"));
    return m3dAnnotationThreadSpecificationC(specs.getChildAt(0));
}

bool getThreadFeatureDiameterStartPoint(const metaObjectVirtualDataBaseC& thread,
                                        vectorC3d<double>& p) {
    return readPoint3dNode(thread.findChild("THSTARTPOINT"), p);
}

bool getThreadFeatureDiameterEndPoint(const metaObjectVirtualDataBaseC& thread,
                                      vectorC3d<double>& p) {
    return readPoint3dNode(thread.findChild("THENDPOINT"), p);
}

m3dAnnotationSetsC getAnnotationSets(const metaObjectVirtualDataBaseC& view) {
    return m3dAnnotationSetsC(view.findChild(m3dAnnotationSetsC::tagName()));
}

m3dAnnotationSetC getThreadAnnotationSet(const metaObjectVirtualDataBaseC& feature) {
    const m3dAnnotationSetsC sets = getAnnotationSets(feature);
    return m3dAnnotationSetC(sets.findChild(m3dAnnotationSetThreadC::tagName()));
}
