// STL through OpenCASCADE's STL writer, as a module of its own: the check-in's previews write
// STL, and need not load the STEP and IGES toolkits for it (see README.md).
#include "platform/sldworks/exchange/exchange_api.h"

#include <Standard_Failure.hxx>
#include <StlAPI_Writer.hxx>

namespace swsim::exchange {
namespace {

std::string writeStl(const TopoDS_Shape& meshed, const std::string& path, bool ascii) {
    try {
        StlAPI_Writer writer;
        writer.ASCIIMode() = ascii;
        if (!writer.Write(meshed, path.c_str()))
            return "export: cannot write " + path;
    } catch (const Standard_Failure& e) {
        return "export " + path + ": " + e.GetMessageString();
    }
    return {};
}

const StlApi kStlApi{kApiVersion, writeStl};

} // namespace
} // namespace swsim::exchange

extern "C" __attribute__((visibility("default"))) const void* natlink_stl_api() {
    return &swsim::exchange::kStlApi;
}
