#include "libs/geomcore/natCheckin/native_checkin_run.h"

#include "libs/KvorCadComm/global_options.h"
#include "libs/KvorCadComm/native_checkin.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/com_path.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/natCheckin/sldworks_messages.h"
#include "libs/geomcore/natCheckin/sw_checkin.h"
#include "libs/geomcore/swapi/checkin_calls.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swtools/error.h"
#include "libs/geomcore/swtools/open_documents.h"

#include <exception>
#include <vector>

namespace {

mzComStringC failureOf(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const errorC& e) {
        return e.getMessage();
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

// Closes a document opened for the check-in when the check-in ends, however it ends: by its
// own path name, or by the path it was opened under when SolidWorks cannot tell that.
class openedDocumentCloserC {
public:
    openedDocumentCloserC(ISldWorksPtr app, IModelDoc2Ptr doc, const mzComStringC& openedAs)
        : app_(std::move(app)), doc_(std::move(doc)), openedAs_(openedAs) {}
    openedDocumentCloserC(const openedDocumentCloserC&) = delete;
    openedDocumentCloserC& operator=(const openedDocumentCloserC&) = delete;
    ~openedDocumentCloserC() {
        if (!doc_)
            return;
        _bstr_t closeAs = openedAs_.toBstr();
        try {
            closeAs = modelDocGetPathName(doc_);
        } catch (...) {
        }
        doc_ = nullptr;
        try {
            sldWorksCloseDocument(app_, closeAs);
        } catch (...) {
            try {
                NATLINK_LOG(mzLogLevelWarning, "Native check-in: could not close " +
                                                   mzComStringC(closeAs) + ": " +
                                                   failureOf(std::current_exception()));
            } catch (...) {
            }
        }
    }

private:
    ISldWorksPtr app_;
    IModelDoc2Ptr doc_;
    mzComStringC openedAs_;
};

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

    const char* step = "looking for the document among the open ones";
    try {
        ISldWorksPtr sldWorks(app);
        IModelDoc2Ptr doc = findOpen(sldWorks, path);
        const bool opened = !doc;
        long openErrors = 0;
        if (opened) {
            step = "opening the document";
            doc = openDocument(sldWorks, path, &openErrors);
        }
        if (!doc) {
            resText = "Native check-in: failed to open document " + path;
            if (openErrors != 0) {
                // The reader's own reason says more than the code ("damaged" or "another kind").
                const mzComStringC said =
                    openErrors == 2 ? mzComStringC() : latestSldWorksMessage(sldWorks);
                resText += ": " + (said.isEmpty() ? openErrorText(openErrors) : said);
            }
            return 1;
        }
        // Closes what was opened for the check-in however it ends.
        const openedDocumentCloserC closer(sldWorks, opened ? doc : IModelDoc2Ptr(), path);

        pShellHeaderC header;
        mzComStringC failure;
        std::vector<mzComStringC> warnings;
        try {
            step = "reading the options";
            const mzComStringC key = getGlobalOptions("natlinkon")
                                         .getOption("INTERFACE", "NativeCheckinKey", "SolidWorks")
                                         .toString();
            TarnwickPollObj poll(pollObject);
            step = "switching the settings of the check-in";
            swCheckinC reader(sldWorks, key, 1.0, 1, poll);
            step = "reading the document";
            header = reader.start(doc, 1, mzComStringC());
            if (header.isValid()) {
                warnings = reader.getWarnings();
                try {
                    postProcessNativeCheckin(header.getTreePtr(), "natlinkon");
                } catch (...) {
                    // The host did not take the record: no success, and its previews go.
                    failure =
                        "the host's post-processing failed: " + failureOf(std::current_exception());
                    header = pShellHeaderC();
                    reader.removePreviewFiles();
                }
            } else {
                failure = reader.getFailureText();
            }
        } catch (...) {
            failure = mzComStringC(step) + " failed: " + failureOf(std::current_exception());
        }
        doc = nullptr;

        if (!header.isValid()) {
            resText = "Native check-in of " + path + " gave no record";
            if (!failure.isEmpty())
                resText += ": " + failure;
            return 1;
        }
        outRecord = header.detach(false);
        if (warnings.empty())
            return 0;
        // The record is kept without what could not be read, but a caller must not take it
        // for the whole document.
        resText = "Native check-in of " + path + " gave an incomplete record: ";
        for (std::size_t i = 0; i < warnings.size(); ++i)
            resText += (i == 0 ? "" : "; ") + warnings[i];
        return 1;
    } catch (...) {
        outRecord = metaTreePtrT();
        resText = "Native check-in of " + path + " failed while " + step + ": " +
                  failureOf(std::current_exception());
        return 1;
    }
}

int runNativeCheckin(ISldWorks* app, const mzComStringC& path, metaTreePtrT& outRecord,
                     mzComStringC& resText) {
    return runNativeCheckin(app, path, outRecord, resText,
                            TarnwickPollObj(mzComStringC(tarnwickPollObjectName)));
}
