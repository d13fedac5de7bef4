// natlinkhost inspect DOC and natlinkhost export DOC OUT.step|OUT.stl: a saved document is
// opened in a new SolidWorks session, printed or written as a copy for other CAD programs.
#pragma once

#include "tools/natlinkhost/command_line.h"

#include <ostream>

#include <string>

namespace natlinkhost {

// Why `path` names no document to read ("no such document", "is a directory, not a
// document"); empty for a file.
std::string whyNoDocument(const std::string& path);

// Prints the document's features (type, name; reference planes with origin and normal) and
// its solid bodies (volume, faces by surface type, face names). 0 printed, 1 the document
// could not be opened or read, or (printed all the same) an assembly misses a component's
// document, named on `err`. An assembly that contains itself is refused.
int runInspectCommand(const commandLineS& line, std::ostream& out, std::ostream& err);

// Writes a STEP or STL copy (by the extension of OUT). 0 written, 1 failed (also for a
// document without a shown solid body, an assembly missing a component's document or one
// that contains itself), 2 an extension that names no such format.
int runExportCommand(const commandLineS& line, std::ostream& err);

} // namespace natlinkhost
