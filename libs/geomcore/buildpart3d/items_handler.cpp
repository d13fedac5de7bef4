#include "libs/geomcore/buildpart3d/items_handler.h"

#include "libs/KvorCadComm/meta_tree_helpers.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/swtools/error.h"
#include "metamodel/m3d/viewhelpers.h"

#include <exception>

namespace {

mzComStringC comErrorText(const _com_error& error) {
    return mzComStringC("SolidWorks call failed: ") + mzComStringC(error.ErrorMessage());
}

} // namespace

int swMeta3dItemsC::execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) {
    NATLINK_TRACE_FRAME_C("swMeta3dItemsC::execute");
    swCreation3dS* creation = creationOf(reader);
    const metaObjectC items(getParentTreePtr(tagToken));
    int failed = 0;
    for (metaObjEnumC child = items.enumChildren(); child.isValid(); child.next()) {
        const metaObjectC item(child.current());
        if (!item.isKeyNode())
            continue;
        mzComStringC message;
        try {
            // An item that no handler builds is not built: that is a failure, not a skip.
            if (reader.findCommand(item.getTag()) == nullptr)
                throw errorC(mzComStringC("Items of kind ") + item.getTag() + " cannot be built");
            reader.exeNode(child.current(), data);
            continue;
        } catch (const errorC& error) {
            message = error.getMessage();
        } catch (const _com_error& error) {
            message = comErrorText(error);
        } catch (const std::exception& error) {
            message = mzComStringC(error.what());
        }
        ++failed;
        const swFailedItemS failure{item.getTag(), getName(item), message};
        NATLINK_LOG(mzLogLevelError, mzComStringC("Item ") + failure.tag + " " +
                                         quotedName(failure.name) + " failed: " + failure.message);
        if (creation != nullptr)
            creation->failedItems.push_back(failure);
    }
    return failed;
}
