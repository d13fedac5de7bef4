// Base of every object of the model that callers hold, select and compare by pointer:
// features (planes, sketches, solid features, ...), bodies, faces, edges, sketch entities,
// configurations, dimensions and assembly components.
#pragma once

#include <memory>

namespace swsim {

enum class ObjectKind {
    Feature, // includes reference planes, axes and sketches (see Feature::kind)
    Body,
    Face,
    Edge,
    SketchPoint,
    SketchSegment,
    SketchConstraint,
    Configuration,
    Dimension,
    Component,
};

class Object : public std::enable_shared_from_this<Object> {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    virtual ObjectKind objectKind() const = 0;
};

using ObjectPtr = std::shared_ptr<Object>;

// Downcast helper: the object as T, or null when it is not one.
template <class T> std::shared_ptr<T> objectAs(const ObjectPtr& object) {
    return std::dynamic_pointer_cast<T>(object);
}

} // namespace swsim
