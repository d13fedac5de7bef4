#include "libs/geomcore/swapi/topology_calls.h"

#include "libs/geomcore/swapi/call_support.h"

IDispatchPtr bodyObjectGetFirstFace(IBodyObject* bodyObject) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(bodyObject)->GetFirstFace(&result);
    swapiCheck<IBodyObject>(hr);
    return result;
}

long bodyGetFaceCount(IBody* body) {
    long result = 0;
    const HRESULT hr = swapiRequired(body)->GetFaceCount(&result);
    swapiCheck<IBody>(hr);
    return result;
}

IDispatchPtr bodyGetFirstFace(IBody* body) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(body)->GetFirstFace(&result);
    swapiCheck<IBody>(hr);
    return result;
}

_variant_t bodyGetEdges(IBody* body) {
    _variant_t result;
    const HRESULT hr = swapiRequired(body)->GetEdges(result.GetAddress());
    swapiCheck<IBody>(hr);
    return result;
}

VARIANT_BOOL bodyCallSlot136(IBody* body, VARIANT_BOOL append, IDispatch* data) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(body)->SelectBody(append, data, &result);
    swapiCheck<IBody>(hr);
    return result;
}

IDispatchPtr faceObjectGetNext(IFaceObject* faceObject) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(faceObject)->GetNextFace(&result);
    swapiCheck<IFaceObject>(hr);
    return result;
}

IDispatchPtr faceObjectGetSurface(IFaceObject* faceObject) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(faceObject)->GetSurface(&result);
    swapiCheck<IFaceObject>(hr);
    return result;
}

_variant_t faceGetEdgeList(IFaceObject* faceObject) {
    _variant_t result;
    const HRESULT hr = swapiRequired(faceObject)->GetEdges(result.GetAddress());
    swapiCheck<IFaceObject>(hr);
    return result;
}

IDispatchPtr faceGetNextFace(IFace2* face2) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(face2)->GetNextFace(&result);
    swapiCheck<IFace2>(hr);
    return result;
}

IDispatchPtr faceGetSurface(IFace2* face2) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(face2)->GetSurface(&result);
    swapiCheck<IFace2>(hr);
    return result;
}

_variant_t faceGetEdges(IFace2* face2) {
    _variant_t result;
    const HRESULT hr = swapiRequired(face2)->GetEdges(result.GetAddress());
    swapiCheck<IFace2>(hr);
    return result;
}

_variant_t faceGetNormal(IFace2* face2) {
    _variant_t result;
    const HRESULT hr = swapiRequired(face2)->GetNormal(result.GetAddress());
    swapiCheck<IFace2>(hr);
    return result;
}

_variant_t faceGetClosestPoint(IFace2* face2, double x, double y, double z) {
    _variant_t result;
    const HRESULT hr = swapiRequired(face2)->GetClosestPoint(x, y, z, result.GetAddress());
    swapiCheck<IFace2>(hr);
    return result;
}

IDispatchPtr faceGetBody(IFace2* face2) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(face2)->GetBody(&result);
    swapiCheck<IFace2>(hr);
    return result;
}

void faceSetColorValues(IFace2* face2, const VARIANT& values) {
    const HRESULT hr = swapiRequired(face2)->SetColorValues(values);
    swapiCheck<IFace2>(hr);
}

_variant_t edgeGetClosestPoint(IEdge* edge, double x, double y, double z) {
    _variant_t result;
    const HRESULT hr = swapiRequired(edge)->GetClosestPoint(x, y, z, result.GetAddress());
    swapiCheck<IEdge>(hr);
    return result;
}

IDispatchPtr edgeGetCurve(IEdge* edge) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(edge)->GetCurve(&result);
    swapiCheck<IEdge>(hr);
    return result;
}

_variant_t edgeGetTwoFaces(IEdge* edge) {
    _variant_t result;
    const HRESULT hr = swapiRequired(edge)->GetTwoFaces(result.GetAddress());
    swapiCheck<IEdge>(hr);
    return result;
}

