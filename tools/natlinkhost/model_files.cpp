#include "tools/natlinkhost/model_files.h"

#include "libs/KvorCore/loader/log_category.h"

#include <initializer_list>
#include <string_view>

namespace natlinkhost {
namespace {

std::string positionText(const std::string& file, std::uint32_t line, std::uint32_t column) {
    if (line == 0) {
        return file;
    }
    return file + ":" + std::to_string(line) + ":" + std::to_string(column);
}

std::string describeNode(IMetaTreeApi& api, metaTreePtrT node) {
    if (api.isKeyNode(node)) {
        return "a " + api.tag(node) + " node";
    }
    if (api.isList(node)) {
        return "a list without a tag";
    }
    return "a single value";
}

// Reads the file and checks that its node is a key node with one of the tags.
loadedTreeS loadTaggedFile(const std::string& path, std::initializer_list<std::string_view> tags,
                           const std::string& expected) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    loadedTreeS result;
    try {
        result.tree = ownedTreeC(api.parseFile(path));
    } catch (const metaTreeErrorC& e) {
        result.error = positionText(e.file(), e.line(), e.column()) + ": " + e.reason();
        return result;
    }
    const metaTreePtrT root = result.tree.get();
    for (std::string_view tag : tags) {
        if (api.hasTag(root, tag)) {
            return result;
        }
    }
    const metaSourceLocS at = api.location(root);
    result.error = positionText(at.file.empty() ? path : at.file, at.line, at.column) +
                   ": expected " + expected + ", found " + describeNode(api, root);
    result.tree.reset();
    return result;
}

} // namespace

loadedTreeS loadModelFile(const std::string& path) {
    loadedTreeS loaded =
        loadTaggedFile(path, {"PART", "ASSEMBLY"}, "one PART or ASSEMBLY document node");
    if (loaded.tree) {
        NATLINK_LOG(mzLogLevelInfo, mzComStringC("Model loaded: ") + path.c_str() + " (" +
                                        getIMetaTreeApi()->tag(loaded.tree.get()).c_str() + ")");
    } else {
        NATLINK_LOG(mzLogLevelError, mzComStringC("Model refused: ") + loaded.error.c_str());
    }
    return loaded;
}

loadedTreeS loadCreationOptionsFile(const std::string& path) {
    loadedTreeS loaded = loadTaggedFile(path, {"CREAOPTS"}, "one CREAOPTS node");
    if (loaded.tree) {
        NATLINK_LOG(mzLogLevelInfo, mzComStringC("Creation options loaded: ") + path.c_str());
    } else {
        NATLINK_LOG(mzLogLevelError,
                    mzComStringC("Creation options refused: ") + loaded.error.c_str());
    }
    return loaded;
}

} // namespace natlinkhost
