#include "libs/geomcore/buildpart3d/part_handler.h"

#include "libs/KvorCadComm/app_environment.h"
#include "libs/KvorCadComm/creation_warning.h"
#include "libs/KvorCadComm/meta_tree_helpers.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildsw3d/build_helpers.h"
#include "libs/geomcore/buildsw3d/mate_reference_steps.h"
#include "libs/geomcore/buildsw3d/plane_selection.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/buildsw3d/threads_and_faces.h"
#include "libs/geomcore/buildsw3d/unbuilt_content.h"
#include "libs/geomcore/sw3ddoc/new_features.h"
#include "libs/geomcore/sw3ddoc/sw_part.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swgeomtools/build_settings_guard.h"
#include "libs/geomcore/swtools/doc_attributes.h"
#include "libs/geomcore/swtools/phys_props.h"
#include "metamodel/m3d/viewhelpers.h"

namespace {

// The meta tree's lengths are in millimetres when the part is built.
constexpr double buildUnitBase = 1.0;

// Adopts the template's reference planes, in feature-list order, without meta names.
void adoptTemplatePlanes(swPartC& part) {
    for (;;) {
        _bstr_t name;
        if (!findRefPlane(part, mzComStringC(), name, 1))
            break;
    }
}

std::string savePart(swPartC& part, const swCreation3dS& creation, const std::string& fileName) {
    return saveDocumentAs(part.modelDoc, creation.outputLocation, fileName, "part");
}

// Closes the part document however its build ends, so that a batch of conversions leaves no
// document open in SolidWorks. It is closed by the path it was saved under, known here: the
// document is not asked for it again (a failing question would leave it open). A part that
// could not be saved has no path yet and is closed by its empty path, which only a document
// never saved has.
class partDocumentCloserC {
public:
    explicit partDocumentCloserC(ISldWorks* app) : app_(app) {}
    partDocumentCloserC(const partDocumentCloserC&) = delete;
    partDocumentCloserC& operator=(const partDocumentCloserC&) = delete;
    void savedAs(const std::string& path) { path_ = path; }
    ~partDocumentCloserC() {
        try {
            sldWorksCloseDocument(app_, _bstr_t(path_.c_str()));
        } catch (const _com_error& error) {
            NATLINK_LOG(mzLogLevelError,
                        mzComStringC("Could not close the part: ") + error.ErrorMessage());
        } catch (...) {
            // Nothing may leave a destructor; the document stays open.
        }
    }

private:
    ISldWorks* app_;
    std::string path_;
};

// The features a level leaves out with an excluded one: no failure, but the user is told.
void noteLeftOutWith(metaReaderC& reader, const swPartC& part,
                     const std::vector<mzComStringC>& leftOutWith) {
    swCreation3dS* creation = creationOf(reader);
    for (const mzComStringC& note : leftOutWith) {
        NATLINK_LOG(mzLogLevelInfo, mzComStringC("Levels of detail: ") + note);
        if (creation != nullptr)
            creation->notes.push_back({m3dPartDetailLevelC::tagName(), getNameAttr(part), note});
    }
}

// The part's levels of detail when "CreateLOD" asks for them. A level that fails is noted
// as an item not built; the part is saved with the levels made before it. Levels that get no
// configuration make the item incomplete.
void createLevelsOfDetail(swPartC& part, metaReaderC& reader) {
    if (creationOptionInt(part, reader, "CreateLOD", 0) == 0)
        return;
    mzComStringC failure;
    std::vector<mzComStringC> notBuilt;
    std::vector<mzComStringC> leftOutWith;
    try {
        part.createDetailLevels(documentCreationSettings(part, reader), notBuilt, leftOutWith);
        reportIncompleteItem(reader, m3dPartDetailLevelC::tagName(), getNameAttr(part), notBuilt);
        noteLeftOutWith(reader, part, leftOutWith);
        return;
    } catch (const mzComStringC& message) {
        failure = message;
    } catch (const _com_error& error) {
        failure = mzComStringC("SolidWorks call failed: ") + error.ErrorMessage();
    }
    reportIncompleteItem(reader, m3dPartDetailLevelC::tagName(), getNameAttr(part), notBuilt);
    noteLeftOutWith(reader, part, leftOutWith);
    NATLINK_LOG(mzLogLevelError, mzComStringC("Levels of detail: ") + failure);
    if (swCreation3dS* creation = creationOf(reader))
        creation->failedItems.push_back(
            {m3dPartDetailLevelC::tagName(), getNameAttr(part), failure});
}

// The attribute groups of the creation options as custom properties and summary fields.
void writeAttributes(const swPartC& part, metaReaderC& reader) {
    const metaTreePtrT options = documentCreationOptions(part, reader);
    if (options.isNull())
        return;
    mDocumentCreationOptionsC view(options);
    IModelDoc2Ptr doc = part.modelDoc;
    writeDocumentAttributes(doc, view);
}

} // namespace

