#include "metamodel/core/listviews.h"

namespace {

IMetaTreeApi& store() {
    return *getIMetaTreeApi();
}

} // namespace

int metaObjListContainerC::count() const {
    std::lock_guard<std::mutex> guard(lock_);
    return countChildren();
}

metaTreePtrT metaObjListContainerC::getAt(int index) const {
    std::lock_guard<std::mutex> guard(lock_);
    return getChildAt(index);
}

int metaObjListContainerC::countByKey(const mzComStringC& key) const {
    std::lock_guard<std::mutex> guard(lock_);
    IMetaTreeApi& a = store();
    const std::string tag = metaToUtf8(key);
    int n = 0;
    for (metaTreePtrT c = a.firstChild(getTreePtr()); !c.isNull(); c = a.nextSibling(c)) {
        if (a.hasTag(c, tag))
            ++n;
    }
    return n;
}

metaTreePtrT metaObjListContainerC::getAtByKey(const mzComStringC& key, int index) const {
    if (index < 0)
        return metaTreePtrT();
    std::lock_guard<std::mutex> guard(lock_);
    IMetaTreeApi& a = store();
    const std::string tag = metaToUtf8(key);
    int n = 0;
    for (metaTreePtrT c = a.firstChild(getTreePtr()); !c.isNull(); c = a.nextSibling(c)) {
        if (a.hasTag(c, tag) && n++ == index)
            return c;
    }
    return metaTreePtrT();
}

std::vector<metaTreePtrT> metaObjListContainerC::childrenByKey(const mzComStringC& key) const {
    std::lock_guard<std::mutex> guard(lock_);
    IMetaTreeApi& a = store();
    const std::string tag = metaToUtf8(key);
    std::vector<metaTreePtrT> out;
    for (metaTreePtrT c = a.firstChild(getTreePtr()); !c.isNull(); c = a.nextSibling(c)) {
        if (a.hasTag(c, tag))
            out.push_back(c);
    }
    return out;
}

mzComStringC metaObjListStrContainerC::getStringAt(int index) const {
    std::optional<std::string> s = store().getString(getAt(index));
    return s ? metaFromUtf8(*s) : mzComStringC();
}

bool metaObjListStrContainerC::appendString(const mzComStringC& value) {
    if (!isValid())
        return false;
    metaTreePtrT n = newStringNode(value);
    std::lock_guard<std::mutex> guard(listLock());
    if (appendChild(n).isNull()) {
        store().release(n);
        return false;
    }
    return true;
}

metaTreePtrT metaObjKeyContainerC::findByKey(const mzComStringC& key) const {
    std::lock_guard<std::mutex> guard(listLock());
    return findChild(key);
}

metaTreePtrT metaObjKeyContainerC::append(metaTreePtrT node, bool clone) {
    std::lock_guard<std::mutex> guard(listLock());
    return appendChild(node, clone);
}
