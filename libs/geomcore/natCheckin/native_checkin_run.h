// The native check-in as the conversion entry runs it ("NATSOLIDWORKSPART" /
// "NATSOLIDWORKSASM"): one call from a document path to the finished check-in record.
#pragma once

#include "libs/KvorCore/loader/com_string.h"
#include "libs/geomcore/natCheckin/host_ping.h"
#include "platform/host/metatree/metatree_ptr.h"
#include "platform/sldworks/api/sldworks_api.h"

// Finds the document among the open ones (by the native form of `path`) or opens it; reads it
// with swCheckinC (key: option INTERFACE / NativeCheckinKey of "natlinkon", default
// "SolidWorks"; 3D previews as STL; pinging `pollObject`); hands the record to the host's
// native check-in post-processing; closes a document it opened for the purpose.
//
// Answers 0 (as the conversion entry does) when a complete record was made: `outRecord` is
// then the CHECKINOUT node, owned by the caller (append it into the output data or release
// it). Answers 1 with that record when it lacks something the document holds (a member whose
// file is missing or cannot be read, components that cannot be listed, a dimension that
// cannot be read): `resText` names each ("Native check-in of PATH gave an incomplete record:
// ..."). Answers 1 without a record (no session, empty path, a document that cannot be opened
// or read): `outRecord` is null and `resText` names the reason (SolidWorks' message about the
// file when it gave one). Never throws.
int runNativeCheckin(ISldWorks* app, const mzComStringC& path, metaTreePtrT& outRecord,
                     mzComStringC& resText, const TarnwickPollObj& pollObject);
// The same with the host's watchdog poll object ("Tarnwick.Application").
int runNativeCheckin(ISldWorks* app, const mzComStringC& path, metaTreePtrT& outRecord,
                     mzComStringC& resText);
