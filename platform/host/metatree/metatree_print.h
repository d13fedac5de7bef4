#pragma once
// Writes a subtree in the text form.

#include "platform/host/metatree/metatree_api.h"
#include "platform/host/metatree/metatree_node.h"

#include <string>

namespace metatree_detail {

std::string printSubtree(const metaNodeS* n, metaPrintStyle style);

// Shortest text that reads back as exactly this double (always with '.' or an exponent,
// so that it reads back as a double; non-finite values as nan, inf, -inf).
void appendDouble(std::string& out, double d);

} // namespace metatree_detail
