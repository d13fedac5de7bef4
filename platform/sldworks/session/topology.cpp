#include "platform/sldworks/session/topology.h"

#include "platform/sldworks/session/document_helpers.h"

namespace {
template <class T>
std::vector<IDispatchPtr> wrapAll(docContextS& context,
                                  const std::vector<std::shared_ptr<T>>& objects) {
    std::vector<IDispatchPtr> wrapped;
    wrapped.reserve(objects.size());
    for (const auto& object : objects)
        wrapped.push_back(context.wrap(object));
    return wrapped;
}

swsim::Vec3 vec(double x, double y, double z) {
    return {x, y, z};
}
} // namespace

HRESULT selectEntity(docContextS& context, const swsim::ObjectPtr& entity, VARIANT_BOOL append,
                     IDispatch* data, VARIANT_BOOL* selected) {
    std::optional<swsim::Vec3> pick;
    if (auto* selectionData = dynamic_cast<selectionDataC*>(data))
        pick = selectionData->point();
    // An assembly keeps no selection of its components' faces and edges.
    if (!context.part) {
        *selected = VARIANT_FALSE;
        return S_OK;
    }
    *selected = variantBool(context.part->select(entity, append != VARIANT_FALSE, 0, pick));
    return S_OK;
}

// The entity alone in the selection, with the mark; an assembly selects none (as above).
HRESULT selectMarked(docContextS& context, const swsim::ObjectPtr& entity, long mark,
                     VARIANT_BOOL* selected) {
    *selected =
        variantBool(context.part && context.part->select(entity, false, static_cast<int>(mark)));
    return S_OK;
}

// ---- body ------------------------------------------------------------------------------

bodyC::bodyC(const docContextPtr& context, swsim::BodyPtr body)
    : bodyStubsT(context), body_(std::move(body)) {}

HRESULT bodyC::SelectBody(VARIANT_BOOL append, IDispatch* data, VARIANT_BOOL* selected) {
    return docCall("IBody::SelectBody", {journalValue(append), journalValue(data)}, selected,
                   [&](docContextS& context) {
                       // An assembly keeps no selection of its components' bodies.
                       *selected = variantBool(
                           context.part && context.part->select(body_, append != VARIANT_FALSE, 0));
                       return S_OK;
                   });
}

HRESULT bodyC::GetFaceCount(long* count) {
    return docCall("IBody::GetFaceCount", {}, count, [&](docContextS&) {
        *count = static_cast<long>(body_->faces().size());
        return S_OK;
    });
}

HRESULT bodyC::GetFirstFace(IDispatch** face) {
    return docCall("IBody::GetFirstFace", {}, face, [&](docContextS& context) {
        const auto& faces = body_->faces();
        return putObject(faces.empty() ? IDispatchPtr() : context.wrap(faces.front()), face);
    });
}

HRESULT bodyC::GetEdges(VARIANT* edges) {
    return docCall("IBody::GetEdges", {}, edges, [&](docContextS& context) {
        return putObjects(wrapAll(context, body_->edges()), edges);
    });
}

// ---- face ------------------------------------------------------------------------------

faceC::faceC(const docContextPtr& context, swsim::FacePtr face)
    : face2StubsT(context), face_(std::move(face)) {}

HRESULT faceC::GetNextFace(IDispatch** face) {
    return docCall("IFace2::GetNextFace", {}, face, [&](docContextS& context) {
        const swsim::BodyPtr body = face_->body();
        if (!body)
            return S_OK;
        const auto& faces = body->faces();
        const auto next = static_cast<std::size_t>(face_->index()) + 1;
        return putObject(next < faces.size() ? context.wrap(faces[next]) : IDispatchPtr(), face);
    });
}

HRESULT faceC::GetSurface(IDispatch** surface) {
    return docCall("IFace2::GetSurface", {}, surface, [&](docContextS& context) {
        *surface = new surfaceC(context.shared_from_this(), face_);
        return S_OK;
    });
}

HRESULT faceC::GetEdges(VARIANT* edges) {
    return docCall("IFace2::GetEdges", {}, edges, [&](docContextS& context) {
        return putObjects(wrapAll(context, face_->edges()), edges);
    });
}

HRESULT faceC::GetNormal(VARIANT* normal) {
    return docCall("IFace2::GetNormal", {}, normal, [&](docContextS&) {
        // Only planar faces have one normal; the others answer no array.
        if (face_->surface().kind != swsim::SurfaceKind::Plane)
            return S_OK;
        return putPoint(face_->normal(), normal);
    });
}

