#include "libs/geomcore/natCheckin/checkin_var_index.h"

namespace {

// Calls f(name, node) for each VAR child of set, in order.
template <class F> void forEachVar(const metaObjectVirtualDataBaseC& set, F f) {
    const mzComStringC varKey = pShellVarBaseC::keyName();
    for (metaObjEnumC e = set.enumChildren(); e.isValid(); e.next()) {
        const pShellVarBaseC var(e.current());
        if (var.hasKey(varKey))
            f(var.getVarName().utf16(), e.current());
    }
}

} // namespace

checkinVarIndexC::checkinVarIndexC(pShellVarDescSetBaseC& descriptions,
                                   pShellVarValueSetBaseC& values)
    : descriptions_(descriptions), values_(values) {
    forEachVar(descriptions_, [this](const std::u16string& name, metaTreePtrT) {
        descriptionNames_.insert(name);
    });
    forEachVar(values_, [this](const std::u16string& name, metaTreePtrT node) {
        valueNodes_.emplace(name, node); // keeps the first
    });
}

bool checkinVarIndexC::hasDescription(const mzComStringC& name) const {
    return descriptionNames_.count(name.utf16()) != 0;
}

pShellVarDescC checkinVarIndexC::addDescription(const mzComStringC& name) {
    pShellVarDescC desc(descriptions_.addVarDesc());
    desc.setVarName(name);
    if (desc.isValid())
        descriptionNames_.insert(name.utf16());
    return desc;
}

pShellVarValueC checkinVarIndexC::value(const mzComStringC& name) {
    if (auto it = valueNodes_.find(name.utf16()); it != valueNodes_.end())
        return pShellVarValueC(it->second);
    pShellVarValueC var;
    values_.addVarValueOut(var);
    if (var.isValid()) {
        var.setVarName(name);
        valueNodes_.emplace(name.utf16(), var.getTreePtr());
    }
    return var;
}
