#pragma once
// Feature views of a part's items: the common feature base (m3dFeatGenC), feature
// collections and the lookup by name, body features (BASE, CUT; extrusion and revolution),
// drillings, foreign features and sweeps.
//
//   (BASE (NAME "B1") (TYP "EXTRUDE") (USED "S1") (PARAM 25.0 0 1) (EXTDFTANGLE 2.0))
//   (DRILLING (NAME "D1") (STARTPOINT 0 0 10) (DIRECTION 0 0 -1) (DIAMETER 6) (DEPTH 12)
//             (HISTORY (SKETCH ..) (CUT ..)))
//   (FOEFEAT (NAME "F1") (FEATINFO (FILENAME "x.step")) (FEATDATA #"..."))
//   (SWEEP (NAME "W1") (SWEEPSKLIST "Profile" "Path") (SOLIDOP 0))

#include "metamodel/core/listviews.h"
#include "metamodel/core/valueviews.h"
#include "metamodel/m3d/geomop.h"
#include "metamodel/m3d/shapes3d.h"

class m3dFeatGenC;

// A feature collection: a node whose children are features (a part's ITEMS, a HISTORY).
class m3dFeatCollectionC : public metaObjKeyContainerC {
public:
    using metaObjKeyContainerC::metaObjKeyContainerC;
};

// The feature of that NAME among the collection's children, searching the children of
// their HISTORY children too (depth first, in document order); unbound when there is none.
// An empty name finds nothing: a nameless feature is no answer to a lookup.
m3dFeatGenC findFeatureByName(const metaObjectVirtualDataBaseC& collection,
                              const mzComStringC& name);

// Base of every feature view (planes, sketches, bodies, drillings, patterns, ...).
class m3dFeatGenC : public m3dGeomOpBaseC {
public:
    m3dFeatGenC() = default;
    explicit m3dFeatGenC(metaTreePtrT node, bool owns = false) : m3dGeomOpBaseC(node, owns) {}
    M3D_VIEW_REBINDERS

    // The collection that holds the feature (its parent node); empty without a node.
    m3dFeatCollectionC getOwnerCollection() const;
    // The "TYP" string; empty when absent.
    mzComStringC getType() const { return readStringProperty("TYP"); }
};

// Body features: extrusions and revolutions, added (BASE) or cut (CUT).
class m3dFeatBodyC : public m3dFeatGenC {
public:
    using m3dFeatGenC::m3dFeatGenC;

    // The "USED" string: the name of the sketch the feature is built from.
    mzComStringC getUsed() const { return readStringProperty("USED"); }
    bool isExtrude() const { return getType() == "EXTRUDE"; }
    bool isRotate() const { return getType() == "ROTATE"; }
    // The "PARAM" child (unbound when absent): a vector of three doubles whose first child
    // is the extrusion depth or the revolution angle in degrees.
    metaObjectC getParamField() const { return metaObjectC(findChild("PARAM")); }
    // The first child of PARAM as a double node (unbound when absent).
    metaObjDoubleNodeC getParamVector() const;
    // The PARAM vector reduced to an axis: 2 when z is exactly 1.0, else 1 when y is exactly
    // 1.0, else 0 (a PARAM that is not three numbers counts as (0, 0, 0)).
    int getParamAxisIndex() const;

    // Extrusions scale their depth; revolutions have no length. The placement lies in the
    // feature's sketch, so transform moves only the feature's annotation sets.
    int scale(double factor) override;
    int transform(const matrixC4x4<double>& m) override;
};

class m3dFeatBaseC : public m3dFeatBodyC {
public:
    static mzComStringC tagName() { return "BASE"; }
    using m3dFeatBodyC::m3dFeatBodyC;
};

class m3dFeatCutC : public m3dFeatBodyC {
public:
    static mzComStringC tagName() { return "CUT"; }
    using m3dFeatBodyC::m3dFeatBodyC;
};

class m3dFeatExtrudeC : public m3dFeatBodyC {
public:
    using m3dFeatBodyC::m3dFeatBodyC;
    // "EXTDFTANGLE", the draft angle in degrees; 0.0 when absent.
    double getDraftAngle() const { return metaObjDoubleC(findChild("EXTDFTANGLE")).get(); }
};

