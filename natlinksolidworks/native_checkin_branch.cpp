#include "natlinksolidworks/native_checkin_branch.h"

#include "metamodel/core/valueviews.h"

int convertNativeCheckin(ISldWorks* /*app*/, metaTreePtrT options) {
    // The check-in reader's entry (runNativeCheckin of libs/geomcore/natCheckin) is called
    // here with the document path of INNAME: its record goes into "OUTPUTDATA", its reason
    // into "RESTEXT".
    metaObjectC view(options);
    metaObjStrC(view.getOrAddChild("RESTEXT")).set("The native check-in is not available yet");
    return 1;
}
