#pragma once
// Catalogue record views: the bases of the check-in record classes.
//   (DOCUMENT (CADIDENT "/p/a.sldasm") (USEDFILES "...") (WANTFILES "...")
//     (CURVARSET (VAR (VARNAME "IDNR") (VARVALUE "A-1")))
//     (VARIABLES (VAR (VARNAME "IDNR") (VARTYPE "T") ...))
//     (MEMBERS (DOCUMENT ...) ...))
// Getters named get... create their child when it is missing; find... never create.

#include "metamodel/core/listviews.h"

class pShellBaseC : public metaObjectC {
public:
    pShellBaseC() = default;
    explicit pShellBaseC(metaTreePtrT node, bool owns = false) : metaObjectC(node, owns) {}

    bool setPreview(const mzComStringC& path);   // "PREVIEW"
    bool setPreview3D(const mzComStringC& path); // "PREVIEW3D"

protected:
    // Get or add the child key and set its value.
    bool setStringField(const char* key, const mzComStringC& value);
    bool setDoubleField(const char* key, double value);
    bool setIntField(const char* key, std::int32_t value);
};

class pShellDocBaseRootC : public pShellBaseC {
public:
    using pShellBaseC::pShellBaseC;
};

// A VAR entry: description or value of one variable.
class pShellVarBaseC : public pShellBaseC {
public:
    static mzComStringC keyName() { return "VAR"; }
    using pShellBaseC::pShellBaseC;

    bool setVarName(const mzComStringC& name); // "VARNAME"
    mzComStringC getVarName() const;           // empty when absent
};

class pShellVarValueC : public pShellVarBaseC {
public:
    using pShellVarBaseC::pShellVarBaseC;

    bool setVarValue(const mzComStringC& value); // "VARVALUE"
    mzComStringC getVarValue() const;            // empty when absent
};

// Keyed set of VAR descriptions (VARIABLES).
class pShellVarDescSetBaseC : public pShellBaseC {
public:
    using pShellBaseC::pShellBaseC;

    // The VAR whose VARNAME equals name (case-sensitive); unbound when none.
    pShellVarBaseC findVarDesc(const mzComStringC& name) const;
    // Appends a new empty VAR and returns it (unbound without a node).
    pShellVarBaseC addVarDesc();
    // The same, binding out (any VAR view class) to the new entry.
    void addVarDescOut(pShellVarBaseC& out);
};

// Keyed set of VAR values (CURVARSET, a VARSET line).
class pShellVarValueSetBaseC : public pShellBaseC {
public:
    using pShellBaseC::pShellBaseC;

    // The VAR whose VARNAME equals name; appended with that VARNAME when missing.
    pShellVarValueC getOrAddVarValue(const mzComStringC& name);
    // Appends a new empty VAR and binds out to it (unbound without a node).
    void addVarValueOut(pShellVarValueC& out);
};

class pShellCurVarSetC : public pShellVarValueSetBaseC {
public:
    static mzComStringC keyName() { return "CURVARSET"; }
    using pShellVarValueSetBaseC::pShellVarValueSetBaseC;
};

class pShellDocBaseC;

// Keyed set of member DOCUMENT records (MEMBERS).
class pShellMemberSetC : public pShellBaseC {
public:
    static mzComStringC keyName() { return "MEMBERS"; }
    using pShellBaseC::pShellBaseC;

    // Appends document (a DOCUMENT key node, moved into the set; a new empty DOCUMENT
    // when null) and returns it; unbound when the node is no DOCUMENT or cannot be added.
    pShellDocBaseC addDocument(metaTreePtrT document = metaTreePtrT());
    int countDocuments() const;
    // The index-th DOCUMENT member; unbound when out of range.
    pShellDocBaseC getDocumentAt(int index) const;
};

class pShellDocBaseC : public pShellDocBaseRootC {
public:
    static mzComStringC keyName() { return "DOCUMENT"; }
    using pShellDocBaseRootC::pShellDocBaseRootC;

    // This record, or the first member record (depth first through MEMBERS, in order)
    // whose CADIDENT equals cadIdent; unbound when none. Nothing is created.
    pShellDocBaseC findDocument(const mzComStringC& cadIdent) const;
    mzComStringC getCadIdent() const; // "CADIDENT", empty when absent

    pShellCurVarSetC getCurVarSet();         // "CURVARSET", created when missing
    pShellMemberSetC getMemberSet();         // "MEMBERS", created when missing
    metaObjListStrContainerC getUsedFiles(); // "USEDFILES", created when missing
    metaObjListStrContainerC getWantFiles(); // "WANTFILES", created when missing
};
