// Where a foreign feature's data file goes: a private folder made for it in the host's
// temporary folder ("$temp/"), created with mkdtemp (mode 0700, a name no one can foresee), the
// file in it under a name of the build's own. So no file the model names is overwritten or
// deleted, no symbolic link of that name is followed, and no other process finds the data;
// the folder goes with everything in it when the object does, however the handler ends.
#pragma once

#include "libs/KvorCore/loader/com_string.h"

class foreignPayloadFolderC {
public:
    // Makes the folder; `failure` names why when it could not be made (path() is then empty).
    explicit foreignPayloadFolderC(mzComStringC& failure);
    foreignPayloadFolderC(const foreignPayloadFolderC&) = delete;
    foreignPayloadFolderC& operator=(const foreignPayloadFolderC&) = delete;
    ~foreignPayloadFolderC();

    const mzComStringC& path() const { return folder_; }
    // The path of the data file in the folder for a model's FILENAME: "foreign" with the
    // FILENAME's extension (SolidWorks picks its reader by it) when that is letters and digits,
    // else "foreign" alone.
    mzComStringC dataFile(const mzComStringC& fileName) const;

private:
    mzComStringC folder_;
};
