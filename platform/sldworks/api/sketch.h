// Sketches, their segments and points, and sketch constraints.
// COM style: every method returns an HRESULT and gives its results through out-parameters;
// VARIANT_BOOL true is -1, object arrays are VARIANTs of VT_ARRAY|VT_DISPATCH, point answers
// VARIANTs of VT_ARRAY|VT_R8.
#pragma once

#include "platform/com/com.h"
#include "platform/sldworks/api/interfaces_fwd.h"

// Sketch.
struct ISketch : IDispatch {
    // Model-to-sketch transform, 16 doubles.
    virtual HRESULT GetTransformData(VARIANT* data) = 0;
    virtual HRESULT GetStatus(long* status) = 0;
    virtual HRESULT CheckStatus(long* result) = 0;
    virtual HRESULT ConstrainAll(long a, long b, long c, long d, long e, long* result) = 0;
    virtual HRESULT GetConstraintManager(IConstraintManager** manager) = 0;
    virtual HRESULT GetPoints(VARIANT* points) = 0;
    virtual HRESULT GetSegments(VARIANT* segments) = 0;
};
COM_DECLARE_IID(ISketch, "{83A33D51-27C5-11CE-BFD4-00400513BB57}");
typedef _com_ptr_t<ISketch> ISketchPtr;

// Sketch segment.
struct ISketchSegment : IDispatch {
    virtual HRESULT SetCenterline(VARIANT_BOOL centreLine) = 0;
};
COM_DECLARE_IID(ISketchSegment, "{83A33DBF-27C5-11CE-BFD4-00400513BB57}");
typedef _com_ptr_t<ISketchSegment> ISketchSegmentPtr;

// Sketch point.
struct ISketchPoint : IDispatch {
    virtual HRESULT GetX(double* value) = 0;
    virtual HRESULT GetY(double* value) = 0;
    virtual HRESULT GetZ(double* value) = 0;
};
COM_DECLARE_IID(ISketchPoint, "{83A33DBD-27C5-11CE-BFD4-00400513BB57}");
typedef _com_ptr_t<ISketchPoint> ISketchPointPtr;

// Sketch constraint manager.
struct IConstraintManager : IDispatch {
    virtual HRESULT GetConstraints(long kind, VARIANT* constraints) = 0;
    virtual HRESULT AddConstraint(VARIANT entities, long kind, IDispatch** constraint) = 0;
    virtual HRESULT RemoveConstraint(IDispatch* constraint, VARIANT_BOOL* removed) = 0;
};
COM_DECLARE_IID(IConstraintManager, "{D5F6D2C9-79D6-4CC8-AD19-DFF1AED88FE5}");
typedef _com_ptr_t<IConstraintManager> IConstraintManagerPtr;

// Sketch constraint.
struct IConstraint : IDispatch {
    virtual HRESULT GetKind(long* kind) = 0;
};
COM_DECLARE_IID(IConstraint, "{7033EA1B-744A-44F3-A2B4-E450D4C99F0E}");
typedef _com_ptr_t<IConstraint> IConstraintPtr;
