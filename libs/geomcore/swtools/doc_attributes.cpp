#include "libs/geomcore/swtools/doc_attributes.h"

#include "libs/KvorCadComm/app_environment.h"
#include "libs/KvorCadComm/creation_warning.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swtools/error.h"

#include <utility>
#include <vector>

namespace {

std::vector<_bstr_t> customNamesOf(IModelDoc2* doc, const _bstr_t& configuration) {
    const _variant_t names = modelDocGetCustomNames(doc, configuration);
    // A document without properties may answer no array at all.
    if (!variantHoldsArray(names))
        return {};
    return readBstrArray(names);
}

// Name, value text and property type of an attribute entry by its kind; an empty name for
// kinds that are not written.
struct attributeS {
    mzComStringC name;
    mzComStringC value;
    std::int32_t type = customPropertyTypeText;
};

attributeS attributeOf(const mExtAttrBaseC& entry) {
    attributeS result;
    if (entry.hasKey(mExtAttrStrC::tagName)) {
        const mExtAttrStrC attr(entry.getTreePtr());
        result.name = attr.getName();
        result.value = attr.getValue();
    } else if (entry.hasKey(mExtAttrValC::tagName)) {
        const mExtAttrValC attr(entry.getTreePtr());
        result.name = attr.getName();
        result.value = mzComStringC::number(attr.getValue(), '.', 14);
        result.type = customPropertyTypeNumber;
    } else if (entry.hasKey(mExtAttrVarC::tagName)) {
        const mExtAttrVarC attr(entry.getTreePtr());
        result.name = attr.getName();
        result.value = attr.getValue();
    }
    return result;
}

// Runs the write of one attribute. An attribute SolidWorks refuses costs only itself: the user
// is told which one, and the part is still built and saved.
template <class writeT>
int writeOrWarn(const char* group, const mzComStringC& name, writeT&& write) {
    try {
        return write();
    } catch (const _com_error& error) {
        NATLINK_CREATION_WARNING(0, "WARNING",
                                 mzComStringC(group) + " attribute " + quotedName(name) +
                                     " not written: " + error.ErrorMessage(),
                                 getAppName());
        return 0;
    }
}

} // namespace

int writeAttributeValue(IModelDoc2Ptr& doc, const mzComStringC& name, const mzComStringC& value,
                        std::int32_t type, int overwrite, int useActiveConfig) {
    NATLINK_TRACE_FRAME_C("writeAttributeValue");
    NATLINK_LOG(mzLogLevelTrace, "Attributename:  " + name);
    NATLINK_LOG(mzLogLevelTrace, "Attributevalue: " + value);

    const IConfigurationPtr active(modelDocGetActiveConfiguration(doc));
    _bstr_t configuration("");
    if (useActiveConfig != 0) {
        configuration = configurationGetName(requireInterfaceOf<IConfiguration>(active));
        NATLINK_LOG(mzLogLevelTrace, "Configname: " + mzComStringC(configuration));
    }
    if (name.isEmpty() || value.isEmpty())
        return 0;

    const _bstr_t propertyName = name.toBstr();
    for (const _bstr_t& existing : customNamesOf(doc, configuration)) {
        if (mzComStringC(existing) != name)
            continue;
        const mzComStringC current(modelDocGetCustomValue(doc, configuration, propertyName));
        if (current == value || overwrite == 0)
            return 0;
        NATLINK_LOG(mzLogLevelTrace, "Overwrite existing attribute");
        modelDocSetCustomValue(doc, configuration, propertyName, value.toBstr());
        return 1;
    }
    NATLINK_LOG(mzLogLevelTrace, "Create new attribute");
    // A property SolidWorks did not add was not written.
    return modelDocAddCustomValue(doc, configuration, propertyName, type, value.toBstr()) !=
                   VARIANT_FALSE
               ? 1
               : 0;
}

int addAttributes(IModelDoc2Ptr& doc, const mExtAttrListC& list) {
    NATLINK_TRACE_FRAME_C("addAttributes");
    const int count = list.count();
    if (count < 1)
        return 0;
    int written = 0;
    for (int i = 0; i < count; ++i) {
        const attributeS attr = attributeOf(list.getAt(i));
        if (writeOrWarn("Document", attr.name, [&] {
                return writeAttributeValue(doc, attr.name, attr.value, attr.type, 1, 0);
            }) != 0)
            written = 1;
    }
    return written;
}

