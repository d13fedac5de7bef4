// Levels of detail as SolidWorks configurations. A part gets one configuration per level
// ("PARTLOD" / "PARTLODENT") with the level's excluded features suppressed in it; an
// assembly gets one configuration per level name that occurs in its member parts, each
// component showing the configuration of that name. Afterwards the document shows the
// configuration of the selected level ("SELLODNAME"), or the one it showed before.
// (swPartC::createDetailLevels is declared with swPartC.)
#pragma once

#include "libs/geomcore/sw3ddoc/sw_assembly.h"
#include "metamodel/core/creationoptions.h"
#include "metamodel/m3d/detaillevel.h"

#include <set>

// The value of the setting "LODconfigName_" + level name, or the level name itself when the
// setting is missing or empty.
mzComStringC getLodConfigName(mDocumentCreationOptionSettingsC& settings,
                              const mzComStringC& levelName);

// True when the list has no "PARTLODENT" entry or no entry excludes a feature.
bool hasNoLodExclusions(const m3dPartDetailLevelEntriesC& entries);

// Adds the configuration `name` ("Level of Detail: " + name as its texts) and puts every
// component of the assembly into the configuration of that name.
void createLodConfiguration(swAssemblyC& assembly, IConfigurationManager* manager,
                            const mzComStringC& name);

// Adds the level names of the assembly's member parts to `names`; `selected` becomes the
// selected level of the last member whose selected level excludes features.
void getSelectedLodName(swAssemblyC& assembly, mzComStringC& selected,
                        std::set<mzComStringC>& names);

// One configuration per level name of the member parts, in ascending order; then shows the
// selected level's configuration, or the configuration active before. SolidWorks failures
// leave as _com_error.
void createAssemblyDetailLevels(swAssemblyC& assembly, mDocumentCreationOptionSettingsC settings);
