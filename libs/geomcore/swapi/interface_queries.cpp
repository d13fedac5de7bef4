#include "libs/geomcore/swapi/interface_queries.h"

void featurePtrFromUnknown(IFeaturePtr& feature, IUnknown* object) {
    feature = queryInterfaceOf<IFeature>(object);
}

void sketchPtrFromVariant(ISketchPtr& sketch, IUnknown* object) {
    sketch = queryInterfaceOf<ISketch>(object);
}

void sketchPtrFromVariant(ISketchPtr& sketch, const VARIANT& object) {
    sketch = ISketchPtr(object);
}
