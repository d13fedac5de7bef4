// The mate-reference steps that end a part or assembly build: the mate references of the
// built document (libs/geomcore/swgeomtools/mate_references.h) with the identity transform.
#pragma once

#include "libs/KvorMetaApi/metaread/reader.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/sw3ddoc/sw_assembly.h"
#include "libs/geomcore/sw3ddoc/sw_part.h"
#include "libs/geomcore/swgeomtools/mate_references.h"
#include "platform/sldworks/api/sldworks_api.h"

#include <vector>

// The "CreateMateReferences" creation option of the document: its mode, 1 when it is not
// set; a value that is no whole number is no mode, and `refusal` names it.
struct mateReferenceModeS {
    int mode = 1;
    mzComStringC refusal;
};
mateReferenceModeS mateReferenceMode(const metaObjectVirtualDataBaseC& document,
                                     metaReaderC& reader);

// The mate references of the built part (its modelDoc and meta node); each classified face,
// connection point and connection-point entry that gets none is noted as a failed item
// "CLASSIFICATIONINFO" of the part. SolidWorks failures leave as _com_error for the builder
// to handle.
void addPartMateReferences(swPartC& part, metaReaderC& reader, int mode);

// The mate references of the built assembly (its modelDoc and meta node); each classified
// face and connection-point entry that gets none, and the connection points (not built in
// assemblies) together, are noted as failed items "CLASSIFICATIONINFO" of the assembly.
void addAssemblyMateReferences(swAssemblyC& assembly, metaReaderC& reader, int mode);

void noteMateReferenceFailure(const metaObjectVirtualDataBaseC& document, metaReaderC& reader,
                              const _com_error& error);
void noteRefusedMateReferenceMode(const metaObjectVirtualDataBaseC& document, metaReaderC& reader,
                                  const mzComStringC& refusal);

// A builder's mate-reference step: the mode from "CreateMateReferences", then `step`. A value
// that is no mode makes none and is noted as a failed item "CREAOPTS" of the document; a
// SolidWorks failure ends the mate references (not the build) and is noted as a failed item
// "CLASSIFICATIONINFO" of the document.
template <class Step>
void runMateReferenceStep(const metaObjectVirtualDataBaseC& document, metaReaderC& reader,
                          Step step) {
    const mateReferenceModeS mode = mateReferenceMode(document, reader);
    if (!mode.refusal.isEmpty()) {
        noteRefusedMateReferenceMode(document, reader, mode.refusal);
        return;
    }
    try {
        step(mode.mode);
    } catch (const _com_error& error) {
        noteMateReferenceFailure(document, reader, error);
    }
}

// What a document's mate-reference step could not make.
struct swMateRefMissesS {
    std::vector<swUnreferencedPointS> points;
    std::vector<mzComStringC> faces;         // one message each
    std::vector<mzComStringC> unnamedPoints; // one message each
};

// The same over any built document: `document` is the builder's own holder of the document
// pointer, `node` the document's meta node. Answers the classified faces and connection
// points that got no mate reference.
swMateRefMissesS addDocumentMateReferences(IModelDoc2Ptr& document, metaTreePtrT node, int mode);
