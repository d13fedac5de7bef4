#include "platform/sldworks/testkit/fixtures.h"

#include <stdexcept>

partFixtureC::partFixtureC()
    : app_(createSimulatedSldWorks()), part_(swsim::PartDocument::create()) {
    doc_ = sessionAddPart(app_, part_);
}

swsim::SketchPtr partFixtureC::openOn(const std::string& plane) {
    const auto reference = std::dynamic_pointer_cast<swsim::RefPlane>(part_->findFeature(plane));
    if (!reference)
        throw std::runtime_error("fixture: no plane \"" + plane + "\"");
    if (part_->activeSketch())
        part_->closeSketch();
    swsim::SketchPtr sketch = part_->openSketch(reference);
    if (!sketch)
        throw std::runtime_error("fixture: cannot open a sketch on \"" + plane + "\"");
    return sketch;
}

std::string partFixtureC::rectangleSketch(const std::string& plane, double x, double y, double w,
                                          double h) {
    const swsim::SketchPtr sketch = openOn(plane);
    const swsim::Vec3 corners[4] = {{x, y, 0}, {x + w, y, 0}, {x + w, y + h, 0}, {x, y + h, 0}};
    for (int i = 0; i < 4; ++i)
        sketch->addLine(corners[i], corners[(i + 1) % 4]);
    part_->closeSketch();
    return sketch->name();
}

std::string partFixtureC::circleSketch(const std::string& plane, double cx, double cy,
                                       double radius) {
    const swsim::SketchPtr sketch = openOn(plane);
    sketch->addCircle({cx, cy, 0}, radius);
    part_->closeSketch();
    return sketch->name();
}

std::string partFixtureC::extrude(const std::string& sketch, double depth, bool cut, bool reverse) {
    const auto profile = std::dynamic_pointer_cast<swsim::Sketch>(part_->findFeature(sketch));
    if (!profile)
        throw std::runtime_error("fixture: no sketch \"" + sketch + "\"");
    swsim::ExtrudeSpec spec;
    spec.cut = cut;
    spec.reverse = reverse;
    spec.depth1 = depth;
    const swsim::SolidFeaturePtr feature = part_->addExtrusion(profile, spec);
    if (!feature)
        throw std::runtime_error("fixture: extrusion refused: " + part_->lastError());
    return feature->name();
}

std::string partFixtureC::block(double w, double h, double d) {
    return extrude(rectangleSketch("Front Plane", 0, 0, w, h), d);
}
