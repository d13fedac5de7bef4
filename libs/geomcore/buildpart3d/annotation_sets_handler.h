// The ANNOTATIONSETS handler of the part build: face colours. A face annotation whose FACD
// class instance has the CLASSID "sys_faceattributecolor" colours the face at its POINT3D
// with its "COLOR" property ("R,G,B", each 0 to 255). The colours are kept by point and
// handed to findAnnotationSetFaces once the part's bodies are built; a colour that cannot be
// read or whose point lies on no face is noted as a failed item. Thread annotations are
// built with their features, classified faces by the mate references.
#pragma once

#include "libs/KvorMetaApi/metaread/reader.h"

class swMeta3dAnnotationSetsC : public metaComC {
public:
    swMeta3dAnnotationSetsC() : metaComC("ANNOTATIONSETS") {}
    // data: the swPartC being built. Answers the number of faces coloured.
    int execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) override;
};
