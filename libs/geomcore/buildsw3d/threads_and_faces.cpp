#include "libs/geomcore/buildsw3d/threads_and_faces.h"

#include "libs/geomcore/swapi/call_support.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swgeomtools/face_search.h"
#include "libs/geomcore/swgeomtools/sketch_walk.h"
#include "libs/geomcore/swtools/error.h"
#include "metamodel/core/valueviews.h"

#include <array>
#include <string>

namespace {

// Sets the document's creation flag to TRUE for the life of the guard when it was FALSE and
// puts FALSE back at its end, also when the thread insertion raises.
class creationFlagGuardC {
public:
    explicit creationFlagGuardC(IModelDoc2* doc) : doc_(doc) {
        if (modelDocGetCreationFlag(doc_) == VARIANT_FALSE) {
            modelDocSetCreationFlag(doc_, VARIANT_BOOL(-1));
            wasOff_ = true;
        }
    }
    creationFlagGuardC(const creationFlagGuardC&) = delete;
    creationFlagGuardC& operator=(const creationFlagGuardC&) = delete;
    ~creationFlagGuardC() {
        if (!wasOff_)
            return;
        try {
            modelDocSetCreationFlag(doc_, VARIANT_BOOL(0));
        } catch (const _com_error&) {
            // Nothing can be done about it here; an exception must not leave a destructor.
        }
    }

private:
    IModelDoc2* doc_;
    bool wasOff_ = false;
};

IEntityPtr threadEntity(swPartC& part, IFeature* feature, const vectorC3d<double>& start,
                        const vectorC3d<double>& end) {
    const double s[3] = {start.x, start.y, start.z};
    const double e[3] = {end.x, end.y, end.z};
    if (feature != nullptr) {
        IEntityPtr entity = getFeatureEdgeFromPoint(feature, s);
        if (!entity)
            entity = getFeatureEdgeFromPoint(feature, e);
        return entity;
    }
    IEdgePtr edge = getBodyEntityFromPoint(part.modelDoc, s);
    if (!edge)
        edge = getBodyEntityFromPoint(part.modelDoc, e);
    if (!edge)
        return IEntityPtr();
    return requireInterfaceOf<IEntity>(edge);
}

const char* surfacePrefix(ISurface* surface, int& index) {
    using testT = VARIANT_BOOL (*)(ISurface*);
    static const std::array<std::pair<testT, const char*>, 10> tests = {{
        {&surfaceIsPlane, "PLANAR_"},
        {&surfaceIsBlend, "BLEND_"},
        {&surfaceIsCone, "CONE_"},
        {&surfaceIsCylinder, "CYL_"},
        {&surfaceIsForeign, "FOREIGN_"},
        {&surfaceIsOffset, "OFF_"},
        {&surfaceIsRevolved, "REV_"},
        {&surfaceIsSphere, "SPHERE_"},
        {&surfaceIsSwept, "SWEPT_"},
        {&surfaceIsTorus, "TORUS_"},
    }};
    for (std::size_t i = 0; i < tests.size(); ++i) {
        if (tests[i].first(surface) != VARIANT_FALSE) {
            index = static_cast<int>(i);
            return tests[i].second;
        }
    }
    index = static_cast<int>(tests.size());
    return "UNKNOWN_";
}

} // namespace

std::vector<mzComStringC> createCosmeticThreads(swPartC& part, const m3dAnnotationSetC& threads,
                                                IFeature* feature) {
    std::vector<mzComStringC> notMade;
    for (int i = 0; i < threads.count(); ++i) {
        m3dAnnotationThreadC thread(threads.getAnnotationAt(i).getTreePtr());
        const m3dAnnotationThreadSpecificationC threadSize = thread.getThreadSpecification();
        vectorC3d<double> start;
        vectorC3d<double> end;
        getThreadFeatureDiameterStartPoint(thread, start);
        getThreadFeatureDiameterEndPoint(thread, end);

        IModelDoc2* doc = swapiRequired<IModelDoc2>(part.modelDoc);
        const IFeatureManagerPtr manager = modelDocGetFeatureManager(doc);
        swapiRequired<IFeatureManager>(manager);

        bool found = false;
        mzComStringC text;
        getThDescAttr(thread, text, found);
        if (getThDirAttr(thread, found) != 0)
            text += " LH";
        const _bstr_t description = text.toBstr();

        // Named by its description, else by its place in the set.
        const mzComStringC threadName =
            mzComStringC("cosmetic thread ") +
            (text.isEmpty() ? mzComStringC::number(i + 1, 'g', 10) : quotedName(text));
        const IEntityPtr entity = threadEntity(part, feature, start, end);
        if (!entity) {
            notMade.push_back(threadName + " not made: no edge through its start or end point");
            continue;
        }
        const creationFlagGuardC flag(doc);
        entitySelect(entity, VARIANT_BOOL(0));
        // The thread is neither named nor recorded: the feature walk skips cosmetic threads.
        const IFeaturePtr made = featMgrInsertCosmeticThread(manager, 0, threadSize.getThDia(),
                                                             threadSize.getThLen(), description);
        modelDocAfterThreadCall(doc);
        if (!made)
            notMade.push_back(threadName + " not made: SolidWorks made no thread on its edge");
    }
    return notMade;
}

mzComStringC nameFacesBySurfaceType(swPartC& part) {
    const IPartDocPtr partDoc = queryInterfaceOf<IPartDoc>(part.modelDoc);
    if (!partDoc)
        return mzComStringC();
    try {
        const _variant_t bodies = partDocGetBodies(partDoc, 0);
        if (!variantHoldsArray(bodies))
            return mzComStringC();
        int counters[11] = {};
        for (const IDispatchPtr& element : readObjectArray(bodies)) {
            const IBodyObjectPtr body = requireInterfaceOf<IBodyObject>(element);
            for (IDispatchPtr next = bodyObjectGetFirstFace(body); next;) {
                const IFaceObjectPtr face = requireInterfaceOf<IFaceObject>(next);
                const ISurfacePtr surface =
                    requireInterfaceOf<ISurface>(faceObjectGetSurface(face));
                int index = 0;
                const char* prefix = surfacePrefix(surface, index);
                const std::string name = prefix + std::to_string(counters[index]++);
                // SolidWorks keeps an existing name; the answer does not matter here.
                partDocSetEntityName(partDoc, face, _bstr_t(name.c_str()));
                next = faceObjectGetNext(face);
            }
        }
    } catch (const _com_error& error) {
        // The faces named so far keep their names; the caller says that the others have none.
        return mzComStringC("SolidWorks call failed: ") + error.ErrorMessage();
    } catch (...) {
        return "unknown failure";
    }
    return mzComStringC();
}

int getThDirAttr(metaObjectVirtualDataBaseC& object, bool& found) {
    found = false;
    return metaObjIntC(object.getOrAddChild("THDIR")).get(&found);
}

mzComStringC getThDescAttr(metaObjectVirtualDataBaseC& object, mzComStringC& value, bool& found) {
    found = false;
    value = metaObjStrC(object.getOrAddChild("THDESC")).get(&found);
    return value;
}

mzComStringC getSelLodNameAttr(metaObjectVirtualDataBaseC& object, mzComStringC& value,
                               bool& found) {
    found = false;
    value = metaObjStrC(object.getOrAddChild("SELLODNAME")).get(&found);
    return value;
}
