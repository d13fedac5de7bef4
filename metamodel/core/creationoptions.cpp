#include "metamodel/core/creationoptions.h"

bool isPair(const metaObjectVirtualDataBaseC& view) {
    return view.isValid() && view.isKeyNode() && view.hasKey(keyPair);
}

mzComStringC mDocumentCreationOptionSettingC::getName() const {
    return readStringProperty("NAME");
}

mzComStringC mDocumentCreationOptionSettingC::getVal() const {
    return readStringProperty("VAL");
}

mzComStringC mDocumentCreationOptionSettingC::getValue(const mzComStringC& def) const {
    mzComStringC v = getVal();
    return v.isEmpty() ? def : v;
}

bool mDocumentCreationOptionSettingC::setVal(const mzComStringC& value) {
    return metaObjStrC(getOrAddChild("VAL")).set(value);
}

mDocumentCreationOptionSettingC
mDocumentCreationOptionSettingsC::getSetting(const mzComStringC& name, int create) {
    const mzComStringC key = mDocumentCreationOptionSettingC::keyName();
    for (metaObjEnumC e = enumChildren(); e.isValid(); e.next()) {
        mDocumentCreationOptionSettingC setting(e.current());
        if (setting.hasKey(key) && setting.getName() == name)
            return setting;
    }
    if (!create || !isValid())
        return mDocumentCreationOptionSettingC();
    mDocumentCreationOptionSettingC fresh;
    if (!fresh.ctorNewNode(key))
        return mDocumentCreationOptionSettingC();
    metaObjStrC(fresh.getOrAddChild("NAME")).set(name);
    if (appendChild(fresh.getTreePtr()).isNull())
        return mDocumentCreationOptionSettingC();
    return mDocumentCreationOptionSettingC(fresh.getTreePtr());
}

bool mDocumentCreationOptionAttrMapKeyC::ctorNew(int owns) {
    if (!ctorNewNode(keyName()))
        return false;
    if (!owns) {
        // The caller takes the node over (see the header).
        metaTreePtrT node = detach(false);
        attach(node, false);
    }
    return true;
}

mDocumentCreationOptionSettingsC mDocumentCreationOptionsC::getSettings() {
    return mDocumentCreationOptionSettingsC(
        getOrAddChild(mDocumentCreationOptionSettingsC::keyName()));
}

mDocumentCreationOptionAttrMapC mDocumentCreationOptionsC::getAttrMap() {
    return mDocumentCreationOptionAttrMapC(getOrAddChild("CREAOPTATTRMAP"));
}

mDocumentCreationOptionsC mDocumentC::getCreationOptions() {
    return mDocumentCreationOptionsC(getOrAddChild(mDocumentCreationOptionsC::keyName()));
}
