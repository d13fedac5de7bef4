#include "libs/geomcore/swgeomtools/mate_references.h"

#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swgeomtools/connection_point_references.h"
#include "libs/geomcore/swgeomtools/face_search.h"
#include "metamodel/core/classify.h"
#include "metamodel/core/classinstance.h"
#include "metamodel/m3d/annotations.h"
#include "metamodel/m3d/viewhelpers.h"

namespace {

enum class surfaceKindE { other, plane, cylinder, cone };

surfaceKindE surfaceKindOf(IFace2* face) {
    ISurfacePtr surface = requireInterfaceOf<ISurface>(faceGetSurface(face));
    if (surfaceIsPlane(surface) != VARIANT_FALSE)
        return surfaceKindE::plane;
    if (surfaceIsCylinder(surface) != VARIANT_FALSE)
        return surfaceKindE::cylinder;
    if (surfaceIsCone(surface) != VARIANT_FALSE)
        return surfaceKindE::cone;
    return surfaceKindE::other;
}

bool isPlane(surfaceKindE kind) {
    return kind == surfaceKindE::plane;
}
bool isRound(surfaceKindE kind) {
    return kind == surfaceKindE::cylinder || kind == surfaceKindE::cone;
}

// One classified face annotation, read once for every id info that may name it.
struct faceAnnotationS {
    mzComStringC instId;
    double point[3] = {0.0, 0.0, 0.0};
    double direction[3] = {0.0, 0.0, 0.0};
};

mzComStringC stringProperty(const mRCClassInstanceC& instance, const char* name, bool& found) {
    const mRCClassInstancePropertyC property = instance.findProperty(name);
    found = property.isValid();
    return found ? mRCClassInstanceStringPropertyC(property).getValue(&found) : mzComStringC();
}

// The "QEL_FACE_TS" annotations of the ANNOTATIONSETFACE sets, in set and annotation order.
// An annotation whose FACD text cannot be read, or that lacks a point, is passed over.
std::vector<faceAnnotationS> classifiedFaceAnnotations(const m3dDocumentC& document) {
    std::vector<faceAnnotationS> found;
    const m3dAnnotationSetsC sets = getAnnotationSets(document);
    if (!sets.isValid())
        return found;
    for (int i = 0, n = sets.count(); i < n; ++i) {
        const m3dAnnotationSetC set = sets.getSetAt(i);
        if (!(set.getTag() == m3dAnnotationSetFaceC::tagName()))
            continue;
        for (int k = 0, m = set.countAnnotations(); k < m; ++k) {
            const m3dAnnotationFaceC annotation(set.getAnnotationAt(k).getTreePtr());
            faceAnnotationS entry;
            if (!classifiedFaceInstId(annotation, entry.instId))
                continue;
            vectorC3d<double> p;
            if (!getPoint3d(annotation, p)) {
                NATLINK_LOG(mzLogLevelWarning, mzComStringC("The classified face \"") +
                                                   entry.instId + "\" has no POINT3D");
                continue;
            }
            const vectorC3d<double> v = getAnnotationVector3(annotation);
            entry.point[0] = p.x;
            entry.point[1] = p.y;
            entry.point[2] = p.z;
            entry.direction[0] = v.x;
            entry.direction[1] = v.y;
            entry.direction[2] = v.z;
            found.push_back(entry);
        }
    }
    return found;
}

mzComStringC pointText(const double p[3]) {
    return mzComStringC("(") + mzComStringC::number(p[0], 'g', 10) + ", " +
           mzComStringC::number(p[1], 'g', 10) + ", " + mzComStringC::number(p[2], 'g', 10) + ")";
}

// Why the search found no face for a classified face: the search passes over the faces whose
// normal points along the direction, so a face found the other way round means that the
// direction points out of the material, not into it.
mzComStringC whyNoFace(swMateRefContextS& context, const faceAnnotationS& annotation) {
    const double reversed[3] = {-annotation.direction[0], -annotation.direction[1],
                                -annotation.direction[2]};
    IFace2Ptr face;
    if (getFaceFromPoint(annotation.point, reversed, *context.document, 0, 0, face) == 1)
        return mzComStringC("its direction (VEC3D) ") + pointText(annotation.direction) +
               " points out of the material at " + pointText(annotation.point) +
               "; it must point into it";
    return mzComStringC("no face at ") + pointText(annotation.point);
}

void noteUnreferencedFace(swMateRefContextS& context, const mzComStringC& instId,
                          const mzComStringC& reason) {
    context.unreferencedFaces.push_back(mzComStringC("The classified face \"") + instId +
                                        "\" gets no mate reference: " + reason);
}

IEntityPtr entityOf(IUnknown* object) {
    return requireInterfaceOf<IEntity>(object);
}

void setEntityName(swMateRefContextS& context, IDispatch* entity, const _bstr_t& name) {
    IPartDocPtr part = requireInterfaceOf<IPartDoc>(context.doc());
    partDocSetEntityName(part, entity, name);
}

// Mode 2: the reference goes on a hidden surface copy of the face. When the copy's face
// cannot be found again the reference stays on the solid's face, whose body is not hidden
// (the search finding nothing must not lose the face it was given).
void moveToSurfaceCopy(swMateRefContextS& context, const faceAnnotationS& annotation,
                       IFace2Ptr& face) {
    IModelDoc2* doc = context.doc();
    entityCallSlot13(entityOf(face), 0);
    modelDocCallSlot412(doc, 0, 0);
    const IDispatchPtr newest = docExtGetNewestFeature(modelDocGetExtension(doc));
    IFace2Ptr copy;
    // The search's ray may hit the solid's face again: that is not the copy.
    if (getFaceFromPoint(annotation.point, annotation.direction, *context.document, 0, 1, copy) ==
            1 &&
        copy.GetInterfacePtr() != face.GetInterfacePtr()) {
        face = copy;
        IBodyPtr body = requireInterfaceOf<IBody>(faceGetBody(face));
        bodyCallSlot136(body, VARIANT_FALSE, nullptr);
        featureManagerCallSlot40(modelDocGetFeatureManager(doc));
    }
    featureCallSlot17(requireInterfaceOf<IFeature>(newest), 1, -1);
}

void addFaceReferences(swMateRefContextS& context, const std::vector<mDocClassifyIdInfoC>& idInfos,
                       int mode) {
    if (idInfos.empty())
        return;
    const std::vector<faceAnnotationS> annotations =
        classifiedFaceAnnotations(context.documentView);
    const bool part = context.documentType() == 1;
    for (const mDocClassifyIdInfoC& idInfo : idInfos) {
        const mzComStringC instId = idInfo.getInstId();
        for (const faceAnnotationS& annotation : annotations) {
            if (!(annotation.instId == instId))
                continue;
            // Surface copies are made in parts only (an assembly selects none of its
            // components' faces): the reference is named as not built before anything is
            // tried on the face.
            if (mode == 2 && !part) {
                noteUnreferencedFace(context, instId,
                                     "mate references on surface copies (CreateMateReferences "
                                     "2) are not built in an assembly");
                continue;
            }
            IFace2Ptr face;
            if (getFaceFromPoint(annotation.point, annotation.direction, *context.document, 0, 0,
                                 face) != 1) {
                noteUnreferencedFace(context, instId, whyNoFace(context, annotation));
                continue;
            }
            mzComStringC suffix;
            if (context.firstFaceRef)
                context.firstFaceRef = false;
            else
                suffix = mzComStringC("_") + instId;
            if (mode == 2)
                moveToSurfaceCopy(context, annotation, face);

            const char* helper = nullptr;
            const char* kindName = "";
            switch (surfaceKindOf(face)) {
            case surfaceKindE::plane:
                helper = "MATEREF_HELPER_PLANAR";
                kindName = "PLANAR";
                break;
            case surfaceKindE::cylinder:
                helper = "MATEREF_HELPER_CYL";
                kindName = "CYL";
                break;
            case surfaceKindE::cone:
                helper = "MATEREF_HELPER_CONIC";
                kindName = "CONIC";
                break;
            case surfaceKindE::other:
                break;
            }
            // Entity names live in parts; an assembly's face keeps its component's names.
            if (helper != nullptr && part)
                setEntityName(context, face,
                              _bstr_t((mzComStringC(helper) + suffix).toUtf8().c_str()));
            const mzComStringC name = mzComStringC(kindName) + suffix;
            insertEntityMateReference(modelDocGetFeatureManager(context.doc()),
                                      _bstr_t(name.toUtf8().c_str()), entityOf(face));
        }
    }
}

// The entry as a message names it: by its INSTID when it has one.
mzComStringC pointEntryText(const mDocClassifyIdInfoC& idInfo) {
    const mzComStringC instId = idInfo.getInstId();
    return instId.isEmpty() ? mzComStringC("A connection-point entry without INSTID")
                            : mzComStringC("The connection-point entry \"") + instId + "\"";
}

void addConnectionPointReferences(swMateRefContextS& context,
                                  const std::vector<mDocClassifyIdInfoC>& idInfos,
                                  const double transform[16], int mode) {
    for (const mDocClassifyIdInfoC& idInfo : idInfos) {
        const mzComStringC id = idInfo.getVarValue("QEL_3DID", " ");
        const bool axisFlag = idInfo.getVarValue("QEL_CP_PLACE_AXIS_DIR", "0").toInt() != 0;
        const int comma = id.lastIndexOf(",");
        const mzComStringC cp = comma < 0 ? mzComStringC() : id.mid(comma + 1);
        if (cp.isEmpty()) {
            const bool blank = id.toUtf8().find_first_not_of(' ') == std::string::npos;
            context.unnamedPoints.push_back(pointEntryText(idInfo) + " gets no mate reference: " +
                                            (blank ? mzComStringC("it has no QEL_3DID")
                                             : comma < 0
                                                 ? "its QEL_3DID \"" + id +
                                                       "\" has no comma before a connection "
                                                       "point name"
                                                 : "its QEL_3DID \"" + id +
                                                       "\" names no connection point after its "
                                                       "last comma"));
            continue;
        }
        if (mode != 1 && mode != 2) {
            context.unreferencedPoints.push_back(
                {cp, mzComStringC("\"CreateMateReferences\" ") + mzComStringC::number(mode) +
                         " makes mate references at classified faces only"});
            continue;
        }
        const _bstr_t name(cp.toUtf8().c_str());
        if (mode == 1 && addConnPointEdgeMateReference(context, name) != 0)
            continue;
        addConnPointHelperBodyReference(context, name, transform, axisFlag);
    }
}

} // namespace

