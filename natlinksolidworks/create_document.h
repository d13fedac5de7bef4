// The document builder: raises "AppBeforeCreate", executes the document tree with a reader
// that has one handler per node class, and raises "AppAfterCreate".
#pragma once

#include "libs/geomcore/buildsw3d/sw_creation.h"

#include <memory>

// The reader of a build with every node handler registered (PART, ITEMS, PLANE).
std::unique_ptr<swMetaReaderC> createDocumentReader(swCreation3dS& creation);

// Builds the document of `document` (a PART node). Answers 0 when the document was built and
// saved and every item was built; 1 otherwise, with the reasons in creation.errorText and
// creation.failedItems. Never throws.
int createSWDocument(swCreation3dS& creation, metaTreePtrT document);
