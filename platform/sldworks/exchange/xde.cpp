// STEP with face colours through an XDE document: a module apart from the STEP, IGES and STL
// one, since the XDE toolkits load OpenCASCADE's visualisation and with it X11, fontconfig and
// the image libraries, which only a coloured copy needs (see README.md).
#include "platform/sldworks/exchange/exchange_api.h"
#include "platform/sldworks/exchange/quiet_messages.h"

#include <IFSelect_ReturnStatus.hxx>
#include <Quantity_Color.hxx>
#include <STEPCAFControl_Writer.hxx>
#include <Standard_Failure.hxx>
#include <TDocStd_Document.hxx>
#include <XCAFApp_Application.hxx>
#include <XCAFDoc_ColorTool.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>

namespace swsim::exchange {
namespace {

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

const XdeApi kXdeApi{kApiVersion, writeColouredStep};

} // namespace
} // namespace swsim::exchange

extern "C" __attribute__((visibility("default"))) const void* natlink_xde_api() {
    return &swsim::exchange::kXdeApi;
}
