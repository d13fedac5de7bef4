#include "metamodel/core/classify.h"

mzComStringC mDocClassifyVarHolderC::getVarValue(const mzComStringC& name,
                                                 const mzComStringC& def) const {
    const mzComStringC varTag = varTagName();
    for (metaObjEnumC e = enumChildren(); e.isValid(); e.next()) {
        metaObjectC var(e.current());
        if (var.hasKey(varTag) && var.readStringProperty("VARNAME") == name) {
            bool found = false;
            metaObjStrC value(var.findChild("VALUE"));
            mzComStringC text = value.get(&found);
            return found ? text : def;
        }
    }
    return def;
}

mzComStringC mDocClassifyIdInfoC::getClassId() const {
    return readStringProperty("CLASSID");
}

mzComStringC mDocClassifyIdInfoC::getInstId() const {
    return readStringProperty("INSTID");
}

mzComStringC mDocClassifyInfoC::getName() const {
    return readStringProperty("NAME");
}

std::vector<mDocClassifyIdInfoC> mDocClassifyInfoC::collectIdInfos(const mzComStringC& key) const {
    std::vector<mDocClassifyIdInfoC> result;
    for (metaObjEnumC e = enumChildren(); e.isValid(); e.next()) {
        mDocClassifyIdInfoC id(e.current());
        if (isDocClassifyIdInfo(id) && id.getClassId() == key)
            result.push_back(id);
    }
    return result;
}

mDocClassifyIdInfoC mDocClassifyInfoC::getIdInfoAt(const mzComStringC& key, int index) const {
    if (index < 0)
        return mDocClassifyIdInfoC();
    int n = 0;
    for (metaObjEnumC e = enumChildren(); e.isValid(); e.next()) {
        mDocClassifyIdInfoC id(e.current());
        if (isDocClassifyIdInfo(id) && id.getClassId() == key && n++ == index)
            return id;
    }
    return mDocClassifyIdInfoC();
}

mDocClassifyInfoC mDocClassifyListC::findInfo(const mzComStringC& name) const {
    const mzComStringC infoTag = mDocClassifyInfoC::tagName();
    for (metaObjEnumC e = enumChildren(); e.isValid(); e.next()) {
        mDocClassifyInfoC info(e.current());
        if (info.hasKey(infoTag) && info.getName() == name)
            return info;
    }
    return mDocClassifyInfoC();
}

mDocClassifyInfoC getDocClassifyInfoAt(const mDocClassifyListC& list, int index) {
    return mDocClassifyInfoC(list.getAtByKey(mDocClassifyInfoC::tagName(), index));
}

bool isDocClassifyIdInfo(const metaObjectVirtualDataBaseC& view) {
    return view.isValid() && view.isKeyNode() && view.hasKey(mDocClassifyIdInfoC::tagName());
}
