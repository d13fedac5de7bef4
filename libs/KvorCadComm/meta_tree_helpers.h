// Small helpers of the builders on the meta tree.
#pragma once

#include "platform/host/metatree/metatree_ptr.h"

// The parent of a node; null at the root and for the null handle. A node handler is given
// the tag token of its node and binds its view to the token's parent, the node itself.
metaTreePtrT getParentTreePtr(metaTreePtrT node);
