#include "libs/geomcore/buildsw3d/mate_reference_steps.h"

#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/swgeomtools/mate_references.h"
#include "metamodel/m3d/viewhelpers.h"

#include <memory>

mateReferenceModeS mateReferenceMode(const metaObjectVirtualDataBaseC& document,
                                     metaReaderC& reader) {
    const mzComStringC value =
        documentCreationSetting(document, reader, "CreateMateReferences").getValue("1");
    mateReferenceModeS read;
    bool ok = false;
    read.mode = value.toInt(&ok);
    if (!ok)
        read.refusal = mzComStringC("the creation option \"CreateMateReferences\" is \"") + value +
                       "\", which is no mode (a whole number: 0 none, 1 or 2 at classified faces "
                       "and connection points, any other at classified faces only): no mate "
                       "references are made";
    return read;
}

swMateRefMissesS addDocumentMateReferences(IModelDoc2Ptr& document, metaTreePtrT node, int mode) {
    NATLINK_TRACE_FRAME_C("addDocumentMateReferences");
    static constexpr double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    swMateRefContextS context;
    context.document = std::addressof(document);
    context.documentView = m3dDocumentC(node);
    buildMateReferences(context, identity, mode);
    return {std::move(context.unreferencedPoints), std::move(context.unreferencedFaces),
            std::move(context.unnamedPoints)};
}

namespace {

void noteFailedItem(metaReaderC& reader, const char* tag, const mzComStringC& documentName,
                    const mzComStringC& message) {
    NATLINK_LOG(mzLogLevelError, message);
    if (swCreation3dS* creation = creationOf(reader))
        creation->failedItems.push_back({tag, documentName, message});
}

void noteMissing(metaReaderC& reader, const mzComStringC& documentName,
                 const mzComStringC& message) {
    noteFailedItem(reader, "CLASSIFICATIONINFO", documentName, message);
}

// The faces and entries every document names alike.
void noteMissingFacesAndEntries(metaReaderC& reader, const mzComStringC& documentName,
                                const swMateRefMissesS& missing) {
    for (const mzComStringC& face : missing.faces)
        noteMissing(reader, documentName, face);
    for (const mzComStringC& entry : missing.unnamedPoints)
        noteMissing(reader, documentName, entry);
}

} // namespace

void addAssemblyMateReferences(swAssemblyC& assembly, metaReaderC& reader, int mode) {
    const swMateRefMissesS missing =
        addDocumentMateReferences(assembly.modelDoc, assembly.getTreePtr(), mode);
    const mzComStringC name = getNameAttr(metaObjectC(assembly.getTreePtr()));
    noteMissingFacesAndEntries(reader, name, missing);
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
    noteMissing(reader, getNameAttr(document),
                mzComStringC("Mate references could not be made: SolidWorks call failed: ") +
                    error.ErrorMessage());
}

void noteRefusedMateReferenceMode(const metaObjectVirtualDataBaseC& document, metaReaderC& reader,
                                  const mzComStringC& refusal) {
    noteFailedItem(reader, "CREAOPTS", getNameAttr(document), refusal);
}

void addPartMateReferences(swPartC& part, metaReaderC& reader, int mode) {
    const swMateRefMissesS missing =
        addDocumentMateReferences(part.modelDoc, part.getTreePtr(), mode);
    const mzComStringC name = getNameAttr(part);
    noteMissingFacesAndEntries(reader, name, missing);
    for (const swUnreferencedPointS& point : missing.points)
        noteMissing(reader, name,
                    mzComStringC("The connection point \"") + point.name +
                        "\" gets no mate reference: " + point.reason);
}
