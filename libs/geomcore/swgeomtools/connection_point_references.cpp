#include "libs/geomcore/swgeomtools/connection_point_references.h"

#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swgeomtools/document_bodies.h"
#include "libs/geomcore/swgeomtools/sketch_construction.h"

#include <cmath>
#include <optional>

namespace {

// How far the connection point may lie from a rim's centre.
constexpr double inPlaneTolerance = 1e-4;
constexpr double degenerateLength = 1e-10;
constexpr double defaultSize = 0.01;
constexpr double radiusFactor = 0.75;

using vec3 = vectorC3d<double>;

vec3 row(const double transform[16], int first) {
    return {transform[first], transform[first + 1], transform[first + 2]};
}

bool isSurface(IFace2* face, bool acceptCone, bool wantPlane) {
    ISurfacePtr surface = requireInterfaceOf<ISurface>(faceGetSurface(face));
    if (wantPlane)
        return surfaceIsPlane(surface) != VARIANT_FALSE;
    return surfaceIsCylinder(surface) != VARIANT_FALSE ||
           (acceptCone && surfaceIsCone(surface) != VARIANT_FALSE);
}

// A circular edge between a cylinder (or an accepted cone) and a plane.
bool qualifies(const swMateRefContextS& context, IEdge* edge) {
    const std::vector<IDispatchPtr> faces = readObjectArray(edgeGetTwoFaces(edge));
    if (faces.size() != 2)
        return false; // a seam or a border answers one face
    IFace2Ptr a = requireInterfaceOf<IFace2>(faces[0]);
    IFace2Ptr b = requireInterfaceOf<IFace2>(faces[1]);
    const bool cone = context.acceptCone;
    return (isSurface(a, cone, false) && isSurface(b, cone, true)) ||
           (isSurface(a, cone, true) && isSurface(b, cone, false));
}

// The connection point in model space; none when the part has no feature of that name
// whose sketch holds a point (the classification names a connection point not built).
std::optional<vec3> connectionPoint(IPartDoc* part, const _bstr_t& name) {
    const IFeaturePtr feature(partDocFeatureByName(part, name));
    if (!feature)
        return std::nullopt;
    ISketchPtr sketch;
    sketchPtrFromVariant(sketch, featureGetSpecificFeature(feature));
    if (!sketch)
        return std::nullopt;
    const _variant_t points = sketchGetPoints(sketch);
    if (!variantHoldsArray(points))
        return std::nullopt;
    const std::vector<IDispatchPtr> list = readObjectArray(points);
    if (list.empty())
        return std::nullopt;
    ISketchPointPtr point = requireInterfaceOf<ISketchPoint>(list[0]);
    // A sketch point answers sketch coordinates; the circles are in model space.
    const vec3 local{sketchPointGetX(point), sketchPointGetY(point), sketchPointGetZ(point)};
    return transformPoint(local, invertRigidTransform(sketchTransformMatrix(sketch)));
}

// Half the distance of a box corner from the plane, on the side the axis flag chooses.
double helperDepth(double below, double above, bool axisFlag) {
    double d = 0.0;
    if (!axisFlag) {
        if (below > 0.0)
            d = below / 2.0;
        else if (above > 0.0)
            d = above / 2.0;
    } else {
        if (below < 0.0)
            d = std::fabs(below) / 2.0;
        else if (above < 0.0)
            d = std::fabs(above) / 2.0;
    }
    return d < degenerateLength ? defaultSize : d;
}

double helperSize(const vec3& low, const vec3& high, const vec3& x, const vec3& y) {
    for (const double s : {std::fabs(low.dot(x)), std::fabs(low.dot(y)), std::fabs(high.dot(x)),
                           std::fabs(high.dot(y))})
        if (!(s < degenerateLength))
            return s;
    return defaultSize;
}

void noteUnreferenced(swMateRefContextS& context, const _bstr_t& name, const mzComStringC& reason) {
    context.unreferencedPoints.push_back({mzComStringC(static_cast<const char*>(name)), reason});
}

} // namespace

int addConnPointEdgeMateReference(swMateRefContextS& context, const _bstr_t& name) {
    NATLINK_TRACE_FRAME_C("addConnPointEdgeMateReference");
    // Only a part's own bodies are searched; an assembly goes on to the helper body.
    if (context.documentType() != 1)
        return 0;
    IPartDocPtr part = requireInterfaceOf<IPartDoc>(context.doc());
    const std::optional<vec3> found = connectionPoint(part, name);
    if (!found) {
        noteUnreferenced(context, name, "the part has no such connection point");
        return -1;
    }
    const vec3 p = *found;

    // Shown solids only: a hidden helper body of another connection point is no rim.
    std::vector<IDispatchPtr> bodies;
    collectDocumentBodies(context, bodies, 0, -1);
    for (const IDispatchPtr& element : bodies) {
        IBodyPtr body = requireInterfaceOf<IBody>(element);
        for (IFace2Ptr face(bodyGetFirstFace(body)); face;
             face = IFace2Ptr(faceGetNextFace(face))) {
            for (const IDispatchPtr& edgeObject : readObjectArray(faceGetEdges(face))) {
                IEdgePtr edge = requireInterfaceOf<IEdge>(edgeObject);
                ICurvePtr curve = requireInterfaceOf<ICurve>(edgeGetCurve(edge));
                if (curveIsCircle(curve) == VARIANT_FALSE)
                    continue;
                const std::vector<double> circle = readDoubleArray(curveGetCircleParams(curve), 6);
                // The point must be the circle's centre (so also in its plane): a rim
                // elsewhere in that plane belongs to another feature.
                const vec3 offset = p - vec3{circle[0], circle[1], circle[2]};
                if (!(std::sqrt(offset.dot(offset)) < inPlaneTolerance))
                    continue;
                if (!qualifies(context, edge))
                    continue;
                insertEntityMateReference(modelDocGetFeatureManager(context.doc()), name,
                                          requireInterfaceOf<IEntity>(edge));
                nameEdgeMateRefHelpers(context, name, edge);
                return 1;
            }
        }
    }
    return 0;
}

