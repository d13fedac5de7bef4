#include "metamodel/core/classinstance.h"

#include "metamodel/core/valueviews.h"

#include <vector>

mzComStringC mRCClassInstancePropertyC::getName() const {
    return readStringProperty("NAME");
}

mzComStringC mRCClassInstanceStringPropertyC::getValue(bool* found) const {
    return metaObjStrC(findChild("VALUE")).get(found);
}

mRCClassInstancePropertyC mRCClassInstanceC::findProperty(const mzComStringC& name) const {
    if (!isValid())
        return mRCClassInstancePropertyC();
    IMetaTreeApi& a = *getIMetaTreeApi();
    const std::string propTag = metaToUtf8(mRCClassInstancePropertyC::tagName());
    const std::string baseTag = metaToUtf8(baseClassTagName());
    // Depth first without recursion: a class's own properties, then its bases in order.
    std::vector<metaTreePtrT> pending{getTreePtr()};
    while (!pending.empty()) {
        metaTreePtrT cls = pending.back();
        pending.pop_back();
        std::vector<metaTreePtrT> bases;
        for (metaTreePtrT c = a.firstChild(cls); !c.isNull(); c = a.nextSibling(c)) {
            if (a.hasTag(c, propTag)) {
                mRCClassInstancePropertyC property(c);
                if (property.getName() == name)
                    return property;
            } else if (a.hasTag(c, baseTag)) {
                bases.push_back(c);
            }
        }
        pending.insert(pending.end(), bases.rbegin(), bases.rend());
    }
    return mRCClassInstancePropertyC();
}
