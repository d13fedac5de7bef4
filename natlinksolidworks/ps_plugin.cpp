#include "natlinksolidworks/ps_plugin.h"

#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/swtools/error.h"
#include "metamodel/core/registry.h"
#include "metamodel/core/valueviews.h"
#include "metamodel/m3d/document.h"
#include "metamodel/m3d/register.h"
#include "metamodel/param/paramregister.h"
#include "natlinksolidworks/create_document.h"
#include "natlinksolidworks/native_checkin_branch.h"
#include "platform/sldworks/session/session.h"

#include <exception>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace {

// A conversion that cannot go on: its text goes to "RESTEXT".
struct conversionFailureS {
    mzComStringC text;
};

void setResultText(metaTreePtrT options, const mzComStringC& text) {
    metaObjectC view(options);
    metaObjStrC(view.getOrAddChild("RESTEXT")).set(text);
}

// "HEADING: TAG "NAME": message; ..." for the items of one list.
mzComStringC itemsText(const char* heading, const std::vector<swFailedItemS>& items) {
    mzComStringC text;
    for (const swFailedItemS& item : items) {
        if (!text.isEmpty())
            text += "; ";
        text += item.tag + " " + quotedName(item.name) + ": " + item.message;
    }
    return mzComStringC(heading) + ": " + text;
}

// The one document node of INPUTDATA.
metaTreePtrT inputDocument(const metaObjectC& options) {
    const metaObjectC input(options.findChild("INPUTDATA"));
    if (!input.isValid())
        throw conversionFailureS{"The conversion has no INPUTDATA"};
    metaTreePtrT document;
    for (metaObjEnumC child = input.enumChildren(); child.isValid(); child.next()) {
        const metaObjectC node(child.current());
        if (!node.isKeyNode())
            continue;
        if (!document.isNull())
            throw conversionFailureS{"INPUTDATA holds more than one document"};
        document = child.current();
    }
    if (document.isNull())
        throw conversionFailureS{"INPUTDATA holds no document"};
    return document;
}

// The output folder of a conversion, made with the folders above it that are missing. When
// the conversion fails, the folders it made and left empty go again, so that a failed
// conversion leaves no trace on the disk.
class outputFolderC {
public:
    explicit outputFolderC(const metaObjectC& options) {
        const mzComStringC location = options.readStringProperty("OUTPUTLOCATION");
        if (location.isEmpty())
            throw conversionFailureS{"The conversion has no OUTPUTLOCATION"};
        folder_ = location.toUtf8();
        std::error_code error;
        // Deepest first, as they must go.
        for (std::filesystem::path p = std::filesystem::absolute(folder_, error).lexically_normal();
             !error && !p.empty() && !std::filesystem::exists(p, error) && !error;
             p = p.parent_path()) {
            created_.push_back(p);
            if (p == p.parent_path())
                break;
        }
        std::filesystem::create_directories(folder_, error);
        if (error || !std::filesystem::is_directory(folder_, error)) {
            removeEmpty();
            throw conversionFailureS{mzComStringC("The output location \"") + location +
                                     "\" is no folder that can be written"};
        }
    }
    outputFolderC(const outputFolderC&) = delete;
    outputFolderC& operator=(const outputFolderC&) = delete;
    ~outputFolderC() {
        if (!kept_)
            removeEmpty();
    }

    const std::string& path() const { return folder_; }
    void keep() { kept_ = true; }

private:
    void removeEmpty() const {
        for (const std::filesystem::path& p : created_) {
            std::error_code error;
            if (!std::filesystem::is_empty(p, error) || error || !std::filesystem::remove(p, error))
                return;
        }
    }

    std::string folder_;
    std::vector<std::filesystem::path> created_;
    bool kept_ = false;
};

} // namespace

PSWPlugin::PSWPlugin(ISldWorksPtr app) : app_(std::move(app)) {
    // Stands in for the host's start-up listeners: every meta class registered once, the
    // parametric document among the 3D documents, so that unit changes carry it along.
    registerMetaCoreClasses();
    registerM3dClasses();
    registerParamClasses();
}

void PSWPlugin::attachOrStartSldWorks() {
    // Only the simulated session can be started here; there is no running SolidWorks to
    // attach to, no add-in to hand the work to and no watchdog to start.
    if (!app_)
        app_ = createSimulatedSldWorks();
    if (!app_)
        throw conversionFailureS{"SolidWorks could not be started"};
}

int PSWPlugin::convertMetaTree(metaTreePtrT options, void* /*progress*/) {
    NATLINK_TRACE_FRAME_C("PSWPlugin::convertMetaTree");
    if (options.isNull())
        return 1;
    try {
        const mzComStringC format =
            metaObjectC(options).readStringProperty("INPUTFORMAT", buildRoadFormat);
        if (isNativeCheckinFormat(format)) {
            attachOrStartSldWorks();
            return convertNativeCheckin(app_, options);
        }
        if (!(format == buildRoadFormat))
            throw conversionFailureS{mzComStringC("Unknown input format ") + quotedName(format)};
        return convertBuildRoad(options);
    } catch (const conversionFailureS& failure) {
        NATLINK_LOG(mzLogLevelError, mzComStringC("Conversion failed: ") + failure.text);
        setResultText(options, failure.text);
    } catch (const std::exception& error) {
        NATLINK_LOG(mzLogLevelError, mzComStringC("Conversion failed: ") + error.what());
        setResultText(options, mzComStringC(error.what()));
    }
    return 1;
}

int PSWPlugin::convertBuildRoad(metaTreePtrT options) {
    const metaObjectC view(options);
    const metaTreePtrT document = inputDocument(view);
    const mzComStringC tag = metaObjectC(document).getTag();
    if (!(tag == m3dPartC::tagName()) && !(tag == m3dAsmC::tagName()))
        throw conversionFailureS{mzComStringC("Documents of kind ") + tag +
                                 " cannot be built; only PART and ASSEMBLY"};

    swCreation3dS creation;
    outputFolderC folder(view);
    creation.outputLocation = folder.path();
    const metaObjectC customData(view.findChild("CUSTOMDATA"));
    creation.creationOptions = customData.findChild("CREAOPTS");
    attachOrStartSldWorks();
    creation.app = app_;

    const int result = createSWDocument(creation, document);
    if (result == 0)
        folder.keep();
    mzComStringC text = result != 0 ? creation.errorText : mzComStringC();
    const std::pair<const char*, const std::vector<swFailedItemS>*> lists[] = {
        {"Items not built", &creation.failedItems},
        {"Items built incompletely", &creation.incompleteItems},
        {"Notes", &creation.notes}};
    for (const auto& [heading, items] : lists) {
        if (items->empty())
            continue;
        if (!text.isEmpty())
            text += "; ";
        text += itemsText(heading, *items);
    }
    // A success says something only when the build has notes for the user.
    if (result != 0 || !text.isEmpty())
        setResultText(options, text);
    return result;
}
