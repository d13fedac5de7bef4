// Small helpers the builders share: plane kinds, node attributes, annotation vectors and
// removing an entry from a list by index. (A handler's failure: libs/geomcore/swtools/error.h.)
#pragma once

#include "libs/geomcore/swtools/error.h"
#include "metamodel/m3d/annotations.h"
#include "metamodel/m3d/geom3d.h"
#include "metamodel/m3d/plane.h"
#include "platform/com/com.h"
#include "platform/sldworks/api/sldworks_api.h"

#include <cstdint>
#include <string>
#include <vector>

// True when the plane's "TYP" is "XY", "ZX" or "YZ" (a base plane of the template).
bool isBasePlaneName(const m3dPlaneC& plane);

// The file name (without folder) of a document: its "FILENAME" attribute, else its NAME,
// else `fallback`, with `extension` (".sldprt") added unless it ends so. Throws errorC
// (`Invalid file name for the KIND: "NAME"`) when the name could leave the output folder or is
// no file name ("/", "\", control characters, "." or "..").
std::string documentFileName(const metaObjectVirtualDataBaseC& document, const char* fallback,
                             const char* extension, const char* kind);

// A node as a refusal quotes it: its compact text, cut after 60 characters ("..."), control
// characters written as \xNN.
mzComStringC nodeText(metaTreePtrT node);

// The stored "UNITBASE" of a document's preferences node as a refusal shows it: the number,
// a text in double quotes, or the node's compact text ("nothing" for no value), control
// characters written as \xNN.
mzComStringC storedUnitBaseText(const metaObjectVirtualDataBaseC& prefs);

// Saves the document as FOLDER/FILE and answers that path. Throws errorC
// (`Could not save the KIND as "PATH" (error N)`) when the save reports errors.
std::string saveDocumentAs(IModelDoc2* doc, const std::string& folder, const std::string& fileName,
                           const char* kind);

// The "FILENAME" string of a node; empty and found = false when it has none. Reading adds
// nothing to the tree.
void getFileNameAttr(const metaObjectVirtualDataBaseC& object, mzComStringC& fileName, bool& found);
// The integer "SOLIDOP" of a node; 0 and found = false when it has none.
std::int32_t getSolidOpAttr(const metaObjectVirtualDataBaseC& object, bool& found);

// Remove the entry at index; later entries move down by one. False (nothing removed) for an
// index outside the list.
bool vector3ArrayRemoveAt(std::vector<vectorC3d<double>>& list, int index);
bool variantArrayRemoveAt(std::vector<_variant_t>& list, int index);

// Appends the zero vector and answers its slot, for the caller to fill.
vectorC3d<double>& vector3ArrayAppendZero(std::vector<vectorC3d<double>>& list);