bool classifiedFaceInstId(const m3dAnnotationFaceC& annotation, mzComStringC& instId) {
    const mzComStringC facd = annotation.getFacd();
    if (facd.isEmpty())
        return false;
    metaObjectC parsed;
    if (!parsed.ctorFromText(facd, "FACD")) {
        NATLINK_LOG(mzLogLevelWarning,
                    mzComStringC("A face annotation's FACD text cannot be read: ") + facd);
        return false;
    }
    const mRCClassInstanceC instance(parsed.getTreePtr());
    bool hasClass = false;
    bool hasInstance = false;
    const mzComStringC classId = stringProperty(instance, "CLASSID", hasClass);
    instId = stringProperty(instance, "INSTID", hasInstance);
    return hasClass && hasInstance && classId == "QEL_FACE_TS";
}

IModelDoc2* swMateRefContextS::doc() const {
    if (document == nullptr || !*document)
        _com_issue_errorex(E_POINTER, nullptr, uuidOf<IModelDoc2>());
    return document->GetInterfacePtr();
}

long swMateRefContextS::documentType() const {
    return modelDocGetType(doc());
}

void insertEntityMateReference(IFeatureManager* manager, const _bstr_t& name, IDispatch* entity) {
    insertMateReference(manager, name, entity, 0, 0, nullptr, 0, 0, nullptr, 0, 0);
}

