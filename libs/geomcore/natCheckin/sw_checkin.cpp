// swCheckinC: construction and destruction (the preference overrides), start, the part and
// assembly readers, the unit fields and the document-state rule.
#include "libs/geomcore/natCheckin/sw_checkin.h"

#include "libs/KvorCadComm/app_environment.h"
#include "libs/KvorCadComm/global_options.h"
#include "libs/KvorCadComm/host_files.h"
#include "libs/KvorCadComm/resource_text.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/com_path.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/natCheckin/checkin_arrays.h"
#include "libs/geomcore/natCheckin/preview_files.h"
#include "libs/geomcore/natCheckin/sldworks_messages.h"
#include "libs/geomcore/swapi/checkin_calls.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swtools/error.h"

#include <exception>

namespace {

// The preferences overridden while a check-in runs, in the order they are saved, set and
// put back.
enum prefIndexE { toggle69, toggle72, pref5, pref192, pref75, pref142, prefCount };

// The document type of a member by its path: 2 for an assembly file, else 1 (a part).
long memberTypeOf(const mzComPathC& path) {
    return path.getExtension().compare("sldasm", 0) == 0 ? 2 : 1;
}

mzComStringC describeCurrentException() {
    try {
        throw;
    } catch (const errorC& e) {
        return e.getMessage();
    } catch (const _com_error& e) {
        return mzComStringC("SolidWorks call failed: ") + e.ErrorMessage();
    } catch (const std::exception& e) {
        return mzComStringC(e.what());
    } catch (...) {
        return "unknown failure";
    }
}

} // namespace

// Keeps a document in the chain of documents being read while it is read.
class swCheckinC::readingEntryC {
public:
    readingEntryC(swCheckinC& reader, IModelDoc2* doc) : reader_(reader) {
        mzComStringC path;
        try {
            path = mzComPathC(mzComStringC(modelDocGetPathName(doc))).toNativeString();
        } catch (...) {
            reader_.beginStep("reading the document's path name");
            reader_.rethrowNamed();
        }
        reader_.readingChain.push_back(path);
    }
    ~readingEntryC() { reader_.readingChain.pop_back(); }
    readingEntryC(const readingEntryC&) = delete;
    readingEntryC& operator=(const readingEntryC&) = delete;

private:
    swCheckinC& reader_;
};

void swCheckinC::rethrowNamed() const {
    try {
        throw;
    } catch (const errorC&) {
        throw;
    } catch (...) {
        mzComStringC text;
        if (!readingChain.empty())
            text = readingChain.back() + ": ";
        text += currentStep + " failed: " + describeCurrentException();
        throw errorC(text);
    }
}

swCheckinC::swCheckinC(ISldWorksPtr& sldWorks_, const mzComStringC& cadSystemKey_,
                       double /*unused*/, int previewFormat_, TarnwickPollObj& pollObject_)
    : sldWorks(sldWorks_), cadSystemKey(cadSystemKey_), pollObject(pollObject_),
      previewFormat(previewFormat_) {
    NATLINK_TRACE_FRAME_C("swCheckinC::swCheckinC");
    try {
        savedToggle69 = sldWorksGetToggle(sldWorks, 69);
        savedCount = toggle69 + 1;
        sldWorksSetToggle(sldWorks, 69, VARIANT_FALSE);
        savedToggle72 = sldWorksGetToggle(sldWorks, 72);
        savedCount = toggle72 + 1;
        sldWorksSetToggle(sldWorks, 72, VARIANT_TRUE);
        savedPref5 = sldWorksGetIntegerSetting(sldWorks, 5);
        savedCount = pref5 + 1;
        sldWorksSetIntegerSetting(sldWorks, 5, 8);
        savedPref192 = sldWorksGetIntegerSetting(sldWorks, 192);
        savedCount = pref192 + 1;
        sldWorksSetIntegerSetting(sldWorks, 192, 0);
        savedPref75 = sldWorksGetIntegerSetting(sldWorks, 75);
        savedCount = pref75 + 1;
        sldWorksSetIntegerSetting(sldWorks, 75, 203);
        savedPref142 = sldWorksGetIntegerSetting(sldWorks, 142);
        savedCount = pref142 + 1;
        sldWorksSetIntegerSetting(sldWorks, 142, 0);
    } catch (...) {
        // The destructor does not run for an object that was never built: put back here
        // what was changed so far.
        restorePreferences();
        throw;
    }
}

