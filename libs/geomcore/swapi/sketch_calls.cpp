#include "libs/geomcore/swapi/sketch_calls.h"

#include "libs/geomcore/swapi/call_support.h"

_variant_t sketchGetTransformData(ISketch* sketch) {
    _variant_t result;
    const HRESULT hr = swapiRequired(sketch)->GetTransformData(result.GetAddress());
    swapiCheck<ISketch>(hr);
    return result;
}

long sketchGetStatus(ISketch* sketch) {
    long result = 0;
    const HRESULT hr = swapiRequired(sketch)->GetStatus(&result);
    swapiCheck<ISketch>(hr);
    return result;
}

long sketchQueryOnStatusTwo(ISketch* sketch) {
    long result = 0;
    const HRESULT hr = swapiRequired(sketch)->CheckStatus(&result);
    swapiCheck<ISketch>(hr);
    return result;
}

long sketchConstrainAll(ISketch* sketch, long a, long b, long c, long d, long e) {
    long result = 0;
    const HRESULT hr = swapiRequired(sketch)->ConstrainAll(a, b, c, d, e, &result);
    swapiCheck<ISketch>(hr);
    return result;
}

IConstraintManagerPtr sketchGetConstraintManager(ISketch* sketch) {
    IConstraintManagerPtr result;
    const HRESULT hr = swapiRequired(sketch)->GetConstraintManager(&result);
    swapiCheck<ISketch>(hr);
    return result;
}

_variant_t sketchGetPoints(ISketch* sketch) {
    _variant_t result;
    const HRESULT hr = swapiRequired(sketch)->GetPoints(result.GetAddress());
    swapiCheck<ISketch>(hr);
    return result;
}

_variant_t sketchGetSegments(ISketch* sketch) {
    _variant_t result;
    const HRESULT hr = swapiRequired(sketch)->GetSegments(result.GetAddress());
    swapiCheck<ISketch>(hr);
    return result;
}

void segmentSetCenterlineFlag(ISketchSegment* sketchSegment, VARIANT_BOOL centreLine) {
    const HRESULT hr = swapiRequired(sketchSegment)->SetCenterline(centreLine);
    swapiCheck<ISketchSegment>(hr);
}

double sketchPointGetX(ISketchPoint* sketchPoint) {
    double result = 0.0;
    const HRESULT hr = swapiRequired(sketchPoint)->GetX(&result);
    swapiCheck<ISketchPoint>(hr);
    return result;
}

double sketchPointGetY(ISketchPoint* sketchPoint) {
    double result = 0.0;
    const HRESULT hr = swapiRequired(sketchPoint)->GetY(&result);
    swapiCheck<ISketchPoint>(hr);
    return result;
}

double sketchPointGetZ(ISketchPoint* sketchPoint) {
    double result = 0.0;
    const HRESULT hr = swapiRequired(sketchPoint)->GetZ(&result);
    swapiCheck<ISketchPoint>(hr);
    return result;
}

_variant_t constraintMgrGetConstraints(IConstraintManager* constraintManager, long kind) {
    _variant_t result;
    const HRESULT hr = swapiRequired(constraintManager)->GetConstraints(kind, result.GetAddress());
    swapiCheck<IConstraintManager>(hr);
    return result;
}

IDispatchPtr constraintMgrAddConstraint(IConstraintManager* constraintManager,
                                        const VARIANT& entities, long kind) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(constraintManager)->AddConstraint(entities, kind, &result);
    swapiCheck<IConstraintManager>(hr);
    return result;
}

VARIANT_BOOL constraintMgrRemoveConstraint(IConstraintManager* constraintManager,
                                           IDispatch* constraint) {
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = swapiRequired(constraintManager)->RemoveConstraint(constraint, &result);
    swapiCheck<IConstraintManager>(hr);
    return result;
}
