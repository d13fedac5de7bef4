// The ASSEMBLY handler: builds one SolidWorks assembly from an ASSEMBLY node. Its member
// parts (the PART nodes among its ITEMS) are built and saved first, each through the part
// handler; then a new assembly gets one component per member, placed by the member's "MAT";
// then the assembly's attributes, mate references and levels of detail; the assembly is saved
// under the output location of the creation context and closed with its parts.
#pragma once

#include "libs/KvorMetaApi/metaread/reader.h"

class swMeta3dAssemblyC : public metaComC {
public:
    swMeta3dAssemblyC() : metaComC("ASSEMBLY") {}
    // The creation context comes from the reader; data is not used. Answers 1 when the
    // assembly was saved; an assembly that cannot be made or saved throws errorC. A member
    // that cannot be built or placed is noted as a failed item and left out.
    int execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) override;
};
