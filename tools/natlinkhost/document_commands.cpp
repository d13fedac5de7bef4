#include "tools/natlinkhost/document_commands.h"

#include "libs/KvorCore/loader/log_category.h"
#include "libs/KvorCore/loader/trace_frame.h"
#include "libs/geomcore/swapi/swapi.h"
#include "platform/sldworks/model/sketch.h"
#include "platform/sldworks/session/session.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>

namespace natlinkhost {
namespace {

std::string number(double value) {
    if (std::fabs(value) < 1e-12)
        value = 0.0;
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

std::string triple(const std::vector<double>& values, std::size_t from) {
    return "(" + number(values[from]) + ", " + number(values[from + 1]) + ", " +
           number(values[from + 2]) + ")";
}

std::string point(const swsim::Vec3& p) {
    return triple({p.x, p.y, p.z}, 0);
}

std::string text(const _bstr_t& value) {
    const char* utf8 = static_cast<const char*>(value);
    return utf8 != nullptr ? utf8 : "";
}

std::string lowerExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// The document of `path` opened in `app` (through the session's side for tools: a part or
// assembly file read by the document model and added to the session's open documents, an
// assembly with its components' documents); null with the reason on err. An assembly that
// contains itself is refused: every walk through it would go round the loop; so is one whose
// sub-assemblies nest deeper than the walks go, which would leave its deepest parts out.
IModelDoc2Ptr openDocument(ISldWorks* app, const std::string& path, std::ostream& err) {
    if (const std::string why = whyNoDocument(path); !why.empty()) {
        err << "natlinkhost: " << path << ": " << why << '\n';
        return IModelDoc2Ptr();
    }
    std::error_code error;
    const std::string absolute = std::filesystem::absolute(path, error).lexically_normal().string();
    try {
        if (lowerExtension(absolute) != ".sldasm")
            return sessionAddPart(app, swsim::PartDocument::open(absolute));
        const swsim::AssemblyDocumentPtr assembly = swsim::AssemblyDocument::open(absolute);
        const IModelDoc2Ptr doc = sessionAddAssembly(app, assembly);
        const std::vector<std::string> loop = assembly->containmentLoop();
        const int depth = loop.empty() ? assembly->nestingDepth() : 0;
        if (loop.empty() && depth <= swsim::AssemblyDocument::kMaxNesting)
            return doc;
        sldWorksCloseDocument(app, modelDocGetPathName(doc));
        err << "natlinkhost: " << path << ": ";
        if (loop.empty())
            err << "its sub-assemblies nest " << depth << " levels deep, beyond the "
                << swsim::AssemblyDocument::kMaxNesting << " the session walks";
        else
            err << "an assembly that contains itself: ";
        for (std::size_t i = 0; i < loop.size(); ++i)
            err << (i == 0 ? "" : " -> ") << loop[i];
        err << '\n';
        return IModelDoc2Ptr();
    } catch (const swsim::ModelError& failure) {
        err << "natlinkhost: " << path << ": " << failure.what() << '\n';
        return IModelDoc2Ptr();
    }
}

std::string surfaceKind(ISurface* surface) {
    if (surfaceIsPlane(surface))
        return "plane";
    if (surfaceIsCylinder(surface))
        return "cylinder";
    if (surfaceIsCone(surface))
        return "cone";
    if (surfaceIsSphere(surface))
        return "sphere";
    if (surfaceIsTorus(surface))
        return "torus";
    return "other";
}

void printFeatures(IModelDoc2* doc, std::ostream& out) {
    out << "features:\n";
    IFeaturePtr feature;
    featurePtrFromUnknown(feature, modelDocFirstFeature(doc));
    while (feature) {
        const std::string type = text(featureGetTypeName(feature));
        out << "  " << type << " \"" << text(featureGetName(feature)) << "\"";
        if (type == "RefPlane") {
            const IRefPlanePtr plane =
                queryInterfaceOf<IRefPlane>(featureGetSpecificObject(feature));
            if (plane) {
                const std::vector<double> geometry = readDoubleArray(refPlaneGetGeometry(plane), 9);
                out << " origin " << triple(geometry, 0) << " normal " << triple(geometry, 6);
            }
        }
        out << '\n';
        IFeaturePtr next;
        featurePtrFromUnknown(next, featureGetNext(feature));
        feature = next;
    }
}

// The components of an assembly: name, file, the configuration each shows, its state and
// where it is placed; then the box of the assembly's bodies.
void printComponents(IModelDoc2* doc, const swsim::AssemblyDocument& model, std::ostream& out) {
    out << "components: " << model.components().size() << '\n';
    for (const swsim::ComponentPtr& c : model.components()) {
        out << "  \"" << c->name() << "\" " << std::filesystem::path(c->path()).filename().string()
            << " configuration \"" << model.shownConfiguration(*c) << "\""
            << (c->state == swsim::Component::kSuppressed ? " suppressed" : "") << " origin "
            << point(c->placement.origin) << " x " << point(c->placement.xDir) << " z "
            << point(c->placement.zDir) << (c->document() ? "" : " (not loaded)") << '\n';
    }
    const std::vector<double> box = readDoubleArray(asmDocGetBox(IAssemblyDocPtr(doc), 0), 6);
    out << "  box " << triple(box, 0) << " -> " << triple(box, 3) << '\n';
}

double volumeOf(IModelDoc2* doc) {
    return massPropGetVolume(docExtCreateMassProperty(modelDocGetExtension(doc)));
}

// Each configuration with its volume and what is suppressed in it: a part's features, an
// assembly's components with the configuration each shows. Each is shown in turn; the one
// shown before is shown again at the end.
void printConfigurations(IModelDoc2* doc, swsim::ModelDocument& model, std::ostream& out) {
    const std::string shown = model.activeConfiguration()->name();
    const auto* part = dynamic_cast<const swsim::PartDocument*>(&model);
    const auto* assembly = dynamic_cast<const swsim::AssemblyDocument*>(&model);
    out << "configurations:\n";
    for (const _bstr_t& name : readBstrArray(modelDocGetVariantSlot459(doc))) {
        modelDocShowConfiguration(doc, name);
        const swsim::ConfigurationPtr c = model.findConfiguration(text(name));
        out << "  \"" << text(name) << "\"" << (text(name) == shown ? " (shown)" : "") << " volume "
            << number(volumeOf(doc)) << '\n';
        if (c && !c->comment.empty())
            out << "    text \"" << c->comment << "\"\n";
        if (part != nullptr && c) {
            std::string suppressed;
            for (const swsim::FeaturePtr& feature : part->features())
                if (c->isSuppressed(feature.get()))
                    suppressed += " \"" + feature->name() + "\"";
            if (!suppressed.empty())
                out << "    suppressed" << suppressed << '\n';
        }
        if (assembly != nullptr)
            for (const swsim::ComponentPtr& component : assembly->components())
                out << "    \"" << component->name() << "\" shows \""
                    << assembly->shownConfiguration(*component) << "\""
                    << (component->state == swsim::Component::kSuppressed ? " suppressed" : "")
                    << '\n';
    }
    modelDocShowConfiguration(doc, _bstr_t(shown.c_str()));
}

void printBodies(IModelDoc2* doc, std::ostream& out) {
    const IPartDocPtr part(doc);
    if (!part)
        return;
    const std::vector<IDispatchPtr> bodies = readObjectArray(partDocGetBodies(part, 0));
    out << "solid bodies: " << bodies.size() << '\n';
    if (bodies.empty())
        return;
    const IMassPropertyPtr mass = docExtCreateMassProperty(modelDocGetExtension(doc));
    out << "  volume " << number(massPropGetVolume(mass)) << '\n';
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        const IBodyPtr body(bodies[i]);
        std::map<std::string, int> kinds;
        std::vector<std::string> names;
        for (IFace2Ptr face(bodyGetFirstFace(body)); face;
             face = IFace2Ptr(faceGetNextFace(face))) {
            const std::string kind = surfaceKind(ISurfacePtr(faceGetSurface(face)));
            ++kinds[kind];
            const std::string name = text(partDocGetEntityName(part, face));
            if (!name.empty())
                names.push_back(name + "\" (" + kind + ")");
        }
        out << "  body " << i + 1 << " faces:";
        for (const auto& [kind, count] : kinds)
            out << ' ' << kind << ' ' << count;
        out << '\n';
        for (const std::string& name : names)
            out << "    face \"" << name << '\n';
    }
}

// Each sketch with where it lies and its segments at their model positions.
void printSketches(const swsim::PartDocument& model, std::ostream& out) {
    bool any = false;
    for (const swsim::FeaturePtr& feature : model.features()) {
        const auto sketch = std::dynamic_pointer_cast<swsim::Sketch>(feature);
        if (!sketch)
            continue;
        if (!any)
            out << "sketches:\n";
        any = true;
        out << "  \"" << sketch->name() << "\"";
        if (sketch->is3D()) {
            out << " 3D";
        } else {
            const auto plane = std::dynamic_pointer_cast<swsim::Feature>(sketch->placement());
            out << " on " << (plane ? "\"" + plane->name() + "\"" : std::string("a face"))
                << " origin " << point(sketch->frame().origin) << " normal "
                << point(sketch->frame().zDir);
        }
        out << '\n';
        for (const swsim::SketchSegmentPtr& segment : sketch->segments()) {
            out << "    " << segment->name();
            switch (segment->kind()) {
            case swsim::SegmentKind::Line:
                out << (segment->centreLine() ? " centre line " : " ")
                    << point(segment->start()->modelPosition()) << " -> "
                    << point(segment->end()->modelPosition());
                break;
            case swsim::SegmentKind::Arc:
                out << " arc " << point(segment->start()->modelPosition()) << " -> "
                    << point(segment->end()->modelPosition()) << " centre "
                    << point(segment->centre()->modelPosition()) << " radius "
                    << number(segment->radius());
                break;
            case swsim::SegmentKind::Circle:
                out << " circle centre " << point(segment->centre()->modelPosition()) << " radius "
                    << number(segment->radius());
                break;
            }
            out << '\n';
        }
    }
}

const char* surfaceWord(const swsim::Face& face) {
    switch (face.surface().kind) {
    case swsim::SurfaceKind::Plane:
        return "plane";
    case swsim::SurfaceKind::Cylinder:
        return "cylinder";
    case swsim::SurfaceKind::Cone:
        return "cone";
    case swsim::SurfaceKind::Sphere:
        return "sphere";
    case swsim::SurfaceKind::Torus:
        return "torus";
    default:
        return "other";
    }
}

const char* curveWord(const swsim::Edge& edge) {
    switch (edge.curve().kind) {
    case swsim::CurveKind::Line:
        return "line";
    case swsim::CurveKind::Circle:
        return "circle";
    case swsim::CurveKind::Ellipse:
        return "ellipse";
    default:
        return "other";
    }
}

// "face "NAME" (plane)" or "edge "NAME" (circle)"; an unnamed entity shows no name. A face or
// edge that the shown configuration does not have (its feature is suppressed) says so.
std::string entityText(const swsim::ObjectPtr& entity) {
    const char* absent = ", not in the shown configuration";
    if (const auto face = swsim::objectAs<swsim::Face>(entity))
        return "face \"" + face->name() + "\" (" + surfaceWord(*face) + ")" +
               (face->body() ? "" : absent);
    if (const auto edge = swsim::objectAs<swsim::Edge>(entity))
        return "edge \"" + edge->name() + "\" (" + curveWord(*edge) + ")" +
               (edge->body() ? "" : absent);
    return "nothing";
}

void printMateReferences(const std::vector<swsim::MateReferencePtr>& references,
                         std::ostream& out) {
    if (!references.empty())
        out << "mate references:\n";
    for (const swsim::MateReferencePtr& reference : references)
        out << "  \"" << reference->name() << "\" on " << entityText(reference->entity()) << '\n';
}

// Mate references with what each holds, named edges, face colours and hidden bodies.
void printReferencesAndAppearance(const swsim::PartDocument& model, std::ostream& out) {
    std::vector<swsim::MateReferencePtr> references;
    for (const swsim::FeaturePtr& feature : model.features())
        if (auto reference = std::dynamic_pointer_cast<swsim::MateReference>(feature))
            references.push_back(std::move(reference));
    printMateReferences(references, out);
    std::vector<std::string> edges;
    std::vector<std::string> colours;
    std::vector<std::string> hidden;
    const std::vector<swsim::BodyPtr> bodies = model.bodies();
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        if (model.bodyHidden(*bodies[i]))
            hidden.push_back("body " + std::to_string(i + 1) + " (made by \"" + bodies[i]->name() +
                             "\")");
        for (const swsim::EdgePtr& edge : bodies[i]->edges())
            if (!edge->name().empty())
                edges.push_back(entityText(edge));
        for (const swsim::FacePtr& face : bodies[i]->faces())
            if (const auto& rgb = face->colour())
                colours.push_back(entityText(face) + " colour (" + number(rgb->r) + ", " +
                                  number(rgb->g) + ", " + number(rgb->b) + ")");
    }
    const std::pair<const char*, const std::vector<std::string>*> lists[] = {
        {"named edges", &edges}, {"face colours", &colours}, {"hidden bodies", &hidden}};
    for (const auto& [title, lines] : lists) {
        if (lines->empty())
            continue;
        out << title << ":\n";
        for (const std::string& line : *lines)
            out << "  " << line << '\n';
    }
}

// Each pattern feature with what it repeats, its kind and counts, and the instances it skips.
void printPatterns(const swsim::PartDocument& model, std::ostream& out) {
    bool any = false;
    for (const swsim::FeaturePtr& feature : model.features()) {
        const auto pattern = std::dynamic_pointer_cast<swsim::SolidFeature>(feature);
        if (!pattern || pattern->kind() != swsim::FeatureKind::Pattern)
            continue;
        if (!any)
            out << "patterns:\n";
        any = true;
        const swsim::PatternLayout& layout = pattern->pattern();
        out << "  \"" << pattern->name() << "\" of ";
        const auto seeds = pattern->seeds();
        if (seeds.empty())
            out << "\"\"";
        for (std::size_t k = 0; k < seeds.size(); ++k)
            out << (k == 0 ? "\"" : ", \"") << (seeds[k] ? seeds[k]->name() : "") << "\"";
        switch (layout.kind) {
        case swsim::PatternLayout::Kind::Linear:
            out << " linear " << layout.count1 << " x " << layout.count2;
            break;
        case swsim::PatternLayout::Kind::Circular:
            out << " circular " << layout.count;
            break;
        case swsim::PatternLayout::Kind::Sketch:
            out << " sketch-driven " << layout.instanceCount();
            break;
        }
        out << " instances, skipped";
        if (layout.skipped.empty())
            out << " none";
        for (int skipped : layout.skipped)
            out << ' ' << skipped;
        out << '\n';
    }
}

// The shown components, through shown sub-assemblies (each walked once; the assembly contains
// no loop), whose document could not be loaded: `the component "NAME" is missing: its file
// PATH does not exist` (or `could not be opened: REASON`), a nested one named with its
// assembly; "; " between them. Empty when none is missing.
void missingComponents(const swsim::AssemblyDocument& assembly, bool nested,
                       std::set<const swsim::AssemblyDocument*>& walked, std::string& missing) {
    if (!walked.insert(&assembly).second)
        return;
    for (const swsim::ComponentPtr& c : assembly.components()) {
        if (c->state == swsim::Component::kSuppressed)
            continue;
        if (const auto sub = std::dynamic_pointer_cast<swsim::AssemblyDocument>(c->document()))
            missingComponents(*sub, true, walked, missing);
        if (c->document())
            continue;
        std::error_code error;
        missing += (missing.empty() ? "the component \"" : "; the component \"") + c->name() +
                   "\"" + (nested ? " of " + assembly.path() : std::string()) +
                   " is missing: its file " + c->path();
        if (!std::filesystem::exists(c->path(), error))
            missing += " does not exist";
        else
            missing += " could not be opened" +
                       (c->loadFailure().empty() ? std::string() : ": " + c->loadFailure());
    }
}

std::string missingComponents(const swsim::AssemblyDocument& assembly) {
    std::set<const swsim::AssemblyDocument*> walked;
    std::string missing;
    missingComponents(assembly, false, walked, missing);
    return missing;
}

// Why a copy of the assembly would not be the assembly: a component that is shown but whose
// document could not be loaded would be left out, and a copy without a solid opens empty.
// Empty when nothing is missing.
std::string whatTheCopyWouldMiss(const swsim::AssemblyDocument& assembly,
                                 const std::string& extension) {
    if (std::string missing = missingComponents(assembly); !missing.empty())
        return missing;
    const std::vector<swsim::BodyPtr> bodies = assembly.bodies();
    if (std::none_of(bodies.begin(), bodies.end(), [](const swsim::BodyPtr& body) {
            return body->kind() == swsim::BodyKind::Solid;
        }))
        return std::string("the assembly has no solid body to write as ") +
               (extension == ".stl" ? "STL" : "STEP");
    return {};
}

} // namespace

