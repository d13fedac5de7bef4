#include "libs/KvorCadComm/creation_option_value.h"

int getValAsInt(const mDocumentCreationOptionSettingC& setting) {
    if (!setting.isValid()) {
        return 0;
    }
    return setting.getVal().toInt();
}
