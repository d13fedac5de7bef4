#include "platform/sldworks/model/selection.h"

namespace swsim {

void Selection::add(SelectionEntry entry, bool append) {
    if (!append) {
        entries_.clear();
        entries_.push_back(std::move(entry));
        return;
    }
    for (auto& e : entries_) {
        if (e.object == entry.object) {
            e.mark = entry.mark;
            e.pickPoint = entry.pickPoint;
            return;
        }
    }
    entries_.push_back(std::move(entry));
}

ObjectPtr Selection::objectAt(int index) const {
    if (index < 0 || index >= count())
        return nullptr;
    return entries_[static_cast<size_t>(index)].object;
}

} // namespace swsim