swCheckinC::~swCheckinC() {
    try {
        NATLINK_TRACE_FRAME_C("swCheckinC::~swCheckinC");
        restorePreferences();
    } catch (...) {
        // Only the trace frame can fail here; the preferences are put back all the same.
        restorePreferences();
    }
}

void swCheckinC::restorePreferences() noexcept {
    // Each preference on its own: one that cannot be put back must not keep the others.
    const auto attempt = [](const char* what, auto&& put) {
        try {
            put();
        } catch (...) {
            try {
                NATLINK_LOG(mzLogLevelError, mzComStringC("Could not restore the preference ") +
                                                 what + ": " + describeCurrentException());
            } catch (...) {
            }
        }
    };
    for (int i = 0; i < savedCount && i < prefCount; ++i) {
        switch (i) {
        case toggle69:
            attempt("toggle 69", [&] { sldWorksSetToggle(sldWorks, 69, savedToggle69); });
            break;
        case toggle72:
            attempt("toggle 72", [&] { sldWorksSetToggle(sldWorks, 72, savedToggle72); });
            break;
        case pref5:
            attempt("5", [&] { sldWorksSetIntegerSetting(sldWorks, 5, savedPref5); });
            break;
        case pref192:
            attempt("192", [&] { sldWorksSetIntegerSetting(sldWorks, 192, savedPref192); });
            break;
        case pref75:
            attempt("75", [&] { sldWorksSetIntegerSetting(sldWorks, 75, savedPref75); });
            break;
        case pref142:
            attempt("142", [&] { sldWorksSetIntegerSetting(sldWorks, 142, savedPref142); });
            break;
        default:
            break;
        }
    }
    savedCount = 0;
    if (pref211Saved) {
        attempt("211", [&] { sldWorksSetIntegerSetting(sldWorks, 211, savedPref211); });
        pref211Saved = false;
    }
}

void swCheckinC::setPreviewUnitPreference(long value) {
    if (!pref211Saved) {
        savedPref211 = sldWorksGetIntegerSetting(sldWorks, 211);
        pref211Saved = true;
    }
    sldWorksSetIntegerSetting(sldWorks, 211, value);
}

pShellHeaderC swCheckinC::start(IModelDoc2Ptr doc, int /*unused*/,
                                const mzComStringC& destinationFolder) {
    NATLINK_TRACE_FRAME_C("swCheckinC::start");
    failureText = mzComStringC();
    warnings.clear();
    previewFailure = mzComStringC();
    readingChain.clear();
    try {
        beginStep("making the record");
        pShellHeaderC header(pShellNewNode);
        pShellGlobalHeaderC globalHeader(pShellNewNode);
        pShellDocCheckinC record(pShellNewNode);
        if (!destinationFolder.isEmpty())
            globalHeader.setDestPrjDir(destinationFolder);
        header.setGlobalHeader(globalHeader);
        header.appendChild(record.getTreePtr());

        beginStep("reading the document type");
        const long type = modelDocGetType(doc);
        if (type == 1)
            getPartData(doc, record);
        else if (type == 2)
            getAsmData(doc, record);

        pShellHeaderC result(header);
        doc = nullptr;
        return result;
    } catch (...) {
        try {
            rethrowNamed();
        } catch (...) {
            failureText = describeCurrentException();
        }
        NATLINK_LOG(mzLogLevelError, "Native check-in failed: " + failureText);
    }
    // A check-in that gives no record leaves nothing behind in the temporary folder.
    removePreviewFiles();
    return pShellHeaderC();
}

