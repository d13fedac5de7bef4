#include "libs/geomcore/buildasm3d/assembly_handler.h"

#include "libs/KvorCadComm/meta_tree_helpers.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildsw3d/build_helpers.h"
#include "libs/geomcore/buildsw3d/mate_reference_steps.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/buildsw3d/unbuilt_content.h"
#include "libs/geomcore/sw3ddoc/detail_levels.h"
#include "libs/geomcore/sw3ddoc/sw_assembly.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swgeomtools/transform_data.h"
#include "libs/geomcore/swtools/doc_attributes.h"
#include "metamodel/m3d/viewhelpers.h"

#include <cmath>
#include <exception>
#include <string>
#include <vector>

namespace {

// The meta tree's lengths are in millimetres when the assembly and its parts are built.
constexpr double buildUnitBase = 1.0;

// A member part that was built and saved, and where it goes.
struct memberS {
    metaTreePtrT node;
    std::string fileName;
    std::string path;
};

// True when two member nodes hold the same part: every child but the placement is equal.
bool samePartApartFromPlacement(const metaObjectC& a, const metaObjectC& b) {
    metaObjEnumC x = a.enumChildren();
    metaObjEnumC y = b.enumChildren();
    for (;;) {
        while (x.isValid() && metaObjectC(x.current()).getTag() == "MAT")
            x.next();
        while (y.isValid() && metaObjectC(y.current()).getTag() == "MAT")
            y.next();
        if (!x.isValid() || !y.isValid())
            return x.isValid() == y.isValid();
        if (metaObjectC(x.current()).compareTree(y.current()) == 0)
            return false;
        x.next();
        y.next();
    }
}

void noteFailedMember(swCreation3dS& creation, const metaObjectC& member,
                      const mzComStringC& message) {
    const swFailedItemS failure{member.getTag(), getNameAttr(member), message};
    NATLINK_LOG(mzLogLevelError, mzComStringC("Member ") + failure.tag + " \"" + failure.name +
                                     "\" failed: " + failure.message);
    creation.failedItems.push_back(failure);
}

// Builds one member part through the reader (the part handler saves it), or finds the file
// of an equal part built before in this assembly. Throws errorC when it cannot.
memberS buildMember(metaReaderC& reader, swCreation3dS& creation, const metaObjectC& member,
                    const std::vector<memberS>& built) {
    if (member.getTag() != m3dPartC::tagName()) {
        if (member.getTag() == m3dAsmC::tagName())
            throw errorC("Assemblies inside an assembly cannot be built");
        throw errorC(mzComStringC("Items of kind ") + member.getTag() +
                     " cannot be built in an assembly");
    }
    memberS made{member.getTreePtr(), documentFileName(member, "Part", ".sldprt", "part"), {}};
    // A part placed more than once is built once; another part of the same file name would
    // overwrite it.
    for (const memberS& other : built) {
        if (other.fileName != made.fileName)
            continue;
        if (!samePartApartFromPlacement(member, metaObjectC(other.node)))
            throw errorC(mzComStringC("Another part of the assembly is saved as \"") +
                         made.fileName.c_str() + "\"");
        made.path = other.path;
        return made;
    }
    const std::size_t savedBefore = creation.savedDocuments.size();
    reader.exeNode(member.getTreePtr(), nullptr);
    if (creation.savedDocuments.size() == savedBefore)
        throw errorC("The part was not built");
    made.path = creation.savedDocuments.back();
    return made;
}

std::vector<memberS> buildMembers(metaReaderC& reader, swCreation3dS& creation,
                                  const swAssemblyC& assembly) {
    std::vector<memberS> built;
    const metaObjectC items(assembly.findChild("ITEMS"));
    for (metaObjEnumC child = items.enumChildren(); child.isValid(); child.next()) {
        const metaObjectC member(child.current());
        if (!member.isKeyNode())
            continue;
        try {
            built.push_back(buildMember(reader, creation, member, built));
        } catch (const errorC& error) {
            noteFailedMember(creation, member, error.getMessage());
        } catch (const _com_error& error) {
            noteFailedMember(creation, member,
                             mzComStringC("SolidWorks call failed: ") + error.ErrorMessage());
        } catch (const std::exception& error) {
            noteFailedMember(creation, member, mzComStringC(error.what()));
        }
    }
    return built;
}

// Catalogue placements are written rounded, often to six significant digits: the axes of
// such a rotation are off unit length and right angles by up to about 2e-6. Within this
// bound a placement is taken as the rotation it rounds; beyond it, it is no rotation.
constexpr double placementTolerance = 1e-5;

// The member's placement as a rigid transform, its axes made exactly orthonormal (the
// identity without a "MAT"). Throws errorC naming what keeps it from being one.
matrixC4x4<double> memberPlacement(const metaObjectC& member) {
    matrixC4x4<double> m = matrixC4x4<double>::identity();
    if (member.findChild("MAT").isNull())
        return m;
    if (!getMatrix(member, m))
        throw errorC("Could not place the part: its placement (MAT) does not hold 16 numbers");
    for (int i = 0; i < 16; ++i)
        if (!std::isfinite(m[i]))
            throw errorC(mzComStringC("Could not place the part: its placement (MAT) holds ") +
                         mzComStringC::number(m[i], 'g', 6) + " as value " +
                         mzComStringC::number(i + 1) + " of 16");
    const vectorC3d<double> x = m.row(0);
    const vectorC3d<double> y = m.row(1);
    const vectorC3d<double> z = m.row(2);
    const auto near = [](double value, double wanted) {
        return std::abs(value - wanted) <= placementTolerance;
    };
    if (!near(x.dot(x), 1) || !near(y.dot(y), 1) || !near(z.dot(z), 1) || !near(x.dot(y), 0) ||
        !near(y.dot(z), 0) || !near(z.dot(x), 0) || x.cross(y).dot(z) <= 0 ||
        !near(m.at(0, 3), 0) || !near(m.at(1, 3), 0) || !near(m.at(2, 3), 0) ||
        !near(m.at(3, 3), 1))
        throw errorC("Could not place the part: its placement (MAT) is no rotation and "
                     "translation (its axes must be of unit length, at right angles and "
                     "right-handed, within 1e-5)");
    const vectorC3d<double> xUnit = x * (1 / std::sqrt(x.dot(x)));
    const vectorC3d<double> yOff = y - xUnit * y.dot(xUnit);
    const vectorC3d<double> yUnit = yOff * (1 / std::sqrt(yOff.dot(yOff)));
    return frameFromOriginXY(m.row(3), xUnit, yUnit);
}

// One component per member at the member's placement.
void placeMembers(swAssemblyC& assembly, swCreation3dS& creation,
                  const std::vector<memberS>& members) {
    const IAssemblyDocPtr assemblyDoc = requireInterfaceOf<IAssemblyDoc>(assembly.modelDoc);
    for (const memberS& member : members) {
        const metaObjectC node(member.node);
        matrixC4x4<double> placement;
        try {
            placement = memberPlacement(node);
        } catch (const errorC& error) {
            noteFailedMember(creation, node, error.getMessage());
            continue;
        }
        const _variant_t components =
            asmDocAddComponents3(assemblyDoc, makeBstrArray({_bstr_t(member.path.c_str())}),
                                 transformToVariant(placement), _variant_t());
        if (!variantHoldsArray(components) || readObjectArray(components).empty())
            noteFailedMember(creation, node,
                             mzComStringC("Could not place \"") + member.path.c_str() +
                                 "\" in the assembly (SolidWorks refused its placement: "
                                 "not rigid and right-handed, or out of its model space)");
    }
}

void writeAttributes(swAssemblyC& assembly, metaReaderC& reader) {
    const metaTreePtrT options = documentCreationOptions(assembly, reader);
    if (options.isNull())
        return;
    mDocumentCreationOptionsC view(options);
    writeDocumentAttributes(assembly.modelDoc, view);
}

void createLevelsOfDetail(swAssemblyC& assembly, metaReaderC& reader, swCreation3dS& creation,
                          const std::vector<memberS>& members) {
    if (creationOptionInt(assembly, reader, "CreateLOD", 0) == 0)
        return;
    assemblyMembersT byPath;
    for (const memberS& member : members)
        byPath.emplace(member.path, member.node);
    std::vector<mzComStringC> notBuilt;
    try {
        createAssemblyDetailLevels(assembly, documentCreationSettings(assembly, reader), byPath,
                                   notBuilt);
        reportIncompleteItem(reader, "PARTLOD", getNameAttr(assembly), notBuilt);
    } catch (const _com_error& error) {
        reportIncompleteItem(reader, "PARTLOD", getNameAttr(assembly), notBuilt);
        const mzComStringC message =
            mzComStringC("SolidWorks call failed: ") + error.ErrorMessage();
        NATLINK_LOG(mzLogLevelError, mzComStringC("Levels of detail: ") + message);
        creation.failedItems.push_back({"PARTLOD", getNameAttr(assembly), message});
    }
}

// Closes the assembly and the parts it loaded however the build ends, so that a batch
// leaves no document open. Closing a document that is not open changes nothing.
class assemblyCloserC {
public:
    assemblyCloserC(ISldWorks* app, const std::vector<memberS>& members)
        : app_(app), members_(members) {}
    assemblyCloserC(const assemblyCloserC&) = delete;
    assemblyCloserC& operator=(const assemblyCloserC&) = delete;
    // The assembly's path once it is saved; an unsaved one is closed by the empty path.
    std::string assemblyPath;
    ~assemblyCloserC() {
        close(assemblyPath);
        for (const memberS& member : members_)
            close(member.path);
    }

private:
    void close(const std::string& path) noexcept {
        try {
            sldWorksCloseDocument(app_, _bstr_t(path.c_str()));
        } catch (const _com_error& error) {
            NATLINK_LOG(mzLogLevelError, mzComStringC("Could not close \"") + path.c_str() +
                                             "\": " + error.ErrorMessage());
        } catch (...) {
            // Nothing may leave a destructor; the document stays open.
        }
    }

