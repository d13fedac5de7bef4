// Thin call wrappers of the sketch interfaces: one function a method. A failed HRESULT is
// raised as _com_error with the interface's IID; a null interface pointer raises E_POINTER.
#pragma once

#include "platform/sldworks/api/sldworks_api.h"

// ISketch
_variant_t sketchGetTransformData(ISketch* sketch);
long sketchGetStatus(ISketch* sketch);
long sketchQueryOnStatusTwo(ISketch* sketch);
long sketchConstrainAll(ISketch* sketch, long a, long b, long c, long d, long e);
IConstraintManagerPtr sketchGetConstraintManager(ISketch* sketch);
_variant_t sketchGetPoints(ISketch* sketch);
_variant_t sketchGetSegments(ISketch* sketch);

// ISketchSegment
void segmentSetCenterlineFlag(ISketchSegment* sketchSegment, VARIANT_BOOL centreLine);

// ISketchPoint
double sketchPointGetX(ISketchPoint* sketchPoint);
double sketchPointGetY(ISketchPoint* sketchPoint);
double sketchPointGetZ(ISketchPoint* sketchPoint);

// IConstraintManager
_variant_t constraintMgrGetConstraints(IConstraintManager* constraintManager, long kind);
IDispatchPtr constraintMgrAddConstraint(IConstraintManager* constraintManager,
                                        const VARIANT& entities, long kind);
VARIANT_BOOL constraintMgrRemoveConstraint(IConstraintManager* constraintManager,
                                           IDispatch* constraint);

// IConstraint
