// What the road fuzz target asks of a copy that `natlinkhost export` answered success for: that
// it is a copy of a shape. Built and tested in every build (fuzz_export_checks_tests).
#pragma once

#include <string>

namespace natlinkfuzz {

// Why the bytes of a ".step" or ".stl" copy are no copy of a shape ("holds no shape", "holds
// the number NAN"); empty when they are one. STEP is read as its text: it must hold a point,
// and every number in its lists must be finite (quoted texts hold none). STL is read as the
// binary file `export` writes: an 80-byte header, the triangle count, 50 bytes a triangle of
// twelve floats, all finite, and at least one triangle.
std::string exportProblem(const std::string& extension, const std::string& bytes);

} // namespace natlinkfuzz
