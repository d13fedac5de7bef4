// The document's selection: an ordered list of selected objects, each with a mark and the
// point at which it was picked (when one was given).
#pragma once

#include "platform/sldworks/model/object.h"
#include "platform/sldworks/model/types.h"

#include <optional>
#include <vector>

namespace swsim {

struct SelectionEntry {
    ObjectPtr object;
    int mark = 0;
    std::optional<Vec3> pickPoint;
};

class Selection {
public:
    // Appends the entry, or replaces the whole selection with it when `append` is false.
    // Selecting an object that is already selected updates its mark and pick point in place.
    void add(SelectionEntry entry, bool append);
    void clear() { entries_.clear(); }
    const std::vector<SelectionEntry>& entries() const { return entries_; }
    int count() const { return static_cast<int>(entries_.size()); }
    // 0-based; null when out of range.
    ObjectPtr objectAt(int index) const;
    // The first selected object of type T, or null.
    template <class T> std::shared_ptr<T> first() const {
        for (const auto& e : entries_)
            if (auto t = std::dynamic_pointer_cast<T>(e.object))
                return t;
        return nullptr;
    }

private:
    std::vector<SelectionEntry> entries_;
};

} // namespace swsim
