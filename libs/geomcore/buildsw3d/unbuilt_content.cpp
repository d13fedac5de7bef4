#include "libs/geomcore/buildsw3d/unbuilt_content.h"

#include "libs/KvorCadComm/creation_option_value.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
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
    // builder makes neither (both builders make their document's mate references).
    if (document.getTag() == m3dAsmC::tagName()) {
        if (hasKeyChild(metaObjectC(document.findChild("ANNOTATIONSETS"))))
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
