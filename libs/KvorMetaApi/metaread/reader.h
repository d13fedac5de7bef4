#pragma once
// The meta reader: hands a node of a meta tree to the handler registered for its tag.
//
// A handler (metaComC) has a tag and one execute operation. exeNode dispatches a key node
// by its tag and hands the handler the node's TAG TOKEN; the handler binds its view to the
// token's parent, the object node itself. A node whose tag has no handler is logged and
// skipped. The reader owns its handlers.

#include "libs/KvorCore/loader/com_string.h"
#include "libs/KvorMetaApi/metaread/metaapierror.h"
#include "platform/host/metatree/metatree_api.h"

#include <map>
#include <memory>
#include <string>

class metaReaderC;

class metaComC {
public:
    explicit metaComC(const mzComStringC& tag) : tag_(tag) {}
    metaComC(const metaComC&) = delete;
    metaComC& operator=(const metaComC&) = delete;
    virtual ~metaComC() = default;

    const mzComStringC& getTag() const noexcept { return tag_; }

    // Handles one node. tagToken is the tag token of the dispatched key node (its parent is
    // the node); data is the caller's context (a part document for the feature handlers).
    // The result is handed back by exeNode.
    virtual int execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) = 0;

private:
    mzComStringC tag_;
};

class metaReaderC {
public:
    metaReaderC() = default;
    metaReaderC(const metaReaderC&) = delete;
    metaReaderC& operator=(const metaReaderC&) = delete;
    virtual ~metaReaderC();

    // Takes the handler over. Throws metaApiErrorC for a null handler, a tag that is no
    // valid node tag, or a tag that already has a handler.
    void addCommand(std::unique_ptr<metaComC> handler);
    // The handler registered for tag; null when none.
    metaComC* findCommand(const mzComStringC& tag) const;
    std::size_t commandCount() const noexcept { return handlers_.size(); }

    // Dispatches node (a key node, or the tag token of one) to the handler of its tag,
    // after checkLocation(node). Answers the handler's result; 0 when the node is no key
    // node or its tag has no handler (both are logged and skipped). flags is reserved (0).
    // Exceptions of the handler pass through.
    virtual int exeNode(metaTreePtrT node, void* data, int flags = 0);

    // Reads node's source location and, when it differs from the current one (and the
    // node has one), makes it current and calls locationChanged.
    void checkLocation(metaTreePtrT node);
    const metaSourceLocS& currentLocation() const noexcept { return location_; }

protected:
    // Notification of a new current location; the default writes a trace record.
    virtual void locationChanged(const metaSourceLocS& location);

private:
    std::map<std::string, std::unique_ptr<metaComC>> handlers_;
    metaSourceLocS location_;
};