void swCheckinC::readDocumentHead(IModelDoc2Ptr& doc, pShellDocCheckinC& record) {
    beginStep("rebuilding");
    modelDocGetBoolSlot715(doc);
    pingHost(pollObject);
    beginStep("reading the units");
    getUnitBases(doc);
    beginStep("writing the document record");
    writeDocumentRecord(doc, record);
}

void swCheckinC::readDocumentTail(IModelDoc2Ptr& doc, pShellDocCheckinC& record) {
    beginStep("reading the variables");
    getParameters(doc, record);
    beginStep("applying the document state rule");
    applyDocumentStateRule(doc);
}

void swCheckinC::getPartData(IModelDoc2Ptr doc, pShellDocCheckinC& record) {
    NATLINK_TRACE_FRAME_C("swCheckinC::getPartData");
    const readingEntryC reading(*this, doc);
    try {
        readDocumentHead(doc, record);
        readDocumentTail(doc, record);
    } catch (...) {
        rethrowNamed();
    }
}

void swCheckinC::getAsmData(IModelDoc2Ptr doc, pShellDocCheckinC& record) {
    NATLINK_TRACE_FRAME_C("swCheckinC::getAsmData");
    const readingEntryC reading(*this, doc);
    try {
        readDocumentHead(doc, record);
        const unitsS ownUnits = currentUnits();

        beginStep("reading the components");
        pShellMemberSetC members = record.getMemberSet();
        const IConfigurationPtr active(modelDocGetActiveConfiguration(doc));
        IComponentPtr root;
        if (active)
            root = IComponentPtr(configGetRootComponent(active));
        // The record is still made, but it must not look like an assembly without components.
        if (!root)
            noteWarning("its components could not be read (no root component)");
        if (root) {
            for (const IDispatchPtr& child : readObjectArray(componentGetChildren(root))) {
                beginStep("reading the components");
                const IModelDoc2Ptr memberDoc(
                    componentGetModelDoc(requireInterfaceOf<IComponentObject>(child)));
                if (!memberDoc) {
                    noteComponentWithoutDocument(child);
                    continue;
                }
                const mzComStringC path(modelDocGetPathName(memberDoc));
                const mzComPathC pathValue(path);
                const mzComStringC nativePath = pathValue.toNativeString();
                const long type = memberTypeOf(pathValue);

                refuseComponentBeingRead(nativePath);

                // A document already read for this record is copied, not read again.
                const pShellDocBaseC known = record.findDocument(nativePath);
                if (known.isValid()) {
                    metaObjectC copy = known.cloneTree(1);
                    members.addDocument(copy.getTreePtr());
                    continue;
                }

                pShellDocCheckinC memberRecord(pShellNewNode);
                pingHost(pollObject);
                beginStep("loading the component " + path);
                sldWorksCallSlot9(sldWorks, path.toBstr(), type);
                try {
                    const IModelDoc2Ptr fetched = getSessionDocument(sldWorks, path.toBstr());
                    if (modelDocGetType(fetched) == 1)
                        getPartData(fetched, memberRecord);
                    else
                        getAsmData(fetched, memberRecord);
                } catch (...) {
                    // The check-in ends here; the member loaded for it is not left open.
                    try {
                        sldWorksCloseDocument(sldWorks, path.toBstr());
                    } catch (...) {
                    }
                    throw;
                }
                pingHost(pollObject);
                beginStep("closing the component " + path);
                sldWorksCloseDocument(sldWorks, path.toBstr());
                members.addDocument(memberRecord.getTreePtr());
            }
        }

        setUnits(ownUnits);
        readDocumentTail(doc, record);
    } catch (...) {
        rethrowNamed();
    }
}

void swCheckinC::refuseComponentBeingRead(const mzComStringC& nativePath) const {
    // A component that is being read higher up would be read for ever.
    for (std::size_t at = 0; at < readingChain.size(); ++at) {
        if (readingChain[at] != nativePath)
            continue;
        mzComStringC loop;
        for (std::size_t i = at; i < readingChain.size(); ++i)
            loop += readingChain[i] + " -> ";
        throw errorC(readingChain.back() + ": the component " + nativePath +
                     " is already being read higher up (an assembly that contains itself: " + loop +
                     nativePath + ")");
    }
}

