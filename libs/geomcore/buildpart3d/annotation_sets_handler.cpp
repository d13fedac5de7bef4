#include "libs/geomcore/buildpart3d/annotation_sets_handler.h"

#include "libs/KvorCadComm/meta_tree_helpers.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildsw3d/annotation_face_colours.h"
#include "libs/geomcore/buildsw3d/build_helpers.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/swapi/swapi.h"
#include "metamodel/core/classinstance.h"
#include "metamodel/m3d/annotations.h"
#include "metamodel/m3d/viewhelpers.h"

#include <array>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

constexpr const char* colourClass = "sys_faceattributecolor";

mzComStringC pointText(const vectorC3d<double>& p) {
    return mzComStringC("(") + mzComStringC::number(p.x, 'g', 10) + ", " +
           mzComStringC::number(p.y, 'g', 10) + ", " + mzComStringC::number(p.z, 'g', 10) + ")";
}

// "R,G,B" (or separated by blanks), each a number from 0 to 255; empty when it is none.
std::optional<std::array<double, 3>> readColour(const std::string& text) {
    std::array<double, 3> rgb{};
    const char* at = text.c_str();
    for (int i = 0; i < 3; ++i) {
        while (*at == ' ' || *at == ',' || *at == '\t')
            ++at;
        char* end = nullptr;
        const double value = std::strtod(at, &end);
        if (end == at || !(value >= 0.0 && value <= 255.0))
            return std::nullopt;
        rgb[static_cast<std::size_t>(i)] = value / 255.0;
        at = end;
    }
    while (*at == ' ' || *at == '\t')
        ++at;
    if (*at != '\0')
        return std::nullopt;
    return rgb;
}

// The colour values a face takes: red, green, blue (0 to 1), then ambient, diffuse,
// specular, shininess, transparency and emission.
_variant_t colourValues(const std::array<double, 3>& rgb) {
    return makeDoubleArray({rgb[0], rgb[1], rgb[2], 1.0, 1.0, 0.5, 0.4, 0.0, 0.0});
}

struct colourRequestS {
    std::vector<vectorC3d<double>> points;
    std::vector<_variant_t> colours;
};

// Reads one face annotation; false when it is no colour annotation at all.
bool readColourAnnotation(const m3dAnnotationFaceC& annotation, colourRequestS& request,
                          std::vector<mzComStringC>& problems) {
    const mzComStringC facd = annotation.getFacd();
    if (facd.isEmpty())
        return false;
    metaObjectC parsed;
    if (!parsed.ctorFromText(facd, "FACD"))
        return false; // not readable: not ours to judge (the mate references skip it too)
    const mRCClassInstanceC instance(parsed.getTreePtr());
    bool found = false;
    const mRCClassInstancePropertyC classId = instance.findProperty("CLASSID");
    if (!classId.isValid() ||
        !(mRCClassInstanceStringPropertyC(classId).getValue(&found) == colourClass))
        return false;
    const mRCClassInstancePropertyC colour = instance.findProperty("COLOR");
    const mzComStringC text = colour.isValid()
                                  ? mRCClassInstanceStringPropertyC(colour).getValue(&found)
                                  : mzComStringC();
    const std::optional<std::array<double, 3>> rgb = readColour(text.toUtf8());
    vectorC3d<double> point;
    if (!rgb) {
        problems.push_back(mzComStringC("Face colour \"") + text + "\" is no colour R,G,B");
        return true;
    }
    if (!getPoint3d(annotation, point)) {
        problems.push_back("A face colour has no POINT3D");
        return true;
    }
    vector3ArrayAppendZero(request.points) = point;
    request.colours.push_back(colourValues(*rgb));
    return true;
}

} // namespace

int swMeta3dAnnotationSetsC::execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) {
    NATLINK_TRACE_FRAME_C("swMeta3dAnnotationSetsC::execute");
    auto* part = static_cast<swPartC*>(data);
    swCreation3dS* creation = creationOf(reader);
    if (part == nullptr || creation == nullptr)
        return 0;
    const m3dAnnotationSetsC sets(getParentTreePtr(tagToken));
    colourRequestS request;
    std::vector<mzComStringC> problems;
    for (int i = 0, n = sets.count(); i < n; ++i) {
        const m3dAnnotationSetC set = sets.getSetAt(i);
        if (!(set.getTag() == m3dAnnotationSetFaceC::tagName()))
            continue;
        for (int k = 0, m = set.countAnnotations(); k < m; ++k)
            readColourAnnotation(m3dAnnotationFaceC(set.getAnnotationAt(k).getTreePtr()), request,
                                 problems);
    }
    const std::size_t wanted = request.points.size();
    std::vector<bool> onColouredFace;
    try {
        findAnnotationSetFaces(*part, request.points, request.colours, &onColouredFace);
    } catch (const _com_error& error) {
        problems.push_back(mzComStringC("Face colours could not be applied: ") +
                           error.ErrorMessage());
    }
    for (std::size_t i = 0; i < request.points.size(); ++i)
        problems.push_back(i < onColouredFace.size() && onColouredFace[i]
                               ? mzComStringC("The face at ") + pointText(request.points[i]) +
                                     " already has a colour"
                               : mzComStringC("No face at ") + pointText(request.points[i]) +
                                     " takes its colour");
    // The annotation sets are the part's: they are named by it.
    const mzComStringC partName = getNameAttr(*part);
    for (const mzComStringC& problem : problems) {
        NATLINK_LOG(mzLogLevelWarning, problem);
        creation->failedItems.push_back({"ANNOTATIONSETS", partName, problem});
    }
    return static_cast<int>(wanted - request.points.size());
}
