#include "platform/sldworks/testkit/fixtures.h"

#include <stdexcept>

partBuilderC::partBuilderC(swsim::PartDocumentPtr part) : part_(std::move(part)) {}

swsim::SketchPtr partBuilderC::openOn(const std::string& plane) {
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

std::string partBuilderC::rectangleSketch(const std::string& plane, double x, double y, double w,
                                          double h) {
    const swsim::SketchPtr sketch = openOn(plane);
    const swsim::Vec3 corners[4] = {{x, y, 0}, {x + w, y, 0}, {x + w, y + h, 0}, {x, y + h, 0}};
    for (int i = 0; i < 4; ++i)
        sketch->addLine(corners[i], corners[(i + 1) % 4]);
    part_->closeSketch();
    return sketch->name();
}

std::string partBuilderC::circleSketch(const std::string& plane, double cx, double cy,
                                       double radius) {
    const swsim::SketchPtr sketch = openOn(plane);
    sketch->addCircle({cx, cy, 0}, radius);
    part_->closeSketch();
    return sketch->name();
}

namespace {

std::string extrudeIn(swsim::PartDocument& part, const std::string& sketch, double depth, bool cut,
                      bool reverse, bool merge) {
    const auto profile = std::dynamic_pointer_cast<swsim::Sketch>(part.findFeature(sketch));
    if (!profile)
        throw std::runtime_error("fixture: no sketch \"" + sketch + "\"");
    swsim::ExtrudeSpec request;
    request.cut = cut;
    request.reverse = reverse;
    request.depth1 = depth;
    request.merge = merge;
    const swsim::SolidFeaturePtr feature = part.addExtrusion(profile, request);
    if (!feature)
        throw std::runtime_error("fixture: extrusion refused: " + part.lastError());
    return feature->name();
}

} // namespace

std::string partBuilderC::extrude(const std::string& sketch, double depth, bool cut, bool reverse) {
    return extrudeIn(*part_, sketch, depth, cut, reverse, true);
}

std::string partBuilderC::block(double w, double h, double d) {
    return extrude(rectangleSketch("Front Plane", 0, 0, w, h), d);
}

std::string partBuilderC::separateBlock(double x, double y, double w, double h, double d) {
    return extrudeIn(*part_, rectangleSketch("Front Plane", x, y, w, h), d, false, false, false);
}

void partBuilderC::configuration(const std::string& name) {
    const std::string active = part_->activeConfiguration()->name();
    if (!part_->addConfiguration(name))
        throw std::runtime_error("fixture: configuration \"" + name + "\" refused");
    part_->showConfiguration(active);
}

void partBuilderC::suppress(const std::string& feature,
                            const std::vector<std::string>& configurations) {
    if (!part_->setSuppression(part_->findFeature(feature), true, configurations))
        throw std::runtime_error("fixture: cannot suppress \"" + feature + "\"");
}

void partBuilderC::addDimension(const std::string& feature, const std::string& name, int type,
                                double value) {
    if (!part_->addDimension(part_->findFeature(feature), name, type, value))
        throw std::runtime_error("fixture: dimension \"" + name + "\" refused");
}

void partBuilderC::dimension(const std::string& fullName, double value,
                             const std::vector<std::string>& configurations) {
    if (!part_->setDimensionValue(part_->findDimension(fullName), value, configurations))
        throw std::runtime_error("fixture: cannot set dimension \"" + fullName + "\"");
}

void partBuilderC::property(const std::string& configuration, const std::string& name,
                            const std::string& value, long type) {
    if (!part_->addCustomProperty(configuration, name, type, value))
        throw std::runtime_error("fixture: custom property \"" + name + "\" refused");
}

void partBuilderC::save(const std::string& path) {
    part_->save(path);
}

partFixtureC::partFixtureC()
    : partBuilderC(swsim::PartDocument::create()), app_(createSimulatedSldWorks()) {
    doc_ = sessionAddPart(app_, part_);
}

assemblyFixtureC::assemblyFixtureC(const std::string& folder, const std::vector<blockPartS>& parts,
                                   const std::vector<std::string>& components,
                                   const std::string& assembly)
    : folder_(folder), app_(createSimulatedSldWorks()),
      assembly_(swsim::AssemblyDocument::create()) {
    for (const auto& request : parts) {
        partBuilderC part(swsim::PartDocument::create());
        part.block(request.w, request.h, request.d);
        part.save(partPath(request.name));
    }
    for (const auto& name : components)
        assembly_->addComponent(partPath(name));
    assembly_->save(folder_ + "/" + assembly + ".sldasm");
    doc_ = sessionAddAssembly(app_, assembly_);
}

std::string assemblyFixtureC::partPath(const std::string& name) const {
    return folder_ + "/" + name + ".sldprt";
}
