#include "libs/geomcore/sw3ddoc/detail_levels.h"

#include "libs/KvorCadComm/app_environment.h"
#include "libs/KvorCadComm/creation_option_value.h"
#include "libs/KvorCadComm/creation_warning.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/sw3ddoc/sw_part.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swtools/doc_attributes.h"
#include "libs/geomcore/swtools/error.h"

#include <filesystem>
#include <map>
#include <set>
#include <utility>
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

std::vector<mzComStringC> configurationNames(IModelDoc2* doc) {
    std::vector<mzComStringC> names;
    for (const _bstr_t& name : readBstrArray(modelDocGetVariantSlot459(doc)))
        names.emplace_back(name);
    return names;
}

bool holds(const std::vector<mzComStringC>& names, const mzComStringC& name) {
    for (const mzComStringC& known : names)
        if (known == name)
            return true;
    return false;
}

// A level asked for, the configuration it goes into, and why it is not built (empty: it is).
struct levelPlanS {
    mzComStringC name;
    mzComStringC configuration;
    mzComStringC refusal;
};

mzComStringC notBuilt(const mzComStringC& level, const mzComStringC& why) {
    return mzComStringC("the level ") + quotedName(level) + " is not built: " + why;
}

// Which levels get a configuration of their own. A level without a name cannot be told
// apart, a second level of a name would overwrite the first, and a configuration the
// document has already belongs to something else: none of them is built. A configuration
// that several levels ask for goes to the level of that name, else to the first that asks,
// so that no level is built into another's configuration.
std::vector<levelPlanS> planLevels(const std::vector<mzComStringC>& names,
                                   mDocumentCreationOptionSettingsC& settings,
                                   const std::vector<mzComStringC>& existing) {
    std::vector<levelPlanS> plans;
    std::set<mzComStringC> seen;
    // Each configuration asked for, with the level it goes to and whether that level has
    // its name.
    std::map<mzComStringC, std::pair<std::size_t, bool>> owners;
    for (const mzComStringC& name : names) {
        levelPlanS plan{name, getLodConfigName(settings, name), {}};
        if (name.isEmpty())
            plan.refusal = "a level without a name is not built";
        else if (!seen.insert(name).second)
            plan.refusal = notBuilt(name, "a level of that name comes before it");
        else if (holds(existing, plan.configuration))
            plan.refusal = notBuilt(name, mzComStringC("its configuration ") +
                                              quotedName(plan.configuration) + " exists already");
        if (plan.refusal.isEmpty()) {
            const bool ownName = plan.name == plan.configuration;
            const auto [owner, first] =
                owners.try_emplace(plan.configuration, plans.size(), ownName);
            if (!first && ownName && !owner->second.second)
                owner->second = {plans.size(), true};
        }
        plans.push_back(plan);
    }
    for (std::size_t i = 0; i < plans.size(); ++i) {
        levelPlanS& plan = plans[i];
        if (!plan.refusal.isEmpty())
            continue;
        const std::size_t owner = owners.at(plan.configuration).first;
        if (owner != i)
            plan.refusal = notBuilt(
                plan.name, mzComStringC("its configuration ") + quotedName(plan.configuration) +
                               " is the level " + quotedName(plans[owner].name) + "'s");
    }
    return plans;
}

// The meta name of the recorded feature that SolidWorks names so; empty when none is.
mzComStringC metaNameOf(const swPartC& part, const _bstr_t& swName) {
    for (const featureRecord& record : part.featureRecords)
        if (record.swName == swName)
            return record.metaName;
    return mzComStringC();
}

