#include "libs/geomcore/buildsw3d/mate_reference_steps.h"

#include "libs/KvorCadComm/trace_frames.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/swgeomtools/mate_references.h"

#include <memory>

int mateReferenceMode(const metaObjectVirtualDataBaseC& document, metaReaderC& reader) {
    return documentCreationSetting(document, reader, "CreateMateReferences").getValue("1").toInt();
}

void addDocumentMateReferences(IModelDoc2Ptr& document, metaTreePtrT node, int mode) {
    NATLINK_TRACE_FRAME_C("addDocumentMateReferences");
    static constexpr double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    swMateRefContextS context;
    context.document = std::addressof(document);
    context.documentView = m3dDocumentC(node);
    buildMateReferences(context, identity, mode);
}

void addPartMateReferences(swPartC& part, int mode) {
    addDocumentMateReferences(part.modelDoc, part.getTreePtr(), mode);
}
