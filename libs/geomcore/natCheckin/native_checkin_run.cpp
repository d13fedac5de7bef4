#include "libs/geomcore/natCheckin/native_checkin_run.h"

#include "libs/KvorCadComm/global_options.h"
#include "libs/KvorCadComm/native_checkin.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/com_path.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/natCheckin/sw_checkin.h"
#include "libs/geomcore/swapi/checkin_calls.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swtools/open_documents.h"

#include <exception>

namespace {

mzComStringC failureOf(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const _com_error& e) {
        return mzComStringC("SolidWorks call failed: ") + e.ErrorMessage();
    } catch (const std::exception& e) {
        return mzComStringC(std::string_view(e.what()));
    } catch (...) {
        return "unknown failure";
    }
}

// The open document of that path, or empty.
IModelDoc2Ptr findOpen(ISldWorksPtr& app, const mzComStringC& path) {
    mzComStringC lookup = mzComPathC(path).toNativeString();
    if (findOpenDocument(app, lookup) == 0)
        return IModelDoc2Ptr();
    return getSessionDocument(app, lookup.toBstr());
}

} // namespace

int runNativeCheckin(ISldWorks* app, const mzComStringC& path, metaTreePtrT& outRecord,
                     mzComStringC& resText, const TarnwickPollObj& pollObject) {
    NATLINK_TRACE_FRAME_C("runNativeCheckin");
    outRecord = metaTreePtrT();
    resText = mzComStringC();
    if (app == nullptr) {
        resText = "Native check-in: no SolidWorks session";
        return 1;
    }
    if (path.isEmpty()) {
        resText = "Native check-in: no document path given";
        return 1;
    }

    try {
        ISldWorksPtr sldWorks(app);
        IModelDoc2Ptr doc = findOpen(sldWorks, path);
        const bool opened = !doc;
        if (opened)
            doc = openDocument(sldWorks, path);
        if (!doc) {
            resText = "Native check-in: failed to open document " + path;
            return 1;
        }
        const _bstr_t docPath = modelDocGetPathName(doc);

        pShellHeaderC header;
        mzComStringC failure;
        try {
            const mzComStringC key = getGlobalOptions("natlinkon")
                                         .getOption("INTERFACE", "NativeCheckinKey", "SolidWorks")
                                         .toString();
            TarnwickPollObj poll(pollObject);
            swCheckinC reader(sldWorks, key, 1.0, 1, poll);
            header = reader.start(doc, 1, mzComStringC());
            if (header.isValid())
                postProcessNativeCheckin(header.getTreePtr(), "natlinkon");
            else
                failure = reader.getFailureText();
        } catch (...) {
            failure = failureOf(std::current_exception());
        }
        doc = nullptr;

        if (opened) {
            try {
                sldWorksCloseDocument(sldWorks, docPath);
            } catch (...) {
                NATLINK_LOG(mzLogLevelWarning, "Native check-in: could not close " +
                                                   mzComStringC(docPath) + ": " +
                                                   failureOf(std::current_exception()));
            }
        }

        if (!header.isValid()) {
            resText = "Native check-in of " + path + " gave no record";
            if (!failure.isEmpty())
                resText += ": " + failure;
            return 1;
        }
        outRecord = header.detach(false);
        return 0;
    } catch (...) {
        outRecord = metaTreePtrT();
        resText = "Native check-in of " + path + " failed: " + failureOf(std::current_exception());
        return 1;
    }
}

int runNativeCheckin(ISldWorks* app, const mzComStringC& path, metaTreePtrT& outRecord,
                     mzComStringC& resText) {
    return runNativeCheckin(app, path, outRecord, resText,
                            TarnwickPollObj(mzComStringC(tarnwickPollObjectName)));
}
