#include "metamodel/core/pshell.h"

#include "metamodel/core/metalog.h"

#include <vector>

namespace {

IMetaTreeApi& store() {
    return *getIMetaTreeApi();
}

// Appends a new empty VAR entry to set; null when the set has no node.
metaTreePtrT appendVar(metaObjectVirtualDataBaseC& set) {
    if (!set.isValid())
        return metaTreePtrT();
    metaTreePtrT var = store().newKeyNode(metaToUtf8(pShellVarBaseC::keyName()));
    if (set.appendChild(var).isNull()) {
        store().release(var);
        return metaTreePtrT();
    }
    return var;
}

} // namespace

bool pShellBaseC::setStringField(const char* key, const mzComStringC& value) {
    return metaObjStrC(getOrAddChild(key)).set(value);
}

bool pShellBaseC::setDoubleField(const char* key, double value) {
    return metaObjDoubleC(getOrAddChild(key)).set(value);
}

bool pShellBaseC::setIntField(const char* key, std::int32_t value) {
    return metaObjIntC(getOrAddChild(key)).set(value);
}

bool pShellBaseC::setPreview(const mzComStringC& path) {
    return setStringField("PREVIEW", path);
}

bool pShellBaseC::setPreview3D(const mzComStringC& path) {
    return setStringField("PREVIEW3D", path);
}

bool pShellVarBaseC::setVarName(const mzComStringC& name) {
    return setStringField("VARNAME", name);
}

mzComStringC pShellVarBaseC::getVarName() const {
    return readStringProperty("VARNAME");
}

bool pShellVarValueC::setVarValue(const mzComStringC& value) {
    return setStringField("VARVALUE", value);
}

mzComStringC pShellVarValueC::getVarValue() const {
    return readStringProperty("VARVALUE");
}

pShellVarBaseC pShellVarDescSetBaseC::findVarDesc(const mzComStringC& name) const {
    const mzComStringC varKey = pShellVarBaseC::keyName();
    for (metaObjEnumC e = enumChildren(); e.isValid(); e.next()) {
        pShellVarBaseC var(e.current());
        if (var.hasKey(varKey) && var.getVarName() == name)
            return var;
    }
    return pShellVarBaseC();
}

pShellVarBaseC pShellVarDescSetBaseC::addVarDesc() {
    return pShellVarBaseC(appendVar(*this));
}

void pShellVarDescSetBaseC::addVarDescOut(pShellVarBaseC& out) {
    out.attach(appendVar(*this), false);
}

pShellVarValueC pShellVarValueSetBaseC::getOrAddVarValue(const mzComStringC& name) {
    const mzComStringC varKey = pShellVarBaseC::keyName();
    for (metaObjEnumC e = enumChildren(); e.isValid(); e.next()) {
        pShellVarValueC var(e.current());
        if (var.hasKey(varKey) && var.getVarName() == name)
            return var;
    }
    pShellVarValueC var(appendVar(*this));
    if (var.isValid())
        var.setVarName(name);
    return var;
}

void pShellVarValueSetBaseC::addVarValueOut(pShellVarValueC& out) {
    out.attach(appendVar(*this), false);
}

pShellDocBaseC pShellMemberSetC::addDocument(metaTreePtrT document) {
    if (!isValid())
        return pShellDocBaseC();
    IMetaTreeApi& a = store();
    const std::string docTag = metaToUtf8(pShellDocBaseC::keyName());
    const bool fresh = document.isNull();
    if (fresh)
        document = a.newKeyNode(docTag);
    else if (!a.hasTag(document, docTag)) {
        META_LOG_WARNING("addDocument: the node is no DOCUMENT record");
        return pShellDocBaseC();
    }
    if (appendChild(document).isNull()) {
        if (fresh)
            a.release(document);
        return pShellDocBaseC();
    }
    return pShellDocBaseC(document);
}

int pShellMemberSetC::countDocuments() const {
    return metaObjListContainerC(getTreePtr()).countByKey(pShellDocBaseC::keyName());
}

pShellDocBaseC pShellMemberSetC::getDocumentAt(int index) const {
    return pShellDocBaseC(
        metaObjListContainerC(getTreePtr()).getAtByKey(pShellDocBaseC::keyName(), index));
}

mzComStringC pShellDocBaseC::getCadIdent() const {
    return readStringProperty("CADIDENT");
}

pShellDocBaseC pShellDocBaseC::findDocument(const mzComStringC& cadIdent) const {
    if (!isValid())
        return pShellDocBaseC();
    IMetaTreeApi& a = store();
    const std::string docTag = metaToUtf8(keyName());
    const std::string membersTag = metaToUtf8(pShellMemberSetC::keyName());
    // Depth first, in document order, without recursion.
    std::vector<metaTreePtrT> pending{getTreePtr()};
    while (!pending.empty()) {
        pShellDocBaseC doc(pending.back());
        pending.pop_back();
        if (doc.getCadIdent() == cadIdent)
            return doc;
        std::vector<metaTreePtrT> members;
        for (metaTreePtrT set = a.firstChild(doc.getTreePtr()); !set.isNull();
             set = a.nextSibling(set)) {
            if (!a.hasTag(set, membersTag))
                continue;
            for (metaTreePtrT m = a.firstChild(set); !m.isNull(); m = a.nextSibling(m)) {
                if (a.hasTag(m, docTag))
                    members.push_back(m);
            }
        }
        pending.insert(pending.end(), members.rbegin(), members.rend());
    }
    return pShellDocBaseC();
}

pShellCurVarSetC pShellDocBaseC::getCurVarSet() {
    return pShellCurVarSetC(getOrAddChild(pShellCurVarSetC::keyName()));
}

pShellMemberSetC pShellDocBaseC::getMemberSet() {
    return pShellMemberSetC(getOrAddChild(pShellMemberSetC::keyName()));
}

metaObjListStrContainerC pShellDocBaseC::getUsedFiles() {
    return metaObjListStrContainerC(getOrAddChild("USEDFILES"));
}

metaObjListStrContainerC pShellDocBaseC::getWantFiles() {
    return metaObjListStrContainerC(getOrAddChild("WANTFILES"));
}
