// The FOEFEAT handler: geometry of another CAD format carried in the meta tree as binary
// data ("FEATDATA") under a file name ("FEATINFO" / "FILENAME"). The data is written into the
// host's temporary folder under that name, loaded into the open part by SolidWorks, recorded
// under the node's NAME, and the file is deleted again.
//
// Only a plain file name is accepted (no folder separator, no "..", no drive, no "$"
// reference): anything else fails the node before any file is touched. A write or a load that
// fails, or a load that makes no feature, shows "Loading foreign feature failed" and fails
// the node; the file is deleted in every case.
#pragma once

#include "libs/KvorCore/loader/com_string.h"
#include "libs/KvorMetaApi/metaread/reader.h"

class sw3dFeatForeignC : public metaComC {
public:
    sw3dFeatForeignC() : metaComC("FOEFEAT") {}
    // data: the swPartC of the build; the reader must be the build's (its creation context
    // holds the SolidWorks application).
    int execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) override;
};

// True when the name can be used as a file in the temporary folder as it is.
bool isPlainFileName(const mzComStringC& name);