int buildMateReferences(swMateRefContextS& context, const double transform[16], int mode) {
    NATLINK_TRACE_FRAME_C("buildMateReferences");
    if (mode == 0)
        return 0;
    const metaTreePtrT node = context.documentView.getTreePtr();
    const mDocumentAttrC attributes = context.documentView.getTag() == m3dPartC::tagName()
                                          ? m3dPartC(node).getPartAttr()
                                          : m3dAsmC(node).getAsmAttr();
    const mzComStringC text = attributes.getClassificationInfo();
    if (text.isEmpty())
        return 0;
    metaObjectC parsed;
    if (!parsed.ctorFromText(text, "CLASSIFICATIONINFO")) {
        NATLINK_LOG(mzLogLevelWarning,
                    "The CLASSIFICATIONINFO text cannot be read; no mate references are made");
        return 0;
    }
    const mDocClassifyInfoC info = mDocClassifyListC(parsed.getTreePtr()).findInfo("qel");
    if (!info.isValid())
        return 0;
    const std::vector<mDocClassifyIdInfoC> faces = info.collectIdInfos("QEL_FACE_TS");
    const std::vector<mDocClassifyIdInfoC> points = info.collectIdInfos("QEL_CP_PLACE_PA");
    addFaceReferences(context, faces, mode);
    addConnectionPointReferences(context, points, transform, mode);
    return faces.empty() && points.empty() ? 0 : 1;
}

