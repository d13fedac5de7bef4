#pragma once
// List views over the children of a node: all children, or only those with one key;
// string lists, number lists and keyed containers of typed element views.
//
// Every list view carries its own lock, taken around each count and each indexed access,
// so that one list view may be shared by threads that read it. The lock guards the view's
// reads, not the tree: the store itself is used by one build thread at a time.

#include "metamodel/core/metaobject.h"
#include "metamodel/core/valueviews.h"

#include <mutex>
#include <type_traits>
#include <utility>
#include <vector>

class metaObjListContainerC : public metaObjectC {
public:
    metaObjListContainerC() = default;
    explicit metaObjListContainerC(metaTreePtrT node, bool owns = false)
        : metaObjectC(node, owns) {}
    // A copy is a second view of the node with a lock of its own.
    metaObjListContainerC(const metaObjListContainerC& other)
        : metaObjectVirtualDataBaseC(other), metaObjectC(other) {}
    metaObjListContainerC& operator=(const metaObjListContainerC& other) {
        metaObjectC::operator=(other);
        return *this;
    }
    ~metaObjListContainerC() override = default;

    // Number of children; 0 without a node.
    int count() const;
    // The i-th child; null when out of range.
    metaTreePtrT getAt(int index) const;
    // Number of children that are key nodes with this key.
    int countByKey(const mzComStringC& key) const;
    // The i-th among the children with this key; null when out of range. O(children): a
    // loop over all of them takes childrenByKey instead.
    metaTreePtrT getAtByKey(const mzComStringC& key, int index) const;
    // The children with this key, in order, in one walk.
    std::vector<metaTreePtrT> childrenByKey(const mzComStringC& key) const;

protected:
    std::mutex& listLock() const { return lock_; }

private:
    mutable std::mutex lock_;
};

// List of string values: (USEDFILES "a" "b").
class metaObjListStrContainerC : public metaObjListContainerC {
public:
    using metaObjListContainerC::metaObjListContainerC;

    // The string of the i-th child; empty when absent or not a string.
    mzComStringC getStringAt(int index) const;
    // Appends a new string node as last child; false without a node.
    bool appendString(const mzComStringC& value);
};

// List of number values: (PDELS 1.5 2.0), (PFEATIREFS 0 3). Integer element types read
// each element as a double truncated to 32 bits (saturating) and append integer nodes;
// floating types read doubles and append double nodes.
template <class T> class metaObjListValContainerT : public metaObjListContainerC {
    static_assert(std::is_arithmetic_v<T>, "a list of numbers");

public:
    using metaObjListContainerC::metaObjListContainerC;

    // The i-th element; 0 when absent or not a number (found = false then).
    T getValueAt(int index, bool* found = nullptr) const {
        metaTreePtrT n = getAt(index);
        if (found)
            *found = getIMetaTreeApi()->isNumber(n);
        if constexpr (std::is_floating_point_v<T>) {
            return static_cast<T>(metaObjDoubleNodeC(n).getValue());
        } else {
            IMetaTreeApi& a = *getIMetaTreeApi();
            if (a.isInteger(n))
                return static_cast<T>(metaSaturateToInt32(a.getInteger(n).value_or(0)));
            return static_cast<T>(metaTruncateToInt32(a.getDouble(n).value_or(0.0)));
        }
    }
    // Overwrites the i-th element in place; false when out of range or not an atom.
    bool setValueAt(int index, T value) {
        std::lock_guard<std::mutex> guard(listLock());
        metaTreePtrT n = getChildAt(index);
        if (n.isNull() || getIMetaTreeApi()->isList(n))
            return false;
        if constexpr (std::is_floating_point_v<T>)
            return getIMetaTreeApi()->setDouble(n, static_cast<double>(value));
        else
            return getIMetaTreeApi()->setInteger(n, static_cast<std::int64_t>(value));
    }
    // Appends a new element as last child; false without a node.
    bool appendValue(T value) {
        if (!isValid())
            return false;
        metaTreePtrT n;
        if constexpr (std::is_floating_point_v<T>)
            n = newDoubleNode(static_cast<double>(value));
        else
            n = newIntNode(static_cast<std::int64_t>(value));
        std::lock_guard<std::mutex> guard(listLock());
        if (appendChild(n).isNull()) {
            getIMetaTreeApi()->release(n);
            return false;
        }
        return true;
    }
};

// Container whose elements are its children (whatever their key, in document order),
// looked up by key or by index.
class metaObjKeyContainerC : public metaObjListContainerC {
public:
    using metaObjListContainerC::metaObjListContainerC;

    // First child with this key; null when none.
    metaTreePtrT findByKey(const mzComStringC& key) const;
    // Appends node (moved, or a clone) as last child; the appended node or null.
    metaTreePtrT append(metaTreePtrT node, bool clone = false);
};

// Keyed container with typed element views; ElemT is a view class constructible from
// (metaTreePtrT, bool owns).
template <class ElemT> class metaObjKeyContainerTemplateC : public metaObjKeyContainerC {
public:
    using metaObjKeyContainerC::metaObjKeyContainerC;

    // The i-th child as an element view; unbound when out of range.
    ElemT getElementAt(int index) const { return ElemT(getAt(index), false); }
    // The first child with the key as an element view; unbound when none.
    ElemT findElement(const mzComStringC& key) const { return ElemT(findByKey(key), false); }
};
