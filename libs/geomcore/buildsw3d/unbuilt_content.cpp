#include "libs/geomcore/buildsw3d/unbuilt_content.h"

#include "libs/KvorCadComm/creation_option_value.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildsw3d/mate_reference_steps.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/swgeomtools/mate_references.h"
#include "metamodel/m3d/annotations.h"
#include "metamodel/m3d/detaillevel.h"
#include "metamodel/m3d/document.h"

namespace {

bool hasKeyChild(const metaObjectC& node) {
    for (metaObjEnumC child = node.enumChildren(); child.isValid(); child.next())
        if (metaObjectC(child.current()).isKeyNode())
            return true;
    return false;
}

void noteNotBuilt(metaReaderC& reader, const char* tag, const mzComStringC& documentName,
                  const char* what) {
    const swFailedItemS item{tag, documentName, what};
    NATLINK_LOG(mzLogLevelError,
                mzComStringC("Not built: ") + item.tag + " \"" + item.name + "\": " + item.message);
    if (swCreation3dS* creation = creationOf(reader))
        creation->failedItems.push_back(item);
}

// Whether an assembly's annotation sets hold more than the classified faces its mate
// references are made at (those are read when mate references are asked for).
bool hasUnbuiltAnnotations(const metaObjectC& document, metaReaderC& reader) {
    const m3dAnnotationSetsC sets = getAnnotationSets(m3dDocumentC(document.getTreePtr()));
    if (!sets.isValid())
        return false;
    const mateReferenceModeS mode = mateReferenceMode(document, reader);
    const bool mateReferences = mode.refusal.isEmpty() && mode.mode != 0;
    for (int i = 0, n = sets.count(); i < n; ++i) {
        const m3dAnnotationSetC set = sets.getSetAt(i);
        const int count = set.countAnnotations();
        if (!mateReferences || !(set.getTag() == m3dAnnotationSetFaceC::tagName())) {
            if (count > 0)
                return true;
            continue;
        }
        for (int k = 0; k < count; ++k) {
            mzComStringC instId;
            if (!classifiedFaceInstId(m3dAnnotationFaceC(set.getAnnotationAt(k).getTreePtr()),
                                      instId))
                return true;
        }
    }
    return false;
}

} // namespace

int creationOptionInt(const metaObjectVirtualDataBaseC& document, metaReaderC& reader,
                      const char* name, int absent) {
    const mDocumentCreationOptionSettingC setting = documentCreationSetting(document, reader, name);
    return setting.isValid() ? getValAsInt(setting) : absent;
}

void noteUnbuiltContent(const metaObjectVirtualDataBaseC& view, metaReaderC& reader) {
    const metaObjectC document(view.getTreePtr());
    const mzComStringC name = getNameAttr(document);
    // The part builder makes a part's annotation sets and connection points; the assembly
    // builder makes neither (both builders make their document's mate references, and an
    // assembly's at its classified faces).
    if (document.getTag() == m3dAsmC::tagName()) {
        if (hasUnbuiltAnnotations(document, reader))
            noteNotBuilt(reader, "ANNOTATIONSETS", name,
                         "annotation sets of an assembly are not built");
        if (hasKeyChild(metaObjectC(document.findChild("CONNPOINTS"))))
            noteNotBuilt(reader, "CONNPOINTS", name,
                         "connection points of an assembly are not built");
    }

    const m3dPartDetailLevelC levels(document.findChild(m3dPartDetailLevelC::tagName()));
    if (levels.getEntries().countByKey(m3dPartDetailLevelEntryC::tagName()) > 0 &&
        creationOptionInt(document, reader, "CreateLOD", 0) == 0)
        NATLINK_LOG(mzLogLevelWarning,
                    mzComStringC("Levels of detail of \"") + name +
                        "\" not built: the creation option \"CreateLOD\" does not ask for them");
}
