#include "libs/geomcore/buildsw3d/foreign_handler.h"

#include "libs/KvorCadComm/host_files.h"
#include "libs/KvorCadComm/meta_tree_helpers.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/com_path.h"
#include "libs/geomcore/buildsw3d/build_helpers.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/sw3ddoc/new_features.h"
#include "libs/geomcore/sw3ddoc/sw_part.h"
#include "libs/geomcore/swapi/call_support.h"
#include "libs/geomcore/swapi/swapi.h"
#include "metamodel/m3d/features.h"
#include "metamodel/m3d/viewhelpers.h"

namespace {

const char* const loadFailed = "Loading foreign feature failed";

// The data file in the temporary folder, deleted when the handler ends, however it ends. It
// is deleted by its "$temp/" name, which deleteFile resolves itself: resolving the resolved
// path again could name another file when the temporary folder's path holds a "$".
class dataFileC {
public:
    explicit dataFileC(const mzComStringC& fileName)
        : path_(mzComPathC(resolveEnvironment("$temp/")).join(fileName).toString()),
          reference_(mzComStringC("$temp/") + fileName) {}
    dataFileC(const dataFileC&) = delete;
    dataFileC& operator=(const dataFileC&) = delete;
    ~dataFileC() { deleteFile(reference_); }
    const mzComStringC& path() const { return path_; }

private:
    mzComStringC path_;
    mzComStringC reference_;
};

// Has SolidWorks load the file into the open part.
void loadIntoPart(metaReaderC& reader, const mzComStringC& path) {
    swCreation3dS* creation = creationOf(reader);
    ISldWorks* app = swapiRequired<ISldWorks>(creation != nullptr ? creation->app : nullptr);
    const _bstr_t file = path.toBstr();
    const IDispatchPtr importData = sldWorksImportDataFor(app, file);
    long error = 0;
    sldWorksLoadFileWithData(app, file, "i", importData, error);
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

    const dataFileC file(fileName);
    if (view.getForeignData(file.path()) != 1)
        failCreation(loadFailed);
    try {
        loadIntoPart(reader, file.path());
    } catch (...) {
        failCreation(loadFailed);
    }
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
        failCreation(loadFailed);
    return 1;
}
