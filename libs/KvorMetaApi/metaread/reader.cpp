#include "libs/KvorMetaApi/metaread/reader.h"

#include "libs/KvorCore/loader/log_category.h"

#include <string_view>

namespace {

mzComStringC utf8(const std::string& text) {
    return mzComStringC(std::string_view(text));
}

} // namespace

metaReaderC::~metaReaderC() = default;

void metaReaderC::addCommand(std::unique_ptr<metaComC> handler) {
    if (!handler)
        throw metaApiErrorC("metaReaderC::addCommand: no handler given");
    const std::string tag = handler->getTag().toUtf8();
    if (!isValidNameToken(tag))
        throw metaApiErrorC(utf8("metaReaderC::addCommand: \"" + tag + "\" is no valid node tag"));
    if (handlers_.count(tag) != 0)
        throw metaApiErrorC(
            utf8("metaReaderC::addCommand: the tag \"" + tag + "\" already has a handler"));
    handlers_.emplace(tag, std::move(handler));
}

metaComC* metaReaderC::findCommand(const mzComStringC& tag) const {
    auto it = handlers_.find(tag.toUtf8());
    return it == handlers_.end() ? nullptr : it->second.get();
}

int metaReaderC::exeNode(metaTreePtrT node, void* data, int /*flags*/) {
    IMetaTreeApi& a = *getIMetaTreeApi();
    metaTreePtrT keyNode = a.isTagToken(node) ? a.parent(node) : node;
    if (!a.isKeyNode(keyNode)) {
        NATLINK_LOG(mzLogLevelWarning,
                    node.isNull() ? "exeNode: no node given" : "exeNode: the node is no key node");
        return 0;
    }
    checkLocation(keyNode);
    const std::string tag = a.tag(keyNode);
    auto it = handlers_.find(tag);
    if (it == handlers_.end()) {
        const metaSourceLocS loc = a.location(keyNode);
        NATLINK_LOG(mzLogLevelWarning, utf8("exeNode: no handler for tag \"" + tag + "\" (" +
                                            loc.file + ":" + std::to_string(loc.line) + ":" +
                                            std::to_string(loc.column) + "), node skipped"));
        return 0;
    }
    return it->second->execute(*this, a.tagToken(keyNode), data);
}

void metaReaderC::checkLocation(metaTreePtrT node) {
    const metaSourceLocS loc = getIMetaTreeApi()->location(node);
    if (loc.line == 0 && loc.file.empty())
        return; // made by code: no location to refer to
    if (loc == location_)
        return;
    location_ = loc;
    locationChanged(location_);
}

void metaReaderC::locationChanged(const metaSourceLocS& location) {
    NATLINK_LOG(mzLogLevelTrace,
                utf8("reading " + location.file + ":" + std::to_string(location.line) + ":" +
                     std::to_string(location.column)));
}
