#pragma once
// The VAR entries of a description set and a value set by name, for one reading pass: the
// pass looks each variable up once, and a walk over the set per lookup made it quadratic.
// Built from the sets as they are; the entries the pass adds go in as it adds them. The
// first entry of a name wins, as in the sets' own lookups.

#include "libs/geomcore/natCheckin/checkin_record.h"

#include <string>
#include <unordered_map>
#include <unordered_set>

class checkinVarIndexC {
public:
    checkinVarIndexC(pShellVarDescSetBaseC& descriptions, pShellVarValueSetBaseC& values);

    bool hasDescription(const mzComStringC& name) const;
    // Appends a description with this VARNAME.
    pShellVarDescC addDescription(const mzComStringC& name);
    // The value entry of this VARNAME, appended when missing.
    pShellVarValueC value(const mzComStringC& name);

private:
    pShellVarDescSetBaseC& descriptions_;
    pShellVarValueSetBaseC& values_;
    std::unordered_set<std::u16string> descriptionNames_;
    std::unordered_map<std::u16string, metaTreePtrT> valueNodes_;
};
