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
    metaObjectC threadSpecs(findChild("THSPECS"));
    return m3dAnnotationThreadSpecificationC(threadSpecs.getChildAt(0));
}

bool getThreadFeatureDiameterStartPoint(const metaObjectVirtualDataBaseC& thread,
                                        vectorC3d<double>& p) {
    return readPoint3dNode(thread.findChild("THSTARTPOINT"), p);
}

bool getThreadFeatureDiameterEndPoint(const metaObjectVirtualDataBaseC& thread,
                                      vectorC3d<double>& p) {
    return readPoint3dNode(thread.findChild("THENDPOINT"), p);
}

namespace {

// Every annotation of every set of the owner's ANNOTATIONSETS.
template <class Fn> void forEachAnnotation(metaTreePtrT owner, Fn fn) {
    IMetaTreeApi& a = *getIMetaTreeApi();
    metaTreePtrT sets = a.findChild(owner, "ANNOTATIONSETS");
    for (metaTreePtrT set = a.firstChild(sets); !set.isNull(); set = a.nextSibling(set))
        for (metaTreePtrT n = a.firstChild(set); !n.isNull(); n = a.nextSibling(n))
            if (a.isKeyNode(n))
                fn(metaObjectC(n));
}

} // namespace

void scaleAnnotationSets(metaTreePtrT owner, double f) {
    forEachAnnotation(owner, [f](const metaObjectC& annotation) {
        for (const char* key : {"POINT3D", "THSTARTPOINT", "THENDPOINT"})
            scaleNumberChildren(annotation.findChild(key), f);
        metaObjectC threadSpecs(annotation.findChild("THSPECS"));
        for (int i = 0; i < threadSpecs.countChildren(); ++i) {
            metaObjectC threadSpec(threadSpecs.getChildAt(i));
            scaleNumberProperty(threadSpec, "THDIA", f);
            scaleNumberProperty(threadSpec, "THLEN", f);
        }
    });
}

void transformAnnotationSets(metaTreePtrT owner, const matrixC4x4<double>& m) {
    forEachAnnotation(owner, [&m](const metaObjectC& annotation) {
        for (const char* key : {"POINT3D", "THSTARTPOINT", "THENDPOINT"})
            transformPointChild(annotation, key, m);
        transformDirectionChild(annotation, "VEC3D", m);
    });
}

m3dAnnotationSetsC getAnnotationSets(const metaObjectVirtualDataBaseC& view) {
    return m3dAnnotationSetsC(view.findChild(m3dAnnotationSetsC::tagName()));
}

m3dAnnotationSetC getThreadAnnotationSet(const metaObjectVirtualDataBaseC& feature) {
    const m3dAnnotationSetsC sets = getAnnotationSets(feature);
    return m3dAnnotationSetC(sets.findChild(m3dAnnotationSetThreadC::tagName()));
}

vectorC3d<double> getAnnotationVector3(const metaObjectVirtualDataBaseC& annotation) {
    vectorC3d<double> v;
    if (!readPoint3dNode(annotation.findChild("VEC3D"), v))
        return {};
    return v;
}
