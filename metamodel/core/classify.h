#pragma once
// Classification of a document, as held (serialised) in the CLASSIFICATIONINFO text of the
// document attributes:
//   (DOCCLASSIFYLIST
//     (DOCCLASSIFYINFO (NAME "qel")
//       (DOCCLASSIFYVAR (VARNAME "QELDENSITY") (VALUE "7.85"))
//       (DOCCLASSIFYIDINFO (CLASSID "QEL_CP_PLACE_PA") (INSTID "7")
//         (DOCCLASSIFYVAR (VARNAME "QEL_3DID") (VALUE "a,b,CP1")))))
// A list holds infos; an info holds variables and identification entries (id infos); an
// id info holds its class id, its instance id and variables of its own.

#include "metamodel/core/listviews.h"

#include <vector>

// Variables (DOCCLASSIFYVAR children with VARNAME and VALUE) of an info or an id info.
class mDocClassifyVarHolderC : public metaObjectC {
public:
    static mzComStringC varTagName() { return "DOCCLASSIFYVAR"; }
    mDocClassifyVarHolderC() = default;
    explicit mDocClassifyVarHolderC(metaTreePtrT node, bool owns = false)
        : metaObjectC(node, owns) {}

    // The VALUE text of the first variable whose VARNAME equals name; def when there is
    // none (or it has no VALUE string).
    mzComStringC getVarValue(const mzComStringC& name, const mzComStringC& def) const;
};

class mDocClassifyIdInfoC : public mDocClassifyVarHolderC {
public:
    static mzComStringC tagName() { return "DOCCLASSIFYIDINFO"; }
    mDocClassifyIdInfoC() = default;
    explicit mDocClassifyIdInfoC(metaTreePtrT node, bool owns = false)
        : mDocClassifyVarHolderC(node, owns) {}

    mzComStringC getClassId() const; // "CLASSID", empty when absent
    mzComStringC getInstId() const;  // "INSTID", empty when absent
};

class mDocClassifyInfoC : public mDocClassifyVarHolderC {
public:
    static mzComStringC tagName() { return "DOCCLASSIFYINFO"; }
    mDocClassifyInfoC() = default;
    explicit mDocClassifyInfoC(metaTreePtrT node, bool owns = false)
        : mDocClassifyVarHolderC(node, owns) {}

    mzComStringC getName() const;
    // The id infos whose class id equals key, in list order.
    std::vector<mDocClassifyIdInfoC> collectIdInfos(const mzComStringC& key) const;
    // The index-th id info whose class id equals key; unbound when there is none.
    mDocClassifyIdInfoC getIdInfoAt(const mzComStringC& key, int index) const;
};

class mDocClassifyListC : public metaObjListContainerC {
public:
    static mzComStringC tagName() { return "DOCCLASSIFYLIST"; }
    using metaObjListContainerC::metaObjListContainerC;

    // The info whose NAME equals name (case-sensitive); unbound when there is none.
    mDocClassifyInfoC findInfo(const mzComStringC& name) const;
};

// The index-th DOCCLASSIFYINFO child of a classification list, nothing created; unbound
// when out of range.
mDocClassifyInfoC getDocClassifyInfoAt(const mDocClassifyListC& list, int index);

// True when the view has a node, it is a key node and its tag is "DOCCLASSIFYIDINFO".
bool isDocClassifyIdInfo(const metaObjectVirtualDataBaseC& view);
