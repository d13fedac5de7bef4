// The tables of functions the exchange modules hand to the model that opens them:
// libnatlink_exchange.so (STEP, IGES), libnatlink_stl.so (STL) and libnatlink_xde.so (STEP with
// face colours, whose XDE toolkits load OpenCASCADE's visualisation and with it X11 and the image
// libraries). Shapes cross as OpenCASCADE objects: the module and the program share one copy of
// every OpenCASCADE library (and of the C++ library). No OpenCASCADE failure crosses: each function
// returns an empty string on success, else the whole message of the failure, which the caller
// raises or records.
#pragma once

#include <TopoDS_Shape.hxx>

#include <string>
#include <utility>
#include <vector>

namespace swsim::exchange {

// Raised whenever a table changes, so that a module left over from another build is refused.
inline constexpr int kApiVersion = 2;

// A face and its colour (red, green, blue in 0..1, taken as sRGB).
struct ColouredFace {
    TopoDS_Shape face;
    double rgb[3];
};

enum class ImportFormat { Step, Iges };

struct Api {
    int version;
    std::string (*writeStep)(const TopoDS_Shape& shape, const std::string& path);
    // All roots of the file transferred into one shape (null when the file holds none); a
    // failure is told without the path, which the caller names. Running out of memory raises
    // std::bad_alloc, so that the caller can tell it from a file the reader refuses.
    std::string (*read)(ImportFormat format, const std::string& path, TopoDS_Shape& shape);
};

struct StlApi {
    int version;
    // The shape must already be tessellated.
    std::string (*writeStl)(const TopoDS_Shape& meshed, const std::string& path, bool ascii);
};

struct XdeApi {
    int version;
    // The faces' colours go through an XDE document as surface colours.
    std::string (*writeColouredStep)(const TopoDS_Shape& shape,
                                     const std::vector<ColouredFace>& colours,
                                     const std::string& path);
};

} // namespace swsim::exchange

// The one exported symbol of each module: its table (an Api, a StlApi, an XdeApi). All have
// the same type, so that the loader calls each through the one type it has.
extern "C" const void* natlink_exchange_api();
extern "C" const void* natlink_stl_api();
extern "C" const void* natlink_xde_api();
