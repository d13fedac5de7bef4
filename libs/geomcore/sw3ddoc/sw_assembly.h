// swAssemblyC: the assembly document object of a build. It views the ASSEMBLY node of the
// meta tree and holds the SolidWorks assembly being built; the steps that finish an assembly
// (attributes, mate references, levels of detail) read both.
#pragma once

#include "metamodel/m3d/document.h"
#include "platform/sldworks/api/sldworks_api.h"

class swAssemblyC : public m3dAsmC {
public:
    swAssemblyC() = default;
    explicit swAssemblyC(metaTreePtrT assemblyNode, bool owns = false)
        : m3dAsmC(assemblyNode, owns) {}
    swAssemblyC(const swAssemblyC&) = delete;
    swAssemblyC& operator=(const swAssemblyC&) = delete;

    IModelDoc2Ptr modelDoc;
};
