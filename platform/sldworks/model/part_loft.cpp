// Lofts of a PartDocument: a solid through the closed profiles of several sketches, the
// session's answer to the sweep calls.
#include "platform/sldworks/model/part_document.h"

#include "platform/sldworks/model/modules.h"
#include "platform/sldworks/model/part_impl.h"
#include "platform/sldworks/model/profile.h"

#include <BRepGProp.hxx>
#include <BRepTools.hxx>
#include <GProp_GProps.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Wire.hxx>

#include <cmath>

namespace swsim {

namespace {

// The one boundary of a sketch's profile; false with `error` when the sketch gives no face,
// several faces or a face with holes (a loft section is one closed contour).
bool profileWire(const Sketch& sketch, TopoDS_Wire& wire, std::string& error) {
    TopoDS_Shape profile;
    if (!detail::buildProfile(sketch, profile, error))
        return false;
    TopoDS_Face face;
    int faces = 0;
    for (TopExp_Explorer e(profile, TopAbs_FACE); e.More(); e.Next(), ++faces)
        face = TopoDS::Face(e.Current());
    int wires = 0;
    for (TopExp_Explorer e(face, TopAbs_WIRE); faces == 1 && e.More(); e.Next())
        ++wires;
    if (faces != 1 || wires != 1) {
        error = "the profile of " + sketch.name() + " is not one contour without holes";
        return false;
    }
    wire = BRepTools::OuterWire(face);
    return true;
}

bool loftTool(const std::vector<SketchPtr>& profiles, TopoDS_Shape& tool, std::string& error) {
    std::vector<TopoDS_Shape> wires;
    for (const SketchPtr& sketch : profiles) {
        TopoDS_Wire wire;
        if (!profileWire(*sketch, wire, error))
            return false;
        wires.push_back(wire);
    }
    try {
        error = detail::offsetModule("loft").loft(wires, tool);
    } catch (const ModelError& e) {
        error = e.what();
    }
    if (!error.empty())
        return false;
    GProp_GProps props;
    BRepGProp::VolumeProperties(tool, props);
    // Profiles in one plane enclose nothing.
    if (!std::isfinite(props.Mass()) || std::fabs(props.Mass()) < 1e-9) {
        error = "the profiles enclose no volume";
        return false;
    }
    if (props.Mass() < 0.0)
        tool.Reverse();
    return true;
}

} // namespace

SolidFeaturePtr PartDocument::addLoft(const std::vector<SketchPtr>& profiles,
                                      const SketchPtr& guide, bool cut) {
    if (profiles.size() < 2) {
        lastError_ = "loft: at least two profiles are needed";
        return nullptr;
    }
    for (const SketchPtr& sketch : profiles)
        if (!sketch || featureIndex(*sketch) < 0 || sketch->is3D()) {
            lastError_ = "loft: a profile is not a 2D sketch of this part";
            return nullptr;
        }
    if (activeSketch_)
        closeSketch();
    std::string error;
    TopoDS_Shape tool;
    if (!loftTool(profiles, tool, error)) {
        lastError_ = "loft: " + error;
        return nullptr;
    }
    auto feature = std::make_shared<SolidFeature>(FeatureKind::Loft, cut ? "CutLoft" : "Loft",
                                                  cut ? SolidFeature::Operation::Cut
                                                      : SolidFeature::Operation::Add);
    feature->tool_ = detail::makeRef(tool);
    feature->sketch_ = profiles.front();
    feature->parameters_ = {{"cut", cut},
                            {"profiles", static_cast<double>(profiles.size())},
                            {"guide", guide ? 1.0 : 0.0}};
    if (!addSolidFeature(feature, cut ? "Cut-Loft" : "Loft", "loft"))
        return nullptr;
    return feature;
}

} // namespace swsim
