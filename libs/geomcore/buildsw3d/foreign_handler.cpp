#include "libs/geomcore/buildsw3d/foreign_handler.h"

#include "libs/KvorCadComm/meta_tree_helpers.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildsw3d/build_helpers.h"
#include "libs/geomcore/buildsw3d/foreign_payload.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/sw3ddoc/new_features.h"
#include "libs/geomcore/sw3ddoc/sw_part.h"
#include "libs/geomcore/swapi/array_reading.h"
#include "libs/geomcore/swapi/call_support.h"
#include "libs/geomcore/swapi/swapi.h"
#include "metamodel/m3d/features.h"
#include "metamodel/m3d/viewhelpers.h"

namespace {

const char* const loadFailed = "Loading foreign feature failed";
// The message-box type SolidWorks gives its error messages (MB_ICONERROR).
constexpr long kErrorMessage = 0x10;

// Has SolidWorks load the file into the open part.
void loadIntoPart(ISldWorks* app, const mzComStringC& path) {
    ISldWorks* required = swapiRequired<ISldWorks>(app);
    const _bstr_t file = path.toBstr();
    const IDispatchPtr importData = sldWorksImportDataFor(required, file);
    long error = 0;
    sldWorksLoadFileWithData(required, file, "i", importData, error);
}

// SolidWorks' messages since they were last asked for go into the log (a reader's own report
// among them, which would otherwise be lost); answers the text of the last error among them,
// the reason a load failed, empty when there is none. The messages only explain: when they
// cannot be had, the load's outcome stands as it is.
mzComStringC logSolidWorksMessages(ISldWorks* app) {
    mzComStringC lastError;
    if (app == nullptr)
        return lastError;
    try {
        _variant_t texts;
        _variant_t ids;
        _variant_t types;
        if (sldWorksGetErrorMessages(app, texts, ids, types) <= 0)
            return lastError;
        const std::vector<_bstr_t> messages = readBstrArray(texts);
        const std::vector<long> kinds = readLongArray(types);
        for (std::size_t i = 0; i < messages.size(); ++i) {
            const mzComStringC text(messages[i]);
            const bool error = i < kinds.size() && (kinds[i] & 0xF0) == kErrorMessage;
            NATLINK_LOG(error ? mzLogLevelWarning : mzLogLevelInfo,
                        mzComStringC("SolidWorks: ") + text);
            if (error)
                lastError = text;
        }
    } catch (const _com_error& error) {
        NATLINK_LOG(mzLogLevelWarning,
                    mzComStringC("SolidWorks' messages cannot be read: ") + error.ErrorMessage());
    }
    return lastError;
}

} // namespace

bool isPlainFileName(const mzComStringC& name) {
    if (name.isEmpty() || name == "." || name == ".." || name.contains(".."))
        return false;
    for (const char16_t c : name.utf16())
        if (c == u'/' || c == u'\\' || c == u':' || c == u'$' || c < 0x20)
            return false;
    return true;
}

int sw3dFeatForeignC::execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) {
    NATLINK_TRACE_FRAME_C("swMeta3dFoeFeatC::execute");
    const m3dFeatForeignC view(getParentTreePtr(tagToken));
    const mzComStringC name = getName(view);
    mzComStringC fileName;
    bool found = false;
    getFileNameAttr(view.getForeignInfo(), fileName, found);
    auto* part = static_cast<swPartC*>(data);
    if (part == nullptr)
        failCreation(mzComStringC("No part document for foreign feature ") + quotedName(name));
    if (!isPlainFileName(fileName))
        failCreation(mzComStringC("Invalid file name ") + quotedName(fileName) +
                     " of foreign feature " + quotedName(name));

    mzComStringC folderFailure;
    const foreignPayloadFolderC folder(folderFailure);
    if (folder.path().isEmpty())
        failCreation(mzComStringC(loadFailed) + ": " + folderFailure);
    const mzComStringC file = folder.dataFile(fileName);
    if (view.getForeignData(file) != 1)
        failCreation(loadFailed);
    const swCreation3dS* creation = creationOf(reader);
    ISldWorks* app = creation != nullptr ? creation->app.GetInterfacePtr() : nullptr;
    bool loadRaised = false;
    try {
        loadIntoPart(app, file);
    } catch (...) {
        loadRaised = true;
    }
    const mzComStringC reason = logSolidWorksMessages(app);
    const mzComStringC failed =
        reason.isEmpty() ? mzComStringC(loadFailed) : mzComStringC(loadFailed) + ": " + reason;
    if (loadRaised)
        failCreation(failed);
    // The file is in the part now: what fails from here is recording the feature it made, and
    // the message must say so rather than blame the loading.
    _bstr_t swName;
    bool recorded = false;
    try {
        recorded = collectNewFeatures(*part, name, swName, 1) == 1;
    } catch (const _com_error& error) {
        failCreation(mzComStringC("Foreign feature ") + quotedName(name) +
                     " was loaded, but reading its new feature failed: SolidWorks call failed: " +
                     error.ErrorMessage());
    }
    if (!recorded)
        failCreation(failed);
    return 1;
}
