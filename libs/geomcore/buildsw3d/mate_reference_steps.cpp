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

swMateRefMissesS addDocumentMateReferences(IModelDoc2Ptr& document, metaTreePtrT node, int mode) {
    NATLINK_TRACE_FRAME_C("addDocumentMateReferences");
    static constexpr double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    swMateRefContextS context;
    context.document = std::addressof(document);
    context.documentView = m3dDocumentC(node);
    buildMateReferences(context, identity, mode);
    return {std::move(context.unreferencedPoints), std::move(context.unreferencedFaces)};
}

namespace {

void noteMissing(metaReaderC& reader, const mzComStringC& documentName,
                 const mzComStringC& message) {
    NATLINK_LOG(mzLogLevelError, message);
    if (swCreation3dS* creation = creationOf(reader))
        creation->failedItems.push_back({"CLASSIFICATIONINFO", documentName, message});
}

} // namespace

void addAssemblyMateReferences(swAssemblyC& assembly, metaReaderC& reader, int mode) {
    const swMateRefMissesS missing =
        addDocumentMateReferences(assembly.modelDoc, assembly.getTreePtr(), mode);
    const mzComStringC name = getNameAttr(metaObjectC(assembly.getTreePtr()));
    for (const mzComStringC& face : missing.faces)
        noteMissing(reader, name, face);
    if (missing.points.empty())
        return;
    // An assembly's connection points are not built, so their helper bodies have no plane.
    mzComStringC message("mate references at the connection points of an assembly are not built:");
    for (const swUnreferencedPointS& point : missing.points)
        message = message + " " + point.name;
    noteMissing(reader, name, message);
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

void addPartMateReferences(swPartC& part, metaReaderC& reader, int mode) {
    const swMateRefMissesS missing =
        addDocumentMateReferences(part.modelDoc, part.getTreePtr(), mode);
    const mzComStringC name = getNameAttr(part);
    for (const mzComStringC& face : missing.faces)
        noteMissing(reader, name, face);
    for (const swUnreferencedPointS& point : missing.points)
        noteMissing(reader, name,
                    mzComStringC("The connection point \"") + point.name +
                        "\" gets no mate reference: " + point.reason);
}