std::string whyNoDocument(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error))
        return {};
    if (std::filesystem::is_directory(path, error))
        return "is a directory, not a document";
    return "no such document";
}

int runInspectCommand(const commandLineS& line, std::ostream& out, std::ostream& err) {
    NATLINK_TRACE_FRAME("natlinkhost inspect");
    const std::string& path = line.operands.at(0);
    try {
        const ISldWorksPtr app = createSimulatedSldWorks();
        const IModelDoc2Ptr doc = openDocument(app, path, err);
        if (!doc)
            return 1;
        out << "document: " << path << '\n';
        const swsim::ModelDocumentPtr model = sessionModelOf(doc);
        const swsim::PartDocumentPtr part = sessionPartOf(doc);
        if (const swsim::AssemblyDocumentPtr assembly = sessionAssemblyOf(doc)) {
            printComponents(doc, *assembly, out);
        } else {
            printFeatures(doc, out);
            printSketches(*part, out);
            printPatterns(*part, out);
        }
        printConfigurations(doc, *model, out);
        printBodies(doc, out);
        std::string missing;
        if (part) {
            printReferencesAndAppearance(*part, out);
        } else if (const swsim::AssemblyDocumentPtr assembly = sessionAssemblyOf(doc)) {
            printMateReferences(assembly->mateReferences(), out);
            missing = missingComponents(*assembly);
        }
        sldWorksCloseDocument(app, modelDocGetPathName(doc));
        // What is printed is not the whole assembly: said, and no success.
        if (!missing.empty()) {
            err << "natlinkhost: " << path << ": " << missing << '\n';
            return 1;
        }
        return 0;
    } catch (const _com_error& error) {
        err << "natlinkhost: " << path << ": " << error.ErrorMessage() << '\n';
        return 1;
    }
}

