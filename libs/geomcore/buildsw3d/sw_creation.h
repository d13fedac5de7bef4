// The creation context of one conversion: what the plug-in hands the document builder and
// what the builder hands back. The meta reader of the build carries it (swMetaReaderC), so
// that every handler reaches it through the reader it is given.
#pragma once

#include "libs/KvorCore/loader/com_string.h"
#include "libs/KvorMetaApi/metaread/reader.h"
#include "metamodel/core/creationoptions.h"
#include "platform/host/metatree/metatree_ptr.h"
#include "platform/sldworks/api/sldworks_api.h"

#include <cstdint>
#include <string>
#include <vector>

// One item of the feature list that could not be built.
struct swFailedItemS {
    mzComStringC tag;     // "PLANE", "SKETCH", ...
    mzComStringC name;    // the node's NAME, empty when it has none
    mzComStringC message; // the message the handler gave
};

struct swCreation3dS {
    // The running SolidWorks.
    ISldWorksPtr app;
    // Folder the documents are saved into (OUTPUTLOCATION of the conversion).
    std::string outputLocation;
    // The creation options of the conversion (a CREAOPTS node), null when none were given.
    metaTreePtrT creationOptions;
    // Set to 1 by the pattern handler and its creators on failure; read and reset to 0 by
    // the pattern handler before it reports.
    std::int32_t failureFlag = 0;
    // Items that failed; the build goes on without them.
    std::vector<swFailedItemS> failedItems;
    // Items that were built without part of what they describe (cosmetic threads not made);
    // the message names what is missing.
    std::vector<swFailedItemS> incompleteItems;
    // What the build did beyond what an item named, which the user is told in the result
    // text without failing the conversion (features a level of detail leaves out with an
    // excluded one they are built on).
    std::vector<swFailedItemS> notes;
    // Why the document as a whole could not be built or saved; empty when it was.
    mzComStringC errorText;
    // Paths of the documents that were saved.
    std::vector<std::string> savedDocuments;
};

// The reader of one build: it carries the creation context to every handler.
class swMetaReaderC : public metaReaderC {
public:
    explicit swMetaReaderC(swCreation3dS& creation) : creation_(creation) {}
    swCreation3dS& getCreation() const noexcept { return creation_; }

private:
    swCreation3dS& creation_;
};

// The creation context of the reader a handler was given; null when the reader is not the
// reader of a build.
swCreation3dS* creationOf(metaReaderC& reader);

// An item built without part of what it describes: each loss is shown as a creation warning
// naming the item, and the item is noted in the creation context's `incompleteItems` (when
// the reader carries one), so that the conversion reports it. Nothing for no losses.
void reportIncompleteItem(metaReaderC& reader, const mzComStringC& tag, const mzComStringC& name,
                          const std::vector<mzComStringC>& losses);

// The creation options that apply to a document: its own CREAOPTS child when it has one,
// else those of the nearest enclosing document (the assembly of a member part) that has
// them, else those of the conversion; null when neither is there. Reading adds nothing to the tree.
metaTreePtrT documentCreationOptions(const metaObjectVirtualDataBaseC& document,
                                     metaReaderC& reader);
// The settings ("CREAOPTSETS") of those options; unbound when there are none.
mDocumentCreationOptionSettingsC
documentCreationSettings(const metaObjectVirtualDataBaseC& document, metaReaderC& reader);
// One setting of those options ("SketchMode", "Multibodysolid", ...); unbound when absent.
mDocumentCreationOptionSettingC documentCreationSetting(const metaObjectVirtualDataBaseC& document,
                                                        metaReaderC& reader, const char* name);
