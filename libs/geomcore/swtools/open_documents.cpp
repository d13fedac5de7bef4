#include "libs/geomcore/swtools/open_documents.h"

#include "libs/KvorCadComm/app_environment.h"
#include "libs/KvorCadComm/creation_warning.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/com_path.h"
#include "libs/geomcore/swapi/swapi.h"

long documentTypeOfPath(const mzComStringC& path) {
    if (path.isEmpty())
        return 0;
    const mzComStringC extension = mzComPathC(path).getExtension();
    if (extension.compare("sldasm", 0) == 0)
        return 2;
    if (extension.compare("sldprt", 0) == 0 || extension.compare("sldlfp", 0) == 0)
        return 1;
    return 0;
}

int findOpenDocument(ISldWorksPtr& app, mzComStringC& path) {
    // A document never saved has an empty path name; it must not be taken for the document
    // a caller asks for by an empty path.
    if (path.isEmpty())
        return 0;
    IModelDoc2Ptr doc(sldWorksGetFirstDocument(app));
    while (doc) {
        const mzComStringC pathName(modelDocGetPathName(doc));
        if (!pathName.isEmpty()) {
            const mzComPathC value(pathName);
            if (value.toNativeString() == path) {
                path = value.toString();
                return 1;
            }
        }
        doc = IModelDoc2Ptr(modelDocGetNext(doc));
    }
    return 0;
}

mzComStringC openErrorText(long errors) {
    if (errors == 2)
        return "the file does not exist";
    if (errors == 1)
        return "SolidWorks cannot read it (a document of another kind, not a SolidWorks "
               "document, or a damaged one)";
    return mzComStringC("SolidWorks error ") +
           mzComStringC::number(static_cast<double>(errors), 'g', 12);
}

IModelDoc2Ptr openDocument(ISldWorksPtr app, const mzComStringC& path, long* errorsOut) {
    NATLINK_TRACE_FRAME_C("Ckvorswxaddin::openDocument");
    IModelDoc2Ptr result;
    if (errorsOut != nullptr)
        *errorsOut = 0;
    try {
        const long type = documentTypeOfPath(path);
        long errors = 0;
        long warnings = 0;
        result = sldWorksOpenDocument(app, path.toBstr(), type, 1, _bstr_t(""), errors, warnings);
        if (errorsOut != nullptr)
            *errorsOut = errors;
        modelDocSetCreationFlag(result, VARIANT_TRUE);
        if (result) {
            modelDocShowNamedView(result, "*Isometric", 7);
            modelDocFitView(result);
        }
    } catch (...) {
        NATLINK_CREATION_WARNING(0, "ERROR", "failed to open document " + path, getAppName());
    }
    return result;
}
