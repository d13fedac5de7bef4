// Fixture builders for tests: a session with one open part, and parts with given features
// (sketches and extrusions), built directly in the model so that the session's journal
// stays empty until the test's own calls.
#pragma once

#include "platform/sldworks/session/session.h"

#include <string>

class partFixtureC {
public:
    // A new session with one new part from the template.
    partFixtureC();

    ISldWorks* app() const { return app_; }
    IModelDoc2* doc() const { return doc_; }
    const ISldWorksPtr& appPtr() const { return app_; }
    const IModelDoc2Ptr& docPtr() const { return doc_; }
    testKitC& kit() const { return sessionTestKit(app_); }
    swsim::PartDocument& model() const { return *part_; }

    // A closed rectangle sketch on a plane of the part ("Front Plane", ...), corner (x, y) and
    // size w x h in sketch coordinates; returns the sketch's name. Raises std::runtime_error
    // when the plane is unknown.
    std::string rectangleSketch(const std::string& plane, double x, double y, double w, double h);
    // A circle sketch on a plane of the part; returns the sketch's name.
    std::string circleSketch(const std::string& plane, double cx, double cy, double radius);
    // Extrudes a sketch by name along its normal (a cut against it, unless `reverse`);
    // returns the feature's name. Raises std::runtime_error when the model refuses.
    std::string extrude(const std::string& sketch, double depth, bool cut = false,
                        bool reverse = false);
    // A block [0, w] x [0, h] x [0, d] from a rectangle on the Front Plane; returns the
    // extrusion's name.
    std::string block(double w, double h, double d);

private:
    swsim::SketchPtr openOn(const std::string& plane);

    ISldWorksPtr app_;
    IModelDoc2Ptr doc_;
    swsim::PartDocumentPtr part_;
};