int addConnPointHelperBodyReference(swMateRefContextS& context, const _bstr_t& name,
                                    const double transform[16], bool axisFlag) {
    NATLINK_TRACE_FRAME_C("addConnPointHelperBodyReference");
    IModelDoc2* doc = context.doc();
    _variant_t boxAnswer;
    switch (modelDocGetType(doc)) {
    case 1:
        boxAnswer = partDocGetBox(requireInterfaceOf<IPartDoc>(doc), -1);
        break;
    case 2:
        boxAnswer = asmDocGetBox(requireInterfaceOf<IAssemblyDoc>(doc), 0);
        break;
    default:
        return 0;
    }
    const std::vector<double> box = readDoubleArray(boxAnswer, 6);
    const vec3 x = row(transform, 0);
    const vec3 y = row(transform, 4);
    const vec3 z = row(transform, 8);
    const vec3 origin = row(transform, 12);
    const vec3 low = vec3{box[0], box[1], box[2]} - origin;
    const vec3 high = vec3{box[3], box[4], box[5]} - origin;
    const double depth = helperDepth(low.dot(z), high.dot(z), axisFlag);
    const double size = helperSize(low, high, x, y);

    IFeatureManagerPtr manager = modelDocGetFeatureManager(doc);
    IDocExtensionPtr extension = modelDocGetExtension(doc);
    const std::string plane = std::string(static_cast<const char*>(name)) + " XY";
    // Without the connection point's plane there is nothing to sketch on: the sketch that
    // would be found next is another one, which must not be extruded.
    if (docExtSelectById(extension, _bstr_t(plane.c_str()), "PLANE", 0, 0, 0, VARIANT_FALSE, 0,
                         nullptr) == VARIANT_FALSE) {
        noteUnreferenced(context, name, mzComStringC("no plane \"") + plane.c_str() + "\"");
        return 0;
    }
    const IDispatchPtr before = docExtGetNewestFeature(extension);
    modelDocSketchToggle(doc, VARIANT_TRUE);
    const IDispatchPtr circle = modelDocSketchCircle(doc, 0, 0, 0, radiusFactor * size);
    modelDocSketchToggle(doc, VARIANT_TRUE);
    const IDispatchPtr newest = docExtGetNewestFeature(extension);
    if (!circle || !newest || newest.GetInterfacePtr() == before.GetInterfacePtr()) {
        noteUnreferenced(context, name,
                         mzComStringC("no helper sketch on \"") + plane.c_str() + "\"");
        return 0;
    }
    IFeaturePtr sketchFeature = requireInterfaceOf<IFeature>(newest);
    ISketchPtr sketch = requireInterfaceOf<ISketch>(featureGetSpecificObject(sketchFeature));
    const matrixC4x4<double> inverse = invertRigidTransform(sketchTransformMatrix(sketch));
    const double sketchOrigin[3] = {inverse[12], inverse[13], inverse[14]};

    docExtSelectById(extension, featureGetName(sketchFeature), "SKETCH", 0, 0, 0, VARIANT_FALSE, 0,
                     nullptr);
    const VARIANT_BOOL f = VARIANT_FALSE;
    IFeaturePtr helper =
        featureCreateExtrusion(manager, VARIANT_TRUE, f, axisFlag ? VARIANT_TRUE : VARIANT_FALSE, 0,
                               0, depth, 0, f, f, f, f, 0, 0, f, f, f, f, f, f, VARIANT_TRUE);
    IFeaturePtr face;
    helperBodyFeatures(context, sketchOrigin, helper, face);
    featureCallSlot17(requireInterfaceOf<IFeature>(helper), 1, -1);
    featureCallSlot17(requireInterfaceOf<IFeature>(face), 1, -1);

    addFeatureFaceMateReference(context, helper, name);

    IFeaturePtr feature(modelDocCallSlot280(doc));
    for (; feature; feature = IFeaturePtr(featureGetNext(feature))) {
        if (featureGetTypeName(feature) == _bstr_t("SurfaceBodyFolder")) {
            featureCallSlot17(feature, 1, -1);
            break;
        }
    }
    return 0;
}
