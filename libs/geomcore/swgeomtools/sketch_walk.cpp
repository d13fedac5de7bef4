#include "libs/geomcore/swgeomtools/sketch_walk.h"

#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swgeomtools/face_search.h"

namespace {

constexpr double edgeMatch = 1e-6;

// Fixes the listed points or segments one by one while the sketch can take more.
void fixEach(ISketch* sketch, IConstraintManager* constraints, const _variant_t& list) {
    for (const IDispatchPtr& entity : readObjectArray(list)) {
        if (sketchGetStatus(sketch) == sketchStatusFullyConstrained)
            return;
        const _variant_t single = makeDispatchArray({entity.GetInterfacePtr()});
        IDispatchPtr added = constraintMgrAddConstraint(constraints, single, constraintKindFix);
        if (sketchGetStatus(sketch) == sketchStatusOverConstrained)
            constraintMgrRemoveConstraint(constraints, added);
    }
}

} // namespace

void walkSketchSegments(const _bstr_t& /*sketchName*/, IModelDoc2* doc, const int& sketchMode) {
    modelDocBeforeSketchWalk(doc);
    ISketchPtr sketch;
    sketchPtrFromVariant(sketch, modelDocGetEditedSketch(doc).GetInterfacePtr());
    if (!sketch)
        return;

    if (sketchMode == 0 || sketchMode == 1) {
        if (sketchGetStatus(sketch) == sketchStatusUnderConstrained)
            sketchQueryOnStatusTwo(sketch);
    }
    if (sketchMode == 1) {
        sketchConstrainAll(sketch, 1, 1, -1, 1, -1);
        const long status = sketchGetStatus(sketch);
        if (status == 4 || status == 5 || status == 6) {
            IConstraintManagerPtr manager = sketchGetConstraintManager(sketch);
            const std::vector<IDispatchPtr> added =
                readObjectArray(constraintMgrGetConstraints(manager, constraintKindAuto));
            for (auto it = added.rbegin(); it != added.rend(); ++it) {
                IConstraintPtr constraint(*it);
                constraintMgrRemoveConstraint(manager, constraint.GetInterfacePtr());
            }
        }
    } else if (sketchMode == 2) {
        IConstraintManagerPtr manager = sketchGetConstraintManager(sketch);
        if (sketchGetStatus(sketch) == sketchStatusUnderConstrained)
            fixEach(sketch, manager, sketchGetPoints(sketch));
        if (sketchGetStatus(sketch) == sketchStatusUnderConstrained)
            fixEach(sketch, manager, sketchGetSegments(sketch));
    }
}

IEntityPtr getFeatureEdgeFromPoint(IFeature* feature, const double point[3]) {
    const _variant_t faces = featureGetFaces(feature);
    if (!isObjectArray(faces))
        return nullptr;
    try {
        for (const IDispatchPtr& faceObject : readObjectArray(faces)) {
            IFaceObjectPtr face = requireInterfaceOf<IFaceObject>(faceObject);
            for (const IDispatchPtr& edgeObject : readObjectArray(faceGetEdgeList(face))) {
                try {
                    IEdgePtr edge = requireInterfaceOf<IEdge>(edgeObject);
                    if (edgeDistanceToPoint(edge, point) < edgeMatch)
                        return IEntityPtr(edge);
                } catch (const _com_error&) {
                    // This edge cannot be examined; go on with the next one.
                }
            }
        }
    } catch (const _com_error&) {
        // A face or an edge list that cannot be read ends the search without a result.
    }
    return nullptr;
}
