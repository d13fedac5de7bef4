// QueryInterface helpers of the callers: E_NOINTERFACE is no error and leaves the result
// empty; any other failure raises _com_error with the IID asked for.
#pragma once

#include "platform/sldworks/api/sldworks_api.h"

// The object as I, or empty.
template <class I> _com_ptr_t<I> queryInterfaceOf(IUnknown* object) {
    return _com_ptr_t<I>(object);
}

// The object as I; a null object or a refused query raises E_POINTER with I's IID.
template <class I> _com_ptr_t<I> requireInterfaceOf(IUnknown* object) {
    _com_ptr_t<I> result(object);
    if (!result)
        _com_issue_errorex(E_POINTER, nullptr, uuidOf<I>());
    return result;
}

// QueryInterface for IFeature; E_NOINTERFACE leaves `feature` empty.
void featurePtrFromUnknown(IFeaturePtr& feature, IUnknown* object);
// QueryInterface for ISketch; E_NOINTERFACE leaves `sketch` empty, other failures raise.
void sketchPtrFromVariant(ISketchPtr& sketch, IUnknown* object);
void sketchPtrFromVariant(ISketchPtr& sketch, const VARIANT& object);
