#include "libs/geomcore/sw3ddoc/detail_levels.h"

#include "libs/KvorCadComm/app_environment.h"
#include "libs/KvorCadComm/creation_option_value.h"
#include "libs/KvorCadComm/creation_warning.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/sw3ddoc/sw_part.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swtools/doc_attributes.h"

#include <vector>

namespace {

const char* const lodTextPrefix = "Level of Detail: ";
// Options of the new configurations, as the level-of-detail code passes them.
constexpr long lodConfigurationOptions = 4;
// featureSetSuppression: suppress (0) in the configurations named (3).
constexpr long suppressState = 0;
constexpr long inNamedConfigurations = 3;

// The configuration manager, the active configuration and its name.
struct activeConfigurationS {
    IConfigurationManagerPtr manager;
    _bstr_t name;
};

activeConfigurationS readActiveConfiguration(IModelDoc2* doc) {
    activeConfigurationS found;
    found.manager = modelDocGetConfigurationManager(doc);
    const IConfigurationPtr active =
        requireInterfaceOf<IConfiguration>(modelDocGetActiveConfiguration(doc));
    found.name = configGetName(active);
    return found;
}

int excludedCount(const m3dPartDetailLevelEntryC& entry) {
    return entry.isValid() ? entry.getExcludeFeatureList().count() : 0;
}

mzComStringC readSelectedLevel(const m3dPartDetailLevelC& levels) {
    return levels.readStringProperty("SELLODNAME");
}

// Every feature recorded under an excluded meta name: a drilling built from its HISTORY
// records each of its cuts under the drilling's name, and all of them go.
std::vector<IFeaturePtr> featuresOf(const swPartC& part, const mzComStringC& metaName) {
    std::vector<IFeaturePtr> found;
    for (const featureRecord& record : part.featureRecords)
        if (!metaName.isEmpty() && record.metaName == metaName)
            found.push_back(record.feature);
    return found;
}

} // namespace

mzComStringC getLodConfigName(mDocumentCreationOptionSettingsC& settings,
                              const mzComStringC& levelName) {
    const mDocumentCreationOptionSettingC setting =
        settings.getSetting(mzComStringC("LODconfigName_") + levelName, 0);
    return setting.getValue(levelName);
}

bool hasNoLodExclusions(const m3dPartDetailLevelEntriesC& entries) {
    const int n = entries.countByKey(m3dPartDetailLevelEntryC::tagName());
    for (int i = 0; i < n; ++i)
        if (excludedCount(entries.getEntryAt(i)) > 0)
            return false;
    return true;
}

void swPartC::createDetailLevels(mDocumentCreationOptionSettingsC settings) {
    NATLINK_TRACE_FRAME_C("swPartC::createDetailLevels");
    const m3dPartDetailLevelC levels(findChild(m3dPartDetailLevelC::tagName()));
    const m3dPartDetailLevelEntriesC entries = levels.getEntries();
    const int n = entries.countByKey(m3dPartDetailLevelEntryC::tagName());
    if (hasNoLodExclusions(entries) &&
        getValAsInt(settings.getSetting("CreateEmptyLODConfiguration", 0)) == 0)
        return;

    const activeConfigurationS before = readActiveConfiguration(modelDoc);
    for (int i = 0; i < n; ++i) {
        const m3dPartDetailLevelEntryC entry = entries.getEntryAt(i);
        const mzComStringC name = getNameAttr(entry);
        const mzComStringC text = mzComStringC(lodTextPrefix) + name;
        const mzComStringC configName = getLodConfigName(settings, name);
        modelDocShowConfiguration(modelDoc, before.name);
        const IDispatchPtr configuration = configMgrAddConfiguration(
            before.manager, configName.toBstr(), text.toBstr(), configName.toBstr(),
            lodConfigurationOptions, _bstr_t(""), text.toBstr());
        if (!configuration)
            continue;
        const metaObjListStrContainerC excluded = entry.getExcludeFeatureList();
        const int k = excluded.count();
        _bstr_t target = configName.toBstr();
        BSTR targets[1] = {target.GetBSTR()};
        for (int j = k - 1; j >= 0; --j)
            for (const IFeaturePtr& feature : featuresOf(*this, excluded.getStringAt(j)))
                featureSetSuppression(feature, suppressState, inNamedConfigurations, 1, targets);
        if (k < 1 || modelDocRebuildCheck(modelDoc, VARIANT_FALSE) != VARIANT_FALSE)
            continue;

        try {
            modelDocViewZoomtofit2(modelDoc);
        } catch (...) {
            NATLINK_LOG(mzLogLevelTrace, "Exception in MethodViewZoomtofit2");
        }
        featMgrSetTreeFlag(modelDocGetFeatureManager(modelDoc), VARIANT_TRUE);
        const mzComStringC message =
            mzComStringC("Error while creating LOD \"") + configName + "\"";
        // The document goes on showing what it showed before, not the level that failed.
        modelDocShowConfiguration(modelDoc, before.name);
        displayCreationWarningI(0, "ERROR", message, getAppName(), __FILE__, __func__, __LINE__);
        throw message;
    }

    const mzComStringC selected = readSelectedLevel(levels);
    if (excludedCount(levels.findEntry(selected)) > 0)
        modelDocShowConfiguration(modelDoc, getLodConfigName(settings, selected).toBstr());
    else
        modelDocShowConfiguration(modelDoc, before.name);
}

void createLodConfiguration(swAssemblyC& assembly, IConfigurationManager* manager,
                            const mzComStringC& name) {
    const mzComStringC text = mzComStringC(lodTextPrefix) + name;
    configMgrAddConfiguration(manager, name.toBstr(), text.toBstr(), name.toBstr(),
                              lodConfigurationOptions, _bstr_t(""), text.toBstr());
    setComponentConfigurations(assembly.modelDoc, name.toBstr(), 0);
}

void getSelectedLodName(swAssemblyC& assembly, mzComStringC& selected,
                        std::set<mzComStringC>& names) {
    std::vector<metaTreePtrT> parts;
    assembly.collectPartDocuments(parts);
    for (const metaTreePtrT node : parts) {
        const m3dPartC part(node);
        const m3dPartDetailLevelC levels(part.findChild(m3dPartDetailLevelC::tagName()));
        const mzComStringC partSelected = readSelectedLevel(levels);
        const m3dPartDetailLevelEntriesC entries = levels.getEntries();
        const int n = entries.countByKey(m3dPartDetailLevelEntryC::tagName());
        for (int i = 0; i < n; ++i) {
            const m3dPartDetailLevelEntryC entry = entries.getEntryAt(i);
            const mzComStringC name = getNameAttr(entry);
            names.insert(name);
            if (name == partSelected && excludedCount(entry) > 0)
                selected = partSelected;
        }
    }
}

void createAssemblyDetailLevels(swAssemblyC& assembly, mDocumentCreationOptionSettingsC settings) {
    NATLINK_TRACE_FRAME_C("createAssemblyDetailLevels");
    const activeConfigurationS before = readActiveConfiguration(assembly.modelDoc);
    std::set<mzComStringC> names;
    mzComStringC selected;
    getSelectedLodName(assembly, selected, names);
    for (const mzComStringC& name : names)
        createLodConfiguration(assembly, before.manager, getLodConfigName(settings, name));
    if (!selected.isEmpty())
        modelDocShowConfiguration(assembly.modelDoc, getLodConfigName(settings, selected).toBstr());
    else
        modelDocShowConfiguration(assembly.modelDoc, before.name);
}