_variant_t edgeGetAdjacentFaces(IEdge* edge) {
    _variant_t result;
    const HRESULT hr = swapiRequired(edge)->GetAdjacentFaces(result.GetAddress());
    swapiCheck<IEdge>(hr);
    return result;
}

VARIANT_BOOL entitySelect(IEntity* entity, VARIANT_BOOL append) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(entity)->Select(append, &result);
    swapiCheck<IEntity>(hr);
    return result;
}

VARIANT_BOOL entitySelectWithData(IEntity* entity, VARIANT_BOOL append, IDispatch* data) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(entity)->SelectWithData(append, data, &result);
    swapiCheck<IEntity>(hr);
    return result;
}

VARIANT_BOOL entityCallSlot13(IEntity* entity, long mark) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(entity)->SelectMarked(mark, &result);
    swapiCheck<IEntity>(hr);
    return result;
}

VARIANT_BOOL surfaceIsPlane(ISurface* surface) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(surface)->IsPlane(&result);
    swapiCheck<ISurface>(hr);
    return result;
}

VARIANT_BOOL surfaceIsCylinder(ISurface* surface) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(surface)->IsCylinder(&result);
    swapiCheck<ISurface>(hr);
    return result;
}

VARIANT_BOOL surfaceIsCone(ISurface* surface) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(surface)->IsCone(&result);
    swapiCheck<ISurface>(hr);
    return result;
}

VARIANT_BOOL surfaceIsSphere(ISurface* surface) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(surface)->IsSphere(&result);
    swapiCheck<ISurface>(hr);
    return result;
}

VARIANT_BOOL surfaceIsTorus(ISurface* surface) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(surface)->IsTorus(&result);
    swapiCheck<ISurface>(hr);
    return result;
}

VARIANT_BOOL surfaceIsOffset(ISurface* surface) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(surface)->IsOffset(&result);
    swapiCheck<ISurface>(hr);
    return result;
}

VARIANT_BOOL surfaceIsBlend(ISurface* surface) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(surface)->IsBlend(&result);
    swapiCheck<ISurface>(hr);
    return result;
}

VARIANT_BOOL surfaceIsRevolved(ISurface* surface) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(surface)->IsRevolved(&result);
    swapiCheck<ISurface>(hr);
    return result;
}

VARIANT_BOOL surfaceIsSwept(ISurface* surface) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(surface)->IsSwept(&result);
    swapiCheck<ISurface>(hr);
    return result;
}

VARIANT_BOOL surfaceIsForeign(ISurface* surface) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(surface)->IsForeign(&result);
    swapiCheck<ISurface>(hr);
    return result;
}

_variant_t surfaceGetPlaneData(ISurface* surface) {
    _variant_t result;
    const HRESULT hr = swapiRequired(surface)->GetPlaneData(result.GetAddress());
    swapiCheck<ISurface>(hr);
    return result;
}

_variant_t surfaceQueryPoint(ISurface* surface, double x, double y, double z) {
    _variant_t result;
    const HRESULT hr = swapiRequired(surface)->QueryPoint(x, y, z, result.GetAddress());
    swapiCheck<ISurface>(hr);
    return result;
}

_variant_t surfaceGetClosestPoint(ISurface* surface, double x, double y, double z) {
    _variant_t result;
    const HRESULT hr = swapiRequired(surface)->GetClosestPoint(x, y, z, result.GetAddress());
    swapiCheck<ISurface>(hr);
    return result;
}

VARIANT_BOOL curveIsCircle(ICurve* curve) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(curve)->IsCircle(&result);
    swapiCheck<ICurve>(hr);
    return result;
}

_variant_t curveGetCircleParams(ICurve* curve) {
    _variant_t result;
    const HRESULT hr = swapiRequired(curve)->GetCircleParams(result.GetAddress());
    swapiCheck<ICurve>(hr);
    return result;
}
