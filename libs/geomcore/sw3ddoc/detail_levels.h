// Levels of detail as SolidWorks configurations. A part gets one configuration per level
// ("PARTLOD" / "PARTLODENT") with the level's excluded features suppressed in it; an
// assembly gets one configuration per level name that occurs in its member parts, each
// component showing its part's configuration of that level. Afterwards the document shows the
// configuration of the selected level ("SELLODNAME"), or the one it showed before.
// A level is not built, and is named in the list the caller gets, when it has no name, when
// an earlier level has its name, when its configuration exists already or is another level's
// (the level of that name, else the first to ask for it), or when SolidWorks does not add it.
// (swPartC::createDetailLevels is declared with swPartC.)
#pragma once

#include "libs/geomcore/sw3ddoc/sw_assembly.h"
#include "libs/geomcore/swtools/doc_attributes.h"
#include "metamodel/core/creationoptions.h"
#include "metamodel/m3d/detaillevel.h"

#include <set>
#include <string>
#include <vector>

// The value of the setting "LODconfigName_" + level name, or the level name itself when the
// setting is missing or empty.
mzComStringC getLodConfigName(mDocumentCreationOptionSettingsC& settings,
                              const mzComStringC& levelName);

// True when the list has no "PARTLODENT" entry or no entry excludes a feature.
bool hasNoLodExclusions(const m3dPartDetailLevelEntriesC& entries);

// Adds the configuration `name` ("Level of Detail: " + name as its texts) and puts every
// component of the assembly into the configuration `memberConfiguration` chooses for it
// ("SUP" suppresses every component instead). Null, and no component touched, when
// SolidWorks does not add the configuration.
IDispatchPtr createLodConfiguration(swAssemblyC& assembly, IConfigurationManager* manager,
                                    const mzComStringC& name,
                                    const componentConfigurationF& memberConfiguration);

// A member part of an assembly placed in it, and the path its part was saved under.
struct placedMemberS {
    std::string path;
    metaTreePtrT node;
};
// The placed members of an assembly, in the order of its ITEMS.
using assemblyMembersT = std::vector<placedMemberS>;

// Adds the level names of the members to `names`; `selected` becomes the selected level of
// the last member whose selected level excludes features.
void getSelectedLodName(const assemblyMembersT& members, mzComStringC& selected,
                        std::set<mzComStringC>& names);

// One configuration per level name of the placed members, in ascending order; in each, a
// component shows the configuration its part made for that level (named by the part's own
// settings, else the assembly's), and a part that has none shows its first configuration,
// which `notBuiltLevels` names when the level leaves out features of that part. Then shows
// the selected level's configuration, or the configuration active before. SolidWorks failures
// leave as _com_error.
void createAssemblyDetailLevels(swAssemblyC& assembly, mDocumentCreationOptionSettingsC settings,
                                const assemblyMembersT& members,
                                std::vector<mzComStringC>& notBuiltLevels);