HRESULT faceC::GetClosestPoint(double x, double y, double z, VARIANT* point) {
    return docCall(
        "IFace2::GetClosestPoint", {journalValue(x), journalValue(y), journalValue(z)}, point,
        [&](docContextS&) { return putClosestPoint(face_->closestPoint(vec(x, y, z)), point); });
}

HRESULT faceC::GetBody(IDispatch** body) {
    return docCall("IFace2::GetBody", {}, body, [&](docContextS& context) {
        return putObject(context.wrap(face_->body()), body);
    });
}

HRESULT faceC::Select(VARIANT_BOOL append, VARIANT_BOOL* selected) {
    return docCall("IEntity::Select", {journalValue(append)}, selected, [&](docContextS& context) {
        return selectEntity(context, face_, append, nullptr, selected);
    });
}

HRESULT faceC::SelectWithData(VARIANT_BOOL append, IDispatch* data, VARIANT_BOOL* selected) {
    return docCall(
        "IEntity::SelectWithData", {journalValue(append), journalValue(data)}, selected,
        [&](docContextS& context) { return selectEntity(context, face_, append, data, selected); });
}

HRESULT faceC::SelectMarked(long mark, VARIANT_BOOL* selected) {
    return docCall(
        "IEntity::SelectMarked", {journalValue(mark)}, selected,
        [&](docContextS& context) { return selectMarked(context, face_, mark, selected); });
}

HRESULT faceC::SetColorValues(VARIANT values) {
    return docCall("IFace2::SetColorValues", {journalValue(values)}, [&](docContextS& context) {
        std::vector<double> rgb;
        const HRESULT hr = readDoubles(values, 3, rgb);
        if (FAILED(hr))
            return hr;
        for (int i = 0; i < 3; ++i)
            if (!(rgb[static_cast<std::size_t>(i)] >= 0.0 &&
                  rgb[static_cast<std::size_t>(i)] <= 1.0))
                return E_INVALIDARG;
        // An assembly keeps no colours of its components' faces.
        if (!context.part)
            return E_NOTIMPL;
        return context.part->setFaceColour(face_, swsim::Rgb{rgb[0], rgb[1], rgb[2]}) ? S_OK
                                                                                      : E_FAIL;
    });
}

// ---- edge ------------------------------------------------------------------------------

edgeC::edgeC(const docContextPtr& context, swsim::EdgePtr edge)
    : edgeStubsT(context), edge_(std::move(edge)) {}

HRESULT edgeC::GetClosestPoint(double x, double y, double z, VARIANT* point) {
    return docCall(
        "IEdge::GetClosestPoint", {journalValue(x), journalValue(y), journalValue(z)}, point,
        [&](docContextS&) { return putClosestPoint(edge_->closestPoint(vec(x, y, z)), point); });
}

HRESULT edgeC::GetCurve(IDispatch** curve) {
    return docCall("IEdge::GetCurve", {}, curve, [&](docContextS& context) {
        *curve = new curveC(context.shared_from_this(), edge_);
        return S_OK;
    });
}

HRESULT edgeC::GetTwoFaces(VARIANT* faces) {
    return docCall("IEdge::GetTwoFaces", {}, faces, [&](docContextS& context) {
        const auto adjacent = edge_->faces();
        const HRESULT hr = putObjects(wrapAll(context, adjacent), faces);
        if (FAILED(hr))
            return hr;
        // An edge that does not lie between two faces (a seam, the border of a sheet) answers
        // S_FALSE with the faces it has; the edge searches pass such edges over.
        return adjacent.size() == 2 ? S_OK : S_FALSE;
    });
}

HRESULT edgeC::GetAdjacentFaces(VARIANT* faces) {
    return docCall("IEdge::GetAdjacentFaces", {}, faces, [&](docContextS& context) {
        return putObjects(wrapAll(context, edge_->faces()), faces);
    });
}

HRESULT edgeC::Select(VARIANT_BOOL append, VARIANT_BOOL* selected) {
    return docCall("IEntity::Select", {journalValue(append)}, selected, [&](docContextS& context) {
        return selectEntity(context, edge_, append, nullptr, selected);
    });
}

HRESULT edgeC::SelectWithData(VARIANT_BOOL append, IDispatch* data, VARIANT_BOOL* selected) {
    return docCall(
        "IEntity::SelectWithData", {journalValue(append), journalValue(data)}, selected,
        [&](docContextS& context) { return selectEntity(context, edge_, append, data, selected); });
}

HRESULT edgeC::SelectMarked(long mark, VARIANT_BOOL* selected) {
    return docCall(
        "IEntity::SelectMarked", {journalValue(mark)}, selected,
        [&](docContextS& context) { return selectMarked(context, edge_, mark, selected); });
}

