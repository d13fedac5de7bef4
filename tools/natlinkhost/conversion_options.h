// The options tree of one conversion, as the host hands it to the plug-in's conversion entry:
//   (CONVERTOPTIONS
//     (INNAME "/abs/model.meta")       the model file
//     (OUTPUTLOCATION "/abs/outdir")   where the documents go
//     (CUSTOMDATA (CREAOPTS ...))      the creation options of --options (empty without)
//     (INPUTDATA (PART ...)))          the model tree
// The conversion entry answers in the same tree: "RESTEXT" (the error text of a failed
// conversion) and "OUTPUTDATA".
// A native check-in is asked for with the document and its input format alone:
//   (CONVERTOPTIONS (INNAME "/abs/doc.sldprt") (INPUTFORMAT "NATSOLIDWORKSPART2014"))
// and answered with the record in (OUTPUTDATA (CHECKINOUT ...)).
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
inline constexpr const char* keyInputFormat = "INPUTFORMAT";
inline constexpr const char* checkinPartFormat = "NATSOLIDWORKSPART2014";
inline constexpr const char* checkinAssemblyFormat = "NATSOLIDWORKSASM2014";

// Builds the options tree; the model and the creation options (may be empty) move into it.
// Paths are made absolute, as the host passes them. Throws std::invalid_argument when a path
// is not UTF-8 text.
ownedTreeC buildConversionOptions(const std::string& modelPath, const std::string& outDir,
                                  ownedTreeC model, ownedTreeC creationOptions);

// The options tree of a native check-in of `documentPath` (made absolute) in `inputFormat`.
// Throws std::invalid_argument when the path is not UTF-8 text.
ownedTreeC buildCheckinOptions(const std::string& documentPath, const std::string& inputFormat);

// The first node under "OUTPUTDATA" (the check-in record), null when there is none; it stays
// in the options tree.
metaTreePtrT conversionOutputData(metaTreePtrT options);

// The "RESTEXT" string that the conversion entry left in the options tree, if any.
std::optional<std::string> conversionResultText(metaTreePtrT options);

} // namespace natlinkhost
