// Bodies, faces, edges, selectable entities, surfaces and curves.
// COM style: every method returns an HRESULT and gives its results through out-parameters;
// VARIANT_BOOL true is -1, object arrays are VARIANTs of VT_ARRAY|VT_DISPATCH, point answers
// VARIANTs of VT_ARRAY|VT_R8.
#pragma once

#include "platform/com/com.h"
#include "platform/sldworks/api/interfaces_fwd.h"

// Body (older interface).
struct IBodyObject : IDispatch {
    virtual HRESULT GetFirstFace(IDispatch** face) = 0;
};
COM_DECLARE_IID(IBodyObject, "{83A33D3C-27C5-11CE-BFD4-00400513BB57}");
typedef _com_ptr_t<IBodyObject> IBodyObjectPtr;

// Body.
struct IBody : IDispatch {
    virtual HRESULT GetFaceCount(long* count) = 0;
    virtual HRESULT GetFirstFace(IDispatch** face) = 0;
    virtual HRESULT GetEdges(VARIANT* edges) = 0;
    // Slot 136: select.
    virtual HRESULT SelectBody(VARIANT_BOOL append, IDispatch* data, VARIANT_BOOL* selected) = 0;
};
COM_DECLARE_IID(IBody, "{3A075BFD-9962-4431-8321-7AF4903C55AD}");
typedef _com_ptr_t<IBody> IBodyPtr;

// Face (older interface).
struct IFaceObject : IDispatch {
    virtual HRESULT GetNextFace(IDispatch** face) = 0;
    virtual HRESULT GetSurface(IDispatch** surface) = 0;
    virtual HRESULT GetEdges(VARIANT* edges) = 0;
};
COM_DECLARE_IID(IFaceObject, "{83A33D3E-27C5-11CE-BFD4-00400513BB57}");
typedef _com_ptr_t<IFaceObject> IFaceObjectPtr;

// Face.
struct IFace2 : IDispatch {
    virtual HRESULT GetNextFace(IDispatch** face) = 0;
    virtual HRESULT GetSurface(IDispatch** surface) = 0;
    virtual HRESULT GetEdges(VARIANT* edges) = 0;
    // Outward normal of a planar face; empty for others.
    virtual HRESULT GetNormal(VARIANT* normal) = 0;
    virtual HRESULT GetClosestPoint(double x, double y, double z, VARIANT* point) = 0;
    virtual HRESULT GetBody(IDispatch** body) = 0;
    virtual HRESULT SetColorValues(VARIANT values) = 0;
};
COM_DECLARE_IID(IFace2, "{4E0B2B4A-5C1D-4F7E-9A21-6D0C3E8F1A05}");
typedef _com_ptr_t<IFace2> IFace2Ptr;

// Edge.
struct IEdge : IDispatch {
    // Clamped to the edge.
    virtual HRESULT GetClosestPoint(double x, double y, double z, VARIANT* point) = 0;
    virtual HRESULT GetCurve(IDispatch** curve) = 0;
    virtual HRESULT GetTwoFaces(VARIANT* faces) = 0;
    virtual HRESULT GetAdjacentFaces(VARIANT* faces) = 0;
};
COM_DECLARE_IID(IEdge, "{83A33D42-27C5-11CE-BFD4-00400513BB57}");
typedef _com_ptr_t<IEdge> IEdgePtr;

// Selectable entity.
struct IEntity : IDispatch {
    virtual HRESULT Select(VARIANT_BOOL append, VARIANT_BOOL* selected) = 0;
    // Data may be null.
    virtual HRESULT SelectWithData(VARIANT_BOOL append, IDispatch* data,
                                   VARIANT_BOOL* selected) = 0;
    // Slot 13: select.
    virtual HRESULT SelectMarked(long mark, VARIANT_BOOL* selected) = 0;
};
COM_DECLARE_IID(IEntity, "{83A33D65-27C5-11CE-BFD4-00400513BB57}");
typedef _com_ptr_t<IEntity> IEntityPtr;

// Surface of a face.
struct ISurface : IDispatch {
    virtual HRESULT IsPlane(VARIANT_BOOL* result) = 0;
    virtual HRESULT IsCylinder(VARIANT_BOOL* result) = 0;
    virtual HRESULT IsCone(VARIANT_BOOL* result) = 0;
    virtual HRESULT IsSphere(VARIANT_BOOL* result) = 0;
    virtual HRESULT IsTorus(VARIANT_BOOL* result) = 0;
    virtual HRESULT IsOffset(VARIANT_BOOL* result) = 0;
    virtual HRESULT IsBlend(VARIANT_BOOL* result) = 0;
    virtual HRESULT IsRevolved(VARIANT_BOOL* result) = 0;
    virtual HRESULT IsSwept(VARIANT_BOOL* result) = 0;
    virtual HRESULT IsForeign(VARIANT_BOOL* result) = 0;
    // Normal 0-2, root point 3-5.
    virtual HRESULT GetPlaneData(VARIANT* data) = 0;
    // Array when the point lies on the face.
    virtual HRESULT QueryPoint(double x, double y, double z, VARIANT* point) = 0;
    virtual HRESULT GetClosestPoint(double x, double y, double z, VARIANT* point) = 0;
};
COM_DECLARE_IID(ISurface, "{83A33D40-27C5-11CE-BFD4-00400513BB57}");
typedef _com_ptr_t<ISurface> ISurfacePtr;

// Curve of an edge.
struct ICurve : IDispatch {
    virtual HRESULT IsCircle(VARIANT_BOOL* result) = 0;
    // Centre 0-2, axis 3-5, radius 6.
    virtual HRESULT GetCircleParams(VARIANT* params) = 0;
};
COM_DECLARE_IID(ICurve, "{83A33D44-27C5-11CE-BFD4-00400513BB57}");
typedef _com_ptr_t<ICurve> ICurvePtr;
