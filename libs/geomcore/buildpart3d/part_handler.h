// The PART handler: builds one SolidWorks part from a PART node. It creates the part from
// the template, sets the units, adopts the template's planes, builds the ITEMS (failed items
// are noted and the build goes on), hides the planes it created and saves the part under the
// output location of the creation context; then it lets go of the document and closes it.
#pragma once

#include "libs/KvorMetaApi/metaread/reader.h"

#include <string>

class swMeta3dPartC : public metaComC {
public:
    swMeta3dPartC() : metaComC("PART") {}
    // The creation context comes from the reader (swMetaReaderC); data is not used. Answers
    // 1 when the part was saved; a part that cannot be made or saved throws errorC.
    int execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) override;
};
