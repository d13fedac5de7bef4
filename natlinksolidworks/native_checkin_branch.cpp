#include "natlinksolidworks/native_checkin_branch.h"

#include "libs/geomcore/natCheckin/native_checkin_run.h"
#include "metamodel/core/valueviews.h"

bool isNativeCheckinFormat(const mzComStringC& format) {
    for (const char* name : {"NATSOLIDWORKSPART", "NATSOLIDWORKSASM"}) {
        if (format == name || format == mzComStringC(name) + "2014")
            return true;
    }
    return false;
}

int convertNativeCheckin(ISldWorks* app, metaTreePtrT options) {
    metaObjectC view(options);
    const mzComStringC path = view.readStringProperty("INNAME");
    // The reader is only asked when there is something to read; it refuses an empty path
    // with its own reason as well, but the conversion names the option the host left out.
    if (path.isEmpty()) {
        metaObjStrC(view.getOrAddChild("RESTEXT"))
            .set("The native check-in has no document: INNAME is missing or empty");
        return 1;
    }

    metaTreePtrT record;
    mzComStringC reason;
    const int result = runNativeCheckin(app, path, record, reason);
    if (record.isNull()) {
        // A check-in without a record has failed, whatever the reader answered.
        if (reason.isEmpty())
            reason = "Native check-in of " + path + " gave no record";
        metaObjStrC(view.getOrAddChild("RESTEXT")).set(reason);
        return 1;
    }
    // An incomplete record (a member left out) is handed over too, but as a failure that
    // names what it lacks.
    if (!reason.isEmpty())
        metaObjStrC(view.getOrAddChild("RESTEXT")).set(reason);
    // The owning view hands the record to the tree on appending it.
    metaObjectC owner(record, true);
    metaObjectC(view.getOrAddChild("OUTPUTDATA")).appendChild(owner.getTreePtr());
    return result == 0 ? 0 : 1;
}
