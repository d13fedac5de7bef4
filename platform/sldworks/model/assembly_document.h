// An assembly document of the simulated SolidWorks: a root component whose children refer
// to part or assembly files by path, each with the configuration it shows and its state.
// The referenced documents are loaded by the session (which opens files and keeps the open
// documents); the model only remembers which document a component was given. A component
// is placed by a rigid transform; its bodies are seen in assembly space. Which configuration
// a component shows, and its state, are kept per configuration of the assembly.
#pragma once

#include "platform/sldworks/model/feature.h"
#include "platform/sldworks/model/model_document.h"
#include "platform/sldworks/model/object.h"
#include "platform/sldworks/model/selection.h"
#include "platform/sldworks/model/topology.h"

#include <memory>
#include <string>
#include <vector>

namespace swsim {

class Component final : public Object {
public:
    // States as SolidWorks numbers them.
    static constexpr long kSuppressed = 0;
    static constexpr long kResolved = 2;

    Component(std::string name, std::string path)
        : name_(std::move(name)), path_(std::move(path)) {}
    ObjectKind objectKind() const override { return ObjectKind::Component; }

    const std::string& name() const { return name_; }
    // The referenced document's file; empty for the root.
    const std::string& path() const { return path_; }
    // The configuration the component shows (in the assembly's active configuration);
    // empty: the document's active one.
    std::string configuration;
    long state = kResolved;
    // Where the component sits: a point p of its document is at placement.toModel(p) in the
    // assembly. The identity unless given.
    Frame placement;
    const std::vector<std::shared_ptr<Component>>& children() const { return children_; }
    // The referenced document once the session loaded it.
    std::shared_ptr<ModelDocument> document() const { return document_.lock(); }
    void setDocument(const std::shared_ptr<ModelDocument>& doc) { document_ = doc; }
    // Why the session could not load the document ("the file does not exist", or what its
    // reader refused); empty otherwise.
    const std::string& loadFailure() const { return loadFailure_; }
    void setLoadFailure(std::string why) { loadFailure_ = std::move(why); }

private:
    friend class AssemblyDocument;
    std::string name_;
    std::string path_;
    std::vector<std::shared_ptr<Component>> children_;
    std::weak_ptr<ModelDocument> document_;
    std::string loadFailure_;
    // The bodies in assembly space, made again when the document's bodies or the placement
    // change.
    struct PlacedBodies {
        std::vector<std::weak_ptr<Body>> sources;
        Frame placement;
        std::vector<BodyPtr> placed;
    };
    mutable PlacedBodies placed_;
};

using ComponentPtr = std::shared_ptr<Component>;

class AssemblyDocument final : public ModelDocument,
                               public std::enable_shared_from_this<AssemblyDocument> {
public:
    static std::shared_ptr<AssemblyDocument> create();
    // Opens an assembly saved by save(); raises ModelError naming what is wrong. The
    // components' documents are not loaded.
    static std::shared_ptr<AssemblyDocument> open(const std::string& path);
    // The same from the file's content; `path` is the document's name in errors.
    static std::shared_ptr<AssemblyDocument> openText(const std::string& text,
                                                      const std::string& path);

    DocumentType type() const override { return DocumentType::Assembly; }

    const ComponentPtr& root() const { return root_; }
    const std::vector<ComponentPtr>& components() const { return root_->children_; }
    // A new component referring to a file; named after the file ("bracket-1", "bracket-2",
    // ...). Null for an empty path.
    ComponentPtr addComponent(const std::string& path, const std::string& configuration = {},
                              const Frame& placement = {});

    // The bodies of a component in assembly space: its document's bodies (a part shows the
    // component's configuration first; a sub-assembly gives its own components' bodies)
    // moved by its placement. None for a suppressed component, one without a loaded
    // document or with a placement that is not rigid. The same objects while neither the
    // document's bodies nor the placement change.
    std::vector<BodyPtr> componentBodies(const Component& component) const;
    // The configuration a component shows: the one it names, or its part's first when the
    // part has no configuration of that name or the component names none; as named for a
    // sub-assembly or a component without a loaded document.
    std::string shownConfiguration(const Component& component) const;
    // An assembly that contains itself, directly or through others, among this one and its
    // loaded sub-assemblies (suppressed components too): the paths from that assembly down to
    // itself again ("A", "B", "A"); empty when there is none. A component that is its own
    // assembly (left without a document) is known by its path.
    std::vector<std::string> containmentLoop() const;
    // How deep sub-assemblies go below this one: its loaded sub-assemblies' levels, suppressed
    // components too (0 without any). Bodies, boxes, masses and copies walk kMaxNesting levels
    // and no further (an assembly that contains itself would be walked for ever); only for an
    // assembly that does not contain itself.
    static constexpr int kMaxNesting = 32;
    int nestingDepth() const;
    // The bodies of every unsuppressed component in assembly space, in component order.
    std::vector<BodyPtr> bodies() const;
    Box box() const;

    // ---- selection: faces of the components' bodies in assembly space ------------------
    const Selection& selection() const { return selection_; }
    void clearSelection() { selection_.clear(); }
    // Selects the first face of the components' bodies hit by the ray (see castRay).
    bool selectByRay(Vec3 start, Vec3 direction, double radius, bool append, int mark);

    // ---- mate references: a face of a component under a name -------------------------
    // Named as a part names its own ("MateReference<n>" for an empty name or one another
    // mate reference has). Null when the entity is no face of a component's body in
    // assembly space (edges of an assembly are not referenced here).
    MateReferencePtr addMateReference(const std::string& name, const ObjectPtr& entity);
    // In order, each holding its face as its component shows it now: null while the
    // component has no loaded document, is suppressed, or no longer has that face.
    std::vector<MateReferencePtr> mateReferences() const;

    // Files: "SWSIM-ASSEMBLY 3" (version 2 files still open), the components by path, the common
    // document data, the components per configuration, then the mate references (component, a point
    // of the face and its normal); files without mate references still open.

    // Over the loaded documents of the components that are not suppressed.
    MassProperties geometryMass() const override;
    void saveBitmap(const std::string& path, int width, int height) const override;
    void exportStep(const std::string& path) const override;
    void exportStl(const std::string& path, bool asciiStl = false,
                   double scale = 1.0) const override;

protected:
    void configurationLeaving() override;
    void configurationActivated() override;

private:
    AssemblyDocument();
    std::string fileText() const override;
    std::vector<BodyPtr> componentBodies(const Component& component, int depth) const;
    std::vector<BodyPtr> bodies(int depth) const;

    // Where a mate reference's face is: a point of it with its outward normal in the
    // component's own space, so that the reference follows the component's face through
    // placements and configurations while it exists.
    struct MateRef {
        MateReferencePtr feature;
        ComponentPtr component;
        Vec3 point{};
        Vec3 normal{};
    };
    ObjectPtr entityOf(const MateRef& reference) const;

    ComponentPtr root_;
    std::vector<MateRef> mateRefs_;
    Selection selection_;
};

using AssemblyDocumentPtr = std::shared_ptr<AssemblyDocument>;

} // namespace swsim
