#include "tools/natlinkhost/conversion_options.h"

#include <filesystem>

namespace natlinkhost {
namespace {

std::string absolutePath(const std::string& path) {
    return std::filesystem::absolute(std::filesystem::path(path)).lexically_normal().string();
}

// Moves child into parent; a child the store refuses stays with (and is released by) its
// holder.
void appendOwned(IMetaTreeApi& api, metaTreePtrT parent, ownedTreeC& child) {
    if (api.appendChild(parent, child.get())) {
        child.handOver();
    }
}

// (KEY "text") appended to parent.
void appendStringProperty(IMetaTreeApi& api, metaTreePtrT parent, const char* key,
                          const std::string& text) {
    ownedTreeC property(api.newKeyNode(key));
    ownedTreeC value(api.newString(text));
    appendOwned(api, property.get(), value);
    appendOwned(api, parent, property);
}

// (KEY content) appended to parent; (KEY) when there is no content.
void appendContainer(IMetaTreeApi& api, metaTreePtrT parent, const char* key, ownedTreeC content) {
    ownedTreeC container(api.newKeyNode(key));
    if (content) {
        appendOwned(api, container.get(), content);
    }
    appendOwned(api, parent, container);
}

} // namespace

ownedTreeC buildConversionOptions(const std::string& modelPath, const std::string& outDir,
                                  ownedTreeC model, ownedTreeC creationOptions) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    ownedTreeC options(api.newKeyNode(conversionOptionsTag));
    appendStringProperty(api, options.get(), keyInName, absolutePath(modelPath));
    appendStringProperty(api, options.get(), keyOutputLocation, absolutePath(outDir));
    appendContainer(api, options.get(), keyCustomData, std::move(creationOptions));
    appendContainer(api, options.get(), keyInputData, std::move(model));
    return options;
}

ownedTreeC buildCheckinOptions(const std::string& documentPath, const std::string& inputFormat) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    ownedTreeC options(api.newKeyNode(conversionOptionsTag));
    appendStringProperty(api, options.get(), keyInName, absolutePath(documentPath));
    appendStringProperty(api, options.get(), keyInputFormat, inputFormat);
    return options;
}

metaTreePtrT conversionOutputData(metaTreePtrT options) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    return api.firstChild(api.findChild(options, keyOutputData));
}

std::optional<std::string> conversionResultText(metaTreePtrT options) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    const metaTreePtrT property = api.findChild(options, keyResultText);
    return api.getString(api.firstChild(property));
}

} // namespace natlinkhost
