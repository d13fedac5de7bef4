#include "platform/sldworks/model/assembly_document.h"

#include "platform/sldworks/model/file_io.h"
#include "platform/sldworks/model/part_document.h"
#include "platform/sldworks/model/part_impl.h"
#include "platform/sldworks/model/preview.h"

#include <BRep_Builder.hxx>
#include <TopoDS_Compound.hxx>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <set>

namespace swsim {

namespace {

constexpr const char* kHeader = "SWSIM-ASSEMBLY 3";
// Version 2 is read the same; version 3 only tells readers built before the levels of detail
// and the members' configurations (which read every component as not loaded) that this file
// is not theirs.
constexpr const char* kOlderHeader = "SWSIM-ASSEMBLY 2";

bool sameFrame(const Frame& a, const Frame& b) {
    return a.localToModelData() == b.localToModelData();
}

// Depth first through the loaded sub-assemblies: `chain` holds the assemblies from the top
// down to the one walked now, `clear` those walked already without a loop, so that an
// assembly used in many places is walked once. True with `loop` filled at the first loop.
bool findLoop(std::vector<const AssemblyDocument*>& chain, std::set<const AssemblyDocument*>& clear,
              std::vector<std::string>& loop) {
    for (const auto& c : chain.back()->components()) {
        const auto sub = std::dynamic_pointer_cast<const AssemblyDocument>(c->document());
        const auto again =
            std::find_if(chain.begin(), chain.end(), [&](const AssemblyDocument* held) {
                return held == sub.get() || (!held->path().empty() && held->path() == c->path());
            });
        if (again != chain.end()) {
            for (auto held = again; held != chain.end(); ++held)
                loop.push_back((*held)->path());
            loop.push_back((*again)->path());
            return true;
        }
        if (!sub || clear.count(sub.get()) != 0)
            continue;
        chain.push_back(sub.get());
        const bool found = findLoop(chain, clear, loop);
        chain.pop_back();
        if (found)
            return true;
        clear.insert(sub.get());
    }
    return false;
}

// Levels of sub-assemblies below `assembly`, each sub-assembly measured once.
int nesting(const AssemblyDocument& assembly, std::map<const AssemblyDocument*, int>& measured) {
    const auto [known, first] = measured.try_emplace(&assembly, 0);
    if (!first)
        return known->second;
    int deepest = 0;
    for (const auto& c : assembly.components())
        if (const auto sub = std::dynamic_pointer_cast<const AssemblyDocument>(c->document()))
            deepest = std::max(deepest, 1 + nesting(*sub, measured));
    measured[&assembly] = deepest;
    return deepest;
}

} // namespace

AssemblyDocument::AssemblyDocument() : root_(std::make_shared<Component>("", "")) {}

std::shared_ptr<AssemblyDocument> AssemblyDocument::create() {
    return std::shared_ptr<AssemblyDocument>(new AssemblyDocument());
}

ComponentPtr AssemblyDocument::addComponent(const std::string& path,
                                            const std::string& configuration,
                                            const Frame& placement) {
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
    made->placement = placement;
    root_->children_.push_back(made);
    modified_ = true;
    return made;
}

std::string AssemblyDocument::fileText() const {
    detail::Writer w;
    w.word("components").integer(static_cast<long long>(components().size())).line();
    for (const auto& c : components()) {
        w.about("component \"" + c->name() + "\"");
        w.str(c->name()).str(c->path()).str(c->configuration).integer(c->state);
        w.frame(c->placement).line();
    }
    w.about("the document's settings");
    writeCommon(w);
    // Each configuration's component settings; the active one's are the components' own.
    w.word("componentsettings").line();
    for (const auto& config : configurations()) {
        for (const auto& c : components()) {
            const auto kept = config->components.find(c.get());
            if (config == activeConfiguration())
                w.str(c->configuration).integer(c->state);
            else if (kept != config->components.end())
                w.str(kept->second.configuration).integer(kept->second.state);
            else
                w.str("").integer(Component::kResolved);
        }
        w.line();
    }
    if (!mateRefs_.empty()) {
        w.word("matereferences").integer(static_cast<long long>(mateRefs_.size())).line();
        for (const auto& m : mateRefs_) {
            size_t component = 0;
            while (components()[component] != m.component)
                ++component;
            w.about("mate reference \"" + m.feature->name() + "\"");
            w.str(m.feature->name()).integer(static_cast<long long>(component));
            w.vec(m.point).vec(m.normal).line();
        }
    }
    w.word("end").line();
    return detail::sealedFile(kHeader, w.text());
}

std::shared_ptr<AssemblyDocument> AssemblyDocument::open(const std::string& path) {
    return openText(detail::fileText(path), path);
}

std::shared_ptr<AssemblyDocument> AssemblyDocument::openText(const std::string& text,
                                                             const std::string& path) {
    detail::Reader r(
        std::string(detail::checkedBody(text, kHeader, path, "an assembly file", {kOlderHeader})),
        path);
    auto doc = create();
    r.expect("components");
    for (int i = 0, n = r.count(); i < n; ++i) {
        const std::string name = r.str();
        const std::string file = r.str();
        const std::string configuration = r.str();
        const long state = static_cast<long>(r.integer(0, 3));
        if (name.empty() || file.empty())
            r.fail("a component has no name or no file");
        for (const auto& c : doc->components())
            if (c->name() == name)
                r.fail("component \"" + name + "\" has no name or is given twice");
        auto c = std::make_shared<Component>(name, file);
        c->configuration = configuration;
        c->state = state;
        c->placement = r.frame();
        doc->root_->children_.push_back(std::move(c));
    }
    doc->readCommon(r);
    r.expect("componentsettings");
    for (const auto& config : doc->configurations()) {
        for (const auto& c : doc->components()) {
            Configuration::ComponentSetting& kept = config->components[c.get()];
            kept.configuration = r.str();
            kept.state = static_cast<long>(r.integer(0, 3));
        }
    }
    doc->configurationActivated();
    if (r.peek() == "matereferences") {
        r.expect("matereferences");
        const long long count = static_cast<long long>(doc->components().size());
        for (int i = 0, n = r.count(); i < n; ++i) {
            MateRef m;
            m.feature = std::make_shared<MateReference>(nullptr);
            m.feature->name_ = r.str();
            m.component = doc->components()[static_cast<size_t>(r.integer(0, count - 1))];
            m.point = r.vec();
            m.normal = r.vec();
            bool taken = m.feature->name().empty();
            for (const auto& other : doc->mateRefs_)
                taken = taken || other.feature->name() == m.feature->name();
            if (taken)
                r.fail("mate reference \"" + m.feature->name() + "\" is given twice");
            doc->mateRefs_.push_back(std::move(m));
        }
    }
    r.expect("end");
    doc->path_ = path;
    doc->modified_ = false;
    return doc;
}

void AssemblyDocument::configurationLeaving() {
    for (const auto& c : components())
        activeConfiguration()->components[c.get()] = {c->configuration, c->state};
}

void AssemblyDocument::configurationActivated() {
    const auto& kept = activeConfiguration()->components;
    for (const auto& c : components()) {
        const auto found = kept.find(c.get());
        c->configuration = found != kept.end() ? found->second.configuration : std::string();
        c->state = found != kept.end() ? found->second.state : Component::kResolved;
    }
}

std::vector<BodyPtr> AssemblyDocument::componentBodies(const Component& component) const {
    return componentBodies(component, 0);
}

std::vector<BodyPtr> AssemblyDocument::componentBodies(const Component& c, int depth) const {
    if (c.state == Component::kSuppressed || depth > kMaxNesting)
        return {};
    const auto doc = c.document();
    std::vector<BodyPtr> sources;
    if (auto part = std::dynamic_pointer_cast<PartDocument>(doc)) {
        // A part shared by components that show different configurations is shown in each
        // one's configuration in turn.
        const std::string shown = shownConfiguration(c);
        if (!shown.empty() && part->activeConfiguration()->name() != shown)
            part->showConfiguration(shown);
        // A member's hidden bodies (helper bodies, surface copies) are not shown by it.
        sources = part->shownBodies();
    } else if (auto sub = std::dynamic_pointer_cast<AssemblyDocument>(doc)) {
        sources = sub->bodies(depth + 1);
    }
    auto& cache = c.placed_;
    bool current =
        sameFrame(cache.placement, c.placement) && cache.sources.size() == sources.size();
    for (size_t i = 0; current && i < sources.size(); ++i)
        current = cache.sources[i].lock() == sources[i];
    if (current)
        return cache.placed;
    cache.sources.assign(sources.begin(), sources.end());
    cache.placement = c.placement;
    cache.placed.clear();
    for (const auto& b : sources) {
        BodyPtr moved = placedCopy(*b, c.placement);
        if (!moved) {
            cache.placed.clear();
            break;
        }
        cache.placed.push_back(std::move(moved));
    }
    return cache.placed;
}

std::string AssemblyDocument::shownConfiguration(const Component& c) const {
    // A file may name a configuration its part lacks, or none: the part's first is shown then,
    // not whichever the part showed last (which another component may have chosen).
    const auto part = std::dynamic_pointer_cast<PartDocument>(c.document());
    if (!part || (!c.configuration.empty() && part->findConfiguration(c.configuration)))
        return c.configuration;
    return part->configurations().front()->name();
}

std::vector<std::string> AssemblyDocument::containmentLoop() const {
    std::vector<const AssemblyDocument*> chain{this};
    std::set<const AssemblyDocument*> clear;
    std::vector<std::string> loop;
    findLoop(chain, clear, loop);
    return loop;
}

int AssemblyDocument::nestingDepth() const {
    std::map<const AssemblyDocument*, int> measured;
    return nesting(*this, measured);
}

std::vector<BodyPtr> AssemblyDocument::bodies() const {
    return bodies(0);
}

std::vector<BodyPtr> AssemblyDocument::bodies(int depth) const {
    std::vector<BodyPtr> out;
    for (const auto& c : components()) {
        const auto placed = componentBodies(*c, depth);
        out.insert(out.end(), placed.begin(), placed.end());
    }
    return out;
}

bool AssemblyDocument::selectByRay(Vec3 start, Vec3 direction, double radius, bool append,
                                   int mark) {
    const auto hit = castRay(bodies(), start, direction, radius);
    if (!hit)
        return false;
    selection_.add({hit->face, mark, hit->point}, append);
    return true;
}

MateReferencePtr AssemblyDocument::addMateReference(const std::string& name,
                                                    const ObjectPtr& entity) {
    const auto face = objectAs<Face>(entity);
    const BodyPtr body = face ? face->body() : nullptr;
    if (!body)
        return nullptr;
    for (const auto& c : components()) {
        const std::vector<BodyPtr> placed = componentBodies(*c);
        if (std::find(placed.begin(), placed.end(), body) == placed.end())
            continue;
        MateRef m{std::make_shared<MateReference>(entity), c, {}, {}};
        // Where the face was picked, else a point of it near its box's middle.
        std::optional<Vec3> at;
        for (const auto& entry : selection_.entries())
            if (entry.object == entity)
                at = entry.pickPoint;
        if (!at) {
            const Box box = face->box();
            at = face->closestPoint((box.min + box.max) * 0.5);
            if (!at)
                return nullptr;
        }
        m.point = c->placement.toLocal(*at);
        m.normal = c->placement.toLocal(c->placement.origin + face->normalAt(*at));
        bool taken = name.empty();
        for (const auto& other : mateRefs_)
            taken = taken || other.feature->name() == name;
        m.feature->name_ = name;
        for (int n = static_cast<int>(mateRefs_.size()) + 1; taken; ++n) {
            m.feature->name_ = "MateReference" + std::to_string(n);
            taken = false;
            for (const auto& other : mateRefs_)
                taken = taken || other.feature->name() == m.feature->name();
        }
        mateRefs_.push_back(m);
        modified_ = true;
        return m.feature;
    }
    return nullptr;
}

ObjectPtr AssemblyDocument::entityOf(const MateRef& m) const {
    constexpr double tolerance = 1e-6;
    const Vec3 at = m.component->placement.toModel(m.point);
    const Vec3 normal = m.component->placement.toModel(m.normal) - m.component->placement.origin;
    for (const auto& body : componentBodies(*m.component))
        for (const auto& f : body->faces())
            if (f->contains(at, tolerance) && dot(f->normalAt(at), normal) > 1.0 - 1e-6)
                return f;
    return nullptr;
}

std::vector<MateReferencePtr> AssemblyDocument::mateReferences() const {
    std::vector<MateReferencePtr> out;
    out.reserve(mateRefs_.size());
    for (const auto& m : mateRefs_) {
        m.feature->entity_ = entityOf(m);
        out.push_back(m.feature);
    }
    return out;
}

Box AssemblyDocument::box() const {
    return detail::shapeBox(detail::compoundOf(bodies()));
}

MassProperties AssemblyDocument::geometryMass() const {
    MassProperties total;
    Vec3 moment{};
    for (const auto& b : bodies()) {
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
    const TopoDS_Compound shape = detail::compoundOf(bodies());
    const Box b = detail::shapeBox(shape);
    const double size = b.empty ? 1.0 : distance(b.min, b.max);
    detail::writeShadedBitmap(shape, size * 2e-3, path, width, height);
}

void AssemblyDocument::exportStep(const std::string& path) const {
    detail::writeStepFile(detail::compoundOf(bodies()), path);
}

void AssemblyDocument::exportStl(const std::string& path, bool asciiStl, double scale) const {
    detail::writeStlFile(detail::compoundOf(bodies()), path, asciiStl, scale);
}

} // namespace swsim
