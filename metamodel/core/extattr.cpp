#include "metamodel/core/extattr.h"

#include "metamodel/core/registry.h"

namespace {

IMetaTreeApi& store() {
    return *getIMetaTreeApi();
}

} // namespace

mzComStringC mExtAttrBaseC::getName() const {
    return readStringProperty("NAME");
}

mzComStringC mExtAttrBaseC::getValueText() const {
    if (mExtAttrBaseC* proto = lookupInterfaceInstance<mExtAttrBaseC>(getTag());
        proto && proto != this) {
        prototypeBindGuardC bind(*proto, getTreePtr());
        return proto->getValueText();
    }
    IMetaTreeApi& a = store();
    metaTreePtrT value = a.firstChild(findChild("VALUE"));
    if (std::optional<std::string> s = a.getString(value))
        return metaFromUtf8(*s);
    if (a.isInteger(value))
        return metaFromUtf8(std::to_string(a.getInteger(value).value_or(0)));
    if (std::optional<double> d = a.getDouble(value))
        return mzComStringC::number(*d, '.', 14);
    return mzComStringC();
}

mzComStringC mExtAttrStrC::getValue() const {
    return readStringProperty("VALUE");
}

double mExtAttrValC::getValue() const {
    return metaObjDoubleC(findChild("VALUE")).get();
}

mzComStringC mExtAttrValC::getValueText() const {
    return mzComStringC::number(getValue(), '.', 14);
}

mzComStringC mExtAttrVarC::getVarName() const {
    return readStringProperty("VARNAME");
}

mzComStringC mExtAttrVarC::getValue() const {
    return readStringProperty("VALUE");
}

mExtAttrBaseC mExtAttrListC::getAt(int index, bool* found) const {
    metaTreePtrT n = metaObjListContainerC::getAt(index);
    if (found)
        *found = !n.isNull();
    return mExtAttrBaseC(n, false);
}

void registerMetaCoreClasses() {
    auto& registry = metaObjInterfaceRegistry<mExtAttrBaseC>();
    registry.registerClass<mExtAttrStrC>(mExtAttrStrC::tagName, metaClassPriority);
    registry.registerClass<mExtAttrValC>(mExtAttrValC::tagName, metaClassPriority);
    registry.registerClass<mExtAttrVarC>(mExtAttrVarC::tagName, metaClassPriority);
}
