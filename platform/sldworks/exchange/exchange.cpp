// STEP and IGES through OpenCASCADE's data exchange toolkits, built as a module of its own so
// that only a process that writes or reads such a file loads them (see README.md).
#include "platform/sldworks/exchange/exchange_api.h"
#include "platform/sldworks/exchange/quiet_messages.h"

#include <IFSelect_ReturnStatus.hxx>
#include <IGESControl_Reader.hxx>
#include <STEPControl_Reader.hxx>
#include <STEPControl_Writer.hxx>
#include <Standard_Failure.hxx>
#include <Standard_OutOfMemory.hxx>

#include <new>

namespace swsim::exchange {
namespace {

std::string writeStep(const TopoDS_Shape& shape, const std::string& path) {
    try {
        QuietMessages quiet;
        STEPControl_Writer writer;
        if (writer.Transfer(shape, STEPControl_AsIs) != IFSelect_RetDone)
            return kNotStep;
        if (writer.Write(path.c_str()) != IFSelect_RetDone)
            return "export: cannot write " + path;
    } catch (const Standard_Failure& e) {
        return "export " + path + ": " + e.GetMessageString();
    }
    return {};
}

template <class ReaderT>
std::string readWith(const std::string& path, const char* format, TopoDS_Shape& shape) {
    ReaderT reader;
    if (reader.ReadFile(path.c_str()) != IFSelect_RetDone)
        return std::string("the ") + format + " reader cannot read the file";
    reader.TransferRoots();
    shape = reader.OneShape();
    return {};
}

std::string read(ImportFormat format, const std::string& path, TopoDS_Shape& shape) {
    try {
        return format == ImportFormat::Step ? readWith<STEPControl_Reader>(path, "STEP", shape)
                                            : readWith<IGESControl_Reader>(path, "IGES", shape);
    } catch (const Standard_OutOfMemory&) {
        throw std::bad_alloc();
    } catch (const Standard_Failure& e) {
        return std::string("OpenCASCADE failed: ") + e.GetMessageString();
    }
}

const Api kApi{kApiVersion, writeStep, read};

} // namespace
} // namespace swsim::exchange

extern "C" __attribute__((visibility("default"))) const void* natlink_exchange_api() {
    return &swsim::exchange::kApi;
}
