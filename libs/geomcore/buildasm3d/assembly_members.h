// The members of an assembly as the model gives them, read before any of them is built. The
// build of a part writes into its node (a feature pattern rolled back leaves copies of its
// feature there), so members that share a file name are compared first: a part placed several
// times is told by the model, not by what its first build left in the tree.
#pragma once

#include "metamodel/core/metaobject.h"

#include <cstddef>
#include <string>
#include <vector>

struct asmMemberS {
    metaTreePtrT node;
    // The file its part is saved as; empty when the member is refused.
    std::string fileName;
    // Why the member cannot be built (not a PART, a file name that leaves the output folder).
    mzComStringC refusal;
    // The first member (index among the members, its own when none before it) whose node
    // equals this one's in everything but the placement ("MAT"): the same part, placed again.
    std::size_t samePart = 0;
    // The same, also passing over the selected level ("SELLODNAME" of its "PARTLOD").
    std::size_t samePartButLevel = 0;
};

// The key nodes among the ITEMS of an assembly, in order.
std::vector<asmMemberS> readAsmMembers(const metaObjectC& items);
