// The meta files natlinkhost reads: a model (one PART or ASSEMBLY document node) and the
// creation options (one CREAOPTS node).
#pragma once

#include "tools/natlinkhost/owned_tree.h"

#include <string>

namespace natlinkhost {

// A tree read from a file, or why it was refused: "FILE:LINE:COLUMN: reason" (a file that
// cannot be read: "FILE: reason").
struct loadedTreeS {
    ownedTreeC tree;
    std::string error;
};

// The model: the file's one top-level node must be a PART or ASSEMBLY document node.
loadedTreeS loadModelFile(const std::string& path);

// The creation options: the file's one top-level node must be a CREAOPTS node.
loadedTreeS loadCreationOptionsFile(const std::string& path);

} // namespace natlinkhost
