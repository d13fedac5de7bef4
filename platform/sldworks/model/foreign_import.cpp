// Foreign bodies of a PartDocument (addImportedBody). A STEP, IGES or BREP file is read in a
// child process under the import limits (child_process.h), so that a reader that crashes, hangs
// or runs out of memory on a hostile file fails the import and nothing else. The child also
// checks what it read, where a check that spins or crashes on hostile geometry is as harmless:
// the body is taken only when every number of its geometry is finite, it passes OpenCASCADE's
// check and its box lies in the model space. The child hands the body back as BREP text, which
// this process reads with the guarded reader.
#include "platform/sldworks/model/brep_text.h"
#include "platform/sldworks/model/child_process.h"
#include "platform/sldworks/model/file_io.h"
#include "platform/sldworks/model/import_limits.h"
#include "platform/sldworks/model/modules.h"
#include "platform/sldworks/model/part_impl.h"

#include <BRepCheck_Analyzer.hxx>
#include <BRepTools.hxx>
#include <Standard_Failure.hxx>
#include <Standard_OutOfMemory.hxx>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <new>

namespace swsim {
namespace {

ImportLimits limitsNow = kImportLimits;

constexpr std::size_t kLongestReason = 1000;

enum class Format { Step, Iges, Brep, Unknown };

Format formatOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return Format::Unknown;
    std::string ext;
    for (const char c : path.substr(dot + 1))
        ext += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "step" || ext == "stp")
        return Format::Step;
    if (ext == "igs" || ext == "iges")
        return Format::Iges;
    if (ext == "brep" || ext == "brp")
        return Format::Brep;
    return Format::Unknown;
}

const char* formatName(Format format) {
    return format == Format::Step ? "STEP" : format == Format::Iges ? "IGES" : "BREP";
}

// In the child: the file read into a shape; why not, when it cannot be.
std::string readForeign(Format format, const std::string& path, TopoDS_Shape& shape) {
    if (format != Format::Brep)
        return detail::exchangeModule("import").read(
            format == Format::Step ? exchange::ImportFormat::Step : exchange::ImportFormat::Iges,
            path, shape);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "the file cannot be opened";
    shape = detail::readBrep(in);
    return shape.IsNull() ? "the BREP reader cannot read the file" : "";
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// In the child: why the body cannot be taken (empty when it can); `brep` gets its text.
std::string refusalOf(TopoDS_Shape& shape, std::string& brep) {
    if (shape.IsNull())
        return "the file holds no geometry";
    // A mesh the file brings along is not taken: the session meshes its bodies itself.
    BRepTools::Clean(shape);
    brep = detail::brepText(shape);
    // First, since OpenCASCADE's check and box spin on such numbers.
    if (const std::string bad = detail::nonFiniteNumberIn(brep); !bad.empty())
        return "its geometry holds the number " + detail::printable(bad) + ", which is not finite";
    if (!BRepCheck_Analyzer(shape).IsValid())
        return "its shape fails OpenCASCADE's check";
    const Box box = detail::shapeBox(shape);
    if (box.empty)
        return "the file holds no geometry";
    if (!inModelSpace(box.min) || !inModelSpace(box.max)) {
        double reach = 0.0;
        for (const Vec3 corner : {box.min, box.max})
            reach = std::max({reach, std::abs(corner.x), std::abs(corner.y), std::abs(corner.z)});
        return "it reaches " + number(reach) + " from the origin, beyond the model space (" +
               number(kModelSpace) + ")";
    }
    return {};
}

// The child's work: the body's BREP text on `output`, else the reason it is refused.
int readInChild(int output, Format format, const std::string& path) {
    TopoDS_Shape shape;
    std::string brep;
    std::string refusal;
    try {
        refusal = readForeign(format, path, shape);
        if (refusal.empty())
            refusal = refusalOf(shape, brep);
    } catch (const Standard_OutOfMemory&) {
        throw std::bad_alloc();
    } catch (const Standard_Failure& e) {
        refusal = std::string("OpenCASCADE failed: ") + e.GetMessageString();
    } catch (const ModelError& e) {
        refusal = e.what();
    }
    if (!refusal.empty()) {
        detail::writeAll(output, refusal);
        return detail::kChildRefused;
    }
    return detail::writeAll(output, brep) ? detail::kChildDone : detail::kChildRefused;
}

} // namespace

ImportLimits importLimits() {
    return limitsNow;
}

void setImportLimits(const ImportLimits& limits) {
    limitsNow = limits;
}

SolidFeaturePtr PartDocument::addImportedBody(const std::string& path, std::string* report) {
    const std::string name = path.substr(path.find_last_of('/') + 1);
    const auto refuse = [&](const std::string& why) {
        lastError_ = "import of " + name + ": " + why;
        return nullptr;
    };
    const Format format = formatOf(path);
    if (format == Format::Unknown)
        return refuse("the file is none of STEP (.step, .stp), IGES (.igs, .iges) and BREP "
                      "(.brep, .brp)");
    try {
        // Opened here, so that every child finds it loaded.
        if (format != Format::Brep)
            detail::exchangeModule("import");
    } catch (const ModelError& e) {
        lastError_ = e.what();
        return nullptr;
    }
    const ImportLimits limits = importLimits();
    const detail::ChildOutcome outcome =
        detail::runInChild([&](int output) { return readInChild(output, format, path); },
                           {limits.seconds, limits.memoryBytes});
    if (report != nullptr)
        *report = outcome.report;
    // The reason may quote the hostile file (OpenCASCADE's messages do): no byte of it reaches
    // a terminal or a log as it is.
    if (outcome.refused)
        return refuse(outcome.output.empty()
                          ? "the reader gave no reason"
                          : detail::printable(outcome.output.substr(0, kLongestReason)));
    if (!outcome.done)
        return refuse(std::string("the ") + formatName(format) + " reader " + outcome.failure);
    TopoDS_Shape shape;
    if (detail::nonFiniteNumberIn(outcome.output).empty())
        shape = detail::shapeOfBrepText(outcome.output);
    if (shape.IsNull())
        return refuse("the shape the reader made cannot be read back");

    auto feature = std::make_shared<SolidFeature>(FeatureKind::ImportedBody, "BaseBody",
                                                  SolidFeature::Operation::NewBody);
    feature->tool_ = detail::makeRef(shape);
    if (!addSolidFeature(feature, "Imported", "import"))
        return nullptr;
    return feature;
}

} // namespace swsim
