#include "natlinksolidworks/create_document.h"

#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildasm3d/assembly_handler.h"
#include "libs/geomcore/buildpart3d/annotation_sets_handler.h"
#include "libs/geomcore/buildpart3d/connection_points_handler.h"
#include "libs/geomcore/buildpart3d/items_handler.h"
#include "libs/geomcore/buildpart3d/part_handler.h"
#include "libs/geomcore/buildsw3d/base_cut_handlers.h"
#include "libs/geomcore/buildsw3d/drilling_handlers.h"
#include "libs/geomcore/buildsw3d/foreign_handler.h"
#include "libs/geomcore/buildsw3d/pattern_handler.h"
#include "libs/geomcore/buildsw3d/plane_handler.h"
#include "libs/geomcore/buildsw3d/sketch_handler.h"
#include "libs/geomcore/buildsw3d/sweep_handler.h"
#include "libs/geomcore/swtools/error.h"
#include "metamodel/core/metaobject.h"
#include "platform/host/services/script_events.h"

#include <exception>

std::unique_ptr<swMetaReaderC> createDocumentReader(swCreation3dS& creation) {
    auto reader = std::make_unique<swMetaReaderC>(creation);
    reader->addCommand(std::make_unique<swMeta3dAssemblyC>());
    reader->addCommand(std::make_unique<swMeta3dPartC>());
    reader->addCommand(std::make_unique<swMeta3dItemsC>());
    reader->addCommand(std::make_unique<swMeta3dAnnotationSetsC>());
    reader->addCommand(std::make_unique<swMeta3dConnPointsC>());
    reader->addCommand(std::make_unique<swMeta3dPlaneC>());
    reader->addCommand(std::make_unique<swMeta3dSketchC>());
    reader->addCommand(std::make_unique<swMeta3dBaseC>());
    reader->addCommand(std::make_unique<swMeta3dCutC>());
    reader->addCommand(std::make_unique<sw3dFeatDrillingC>());
    reader->addCommand(std::make_unique<sw3dDrillingHistoryC>());
    reader->addCommand(std::make_unique<sw3dFeatForeignC>());
    reader->addCommand(std::make_unique<swMeta3dSweepC>());
    reader->addCommand(std::make_unique<swMeta3dPatternC>());
    return reader;
}

int createSWDocument(swCreation3dS& creation, metaTreePtrT document) {
    NATLINK_TRACE_FRAME_C("createSWDocument");
    const std::string documentName = getNameAttr(metaObjectC(document)).toUtf8();
    hostsvc::raiseScriptEvent("AppBeforeCreate", documentName);
    try {
        const std::unique_ptr<swMetaReaderC> reader = createDocumentReader(creation);
        const std::size_t savedBefore = creation.savedDocuments.size();
        reader->exeNode(document, nullptr);
        // A node that no handler builds leaves nothing behind: that is no success.
        if (creation.savedDocuments.size() == savedBefore)
            creation.errorText = mzComStringC("No document was built from the node ") +
                                 metaObjectC(document).getTag();
    } catch (const errorC& error) {
        creation.errorText = error.getMessage();
    } catch (const _com_error& error) {
        creation.errorText = mzComStringC("SolidWorks call failed: ") + error.ErrorMessage();
    } catch (const std::exception& error) {
        creation.errorText = mzComStringC(error.what());
    }
    if (!creation.errorText.isEmpty())
        NATLINK_LOG(mzLogLevelError, mzComStringC("Document not built: ") + creation.errorText);
    hostsvc::raiseScriptEvent("AppAfterCreate", documentName);
    return creation.errorText.isEmpty() && creation.failedItems.empty() &&
                   creation.incompleteItems.empty()
               ? 0
               : 1;
}
