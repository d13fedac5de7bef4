// The model reference (examples/MODELS.md) read as data, so that it is checked against the
// readers and the examples instead of drifting from them.
//
// How the reference is read:
// - A section starts at a "### " heading; the upper-case words of the heading are the items it
//   describes ("### BASE and CUT"). It runs to the next "## " or "### " heading.
// - A table row whose first cell is a backticked upper-case word ("| `USED` | ...") lists that
//   word as a key of the section's items.
// - Blocks fenced as "```meta" are the section's examples; "```meta part" marks an example whose
//   nodes join the reference part (items into its ITEMS, the others into the PART node).
#pragma once

#include "platform/host/metatree/metatree_ptr.h"

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace modelref {

struct exampleS {
    int line = 0; // of the opening fence
    std::string text;
    bool joinsPart = false;
};

struct sectionS {
    int line = 0;
    std::vector<std::string> items;
    std::set<std::string> keys;
    std::string text;
    std::vector<exampleS> examples;
};

class modelReferenceC {
public:
    explicit modelReferenceC(std::string_view markdown);

    const std::vector<sectionS>& sections() const { return sections_; }
    // The section that describes the item; null when none does.
    const sectionS* section(const std::string& item) const;
    // Whether the word stands anywhere in the reference as a whole word.
    bool mentions(const std::string& word) const;

    // What a tree holds that the reference does not describe, one line each ("WHERE: ..."):
    // a key node whose parent's section does not list it, an item without a section, a TYP
    // value its item's section does not name, a creation option it does not list. A string
    // that holds meta text (FACD, CLASSIFICATIONINFO) is read and checked as a tree of its own.
    std::vector<std::string> undocumented(metaTreePtrT root, const std::string& where) const;

private:
    std::string text_;
    std::vector<sectionS> sections_;
};

// The words a source text reads as keys: its upper-case string literals outside comments, and
// the names it passes to the creation option lookups ("SketchMode").
std::set<std::string> wordsReadBy(std::string_view source);

} // namespace modelref
