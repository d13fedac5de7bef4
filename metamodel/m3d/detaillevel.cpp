#include "metamodel/m3d/detaillevel.h"

m3dPartDetailLevelEntryC m3dPartDetailLevelC::findEntry(const mzComStringC& name) const {
    const m3dPartDetailLevelEntriesC entries = getEntries();
    const int n = entries.countByKey(m3dPartDetailLevelEntryC::tagName());
    for (int i = 0; i < n; ++i) {
        m3dPartDetailLevelEntryC entry = entries.getEntryAt(i);
        if (getNameAttr(entry) == name)
            return entry;
    }
    return m3dPartDetailLevelEntryC();
}
