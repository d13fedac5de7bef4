// Why SolidWorks could not open a file: the message it issued for it, so that a refusal names
// the reason the document's reader gave, not only an error code.
#pragma once

#include "libs/KvorCore/loader/com_string.h"
#include "platform/sldworks/api/sldworks_api.h"

// The latest error message SolidWorks issued (the messages are cleared by asking); empty when there
// is none or it cannot be asked. Never throws: a reason is an addition to a refusal, whose
// own text must not be lost.
mzComStringC latestSldWorksMessage(ISldWorks* app);
