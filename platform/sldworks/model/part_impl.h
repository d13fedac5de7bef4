// Internal to the model: the OpenCASCADE state behind a PartDocument, shared by the
// document's implementation files.
#pragma once

#include "platform/sldworks/model/occt_shape.h"
#include "platform/sldworks/model/part_document.h"

#include <Geom_Surface.hxx>
#include <TopoDS_Shape.hxx>

#include <map>
#include <string>
#include <vector>

namespace swsim {

struct BodyState {
    TopoDS_Shape shape;
    BodyKind kind = BodyKind::Solid;
    std::string name;
};

struct PartDocument::Impl {
    std::vector<BodyPtr> bodies; // solids first, then sheets
    // Which feature's tool made each surface: faces split by later booleans keep their
    // surface, so this answers "faces of a feature" for the current part.
    std::map<const Geom_Surface*, std::pair<Handle(Geom_Surface), const Feature*>> surfaceOwner;
    std::map<std::string, std::weak_ptr<Object>> entityNames;

    std::vector<BodyState> currentStates() const;
    // Applies one solid feature to the body states; false with `error` when it cannot.
    static bool apply(std::vector<BodyState>& states, const SolidFeature& feature,
                      std::string& error);
    void registerSurfaces(const SolidFeature& feature);
    // Replaces the bodies by new ones, keeping the objects of faces and edges whose geometry
    // did not change (and carrying names and colours to faces of equal geometry).
    void install(std::vector<BodyState> states, bool replay);
    bool inPart(const Object& entity) const;
};

} // namespace swsim
