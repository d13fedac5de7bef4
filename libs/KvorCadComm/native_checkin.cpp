#include "libs/KvorCadComm/native_checkin.h"

#include "libs/KvorCore/loader/log_category.h"
#include "platform/host/metatree/metatree_api.h"
#include "platform/host/services/checkin_postprocess.h"

void postProcessNativeCheckin(metaTreePtrT record, const mzComStringC& interfaceName) {
    if (record.isNull()) {
        NATLINK_LOG(mzLogLevelError,
                    "Native check-in of '" + interfaceName + "' gave no record to post-process");
        return;
    }
    hostsvc::postProcessNativeCheckin(getIMetaTreeApi()->print(record, metaPrintStyle::pretty),
                                      interfaceName.toUtf8());
}
