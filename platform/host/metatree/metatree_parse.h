#pragma once
// Reader of the text form.

#include "platform/host/metatree/metatree_node.h"

#include <string_view>

namespace metatree_detail {

// Parses text holding exactly one top-level node into a new parentless subtree. Throws
// metaTreeErrorC; on a refusal every node made so far is freed.
metaNodeS* parseOneNode(std::string_view text, std::string_view fileName);

} // namespace metatree_detail
