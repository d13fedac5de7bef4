#include "platform/sldworks/session/context.h"

#include "platform/sldworks/session/configuration_objects.h"
#include "platform/sldworks/session/feature.h"
#include "platform/sldworks/session/sketch_objects.h"
#include "platform/sldworks/session/topology.h"

IDispatchPtr docContextS::wrap(const swsim::ObjectPtr& object) {
    if (!object)
        return IDispatchPtr();
    const auto found = cache.find(object.get());
    if (found != cache.end())
        return found->second;
    const docContextPtr self = shared_from_this();
    IDispatchPtr made;
    switch (object->objectKind()) {
    case swsim::ObjectKind::Feature:
        made.Attach(static_cast<IFeature*>(
            new featureC(self, std::static_pointer_cast<swsim::Feature>(object))));
        break;
    case swsim::ObjectKind::Body:
        made.Attach(
            static_cast<IBody*>(new bodyC(self, std::static_pointer_cast<swsim::Body>(object))));
        break;
    case swsim::ObjectKind::Face:
        made.Attach(
            static_cast<IFace2*>(new faceC(self, std::static_pointer_cast<swsim::Face>(object))));
        break;
    case swsim::ObjectKind::Edge:
        made.Attach(
            static_cast<IEdge*>(new edgeC(self, std::static_pointer_cast<swsim::Edge>(object))));
        break;
    case swsim::ObjectKind::SketchPoint:
        made.Attach(static_cast<ISketchPoint*>(
            new sketchPointC(self, std::static_pointer_cast<swsim::SketchPoint>(object))));
        break;
    case swsim::ObjectKind::SketchSegment:
        made.Attach(static_cast<ISketchSegment*>(
            new sketchSegmentC(self, std::static_pointer_cast<swsim::SketchSegment>(object))));
        break;
    case swsim::ObjectKind::SketchConstraint:
        made.Attach(static_cast<IConstraint*>(
            new constraintC(self, std::static_pointer_cast<swsim::SketchConstraint>(object))));
        break;
    case swsim::ObjectKind::Configuration:
        made.Attach(static_cast<IConfiguration*>(
            new configurationC(self, std::static_pointer_cast<swsim::Configuration>(object))));
        break;
    case swsim::ObjectKind::Dimension:
        made.Attach(static_cast<IDimensionAnnotation*>(
            new dimensionC(self, std::static_pointer_cast<swsim::Dimension>(object))));
        break;
    case swsim::ObjectKind::Component:
        made.Attach(static_cast<IComponent*>(
            new componentC(self, std::static_pointer_cast<swsim::Component>(object))));
        break;
    }
    cache.emplace(object.get(), made);
    return made;
}

swsim::ObjectPtr modelObjectOf(IUnknown* object) {
    const auto* holder = dynamic_cast<const modelObjectHolderI*>(object);
    return holder != nullptr ? holder->modelObject() : nullptr;
}
