#include "libs/geomcore/buildsw3d/annotation_face_colours.h"

#include "libs/KvorCadComm/trace_frames.h"
#include "libs/geomcore/buildsw3d/build_helpers.h"
#include "libs/geomcore/swapi/swapi.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double onFaceTolerance = 1e-6;

} // namespace

namespace {

bool liesOn(IFace2* face, const vectorC3d<double>& p) {
    const std::vector<double> q = readDoubleArray(faceGetClosestPoint(face, p.x, p.y, p.z), 3);
    const double d = std::sqrt((q[0] - p.x) * (q[0] - p.x) + (q[1] - p.y) * (q[1] - p.y) +
                               (q[2] - p.z) * (q[2] - p.z));
    return d < onFaceTolerance;
}

} // namespace

void findAnnotationSetFaces(swPartC& part, std::vector<vectorC3d<double>>& points,
                            std::vector<_variant_t>& colours, std::vector<bool>* onColouredFace) {
    NATLINK_TRACE_FRAME_C("findAnnotationSetFaces");
    if (onColouredFace != nullptr)
        onColouredFace->clear();
    if (points.empty())
        return;
    IPartDocPtr partDoc = requireInterfaceOf<IPartDoc>(part.modelDoc);
    // No bodies: no face to colour (an empty answer, not a failure).
    const std::vector<IDispatchPtr> bodies = readObjectArray(partDocGetBodies(partDoc, 0));
    std::vector<_com_ptr_t<IUnknown>> found;
    for (const IDispatchPtr& element : bodies) {
        IBodyPtr body = requireInterfaceOf<IBody>(element);
        for (IFace2Ptr face(bodyGetFirstFace(body)); face && !points.empty();
             face = IFace2Ptr(faceGetNextFace(face))) {
            const _com_ptr_t<IUnknown> identity(face);
            if (std::find(found.begin(), found.end(), identity) != found.end())
                continue;
            for (std::size_t i = 0; i < points.size(); ++i) {
                if (!liesOn(face, points[i]))
                    continue;
                faceSetColorValues(face, colours[i]);
                found.push_back(identity);
                vector3ArrayRemoveAt(points, static_cast<int>(i));
                variantArrayRemoveAt(colours, static_cast<int>(i));
                break;
            }
        }
        if (points.empty())
            break;
    }
    if (onColouredFace == nullptr)
        return;
    // Why each point is left: on a face that took an earlier point's colour, or on none.
    for (const vectorC3d<double>& p : points) {
        bool taken = false;
        for (std::size_t k = 0; k < found.size() && !taken; ++k)
            taken = liesOn(IFace2Ptr(found[k]), p);
        onColouredFace->push_back(taken);
    }
}