    ISldWorks* app_;
    const std::vector<memberS>& members_;
};

} // namespace

int swMeta3dAssemblyC::execute(metaReaderC& reader, metaTreePtrT tagToken, void* /*data*/) {
    NATLINK_TRACE_FRAME_C("swMeta3dAssemblyC::execute");
    swCreation3dS* creation = creationOf(reader);
    if (creation == nullptr || !creation->app)
        failCreation("No SolidWorks session to build the assembly in");

    swAssemblyC assembly(getParentTreePtr(tagToken));
    const std::string fileName = documentFileName(assembly, "Assembly", ".sldasm", "assembly");
    noteUnbuiltContent(assembly, reader);
    // Members convert with the assembly, so that their placements and contents agree. A
    // stored unit that is no positive length would scale every length by a nonsense factor.
    if (assembly.setUnitBase(buildUnitBase, 1) == 0)
        failCreation(mzComStringC("Invalid UNITBASE ") +
                     storedUnitBaseText(m3dDocPrefsC(assembly.findChild("ASMPREFS"))) +
                     " of assembly " + quotedName(getNameAttr(assembly)));

    const std::size_t failedBefore = creation->failedItems.size();
    const std::vector<memberS> members = buildMembers(reader, *creation, assembly);
    if (members.empty())
        failCreation(creation->failedItems.size() == failedBefore
                         ? mzComStringC("The assembly ") + quotedName(getNameAttr(assembly)) +
                               " has no member parts"
                         : mzComStringC("No member part of the assembly ") +
                               quotedName(getNameAttr(assembly)) + " was built");
    assemblyCloserC closer(creation->app, members);
    const IModelDoc2Ptr doc(sldWorksNewAssembly(creation->app));
    if (!doc)
        failCreation("Could not create an assembly");
    assembly.modelDoc = doc;

    placeMembers(assembly, *creation, members);
    writeAttributes(assembly, reader);
    runMateReferenceStep(assembly, reader,
                         [&](int mode) { addAssemblyMateReferences(assembly, reader, mode); });
    createLevelsOfDetail(assembly, reader, *creation, members);

    closer.assemblyPath =
        saveDocumentAs(assembly.modelDoc, creation->outputLocation, fileName, "assembly");
    creation->savedDocuments.push_back(closer.assemblyPath);
    assembly.modelDoc = nullptr;
    return 1;
}