void nameEdgeMateRefHelpers(swMateRefContextS& context, const _bstr_t& suffixName, IEdge* edge) {
    if (context.documentType() != 1)
        return;
    IPartDocPtr part = requireInterfaceOf<IPartDoc>(context.doc());
    const mzComStringC current(static_cast<const char16_t*>(partDocGetEntityName(part, edge)));
    if (current.contains("MATEREF"))
        return;
    std::string suffix;
    if (context.firstEdgeRef)
        context.firstEdgeRef = false;
    else
        suffix = "_" + std::string(static_cast<const char*>(suffixName));

    const std::vector<IDispatchPtr> faces = readObjectArray(edgeGetAdjacentFaces(edge));
    if (faces.size() != 2)
        return;
    IFace2Ptr face1 = requireInterfaceOf<IFace2>(faces[0]);
    IFace2Ptr face2 = requireInterfaceOf<IFace2>(faces[1]);
    const surfaceKindE kind1 = surfaceKindOf(face1);
    const surfaceKindE kind2 = surfaceKindOf(face2);
    if (!((isPlane(kind1) && isRound(kind2)) || (isPlane(kind2) && isRound(kind1))))
        return;
    auto nameFace = [&](IFace2* face, surfaceKindE kind) {
        const mzComStringC name(static_cast<const char16_t*>(partDocGetEntityName(part, face)));
        if (name.contains("MATEREF"))
            return;
        const char* helper = isPlane(kind)                    ? "MATEREF_HELPER_PLANAR"
                             : kind == surfaceKindE::cylinder ? "MATEREF_HELPER_CYL"
                                                              : "MATEREF_HELPER_CONIC";
        partDocSetEntityName(part, face, _bstr_t((helper + suffix).c_str()));
    };
    if (!isPlane(kind1)) {
        nameFace(face2, kind2);
        nameFace(face1, kind1);
    } else {
        nameFace(face1, kind1);
        nameFace(face2, kind2);
    }
    partDocSetEntityName(part, edge, _bstr_t(("MATEREF_HELPER_EDGE" + suffix).c_str()));
}

int addFeatureFaceMateReference(swMateRefContextS& context, IFeature* feature,
                                const _bstr_t& name) {
    IModelDoc2* doc = context.doc();
    IFeatureManagerPtr manager = modelDocGetFeatureManager(doc);
    const std::vector<IDispatchPtr> faces = readObjectArray(featureGetFaces(feature));
    for (std::size_t i = 0; i < faces.size(); ++i) {
        IFace2Ptr face = requireInterfaceOf<IFace2>(faces[i]);
        if (i == 0) {
            IBodyPtr body = requireInterfaceOf<IBody>(faceGetBody(face));
            bodyCallSlot136(body, VARIANT_FALSE, nullptr);
            featureManagerCallSlot40(manager);
        }
        if (surfaceKindOf(face) != surfaceKindE::plane)
            continue;
        const std::vector<IDispatchPtr> edges = readObjectArray(faceGetEdges(face));
        if (edges.empty())
            continue;
        insertEntityMateReference(manager, name, entityOf(edges[0]));
        if (context.documentType() == 1)
            nameEdgeMateRefHelpers(context, name, requireInterfaceOf<IEdge>(edges[0]));
        break;
    }
    return 0;
}
