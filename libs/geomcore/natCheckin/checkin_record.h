// The check-in record: the catalogue's description of one native document and everything it
// references, and the views with which the check-in writes it.
//
//   (CHECKINOUT
//     (HEADER (DESTPRJDIR "..."))                       ; DESTPRJDIR only when given
//     (DOCUMENT
//       (USEDFILES "/p/a.sldprt" "/tmp/previewXXXX.bmp" ...) (WANTFILES "/p/a.sldprt")
//       (EXTENSION "sldprt") (UNITBASE 1.0) (CADIDENT "/p/a.sldprt") (DEFAULTNB "$IDNR.")
//       (CADSYSTEM "SolidWorks") (PREVIEW "...bmp") (PREVIEW3D "...stl") (SHOW3D 1)
//       (BITMAPS "...bmp" "...stl") (VIEWNAMES "2D" "3D")
//       (VARIABLES (VAR (VARNAME "IDNR") (VARTYPE "T") (VARDESC "Identification number")) ...)
//       (CURVARSET (VAR (VARNAME "IDNR") (VARVALUE "Default")) ...)
//       (VARSETTABLE (VARSET (VAR (VARNAME "IDNR") (VARVALUE "Long")) ...) ...)
//       (VARIANTS (VARIANT (VARNAME "IDNR") (VARVALUE "Long") (PREVIEW ..) (PREVIEW3D ..)
//                          (BITMAPS ..)) ...)
//       (MEMBERS (DOCUMENT ...) ...)))
//
// Field setters get or add their child and overwrite its value (never a second child of the
// same key); get... accessors create a missing child; view copies share the node.
#pragma once

#include "metamodel/core/pshell.h"

// Marks the constructors that create a new (stand-alone, view-owned) node of their key.
struct pShellNewNodeT {
    explicit pShellNewNodeT() = default;
};
inline constexpr pShellNewNodeT pShellNewNode{};

// BITMAPS: native paths of the previews.
class pShellDocBitmapsFilesC : public metaObjListStrContainerC {
public:
    static mzComStringC keyName() { return "BITMAPS"; }
    using metaObjListStrContainerC::metaObjListStrContainerC;
    explicit pShellDocBitmapsFilesC(pShellNewNodeT) { ctorNewNode(keyName()); }
};

// VIEWNAMES: "2D" or "3D", one per BITMAPS entry.
class pShellDocViewNamesC : public metaObjListStrContainerC {
public:
    static mzComStringC keyName() { return "VIEWNAMES"; }
    using metaObjListStrContainerC::metaObjListStrContainerC;
};

// A VAR description of the VARIABLES set.
class pShellVarDescC : public pShellVarBaseC {
public:
    using pShellVarBaseC::pShellVarBaseC;
    explicit pShellVarDescC(const pShellVarBaseC& var) : pShellVarDescC(var.getTreePtr()) {}

    bool setVarType(const mzComStringC& type); // "VARTYPE": "T" text, "Z" number
    bool setVarUnit(const mzComStringC& unit); // "VARUNIT"
    bool setVarDesc(const mzComStringC& text); // "VARDESC"
    bool setVarPrec(double precision);         // "VARPREC"
    bool setVarHidden(std::int32_t hidden);    // "VARHIDDEN"
};

// VARIABLES: the variable descriptions of a document.
class pShellVariableSetC : public pShellVarDescSetBaseC {
public:
    static mzComStringC keyName() { return "VARIABLES"; }
    using pShellVarDescSetBaseC::pShellVarDescSetBaseC;

    // The description named `name`, appended (with that VARNAME) when there is none; added
    // tells which.
    pShellVarDescC findOrAddVarDesc(const mzComStringC& name, bool* added = nullptr);
};

// VARSET: one line of the variable table, a value set like CURVARSET.
class pShellVarTabLineC : public pShellVarValueSetBaseC {
public:
    static mzComStringC keyName() { return "VARSET"; }
    using pShellVarValueSetBaseC::pShellVarValueSetBaseC;

    // The same node as a CURVARSET view, for the writers that fill both.
    pShellCurVarSetC asCurVarSet() const { return pShellCurVarSetC(getTreePtr()); }
};

// VARSETTABLE: one line per further configuration.
class pShellVarTableC : public pShellBaseC {
public:
    static mzComStringC keyName() { return "VARSETTABLE"; }
    using pShellBaseC::pShellBaseC;
    explicit pShellVarTableC(pShellNewNodeT) { ctorNewNode(keyName()); }

    pShellVarTabLineC addLine();
    int countLines() const;
};

// VARIANT: a configuration with previews of its own.
class pShellVariantC : public pShellVarValueC {
public:
    static mzComStringC keyName() { return "VARIANT"; }
    using pShellVarValueC::pShellVarValueC;

    // Makes the variant's BITMAPS a copy of the stand-alone list.
    bool setBitmaps(const pShellDocBitmapsFilesC& bitmaps);
};

// VARIANTS: the variants of a document.
class pShellVariantsC : public pShellBaseC {
public:
    static mzComStringC keyName() { return "VARIANTS"; }
    using pShellBaseC::pShellBaseC;
    explicit pShellVariantsC(pShellNewNodeT) { ctorNewNode(keyName()); }

    pShellVariantC addVariant();
};

// DOCUMENT: the record of one document.
class pShellDocCheckinC : public pShellDocBaseC {
public:
    using pShellDocBaseC::pShellDocBaseC;
    explicit pShellDocCheckinC(pShellNewNodeT) { ctorNewNode(keyName()); }

    bool setCadSystem(const mzComStringC& key);  // "CADSYSTEM"
    bool setCadIdent(const mzComStringC& path);  // "CADIDENT"
    bool setDefaultNb(const mzComStringC& text); // "DEFAULTNB"
    bool setExtension(const mzComStringC& ext);  // "EXTENSION"
    bool setShow3D(std::int32_t show);           // "SHOW3D"
    bool setUnitBase(double millimetresPerUnit); // "UNITBASE"

    pShellDocBitmapsFilesC getBitmaps();
    pShellDocViewNamesC getViewNames();
    pShellVariableSetC getVariables();
    pShellVarTableC getVarTable();
    pShellVariantsC getVariants();
    // Replace the record's VARSETTABLE / VARIANTS by a copy of a stand-alone node.
    bool setVarTable(const pShellVarTableC& table);
    bool setVariants(const pShellVariantsC& variants);
};

// HEADER: the global header of a check-in.
class pShellGlobalHeaderC : public pShellBaseC {
public:
    static mzComStringC keyName() { return "HEADER"; }
    using pShellBaseC::pShellBaseC;
    explicit pShellGlobalHeaderC(pShellNewNodeT) { ctorNewNode(keyName()); }

    bool setDestPrjDir(const mzComStringC& folder); // "DESTPRJDIR"
};

// CHECKINOUT: the result of a check-in. A default-constructed header is unbound: no result.
class pShellHeaderC : public pShellBaseC {
public:
    static mzComStringC keyName() { return "CHECKINOUT"; }
    using pShellBaseC::pShellBaseC;
    explicit pShellHeaderC(pShellNewNodeT) { ctorNewNode(keyName()); }

    pShellGlobalHeaderC getGlobalHeader();
    // Makes the HEADER child a copy of the given header's node.
    bool setGlobalHeader(const pShellGlobalHeaderC& header);
    // The first DOCUMENT child; unbound when none.
    pShellDocCheckinC getDocument() const;
};