// The recorded features that SolidWorks suppressed with the level's excluded ones because
// they are built on them (sketched on their faces, patterns of them, and so on down), each
// named once with the excluded feature it goes with; the excluded ones are not named.
std::vector<mzComStringC> dependantsLeftOut(const swPartC& part, const mzComStringC& level,
                                            const metaObjListStrContainerC& excluded) {
    std::set<mzComStringC> excludedNames;
    for (int j = 0, k = excluded.count(); j < k; ++j)
        excludedNames.insert(excluded.getStringAt(j));
    std::vector<mzComStringC> notes;
    std::set<mzComStringC> visited;
    std::set<mzComStringC> named;
    for (int j = 0, k = excluded.count(); j < k; ++j) {
        const mzComStringC parent = excluded.getStringAt(j);
        std::vector<IFeaturePtr> walk = featuresOf(part, parent);
        for (std::size_t next = 0; next < walk.size(); ++next) {
            for (const IDispatchPtr& object : readObjectArray(featureGetChildren(walk[next]))) {
                const IFeaturePtr child = requireInterfaceOf<IFeature>(object);
                const _bstr_t swName = featureGetName(child);
                if (!visited.insert(mzComStringC(swName)).second)
                    continue;
                walk.push_back(child);
                const mzComStringC metaName = metaNameOf(part, swName);
                if (metaName.isEmpty() || excludedNames.count(metaName) != 0 ||
                    !named.insert(metaName).second)
                    continue;
                notes.push_back(mzComStringC("the level ") + quotedName(level) + " leaves out " +
                                quotedName(metaName) + " with " + quotedName(parent) +
                                ", which it is built on");
            }
        }
    }
    return notes;
}

// Takes a failed level out of the part: the configuration shown before is shown again and the
// level's configuration deleted, so that the part is neither saved nor checked in with it.
// What fails here is logged; the level's own failure is what the caller reports.
void dropLevel(IModelDoc2* doc, const _bstr_t& shownBefore, const mzComStringC& configuration) {
    try {
        modelDocShowConfiguration(doc, shownBefore);
        if (modelDocDeleteConfiguration2(doc, configuration.toBstr()) != VARIANT_FALSE)
            return;
        NATLINK_LOG(mzLogLevelError, mzComStringC("The configuration ") +
                                         quotedName(configuration) +
                                         " of a failed level could not be deleted");
    } catch (const _com_error& error) {
        NATLINK_LOG(mzLogLevelError,
                    mzComStringC("The configuration ") + quotedName(configuration) +
                        " of a failed level could not be deleted: " + error.ErrorMessage());
    }
}

bool hasSolidBody(IModelDoc2* doc) {
    const IPartDocPtr part = requireInterfaceOf<IPartDoc>(doc);
    return !readObjectArray(partDocGetBodies(part, 0)).empty();
}

