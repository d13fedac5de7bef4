// Native check-in post-processing: the host receives the finished check-in record.
#pragma once

#include "libs/KvorCore/loader/com_string.h"
#include "platform/host/metatree/metatree_ptr.h"

// Hands the finished CHECKINOUT record and the interface name ("natlinkon") to the host.
// The record stays the caller's. A null record is logged and not handed over.
void postProcessNativeCheckin(metaTreePtrT record, const mzComStringC& interfaceName);
