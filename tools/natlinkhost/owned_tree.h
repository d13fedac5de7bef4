// A meta tree that the host holds: released at the end unless it was handed on.
#pragma once

#include "platform/host/metatree/metatree_api.h"

namespace natlinkhost {

class ownedTreeC {
public:
    ownedTreeC() = default;
    explicit ownedTreeC(metaTreePtrT root) : root_(root) {}
    ownedTreeC(ownedTreeC&& other) noexcept : root_(other.handOver()) {}
    ownedTreeC& operator=(ownedTreeC&& other) noexcept {
        if (this != &other) {
            reset();
            root_ = other.handOver();
        }
        return *this;
    }
    ownedTreeC(const ownedTreeC&) = delete;
    ownedTreeC& operator=(const ownedTreeC&) = delete;
    ~ownedTreeC() { reset(); }

    metaTreePtrT get() const { return root_; }
    explicit operator bool() const { return !root_.isNull(); }

    // Gives the tree up (to be appended elsewhere or released by the caller).
    metaTreePtrT handOver() {
        const metaTreePtrT root = root_;
        root_ = metaTreePtrT();
        return root;
    }

    void reset() {
        if (!root_.isNull()) {
            getIMetaTreeApi()->release(root_);
            root_ = metaTreePtrT();
        }
    }

private:
    metaTreePtrT root_;
};

} // namespace natlinkhost