class m3dFeatRotateC : public m3dFeatBodyC {
public:
    using m3dFeatBodyC::m3dFeatBodyC;
};

// The alternate history of a drilling: a feature collection.
class m3dFeatHistoryC : public m3dFeatCollectionC {
public:
    static mzComStringC tagName() { return "HISTORY"; }
    using m3dFeatCollectionC::m3dFeatCollectionC;
};

class m3dFeatDrillingC : public m3dFeatGenC {
public:
    static mzComStringC tagName() { return "DRILLING"; }
    using m3dFeatGenC::m3dFeatGenC;

    // A view of the same node as other, sharing other's ownership of it. With owns set and
    // other not owning the node, the view takes ownership (released at its end when the
    // node has no parent then).
    void ctorCopy(const metaObjectVirtualDataBaseC& other, int owns = 0) {
        metaObjectVirtualDataBaseC::operator=(other);
        if (owns && isValid() && !ownsNode())
            attach(getTreePtr(), true);
    }

    // Double properties; 0.0 when absent.
    double getDepth() const { return number("DEPTH"); }
    double getDiameter() const { return number("DIAMETER"); }
    double getCounterboreDepth() const { return number("COUNTERBOREDEPTH"); }
    double getCounterboreDiameter() const { return number("COUNTERBOREDIAMETER"); }
    double getCountersinkDepth() const { return number("COUNTERSINKDEPTH"); }
    double getCountersinkAngle() const { return number("COUNTERSINKANGLE"); }
    double getEndCounterboreDiameter() const { return number("ENDCOUNTERBOREDIAMETER"); }
    double getEndCountersinkDepth() const { return number("ENDCOUNTERSINKDEPTH"); }
    // "CONIC": the child is found or appended (an empty one when absent), read as a number
    // and truncated; 0 with found false when it holds none.
    std::int32_t getConic(bool* found = nullptr);
    double getSinkAngle(bool* found = nullptr) const { return number("SINKANGLE", found); }
    double getConeAngle(bool* found = nullptr) const { return number("CONEANGLE", found); }
    // "STARTPOINT" / "DIRECTION": three doubles; false (zero) when malformed.
    bool getStartPoint(vectorC3d<double>& p) const;
    bool getDirection(vectorC3d<double>& d) const;
    // The "HISTORY" child, created when missing.
    m3dFeatHistoryC getHistory();

    // Lengths (depths, diameters, the start point) scale, angles stay; the start point and
    // direction move with transform. The alternate history follows in both.
    int scale(double factor) override;
    int transform(const matrixC4x4<double>& m) override;

private:
    double number(const char* key, bool* found = nullptr) const {
        return metaObjDoubleC(findChild(key)).get(found);
    }
};

class m3dFeatForeignC : public m3dFeatGenC {
public:
    static mzComStringC tagName() { return "FOEFEAT"; }
    using m3dFeatGenC::m3dFeatGenC;

    // The "FEATINFO" child (unbound when absent).
    metaObjectC getForeignInfo() const { return metaObjectC(findChild("FEATINFO")); }
    // Writes the payload of "FEATDATA" to the file at path; 1 on success, 0 otherwise.
    int getForeignData(const mzComStringC& path) const;

    // The geometry is another system's file: it can be neither scaled nor moved here.
    int scale(double) override { return 0; }
    int transform(const matrixC4x4<double>&) override { return 0; }
};

class m3dFeatSweepC : public m3dFeatGenC {
public:
    static mzComStringC tagName() { return "SWEEP"; }
    using m3dFeatGenC::m3dFeatGenC;

    // The "SWEEPSKLIST" child: the names of the sketches swept (unbound when absent).
    metaObjListStrContainerC getSweepSketchList() const {
        return metaObjListStrContainerC(findChild("SWEEPSKLIST"));
    }
    // A sweep only names its sketches, which carry the geometry.
    int scale(double) override { return 1; }
    int transform(const matrixC4x4<double>&) override { return 1; }
};

// Scale / transform of every child of a collection node through the tag dispatch; the
// children's own answers are not summed up (a child that cannot follow is left as it is).
void scaleChildren(metaTreePtrT collection, double factor);
void transformChildren(metaTreePtrT collection, const matrixC4x4<double>& m);