mExtAttrListC lookupAttrListByKey(const mDocumentCreationOptionAttrMapC& map,
                                  const mzComStringC& key) {
    mDocumentCreationOptionAttrMapKeyC keyView;
    if (!keyView.ctorNew(1) || !keyView.set(key))
        return mExtAttrListC();
    return map.findValue(keyView);
}

int writeDocumentAttributes(IModelDoc2Ptr& doc, mDocumentCreationOptionsC& options) {
    const mDocumentCreationOptionAttrMapC map = options.getAttrMap();
    int written = addAttributes(doc, lookupAttrListByKey(map, "DEFAULTATTR"));

    const mExtAttrListC summary = lookupAttrListByKey(map, "SUMMARYATTR");
    for (int i = 0, n = summary.count(); i < n; ++i) {
        const mExtAttrBaseC entry = summary.getAt(i);
        bool isNumber = false;
        const int field = entry.getName().toInt(&isNumber);
        // A name that is no field number must not be written into field 0 (the title).
        if (!isNumber) {
            NATLINK_LOG(mzLogLevelWarning,
                        "Summary attribute skipped, its name is no field number: " +
                            entry.getName());
            continue;
        }
        const mzComStringC value = entry.getValueText();
        if (writeOrWarn("Summary", entry.getName(), [&] {
                if (mzComStringC(modelDocGetSummaryInfo(doc, field)) == value)
                    return 0;
                modelDocSetSummaryInfo(doc, field, value.toBstr());
                return 1;
            }) != 0)
            written = 1;
    }

    const mExtAttrListC config = lookupAttrListByKey(map, "CONFIGATTR");
    for (int i = 0, n = config.count(); i < n; ++i) {
        const mExtAttrBaseC entry = config.getAt(i);
        if (writeOrWarn("Configuration", entry.getName(), [&] {
                return writeAttributeValue(doc, entry.getName(), entry.getValueText(),
                                           customPropertyTypeText, 1, 1);
            }) != 0)
            written = 1;
    }
    return written;
}

namespace {

// The child components of the assembly's active configuration that have a document (with
// onlyIdentified, only those whose document has the property "KVOR_IDENT"), with it.
std::vector<std::pair<IComponentPtr, IModelDoc2Ptr>> componentsToSet(IModelDoc2Ptr& doc,
                                                                     int onlyIdentified) {
    std::vector<std::pair<IComponentPtr, IModelDoc2Ptr>> kept;
    if (modelDocGetType(doc) != 2)
        return kept;
    const IConfigurationPtr active(modelDocGetActiveConfiguration(doc));
    const IComponentPtr root(configGetRootComponent(active));
    if (componentGetChildrenCount(root) == 0)
        return kept;
    for (const IDispatchPtr& child : readObjectArray(componentGetChildren(root))) {
        const IComponentPtr component = requireInterfaceOf<IComponent>(child);
        const IModelDoc2Ptr componentDoc(componentGetModelDoc(component));
        // A component whose document is not loaded cannot be read; the others still get
        // their configuration.
        if (!componentDoc)
            continue;
        const _bstr_t ident = modelDocReadCustomProperty(componentDoc, "", "KVOR_IDENT");
        if (ident.length() != 0 || onlyIdentified == 0)
            kept.emplace_back(component, componentDoc);
    }
    return kept;
}

void showInConfiguration(IComponent* component, const _bstr_t& configuration) {
    if (componentIsStateSet(component) != VARIANT_FALSE)
        componentSetState(component, 2);
    componentSetConfiguration(component, configuration);
}

} // namespace

void setComponentConfigurations(IModelDoc2Ptr& doc, const _bstr_t& configuration,
                                int onlyIdentified) {
    const bool suppress = mzComStringC(configuration) == "SUP";
    for (const auto& [component, componentDoc] : componentsToSet(doc, onlyIdentified)) {
        if (suppress)
            componentSetState(component, 0);
        else
            showInConfiguration(component, configuration);
    }
}

void setComponentConfigurations(IModelDoc2Ptr& doc, const componentConfigurationF& configurationOf,
                                int onlyIdentified) {
    for (const auto& [component, componentDoc] : componentsToSet(doc, onlyIdentified))
        showInConfiguration(component, configurationOf(component, componentDoc));
}
