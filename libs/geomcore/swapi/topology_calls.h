// Thin call wrappers of the topology interfaces: one function a method. A failed HRESULT is
// raised as _com_error with the interface's IID; a null interface pointer raises E_POINTER.
#pragma once

#include "platform/sldworks/api/sldworks_api.h"

// IBodyObject
IDispatchPtr bodyObjectGetFirstFace(IBodyObject* bodyObject);

// IBody
long bodyGetFaceCount(IBody* body);
IDispatchPtr bodyGetFirstFace(IBody* body);
_variant_t bodyGetEdges(IBody* body);
VARIANT_BOOL bodyCallSlot136(IBody* body, VARIANT_BOOL append, IDispatch* data);

// IFaceObject
IDispatchPtr faceObjectGetNext(IFaceObject* faceObject);
IDispatchPtr faceObjectGetSurface(IFaceObject* faceObject);
_variant_t faceGetEdgeList(IFaceObject* faceObject);

// IFace2
IDispatchPtr faceGetNextFace(IFace2* face2);
IDispatchPtr faceGetSurface(IFace2* face2);
_variant_t faceGetEdges(IFace2* face2);
_variant_t faceGetNormal(IFace2* face2);
_variant_t faceGetClosestPoint(IFace2* face2, double x, double y, double z);
IDispatchPtr faceGetBody(IFace2* face2);
void faceSetColorValues(IFace2* face2, const VARIANT& values);

// IEdge
_variant_t edgeGetClosestPoint(IEdge* edge, double x, double y, double z);
IDispatchPtr edgeGetCurve(IEdge* edge);
_variant_t edgeGetTwoFaces(IEdge* edge);
_variant_t edgeGetAdjacentFaces(IEdge* edge);

// IEntity
VARIANT_BOOL entitySelect(IEntity* entity, VARIANT_BOOL append);
VARIANT_BOOL entitySelectWithData(IEntity* entity, VARIANT_BOOL append, IDispatch* data);
VARIANT_BOOL entityCallSlot13(IEntity* entity, long mark);

// ISurface
VARIANT_BOOL surfaceIsPlane(ISurface* surface);
VARIANT_BOOL surfaceIsCylinder(ISurface* surface);
VARIANT_BOOL surfaceIsCone(ISurface* surface);
VARIANT_BOOL surfaceIsSphere(ISurface* surface);
VARIANT_BOOL surfaceIsTorus(ISurface* surface);
VARIANT_BOOL surfaceIsOffset(ISurface* surface);
VARIANT_BOOL surfaceIsBlend(ISurface* surface);
VARIANT_BOOL surfaceIsRevolved(ISurface* surface);
VARIANT_BOOL surfaceIsSwept(ISurface* surface);
VARIANT_BOOL surfaceIsForeign(ISurface* surface);
_variant_t surfaceGetPlaneData(ISurface* surface);
_variant_t surfaceQueryPoint(ISurface* surface, double x, double y, double z);
_variant_t surfaceGetClosestPoint(ISurface* surface, double x, double y, double z);

// ICurve
VARIANT_BOOL curveIsCircle(ICurve* curve);
_variant_t curveGetCircleParams(ICurve* curve);
