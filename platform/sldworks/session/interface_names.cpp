#include "platform/sldworks/session/interface_names.h"

#include "platform/sldworks/api/sldworks_api.h"

const char* sessionInterfaceName(REFIID iid) {
    if (iid == uuidOf<ISldWorks>())
        return "ISldWorks";
    if (iid == uuidOf<IModelDoc2>())
        return "IModelDoc2";
    if (iid == uuidOf<IPartDoc>())
        return "IPartDoc";
    if (iid == uuidOf<IAssemblyDoc>())
        return "IAssemblyDoc";
    if (iid == uuidOf<IDocExtension>())
        return "IDocExtension";
    if (iid == uuidOf<IFeatureManager>())
        return "IFeatureManager";
    if (iid == uuidOf<IFeature>())
        return "IFeature";
    if (iid == uuidOf<IRefPlane>())
        return "IRefPlane";
    if (iid == uuidOf<ILinearPatternData>())
        return "ILinearPatternData";
    if (iid == uuidOf<ICircularPatternData>())
        return "ICircularPatternData";
    if (iid == uuidOf<IDimensionAnnotation>())
        return "IDimensionAnnotation";
    if (iid == uuidOf<IDimension>())
        return "IDimension";
    if (iid == uuidOf<IBodyObject>())
        return "IBodyObject";
    if (iid == uuidOf<IBody>())
        return "IBody";
    if (iid == uuidOf<IFaceObject>())
        return "IFaceObject";
    if (iid == uuidOf<IFace2>())
        return "IFace2";
    if (iid == uuidOf<IEdge>())
        return "IEdge";
    if (iid == uuidOf<IEntity>())
        return "IEntity";
    if (iid == uuidOf<ISurface>())
        return "ISurface";
    if (iid == uuidOf<ICurve>())
        return "ICurve";
    if (iid == uuidOf<ISketch>())
        return "ISketch";
    if (iid == uuidOf<ISketchSegment>())
        return "ISketchSegment";
    if (iid == uuidOf<ISketchPoint>())
        return "ISketchPoint";
    if (iid == uuidOf<IConstraintManager>())
        return "IConstraintManager";
    if (iid == uuidOf<IConstraint>())
        return "IConstraint";
    if (iid == uuidOf<ISelectionManager>())
        return "ISelectionManager";
    if (iid == uuidOf<ISelectionData>())
        return "ISelectionData";
    if (iid == uuidOf<IStateObject>())
        return "IStateObject";
    if (iid == uuidOf<IMassProperty>())
        return "IMassProperty";
    if (iid == uuidOf<IConfigurationManager>())
        return "IConfigurationManager";
    if (iid == uuidOf<IConfiguration>())
        return "IConfiguration";
    if (iid == uuidOf<IComponent>())
        return "IComponent";
    if (iid == uuidOf<IComponentObject>())
        return "IComponentObject";
    if (iid == uuidOf<ICustomPropertyManager>())
        return "ICustomPropertyManager";
    if (iid == IID_IDispatch)
        return "IDispatch";
    if (iid == IID_IUnknown)
        return "IUnknown";
    return "";
}
