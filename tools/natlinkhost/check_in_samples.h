// The documents that `make demo` and the end-to-end tests check in, made with the simulated
// session's fixture builders (the meta text form cannot express configurations):
//   Configured.sldprt   a block 40 x 20 x 10 whose second configuration "Long" is 60 deep,
//                       with document and configuration properties and summary information
//   Assembly.sldasm     an assembly of Plate.sldprt (once) and Pin.sldprt (twice)
#pragma once

#include <string>

namespace natlinkhost {

inline constexpr const char* samplePartFile = "Configured.sldprt";
inline constexpr const char* sampleAssemblyFile = "Assembly.sldasm";

// Writes the sample part into `folder` (created when missing); answers its path. Throws
// std::runtime_error (or std::filesystem::filesystem_error) when it cannot be built or saved.
std::string writeSamplePart(const std::string& folder);

// Writes the sample assembly and its part files into `folder`; answers the assembly's path.
// Throws as writeSamplePart.
std::string writeSampleAssembly(const std::string& folder);

} // namespace natlinkhost