// ---- surface ---------------------------------------------------------------------------

surfaceC::surfaceC(const docContextPtr& context, swsim::FacePtr face)
    : surfaceStubsT(context), face_(std::move(face)) {}

HRESULT surfaceC::kindTest(const char* key, swsim::SurfaceKind kind, VARIANT_BOOL* result) {
    return docCall(key, {}, result, [&](docContextS&) {
        *result = variantBool(face_->surface().kind == kind);
        return S_OK;
    });
}

HRESULT surfaceC::IsPlane(VARIANT_BOOL* result) {
    return kindTest("ISurface::IsPlane", swsim::SurfaceKind::Plane, result);
}
HRESULT surfaceC::IsCylinder(VARIANT_BOOL* result) {
    return kindTest("ISurface::IsCylinder", swsim::SurfaceKind::Cylinder, result);
}
HRESULT surfaceC::IsCone(VARIANT_BOOL* result) {
    return kindTest("ISurface::IsCone", swsim::SurfaceKind::Cone, result);
}
HRESULT surfaceC::IsSphere(VARIANT_BOOL* result) {
    return kindTest("ISurface::IsSphere", swsim::SurfaceKind::Sphere, result);
}
HRESULT surfaceC::IsTorus(VARIANT_BOOL* result) {
    return kindTest("ISurface::IsTorus", swsim::SurfaceKind::Torus, result);
}
HRESULT surfaceC::IsOffset(VARIANT_BOOL* result) {
    return kindTest("ISurface::IsOffset", swsim::SurfaceKind::Offset, result);
}
HRESULT surfaceC::IsBlend(VARIANT_BOOL* result) {
    return kindTest("ISurface::IsBlend", swsim::SurfaceKind::Blend, result);
}
HRESULT surfaceC::IsRevolved(VARIANT_BOOL* result) {
    return kindTest("ISurface::IsRevolved", swsim::SurfaceKind::Revolved, result);
}
HRESULT surfaceC::IsSwept(VARIANT_BOOL* result) {
    return kindTest("ISurface::IsSwept", swsim::SurfaceKind::Swept, result);
}
HRESULT surfaceC::IsForeign(VARIANT_BOOL* result) {
    // A surface the session's modeller has no kind for counts as foreign.
    return kindTest("ISurface::IsForeign", swsim::SurfaceKind::Other, result);
}

HRESULT surfaceC::GetPlaneData(VARIANT* data) {
    return docCall("ISurface::GetPlaneData", {}, data, [&](docContextS&) {
        const swsim::SurfaceInfo info = face_->surface();
        if (info.kind != swsim::SurfaceKind::Plane)
            return S_OK;
        const double values[6] = {info.axis.x,  info.axis.y,  info.axis.z,
                                  info.point.x, info.point.y, info.point.z};
        return putDoubles(values, 6, data);
    });
}

HRESULT surfaceC::QueryPoint(double x, double y, double z, VARIANT* point) {
    return docCall("ISurface::QueryPoint", {journalValue(x), journalValue(y), journalValue(z)},
                   point, [&](docContextS&) {
                       const swsim::Vec3 p = vec(x, y, z);
                       if (!face_->contains(p, 1e-6))
                           return S_OK;
                       return putPoint(p, point);
                   });
}

HRESULT surfaceC::GetClosestPoint(double x, double y, double z, VARIANT* point) {
    return docCall("ISurface::GetClosestPoint", {journalValue(x), journalValue(y), journalValue(z)},
                   point, [&](docContextS&) {
                       return putClosestPoint(face_->closestPointOnSurface(vec(x, y, z)), point);
                   });
}

// ---- curve -----------------------------------------------------------------------------

curveC::curveC(const docContextPtr& context, swsim::EdgePtr edge)
    : curveStubsT(context), edge_(std::move(edge)) {}

HRESULT curveC::IsCircle(VARIANT_BOOL* result) {
    return docCall("ICurve::IsCircle", {}, result, [&](docContextS&) {
        *result = variantBool(edge_->curve().kind == swsim::CurveKind::Circle);
        return S_OK;
    });
}

HRESULT curveC::GetCircleParams(VARIANT* params) {
    return docCall("ICurve::GetCircleParams", {}, params, [&](docContextS&) {
        const swsim::CurveInfo info = edge_->curve();
        if (info.kind != swsim::CurveKind::Circle)
            return S_OK;
        const double values[7] = {info.centre.x, info.centre.y, info.centre.z, info.axis.x,
                                  info.axis.y,   info.axis.z,   info.radius};
        return putDoubles(values, 7, params);
    });
}
