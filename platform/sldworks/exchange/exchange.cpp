// STEP, IGES and STL through OpenCASCADE's data exchange toolkits, built as a module of its
// own so that only a process that writes or reads such a file loads them (see README.md).
#include "platform/sldworks/exchange/exchange_api.h"

#include <IFSelect_ReturnStatus.hxx>
#include <IGESControl_Reader.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Quantity_Color.hxx>
#include <STEPCAFControl_Writer.hxx>
#include <STEPControl_Reader.hxx>
#include <STEPControl_Writer.hxx>
#include <Standard_Failure.hxx>
#include <StlAPI_Writer.hxx>
#include <TDocStd_Document.hxx>
#include <XCAFApp_Application.hxx>
#include <XCAFDoc_ColorTool.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>

namespace swsim::exchange {
namespace {

// Silences OpenCASCADE's translation reports for the lifetime of the object.
class QuietMessages {
public:
    QuietMessages() : saved_(Message::DefaultMessenger()->Printers()) {
        Message::DefaultMessenger()->ChangePrinters().Clear();
    }
    ~QuietMessages() { Message::DefaultMessenger()->ChangePrinters() = saved_; }
    QuietMessages(const QuietMessages&) = delete;
    QuietMessages& operator=(const QuietMessages&) = delete;

private:
    Message_SequenceOfPrinters saved_;
};

const std::string kNotStep = "export: the model cannot be converted to STEP";

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

std::string writeColouredStep(const TopoDS_Shape& shape, const std::vector<ColouredFace>& colours,
                              const std::string& path) {
    const Handle(XCAFApp_Application) app = XCAFApp_Application::GetApplication();
    Handle(TDocStd_Document) doc;
    app->NewDocument("MDTV-XCAF", doc);
    std::string error;
    try {
        QuietMessages quiet;
        const Handle(XCAFDoc_ShapeTool) shapes = XCAFDoc_DocumentTool::ShapeTool(doc->Main());
        const Handle(XCAFDoc_ColorTool) colourTool = XCAFDoc_DocumentTool::ColorTool(doc->Main());
        const TDF_Label root = shapes->AddShape(shape, false);
        for (const auto& [face, rgb] : colours) {
            const TDF_Label label = shapes->AddSubShape(root, face);
            if (!label.IsNull())
                colourTool->SetColor(label,
                                     Quantity_Color(rgb[0], rgb[1], rgb[2], Quantity_TOC_sRGB),
                                     XCAFDoc_ColorSurf);
        }
        STEPCAFControl_Writer writer;
        writer.SetColorMode(true);
        if (!writer.Transfer(doc, STEPControl_AsIs))
            error = kNotStep;
        else if (writer.Write(path.c_str()) != IFSelect_RetDone)
            error = "export: cannot write " + path;
    } catch (const Standard_Failure& e) {
        error = "export " + path + ": " + e.GetMessageString();
    } catch (...) {
        app->Close(doc);
        throw;
    }
    app->Close(doc);
    return error;
}

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

template <class ReaderT>
std::string readWith(const std::string& path, const char* format, TopoDS_Shape& shape) {
    ReaderT reader;
    if (reader.ReadFile(path.c_str()) != IFSelect_RetDone)
        return std::string("import: cannot read ") + format + " file " + path;
    reader.TransferRoots();
    shape = reader.OneShape();
    return {};
}

std::string read(ImportFormat format, const std::string& path, TopoDS_Shape& shape) {
    try {
        return format == ImportFormat::Step ? readWith<STEPControl_Reader>(path, "STEP", shape)
                                            : readWith<IGESControl_Reader>(path, "IGES", shape);
    } catch (const Standard_Failure& e) {
        return "import: " + path + ": " + e.GetMessageString();
    }
}

const Api kApi{kApiVersion, writeStep, writeColouredStep, writeStl, read};

} // namespace
} // namespace swsim::exchange

extern "C" __attribute__((visibility("default"))) const swsim::exchange::Api*
natlink_exchange_api() {
    return &swsim::exchange::kApi;
}
