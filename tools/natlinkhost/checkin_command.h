// natlinkhost checkin DOC: asks the plug-in's conversion entry to check in a saved part or
// assembly and prints the check-in record it answers.
#pragma once

#include "tools/natlinkhost/command_line.h"

#include <ostream>

namespace natlinkhost {

// The record as pretty meta text on `out`. Exit code: 0 checked in, 1 no record (a missing
// document, or the reason "RESTEXT" on `err`), 2 a file that is neither .sldprt nor .sldasm.
// Previews stay in the folder TMP names; without TMP they go into a folder of the check-in's
// own, removed once the record is printed.
int runCheckinCommand(const commandLineS& line, std::ostream& out, std::ostream& err);

} // namespace natlinkhost
