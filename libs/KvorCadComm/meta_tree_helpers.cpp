#include "libs/KvorCadComm/meta_tree_helpers.h"

#include "platform/host/metatree/metatree_api.h"

metaTreePtrT getParentTreePtr(metaTreePtrT node) {
    return getIMetaTreeApi()->parent(node);
}
