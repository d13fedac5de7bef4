// Session objects of the part's topology: bodies, faces and edges (cached, one per model
// object), and the surfaces and curves they hand out (new on each call).
#pragma once

#include "platform/sldworks/session/doc_object.h"

class bodyC final : public bodyStubsT<bodyObjectStubsT<docObjectT<bodyC, IBody, IBodyObject>>>,
                    public modelObjectHolderI {
public:
    bodyC(const docContextPtr& context, swsim::BodyPtr body);
    swsim::ObjectPtr modelObject() const override { return body_; }

    HRESULT GetFaceCount(long* count) override;
    HRESULT GetFirstFace(IDispatch** face) override;
    HRESULT GetEdges(VARIANT* edges) override;
    HRESULT SelectBody(VARIANT_BOOL append, IDispatch* data, VARIANT_BOOL* selected) override;

private:
    swsim::BodyPtr body_;
};

class faceC final
    : public face2StubsT<
          faceObjectStubsT<entityStubsT<docObjectT<faceC, IFace2, IFaceObject, IEntity>>>>,
      public modelObjectHolderI {
public:
    faceC(const docContextPtr& context, swsim::FacePtr face);
    swsim::ObjectPtr modelObject() const override { return face_; }

    HRESULT GetNextFace(IDispatch** face) override;
    HRESULT GetSurface(IDispatch** surface) override;
    HRESULT GetEdges(VARIANT* edges) override;
    HRESULT GetNormal(VARIANT* normal) override;
    HRESULT GetClosestPoint(double x, double y, double z, VARIANT* point) override;
    HRESULT GetBody(IDispatch** body) override;
    HRESULT Select(VARIANT_BOOL append, VARIANT_BOOL* selected) override;
    HRESULT SelectWithData(VARIANT_BOOL append, IDispatch* data, VARIANT_BOOL* selected) override;
    HRESULT SelectMarked(long mark, VARIANT_BOOL* selected) override;
    HRESULT SetColorValues(VARIANT values) override;

private:
    swsim::FacePtr face_;
};

class edgeC final : public edgeStubsT<entityStubsT<docObjectT<edgeC, IEdge, IEntity>>>,
                    public modelObjectHolderI {
public:
    edgeC(const docContextPtr& context, swsim::EdgePtr edge);
    swsim::ObjectPtr modelObject() const override { return edge_; }

    HRESULT GetClosestPoint(double x, double y, double z, VARIANT* point) override;
    HRESULT GetCurve(IDispatch** curve) override;
    HRESULT GetTwoFaces(VARIANT* faces) override;
    HRESULT GetAdjacentFaces(VARIANT* faces) override;
    HRESULT Select(VARIANT_BOOL append, VARIANT_BOOL* selected) override;
    HRESULT SelectWithData(VARIANT_BOOL append, IDispatch* data, VARIANT_BOOL* selected) override;
    HRESULT SelectMarked(long mark, VARIANT_BOOL* selected) override;

private:
    swsim::EdgePtr edge_;
};

// The surface of one face: its kind tests answer from the underlying surface, its point
// query from the face's bounded extent.
class surfaceC final : public surfaceStubsT<docObjectT<surfaceC, ISurface>> {
public:
    surfaceC(const docContextPtr& context, swsim::FacePtr face);

    HRESULT IsPlane(VARIANT_BOOL* result) override;
    HRESULT IsCylinder(VARIANT_BOOL* result) override;
    HRESULT IsCone(VARIANT_BOOL* result) override;
    HRESULT IsSphere(VARIANT_BOOL* result) override;
    HRESULT IsTorus(VARIANT_BOOL* result) override;
    HRESULT IsOffset(VARIANT_BOOL* result) override;
    HRESULT IsBlend(VARIANT_BOOL* result) override;
    HRESULT IsRevolved(VARIANT_BOOL* result) override;
    HRESULT IsSwept(VARIANT_BOOL* result) override;
    HRESULT IsForeign(VARIANT_BOOL* result) override;
    HRESULT GetPlaneData(VARIANT* data) override;
    HRESULT QueryPoint(double x, double y, double z, VARIANT* point) override;
    HRESULT GetClosestPoint(double x, double y, double z, VARIANT* point) override;

private:
    HRESULT kindTest(const char* key, swsim::SurfaceKind kind, VARIANT_BOOL* result);
    swsim::FacePtr face_;
};

class curveC final : public curveStubsT<docObjectT<curveC, ICurve>> {
public:
    curveC(const docContextPtr& context, swsim::EdgePtr edge);

    HRESULT IsCircle(VARIANT_BOOL* result) override;
    HRESULT GetCircleParams(VARIANT* params) override;

private:
    swsim::EdgePtr edge_;
};

// Selects a face or edge with an optional pick point from a selection-data object.
HRESULT selectEntity(docContextS& context, const swsim::ObjectPtr& entity, VARIANT_BOOL append,
                     IDispatch* data, VARIANT_BOOL* selected);
