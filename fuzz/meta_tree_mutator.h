// Structure-aware mutation of meta text for the fuzz targets: the text is parsed into a meta
// tree, the tree is changed the way hostile models differ from sound ones (numbers set to
// extreme values, nodes deleted, duplicated, swapped or nested in themselves, name strings
// pointed at nodes that do not exist or at the node that holds them) and printed back, so
// that each mutant still reaches the build road instead of stopping in the parser.
// Depends only on the meta tree store; the same seed gives the same mutant.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace natlinkfuzz {

// The text of `text`'s tree after one to three changes chosen by `seed`, printed compactly.
// nullopt when `text` does not parse or its mutant cannot be printed (beyond the store's
// limits); nothing is left alive in the store either way.
std::optional<std::string> mutateMetaText(std::string_view text, std::uint32_t seed);

// `first`'s tree with a subtree of `second`'s tree put in at a place chosen by `seed` (as a
// new child of one of its lists, or in place of one of its nodes); nullopt as for
// mutateMetaText, or when either text does not parse.
std::optional<std::string> crossMetaTexts(std::string_view first, std::string_view second,
                                          std::uint32_t seed);

} // namespace natlinkfuzz
