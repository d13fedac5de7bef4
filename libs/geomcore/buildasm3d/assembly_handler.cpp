#include "libs/geomcore/buildasm3d/assembly_handler.h"

#include "libs/KvorCadComm/meta_tree_helpers.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildasm3d/assembly_members.h"
#include "libs/geomcore/buildasm3d/member_placement.h"
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

#include <exception>
#include <map>
#include <string>
#include <vector>

namespace {

// The meta tree's lengths are in millimetres when the assembly and its parts are built.
constexpr double buildUnitBase = 1.0;

// A member part that was built and saved, and where it goes.
struct builtMemberS {
    metaTreePtrT node;
    std::string path;
    // Its index among the members as read.
    std::size_t index = 0;
};

void noteFailedMember(swCreation3dS& creation, const metaObjectC& member,
                      const mzComStringC& message) {
    const swFailedItemS failure{member.getTag(), getNameAttr(member), message};
    NATLINK_LOG(mzLogLevelError, mzComStringC("Member ") + failure.tag + " \"" + failure.name +
                                     "\" failed: " + failure.message);
    creation.failedItems.push_back(failure);
}

mzComStringC selectedLevelText(metaTreePtrT member) {
    const mzComStringC level =
        metaObjectC(metaObjectC(member).findChild(m3dPartDetailLevelC::tagName()))
            .readStringProperty("SELLODNAME");
    return level.isEmpty() ? mzComStringC("no level")
                           : mzComStringC("the level ") + quotedName(level);
}

// Builds one member part through the reader (the part handler saves it), or takes the file
// of the same part built before in this assembly (`sameFile`, the member built under its file
// name, null when none). Throws errorC when it cannot.
builtMemberS buildMember(metaReaderC& reader, swCreation3dS& creation,
                         const std::vector<asmMemberS>& members, std::size_t index,
                         const builtMemberS* sameFile) {
    const asmMemberS& member = members[index];
    if (!member.refusal.isEmpty())
        throw errorC(member.refusal);
    // A part placed more than once is built once; another part of the same file name would
    // overwrite it.
    if (sameFile != nullptr) {
        const asmMemberS& first = members[sameFile->index];
        if (first.samePart == member.samePart)
            return {member.node, sameFile->path, index};
        if (first.samePartButLevel == member.samePartButLevel)
            throw errorC(mzComStringC("The part is already placed in the assembly showing "
                                      "another level: \"") +
                         member.fileName.c_str() + "\" shows " + selectedLevelText(sameFile->node) +
                         ", this member selects " + selectedLevelText(member.node));
        throw errorC(mzComStringC("Another part of the assembly is saved as \"") +
                     member.fileName.c_str() + "\"");
    }
    const std::size_t savedBefore = creation.savedDocuments.size();
    reader.exeNode(member.node, nullptr);
    if (creation.savedDocuments.size() == savedBefore)
        throw errorC("The part was not built");
    return {member.node, creation.savedDocuments.back(), index};
}

std::vector<builtMemberS> buildMembers(metaReaderC& reader, swCreation3dS& creation,
                                       const std::vector<asmMemberS>& members) {
    std::vector<builtMemberS> built;
    // The member first built under each file name, by its place in `built`.
    std::map<std::string, std::size_t> builtFiles;
    for (std::size_t i = 0; i < members.size(); ++i) {
        const metaObjectC member(members[i].node);
        const auto sameFile = builtFiles.find(members[i].fileName);
        try {
            built.push_back(
                buildMember(reader, creation, members, i,
                            sameFile == builtFiles.end() ? nullptr : &built[sameFile->second]));
            builtFiles.emplace(members[i].fileName, built.size() - 1);
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

// One component per member at the member's placement; answers the members placed.
assemblyMembersT placeMembers(swAssemblyC& assembly, swCreation3dS& creation,
                              const std::vector<builtMemberS>& members) {
    const IAssemblyDocPtr assemblyDoc = requireInterfaceOf<IAssemblyDoc>(assembly.modelDoc);
    assemblyMembersT placed;
    for (const builtMemberS& member : members) {
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
        if (!variantHoldsArray(components) || readObjectArray(components).empty()) {
            noteFailedMember(creation, node,
                             mzComStringC("Could not place \"") + member.path.c_str() +
                                 "\" in the assembly (SolidWorks refused its placement: "
                                 "not rigid and right-handed, or out of its model space)");
            continue;
        }
        placed.push_back({member.path, member.node});
    }
    return placed;
}

void writeAttributes(swAssemblyC& assembly, metaReaderC& reader) {
    const metaTreePtrT options = documentCreationOptions(assembly, reader);
    if (options.isNull())
        return;
    mDocumentCreationOptionsC view(options);
    writeDocumentAttributes(assembly.modelDoc, view);
}

// The levels come from the placed members only: a member left out of the assembly shows
// nothing, so its levels must not choose what the assembly shows.
void createLevelsOfDetail(swAssemblyC& assembly, metaReaderC& reader, swCreation3dS& creation,
                          const assemblyMembersT& placed) {
    if (creationOptionInt(assembly, reader, "CreateLOD", 0) == 0)
        return;
    std::vector<mzComStringC> notBuilt;
    try {
        createAssemblyDetailLevels(assembly, documentCreationSettings(assembly, reader), placed,
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
    assemblyCloserC(ISldWorks* app, const std::vector<builtMemberS>& members)
        : app_(app), members_(members) {}
    assemblyCloserC(const assemblyCloserC&) = delete;
    assemblyCloserC& operator=(const assemblyCloserC&) = delete;
    // The assembly's path once it is saved; an unsaved one is closed by the empty path.
    std::string assemblyPath;
    ~assemblyCloserC() {
        close(assemblyPath);
        for (const builtMemberS& member : members_)
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
    const std::vector<builtMemberS>& members_;
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
    const std::vector<builtMemberS> members =
        buildMembers(reader, *creation, readAsmMembers(metaObjectC(assembly.findChild("ITEMS"))));
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

    const assemblyMembersT placed = placeMembers(assembly, *creation, members);
    // An assembly without components is not saved: it would hold nothing of the model.
    if (placed.empty())
        failCreation(mzComStringC("No member part of the assembly ") +
                     quotedName(getNameAttr(assembly)) + " could be placed");
    writeAttributes(assembly, reader);
    runMateReferenceStep(assembly, reader,
                         [&](int mode) { addAssemblyMateReferences(assembly, reader, mode); });
    createLevelsOfDetail(assembly, reader, *creation, placed);

    closer.assemblyPath =
        saveDocumentAs(assembly.modelDoc, creation->outputLocation, fileName, "assembly");
    creation->savedDocuments.push_back(closer.assemblyPath);
    assembly.modelDoc = nullptr;
    return 1;
}
