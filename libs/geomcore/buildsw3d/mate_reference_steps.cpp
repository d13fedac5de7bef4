#include "libs/geomcore/buildsw3d/mate_reference_steps.h"

#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/swgeomtools/mate_references.h"
#include "metamodel/m3d/viewhelpers.h"

#include <memory>

int mateReferenceMode(const metaObjectVirtualDataBaseC& document, metaReaderC& reader) {
    return documentCreationSetting(document, reader, "CreateMateReferences").getValue("1").toInt();
}

std::vector<mzComStringC> addDocumentMateReferences(IModelDoc2Ptr& document, metaTreePtrT node,
                                                    int mode) {
    NATLINK_TRACE_FRAME_C("addDocumentMateReferences");
    static constexpr double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    swMateRefContextS context;
    context.document = std::addressof(document);
    context.documentView = m3dDocumentC(node);
    buildMateReferences(context, identity, mode);
    return std::move(context.unreferencedPoints);
}

void addAssemblyMateReferences(swAssemblyC& assembly, metaReaderC& reader, int mode) {
    const std::vector<mzComStringC> unreferenced =
        addDocumentMateReferences(assembly.modelDoc, assembly.getTreePtr(), mode);
    if (unreferenced.empty())
        return;
    // An assembly's connection points are not built, so their helper bodies have no plane.
    mzComStringC message("mate references at the connection points of an assembly are not built:");
    for (const mzComStringC& name : unreferenced)
        message = message + " " + name;
    NATLINK_LOG(mzLogLevelError, message);
    if (swCreation3dS* creation = creationOf(reader))
        creation->failedItems.push_back(
            {"CLASSIFICATIONINFO", getNameAttr(metaObjectC(assembly.getTreePtr())), message});
}

void noteMateReferenceFailure(const metaObjectVirtualDataBaseC& document, metaReaderC& reader,
                              const _com_error& error) {
    const mzComStringC message =
        mzComStringC("Mate references could not be made: SolidWorks call failed: ") +
        error.ErrorMessage();
    NATLINK_LOG(mzLogLevelError, message);
    if (swCreation3dS* creation = creationOf(reader))
        creation->failedItems.push_back({"CLASSIFICATIONINFO", getNameAttr(document), message});
}

void addPartMateReferences(swPartC& part, int mode) {
    addDocumentMateReferences(part.modelDoc, part.getTreePtr(), mode);
}
