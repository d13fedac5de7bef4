#include "libs/geomcore/swgeomtools/face_search.h"

#include "libs/KvorCadComm/trace_frames.h"
#include "libs/geomcore/swapi/call_support.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swgeomtools/document_bodies.h"

#include <cmath>

namespace {

constexpr double planarNormalAgreement = 0.99999999;
constexpr double pointInPlane = 1e-6;
constexpr double raySelectionRadius = 1e-6;
constexpr double closestPointAgreement = 1e-8;
constexpr double normalRejection = 0.9999;
constexpr double edgePointAgreement = 1e-7;
constexpr long planarFaceCountLimit = 50;
constexpr long selectFaces = 2;

double dot(const vectorC3d<double>& a, const vectorC3d<double>& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The face's normal; the zero vector when the face gives none (a curved face).
vectorC3d<double> normalOf(IFace2* face) {
    const _variant_t normal = faceGetNormal(face);
    if (!variantHoldsArray(normal))
        return {};
    return {doubleArrayAt(normal, 0), doubleArrayAt(normal, 1), doubleArrayAt(normal, 2)};
}

vectorC3d<double> closestPointOf(IFace2* face, const double point[3]) {
    const _variant_t closest = faceGetClosestPoint(face, point[0], point[1], point[2]);
    return {doubleArrayAt(closest, 0), doubleArrayAt(closest, 1), doubleArrayAt(closest, 2)};
}

bool liesAt(const vectorC3d<double>& closest, const double point[3]) {
    return std::fabs(closest.x - point[0]) <= closestPointAgreement &&
           std::fabs(closest.y - point[1]) <= closestPointAgreement &&
           std::fabs(closest.z - point[2]) <= closestPointAgreement;
}

// The kind filter: any face for 0, otherwise the first set bit whose test answers TRUE.
bool passesKinds(IFace2* face, int kinds) {
    if (kinds == 0)
        return true;
    ISurfacePtr surface = requireInterfaceOf<ISurface>(faceGetSurface(face));
    if ((kinds & faceKindPlane) != 0 && surfaceIsPlane(surface) != VARIANT_FALSE)
        return true;
    if ((kinds & faceKindCylinder) != 0 && surfaceIsCylinder(surface) != VARIANT_FALSE)
        return true;
    if ((kinds & faceKindCone) != 0 && surfaceIsCone(surface) != VARIANT_FALSE)
        return true;
    return (kinds & faceKindOffset) != 0 && surfaceIsOffset(surface) != VARIANT_FALSE;
}

std::vector<IDispatchPtr> bodiesOf(IModelDoc2* doc, long kind) {
    IPartDocPtr part = requireInterfaceOf<IPartDoc>(swapiRequired(doc));
    return readObjectArray(partDocGetBodies(part, kind));
}

// A part's bodies, or an assembly's components' bodies in assembly space.
std::vector<IDispatchPtr> documentBodiesOf(IModelDoc2* doc, long kind) {
    if (modelDocGetType(swapiRequired(doc)) != 2)
        return bodiesOf(doc, kind);
    std::vector<IDispatchPtr> bodies;
    collectDocumentBodies(doc, bodies, static_cast<int>(kind), 0);
    return bodies;
}

} // namespace

int getPlanarFaceFromPointAndNormal(IModelDoc2Ptr& doc, const vectorC3d<double>& point,
                                    const vectorC3d<double>& normal, IFace2Ptr& face) {
    NATLINK_TRACE_FRAME_C("getPlanarFaceFromPointAndNormal");
    // The caller's pointer must not come back as if it had been found.
    face = nullptr;
    for (const IDispatchPtr& element : bodiesOf(doc, 0)) {
        IBodyPtr body = requireInterfaceOf<IBody>(element);
        if (bodyGetFaceCount(body) > planarFaceCountLimit)
            return 0;
        for (face = IFace2Ptr(bodyGetFirstFace(body)); face;
             face = IFace2Ptr(faceGetNextFace(face))) {
            ISurfacePtr surface = requireInterfaceOf<ISurface>(faceGetSurface(face));
            if (surfaceIsPlane(surface) == VARIANT_FALSE)
                continue;
            const vectorC3d<double> n = normalOf(face);
            if (!(dot(n, normal) > planarNormalAgreement))
                continue;
            const _variant_t plane = surfaceGetPlaneData(surface);
            const vectorC3d<double> root{doubleArrayAt(plane, 3), doubleArrayAt(plane, 4),
                                         doubleArrayAt(plane, 5)};
            const double distance = dot(point - root, n);
            if (!(std::fabs(distance) < pointInPlane))
                continue;
            const vectorC3d<double> projected = point - n * distance;
            if (variantHoldsArray(
                    surfaceQueryPoint(surface, projected.x, projected.y, projected.z)))
                return 1;
        }
    }
    face = nullptr;
    return 0;
}

int getFaceFromPoint(const double point[3], const double direction[3], IModelDoc2Ptr doc, int kinds,
                     int bodyKind, IFace2Ptr& face) {
    face = nullptr;
    const vectorC3d<double> along{direction[0], direction[1], direction[2]};
    ISelectionManagerPtr selection = modelDocGetSelectionManager(doc);
    const IDispatchPtr selectionData = selMgrCreateSelectionData(selection);
    modelDocClearSelection(doc);
    if (modelDocSelectByRay(doc, point[0], point[1], point[2], direction[0], direction[1],
                            direction[2], raySelectionRadius, selectFaces) != VARIANT_FALSE) {
        IFace2Ptr hit = requireInterfaceOf<IFace2>(selMgrGetSelectedObject(selection, 1));
        if (passesKinds(hit, kinds)) {
            const vectorC3d<double> n = normalOf(hit);
            if (liesAt(closestPointOf(hit, point), point) && dot(n, along) < normalRejection) {
                face = hit;
                return 1;
            }
        }
    }
    for (const IDispatchPtr& element : documentBodiesOf(doc, bodyKind)) {
        IBodyPtr body = requireInterfaceOf<IBody>(element);
        for (IFace2Ptr current(bodyGetFirstFace(body)); current;
             current = IFace2Ptr(faceGetNextFace(current))) {
            if (!passesKinds(current, kinds))
                continue;
            if (!liesAt(closestPointOf(current, point), point))
                continue;
            if (dot(normalOf(current), along) < normalRejection) {
                face = current;
                return 1;
            }
        }
    }
    return 0;
}

double edgeDistanceToPoint(IEdge* edge, const double point[3]) {
    const std::vector<double> closest =
        readDoubleArray(edgeGetClosestPoint(edge, point[0], point[1], point[2]), 3);
    const double dx = closest[0] - point[0];
    const double dy = closest[1] - point[1];
    const double dz = closest[2] - point[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

IEdgePtr getBodyEntityFromPoint(IModelDoc2Ptr doc, const double point[3]) {
    if (modelDocGetType(doc) != 1)
        return nullptr;
    IPartDocPtr part = requireInterfaceOf<IPartDoc>(doc);
    for (const IDispatchPtr& element : readObjectArray(partDocListBodies(part, 0, 0))) {
        IBodyPtr body = requireInterfaceOf<IBody>(element);
        for (const IDispatchPtr& edgeObject : readObjectArray(bodyGetEdges(body))) {
            try {
                IEdgePtr edge = requireInterfaceOf<IEdge>(edgeObject);
                if (edgeDistanceToPoint(edge, point) < edgePointAgreement)
                    return edge;
            } catch (const _com_error&) {
                // This edge cannot be examined; the next one may still be the one.
            }
        }
    }
    return nullptr;
}
