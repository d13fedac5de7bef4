#include "libs/geomcore/natCheckin/checkin_record.h"

#include "metamodel/m2d/docprefs.h"

namespace {

// Appends a new key node `key` to `parent`; null when the parent has no node or refuses it.
metaTreePtrT appendNew(metaObjectVirtualDataBaseC& parent, const mzComStringC& key) {
    if (!parent.isValid())
        return metaTreePtrT();
    metaObjectC child;
    if (!child.ctorNewNode(key))
        return metaTreePtrT();
    return parent.appendChild(child.getTreePtr());
}

// Makes the `key` child of `record` a copy of `source`.
bool replaceByCopy(metaObjectVirtualDataBaseC& record, const mzComStringC& key,
                   const metaObjectVirtualDataBaseC& source) {
    if (!source.isValid())
        return false;
    metaObjectC target(record.getOrAddChild(key));
    return target.isValid() && target.copyFrom(source.getTreePtr());
}

} // namespace

bool pShellVarDescC::setVarType(const mzComStringC& type) {
    return setStringField("VARTYPE", type);
}

bool pShellVarDescC::setVarUnit(const mzComStringC& unit) {
    return setStringField("VARUNIT", unit);
}

bool pShellVarDescC::setVarDesc(const mzComStringC& text) {
    return setStringField("VARDESC", text);
}

bool pShellVarDescC::setVarPrec(double precision) {
    return setDoubleField("VARPREC", precision);
}

bool pShellVarDescC::setVarHidden(std::int32_t hidden) {
    return setIntField("VARHIDDEN", hidden);
}

pShellVarDescC pShellVariableSetC::findOrAddVarDesc(const mzComStringC& name, bool* added) {
    pShellVarBaseC found = findVarDesc(name);
    if (added)
        *added = !found.isValid();
    if (found.isValid())
        return pShellVarDescC(found);
    pShellVarDescC desc(addVarDesc());
    if (desc.isValid())
        desc.setVarName(name);
    return desc;
}

pShellVarTabLineC pShellVarTableC::addLine() {
    return pShellVarTabLineC(appendNew(*this, pShellVarTabLineC::keyName()));
}

int pShellVarTableC::countLines() const {
    return metaObjListContainerC(getTreePtr()).countByKey(pShellVarTabLineC::keyName());
}

bool pShellVariantC::setBitmaps(const pShellDocBitmapsFilesC& bitmaps) {
    return replaceByCopy(*this, pShellDocBitmapsFilesC::keyName(), bitmaps);
}

pShellVariantC pShellVariantsC::addVariant() {
    return pShellVariantC(appendNew(*this, pShellVariantC::keyName()));
}

bool pShellDocCheckinC::setCadSystem(const mzComStringC& key) {
    return setStringField("CADSYSTEM", key);
}

bool pShellDocCheckinC::setCadIdent(const mzComStringC& path) {
    return setStringField("CADIDENT", path);
}

bool pShellDocCheckinC::setDefaultNb(const mzComStringC& text) {
    return setStringField("DEFAULTNB", text);
}

bool pShellDocCheckinC::setExtension(const mzComStringC& ext) {
    return setStringField("EXTENSION", ext);
}

bool pShellDocCheckinC::setShow3D(std::int32_t show) {
    return setIntField("SHOW3D", show);
}

bool pShellDocCheckinC::setUnitBase(double millimetresPerUnit) {
    return mDocumentPrefsC(getTreePtr()).setUnitBase(millimetresPerUnit);
}

pShellDocBitmapsFilesC pShellDocCheckinC::getBitmaps() {
    return pShellDocBitmapsFilesC(getOrAddChild(pShellDocBitmapsFilesC::keyName()));
}

pShellDocViewNamesC pShellDocCheckinC::getViewNames() {
    return pShellDocViewNamesC(getOrAddChild(pShellDocViewNamesC::keyName()));
}

pShellVariableSetC pShellDocCheckinC::getVariables() {
    return pShellVariableSetC(getOrAddChild(pShellVariableSetC::keyName()));
}

pShellVarTableC pShellDocCheckinC::getVarTable() {
    return pShellVarTableC(getOrAddChild(pShellVarTableC::keyName()));
}

pShellVariantsC pShellDocCheckinC::getVariants() {
    return pShellVariantsC(getOrAddChild(pShellVariantsC::keyName()));
}

bool pShellDocCheckinC::setVarTable(const pShellVarTableC& table) {
    return replaceByCopy(*this, pShellVarTableC::keyName(), table);
}

bool pShellDocCheckinC::setVariants(const pShellVariantsC& variants) {
    return replaceByCopy(*this, pShellVariantsC::keyName(), variants);
}

bool pShellGlobalHeaderC::setDestPrjDir(const mzComStringC& folder) {
    return setStringField("DESTPRJDIR", folder);
}

pShellGlobalHeaderC pShellHeaderC::getGlobalHeader() {
    return pShellGlobalHeaderC(getOrAddChild(pShellGlobalHeaderC::keyName()));
}

bool pShellHeaderC::setGlobalHeader(const pShellGlobalHeaderC& header) {
    return replaceByCopy(*this, pShellGlobalHeaderC::keyName(), header);
}

pShellDocCheckinC pShellHeaderC::getDocument() const {
    return pShellDocCheckinC(findChild(pShellDocBaseC::keyName()));
}