int swMeta3dPartC::execute(metaReaderC& reader, metaTreePtrT tagToken, void* /*data*/) {
    NATLINK_TRACE_FRAME_C("swMeta3dPartC::execute");
    swCreation3dS* creation = creationOf(reader);
    if (creation == nullptr || !creation->app)
        failCreation("No SolidWorks session to build the part in");

    swPartC part(getParentTreePtr(tagToken));
    const std::string fileName = documentFileName(part, "Part", ".sldprt", "part");

    // A SolidWorks failure of the part as a whole names the step and the document; failures
    // of single items are the items' own.
    const char* step = "creating the part from the template";
    try {
        const IModelDoc2Ptr doc(sldWorksNewPart(creation->app));
        if (!doc)
            failCreation("Could not create a part from the template");
        part.modelDoc = doc;
        partDocumentCloserC closer(creation->app);

        noteUnbuiltContent(part, reader);
        NATLINK_LOG(mzLogLevelTrace, "Set part units");
        // A stored unit that is no positive length would scale (or mirror) every length by a
        // nonsense factor; the part is not built from it.
        if (part.setUnitBase(buildUnitBase, 1) == 0)
            failCreation(mzComStringC("Invalid UNITBASE ") +
                         storedUnitBaseText(m3dDocPrefsC(part.findChild("PARTPREFS"))) +
                         " of part " + quotedName(getNameAttr(part)));

        {
            // SolidWorks stays in build mode from here until the part is built, before saving;
            // the user's settings come back also when the build is left by an exception.
            step = "switching the build settings";
            const swBuildSettingsGuardC guard(creation->app, doc);

            step = "recording the template's features";
            for (_bstr_t envItem; collectNewFeatures(part, "swEnvItems", envItem, 1) == 1;)
                envItem = _bstr_t();
            step = "adopting the template's planes";
            adoptTemplatePlanes(part);

            const metaTreePtrT items = part.findChild("ITEMS");
            step = "building the items";
            if (!items.isNull())
                reader.exeNode(items, &part);

            try {
                part.hideCreatedPlanes();
            } catch (const _com_error& error) {
                NATLINK_LOG(mzLogLevelError,
                            mzComStringC("Could not hide the planes: ") + error.ErrorMessage());
            }

            step = "adding the annotation sets and connection points";
            for (const char* finishing : {"ANNOTATIONSETS", "CONNPOINTS"}) {
                const metaTreePtrT node = part.findChild(finishing);
                if (!node.isNull())
                    reader.exeNode(node, &part);
            }
            step = "adding the mate references";
            runMateReferenceStep(part, reader,
                                 [&](int mode) { addPartMateReferences(part, reader, mode); });

            step = "making the levels of detail";
            createLevelsOfDetail(part, reader);
            // The catalogue's mass and density are worth a warning, not the part.
            try {
                setPhyProps(part.getPartAttr(), part.modelDoc);
            } catch (const _com_error& error) {
                NATLINK_CREATION_WARNING(0, "WARNING",
                                         mzComStringC("Physical properties not written: ") +
                                             error.ErrorMessage(),
                                         getAppName());
            }
            step = "naming the faces";
            const mzComStringC notNamed = nameFacesBySurfaceType(part);
            if (!notNamed.isEmpty())
                reportIncompleteItem(reader, m3dPartC::tagName(), getNameAttr(part),
                                     {"faces not all named by surface type: " + notNamed});
            step = "writing the attributes";
            writeAttributes(part, reader);
            step = "putting the build settings back";
        }

        step = "saving";
        const std::string saved = savePart(part, *creation, fileName);
        closer.savedAs(saved);
        creation->savedDocuments.push_back(saved);

        step = "detaching the part's objects";
        NATLINK_LOG(mzLogLevelTrace, "Detach all COm objects");
        part.detachComObjects();
    } catch (const _com_error& error) {
        failCreation(mzComStringC("Part ") + quotedName(getNameAttr(part)) + " (" +
                     fileName.c_str() + "): " + step +
                     " failed: SolidWorks call failed: " + error.ErrorMessage());
    }
    return 1; // the closer closes the document, then the part object goes
}
