#include "libs/geomcore/swgeomtools/document_bodies.h"

#include "libs/KvorCadComm/trace_frames.h"
#include "libs/geomcore/swapi/swapi.h"

#include <cmath>

namespace {

constexpr double throughPointTolerance = 1e-8;

void appendAll(std::vector<IDispatchPtr>& bodies, const _variant_t& answer) {
    for (const IDispatchPtr& body : readObjectArray(answer))
        bodies.push_back(body);
}

} // namespace

int collectDocumentBodies(const swMateRefContextS& context, std::vector<IDispatchPtr>& bodies,
                          int kind, short flag) {
    return collectDocumentBodies(context.doc(), bodies, kind, flag);
}

int collectDocumentBodies(IModelDoc2* doc, std::vector<IDispatchPtr>& bodies, int kind,
                          short flag) {
    NATLINK_TRACE_FRAME_C("collectDocumentBodies");
    switch (modelDocGetType(doc)) {
    case 1: {
        IPartDocPtr part = requireInterfaceOf<IPartDoc>(doc);
        const _variant_t answer = partDocListBodies(part, kind, flag);
        bodies.clear();
        appendAll(bodies, answer);
        return static_cast<int>(bodies.size());
    }
    case 2: {
        IConfigurationPtr configuration =
            requireInterfaceOf<IConfiguration>(modelDocGetActiveConfiguration(doc));
        IComponentPtr root = requireInterfaceOf<IComponent>(configGetRootComponent(configuration));
        // An assembly without components, or one whose answers are empty, has no bodies:
        // that is a count of what the caller holds, not a failure.
        for (const IDispatchPtr& child : readObjectArray(componentGetChildren(root))) {
            IComponentPtr component = requireInterfaceOf<IComponent>(child);
            appendAll(bodies, componentGetBodies(component, kind));
        }
        return static_cast<int>(bodies.size());
    }
    default:
        return 0;
    }
}

void helperBodyFeatures(const swMateRefContextS& context, const double point[3],
                        IFeature* helperFeature, IFeaturePtr& created) {
    NATLINK_TRACE_FRAME_C("helperBodyFeatures");
    if (helperFeature == nullptr)
        _com_issue_errorex(E_POINTER, nullptr, uuidOf<IFeature>());
    IFace2Ptr picked;
    for (const IDispatchPtr& element : readObjectArray(featureGetFaces(helperFeature))) {
        IFace2Ptr face = requireInterfaceOf<IFace2>(element);
        ISurfacePtr surface = requireInterfaceOf<ISurface>(faceGetSurface(face));
        if (surfaceIsPlane(surface) == VARIANT_FALSE)
            continue;
        const std::vector<double> q =
            readDoubleArray(surfaceGetClosestPoint(surface, point[0], point[1], point[2]), 3);
        const double d = std::sqrt((q[0] - point[0]) * (q[0] - point[0]) +
                                   (q[1] - point[1]) * (q[1] - point[1]) +
                                   (q[2] - point[2]) * (q[2] - point[2]));
        if (d > throughPointTolerance) {
            picked = face;
            break;
        }
    }
    if (!picked)
        return;

    IModelDoc2* doc = context.doc();
    IDocExtensionPtr extension = modelDocGetExtension(doc);
    const IDispatchPtr before = docExtGetNewestFeature(extension);
    ISelectionManagerPtr selection = modelDocGetSelectionManager(doc);
    const IDispatchPtr data = selMgrCreateSelectionData(selection);
    IEntityPtr entity = requireInterfaceOf<IEntity>(picked);
    entitySelectWithData(entity, VARIANT_FALSE, data);
    modelDocActOnSelectedFace(doc, 0);
    // The newest feature is only the action's when the action made one; otherwise it is an
    // older feature that must not be taken for the helper face.
    const IDispatchPtr after = docExtGetNewestFeature(extension);
    if (!after || after.GetInterfacePtr() == before.GetInterfacePtr())
        return;
    created = IFeaturePtr(after);
}