void swCheckinC::noteComponentWithoutDocument(IDispatch* child) {
    const mzComStringC path(componentGetPathName(requireInterfaceOf<IComponentObject>(child)));
    // SolidWorks loads no document for a component that is its own assembly: that assembly
    // contains itself, as much as one that does so through another.
    if (!path.isEmpty())
        refuseComponentBeingRead(mzComPathC(path).toNativeString());
    const mzComStringC text = path.isEmpty() ? mzComStringC("a component refers to no file")
                              : fileExists(path)
                                  ? "component not loaded: " + path + whyNotLoaded(path)
                                  : "component file missing: " + path;
    noteWarning(text);
}

mzComStringC swCheckinC::whyNotLoaded(const mzComStringC& path) {
    // SolidWorks says why only when it tries: it is asked to load the file again as a member
    // is loaded. Should it now succeed, the document is closed again as a member is. The
    // reason only adds to the warning: a failure to get it leaves the warning as it is.
    try {
        if (sldWorksCallSlot9(sldWorks, path.toBstr(), memberTypeOf(mzComPathC(path)))) {
            sldWorksCloseDocument(sldWorks, path.toBstr());
            return mzComStringC();
        }
    } catch (...) {
        return mzComStringC();
    }
    const mzComStringC reason = latestSldWorksMessage(sldWorks);
    return reason.isEmpty() ? reason : ": " + reason;
}

void swCheckinC::noteWarning(const mzComStringC& what) {
    // The answer names the top document already; a member's warning names the member.
    const mzComStringC text = readingChain.size() < 2 ? what : readingChain.back() + ": " + what;
    NATLINK_LOG(mzLogLevelWarning, text);
    for (const mzComStringC& known : warnings)
        if (known == text)
            return;
    warnings.push_back(text);
}

void swCheckinC::setUnits(const unitsS& units) {
    unitFactor = units.factor;
    lengthUnitName = units.lengthName;
    angleUnitName = units.angleName;
}

void swCheckinC::getUnitBases(IModelDoc2Ptr doc) {
    // Every document starts in millimetres and degrees: a code this reader does not know
    // must not leave the previous document's unit in force.
    setUnits({1.0, "mm", "deg"});
    if (const std::optional<short> code = firstShortOf(modelDocGetLengthUnitArray(doc))) {
        switch (*code) {
        case 0:
            setUnits({1.0, "mm", angleUnitName});
            break;
        case 1:
            setUnits({10.0, "cm", angleUnitName});
            break;
        case 2:
            setUnits({1000.0, "m", angleUnitName});
            break;
        case 3:
            setUnits({25.4, "inch", angleUnitName});
            break;
        case 4:
            setUnits({304.8, "feet", angleUnitName});
            break;
        default:
            NATLINK_LOG(mzLogLevelWarning, "Unknown length unit code " +
                                               mzComStringC::number(*code, '.', 14) +
                                               ", taken as millimetres");
            break;
        }
    }
    if (const std::optional<short> code = firstShortOf(modelDocGetAngleUnitArray(doc)))
        angleUnitName = *code == 3 ? "rad" : "deg";
}

void swCheckinC::applyDocumentStateRule(IModelDoc2Ptr& doc) {
    if (modelDocGetBoolSlot473(doc) == VARIANT_FALSE)
        return;
    const int rule =
        getGlobalOptions("natlinkon").getOption("NativeCheckin", "ProcessDocumentState").toInt();
    if (rule == 1) {
        errorText = translateResourceText("Msg_checkin_001", getAppName()) + ":" +
                    mzComStringC(modelDocGetPathName(doc));
        throw errorC(errorText);
    }
    if (rule == 2)
        modelDocCallSlot508(doc, 1);
}
