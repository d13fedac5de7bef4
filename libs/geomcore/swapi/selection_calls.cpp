#include "libs/geomcore/swapi/selection_calls.h"

#include "libs/geomcore/swapi/call_support.h"

IDispatchPtr selMgrCreateSelectionData(ISelectionManager* selectionManager) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(selectionManager)->CreateSelectionData(&result);
    swapiCheck<ISelectionManager>(hr);
    return result;
}

IDispatchPtr selMgrGetSelectedObject(ISelectionManager* selectionManager, long index) {
    IDispatchPtr result;
    const HRESULT hr = swapiRequired(selectionManager)->GetSelectedObject(index, &result);
    swapiCheck<ISelectionManager>(hr);
    return result;
}

void selDataSetX(ISelectionData* selectionData, double value) {
    const HRESULT hr = swapiRequired(selectionData)->SetX(value);
    swapiCheck<ISelectionData>(hr);
}

void selDataSetY(ISelectionData* selectionData, double value) {
    const HRESULT hr = swapiRequired(selectionData)->SetY(value);
    swapiCheck<ISelectionData>(hr);
}

void selDataSetZ(ISelectionData* selectionData, double value) {
    const HRESULT hr = swapiRequired(selectionData)->SetZ(value);
    swapiCheck<ISelectionData>(hr);
}
