#include "libs/geomcore/buildsw3d/sw_creation.h"

swCreation3dS* creationOf(metaReaderC& reader) {
    auto* buildReader = dynamic_cast<swMetaReaderC*>(&reader);
    return buildReader != nullptr ? &buildReader->getCreation() : nullptr;
}

metaTreePtrT documentCreationOptions(const metaObjectVirtualDataBaseC& document,
                                     metaReaderC& reader) {
    const metaTreePtrT own = document.findChild(mDocumentCreationOptionsC::keyName());
    if (!own.isNull())
        return own;
    const swCreation3dS* creation = creationOf(reader);
    return creation != nullptr ? creation->creationOptions : metaTreePtrT();
}

mDocumentCreationOptionSettingC documentCreationSetting(const metaObjectVirtualDataBaseC& document,
                                                        metaReaderC& reader, const char* name) {
    const metaTreePtrT options = documentCreationOptions(document, reader);
    if (options.isNull())
        return mDocumentCreationOptionSettingC();
    mDocumentCreationOptionSettingsC settings(
        metaObjectC(options).findChild(mDocumentCreationOptionSettingsC::keyName()));
    if (!settings.isValid())
        return mDocumentCreationOptionSettingC();
    return settings.getSetting(name, 0);
}
