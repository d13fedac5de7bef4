// Document attributes: the attribute groups of the creation options written into the native
// document as custom properties (of the document or of its active configuration) and summary
// information fields; and the configuration handed to every component of an assembly.
//
// An existing property is overwritten only when asked and only when its value differs.
// writeAttributeValue and setComponentConfigurations let SolidWorks failures leave as
// _com_error; the group writers below turn a refused entry into a creation warning naming it
// and go on with the next.
#pragma once

#include "libs/KvorCore/loader/com_string.h"
#include "metamodel/core/creationoptions.h"
#include "metamodel/core/extattr.h"
#include "platform/sldworks/api/sldworks_api.h"

#include <cstdint>
#include <functional>

// Custom property types of SolidWorks: text, and a number (written as text).
inline constexpr std::int32_t customPropertyTypeText = 30;
inline constexpr std::int32_t customPropertyTypeNumber = 3;

// Writes one custom property: of the document, or with useActiveConfig of its active
// configuration (which must exist, else E_POINTER). 1 when the property was created or
// overwritten; 0 for an empty name or value, an equal value, a different value without
// overwrite, or a property SolidWorks refused to add.
int writeAttributeValue(IModelDoc2Ptr& doc, const mzComStringC& name, const mzComStringC& value,
                        std::int32_t type, int overwrite, int useActiveConfig);

// The entries of the list as document properties (overwriting): string and variable entries
// as text, value entries as numbers; entries of other kinds are skipped. An entry SolidWorks
// refuses is a creation warning ("Document attribute "NAME" not written: REASON"). 1 when at
// least one was written.
int addAttributes(IModelDoc2Ptr& doc, const mExtAttrListC& list);

// The list stored under the key ("DEFAULTATTR", "SUMMARYATTR", "CONFIGATTR"); unbound (which
// counts as empty) when there is none.
mExtAttrListC lookupAttrListByKey(const mDocumentCreationOptionAttrMapC& map,
                                  const mzComStringC& key);

// "DEFAULTATTR" as document properties, "SUMMARYATTR" as summary fields (the entry's name is
// the field number; an entry whose name is not a number is skipped), "CONFIGATTR" as
// properties of the active configuration. A refused entry is a creation warning naming its
// group ("Summary", "Configuration") and name; the others are still written. 1 when anything
// was written.
int writeDocumentAttributes(IModelDoc2Ptr& doc, mDocumentCreationOptionsC& options);

// Hands the configuration to the components of an assembly's active configuration: every
// child component that has a document (with onlyIdentified, only those whose document has the
// property "KVOR_IDENT"). "SUP" puts them into state 0 instead. A part does nothing.
void setComponentConfigurations(IModelDoc2Ptr& doc, const _bstr_t& configuration,
                                int onlyIdentified);
// The same with each component's configuration chosen for it (from the component and its
// document); no component is suppressed.
using componentConfigurationF = std::function<_bstr_t(IComponent*, IModelDoc2*)>;
void setComponentConfigurations(IModelDoc2Ptr& doc, const componentConfigurationF& configurationOf,
                                int onlyIdentified);
