// Fixture builders for tests: parts with given features (sketches, extrusions), bodies,
// configurations, dimensions and custom properties, built directly in the model so that the
// session's journal stays empty until the test's own calls; a session with one open part;
// and a session with an assembly of saved block parts.
#pragma once

#include "platform/sldworks/session/session.h"

#include <string>
#include <vector>

// Builds into a model part. Every builder raises std::runtime_error when the model refuses.
class partBuilderC {
public:
    explicit partBuilderC(swsim::PartDocumentPtr part);

    swsim::PartDocument& model() const { return *part_; }
    const swsim::PartDocumentPtr& modelPtr() const { return part_; }

    // A closed rectangle sketch on a plane of the part ("Front Plane", ...), corner (x, y) and
    // size w x h in sketch coordinates; returns the sketch's name.
    std::string rectangleSketch(const std::string& plane, double x, double y, double w, double h);
    // A circle sketch on a plane of the part; returns the sketch's name.
    std::string circleSketch(const std::string& plane, double cx, double cy, double radius);
    // Extrudes a sketch by name along its normal (a cut against it, unless `reverse`);
    // returns the feature's name (its depth is the dimension "D1@<name>").
    std::string extrude(const std::string& sketch, double depth, bool cut = false,
                        bool reverse = false);
    // A block [0, w] x [0, h] x [0, d] from a rectangle on the Front Plane; returns the
    // extrusion's name.
    std::string block(double w, double h, double d);
    // A block [x, x + w] x [y, y + h] x [0, d] kept as a body of its own; returns the
    // extrusion's name.
    std::string separateBlock(double x, double y, double w, double h, double d);

    // A configuration added after the existing ones; the active configuration stays active.
    void configuration(const std::string& name);
    // Suppresses a feature in the named configurations (all of them when none are named).
    void suppress(const std::string& feature, const std::vector<std::string>& configurations);
    // A further dimension of a feature (type 2 linear, 3 angular).
    void addDimension(const std::string& feature, const std::string& name, int type, double value);
    // Sets a dimension by full name ("D1@Boss-Extrude1") in the named configurations, or
    // the document's value when none are named.
    void dimension(const std::string& fullName, double value,
                   const std::vector<std::string>& configurations = {});
    // A custom property of the document (configuration "") or of a configuration; type 30
    // text, 3 number.
    void property(const std::string& configuration, const std::string& name,
                  const std::string& value, long type = 30);
    void save(const std::string& path);

protected:
    swsim::SketchPtr openOn(const std::string& plane);

    swsim::PartDocumentPtr part_;
};

class partFixtureC : public partBuilderC {
public:
    // A new session with one new part from the template.
    partFixtureC();

    ISldWorks* app() const { return app_; }
    IModelDoc2* doc() const { return doc_; }
    const ISldWorksPtr& appPtr() const { return app_; }
    const IModelDoc2Ptr& docPtr() const { return doc_; }
    testKitC& kit() const { return sessionTestKit(app_); }

private:
    ISldWorksPtr app_;
    IModelDoc2Ptr doc_;
};

struct blockPartS {
    std::string name; // the file is "<name>.sldprt"
    double w = 10.0;
    double h = 10.0;
    double d = 10.0;
};

class assemblyFixtureC {
public:
    // Saves each part as "<folder>/<name>.sldprt" (a block w x h x d), then an assembly
    // "<folder>/<assembly>.sldasm" with one component per name in `components` (a name
    // given twice makes two components of one part), and opens the assembly in a new
    // session, which loads the parts as its components' documents.
    assemblyFixtureC(const std::string& folder, const std::vector<blockPartS>& parts,
                     const std::vector<std::string>& components,
                     const std::string& assembly = "Assembly");

    ISldWorks* app() const { return app_; }
    IModelDoc2* doc() const { return doc_; }
    const ISldWorksPtr& appPtr() const { return app_; }
    const IModelDoc2Ptr& docPtr() const { return doc_; }
    testKitC& kit() const { return sessionTestKit(app_); }
    swsim::AssemblyDocument& model() const { return *assembly_; }
    std::string partPath(const std::string& name) const;
    const std::string& path() const { return assembly_->path(); }

private:
    std::string folder_;
    ISldWorksPtr app_;
    IModelDoc2Ptr doc_;
    swsim::AssemblyDocumentPtr assembly_;
};
