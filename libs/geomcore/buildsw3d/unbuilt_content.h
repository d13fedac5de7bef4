// What a document asks for that the build does not make. Nothing of a model may be dropped
// without a word: each such part of the document is noted in the creation context as an item
// not built (tag, the document's NAME, what is not built), so that the conversion names it
// in RESTEXT and answers 1. What the user switched off by a creation option is not asked for.
#pragma once

#include "libs/KvorMetaApi/metaread/reader.h"
#include "metamodel/core/metaobject.h"

// Looks at a PART or ASSEMBLY node: an assembly's annotation sets, connection points and the
// classification entries its mate references would be made from ("CreateMateReferences", 1
// when absent, asks for them). Levels of detail that "CreateLOD" does not ask for are logged
// only.
void noteUnbuiltContent(const metaObjectVirtualDataBaseC& document, metaReaderC& reader);

// The integer value of the document's creation option `name`; `absent` when it is missing.
int creationOptionInt(const metaObjectVirtualDataBaseC& document, metaReaderC& reader,
                      const char* name, int absent);
