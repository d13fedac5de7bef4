#pragma once
// Extended attributes: an ordered list (EXTATTRLIST ...) of named entries whose kind is
// told by their tag:
//   (EXTATTRSTR (NAME "Material") (VALUE "Steel"))      string value
//   (EXTATTRVAL (NAME "Weight") (VALUE 2.5))            double value
//   (EXTATTRVAR (NAME "Id") (VARNAME "IDNR") (VALUE "x")) variable with a string value
// The kinds are registered under their tags in the registry of mExtAttrBaseC
// (registerMetaCoreClasses); getValueText dispatches by tag through it.

#include "metamodel/core/listviews.h"

class mExtAttrBaseC : public metaObjectC {
public:
    mExtAttrBaseC() = default;
    explicit mExtAttrBaseC(metaTreePtrT node, bool owns = false) : metaObjectC(node, owns) {}

    mzComStringC getName() const;
    // The VALUE of any attribute kind as text: dispatched by the node's tag to the
    // registered kind; an unregistered tag gives the VALUE as it stands (a string as is,
    // a number as mzComStringC::number writes it), empty when there is none.
    virtual mzComStringC getValueText() const;
};

class mExtAttrStrC : public mExtAttrBaseC {
public:
    static constexpr const char* tagName = "EXTATTRSTR";
    using mExtAttrBaseC::mExtAttrBaseC;

    mzComStringC getValue() const;
    mzComStringC getValueText() const override { return getValue(); }
};

class mExtAttrValC : public mExtAttrBaseC {
public:
    static constexpr const char* tagName = "EXTATTRVAL";
    using mExtAttrBaseC::mExtAttrBaseC;

    // 0.0 when absent.
    double getValue() const;
    // The value as mzComStringC::number(value, '.', 14) writes it.
    mzComStringC getValueText() const override;
};

class mExtAttrVarC : public mExtAttrBaseC {
public:
    static constexpr const char* tagName = "EXTATTRVAR";
    using mExtAttrBaseC::mExtAttrBaseC;

    mzComStringC getVarName() const;
    mzComStringC getValue() const;
    mzComStringC getValueText() const override { return getValue(); }
};

class mExtAttrListC : public metaObjListContainerC {
public:
    static mzComStringC keyName() { return "EXTATTRLIST"; }
    using metaObjListContainerC::metaObjListContainerC;

    // The i-th entry; unbound and found = false when out of range.
    mExtAttrBaseC getAt(int index, bool* found = nullptr) const;
};
