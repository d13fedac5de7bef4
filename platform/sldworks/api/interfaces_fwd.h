// Forward declarations of every interface of the simulated SolidWorks, so that the
// interface headers can name each other in their signatures.
#pragma once

struct ISldWorks;
struct IModelDoc2;
struct IPartDoc;
struct IAssemblyDoc;
struct IDocExtension;
struct IFeatureManager;
struct IFeature;
struct IRefPlane;
struct ILinearPatternData;
struct ICircularPatternData;
struct IDimensionAnnotation;
struct IDimension;
struct IBodyObject;
struct IBody;
struct IFaceObject;
struct IFace2;
struct IEdge;
struct IEntity;
struct ISurface;
struct ICurve;
struct ISketch;
struct ISketchSegment;
struct ISketchPoint;
struct IConstraintManager;
struct IConstraint;
struct ISelectionManager;
struct ISelectionData;
struct IStateObject;
struct IMassProperty;
struct IConfigurationManager;
struct IConfiguration;
struct IComponent;
struct IComponentObject;
struct ICustomPropertyManager;
