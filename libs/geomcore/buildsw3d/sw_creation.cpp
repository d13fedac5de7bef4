#include "libs/geomcore/buildsw3d/sw_creation.h"

#include "libs/KvorCadComm/app_environment.h"
#include "libs/KvorCadComm/creation_warning.h"
#include "libs/KvorCadComm/meta_tree_helpers.h"
#include "libs/geomcore/swtools/error.h"

swCreation3dS* creationOf(metaReaderC& reader) {
    auto* buildReader = dynamic_cast<swMetaReaderC*>(&reader);
    return buildReader != nullptr ? &buildReader->getCreation() : nullptr;
}

metaTreePtrT documentCreationOptions(const metaObjectVirtualDataBaseC& document,
                                     metaReaderC& reader) {
    // A member document without options of its own takes those of its assembly.
    for (metaObjectC node(document.getTreePtr()); node.isValid();
         node = metaObjectC(getParentTreePtr(node.getTreePtr()))) {
        const metaTreePtrT own = node.findChild(mDocumentCreationOptionsC::keyName());
        if (!own.isNull())
            return own;
    }
    const swCreation3dS* creation = creationOf(reader);
    return creation != nullptr ? creation->creationOptions : metaTreePtrT();
}

mDocumentCreationOptionSettingsC
documentCreationSettings(const metaObjectVirtualDataBaseC& document, metaReaderC& reader) {
    const metaTreePtrT options = documentCreationOptions(document, reader);
    if (options.isNull())
        return mDocumentCreationOptionSettingsC();
    return mDocumentCreationOptionSettingsC(
        metaObjectC(options).findChild(mDocumentCreationOptionSettingsC::keyName()));
}

mDocumentCreationOptionSettingC documentCreationSetting(const metaObjectVirtualDataBaseC& document,
                                                        metaReaderC& reader, const char* name) {
    mDocumentCreationOptionSettingsC settings = documentCreationSettings(document, reader);
    if (!settings.isValid())
        return mDocumentCreationOptionSettingC();
    return settings.getSetting(name, 0);
}

void reportIncompleteItem(metaReaderC& reader, const mzComStringC& tag, const mzComStringC& name,
                          const std::vector<mzComStringC>& losses) {
    if (losses.empty())
        return;
    mzComStringC all;
    for (const mzComStringC& loss : losses) {
        NATLINK_CREATION_WARNING(0, "WARNING", tag + " " + quotedName(name) + ": " + loss,
                                 getAppName());
        all += (all.isEmpty() ? "" : ", ") + loss;
    }
    if (swCreation3dS* creation = creationOf(reader))
        creation->incompleteItems.push_back({tag, name, all});
}
