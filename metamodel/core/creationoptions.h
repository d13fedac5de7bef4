#pragma once
// Document creation options of a document node:
//   (CREAOPTS
//     (CREAOPTSETS (CREAOPTSET (NAME "SketchMode") (TYP "INT") (VAL "1")) ...)
//     (CREAOPTATTRMAP (PAIR (CREAOPTATTRMAPKEY "DEFAULTATTR") (EXTATTRLIST ...)) ...))
// and mDocumentC, the common base of document views, which reaches them.

#include "metamodel/core/dictionary.h"
#include "metamodel/core/extattr.h"
#include "metamodel/core/valueviews.h"

class mDocumentCreationOptionSettingC : public metaObjectC {
public:
    static mzComStringC keyName() { return "CREAOPTSET"; }
    mDocumentCreationOptionSettingC() = default;
    explicit mDocumentCreationOptionSettingC(metaTreePtrT node, bool owns = false)
        : metaObjectC(node, owns) {}

    mzComStringC getName() const;
    // The "VAL" string; empty when absent.
    mzComStringC getVal() const;
    // The "VAL" string, or def when it is empty or the setting is missing.
    mzComStringC getValue(const mzComStringC& def) const;
    bool setVal(const mzComStringC& value);
};

class mDocumentCreationOptionSettingsC : public metaObjListContainerC {
public:
    static mzComStringC keyName() { return "CREAOPTSETS"; }
    using metaObjListContainerC::metaObjListContainerC;

    // The "CREAOPTSET" child whose NAME equals name (case-sensitive). When there is none:
    // with create set, a new setting of that name is appended and returned; otherwise an
    // unbound view and nothing is created.
    mDocumentCreationOptionSettingC getSetting(const mzComStringC& name, int create = 0);
};

// Key of the attribute map: (CREAOPTATTRMAPKEY "DEFAULTATTR"), a string value view.
class mDocumentCreationOptionAttrMapKeyC : public metaObjStrC {
public:
    static mzComStringC keyName() { return "CREAOPTATTRMAPKEY"; }
    mDocumentCreationOptionAttrMapKeyC() = default;
    explicit mDocumentCreationOptionAttrMapKeyC(metaTreePtrT node, bool owns = false)
        : metaObjStrC(node, owns) {}

    // Binds the view to a new "CREAOPTATTRMAPKEY" node. owns set: the view releases it at
    // its end unless it was appended somewhere; owns 0: the caller must append or release
    // the node (getTreePtr()).
    bool ctorNew(int owns);
};

using mDocumentCreationOptionAttrMapC =
    metaObjDictTemplateC<mDocumentCreationOptionAttrMapKeyC, mExtAttrListC>;

class mDocumentCreationOptionsC : public metaObjectC {
public:
    static mzComStringC keyName() { return "CREAOPTS"; }
    mDocumentCreationOptionsC() = default;
    explicit mDocumentCreationOptionsC(metaTreePtrT node, bool owns = false)
        : metaObjectC(node, owns) {}

    // The "CREAOPTSETS" child, created when missing.
    mDocumentCreationOptionSettingsC getSettings();
    // The "CREAOPTATTRMAP" child, created empty when missing.
    mDocumentCreationOptionAttrMapC getAttrMap();
};

// Common base of the document views (3D documents, drawings, meshes).
class mDocumentC : public metaObjectC {
public:
    mDocumentC() = default;
    explicit mDocumentC(metaTreePtrT node, bool owns = false) : metaObjectC(node, owns) {}

    // The "CREAOPTS" child, created when missing.
    mDocumentCreationOptionsC getCreationOptions();
};
