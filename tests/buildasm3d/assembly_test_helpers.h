// What the assembly tests share: the parts they place, the creation options they give, and
// what they read back from the saved documents, each reopened in a session of its own.
#pragma once

#include "tests/buildasm3d/saved_documents.h"
#include "tests/natlinkhost/natlinkhost_fixture.h"

#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/session/session.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

inline constexpr double pi = 3.141592653589793;

// A saved document reopened: the volume of each configuration, and the one it shows.
struct configurationsS {
    std::map<std::string, double> volumes;
    std::map<std::string, std::string> texts;
    std::string shown;
};

inline configurationsS configurationsOf(const std::string& file, long type) {
    const ISldWorksPtr app = createSimulatedSldWorks();
    const IModelDoc2Ptr doc = openSaved(app, file, type);
    configurationsS found;
    if (!doc)
        return found;
    const swsim::ModelDocumentPtr model = sessionModelOf(doc);
    found.shown = model->activeConfiguration()->name();
    for (const _bstr_t& name : readBstrArray(modelDocGetVariantSlot459(doc))) {
        const std::string text(static_cast<const char*>(name));
        modelDocShowConfiguration(doc, name);
        found.volumes[text] =
            massPropGetVolume(docExtCreateMassProperty(modelDocGetExtension(doc)));
        found.texts[text] = model->findConfiguration(text)->comment;
    }
    return found;
}

// A part: a block 20 x 20 x 10 (4000) with a pocket 10 x 10, 5 deep (500) in its top,
// named "Pocket"; `extra` goes before its ITEMS (placement, options, levels).
inline std::string block(const std::string& name, const std::string& extra) {
    return "(PART (NAME \"" + name + "\") " + extra +
           " (ITEMS (PLANE (NAME \"XY\") (TYP \"XY\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))"
           " (SKETCH (NAME \"S\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1) (SKETCHON (PLANE \"XY\"))"
           "  (LOOP (LINE (POINT 0 0) (POINT 20 0)) (LINE (POINT 20 0) (POINT 20 20))"
           "   (LINE (POINT 20 20) (POINT 0 20)) (LINE (POINT 0 20) (POINT 0 0))))"
           " (BASE (NAME \"Block\") (TYP \"EXTRUDE\") (USED \"S\") (PARAM 10 0 0))"
           " (SKETCH (NAME \"T\") (MAT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 10 1)"
           "  (SKETCHON (FACE (POINT3D 10 10 10) (VEC3D 0 0 1)))"
           "  (LOOP (LINE (POINT 5 5) (POINT 15 5)) (LINE (POINT 15 5) (POINT 15 15))"
           "   (LINE (POINT 15 15) (POINT 5 15)) (LINE (POINT 5 15) (POINT 5 5))))"
           " (CUT (NAME \"Pocket\") (TYP \"EXTRUDE\") (USED \"T\") (PARAM 5 1 0))))";
}

// CREAOPTS with the settings given as name, value pairs.
inline std::string options(const std::vector<std::pair<std::string, std::string>>& settings) {
    std::string text = "(CREAOPTS (CREAOPTSETS";
    for (const auto& [name, value] : settings)
        text += " (CREAOPTSET (NAME \"" + name + "\") (VAL \"" + value + "\"))";
    return text + "))";
}

// The configuration each component shows in each configuration of a saved assembly.
inline std::map<std::string, std::vector<std::string>>
componentConfigurations(const std::string& file) {
    const ISldWorksPtr app = createSimulatedSldWorks();
    const IModelDoc2Ptr doc = openSaved(app, file, 2);
    std::map<std::string, std::vector<std::string>> shown;
    if (!doc)
        return shown;
    for (const _bstr_t& name : readBstrArray(modelDocGetVariantSlot459(doc))) {
        modelDocShowConfiguration(doc, name);
        for (const swsim::ComponentPtr& c : sessionAssemblyOf(doc)->components())
            shown[static_cast<const char*>(name)].push_back(c->configuration);
    }
    return shown;
}

// Whether a conversion's messages hold `text`; they are shown when they do not.
inline testing::AssertionResult holdsText(const std::string& messages, const std::string& text) {
    if (messages.find(text) != std::string::npos)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "no \"" << text << "\" in:\n" << messages;
}

// A saved assembly reopened in a session of its own (null, and a failure, when it does not
// open).
struct openedAssemblyS {
    ISldWorksPtr app;
    IModelDoc2Ptr doc;
};

inline openedAssemblyS openAssembly(const std::string& file) {
    openedAssemblyS opened{createSimulatedSldWorks(), nullptr};
    opened.doc = openSaved(opened.app, file, 2);
    return opened;
}

// The box of a saved assembly: minimum x, y, z, then maximum x, y, z.
inline std::vector<double> assemblyBox(const IModelDoc2Ptr& doc) {
    return readDoubleArray(asmDocGetBox(IAssemblyDocPtr(doc), 0), 6);
}
