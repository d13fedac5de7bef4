#include "platform/sldworks/model/assembly_document.h"

#include "platform/sldworks/model/file_io.h"
#include "platform/sldworks/model/part_document.h"
#include "platform/sldworks/model/part_impl.h"
#include "platform/sldworks/model/preview.h"

#include <BRep_Builder.hxx>
#include <TopoDS_Compound.hxx>

#include <fstream>

namespace swsim {

namespace {

constexpr const char* kHeader = "SWSIM-ASSEMBLY 2";
// Assemblies that (wrongly) contain themselves stop here instead of recursing for ever.
constexpr int kMaxDepth = 32;

// The bodies of the documents of the unsuppressed components, through sub-assemblies.
void collectBodies(const AssemblyDocument& assembly, std::vector<BodyPtr>& out, int depth) {
    if (depth > kMaxDepth)
        return;
    for (const auto& c : assembly.components()) {
        if (c->state == Component::kSuppressed)
            continue;
        const auto doc = c->document();
        if (auto part = std::dynamic_pointer_cast<PartDocument>(doc)) {
            for (const auto& b : part->bodies())
                out.push_back(b);
        } else if (auto sub = std::dynamic_pointer_cast<AssemblyDocument>(doc)) {
            collectBodies(*sub, out, depth + 1);
        }
    }
}

TopoDS_Compound assemblyShape(const AssemblyDocument& assembly) {
    std::vector<BodyPtr> bodies;
    collectBodies(assembly, bodies, 0);
    return detail::compoundOf(bodies);
}

} // namespace

AssemblyDocument::AssemblyDocument() : root_(std::make_shared<Component>("", "")) {}

std::shared_ptr<AssemblyDocument> AssemblyDocument::create() {
    return std::shared_ptr<AssemblyDocument>(new AssemblyDocument());
}

ComponentPtr AssemblyDocument::addComponent(const std::string& path,
                                            const std::string& configuration) {
    if (path.empty())
        return nullptr;
    const std::string stem = detail::fileStem(path);
    int n = 1;
    for (bool taken = true; taken; ++n) {
        taken = false;
        for (const auto& c : root_->children_)
            taken = taken || c->name() == stem + "-" + std::to_string(n);
        if (!taken)
            break;
    }
    auto made = std::make_shared<Component>(stem + "-" + std::to_string(n), path);
    made->configuration = configuration;
    root_->children_.push_back(made);
    modified_ = true;
    return made;
}

std::string AssemblyDocument::fileText() const {
    detail::Writer w;
    w.word("components").integer(static_cast<long long>(components().size())).line();
    for (const auto& c : components())
        w.str(c->name()).str(c->path()).str(c->configuration).integer(c->state).line();
    writeCommon(w);
    w.word("end").line();
    return detail::sealedFile(kHeader, w.text());
}

std::shared_ptr<AssemblyDocument> AssemblyDocument::open(const std::string& path) {
    return openText(detail::fileText(path), path);
}

std::shared_ptr<AssemblyDocument> AssemblyDocument::openText(const std::string& text,
                                                             const std::string& path) {
    detail::Reader r(std::string(detail::checkedBody(text, kHeader, path, "an assembly file")),
                     path);
    auto doc = create();
    r.expect("components");
    for (int i = 0, n = r.count(); i < n; ++i) {
        const std::string name = r.str();
        const std::string file = r.str();
        const std::string configuration = r.str();
        const long state = static_cast<long>(r.integer(0, 2));
        if (name.empty() || file.empty())
            r.fail("a component has no name or no file");
        for (const auto& c : doc->components())
            if (c->name() == name)
                r.fail("component \"" + name + "\" is given twice");
        auto c = std::make_shared<Component>(name, file);
        c->configuration = configuration;
        c->state = state;
        doc->root_->children_.push_back(std::move(c));
    }
    doc->readCommon(r);
    r.expect("end");
    doc->path_ = path;
    doc->modified_ = false;
    return doc;
}

MassProperties AssemblyDocument::geometryMass() const {
    std::vector<BodyPtr> bodies;
    collectBodies(*this, bodies, 0);
    MassProperties total;
    Vec3 moment{};
    for (const auto& b : bodies) {
        if (b->kind() != BodyKind::Solid)
            continue;
        const MassProperties m = b->massProperties();
        total.volume += m.volume;
        total.area += m.area;
        moment = moment + m.centreOfMass * m.volume;
    }
    if (total.volume > 0.0)
        total.centreOfMass = moment * (1.0 / total.volume);
    return total;
}

void AssemblyDocument::saveBitmap(const std::string& path, int width, int height) const {
    const TopoDS_Compound shape = assemblyShape(*this);
    const Box b = detail::shapeBox(shape);
    const double size = b.empty ? 1.0 : distance(b.min, b.max);
    detail::writeShadedBitmap(shape, size * 2e-3, path, width, height);
}

void AssemblyDocument::exportStep(const std::string& path) const {
    detail::writeStepFile(assemblyShape(*this), path);
}

void AssemblyDocument::exportStl(const std::string& path, bool asciiStl, double scale) const {
    detail::writeStlFile(assemblyShape(*this), path, asciiStl, scale);
}

} // namespace swsim
