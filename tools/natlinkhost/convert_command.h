// natlinkhost convert MODEL.meta -o OUTDIR: loads and checks the model (and the creation
// options of --options), builds the options tree and hands it to the conversion entry.
#pragma once

#include "platform/host/metatree/metatree_ptr.h"
#include "tools/natlinkhost/command_line.h"

#include <ostream>

namespace natlinkhost {

// Exit code: 0 built, 1 not built, 2 bad input (refused with "FILE:LINE:COLUMN: reason").
// Each document written goes to `out` as "wrote OUTDIR/FILE", also when items failed.
int runConvertCommand(const commandLineS& line, std::ostream& out, std::ostream& err);

// The plug-in's conversion entry as the host calls it, with the options tree; 0 success,
// 1 failure with the reason in "RESTEXT".
int callConversionEntry(metaTreePtrT options, std::ostream& err);

} // namespace natlinkhost
