#pragma once
// Annotation sets of documents and features:
//   (ANNOTATIONSETS
//     (ANNOTATIONSETFACE
//       (ANNOTATIONFACE (FACD "(RCCLASSINSTANCE ...)") (POINT3D x y z) (VEC3D nx ny nz)))
//     (ANNOTATIONSETTHREAD
//       (ANNOTATIONTHREAD (THSPECS (THSPEC (THDIA 8.0) (THLEN 12.0)))
//         (THSTARTPOINT x y z) (THENDPOINT x y z) (THDESC "M8") (THDIR 0))))
// A set's annotations are its children; a set's kind is its tag.

#include "metamodel/core/listviews.h"
#include "metamodel/m3d/geom3d.h"

class m3dAnnotationC : public metaObjectC {
public:
    using metaObjectC::metaObjectC;
};

class m3dAnnotationFaceC : public m3dAnnotationC {
public:
    static mzComStringC tagName() { return "ANNOTATIONFACE"; }
    using m3dAnnotationC::m3dAnnotationC;
    // The "FACD" text: a serialised class instance; empty when absent.
    mzComStringC getFacd() const { return readStringProperty("FACD"); }
};

class m3dAnnotationThreadSpecificationC : public metaObjectC {
public:
    static mzComStringC tagName() { return "THSPEC"; }
    using metaObjectC::metaObjectC;
    // "THDIA" / "THLEN"; 0.0 when absent.
    double getThDia() const;
    double getThLen() const;
};

class m3dAnnotationThreadC : public m3dAnnotationC {
public:
    static mzComStringC tagName() { return "ANNOTATIONTHREAD"; }
    using m3dAnnotationC::m3dAnnotationC;
    // The first child of the thread description container "THSPECS" (unbound when none).
    m3dAnnotationThreadSpecificationC getThreadSpecification() const;
};

// "THSTARTPOINT" / "THENDPOINT" of a thread annotation: three doubles; false (zero) when
// missing or malformed.
bool getThreadFeatureDiameterStartPoint(const metaObjectVirtualDataBaseC& thread,
                                        vectorC3d<double>& p);
bool getThreadFeatureDiameterEndPoint(const metaObjectVirtualDataBaseC& thread,
                                      vectorC3d<double>& p);

class m3dAnnotationSetC : public metaObjListContainerC {
public:
    using metaObjListContainerC::metaObjListContainerC;
    int countAnnotations() const { return count(); }
    // The index-th annotation (child); unbound when out of range.
    m3dAnnotationC getAnnotationAt(int index) const { return m3dAnnotationC(getAt(index)); }
};

class m3dAnnotationSetFaceC : public m3dAnnotationSetC {
public:
    static mzComStringC tagName() { return "ANNOTATIONSETFACE"; }
    using m3dAnnotationSetC::m3dAnnotationSetC;
};

class m3dAnnotationSetThreadC : public m3dAnnotationSetC {
public:
    static mzComStringC tagName() { return "ANNOTATIONSETTHREAD"; }
    using m3dAnnotationSetC::m3dAnnotationSetC;
};

// The "ANNOTATIONSETS" list: its children are the sets.
class m3dAnnotationSetsC : public metaObjListContainerC {
public:
    static mzComStringC tagName() { return "ANNOTATIONSETS"; }
    using metaObjListContainerC::metaObjListContainerC;
    m3dAnnotationSetC getSetAt(int index) const { return m3dAnnotationSetC(getAt(index)); }
};

// Scale / transform of the annotation sets of a document or feature node: thread
// diameters, lengths and end points, face annotation points; transform moves the points
// and turns the directions (VEC3D).
void scaleAnnotationSets(metaTreePtrT owner, double f);
void transformAnnotationSets(metaTreePtrT owner, const matrixC4x4<double>& m);

// The three doubles of an annotation's "VEC3D" child; the zero vector when it does not hold
// exactly three numbers.
vectorC3d<double> getAnnotationVector3(const metaObjectVirtualDataBaseC& annotation);

// The "ANNOTATIONSETS" child of a document (or feature) node; unbound when absent.
m3dAnnotationSetsC getAnnotationSets(const metaObjectVirtualDataBaseC& view);
// The thread annotation set ("ANNOTATIONSETTHREAD") among the feature's ANNOTATIONSETS;
// unbound when the feature has none.
m3dAnnotationSetC getThreadAnnotationSet(const metaObjectVirtualDataBaseC& feature);
