#pragma once
// 3D documents: parts and assemblies, their attributes and preferences, and the document
// operations dispatched by tag through the registry of m3dDocumentC.
//
//   (PART (NAME "Block") (PARTPREFS (UNITBASE 1.0)) (PARTATTR (CLASSIFICATIONINFO "..."))
//     (PARTLOD ..) (ANNOTATIONSETS ..) (ITEMS feature ...) (PDOC ..))
//   (ASSEMBLY (NAME "Asm") (ASMPREFS ..) (ASMATTR ..)
//     (ITEMS (PART .. (MAT 16 numbers)) (ASSEMBLY .. (MAT ..)) ...))
// An assembly's members are the document nodes among its ITEMS; a member's "MAT" places it
// in the assembly. Other document nodes among a document's own children (a parametric
// "PDOC") follow the document's operations through the registry.
//
// Deriving a document class (the parametric document does):
//     class m3dParamDocumentC : public m3dDocumentC {
//         using m3dDocumentC::m3dDocumentC;
//         int scale(double) override; int transform(const matrixC4x4<double>&) override;
//         int setUnitBase(double, int) override; m3dDocPrefsC getDocPrefs() override;
//     };
//     metaObjInterfaceRegistry<m3dDocumentC>().registerClass<m3dParamDocumentC>("PDOC", 5);
// The operations it does not override dispatch by tag, find the class itself registered
// for the tag and give their empty result.

#include "metamodel/core/creationoptions.h"
#include "metamodel/m2d/docprefs.h"
#include "metamodel/m3d/detaillevel.h"
#include "metamodel/m3d/features.h"

#include <vector>

// Document preferences of a 3D document (the length unit "UNITBASE").
class m3dDocPrefsC : public mDocumentPrefsC {
public:
    using mDocumentPrefsC::mDocumentPrefsC;
};

// Document attributes ("PARTATTR" of a part, "ASMATTR" of an assembly).
class mDocumentAttrC : public metaObjectC {
public:
    using metaObjectC::metaObjectC;
    // The string "CLASSIFICATIONINFO": the serialised classification list; empty when absent.
    mzComStringC getClassificationInfo() const { return readStringProperty("CLASSIFICATIONINFO"); }
};

class m3dDocumentC : public m3dGeomOpBaseC, public mDocumentC {
public:
    m3dDocumentC() = default;
    explicit m3dDocumentC(metaTreePtrT node, bool owns = false) : m3dGeomOpBaseC(node, owns) {}
    M3D_VIEW_REBINDERS

    // The twelve operations, in slot order: scale and transform (of m3dGeomOpBaseC), then
    // these ten. Each is dispatched by the node's tag through the registry of m3dDocumentC;
    // when the registered prototype is the object itself (a class that does not handle the
    // operation) or the tag is unknown, it does nothing and gives its empty result (0, no
    // nodes, an unbound view).
    int scale(double factor) override;
    int transform(const matrixC4x4<double>& m) override;
    // Appends the part documents (for an assembly, those of its members, recursively) to
    // out; answers how many were appended.
    virtual int collectPartDocuments(std::vector<metaTreePtrT>& out);
    // Appends this document and every member document, recursively; answers how many.
    virtual int collectDocuments(std::vector<metaTreePtrT>& out);
    // The feature of that NAME in the document's ITEMS (HISTORY children searched too).
    virtual m3dFeatGenC findFeature(const mzComStringC& name);
    // Rewrites for the target system. Not provided by the part and assembly classes here:
    // they answer 0 and leave the tree as it is.
    virtual int placeMembers();
    virtual int moveBodiesToAbsolutePlanes();
    virtual int createAlternateDrillingHistories();
    // Expands every feature pattern of the document's ITEMS into named copies of its base
    // feature and removes the pattern node; answers the number of patterns expanded.
    virtual int expandFeaturePatterns();
    // The document attributes (unbound when absent; nothing is created).
    virtual mDocumentAttrC getDocAttr();
    // Sets a new length unit: the geometry is scaled by current / unit (no current
    // "UNITBASE" counts as 1) and unit is stored. With the recursion flag, member documents
    // are converted too; without it they keep their own unit and only their placements are
    // scaled. A new or current unit that is not a finite positive number is refused (0,
    // nothing changes); the current unit again changes nothing (1).
    virtual int setUnitBase(double unit, int recursion);
    // The preferences node (created when missing).
    virtual m3dDocPrefsC getDocPrefs();
};

class m3dPartC : public m3dDocumentC {
public:
    static mzComStringC tagName() { return "PART"; }
    using m3dDocumentC::m3dDocumentC;

    // The "PARTATTR" child (unbound when absent).
    mDocumentAttrC getPartAttr() const { return mDocumentAttrC(findChild("PARTATTR")); }
    // The "ITEMS" child: the part's features in build order (unbound when absent).
    m3dFeatCollectionC getItems() const { return m3dFeatCollectionC(findChild("ITEMS")); }

    // scale / transform: every item, and the document nodes among the part's children.
    int scale(double factor) override;
    int transform(const matrixC4x4<double>& m) override;
    int collectPartDocuments(std::vector<metaTreePtrT>& out) override;
    int collectDocuments(std::vector<metaTreePtrT>& out) override;
    m3dFeatGenC findFeature(const mzComStringC& name) override;
    int expandFeaturePatterns() override;
    mDocumentAttrC getDocAttr() override { return getPartAttr(); }
    int setUnitBase(double unit, int recursion) override;
    m3dDocPrefsC getDocPrefs() override;
};

class m3dAsmC : public m3dDocumentC {
public:
    static mzComStringC tagName() { return "ASSEMBLY"; }
    using m3dDocumentC::m3dDocumentC;

    // The "ASMATTR" child (unbound when absent).
    mDocumentAttrC getAsmAttr() const { return mDocumentAttrC(findChild("ASMATTR")); }
    m3dFeatCollectionC getItems() const { return m3dFeatCollectionC(findChild("ITEMS")); }

    // scale: member placements' origins and the members themselves, other items, document
    // children. transform: member placements become MAT . m (a member without a placement
    // is transformed itself), other items and document children are transformed.
    int scale(double factor) override;
    int transform(const matrixC4x4<double>& m) override;
    int collectPartDocuments(std::vector<metaTreePtrT>& out) override;
    int collectDocuments(std::vector<metaTreePtrT>& out) override;
    m3dFeatGenC findFeature(const mzComStringC& name) override;
    int expandFeaturePatterns() override;
    mDocumentAttrC getDocAttr() override { return getAsmAttr(); }
    int setUnitBase(double unit, int recursion) override;
    m3dDocPrefsC getDocPrefs() override;
};

// The part's "PARTLOD" child (found or created).
m3dPartDetailLevelC getPartDetailLevel(metaObjectVirtualDataBaseC& part);