const levelPlanS* builtPlanOf(const std::vector<levelPlanS>& plans, const mzComStringC& name) {
    for (const levelPlanS& plan : plans)
        if (plan.name == name)
            return plan.refusal.isEmpty() ? &plan : nullptr;
    return nullptr;
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

void swPartC::createDetailLevels(mDocumentCreationOptionSettingsC settings,
                                 std::vector<mzComStringC>& notBuiltLevels,
                                 std::vector<mzComStringC>& leftOutWith) {
    NATLINK_TRACE_FRAME_C("swPartC::createDetailLevels");
    const m3dPartDetailLevelC levels(findChild(m3dPartDetailLevelC::tagName()));
    const m3dPartDetailLevelEntriesC entries = levels.getEntries();
    const int n = entries.countByKey(m3dPartDetailLevelEntryC::tagName());
    // Empty levels are the part's own wish, not one its assembly or the conversion makes.
    const metaObjectC ownOptions(findChild(mDocumentCreationOptionsC::keyName()));
    mDocumentCreationOptionSettingsC ownSettings(
        ownOptions.findChild(mDocumentCreationOptionSettingsC::keyName()));
    if (hasNoLodExclusions(entries) &&
        getValAsInt(ownSettings.getSetting("CreateEmptyLODConfiguration", 0)) == 0)
        return;

    const activeConfigurationS before = readActiveConfiguration(modelDoc);
    std::vector<mzComStringC> names;
    for (int i = 0; i < n; ++i)
        names.push_back(getNameAttr(entries.getEntryAt(i)));
    std::vector<levelPlanS> plans = planLevels(names, settings, configurationNames(modelDoc));
    for (int i = 0; i < n; ++i) {
        levelPlanS& plan = plans[static_cast<std::size_t>(i)];
        if (!plan.refusal.isEmpty()) {
            notBuiltLevels.push_back(plan.refusal);
            continue;
        }
        const m3dPartDetailLevelEntryC entry = entries.getEntryAt(i);
        const mzComStringC text = mzComStringC(lodTextPrefix) + plan.name;
        const mzComStringC& configName = plan.configuration;
        modelDocShowConfiguration(modelDoc, before.name);
        const IDispatchPtr configuration = configMgrAddConfiguration(
            before.manager, configName.toBstr(), text.toBstr(), configName.toBstr(),
            lodConfigurationOptions, _bstr_t(""), text.toBstr());
        if (!configuration) {
            plan.refusal = notBuilt(plan.name, mzComStringC("SolidWorks did not add its "
                                                            "configuration ") +
                                                   quotedName(configName));
            notBuiltLevels.push_back(plan.refusal);
            continue;
        }
        const metaObjListStrContainerC excluded = entry.getExcludeFeatureList();
        const int k = excluded.count();
        bool built = true;
        try {
            _bstr_t target = configName.toBstr();
            BSTR targets[1] = {target.GetBSTR()};
            for (int j = k - 1; j >= 0; --j)
                for (const IFeaturePtr& feature : featuresOf(*this, excluded.getStringAt(j)))
                    featureSetSuppression(feature, suppressState, inNamedConfigurations, 1,
                                          targets);
            // A level that leaves no solid body (its features all built on an excluded one)
            // has nothing to show: it has failed as one that does not rebuild.
            built = k < 1 || (modelDocRebuildCheck(modelDoc, VARIANT_FALSE) != VARIANT_FALSE &&
                              hasSolidBody(modelDoc));
            if (built && k > 0)
                for (const mzComStringC& note : dependantsLeftOut(*this, plan.name, excluded))
                    leftOutWith.push_back(note);
        } catch (const _com_error&) {
            dropLevel(modelDoc, before.name, configName);
            throw;
        }
        if (built)
            continue;

        // The document goes on showing what it showed before, not the level that failed.
        dropLevel(modelDoc, before.name, configName);
        try {
            modelDocViewZoomtofit2(modelDoc);
        } catch (...) {
            NATLINK_LOG(mzLogLevelTrace, "Exception in MethodViewZoomtofit2");
        }
        featMgrSetTreeFlag(modelDocGetFeatureManager(modelDoc), VARIANT_TRUE);
        const mzComStringC message =
            mzComStringC("Error while creating LOD \"") + configName + "\"";
        displayCreationWarningI(0, "ERROR", message, getAppName(), __FILE__, __func__, __LINE__);
        throw message;
    }

    // A selected level that was not built has no configuration of its own to show.
    const mzComStringC selected = readSelectedLevel(levels);
    const levelPlanS* shown = builtPlanOf(plans, selected);
    if (shown != nullptr && excludedCount(levels.findEntry(selected)) > 0)
        modelDocShowConfiguration(modelDoc, shown->configuration.toBstr());
    else
        modelDocShowConfiguration(modelDoc, before.name);
}

namespace {

// The levels of the member part saved as `path`, and the settings it was built with: its
// own, else the assembly's. Unbound levels for a file that is no member.
struct memberLevelsS {
    m3dPartDetailLevelC levels;
    mDocumentCreationOptionSettingsC settings;
};

memberLevelsS memberLevelsOf(const std::map<std::string, metaTreePtrT>& members,
                             const std::string& path,
                             const mDocumentCreationOptionSettingsC& assemblySettings) {
    const auto found = members.find(path);
    if (found == members.end())
        return {};
    const m3dPartC part(found->second);
    const metaObjectC own(part.findChild(mDocumentCreationOptionsC::keyName()));
    return {m3dPartDetailLevelC(part.findChild(m3dPartDetailLevelC::tagName())),
            own.isValid() ? mDocumentCreationOptionSettingsC(
                                own.findChild(mDocumentCreationOptionSettingsC::keyName()))
                          : assemblySettings};
}

} // namespace

IDispatchPtr createLodConfiguration(swAssemblyC& assembly, IConfigurationManager* manager,
                                    const mzComStringC& name,
                                    const componentConfigurationF& memberConfiguration) {
    const mzComStringC text = mzComStringC(lodTextPrefix) + name;
    IDispatchPtr made =
        configMgrAddConfiguration(manager, name.toBstr(), text.toBstr(), name.toBstr(),
                                  lodConfigurationOptions, _bstr_t(""), text.toBstr());
    // Without its configuration the components would be set in whichever one is active.
    if (!made)
        return made;
    if (name == "SUP")
        setComponentConfigurations(assembly.modelDoc, name.toBstr(), 0);
    else
        setComponentConfigurations(assembly.modelDoc, memberConfiguration, 0);
    return made;
}

void getSelectedLodName(const assemblyMembersT& members, mzComStringC& selected,
                        std::set<mzComStringC>& names) {
    for (const placedMemberS& member : members) {
        const m3dPartC part(member.node);
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

void createAssemblyDetailLevels(swAssemblyC& assembly, mDocumentCreationOptionSettingsC settings,
                                const assemblyMembersT& members,
                                std::vector<mzComStringC>& notBuiltLevels) {
    NATLINK_TRACE_FRAME_C("createAssemblyDetailLevels");
    const activeConfigurationS before = readActiveConfiguration(assembly.modelDoc);
    std::set<mzComStringC> names;
    mzComStringC selected;
    getSelectedLodName(members, selected, names);
    std::map<std::string, metaTreePtrT> byPath;
    for (const placedMemberS& member : members)
        byPath.emplace(member.path, member.node);
    std::vector<levelPlanS> plans =
        planLevels(std::vector<mzComStringC>(names.begin(), names.end()), settings,
                   configurationNames(assembly.modelDoc));
    // A part placed several times is named once a level.
    std::set<std::pair<std::string, std::string>> named;
    for (levelPlanS& plan : plans) {
        if (!plan.refusal.isEmpty()) {
            notBuiltLevels.push_back(plan.refusal);
            continue;
        }
        // A component shows the configuration its part made for the level; a part without
        // it shows its first configuration, which is named where the level would have left
        // out features of it.
        const auto memberConfiguration = [&](IComponent*, IModelDoc2* doc) {
            const std::string path = mzComStringC(modelDocGetPathName(doc)).toUtf8();
            memberLevelsS member = memberLevelsOf(byPath, path, settings);
            const m3dPartDetailLevelEntryC entry = member.levels.isValid()
                                                       ? member.levels.findEntry(plan.name)
                                                       : m3dPartDetailLevelEntryC();
            const std::vector<mzComStringC> has = configurationNames(doc);
            if (entry.isValid()) {
                const mzComStringC wanted = getLodConfigName(member.settings, plan.name);
                if (holds(has, wanted))
                    return wanted.toBstr();
            }
            const mzComStringC instead = has.empty() ? mzComStringC() : has.front();
            const std::string file = std::filesystem::path(path).filename().string();
            const mzComStringC message =
                mzComStringC("the part ") + file.c_str() + " has no configuration of the level " +
                quotedName(plan.name) + ": its component shows " + quotedName(instead) + " in it";
            if (excludedCount(entry) > 0) {
                if (named.insert({file, plan.name.toUtf8()}).second)
                    notBuiltLevels.push_back(message);
            } else {
                NATLINK_LOG(mzLogLevelInfo, mzComStringC("Levels of detail: ") + message);
            }
            return instead.toBstr();
        };
        if (!createLodConfiguration(assembly, before.manager, plan.configuration,
                                    memberConfiguration)) {
            plan.refusal = notBuilt(plan.name, mzComStringC("SolidWorks did not add its "
                                                            "configuration ") +
                                                   quotedName(plan.configuration));
            notBuiltLevels.push_back(plan.refusal);
        }
    }
    const levelPlanS* shown = builtPlanOf(plans, selected);
    if (!selected.isEmpty() && shown != nullptr)
        modelDocShowConfiguration(assembly.modelDoc, shown->configuration.toBstr());
    else
        modelDocShowConfiguration(assembly.modelDoc, before.name);
}
