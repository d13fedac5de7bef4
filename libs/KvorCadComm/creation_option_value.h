// Values of document creation option settings, as the builders read them.
#pragma once

#include "metamodel/core/creationoptions.h"

// The setting's "VAL" string as an integer; 0 when it is empty, missing or no integer.
int getValAsInt(const mDocumentCreationOptionSettingC& setting);
