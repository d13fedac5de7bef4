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

// The "CreateMateReferences" creation option of the document; 1 when it is not set.
int mateReferenceMode(const metaObjectVirtualDataBaseC& document, metaReaderC& reader);

// The mate references of the built part (its modelDoc and meta node); each classified face
// and connection point that gets none is noted as a failed item "CLASSIFICATIONINFO" of the
// part. SolidWorks failures leave as _com_error for the builder to handle.
void addPartMateReferences(swPartC& part, metaReaderC& reader, int mode);

// The mate references of the built assembly (its modelDoc and meta node); each classified
// face that gets none, and the connection points (not built in assemblies) together, are
// noted as failed items "CLASSIFICATIONINFO" of the assembly.
void addAssemblyMateReferences(swAssemblyC& assembly, metaReaderC& reader, int mode);

void noteMateReferenceFailure(const metaObjectVirtualDataBaseC& document, metaReaderC& reader,
                              const _com_error& error);

// A builder's mate-reference step: the mode from "CreateMateReferences", then `step`; a
// SolidWorks failure ends the mate references (not the build) and is noted as a failed item
// "CLASSIFICATIONINFO" of the document.
template <class Step>
void runMateReferenceStep(const metaObjectVirtualDataBaseC& document, metaReaderC& reader,
                          Step step) {
    try {
        step(mateReferenceMode(document, reader));
    } catch (const _com_error& error) {
        noteMateReferenceFailure(document, reader, error);
    }
}

// What a document's mate-reference step could not make.
struct swMateRefMissesS {
    std::vector<swUnreferencedPointS> points;
    std::vector<mzComStringC> faces; // one message each
};

// The same over any built document: `document` is the builder's own holder of the document
// pointer, `node` the document's meta node. Answers the classified faces and connection
// points that got no mate reference.
swMateRefMissesS addDocumentMateReferences(IModelDoc2Ptr& document, metaTreePtrT node, int mode);