int runExportCommand(const commandLineS& line, std::ostream& err) {
    NATLINK_TRACE_FRAME("natlinkhost export");
    const std::string& path = line.operands.at(0);
    const std::string& target = line.operands.at(1);
    const std::string extension = lowerExtension(target);
    if (extension != ".step" && extension != ".stp" && extension != ".stl") {
        err << "natlinkhost: " << target << ": the copy must be a .step or .stl file\n";
        return 2;
    }
    try {
        const ISldWorksPtr app = createSimulatedSldWorks();
        const IModelDoc2Ptr doc = openDocument(app, path, err);
        if (!doc)
            return 1;
        // A copy of nothing is no copy: a STEP file without a solid would open empty elsewhere
        // and a mesh of nothing cannot be written. Say so instead of a success. Hidden bodies
        // (a connection point's helper) are left out of copies, so only shown ones count.
        const IPartDocPtr part(doc);
        if (part && readObjectArray(partDocListBodies(part, 0, VARIANT_TRUE)).empty()) {
            sldWorksCloseDocument(app, modelDocGetPathName(doc));
            err << "natlinkhost: " << path << ": the part has no solid body to write as "
                << (extension == ".stl" ? "STL" : "STEP") << '\n';
            return 1;
        }
        if (const swsim::AssemblyDocumentPtr assembly = sessionAssemblyOf(doc)) {
            const std::string missing = whatTheCopyWouldMiss(*assembly, extension);
            if (!missing.empty()) {
                sldWorksCloseDocument(app, modelDocGetPathName(doc));
                err << "natlinkhost: " << path << ": " << missing << '\n';
                return 1;
            }
        }
        std::error_code error;
        const std::string absolute =
            std::filesystem::absolute(target, error).lexically_normal().string();
        long errors = 0;
        try {
            errors = modelDocCallSlot433(doc, _bstr_t(absolute.c_str()), 0);
        } catch (const _com_error& failure) {
            sldWorksCloseDocument(app, modelDocGetPathName(doc));
            err << "natlinkhost: " << target << ": the copy could not be written ("
                << failure.ErrorMessage() << ")\n";
            return 1;
        }
        sldWorksCloseDocument(app, modelDocGetPathName(doc));
        if (errors != 0) {
            err << "natlinkhost: " << target << ": the copy could not be written (error " << errors
                << ")\n";
            return 1;
        }
        return 0;
    } catch (const _com_error& error) {
        err << "natlinkhost: " << path << ": " << error.ErrorMessage() << '\n';
        return 1;
    }
}

} // namespace natlinkhost
