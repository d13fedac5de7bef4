// The native check-in branch of the conversion entry ("NATSOLIDWORKSPART2014",
// "NATSOLIDWORKSASM2014"): reads a SolidWorks document back into a check-in record.
#pragma once

#include "libs/KvorCore/loader/com_string.h"
#include "platform/host/metatree/metatree_ptr.h"
#include "platform/sldworks/api/sldworks_api.h"

// True for the input formats of the native check-in: "NATSOLIDWORKSPART" and
// "NATSOLIDWORKSASM", each followed by the SolidWorks version "2014" or given bare.
bool isNativeCheckinFormat(const mzComStringC& format);

// Checks in the document named by the string "INNAME" of `options`. Answers 0 with the
// record (the CHECKINOUT node) appended under "OUTPUTDATA", or 1 with the reason in
// "RESTEXT"; a check-in that gives no record is always a failure.
int convertNativeCheckin(ISldWorks* app, metaTreePtrT options);
