#include "metamodel/m3d/detaillevel.h"

m3dPartDetailLevelEntryC m3dPartDetailLevelC::findEntry(const mzComStringC& name) const {
    const m3dPartDetailLevelEntriesC entries = getEntries();
    for (metaTreePtrT node : entries.childrenByKey(m3dPartDetailLevelEntryC::tagName())) {
        m3dPartDetailLevelEntryC entry(node);
        if (getNameAttr(entry) == name)
            return entry;
    }
    return m3dPartDetailLevelEntryC();
}
