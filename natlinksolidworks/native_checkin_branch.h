// The native check-in branch of the conversion entry ("NATSOLIDWORKSPART",
// "NATSOLIDWORKSASM"): reads a SolidWorks document back into a check-in record.
#pragma once

#include "platform/host/metatree/metatree_ptr.h"
#include "platform/sldworks/api/sldworks_api.h"

// Answers 0 with the record in "OUTPUTDATA", or 1 with the reason in "RESTEXT".
int convertNativeCheckin(ISldWorks* app, metaTreePtrT options);
