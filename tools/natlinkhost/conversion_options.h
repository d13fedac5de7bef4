// The options tree of one conversion, as the host hands it to the plug-in's conversion entry:
//   (CONVERTOPTIONS
//     (INNAME "/abs/model.meta")       the model file
//     (OUTPUTLOCATION "/abs/outdir")   where the documents go
//     (CUSTOMDATA (CREAOPTS ...))      the creation options of --options (empty without)
//     (INPUTDATA (PART ...)))          the model tree
// The conversion entry answers in the same tree: "RESTEXT" (the error text of a failed
// conversion) and "OUTPUTDATA".
#pragma once

#include "tools/natlinkhost/owned_tree.h"

#include <optional>
#include <string>

namespace natlinkhost {

inline constexpr const char* conversionOptionsTag = "CONVERTOPTIONS";
inline constexpr const char* keyInName = "INNAME";
inline constexpr const char* keyOutputLocation = "OUTPUTLOCATION";
inline constexpr const char* keyCustomData = "CUSTOMDATA";
inline constexpr const char* keyInputData = "INPUTDATA";
inline constexpr const char* keyResultText = "RESTEXT";
inline constexpr const char* keyOutputData = "OUTPUTDATA";

// Builds the options tree; the model and the creation options (may be empty) move into it.
// Paths are made absolute, as the host passes them. Throws std::invalid_argument when a path
// is not UTF-8 text.
ownedTreeC buildConversionOptions(const std::string& modelPath, const std::string& outDir,
                                  ownedTreeC model, ownedTreeC creationOptions);

// The "RESTEXT" string that the conversion entry left in the options tree, if any.
std::optional<std::string> conversionResultText(metaTreePtrT options);

} // namespace natlinkhost
