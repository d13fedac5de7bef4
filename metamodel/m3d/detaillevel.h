#pragma once
// Levels of detail of a part:
//   (PARTLOD (SELLODNAME "Simple")
//     (PARTLODENTS
//       (PARTLODENT (NAME "Simple") (PARTLODEXCFEATLST "Hole1" "Fillet1"))))
// Each entry names a level and the features (by meta name) left out of it.

#include "metamodel/core/listviews.h"

class m3dPartDetailLevelEntryC : public metaObjectC {
public:
    static mzComStringC tagName() { return "PARTLODENT"; }
    using metaObjectC::metaObjectC;
    // The "PARTLODEXCFEATLST" child: names of the features left out (unbound when absent).
    metaObjListStrContainerC getExcludeFeatureList() const {
        return metaObjListStrContainerC(findChild("PARTLODEXCFEATLST"));
    }
};

class m3dPartDetailLevelEntriesC : public metaObjListContainerC {
public:
    static mzComStringC tagName() { return "PARTLODENTS"; }
    using metaObjListContainerC::metaObjListContainerC;
    // The index-th PARTLODENT child, nothing created; unbound when out of range.
    m3dPartDetailLevelEntryC getEntryAt(int index) const {
        return m3dPartDetailLevelEntryC(getAtByKey(m3dPartDetailLevelEntryC::tagName(), index));
    }
};

class m3dPartDetailLevelC : public metaObjectC {
public:
    static mzComStringC tagName() { return "PARTLOD"; }
    using metaObjectC::metaObjectC;
    // The "PARTLODENTS" child (unbound when absent; nothing is created).
    m3dPartDetailLevelEntriesC getEntries() const {
        return m3dPartDetailLevelEntriesC(findChild(m3dPartDetailLevelEntriesC::tagName()));
    }
    // The entry whose NAME equals name; unbound when none does.
    m3dPartDetailLevelEntryC findEntry(const mzComStringC& name) const;
};
